#pragma once
// Common controls: page control and tab sheets, list view, tree view, status bar, progress
// bar, tool bar and tool buttons.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/rtti/Collection.h"
#include "platform/rtti/StringList.h"
#include "platform/ui/Controls.h"

namespace nv {

class TImageList;
class TPageControl;
class TListView;
class TTreeView;

// ---------------------------------------------------------------------------------------
// Pages

class TTabSheet : public TWinControl {
  NV_CLASS(TTabSheet, TWinControl)
 public:
  explicit TTabSheet(TComponent* owner);
  ~TTabSheet() override;
  TPageControl* PageControl() const { return pageControl_; }
  void SetPageControl(TPageControl* control);
  int PageIndex() const;
  void SetPageIndex(int index);
  // The tab shows while TabVisible; a hidden tab's page cannot be the active one.
  bool TabVisible() const { return tabVisible_; }
  void SetTabVisible(bool v);
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int v) { imageIndex_ = v; }
  int TabIndex() const;  // among the visible tabs, -1 when hidden
  void SetParentComponent(TComponent* parent) override;

  TNotifyEvent OnShow;
  TNotifyEvent OnHide;

 protected:
  void TextChanged() override;

 private:
  friend class TPageControl;
  TPageControl* pageControl_ = nullptr;
  bool tabVisible_ = true;
  int imageIndex_ = 0;
};

using TTabChangingEvent = TCloseQueryEvent;  // Sender, var AllowChange
NV_ENUM(TTabPosition, tpTop, tpBottom, tpLeft, tpRight)

class TPageControl : public TWinControl {
  NV_CLASS(TPageControl, TWinControl)
 public:
  explicit TPageControl(TComponent* owner);
  ~TPageControl() override;
  int PageCount() const { return static_cast<int>(pages_.size()); }
  TTabSheet* Pages(int index) const { return pages_.at(static_cast<std::size_t>(index)); }
  TTabSheet* ActivePage() const { return activePage_; }
  // Shows the page (OnHide of the old, OnShow of the new); no change events, as when a
  // program sets it.
  void SetActivePage(TTabSheet* page);
  int ActivePageIndex() const;
  void SetActivePageIndex(int index);
  // The user picks a tab: OnChanging may refuse, then the page changes and OnChange.
  bool SelectTab(TTabSheet* page);
  // The next visible page after current (wrapping), nullptr when none.
  TTabSheet* FindNextPage(TTabSheet* current, bool goForward, bool checkTabVisible) const;
  // Ctrl+Tab / Ctrl+Page Down: the user moves to the next visible page.
  void SelectNextPage(bool goForward);
  TTabPosition TabPosition() const { return tabPosition_; }
  void SetTabPosition(TTabPosition v) { tabPosition_ = v; }
  bool MultiLine() const { return multiLine_; }
  void SetMultiLine(bool v) { multiLine_ = v; }
  TImageList* Images() const { return images_; }
  void SetImages(TImageList* v);
  int TabHeight() const { return tabHeight_; }
  void SetTabHeight(int v) { tabHeight_ = v; }
  // The area of the pages below the tabs.
  TRect ClientRect() const override;
  void Notification(TComponent* component, TOperation operation) override;
  void Loaded() override;

  TNotifyEvent OnChange;
  TTabChangingEvent OnChanging;

 protected:
  void InsertControl(TControl* control) override;
  void Resized() override;

 private:
  friend class TTabSheet;
  void InsertPage(TTabSheet* page);
  void RemovePage(TTabSheet* page);
  void PlacePages();
  std::vector<TTabSheet*> pages_;
  TTabSheet* activePage_ = nullptr;
  TTabPosition tabPosition_ = tpTop;
  bool multiLine_ = false;
  TImageList* images_ = nullptr;
  int tabHeight_ = 0;
};

// ---------------------------------------------------------------------------------------
// List view

NV_ENUM(TViewStyle, vsIcon, vsSmallIcon, vsList, vsReport)
NV_ENUM(TSortType, stNone, stData, stText, stBoth)
NV_ENUM(TItemChange, ctText, ctImage, ctState)

class TListColumn : public TCollectionItem {
  NV_CLASS(TListColumn, TCollectionItem)
 public:
  explicit TListColumn(TCollection* collection) : TCollectionItem(collection) {}
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& v);
  int Width() const { return width_; }
  void SetWidth(int v);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment v) { alignment_ = v; }
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool v) { autoSize_ = v; }
  std::string DisplayName() const override { return caption_.empty() ? ClassName() : caption_; }

 private:
  std::string caption_;
  int width_ = 50;
  TAlignment alignment_ = taLeftJustify;
  bool autoSize_ = false;
};

