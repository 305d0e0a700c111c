#include "platform/rtti/Font.h"

#include <cstdio>

namespace nv {

const TIdentMap& NvIdentMap(const TColor*) {
  static const TIdentMap map("TColor", {{clBlack, "clBlack"},
                                        {clMaroon, "clMaroon"},
                                        {clGreen, "clGreen"},
                                        {clOlive, "clOlive"},
                                        {clNavy, "clNavy"},
                                        {clPurple, "clPurple"},
                                        {clTeal, "clTeal"},
                                        {clGray, "clGray"},
                                        {clSilver, "clSilver"},
                                        {clRed, "clRed"},
                                        {clLime, "clLime"},
                                        {clYellow, "clYellow"},
                                        {clBlue, "clBlue"},
                                        {clFuchsia, "clFuchsia"},
                                        {clAqua, "clAqua"},
                                        {clWhite, "clWhite"},
                                        {clMoneyGreen, "clMoneyGreen"},
                                        {clSkyBlue, "clSkyBlue"},
                                        {clCream, "clCream"},
                                        {clMedGray, "clMedGray"},
                                        {clNone, "clNone"},
                                        {clDefault, "clDefault"},
                                        {clScrollBar, "clScrollBar"},
                                        {clBackground, "clBackground"},
                                        {clActiveCaption, "clActiveCaption"},
                                        {clInactiveCaption, "clInactiveCaption"},
                                        {clMenu, "clMenu"},
                                        {clWindow, "clWindow"},
                                        {clWindowFrame, "clWindowFrame"},
                                        {clMenuText, "clMenuText"},
                                        {clWindowText, "clWindowText"},
                                        {clCaptionText, "clCaptionText"},
                                        {clActiveBorder, "clActiveBorder"},
                                        {clInactiveBorder, "clInactiveBorder"},
                                        {clAppWorkSpace, "clAppWorkSpace"},
                                        {clHighlight, "clHighlight"},
                                        {clHighlightText, "clHighlightText"},
                                        {clBtnFace, "clBtnFace"},
                                        {clBtnShadow, "clBtnShadow"},
                                        {clGrayText, "clGrayText"},
                                        {clBtnText, "clBtnText"},
                                        {clInactiveCaptionText, "clInactiveCaptionText"},
                                        {clBtnHighlight, "clBtnHighlight"},
                                        {cl3DDkShadow, "cl3DDkShadow"},
                                        {cl3DLight, "cl3DLight"},
                                        {clInfoText, "clInfoText"},
                                        {clInfoBk, "clInfoBk"}});
  return map;
}

const TIdentMap& NvIdentMap(const TFontCharset*) {
  static const TIdentMap map("TFontCharset", {{0, "ANSI_CHARSET"},
                                              {1, "DEFAULT_CHARSET"},
                                              {2, "SYMBOL_CHARSET"},
                                              {77, "MAC_CHARSET"},
                                              {128, "SHIFTJIS_CHARSET"},
                                              {129, "HANGEUL_CHARSET"},
                                              {130, "JOHAB_CHARSET"},
                                              {134, "GB2312_CHARSET"},
                                              {136, "CHINESEBIG5_CHARSET"},
                                              {161, "GREEK_CHARSET"},
                                              {162, "TURKISH_CHARSET"},
                                              {163, "VIETNAMESE_CHARSET"},
                                              {177, "HEBREW_CHARSET"},
                                              {178, "ARABIC_CHARSET"},
                                              {186, "BALTIC_CHARSET"},
                                              {204, "RUSSIAN_CHARSET"},
                                              {222, "THAI_CHARSET"},
                                              {238, "EASTEUROPE_CHARSET"},
                                              {255, "OEM_CHARSET"}});
  return map;
}

std::string ColorToString(TColor color) {
  if (const char* ident = NvIdentMap(static_cast<const TColor*>(nullptr)).ToIdent(color))
    return ident;
  char buf[16];
  std::snprintf(buf, sizeof buf, "$%.8X", static_cast<unsigned>(color));
  return buf;
}

bool IdentToColor(std::string_view ident, TColor& color) {
  auto v = NvIdentMap(static_cast<const TColor*>(nullptr)).ToValue(Trim(ident));
  if (!v) return false;
  color = static_cast<TColor>(*v);
  return true;
}

TColor StringToColor(std::string_view text) {
  TColor color{};
  if (IdentToColor(text, color)) return color;
  std::int64_t v = 0;
  if (!TryStrToInt64(text, v) || v < INT32_MIN || v > UINT32_MAX)
    throw EConvertError("'" + std::string(text) + "' is not a valid colour");
  return ToColor(static_cast<std::uint32_t>(v));
}

std::string CharsetToIdent(TFontCharset charset) {
  if (const char* ident = NvIdentMap(static_cast<const TFontCharset*>(nullptr)).ToIdent(charset))
    return ident;
  return std::to_string(static_cast<int>(charset));
}

bool IdentToCharset(std::string_view ident, TFontCharset& charset) {
  auto v = NvIdentMap(static_cast<const TFontCharset*>(nullptr)).ToValue(Trim(ident));
  if (!v) return false;
  charset = static_cast<TFontCharset>(*v);
  return true;
}

// ---------------------------------------------------------------------------------------

NV_PUBLISH(TFont) {
  b.Prop("Charset", &TFont::Charset, &TFont::SetCharset).Default(DEFAULT_CHARSET);
  b.Prop("Color", &TFont::Color, &TFont::SetColor);
  b.Prop("Height", &TFont::Height, &TFont::SetHeight);
  b.Prop("Name", &TFont::Name, &TFont::SetName);
  b.Prop("Pitch", &TFont::Pitch, &TFont::SetPitch).Default(fpDefault);
  b.Prop("Size", &TFont::Size, &TFont::SetSize).Stored(false);
  b.Prop("Style", &TFont::Style, &TFont::SetStyle);
}

namespace {
// Rounds half away from zero, as the platform's MulDiv does.
int MulDiv(int a, int b, int c) {
  long long n = static_cast<long long>(a) * b;
  long long q = (n >= 0 ? n + c / 2 : n - c / 2) / c;
  return static_cast<int>(q);
}
}  // namespace

void TFont::Changed() {
  OnChange(this);
}

void TFont::SetName(const std::string& name) {
  if (name.empty() || name == name_) return;
  name_ = name;
  Changed();
}

void TFont::SetHeight(int height) {
  if (height == height_) return;
  height_ = height;
  Changed();
}

int TFont::Size() const {
  return -MulDiv(height_, 72, pixelsPerInch_);
}

void TFont::SetSize(int size) {
  SetHeight(-MulDiv(size, pixelsPerInch_, 72));
}

void TFont::SetStyle(TFontStyles style) {
  if (style == style_) return;
  style_ = style;
  Changed();
}

void TFont::SetColor(TColor color) {
  if (color == color_) return;
  color_ = color;
  Changed();
}

void TFont::SetCharset(TFontCharset charset) {
  if (charset == charset_) return;
  charset_ = charset;
  Changed();
}

void TFont::SetPitch(TFontPitch pitch) {
  if (pitch == pitch_) return;
  pitch_ = pitch;
  Changed();
}

bool TFont::SameAs(const TFont& o) const {
  return name_ == o.name_ && height_ == o.height_ && style_ == o.style_ && color_ == o.color_ &&
         charset_ == o.charset_ && pitch_ == o.pitch_;
}

void TFont::Assign(const TPersistent& source) {
  auto* font = dynamic_cast<const TFont*>(&source);
  if (!font) {
    TPersistent::Assign(source);
    return;
  }
  if (SameAs(*font)) return;
  name_ = font->name_;
  height_ = font->height_;
  style_ = font->style_;
  color_ = font->color_;
  charset_ = font->charset_;
  pitch_ = font->pitch_;
  Changed();
}

}  // namespace nv
