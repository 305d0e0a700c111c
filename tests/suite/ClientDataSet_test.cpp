// Client data sets without a server: navigation, Locate, indexes, editing, text handlers
// and data sources over a small packet.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "platform/data/DBClient.h"
#include "platform/rtti/FormText.h"

namespace nv {
namespace {

DataPacket Sample() {
  DataPacket p;
  p.fields = {{"TD001", TFieldType::ftString, 4},
              {"TD002", TFieldType::ftString, 11},
              {"TD021", TFieldType::ftInteger, 0}};
  p.rows = {{Variant("QC02"), Variant("002"), Variant(0)},
            {Variant("QC01"), Variant("002"), Variant(3)},
            {Variant("qc01"), Variant("001"), Variant::Null()}};
  return p;
}

TEST(ClientDataSet, NavigatesInPacketOrderAndByIndex) {
  TClientDataSet ds;
  ds.OpenFromPacket(Sample());
  EXPECT_EQ(ds.RecordCount(), 3);
  EXPECT_TRUE(ds.Bof());
  std::string seen;
  for (ds.First(); !ds.Eof(); ds.Next())
    seen += ds.FieldByName("TD001").AsString() + ds.FieldByName("td002").AsString() + ";";
  EXPECT_EQ(seen, "QC02002;QC01002;qc01001;");
  ds.Prior();
  EXPECT_EQ(ds.RecNo(), 2);
  ds.Last();
  ds.Next();
  EXPECT_TRUE(ds.Eof());
  EXPECT_EQ(ds.FieldByName("TD001").AsString(), "qc01");

  ds.SetIndexFieldNames("TD001;TD002");
  EXPECT_EQ(ds.FieldByName("TD001").AsString(), "QC01");
  ds.IndexDefs()->Add("ByCount", "TD021");
  ds.SetIndexName("ByCount");
  EXPECT_TRUE(ds.FieldByName("TD021").IsNull()) << "Null sorts first";
  try {
    ds.SetIndexName("Missing");
    FAIL();
  } catch (const EDatabaseError& e) {
    EXPECT_STREQ(e.what(), ": Index 'Missing' not found");
  }
  ds.Close();
  EXPECT_FALSE(ds.Active());
  EXPECT_THROW(ds.RecordCount(), EDatabaseError);
}

TEST(ClientDataSet, LocateWithOptions) {
  TClientDataSet ds;
  ds.SetName("cds");
  ds.OpenFromPacket(Sample());
  struct Case {
    const char* name;
    const char* fields;
    Variant keys;
    TLocateOptions options;
    bool found;
    int recNo;
  } cases[] = {
      {"exact pair",
       "TD001;TD002",
       Variant::ArrayOf({Variant("QC01"), Variant("002")}),
       {},
       true,
       2},
      {"case differs", "TD001", Variant("QC01"), {}, true, 2},
      {"case-insensitive",
       "TD001;TD002",
       Variant::ArrayOf({Variant("QC01"), Variant("001")}),
       {true, false},
       true,
       3},
      {"partial", "TD002", Variant("00"), {false, true}, true, 1},
      {"number against number", "TD021", Variant(3), {}, true, 2},
      {"Null key", "TD021", Variant::Null(), {}, true, 3},
      {"not there", "TD001", Variant("QC09"), {}, false, 3},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ds.Locate(c.fields, c.keys, c.options), c.found) << c.name;
    EXPECT_EQ(ds.RecNo(), c.recNo) << c.name;
  }
  try {
    ds.Locate("NOPE", Variant("x"));
    FAIL();
  } catch (const EDatabaseError& e) {
    EXPECT_STREQ(e.what(), "cds: Field 'NOPE' not found");
  }
}

TEST(ClientDataSet, EditingTextHandlersAndDataSource) {
  TwwClientDataSet ds;
  ds.SetName("ClientDataSet1");
  ds.OpenFromPacket(Sample());
  TDataSource source;
  int changes = 0;
  source.OnDataChange = [&](TObject*, TField*) { ++changes; };
  source.SetDataSet(&ds);

  TField& type = ds.FieldByName("TD001");
  EXPECT_EQ(type.DisplayLabel(), "TD001");
  type.SetDisplayLabel("Document type");
  EXPECT_EQ(type.DisplayLabel(), "Document type");
  type.OnGetText = [](TField* f, std::string& text, bool display) {
    text = (display ? "[" : "(") + f->AsString() + (display ? "]" : ")");
  };
  type.OnSetText = [](TField* f, const std::string& text) { f->SetAsString(UpperCase(text)); };
  EXPECT_EQ(type.DisplayText(), "[QC02]");
  EXPECT_EQ(type.Text(), "(QC02)");

  try {
    type.SetAsString("x");
    FAIL();
  } catch (const EDatabaseError& e) {
    EXPECT_STREQ(e.what(), "ClientDataSet1: Dataset not in edit or insert mode");
  }
  ds.Edit();
  type.SetText("qc03");
  EXPECT_EQ(type.AsString(), "QC03");
  ds.Cancel();
  EXPECT_EQ(type.AsString(), "QC02");

  ds.SetIndexFieldNames("TD001");
  ASSERT_TRUE(ds.Locate("TD001", Variant("QC02")));
  ds.Edit();
  type.SetValue(Variant("AA00"));
  changes = 0;
  ds.Post();
  EXPECT_GT(changes, 0);
  EXPECT_EQ(type.AsString(), "AA00") << "the cursor follows the posted record to its new place";
  EXPECT_EQ(ds.RecNo(), 1);

  ds.DisableControls();
  changes = 0;
  ds.Next();
  EXPECT_EQ(changes, 0);
  ds.EnableControls();
  EXPECT_EQ(changes, 1);
}

TEST(ClientDataSet, NeedsServerAndProvider) {
  TClientDataSet ds;
  ds.SetName("ClientDataSet1");
  try {
    ds.Open();
    FAIL();
  } catch (const EDatabaseError& e) {
    EXPECT_STREQ(e.what(), "ClientDataSet1: Missing remote server");
  }
  TSocketConnection connection;
  connection.SetName("MainMidas");
  connection.SetServerName("Tallyd.Class1");
  ds.SetRemoteServer(&connection);
  ds.SetProviderName("Provider1");
  try {
    ds.Open();
    FAIL();
  } catch (const ESocketError& e) {
    EXPECT_STREQ(e.what(), "MainMidas: not connected to Tallyd.Class1");
  }
  connection.SetAddress("127.0.0.1");
  connection.SetPort(1);
  try {
    connection.Open();
    FAIL();
  } catch (const ESocketError& e) {
    EXPECT_STREQ(e.what(), "Cannot connect to 127.0.0.1:1: Connection refused");
  }
  TSimpleObjectBroker broker;
  broker.SetName("ObjBroker");
  connection.SetAddress("");
  connection.SetObjectBroker(&broker);
  try {
    connection.Open();
    FAIL();
  } catch (const ESocketError& e) {
    EXPECT_STREQ(e.what(), "Object broker ObjBroker has no server");
  }
}

// A root for data sets read from a form text, as a format form holds them.
class TDataRoot : public TComponent {
  NV_CLASS(TDataRoot, TComponent)
 public:
  explicit TDataRoot(TComponent* owner = nullptr) : TComponent(owner) {}
  int afterOpen = 0;
  void ClientDataSet1AfterOpen(TDataSet*) { ++afterOpen; }
};
NV_PUBLISH(TDataRoot) {
  b.Method("ClientDataSet1AfterOpen", &TDataRoot::ClientDataSet1AfterOpen);
}

constexpr const char* kDataForm = R"(object Root: TDataRoot
  object MainMidas: TSocketConnection
    Address = '127.0.0.1'
    ServerName = 'Tallyd.Class1'
  end
  object ClientDataSet1: TwwClientDataSet
    IndexDefs = <
      item
        Name = 'ByNumber'
        Fields = 'TD002;TD001'
      end>
    IndexName = 'ByNumber'
    ProviderName = 'Provider1'
    RemoteServer = MainMidas
    AfterOpen = ClientDataSet1AfterOpen
  end
  object ClientDataSet1TD001: TStringField
    DataSet = ClientDataSet1
    DisplayLabel = 'Document type'
    FieldName = 'TD001'
  end
  object ClientDataSet1TD002: TStringField
    DataSet = ClientDataSet1
    FieldName = 'TD002'
  end
  object dsBarCode: TDataSource
    DataSet = ClientDataSet1
  end
end
)";