class TListColumns : public TCollection {
  NV_CLASS(TListColumns, TCollection)
 public:
  explicit TListColumns(TListView* owner);
  TListColumn* Add() { return static_cast<TListColumn*>(TCollection::Add()); }
  TListColumn* Items(int index) const {
    return static_cast<TListColumn*>(TCollection::Items(index));
  }
};

class TListItems;

class TListItem : public TObject {
 public:
  explicit TListItem(TListItems* owner);
  ~TListItem() override;
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& v);
  TStrings* SubItems() const { return subItems_.get(); }
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int v) { imageIndex_ = v; }
  bool Selected() const { return selected_; }
  void SetSelected(bool v);
  bool Focused() const;
  void SetFocused(bool v);
  bool Checked() const { return checked_; }
  void SetChecked(bool v) { checked_ = v; }
  void* Data() const { return data_; }
  void SetData(void* v) { data_ = v; }
  int Index() const;
  TListView* ListView() const;
  void Delete();
  // The in-place caption editor opens on this item (false when the view is read-only or
  // OnEditing refuses).
  bool EditCaption();

 private:
  friend class TListItems;
  TListItems* owner_;
  std::string caption_;
  std::unique_ptr<TStringList> subItems_;
  int imageIndex_ = -1;
  bool selected_ = false;
  bool checked_ = false;
  void* data_ = nullptr;
};

class TListItems : public TPersistent {
  NV_CLASS(TListItems, TPersistent)
 public:
  explicit TListItems(TListView* owner) : owner_(owner) {}
  ~TListItems() override;
  TListView* Owner() const { return owner_; }
  int Count() const { return static_cast<int>(items_.size()); }
  TListItem* Item(int index) const { return items_.at(static_cast<std::size_t>(index)); }
  TListItem* Add();
  TListItem* Insert(int index);
  void Delete(int index);
  void Clear();
  int IndexOf(const TListItem* item) const;
  void BeginUpdate() { ++updateCount_; }
  void EndUpdate() { --updateCount_; }
  int UpdateCount() const { return updateCount_; }

 private:
  friend class TListItem;
  friend class TListView;
  TListView* owner_;
  std::vector<TListItem*> items_;
  int updateCount_ = 0;
};

NV_EVENT_TYPE(TLVEditingEvent, TObject* /*Sender*/, TListItem* /*Item*/, bool& /*AllowEdit*/);
NV_EVENT_TYPE(TLVEditedEvent, TObject* /*Sender*/, TListItem* /*Item*/, std::string& /*S*/);
NV_EVENT_TYPE(TLVColumnClickEvent, TObject* /*Sender*/, TListColumn* /*Column*/);
NV_EVENT_TYPE(TLVCompareEvent, TObject* /*Sender*/, TListItem* /*Item1*/, TListItem* /*Item2*/,
              int /*Data*/, int& /*Compare*/);
NV_EVENT_TYPE(TLVSelectItemEvent, TObject* /*Sender*/, TListItem* /*Item*/, bool /*Selected*/);
NV_EVENT_TYPE(TLVChangeEvent, TObject* /*Sender*/, TListItem* /*Item*/, TItemChange /*Change*/);
NV_EVENT_TYPE(TLVChangingEvent, TObject* /*Sender*/, TListItem* /*Item*/, TItemChange /*Change*/,
              bool& /*AllowChange*/);

