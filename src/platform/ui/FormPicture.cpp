#include "platform/ui/FormPicture.h"

#include <cairo.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "platform/core/CodePage.h"
#include "platform/ui/Buttons.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Grids.h"
#include "platform/ui/Mask.h"
#include "platform/ui/Menus.h"
#include "platform/ui/Spin.h"

namespace nv {

namespace {

// The classic three-dimensional scheme for system colours.
std::uint32_t Rgb(TColor color) {
  static const std::uint32_t system[] = {
      0xC0C0C0, 0x3A6EA5, 0x0A246A, 0x808080, 0xD4D0C8, 0xFFFFFF, 0x000000, 0x000000, 0x000000,
      0xFFFFFF, 0xD4D0C8, 0xD4D0C8, 0x808080, 0x0A246A, 0xFFFFFF, 0xD4D0C8, 0x808080, 0x808080,
      0x000000, 0xD4D0C8, 0xFFFFFF, 0x404040, 0xD4D0C8, 0x000000, 0xFFFFE1};
  auto v = static_cast<std::uint32_t>(color);
  if (v & 0x80000000u) {
    std::uint32_t index = v & 0xFF;
    return index < std::size(system) ? system[index] : 0xD4D0C8;
  }
  // $00BBGGRR to RRGGBB
  return ((v & 0xFF) << 16) | (v & 0xFF00) | ((v >> 16) & 0xFF);
}

constexpr std::uint32_t kFace = 0xD4D0C8, kShadow = 0x808080, kDark = 0x404040, kLight = 0xFFFFFF,
                        kWindow = 0xFFFFFF, kHighlight = 0x0A246A, kGray = 0x808080;

int CodePageOf(const TFont& font) {
  switch (font.Charset()) {
    case GB2312_CHARSET:
      return 936;
    case CHINESEBIG5_CHARSET:
      return 950;
    case ANSI_CHARSET:
      return 1252;
    default:
      return 0;
  }
}

class TPainter {
 public:
  TPainter(cairo_t* cr, double scale) : cr_(cr), scale_(scale) {}

