#pragma once
// The suite's report printables. TNVQRDBText is a data text with a text type that selects
// how the layout formats it (0 plain, 1 date, 2 percentage, 3 amount in words, 4 masked
// total, 5 value map; the layout binds the print handler when the type changes), a value-map
// text, and code items (value=text pairs) that print a text instead of a code.
// TNvQRDBBarcode draws its field's value as a bar code of one of the kinds below; a character
// the kind cannot encode is replaced by what OnInvalidChar answers.
#include <string>
#include <vector>

#include "platform/report/QRCtrls.h"

namespace nv {

class TDataSource;

using TNvTextTypeChangeEvent = TNotifyEvent;  // (Sender)

class TNVQRDBText : public TQRDBText {
  NV_CLASS(TNVQRDBText, TQRDBText)
 public:
  explicit TNVQRDBText(TComponent* owner);
  int TextType() const { return textType_; }
  // 0 to 5; a change raises OnTextTypeChange.
  void SetTextType(int v);
  std::string ValueMap;  // code + char 3 + text entries, separated by "||"
  TStringList* Items() const { return items_.get(); }
  void SetItems(TStringList* v) { items_->Assign(*v); }
  TNvTextTypeChangeEvent OnTextTypeChange;

  // With code items: the text of the value's item, or the value when it has none.
  std::string PrintText(TQRPrintContext& context) override;
  // A layout read from its text binds its handlers again.
  void Loaded() override;

 private:
  int textType_ = 0;
  std::unique_ptr<TStringList> items_ = std::make_unique<TStringList>();
};

// Ordinals are what layouts store. Kinds 7, 12 and 22 take digits only: Interleaved 2 of 5
// encodes digits in pairs, EAN-13 single digits, Code 128 set C digit pairs.
NV_ENUM(TNvBarcodeKind, bkCode39, bkCode39Extended, bkCode93, bkCode128, bkCode128A, bkCode128B,
        bkCode11, bkInterleaved2of5, bkIndustrial2of5, bkMatrix2of5, bkCodabar, bkEAN8, bkEAN13,
        bkUPCA, bkUPCE, bkMSI, bkPostNet, bkPlessey, bkTelepen, bkPDF417, bkDataMatrix, bkQRCode,
        bkCode128C)

// Whether the kind can encode the character (one byte of the text).
bool BarcodeAccepts(TNvBarcodeKind kind, unsigned char c);

// (Sender, var Replacement), the shape of a print event.
using TNvBarcodeInvalidCharEvent = TQRLabelOnPrintEvent;

// Bars in the unit square of the symbol (x, y, width, height from 0 to 1).
struct TNvBar {
  float X, Y, Width, Height;
};

class TNvQRDBBarcode : public TQRPrintable {
  NV_CLASS(TNvQRDBBarcode, TQRPrintable)
 public:
  explicit TNvQRDBBarcode(TComponent* owner);
  TNvBarcodeKind BarcodeKind = bkCode128;
  std::string DataField;
  std::string Text;  // shown without a data field (the designer's sample)
  bool ShowText = true;
  int TextPosition = 5;  // 0-2 above (left, right, centre), 3-5 below (left, right, centre)
  bool AutoWidth = false;
  TNvBarcodeInvalidCharEvent OnInvalidChar;
  // The data source whose data set gives the field; the report's data set without one.
  TDataSource* DataSource() const { return dataSource_; }
  void SetDataSource(TDataSource* v);
  void Notification(TComponent* component, TOperation operation) override;

  // The text as it will be encoded, invalid characters replaced (an empty replacement
  // drops the character).
  std::string EncodableText(const std::string& text);
  const std::string& PrintedText() const { return printed_; }
  const std::vector<TNvBar>& Bars() const { return bars_; }
  // Why the last text could not be encoded (the text then prints without bars).
  const std::string& EncodeError() const { return error_; }

  int Prepare(TQRPrintContext& context) override;
  void Print(TQRPrintContext& context) override;

 private:
  std::string SourceText(TQRPrintContext& context) const;
  void Encode();

  TDataSource* dataSource_ = nullptr;
  std::string printed_;
  std::string encoded_;
  std::vector<TNvBar> bars_;
  std::string error_;
};

}  // namespace nv
