#include "runtime/LanguageController.h"

#include <vector>

#include "platform/core/Format.h"
#include "platform/core/SysUtils.h"
#include "platform/rtti/Collection.h"
#include "platform/ui/ComCtrls.h"

namespace nv {
namespace {

// A pack line index beyond this is no relabelling but a typing error (or a hostile pack);
// growing a list that far would take all memory.
constexpr int kMaxLineIndex = 65535;

struct TPathPart {
  std::string base;
  int index = -1;  // -1: no "_" or not a number
  bool indexed = false;
};

TPathPart SplitPart(std::string_view part) {
  TPathPart result;
  const size_t underscore = part.find('_');
  if (underscore == std::string_view::npos) {
    result.base = std::string(part);
    return result;
  }
  result.base = std::string(part.substr(0, underscore));
  result.indexed = true;
  result.index = StrToIntDef(part.substr(underscore + 1), -1);
  return result;
}

std::vector<std::string> SplitPath(std::string_view path) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (;;) {
    const size_t point = path.find('.', start);
    parts.push_back(
        Trim(path.substr(start, point == std::string_view::npos ? point : point - start)));
    if (point == std::string_view::npos) return parts;
    start = point + 1;
  }
}

TObject* ObjectProperty(const TObject& object, std::string_view name) {
  const TPropInfo* info = FindPropInfo(object.ClassInfo(), name);
  if (info == nullptr || info->Kind != tkClass || !info->GetObject) return nullptr;
  return info->GetObject(object);
}

// Element index of a collection; nullptr beyond its count.
TObject* CollectionElement(TObject* object, int index) {
  auto* collection = dynamic_cast<TCollection*>(object);
  if (collection == nullptr || index < 0 || index >= collection->Count()) return nullptr;
  return collection->Items(index);
}

// Items_n and Columns_n of a list view, Items_n of a tree view; nullptr beyond the count.
// False when target is neither view (or the part selects nothing on it).
bool ViewElement(TObject* target, const TPathPart& part, TObject*& element) {
  if (auto* view = dynamic_cast<TListView*>(target)) {
    if (SameText(part.base, "Columns")) {
      element = CollectionElement(view->Columns(), part.index);
    } else {
      element = part.index < view->Items()->Count() ? view->Items()->Item(part.index) : nullptr;
    }
    return true;
  }
  auto* tree = dynamic_cast<TTreeView*>(target);
  if (tree == nullptr || !SameText(part.base, "Items")) return false;
  element = part.index < tree->Items()->Count() ? tree->Items()->Item(part.index) : nullptr;
  return true;
}

// A list item takes Caption, a tree node Text; true when target was one of them.
bool ApplyToViewElement(TObject* target, const std::string& name, const std::string& value) {
  if (auto* item = dynamic_cast<TListItem*>(target)) {
    if (SameText(name, "Caption")) item->SetCaption(value);
    return true;
  }
  if (auto* node = dynamic_cast<TTreeNode*>(target)) {
    if (SameText(name, "Text")) node->SetText(value);
    return true;
  }
  return false;
}

bool IsFormOrDataModule(const TComponent& component) {
  return component.InheritsFrom("TCustomForm") || component.InheritsFrom("TDataModule");
}

}  // namespace

