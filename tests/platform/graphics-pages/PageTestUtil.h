#pragma once
// Small pages the page tests share.
#include <string>

#include "platform/core/CodePage.h"
#include "platform/graphics/Page.h"

namespace nv::test {

inline TPageFont SongFont(double size = 12) {
  TPageFont font;
  font.Name = SysText("宋体");
  font.Size = size;
  font.Charset = GB2312_CHARSET;
  return font;
}

inline TPageFont ArialFont(double size = 10) {
  TPageFont font;
  font.Name = "Arial";
  font.Size = size;
  font.Charset = ANSI_CHARSET;
  return font;
}

// A box of a layout given in screen pixels (left, top, width, height).
inline TPageRect LayoutBox(int left, int top, int width, int height) {
  return {left * kTwipsPerLayoutPixel, top * kTwipsPerLayoutPixel,
          (left + width) * kTwipsPerLayoutPixel, (top + height) * kTwipsPerLayoutPixel};
}

}  // namespace nv::test
