// Language packs are files the suite installs and users edit: any bytes must load or be
// refused, and a loaded pack must relabel a component tree without a crash, whatever its
// attribute names (property paths) and values.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/rtti/Collection.h"
#include "platform/rtti/Font.h"
#include "platform/rtti/StringList.h"
#include "runtime/LanguageController.h"

namespace nv::fuzz {

class TListColumn : public TCollectionItem {
  NV_CLASS(TListColumn, TCollectionItem)
 public:
  using TCollectionItem::TCollectionItem;
  std::string Caption;
};

class TControlStub : public TComponent {
  NV_CLASS(TControlStub, TComponent)
 public:
  explicit TControlStub(TComponent* owner)
      : TComponent(owner), columns_(std::make_unique<TCollection>(TListColumn::StaticClassInfo())) {
    columns_->Add();
    columns_->Add();
  }
  std::string Caption;
  TColor Color = clWindow;
  int ItemIndex = 0;
  TStringList* Items() const { return items_.get(); }
  TCollection* Columns() const { return columns_.get(); }
  TFont* Font() const { return font_.get(); }

 private:
  std::unique_ptr<TStringList> items_ = std::make_unique<TStringList>();
  std::unique_ptr<TCollection> columns_;
  std::unique_ptr<TFont> font_ = std::make_unique<TFont>();
};

class TDataModule : public TControlStub {
  NV_CLASS(TDataModule, TControlStub)
 public:
  using TControlStub::TControlStub;
};

NV_PUBLISH(TListColumn) {
  b.Prop("Caption", &TListColumn::Caption, &TListColumn::Caption);
}
NV_PUBLISH(TControlStub) {
  b.Prop("Caption", &TControlStub::Caption, &TControlStub::Caption);
  b.Prop("Color", &TControlStub::Color, &TControlStub::Color);
  b.Prop("ItemIndex", &TControlStub::ItemIndex, &TControlStub::ItemIndex);
  b.Prop("Items", &TControlStub::Items);
  b.Prop("Columns", &TControlStub::Columns);
  b.Prop("Font", &TControlStub::Font);
}
NV_PUBLISH(TDataModule) {}

}  // namespace nv::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace nv;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const auto document = XmlFromText(text);
  if (document->ParseErrorCode() != 0) {
    if (document->DocumentElement() != nullptr) __builtin_trap();
    return 0;
  }
  fuzz::TDataModule form(nullptr);
  form.SetName("frmFuzz");
  auto* child = new fuzz::TControlStub(&form);
  child->SetName("btnOk");
  auto* grandChild = new fuzz::TControlStub(child);
  grandChild->SetName("lvList");
  TStringList excluded;
  excluded.Add("lvList");
  TLangReader reader(*document, excluded, nullptr, nullptr);
  reader.ReadComponent(form);
  // Message lookups by any name the pack holds, as GetMessage makes them.
  std::string value;
  for (TXmlNode node = document->DocumentElement(); node != nullptr; node = nullptr) {
    document->SelectAttribute(XmlNodeName(node), "Msg", value);
    for (int i = 0; i < XmlAttributeCount(node); ++i)
      document->SelectAttribute(XmlAttributeValue(node, i), XmlAttributeName(node, i), value);
  }
  return 0;
}
