#pragma once
// SelectPnl: the condition-entry panel of the option forms. One panel takes one condition
// field as a range (begin and end edits), as a list of chosen rows, or as the user's choice
// between the two through a switch box. Lookups are asked of the owner form (message 1034).
#include <string>
#include <vector>

#include "controls/F2Button.h"
#include "platform/core/Variant.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Mask.h"

namespace nv {

NV_ENUM(TSelectStyle, sp_Range, sp_Discrete, sp_UserChoice)
// The panel's value types; the C++ name differs from the form-text value kinds' TValueType.
NV_ENUM(TSelectValueType, vt_String, vt_Number, vt_Date, vt_Time, vt_Float, vt_OtherMask)
NV_ENUM(TDateType, dt_NoneCare, dt_YYYYMMDD, dt_MMDDYYYY, dt_DDMMYYYY, dt_YYMMDD, dt_YYYMMDD)
NV_ENUM(TCheckDuplicate, cd_None, cd_CheckCase, cd_CaseInsensitive)

class TSelectPanel;
NV_EVENT_TYPE(TOpenWinClickEvent, TSelectPanel* /*SenderParent*/, TWinControl* /*Sender*/);
// Same parameters as the close query (Sender, var Accept): one event type.
using TDeleteClickEvent = TCloseQueryEvent;
NV_EVENT_TYPE(TStyleChangingEvent, TObject* /*Sender*/, TSelectStyle /*NowStyle*/,
              TSelectStyle& /*NewStyle*/, bool& /*Accept*/);
NV_EVENT_TYPE(TStyleChangeEvent, TObject* /*Sender*/, TSelectStyle /*OldStyle*/,
              TSelectStyle /*NewStyle*/);
// The list's selection with the row's index added.
NV_EVENT_TYPE(TListViewSelectItemEvent, TObject* /*Sender*/, TListItem* /*xItem*/, int /*xIndex*/,
              bool /*xIsSelect*/);
using TListViewDataChangeEvent = TLVChangeEvent;
using TListViewDataChangingEvent = TLVChangingEvent;

// Locale-aware, case-insensitive order of two texts in the system code page (pinyin for
// GB, strokes for Big5): negative, 0 or positive.
int CompareTextCollated(const std::string& a, const std::string& b);

// The suite's bitmap check box and the panel's switch box built on it.
class TBitCheckBox : public TCheckBox {
  NV_CLASS(TBitCheckBox, TCheckBox)
 public:
  explicit TBitCheckBox(TComponent* owner) : TCheckBox(owner) {}
};
class TOruCheckBox : public TBitCheckBox {
  NV_CLASS(TOruCheckBox, TBitCheckBox)
 public:
  explicit TOruCheckBox(TComponent* owner) : TBitCheckBox(owner) {}
};

// The begin and end edits: while Suppress is set, changes raise no OnChange.
class TOruMaskEdit : public TMaskEdit {
  NV_CLASS(TOruMaskEdit, TMaskEdit)
 public:
  explicit TOruMaskEdit(TComponent* owner) : TMaskEdit(owner) {}
  bool Suppress() const { return suppress_; }
  void SetSuppress(bool v) { suppress_ = v; }

 private:
  bool suppress_ = false;
};

// The list of chosen rows.
class TOruListView : public TListView {
  NV_CLASS(TOruListView, TListView)
 public:
  explicit TOruListView(TComponent* owner);
  bool AutoSizeColumns() const { return autoSizeColumns_; }
  void SetAutoSizeColumns(bool v) { autoSizeColumns_ = v; }
  // One row: caption values[0], sub items the rest; columns "Data1", ... are added as
  // needed and every row is padded to the same sub-item count. False when values is empty.
  bool AddItem(const std::vector<std::string>& values);
  void Clear() { Items()->Clear(); }
  // Drops a row whose caption equals the one just above it (after upper-casing when not
  // caseSensitive); rows are expected sorted.
  void RemoveDuplicates(bool caseSensitive);
  TSelectPanel* Panel = nullptr;  // the panel whose duplicate rule applies on AddItem