class TListView : public TWinControl {
  NV_CLASS(TListView, TWinControl)
 public:
  explicit TListView(TComponent* owner);
  ~TListView() override;
  TListColumns* Columns() const { return columns_; }
  void SetColumns(TListColumns* v) { columns_->Assign(*v); }
  TListItems* Items() const { return items_.get(); }
  TViewStyle ViewStyle() const { return viewStyle_; }
  void SetViewStyle(TViewStyle v);
  bool MultiSelect() const { return multiSelect_; }
  void SetMultiSelect(bool v) { multiSelect_ = v; }
  bool RowSelect() const { return rowSelect_; }
  void SetRowSelect(bool v) { rowSelect_ = v; }
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool v) { readOnly_ = v; }
  bool ShowColumnHeaders() const { return showColumnHeaders_; }
  void SetShowColumnHeaders(bool v) { showColumnHeaders_ = v; }
  bool ColumnClick() const { return columnClick_; }
  void SetColumnClick(bool v) { columnClick_ = v; }
  bool HideSelection() const { return hideSelection_; }
  void SetHideSelection(bool v) { hideSelection_ = v; }
  bool Checkboxes() const { return checkboxes_; }
  void SetCheckboxes(bool v) { checkboxes_ = v; }
  TSortType SortType() const { return sortType_; }
  // stText / stBoth keep the items sorted by caption (or through OnCompare).
  void SetSortType(TSortType v);
  TImageList* LargeImages() const { return largeImages_; }
  void SetLargeImages(TImageList* v);
  TImageList* SmallImages() const { return smallImages_; }
  void SetSmallImages(TImageList* v);

  TListItem* Selected() const;  // the first selected item
  void SetSelected(TListItem* item);
  int SelCount() const;
  TListItem* ItemFocused() const { return itemFocused_; }
  void SetItemFocused(TListItem* item) { itemFocused_ = item; }
  // Sorts with OnCompare (or by caption, ignoring case, when it has no handler).
  void AlphaSort();
  // Sorts with the given comparison (negative: a before b); stable.
  void CustomSort(const std::function<int(TListItem*, TListItem*)>& compare);
  // The user clicks a column header: OnColumnClick when ColumnClick.
  void ClickColumn(int index);
  void Notification(TComponent* component, TOperation operation) override;
  bool WantsKey(Word key, TShiftState shift) const override;

  TLVEditingEvent OnEditing;
  TLVEditedEvent OnEdited;
  TLVColumnClickEvent OnColumnClick;
  TLVCompareEvent OnCompare;
  TLVSelectItemEvent OnSelectItem;
  TLVChangeEvent OnChange;
  TLVChangingEvent OnChanging;

  // Ends an in-place caption edit with the user's text: OnEdited may change it; the item
  // then takes it.
  void FinishCaptionEdit(TListItem* item, const std::string& text);

 private:
  friend class TListItem;
  friend class TListItems;
  void ItemChanged(TListItem* item, TItemChange change);
  bool ItemChanging(TListItem* item, TItemChange change);
  void ItemRemoved(TListItem* item);
  void SortIfSorted();
  TListColumns* columns_;
  std::unique_ptr<TListItems> items_;
  TViewStyle viewStyle_ = vsIcon;
  bool multiSelect_ = false;
  bool rowSelect_ = false;
  bool readOnly_ = false;
  bool showColumnHeaders_ = true;
  bool columnClick_ = true;
  bool hideSelection_ = true;
  bool checkboxes_ = false;
  TSortType sortType_ = stNone;
  TImageList* largeImages_ = nullptr;
  TImageList* smallImages_ = nullptr;
  TListItem* itemFocused_ = nullptr;
  TListItem* editing_ = nullptr;
  bool sorting_ = false;
};

// ---------------------------------------------------------------------------------------
// Tree view

class TTreeNodes;

class TTreeNode : public TObject {
 public:
  TTreeNode(TTreeNodes* owner, TTreeNode* parent);
  ~TTreeNode() override;
  const std::string& Text() const { return text_; }
  void SetText(const std::string& v) { text_ = v; }
  void* Data() const { return data_; }
  void SetData(void* v) { data_ = v; }
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int v) { imageIndex_ = v; }
  int SelectedIndex() const { return selectedIndex_; }
  void SetSelectedIndex(int v) { selectedIndex_ = v; }
  bool Expanded() const { return expanded_; }
  void SetExpanded(bool v);
  void Expand(bool recurse);
  void Collapse(bool recurse);
  TTreeNode* Parent() const { return parent_; }
  int Count() const { return static_cast<int>(children_.size()); }
  TTreeNode* Item(int index) const { return children_.at(static_cast<std::size_t>(index)); }
  bool HasChildren() const { return !children_.empty(); }
  int Level() const;
  int Index() const;
  bool Selected() const;
  void Delete();

 private:
  friend class TTreeNodes;
  TTreeNodes* owner_;
  TTreeNode* parent_;
  std::vector<TTreeNode*> children_;
  std::string text_;
  void* data_ = nullptr;
  int imageIndex_ = -1;
  int selectedIndex_ = -1;
  bool expanded_ = false;
};

