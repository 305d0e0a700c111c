#pragma once
// Colours, character sets and the font sub-object that controls and report items publish.
#include <cstdint>
#include <string>

#include "platform/core/Colors.h"
#include "platform/core/FontTypes.h"
#include "platform/rtti/Classes.h"

namespace nv {

// "clRed" or "$00AFFFFF"; and back ("$AFFFFF", "11534335" and names are accepted).
std::string ColorToString(TColor color);
bool IdentToColor(std::string_view ident, TColor& color);
TColor StringToColor(std::string_view text);  // raises EConvertError for other texts

// Character sets and styles are core types (FontTypes.h); their names live here.
std::string CharsetToIdent(TFontCharset charset);  // the number when it has no name
bool IdentToCharset(std::string_view ident, TFontCharset& charset);

inline const TEnumInfo& NvEnumInfo(const TFontStyle*) {
  static const TEnumInfo info("TFontStyle", "fsBold, fsItalic, fsUnderline, fsStrikeOut");
  return info;
}
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