 private:
  bool autoSizeColumns_ = true;
};

class TSelectPanel : public TGroupBox {
  NV_CLASS(TSelectPanel, TGroupBox)
 public:
  explicit TSelectPanel(TComponent* owner);
  ~TSelectPanel() override;

  TSelectStyle Style() const { return style_; }
  void SetStyle(TSelectStyle v);
  bool UserChoice() const { return userChoice_; }
  void SetUserChoice(bool v);
  TSelectValueType ValueType() const { return valueType_; }
  void SetValueType(TSelectValueType v) { valueType_ = v; }
  TDateType DateType() const { return dateType_; }
  void SetDateType(TDateType v) { dateType_ = v; }
  const std::string& DateSign() const { return dateSign_; }
  void SetDateSign(const std::string& v) { dateSign_ = v; }
  bool AutoChangeDateSite() const { return autoChangeDateSite_; }
  void SetAutoChangeDateSite(bool v) { autoChangeDateSite_ = v; }
  const std::string& EditMask() const { return editMask_; }
  void SetEditMask(const std::string& mask);
  const std::string& HintWord() const { return hintWord_; }
  void SetHintWord(const std::string& v);
  TStrings* BeginWords() const { return beginWords_; }
  void SetBeginWords(TStrings* list);
  TStrings* FinalWords() const { return finalWords_; }
  void SetFinalWords(TStrings* list);
  TStrings* ChildHints() const { return childHints_; }
  void SetChildHints(TStrings* list);
  bool CanOpenWin() const { return canOpenWin_; }
  void SetCanOpenWin(bool v);
  int GlyphIndex() const { return glyphIndex_; }
  void SetGlyphIndex(int v);
  bool UseVertical() const { return useVertical_; }
  void SetUseVertical(bool v);
  int OtherWidth() const { return otherWidth_; }
  void SetOtherWidth(int v) { otherWidth_ = v; }
  int OtherHeight() const { return otherHeight_; }
  void SetOtherHeight(int v) { otherHeight_ = v; }
  bool UseDiscard() const { return useDiscard_; }
  void SetUseDiscard(bool v) { useDiscard_ = v; }
  const std::string& Discard() const { return discard_; }
  void SetDiscard(const std::string& v) { discard_ = v; }
  TCheckDuplicate CheckDuplicate() const { return checkDuplicate_; }
  void SetCheckDuplicate(TCheckDuplicate v);
  bool SortListBox() const { return sortListBox_; }
  void SetSortListBox(bool v);
  TListItems* Items() const { return ListBox->Items(); }
  TListColumns* Columns() const { return ListBox->Columns(); }
  void SetColumns(TListColumns* v) { ListBox->SetColumns(v); }
  bool ShowColumnHeader() const { return ListBox->ShowColumnHeaders(); }
  void SetShowColumnHeader(bool v) { ListBox->SetShowColumnHeaders(v); }
  bool ColumnsAutoSize() const { return ListBox->AutoSizeColumns(); }
  void SetColumnsAutoSize(bool v) { ListBox->SetAutoSizeColumns(v); }
  bool HideSelection() const { return ListBox->HideSelection(); }
  void SetHideSelection(bool v) { ListBox->SetHideSelection(v); }
  void SetEnabled(bool v) override;

  bool IsRangeMode() const;
  // Puts begin and end in order by ValueType (the exit handler's work, before OnExit).
  void ArrangeRange();
  // A date text under DateType and DateSign as yyyymmdd; 0 when it is no date.
  int DateValue(const std::string& text) const;
  // A float text: point or the locale's decimal separator, thousands separators ignored;
  // 0 when it is no number.
  static double FloatValue(const std::string& text);

