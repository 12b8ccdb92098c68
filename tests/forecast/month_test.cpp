// The month as a forecast reads it: its scan with the texts and its rating
// series, through AnalyseMonth, the one way a month is made.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "ephemeris/calendar.h"
#include "forecast/forecast.h"
#include "support/scratch_program_dir.h"
#include "transits/aspects.h"

namespace meridan {
namespace {

using testing::ScratchProgramDir;

PlutoTable Pluto(const ScratchProgramDir& dir) {
  return PlutoTable::Load(dir.system() / "pluto.sys");
}

// The month of a trips forecast for the birth date, from the program
// directory's files.
MonthAnalysis Month(const ScratchProgramDir& dir, Date birth, YearMonth month,
                    ForecastKind kind = ForecastKind::Trips) {
  ForecastContext context(dir.root());
  return AnalyseMonth(context, kind, ComputeNatalChart(birth, context.pluto()), month);
}

// An interpretation file with a record for every combination the scan asks
// for; the text names its combination and is long enough to print unless
// the combination is Mars-anything (then 20 characters: never printed).
std::string CompleteFile() {
  std::string file = "test file\r\n";
  for (const int t : kTransitBodies)
    for (const int a : kAspectAngles)
      for (const int n : kComputedBodies) {
        char header[32];
        const int rating = (t + n) % 2 ? 3 : 102;
        std::snprintf(header, sizeof header, "* %03d %03d %03d %03d\r\n", t, a, n, rating);
        file += header;
        std::string text =
            "combination " + std::to_string(t) + "-" + std::to_string(a) + "-" + std::to_string(n);
        if (t != 5) text += std::string(60, '.');
        file += text + "@\r\n";
      }
  return file;
}

TEST(AnalyseMonth, LeapFebruaryHasDay29) {
  ScratchProgramDir dir;
  testing::WriteFile(dir.system() / "go.dat", CompleteFile());
  const MonthScan scan = Month(dir, {20, 5, 1984}, {2024, 2}).scan;
  EXPECT_EQ(scan.length, 29);
  ASSERT_EQ(scan.days.size(), 29u);
  EXPECT_DOUBLE_EQ(scan.firstNoon + 28, NoonJulianDay(29, 2, 2024));
  EXPECT_EQ(Month(dir, {20, 5, 1984}, {2025, 2}).scan.length, 28);
}

TEST(AnalyseMonth, HitsAreTheAspectsOfTheDayInScanOrder) {
  ScratchProgramDir dir;
  testing::WriteFile(dir.system() / "go.dat", CompleteFile());
  const MonthScan scan = Month(dir, {20, 5, 1984}, {2025, 5}).scan;
  const NatalChart natal = ComputeNatalChart({20, 5, 1984}, Pluto(dir));
  ASSERT_EQ(scan.length, 31);
  for (int d = 1; d <= scan.length; ++d) {
    const DayList& day = scan.days[static_cast<size_t>(d - 1)];
    SunVector sun;
    size_t k = 0;
    int sum = 0;
    for (const int t : kTransitBodies) {
      const double moving = BodyLongitude(t, scan.firstNoon + d - 1, nullptr, sun);
      for (const int n : kComputedBodies) {
        const std::optional<int> aspect = ClassifyAspect(moving, natal[n], kAspectOrb);
        if (!aspect) continue;
        ASSERT_LT(k, day.hits.size()) << "day " << d;
        const TransitHit& hit = day.hits[k++];
        EXPECT_EQ(hit.day, d);
        EXPECT_EQ(hit.key.transitBody, t);
        EXPECT_EQ(hit.key.natalBody, n);
        EXPECT_EQ(hit.key.aspect, *aspect);
        EXPECT_EQ(hit.accepted, t != 5) << "Mars texts are too short to print";
        if (hit.accepted) sum += hit.rating;
      }
    }
    EXPECT_EQ(k, day.hits.size()) << "day " << d;
    EXPECT_EQ(day.ratingSum, sum) << "day " << d;
  }
}

// A missing file gives no texts, and reading the month writes nothing.
TEST(AnalyseMonth, MissingInterpretationFileGivesNoText) {
  ScratchProgramDir dir;
  std::filesystem::remove(dir.system() / "go.dat");
  const MonthScan scan = Month(dir, {20, 5, 1984}, {2025, 5}).scan;
  size_t hits = 0;
  for (const DayList& day : scan.days) {
    EXPECT_FALSE(day.hasText);
    EXPECT_EQ(day.ratingSum, 0);
    for (const TransitHit& hit : day.hits) {
      EXPECT_TRUE(hit.text.empty());
      EXPECT_FALSE(hit.accepted);
    }
    hits += day.hits.size();
  }
  EXPECT_GT(hits, 0u);
  EXPECT_FALSE(std::filesystem::exists(dir.system() / "tmp.dat"));
}

TEST(AnalyseMonth, SaleMarksFollowMercury) {
  ScratchProgramDir dir;
  // Mercury turned retrograde on 2025 March 15 and direct on April 7.
  const SeriesStore store = Month(dir, {20, 5, 1984}, {2025, 3}, ForecastKind::Sale).series;
  ASSERT_EQ(store.SampleCount, 93);
  SunVector sun;
  for (int d = 1; d <= 31; ++d) {
    const double before = BodyLongitude(kMercury, NoonJulianDay(d, 3, 2025) - 1, nullptr, sun);
    const double today = BodyLongitude(kMercury, NoonJulianDay(d, 3, 2025), nullptr, sun);
    double step = today - before;  // along the shorter arc: 358.7 to 0.2 is forwards
    if (step > 180) step -= 360;
    if (step < -180) step += 360;
    const int mark = step < 0 ? 1 : 0;
    for (int s = 3 * d - 2; s <= 3 * d; ++s)
      EXPECT_EQ(store.RetrogradeMarks[s], mark) << "day " << d;
  }
  EXPECT_EQ(store.RetrogradeMarks[3 * 3], 0);  // 358.68 then 0.19: forwards across 0
  EXPECT_EQ(store.RetrogradeMarks[3 * 14], 0);
  EXPECT_EQ(store.RetrogradeMarks[3 * 20], 1);
  EXPECT_EQ(store.RetrogradeMarks[3 * 30], 1);  // 0.44 then 359.71: backwards across 0

  // A trips series marks nothing.
  const SeriesStore trips = Month(dir, {20, 5, 1984}, {2025, 3}).series;
  EXPECT_EQ(trips.RetrogradeMarks, decltype(trips.RetrogradeMarks){});
}

// Born 15 June 1980, 13 September 2025 brings 13 aspects: every one is kept,
// transit-major, natal bodies in order within each moving body.
TEST(AnalyseMonth, DayWithMoreThanTenHitsKeepsThemAll) {
  ScratchProgramDir dir;
  testing::WriteFile(dir.system() / "go.dat", CompleteFile());
  const MonthScan scan = Month(dir, {15, 6, 1980}, {2025, 9}).scan;
  const DayList& day = scan.days[12];
  ASSERT_EQ(day.hits.size(), 13u);
  for (size_t k = 1; k < day.hits.size(); ++k) {
    const TransitHit& a = day.hits[k - 1];
    const TransitHit& b = day.hits[k];
    EXPECT_TRUE(a.key.transitBody < b.key.transitBody ||
                (a.key.transitBody == b.key.transitBody && a.key.natalBody < b.key.natalBody))
        << "hit " << k;
  }
  int sum = 0;
  for (const TransitHit& hit : day.hits) sum += hit.accepted ? hit.rating : 0;
  EXPECT_EQ(day.ratingSum, sum);
}

}  // namespace
}  // namespace meridan
