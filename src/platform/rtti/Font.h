#pragma once
// Colours, character sets and the font sub-object that controls and report items publish.
#include <cstdint>
#include <string>

#include "platform/rtti/Classes.h"

namespace nv {

// Colours: $00BBGGRR, or a system colour (high bit set, index in the low byte); names as
// the platform writes them (clRed, clBtnFace). Unnamed values are written as numbers.
NV_IDENT_TYPE(TColor, std::int32_t);
constexpr TColor ToColor(std::uint32_t v) {
  return static_cast<TColor>(static_cast<std::int32_t>(v));
}
constexpr TColor clBlack = ToColor(0x000000), clMaroon = ToColor(0x000080),
                 clGreen = ToColor(0x008000), clOlive = ToColor(0x008080),
                 clNavy = ToColor(0x800000), clPurple = ToColor(0x800080),
                 clTeal = ToColor(0x808000), clGray = ToColor(0x808080),
                 clSilver = ToColor(0xC0C0C0), clRed = ToColor(0x0000FF),
                 clLime = ToColor(0x00FF00), clYellow = ToColor(0x00FFFF),
                 clBlue = ToColor(0xFF0000), clFuchsia = ToColor(0xFF00FF),
                 clAqua = ToColor(0xFFFF00), clWhite = ToColor(0xFFFFFF),
                 clMoneyGreen = ToColor(0xC0DCC0), clSkyBlue = ToColor(0xF0CAA6),
                 clCream = ToColor(0xF0FBFF), clMedGray = ToColor(0xA4A0A0),
                 clNone = ToColor(0x1FFFFFFF), clDefault = ToColor(0x20000000);
constexpr TColor SystemColor(int index) {
  return ToColor(0x80000000u | static_cast<std::uint32_t>(index));
}
constexpr TColor clScrollBar = SystemColor(0), clBackground = SystemColor(1),
                 clActiveCaption = SystemColor(2), clInactiveCaption = SystemColor(3),
                 clMenu = SystemColor(4), clWindow = SystemColor(5), clWindowFrame = SystemColor(6),
                 clMenuText = SystemColor(7), clWindowText = SystemColor(8),
                 clCaptionText = SystemColor(9), clActiveBorder = SystemColor(10),
                 clInactiveBorder = SystemColor(11), clAppWorkSpace = SystemColor(12),
                 clHighlight = SystemColor(13), clHighlightText = SystemColor(14),
                 clBtnFace = SystemColor(15), clBtnShadow = SystemColor(16),
                 clGrayText = SystemColor(17), clBtnText = SystemColor(18),
                 clInactiveCaptionText = SystemColor(19), clBtnHighlight = SystemColor(20),
                 cl3DDkShadow = SystemColor(21), cl3DLight = SystemColor(22),
                 clInfoText = SystemColor(23), clInfoBk = SystemColor(24);

// "clRed" or "$00AFFFFF"; and back ("$AFFFFF", "11534335" and names are accepted).
std::string ColorToString(TColor color);
bool IdentToColor(std::string_view ident, TColor& color);
TColor StringToColor(std::string_view text);  // raises EConvertError for other texts

// Character sets (GB2312_CHARSET = 134, CHINESEBIG5_CHARSET = 136, ...).
NV_IDENT_TYPE(TFontCharset, std::uint8_t);
constexpr TFontCharset ANSI_CHARSET = TFontCharset(0), DEFAULT_CHARSET = TFontCharset(1),
                       SYMBOL_CHARSET = TFontCharset(2), SHIFTJIS_CHARSET = TFontCharset(128),
                       HANGEUL_CHARSET = TFontCharset(129), GB2312_CHARSET = TFontCharset(134),
                       CHINESEBIG5_CHARSET = TFontCharset(136), OEM_CHARSET = TFontCharset(255);
std::string CharsetToIdent(TFontCharset charset);  // the number when it has no name
bool IdentToCharset(std::string_view ident, TFontCharset& charset);

NV_ENUM(TFontStyle, fsBold, fsItalic, fsUnderline, fsStrikeOut)
using TFontStyles = TSet<TFontStyle>;
NV_ENUM(TFontPitch, fpDefault, fpVariable, fpFixed)

// Height is the truth (negative: character height in pixels); Size is points at the
// font's PixelsPerInch and is derived, so only Height is stored.
class TFont : public TPersistent {
  NV_CLASS(TFont, TPersistent)
 public:
  TFont() = default;

  const std::string& Name() const { return name_; }
  void SetName(const std::string& name);
  int Height() const { return height_; }
  void SetHeight(int height);
  int Size() const;
  void SetSize(int size);
  TFontStyles Style() const { return style_; }
  void SetStyle(TFontStyles style);
  TColor Color() const { return color_; }
  void SetColor(TColor color);
  TFontCharset Charset() const { return charset_; }
  void SetCharset(TFontCharset charset);
  TFontPitch Pitch() const { return pitch_; }
  void SetPitch(TFontPitch pitch);
  int PixelsPerInch() const { return pixelsPerInch_; }
  void SetPixelsPerInch(int ppi) { pixelsPerInch_ = ppi > 0 ? ppi : 96; }

  void Assign(const TPersistent& source) override;
  bool SameAs(const TFont& other) const;

  // Raised after every change (not for a change that changes nothing).
  TNotifyEvent OnChange;

 private:
  void Changed();

  std::string name_ = "MS Sans Serif";
  int height_ = -11;
  TFontStyles style_;
  TColor color_ = clWindowText;
  TFontCharset charset_ = DEFAULT_CHARSET;
  TFontPitch pitch_ = fpDefault;
  int pixelsPerInch_ = 96;
};

}  // namespace nv