TEST(ClientDataSet, AFormTextDescribesDataSetsFieldsAndSources) {
  RegisterDataClasses();
  RegisterClass(TDataRoot::StaticClassInfo());
  TDataRoot root;
  ReadComponentText(root, kDataForm, "data.dfm");
  auto& ds = static_cast<TwwClientDataSet&>(root.ComponentByName("ClientDataSet1"));
  auto& source = static_cast<TDataSource&>(root.ComponentByName("dsBarCode"));
  EXPECT_EQ(ds.RemoteServer(), &root.ComponentByName("MainMidas"));
  EXPECT_EQ(ds.RemoteServer()->Port(), 211);
  EXPECT_EQ(ds.ProviderName(), "Provider1");
  EXPECT_EQ(source.DataSet(), &ds);
  ASSERT_EQ(ds.FieldCount(), 2) << "the declared fields, before any opening";

  ds.OpenFromPacket(Sample());
  EXPECT_EQ(root.afterOpen, 1);
  TField& type = ds.FieldByName("TD001");
  EXPECT_EQ(&type, &root.ComponentByName("ClientDataSet1TD001"));
  EXPECT_EQ(type.DisplayLabel(), "Document type");
  EXPECT_EQ(type.Size(), 4) << "the provider's column size";
  EXPECT_EQ(ds.FindField("TD021"), nullptr) << "only the declared fields";
  EXPECT_EQ(type.AsString() + ds.FieldByName("TD002").AsString(), "qc01001") << "index ByNumber";

  // Written back, the text says the same.
  std::string written = WriteComponentText(root);
  for (const char* line : {"RemoteServer = MainMidas", "IndexName = 'ByNumber'",
                           "Fields = 'TD002;TD001'", "DataSet = ClientDataSet1",
                           "AfterOpen = ClientDataSet1AfterOpen", "object dsBarCode: TDataSource"})
    EXPECT_NE(written.find(line), std::string::npos) << line << "\n" << written;

  // A declared field the provider does not send.
  ds.Close();
  auto* extra = new TStringField(&root);
  extra->SetFieldName("TD009");
  extra->SetDataSet(&ds);
  try {
    ds.OpenFromPacket(Sample());
    FAIL();
  } catch (const EDatabaseError& e) {
    EXPECT_STREQ(e.what(), "ClientDataSet1: Field 'TD009' not found");
  }
  delete extra;
  ds.OpenFromPacket(Sample());
  EXPECT_EQ(ds.FieldCount(), 2);
}

