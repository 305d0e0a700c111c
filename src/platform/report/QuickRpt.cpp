#include "platform/report/QuickRpt.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>

#include "platform/data/DB.h"
#include "platform/graphics/Graphics.h"
#include "platform/graphics/Metafile.h"
#include "platform/graphics/Page.h"
#include "platform/report/NvQRCtrls.h"
#include "platform/report/QRCtrls.h"
#include "platform/report/QRPreview.h"

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

namespace {

struct TPaperInfo {
  const char* Name;
  double Width;  // millimetres, portrait; 0 keeps the page's figures
  double Length;
};

// Ordered as TQRPaperSize.
constexpr TPaperInfo kPapers[] = {
    {"Default", 0, 0},
    {"Letter", 215.9, 279.4},
    {"LetterSmall", 215.9, 279.4},
    {"Tabloid", 279.4, 431.8},
    {"Ledger", 431.8, 279.4},
    {"Legal", 215.9, 355.6},
    {"Statement", 139.7, 215.9},
    {"Executive", 184.15, 266.7},
    {"A3", 297, 420},
    {"A4", 210, 297},
    {"A4Small", 210, 297},
    {"A5", 148, 210},
    {"B4", 250, 354},
    {"B5", 182, 257},
    {"Folio", 215.9, 330.2},
    {"Quarto", 215, 275},
    {"qr10X14", 254, 355.6},
    {"qr11X17", 279.4, 431.8},
    {"Note", 215.9, 279.4},
    {"Env9", 98.425, 225.425},
    {"Env10", 104.775, 241.3},
    {"Env11", 114.3, 263.525},
    {"Env12", 120.65, 279.4},
    {"Env14", 127, 292.1},
    {"CSheet", 431.8, 558.8},
    {"DSheet", 558.8, 863.6},
    {"ESheet", 863.6, 1117.6},
    {"Custom", 0, 0},
};

}  // namespace

const std::vector<std::string>& PaperSizeNames() {
  static const std::vector<std::string> names = [] {
    std::vector<std::string> out;
    for (const TPaperInfo& p : kPapers) out.emplace_back(p.Name);
    return out;
  }();
  return names;
}

const std::vector<std::string>& UnitNames() {
  static const std::vector<std::string> names{"MM", "Inches", "Pixels", "Characters", "Native"};
  return names;
}

NV_PUBLISH(TQRPage) {
  b.Prop("BottomMargin", &TQRPage::BottomMargin, &TQRPage::BottomMargin);
  b.Prop("ColumnSpace", &TQRPage::ColumnSpace, &TQRPage::ColumnSpace).Default(0.0);
  b.Prop("Columns", &TQRPage::Columns, &TQRPage::Columns).Default(1);
  b.Prop("LeftMargin", &TQRPage::LeftMargin, &TQRPage::LeftMargin);
  b.Prop("Orientation", &TQRPage::Orientation, &TQRPage::Orientation).Default(poPortrait);
  b.Prop("PaperLength", &TQRPage::PaperLength, &TQRPage::PaperLength);
  b.Prop("PaperSize", &TQRPage::PaperSize, &TQRPage::SetPaperSize).Default(qr::Letter);
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
    ColumnSpace = p->ColumnSpace;
    Columns = p->Columns;
    Units = p->Units;
    paperSize_ = p->paperSize_;
    return;
  }
  TPersistent::Assign(source);
}

void TQRPage::SetPaperSize(TQRPaperSize size) {
  paperSize_ = size;
  const TPaperInfo& paper = kPapers[size];
  if (paper.Width > 0) PaperWidth = paper.Width, PaperLength = paper.Length;
}

double TQRPage::Value(int index) const {
  const double mm[] = {BottomMargin, PaperLength, LeftMargin, PaperWidth,
                       RightMargin,  TopMargin,   ColumnSpace};
  if (index < 0 || index >= 7) return 0;
  switch (Units) {
    case qr::Inches:
      return mm[index] / 25.4;
    case qr::Pixels:
      return mm[index] / 25.4 * 96;
    case qr::Characters:  // a character cell of the default 10-pitch font
      return mm[index] / 2.54;
    case qr::Native:  // tenths of a millimetre, as printer drivers count
      return mm[index] * 10;
    default:
      return mm[index];
  }
}

