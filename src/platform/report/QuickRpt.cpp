#include "platform/report/QuickRpt.h"

#include <algorithm>
#include <cmath>

#include "platform/data/DB.h"
#include "platform/report/QRCtrls.h"

namespace nv {

namespace {

template <class T>
void Unlink(std::vector<T*>& list, const void* item) {
  list.erase(std::remove(list.begin(), list.end(), item), list.end());
}

int PxToTwips(int px) {
  return px * kTwipsPerLayoutPx;
}

}  // namespace

int MillimetresToTwips(double mm) {
  return static_cast<int>(std::lround(mm * 1440.0 / 25.4));
}

std::int32_t PageColorOf(TColor color, std::int32_t systemFallback) {
  return color < 0 ? systemFallback : static_cast<std::int32_t>(color);
}

TQRFontSpec FontSpecOf(const TFont& font) {
  TQRFontSpec fontSpec;
  fontSpec.Name = font.Name();
  fontSpec.Size = font.Size();
  auto style = font.Style();
  fontSpec.Style = static_cast<std::uint8_t>(
      (style.Contains(fsBold) ? 1 : 0) | (style.Contains(fsItalic) ? 2 : 0) |
      (style.Contains(fsUnderline) ? 4 : 0) | (style.Contains(fsStrikeOut) ? 8 : 0));
  fontSpec.Color = PageColorOf(font.Color(), 0);
  fontSpec.Charset = font.Charset();
  return fontSpec;
}

// ---------------------------------------------------------------------------------------

NV_PUBLISH(TQRFrame) {
  b.Prop("Color", &TQRFrame::Color, &TQRFrame::Color).Default(clBlack);
  b.Prop("DrawBottom", &TQRFrame::DrawBottom, &TQRFrame::DrawBottom).Default(false);
  b.Prop("DrawLeft", &TQRFrame::DrawLeft, &TQRFrame::DrawLeft).Default(false);
  b.Prop("DrawRight", &TQRFrame::DrawRight, &TQRFrame::DrawRight).Default(false);
  b.Prop("DrawTop", &TQRFrame::DrawTop, &TQRFrame::DrawTop).Default(false);
  b.Prop("Width", &TQRFrame::Width, &TQRFrame::Width).Default(1);
}

void TQRFrame::Assign(const TPersistent& source) {
  if (auto* f = dynamic_cast<const TQRFrame*>(&source)) {
    DrawTop = f->DrawTop;
    DrawBottom = f->DrawBottom;
    DrawLeft = f->DrawLeft;
    DrawRight = f->DrawRight;
    Color = f->Color;
    Width = f->Width;
    return;
  }
  TPersistent::Assign(source);
}

void TQRFrame::Draw(TQRCanvas& canvas, const TQRBox& box) const {
  std::int32_t color = PageColorOf(Color, 0);
  int width = PxToTwips(Width);
  if (DrawTop) canvas.Line(box.Left, box.Top, box.Right, box.Top, color, width);
  if (DrawBottom) canvas.Line(box.Left, box.Bottom, box.Right, box.Bottom, color, width);
  if (DrawLeft) canvas.Line(box.Left, box.Top, box.Left, box.Bottom, color, width);
  if (DrawRight) canvas.Line(box.Right, box.Top, box.Right, box.Bottom, color, width);
}

NV_PUBLISH(TQRPage) {
  b.Prop("BottomMargin", &TQRPage::BottomMargin, &TQRPage::BottomMargin);
  b.Prop("Columns", &TQRPage::Columns, &TQRPage::Columns).Default(1);
  b.Prop("LeftMargin", &TQRPage::LeftMargin, &TQRPage::LeftMargin);
  b.Prop("Orientation", &TQRPage::Orientation, &TQRPage::Orientation).Default(poPortrait);
  b.Prop("PaperLength", &TQRPage::PaperLength, &TQRPage::PaperLength);
  b.Prop("PaperWidth", &TQRPage::PaperWidth, &TQRPage::PaperWidth);
  b.Prop("RightMargin", &TQRPage::RightMargin, &TQRPage::RightMargin);
  b.Prop("TopMargin", &TQRPage::TopMargin, &TQRPage::TopMargin);
  b.Prop("Units", &TQRPage::Units, &TQRPage::Units).Default(qr::MM);
}

void TQRPage::Assign(const TPersistent& source) {
  if (auto* p = dynamic_cast<const TQRPage*>(&source)) {
    PaperWidth = p->PaperWidth;
    PaperLength = p->PaperLength;
    Orientation = p->Orientation;
    LeftMargin = p->LeftMargin;
    RightMargin = p->RightMargin;
    TopMargin = p->TopMargin;
    BottomMargin = p->BottomMargin;
    Columns = p->Columns;
    Units = p->Units;
    return;
  }
  TPersistent::Assign(source);
}

int TQRPage::WidthTwips() const {
  return MillimetresToTwips(Orientation == poPortrait ? PaperWidth : PaperLength);
}

int TQRPage::HeightTwips() const {
  return MillimetresToTwips(Orientation == poPortrait ? PaperLength : PaperWidth);
}

// ---------------------------------------------------------------------------------------

NV_PUBLISH(TQRCustomBand) {
  b.Prop("BandType", &TQRCustomBand::BandType, &TQRCustomBand::SetBandType).Default(rbTitle);
  b.Prop("Color", &TQRCustomBand::Color, &TQRCustomBand::SetColor).Default(clWhite);
  b.Prop("Enabled", &TQRCustomBand::Enabled, &TQRCustomBand::SetEnabled).Default(true);
  b.Prop("Font", &TQRCustomBand::Font, &TQRCustomBand::SetFont);
  b.Prop("Frame", &TQRCustomBand::Frame, &TQRCustomBand::SetFrame);
  b.Prop("Height", &TQRCustomBand::Height, &TQRCustomBand::SetHeight);
  b.Prop("Hint", &TQRCustomBand::Hint, &TQRCustomBand::Hint);
  b.Prop("Transparent", &TQRCustomBand::Transparent, &TQRCustomBand::SetTransparent).Default(false);
  b.Prop("AfterPrint", &TQRCustomBand::AfterPrint, &TQRCustomBand::AfterPrint);
  b.Prop("BeforePrint", &TQRCustomBand::BeforePrint, &TQRCustomBand::BeforePrint);
}

NV_PUBLISH(TQRBand) {}

TQRCustomBand::TQRCustomBand(TComponent* owner) : TComponent(owner) {}

TQRCustomBand::~TQRCustomBand() {
  if (report_) report_->RemoveBand(this);
  for (TQRPrintable* p : printables_) p->band_ = nullptr;
}

TComponent* TQRCustomBand::GetParentComponent() const {
  return report_;
}

void TQRCustomBand::SetParentComponent(TComponent* parent) {
  auto* report = dynamic_cast<TQuickRep*>(parent);
  if (parent && !report)
    throw EQuickReportError("A band's parent must be a report, not " + parent->Name());
  if (report_) report_->RemoveBand(this);
  if (report) report->AddBand(this);
}

void TQRCustomBand::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation != opRemove) return;
  if (component == report_) report_ = nullptr;
  if (component == childBand_) childBand_ = nullptr;
  Unlink(printables_, component);
}

