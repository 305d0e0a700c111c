#pragma once
// A page like the line-clearance voucher: a background metafile with the captions in two
// columns and the rulings, and about 45 fields placed on it, in layout pixels (1/96 inch).
// The same page can be drawn straight with Cairo and Pango, to compare with the replay.
#include <pango/pangocairo.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "platform/core/CodePage.h"
#include "platform/graphics/Metafile.h"
#include "platform/graphics/Page.h"
#include "platform/graphics/PageFonts.h"

namespace nv::sample {

struct TCaption {
  int X, Y;
  const char* Text;  // UTF-8
};
struct TField {
  int X, Y, Width;
  const char* Column;
};

// Captions of the background, left of the fields.
inline const std::vector<TCaption>& Captions() {
  static const std::vector<TCaption> kCaptions = {
      {8, 52, "制表日期:"},         {8, 67, "清场单别:"},
      {8, 82, "清场单号:"},         {8, 98, "单据日期:"},
      {8, 113, "类    型:"},        {8, 128, "工单单别:"},
      {8, 144, "工单单号:"},        {8, 160, "加工顺序:"},
      {8, 175, "工    艺:"},        {8, 190, "产品品号:"},
      {8, 206, "产品品名:"},        {8, 221, "产品规格:"},
      {8, 237, "生产批号:"},        {8, 252, "批号说明:"},
      {8, 269, "预计产量:"},        {8, 285, "工作中心:"},
      {8, 300, "清场日期:"},        {8, 315, "清场人员:"},
      {660, 52, "页次:"},           {716, 52, "/"},
      {350, 68, "续生产工单单别:"}, {350, 83, "续生产工单单号:"},
      {350, 99, "续生产加工顺序:"}, {350, 114, "续生产工艺:"},
      {350, 130, "续生产品号:"},    {350, 145, "续生产品名:"},
      {350, 161, "续生产规格:"},    {350, 176, "续生产批号:"},
      {350, 192, "批号说明:"},      {350, 208, "已开立准产证:"},
      {350, 222, "有效日期:"},      {350, 238, "审核码:"},
      {350, 254, "审核者:"},        {350, 270, "备    注:"},
      {350, 286, "签核状态:"},      {350, 301, "打印次数:"},
      {350, 316, "传送次数:"},
  };
  return kCaptions;
}

inline const std::vector<TField>& Fields() {
  static const std::vector<TField> kFields = {
      {62, 67, 54, "TD001"},       {120, 67, 78, "MQ002"},   {62, 82, 132, "TD002"},
      {62, 98, 130, "TD003"},      {62, 113, 93, "TD004"},   {62, 128, 74, "TD005"},
      {138, 128, 115, "MQ002B"},   {62, 144, 130, "TD006"},  {62, 160, 125, "TD023"},
      {62, 175, 59, "TD007"},      {129, 175, 115, "MW002"}, {62, 190, 130, "TA006"},
      {62, 206, 171, "TA034"},     {62, 221, 175, "TA035"},  {62, 237, 151, "TA057"},
      {62, 252, 215, "TA058"},     {62, 269, 171, "TA015"},  {62, 285, 118, "TA021"},
      {183, 285, 115, "MD002"},    {62, 300, 130, "TD008"},  {62, 315, 77, "TD009"},
      {148, 315, 174, "CMSMV002"}, {443, 68, 54, "TD010"},   {501, 68, 109, "MQ002C"},
      {443, 83, 199, "TD011"},     {443, 99, 132, "TD024"},  {443, 114, 55, "TD012"},
      {502, 114, 115, "MW002B"},   {443, 130, 130, "TD013"}, {443, 145, 247, "TD025"},
      {443, 161, 247, "TD026"},    {443, 176, 170, "TD014"}, {443, 192, 247, "TD027"},
      {443, 208, 170, "TD015"},    {443, 222, 170, "TD016"}, {443, 238, 172, "TD017"},
      {443, 254, 171, "TD018"},    {443, 270, 239, "TD019"}, {443, 286, 215, "TD020"},
      {443, 301, 160, "TD021"},    {443, 316, 172, "TD022"},
  };
  return kFields;
}

// Horizontal rulings under each row of the left column, in layout pixels.
inline std::vector<int> RulingRows() {
  std::vector<int> rows;
  for (const TCaption& c : Captions()) {
    if (c.X == 8 && c.Y > 52) rows.push_back(c.Y + 14);
  }
  return rows;
}

constexpr int kVoucherWidth = 816;   // layout pixels: a Letter page at zoom 100
constexpr int kVoucherHeight = 528;  // half a Letter page: two vouchers a sheet

// The field text of a record, in the system code page.
inline std::string FieldText(const TField& f, int record) {
  std::string column = f.Column;
  char buf[64];
  if (column == "TD001") return "QC01";
  if (column == "TD002" || column == "TD006" || column == "TD011") {
    std::snprintf(buf, sizeof buf, "2026%07d", record);
    return buf;
  }
  if (column == "TD003" || column == "TD008" || column == "TD016") return "2026/12/11";
  if (column == "TD004") return SysText("工单");
  if (column == "TD020") return SysText("已核准");
  if (column == "TA034" || column == "TD025") return SysText("阿莫西林胶囊 0.25g");
  if (column == "TA035" || column == "TD026") return SysText("24粒/板×2板/盒");
  if (column == "TD009") return "E0017";
  if (column == "CMSMV002") return SysText("张伟");
  if (column == "MD002") return SysText("固体制剂车间");
  if (column == "TD019") return SysText("清场合格，准予生产");
  if (column.rfind("MQ002", 0) == 0) return SysText("生产工单");
  if (column.rfind("MW002", 0) == 0) return SysText("胶囊填充");
  std::snprintf(buf, sizeof buf, "%s-%d", f.Column, record % 1000);
  return buf;
}

inline TEmfFont CaptionFont() {
  TEmfFont font;
  font.Height = -12;  // 9 points at 96 dpi
  font.Charset = GB2312_CHARSET;
  font.Face = "宋体";
  return font;
}

// The frame starts under the row of the date and page captions, so they stand clear of it.
constexpr int kFrameTop = 66;

// The background metafile of one voucher: captions, rulings, the frame and a small logo.
inline std::string BackgroundEmf(int width = kVoucherWidth, int height = kVoucherHeight) {
  TEmfWriter emf(width, height);
  std::uint32_t pen = emf.CreatePen(PS_SOLID, 1, 0x000000);
  std::uint32_t thin = emf.CreatePen(PS_DOT, 0, 0x808080);
  std::uint32_t font = emf.CreateFont(CaptionFont());
  emf.SetBkMode(TRANSPARENT);
  emf.SetTextColor(0x000000);
  emf.SelectObject(font);
  for (const TCaption& c : Captions()) emf.TextOutW(c.X, c.Y, c.Text);
  emf.SelectObject(thin);
  for (int y : RulingRows()) {
    emf.MoveTo(8, y);
    emf.LineTo(330, y);
    emf.MoveTo(350, y);
    emf.LineTo(700, y);
  }
  emf.SelectObject(pen);
  emf.SelectObject(kStockObject | NULL_BRUSH);
  emf.Rectangle(4, kFrameTop, 712, 334);
  emf.Polyline({{340, kFrameTop}, {340, 334}});
  std::vector<std::uint32_t> logo(24 * 24);
  for (int y = 0; y < 24; ++y) {
    for (int x = 0; x < 24; ++x) logo[y * 24 + x] = (x / 6 + y / 6) % 2 ? 0x1F4E9A : 0xFFFFFF;
  }
  emf.StretchDIBits(12, 8, 36, 36, 24, 24, logo);
  return emf.Bytes();
}

inline TPageFont FieldFont(int size = 9) {
  TPageFont font;
  font.Name = SysText("宋体");
  font.Size = size;
  font.Charset = GB2312_CHARSET;
  return font;
}

inline TPageRect Box(int top, int x, int y, int w, int h) {
  return {x * kTwipsPerLayoutPixel, (top + y) * kTwipsPerLayoutPixel,
          (x + w) * kTwipsPerLayoutPixel, (top + y + h) * kTwipsPerLayoutPixel};
}

// One voucher placed `top` layout pixels down the page.
inline void AddVoucher(TPage& page, int top, int record, int pageNo, int pageCount,
                       const std::shared_ptr<const TPageImage>& background) {
  page.AddPicture(Box(top, 0, 0, kVoucherWidth, kVoucherHeight), background);
  page.AddText(Box(top, 72, 0, 596, 24), FieldFont(16), SysText("江南制药股份有限公司"), taCenter);
  page.AddText(Box(top, 131, 26, 477, 20), FieldFont(14), SysText("清场记录单"), taCenter);
  page.AddText(Box(top, 57, 52, 70, 15), FieldFont(), "2026/12/11");
  page.AddText(Box(top, 695, 52, 21, 15), FieldFont(), std::to_string(pageCount), taRightJustify);
  page.AddText(Box(top, 719, 52, 15, 15), FieldFont(), std::to_string(pageNo));
  for (const TField& f : Fields()) {
    page.AddText(Box(top, f.X, f.Y, f.Width, 15), FieldFont(), FieldText(f, record), taLeftJustify,
                 true);
  }
  page.AddLine(Box(top, 4, 350, 0, 0).Left, Box(top, 4, 350, 0, 0).Top,
               Box(top, 712, 350, 0, 0).Left, Box(top, 712, 350, 0, 0).Top, {0, 15, psSolid});
  page.AddText(Box(top, 12, 358, 706, 15), FieldFont(), SysText("备注：本记录一式两份。"));
  page.AddText(Box(top, 12, 374, 706, 15), FieldFont(),
               SysText("签收：________    复核：________"));
}

// Drawing the same voucher straight with Cairo and Pango, the way a program without display
// lists would: one layout per text, the background's captions and rulings drawn directly.
class TStraightVoucher {
 public:
  TStraightVoucher() : context_(pango_font_map_create_context(PageFontMap())) {
    pango_cairo_context_set_resolution(context_, 72);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    pango_cairo_context_set_font_options(context_, options);
    cairo_font_options_destroy(options);
    logo_.resize(24 * 24);
    for (int y = 0; y < 24; ++y) {
      for (int x = 0; x < 24; ++x) logo_[y * 24 + x] = (x / 6 + y / 6) % 2 ? 0x1F4E9A : 0xFFFFFF;
    }
  }
  ~TStraightVoucher() { g_object_unref(context_); }