void ApplyLangAttribute(TComponent& component, std::string_view name, const std::string& value) {
  TObject* target = &component;
  std::string final(name);
  if (name.find('.') != std::string_view::npos) {
    const std::vector<std::string> parts = SplitPath(name);
    final = parts.back();
    for (size_t i = 0; i + 1 < parts.size() && target != nullptr; ++i) {
      const TPathPart part = SplitPart(parts[i]);
      if (!part.indexed) {
        target = ObjectProperty(*target, part.base);
        continue;
      }
      // Only Items_n and Columns_n select elements; a path that cannot be followed is
      // skipped rather than applied to the object where the walk stopped.
      if (part.index < 0 || !(SameText(part.base, "Items") || SameText(part.base, "Columns"))) {
        target = nullptr;
        break;
      }
      TObject* element = nullptr;
      if (ViewElement(target, part, element)) {
        target = element;
      } else if (dynamic_cast<TCollection*>(target) != nullptr) {
        target = CollectionElement(target, part.index);
      } else {
        // A list view's Columns, a collection property's items.
        TObject* held = ObjectProperty(*target, part.base);
        target = dynamic_cast<TCollection*>(held) != nullptr ? CollectionElement(held, part.index)
                                                             : held;
      }
    }
  }
  if (target == nullptr) return;
  const TPathPart last = SplitPart(final);
  if (target == &component && last.index >= 0) target = ObjectProperty(component, last.base);
  if (target == nullptr) return;
  try {
    if (ApplyToViewElement(target, last.base, value)) return;
    if (auto* strings = dynamic_cast<TStrings*>(target)) {
      if (last.index < 0 || last.index > kMaxLineIndex) return;
      while (strings->Count() <= last.index) strings->Add("");
      strings->Put(last.index, value);
      return;
    }
    SetPropValueIncludeSub(*target, last.base, value);
  } catch (const std::exception&) {
    // An assignment that does not fit its property is skipped; the rest of the pack applies.
  }
}

void TComponentRead::ReadAttributes(const TApplyAttributeHandler& handler) {
  const int count = XmlAttributeCount(node_);
  for (int i = 0; i < count; ++i) {
    const std::string name = XmlAttributeName(node_, i);
    const std::string value = XmlAttributeValue(node_, i);
    if (handler) {
      handler(component_, name, value);
    } else {
      ApplyLangAttribute(component_, name, value);
    }
  }
}

void TCustomComboBoxRead::ReadAttributes(const TApplyAttributeHandler& handler) {
  const TPropInfo* itemIndex = FindPropInfo(component_.ClassInfo(), "ItemIndex");
  const std::int64_t selected =
      itemIndex != nullptr && itemIndex->GetOrd ? itemIndex->GetOrd(component_) : -1;
  TComponentRead::ReadAttributes(handler);
  if (itemIndex != nullptr && itemIndex->SetOrd) {
    try {
      itemIndex->SetOrd(component_, selected);
    } catch (const std::exception&) {
      // the pack left fewer items than were selected
    }
  }
}

std::unique_ptr<ILangRead> TReaderFactory::CreateReader(TComponent& component, TXmlNode node) {
  if (component.InheritsFrom("TwwDBCustomComboBox"))
    return std::make_unique<TwwDBCustomComboBoxRead>(component, node);
  if (component.InheritsFrom("TCustomComboBox"))
    return std::make_unique<TCustomComboBoxRead>(component, node);
  return std::make_unique<TComponentRead>(component, node);
}

TLangReader::TLangReader(const TXmlDocument& document, const TStrings& excludeControls,
                         TLoadComponentEvent beforeLoad, TLoadComponentEvent afterLoad)
    : document_(document),
      excludeControls_(excludeControls),
      beforeLoad_(std::move(beforeLoad)),
      afterLoad_(std::move(afterLoad)) {}

bool TLangReader::Excluded(const std::string& name) const {
  const std::string trimmed = Trim(name);
  for (int i = 0; i < excludeControls_.Count(); ++i) {
    if (SameText(Trim(excludeControls_.Get(i)), trimmed)) return true;
  }
  return false;
}

void TLangReader::ReadNode(TComponent& component, TXmlNode node) {
  beforeLoad_(&component, node);
  TReaderFactory::CreateReader(component, node)->ReadAttributes(OnApplyAttribute);
  afterLoad_(&component, node);
}

