#include "output/digest/digest_graph.h"

#include <cmath>
#include <string>

#include "base/colours.h"

namespace meridan::digest {
namespace {

// The template's colours and measures.
namespace graph_look {
constexpr Colour Of(meridan::Rgb c) { return Rgb(c.r, c.g, c.b); }
constexpr Colour kBackground = Of(graph_colours::kPage);
constexpr Colour kFrame = Of(graph_colours::kPanelEdge);
constexpr Colour kAbove = Of(graph_colours::kFavourableTint);
constexpr Colour kBelow = Of(graph_colours::kUnfavourableTint);
constexpr Colour kDotsAbove = Of(graph_colours::kFavourableGrid);
constexpr Colour kDotsBelow = Of(graph_colours::kUnfavourableGrid);
constexpr Colour kDayLineAbove[2] = {Rgb(0xCB, 0xDB, 0xF2), Rgb(0xBB, 0xCD, 0xE7)};
constexpr Colour kDayLineBelow[2] = {Rgb(0xE8, 0xD5, 0xDA), Rgb(0xD2, 0xC8, 0xD4)};
constexpr Colour kZero = Of(graph_colours::kZeroPen);
constexpr Colour kPlus = Of(graph_colours::kFavourableSign);
constexpr Colour kMinus = Of(graph_colours::kUnfavourableSign);
constexpr Colour kBand = Of(graph_colours::kLabelBox);
constexpr Colour kBandTop = Of(graph_colours::kBandLight);
constexpr Colour kBandBottom = Of(graph_colours::kBandShade);
constexpr Colour kLabel = Of(graph_colours::kLabelInk);
constexpr Colour kCurve = Of(graph_colours::kCurvePen);
constexpr Colour kMark = Of(graph_colours::kMarkPen);
constexpr double kDotStep = 20;    // pixels between the dotted lines
constexpr double kTick = 3;        // a day tick reaches this far either side of the zero line
constexpr double kLabelSize = 12;  // the picture's text, in its pixels
}  // namespace graph_look

void FillRect(cairo_t* cr, Colour colour, double x, double y, double w, double h) {
  SetColour(cr, colour);
  cairo_rectangle(cr, x, y, w, h);
  cairo_fill(cr);
}

// A one-pixel line along pixel row y (horizontal) or column x (vertical).
void PixelLine(cairo_t* cr, Colour colour, double x0, double y0, double x1, double y1) {
  SetColour(cr, colour);
  cairo_set_line_width(cr, 1);
  cairo_move_to(cr, x0 + (x0 == x1 ? 0.5 : 0), y0 + (y0 == y1 ? 0.5 : 0));
  cairo_line_to(cr, x1 + (x0 == x1 ? 0.5 : 0), y1 + (y0 == y1 ? 0.5 : 0));
  cairo_stroke(cr);
}

// The plus and minus at the left, level with the middle of each half.
void DrawSigns(cairo_t* cr, const DigestGraph& g, double bottom) {
  using namespace graph_look;
  const double top = g.panelTop, zero = g.zeroLine;
  const double signLeft = g.panelLeft - 45, signWidth = 18, bar = 4;
  const double plusMiddle = (top + zero) / 2 - 1, minusMiddle = (zero + bottom) / 2 - 1;
  FillRect(cr, kPlus, signLeft, plusMiddle - bar / 2, signWidth, bar);
  FillRect(cr, kPlus, signLeft + (signWidth - bar) / 2, plusMiddle - signWidth / 2, bar, signWidth);
  FillRect(cr, kMinus, signLeft, minusMiddle - bar / 2 + 2, signWidth, bar);
}

// The two halves inside the frame, with their dotted lines, the day
// columns, the zero line with a tick at each day, and the frame itself.
void DrawPanel(cairo_t* cr, const DigestGraph& g, double right, double bottom) {
  using namespace graph_look;
  const double left = g.panelLeft, top = g.panelTop, zero = g.zeroLine;
  FillRect(cr, kAbove, left + 1, top + 1, right - left - 1, zero - top - 1);
  FillRect(cr, kBelow, left + 1, zero + 1, right - left - 1, bottom - zero - 1);
  cairo_save(cr);
  const double dash[] = {1, 1};
  cairo_set_dash(cr, dash, 2, 0);
  for (double y = zero - kDotStep; y > top; y -= kDotStep)
    PixelLine(cr, kDotsAbove, left + 1, y, right, y);
  for (double y = zero + kDotStep; y < bottom; y += kDotStep)
    PixelLine(cr, kDotsBelow, left + 1, y, right, y);
  cairo_restore(cr);
  for (int k = 0; k <= g.days; ++k) {
    const double x = g.curveLeft + g.dayWidth * k;
    PixelLine(cr, kDayLineAbove[k % 2], x, top + 1, x, zero);
    PixelLine(cr, kDayLineBelow[k % 2], x, zero + 1, x, bottom);
  }
  PixelLine(cr, kZero, left + 1, zero, right, zero);
  for (int k = 0; k <= g.days; ++k) {
    const double x = g.curveLeft + g.dayWidth * k;
    PixelLine(cr, kZero, x, zero - kTick, x, zero + kTick + 1);
  }
  SetColour(cr, kFrame);
  cairo_set_line_width(cr, 1);
  cairo_rectangle(cr, left + 0.5, top + 0.5, right - left, bottom - top);
  cairo_stroke(cr);
}

// The band: a rounded box from a little below the panel to the foot.
void DrawBand(cairo_t* cr, const DigestGraph& g, double bottom) {
  using namespace graph_look;
  const double bandLeft = 4.5, bandRight = g.width - 4.5, bandTop = bottom + 3.5,
               bandBottom = g.height - 11.5, radius = 4;
  cairo_new_sub_path(cr);
  cairo_arc(cr, bandRight - radius, bandTop + radius, radius, -M_PI / 2, 0);
  cairo_arc(cr, bandRight - radius, bandBottom - radius, radius, 0, M_PI / 2);
  cairo_arc(cr, bandLeft + radius, bandBottom - radius, radius, M_PI / 2, M_PI);
  cairo_arc(cr, bandLeft + radius, bandTop + radius, radius, M_PI, 3 * M_PI / 2);
  cairo_close_path(cr);
  SetColour(cr, kBand);
  cairo_fill_preserve(cr);
  cairo_pattern_t* edge = cairo_pattern_create_linear(0, bandTop, 0, bandBottom);
  cairo_pattern_add_color_stop_rgb(edge, 0, kBandTop.r, kBandTop.g, kBandTop.b);
  cairo_pattern_add_color_stop_rgb(edge, 1, kBandBottom.r, kBandBottom.g, kBandBottom.b);
  cairo_set_source(cr, edge);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  cairo_pattern_destroy(edge);
}

// White text on the band, from x or centred on it.
void Label(cairo_t* cr, const Composer& composer, const std::string& text, double x, double y,
           bool centred) {
  const Layout layout = composer.Text(Escaped(text), graph_look::kLabelSize, 1000);
  pango_layout_set_width(layout.get(), -1);
  int w = 0, h = 0;
  pango_layout_get_size(layout.get(), &w, &h);
  SetColour(cr, graph_look::kLabel);
  cairo_move_to(cr, centred ? x - static_cast<double>(w) / PANGO_SCALE / 2 : x, y);
  pango_cairo_show_layout(cr, layout.get());
}

// On the band: every other day's number, the month, and the legend at the
// band's right end.
void DrawBandText(cairo_t* cr, const Composer& composer, const DigestGraph& g) {
  using namespace graph_look;
  for (int d = 2; d <= g.days; d += 2)
    Label(cr, composer, std::to_string(d), g.curveLeft + g.dayWidth * (d - 0.5), g.dayLabelTop,
          true);
  Label(cr, composer, g.caption, g.curveLeft + g.dayWidth, g.captionTop, false);
  const double legendTop = g.captionTop + 2, square = 10;
  FillRect(cr, kAbove, 215, legendTop, square, square);
  Label(cr, composer, "выше линии — благоприятно", 230, g.captionTop, false);
  FillRect(cr, kBelow, 414, legendTop, square, square);
  Label(cr, composer, "ниже линии — неблагоприятно", 429, g.captionTop, false);
}

// The curve of the day sums, and the red marks on the zero line.
void DrawCurveAndMarks(cairo_t* cr, const DigestGraph& g) {
  using namespace graph_look;
  if (!g.curve.empty()) {
    SetColour(cr, kCurve);
    cairo_set_line_width(cr, 3);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_move_to(cr, g.curve.front().x + 0.5, g.curve.front().y + 0.5);
    for (const DigestGraph::Point& p : g.curve) cairo_line_to(cr, p.x + 0.5, p.y + 0.5);
    cairo_stroke(cr);
  }
  SetColour(cr, kMark);
  cairo_set_line_width(cr, 3);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
  for (const auto& [from, to] : g.marks) {
    cairo_move_to(cr, from, g.zeroLine + 0.5);
    cairo_line_to(cr, to, g.zeroLine + 0.5);
  }
  cairo_stroke(cr);
}

}  // namespace

void DrawGraph(cairo_t* cr, const Composer& composer, const DigestGraph& g) {
  const double right = g.panelRight - 1, bottom = g.panelBottom - 1;  // the frame's own pixels
  FillRect(cr, graph_look::kBackground, 0, 0, g.width, g.height);
  DrawSigns(cr, g, bottom);
  DrawPanel(cr, g, right, bottom);
  DrawBand(cr, g, bottom);
  DrawBandText(cr, composer, g);
  DrawCurveAndMarks(cr, g);
}

}  // namespace meridan::digest
