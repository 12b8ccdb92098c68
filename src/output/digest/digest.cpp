#include "output/digest/digest.h"

#include <cairo.h>

#include <algorithm>
#include <cairo-pdf.h>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <iterator>
#include <memory>
#include <pango/pangocairo.h>
#include <stdexcept>
#include <string_view>

#include "base/month_names.h"
#include "output/digest/digest_text.h"

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

std::string PlainName(const Cp1251Html& name) { return HtmlToText(Utf8(name.bytes)); }

// The name as it is joined to other text. One that may hold right-to-left
// letters or bidirectional controls (anything from U+0580 on: a lead byte
// from 0xD6; Cyrillic stays below) is isolated, U+2068 ... U+2069, so that
// a U+202E in it cannot turn round the rest of the line.
std::string JoinedName(const Cp1251Html& name) {
  std::string plain = PlainName(name);
  if (std::any_of(plain.begin(), plain.end(),
                  [](char c) { return static_cast<unsigned char>(c) >= 0xD6; }))
    plain = "\u2068" + plain + "\u2069";
  return plain;
}

// The bidirectional controls (U+061C, U+200E, U+200F, U+202A..U+202E,
// U+2066..U+2069) taken out of a UTF-8 text: in a file name they only
// disguise it.
std::string WithoutBidiControls(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    const std::string_view rest = std::string_view(text).substr(i);
    const auto third = rest.size() >= 3 ? static_cast<unsigned char>(rest[2]) : 0;
    if (rest.starts_with("\xD8\x9C")) {
      ++i;
      continue;
    }
    if ((rest.starts_with("\xE2\x80") &&
         (third == 0x8E || third == 0x8F || (third >= 0xAA && third <= 0xAE))) ||
        (rest.starts_with("\xE2\x81") && third >= 0xA6 && third <= 0xA9)) {
      i += 2;
      continue;
    }
    out += text[i];
  }
  return out;
}

// The kind as a title and a file name name it.
std::string KindTitle(ForecastKind kind) {
  switch (kind) {
    case ForecastKind::Trips:
      return "Авто-прогноз";
    case ForecastKind::Service:
      return "Сервис-прогноз";
    case ForecastKind::Sale:
      return "Прогноз покупки-продажи";
  }
  return {};
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
  double Room() const { return kBodyBottom - y_; }

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
};