void TQRCustomBand::AddPrintable(TQRPrintable* p) {
  printables_.push_back(p);
}
void TQRCustomBand::RemovePrintable(TQRPrintable* p) {
  Unlink(printables_, p);
}

void TQRCustomBand::Render(TQuickRep& report, TQRCanvas& canvas, int left, int top, int width) {
  TQRBox box{left, top, left + width, top + PxToTwips(height_)};
  if (!transparent_)
    canvas.Rectangle(box, PageColorOf(color_, 0xFFFFFF), 0, PageColorOf(color_, 0xFFFFFF));
  TQRPrintContext context{report, canvas, left, top};
  for (TQRPrintable* p : printables_)
    if (p->Enabled()) p->Print(context);
  if (frame_->AnyDrawn()) frame_->Draw(canvas, box);
}

NV_PUBLISH(TQRChildBand) {
  b.Prop("ParentBand", &TQRChildBand::ParentBand, &TQRChildBand::SetParentBand);
}

TQRChildBand::TQRChildBand(TComponent* owner) : TQRCustomBand(owner) {
  bandType_ = rbChild;
}

TQRChildBand::~TQRChildBand() {
  SetParentBand(nullptr);
}

void TQRChildBand::SetParentBand(TQRCustomBand* band) {
  if (band == parentBand_) return;
  if (parentBand_ && parentBand_->childBand_ == this) parentBand_->childBand_ = nullptr;
  parentBand_ = band;
  if (band) {
    if (band->childBand_ && band->childBand_ != this)
      throw EQuickReportError("Band " + band->Name() + " already has the child band " +
                              band->childBand_->Name());
    band->childBand_ = this;
    FreeNotification(band);
  }
}

