#include "output/digest/digest.h"

#include <cairo.h>

#include <algorithm>
#include <cairo-pdf.h>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <iterator>
#include <memory>
#include <pango/pangocairo.h>
#include <stdexcept>
#include <string_view>

#include "base/month_names.h"
#include "ephemeris/calendar.h"
#include "output/digest/digest_text.h"
#include "output/digest/digest_title.h"
#include "texts/influence_texts.h"

namespace meridan {
namespace {

// A4 in points, and the frame the body keeps to.
constexpr double kPageWidth = 595.276;
constexpr double kPageHeight = 841.890;
constexpr double kLeft = 40;
constexpr double kRight = 40;
constexpr double kTop = 36;
constexpr double kBodyBottom = kPageHeight - 46;
constexpr double kFooterTop = kPageHeight - 32;
constexpr double kBodyWidth = kPageWidth - kLeft - kRight;
// The pages are drawn at 96 pixels per inch; a pixel of theirs in points.
constexpr double kPixel = 72.0 / 96.0;
// The strip left of each text that holds its bar.
constexpr double kGutter = 54;

constexpr const char* kFamily = "Liberation Sans";
constexpr double kTextSize = 9.5;

struct Colour {
  double r, g, b;
};
constexpr Colour Rgb(int r, int g, int b) { return {r / 255.0, g / 255.0, b / 255.0}; }
constexpr Colour kInk = Rgb(0x22, 0x22, 0x22);
constexpr Colour kHeading = Rgb(0x2a, 0x4d, 0x7a);  // as the pages' headings
constexpr Colour kQuiet = Rgb(0x55, 0x55, 0x55);

void SetColour(cairo_t* cr, Colour c) { cairo_set_source_rgb(cr, c.r, c.g, c.b); }

// The bars of the pages (b_blu1.gif .. b_red5.gif): 6 + 12 x strength pixels
// long, 10 high, a dark frame around a light-to-dark fall.
struct BarColours {
  Colour frame, top, bottom;
};
constexpr BarColours kBlue{Rgb(20, 50, 146), Rgb(132, 172, 250), Rgb(28, 72, 196)};
constexpr BarColours kRed{Rgb(146, 24, 20), Rgb(250, 146, 132), Rgb(196, 38, 30)};
constexpr double kBarHeight = 10 * kPixel;

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

std::string Utf8(const std::string& cp1251) { return Cp1251ToUtf8(cp1251); }

std::string MonthAndYear(YearMonth month) {
  return Utf8(MonthNameLower(month.month)) + ' ' + std::to_string(month.year);
}

struct LegendRow {
  int rating;
  const char* words;
};
constexpr LegendRow kLegend[] = {
    {1, "Очень слабое позитивное указание"},  {-1, "Очень слабое негативное указание"},
    {2, "Слабое позитивное указание"},        {-2, "Слабое негативное указание"},
    {3, "Позитивное указание средней силы"},  {-3, "Негативное указание средней силы"},
    {4, "Сильное позитивное указание"},       {-4, "Сильное негативное указание"},
    {5, "Очень сильное позитивное указание"}, {-5, "Очень сильное негативное указание"},
};

using Draw = std::function<void(cairo_t*)>;

struct LayoutUnref {
  void operator()(PangoLayout* layout) const { g_object_unref(layout); }
};
using Layout = std::shared_ptr<PangoLayout>;

// Lays the digest out page by page: every block is measured and given its
// place before anything is drawn, so the footers can say how many pages
// there are.
class Composer {
 public:
  explicit Composer(cairo_t* cr) : context_(pango_cairo_create_context(cr)) {
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
  ~Composer() { g_object_unref(context_); }
  Composer(const Composer&) = delete;
  Composer& operator=(const Composer&) = delete;

  // Pango markup in the digest's face at the size given, wrapped to width.
  Layout Text(const std::string& markup, double size, double width,
              PangoAlignment alignment = PANGO_ALIGN_LEFT) const {
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
  static double Height(const Layout& layout) {
    int width = 0, height = 0;
    pango_layout_get_size(layout.get(), &width, &height);
    return static_cast<double>(height) / PANGO_SCALE;
  }
  // The height of the layout's first line.
  static double FirstLineHeight(const Layout& layout) {
    PangoRectangle logical{};
    pango_layout_line_get_extents(pango_layout_get_line_readonly(layout.get(), 0), nullptr,
                                  &logical);
    return static_cast<double>(logical.height) / PANGO_SCALE;
  }

  // A new page; continued: the line that heads it, or empty for none.
  void StartPage(const std::string& continued = {}) {
    pages_.emplace_back();
    y_ = kTop;
    if (continued.empty()) return;
    const Layout head = Text(Escaped(continued), 8, kBodyWidth);
    Add(head, kLeft, kQuiet);
    y_ += Height(head) + 8;
  }
  void SetContinued(std::string continued) { continued_ = std::move(continued); }
  void Gap(double height) { y_ += height; }
  double Room() const { return kBodyBottom - reserve_ - y_; }

  // Where the layout stands, to come back to and lay out again.
  struct Mark {
    size_t pages, items;
    double y;
  };
  Mark Here() const { return {pages_.size(), pages_.back().size(), y_}; }
  void Rewind(const Mark& mark) {
    pages_.resize(mark.pages);
    pages_.back().resize(mark.items);
    y_ = mark.y;
  }
  // Room kept free at the foot of every page from now on.
  void SetReserve(double reserve) { reserve_ = reserve; }

  // A block of the height given, kept on one page; draw(cr, y) puts it at y.
  void Place(double height, const std::function<void(cairo_t*, double)>& draw) {
    if (height > Room() && !Fresh()) StartPage(continued_);
    const double y = y_;
    pages_.back().push_back([draw, y](cairo_t* cr) { draw(cr, y); });
    y_ += height;
  }

  // Text kept on one page where it fits on one, otherwise split between
  // lines; beside: drawn at the text's top on the page where it starts.
  void PlaceText(const Layout& layout, double x, Colour colour,
                 const std::function<void(cairo_t*, double)>& beside = {}) {
    const double height = Height(layout);
    if (height <= kBodyBottom - kTop - 40 || height <= Room()) {
      Place(height, [layout, x, colour, beside](cairo_t* cr, double y) {
        if (beside) beside(cr, y);
        SetColour(cr, colour);
        cairo_move_to(cr, x, y);
        pango_cairo_show_layout(cr, layout.get());
      });
      return;
    }
    PangoLayoutIter* lines = pango_layout_get_iter(layout.get());
    bool first = true;
    do {
      PangoRectangle logical{};
      pango_layout_iter_get_line_extents(lines, nullptr, &logical);
      const double top = static_cast<double>(logical.y) / PANGO_SCALE;
      const double height = static_cast<double>(logical.height) / PANGO_SCALE;
      const double baseline =
          static_cast<double>(pango_layout_iter_get_baseline(lines)) / PANGO_SCALE - top;
      PangoLayoutLine* line = pango_layout_iter_get_line_readonly(lines);
      const double lineX = x + static_cast<double>(logical.x) / PANGO_SCALE;
      const auto besideHere = first ? beside : std::function<void(cairo_t*, double)>{};
      Place(height, [layout, line, lineX, baseline, colour, besideHere](cairo_t* cr, double y) {
        if (besideHere) besideHere(cr, y);
        SetColour(cr, colour);
        cairo_move_to(cr, lineX, y + baseline);
        pango_cairo_show_layout_line(cr, line);
      });
      first = false;
    } while (pango_layout_iter_next_line(lines));
    pango_layout_iter_free(lines);
  }

  const std::vector<std::vector<Draw>>& Pages() const { return pages_; }
  int PageCount() const { return static_cast<int>(pages_.size()); }

 private:
  bool Fresh() const { return pages_.back().empty() || y_ <= kTop + 30; }
  void Add(const Layout& layout, double x, Colour colour) {
    const double y = y_;
    pages_.back().push_back([layout, x, y, colour](cairo_t* cr) {
      SetColour(cr, colour);
      cairo_move_to(cr, x, y);
      pango_cairo_show_layout(cr, layout.get());
    });
  }

  PangoContext* context_;
  std::vector<std::vector<Draw>> pages_;
  std::string continued_;
  double y_ = kTop;
  double reserve_ = 0;
};

// The month graph as lines and text, in the page picture's pixels, with the
// colours of its template (System/month.bmp): a light frame, the favourable
// half blue and the unfavourable half pink, a dotted line every 20 pixels
// from the zero line, a column per day, the signs at the left and a band
// below with the day numbers, the month and the legend.
namespace graph_look {
constexpr Colour kBackground = Rgb(0xEE, 0xF6, 0xFC);
constexpr Colour kFrame = Rgb(0xAC, 0xC0, 0xDC);
constexpr Colour kAbove = Rgb(0xDB, 0xE9, 0xFD);
constexpr Colour kBelow = Rgb(0xFD, 0xE2, 0xE0);
constexpr Colour kDotsAbove = Rgb(0xBE, 0xD0, 0xEA);
constexpr Colour kDotsBelow = Rgb(0xEC, 0xC6, 0xC4);
constexpr Colour kDayLineAbove[2] = {Rgb(0xCB, 0xDB, 0xF2), Rgb(0xBB, 0xCD, 0xE7)};
constexpr Colour kDayLineBelow[2] = {Rgb(0xE8, 0xD5, 0xDA), Rgb(0xD2, 0xC8, 0xD4)};
constexpr Colour kZero = Rgb(0x48, 0x58, 0x78);
constexpr Colour kPlus = Rgb(0x40, 0x68, 0xB8);
constexpr Colour kMinus = Rgb(0xC4, 0x54, 0x50);
constexpr Colour kBand = Rgb(0x6F, 0x91, 0xBE);
constexpr Colour kBandTop = Rgb(0x96, 0xB2, 0xD6);
constexpr Colour kBandBottom = Rgb(0x5C, 0x7C, 0xAA);
constexpr Colour kLabel = Rgb(0xFF, 0xFF, 0xFF);
constexpr Colour kCurve = Rgb(0x00, 0x00, 0xFF);
constexpr Colour kMark = Rgb(0xFF, 0x00, 0x00);
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

void DrawGraph(cairo_t* cr, const Composer& composer, const DigestGraph& g) {
  using namespace graph_look;
  const double left = g.panelLeft, top = g.panelTop;
  const double right = g.panelRight - 1, bottom = g.panelBottom - 1;  // the frame's own pixels
  const double zero = g.zeroLine;

  FillRect(cr, kBackground, 0, 0, g.width, g.height);
  // The signs, level with the middle of each half.
  const double signLeft = left - 45, signWidth = 18, bar = 4;
  const double plusMiddle = (top + zero) / 2 - 1, minusMiddle = (zero + bottom) / 2 - 1;
  FillRect(cr, kPlus, signLeft, plusMiddle - bar / 2, signWidth, bar);
  FillRect(cr, kPlus, signLeft + (signWidth - bar) / 2, plusMiddle - signWidth / 2, bar, signWidth);
  FillRect(cr, kMinus, signLeft, minusMiddle - bar / 2 + 2, signWidth, bar);

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

  // The band: a rounded box from a little below the panel to the foot.
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

  const auto label = [&](const std::string& text, double x, double y, bool centred) {
    const Layout layout = composer.Text(Escaped(text), kLabelSize, 1000);
    pango_layout_set_width(layout.get(), -1);
    int w = 0, h = 0;
    pango_layout_get_size(layout.get(), &w, &h);
    SetColour(cr, kLabel);
    cairo_move_to(cr, centred ? x - static_cast<double>(w) / PANGO_SCALE / 2 : x, y);
    pango_cairo_show_layout(cr, layout.get());
  };
  for (int d = 2; d <= g.days; d += 2)
    label(std::to_string(d), g.curveLeft + g.dayWidth * (d - 0.5), g.dayLabelTop, true);
  label(g.caption, g.curveLeft + g.dayWidth, g.captionTop, false);
  // The legend at the band's right end.
  const double legendTop = g.captionTop + 2, square = 10;
  FillRect(cr, kAbove, 215, legendTop, square, square);
  label("выше линии — благоприятно", 230, g.captionTop, false);
  FillRect(cr, kBelow, 414, legendTop, square, square);
  label("ниже линии — неблагоприятно", 429, g.captionTop, false);

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
    cairo_move_to(cr, from, zero + 0.5);
    cairo_line_to(cr, to, zero + 0.5);
  }
  cairo_stroke(cr);
}

cairo_status_t AppendToString(void* closure, const unsigned char* data, unsigned int length) {
  static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
  return CAIRO_STATUS_SUCCESS;
}

std::string DateText(Date date) {
  return std::to_string(date.day) + ' ' + Utf8(MonthNameGenitive(date.month)) + ' ' +
         std::to_string(date.year) + " г.";
}

class DigestWriter {
 public:
  DigestWriter(const Digest& digest, cairo_t* cr) : digest_(digest), page_(cr) {
    for (const DigestMonth& month : digest.months) {
      if (!month.scan || !month.series)
        throw std::invalid_argument("a month of the digest has no scan or series");
      scans_.push_back(month.scan);
      days_.months.push_back(month.scan->month);
      days_.lengths.push_back(month.scan->length);
    }
  }
  ~DigestWriter() = default;
  DigestWriter(const DigestWriter&) = delete;
  DigestWriter& operator=(const DigestWriter&) = delete;

  Composer& Compose() {
    // The closing part shares the last month's pages where it fits there.
    for (size_t k = 0; k < digest_.months.size(); ++k)
      Month(k, k + 1 == digest_.months.size() ? [this] { Closing(); } : std::function<void()>{});
    return page_;
  }

 private:
  void Month(size_t k, const std::function<void()>& after) {
    const DigestMonth& month = digest_.months[k];
    const std::string name = DigestName(digest_.name);
    const std::string heading = std::string(KindInfo(digest_.kind).digestHeading) +
                                MonthAndYear(month.scan->month) + " года";
    page_.SetContinued(heading + (name.empty() ? "" : ", " + name) + " (продолжение)");
    page_.StartPage();

    const Layout title = page_.Text("<b>" + Escaped(heading) + "</b>", 16, kBodyWidth);
    page_.PlaceText(title, kLeft, kHeading);
    page_.Gap(2);
    const std::string born = DateText(digest_.birth);
    const Layout who = page_.Text(
        Escaped(name.empty() ? "Дата рождения: " + born : name + ", дата рождения: " + born), 10.5,
        kBodyWidth);
    page_.PlaceText(who, kLeft, kQuiet);
    // The month's stations, under the name.
    std::string turns;
    for (const Station& station : digest_.stations) {
      const Date day = DateOf(station.moment);
      if (YearMonth{day.year, day.month} != month.scan->month) continue;
      turns += (turns.empty() ? "" : "; ") + Utf8(StationTitle(station)) + ' ' +
               DayText(month.scan->month, day.day);
    }
    if (!turns.empty()) {
      page_.Gap(2);
      page_.PlaceText(page_.Text(Escaped(turns + "."), kTextSize, kBodyWidth), kLeft, kInk);
    }
    page_.Gap(8);

    const DigestGraph& graph = month.graph;
    if (graph.width <= 0 || graph.height <= 0 || graph.days <= 0)
      throw std::invalid_argument("a month of the digest has no graph");
    const double width = graph.width * kPixel;
    const double height = graph.height * kPixel;
    const double x = kLeft + (kBodyWidth - width) / 2;
    const Composer& composer = page_;
    page_.Place(height, [&graph, &composer, x](cairo_t* cr, double y) {
      cairo_save(cr);
      cairo_translate(cr, x, y);
      cairo_scale(cr, kPixel, kPixel);
      DrawGraph(cr, composer, graph);
      cairo_restore(cr);
    });
    page_.Gap(6);
    if (KindInfo(digest_.kind).retrogradeMarks) Retrograde(k);
    page_.Gap(8);

    const MonthTexts texts =
        SplitMonthTexts(MonthEntries(scans_, k), month.scan->month, digest_.influences);
    if (texts.continuing.empty() && texts.beginning.empty())
      page_.PlaceText(page_.Text("<i>В этом месяце указаний нет.</i>", kTextSize, kBodyWidth),
                      kLeft, kQuiet);
    struct Item {
      Layout text;
      int rating;
      double barTop;
    };
    std::vector<Item> items;
    // What goes on from the month before stands there whole; here one line
    // says until when.
    for (const DigestEntry& entry : texts.continuing) {
      const DayRun& run = entry.runs.front();
      Layout text = Continuing(entry.text, WindowEndText(entry, run, digest_.influences));
      const double barTop = (Composer::FirstLineHeight(text) - kBarHeight) / 2;
      items.push_back({std::move(text), entry.rating, barTop});
    }
    for (const DigestEntry& entry : texts.beginning) {
      Layout text = page_.Text("<b>" + Escaped(WindowsText(entry, entry.runs, digest_.influences)) +
                                   "</b> — " + Escaped(entry.text),
                               kTextSize, kBodyWidth - kGutter);
      const double barTop = (Composer::FirstLineHeight(text) - kBarHeight) / 2;
      items.push_back({std::move(text), entry.rating, barTop});
    }
    const auto place = [this, &items, &after] {
      for (const Item& item : items) {
        page_.PlaceText(item.text, kLeft + kGutter, kInk,
                        [rating = item.rating, barTop = item.barTop](cairo_t* cr, double y) {
                          if (HasBar(rating)) DrawBar(cr, kLeft, y + barTop, rating);
                        });
        page_.Gap(4);
      }
      if (after) after();
    };
    Balanced(place);
  }

  // "продолжается: Начало текста…, до 4 января" on one line: as many of the
  // text's words as leave room for the day.
  Layout Continuing(const std::string& text, const std::string& until) const {
    const auto line = [&](size_t words) {
      std::string shown;
      size_t at = 0;
      for (size_t w = 0; w < words && at != std::string::npos; ++w) {
        const size_t end = text.find(' ', at);
        shown += (shown.empty() ? "" : " ") + text.substr(at, end - at);
        at = end == std::string::npos ? end : end + 1;
      }
      if (at != std::string::npos) {
        // No stop or dash of the sentence before the ellipsis.
        for (bool cut = true; cut;) {
          cut = false;
          for (const std::string_view end : {",", ":", ";", " ", "—", "–", "-"})
            if (shown.ends_with(end)) {
              shown.resize(shown.size() - end.size());
              cut = true;
            }
        }
        shown += "…";
      }
      return page_.Text(
          "<i>продолжается:</i> " + Escaped(shown) + ", <b>до " + Escaped(until) + "</b>",
          kTextSize, kBodyWidth - kGutter);
    };
    size_t fits = 0, tooMany = static_cast<size_t>(std::count(text.begin(), text.end(), ' ')) + 2;
    while (tooMany - fits > 1) {
      const size_t words = (fits + tooMany) / 2;
      (pango_layout_get_line_count(line(words).get()) == 1 ? fits : tooMany) = words;
    }
    return line(fits);
  }

  // Lays out what place() places so that, where it takes more than one
  // page, its pages are filled alike rather than the last holding a few
  // lines: the same room is kept free at the foot of each, as much as can be
  // without needing another page.
  void Balanced(const std::function<void()>& place) {
    const Composer::Mark start = page_.Here();
    place();
    const int pages = page_.PageCount();
    if (pages == static_cast<int>(start.pages)) return;
    double fits = 0, overflows = (kBodyBottom - kTop) / 2;
    for (int step = 0; step < 12; ++step) {
      const double reserve = (fits + overflows) / 2;
      page_.Rewind(start);
      page_.SetReserve(reserve);
      place();
      (page_.PageCount() == pages ? fits : overflows) = reserve;
    }
    page_.Rewind(start);
    page_.SetReserve(fits);
    place();
    page_.SetReserve(0);
  }

  void Retrograde(size_t k) {
    const std::vector<DayRun> runs = MonthRuns(days_, k, [this](size_t month, int day) {
      const SeriesStore& series = *digest_.months[month].series;
      const int sample = 3 * day - 2;
      return sample <= series.SampleCount && sample <= kSeriesSlots &&
             series.RetrogradeMarks[static_cast<size_t>(sample)] == 1;
    });
    const std::string words = runs.empty()
                                  ? "Ретроградного Меркурия в этом месяце нет."
                                  : "<b>Ретроградный Меркурий</b> (красные отметки на графике): " +
                                        Escaped(DayRunsText(runs)) + ".";
    page_.PlaceText(page_.Text(words, kTextSize, kBodyWidth, PANGO_ALIGN_CENTER), kLeft, kInk);
  }

  // A block of the closing part: its height and how to draw it at a y.
  struct Block {
    double height;
    std::function<void(cairo_t*, double)> draw;
  };
  static Block TextBlock(const Layout& layout, double x, Colour colour, double gapAfter) {
    return {Composer::Height(layout) + gapAfter, [layout, x, colour](cairo_t* cr, double y) {
              SetColour(cr, colour);
              cairo_move_to(cr, x, y);
              pango_cairo_show_layout(cr, layout.get());
            }};
  }
  Block Paragraph(const std::string& markup) const {
    return TextBlock(page_.Text(markup, kTextSize, kBodyWidth), kLeft, kInk, 5);
  }

  // How to read the digest, the day it was made and what its texts are
  // worth: on one page, after the last month where it fits.
  void Closing() {
    std::vector<Block> blocks;
    blocks.push_back(
        TextBlock(page_.Text("<b>Как читать прогноз</b>", 14, kBodyWidth), kLeft, kHeading, 6));
    blocks.push_back(Paragraph(
        "<b>График месяца.</b> Для каждого дня складываются оценки всех его указаний: "
        "благоприятные со знаком плюс, неблагоприятные со знаком минус. Горизонтальная линия "
        "посередине графика — нулевой уровень: выше неё в сумме перевешивают благоприятные "
        "указания, ниже — неблагоприятные; чем дальше кривая от линии, тем больше перевес. "
        "Цифры под графиком — числа месяца."));
    if (KindInfo(digest_.kind).retrogradeMarks)
      blocks.push_back(Paragraph(
          "<b>Красные отметки на нулевой линии</b> — дни, когда Меркурий движется попятно "
          "(ретроградный Меркурий); они названы и под графиком. В такие дни перепроверяйте "
          "документы и не спешите с подписью."));
    blocks.push_back(Paragraph(
        "<b>Указания.</b> Каждое указание приведено один раз, в месяце, где оно начинается, "
        "со всем временем своего действия, даже если оно началось раньше или кончится позже "
        "прогноза: «28 июля – 4 августа, точно 2 августа» — с 28 июля по 4 августа "
        "включительно, а 2 августа аспект точен и влияние сильнее всего. В следующем месяце "
        "такое указание напомнит о себе одной строкой «продолжается: …, до 4 августа». "
        "Под заголовком месяца названы дни, когда Меркурий, Венера или Марс "
        "разворачиваются назад или вперёд: вокруг них темы планеты особенно заметны. "
        "Чёрточка перед текстом показывает "
        "характер и силу указания: синяя — благоприятное, красная — неблагоприятное; чем "
        "длиннее чёрточка, тем сильнее указание:"));
    for (size_t i = 0; i < std::size(kLegend); i += 2) blocks.push_back(LegendRows(i));
    blocks.back().height += 10;
    blocks.push_back(Paragraph(Escaped("Прогноз составлен " + std::to_string(digest_.made.day) +
                                       ' ' + Utf8(MonthNameGenitive(digest_.made.month)) + ' ' +
                                       std::to_string(digest_.made.year) + " года.")));
    blocks.push_back(
        Paragraph("<i>" + Escaped(std::string(KindInfo(digest_.kind).disclaimer)) + "</i>"));

    constexpr double kSpaceBefore = 16;
    double height = kSpaceBefore;
    for (const Block& block : blocks) height += block.height;
    if (height > page_.Room())
      page_.StartPage();
    else
      page_.Gap(kSpaceBefore);
    for (const Block& block : blocks) page_.Place(block.height, block.draw);
  }

  // Two bars of the legend side by side, favourable on the left.
  Block LegendRows(size_t i) const {
    const double column = kBodyWidth / 2;
    Layout words[2];
    double height = 0;
    for (size_t c = 0; c < 2; ++c) {
      const LegendRow& row = kLegend[i + c];
      words[c] = page_.Text(Escaped((row.rating > 0 ? "+" : "−") +
                                    std::to_string(std::abs(row.rating)) + "  " + row.words),
                            kTextSize, column - kGutter - 8);
      height = std::max(height, Composer::Height(words[c]));
    }
    const int ratings[2] = {kLegend[i].rating, kLegend[i + 1].rating};
    return {height + 3, [words, ratings, column](cairo_t* cr, double y) {
              for (size_t c = 0; c < 2; ++c) {
                const double x = kLeft + static_cast<double>(c) * column;
                const double barTop = (Composer::FirstLineHeight(words[c]) - kBarHeight) / 2;
                DrawBar(cr, x, y + barTop, ratings[c]);
                SetColour(cr, kInk);
                cairo_move_to(cr, x + kGutter, y);
                pango_cairo_show_layout(cr, words[c].get());
              }
            }};
  }

  const Digest& digest_;
  Composer page_;
  std::vector<const MonthScan*> scans_;
  ForecastDays days_;
};

void Footer(Composer& composer, cairo_t* cr, int page, int pages) {
  const Layout footer =
      composer.Text(Escaped("Страница " + std::to_string(page) + " из " + std::to_string(pages)), 8,
                    kBodyWidth, PANGO_ALIGN_CENTER);
  SetColour(cr, kQuiet);
  cairo_move_to(cr, kLeft, kFooterTop);
  pango_cairo_show_layout(cr, footer.get());
}

void Check(cairo_status_t status) {
  if (status != CAIRO_STATUS_SUCCESS)
    throw std::runtime_error(std::string("the PDF could not be made: ") +
                             cairo_status_to_string(status));
}

}  // namespace

std::string RenderDigest(const Digest& digest) {
  if (digest.months.empty()) throw std::invalid_argument("a digest needs at least one month");
  std::string pdf;
  cairo_surface_t* surface =
      cairo_pdf_surface_create_for_stream(AppendToString, &pdf, kPageWidth, kPageHeight);
  cairo_t* cr = cairo_create(surface);
  struct Release {
    cairo_surface_t* surface;
    cairo_t* cr;
    ~Release() {
      cairo_destroy(cr);
      cairo_surface_destroy(surface);
    }
  } release{surface, cr};
  Check(cairo_surface_status(surface));

  const YearMonth first =
      digest.months.front().scan ? digest.months.front().scan->month : YearMonth{};
  const YearMonth last = digest.months.back().scan ? digest.months.back().scan->month : YearMonth{};
  cairo_pdf_surface_set_metadata(surface, CAIRO_PDF_METADATA_TITLE,
                                 DigestTitle(digest.kind, digest.name, first, last).c_str());
  cairo_pdf_surface_set_metadata(surface, CAIRO_PDF_METADATA_AUTHOR, "Meridan Diru");
  cairo_pdf_surface_set_metadata(surface, CAIRO_PDF_METADATA_CREATOR, "Meridan Diru");

  DigestWriter writer(digest, cr);
  Composer& composer = writer.Compose();
  const int pages = composer.PageCount();
  for (int p = 0; p < pages; ++p) {
    for (const Draw& draw : composer.Pages()[static_cast<size_t>(p)]) draw(cr);
    Footer(composer, cr, p + 1, pages);
    cairo_show_page(cr);
  }
  Check(cairo_status(cr));
  cairo_surface_finish(surface);
  Check(cairo_surface_status(surface));
  return pdf;
}

}  // namespace meridan