// The graph as a Cairo image with the run's JPEG attached, so the PDF
// carries the JPEG itself rather than the pixels again.
cairo_surface_t* GraphSurface(const DigestPicture& picture) {
  if (picture.width <= 0 || picture.height <= 0 ||
      picture.rgb.size() != static_cast<size_t>(picture.width) * picture.height * 3)
    throw std::invalid_argument("the month graph's pixels do not match its size");
  cairo_surface_t* surface =
      cairo_image_surface_create(CAIRO_FORMAT_RGB24, picture.width, picture.height);
  cairo_surface_flush(surface);
  unsigned char* data = cairo_image_surface_get_data(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  for (int y = 0; y < picture.height; ++y) {
    auto* row = reinterpret_cast<std::uint32_t*>(data + static_cast<ptrdiff_t>(y) * stride);
    const std::uint8_t* in = picture.rgb.data() + static_cast<size_t>(y) * picture.width * 3;
    for (int x = 0; x < picture.width; ++x, in += 3)
      row[x] = (std::uint32_t{in[0]} << 16) | (std::uint32_t{in[1]} << 8) | in[2];
  }
  cairo_surface_mark_dirty(surface);
  if (!picture.jpeg.empty()) {
    auto* jpeg = static_cast<unsigned char*>(std::malloc(picture.jpeg.size()));
    if (!jpeg) throw std::bad_alloc();
    std::memcpy(jpeg, picture.jpeg.data(), picture.jpeg.size());
    cairo_surface_set_mime_data(surface, CAIRO_MIME_TYPE_JPEG, jpeg, picture.jpeg.size(), std::free,
                                jpeg);
  }
  return surface;
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
  ~DigestWriter() {
    for (cairo_surface_t* graph : graphs_) cairo_surface_destroy(graph);
  }
  DigestWriter(const DigestWriter&) = delete;
  DigestWriter& operator=(const DigestWriter&) = delete;

  Composer& Compose() {
    for (size_t k = 0; k < digest_.months.size(); ++k) Month(k);
    Closing();
    return page_;
  }

 private:
  void Month(size_t k) {
    const DigestMonth& month = digest_.months[k];
    const std::string name = JoinedName(digest_.name);
    const std::string heading = std::string(KindInfo(digest_.kind).monthHeading) +
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
    page_.Gap(8);

    cairo_surface_t* graph = GraphSurface(month.graph);
    graphs_.push_back(graph);
    const double width = month.graph.width * kPixel;
    const double height = month.graph.height * kPixel;
    const double x = kLeft + (kBodyWidth - width) / 2;
    page_.Place(height, [graph, x](cairo_t* cr, double y) {
      cairo_save(cr);
      cairo_translate(cr, x, y);
      cairo_scale(cr, kPixel, kPixel);
      cairo_set_source_surface(cr, graph, 0, 0);
      cairo_paint(cr);
      cairo_restore(cr);
    });
    page_.Gap(6);
    if (KindInfo(digest_.kind).retrogradeMarks) Retrograde(k);
    page_.Gap(8);

    const std::vector<DigestEntry> entries = MonthEntries(scans_, k);
    if (entries.empty())
      page_.PlaceText(page_.Text("<i>В этом месяце указаний нет.</i>", kTextSize, kBodyWidth),
                      kLeft, kQuiet);
    for (const DigestEntry& entry : entries) {
      const Layout text =
          page_.Text("<b>" + Escaped(DayRunsText(entry.runs)) + "</b> — " + Escaped(entry.text),
                     kTextSize, kBodyWidth - kGutter);
      const int rating = entry.rating;
      const double barTop = (Composer::FirstLineHeight(text) - kBarHeight) / 2;
      page_.PlaceText(text, kLeft + kGutter, kInk, [rating, barTop](cairo_t* cr, double y) {
        if (HasBar(rating)) DrawBar(cr, kLeft, y + barTop, rating);
      });
      page_.Gap(4);
    }
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
        "<b>Указания.</b> Каждое указание месяца приведено один раз, с днями, в которые оно "
        "действует: «1–4 декабря» — с первого по четвёртое число включительно, «28 декабря – "
        "3 января» — влияние переходит в следующий месяц. Чёрточка перед текстом показывает "
        "характер и силу указания: синяя — благоприятное, красная — неблагоприятное; чем "
        "длиннее чёрточка, тем сильнее указание:"));
    for (size_t i = 0; i < std::size(kLegend); i += 2) blocks.push_back(LegendRows(i));
    blocks.back().height += 10;
    blocks.push_back(Paragraph(Escaped("Прогноз составлен " + std::to_string(digest_.made.day) +
                                       ' ' + Utf8(MonthNameGenitive(digest_.made.month)) + ' ' +
                                       std::to_string(digest_.made.year) + " года.")));
    blocks.push_back(Paragraph(
        "<i>Тексты прогноза даны для ориентира и не являются гарантией. Они не заменяют правил "
        "дорожного движения, здравого смысла и проверки документов.</i>"));

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
  std::vector<cairo_surface_t*> graphs_;
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

std::string DigestTitle(ForecastKind kind, const Cp1251Html& name, YearMonth first,
                        YearMonth last) {
  const std::string plain = JoinedName(name);
  std::string title =
      KindTitle(kind) + (plain.empty() ? "" : ": " + plain) + ", " + MonthAndYear(first);
  if (last != first) title += " – " + MonthAndYear(last);
  return title;
}

std::string DigestFileName(ForecastKind kind, const Cp1251Html& name, YearMonth first) {
  std::string plain = WithoutBidiControls(PlainName(name));
  for (char& c : plain)
    if (c == '/' || static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '-';
  return KindTitle(kind) + (plain.empty() ? "" : " " + plain) + ", " + MonthAndYear(first) + ".pdf";
}

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
