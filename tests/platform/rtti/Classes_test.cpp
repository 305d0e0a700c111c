#include "platform/rtti/Classes.h"

#include <gtest/gtest.h>

#include "TestClasses.h"

namespace nv::test {
namespace {

TEST(ClassInfo, NamesAncestorChainAndCreationByName) {
  std::vector<std::string> chain;
  for (const TClassInfo* c = &TWidget::StaticClassInfo(); c; c = c->ClassParent())
    chain.push_back(c->ClassName());
  EXPECT_EQ(chain, (std::vector<std::string>{"TWidget", "TComponent", "TPersistent", "TObject"}));

  TComponent owner(nullptr);
  RegisterClass(TWidget::StaticClassInfo());
  TComponent* made = FindClass("twidget").CreateComponent(&owner);
  EXPECT_EQ(made->ClassName(), "TWidget");
  EXPECT_EQ(made->Owner(), &owner);
  EXPECT_TRUE(made->InheritsFrom("TComponent"));
  EXPECT_FALSE(made->InheritsFrom(TFont::StaticClassInfo()));
  EXPECT_EQ(GetClass("TNoSuchThing"), nullptr);
  try {
    FindClass("TNoSuchThing");
    FAIL();
  } catch (const EClassNotFound& e) {
    EXPECT_STREQ(e.what(), "Class TNoSuchThing not found");
  }
  UnRegisterClass(TWidget::StaticClassInfo());
  EXPECT_EQ(GetClass("TWidget"), nullptr);
}

TEST(Component, OwnerKeepsCreationOrderAndFreesWhatItOwns) {
  TWidget::destroyed = 0;
  {
    TComponent form(nullptr);
    auto* a = new TWidget(&form);
    a->SetName("a");
    auto* b = new TWidget(&form);
    b->SetName("b");
    new TWidget(a);  // owned by a, freed with it
    EXPECT_EQ(form.ComponentCount(), 2);
    EXPECT_EQ(form.Components(1), b);
    EXPECT_EQ(b->ComponentIndex(), 1);
    delete a;
    EXPECT_EQ(TWidget::destroyed, 2);
    EXPECT_EQ(form.ComponentCount(), 1);
  }
  EXPECT_EQ(TWidget::destroyed, 3);
}

TEST(Component, FindReturnsNothingGetInsists) {
  TTestForm form(nullptr);
  form.SetName("frmTest");
  (new TWidget(&form))->SetName("btnOk");
  EXPECT_NE(form.FindComponent("BTNOK"), nullptr);
  EXPECT_EQ(form.FindComponent("btnNone"), nullptr);
  try {
    form.ComponentByName("btnNone");
    FAIL();
  } catch (const EComponentError& e) {
    EXPECT_STREQ(e.what(), "Component btnNone not found in frmTest");
  }
}

TEST(Component, NamesAreIdentifiersUniqueInTheOwner) {
  TTestForm form(nullptr);
  auto* w = new TWidget(&form);
  w->SetName("edt1");
  auto* v = new TWidget(&form);
  struct Case {
    const char* name;
    const char* message;
  } cases[] = {{"EDT1", "A component named EDT1 already exists"},
               {"1edt", "'1edt' is not a valid component name"},
               {"edt.x", "'edt.x' is not a valid component name"}};
  for (const Case& c : cases) {
    try {
      v->SetName(c.name);
      ADD_FAILURE() << c.name;
    } catch (const EComponentError& e) {
      EXPECT_STREQ(e.what(), c.message);
    }
  }
  EXPECT_EQ(v->Name(), "");
}

TEST(Component, PublishedFieldsFollowTheComponentOfTheirName) {
  TTestForm form(nullptr);
  auto* ok = new TWidget(&form);
  ok->SetName("btnOk");
  EXPECT_EQ(form.btnOk, ok);
  ok->SetName("btnOther");
  EXPECT_EQ(form.btnOk, nullptr);
  ok->SetName("btnOk");
  delete ok;
  EXPECT_EQ(form.btnOk, nullptr);

  auto* font = new TComponent(&form);
  try {
    font->SetName("edtCode");
    FAIL();
  } catch (const EComponentError& e) {
    EXPECT_STREQ(e.what(), "Field edtCode of TTestForm holds a TWidget, not a TComponent");
  }
}

TEST(Component, RemovalClearsReferencesAcrossOwners) {
  TComponent form1(nullptr), form2(nullptr);
  auto* label = new TWidget(&form1);
  auto* edit = new TWidget(&form2);
  label->SetFocusControl(edit);
  delete edit;
  EXPECT_EQ(label->FocusControl(), nullptr);
}

TEST(Component, DesigningAndDestroyingReachOwnedComponents) {
  TComponent form(nullptr);
  auto* w = new TWidget(&form);
  form.SetDesigning(true);
  EXPECT_TRUE(w->ComponentState().Contains(csDesigning));
  form.SetDesigning(false);
  EXPECT_FALSE(w->ComponentState().Contains(csDesigning));
  form.Destroying();
  EXPECT_TRUE(w->ComponentState().Contains(csDestroying));
}

TEST(ClassReference, MatchesTheCheckedInDump) {
  std::string dump = DumpClasses(StandardClasses());
  std::string path = std::string(QC_SOURCE_DIR) + "/tests/platform/rtti/classes.txt";
  FILE* f = std::fopen(path.c_str(), "rb");
  ASSERT_NE(f, nullptr) << path;
  std::string expected;
  char buf[4096];
  for (size_t n; (n = std::fread(buf, 1, sizeof buf, f)) > 0;) expected.append(buf, n);
  std::fclose(f);
  EXPECT_EQ(dump, expected) << "class reference changed; if on purpose, update " << path
                            << " with:\n"
                            << dump;
}

}  // namespace
}  // namespace nv::test
