// The metafile reader takes background pictures from layouts and user files: any byte string
// either reads or raises EInvalidMetafile, and whatever reads draws without fault.
#include <cairo.h>

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/graphics/Metafile.h"
#include "platform/graphics/PageFonts.h"

// Fontconfig, Pango and Cairo keep the fonts they load for the life of the process; those
// caches are not leaks of the reader. Weak: a sanitizer build of the page library has its own.
extern "C" __attribute__((weak)) const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\nleak:libcairo.so\nleak:libpango\nleak:libglib\n"
         "leak:libharfbuzz\nleak:libfreetype\n";
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::shared_ptr<const nv::TMetafile> emf;
  try {
    emf = nv::TMetafile::FromBytes(std::string_view(reinterpret_cast<const char*>(data), size));
  } catch (const nv::EInvalidMetafile&) {
    return 0;
  }
  (void)emf->Dump();
  (void)emf->Texts();
  static nv::TTextPainter painter;
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 64, 48);
  cairo_t* cr = cairo_create(surface);
  emf->Play(cr, painter, 0, 0, 64, 48);
  cairo_destroy(cr);
  cairo_surface_destroy(surface);
  return 0;
}
