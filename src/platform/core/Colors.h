#pragma once
// Colours as the platform keeps them: $00BBGGRR, or a system colour (high bit set, index in
// the low byte). One definition for bitmaps, fonts and controls alike; the names for form
// texts ("clRed", "$AFFFFF") live with the component model.
#include <cstdint>

namespace nv {

class TIdentMap;

enum TColor : std::int32_t {};
// The names of the colours, for published properties (defined by the component model).
const TIdentMap& NvIdentMap(const TColor*);

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
                 clCream = ToColor(0xF0FBFF), clMedGray = ToColor(0xA4A0A0), clLtGray = clSilver,
                 clDkGray = clGray, clNone = ToColor(0x1FFFFFFF), clDefault = ToColor(0x20000000);

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

constexpr TColor RGB(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  return ToColor(static_cast<std::uint32_t>(r) | (static_cast<std::uint32_t>(g) << 8) |
                 (static_cast<std::uint32_t>(b) << 16));
}
constexpr std::uint8_t GetRValue(TColor c) {
  return static_cast<std::uint8_t>(c);
}
constexpr std::uint8_t GetGValue(TColor c) {
  return static_cast<std::uint8_t>(c >> 8);
}
constexpr std::uint8_t GetBValue(TColor c) {
  return static_cast<std::uint8_t>(c >> 16);
}

}  // namespace nv
