// Client data sets without a server: navigation, Locate, indexes, editing, text handlers
// and data sources over a small packet.
#include <gtest/gtest.h>

#include "platform/data/DBClient.h"

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
  ds.IndexDefs.push_back({"ByCount", "TD021"});
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
  ds.Name = "cds";
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
  ds.Name = "ClientDataSet1";
  ds.OpenFromPacket(Sample());
  TDataSource source;
  int changes = 0;
  source.OnDataChange = [&](TDataSource&) { ++changes; };
  source.SetDataSet(&ds);

  TField& type = ds.FieldByName("TD001");
  EXPECT_EQ(type.DisplayLabel(), "TD001");
  type.SetDisplayLabel("Document type");
  EXPECT_EQ(type.DisplayLabel(), "Document type");
  type.OnGetText = [](TField& f, std::string& text, bool display) {
    text = (display ? "[" : "(") + f.AsString() + (display ? "]" : ")");
  };
  type.OnSetText = [](TField& f, const std::string& text) { f.SetAsString(UpperCase(text)); };
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
  ds.Name = "ClientDataSet1";
  try {
    ds.Open();
    FAIL();
  } catch (const EDatabaseError& e) {
    EXPECT_STREQ(e.what(), "ClientDataSet1: Missing remote server");
  }
  TSocketConnection connection;
  connection.Name = "MainMidas";
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
  broker.Name = "ObjBroker";
  connection.SetAddress("");
  connection.SetObjectBroker(&broker);
  try {
    connection.Open();
    FAIL();
  } catch (const ESocketError& e) {
    EXPECT_STREQ(e.what(), "Object broker ObjBroker has no server");
  }
}

}  // namespace
}  // namespace nv