  // cr in layout pixels.
  void Draw(cairo_t* cr, int top, int record, int pageNo, int pageCount) {
    cairo_set_source_rgb(cr, 0, 0, 0);
    for (const TCaption& c : Captions()) Text(cr, c.X, top + c.Y, 12, c.Text, false, 0);
    cairo_set_line_width(cr, 1);
    static const double kDot[] = {1, 2};
    cairo_set_dash(cr, kDot, 2, 0);
    cairo_set_source_rgb(cr, 0.5, 0.5, 0.5);
    for (int y : RulingRows()) {
      cairo_move_to(cr, 8, top + y + 0.5);
      cairo_line_to(cr, 330, top + y + 0.5);
      cairo_move_to(cr, 350, top + y + 0.5);
      cairo_line_to(cr, 700, top + y + 0.5);
    }
    cairo_stroke(cr);
    cairo_set_dash(cr, nullptr, 0, 0);
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_rectangle(cr, 4.5, top + kFrameTop + 0.5, 708, 334 - kFrameTop);
    cairo_move_to(cr, 340.5, top + kFrameTop);
    cairo_line_to(cr, 340.5, top + 334);
    cairo_stroke(cr);
    cairo_surface_t* logo = cairo_image_surface_create_for_data(
        reinterpret_cast<unsigned char*>(logo_.data()), CAIRO_FORMAT_RGB24, 24, 24, 96);
    cairo_save(cr);
    cairo_translate(cr, 12, top + 8);
    cairo_scale(cr, 1.5, 1.5);
    cairo_set_source_surface(cr, logo, 0, 0);
    cairo_paint(cr);
    cairo_restore(cr);
    cairo_surface_destroy(logo);
    cairo_set_source_rgb(cr, 0, 0, 0);
    Text(cr, 72, top, 16 * 96 / 72.0, AnsiToUtf8(SysText("江南制药股份有限公司")), true, 596);
    Text(cr, 131, top + 26, 14 * 96 / 72.0, AnsiToUtf8(SysText("清场记录单")), true, 477);
    Text(cr, 57, top + 52, 12, "2026/12/11", false, 0);
    Text(cr, 695, top + 52, 12, std::to_string(pageCount), false, 0);
    Text(cr, 719, top + 52, 12, std::to_string(pageNo), false, 0);
    for (const TField& f : Fields()) {
      cairo_save(cr);
      cairo_rectangle(cr, f.X, top + f.Y, f.Width, 15);
      cairo_clip(cr);
      Text(cr, f.X, top + f.Y, 12, AnsiToUtf8(FieldText(f, record)), false, 0);
      cairo_restore(cr);
    }
    cairo_move_to(cr, 4, top + 350);
    cairo_line_to(cr, 712, top + 350);
    cairo_stroke(cr);
    Text(cr, 12, top + 358, 12, AnsiToUtf8(SysText("备注：本记录一式两份。")), false, 0);
    Text(cr, 12, top + 374, 12, AnsiToUtf8(SysText("签收：________    复核：________")), false, 0);
  }

 private:
  void Text(cairo_t* cr, double x, double y, double pixels, const std::string& utf8, bool center,
            double width) {
    PangoLayout* layout = pango_layout_new(context_);
    PangoFontDescription* desc = pango_font_description_from_string("SimSun");
    pango_font_description_set_absolute_size(desc, pixels * PANGO_SCALE);
    pango_layout_set_font_description(layout, desc);
    pango_font_description_free(desc);
    pango_layout_set_text(layout, utf8.data(), static_cast<int>(utf8.size()));
    if (center) {
      int w, h;
      pango_layout_get_size(layout, &w, &h);
      x += (width - w / double(PANGO_SCALE)) / 2;
    }
    cairo_move_to(cr, x, y);
    pango_cairo_show_layout(cr, layout);
    g_object_unref(layout);
  }

  PangoContext* context_;
  std::vector<std::uint32_t> logo_;
};

}  // namespace nv::sample
