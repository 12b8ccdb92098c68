// The words of the digest: days a text holds, plain text out of the pages'
// HTML, the title and the file name a save dialog suggests.

#include "output/digest/digest_text.h"

#include <gtest/gtest.h>

#include <set>

#include "base/cp1251.h"
#include "output/digest/digest_title.h"

namespace meridan {
namespace {

constexpr YearMonth kDec{2026, 12}, kJan{2027, 1}, kFeb{2027, 2};

TEST(DayRunsText, SaysTheDaysAsAReaderDoes) {
  const struct {
    std::vector<DayRun> runs;
    const char* text;
  } cases[] = {
      {{{kDec, 12, kDec, 12}}, "12 декабря"},
      {{{kDec, 1, kDec, 4}}, "1–4 декабря"},
      {{{kDec, 28, kJan, 3}}, "28 декабря – 3 января"},
      {{{kDec, 1, kDec, 4}, {kDec, 12, kDec, 12}}, "1–4, 12 декабря"},
      {{{kDec, 1, kDec, 4}, {kDec, 12, kDec, 12}, {kDec, 28, kJan, 3}},
       "1–4, 12 декабря, 28 декабря – 3 января"},
      {{{kDec, 30, kFeb, 2}, {kFeb, 5, kFeb, 6}}, "30 декабря – 2 февраля, 5–6 февраля"},
  };
  for (const auto& c : cases) EXPECT_EQ(DayRunsText(c.runs), c.text);
}

// Three forecast months of 31, 31 and 28 days; the set holds (month, day).
TEST(MonthRuns, RunsGoOnIntoTheNeighbouringMonthsWhileTheyHold) {
  const ForecastDays days{{kDec, kJan, kFeb}, {31, 31, 28}};
  using Days = std::set<std::pair<size_t, int>>;
  Days wholeJanuary;
  for (int d = 1; d <= 31; ++d) wholeJanuary.insert({1, d});
  Days across = wholeJanuary;
  across.insert({{0, 30}, {0, 31}, {2, 1}, {2, 2}});
  const struct {
    const char* name;
    Days holds;
    size_t month;
    std::vector<DayRun> runs;
  } cases[] = {
      {"inside", {{1, 5}, {1, 6}, {1, 9}}, 1, {{kJan, 5, kJan, 6}, {kJan, 9, kJan, 9}}},
      {"back", {{0, 29}, {0, 30}, {0, 31}, {1, 1}, {1, 2}}, 1, {{kDec, 29, kJan, 2}}},
      {"forward", {{0, 31}, {1, 1}, {1, 2}}, 0, {{kDec, 31, kJan, 2}}},
      {"through a whole month", across, 1, {{kDec, 30, kFeb, 2}}},
      {"seen from the last month", across, 2, {{kDec, 30, kFeb, 2}}},
      {"not before the first month", {{0, 1}, {0, 2}}, 0, {{kDec, 1, kDec, 2}}},
      {"nothing", {{0, 3}}, 1, {}},
  };
  for (const auto& c : cases) {
    const auto holds = [&](size_t month, int day) { return c.holds.count({month, day}) > 0; };
    EXPECT_EQ(MonthRuns(days, c.month, holds), c.runs) << c.name;
  }
  // Months that do not follow each other are not joined.
  const ForecastDays gap{{kDec, kFeb}, {31, 28}};
  EXPECT_EQ(MonthRuns(gap, 1, [](size_t month, int day) { return month == 0 || day == 1; }),
            (std::vector<DayRun>{{kFeb, 1, kFeb, 1}}));
}

TEST(HtmlToText, TagsGoReferencesAreDecodedSpaceCollapses) {
  const std::pair<const char*, const char*> cases[] = {
      {"<b>Сильно</b>  и\r\n  <i>долго</i> ", "Сильно и долго"},
      {"A &amp; B &mdash; &laquo;C&raquo; &#1025;&#x451;", "A & B — «C» Ёё"},
      {"&bogus; &amp &#xZZ; 5 < 6", "&bogus; &amp &#xZZ; 5 < 6"},
      {"&#0;&#55296;", "\uFFFD\uFFFD"},
      {"", ""},
  };
  for (const auto& [html, text] : cases) EXPECT_EQ(HtmlToText(html), text) << html;
}

TEST(HitText, TheTextAsItIsWithItsBlanksTidied) {
  TransitHit hit;
  hit.rating = -3;
  hit.text = W(" Осторожно —  гололёд, A&B <i> ");
  EXPECT_EQ(HitText(hit), "Осторожно — гололёд, A&B <i>");
}

TEST(DigestNames, TitleAndSuggestedFileName) {
  const Cp1251Html ivan{W("Иван Петров")};
  EXPECT_EQ(DigestTitle(ForecastKind::Trips, ivan, kDec, YearMonth{2027, 3}),
            "Прогноз: поездки — Иван Петров, декабрь 2026 – март 2027");
  EXPECT_EQ(DigestFileName(ForecastKind::Trips, ivan, kDec, YearMonth{2027, 3}),
            "Прогноз, поездки — Иван Петров, декабрь 2026 – март 2027.pdf");
  EXPECT_EQ(DigestFileName(ForecastKind::Sale, {W("a/b &amp; &#9731; &lt;c:d&gt; \"e\\f|g?*")},
                           kJan, kJan),
            "Прогноз, покупка-продажа — a-b & ☃ -c-d- -e-f-g--, январь 2027.pdf");
  EXPECT_EQ(DigestTitle(ForecastKind::Service, {}, kFeb, kFeb),
            "Прогноз: автосервис, февраль 2027");
  // U+202E would show the rest of the title backwards, and the file name
  // as "...fdp.exe": the name stands isolated, the file name goes without.
  const Cp1251Html mirrored{W("Ivan&#8238;exe.pdf")};
  EXPECT_EQ(DigestTitle(ForecastKind::Trips, mirrored, kDec, kDec),
            "Прогноз: поездки — \u2068Ivan\u202Eexe.pdf\u2069, декабрь 2026");
  EXPECT_EQ(DigestFileName(ForecastKind::Trips, mirrored, kDec, kDec),
            "Прогноз, поездки — Ivanexe.pdf, декабрь 2026.pdf");
}

}  // namespace
}  // namespace meridan