  void Color(std::uint32_t rgb) {
    cairo_set_source_rgb(cr_, ((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0,
                         (rgb & 0xFF) / 255.0);
  }
  void Fill(const TRect& r, std::uint32_t rgb) {
    Color(rgb);
    cairo_rectangle(cr_, r.Left, r.Top, r.Width(), r.Height());
    cairo_fill(cr_);
  }
  void HLine(int x1, int x2, int y, std::uint32_t rgb) { Fill(Rect(x1, y, x2, y + 1), rgb); }
  void VLine(int x, int y1, int y2, std::uint32_t rgb) { Fill(Rect(x, y1, x + 1, y2), rgb); }
  // One ring of a 3D edge: topLeft on the upper and left sides, bottomRight on the others.
  void Edge(const TRect& r, std::uint32_t topLeft, std::uint32_t bottomRight) {
    if (r.IsEmpty()) return;
    HLine(r.Left, r.Right - 1, r.Top, topLeft);
    VLine(r.Left, r.Top, r.Bottom - 1, topLeft);
    HLine(r.Left, r.Right, r.Bottom - 1, bottomRight);
    VLine(r.Right - 1, r.Top, r.Bottom, bottomRight);
  }
  static TRect Inflate(const TRect& r, int d) {
    return Rect(r.Left + d, r.Top + d, r.Right - d, r.Bottom - d);
  }
  void Raised(const TRect& r) {
    Edge(r, kLight, kDark);
    Edge(Inflate(r, 1), kFace, kShadow);
  }
  void Sunken(const TRect& r) {
    Edge(r, kShadow, kLight);
    Edge(Inflate(r, 1), kDark, kFace);
  }
  void Etched(const TRect& r) {
    Edge(r, kShadow, kLight);
    Edge(Inflate(r, 1), kLight, kShadow);
  }
  void Frame(const TRect& r, std::uint32_t rgb) { Edge(r, rgb, rgb); }

  // Texts are ANSI bytes in the font's character set, or the system code page.
  PangoLayout* Layout(const TFont& font, const std::string& ansi) {
    PangoLayout* layout = pango_cairo_create_layout(cr_);
    PangoFontDescription* desc = pango_font_description_new();
    int cp = CodePageOf(font);
    pango_font_description_set_family(desc, PictureFontFamilies(font.Name(), cp).c_str());
    int px = font.Height() < 0 ? -font.Height() : std::max(1, font.Height() * 96 / 72);
    pango_font_description_set_absolute_size(desc, px * PANGO_SCALE);
    if (font.Style().Contains(fsBold)) pango_font_description_set_weight(desc, PANGO_WEIGHT_BOLD);
    if (font.Style().Contains(fsItalic)) pango_font_description_set_style(desc, PANGO_STYLE_ITALIC);
    pango_layout_set_font_description(layout, desc);
    pango_font_description_free(desc);
    std::string utf8;
    try {
      utf8 = AnsiToUtf8(ansi, cp);
    } catch (const std::exception&) {
      utf8 = "?";
    }
    pango_layout_set_text(layout, utf8.c_str(), -1);
    if (font.Style().Contains(fsUnderline)) {
      PangoAttrList* attrs = pango_attr_list_new();
      pango_attr_list_insert(attrs, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
      pango_layout_set_attributes(layout, attrs);
      pango_attr_list_unref(attrs);
    }
    return layout;
  }
  // Draws text into r with the alignment; vertical centring when centre is set.
  void Text(const TRect& r, const TFont& font, const std::string& ansi, std::uint32_t rgb,
            TAlignment align = taLeftJustify, bool centre = true, bool accel = false) {
    std::string shown = ansi;
    if (accel) {
      std::string out;
      for (std::size_t i = 0; i < shown.size(); ++i) {
        if (shown[i] == '&' && i + 1 < shown.size()) {
          if (shown[i + 1] == '&') out += '&';
          ++i;
          out += shown[i];
          continue;
        }
        out += shown[i];
      }
      shown = out;
    }
    if (shown.empty()) return;
    PangoLayout* layout = Layout(font, shown);
    int w = 0, h = 0;
    pango_layout_get_pixel_size(layout, &w, &h);
    double x = r.Left;
    if (align == taCenter) x = r.Left + (r.Width() - w) / 2.0;
    if (align == taRightJustify) x = r.Right - w;
    double y = centre ? r.Top + (r.Height() - h) / 2.0 : r.Top;
    cairo_save(cr_);
    cairo_rectangle(cr_, r.Left, r.Top, r.Width(), r.Height());
    cairo_clip(cr_);
    Color(rgb);
    cairo_move_to(cr_, std::floor(x), std::floor(y));
    pango_cairo_show_layout(cr_, layout);
    cairo_restore(cr_);
    g_object_unref(layout);
  }
  int TextWidth(const TFont& font, const std::string& ansi) {
    if (ansi.empty()) return 0;
    PangoLayout* layout = Layout(font, ansi);
    int w = 0, h = 0;
    pango_layout_get_pixel_size(layout, &w, &h);
    g_object_unref(layout);
    return w;
  }
  void Picture(const TRawImage& raw, int x, int y) {
    if (raw.Width == 0 || raw.Height == 0) return;
    cairo_surface_t* s = cairo_image_surface_create_for_data(
        reinterpret_cast<unsigned char*>(const_cast<std::uint32_t*>(raw.Argb.data())),
        CAIRO_FORMAT_ARGB32, raw.Width, raw.Height, raw.Width * 4);
    cairo_set_source_surface(cr_, s, x, y);
    cairo_paint(cr_);
    cairo_surface_destroy(s);
  }
  void Check(const TRect& box, std::uint32_t rgb) {
    Color(rgb);
    cairo_set_line_width(cr_, 1.6);
    cairo_move_to(cr_, box.Left + 3, box.Top + 6.5);
    cairo_line_to(cr_, box.Left + 5.5, box.Top + 9);
    cairo_line_to(cr_, box.Left + 10, box.Top + 3.5);
    cairo_stroke(cr_);
  }
  void Arrow(int cx, int cy, std::uint32_t rgb, bool down = true) {
    Color(rgb);
    int d = down ? 1 : -1;
    cairo_move_to(cr_, cx - 3.5, cy - 1.5 * d);
    cairo_line_to(cr_, cx + 3.5, cy - 1.5 * d);
    cairo_line_to(cr_, cx, cy + 2 * d);
    cairo_close_path(cr_);
    cairo_fill(cr_);
  }
  void Circle(double cx, double cy, double r, std::uint32_t rgb, bool fill) {
    Color(rgb);
    cairo_new_sub_path(cr_);
    cairo_arc(cr_, cx, cy, r, 0, 2 * M_PI);
    if (fill)
      cairo_fill(cr_);
    else {
      cairo_set_line_width(cr_, 1);
      cairo_stroke(cr_);
    }
  }
  cairo_t* Cr() { return cr_; }

 private:
  cairo_t* cr_;
  double scale_;
};

std::uint32_t TextColor(const TControl& c) {
  return c.EffectivelyEnabled() ? Rgb(c.Font()->Color()) : kGray;
}

// ---------------------------------------------------------------------------------------

class TFormDrawer {
 public:
  explicit TFormDrawer(TPainter& p) : p_(p) {}

  void Control(TControl& c, int x, int y) {
    if (!c.Visible()) return;
    TRect r = Bounds(x, y, c.Width(), c.Height());
    cairo_save(p_.Cr());
    cairo_rectangle(p_.Cr(), r.Left, r.Top, r.Width(), r.Height());
    cairo_clip(p_.Cr());
    Body(c, r);
    if (auto* win = dynamic_cast<TWinControl*>(&c)) {
      TRect client = win->ClientRect();
      cairo_save(p_.Cr());
      cairo_rectangle(p_.Cr(), x + client.Left, y + client.Top, client.Width(), client.Height());
      cairo_clip(p_.Cr());
      for (TControl* child : win->Controls()) {
        if (dynamic_cast<TRadioButton*>(child) && dynamic_cast<TRadioGroup*>(win)) {
          Control(*child, x + child->Left(), y + child->Top());
          continue;
        }
        Control(*child, x + child->Left(), y + child->Top());
      }
      cairo_restore(p_.Cr());
    }
    cairo_restore(p_.Cr());
  }

 private:
  void Body(TControl& c, const TRect& r) {
    if (auto* x = dynamic_cast<TLabel*>(&c)) return Label(*x, r);
    if (auto* x = dynamic_cast<TMemo*>(&c)) return Memo(*x, r);
    if (auto* x = dynamic_cast<TSpinEdit*>(&c)) return Spin(*x, r);
    if (auto* x = dynamic_cast<TCustomEdit*>(&c)) return Edit(*x, r);
    if (auto* x = dynamic_cast<TComboBox*>(&c)) return Combo(*x, r);
    if (auto* x = dynamic_cast<TCheckBox*>(&c)) return CheckBox(*x, r);
    if (auto* x = dynamic_cast<TRadioButton*>(&c)) return Radio(*x, r);
    if (auto* x = dynamic_cast<TBitBtn*>(&c)) return Button(*x, r, x->Glyph(), x->NumGlyphs());
    if (auto* x = dynamic_cast<TButton*>(&c)) return Button(*x, r, nullptr, 1);
    if (auto* x = dynamic_cast<TSpeedButton*>(&c)) return Speed(*x, r);
    if (auto* x = dynamic_cast<TGroupBox*>(&c)) return Group(*x, r);
    if (auto* x = dynamic_cast<TPanel*>(&c)) return Panel(*x, r);
    if (auto* x = dynamic_cast<TPageControl*>(&c)) return Pages(*x, r);
    if (auto* x = dynamic_cast<TListView*>(&c)) return List(*x, r);
    if (auto* x = dynamic_cast<TTreeView*>(&c)) return Tree(*x, r);
    if (auto* x = dynamic_cast<TStatusBar*>(&c)) return Status(*x, r);
    if (auto* x = dynamic_cast<TProgressBar*>(&c)) return Progress(*x, r);
    if (auto* x = dynamic_cast<TToolBar*>(&c)) return p_.Fill(r, Rgb(x->EffectiveColor()));
    if (auto* x = dynamic_cast<TToolButton*>(&c)) return ToolButton(*x, r);
    if (auto* x = dynamic_cast<TStringGrid*>(&c)) return Grid(*x, r, x);
    if (auto* x = dynamic_cast<TDrawGrid*>(&c)) return Grid(*x, r, nullptr);
    if (auto* x = dynamic_cast<TTabSheet*>(&c)) return p_.Fill(r, Rgb(x->EffectiveColor()));
    if (dynamic_cast<TSplitter*>(&c)) return p_.Fill(r, Rgb(c.EffectiveColor()));
    if (c.IsWindowed()) p_.Fill(r, Rgb(c.EffectiveColor()));
  }

  void Label(TLabel& l, const TRect& r) {
    if (!l.Transparent()) p_.Fill(r, Rgb(l.EffectiveColor()));
    std::uint32_t color = TextColor(l);
    p_.Text(r, *l.Font(), l.Caption(), color, l.Alignment(), l.Layout() == tlCenter,
            l.ShowAccelChar());
  }

  void EditFrame(TWinControl& c, const TRect& r, bool framed = true) {
    p_.Fill(r, Rgb(c.EffectiveColor()));
    if (framed) p_.Sunken(r);
  }

  void Edit(TCustomEdit& e, const TRect& r) {
    EditFrame(e, r, e.BorderStyle() != bsNone);
    std::string text = e.Text();
    if (auto* m = dynamic_cast<TMaskEdit*>(&e); m && m->IsMasked()) text = m->EditText();
    if (e.PasswordChar()) text.assign(text.size(), e.PasswordChar());
    p_.Text(TPainter::Inflate(r, 3), *e.Font(), text, TextColor(e));
  }

  void Spin(TSpinEdit& s, const TRect& r) {
    EditFrame(s, r);
    TRect buttons = Rect(r.Right - 17, r.Top + 2, r.Right - 2, r.Bottom - 2);
    int mid = (buttons.Top + buttons.Bottom) / 2;
    TRect up = Rect(buttons.Left, buttons.Top, buttons.Right, mid);
    TRect down = Rect(buttons.Left, mid, buttons.Right, buttons.Bottom);
    for (const TRect& b : {up, down}) {
      p_.Fill(b, kFace);
      p_.Edge(b, kLight, kDark);
    }
    p_.Arrow((up.Left + up.Right) / 2, (up.Top + up.Bottom) / 2, 0, false);
    p_.Arrow((down.Left + down.Right) / 2, (down.Top + down.Bottom) / 2, 0, true);
    p_.Text(Rect(r.Left + 3, r.Top + 2, buttons.Left - 1, r.Bottom - 2), *s.Font(), s.Text(),
            TextColor(s));
  }

  void Memo(TMemo& m, const TRect& r) {
    EditFrame(m, r, m.BorderStyle() != bsNone);
    int lineHeight = TextHeightOf(*m.Font()) + 1;
    int y = r.Top + 3;
    for (int i = 0; i < m.Lines()->Count() && y < r.Bottom; ++i, y += lineHeight)
      p_.Text(Rect(r.Left + 3, y, r.Right - 3, y + lineHeight), *m.Font(), m.Lines()->Get(i),
              TextColor(m), taLeftJustify, false);
  }

  void Combo(TComboBox& c, const TRect& r) {
    EditFrame(c, r);
    TRect button = Rect(r.Right - 18, r.Top + 2, r.Right - 2, r.Bottom - 2);
    p_.Fill(button, kFace);
    p_.Raised(button);
    p_.Arrow((button.Left + button.Right) / 2, (button.Top + button.Bottom) / 2,
             c.EffectivelyEnabled() ? 0 : kGray);
    std::string text = c.Text();
    if (auto tab = text.find('\t'); tab != std::string::npos) text.resize(tab);
    TRect textRect = Rect(r.Left + 3, r.Top + 3, button.Left - 1, r.Bottom - 3);
    if (c.Focused() && c.Style() == csDropDownList) {
      p_.Fill(textRect, kHighlight);
      p_.Text(textRect, *c.Font(), text, kLight);
    } else {
      p_.Text(textRect, *c.Font(), text, TextColor(c));
    }
  }

  void CheckBox(TCheckBox& c, const TRect& r) {
    p_.Fill(r, Rgb(c.EffectiveColor()));
    int top = r.Top + (r.Height() - 13) / 2;
    TRect box = Bounds(r.Left, top, 13, 13);
    p_.Fill(box, c.EffectivelyEnabled() && c.State() != cbGrayed ? kWindow : kFace);
    p_.Sunken(box);
    if (c.State() != cbUnchecked)
      p_.Check(box, c.State() == cbGrayed || !c.EffectivelyEnabled() ? kGray : 0);
    p_.Text(Rect(r.Left + 17, r.Top, r.Right, r.Bottom), *c.Font(), c.Caption(), TextColor(c),
            taLeftJustify, true, true);
  }

  void Radio(TRadioButton& c, const TRect& r) {
    p_.Fill(r, Rgb(c.EffectiveColor()));
    double cx = r.Left + 6.5, cy = r.Top + r.Height() / 2.0;
    p_.Circle(cx, cy, 5.5, kWindow, true);
    p_.Circle(cx, cy, 5.5, kShadow, false);
    if (c.Checked()) p_.Circle(cx, cy, 2, c.EffectivelyEnabled() ? 0 : kGray, true);
    p_.Text(Rect(r.Left + 17, r.Top, r.Right, r.Bottom), *c.Font(), c.Caption(), TextColor(c),
            taLeftJustify, true, true);
  }

  // The first picture of a glyph, or the second (disabled) one when it has one.
  void Glyph(const TGlyph* glyph, int numGlyphs, bool enabled, int x, int y) {
    if (!glyph || glyph->Empty()) return;
    int each = glyph->Width() / std::max(1, numGlyphs);
    int index = !enabled && numGlyphs >= 2 ? 1 : 0;
    p_.Picture(RawImage(glyph->Bitmap(), index * each, each, true), x, y);
  }

  void Button(TButton& b, const TRect& r, const TGlyph* glyph, int numGlyphs) {
    p_.Fill(r, kFace);
    TRect face = r;
    if (b.Default() || b.Focused()) {
      p_.Frame(r, 0);
      face = TPainter::Inflate(r, 1);
    }
    p_.Raised(face);
    int glyphWidth = glyph && !glyph->Empty() ? glyph->Width() / std::max(1, numGlyphs) : 0;
    int textWidth = p_.TextWidth(*b.Font(), b.Caption());
    int total = glyphWidth + (glyphWidth && textWidth ? 4 : 0) + textWidth;
    int x = r.Left + (r.Width() - total) / 2;
    if (glyphWidth) {
      Glyph(glyph, numGlyphs, b.EffectivelyEnabled(), x,
            r.Top + (r.Height() - glyph->Height()) / 2);
      x += glyphWidth + 4;
    }
    p_.Text(Rect(x, r.Top, r.Right, r.Bottom), *b.Font(), b.Caption(), TextColor(b), taLeftJustify,
            true, true);
  }

  void Speed(TSpeedButton& b, const TRect& r) {
    p_.Fill(r, Rgb(b.Parent() ? b.Parent()->EffectiveColor() : clBtnFace));
    if (b.Down())
      p_.Edge(r, kShadow, kLight);
    else if (!b.Flat())
      p_.Raised(r);
    int glyphWidth = b.Glyph()->Empty() ? 0 : b.Glyph()->Width() / std::max(1, b.NumGlyphs());
    int textWidth = p_.TextWidth(*b.Font(), b.Caption());
    int total = glyphWidth + (glyphWidth && textWidth ? 4 : 0) + textWidth;
    int x = r.Left + (r.Width() - total) / 2 + (b.Down() ? 1 : 0);
    if (glyphWidth) {
      Glyph(b.Glyph(), b.NumGlyphs(), b.EffectivelyEnabled(), x,
            r.Top + (r.Height() - b.Glyph()->Height()) / 2 + (b.Down() ? 1 : 0));
      x += glyphWidth + 4;
    }
    p_.Text(Rect(x, r.Top, r.Right, r.Bottom), *b.Font(), b.Caption(), TextColor(b), taLeftJustify,
            true, true);
  }

  void Group(TGroupBox& g, const TRect& r) {
    p_.Fill(r, Rgb(g.EffectiveColor()));
    int th = TextHeightOf(*g.Font());
    p_.Etched(Rect(r.Left, r.Top + th / 2, r.Right, r.Bottom));
    if (!g.Caption().empty()) {
      int w = p_.TextWidth(*g.Font(), g.Caption());
      TRect cap = Rect(r.Left + 8, r.Top, r.Left + 8 + w + 4, r.Top + th);
      p_.Fill(cap, Rgb(g.EffectiveColor()));
      p_.Text(Rect(cap.Left + 2, cap.Top, cap.Right + 2, cap.Bottom), *g.Font(), g.Caption(),
              TextColor(g), taLeftJustify, true, true);
    }
  }

  void Panel(TPanel& pnl, const TRect& r) {
    p_.Fill(r, Rgb(pnl.EffectiveColor()));
    TRect inner = r;
    auto bevel = [&](TBevelCut cut) {
      if (cut == bvNone) return;
      for (int i = 0; i < pnl.BevelWidth(); ++i) {
        if (cut == bvRaised) p_.Edge(inner, kLight, kShadow);
        if (cut == bvLowered) p_.Edge(inner, kShadow, kLight);
        inner = TPainter::Inflate(inner, 1);
      }
    };
    if (pnl.BorderStyle() == bsSingle) {
      p_.Frame(inner, 0);
      inner = TPainter::Inflate(inner, 1);
    }
    bevel(pnl.BevelOuter());
    inner = TPainter::Inflate(inner, pnl.BorderWidth());
    bevel(pnl.BevelInner());
    p_.Text(inner, *pnl.Font(), pnl.Caption(), TextColor(pnl), pnl.Alignment(), true, true);
  }

  void Pages(TPageControl& pc, const TRect& r) {
    p_.Fill(r, Rgb(pc.Parent() ? pc.Parent()->EffectiveColor() : clBtnFace));
    TRect client = pc.ClientRect();
    int tabBottom = r.Top + client.Top - 2;
    TRect body = Rect(r.Left, tabBottom, r.Right, r.Bottom);
    p_.Fill(body, Rgb(pc.EffectiveColor()));
    p_.Raised(body);
    int x = r.Left + 2;
    TRect activeTab{};
    for (int i = 0; i < pc.PageCount(); ++i) {
      TTabSheet* page = pc.Pages(i);
      if (!page->TabVisible()) continue;
      int w = p_.TextWidth(*pc.Font(), page->Caption()) + 14;
      bool active = page == pc.ActivePage();
      TRect tab = Rect(x, r.Top + (active ? 0 : 2), x + w, tabBottom + (active ? 1 : 0));
      if (active) tab = Rect(tab.Left - 2, tab.Top, tab.Right + 2, tab.Bottom);
      p_.Fill(tab, Rgb(pc.EffectiveColor()));
      p_.HLine(tab.Left + 2, tab.Right - 2, tab.Top, kLight);
      p_.VLine(tab.Left, tab.Top + 2, tab.Bottom, kLight);
      p_.Fill(Rect(tab.Left + 1, tab.Top + 1, tab.Left + 2, tab.Top + 2), kLight);
      p_.VLine(tab.Right - 2, tab.Top + 1, tab.Bottom, kShadow);
      p_.VLine(tab.Right - 1, tab.Top + 2, tab.Bottom, kDark);
      p_.Text(Rect(tab.Left, tab.Top + 1, tab.Right, tab.Bottom), *pc.Font(), page->Caption(),
              TextColor(pc), taCenter, true, true);
      if (active) activeTab = tab;
      x += w;
    }
    if (!activeTab.IsEmpty())
      p_.Fill(Rect(activeTab.Left + 1, tabBottom, activeTab.Right - 2, tabBottom + 2),
              Rgb(pc.EffectiveColor()));
  }

  void List(TListView& lv, const TRect& r) {
    EditFrame(lv, r);
    TRect inner = TPainter::Inflate(r, 2);
    cairo_save(p_.Cr());
    cairo_rectangle(p_.Cr(), inner.Left, inner.Top, inner.Width(), inner.Height());
    cairo_clip(p_.Cr());
    int rowHeight = TextHeightOf(*lv.Font()) + 4;
    bool selectionShown = lv.Focused() || !lv.HideSelection();
    auto selColors = [&](TListItem* item, std::uint32_t& bg, std::uint32_t& fg) {
      bg = Rgb(lv.EffectiveColor());
      fg = TextColor(lv);
      if (item->Selected() && selectionShown) {
        bg = lv.Focused() ? kHighlight : kFace;
        fg = lv.Focused() ? kLight : 0;
      }
    };
    if (lv.ViewStyle() == vsReport) {
      int y = inner.Top;
      std::vector<int> xs;
      int x = inner.Left;
      for (int c = 0; c < lv.Columns()->Count(); ++c) {
        xs.push_back(x);
        x += lv.Columns()->Items(c)->Width();
      }
      xs.push_back(x);
      if (lv.ShowColumnHeaders()) {
        for (int c = 0; c < lv.Columns()->Count(); ++c) {
          TRect h = Rect(xs[c], y, xs[c + 1], y + rowHeight + 1);
          p_.Fill(h, kFace);
          p_.Edge(h, kLight, kShadow);
          p_.Text(Rect(h.Left + 4, h.Top, h.Right - 2, h.Bottom), *lv.Font(),
                  lv.Columns()->Items(c)->Caption(), 0, lv.Columns()->Items(c)->Alignment());
        }
        if (x < inner.Right) {
          TRect h = Rect(x, y, inner.Right, y + rowHeight + 1);
          p_.Fill(h, kFace);
          p_.Edge(h, kLight, kShadow);
        }
        y += rowHeight + 1;
      }
      for (int i = 0; i < lv.Items()->Count() && y < inner.Bottom; ++i, y += rowHeight) {
        TListItem* item = lv.Items()->Item(i);
        std::uint32_t bg, fg;
        selColors(item, bg, fg);
        int right =
            lv.RowSelect() ? xs.back() : xs[0] + p_.TextWidth(*lv.Font(), item->Caption()) + 6;
        if (bg != Rgb(lv.EffectiveColor())) p_.Fill(Rect(inner.Left, y, right, y + rowHeight), bg);
        for (int c = 0; c + 1 < static_cast<int>(xs.size()); ++c) {
          std::string text =
              c == 0 ? item->Caption()
                     : (c - 1 < item->SubItems()->Count() ? item->SubItems()->Get(c - 1) : "");
          bool inSel = c == 0 || lv.RowSelect();
          p_.Text(Rect(xs[c] + 4, y, xs[c + 1] - 2, y + rowHeight), *lv.Font(), text,
                  inSel ? fg : TextColor(lv), lv.Columns()->Items(c)->Alignment());
        }
      }
    } else {
      bool icons = lv.ViewStyle() == vsIcon;
      int cellW = icons ? 75 : 120, cellH = icons ? 32 + rowHeight : rowHeight;
      int x = inner.Left + 2, y = inner.Top + 2;
      for (int i = 0; i < lv.Items()->Count(); ++i) {
        TListItem* item = lv.Items()->Item(i);
        std::uint32_t bg, fg;
        selColors(item, bg, fg);
        if (icons) {
          TRect icon = Bounds(x + (cellW - 32) / 2, y, 32, 30);
          p_.Fill(TPainter::Inflate(icon, 6), 0xE8E4DC);
          p_.Frame(TPainter::Inflate(icon, 6), kShadow);
          TRect label = Rect(x, y + 32, x + cellW, y + cellH);
          if (bg != Rgb(lv.EffectiveColor())) p_.Fill(label, bg);
          p_.Text(label, *lv.Font(), item->Caption(), fg, taCenter);
          x += cellW;
          if (x + cellW > inner.Right) {
            x = inner.Left + 2;
            y += cellH + 4;
          }
        } else {
          TRect icon = Bounds(x, y + (rowHeight - 12) / 2, 12, 12);
          p_.Fill(icon, 0xE8E4DC);
          p_.Frame(icon, kShadow);
          TRect label = Rect(x + 16, y, x + cellW, y + rowHeight);
          if (bg != Rgb(lv.EffectiveColor())) p_.Fill(label, bg);
          p_.Text(Rect(label.Left + 2, label.Top, label.Right, label.Bottom), *lv.Font(),
                  item->Caption(), fg);
          y += rowHeight;
          if (y + rowHeight > inner.Bottom) {
            y = inner.Top + 2;
            x += cellW;
          }
        }
      }
    }
    cairo_restore(p_.Cr());
  }

  void Tree(TTreeView& tv, const TRect& r) {
    EditFrame(tv, r);
    int rowHeight = TextHeightOf(*tv.Font()) + 4;
    int y = r.Top + 3;
    std::function<void(TTreeNode*)> node = [&](TTreeNode* n) {
      if (y > r.Bottom) return;
      int x = r.Left + 4 + n->Level() * 19 + (tv.ShowRoot() ? 19 : 0);
      if (n->HasChildren()) {
        TRect box = Bounds(x - 14, y + (rowHeight - 9) / 2, 9, 9);
        p_.Fill(box, kWindow);
        p_.Frame(box, kShadow);
        p_.HLine(box.Left + 2, box.Right - 2, box.Top + 4, 0);
        if (!n->Expanded()) p_.VLine(box.Left + 4, box.Top + 2, box.Bottom - 2, 0);
      }
      TRect label = Rect(x, y, x + p_.TextWidth(*tv.Font(), n->Text()) + 4, y + rowHeight);
      bool sel = n->Selected() && (tv.Focused() || !tv.HideSelection());
      if (sel) p_.Fill(label, tv.Focused() ? kHighlight : kFace);
      p_.Text(Rect(label.Left + 2, label.Top, label.Right, label.Bottom), *tv.Font(), n->Text(),
              sel && tv.Focused() ? kLight : TextColor(tv));
      y += rowHeight;
      if (n->Expanded())
        for (int i = 0; i < n->Count(); ++i) node(n->Item(i));
    };
    for (int i = 0; i < tv.Items()->RootCount(); ++i) node(tv.Items()->Root(i));
  }

  void Status(TStatusBar& sb, const TRect& r) {
    p_.Fill(r, Rgb(sb.EffectiveColor()));
    if (sb.SimplePanel() || sb.Panels()->Count() == 0) {
      TRect t = Rect(r.Left + 2, r.Top + 2, r.Right - 2, r.Bottom);
      p_.Edge(t, kShadow, kLight);
      p_.Text(Rect(t.Left + 2, t.Top, t.Right, t.Bottom), *sb.Font(), sb.SimpleText(),
              TextColor(sb));
      return;
    }
    int x = r.Left;
    for (int i = 0; i < sb.Panels()->Count(); ++i) {
      TStatusPanel* panel = sb.Panels()->Items(i);
      bool last = i + 1 == sb.Panels()->Count();
      TRect t = Rect(x, r.Top + 2, last ? r.Right : x + panel->Width() - 2, r.Bottom);
      if (panel->Bevel() == pbLowered) p_.Edge(t, kShadow, kLight);
      if (panel->Bevel() == pbRaised) p_.Edge(t, kLight, kShadow);
      p_.Text(Rect(t.Left + 3, t.Top, t.Right - 2, t.Bottom), *sb.Font(), panel->Text(),
              TextColor(sb), panel->Alignment());
      x += panel->Width();
    }
  }

  void Progress(TProgressBar& pb, const TRect& r) {
    p_.Fill(r, kFace);
    p_.Edge(r, kShadow, kLight);
    int range = std::max(1, pb.Max() - pb.Min());
    TRect inner = TPainter::Inflate(r, 2);
    int filled = inner.Width() * (pb.Position() - pb.Min()) / range;
    if (pb.Smooth()) {
      p_.Fill(Rect(inner.Left, inner.Top, inner.Left + filled, inner.Bottom), kHighlight);
      return;
    }
    for (int x = inner.Left; x + 8 <= inner.Left + filled; x += 10)
      p_.Fill(Rect(x, inner.Top, x + 8, inner.Bottom), kHighlight);
  }

  void ToolButton(TToolButton& b, const TRect& r) {
    TToolBar* bar = b.ToolBar();
    p_.Fill(r, Rgb(bar ? bar->EffectiveColor() : clBtnFace));
    if (b.Style() == tbsSeparator) return;
    if (b.Style() == tbsDivider) {
      p_.VLine(r.Left + r.Width() / 2 - 1, r.Top + 2, r.Bottom - 2, kShadow);
      p_.VLine(r.Left + r.Width() / 2, r.Top + 2, r.Bottom - 2, kLight);
      return;
    }
    bool flat = bar && bar->Flat();
    if (b.Down())
      p_.Edge(r, kShadow, kLight);
    else if (!flat)
      p_.Raised(r);
    int arrow = b.Style() == tbsDropDown ? 14 : 0;
    TRect face = Rect(r.Left, r.Top, r.Right - arrow, r.Bottom);
    if (arrow) {
      if (!flat) p_.VLine(face.Right, r.Top + 2, r.Bottom - 2, kShadow);
      p_.Arrow(face.Right + 7, (r.Top + r.Bottom) / 2, TextColor(b));
    }
    const TBitmap* image = nullptr;
    if (bar && bar->Images()) image = bar->Images()->Image(b.ImageIndex());
    int textTop = face.Top;
    if (image) {
      TRawImage raw = RawImage(*image, 0, 1 << 20, true);
      int y = bar->ShowCaptions() ? face.Top + 3 : face.Top + (face.Height() - raw.Height) / 2;
      p_.Picture(raw, face.Left + (face.Width() - raw.Width) / 2, y);
      textTop = y + raw.Height;
    }
    if (!bar || bar->ShowCaptions())
      p_.Text(Rect(face.Left, textTop, face.Right, face.Bottom - 1), *b.Font(), b.Caption(),
              TextColor(b), taCenter, true, true);
  }

  void Grid(TDrawGrid& g, const TRect& r, TStringGrid* strings) {
    EditFrame(g, r);
    TRect inner = TPainter::Inflate(r, 2);
    cairo_save(p_.Cr());
    cairo_rectangle(p_.Cr(), inner.Left, inner.Top, inner.Width(), inner.Height());
    cairo_clip(p_.Cr());
    for (int row = 0; row < g.RowCount(); ++row)
      for (int col = 0; col < g.ColCount(); ++col) {
        TRect cell = g.CellRect(col, row);
        cell = Rect(cell.Left + inner.Left, cell.Top + inner.Top, cell.Right + inner.Left,
                    cell.Bottom + inner.Top);
        if (cell.Left > inner.Right || cell.Top > inner.Bottom) continue;
        bool fixed = col < g.FixedCols() || row < g.FixedRows();
        bool current = col == g.Col() && row == g.Row();
        bool selected =
            !fixed && (current || (g.Options().Contains(goRowSelect) && row == g.Row()));
        p_.Fill(cell, fixed                     ? kFace
                      : selected && g.Focused() ? kHighlight
                                                : Rgb(g.EffectiveColor()));
        if (fixed)
          p_.Edge(Rect(cell.Left, cell.Top, cell.Right + 1, cell.Bottom + 1), kLight, kShadow);
        p_.HLine(cell.Left, cell.Right + 1, cell.Bottom, fixed ? 0 : 0xC0C0C0);
        p_.VLine(cell.Right, cell.Top, cell.Bottom + 1, fixed ? 0 : 0xC0C0C0);
        if (strings)
          p_.Text(Rect(cell.Left + 2, cell.Top, cell.Right - 2, cell.Bottom), *g.Font(),
                  strings->Cells(col, row), selected && g.Focused() ? kLight : TextColor(g));
      }
    cairo_restore(p_.Cr());
  }

  TPainter& p_;
};

void Caption(TPainter& p, TForm& form, const TRect& outer) {
  int fw = form.FrameWidth(), ch = form.CaptionHeight();
  p.Fill(outer, kFace);
  p.Raised(outer);
  if (ch == 0) return;
  TRect bar = Rect(outer.Left + fw, outer.Top + fw, outer.Right - fw, outer.Top + fw + ch - 1);
  cairo_pattern_t* gradient = cairo_pattern_create_linear(bar.Left, 0, bar.Right, 0);
  cairo_pattern_add_color_stop_rgb(gradient, 0, 0x0A / 255.0, 0x24 / 255.0, 0x6A / 255.0);
  cairo_pattern_add_color_stop_rgb(gradient, 1, 0xA6 / 255.0, 0xCA / 255.0, 0xF0 / 255.0);
  cairo_set_source(p.Cr(), gradient);
  cairo_rectangle(p.Cr(), bar.Left, bar.Top, bar.Width(), bar.Height());
  cairo_fill(p.Cr());
  cairo_pattern_destroy(gradient);
  // caption buttons, right to left: close, maximise, minimise, help
  int size = ch - 5, x = bar.Right - 2 - size;
  auto box = [&](const char* what) {
    TRect b = Bounds(x, bar.Top + 2, size, size - 2);
    p.Fill(b, kFace);
    p.Raised(b);
    p.Color(0);
    cairo_set_line_width(p.Cr(), 1.5);
    double l = b.Left + 4, t = b.Top + 3, rr = b.Right - 4, bb = b.Bottom - 3;
    std::string w = what;
    if (w == "close") {
      cairo_move_to(p.Cr(), l, t);
      cairo_line_to(p.Cr(), rr, bb);
      cairo_move_to(p.Cr(), rr, t);
      cairo_line_to(p.Cr(), l, bb);
    } else if (w == "max") {
      cairo_rectangle(p.Cr(), l, t, rr - l, bb - t);
    } else if (w == "min") {
      cairo_move_to(p.Cr(), l, bb);
      cairo_line_to(p.Cr(), rr - 2, bb);
    } else {
      cairo_move_to(p.Cr(), (l + rr) / 2, bb);
      cairo_line_to(p.Cr(), (l + rr) / 2, bb - 1);
      cairo_move_to(p.Cr(), (l + rr) / 2, bb - 3);
      cairo_line_to(p.Cr(), (l + rr) / 2, t + 2);
    }
    cairo_stroke(p.Cr());
    x -= size + 2;
  };
  TBorderIcons icons = form.BorderIcons();
  if (icons.Contains(biSystemMenu)) {
    box("close");
    bool dialog = form.BorderStyle() == bsDialog;
    if (!dialog && (icons.Contains(biMaximize) || icons.Contains(biMinimize))) {
      box("max");
      box("min");
    } else if (icons.Contains(biHelp)) {
      box("help");
    }
  }
  TFont font;
  font.Assign(*form.Font());
  font.SetStyle(TFontStyles{fsBold});
  p.Text(Rect(bar.Left + 4, bar.Top, x + size, bar.Bottom), font, form.Caption(), kLight);
}

cairo_status_t AppendBytes(void* closure, const unsigned char* data, unsigned int length) {
  static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
  return CAIRO_STATUS_SUCCESS;
}

void UseFontsConf(const std::string& configured) {
  static bool done = false;
  if (done) return;
  done = true;
  // fontconfig reads FONTCONFIG_FILE once, when Pango first asks for fonts
  std::string path = configured;
  if (path.empty() && !std::getenv("FONTCONFIG_FILE")) {
    std::error_code ec;
    if (std::filesystem::exists("data/fonts/fonts.conf", ec)) path = "data/fonts/fonts.conf";
  }
  if (!path.empty()) setenv("FONTCONFIG_FILE", std::filesystem::absolute(path).c_str(), 1);
}

}  // namespace

std::string PictureFontFamilies(const std::string& ansiFontName, int codePage) {
  std::string name;
  try {
    name = AnsiToUtf8(ansiFontName, codePage);
  } catch (const std::exception&) {
    name = ansiFontName;
  }
  static const std::pair<const char*, const char*> map[] = {{"宋体", "AR PL UMing CN"},
                                                            {"SimSun", "AR PL UMing CN"},
                                                            {"新宋体", "AR PL UMing CN"},
                                                            {"NSimSun", "AR PL UMing CN"},
                                                            {"新细明体", "AR PL UMing TW"},
                                                            {"細明體", "AR PL UMing TW"},
                                                            {"PMingLiU", "AR PL UMing TW"},
                                                            {"MingLiU", "AR PL UMing TW"},
                                                            {"黑体", "WenQuanYi Zen Hei"},
                                                            {"SimHei", "WenQuanYi Zen Hei"},
                                                            {"Tahoma", "DejaVu Sans"},
                                                            {"Verdana", "DejaVu Sans"},
                                                            {"MS Sans Serif", "Liberation Sans"},
                                                            {"Arial", "Liberation Sans"},
                                                            {"Times New Roman", "Liberation Serif"},
                                                            {"Courier New", "Liberation Mono"}};
  std::string family = name;
  for (const auto& [from, to] : map)
    if (SameText(name, from)) family = to;
  return family + ", Liberation Sans, DejaVu Sans, AR PL UMing CN, WenQuanYi Zen Hei";
}

namespace {

cairo_surface_t* DrawForm(TForm& form, const TPictureOptions& options) {
  UseFontsConf(options.FontsConf);
  int fw = options.WindowFrame ? form.FrameWidth() : 0;
  int ch = options.WindowFrame ? form.CaptionHeight() : 0;
  int width = form.ClientWidth() + 2 * fw, height = form.ClientHeight() + 2 * fw + ch;
  double scale = options.Scale > 0 ? options.Scale : 1.0;
  cairo_surface_t* surface =
      cairo_image_surface_create(CAIRO_FORMAT_ARGB32, std::max(1, static_cast<int>(width * scale)),
                                 std::max(1, static_cast<int>(height * scale)));
  cairo_t* cr = cairo_create(surface);
  cairo_scale(cr, scale, scale);
  cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
  TPainter painter(cr, scale);
  if (options.WindowFrame) Caption(painter, form, Rect(0, 0, width, height));
  cairo_translate(cr, fw, fw + ch);
  painter.Fill(Rect(0, 0, form.ClientWidth(), form.ClientHeight()), Rgb(form.EffectiveColor()));
  TFormDrawer drawer(painter);
  cairo_rectangle(cr, 0, 0, form.ClientWidth(), form.ClientHeight());
  cairo_clip(cr);
  for (TControl* c : form.Controls()) drawer.Control(*c, c->Left(), c->Top());
  cairo_destroy(cr);
  cairo_surface_flush(surface);
  return surface;
}

}  // namespace

TRawImage FormPictureImage(TForm& form, const TPictureOptions& options) {
  cairo_surface_t* surface = DrawForm(form, options);
  TRawImage raw;
  raw.Width = cairo_image_surface_get_width(surface);
  raw.Height = cairo_image_surface_get_height(surface);
  int stride = cairo_image_surface_get_stride(surface);
  const unsigned char* data = cairo_image_surface_get_data(surface);
  raw.Argb.resize(static_cast<std::size_t>(raw.Width) * static_cast<std::size_t>(raw.Height));
  for (int y = 0; y < raw.Height; ++y)
    std::memcpy(&raw.Argb[static_cast<std::size_t>(y) * static_cast<std::size_t>(raw.Width)],
                data + static_cast<std::ptrdiff_t>(y) * stride,
                static_cast<std::size_t>(raw.Width) * 4);
  cairo_surface_destroy(surface);
  return raw;
}

std::string FormPicturePng(TForm& form, const TPictureOptions& options) {
  cairo_surface_t* surface = DrawForm(form, options);
  std::string png;
  cairo_status_t status = cairo_surface_write_to_png_stream(surface, AppendBytes, &png);
  cairo_surface_destroy(surface);
  if (status != CAIRO_STATUS_SUCCESS)
    throw Exception(std::string("Cannot draw the form picture: ") + cairo_status_to_string(status));
  return png;
}

void SaveFormPicture(TForm& form, const std::string& pngFile, const TPictureOptions& options) {
  std::string png = FormPicturePng(form, options);
  std::ofstream out(pngFile, std::ios::binary);
  if (!out) throw EFOpenError("Cannot create file \"" + pngFile + "\"");
  out.write(png.data(), static_cast<std::streamsize>(png.size()));
  if (!out) throw EFOpenError("Cannot write file \"" + pngFile + "\"");
}

}  // namespace nv
