#pragma once
// Character sets and font styles as fonts keep them. One definition for the component
// model's fonts and for rendered pages alike; the names for form texts ("GB2312_CHARSET",
// "fsBold") live with the component model, as the colours' names do.
#include <cstdint>

namespace nv {

class TIdentMap;

enum TFontCharset : std::uint8_t {};
// The names of the character sets, for published properties (defined by the component model).
const TIdentMap& NvIdentMap(const TFontCharset*);

constexpr TFontCharset ANSI_CHARSET = TFontCharset(0), DEFAULT_CHARSET = TFontCharset(1),
                       SYMBOL_CHARSET = TFontCharset(2), SHIFTJIS_CHARSET = TFontCharset(128),
                       HANGEUL_CHARSET = TFontCharset(129), GB2312_CHARSET = TFontCharset(134),
                       CHINESEBIG5_CHARSET = TFontCharset(136), OEM_CHARSET = TFontCharset(255);

// Ordinals, as a set of styles numbers them; FontStyleBit gives the bit a page records.
enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
constexpr std::uint8_t FontStyleBit(TFontStyle style) {
  return static_cast<std::uint8_t>(1u << style);
}

}  // namespace nv