class TTreeNodes : public TPersistent {
  NV_CLASS(TTreeNodes, TPersistent)
 public:
  explicit TTreeNodes(TTreeView* owner) : owner_(owner) {}
  ~TTreeNodes() override;
  TTreeView* Owner() const { return owner_; }
  // All nodes, depth first.
  int Count() const;
  TTreeNode* Item(int index) const;
  int RootCount() const { return static_cast<int>(roots_.size()); }
  TTreeNode* Root(int index) const { return roots_.at(static_cast<std::size_t>(index)); }
  TTreeNode* GetFirstNode() const { return roots_.empty() ? nullptr : roots_.front(); }
  // A sibling after node (a root when node is nullptr).
  TTreeNode* Add(TTreeNode* sibling, const std::string& text);
  TTreeNode* AddChild(TTreeNode* parent, const std::string& text);
  TTreeNode* AddChildObject(TTreeNode* parent, const std::string& text, void* data);
  void Delete(TTreeNode* node);
  void Clear();

 private:
  friend class TTreeNode;
  void Flatten(const std::vector<TTreeNode*>& level, std::vector<TTreeNode*>& out) const;
  TTreeView* owner_;
  std::vector<TTreeNode*> roots_;
};

NV_EVENT_TYPE(TTVChangedEvent, TObject* /*Sender*/, TTreeNode* /*Node*/);
NV_EVENT_TYPE(TTVChangingEvent, TObject* /*Sender*/, TTreeNode* /*Node*/, bool& /*AllowChange*/);
using TTVExpandingEvent = TTVChangingEvent;  // Sender, Node, var AllowExpansion

class TTreeView : public TWinControl {
  NV_CLASS(TTreeView, TWinControl)
 public:
  explicit TTreeView(TComponent* owner);
  ~TTreeView() override;
  TTreeNodes* Items() const { return items_.get(); }
  TTreeNode* Selected() const { return selected_; }
  // The user (or a program) selects a node: OnChanging may refuse, then OnChange.
  void SetSelected(TTreeNode* node);
  bool ShowLines() const { return showLines_; }
  void SetShowLines(bool v) { showLines_ = v; }
  bool ShowRoot() const { return showRoot_; }
  void SetShowRoot(bool v) { showRoot_ = v; }
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool v) { readOnly_ = v; }
  bool HideSelection() const { return hideSelection_; }
  void SetHideSelection(bool v) { hideSelection_ = v; }
  TImageList* Images() const { return images_; }
  void SetImages(TImageList* v);
  void Notification(TComponent* component, TOperation operation) override;

  TTVChangedEvent OnChange;
  TTVChangingEvent OnChanging;
  TTVExpandingEvent OnExpanding;
  TTVChangedEvent OnExpanded;

 private:
  friend class TTreeNode;
  friend class TTreeNodes;
  std::unique_ptr<TTreeNodes> items_;
  TTreeNode* selected_ = nullptr;
  bool showLines_ = true;
  bool showRoot_ = true;
  bool readOnly_ = false;
  bool hideSelection_ = true;
  TImageList* images_ = nullptr;
};

// ---------------------------------------------------------------------------------------
// Status bar, progress bar

NV_ENUM(TStatusPanelStyle, psText, psOwnerDraw)
NV_ENUM(TStatusPanelBevel, pbNone, pbLowered, pbRaised)

class TStatusPanel : public TCollectionItem {
  NV_CLASS(TStatusPanel, TCollectionItem)
 public:
  explicit TStatusPanel(TCollection* collection) : TCollectionItem(collection) {}
  const std::string& Text() const { return text_; }
  void SetText(const std::string& v);
  int Width() const { return width_; }
  void SetWidth(int v);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment v) { alignment_ = v; }
  TStatusPanelBevel Bevel() const { return bevel_; }
  void SetBevel(TStatusPanelBevel v) { bevel_ = v; }
  TStatusPanelStyle Style() const { return style_; }
  void SetStyle(TStatusPanelStyle v) { style_ = v; }

 private:
  std::string text_;
  int width_ = 50;
  TAlignment alignment_ = taLeftJustify;
  TStatusPanelBevel bevel_ = pbLowered;
  TStatusPanelStyle style_ = psText;
};

class TStatusBar;
class TStatusPanels : public TCollection {
  NV_CLASS(TStatusPanels, TCollection)
 public:
  explicit TStatusPanels(TStatusBar* owner);
  TStatusPanel* Add() { return static_cast<TStatusPanel*>(TCollection::Add()); }
  TStatusPanel* Items(int index) const {
    return static_cast<TStatusPanel*>(TCollection::Items(index));
  }
};

