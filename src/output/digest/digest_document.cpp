// The digest as a document: the best days, each month with its heading,
// graph and texts, and the closing part, laid out on the composer's pages.
#include "output/digest/digest_document.h"

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <iterator>
#include <memory>
#include <pango/pangocairo.h>
#include <stdexcept>
#include <string_view>

#include "base/date_text.h"
#include "base/month_names.h"
#include "ephemeris/calendar.h"
#include "output/digest/digest.h"
#include "output/digest/digest_graph.h"
#include "output/digest/digest_kind.h"
#include "output/digest/digest_layout.h"
#include "output/digest/digest_text.h"
#include "output/digest/digest_title.h"
#include "texts/best_days_text.h"
#include "texts/influence_texts.h"

namespace meridan::digest {
namespace {

std::string Utf8(const std::string& cp1251) { return Cp1251ToUtf8(cp1251); }

struct LegendRow {
  int rating;
  const char* words;
};
constexpr LegendRow kLegend[] = {
    {1, "Очень слабое благоприятное указание"},  {-1, "Очень слабое неблагоприятное указание"},
    {2, "Слабое благоприятное указание"},        {-2, "Слабое неблагоприятное указание"},
    {3, "Благоприятное указание средней силы"},  {-3, "Неблагоприятное указание средней силы"},
    {4, "Сильное благоприятное указание"},       {-4, "Сильное неблагоприятное указание"},
    {5, "Очень сильное благоприятное указание"}, {-5, "Очень сильное неблагоприятное указание"},
};

// "20 мая 1984 г.", as the birth date is written under the title.
std::string BirthDateText(Date date) { return Utf8(DateInWords(date)) + " г."; }

class DigestWriter {
 public:
  DigestWriter(const Digest& digest, Composer& page) : digest_(digest), page_(page) {
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

  void Compose() {
    BestDays();
    // The closing part shares the last month's pages where it fits there.
    for (size_t k = 0; k < digest_.months.size(); ++k)
      Month(k, k + 1 == digest_.months.size() ? [this] { Closing(); } : std::function<void()>{});
  }

 private:
  // The first page of a part: its heading, and under it, in grey, whose it
  // is and when; the part's later pages are headed by its continued line.
  void OpenPart(const std::string& bookmark, const std::string& heading,
                const std::string& subtitle) {
    page_.SetContinued(ContinuedLine(heading));
    page_.StartPage();
    page_.BeginPart(bookmark);
    page_.SetTag("H1");
    page_.PlaceText(page_.Text("<b>" + Escaped(heading) + "</b>", 16, kBodyWidth), kLeft, kHeading);
    page_.SetTag("P");
    page_.Gap(2);
    page_.PlaceText(page_.Text(Escaped(subtitle), 10.5, kBodyWidth), kLeft, kQuiet);
  }
  std::string ContinuedLine(const std::string& heading) const {
    const std::string name = DigestName(digest_.name);
    return heading + (name.empty() ? "" : ", " + name) + " (продолжение)";
  }
  void PlaceParagraph(const std::string& markup) {
    page_.PlaceText(page_.Text(markup, kTextSize, kBodyWidth), kLeft, kInk);
  }
  // The bar of a text in the gutter, level with the text's first line.
  static std::function<void(cairo_t*, double)> BarBeside(const Layout& text, int rating) {
    const double barTop = (Composer::FirstLineHeight(text) - kBarHeight) / 2;
    return [rating, barTop](cairo_t* cr, double y) {
      if (HasBar(rating)) DrawBar(cr, kLeft, y + barTop, rating);
    };
  }

  // The best windows for the kind's action, a few lines each: the days, the
  // best day, and the influences for and against with their bars and exact
  // days; or the plain statement that there are none.
  void BestDays() {
    const std::string heading = Utf8(BestDaysHeading(digest_.kind));
    OpenPart(heading, heading, WhoAndPeriod());
    page_.Gap(10);
    if (digest_.best.empty()) PlaceParagraph(Escaped(Utf8(NoBestWindowsText(digest_.kind))));
    for (size_t i = 0; i < digest_.best.size(); ++i) PlaceWindowWhole(i, ContinuedLine(heading));
    page_.Gap(4);
    PlaceParagraph("<i>" +
                   Escaped("Полосы выбраны по тем же оценкам, что и графики: это дни подряд, когда "
                           "благоприятные указания перевешивают, а сильных неблагоприятных нет, и "
                           "выше всех стоят полосы с наибольшей суммой оценок. Это подсказка для "
                           "чтения прогноза, а не обещание.") +
                   "</i>");
  }

  // "Иван. С декабря 2026 по март 2027 года", without the name where there
  // is none.
  std::string WhoAndPeriod() const {
    const std::string name = DigestName(digest_.name);
    const YearMonth first = digest_.months.front().scan->month;
    const YearMonth last = digest_.months.back().scan->month;
    const std::string period = "С " + Utf8(MonthNameGenitive(first.month)) + ' ' +
                               std::to_string(first.year) + " по " + Utf8(MonthAndYearLower(last)) +
                               " года";
    return name.empty() ? period : name + ". " + period;
  }

  // A window stands whole on one page where it can and moving it leaves
  // no more than kMostEmpty of a page empty.
  void PlaceWindowWhole(size_t i, const std::string& continued) {
    const Composer::Mark start = page_.Here();
    PlaceWindow(digest_.best[i], i + 1);
    if (page_.PageCount() == static_cast<int>(start.pages) || start.y <= kTop + 30 ||
        kBodyBottom - start.y > kMostEmpty)
      return;
    page_.Rewind(start);
    page_.StartPage(continued);
    PlaceWindow(digest_.best[i], i + 1);
  }

  void PlaceWindow(const BestWindow& window, size_t number) {
    page_.SetTag("H2");
    PlaceParagraph("<b>" + std::to_string(number) + ". " + Escaped(Utf8(WindowDays(window))) +
                   "</b>");
    page_.SetTag("P");
    page_.Gap(1);
    PlaceParagraph(Escaped("Лучший день — " + Utf8(DayWithWeekday(window.peakNoon)) +
                           "; сумма оценок за полосу " + std::to_string(window.score) + "."));
    page_.Gap(2);
    if (!window.reasons.empty()) {
      PlaceParagraph("<i>Почему:</i>");
      PlaceInfluences(window.reasons);
    }
    if (!window.cautions.empty()) {
      PlaceParagraph("<i>Что учесть:</i>");
      PlaceInfluences(window.cautions);
    }
    page_.Gap(8);
  }

  // A list of influences, each with its bar and the moments it is exact.
  void PlaceInfluences(const std::vector<InfluenceText>& texts) {
    page_.BeginGroup("L");
    page_.SetTag("LI");
    for (const InfluenceText& text : texts) {
      const Influence& influence = text.influence;
      std::string line = Utf8(
          InfluenceTitle(influence.key.transitBody, influence.key.aspect, influence.key.natalBody));
      if (!influence.exact.empty()) line += ", " + ExactText(influence, digest_.clock);
      if (const std::string note = Utf8(UnknownHourNote(influence)); !note.empty())
        line += " (" + note + ")";
      const Layout layout = page_.Text(Escaped(line), kTextSize, kBodyWidth - kGutter);
      page_.PlaceText(layout, kLeft + kGutter, kInk, BarBeside(layout, text.rating));
      page_.Gap(1);
    }
    page_.SetTag("P");
    page_.EndGroup("L");
  }

  // A month: its heading with the person's birth date and the month's
  // stations, the graph, Mercury's retrograde days, then its texts; after:
  // what follows on the month's last page.
  void Month(size_t k, const std::function<void()>& after) {
    const DigestMonth& month = digest_.months[k];
    const std::string born = BirthDateText(digest_.birth);
    const std::string name = DigestName(digest_.name);
    OpenPart(month.graph.caption,
             std::string(DigestWords(digest_.kind).heading) +
                 Utf8(MonthAndYearLower(month.scan->month)) + " года",
             name.empty() ? "Дата рождения: " + born : name + ", дата рождения: " + born);
    PlaceStations(month.scan->month);
    page_.Gap(8);
    PlaceGraph(month.graph);
    page_.Gap(6);
    if (KindInfo(digest_.kind).retrogradeMarks) Retrograde(k);
    page_.Gap(8);
    PlaceMonthTexts(k, after);
  }

  // The month's stations, under the name.
  void PlaceStations(YearMonth month) {
    std::string turns;
    for (const Station& station : digest_.stations) {
      const Date day = ReadClock(digest_.clock, station.moment).date;
      if (YearMonth{day.year, day.month} != month) continue;
      turns += (turns.empty() ? "" : "; ") + Utf8(StationTitle(station)) + ' ' +
               MomentText(station.moment, digest_.clock);
    }
    if (turns.empty()) return;
    page_.Gap(2);
    PlaceParagraph(Escaped(turns + "."));
  }

  void PlaceGraph(const DigestGraph& graph) {
    if (graph.width <= 0 || graph.height <= 0 || graph.days <= 0)
      throw std::invalid_argument("a month of the digest has no graph");
    const double width = graph.width * kPixel;
    const double height = graph.height * kPixel;
    const double x = kLeft + (kBodyWidth - width) / 2;
    const Composer& composer = page_;
    page_.SetTag("Figure");
    page_.Place(height, [&graph, &composer, x](cairo_t* cr, double y) {
      cairo_save(cr);
      cairo_translate(cr, x, y);
      cairo_scale(cr, kPixel, kPixel);
      DrawGraph(cr, composer, graph);
      cairo_restore(cr);
    });
    page_.SetTag("P");
  }

  // A text of a month laid out, with its bar.
  struct Item {
    Layout text;
    int rating;
  };

  // The month's texts as one list over as many pages as they take, filled
  // alike; or the word that there are none.
  void PlaceMonthTexts(size_t k, const std::function<void()>& after) {
    const MonthTexts texts =
        SplitMonthTexts(MonthEntries(scans_, k), digest_.months[k].scan->month, digest_.influences);
    if (texts.continuing.empty() && texts.beginning.empty())
      page_.PlaceText(page_.Text("<i>В этом месяце указаний нет.</i>", kTextSize, kBodyWidth),
                      kLeft, kQuiet);
    const std::vector<Item> items = MonthItems(texts);
    Balanced([this, &items, &after] {
      if (!items.empty()) page_.BeginGroup("L");
      page_.SetTag("LI");
      for (const Item& item : items) {
        page_.PlaceText(item.text, kLeft + kGutter, kInk, BarBeside(item.text, item.rating));
        page_.Gap(4);
      }
      page_.SetTag("P");
      if (!items.empty()) page_.EndGroup("L");
      if (after) after();
    });
  }

  // What goes on from the month before stands there whole; here one line
  // says until when. What begins in the month comes whole with its days.
  std::vector<Item> MonthItems(const MonthTexts& texts) const {
    std::vector<Item> items;
    for (const DigestEntry& entry : texts.continuing) {
      const DayRun& run = entry.runs.front();
      items.push_back(
          {Continuing(entry.text, WindowEndText(entry, run, digest_.influences)), entry.rating});
    }
    for (const DigestEntry& entry : texts.beginning) {
      const std::string note = HourNoteText(entry, entry.runs, digest_.influences);
      items.push_back(
          {page_.Text(
               "<b>" + Escaped(WindowsText(entry, entry.runs, digest_.influences, digest_.clock)) +
                   "</b>" + (note.empty() ? "" : " <i>(" + Escaped(note) + ")</i>") + " — " +
                   Escaped(entry.text),
               kTextSize, kBodyWidth - kGutter),
           entry.rating});
    }
    return items;
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
      // The first sentence is a whole thought: where it fits, the line
      // ends with it.
      for (size_t i = 0; i + 1 < shown.size(); ++i)
        if ((shown[i] == '.' || shown[i] == '!' || shown[i] == '?') && shown[i + 1] == ' ') {
          shown.resize(i + 1);
          at = i + 1;
          break;
        }
      // No stop, comma or dash right before the ellipsis or the ", до".
      for (bool cut = true; cut;) {
        cut = false;
        for (const std::string_view end : {".", "!", "?", ",", ":", ";", " ", "—", "–", "-"})
          if (shown.ends_with(end)) {
            shown.resize(shown.size() - end.size());
            cut = true;
          }
      }
      if (at != std::string::npos) shown += "…";
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
    // No more than leaves a page within kMostEmpty of empty with the line
    // that did not fit.
    double fits = 0, overflows = kMostEmpty * 3 / 4;
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
    const char* tag = "P";  // "LI" for the legend's rows, listed together
  };
  static Block TextBlock(const Layout& layout, double x, Colour colour, double gapAfter) {
    return {Composer::Height(layout) + gapAfter,
            [layout, x, colour](cairo_t* cr, double y) {
              SetColour(cr, colour);
              cairo_move_to(cr, x, y);
              pango_cairo_show_layout(cr, layout.get());
            },
            "P"};
  }
  Block Paragraph(const std::string& markup) const {
    return TextBlock(page_.Text(markup, kTextSize, kBodyWidth), kLeft, kInk, 5);
  }

  // How to read the digest, the day it was made and what its texts are
  // worth: on one page, after the last month where it fits.
  void Closing() {
    std::vector<Block> blocks = HowToRead();
    for (Block& block : WhatItIsWorth()) blocks.push_back(std::move(block));
    constexpr double kSpaceBefore = 16;
    double height = kSpaceBefore;
    for (const Block& block : blocks) height += block.height;
    if (height > page_.Room())
      page_.StartPage();
    else
      page_.Gap(kSpaceBefore);
    page_.BeginPart("Как читать прогноз");
    std::string_view before;
    for (const Block& block : blocks) {
      const std::string_view tag = block.tag;
      if (tag == "LI" && before != "LI") page_.BeginGroup("L");
      if (tag != "LI" && before == "LI") page_.EndGroup("L");
      page_.SetTag(block.tag);
      page_.Place(block.height, block.draw);
      before = tag;
    }
    page_.SetTag("P");
  }

  // The heading, what the graph and its marks show, what an indication's
  // days and bar say, and the legend of the bars.
  std::vector<Block> HowToRead() const {
    std::vector<Block> blocks;
    blocks.push_back(
        TextBlock(page_.Text("<b>Как читать прогноз</b>", 14, kBodyWidth), kLeft, kHeading, 6));
    blocks.back().tag = "H1";
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
          "документы и не спешите с подписью. Отметку получает день, к полудню которого "
          "Меркурий отступил назад от места, где стоял полуднем раньше, поэтому окно может "
          "начинаться на день позже дня, когда Меркурий начинает попятное движение."));
    blocks.push_back(Paragraph(
        "<b>Указания.</b> Каждое указание приведено один раз, в месяце, где оно начинается, "
        "с первого до последнего дня действия, даже если они лежат за пределами прогноза: "
        "«28 июля – 4 августа, точно 2 августа в 17:24» — с 28 июля по 4 августа "
        "включительно, а 2 августа в 17:24 аспект точен и влияние сильнее всего; время дано "
        "по часовому поясу компьютера, на котором составлен прогноз. В следующем месяце такое "
        "указание "
        "напомнит о себе одной строкой «продолжается: …, до 4 августа». Под заголовком месяца "
        "названы дни, когда Меркурий, Венера или Марс начинают попятное движение или "
        "возвращаются к прямому: вокруг них темы планеты особенно заметны. Чёрточка перед "
        "текстом показывает характер и силу указания: синяя — благоприятное, красная — "
        "неблагоприятное; чем длиннее чёрточка, тем сильнее указание:"));
    for (size_t i = 0; i < std::size(kLegend); i += 2) blocks.push_back(LegendRows(i));
    blocks.back().height += 10;
    return blocks;
  }

