#include "controls/SelectPnl.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include <unicode/ucol.h>

#include "platform/core/CodePage.h"
#include "platform/core/SysUtils.h"
#include "platform/ui/Forms.h"

namespace nv {

NV_PUBLISH(TBitCheckBox) {}
NV_PUBLISH(TOruCheckBox) {}
NV_PUBLISH(TOruMaskEdit) {}
NV_PUBLISH(TOruListView) {}

NV_PUBLISH(TSelectPanel) {
  using P = TSelectPanel;
  b.Prop("Style", &P::Style, &P::SetStyle).Default(sp_Range);
  b.Prop("UserChoice", &P::UserChoice, &P::SetUserChoice).Default(true);
  b.Prop("ValueType", &P::ValueType, &P::SetValueType).Default(vt_String);
  b.Prop("DateType", &P::DateType, &P::SetDateType).Default(dt_NoneCare);
  b.Prop("DateSign", &P::DateSign, &P::SetDateSign);
  b.Prop("AutoChangeDateSite", &P::AutoChangeDateSite, &P::SetAutoChangeDateSite).Default(true);
  b.Prop("EditMask", &P::EditMask, &P::SetEditMask);
  b.Prop("HintWord", &P::HintWord, &P::SetHintWord);
  b.Prop("BeginWords", &P::BeginWords, &P::SetBeginWords);
  b.Prop("FinalWords", &P::FinalWords, &P::SetFinalWords);
  b.Prop("ChildHints", &P::ChildHints, &P::SetChildHints);
  b.Prop("CanOpenWin", &P::CanOpenWin, &P::SetCanOpenWin).Default(true);
  b.Prop("GlyphIndex", &P::GlyphIndex, &P::SetGlyphIndex).Default(0);
  b.Prop("UseVertical", &P::UseVertical, &P::SetUseVertical).Default(false);
  b.Prop("OtherWidth", &P::OtherWidth, &P::SetOtherWidth);
  b.Prop("OtherHeight", &P::OtherHeight, &P::SetOtherHeight);
  b.Prop("UseDiscard", &P::UseDiscard, &P::SetUseDiscard).Default(false);
  b.Prop("Discard", &P::Discard, &P::SetDiscard);
  b.Prop("CheckDuplicate", &P::CheckDuplicate, &P::SetCheckDuplicate).Default(cd_None);
  b.Prop("SortListBox", &P::SortListBox, &P::SetSortListBox).Default(false);
  b.Prop("Items", &P::Items);
  b.Prop("Columns", &P::Columns, &P::SetColumns);
  b.Prop("ShowColumnHeader", &P::ShowColumnHeader, &P::SetShowColumnHeader).Default(false);
  b.Prop("ColumnsAutoSize", &P::ColumnsAutoSize, &P::SetColumnsAutoSize).Default(true);
  b.Prop("HideSelection", &P::HideSelection, &P::SetHideSelection).Default(false);
  b.Prop("OnOpenWinClick", &P::OnOpenWinClick, &P::OnOpenWinClick);
  b.Prop("OnClearClick", &P::OnClearClick, &P::OnClearClick);
  b.Prop("OnDeleteClick", &P::OnDeleteClick, &P::OnDeleteClick);
  b.Prop("OnTypeClick", &P::OnTypeClick, &P::OnTypeClick);
  b.Prop("OnStyleChanging", &P::OnStyleChanging, &P::OnStyleChanging);
  b.Prop("OnStyleChange", &P::OnStyleChange, &P::OnStyleChange);
  b.Prop("OnItemSelect", &P::OnItemSelect, &P::OnItemSelect);
  b.Prop("OnItemChange", &P::OnItemChange, &P::OnItemChange);
  b.Prop("OnItemChanging", &P::OnItemChanging, &P::OnItemChanging);
}

namespace {
// One collator for the code page the texts are in; reopened when the code page changes.
class TInterfaceCollator {
 public:
  ~TInterfaceCollator() { Close(); }
  UCollator* For(int codePage) {
    if (codePage == codePage_) return collator_;
    Close();
    codePage_ = codePage;
    const char* locale = codePage == 936 ? "zh_CN" : (codePage == 950 ? "zh_TW" : "en_US");
    UErrorCode status = U_ZERO_ERROR;
    collator_ = ucol_open(locale, &status);
    if (U_FAILURE(status)) {
      Close();
      return nullptr;
    }
    // Secondary strength: letter case does not count, accents do.
    ucol_setStrength(collator_, UCOL_SECONDARY);
    return collator_;
  }

