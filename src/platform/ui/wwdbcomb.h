#pragma once
// The data-aware combo box of the grid-and-lookup pack: a combo box whose items may carry a
// stored value after a tab ("Display<Tab>Value"), bound to a data field by name.
#include "platform/ui/StdCtrls.h"

namespace nv {

class TwwDBCustomComboBox : public TComboBox {
  NV_CLASS(TwwDBCustomComboBox, TComboBox)
 public:
  explicit TwwDBCustomComboBox(TComponent* owner) : TComboBox(owner) {}
  const std::string& DataField() const { return dataField_; }
  void SetDataField(const std::string& v) { dataField_ = v; }
  bool MapList() const { return mapList_; }
  void SetMapList(bool v) { mapList_ = v; }
  bool AllowClearKey() const { return allowClearKey_; }
  void SetAllowClearKey(bool v) { allowClearKey_ = v; }
  // With MapList, the stored value of the chosen item (the part after the tab); otherwise
  // the text.
  std::string Value() const;
  void SetValue(const std::string& value);
  // The shown text of an item: the part before the tab.
  std::string DisplayText(int index) const;

 private:
  std::string dataField_;
  bool mapList_ = false;
  bool allowClearKey_ = false;
};

class TwwDBComboBox : public TwwDBCustomComboBox {
  NV_CLASS(TwwDBComboBox, TwwDBCustomComboBox)
 public:
  explicit TwwDBComboBox(TComponent* owner) : TwwDBCustomComboBox(owner) {}
};

}  // namespace nv