void TLangReader::ReadComponent(TComponent& component) {
  if (IsFormOrDataModule(component)) {
    if (TXmlNode root = document_.DocumentElement()) ReadNode(component, root);
  }
  if (!component.Name().empty() && !Excluded(component.Name())) {
    if (TXmlNode node = document_.SelectElement(component.Name())) ReadNode(component, node);
  }
  // Copy: reading may not change ownership, but a handler could.
  const std::vector<TComponent*> owned = component.Components();
  for (TComponent* child : owned) ReadComponent(*child);
}

TLanguageController::TLanguageController(TComponent* owner)
    : TComponent(owner), excludeControls_(std::make_unique<TStringList>()) {}

TLanguageController::~TLanguageController() = default;

bool TLanguageController::Active() const {
  return document_ != nullptr && document_->DocumentElement() != nullptr;
}

void TLanguageController::SetActive(bool active) {
  if (ComponentState().Contains(csLoading)) {
    pendingActive_ = active;
    return;
  }
  if (active == Active()) return;
  if (active) {
    Open();
  } else {
    Close();
  }
}

void TLanguageController::Loaded() {
  TComponent::Loaded();
  if (pendingActive_) {
    pendingActive_ = false;
    SetActive(true);
  }
}

void TLanguageController::Open() {
  BeforeOpen(this);
  reader_.reset();
  document_.reset();
  if (fileName_.empty()) throw LanguageControllerError(Format("Cannot Find File %s!", {fileName_}));
  auto document = XmlFromFile(fileName_);
  if (document->ParseErrorCode() != 0)
    throw LanguageControllerError(fileName_ + ", " + document->ParseErrorReason());
  document_ = std::move(document);
  reader_ = std::make_unique<TLangReader>(*document_, *excludeControls_, BeforeLoadComponent,
                                          AfterLoadComponent);
  AfterOpen(this);
}

void TLanguageController::Close() {
  BeforeClose(this);
  reader_.reset();
  document_.reset();
  AfterClose(this);
}

void TLanguageController::SetLangPackageName(const std::string& name) {
  if (name == langPackageName_) return;
  langPackageName_ = name;
  SetFileName(GetLangFolder(designType_) + name + ".Lng");
}

void TLanguageController::SetFileName(const std::string& fileName) {
  if (fileName == fileName_) return;
  fileName_ = fileName;
  SetActive(false);
}

void TLanguageController::SetExcludeControls(TStringList* list) {
  if (list == nullptr) {
    excludeControls_->Clear();
  } else {
    excludeControls_->Assign(*list);
  }
}

TLangReader& TLanguageController::GetLangReader() {
  if (!Active() || reader_ == nullptr)
    throw LanguageControllerError("No active LanguageController!");
  return *reader_;
}

NV_PUBLISH(TLanguageController) {}

NV_PUBLISH(TNvLangController) {
  b.Prop("Active", &TNvLangController::Active, &TNvLangController::SetActive).Default(false);
  b.Prop("DesignType", &TNvLangController::DesignType, &TNvLangController::SetDesignType)
      .Default(dtClient);
  b.Prop("ExcludeControls", &TNvLangController::ExcludeControls,
         &TNvLangController::SetExcludeControls);
  b.Prop("LangPackageName", &TNvLangController::LangPackageName,
         &TNvLangController::SetLangPackageName);
  b.Prop("BeforeOpen", &TNvLangController::BeforeOpen, &TNvLangController::BeforeOpen);
  b.Prop("AfterOpen", &TNvLangController::AfterOpen, &TNvLangController::AfterOpen);
  b.Prop("BeforeClose", &TNvLangController::BeforeClose, &TNvLangController::BeforeClose);
  b.Prop("AfterClose", &TNvLangController::AfterClose, &TNvLangController::AfterClose);
  b.Prop("BeforeLoadComponent", &TNvLangController::BeforeLoadComponent,
         &TNvLangController::BeforeLoadComponent);
  b.Prop("AfterLoadComponent", &TNvLangController::AfterLoadComponent,
         &TNvLangController::AfterLoadComponent);
}

}  // namespace nv
