#include "VeVozO5.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace {

constexpr unsigned kFace = 0xC0C0C0;  // transparent background (button face)
constexpr unsigned kBlack = 0x000000;
constexpr unsigned kGray = 0x808080;
constexpr unsigned kWhite = 0xFFFFFF;
constexpr unsigned kRed = 0x0000C0;  // 0x00BBGGRR
constexpr unsigned kNavy = 0x800000;
constexpr unsigned kHighlight = 0xFFFFFF;
constexpr int kSize = 16;

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<unsigned> pixels;

  Picture(int images)
      : width(kSize * images),
        height(kSize),
        pixels(static_cast<size_t>(kSize * images * kSize), kFace) {}
  void Set(int x, int y, unsigned c) {
    if (x >= 0 && y >= 0 && x < width && y < height) pixels[static_cast<size_t>(y * width + x)] = c;
  }
  void Line(int x0, int y0, int x1, int y1, unsigned c) {
    int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
    int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1, err = dx + dy;
    for (;;) {
      Set(x0, y0, c);
      if (x0 == x1 && y0 == y1) break;
      int e2 = 2 * err;
      if (e2 >= dy) {
        err += dy;
        x0 += sx;
      }
      if (e2 <= dx) {
        err += dx;
        y0 += sy;
      }
    }
  }
  void Box(int x0, int y0, int x1, int y1, unsigned c) {
    for (int y = y0; y <= y1; ++y)
      for (int x = x0; x <= x1; ++x) Set(x, y, c);
  }
};

// 0: an empty frame, the picture of "no picture chosen".
Picture Frame() {
  Picture p(1);
  p.Line(3, 3, 12, 3, kGray);
  p.Line(3, 12, 12, 12, kGray);
  p.Line(3, 3, 3, 12, kGray);
  p.Line(12, 3, 12, 12, kGray);
  return p;
}

// A red cross drawn at offset ox, thick two pixels.
void Cross(Picture& p, int ox, int x0, int y0, int x1, int y1, unsigned c) {
  p.Line(ox + x0, y0, ox + x1, y1, c);
  p.Line(ox + x0 + 1, y0, ox + x1 + 1, y1, c);
  p.Line(ox + x1, y0, ox + x0, y1, c);
  p.Line(ox + x1 + 1, y0, ox + x0 + 1, y1, c);
}

// 4: clear the chosen list: list rows struck through; normal and disabled images.
Picture ClearList() {
  Picture p(2);
  for (int image = 0; image < 2; ++image) {
    int ox = image * kSize;
    unsigned ink = image == 0 ? kBlack : kGray;
    for (int row = 0; row < 4; ++row) p.Line(ox + 2, 3 + row * 3, ox + 10, 3 + row * 3, ink);
    if (image == 0)
      Cross(p, ox, 8, 8, 13, 13, kRed);
    else {
      Cross(p, ox, 9, 9, 14, 14, kHighlight);  // embossed look of a disabled picture
      Cross(p, ox, 8, 8, 13, 13, kGray);
    }
  }
  return p;
}

// 8: the lookup window: a magnifying glass.
Picture Lookup() {
  Picture p(1);
  const int cx = 6, cy = 6;
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < kSize; ++x) {
      int d = (x - cx) * (x - cx) + (y - cy) * (y - cy);
      if (d <= 9)
        p.Set(x, y, kWhite);
      else if (d <= 20)
        p.Set(x, y, kBlack);
    }
  for (int i = 0; i < 5; ++i) p.Box(9 + i, 9 + i, 10 + i, 10 + i, kNavy);
  return p;
}

// 9: the date picker: a calendar leaf with a red head.
Picture Calendar() {
  Picture p(1);
  p.Box(2, 2, 13, 13, kWhite);
  p.Box(2, 2, 13, 4, kRed);
  p.Line(2, 2, 13, 2, kBlack);
  p.Line(2, 13, 13, 13, kBlack);
  p.Line(2, 2, 2, 13, kBlack);
  p.Line(13, 2, 13, 13, kBlack);
  for (int y = 6; y <= 11; y += 2)
    for (int x = 4; x <= 11; x += 2) p.Set(x, y, kBlack);
  return p;
}

// 47: delete one row: a red cross.
Picture DeleteRow() {
  Picture p(1);
  Cross(p, 0, 3, 3, 11, 11, kRed);
  return p;
}

bool Make(int n, Picture& out) {
  switch (n) {
    case 0:
      out = Frame();
      return true;
    case 4:
      out = ClearList();
      return true;
    case 8:
      out = Lookup();
      return true;
    case 9:
      out = Calendar();
      return true;
    case 47:
      out = DeleteRow();
      return true;
    default:
      return false;
  }
}

}  // namespace

extern "C" __attribute__((visibility("default"))) int GetMaxBmpID(void) {
  return 47;
}

extern "C" __attribute__((visibility("default"))) int LoadBmp(VeBitmap* bitmap, int n) {
  if (bitmap == nullptr) return 0;
  Picture p(1);
  if (!Make(n, p)) return 0;
  bitmap->Width = p.width;
  bitmap->Height = p.height;
  if (bitmap->Pixels == nullptr || bitmap->Capacity < p.width * p.height) return -1;
  std::copy(p.pixels.begin(), p.pixels.end(), bitmap->Pixels);
  return 1;
}