void TQRChildBand::Notification(TComponent* component, TOperation operation) {
  TQRCustomBand::Notification(component, operation);
  if (operation == opRemove && component == parentBand_) parentBand_ = nullptr;
}

NV_PUBLISH(TQRGroup) {
  b.Prop("Expression", &TQRGroup::Expression, &TQRGroup::Expression);
  b.Prop("FooterBand", &TQRGroup::FooterBand, &TQRGroup::SetFooterBand);
  b.Prop("ReprintOnNewPage", &TQRGroup::ReprintOnNewPage, &TQRGroup::ReprintOnNewPage)
      .Default(false);
}

TQRGroup::TQRGroup(TComponent* owner) : TQRCustomBand(owner) {
  bandType_ = rbGroupHeader;
}

TQRGroup::~TQRGroup() = default;

void TQRGroup::SetFooterBand(TQRCustomBand* band) {
  footerBand_ = band;
  if (band) FreeNotification(band);
}

void TQRGroup::Notification(TComponent* component, TOperation operation) {
  TQRCustomBand::Notification(component, operation);
  if (operation == opRemove && component == footerBand_) footerBand_ = nullptr;
}

// ---------------------------------------------------------------------------------------

NV_PUBLISH(TQRPrintable) {
  b.Prop("Alignment", &TQRPrintable::Alignment, &TQRPrintable::Alignment)
      .Default(qr::taLeftJustify);
  b.Prop("AutoSize", &TQRPrintable::AutoSize, &TQRPrintable::AutoSize).Default(false);
  b.Prop("Color", &TQRPrintable::Color, &TQRPrintable::Color).Default(clWhite);
  b.Prop("Enabled", &TQRPrintable::Enabled, &TQRPrintable::SetEnabled).Default(true);
  b.Prop("Font", &TQRPrintable::Font, &TQRPrintable::SetFont);
  b.Prop("Frame", &TQRPrintable::Frame, &TQRPrintable::SetFrame);
  b.Prop("Height", &TQRPrintable::Height, &TQRPrintable::Height);
  b.Prop("Left", &TQRPrintable::Left, &TQRPrintable::Left);
  b.Prop("Top", &TQRPrintable::Top, &TQRPrintable::Top);
  b.Prop("Transparent", &TQRPrintable::Transparent, &TQRPrintable::Transparent).Default(true);
  b.Prop("Width", &TQRPrintable::Width, &TQRPrintable::Width);
}

TQRPrintable::TQRPrintable(TComponent* owner) : TComponent(owner) {}

TQRPrintable::~TQRPrintable() {
  if (band_) band_->RemovePrintable(this);
}

TComponent* TQRPrintable::GetParentComponent() const {
  return band_;
}

void TQRPrintable::SetParentComponent(TComponent* parent) {
  auto* band = dynamic_cast<TQRCustomBand*>(parent);
  if (parent && !band)
    throw EQuickReportError("The parent of " + Name() + " must be a band, not " + parent->Name());
  if (band_) band_->RemovePrintable(this);
  band_ = band;
  if (band) band->AddPrintable(this);
}

TQRBox TQRPrintable::BoxAt(int left, int top) const {
  int l = left + PxToTwips(Left);
  int t = top + PxToTwips(Top);
  return TQRBox{l, t, l + PxToTwips(Width), t + PxToTwips(Height)};
}

void TQRPrintable::Print(TQRPrintContext& context) {
  TQRBox box = BoxAt(context.BandLeft, context.BandTop);
  if (!Transparent) {
    std::int32_t c = PageColorOf(Color, 0xFFFFFF);
    context.Canvas.Rectangle(box, c, 0, c);
  }
  if (frame_->AnyDrawn()) frame_->Draw(context.Canvas, box);
}

// ---------------------------------------------------------------------------------------

