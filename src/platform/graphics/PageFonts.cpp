#include "platform/graphics/PageFonts.h"

#include <fontconfig/fontconfig.h>
#include <pango/pangocairo.h>
#include <pango/pangofc-fontmap.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "platform/core/CodePage.h"
#include "platform/graphics/Metafile.h"

#ifndef NV_SOURCE_FONTS_CONF
#define NV_SOURCE_FONTS_CONF "data/fonts/fonts.conf"
#endif

namespace nv {

namespace {

std::string& ConfigFileSetting() {
  static std::string path;
  return path;
}

FcConfig* PageFcConfig() {
  static FcConfig* config = [] {
    std::string path = PageFontConfigFile();
    FcConfig* c = FcConfigCreate();
    if (!std::filesystem::exists(path) ||
        !FcConfigParseAndLoad(c, reinterpret_cast<const FcChar8*>(path.c_str()), FcTrue) ||
        !FcConfigBuildFonts(c)) {
      FcConfigDestroy(c);
      throw EFOpenError("fonts: cannot load the font configuration \"" + path + "\"");
    }
    return c;
  }();
  return config;
}

PangoFontDescription* DescriptionOf(const TPageFont& font, double size) {
  PangoFontDescription* desc = pango_font_description_new();
  std::string family = AnsiToUtf8(font.Name);
  pango_font_description_set_family(desc, family.empty() ? "Sans" : family.c_str());
  pango_font_description_set_weight(
      desc, font.Style & FontStyleBit(fsBold) ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
  pango_font_description_set_style(
      desc, font.Style & FontStyleBit(fsItalic) ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
  pango_font_description_set_absolute_size(desc, size * PANGO_SCALE);
  return desc;
}

char32_t DecodeUtf8At(std::string_view text, std::size_t at) {
  gunichar c = g_utf8_get_char_validated(text.data() + at, static_cast<gssize>(text.size() - at));
  return c < 0x110000 ? static_cast<char32_t>(c) : U'?';
}

}  // namespace

void SetPageFontConfigFile(const std::string& path) {
  ConfigFileSetting() = path;
}

std::string PageFontConfigFile() {
  if (!ConfigFileSetting().empty()) return ConfigFileSetting();
  if (const char* env = std::getenv("NV_FONTS_CONF"); env && *env) return env;
  return NV_SOURCE_FONTS_CONF;
}

PangoFontMap* PageFontMap() {
  static PangoFontMap* map = [] {
    FcConfig* config = PageFcConfig();
    PangoFontMap* m = pango_cairo_font_map_new_for_font_type(CAIRO_FONT_TYPE_FT);
    pango_fc_font_map_set_config(PANGO_FC_FONT_MAP(m), config);
    return m;
  }();
  return map;
}

std::string ResolvedFamily(std::string_view faceUtf8) {
  FcConfig* config = PageFcConfig();
  std::string face(faceUtf8);
  FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(""));
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(face.c_str()));
  FcConfigSubstitute(config, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result;
  FcPattern* match = FcFontMatch(config, pattern, &result);
  std::string family;
  FcChar8* name = nullptr;
  if (match && FcPatternGetString(match, FC_FAMILY, 0, &name) == FcResultMatch) {
    family = reinterpret_cast<const char*>(name);
  }
  if (match) FcPatternDestroy(match);
  FcPatternDestroy(pattern);
  return family;
}

std::string MissingGlyphMessage(int pageNumber, const TMissingGlyph& missing) {
  char code[16];
  std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(missing.Character));
  return "page " + std::to_string(pageNumber) + ": text \"" + missing.Text + "\" (font " +
         missing.Font + "): no installed font draws " + code;
}

TTextPainter::TTextPainter()
    : context_(pango_font_map_create_context(PageFontMap())), layout_(nullptr) {
  pango_cairo_context_set_resolution(context_, 72);
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
  pango_cairo_context_set_font_options(context_, options);
  cairo_font_options_destroy(options);
  pango_context_set_round_glyph_positions(context_, FALSE);
  layout_ = pango_layout_new(context_);
  pango_layout_set_single_paragraph_mode(layout_, TRUE);
}

TTextPainter::~TTextPainter() {
  g_object_unref(layout_);
  g_object_unref(context_);
}

PangoLayout* TTextPainter::Layout(const TPageFont& font, std::string_view utf8, double size) {
  if (size <= 0) size = font.Size;
  if (!(font == lastFont_) || size != lastSize_) {
    PangoFontDescription* desc = DescriptionOf(font, size);
    pango_layout_set_font_description(layout_, desc);
    pango_font_description_free(desc);
    PangoAttrList* attrs = pango_attr_list_new();
    if (font.Style & FontStyleBit(fsUnderline)) {
      pango_attr_list_insert(attrs, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
    }
    if (font.Style & FontStyleBit(fsStrikeOut))
      pango_attr_list_insert(attrs, pango_attr_strikethrough_new(TRUE));
    pango_layout_set_attributes(layout_, attrs);
    pango_attr_list_unref(attrs);
    lastFont_ = font;
    lastSize_ = size;
  }
  pango_layout_set_text(layout_, utf8.data(), static_cast<int>(utf8.size()));
  return layout_;
}

TTextExtent TTextPainter::Measure(const TPageFont& font, std::string_view utf8, double size) {
  PangoLayout* layout = Layout(font, utf8, size);
  PangoRectangle logical;
  pango_layout_get_extents(layout, nullptr, &logical);
  TTextExtent extent;
  extent.Width = logical.width / double(PANGO_SCALE);
  extent.Height = logical.height / double(PANGO_SCALE);
  extent.Ascent = pango_layout_get_baseline(layout) / double(PANGO_SCALE);
  return extent;
}

void TTextPainter::Draw(cairo_t* cr, const TPageFont& font, std::string_view utf8, double x,
                        double y, double size) {
  PangoLayout* layout = Layout(font, utf8, size);
  cairo_move_to(cr, x, y);
  pango_cairo_show_layout(cr, layout);
}

std::vector<char32_t> TTextPainter::MissingCharacters(const TPageFont& font,
                                                      std::string_view utf8) {
  std::vector<char32_t> missing;
  PangoLayout* layout = Layout(font, utf8, 0);
  PangoLayoutIter* iter = pango_layout_get_iter(layout);
  do {
    PangoLayoutRun* run = pango_layout_iter_get_run_readonly(iter);
    if (!run) continue;
    const PangoGlyphString* glyphs = run->glyphs;
    for (int i = 0; i < glyphs->num_glyphs; ++i) {
      if (!(glyphs->glyphs[i].glyph & PANGO_GLYPH_UNKNOWN_FLAG)) continue;
      std::size_t at = static_cast<std::size_t>(run->item->offset + glyphs->log_clusters[i]);
      char32_t c = DecodeUtf8At(utf8, at);
      // Line ends and other controls have no glyph of their own; they are no loss.
      if (c >= 0x20) missing.push_back(c);
    }
  } while (pango_layout_iter_next_run(iter));
  pango_layout_iter_free(iter);
  return missing;
}

std::string TextUtf8(const TPage& page, const TPageText& text) {
  return AnsiToUtf8(text.Text, CodePageOfCharset(page.FontOf(text).Charset));
}

namespace {
TTextPainter& SharedPainter() {
  static TTextPainter painter;
  return painter;
}
}  // namespace

TTextExtent MeasurePageText(const TPageFont& font, std::string_view ansiText) {
  return SharedPainter().Measure(font, AnsiToUtf8(ansiText, CodePageOfCharset(font.Charset)));
}

std::vector<TMissingGlyph> FindMissingGlyphs(const TPage& page) {
  std::vector<TMissingGlyph> found;
  TTextPainter& painter = SharedPainter();
  auto check = [&](std::size_t record, const TPageFont& font, const std::string& utf8) {
    for (char32_t c : painter.MissingCharacters(font, utf8)) {
      found.push_back({record, utf8, c, AnsiToUtf8(font.Name)});
    }
  };
  const auto& records = page.Records();
  for (std::size_t i = 0; i < records.size(); ++i) {
    if (const auto* text = std::get_if<TPageText>(&records[i])) {
      check(i, page.FontOf(*text), TextUtf8(page, *text));
    } else if (const auto* picture = std::get_if<TPagePicture>(&records[i])) {
      if (const TMetafile* emf = picture->Image->Metafile()) {
        for (const auto& t : emf->Texts()) check(i, t.Font, t.Utf8);
      }
    }
  }
  return found;
}

}  // namespace nv
