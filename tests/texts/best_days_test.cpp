// The best days: the windows of hand-made months, then of real forecasts
// checked against the scan they are read from.

#include "texts/best_days.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "ephemeris/calendar.h"
#include "ephemeris/pluto.h"
#include "transits/influences.h"
#include "transits/scan.h"
#include "transits/series.h"

namespace meridan {
namespace {

namespace fs = std::filesystem;

struct Span {
  int first, last, peak, score;  // day indexes from 0
  friend bool operator==(const Span&, const Span&) = default;
  friend std::ostream& operator<<(std::ostream& out, const Span& s) {
    return out << '{' << s.first << ".." << s.last << " peak " << s.peak << " score " << s.score
               << '}';
  }
};

std::vector<Span> Spans(const std::vector<BestWindow>& windows, double firstNoon = 0.0) {
  std::vector<Span> spans;
  for (const BestWindow& w : windows)
    spans.push_back({static_cast<int>(w.firstNoon - firstNoon),
                     static_cast<int>(w.lastNoon - firstNoon),
                     static_cast<int>(w.peakNoon - firstNoon), w.score});
  return spans;
}

std::vector<DayMerit> Sums(std::initializer_list<int> sums) {
  std::vector<DayMerit> days;
  for (const int sum : sums) days.push_back({sum, false});
  return days;
}

TEST(BestWindows, RunsOfGoodDaysSplitAtHeldBackDaysAndRankByScore) {
  std::vector<DayMerit> days = Sums({1, 3, 2, 3, 2, 2, 0, 4, -1, 1});
  days[3].heldBack = true;  // a strong red text stands on a day of sum 3
  EXPECT_EQ(Spans(ChooseBestWindows(days, 0.0)),
            std::vector<Span>({Span{0, 2, 1, 6}, Span{4, 5, 4, 4}, Span{7, 7, 7, 4}}));
}

TEST(BestWindows, TiesKeepTheEarlierFirstAndThePeakIsTheFirstHighestDay) {
  EXPECT_EQ(
      Spans(ChooseBestWindows(Sums({2, 0, 3, 3, 0, 1, 1, 1, 1, 1, 1, 0, 3, 2, 1}), 10.0), 10.0),
      std::vector<Span>({Span{2, 3, 2, 6}, Span{12, 14, 12, 6}, Span{0, 0, 0, 2}}));
}

TEST(BestWindows, WeakStretchesAreNotListedAndAtMostFiveAre) {
  // Six days of sum 1 outscore a lone day of 2 but never reach a peak of 2.
  EXPECT_TRUE(ChooseBestWindows(Sums({1, 1, 1, 1, 1, 1, 0, -3, 1}), 0.0).empty());
  std::vector<DayMerit> held = Sums({5, 5, 5});
  for (DayMerit& day : held) day.heldBack = true;
  EXPECT_TRUE(ChooseBestWindows(held, 0.0).empty());
  EXPECT_TRUE(ChooseBestWindows({}, 0.0).empty());

  EXPECT_EQ(Spans(ChooseBestWindows(Sums({2, 0, 3, 0, 4, 0, 2, 0, 5, 0, 6, 0, 7}), 0.0)),
            std::vector<Span>({Span{12, 12, 12, 7}, Span{10, 10, 10, 6}, Span{8, 8, 8, 5},
                               Span{4, 4, 4, 4}, Span{2, 2, 2, 3}}));
}

// A month of hand-made day lists: each day one accepted hit per rating.
MonthScan HandMadeMonth(YearMonth month, const std::vector<std::vector<int>>& ratings) {
  MonthScan scan;
  scan.month = month;
  scan.length = MonthLength(month.month, month.year);
  scan.firstNoon = NoonJulianDay(1, month.month, month.year);
  scan.days.resize(static_cast<size_t>(scan.length));
  for (size_t d = 0; d < ratings.size() && d < scan.days.size(); ++d)
    for (const int rating : ratings[d]) {
      scan.days[d].hits.push_back({static_cast<int>(d + 1), {1, 0, 3}, rating, "text", true});
      scan.days[d].ratingSum += rating;
      scan.days[d].hasText = true;
    }
  return scan;
}

TEST(BestWindows, RunAcrossTheMonthEndAndAStrongRedTextHoldsItsDayBack) {
  std::vector<std::vector<int>> january(31), february(28);
  january[29] = {2};
  january[30] = {3};
  february[0] = {1};
  february[2] = {5, 3, -4};  // sum 4, held back by the -4
  february[3] = {2, 1, 1};
  february[4] = {3, 2};
  // An unaccepted text counts neither in the sum nor as a hold.
  MonthScan feb = HandMadeMonth({2025, 2}, february);
  feb.days[4].hits.push_back({5, {1, 90, 7}, -5, "", false});
  const std::vector<MonthScan> months = {HandMadeMonth({2025, 1}, january), feb};

  const std::vector<BestWindow> windows = FindBestWindows(months, ForecastKind::Trips, {});
  ASSERT_EQ(windows.size(), 2u);
  EXPECT_EQ(DateOf(windows[0].firstNoon), (Date{4, 2, 2025}));
  EXPECT_EQ(DateOf(windows[0].lastNoon), (Date{5, 2, 2025}));
  EXPECT_EQ(windows[0].score, 9);
  EXPECT_EQ(DateOf(windows[1].firstNoon), (Date{30, 1, 2025}));
  EXPECT_EQ(DateOf(windows[1].lastNoon), (Date{1, 2, 2025}));
  EXPECT_EQ(DateOf(windows[1].peakNoon), (Date{31, 1, 2025}));
  EXPECT_EQ(windows[1].score, 6);
}

TEST(BestWindows, MonthsThatDoNotFollowEachOtherAreRefused) {
  const std::vector<MonthScan> months = {HandMadeMonth({2025, 1}, {}),
                                         HandMadeMonth({2025, 3}, {})};
  EXPECT_THROW(DayMerits(months, ForecastKind::Trips), std::invalid_argument);
}

TEST(BestWindows, PurchaseSaleHoldsBackTheDaysItsGraphMarksRetrograde) {
  // Mercury turns back in mid-July 2025 and forward again in August.
  const std::vector<std::vector<int>> everyDay(31, std::vector<int>{2});
  const std::vector<MonthScan> months = {HandMadeMonth({2025, 7}, everyDay),
                                         HandMadeMonth({2025, 8}, everyDay)};
  const std::vector<DayMerit> trips = DayMerits(months, ForecastKind::Trips);
  const std::vector<DayMerit> sale = DayMerits(months, ForecastKind::Sale);
  int held = 0;
  for (size_t m = 0; m < months.size(); ++m) {
    SeriesStore marks;
    BuildRatingSeries(months[m].DaySums(), ForecastKind::Sale, months[m].month, marks);
    for (int d = 1; d <= 31; ++d) {
      const size_t i = m * 31 + static_cast<size_t>(d - 1);
      EXPECT_EQ(sale[i].heldBack, marks.RetrogradeMarks[3 * d] == 1) << "day " << i;
      EXPECT_FALSE(trips[i].heldBack);
      held += sale[i].heldBack;
    }
  }
  EXPECT_GT(held, 20);

  const std::vector<BestWindow> tripWindows = FindBestWindows(months, ForecastKind::Trips, {});
  ASSERT_EQ(tripWindows.size(), 1u);
  EXPECT_EQ(tripWindows[0].score, 124);
  const std::vector<BestWindow> saleWindows = FindBestWindows(months, ForecastKind::Sale, {});
  ASSERT_EQ(saleWindows.size(), 2u);
  for (const BestWindow& window : saleWindows)
    for (double noon = window.firstNoon; noon <= window.lastNoon; noon += 1)
      EXPECT_FALSE(IsMercuryRetrogradeOn(noon));
  // The longer stretch after the turn forward ranks first.
  EXPECT_EQ(DateOf(saleWindows[0].lastNoon), (Date{31, 8, 2025}));
  EXPECT_EQ(DateOf(saleWindows[1].firstNoon), (Date{1, 7, 2025}));
}

InfluenceText Text(double first, double last, int rating, bool accepted = true) {
  return {{1, 0, 3, first, last, {}}, rating, accepted, nullptr};
}

TEST(BestWindows, ReasonsAndCautionsAreTheAcceptedInfluencesThatOverlap) {
  std::vector<std::vector<int>> days(30);
  for (int d = 9; d <= 13; ++d) days[static_cast<size_t>(d)] = {3};
  const std::vector<MonthScan> months = {HandMadeMonth({2025, 6}, days)};
  const double day1 = months[0].firstNoon;  // the window runs from day 10 to day 14
  const std::vector<InfluenceText> influences = {
      Text(day1 - 20, day1 + 8, 4),          // ends the day before: neither
      Text(day1 + 5, day1 + 9, 3),           // its last day is the window's first
      Text(day1 + 11, day1 + 11, -2),        // inside
      Text(day1 + 12, day1 + 40, -1),        // runs on past it
      Text(day1 + 10, day1 + 12, 5, false),  // not printed: neither
      Text(day1 + 10, day1 + 12, 0),         // no rating either way: neither
      Text(day1 + 14, day1 + 16, 2),         // starts the day after: neither
  };
  const std::vector<BestWindow> windows =
      FindBestWindows(months, ForecastKind::Service, influences);
  ASSERT_EQ(windows.size(), 1u);
  ASSERT_EQ(windows[0].reasons.size(), 1u);
  EXPECT_EQ(windows[0].reasons[0].rating, 3);
  ASSERT_EQ(windows[0].cautions.size(), 2u);
  EXPECT_EQ(windows[0].cautions[0].rating, -2);
  EXPECT_EQ(windows[0].cautions[1].rating, -1);
}

// Real forecasts: the windows of twelve months for several people and each
// kind, checked day by day against the scan of the same months.
TEST(BestWindows, RealForecastsAgreeWithTheScan) {
  const fs::path data = fs::path(MERIDAN_DATA_DIR) / "System";
  const PlutoTable pluto = PlutoTable::Load(data / "pluto.sys");
  int windowsSeen = 0;
  for (const ForecastKindInfo& info : kForecastKinds) {
    const InterpretationFile texts = InterpretationFile::Load(data / info.interpretationFile);
    for (const Date birth : {Date{20, 5, 1984}, Date{3, 11, 1957}, Date{29, 2, 2000}}) {
      const NatalChart natal = ComputeNatalChart(birth, pluto);
      const YearMonth start{2025, 11};
      const std::vector<BestWindow> windows =
          SearchBestWindows(natal, start, kMostBestDayMonths, info.kind, texts);
      std::vector<MonthScan> scans;
      for (int k = 0; k < kMostBestDayMonths; ++k)
        scans.push_back(AttachTexts(ScanTransits(natal, start.Plus(k)), texts));
      const auto dayOf = [&](double noon) -> const DayList& {
        for (const MonthScan& scan : scans)
          if (noon >= scan.firstNoon && noon < scan.firstNoon + scan.length)
            return scan.days[static_cast<size_t>(std::lround(noon - scan.firstNoon))];
        ADD_FAILURE() << "a window outside the months";
        return scans[0].days[0];
      };
      ASSERT_LE(windows.size(), static_cast<size_t>(kBestWindowCount));
      // Read off the scans alone, as a finished run has them, the windows
      // and their influences come out the same.
      const std::vector<BestWindow> fromScans = FindBestWindows(
          scans, info.kind,
          AttachScannedTexts(FindInfluences(natal, start, kMostBestDayMonths), scans));
      EXPECT_EQ(Spans(fromScans), Spans(windows));
      const auto keys = [](const std::vector<BestWindow>& found) {
        std::vector<std::pair<AspectKey, int>> all;
        for (const BestWindow& w : found)
          for (const auto* list : {&w.reasons, &w.cautions})
            for (const InfluenceText& text : *list)
              all.emplace_back(text.influence.key, text.rating);
        return all;
      };
      EXPECT_EQ(keys(fromScans), keys(windows));
      for (size_t i = 0; i < windows.size(); ++i) {
        const BestWindow& w = windows[i];
        SCOPED_TRACE(std::string(info.key) + " window " + std::to_string(i));
        if (i > 0) {
          EXPECT_LE(w.score, windows[i - 1].score);
        }
        int score = 0, peak = 0;
        for (double noon = w.firstNoon; noon <= w.lastNoon; noon += 1) {
          const DayList& day = dayOf(noon);
          EXPECT_GT(day.ratingSum, 0);
          for (const TransitHit& hit : day.hits) EXPECT_FALSE(hit.accepted && hit.rating <= -4);
          if (info.retrogradeMarks) {
            EXPECT_FALSE(IsMercuryRetrogradeOn(noon));
          }
          score += day.ratingSum;
          peak = std::max(peak, day.ratingSum);
        }
        EXPECT_EQ(w.score, score);
        EXPECT_EQ(w.peakSum, peak);
        EXPECT_EQ(dayOf(w.peakNoon).ratingSum, peak);
        EXPECT_GE(peak, kLeastPeakSum);
        EXPECT_FALSE(w.reasons.empty());  // a day of sum above zero has a blue text
        for (const auto* list : {&w.reasons, &w.cautions})
          for (const InfluenceText& text : *list) {
            EXPECT_TRUE(text.accepted);
            EXPECT_EQ(text.rating > 0, list == &w.reasons);
            EXPECT_LE(text.influence.firstNoon, w.lastNoon);
            EXPECT_GE(text.influence.lastNoon, w.firstNoon);
          }
        ++windowsSeen;
      }
    }
  }
  EXPECT_GT(windowsSeen, 20);
}

}  // namespace
}  // namespace meridan
