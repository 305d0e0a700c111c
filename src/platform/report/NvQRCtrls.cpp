#include "platform/report/NvQRCtrls.h"

#include <zint.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "platform/data/DB.h"

namespace nv {

NV_PUBLISH(TNVQRDBText) {
  b.Prop("Items", &TNVQRDBText::Items, &TNVQRDBText::SetItems);
  b.Prop("TextType", &TNVQRDBText::TextType, &TNVQRDBText::SetTextType).Default(0);
  b.Prop("ValueMap", &TNVQRDBText::ValueMap, &TNVQRDBText::ValueMap);
  b.Prop("OnTextTypeChange", &TNVQRDBText::OnTextTypeChange, &TNVQRDBText::OnTextTypeChange);
}

TNVQRDBText::TNVQRDBText(TComponent* owner) : TQRDBText(owner) {}

void TNVQRDBText::SetTextType(int v) {
  if (v == textType_) return;
  textType_ = v;
  OnTextTypeChange(this);
}

void TNVQRDBText::Loaded() {
  TQRDBText::Loaded();
  if (textType_ != 0) OnTextTypeChange(this);
}

std::string TNVQRDBText::PrintText(TQRPrintContext& context) {
  std::string value = TQRDBText::PrintText(context);
  if (items_->Count() == 0) return value;
  int index = items_->IndexOfName(Trim(value));
  return index < 0 ? value : items_->ValueFromIndex(index);
}

// ---------------------------------------------------------------------------------------

namespace {

bool IsDigit(unsigned char c) {
  return c >= '0' && c <= '9';
}

struct TKindInfo {
  int Symbology;
  bool (*Accepts)(unsigned char);
};

bool Code39Char(unsigned char c) {
  return IsDigit(c) || (c >= 'A' && c <= 'Z') || std::strchr(" -.$/+%", c) != nullptr;
}
bool Ascii(unsigned char c) {
  return c < 128;
}
bool Code128AChar(unsigned char c) {
  return c < 96;
}
bool Code128BChar(unsigned char c) {
  return c >= 32 && c < 128;
}
bool Code11Char(unsigned char c) {
  return IsDigit(c) || c == '-';
}
bool CodabarChar(unsigned char c) {
  return IsDigit(c) || (c >= 'A' && c <= 'D') || std::strchr("-$:/.+", c) != nullptr;
}
bool HexChar(unsigned char c) {
  return IsDigit(c) || (c >= 'A' && c <= 'F');
}
bool AnyByte(unsigned char) {
  return true;
}

// Ordered as TNvBarcodeKind.
const TKindInfo kKinds[] = {
    {BARCODE_CODE39, Code39Char},    {BARCODE_EXCODE39, Ascii},
    {BARCODE_CODE93, Ascii},         {BARCODE_CODE128, Ascii},
    {BARCODE_CODE128, Code128AChar}, {BARCODE_CODE128B, Code128BChar},
    {BARCODE_CODE11, Code11Char},    {BARCODE_C25INTER, IsDigit},
    {BARCODE_C25IND, IsDigit},       {BARCODE_C25STANDARD, IsDigit},
    {BARCODE_CODABAR, CodabarChar},  {BARCODE_EANX, IsDigit},
    {BARCODE_EANX, IsDigit},         {BARCODE_UPCA, IsDigit},
    {BARCODE_UPCE, IsDigit},         {BARCODE_MSI_PLESSEY, IsDigit},
    {BARCODE_POSTNET, IsDigit},      {BARCODE_PLESSEY, HexChar},
    {BARCODE_TELEPEN, Ascii},        {BARCODE_PDF417, AnyByte},
    {BARCODE_DATAMATRIX, AnyByte},   {BARCODE_QRCODE, AnyByte},
    {BARCODE_CODE128, IsDigit},
};

struct TSymbolDeleter {
  void operator()(zint_symbol* s) const { ZBarcode_Delete(s); }
};

}  // namespace

bool BarcodeAccepts(TNvBarcodeKind kind, unsigned char c) {
  return kKinds[kind].Accepts(c);
}

NV_PUBLISH(TNvQRDBBarcode) {
  b.Prop("AutoWidth", &TNvQRDBBarcode::AutoWidth, &TNvQRDBBarcode::AutoWidth).Default(false);
  b.Prop("BarcodeKind", &TNvQRDBBarcode::BarcodeKind, &TNvQRDBBarcode::BarcodeKind)
      .Default(bkCode128);
  b.Prop("DataField", &TNvQRDBBarcode::DataField, &TNvQRDBBarcode::DataField);
  b.Prop("DataSource", &TNvQRDBBarcode::DataSource, &TNvQRDBBarcode::SetDataSource);
  b.Prop("ShowText", &TNvQRDBBarcode::ShowText, &TNvQRDBBarcode::ShowText).Default(true);
  b.Prop("Text", &TNvQRDBBarcode::Text, &TNvQRDBBarcode::Text);
  b.Prop("TextPosition", &TNvQRDBBarcode::TextPosition, &TNvQRDBBarcode::TextPosition).Default(5);
  b.Prop("OnInvalidChar", &TNvQRDBBarcode::OnInvalidChar, &TNvQRDBBarcode::OnInvalidChar);
}

TNvQRDBBarcode::TNvQRDBBarcode(TComponent* owner) : TQRPrintable(owner) {
  Height = 105;
}

void TNvQRDBBarcode::SetDataSource(TDataSource* v) {
  dataSource_ = v;
  if (v) FreeNotification(v);
}

void TNvQRDBBarcode::Notification(TComponent* component, TOperation operation) {
  TQRPrintable::Notification(component, operation);
  if (operation == opRemove && component == dataSource_) dataSource_ = nullptr;
}

std::string TNvQRDBBarcode::EncodableText(const std::string& text) {
  std::string out;
  for (unsigned char c : text) {
    if (BarcodeAccepts(BarcodeKind, c)) {
      out += static_cast<char>(c);
      continue;
    }
    std::string replacement;
    OnInvalidChar(this, replacement);
    out += replacement;
  }
  return out;
}

std::string TNvQRDBBarcode::SourceText(TQRPrintContext& context) const {
  if (DataField.empty()) return Text;
  TDataSet* data = dataSource_ ? dataSource_->DataSet() : context.Report.DataSet();
  TField* field = data ? data->FindField(DataField) : nullptr;
  if (!field) throw EQuickReportError(Name() + ": field '" + DataField + "' not found");
  return field->DisplayText();
}

// The symbol's bars as zint lays them out, in the unit square.
void TNvQRDBBarcode::Encode() {
  bars_.clear();
  error_.clear();
  if (encoded_.empty()) return;
  std::unique_ptr<zint_symbol, TSymbolDeleter> symbol(ZBarcode_Create());
  symbol->symbology = kKinds[BarcodeKind].Symbology;
  symbol->show_hrt = 0;  // the text is ours to draw, in the printable's font
  int rc = ZBarcode_Encode_and_Buffer_Vector(
      symbol.get(), reinterpret_cast<const unsigned char*>(encoded_.data()),
      static_cast<int>(encoded_.size()), 0);
  if (rc >= ZINT_ERROR || !symbol->vector) {
    error_ = symbol->errtxt;
    return;
  }
  // Normalised to the bars' own extent, so quiet zones and guard extensions do not leave
  // the printable's box.
  const zint_vector* v = symbol->vector;
  float left = 1e9f, top = 1e9f, right = -1e9f, bottom = -1e9f;
  for (const zint_vector_rect* r = v->rectangles; r; r = r->next) {
    left = std::min(left, r->x), top = std::min(top, r->y);
    right = std::max(right, r->x + r->width), bottom = std::max(bottom, r->y + r->height);
  }
  float w = right - left, h = bottom - top;
  if (w <= 0 || h <= 0) return;
  for (const zint_vector_rect* r = v->rectangles; r; r = r->next)
    bars_.push_back({(r->x - left) / w, (r->y - top) / h, r->width / w, r->height / h});
}

int TNvQRDBBarcode::Prepare(TQRPrintContext& context) {
  printed_ = SourceText(context);
  std::string encoded = EncodableText(printed_);
  if (encoded != encoded_ || (bars_.empty() && error_.empty())) {
    encoded_ = std::move(encoded);
    Encode();
  }
  return Height;
}

void TNvQRDBBarcode::Print(TQRPrintContext& context) {
  TQRPrintable::Print(context);
  TQRBox box = BoxAt(context.BandLeft, context.BandTop);
  TQRFontSpec font = FontSpecOf(*Font());
  int textHeight = ShowText ? TQRCanvas::LineHeight(font) : 0;
  bool above = TextPosition < 3;
  TQRBox bars = box;
  (above ? bars.Top : bars.Bottom) += above ? textHeight : -textHeight;
  double w = bars.Right - bars.Left;
  double h = bars.Bottom - bars.Top;
  for (const TNvBar& bar : bars_) {
    TQRBox r{bars.Left + static_cast<int>(bar.X * w), bars.Top + static_cast<int>(bar.Y * h),
             bars.Left + static_cast<int>((bar.X + bar.Width) * w),
             bars.Top + static_cast<int>((bar.Y + bar.Height) * h)};
    context.Canvas.FillRect(r, 0);
  }
  if (!ShowText || printed_.empty()) return;
  TQRBox line = box;
  if (above)
    line.Bottom = box.Top + textHeight;
  else
    line.Top = box.Bottom - textHeight;
  int pos = TextPosition % 3;
  auto align = pos == 0   ? TQRTextAlign::Left
               : pos == 1 ? TQRTextAlign::Right
                          : TQRTextAlign::Center;
  context.Canvas.Text(line, font, printed_, align, true);
}

}  // namespace nv
