#include "platform/ui/wwdbcomb.h"

#include "platform/ui/Menus.h"

namespace nv {

NV_PUBLISH(TwwDBCustomComboBox) {
  b.Prop("AllowClearKey", &TwwDBCustomComboBox::AllowClearKey,
         &TwwDBCustomComboBox::SetAllowClearKey)
      .Default(false);
  b.Prop("DataField", &TwwDBCustomComboBox::DataField, &TwwDBCustomComboBox::SetDataField);
  b.Prop("MapList", &TwwDBCustomComboBox::MapList, &TwwDBCustomComboBox::SetMapList).Default(false);
  b.Prop("Value", &TwwDBCustomComboBox::Value, &TwwDBCustomComboBox::SetValue).Stored(false);
}

std::string TwwDBCustomComboBox::DisplayText(int index) const {
  if (index < 0 || index >= Items()->Count()) return {};
  std::string item = Items()->Get(index);
  auto tab = item.find('\t');
  return tab == std::string::npos ? item : item.substr(0, tab);
}

std::string TwwDBCustomComboBox::Value() const {
  if (!mapList_) return Text();
  int i = ItemIndex();
  if (i < 0) return {};
  std::string item = Items()->Get(i);
  auto tab = item.find('\t');
  return tab == std::string::npos ? item : item.substr(tab + 1);
}

void TwwDBCustomComboBox::SetValue(const std::string& value) {
  if (!mapList_) {
    SetText(value);
    return;
  }
  for (int i = 0; i < Items()->Count(); ++i) {
    std::string item = Items()->Get(i);
    auto tab = item.find('\t');
    if ((tab == std::string::npos ? item : item.substr(tab + 1)) == value) {
      SetItemIndex(i);
      return;
    }
  }
  SetItemIndex(-1);
}

NV_PUBLISH(TwwDBComboBox) {}

}  // namespace nv
