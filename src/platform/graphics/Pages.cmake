# Rendered pages: display lists, fonts, metafiles, the Cairo/Pango rasteriser and printers.
pkg_check_modules(PANGOCAIRO REQUIRED IMPORTED_TARGET pangocairo pangofc fontconfig cairo-pdf)
find_package(Cups REQUIRED)

qc_add_library(nv_pages
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/Page.cpp
    ${CMAKE_CURRENT_LIST_DIR}/PageFonts.cpp
    ${CMAKE_CURRENT_LIST_DIR}/PageRaster.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Metafile.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Printers.cpp
  DEPS
    nv_core
    nv_graphics
    PkgConfig::PANGOCAIRO
  PRIVATE_DEPS
    Cups::Cups
)
# Tests and headless runs find the pinned font set-up in the source tree.
target_compile_definitions(nv_pages PRIVATE
  NV_SOURCE_FONTS_CONF="${PROJECT_SOURCE_DIR}/data/fonts/fonts.conf")