NV_PUBLISH(TQuickRep) {
  b.Prop("Font", &TQuickRep::Font, &TQuickRep::SetFont);
  b.Prop("Options", &TQuickRep::Options, &TQuickRep::Options)
      .Default(TQROptions{FirstPageHeader, LastPageFooter});
  b.Prop("Page", &TQuickRep::Page, &TQuickRep::SetPage);
  b.Prop("PageStyle", &TQuickRep::PageStyle, &TQuickRep::PageStyle).Default(qrNone);
  b.Prop("PrintIfEmpty", &TQuickRep::PrintIfEmpty, &TQuickRep::PrintIfEmpty).Default(true);
  b.Prop("ReportTitle", &TQuickRep::ReportTitle, &TQuickRep::ReportTitle);
  b.Prop("Zoom", &TQuickRep::Zoom, &TQuickRep::SetZoom).Default(100);
  b.Prop("BeforePrint", &TQuickRep::BeforePrint, &TQuickRep::BeforePrint);
  b.Prop("OnStartPage", &TQuickRep::OnStartPage, &TQuickRep::OnStartPage);
}

TQuickRep::TQuickRep(TComponent* owner) : TComponent(owner) {}

TQuickRep::~TQuickRep() {
  for (TQRCustomBand* band : bands_) band->report_ = nullptr;
}

void TQuickRep::SetZoom(int v) {
  if (v < 1 || v > 1000)
    throw EQuickReportError("Zoom " + std::to_string(v) + " is outside 1 to 1000");
  zoom_ = v;
}

void TQuickRep::AddDataSet(TDataSet* v) {
  if (v && std::find(dataSets_.begin(), dataSets_.end(), v) == dataSets_.end())
    dataSets_.push_back(v);
}

TDataSet* TQuickRep::FindDataSet(std::string_view name) const {
  auto same = [&](const TDataSet* d) { return d && SameText(d->Name(), name); };
  if (same(dataSet_)) return dataSet_;
  for (TDataSet* d : dataSets_)
    if (same(d)) return d;
  return nullptr;
}

void TQuickRep::AddBand(TQRCustomBand* band) {
  band->report_ = this;
  bands_.push_back(band);
}

void TQuickRep::RemoveBand(TQRCustomBand* band) {
  Unlink(bands_, band);
  if (band->report_ == this) band->report_ = nullptr;
}

void TQuickRep::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == opRemove) Unlink(bands_, component);
}

std::vector<TQRCustomBand*> TQuickRep::BandsOf(TQRBandType type) const {
  std::vector<TQRCustomBand*> out;
  for (TQRCustomBand* band : bands_)
    if (band->BandType() == type && band->Enabled()) out.push_back(band);
  return out;
}

int TQuickRep::FooterHeight() const {
  int h = 0;
  for (TQRCustomBand* band : BandsOf(rbPageFooter)) h += PxToTwips(band->Height());
  return h;
}

void TQuickRep::PlaceBand(TQRCustomBand& band, int top) {
  int left = MillimetresToTwips(page_->LeftMargin);
  int width = page_->WidthTwips() - left - MillimetresToTwips(page_->RightMargin);
  band.Render(*this, canvas_, left, top, width);
}

void TQuickRep::StartPage() {
  ++pageNumber_;
  canvas_.NewPage(page_->WidthTwips(), page_->HeightTwips());
  space_.Top = MillimetresToTwips(page_->TopMargin);
  space_.Cursor = space_.Top;
  space_.Bottom = page_->HeightTwips() - MillimetresToTwips(page_->BottomMargin) - FooterHeight();
  OnStartPage(this);
  if (pageNumber_ > 1 || Options.Contains(FirstPageHeader))
    for (TQRCustomBand* band : BandsOf(rbPageHeader)) PrintBand(*band);
  if (pageNumber_ == 1)
    for (TQRCustomBand* band : BandsOf(rbTitle)) PrintBand(*band);
  if (pageNumber_ > 1 && inRecords_)
    for (TQRGroup* group : groups_)
      if (group->ReprintOnNewPage) PrintBand(*group);
}

void TQuickRep::EndPage(bool last) {
  if (!last || Options.Contains(LastPageFooter)) {
    int top = space_.Bottom;
    for (TQRCustomBand* band : BandsOf(rbPageFooter)) {
      bool print = true;
      band->BeforePrint(band, print);
      if (print) {
        PlaceBand(*band, top);
        top += PxToTwips(band->Height());
      }
      band->AfterPrint(band, print);
    }
  }
  bool cancel = false;
  if (OnProgress) OnProgress(pageNumber_, cancel);
  if (cancel) cancelled_ = true;
}