TEST(ClientDataSet, FiltersByTextAndByHandler) {
  TClientDataSet ds;
  ds.SetName("cds");
  ds.OpenFromPacket(Sample());
  struct Case {
    const char* name;
    const char* filter;
    const char* seen;
  } cases[] = {
      {"equal text", "TD001='QC01'", "QC01;"},
      {"prefix", "TD001='QC*'", "QC02;QC01;"},
      {"not a prefix", "TD001<>'QC*'", "qc01;"},
      {"number and text", "TD021>=1 AND TD002 = '002'", "QC01;"},
      {"Null fails a comparison", "TD021<5", "QC02;QC01;"},
      {"quote in the text", "TD001='O''K'", ""},
  };
  auto seen = [&] {
    std::string s;
    for (ds.First(); !ds.Eof(); ds.Next()) s += ds.FieldByName("TD001").AsString() + ";";
    return s;
  };
  ds.SetFiltered(true);
  for (const Case& c : cases) {
    ds.SetFilter(c.filter);
    EXPECT_EQ(seen(), c.seen) << c.name;
  }
  ds.SetFilter("");
  ds.OnFilterRecord = [](TDataSet* d, bool& accept) {
    accept = d->FieldByName("TD002").AsString() == "002";
  };
  ds.SetFiltered(false);
  EXPECT_EQ(ds.RecordCount(), 3);
  ds.SetFiltered(true);
  EXPECT_EQ(seen(), "QC02;QC01;");
  EXPECT_EQ(ds.RecordCount(), 2);

  const char* broken[][2] = {
      {"TD001 'x'", "cds: Filter 'TD001 'x'': expected = <> < > <= or >= at position 7"},
      {"TD001='x", "cds: Filter 'TD001='x': the quoted text is not closed at position 9"},
      {"TD001='x' OR TD002='y'",
       "cds: Filter 'TD001='x' OR TD002='y'': expected AND at position 11"},
  };
  for (const auto& b : broken) {
    try {
      ds.SetFilter(b[0]);
      ADD_FAILURE() << b[0];
    } catch (const EDatabaseError& e) {
      EXPECT_STREQ(e.what(), b[1]);
    }
  }
}

// Records stay in the packet's bytes: a data set holds about the packet, not a variant per cell.
TEST(ClientDataSet, RecordsTakeAboutThePacketsSize) {
  DataPacket p;
  p.fields = {{"TD001", TFieldType::ftString, 4},
              {"TD002", TFieldType::ftString, 11},
              {"TD019", TFieldType::ftString, 255},
              {"TD021", TFieldType::ftInteger, 0}};
  for (int i = 0; i < 20000; ++i) {
    std::string number = std::to_string(i);
    number.insert(0, 11 - number.size(), '0');
    p.rows.push_back(
        {Variant("QC09"), Variant(number), Variant("清场合格, 准予生产下一批。"), Variant(i % 7)});
  }
  std::string bytes = EncodeDataPacket(p);
  TClientDataSet ds;
  ds.OpenFromPacketBytes(bytes);
  EXPECT_LT(ds.RecordMemoryBytes(), bytes.size() + 20000 * 4 * sizeof(std::size_t));
  ASSERT_TRUE(ds.Locate("TD002", Variant("00000012345")));
  EXPECT_EQ(ds.FieldByName("TD021").AsInteger(), 12345 % 7);
  ds.Edit();
  ds.FieldByName("TD019").SetAsString("changed");
  ds.Post();
  ds.Last();
  ASSERT_TRUE(ds.Locate("TD002", Variant("00000012345")));
  EXPECT_EQ(ds.FieldByName("TD019").AsString(), "changed") << "a posted change is kept";
}

// A property or event that disappears from a data class shows up here at once.
TEST(DataClassReference, MatchesTheCheckedInText) {
  std::string dump = DumpClasses(DataClasses());
  std::string path = std::string(QC_SOURCE_DIR) + "/tests/suite/data_classes.txt";
  std::ifstream in(path, std::ios::binary);
  std::stringstream expected;
  expected << in.rdbuf();
  if (dump != expected.str()) {
    std::string fresh = std::string(QC_BINARY_DIR) + "/data_classes.txt";
    std::ofstream(fresh, std::ios::binary) << dump;
    FAIL() << "class reference changed; if on purpose, copy " << fresh << " to " << path;
  }
}

}  // namespace
}  // namespace nv
