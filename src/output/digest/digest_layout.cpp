#include "output/digest/digest_layout.h"

#include <cstdlib>

namespace meridan::digest {

void SetColour(cairo_t* cr, Colour c) { cairo_set_source_rgb(cr, c.r, c.g, c.b); }

bool HasBar(int rating) { return rating != 0 && rating >= -5 && rating <= 5; }
double BarWidth(int rating) { return (6 + 12 * std::abs(rating)) * kPixel; }

void DrawBar(cairo_t* cr, double x, double y, int rating) {
  const BarColours& c = rating > 0 ? kBlue : kRed;
  const double w = BarWidth(rating);
  cairo_save(cr);
  SetColour(cr, c.frame);
  cairo_rectangle(cr, x, y, w, kBarHeight);
  cairo_fill(cr);
  cairo_pattern_t* fall = cairo_pattern_create_linear(0, y + kPixel, 0, y + kBarHeight - kPixel);
  cairo_pattern_add_color_stop_rgb(fall, 0, c.top.r, c.top.g, c.top.b);
  cairo_pattern_add_color_stop_rgb(fall, 1, c.bottom.r, c.bottom.g, c.bottom.b);
  cairo_set_source(cr, fall);
  cairo_rectangle(cr, x + kPixel, y + kPixel, w - 2 * kPixel, kBarHeight - 2 * kPixel);
  cairo_fill(cr);
  cairo_pattern_destroy(fall);
  cairo_restore(cr);
}

std::string Escaped(const std::string& text) {
  char* escaped = g_markup_escape_text(text.c_str(), static_cast<gssize>(text.size()));
  std::string out(escaped);
  g_free(escaped);
  return out;
}

Composer::Composer(cairo_t* cr) : context_(pango_cairo_create_context(cr)) {
  // Sizes are points on the PDF surface, not pixels of a screen.
  pango_cairo_context_set_resolution(context_, 72);
  pango_context_set_round_glyph_positions(context_, FALSE);
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
  pango_cairo_context_set_font_options(context_, options);
  cairo_font_options_destroy(options);
  pango_cairo_update_context(cr, context_);
}

Layout Composer::Text(const std::string& markup, double size, double width,
                      PangoAlignment alignment) const {
  Layout layout(pango_layout_new(context_), LayoutUnref{});
  PangoFontDescription* font = pango_font_description_new();
  pango_font_description_set_family(font, kFamily);
  pango_font_description_set_size(font, static_cast<gint>(size * PANGO_SCALE));
  pango_layout_set_font_description(layout.get(), font);
  pango_font_description_free(font);
  pango_layout_set_width(layout.get(), static_cast<int>(width * PANGO_SCALE));
  pango_layout_set_wrap(layout.get(), PANGO_WRAP_WORD_CHAR);
  pango_layout_set_alignment(layout.get(), alignment);
  pango_layout_set_markup(layout.get(), markup.c_str(), -1);
  return layout;
}

void Composer::PlaceText(const Layout& layout, double x, Colour colour,
                         const std::function<void(cairo_t*, double)>& beside) {
  const double height = Height(layout);
  const bool wholeOnAPage = height <= kBodyBottom - kTop - 40;
  if (height <= Room() || (wholeOnAPage && (Fresh() || kBodyBottom - y_ <= kMostEmpty))) {
    Place(height, [layout, x, colour, beside](cairo_t* cr, double y) {
      if (beside) beside(cr, y);
      SetColour(cr, colour);
      cairo_move_to(cr, x, y);
      pango_cairo_show_layout(cr, layout.get());
    });
    return;
  }
  // Line by line, the text's tag begun with its first and ended with its last.
  const std::string tag = tag_;
  tag_.clear();
  const int count = pango_layout_get_line_count(layout.get());
  PangoLayoutIter* lines = pango_layout_get_iter(layout.get());
  int index = 0;
  do {
    PangoRectangle logical{};
    pango_layout_iter_get_line_extents(lines, nullptr, &logical);
    const double top = static_cast<double>(logical.y) / PANGO_SCALE;
    const double lineHeight = static_cast<double>(logical.height) / PANGO_SCALE;
    const double baseline =
        static_cast<double>(pango_layout_iter_get_baseline(lines)) / PANGO_SCALE - top;
    PangoLayoutLine* line = pango_layout_iter_get_line_readonly(lines);
    const double lineX = x + static_cast<double>(logical.x) / PANGO_SCALE;
    const auto besideHere = index == 0 ? beside : std::function<void(cairo_t*, double)>{};
    const std::string opens = index == 0 ? tag : "", closes = index + 1 == count ? tag : "";
    Place(lineHeight, [layout, line, lineX, baseline, colour, besideHere, opens, closes](
                          cairo_t* cr, double y) {
      if (!opens.empty()) cairo_tag_begin(cr, opens.c_str(), "");
      if (besideHere) besideHere(cr, y);
      SetColour(cr, colour);
      cairo_move_to(cr, lineX, y + baseline);
      pango_cairo_show_layout_line(cr, line);
      if (!closes.empty()) cairo_tag_end(cr, closes.c_str());
    });
    ++index;
  } while (pango_layout_iter_next_line(lines));
  pango_layout_iter_free(lines);
  tag_ = tag;
}

}  // namespace meridan::digest