NV_PUBLISH(TQRPrinterSettings) {
  b.Prop("Copies", &TQRPrinterSettings::Copies, &TQRPrinterSettings::Copies).Default(1);
  b.Prop("PrinterIndex", &TQRPrinterSettings::PrinterIndex, &TQRPrinterSettings::PrinterIndex)
      .Default(-1);
}

void TQRPrinterSettings::Assign(const TPersistent& source) {
  if (auto* p = dynamic_cast<const TQRPrinterSettings*>(&source)) {
    PrinterIndex = p->PrinterIndex;
    Copies = p->Copies;
    return;
  }
  TPersistent::Assign(source);
}

// ---------------------------------------------------------------------------------------

NV_PUBLISH(TQRPicture) {}

TQRPicture::TQRPicture() = default;
TQRPicture::~TQRPicture() = default;

namespace {

bool IsMetafileBytes(std::string_view b) {
  return b.size() >= 44 && b[0] == 1 && b[1] == 0 && b[2] == 0 && b[3] == 0 &&
         b.substr(40, 4) == " EMF";
}

}  // namespace

void TQRPicture::LoadFromBytes(std::string bytes) {
  bytes_ = std::move(bytes);
  error_.clear();
  image_.reset();
  if (bytes_.empty()) return;
  try {
    if (IsMetafileBytes(bytes_)) {
      image_ = TPageImage::FromMetafile(TMetafile::FromBytes(bytes_), "background");
    } else {
      TBitmap bitmap;
      bitmap.LoadFromBytes(bytes_.data(), bytes_.size());
      image_ = TPageImage::FromBitmap(bitmap, "picture");
    }
  } catch (const std::exception& e) {
    error_ = e.what();  // kept as given, drawn as nothing
  }
}

void TQRPicture::LoadFromFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw EFOpenError("Cannot open picture file " + path);
  std::stringstream bytes;
  bytes << in.rdbuf();
  LoadFromBytes(bytes.str());
}

void TQRPicture::Clear() {
  LoadFromBytes({});
}

int TQRPicture::WidthTwips() const {
  if (!image_) return 0;
  if (image_->IsMetafile()) return MmToTwips(image_->Metafile()->Width() / 100.0);
  return image_->Width() * kTwipsPerLayoutPx;
}

int TQRPicture::HeightTwips() const {
  if (!image_) return 0;
  if (image_->IsMetafile()) return MmToTwips(image_->Metafile()->Height() / 100.0);
  return image_->Height() * kTwipsPerLayoutPx;
}

void TQRPicture::Assign(const TPersistent& source) {
  if (auto* p = dynamic_cast<const TQRPicture*>(&source)) {
    bytes_ = p->bytes_;
    error_ = p->error_;
    image_ = p->image_;
    return;
  }
  TPersistent::Assign(source);
}