  // The rows as one text: caption, then #1 and the sub items joined by #1, then #4 a row.
  std::string RowText() const;
  // Clears the list and adds the rows of such a text (an empty last piece is skipped).
  void SetRowText(const std::string& text);
  // The scheme value: "sp_Range" #3 begin #3 end, "sp_Discrete" #3 rows, "sp_UserChoice" #3
  // "True" #3 begin #3 end or "sp_UserChoice" #3 "False" #3 rows.
  std::string SchemeValue() const;
  // Restores style, switch state and texts or rows; false (nothing changed) when the text
  // is no scheme value.
  bool SetSchemeValue(const std::string& text);
  // For the condition builder: [#4, begin, end] in range mode, else [#5, row 1, ...] with
  // each row an array of its caption and sub items.
  Variant ConditionValue() const;
  // What edBegin shows when empty under the current mask.
  const std::string& BlankText() const { return blankText_; }
  // A click on a column header: that column ascending, or the other direction when it is
  // already the sort column; then the rows are sorted.
  void SortByColumn(int column);
  int SortColumn() const { return sortColumn_; }
  bool SortAscending() const { return sortAscending_; }

  TOpenWinClickEvent OnOpenWinClick;
  TNotifyEvent OnClearClick;
  TDeleteClickEvent OnDeleteClick;
  TNotifyEvent OnTypeClick;
  TStyleChangingEvent OnStyleChanging;
  TStyleChangeEvent OnStyleChange;
  TListViewSelectItemEvent OnItemSelect;
  TListViewDataChangeEvent OnItemChange;
  TListViewDataChangingEvent OnItemChanging;

  // Inner controls, read directly by the option-form framework.
  TOruCheckBox* SwitchBox = nullptr;
  TPanel* RangePanel = nullptr;
  TLabel* lblBegin = nullptr;
  TOruMaskEdit* edBegin = nullptr;
  TF2Button* btnBegin = nullptr;
  TLabel* lblFinal = nullptr;
  TOruMaskEdit* edFinal = nullptr;
  TF2Button* btnFinal = nullptr;
  TPanel* ListPanel = nullptr;
  TOruListView* ListBox = nullptr;
  TF2Button* btnList = nullptr;
  TGSpeedButton* btnDelete = nullptr;
  TGSpeedButton* btnClear = nullptr;

 protected:
  void Resized() override { Layout(); }
  void FontChanged() override;
  void DoExit() override;

 private:
  bool Designing() const { return ComponentState().Contains(csDesigning); }
  bool Loading() const { return ComponentState().Contains(csLoading); }
  void Layout();
  void PlacePanels(TSelectStyle style);
  void ShowPanels(TSelectStyle style);
  void HorizontalRange();
  void VerticalRange();
  void ListLayout();
  void SizeSwitchBox();
  void SwapSize();
  void SetWords(TStrings* stored, TStrings* list, TLabel* label);
  void ApplyChildHints();
  void SwitchBoxClick();
  void LookupClick(TWinControl* target);
  void DeleteClick();
  void ClearClick();
  int CompareRows(TListItem* a, TListItem* b) const;
  void ForwardEvents(TControl* inner);
  void ForwardKeys(TWinControl* inner);
  void ForwardListEvents();
  TObject* EventSender(TControl* inner);
  TPoint ToPanel(TControl* inner, int x, int y) const;

  TSelectStyle style_ = sp_Range;
  bool userChoice_ = true;
  TSelectValueType valueType_ = vt_String;
  TDateType dateType_ = dt_NoneCare;
  std::string dateSign_ = "/";
  bool autoChangeDateSite_ = true;
  std::string editMask_;
  std::string hintWord_;
  TStringList* beginWords_;
  TStringList* finalWords_;
  TStringList* childHints_;
  bool canOpenWin_ = true;
  int glyphIndex_ = 8;
  bool useVertical_ = false;
  int otherWidth_ = 200;
  int otherHeight_ = 105;
  bool useDiscard_ = false;
  std::string discard_;
  TCheckDuplicate checkDuplicate_ = cd_None;
  bool sortListBox_ = false;
  std::string blankText_;
  int sortColumn_ = 0;
  bool sortAscending_ = true;
  bool built_ = false;
};

}  // namespace nv
