#pragma once
// Small components declared through the property tables, standing in for a form and its
// controls in the language-pack and code-page tests.
#include <memory>

#include "platform/rtti/Collection.h"
#include "platform/rtti/Font.h"
#include "platform/rtti/StringList.h"

namespace nv::sample {

// Named as the platform's classes are, so that the reader treats them alike.
class TDataModule : public TComponent {
  NV_CLASS(TDataModule, TComponent)
 public:
  using TComponent::TComponent;
};

class TListColumn : public TCollectionItem {
  NV_CLASS(TListColumn, TCollectionItem)
 public:
  using TCollectionItem::TCollectionItem;
  std::string Caption;
  int Width = 50;
};

NV_ENUM(TComboStyle, csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable)

class TSampleControl : public TComponent {
  NV_CLASS(TSampleControl, TComponent)
 public:
  explicit TSampleControl(TComponent* owner)
      : TComponent(owner), Columns(std::make_unique<TCollection>(TListColumn::StaticClassInfo())) {}
  std::string Caption, Hint, Text;
  TColor Color = clWindow;
  TComboStyle Style = csDropDown;
  int ItemIndex = -1;
  TStringList* ItemsList() const { return items_.get(); }
  TCollection* ColumnsList() const { return Columns.get(); }
  TFont* FontObject() const { return font_.get(); }
  void SetItemIndex(int index) { ItemIndex = index < items_->Count() ? index : -1; }
  std::unique_ptr<TCollection> Columns;

 private:
  std::unique_ptr<TStringList> items_ = std::make_unique<TStringList>();
  std::unique_ptr<TFont> font_ = std::make_unique<TFont>();
};

class TCustomComboBox : public TSampleControl {
  NV_CLASS(TCustomComboBox, TSampleControl)
 public:
  using TSampleControl::TSampleControl;
};

class TfrmSample : public TDataModule {
  NV_CLASS(TfrmSample, TDataModule)
 public:
  explicit TfrmSample(TComponent* owner);
  std::string Caption = "Form", Hint;
  TSampleControl* btnOk;
  TCustomComboBox* cboKind;
  TSampleControl* lvList;
  TSampleControl* pnlHost;  // owns a control of its own
  TSampleControl* lblInner;
};

}  // namespace nv::sample