 private:
  void Close() {
    if (collator_ != nullptr) ucol_close(collator_);
    collator_ = nullptr;
  }
  UCollator* collator_ = nullptr;
  int codePage_ = -1;
};
}  // namespace

int CompareTextCollated(const std::string& a, const std::string& b) {
  static TInterfaceCollator collator;
  UCollator* c = collator.For(SystemCodePage());
  if (c == nullptr) return UpperCase(a).compare(UpperCase(b));
  const std::u16string wa = AnsiToWide(a), wb = AnsiToWide(b);
  return ucol_strcoll(c, wa.data(), static_cast<int32_t>(wa.size()), wb.data(),
                      static_cast<int32_t>(wb.size()));
}

TOruListView::TOruListView(TComponent* owner) : TListView(owner) {
  SetViewStyle(vsReport);
  SetMultiSelect(true);
  SetRowSelect(true);
  SetReadOnly(true);
  SetShowColumnHeaders(false);
  SetHideSelection(false);
  SetCursor(crHandPoint);
}

bool TOruListView::AddItem(const std::vector<std::string>& values) {
  if (values.empty()) return false;
  try {
    const int h = static_cast<int>(values.size()) - 1;
    while (Columns()->Count() <= h)
      Columns()->Add()->SetCaption("Data" + std::to_string(Columns()->Count()));
    TListItem* row = Items()->Add();
    row->SetCaption(values[0]);
    for (int i = 1; i <= h; ++i) row->SubItems()->Add(values[static_cast<size_t>(i)]);
    int most = 0;
    for (int i = 0; i < Items()->Count(); ++i)
      most = std::max(most, Items()->Item(i)->SubItems()->Count());
    for (int i = 0; i < Items()->Count(); ++i)
      while (Items()->Item(i)->SubItems()->Count() < most) Items()->Item(i)->SubItems()->Add("");
    if (Panel != nullptr && Panel->CheckDuplicate() != cd_None)
      RemoveDuplicates(Panel->CheckDuplicate() == cd_CheckCase);
    if (autoSizeColumns_) {
      const int w = TextWidthOf(*Font(), "W");
      for (int k = 0; k < Columns()->Count(); ++k) {
        size_t longest = Columns()->Items(k)->Caption().size();
        for (int i = 0; i < Items()->Count(); ++i) {
          TListItem* item = Items()->Item(i);
          if (k == 0)
            longest = std::max(longest, item->Caption().size());
          else if (k - 1 < item->SubItems()->Count())
            longest = std::max(longest, item->SubItems()->Get(k - 1).size());
        }
        Columns()->Items(k)->SetWidth(w * static_cast<int>(longest));
      }
    }
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

void TOruListView::RemoveDuplicates(bool caseSensitive) {
  for (int i = Items()->Count() - 1; i >= 1; --i) {
    std::string a = Items()->Item(i)->Caption(), b = Items()->Item(i - 1)->Caption();
    if (!caseSensitive) {
      a = UpperCase(a);
      b = UpperCase(b);
    }
    if (a == b) Items()->Delete(i);
  }
}

namespace {
template <class T>
T* Inner(TSelectPanel* panel, TWinControl* parent) {
  T* c = new T(panel);
  c->SetParent(parent);
  return c;
}
TF2Button* LookupButton(TSelectPanel* panel, TWinControl* parent, TWinControl* edit) {
  auto* b = Inner<TF2Button>(panel, parent);
  if (edit != nullptr)
    b->SetF2Control(edit);
  else
    b->SetAutoAlign(false);
  b->SetBounds(b->Left(), b->Top(), 23, 23);
  return b;
}
TPanel* InnerPanel(TSelectPanel* panel) {
  auto* p = Inner<TPanel>(panel, panel);
  p->SetBevelInner(bvNone);
  p->SetBevelOuter(bvNone);
  p->SetCaption(" ");
  return p;
}
}  // namespace

TSelectPanel::TSelectPanel(TComponent* owner)
    : TGroupBox(owner),
      hintWord_(SysText("区间选择")),
      beginWords_(new TStringList),
      finalWords_(new TStringList),
      childHints_(new TStringList) {
  for (const char* w : {"起", "起"}) beginWords_->Add(SysText(w));
  for (const char* w : {"止", "止"}) finalWords_->Add(SysText(w));
  for (const char* h : {"用户自定输入方式", "区间选择-起始信息", "区间选择-起始信息开窗",
                        "区间选择-截止信息", "区间选择-截止信息开窗", "多选-己选择的信息",
                        "多选-信息开窗", "多选-删除一笔信息", "多选-删除己选信息"})
    childHints_->Add(SysText(h));

  SwitchBox = Inner<TOruCheckBox>(this, this);
  SwitchBox->SetBounds(16, 17, SwitchBox->Width(), SwitchBox->Height());
  SwitchBox->SetCaption(hintWord_);
  SwitchBox->SetChecked(true);
  SwitchBox->OnClick = [this](TObject*) { SwitchBoxClick(); };

  RangePanel = InnerPanel(this);
  lblBegin = Inner<TLabel>(this, RangePanel);
  edBegin = Inner<TOruMaskEdit>(this, RangePanel);
  edBegin->SetHeight(24);
  btnBegin = LookupButton(this, RangePanel, edBegin);
  lblFinal = Inner<TLabel>(this, RangePanel);
  edFinal = Inner<TOruMaskEdit>(this, RangePanel);
  edFinal->SetHeight(edBegin->Height());
  btnFinal = LookupButton(this, RangePanel, edFinal);

  ListPanel = InnerPanel(this);
  ListBox = Inner<TOruListView>(this, ListPanel);
  ListBox->Panel = this;
  btnList = LookupButton(this, ListPanel, nullptr);
  btnDelete = Inner<TGSpeedButton>(this, ListPanel);
  btnClear = Inner<TGSpeedButton>(this, ListPanel);
  for (TGSpeedButton* b : {btnDelete, btnClear}) {
    b->SetFlat(true);
    b->SetBounds(0, 0, 23, 23);
  }
  btnDelete->SetGlyphIndex(47);
  btnClear->SetGlyphIndex(4);

  for (TGSpeedButton* b :
       {static_cast<TGSpeedButton*>(btnBegin), static_cast<TGSpeedButton*>(btnFinal),
        static_cast<TGSpeedButton*>(btnList)})
    b->SetGlyphIndex(glyphIndex_);
  btnBegin->OnClick = [this](TObject*) { LookupClick(edBegin); };
  btnFinal->OnClick = [this](TObject*) { LookupClick(edFinal); };
  btnList->OnClick = [this](TObject*) { LookupClick(ListBox); };
  btnDelete->OnClick = [this](TObject*) { DeleteClick(); };
  btnClear->OnClick = [this](TObject*) { ClearClick(); };

  for (TControl* c : std::initializer_list<TControl*>{
           SwitchBox, RangePanel, lblBegin, edBegin, btnBegin, lblFinal, edFinal, btnFinal,
           ListPanel, ListBox, btnList, btnDelete, btnClear})
    ForwardEvents(c);
  for (TWinControl* c : {static_cast<TWinControl*>(edBegin), static_cast<TWinControl*>(edFinal),
                         static_cast<TWinControl*>(ListBox), static_cast<TWinControl*>(SwitchBox)})
    ForwardKeys(c);
  ForwardListEvents();

  lblBegin->SetCaption(beginWords_->Get(0));
  lblFinal->SetCaption(finalWords_->Get(0));
  ApplyChildHints();
  built_ = true;
  SetBounds(Left(), Top(), 353, 45);
  ShowPanels(style_);
  Layout();
}

TSelectPanel::~TSelectPanel() {
  built_ = false;
  DestroyComponents();
  delete beginWords_;
  delete finalWords_;
  delete childHints_;
}

bool TSelectPanel::IsRangeMode() const {
  return style_ == sp_Range || (style_ == sp_UserChoice && userChoice_);
}

void TSelectPanel::FontChanged() {
  TGroupBox::FontChanged();
  Layout();
}

void TSelectPanel::SizeSwitchBox() {
  const TFont& font = *SwitchBox->Font();
  SwitchBox->SetBounds(SwitchBox->Left(), SwitchBox->Top(),
                       TextWidthOf(font, SwitchBox->Caption()) + 24, TextHeightOf(font) + 2);
}

void TSelectPanel::PlacePanels(TSelectStyle style) {
  const int captionHeight = TextHeightOf(*Font());
  TPanel* front = RangePanel;
  TPanel* back = ListPanel;
  int top = 0, width = 0, height = 0;
  if (style == sp_UserChoice) {
    SwitchBox->SetBounds(16, captionHeight + 1, SwitchBox->Width(), SwitchBox->Height());
    if (!userChoice_) std::swap(front, back);
    top = TextHeightOf(*SwitchBox->Font()) + SwitchBox->Top() + 2;
    height = Height() - top - 2;
    width = Width() - 4;
  } else {
    if (style == sp_Discrete) std::swap(front, back);
    const int bevel = front->BevelWidth();
    top = captionHeight + 3;
    height = Height() - top - bevel - 2;
    width = Width() - 2 - bevel - 2;
  }
  front->SetBounds(2, top, width, height);
  back->SetBounds(2, top, width, height);
  front->BringToFront();
}

void TSelectPanel::ShowPanels(TSelectStyle style) {
  SwitchBox->SetVisible(style == sp_UserChoice);
  const bool range = style == sp_Range || (SwitchBox->Visible() && SwitchBox->Checked());
  RangePanel->SetVisible(range);
  ListPanel->SetVisible(!range);
}

void TSelectPanel::Layout() {
  if (!built_) return;
  SizeSwitchBox();
  PlacePanels(style_);
  switch (style_) {
    case sp_Range:
      if (useVertical_)
        VerticalRange();
      else
        HorizontalRange();
      break;
    case sp_Discrete:
      ListLayout();
      break;
    case sp_UserChoice:
      VerticalRange();
      ListLayout();
      break;
  }
}

void TSelectPanel::HorizontalRange() {
  lblBegin->SetCaption(beginWords_->Count() > 0 ? beginWords_->Get(0) : std::string());
  const int top = (RangePanel->Height() - edBegin->Height()) / 2;
  lblBegin->SetBounds(2, top, lblBegin->Width(), lblBegin->Height());
  const int beginRight = lblBegin->Left() + lblBegin->Width();
  // The end label's width is the one of its present text: it is renewed below.
  int available = RangePanel->Width() - lblBegin->Left() - lblBegin->Width() - 2;
  if (canOpenWin_)
    available -= btnBegin->Width() + 2 + lblFinal->Width() + 2 + btnFinal->Width() + 2;
  else
    available -= lblFinal->Width() + 2;
  const int width = available / 2 - 1;
  edBegin->SetBounds(beginRight + 1, top, width, edBegin->Height());
  const int edBeginRight = edBegin->Left() + edBegin->Width();
  btnBegin->SetBounds(edBeginRight + 2, top, btnBegin->Width(), btnBegin->Height());
  lblFinal->SetCaption(finalWords_->Count() > 0 ? finalWords_->Get(0) : std::string());
  const int finalLeft = canOpenWin_ ? btnBegin->Left() + btnBegin->Width() + 2 : edBeginRight + 4;
  lblFinal->SetBounds(finalLeft, top, lblFinal->Width(), lblFinal->Height());
  edFinal->SetBounds(lblFinal->Left() + lblFinal->Width() + 2, top, width, edFinal->Height());
  btnFinal->SetBounds(edFinal->Left() + edFinal->Width() + 2, top, btnFinal->Width(),
                      btnFinal->Height());
}

void TSelectPanel::VerticalRange() {
  const auto word = [](TStrings* list) {
    return list->Count() > 1 ? list->Get(1) : (list->Count() > 0 ? list->Get(0) : std::string());
  };
  lblBegin->SetCaption(word(beginWords_));
  const int gap = (RangePanel->Height() - edBegin->Height() - edFinal->Height()) / 3;
  lblBegin->SetBounds(2, gap, lblBegin->Width(), lblBegin->Height());
  const int left = lblBegin->Left() + lblBegin->Width() + 2;
  int width = RangePanel->Width() - lblBegin->Left() - lblBegin->Width();
  width -= canOpenWin_ ? btnBegin->Width() + 4 : 2;
  edBegin->SetBounds(left, gap, width, edBegin->Height());
  btnBegin->SetBounds(edBegin->Left() + edBegin->Width() + 1, gap, btnBegin->Width(),
                      btnBegin->Height());
  lblFinal->SetCaption(word(finalWords_));
  const int finalTop = gap + lblBegin->Top() + edBegin->Height();
  lblFinal->SetBounds(lblBegin->Left(), finalTop, lblFinal->Width(), lblFinal->Height());
  edFinal->SetBounds(edBegin->Left(), finalTop, edBegin->Width(), edFinal->Height());
  btnFinal->SetBounds(btnBegin->Left(), finalTop, btnFinal->Width(), btnFinal->Height());
}

void TSelectPanel::ListLayout() {
  const int width = ListPanel->Width() - ListBox->Left() - btnList->Width() - 3;
  ListBox->SetBounds(ListBox->Left(), 0, width, ListPanel->Height());
  btnList->SetBounds(ListBox->Width() + 2, ListBox->Top(), btnList->Width(), btnList->Height());
  btnDelete->SetBounds(btnList->Left(), btnList->Top() + btnList->Height(), btnDelete->Width(),
                       btnDelete->Height());
  btnClear->SetBounds(btnList->Left(), btnDelete->Top() + btnDelete->Height(), btnClear->Width(),
                      btnClear->Height());
}

void TSelectPanel::SwapSize() {
  const int w = Width(), h = Height();
  SetBounds(Left(), Top(), otherWidth_, otherHeight_);
  otherWidth_ = w;
  otherHeight_ = h;
}

void TSelectPanel::SetStyle(TSelectStyle v) {
  if (!Designing()) {
    bool accept = true;
    OnStyleChanging(this, style_, v, accept);
    if (!accept) return;
  }
  ShowPanels(v);
  const TSelectStyle old = style_;
  const bool swap = v != old && (v == sp_Range || old == sp_Range) && !useVertical_ && !Loading();
  style_ = v;  // the layout below is the new style's
  built_ = false;
  if (swap) SwapSize();
  built_ = true;
  Layout();
  if (!Designing()) OnStyleChange(this, old, v);
}

void TSelectPanel::SetUseVertical(bool v) {
  if (v == useVertical_ || style_ != sp_Range) return;
  useVertical_ = v;
  const TComponent* parent = Parent();
  const bool parentReading = parent != nullptr && parent->ComponentState().Contains(csReading);
  if (!Loading() && !parentReading) {
    built_ = false;
    SwapSize();
    built_ = true;
  }
  Layout();
}

void TSelectPanel::SetUserChoice(bool v) {
  if (style_ != sp_UserChoice) {
    userChoice_ = v;  // kept for the style set after it while reading
    return;
  }
  if (SwitchBox->Checked() == v)
    SwitchBoxClick();
  else
    SwitchBox->SetChecked(v);  // raises the click
}

void TSelectPanel::SwitchBoxClick() {
  if (style_ != sp_UserChoice) return;
  userChoice_ = SwitchBox->Checked();
  PlacePanels(sp_UserChoice);
  ShowPanels(sp_UserChoice);
  if (!Designing()) OnTypeClick(this);
}

void TSelectPanel::SetWords(TStrings* stored, TStrings* list, TLabel* label) {
  stored->Clear();
  if (list == nullptr || list->Count() == 0) return;
  stored->Add(list->Get(0));
  if (list->Count() == 1) {
    label->SetCaption(stored->Get(0));
  } else {
    stored->Add(list->Get(1));
    label->SetCaption(stored->Get(style_ == sp_UserChoice ? 1 : 0));
  }
  Layout();
}

void TSelectPanel::SetBeginWords(TStrings* list) {
  SetWords(beginWords_, list, lblBegin);
}

void TSelectPanel::SetFinalWords(TStrings* list) {
  SetWords(finalWords_, list, lblFinal);
}

void TSelectPanel::SetChildHints(TStrings* list) {
  if (list == nullptr) return;
  childHints_->Assign(*list);
  ApplyChildHints();
}

void TSelectPanel::ApplyChildHints() {
  TControl* targets[] = {SwitchBox, edBegin, btnBegin,  edFinal, btnFinal,
                         ListBox,   btnList, btnDelete, btnClear};
  for (int i = 0; i < 9 && i < childHints_->Count(); ++i) targets[i]->SetHint(childHints_->Get(i));
}

void TSelectPanel::SetCanOpenWin(bool v) {
  if (v == canOpenWin_) return;
  canOpenWin_ = v;
  for (TControl* b : {btnBegin, btnFinal, btnList}) b->SetVisible(v);
  Layout();
}

void TSelectPanel::SetGlyphIndex(int v) {
  if (v == glyphIndex_) return;
  btnBegin->SetGlyphIndex(v);
  // A number without a picture leaves its caption: the three buttons then show none.
  const int shown = btnBegin->Glyph()->Empty() ? 0 : v;
  for (TF2Button* b : {btnBegin, btnFinal, btnList}) b->SetGlyphIndex(shown);
  glyphIndex_ = v;
}

void TSelectPanel::SetHintWord(const std::string& v) {
  SwitchBox->SetCaption(v);
  SizeSwitchBox();
  hintWord_ = v;
}

void TSelectPanel::SetEditMask(const std::string& mask) {
  editMask_ = mask;
  const std::string text = edBegin->Text();
  edBegin->SetSuppress(true);
  edBegin->SetText("");
  edBegin->SetEditMask(mask);
  edFinal->SetEditMask(mask);
  blankText_ = edBegin->Text();
  edBegin->SetText(text);
  edBegin->SetSuppress(false);
}

void TSelectPanel::SetCheckDuplicate(TCheckDuplicate v) {
  checkDuplicate_ = v;
  // Only neighbouring rows are compared: the list must be sorted for that to find them all.
  if (v != cd_None) SetSortListBox(true);
  if (v != cd_None && !IsRangeMode()) ListBox->RemoveDuplicates(v == cd_CheckCase);
}

void TSelectPanel::DoExit() {
  ArrangeRange();
  TGroupBox::DoExit();
}

void TSelectPanel::ArrangeRange() {
  const std::string& mask = edBegin->EditMask();
  if (mask.empty() || mask[0] != '!') {
    edBegin->SetText(Trim(edBegin->Text()));
    edFinal->SetText(Trim(edFinal->Text()));
  }
  const std::string a = edBegin->Text(), b = edFinal->Text();
  if (a.empty() || b.empty()) return;
  const auto kept = [&] {
    if (a == blankText_ || b == blankText_) return true;
    return useDiscard_ && (Trim(a) == discard_ || Trim(b) == discard_);
  };
  bool swap = false;
  switch (valueType_) {
    case vt_String:
    case vt_Time:
      swap = !kept() && a > b;
      break;
    case vt_Number:
      swap = StrToIntDef(a, 0) > StrToIntDef(b, 0);
      break;
    case vt_Date:
      if (!autoChangeDateSite_ || kept()) break;
      swap = dateType_ == dt_NoneCare ? a > b : DateValue(a) > DateValue(b);
      break;
    case vt_Float:
      swap = FloatValue(a) > FloatValue(b);
      break;
    case vt_OtherMask:
      break;
  }
  if (!swap) return;
  edBegin->SetText(b);
  edFinal->SetText(a);
}

int TSelectPanel::DateValue(const std::string& source) const {
  std::string text = Trim(source);
  if (text.empty() || text == Trim(blankText_) || dateSign_.empty()) return 0;
  int signs = 0;
  for (size_t p = text.find(dateSign_); p != std::string::npos;
       p = text.find(dateSign_, p + dateSign_.size()))
    ++signs;
  if (signs == 1) {
    switch (dateType_) {
      case dt_MMDDYYYY:
        text = text.substr(0, 2) + dateSign_ + "01" + text.substr(std::min<size_t>(2, text.size()));
        break;
      case dt_DDMMYYYY:
        text = "01" + dateSign_ + text;
        break;
      default:
        text += dateSign_ + "01";
    }
  } else if (signs != 2) {
    return 0;
  }
  int parts[3] = {0, 0, 0};
  size_t start = 0;
  for (int i = 0; i < 3; ++i) {
    size_t end = i < 2 ? text.find(dateSign_, start) : std::string::npos;
    if (i < 2 && end == std::string::npos) return 0;
    if (!TryStrToInt(Trim(text.substr(start, end == std::string::npos ? end : end - start)),
                     parts[i]))
      return 0;
    start = end == std::string::npos ? end : end + dateSign_.size();
  }
  int y = parts[0], m = parts[1], d = parts[2];
  if (dateType_ == dt_MMDDYYYY) y = parts[2], m = parts[0], d = parts[1];
  if (dateType_ == dt_DDMMYYYY) y = parts[2], m = parts[1], d = parts[0];
  if (dateType_ == dt_YYMMDD || dateType_ == dt_YYYMMDD) y += 1911;
  static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (y < 1 || y > 9999 || m < 1 || m > 12 || d < 1) return 0;
  const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
  if (d > days[m - 1] + (m == 2 && leap ? 1 : 0)) return 0;
  return y * 10000 + m * 100 + d;
}

namespace {
const std::string kC1(1, '\x01'), kC3(1, '\x03'), kC4(1, '\x04'), kC5(1, '\x05');

std::vector<std::string> Split(const std::string& text, const std::string& sign) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (size_t p = text.find(sign); p != std::string::npos; p = text.find(sign, start)) {
    parts.push_back(text.substr(start, p - start));
    start = p + sign.size();
  }
  parts.push_back(text.substr(start));
  return parts;
}
}  // namespace

std::string TSelectPanel::RowText() const {
  std::string text;
  for (int i = 0; i < Items()->Count(); ++i) {
    TListItem* row = Items()->Item(i);
    text += row->Caption();
    if (row->SubItems()->Count() > 0) {
      text += kC1;
      for (int k = 0; k < row->SubItems()->Count(); ++k)
        text += (k > 0 ? kC1 : std::string()) + row->SubItems()->Get(k);
    }
    text += kC4;
  }
  return text;
}

void TSelectPanel::SetRowText(const std::string& text) {
  ListBox->Clear();
  std::vector<std::string> pieces = Split(text, kC4);
  if (!pieces.empty() && pieces.back().empty()) pieces.pop_back();
  for (const std::string& piece : pieces) ListBox->AddItem(Split(piece, kC1));
}

std::string TSelectPanel::SchemeValue() const {
  const std::string range = edBegin->Text() + kC3 + edFinal->Text();
  switch (style_) {
    case sp_Range:
      return "sp_Range" + kC3 + range;
    case sp_Discrete:
      return "sp_Discrete" + kC3 + RowText();
    case sp_UserChoice:
      return "sp_UserChoice" + kC3 +
             (userChoice_ ? "True" + kC3 + range : "False" + kC3 + RowText());
  }
  return {};
}

bool TSelectPanel::SetSchemeValue(const std::string& text) {
  const std::vector<std::string> parts = Split(text, kC3);
  const auto setRange = [&](size_t at) {
    if (parts.size() != at + 2) return false;
    edBegin->SetText(parts[at]);
    edFinal->SetText(parts[at + 1]);
    return true;
  };
  if (parts[0] == "sp_Range" && parts.size() == 3) {
    SetStyle(sp_Range);
    return setRange(1);
  }
  if (parts[0] == "sp_Discrete" && parts.size() == 2) {
    SetStyle(sp_Discrete);
    SetRowText(parts[1]);
    return true;
  }
  if (parts[0] == "sp_UserChoice" && parts.size() >= 3 &&
      (parts[1] == "True" || parts[1] == "False")) {
    const bool range = parts[1] == "True";
    if ((range && parts.size() != 4) || (!range && parts.size() != 3)) return false;
    SetStyle(sp_UserChoice);
    SetUserChoice(range);
    if (range) return setRange(2);
    SetRowText(parts[2]);
    return true;
  }
  return false;
}

Variant TSelectPanel::ConditionValue() const {
  if (IsRangeMode()) return Variant::ArrayOf({Variant(kC4), edBegin->Text(), edFinal->Text()});
  std::vector<Variant> elements{Variant(kC5)};
  for (int i = 0; i < Items()->Count(); ++i) {
    TListItem* row = Items()->Item(i);
    std::vector<Variant> values{row->Caption()};
    for (int k = 0; k < row->SubItems()->Count(); ++k) values.emplace_back(row->SubItems()->Get(k));
    elements.push_back(Variant::ArrayOf(std::move(values)));
  }
  return Variant::ArrayOf(std::move(elements));
}

double TSelectPanel::FloatValue(const std::string& text) {
  const TFormatSettings& fs = FormatSettings();
  std::string plain;
  for (char c : Trim(text)) {
    if (c == fs.DecimalSeparator)
      plain += '.';
    else if (c != fs.ThousandSeparator || c == '.')
      plain += c;
  }
  if (plain.empty()) return 0;
  char* end = nullptr;
  const double v = std::strtod(plain.c_str(), &end);
  return end != nullptr && *end == '\0' ? v : 0;
}

void TSelectPanel::SetSortListBox(bool v) {
  sortListBox_ = v;
  ListBox->SetSortType(v ? stText : stNone);
}

void TSelectPanel::SetEnabled(bool v) {
  TGroupBox::SetEnabled(v);
  std::vector<TWinControl*> stack{this};
  while (!stack.empty()) {
    TWinControl* w = stack.back();
    stack.pop_back();
    for (TControl* c : w->Controls()) {
      c->SetEnabled(v);
      if (auto* inner = dynamic_cast<TWinControl*>(c)) stack.push_back(inner);
    }
  }
}

void TSelectPanel::LookupClick(TWinControl* target) {
  if (Designing()) return;
  if (target->CanFocus()) target->SetFocus();
  if (auto* owner = dynamic_cast<TWinControl*>(Owner()))
    SendMessage(owner->Handle(), WM_OPENLOOKUP, 0, ControlToParam(target));
  OnOpenWinClick(this, target);
}

namespace {
std::string ColumnText(const TListItem* row, int column) {
  if (column == 0) return row->Caption();
  return column - 1 < row->SubItems()->Count() ? row->SubItems()->Get(column - 1) : std::string();
}
}  // namespace

void TSelectPanel::SortByColumn(int column) {
  if (column == sortColumn_) {
    sortAscending_ = !sortAscending_;
  } else {
    sortColumn_ = column;
    sortAscending_ = true;
  }
  ListBox->CustomSort([this](TListItem* a, TListItem* b) { return CompareRows(a, b); });
}

int TSelectPanel::CompareRows(TListItem* a, TListItem* b) const {
  // Ties go on to the first two columns, the sort column itself left out.
  int result = CompareTextCollated(ColumnText(a, sortColumn_), ColumnText(b, sortColumn_));
  for (int column : {0, 1}) {
    if (result != 0) break;
    if (column != sortColumn_)
      result = CompareTextCollated(ColumnText(a, column), ColumnText(b, column));
  }
  return sortAscending_ ? result : -result;
}

TObject* TSelectPanel::EventSender(TControl* inner) {
  // The framework tells the two edits and the list apart; every other part is the panel.
  if (inner == edBegin || inner == edFinal || inner == ListBox) return inner;
  return this;
}

TPoint TSelectPanel::ToPanel(TControl* inner, int x, int y) const {
  if (inner == edBegin || inner == edFinal || inner == ListBox) return TPoint{x, y};
  TPoint p{x, y};
  for (const TControl* c = inner; c != nullptr && c != this; c = c->Parent()) {
    p.X += c->Left();
    p.Y += c->Top();
  }
  return p;
}

void TSelectPanel::ForwardEvents(TControl* inner) {
  const TNotifyEvent own = inner->OnClick;  // lookup, delete, clear and switch-box work
  inner->OnClick = [this, inner, own](TObject* sender) {
    own(sender);
    OnClick(EventSender(inner));
  };
  inner->OnDblClick = [this, inner](TObject*) { OnDblClick(EventSender(inner)); };
  inner->OnMouseDown = [this, inner](TObject*, TMouseButton button, TShiftState shift, int x,
                                     int y) {
    const TPoint p = ToPanel(inner, x, y);
    OnMouseDown(EventSender(inner), button, shift, p.X, p.Y);
  };
  inner->OnMouseMove = [this, inner](TObject*, TShiftState shift, int x, int y) {
    const TPoint p = ToPanel(inner, x, y);
    OnMouseMove(EventSender(inner), shift, p.X, p.Y);
  };
  inner->OnMouseUp = [this, inner](TObject*, TMouseButton button, TShiftState shift, int x, int y) {
    const TPoint p = ToPanel(inner, x, y);
    OnMouseUp(EventSender(inner), button, shift, p.X, p.Y);
  };
}

void TSelectPanel::ForwardKeys(TWinControl* inner) {
  inner->OnKeyDown = [this](TObject* sender, Word& key, TShiftState shift) {
    OnKeyDown(sender, key, shift);
  };
  inner->OnKeyUp = [this](TObject* sender, Word& key, TShiftState shift) {
    OnKeyUp(sender, key, shift);
  };
  inner->OnKeyPress = [this](TObject* sender, char& key) { OnKeyPress(sender, key); };
}

void TSelectPanel::ForwardListEvents() {
  ListBox->OnSelectItem = [this](TObject* sender, TListItem* item, bool selected) {
    OnItemSelect(sender, item, item != nullptr ? item->Index() : -1, selected);
  };
  ListBox->OnChange = [this](TObject* sender, TListItem* item, TItemChange change) {
    OnItemChange(sender, item, change);
  };
  ListBox->OnChanging = [this](TObject* sender, TListItem* item, TItemChange change, bool& allow) {
    OnItemChanging(sender, item, change, allow);
  };
  ListBox->OnColumnClick = [this](TObject*, TListColumn* column) { SortByColumn(column->Index()); };
}

void TSelectPanel::DeleteClick() {
  bool accept = true;
  if (!Designing()) OnDeleteClick(this, accept);
  if (!accept) return;
  for (int i = Items()->Count() - 1; i >= 0; --i)
    if (Items()->Item(i)->Selected()) Items()->Delete(i);
}

void TSelectPanel::ClearClick() {
  Items()->Clear();
  if (ListBox->CanFocus()) ListBox->SetFocus();
  if (!Designing()) OnClearClick(this);
}

}  // namespace nv
