#pragma once
// Printables: labels, data texts, expressions and shapes. Each may rewrite its text in
// OnPrint just before it is drawn.
#include <string>
#include <vector>

#include "platform/report/QRExpr.h"
#include "platform/report/QuickRpt.h"

namespace nv {

class TField;

namespace qr {
NV_ENUM(TBrushStyle, bsSolid, bsClear)
}  // namespace qr
NV_ENUM(TQRShapeType, qrsRectangle, qrsCircle, qrsVertLine, qrsHorLine, qrsTopAndBottom,
        qrsRightAndLeft)

// A printable with a text. With WordWrap the text breaks into lines at its width; with
// AutoStretch as well, the printable grows downwards to show every line, and its band with it.
class TQRCustomLabel : public TQRPrintable {
  NV_CLASS(TQRCustomLabel, TQRPrintable)
 public:
  using TQRPrintable::TQRPrintable;
  TQRLabelOnPrintEvent OnPrint;
  bool WordWrap = false;
  bool AutoStretch = false;
  // The text before OnPrint sees it.
  virtual std::string PrintText(TQRPrintContext& context) = 0;
  int Prepare(TQRPrintContext& context) override;
  void Print(TQRPrintContext& context) override;
  // What the last print showed, line by line.
  const std::vector<std::string>& PrintedLines() const { return lines_; }

 private:
  std::vector<std::string> lines_;
  int printHeight_ = 0;  // layout pixels
};

class TQRLabel : public TQRCustomLabel {
  NV_CLASS(TQRLabel, TQRCustomLabel)
 public:
  using TQRCustomLabel::TQRCustomLabel;
  std::string Caption;
  std::string PrintText(TQRPrintContext& context) override;
};

// The current record's value of DataField, as the field shows it. The data set is the
// report's unless one is set here.
class TQRDBText : public TQRCustomLabel {
  NV_CLASS(TQRDBText, TQRCustomLabel)
 public:
  using TQRCustomLabel::TQRCustomLabel;
  std::string DataField;
  TDataSet* DataSet() const { return dataSet_; }
  void SetDataSet(TDataSet* v) { dataSet_ = v; }
  std::string PrintText(TQRPrintContext& context) override;

 private:
  TDataSet* dataSet_ = nullptr;
};

// Lines of text; word-wrapped unless told otherwise.
class TQRMemo : public TQRCustomLabel {
  NV_CLASS(TQRMemo, TQRCustomLabel)
 public:
  explicit TQRMemo(TComponent* owner);
  TStringList* Lines() const { return lines_.get(); }
  void SetLines(TStringList* v) { lines_->Assign(*v); }
  std::string PrintText(TQRPrintContext& context) override;

 private:
  std::unique_ptr<TStringList> lines_ = std::make_unique<TStringList>();
};

// A picture in its box: at its own size from the top-left corner, centred, or stretched.
class TQRImage : public TQRPrintable {
  NV_CLASS(TQRImage, TQRPrintable)
 public:
  using TQRPrintable::TQRPrintable;
  TQRPicture* Picture() const { return picture_.get(); }
  void SetPicture(TQRPicture* v) { picture_->Assign(*v); }
  bool Stretch = false;
  bool Center = false;
  void Print(TQRPrintContext& context) override;

 private:
  std::unique_ptr<TQRPicture> picture_ = std::make_unique<TQRPicture>();
};

class TQRExpr : public TQRCustomLabel {
  NV_CLASS(TQRExpr, TQRCustomLabel)
 public:
  using TQRCustomLabel::TQRCustomLabel;
  std::string Expression;
  std::string PrintText(TQRPrintContext& context) override;
};

// Names resolved for a report's expressions: its data sets' fields (numbers for numeric
// fields, a null number as 0) and PAGENUMBER, COLUMNNUMBER, REPORTTITLE.
TQRExprEnv ReportExprEnv(const TQuickRep& report);

class TQRShapePen : public TPersistent {
  NV_CLASS(TQRShapePen, TPersistent)
 public:
  TColor Color = clBlack;
  int Width = 1;  // layout pixels
  void Assign(const TPersistent& source) override;
};

class TQRShapeBrush : public TPersistent {
  NV_CLASS(TQRShapeBrush, TPersistent)
 public:
  TColor Color = clWhite;
  qr::TBrushStyle Style = qr::bsSolid;
  void Assign(const TPersistent& source) override;
};

class TQRShape : public TQRPrintable {
  NV_CLASS(TQRShape, TQRPrintable)
 public:
  explicit TQRShape(TComponent* owner);
  TQRShapeType Shape = qrsRectangle;
  TQRShapePen* Pen() const { return pen_.get(); }
  void SetPen(TQRShapePen* v) { pen_->Assign(*v); }
  TQRShapeBrush* Brush() const { return brush_.get(); }
  void SetBrush(TQRShapeBrush* v) { brush_->Assign(*v); }
  void Print(TQRPrintContext& context) override;

 private:
  std::unique_ptr<TQRShapePen> pen_ = std::make_unique<TQRShapePen>();
  std::unique_ptr<TQRShapeBrush> brush_ = std::make_unique<TQRShapeBrush>();
};

}  // namespace nv