// Before-print may refuse the band; a band that does not fit starts a new page, unless the
// page has nothing on it yet (a band taller than the page is cut rather than looping).
bool TQuickRep::PrintBand(TQRCustomBand& band) {
  if (!band.Enabled()) return false;
  bool print = true;
  band.BeforePrint(&band, print);
  if (print) {
    int height = PxToTwips(band.Height());
    if (!space_.Fits(height) && !space_.Fresh() && band.BandType() != rbPageHeader) {
      EndPage(false);
      StartPage();
    }
    PlaceBand(band, space_.Take(height));
  }
  band.AfterPrint(&band, print);
  if (print && band.ChildBand()) PrintBand(*band.ChildBand());
  return print;
}

void TQuickRep::PrintDetail() {
  for (TQRCustomBand* band : BandsOf(rbDetail)) PrintBand(*band);
}

std::vector<std::string> TQuickRep::GroupKeys() const {
  std::vector<std::string> keys;
  for (TQRGroup* group : groups_) {
    try {
      keys.push_back(EvaluateExpression(group->Expression, ReportExprEnv(*this)).AsText());
    } catch (const EQRExprError& e) {
      throw EQRExprError(group->Name() + ": " + e.what());
    }
  }
  return keys;
}

namespace {
std::size_t FirstChange(const std::vector<std::string>& a, const std::vector<std::string>& b) {
  std::size_t i = 0;
  while (i < a.size() && i < b.size() && a[i] == b[i]) ++i;
  return i;
}
}  // namespace

// Group headers where a key changes; footers (innermost first) while the last record of
// the group is still current, so their fields show that group's values.
void TQuickRep::PrintRecords() {
  std::vector<std::string> keys;
  bool first = true;
  for (dataSet_->First(); !dataSet_->Eof() && !cancelled_;) {
    std::vector<std::string> now = GroupKeys();
    for (std::size_t i = first ? 0 : FirstChange(keys, now); i < groups_.size(); ++i)
      PrintBand(*groups_[i]);
    keys = std::move(now);
    first = false;
    PrintDetail();
    dataSet_->Next();
    bool eof = dataSet_->Eof();
    std::size_t level = eof ? 0 : FirstChange(keys, GroupKeys());
    if (level >= groups_.size()) continue;
    eof ? dataSet_->Last() : dataSet_->Prior();
    for (std::size_t i = groups_.size(); i-- > level;)
      if (TQRCustomBand* footer = groups_[i]->FooterBand()) PrintBand(*footer);
    dataSet_->Next();
  }
}

void TQuickRep::Prepare() {
  if (generating_) throw EQuickReportError("Report " + Name() + " is already being generated");
  generating_ = true;
  canvas_.Clear();
  pageNumber_ = 0;
  cancelled_ = false;
  struct Reset {
    bool& flag;
    ~Reset() { flag = false; }
  } reset{generating_};

  bool printReport = true;
  BeforePrint(this, printReport);
  if (!printReport) return;
  if (dataSet_ && !dataSet_->Active()) dataSet_->Open();
  bool empty = dataSet_ && dataSet_->IsEmpty();
  if (empty && !PrintIfEmpty) return;

  groups_.clear();
  for (TQRCustomBand* band : BandsOf(rbGroupHeader))
    if (auto* group = dynamic_cast<TQRGroup*>(band)) groups_.push_back(group);
  StartPage();
  if (!dataSet_) {
    PrintDetail();  // a report without data prints its detail once
  } else {
    inRecords_ = true;
    PrintRecords();
    inRecords_ = false;
  }
  if (cancelled_) return;
  for (TQRCustomBand* band : BandsOf(rbSummary)) PrintBand(*band);
  EndPage(true);
}

void RegisterReportClasses() {
  for (const TClassInfo* info : {&TQuickRep::StaticClassInfo(), &TQRBand::StaticClassInfo(),
                                 &TQRChildBand::StaticClassInfo(), &TQRGroup::StaticClassInfo(),
                                 &TQRLabel::StaticClassInfo(), &TQRDBText::StaticClassInfo(),
                                 &TQRExpr::StaticClassInfo(), &TQRShape::StaticClassInfo()})
    if (!GetClass(info->ClassName())) RegisterClass(*info);
}

}  // namespace nv