class TStatusBar : public TWinControl {
  NV_CLASS(TStatusBar, TWinControl)
 public:
  explicit TStatusBar(TComponent* owner);
  ~TStatusBar() override;
  TStatusPanels* Panels() const { return panels_; }
  void SetPanels(TStatusPanels* v) { panels_->Assign(*v); }
  bool SimplePanel() const { return simplePanel_; }
  void SetSimplePanel(bool v) { simplePanel_ = v; }
  const std::string& SimpleText() const { return simpleText_; }
  void SetSimpleText(const std::string& v) { simpleText_ = v; }
  bool SizeGrip() const { return sizeGrip_; }
  void SetSizeGrip(bool v) { sizeGrip_ = v; }

 private:
  TStatusPanels* panels_;
  bool simplePanel_ = false;
  std::string simpleText_;
  bool sizeGrip_ = true;
};

NV_ENUM(TProgressBarOrientation, pbHorizontal, pbVertical)

class TProgressBar : public TWinControl {
  NV_CLASS(TProgressBar, TWinControl)
 public:
  explicit TProgressBar(TComponent* owner);
  int Min() const { return min_; }
  void SetMin(int v);
  int Max() const { return max_; }
  void SetMax(int v);
  int Position() const { return position_; }
  void SetPosition(int v);  // kept within Min..Max
  int Step() const { return step_; }
  void SetStep(int v) { step_ = v; }
  void StepIt() { SetPosition(position_ + step_ > max_ ? min_ : position_ + step_); }
  void StepBy(int delta) { SetPosition(position_ + delta); }
  bool Smooth() const { return smooth_; }
  void SetSmooth(bool v) { smooth_ = v; }
  TProgressBarOrientation Orientation() const { return orientation_; }
  void SetOrientation(TProgressBarOrientation v) { orientation_ = v; }

 private:
  int min_ = 0;
  int max_ = 100;
  int position_ = 0;
  int step_ = 10;
  bool smooth_ = false;
  TProgressBarOrientation orientation_ = pbHorizontal;
};

// ---------------------------------------------------------------------------------------
// Tool bar

class TPopupMenu;
NV_ENUM(TToolButtonStyle, tbsButton, tbsCheck, tbsDropDown, tbsSeparator, tbsDivider)

class TToolBar;

class TToolButton : public TGraphicControl {
  NV_CLASS(TToolButton, TGraphicControl)
 public:
  explicit TToolButton(TComponent* owner);
  TToolButtonStyle Style() const { return style_; }
  void SetStyle(TToolButtonStyle v);
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int v) { imageIndex_ = v; }
  bool Down() const { return down_; }
  void SetDown(bool v);
  bool Grouped() const { return grouped_; }
  void SetGrouped(bool v) { grouped_ = v; }
  bool AllowAllUp() const { return allowAllUp_; }
  void SetAllowAllUp(bool v) { allowAllUp_ = v; }
  TPopupMenu* DropdownMenu() const { return dropdownMenu_; }
  void SetDropdownMenu(TPopupMenu* menu);
  // The arrow of a drop-down button: the menu pops up below the button.
  void ClickArrow();
  void Click() override;
  TToolBar* ToolBar() const;
  void Notification(TComponent* component, TOperation operation) override;

 private:
  TToolButtonStyle style_ = tbsButton;
  int imageIndex_ = -1;
  bool down_ = false;
  bool grouped_ = false;
  bool allowAllUp_ = false;
  TPopupMenu* dropdownMenu_ = nullptr;
};

class TToolBar : public TWinControl {
  NV_CLASS(TToolBar, TWinControl)
 public:
  explicit TToolBar(TComponent* owner);
  int ButtonWidth() const { return buttonWidth_; }
  void SetButtonWidth(int v);
  int ButtonHeight() const { return buttonHeight_; }
  void SetButtonHeight(int v);
  bool ShowCaptions() const { return showCaptions_; }
  void SetShowCaptions(bool v) { showCaptions_ = v; }
  bool Flat() const { return flat_; }
  void SetFlat(bool v) { flat_ = v; }
  TImageList* Images() const { return images_; }
  void SetImages(TImageList* v);
  int ButtonCount() const;
  TToolButton* Buttons(int index) const;
  void Notification(TComponent* component, TOperation operation) override;
  // Lays the buttons out left to right in the order they stand.
  void ArrangeButtons();

 protected:
  void InsertControl(TControl* control) override;

 private:
  int buttonWidth_ = 23;
  int buttonHeight_ = 22;
  bool showCaptions_ = false;
  bool flat_ = false;
  TImageList* images_ = nullptr;
};

}  // namespace nv