  // Blue and red on one day, what the forecast cannot know, an unknown
  // birth hour, the day it was made and the disclaimer.
  std::vector<Block> WhatItIsWorth() const {
    std::vector<Block> blocks;
    blocks.push_back(Paragraph(
        "<b>Синие и красные указания в один день.</b> Они говорят о разном и не отменяют друг "
        "друга: благоприятное указание подсказывает, чем заняться, неблагоприятное — за чем "
        "проследить. Делайте задуманное, но с той осторожностью, о которой говорит красный "
        "текст, а если красная чёрточка длиннее синей, осторожность важнее."));
    blocks.push_back(Paragraph(
        "<b>Чего прогноз не знает.</b> Он описывает фон дней, а не события: конкретную "
        "поломку, поступок другого водителя или честность конкретного продавца, мастера или "
        "покупателя он предсказать не может. Исправность машины и чистоту сделки проверяют "
        "осмотром, документами и здравым смыслом в любой день."));
    if (digest_.hourUnknown)
      blocks.push_back(Paragraph(
          "<b>Час рождения не указан.</b> Прогноз рассчитан для полудня дня рождения, поэтому "
          "даты с пометкой «могут сдвинуться» могут наступить на день-два раньше или позже, а "
          "указания с пометкой «может не наступить» — не наступить вовсе. Чтобы даты стали "
          "точными, укажите время и место рождения и составьте прогноз заново."));
    blocks.push_back(
        Paragraph(Escaped("Прогноз составлен " + Utf8(DateInWords(digest_.made)) + " года.")));
    blocks.push_back(
        Paragraph("<i>" + Escaped(std::string(DigestWords(digest_.kind).disclaimer)) + "</i>"));
    return blocks;
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
    return {height + 3,
            [words, ratings, column](cairo_t* cr, double y) {
              for (size_t c = 0; c < 2; ++c) {
                const double x = kLeft + static_cast<double>(c) * column;
                const double barTop = (Composer::FirstLineHeight(words[c]) - kBarHeight) / 2;
                DrawBar(cr, x, y + barTop, ratings[c]);
                SetColour(cr, kInk);
                cairo_move_to(cr, x + kGutter, y);
                pango_cairo_show_layout(cr, words[c].get());
              }
            },
            "LI"};
  }

  const Digest& digest_;
  Composer& page_;
  std::vector<const MonthScan*> scans_;
  ForecastDays days_;
};

}  // namespace

void ComposeDigest(const Digest& digest, Composer& composer) {
  DigestWriter(digest, composer).Compose();
}

}  // namespace meridan::digest
