// The BMP reader takes pictures from outside (glyph libraries, user files): any byte string
// either loads or raises EReadError, and a loaded bitmap is fully readable.
#include <cstddef>
#include <cstdint>

#include "platform/graphics/Graphics.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  nv::TBitmap bmp;
  try {
    bmp.LoadFromBytes(data, size);
  } catch (const nv::EReadError&) {
    return 0;
  }
  std::uint32_t sum = 0;
  for (int y = 0; y < bmp.Height(); ++y)
    for (int x = 0; x < bmp.Width(); ++x) sum += static_cast<std::uint32_t>(bmp.Pixel(x, y));
  const std::string again = bmp.SaveToBytes();
  nv::TBitmap back;
  back.LoadFromBytes(again.data(), again.size());
  if (back.Width() != bmp.Width() || back.Height() != bmp.Height()) __builtin_trap();
  return static_cast<int>(sum & 0);
}
