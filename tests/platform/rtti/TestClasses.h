#pragma once
// Small component classes for the rtti tests: one property of every kind, a parent link as
// controls have it, and a form with published fields and handlers.
#include <string>
#include <vector>

#include "platform/rtti/Classes.h"
#include "platform/rtti/Collection.h"
#include "platform/rtti/Events.h"
#include "platform/rtti/Font.h"
#include "platform/rtti/FormText.h"
#include "platform/rtti/StringList.h"

namespace nv::test {

NV_ENUM(TSelectStyle, sp_Range, sp_Discrete, sp_UserChoice)
NV_ENUM(TAnchorKind, akLeft, akTop, akRight, akBottom)
using TAnchors = TSet<TAnchorKind>;

class TColumn : public TCollectionItem {
  NV_CLASS(TColumn, TCollectionItem)
 public:
  using TCollectionItem::TCollectionItem;
  std::string Caption;
  int Width = 50;
};

class TWidget : public TComponent {
  NV_CLASS(TWidget, TComponent)
 public:
  explicit TWidget(TComponent* owner);
  ~TWidget() override;

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& v) {
    if (v == caption_) return;
    caption_ = v;
    ++changes;
  }
  TFont* Font() const { return font_.get(); }
  void SetFont(TFont* f) { font_->Assign(*f); }
  TStrings* Items() const { return items_.get(); }
  void SetItems(TStrings* s) { items_->Assign(*s); }
  TCollection* Columns() const { return columns_.get(); }
  TComponent* FocusControl() const { return focus_; }
  void SetFocusControl(TComponent* c) {
    focus_ = c;
    if (c) c->FreeNotification(this);
  }
  void Notification(TComponent* c, TOperation op) override {
    TComponent::Notification(c, op);
    if (op == opRemove && c == focus_) focus_ = nullptr;
  }
  TComponent* GetParentComponent() const override { return parent_; }
  void SetParentComponent(TComponent* p) override { parent_ = p; }
  bool HasParent() const override { return true; }

  int Width = 100;
  TColor Color = clBtnFace;
  bool Visible = true;
  TSelectStyle Style = sp_Range;
  TAnchors Anchors{akLeft, akTop};
  double Ratio = 0;
  char Accel = 'A';
  std::uint8_t Level = 0;
  std::string ReadOnlyText = "fixed";
  TNotifyEvent OnClick;
  TNotifyEvent OnEnter;
  TKeyEvent OnKeyDown;
  int changes = 0;
  static int destroyed;

 private:
  std::string caption_;
  std::unique_ptr<TFont> font_ = std::make_unique<TFont>();
  std::unique_ptr<TStringList> items_ = std::make_unique<TStringList>();
  std::unique_ptr<TCollection> columns_;
  TComponent* focus_ = nullptr;
  TComponent* parent_ = nullptr;
};

class TTestForm : public TComponent {
  NV_CLASS(TTestForm, TComponent)
 public:
  using TComponent::TComponent;
  void btnOkClick(TObject* sender) { calls.push_back("btnOkClick:" + NameOf(sender)); }
  void DateFieldEnter(TObject* sender) { calls.push_back("DateFieldEnter:" + NameOf(sender)); }
  void edtKeyDown(TObject* sender, Word& key, TShiftState shift) {
    calls.push_back("edtKeyDown");
    key = 0;
  }
  static std::string NameOf(TObject* o) {
    auto* c = dynamic_cast<TComponent*>(o);
    return c ? c->Name() : "?";
  }
  TWidget* btnOk = nullptr;
  TWidget* edtCode = nullptr;
  std::vector<std::string> calls;
};

// A form chain with standard texts (forms/Base.form, forms/Child.form), read base first
// when the form is created.
class TfrmBase : public TTestForm {
  NV_CLASS(TfrmBase, TTestForm)
 public:
  using TTestForm::TTestForm;
  void AfterConstruction() override {
    InitInheritedComponent(*this, &TTestForm::StaticClassInfo());
  }
  TWidget* pnlMain = nullptr;
};

class TfrmChild : public TfrmBase {
  NV_CLASS(TfrmChild, TfrmBase)
 public:
  using TfrmBase::TfrmBase;
  void lblExtraClick(TObject* sender) { calls.push_back("lblExtraClick"); }
  TWidget* lblExtra = nullptr;
};

}  // namespace nv::test