void TQRPicture::DefineProperties(TFiler& filer) {
  bool differs = !bytes_.empty();
  if (auto* ancestor = dynamic_cast<const TQRPicture*>(filer.Ancestor()))
    differs = ancestor->bytes_ != bytes_;
  filer.DefineProperty(
      "Data", [this](const TFormValue& v) { LoadFromBytes(v.Text); },
      [this] { return TFormValue::OfBinary(bytes_); }, differs);
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

int TQRCustomBand::Prepare(TQuickRep& report, TQRCanvas& canvas) {
  TQRPrintContext context{report, canvas, 0, 0};
  int own = std::max(0, height_);
  int needed = own;
  for (TQRPrintable* p : printables_) {
    if (!p->Enabled()) continue;
    int h = p->Prepare(context);
    if (h > p->Height) needed = std::max(needed, p->Top + h);  // only growth stretches the band
  }
  extraHeight_ = needed - own;
  preparedHeight_ = PxToTwips(needed);
  return preparedHeight_;
}

void TQRCustomBand::Render(TQuickRep& report, TQRCanvas& canvas, int left, int top, int width) {
  TQRBox box{left, top, left + width, top + preparedHeight_};
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

int TQRPrintable::Prepare(TQRPrintContext&) {
  return Height;
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
  b.Prop("Background", &TQuickRep::Background, &TQuickRep::SetBackground);
  b.Prop("Font", &TQuickRep::Font, &TQuickRep::SetFont);
  b.Prop("Functions", &TQuickRep::Functions, &TQuickRep::SetFunctions);
  b.Prop("Options", &TQuickRep::Options, &TQuickRep::Options)
      .Default(TQROptions{FirstPageHeader, LastPageFooter});
  b.Prop("Page", &TQuickRep::Page, &TQuickRep::SetPage);
  b.Prop("PageAttachDetailBand", &TQuickRep::PageAttachDetailBand,
         &TQuickRep::SetPageAttachDetailBand);
  b.Prop("PageDetailBand", &TQuickRep::PageDetailBand, &TQuickRep::SetPageDetailBand);
  b.Prop("PageEndBand", &TQuickRep::PageEndBand, &TQuickRep::SetPageEndBand);
  b.Prop("PageStartBand", &TQuickRep::PageStartBand, &TQuickRep::SetPageStartBand);
  b.Prop("PageStyle", &TQuickRep::PageStyle, &TQuickRep::PageStyle).Default(qrNone);
  b.Prop("PrintBackground", &TQuickRep::PrintBackground, &TQuickRep::PrintBackground).Default(true);
  b.Prop("PrinterSettings", &TQuickRep::PrinterSettings, &TQuickRep::SetPrinterSettings);
  b.Prop("PrintIfEmpty", &TQuickRep::PrintIfEmpty, &TQuickRep::PrintIfEmpty).Default(true);
  b.Prop("ReportTitle", &TQuickRep::ReportTitle, &TQuickRep::ReportTitle);
  b.Prop("SnapToGrid", &TQuickRep::SnapToGrid, &TQuickRep::SnapToGrid).Default(true);
  b.Prop("Zoom", &TQuickRep::Zoom, &TQuickRep::SetZoom).Default(100);
  b.Prop("BeforePrint", &TQuickRep::BeforePrint, &TQuickRep::BeforePrint);
  b.Prop("OnPreview", &TQuickRep::OnPreview, &TQuickRep::OnPreview);
  b.Prop("OnStartPage", &TQuickRep::OnStartPage, &TQuickRep::OnStartPage);
}

TQuickRep::TQuickRep(TComponent* owner)
    : TComponent(owner),
      functions_(std::make_unique<TStringList>()),
      printer_(std::make_unique<TQRPrinter>()),
      canvas_(printer_->Pages()) {}

TQuickRep::~TQuickRep() {
  for (TQRCustomBand* band : bands_) band->report_ = nullptr;
}

void TQuickRep::SetZoom(int v) {
  if (v < 1 || v > 1000)
    throw EQuickReportError("Zoom " + std::to_string(v) + " is outside 1 to 1000");
  zoom_ = v;
}

void TQuickRep::SetFunctions(TStringList* v) {
  functions_->Assign(*v);
}

void TQuickRep::SetBandRef(TQRCustomBand*& ref, TQRCustomBand* band) {
  ref = band;
  if (band) FreeNotification(band);
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
  if (operation != opRemove) return;
  Unlink(bands_, component);
  for (TQRCustomBand** ref : {&pageStart_, &pageDetail_, &pageAttach_, &pageEnd_})
    if (*ref == component) *ref = nullptr;
}

std::vector<TQRCustomBand*> TQuickRep::BandsOf(TQRBandType type) const {
  std::vector<TQRCustomBand*> out;
  for (TQRCustomBand* band : bands_)
    if (band->BandType() == type && band->Enabled()) out.push_back(band);
  return out;
}

int TQuickRep::FooterHeight() const {
  int h = 0;
  for (TQRCustomBand* band : BandsOf(rbPageFooter)) h += PxToTwips(std::max(0, band->Height()));
  return h;
}

void TQuickRep::PlaceBand(TQRCustomBand& band, int top, int) {
  int left = MillimetresToTwips(page_->LeftMargin);
  int width = page_->WidthTwips() - left - MillimetresToTwips(page_->RightMargin);
  band.Render(*this, canvas_, left, top, width);
}

void TQuickRep::DrawBackground() {
  const auto& image = background_->Image();
  if (!PrintBackground || !image) return;
  // In the bands' own coordinates: a caption at (x, y) of the picture stands where a
  // printable at (x, y) of a band at the top of the page would.
  int left = MillimetresToTwips(page_->LeftMargin);
  canvas_.Picture(TQRBox{left, space_.Top, left + background_->WidthTwips(),
                         space_.Top + background_->HeightTwips()},
                  image);
}

// In half-page style a voucher page is one half of the sheet, upper then lower, each with
// the page's margins; otherwise it is the whole sheet.
void TQuickRep::StartPage() {
  ++pageNumber_;
  bool half = PageStyle == qrHalfPage;
  int pageHeight = half ? page_->HeightTwips() / 2 : page_->HeightTwips();
  bool lower = half && pageNumber_ % 2 == 0;
  if (!lower) canvas_.NewPage(page_->WidthTwips(), page_->HeightTwips());
  sheetTop_ = lower ? pageHeight : 0;
  printer_->VoucherPageStarted();
  space_.Top = sheetTop_ + MillimetresToTwips(page_->TopMargin);
  space_.Cursor = space_.Top;
  space_.Bottom = sheetTop_ + pageHeight - MillimetresToTwips(page_->BottomMargin) - FooterHeight();
  DrawBackground();
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
        int height = band->Prepare(*this, canvas_);
        PlaceBand(*band, top, height);
        top += height;
      }
      band->AfterPrint(band, print);
    }
  }
  bool sheetDone = PageStyle != qrHalfPage || pageNumber_ % 2 == 0 || last;
  if (sheetDone) printer_->SheetDone(canvas_.PageCount());
  bool cancel = printer_->CancelRequested();
  if (OnProgress) OnProgress(pageNumber_, cancel);
  if (cancel || printer_->CancelRequested()) cancelled_ = true;
}

