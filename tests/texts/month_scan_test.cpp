#include "texts/month_scan.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "ephemeris/calendar.h"
#include "ephemeris/mercury.h"
#include "support/program_dir.h"
#include "transits/aspects.h"
#include "transits/series.h"

namespace meridan {
namespace {

using testing::ProgramDir;

PlutoTable Pluto(const ProgramDir& dir) { return PlutoTable::Load(dir.system() / "pluto.sys"); }

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

TEST(ScanMonth, LeapFebruaryHasDay29) {
  ProgramDir dir;
  const auto table = InterpretationFile::Parse("test.dat", CompleteFile());
  const MonthScan scan = ScanMonth({20, 5, 1984}, {2024, 2}, table, Pluto(dir), dir.system());
  EXPECT_EQ(scan.length, 29);
  ASSERT_EQ(scan.days.size(), 29u);
  EXPECT_DOUBLE_EQ(scan.firstNoon + 28, NoonJulianDay(29, 2, 2024));
  EXPECT_EQ(ScanMonth({20, 5, 1984}, {2025, 2}, table, Pluto(dir), dir.system()).length, 28);
}

TEST(ScanMonth, HitsAreTheAspectsOfTheDayInScanOrder) {
  ProgramDir dir;
  const auto table = InterpretationFile::Parse("test.dat", CompleteFile());
  const MonthScan scan = ScanMonth({20, 5, 1984}, {2025, 5}, table, Pluto(dir), dir.system());
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
        const int aspect = ClassifyAspect(moving, natal[n], kAspectOrb);
        if (aspect == kNoAspect) continue;
        ASSERT_LT(k, day.hits.size()) << "day " << d;
        const TransitHit& hit = day.hits[k++];
        EXPECT_EQ(hit.day, d);
        EXPECT_EQ(hit.transitBody, t);
        EXPECT_EQ(hit.natalBody, n);
        EXPECT_EQ(hit.aspect, aspect);
        EXPECT_EQ(hit.accepted, t != 5) << "Mars texts are too short to print";
        if (hit.accepted) sum += hit.rating;
      }
    }
    EXPECT_EQ(k, day.hits.size()) << "day " << d;
    EXPECT_EQ(day.ratingSum, sum) << "day " << d;
  }
}

TEST(ScanMonth, ScratchFileHoldsTheLastMatchedText) {
  ProgramDir dir;
  const auto table = InterpretationFile::Parse("test.dat", CompleteFile());
  const MonthScan scan = ScanMonth({20, 5, 1984}, {2025, 5}, table, Pluto(dir), dir.system());
  const TransitHit* last = nullptr;
  for (const DayList& day : scan.days)
    for (const TransitHit& hit : day.hits) last = &hit;
  ASSERT_NE(last, nullptr);
  const std::string scratch = testing::ReadFile(dir.system() / "tmp.dat");
  EXPECT_EQ(scratch.rfind("combination " + std::to_string(last->transitBody) + "-" +
                              std::to_string(last->aspect) + "-" + std::to_string(last->natalBody),
                          0),
            0u)
      << scratch;
  EXPECT_EQ(scratch.back(), ' ');
}

TEST(ScanMonth, MissingInterpretationFileGivesNoText) {
  ProgramDir dir;
  const MonthScan scan =
      ScanMonth({20, 5, 1984}, {2025, 5}, dir.system() / "absent.dat", dir.system());
  size_t hits = 0;
  for (const DayList& day : scan.days) {
    EXPECT_FALSE(day.hasText);
    EXPECT_EQ(day.ratingSum, 0);
    for (const TransitHit& hit : day.hits) {
      EXPECT_TRUE(hit.fragment.empty());
      EXPECT_FALSE(hit.accepted);
    }
    hits += day.hits.size();
  }
  EXPECT_GT(hits, 0u);
  EXPECT_FALSE(std::filesystem::exists(dir.system() / "tmp.dat"));
}

TEST(NatalChart, ImpossibleDateRunsOnIntoMarch) {
  ProgramDir dir;
  EXPECT_EQ(ComputeNatalChart({31, 2, 1984}, Pluto(dir)),
            ComputeNatalChart({2, 3, 1984}, Pluto(dir)));
  EXPECT_EQ(ComputeNatalChart({31, 2, 1983}, Pluto(dir)),
            ComputeNatalChart({3, 3, 1983}, Pluto(dir)));
  const NatalChart chart = ComputeNatalChart({20, 5, 1984}, Pluto(dir));
  EXPECT_EQ(chart[kMoon], 0.0);
  for (const Body body : kComputedBodies) {
    EXPECT_GE(chart[body], 0.0);
    EXPECT_LT(chart[body], 360.0);
  }
}

TEST(MakeMonthSeries, SaleMarksFollowMercury) {
  ProgramDir dir;
  SeriesStore store;
  // Mercury turned retrograde on 2025 March 15 and direct on April 7.
  MakeMonthSeries(ForecastKind::Sale, {20, 5, 1984}, {2025, 3}, dir.system(),
                  dir.system() / "sale.dat", store);
  ASSERT_EQ(store.SampleCount, 93);
  SunVector sun;
  for (int d = 1; d <= 31; ++d) {
    double before = 0, today = 0;
    MercuryPosition(NoonJulianDay(d, 3, 2025) - 1, before, sun);
    MercuryPosition(NoonJulianDay(d, 3, 2025), today, sun);
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

  // A trips series leaves the marks as they were.
  const auto marks = store.RetrogradeMarks;
  MakeMonthSeries(ForecastKind::Trips, {20, 5, 1984}, {2025, 6}, dir.system(),
                  dir.system() / "go.dat", store);
  EXPECT_EQ(store.RetrogradeMarks, marks);
}

// Born 15 June 1980, 13 September 2025 brings 13 aspects: every one is kept,
// transit-major, natal bodies in order within each moving body.
TEST(ScanMonth, DayWithMoreThanTenHitsKeepsThemAll) {
  ProgramDir dir;
  const auto table = InterpretationFile::Parse("test.dat", CompleteFile());
  const MonthScan scan = ScanMonth({15, 6, 1980}, {2025, 9}, table, Pluto(dir), dir.system());
  const DayList& day = scan.days[12];
  ASSERT_EQ(day.hits.size(), 13u);
  for (size_t k = 1; k < day.hits.size(); ++k) {
    const TransitHit& a = day.hits[k - 1];
    const TransitHit& b = day.hits[k];
    EXPECT_TRUE(a.transitBody < b.transitBody ||
                (a.transitBody == b.transitBody && a.natalBody < b.natalBody))
        << "hit " << k;
  }
  int sum = 0;
  for (const TransitHit& hit : day.hits) sum += hit.accepted ? hit.rating : 0;
  EXPECT_EQ(day.ratingSum, sum);
}

}  // namespace
}  // namespace meridan
