#include "platform/report/QRCtrls.h"

#include "platform/data/DB.h"

namespace nv {

NV_PUBLISH(TQRCustomLabel) {
  b.Prop("OnPrint", &TQRCustomLabel::OnPrint, &TQRCustomLabel::OnPrint);
}

void TQRCustomLabel::Print(TQRPrintContext& context) {
  std::string text = PrintText(context);
  OnPrint(this, text);
  TQRPrintable::Print(context);
  TQRBox box = BoxAt(context.BandLeft, context.BandTop);
  TQRFontSpec font = FontSpecOf(*Font());
  if (AutoSize) {
    // Only auto-sized texts need the fonts: the page aligns the others in their box.
    int width = TQRCanvas::TextWidth(font, text);
    if (Alignment == qr::taLeftJustify)
      box.Right = box.Left + width;
    else if (Alignment == qr::taRightJustify)
      box.Left = box.Right - width;
    else
      box.Left = (box.Left + box.Right - width) / 2, box.Right = box.Left + width;
  }
  auto align = Alignment == qr::taRightJustify ? TQRTextAlign::Right
               : Alignment == qr::taCenter     ? TQRTextAlign::Center
                                               : TQRTextAlign::Left;
  if (!text.empty()) context.Canvas.Text(box, font, text, align, !AutoSize);
}

NV_PUBLISH(TQRLabel) {
  b.Prop("Caption", &TQRLabel::Caption, &TQRLabel::Caption);
}

std::string TQRLabel::PrintText(TQRPrintContext&) {
  return Caption;
}

NV_PUBLISH(TQRDBText) {
  b.Prop("DataField", &TQRDBText::DataField, &TQRDBText::DataField);
}

std::string TQRDBText::PrintText(TQRPrintContext& context) {
  TDataSet* data = dataSet_ ? dataSet_ : context.Report.DataSet();
  if (!data) throw EQuickReportError(Name() + " has no data set");
  TField* field = data->FindField(DataField);
  if (!field)
    throw EQuickReportError(Name() + ": field '" + DataField + "' not found in " +
                            (data->Name().empty() ? std::string("the data set") : data->Name()));
  return field->DisplayText();
}

NV_PUBLISH(TQRExpr) {
  b.Prop("Expression", &TQRExpr::Expression, &TQRExpr::Expression);
}

std::string TQRExpr::PrintText(TQRPrintContext& context) {
  try {
    return EvaluateExpression(Expression, ReportExprEnv(context.Report)).AsText();
  } catch (const EQRExprError& e) {
    throw EQRExprError(Name() + ": " + e.what());
  }
}

TQRExprEnv ReportExprEnv(const TQuickRep& report) {
  TQRExprEnv env;
  env.Field = [&report](std::string_view dataSet, std::string_view name, TQRValue& value) {
    TDataSet* data = dataSet.empty() ? report.DataSet() : report.FindDataSet(dataSet);
    TField* field = data ? data->FindField(name) : nullptr;
    if (!field) return false;
    switch (field->DataType()) {
      case TFieldType::ftInteger:
      case TFieldType::ftFloat:
        value = TQRValue::OfNumber(field->IsNull() ? 0 : field->AsFloat());
        break;
      case TFieldType::ftBoolean:
        value = TQRValue::OfBoolean(!field->IsNull() && field->AsInteger() != 0);
        break;
      default:
        value = TQRValue::OfString(field->DisplayText());
    }
    return true;
  };
  env.Function = [&report](std::string_view name, TQRValue& value) {
    if (SameText(name, "PAGENUMBER"))
      value = TQRValue::OfNumber(report.PageNumber());
    else if (SameText(name, "COLUMNNUMBER"))
      value = TQRValue::OfNumber(1);
    else if (SameText(name, "REPORTTITLE"))
      value = TQRValue::OfString(report.ReportTitle);
    else
      return false;
    return true;
  };
  return env;
}

NV_PUBLISH(TQRShapePen) {
  b.Prop("Color", &TQRShapePen::Color, &TQRShapePen::Color).Default(clBlack);
  b.Prop("Width", &TQRShapePen::Width, &TQRShapePen::Width).Default(1);
}

void TQRShapePen::Assign(const TPersistent& source) {
  if (auto* p = dynamic_cast<const TQRShapePen*>(&source)) {
    Color = p->Color;
    Width = p->Width;
    return;
  }
  TPersistent::Assign(source);
}

NV_PUBLISH(TQRShapeBrush) {
  b.Prop("Color", &TQRShapeBrush::Color, &TQRShapeBrush::Color).Default(clWhite);
  b.Prop("Style", &TQRShapeBrush::Style, &TQRShapeBrush::Style).Default(qr::bsSolid);
}

void TQRShapeBrush::Assign(const TPersistent& source) {
  if (auto* p = dynamic_cast<const TQRShapeBrush*>(&source)) {
    Color = p->Color;
    Style = p->Style;
    return;
  }
  TPersistent::Assign(source);
}

NV_PUBLISH(TQRShape) {
  b.Prop("Brush", &TQRShape::Brush, &TQRShape::SetBrush);
  b.Prop("Pen", &TQRShape::Pen, &TQRShape::SetPen);
  b.Prop("Shape", &TQRShape::Shape, &TQRShape::Shape).Default(qrsRectangle);
}

TQRShape::TQRShape(TComponent* owner) : TQRPrintable(owner) {
  Width = 65;
  Height = 65;
}

void TQRShape::Print(TQRPrintContext& context) {
  TQRBox box = BoxAt(context.BandLeft, context.BandTop);
  std::int32_t pen = PageColorOf(pen_->Color, 0);
  int width = pen_->Width * kTwipsPerLayoutPx;
  std::int32_t brush = brush_->Style == qr::bsClear ? -1 : PageColorOf(brush_->Color, 0xFFFFFF);
  TQRCanvas& c = context.Canvas;
  int midX = (box.Left + box.Right) / 2;
  int midY = (box.Top + box.Bottom) / 2;
  switch (Shape) {
    case qrsRectangle:
      c.Rectangle(box, pen, width, brush);
      break;
    case qrsCircle:
      c.Ellipse(box, pen, width, brush);
      break;
    case qrsVertLine:
      c.Line(midX, box.Top, midX, box.Bottom, pen, width);
      break;
    case qrsHorLine:
      c.Line(box.Left, midY, box.Right, midY, pen, width);
      break;
    case qrsTopAndBottom:
      c.Line(box.Left, box.Top, box.Right, box.Top, pen, width);
      c.Line(box.Left, box.Bottom, box.Right, box.Bottom, pen, width);
      break;
    case qrsRightAndLeft:
      c.Line(box.Left, box.Top, box.Left, box.Bottom, pen, width);
      c.Line(box.Right, box.Top, box.Right, box.Bottom, pen, width);
      break;
  }
}

}  // namespace nv