// Before-print may refuse the band; a band that does not fit starts a new page, unless the
// page has nothing on it yet (a band taller than the page is cut rather than looping). On
// voucher pages the page bands decide the breaks, so a band never breaks there.
bool TQuickRep::PrintBand(TQRCustomBand& band) {
  if (!band.Enabled()) return false;
  bool print = true;
  band.BeforePrint(&band, print);
  band.extraHeight_ = 0;
  if (print) {
    int height = band.Prepare(*this, canvas_);
    if (!vouchers_ && !space_.Fits(height) && !space_.Fresh() && band.BandType() != rbPageHeader) {
      EndPage(false);
      StartPage();
    }
    PlaceBand(band, space_.Take(height), height);
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

// ---------------------------------------------------------------------------------------
// Voucher pages: the page start band's group expression names the voucher.

std::string TQuickRep::PageKey() const {
  auto* group = dynamic_cast<TQRGroup*>(pageStart_);
  if (!group || group->Expression.empty() || dataSet_->Eof()) return {};
  try {
    return EvaluateExpression(group->Expression, ReportExprEnv(*this)).AsText();
  } catch (const EQRExprError& e) {
    throw EQRExprError(group->Name() + ": " + e.what());
  }
}

void TQuickRep::PrintVoucherPages() {
  attachHeight_ = pageAttach_ ? pageAttach_->Height() : 0;
  dataSet_->First();
  do {
    StartPage();
    if (pageAttach_) pageAttach_->SetHeight(attachHeight_);
    std::string key = PageKey();
    if (pageStart_) PrintBand(*pageStart_);
    bool voucherEnds = PrintVoucherRows(key);
    CloseVoucherPage(voucherEnds);
    bool last = dataSet_->Eof() || cancelled_;
    if (last)
      for (TQRCustomBand* band : BandsOf(rbSummary)) PrintBand(*band);
    EndPage(last);
  } while (!dataSet_->Eof() && !cancelled_);
  if (pageAttach_) pageAttach_->SetHeight(attachHeight_);
}

// The rows of one voucher page; true when the voucher ends on it.
bool TQuickRep::PrintVoucherRows(const std::string& key) {
  bool placed = false;
  while (!dataSet_->Eof() && !cancelled_) {
    int record = dataSet_->RecNo();
    TPageRow row = PrintPageRow(placed);
    if (row == TPageRow::NoRoom) return false;
    if (row == TPageRow::Refused) {
      if (placed) {
        dataSet_->Next();  // back to the refused row, which heads the next page
        return false;
      }
      // Refused on an empty page it would be refused on every page: it is passed over.
      while (!dataSet_->Eof() && dataSet_->RecNo() <= record) dataSet_->Next();
    } else {
      placed = true;
      dataSet_->Next();
    }
    if (dataSet_->Eof() || PageKey() != key) return true;
  }
  return true;
}

// A placed row uses up the attach-detail band's height by the band's own height; what a
// stretched row adds is the after-print handler's to take off (ExtraHeight).
TQuickRep::TPageRow TQuickRep::PrintPageRow(bool pageHasRows) {
  TQRCustomBand& band = *pageDetail_;
  if (!band.Enabled()) return TPageRow::Printed;
  if (pageHasRows && !space_.Fits(PxToTwips(std::max(0, band.Height())))) return TPageRow::NoRoom;
  bool print = true;
  band.BeforePrint(&band, print);
  band.extraHeight_ = 0;
  if (print) {
    int height = band.Prepare(*this, canvas_);
    PlaceBand(band, space_.Take(height), height);
    if (pageAttach_) pageAttach_->SetHeight(pageAttach_->Height() - band.Height());
  }
  band.AfterPrint(&band, print);
  if (!print) return TPageRow::Refused;
  if (band.ChildBand()) PrintBand(*band.ChildBand());
  return TPageRow::Printed;
}

// The attach-detail band prints with the height left, then the end band. At the voucher's
// end the data set is past its last record; both bands see that record.
void TQuickRep::CloseVoucherPage(bool voucherEnds) {
  bool stepped = voucherEnds && !dataSet_->IsEmpty();
  if (stepped) dataSet_->Eof() ? dataSet_->Last() : dataSet_->Prior();
  if (pageAttach_) PrintBand(*pageAttach_);
  if (pageEnd_ && (!pageAttach_ || pageAttach_->ChildBand() != pageEnd_ || !pageAttach_->Enabled()))
    PrintBand(*pageEnd_);
  if (stepped) dataSet_->Next();
}

// ---------------------------------------------------------------------------------------

void TQuickRep::Generate() {
  bool printReport = true;
  BeforePrint(this, printReport);
  if (!printReport) return;
  if (dataSet_ && !dataSet_->Active()) dataSet_->Open();
  bool empty = dataSet_ && dataSet_->IsEmpty();
  if (empty && !PrintIfEmpty) return;

  groups_.clear();
  vouchers_ = pageDetail_ && dataSet_;
  if (vouchers_) {
    PrintVoucherPages();
    return;
  }
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

void TQuickRep::Prepare() {
  if (generating_) throw EQuickReportError("Report " + Name() + " is already being generated");
  generating_ = true;
  pageNumber_ = 0;
  cancelled_ = false;
  vouchers_ = false;
  printer_->PrinterIndex = printerSettings_->PrinterIndex;
  printer_->Copies = printerSettings_->Copies;
  printer_->BeginGeneration();
  struct Reset {
    TQuickRep& report;
    ~Reset() {
      report.generating_ = false;
      report.inRecords_ = false;
      report.printer_->EndGeneration(report.cancelled_);
    }
  } reset{*this};
  Generate();
}

void TQuickRep::Preview() {
  OnPreview(this);
  Prepare();
}

TPrintResult TQuickRep::Print() {
  Prepare();
  if (cancelled_) {
    TPrintResult result;
    result.Cancelled = true;
    return result;
  }
  return printer_->Print(ReportTitle);
}

void RegisterReportClasses() {
  for (const TClassInfo* info :
       {&TQuickRep::StaticClassInfo(), &TQRBand::StaticClassInfo(),
        &TQRChildBand::StaticClassInfo(), &TQRGroup::StaticClassInfo(),
        &TQRLabel::StaticClassInfo(), &TQRDBText::StaticClassInfo(), &TQRExpr::StaticClassInfo(),
        &TQRMemo::StaticClassInfo(), &TQRImage::StaticClassInfo(), &TQRShape::StaticClassInfo(),
        &TQRPreview::StaticClassInfo(), &TNVQRDBText::StaticClassInfo(),
        &TNvQRDBBarcode::StaticClassInfo()})
    if (!GetClass(info->ClassName())) RegisterClass(*info);
}

}  // namespace nv
