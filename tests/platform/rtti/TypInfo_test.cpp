#include "platform/rtti/TypInfo.h"

#include <gtest/gtest.h>

#include "TestClasses.h"

namespace nv::test {
namespace {

struct Fixture {
  TTestForm form{nullptr};
  TWidget* w;
  TWidget* edt;
  Fixture() {
    form.SetName("frmTest");
    w = new TWidget(&form);
    w->SetName("btnOk");
    edt = new TWidget(&form);
    edt->SetName("edtCode");
  }
};

TEST(PropertyByName, SetAsTextAndReadBackOnEveryKind) {
  struct Case {
    const char* path;
    const char* text;
    const char* expected;
  } cases[] = {
      {"Caption", "确定", "确定"},
      {"Width", "$10", "16"},
      {"Color", "clRed", "clRed"},
      {"Color", "$AFFFFF", "11534335"},
      {"Visible", "false", "False"},
      {"Style", " sp_UserChoice ", "sp_UserChoice"},
      {"Style", "1", "sp_Discrete"},
      {"Anchors", "[akRight, akBottom]", "[akRight,akBottom]"},
      {"Anchors", "akTop", "[akTop]"},
      {"Anchors", "[]", "[]"},
      {"Ratio", "1.25", "1.25"},
      {"Accel", "x", "x"},
      {"Font.Name", "Tahoma", "Tahoma"},
      {"Font.Charset", "GB2312_CHARSET", "GB2312_CHARSET"},
      {"Font.Charset", "200", "200"},
      {"Font.Style", "[fsBold]", "[fsBold]"},
      {"Font.Color", "clWindowText", "clWindowText"},
      {"FocusControl", "edtCode", "edtCode"},
      {"OnClick", "btnOkClick", "btnOkClick"},
      {"Tag", "-7", "-7"},
  };
  Fixture f;
  for (const Case& c : cases) {
    SetPropValue(*f.w, c.path, c.text);
    EXPECT_EQ(GetPropValue(*f.w, c.path), c.expected) << c.path << " = " << c.text;
  }
  EXPECT_EQ(f.w->Font()->Charset(), 200);
  EXPECT_EQ(f.w->FocusControl(), f.edt);
}

TEST(PropertyByName, TypedAccessorsAndTests) {
  Fixture f;
  SetOrdProp(*f.w, "Font.Charset", CHINESEBIG5_CHARSET);
  EXPECT_EQ(f.w->Font()->Charset(), CHINESEBIG5_CHARSET);
  SetStrProp(*f.w, "Font.Name", "宋体");
  EXPECT_EQ(GetStrProp(*f.w, "Font.Name"), "宋体");
  SetFloatProp(*f.w, "Ratio", 0.5);
  EXPECT_EQ(GetFloatProp(*f.w, "Ratio"), 0.5);
  SetEnumProp(*f.w, "Style", "sp_Discrete");
  EXPECT_EQ(GetEnumProp(*f.w, "Style"), "sp_Discrete");
  SetSetProp(*f.w, "Anchors", "[akLeft]");
  EXPECT_EQ(GetOrdProp(*f.w, "Anchors"), 1);
  EXPECT_EQ(GetObjectProp(*f.w, "Items"), f.w->Items());
  EXPECT_TRUE(IsPublishedProp(*f.w, "font.name"));
  EXPECT_FALSE(IsPublishedProp(*f.w, "Font.Nme"));
  EXPECT_FALSE(IsPublishedProp(*f.w, "Caption.Name"));
  EXPECT_FALSE(FindPropRef(*f.w, "ImeName"));
}

TEST(PropertyByName, FailuresNameClassPropertyAndValue) {
  Fixture f;
  struct Case {
    const char* name;
    std::function<void()> run;
    const char* message;
  } cases[] = {
      {"unknown", [&] { GetPropValue(*f.w, "ImeName"); }, "TWidget has no property ImeName"},
      {"unknown in path", [&] { SetPropValue(*f.w, "Font.Nme", "x"); },
       "TFont has no property Nme"},
      {"path through non-object", [&] { GetStrProp(*f.w, "Caption.Text"); },
       "Property Caption of TWidget is a string, not an object"},
      {"wrong kind", [&] { GetStrProp(*f.w, "Width"); },
       "Property Width of TWidget is an integer, not a string"},
      {"read-only", [&] { SetStrProp(*f.w, "ReadOnlyText", "x"); },
       "Property ReadOnlyText of TWidget is read-only"},
      {"bad enum name", [&] { SetPropValue(*f.w, "Style", "sp_Bogus"); },
       "'sp_Bogus' is not a valid value for property Style of TWidget (TSelectStyle)"},
      {"bad colour", [&] { SetPropValue(*f.w, "Color", "clReddish"); },
       "'clReddish' is not a valid value for property Color of TWidget (TColor)"},
      {"enum out of range", [&] { SetOrdProp(*f.w, "Style", 3); },
       "Value 3 is out of range for property Style of TWidget (TSelectStyle)"},
      {"byte out of range", [&] { SetPropValue(*f.w, "Level", "256"); },
       "Value 256 is out of range for property Level of TWidget (Byte)"},
      {"unknown component", [&] { SetPropValue(*f.w, "FocusControl", "edtNone"); },
       "Component edtNone not found for property FocusControl of TWidget"},
      {"unknown method", [&] { SetPropValue(*f.w, "OnClick", "btnNoneClick"); },
       "TTestForm has no published method btnNoneClick"},
      {"method of other signature", [&] { SetPropValue(*f.w, "OnClick", "edtKeyDown"); },
       "Method edtKeyDown does not fit property OnClick of TWidget (TNotifyEvent)"},
      {"sub-object as text", [&] { SetPropValue(*f.w, "Font", "Arial"); },
       "Property Font of TWidget is an object; set its properties by path"},
  };
  for (const Case& c : cases) {
    try {
      c.run();
      ADD_FAILURE() << c.name;
    } catch (const Exception& e) {
      EXPECT_STREQ(e.what(), c.message) << c.name;
    }
  }
}

TEST(Events, HandlerIsSavedReplacedAndRestoredByName) {
  Fixture f;
  SetMethodProp(*f.edt, "OnEnter", MethodByName(f.form, "btnOkClick"));

  // Save the present handler, install the form's own, restore later.
  TMethod saved = GetMethodProp(*f.edt, "OnEnter");
  EXPECT_EQ(saved.Data, &f.form);
  EXPECT_EQ(saved.Name, "btnOkClick");
  SetMethodProp(*f.edt, "OnEnter", MethodByName(f.form, "DateFieldEnter"));
  f.edt->OnEnter(f.edt);
  SetMethodProp(*f.edt, "OnEnter", saved);
  f.edt->OnEnter(f.edt);
  EXPECT_EQ(f.form.calls,
            (std::vector<std::string>{"DateFieldEnter:edtCode", "btnOkClick:edtCode"}));
  EXPECT_TRUE(GetMethodProp(*f.edt, "OnEnter") == MethodByName(f.form, "btnOkClick"));
  EXPECT_FALSE(GetMethodProp(*f.edt, "OnEnter") == MethodByName(f.form, "DateFieldEnter"));

  SetMethodProp(*f.edt, "OnEnter", TMethod{});
  EXPECT_FALSE(f.edt->OnEnter);
  f.edt->OnEnter(f.edt);  // an empty handler does nothing
  EXPECT_EQ(f.form.calls.size(), 2u);
}

TEST(Events, TypedHandlersKeepTheirIdentity) {
  Fixture f;
  f.edt->OnKeyDown = TKeyEvent(&f.form, &TTestForm::edtKeyDown);
  EXPECT_EQ(f.edt->OnKeyDown.MethodName(), "edtKeyDown");  // found in the published table
  Word key = 13;
  f.edt->OnKeyDown(f.edt, key, TShiftState{ssCtrl});
  EXPECT_EQ(key, 0);

  int anonymous = 0;
  f.edt->OnClick = [&](TObject*) { ++anonymous; };
  f.edt->OnClick(f.edt);
  EXPECT_EQ(anonymous, 1);
  EXPECT_EQ(GetMethodProp(*f.edt, "OnClick").Name, "");
  EXPECT_EQ(FindMethod(f.form, "nothing").Assigned(), false);
  try {
    TNotifyEvent wrong(MethodByName(f.form, "edtKeyDown"));
    FAIL();
  } catch (const EMethodError& e) {
    EXPECT_STREQ(e.what(), "method edtKeyDown does not fit this event's parameters");
  }
}

TEST(Setters, AChangeThatChangesNothingIsSkipped) {
  TFont font;
  int changes = 0;
  font.OnChange = [&](TObject*) { ++changes; };
  font.SetName(font.Name());
  font.SetHeight(font.Height());
  font.SetSize(8);  // -11 at 96 pixels per inch is 8 points
  EXPECT_EQ(changes, 0);
  font.SetSize(9);
  EXPECT_EQ(font.Height(), -12);
  TFont other;
  other.Assign(font);
  font.Assign(other);
  EXPECT_EQ(changes, 1);
}

TEST(Colours, NamesAndNumbers) {
  EXPECT_EQ(ColorToString(clRed), "clRed");
  EXPECT_EQ(ColorToString(ToColor(0xAFFFFF)), "$00AFFFFF");
  EXPECT_EQ(StringToColor("$AFFFFF"), ToColor(0xAFFFFF));
  EXPECT_EQ(StringToColor("clBtnFace"), clBtnFace);
  EXPECT_THROW(StringToColor("clNoColour"), EConvertError);
  TFontCharset cs{};
  EXPECT_TRUE(IdentToCharset("chinesebig5_charset", cs));
  EXPECT_EQ(cs, 136);
  EXPECT_EQ(CharsetToIdent(GB2312_CHARSET), "GB2312_CHARSET");
}

TEST(Persistent, AssignOfUnrelatedClassesSaysBoth) {
  TFont font;
  TStringList list;
  try {
    font.Assign(list);
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_STREQ(e.what(), "Cannot assign a TStringList to a TFont");
  }
}

}  // namespace
}  // namespace nv::test
