#include "platform/ui/ComCtrls.h"

#include <algorithm>

#include "platform/ui/Forms.h"
#include "platform/ui/Menus.h"
#include "platform/ui/Pictures.h"
#include "platform/ui/StdCtrls.h"

namespace nv {

// ---------------------------------------------------------------------------------------
// Pages

NV_PUBLISH(TTabSheet) {
  b.Prop("Caption", &TTabSheet::Caption, &TTabSheet::SetCaption);
  PublishFontColor(b, clBtnFace);
  b.Prop("ImageIndex", &TTabSheet::ImageIndex, &TTabSheet::SetImageIndex).Default(0);
  b.Prop("PageIndex", &TTabSheet::PageIndex, &TTabSheet::SetPageIndex).Stored(false);
  b.Prop("TabVisible", &TTabSheet::TabVisible, &TTabSheet::SetTabVisible).Default(true);
  PublishHintPopup(b);
  b.Prop("OnEnter", &TTabSheet::OnEnter, &TTabSheet::OnEnter);
  b.Prop("OnExit", &TTabSheet::OnExit, &TTabSheet::OnExit);
  b.Prop("OnHide", &TTabSheet::OnHide, &TTabSheet::OnHide);
  b.Prop("OnShow", &TTabSheet::OnShow, &TTabSheet::OnShow);
  PublishMouseEvents(b);
}

TTabSheet::TTabSheet(TComponent* owner) : TWinControl(owner) {
  TControl::SetVisible(false);
}

TTabSheet::~TTabSheet() {
  DestroyChildControls();
  if (pageControl_) pageControl_->RemovePage(this);
}

void TTabSheet::SetPageControl(TPageControl* control) {
  if (control == pageControl_) return;
  if (pageControl_) pageControl_->RemovePage(this);
  SetParent(control);  // the page control's InsertControl takes it as a page
}

void TTabSheet::SetParentComponent(TComponent* parent) {
  if (auto* pc = dynamic_cast<TPageControl*>(parent))
    SetPageControl(pc);
  else
    TWinControl::SetParentComponent(parent);
}

int TTabSheet::PageIndex() const {
  if (!pageControl_) return -1;
  auto& pages = pageControl_->pages_;
  return static_cast<int>(std::find(pages.begin(), pages.end(), this) - pages.begin());
}

void TTabSheet::SetPageIndex(int index) {
  if (!pageControl_) return;
  auto& pages = pageControl_->pages_;
  pages.erase(std::find(pages.begin(), pages.end(), this));
  index = std::clamp(index, 0, static_cast<int>(pages.size()));
  pages.insert(pages.begin() + index, this);
  Changed();
}

int TTabSheet::TabIndex() const {
  if (!pageControl_ || !tabVisible_) return -1;
  int n = 0;
  for (TTabSheet* p : pageControl_->pages_) {
    if (p == this) return n;
    if (p->tabVisible_) ++n;
  }
  return -1;
}

void TTabSheet::SetTabVisible(bool v) {
  if (v == tabVisible_) return;
  tabVisible_ = v;
  if (!v && pageControl_ && pageControl_->activePage_ == this)
    pageControl_->SetActivePage(pageControl_->FindNextPage(this, true, true));
  Changed();
}

void TTabSheet::TextChanged() {
  if (pageControl_) pageControl_->Changed();
}

NV_PUBLISH(TPageControl) {
  b.Prop("ActivePage", &TPageControl::ActivePage, &TPageControl::SetActivePage);
  PublishFontColor(b, clBtnFace);
  b.Prop("Images", &TPageControl::Images, &TPageControl::SetImages);
  b.Prop("MultiLine", &TPageControl::MultiLine, &TPageControl::SetMultiLine).Default(false);
  b.Prop("TabHeight", &TPageControl::TabHeight, &TPageControl::SetTabHeight).Default(0);
  b.Prop("TabPosition", &TPageControl::TabPosition, &TPageControl::SetTabPosition).Default(tpTop);
  PublishHintPopup(b);
  PublishFocusKeys(b, true);
  b.Prop("OnChange", &TPageControl::OnChange, &TPageControl::OnChange);
  b.Prop("OnChanging", &TPageControl::OnChanging, &TPageControl::OnChanging);
  PublishMouseEvents(b);
}

TPageControl::TPageControl(TComponent* owner) : TWinControl(owner) {
  width_ = 289;
  height_ = 193;
  SetTabStop(true);
}

TPageControl::~TPageControl() {
  DestroyChildControls();
}

void TPageControl::InsertControl(TControl* control) {
  TWinControl::InsertControl(control);
  if (auto* page = dynamic_cast<TTabSheet*>(control)) InsertPage(page);
}

void TPageControl::InsertPage(TTabSheet* page) {
  if (std::find(pages_.begin(), pages_.end(), page) != pages_.end()) return;
  pages_.push_back(page);
  page->pageControl_ = this;
  PlacePages();
  if (!activePage_ && !ComponentState().Contains(csLoading)) SetActivePage(page);
}

void TPageControl::RemovePage(TTabSheet* page) {
  auto it = std::find(pages_.begin(), pages_.end(), page);
  if (it == pages_.end()) return;
  TTabSheet* next = activePage_ == page ? FindNextPage(page, true, true) : activePage_;
  pages_.erase(it);
  page->pageControl_ = nullptr;
  if (activePage_ == page) {
    activePage_ = nullptr;
    if (next != page) SetActivePage(next);
  }
  if (page->Parent() == this) page->SetParent(nullptr);
}

TRect TPageControl::ClientRect() const {
  int tabs = tabHeight_ > 0 ? tabHeight_ : TextHeightOf(*Font()) + 6;
  return Rect(4, tabs + 4, std::max(4, Width() - 4), std::max(tabs + 4, Height() - 4));
}

void TPageControl::PlacePages() {
  TRect r = ClientRect();
  for (TTabSheet* p : pages_) p->SetBounds(r.Left, r.Top, r.Width(), r.Height());
}

void TPageControl::Resized() {
  PlacePages();
}

void TPageControl::Loaded() {
  TWinControl::Loaded();
  PlacePages();
  // a stored ActivePage was only noted while reading: show it now
  TTabSheet* page = activePage_ ? activePage_ : FindNextPage(nullptr, true, true);
  activePage_ = nullptr;
  for (TTabSheet* p : pages_) p->TControl::SetVisible(false);
  SetActivePage(page);
}

int TPageControl::ActivePageIndex() const {
  return activePage_ ? activePage_->PageIndex() : -1;
}

void TPageControl::SetActivePageIndex(int index) {
  SetActivePage(index >= 0 && index < PageCount() ? Pages(index) : nullptr);
}

void TPageControl::SetActivePage(TTabSheet* page) {
  if (page && page->pageControl_ != this) return;
  if (page == activePage_) return;
  if (ComponentState().Contains(csLoading)) {
    activePage_ = page;
    return;
  }
  TTabSheet* old = activePage_;
  // a page that hides while it holds the focus hands it to the page control
  if (old && TControl::ParentForm()) {
    TForm* form = ParentForm();
    if (form->ActiveControl() && old->ContainsControl(form->ActiveControl()) && CanFocus())
      form->FocusControl(this);
  }
  activePage_ = page;
  if (page) {
    page->SetVisible(true);
    page->BringToFront();
  }
  if (old) {
    old->SetVisible(false);
    old->OnHide(old);
  }
  if (page) page->OnShow(page);
  Changed();
}

bool TPageControl::SelectTab(TTabSheet* page) {
  if (!page || page == activePage_ || !page->TabVisible()) return false;
  bool allow = true;
  OnChanging(this, allow);
  if (!allow) return false;
  SetActivePage(page);
  OnChange(this);
  return true;
}

TTabSheet* TPageControl::FindNextPage(TTabSheet* current, bool goForward,
                                      bool checkTabVisible) const {
  int n = PageCount();
  if (n == 0) return nullptr;
  auto it = std::find(pages_.begin(), pages_.end(), current);
  int start = it == pages_.end() ? (goForward ? n - 1 : 0) : static_cast<int>(it - pages_.begin());
  for (int step = 1; step <= n; ++step) {
    int i = goForward ? (start + step) % n : (start - step + n) % n;
    TTabSheet* p = pages_[static_cast<std::size_t>(i)];
    if (!checkTabVisible || p->TabVisible()) return p;
  }
  return nullptr;
}

void TPageControl::SelectNextPage(bool goForward) {
  TTabSheet* next = FindNextPage(activePage_, goForward, true);
  if (next && next != activePage_) SelectTab(next);
}

void TPageControl::SetImages(TImageList* v) {
  images_ = v;
  if (v) v->FreeNotification(this);
}

void TPageControl::Notification(TComponent* component, TOperation operation) {
  TWinControl::Notification(component, operation);
  if (operation == opRemove && component == images_) images_ = nullptr;
}

// ---------------------------------------------------------------------------------------
// List view

NV_PUBLISH(TListColumn) {
  b.Prop("Alignment", &TListColumn::Alignment, &TListColumn::SetAlignment).Default(taLeftJustify);
  b.Prop("AutoSize", &TListColumn::AutoSize, &TListColumn::SetAutoSize).Default(false);
  b.Prop("Caption", &TListColumn::Caption, &TListColumn::SetCaption);
  b.Prop("Width", &TListColumn::Width, &TListColumn::SetWidth).Default(50);
}

void TListColumn::SetCaption(const std::string& v) {
  if (v == caption_) return;
  caption_ = v;
  Changed(false);
}

void TListColumn::SetWidth(int v) {
  if (v == width_) return;
  width_ = v;
  Changed(false);
}

NV_PUBLISH(TListColumns) {}

TListColumns::TListColumns(TListView* owner) : TCollection(TListColumn::StaticClassInfo(), owner) {}

TListItem::TListItem(TListItems* owner)
    : owner_(owner), subItems_(std::make_unique<TStringList>()) {}

TListItem::~TListItem() = default;

TListView* TListItem::ListView() const {
  return owner_ ? owner_->owner_ : nullptr;
}

void TListItem::SetCaption(const std::string& v) {
  if (v == caption_) return;
  TListView* lv = ListView();
  if (lv && !lv->ItemChanging(this, ctText)) return;
  caption_ = v;
  if (lv) {
    lv->ItemChanged(this, ctText);
    lv->SortIfSorted();
  }
}

void TListItem::SetSelected(bool v) {
  if (v == selected_) return;
  TListView* lv = ListView();
  if (lv && !lv->ItemChanging(this, ctState)) return;
  if (v && lv && !lv->MultiSelect())
    for (TListItem* other : owner_->items_)
      if (other != this && other->selected_) {
        other->selected_ = false;
        lv->OnSelectItem(lv, other, false);
      }
  selected_ = v;
  if (lv) {
    if (v) lv->itemFocused_ = this;
    lv->ItemChanged(this, ctState);
    lv->OnSelectItem(lv, this, v);
  }
}

bool TListItem::Focused() const {
  TListView* lv = ListView();
  return lv && lv->itemFocused_ == this;
}

void TListItem::SetFocused(bool v) {
  if (TListView* lv = ListView()) {
    if (v)
      lv->itemFocused_ = this;
    else if (lv->itemFocused_ == this)
      lv->itemFocused_ = nullptr;
  }
}

int TListItem::Index() const {
  return owner_ ? owner_->IndexOf(this) : -1;
}

void TListItem::Delete() {
  if (owner_) owner_->Delete(Index());
}

bool TListItem::EditCaption() {
  TListView* lv = ListView();
  if (!lv || lv->ReadOnly()) return false;
  bool allow = true;
  lv->OnEditing(lv, this, allow);
  if (!allow) return false;
  lv->editing_ = this;
  return true;
}

NV_PUBLISH(TListItems) {}

TListItems::~TListItems() {
  for (TListItem* item : items_) {
    item->owner_ = nullptr;
    delete item;
  }
}

TListItem* TListItems::Add() {
  return Insert(Count());
}

TListItem* TListItems::Insert(int index) {
  auto* item = new TListItem(this);
  index = std::clamp(index, 0, Count());
  items_.insert(items_.begin() + index, item);
  return item;
}

void TListItems::Delete(int index) {
  if (index < 0 || index >= Count()) return;
  TListItem* item = items_[static_cast<std::size_t>(index)];
  items_.erase(items_.begin() + index);
  if (owner_) owner_->ItemRemoved(item);
  delete item;
}

void TListItems::Clear() {
  while (!items_.empty()) Delete(Count() - 1);
}

int TListItems::IndexOf(const TListItem* item) const {
  auto it = std::find(items_.begin(), items_.end(), item);
  return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

NV_PUBLISH(TListView) {
  b.Prop("Checkboxes", &TListView::Checkboxes, &TListView::SetCheckboxes).Default(false);
  PublishFontColor(b, clWindow);
  b.Prop("ColumnClick", &TListView::ColumnClick, &TListView::SetColumnClick).Default(true);
  b.Prop("Columns", &TListView::Columns, &TListView::SetColumns);
  b.Prop("HideSelection", &TListView::HideSelection, &TListView::SetHideSelection).Default(true);
  b.Prop("LargeImages", &TListView::LargeImages, &TListView::SetLargeImages);
  b.Prop("MultiSelect", &TListView::MultiSelect, &TListView::SetMultiSelect).Default(false);
  b.Prop("ReadOnly", &TListView::ReadOnly, &TListView::SetReadOnly).Default(false);
  b.Prop("RowSelect", &TListView::RowSelect, &TListView::SetRowSelect).Default(false);
  b.Prop("ShowColumnHeaders", &TListView::ShowColumnHeaders, &TListView::SetShowColumnHeaders)
      .Default(true);
  b.Prop("SmallImages", &TListView::SmallImages, &TListView::SetSmallImages);
  b.Prop("SortType", &TListView::SortType, &TListView::SetSortType).Default(stNone);
  b.Prop("ViewStyle", &TListView::ViewStyle, &TListView::SetViewStyle).Default(vsIcon);
  PublishHintPopup(b);
  PublishFocusKeys(b, true);
  b.Prop("OnChange", &TListView::OnChange, &TListView::OnChange);
  b.Prop("OnChanging", &TListView::OnChanging, &TListView::OnChanging);
  b.Prop("OnColumnClick", &TListView::OnColumnClick, &TListView::OnColumnClick);
  b.Prop("OnCompare", &TListView::OnCompare, &TListView::OnCompare);
  b.Prop("OnEdited", &TListView::OnEdited, &TListView::OnEdited);
  b.Prop("OnEditing", &TListView::OnEditing, &TListView::OnEditing);
  b.Prop("OnSelectItem", &TListView::OnSelectItem, &TListView::OnSelectItem);
  PublishMouseEvents(b);
}

TListView::TListView(TComponent* owner)
    : TWinControl(owner),
      columns_(new TListColumns(this)),
      items_(std::make_unique<TListItems>(this)) {
  width_ = 250;
  height_ = 150;
  SetColor(clWindow);
  SetTabStop(true);
  columns_->OnUpdate = [this](TCollectionItem*) { Changed(); };
}

TListView::~TListView() {
  items_.reset();
  delete columns_;
}

void TListView::SetViewStyle(TViewStyle v) {
  if (v == viewStyle_) return;
  viewStyle_ = v;
  Changed();
}

void TListView::SetSortType(TSortType v) {
  if (v == sortType_) return;
  sortType_ = v;
  SortIfSorted();
}

void TListView::SortIfSorted() {
  if (sorting_ || (sortType_ != stText && sortType_ != stBoth) || items_->UpdateCount() > 0) return;
  AlphaSort();
}

void TListView::AlphaSort() {
  if (OnCompare) {
    CustomSort([this](TListItem* a, TListItem* b) {
      int result = 0;
      OnCompare(this, a, b, 0, result);
      return result;
    });
  } else {
    CustomSort([](TListItem* a, TListItem* b) { return CompareText(a->Caption(), b->Caption()); });
  }
}

void TListView::CustomSort(const std::function<int(TListItem*, TListItem*)>& compare) {
  sorting_ = true;
  std::stable_sort(items_->items_.begin(), items_->items_.end(),
                   [&](TListItem* a, TListItem* b) { return compare(a, b) < 0; });
  sorting_ = false;
  Changed();
}

void TListView::ClickColumn(int index) {
  if (!columnClick_ || index < 0 || index >= columns_->Count()) return;
  OnColumnClick(this, columns_->Items(index));
}

void TListView::FinishCaptionEdit(TListItem* item, const std::string& text) {
  editing_ = nullptr;
  std::string s = text;
  OnEdited(this, item, s);
  item->SetCaption(s);
}

TListItem* TListView::Selected() const {
  for (TListItem* item : items_->items_)
    if (item->Selected()) return item;
  return nullptr;
}

void TListView::SetSelected(TListItem* item) {
  if (!item) {
    for (TListItem* i : items_->items_) i->SetSelected(false);
    return;
  }
  item->SetSelected(true);
}

int TListView::SelCount() const {
  return static_cast<int>(std::count_if(items_->items_.begin(), items_->items_.end(),
                                        [](TListItem* i) { return i->Selected(); }));
}

void TListView::ItemChanged(TListItem* item, TItemChange change) {
  OnChange(this, item, change);
  Changed();
}

bool TListView::ItemChanging(TListItem* item, TItemChange change) {
  bool allow = true;
  OnChanging(this, item, change, allow);
  return allow;
}

void TListView::ItemRemoved(TListItem* item) {
  if (itemFocused_ == item) itemFocused_ = nullptr;
  if (editing_ == item) editing_ = nullptr;
  Changed();
}

void TListView::SetLargeImages(TImageList* v) {
  largeImages_ = v;
  if (v) v->FreeNotification(this);
}

void TListView::SetSmallImages(TImageList* v) {
  smallImages_ = v;
  if (v) v->FreeNotification(this);
}

void TListView::Notification(TComponent* component, TOperation operation) {
  TWinControl::Notification(component, operation);
  if (operation != opRemove) return;
  if (component == largeImages_) largeImages_ = nullptr;
  if (component == smallImages_) smallImages_ = nullptr;
}

bool TListView::WantsKey(Word key, TShiftState) const {
  return key == VK_UP || key == VK_DOWN || key == VK_LEFT || key == VK_RIGHT || key == VK_HOME ||
         key == VK_END || key == VK_PRIOR || key == VK_NEXT;
}

// ---------------------------------------------------------------------------------------
// Tree view

TTreeNode::TTreeNode(TTreeNodes* owner, TTreeNode* parent) : owner_(owner), parent_(parent) {}

TTreeNode::~TTreeNode() {
  for (TTreeNode* child : children_) delete child;
}

void TTreeNode::SetExpanded(bool v) {
  if (v == expanded_) return;
  TTreeView* tv = owner_ ? owner_->owner_ : nullptr;
  if (v && tv) {
    bool allow = true;
    tv->OnExpanding(tv, this, allow);
    if (!allow) return;
  }
  expanded_ = v;
  if (v && tv) tv->OnExpanded(tv, this);
}

void TTreeNode::Expand(bool recurse) {
  SetExpanded(true);
  if (recurse)
    for (TTreeNode* c : children_) c->Expand(true);
}

void TTreeNode::Collapse(bool recurse) {
  SetExpanded(false);
  if (recurse)
    for (TTreeNode* c : children_) c->Collapse(true);
}

int TTreeNode::Level() const {
  int level = 0;
  for (TTreeNode* p = parent_; p; p = p->parent_) ++level;
  return level;
}

int TTreeNode::Index() const {
  const auto& siblings = parent_ ? parent_->children_ : owner_->roots_;
  return static_cast<int>(std::find(siblings.begin(), siblings.end(), this) - siblings.begin());
}

bool TTreeNode::Selected() const {
  return owner_ && owner_->owner_ && owner_->owner_->selected_ == this;
}

void TTreeNode::Delete() {
  owner_->Delete(this);
}

NV_PUBLISH(TTreeNodes) {}

TTreeNodes::~TTreeNodes() {
  for (TTreeNode* n : roots_) delete n;
}

void TTreeNodes::Flatten(const std::vector<TTreeNode*>& level, std::vector<TTreeNode*>& out) const {
  for (TTreeNode* n : level) {
    out.push_back(n);
    Flatten(n->children_, out);
  }
}

int TTreeNodes::Count() const {
  std::vector<TTreeNode*> all;
  Flatten(roots_, all);
  return static_cast<int>(all.size());
}

TTreeNode* TTreeNodes::Item(int index) const {
  std::vector<TTreeNode*> all;
  Flatten(roots_, all);
  return all.at(static_cast<std::size_t>(index));
}

TTreeNode* TTreeNodes::Add(TTreeNode* sibling, const std::string& text) {
  return AddChild(sibling ? sibling->parent_ : nullptr, text);
}

TTreeNode* TTreeNodes::AddChild(TTreeNode* parent, const std::string& text) {
  return AddChildObject(parent, text, nullptr);
}

TTreeNode* TTreeNodes::AddChildObject(TTreeNode* parent, const std::string& text, void* data) {
  auto* node = new TTreeNode(this, parent);
  node->text_ = text;
  node->data_ = data;
  (parent ? parent->children_ : roots_).push_back(node);
  if (owner_) owner_->Changed();
  return node;
}

void TTreeNodes::Delete(TTreeNode* node) {
  if (!node) return;
  if (owner_ && owner_->selected_) {
    for (TTreeNode* p = owner_->selected_; p; p = p->parent_)
      if (p == node) {
        owner_->selected_ = nullptr;
        break;
      }
  }
  auto& siblings = node->parent_ ? node->parent_->children_ : roots_;
  siblings.erase(std::find(siblings.begin(), siblings.end(), node));
  delete node;
  if (owner_) owner_->Changed();
}

void TTreeNodes::Clear() {
  while (!roots_.empty()) Delete(roots_.back());
}

NV_PUBLISH(TTreeView) {
  PublishFontColor(b, clWindow);
  b.Prop("HideSelection", &TTreeView::HideSelection, &TTreeView::SetHideSelection).Default(true);
  b.Prop("Images", &TTreeView::Images, &TTreeView::SetImages);
  b.Prop("ReadOnly", &TTreeView::ReadOnly, &TTreeView::SetReadOnly).Default(false);
  b.Prop("ShowLines", &TTreeView::ShowLines, &TTreeView::SetShowLines).Default(true);
  b.Prop("ShowRoot", &TTreeView::ShowRoot, &TTreeView::SetShowRoot).Default(true);
  PublishHintPopup(b);
  PublishFocusKeys(b, true);
  b.Prop("OnChange", &TTreeView::OnChange, &TTreeView::OnChange);
  b.Prop("OnChanging", &TTreeView::OnChanging, &TTreeView::OnChanging);
  b.Prop("OnExpanded", &TTreeView::OnExpanded, &TTreeView::OnExpanded);
  b.Prop("OnExpanding", &TTreeView::OnExpanding, &TTreeView::OnExpanding);
  PublishMouseEvents(b);
}

TTreeView::TTreeView(TComponent* owner)
    : TWinControl(owner), items_(std::make_unique<TTreeNodes>(this)) {
  width_ = 121;
  height_ = 97;
  SetColor(clWindow);
  SetTabStop(true);
}

TTreeView::~TTreeView() {
  selected_ = nullptr;
  items_.reset();
}

void TTreeView::SetSelected(TTreeNode* node) {
  if (node == selected_) return;
  bool allow = true;
  OnChanging(this, node, allow);
  if (!allow) return;
  selected_ = node;
  OnChange(this, node);
  Changed();
}

void TTreeView::SetImages(TImageList* v) {
  images_ = v;
  if (v) v->FreeNotification(this);
}

void TTreeView::Notification(TComponent* component, TOperation operation) {
  TWinControl::Notification(component, operation);
  if (operation == opRemove && component == images_) images_ = nullptr;
}

// ---------------------------------------------------------------------------------------
// Status bar, progress bar

NV_PUBLISH(TStatusPanel) {
  b.Prop("Alignment", &TStatusPanel::Alignment, &TStatusPanel::SetAlignment).Default(taLeftJustify);
  b.Prop("Bevel", &TStatusPanel::Bevel, &TStatusPanel::SetBevel).Default(pbLowered);
  b.Prop("Style", &TStatusPanel::Style, &TStatusPanel::SetStyle).Default(psText);
  b.Prop("Text", &TStatusPanel::Text, &TStatusPanel::SetText);
  b.Prop("Width", &TStatusPanel::Width, &TStatusPanel::SetWidth).Default(50);
}

void TStatusPanel::SetText(const std::string& v) {
  if (v == text_) return;
  text_ = v;
  Changed(false);
}

void TStatusPanel::SetWidth(int v) {
  if (v == width_) return;
  width_ = v;
  Changed(false);
}

NV_PUBLISH(TStatusPanels) {}

TStatusPanels::TStatusPanels(TStatusBar* owner)
    : TCollection(TStatusPanel::StaticClassInfo(), owner) {}

NV_PUBLISH(TStatusBar) {
  PublishFontColor(b, clBtnFace);
  b.Prop("Panels", &TStatusBar::Panels, &TStatusBar::SetPanels);
  b.Prop("SimplePanel", &TStatusBar::SimplePanel, &TStatusBar::SetSimplePanel).Default(false);
  b.Prop("SimpleText", &TStatusBar::SimpleText, &TStatusBar::SetSimpleText);
  b.Prop("SizeGrip", &TStatusBar::SizeGrip, &TStatusBar::SetSizeGrip).Default(true);
  b.Prop("Align", &TStatusBar::Align, &TStatusBar::SetAlign).Default(alBottom);
  PublishHintPopup(b);
  PublishMouseEvents(b);
}

TStatusBar::TStatusBar(TComponent* owner) : TWinControl(owner), panels_(new TStatusPanels(this)) {
  width_ = 200;
  height_ = 19;
  SetAlign(alBottom);
  panels_->OnUpdate = [this](TCollectionItem*) { Changed(); };
}

TStatusBar::~TStatusBar() {
  delete panels_;
}

NV_PUBLISH(TProgressBar) {
  b.Prop("Max", &TProgressBar::Max, &TProgressBar::SetMax).Default(100);
  b.Prop("Min", &TProgressBar::Min, &TProgressBar::SetMin).Default(0);
  b.Prop("Orientation", &TProgressBar::Orientation, &TProgressBar::SetOrientation)
      .Default(pbHorizontal);
  b.Prop("Position", &TProgressBar::Position, &TProgressBar::SetPosition).Default(0);
  b.Prop("Smooth", &TProgressBar::Smooth, &TProgressBar::SetSmooth).Default(false);
  b.Prop("Step", &TProgressBar::Step, &TProgressBar::SetStep).Default(10);
  PublishHintPopup(b);
  PublishFocusKeys(b, false);
  PublishMouseEvents(b);
}

TProgressBar::TProgressBar(TComponent* owner) : TWinControl(owner) {
  width_ = 150;
  height_ = 16;
}

void TProgressBar::SetMin(int v) {
  min_ = v;
  if (max_ < min_) max_ = min_;
  SetPosition(position_);
}

void TProgressBar::SetMax(int v) {
  max_ = v;
  if (min_ > max_) min_ = max_;
  SetPosition(position_);
}

void TProgressBar::SetPosition(int v) {
  v = std::clamp(v, min_, max_);
  if (v == position_) return;
  position_ = v;
  Changed();
}

// ---------------------------------------------------------------------------------------
// Tool bar

NV_PUBLISH(TToolButton) {
  b.Prop("AllowAllUp", &TToolButton::AllowAllUp, &TToolButton::SetAllowAllUp).Default(false);
  b.Prop("Caption", &TToolButton::Caption, &TToolButton::SetCaption);
  b.Prop("Down", &TToolButton::Down, &TToolButton::SetDown).Default(false);
  b.Prop("DropdownMenu", &TToolButton::DropdownMenu, &TToolButton::SetDropdownMenu);
  b.Prop("Grouped", &TToolButton::Grouped, &TToolButton::SetGrouped).Default(false);
  b.Prop("ImageIndex", &TToolButton::ImageIndex, &TToolButton::SetImageIndex).Default(-1);
  b.Prop("Style", &TToolButton::Style, &TToolButton::SetStyle).Default(tbsButton);
  PublishHintPopup(b);
  PublishMouseEvents(b);
}

TToolButton::TToolButton(TComponent* owner) : TGraphicControl(owner) {
  width_ = 23;
  height_ = 22;
}

void TToolButton::SetStyle(TToolButtonStyle v) {
  if (v == style_) return;
  style_ = v;
  if (v == tbsSeparator || v == tbsDivider) width_ = 8;
  if (TToolBar* bar = ToolBar()) bar->ArrangeButtons();
}

void TToolButton::SetDown(bool v) {
  if (v == down_) return;
  if (!v && grouped_ && !allowAllUp_) return;  // one of a group stays down
  down_ = v;
  if (v && grouped_ && Parent())
    for (TControl* c : Parent()->Controls())
      if (auto* other = dynamic_cast<TToolButton*>(c); other && other != this && other->grouped_)
        other->down_ = false;
  Changed();
}

void TToolButton::SetDropdownMenu(TPopupMenu* menu) {
  dropdownMenu_ = menu;
  if (menu) menu->FreeNotification(this);
}

void TToolButton::Notification(TComponent* component, TOperation operation) {
  TGraphicControl::Notification(component, operation);
  if (operation == opRemove && component == dropdownMenu_) dropdownMenu_ = nullptr;
}

void TToolButton::ClickArrow() {
  if (!dropdownMenu_) return;
  TPoint p = FormOrigin();
  dropdownMenu_->Popup(p.X, p.Y + Height());
}

void TToolButton::Click() {
  if (!EffectivelyEnabled()) return;
  if (style_ == tbsCheck) SetDown(!down_ || (grouped_ && !allowAllUp_));
  if (style_ == tbsDropDown && !OnClick) {
    ClickArrow();
    return;
  }
  TGraphicControl::Click();
}

TToolBar* TToolButton::ToolBar() const {
  return dynamic_cast<TToolBar*>(Parent());
}

NV_PUBLISH(TToolBar) {
  b.Prop("Align", &TToolBar::Align, &TToolBar::SetAlign).Default(alTop);
  b.Prop("ButtonHeight", &TToolBar::ButtonHeight, &TToolBar::SetButtonHeight).Default(22);
  b.Prop("ButtonWidth", &TToolBar::ButtonWidth, &TToolBar::SetButtonWidth).Default(23);
  b.Prop("Caption", &TToolBar::Caption, &TToolBar::SetCaption);
  PublishFontColor(b, clBtnFace);
  b.Prop("Flat", &TToolBar::Flat, &TToolBar::SetFlat).Default(false);
  b.Prop("Images", &TToolBar::Images, &TToolBar::SetImages);
  b.Prop("ShowCaptions", &TToolBar::ShowCaptions, &TToolBar::SetShowCaptions).Default(false);
  PublishHintPopup(b);
  PublishFocusKeys(b, false);
  PublishMouseEvents(b);
}

TToolBar::TToolBar(TComponent* owner) : TWinControl(owner) {
  width_ = 150;
  height_ = 29;
  SetAlign(alTop);
}

void TToolBar::SetButtonWidth(int v) {
  buttonWidth_ = v;
  ArrangeButtons();
}

void TToolBar::SetButtonHeight(int v) {
  buttonHeight_ = v;
  ArrangeButtons();
}

void TToolBar::SetImages(TImageList* v) {
  images_ = v;
  if (v) v->FreeNotification(this);
}

void TToolBar::Notification(TComponent* component, TOperation operation) {
  TWinControl::Notification(component, operation);
  if (operation == opRemove && component == images_) images_ = nullptr;
}

int TToolBar::ButtonCount() const {
  int n = 0;
  for (TControl* c : Controls())
    if (dynamic_cast<TToolButton*>(c)) ++n;
  return n;
}

TToolButton* TToolBar::Buttons(int index) const {
  for (TControl* c : Controls())
    if (auto* b = dynamic_cast<TToolButton*>(c); b && index-- == 0) return b;
  return nullptr;
}

void TToolBar::InsertControl(TControl* control) {
  TWinControl::InsertControl(control);
  ArrangeButtons();
}

void TToolBar::ArrangeButtons() {
  std::vector<TToolButton*> buttons;
  for (TControl* c : Controls())
    if (auto* b = dynamic_cast<TToolButton*>(c)) buttons.push_back(b);
  std::stable_sort(buttons.begin(), buttons.end(),
                   [](TToolButton* a, TToolButton* b) { return a->Left() < b->Left(); });
  int x = 0;
  for (TToolButton* b : buttons) {
    if (!b->Visible()) continue;
    bool separator = b->Style() == tbsSeparator || b->Style() == tbsDivider;
    int w = separator ? b->Width() : buttonWidth_;
    if (b->Style() == tbsDropDown && !separator) w += 14;
    b->SetBounds(x, 2, w, buttonHeight_);
    x += w;
  }
}

}  // namespace nv
