// Form text from outside (stored layouts): parsing, writing back, and reading onto
// components must never crash; a parsed text written back parses to the same text.
#include <cstdlib>
#include <string>

#include "platform/rtti/Collection.h"
#include "platform/rtti/Font.h"
#include "platform/rtti/FormText.h"
#include "platform/rtti/StringList.h"

namespace nv {
namespace {

NV_ENUM(TFuzzStyle, fsOne, fsTwo, fsThree)

class TFuzzItem : public TCollectionItem {
  NV_CLASS(TFuzzItem, TCollectionItem)
 public:
  using TCollectionItem::TCollectionItem;
  std::string Caption;
};

class TFuzzControl : public TComponent {
  NV_CLASS(TFuzzControl, TComponent)
 public:
  explicit TFuzzControl(TComponent* owner)
      : TComponent(owner), items_(TFuzzItem::StaticClassInfo(), this) {}
  TFont* Font() const { return const_cast<TFont*>(&font_); }
  TStrings* Lines() const { return const_cast<TStringList*>(&lines_); }
  TCollection* Items() const { return const_cast<TCollection*>(&items_); }
  TComponent* GetParentComponent() const override { return parent_; }
  void SetParentComponent(TComponent* p) override { parent_ = p; }
  void Notification(TComponent* c, TOperation op) override {
    TComponent::Notification(c, op);
    if (op == opRemove && c == Link) Link = nullptr;
  }
  std::string Caption;
  int Width = 0;
  bool Visible = true;
  char Accel = 0;
  double Ratio = 0;
  TColor Color = clBtnFace;
  TFuzzStyle Style = fsOne;
  TSet<TFuzzStyle> Styles;
  TComponent* Link = nullptr;
  TNotifyEvent OnClick;

 private:
  TFont font_;
  TStringList lines_;
  TCollection items_;
  TComponent* parent_ = nullptr;
};

class TFuzzForm : public TComponent {
  NV_CLASS(TFuzzForm, TComponent)
 public:
  using TComponent::TComponent;
  void btnClick(TObject*) {}
};

NV_PUBLISH(TFuzzItem) {
  b.Prop("Caption", &TFuzzItem::Caption, &TFuzzItem::Caption);
}
NV_PUBLISH(TFuzzControl) {
  b.Prop("Accel", &TFuzzControl::Accel, &TFuzzControl::Accel);
  b.Prop("Caption", &TFuzzControl::Caption, &TFuzzControl::Caption);
  b.Prop("Color", &TFuzzControl::Color, &TFuzzControl::Color);
  b.Prop("Font", &TFuzzControl::Font);
  b.Prop("Items", &TFuzzControl::Items);
  b.Prop("Lines", &TFuzzControl::Lines);
  b.Prop("Link", &TFuzzControl::Link, &TFuzzControl::Link);
  b.Prop("Ratio", &TFuzzControl::Ratio, &TFuzzControl::Ratio);
  b.Prop("Style", &TFuzzControl::Style, &TFuzzControl::Style);
  b.Prop("Styles", &TFuzzControl::Styles, &TFuzzControl::Styles);
  b.Prop("Visible", &TFuzzControl::Visible, &TFuzzControl::Visible);
  b.Prop("Width", &TFuzzControl::Width, &TFuzzControl::Width);
  b.Prop("OnClick", &TFuzzControl::OnClick, &TFuzzControl::OnClick);
}
NV_PUBLISH(TFuzzForm) {
  b.Method("btnClick", &TFuzzForm::btnClick);
}

}  // namespace
}  // namespace nv

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
  using namespace nv;
  static bool registered = [] {
    RegisterClass(TFuzzControl::StaticClassInfo());
    RegisterClass(TFuzzForm::StaticClassInfo());
    return true;
  }();
  (void)registered;
  std::string text(reinterpret_cast<const char*>(data), size);
  TFormObject parsed;
  try {
    parsed = ParseFormText(text);
  } catch (const EFormTextError&) {
    return 0;
  }
  std::string written = FormObjectToText(parsed);
  if (FormObjectToText(ParseFormText(written)) != written) std::abort();
  TFuzzForm form(nullptr);
  try {
    ReadComponentObject(form, parsed);
    WriteComponentText(form);
  } catch (const EFormTextError&) {
  }
  return 0;
}
