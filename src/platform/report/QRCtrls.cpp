#include "platform/report/QRCtrls.h"

#include <algorithm>

#include "platform/data/DB.h"

namespace nv {

NV_PUBLISH(TQRCustomLabel) {
  b.Prop("AutoStretch", &TQRCustomLabel::AutoStretch, &TQRCustomLabel::AutoStretch).Default(false);
  b.Prop("WordWrap", &TQRCustomLabel::WordWrap, &TQRCustomLabel::WordWrap).Default(false);
  b.Prop("OnPrint", &TQRCustomLabel::OnPrint, &TQRCustomLabel::OnPrint);
}

// The print event runs here, once a print, before the band knows its height.
int TQRCustomLabel::Prepare(TQRPrintContext& context) {
  std::string text = PrintText(context);
  OnPrint(this, text);
  lines_.clear();
  printHeight_ = Height;
  if (!WordWrap || AutoSize) {
    lines_.push_back(std::move(text));
    return Height;
  }
  TQRFontSpec font = FontSpecOf(*Font());
  lines_ = TQRCanvas::WrapText(font, text, Width * kTwipsPerLayoutPx);
  if (AutoStretch) {
    int needed = static_cast<int>(lines_.size()) * TQRCanvas::LineHeight(font);
    printHeight_ = std::max(Height, (needed + kTwipsPerLayoutPx - 1) / kTwipsPerLayoutPx);
  }
  return printHeight_;
}

void TQRCustomLabel::Print(TQRPrintContext& context) {
  TQRPrintable::Print(context);
  TQRBox box = BoxAt(context.BandLeft, context.BandTop);
  box.Bottom = box.Top + printHeight_ * kTwipsPerLayoutPx;
  TQRFontSpec font = FontSpecOf(*Font());
  auto align = Alignment == qr::taRightJustify ? TQRTextAlign::Right
               : Alignment == qr::taCenter     ? TQRTextAlign::Center
                                               : TQRTextAlign::Left;
  if (lines_.size() == 1) {
    const std::string& text = lines_[0];
    if (AutoSize) {
      // Only auto-sized texts need measuring: the page aligns the others in their box.
      int width = TQRCanvas::TextWidth(font, text);
      if (Alignment == qr::taLeftJustify)
        box.Right = box.Left + width;
      else if (Alignment == qr::taRightJustify)
        box.Left = box.Right - width;
      else
        box.Left = (box.Left + box.Right - width) / 2, box.Right = box.Left + width;
    }
    if (!text.empty()) context.Canvas.Text(box, font, text, align, !AutoSize);
    return;
  }
  int lineHeight = TQRCanvas::LineHeight(font);
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    TQRBox line = box;
    line.Top = box.Top + static_cast<int>(i) * lineHeight;
    if (line.Top >= box.Bottom) break;  // the rest does not show in a box that cannot grow
    line.Bottom = std::min(box.Bottom, line.Top + lineHeight);
    if (!lines_[i].empty()) context.Canvas.Text(line, font, lines_[i], align, true);
  }
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

NV_PUBLISH(TQRMemo) {
  b.Prop("Lines", &TQRMemo::Lines, &TQRMemo::SetLines);
}

TQRMemo::TQRMemo(TComponent* owner) : TQRCustomLabel(owner) {
  WordWrap = true;
}

std::string TQRMemo::PrintText(TQRPrintContext&) {
  std::string text;
  for (int i = 0; i < lines_->Count(); ++i) {
    if (i) text += "\r\n";
    text += lines_->Strings(i);
  }
  return text;
}

NV_PUBLISH(TQRImage) {
  b.Prop("Center", &TQRImage::Center, &TQRImage::Center).Default(false);
  b.Prop("Picture", &TQRImage::Picture, &TQRImage::SetPicture);
  b.Prop("Stretch", &TQRImage::Stretch, &TQRImage::Stretch).Default(false);
}

void TQRImage::Print(TQRPrintContext& context) {
  TQRPrintable::Print(context);
  const auto& image = picture_->Image();
  if (!image) return;
  TQRBox box = BoxAt(context.BandLeft, context.BandTop);
  if (!Stretch) {
    int w = picture_->WidthTwips();
    int h = picture_->HeightTwips();
    int left = Center ? (box.Left + box.Right - w) / 2 : box.Left;
    int top = Center ? (box.Top + box.Bottom - h) / 2 : box.Top;
    box = TQRBox{left, top, left + w, top + h};
  }
  context.Canvas.Picture(box, image);
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
