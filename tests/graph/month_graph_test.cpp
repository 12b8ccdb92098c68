#include "output/graph/month_graph.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>
#include <utility>

#include "output/graph/text.h"
#include "picture_files.h"

namespace meridan {
namespace {

constexpr Rgb kBlue{0, 0, 255};
constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kLabelBox{111, 145, 190};
constexpr int kLabelTop = 154;  // y of the top of the day labels
// The stand-in for the shipped template: one colour that the graph never draws in.
constexpr Rgb kTemplateColour{236, 233, 216};

using Runs = std::vector<std::pair<int, int>>;  // first and last x of each run

Runs RunsOf(const Raster& r, int y, Rgb colour) {
  Runs runs;
  for (int x = 0; x < r.width; ++x) {
    if (GetPixel(r, x, y) != colour) continue;
    if (runs.empty() || runs.back().second != x - 1) runs.push_back({x, x});
    runs.back().second = x;
  }
  return runs;
}

long Count(const Raster& r, Rgb colour) {
  return std::count(r.pixels.begin(), r.pixels.end(), colour);
}

// The graph drawn on a plain template of the page's 626 x 205 pixels.
class MonthGraph : public ::testing::Test {
 protected:
  // An all-zero series for a month of `days` days.
  static SeriesStore Flat(int days) {
    SeriesStore store;
    store.SampleCount = 3 * days;
    return store;
  }

  Raster Drawn(const SeriesStore& store) {
    return DrawMonthCurve(Raster(width_, height_, kTemplateColour), store, month_, marks_,
                          testing::GraphFont());
  }

  YearMonth month_{2025, 1};
  bool marks_ = false;
  int width_ = 626, height_ = 205;
};

// Zero line y = 92; sample i runs from x = 90 + 5 (i - 1) to 90 + 5 i; the
// five strokes (as is, x - 1, x + 1, y - 1, y + 1) leave out their end points,
// so the band of N samples ends at x = 90 + 5 N on its middle row, a pixel
// short above and below.
// Label k (value 2k) belongs to sample 6k: its box starts at
// xa - 9 = 90 + 5 (6k - 1) - 9 = 76 + 30 k, at y = 154, as wide as its figures.
TEST_F(MonthGraph, FlatSeriesBandAndDayLabelsFollowTheMonth) {
  const int figure = testing::GraphFont().Measure("0").width;
  struct Case {
    int days, labels, month;  // labels 2..30 for 31 days: 93 is no multiple of 6
  } cases[] = {{31, 15, 5}, {29, 14, 11}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.month);
    month_.month = c.month;
    const int end = 90 + 15 * c.days;
    const Raster r = Drawn(Flat(c.days));
    EXPECT_EQ(RunsOf(r, 92, kBlue), (Runs{{89, end}}));
    EXPECT_EQ(RunsOf(r, 91, kBlue), (Runs{{90, end - 1}}));
    EXPECT_EQ(RunsOf(r, 93, kBlue), (Runs{{90, end - 1}}));
    EXPECT_EQ(Count(r, kBlue), (end - 88) + 2 * (end - 90)) << "blue outside the band";
    Runs boxes;
    for (int k = 1; k <= c.labels; ++k)
      boxes.push_back({76 + 30 * k, 76 + 30 * k + (k < 5 ? 1 : 2) * figure - 1});
    EXPECT_EQ(RunsOf(r, kLabelTop, kLabelBox), boxes);
    // The caption's box starts at (105, 172).
    EXPECT_EQ(RunsOf(r, 172, kLabelBox).at(0).first, 105);
    EXPECT_EQ(RunsOf(r, 171, kLabelBox), Runs{});
  }
}

TEST_F(MonthGraph, LastPointRaisedShowsTheUnpaintedEndPoints) {
  // February's 84 samples with entry 85 (the end of the last segment) at 30:
  // the last segment climbs from (505, 92) to (510, 62). Of the five strokes
  // only the one shifted up reaches row 62 (at x = 510, still half a pixel
  // short of its end), and none reaches row 61.
  SeriesStore store = Flat(28);
  store.RatingSeries[85] = 30;
  const Raster r = Drawn(store);
  EXPECT_EQ(RunsOf(r, 61, kBlue), Runs{});
  EXPECT_EQ(RunsOf(r, 62, kBlue), (Runs{{510, 510}}));
}

TEST_F(MonthGraph, RetrogradeDayIsARedBarUnderTheCurveInASaleRunOnly) {
  SeriesStore store = Flat(30);
  for (int j = 13; j <= 15; ++j) store.RetrogradeMarks[j] = 1;  // day 5
  marks_ = true;
  // On the zero line the curve covers the bar whole.
  const Raster flat = Drawn(store);
  EXPECT_EQ(Count(flat, kRed), 0);
  EXPECT_EQ(GetPixel(flat, 155, 92), kBlue);
  // Samples 13..15 run from x = 150 to 165, the end point left out: 15
  // pixels by 3, red wherever the curve is not. Here the curve comes down
  // into the bar (from +20 at point 14 to 0 at point 15) and every one of
  // its pixels stays as without the bar.
  for (int i = 1; i <= 14; ++i) store.RatingSeries[i] = 20;
  const Raster sale = Drawn(store);
  marks_ = false;
  const Raster plain = Drawn(store);
  marks_ = true;
  long curveInBar = 0;
  for (int y = 91; y <= 93; ++y)
    for (int x = 150; x <= 164; ++x) curveInBar += GetPixel(plain, x, y) == kBlue;
  EXPECT_GT(curveInBar, 0);
  EXPECT_EQ(Count(sale, kRed), 45 - curveInBar);
  EXPECT_EQ(Count(sale, kBlue), Count(plain, kBlue));
  EXPECT_EQ(RunsOf(sale, 92, kRed).front().first, 150);

  marks_ = false;  // trips or car service with stale marks
  EXPECT_EQ(Count(Drawn(store), kRed), 0);
}

// Values far beyond the panel (rows 6 to 146, its edges) run along its
// inside: the pen's outer rows stop at 7 and 145, clear of the edges, the
// day labels and the caption.
TEST_F(MonthGraph, FarOutValuesRunAlongThePanelsEdges) {
  SeriesStore store = Flat(31);
  for (int i = 1; i <= 94; ++i) store.RatingSeries[i] = i % 2 ? INT_MAX : INT_MIN;
  store.RatingSeries[50] = 1'000'000;
  const Raster r = Drawn(store);
  for (int y = 0; y < r.height; ++y) {
    const bool inside = y >= 7 && y <= 145;
    EXPECT_EQ(!RunsOf(r, y, kBlue).empty(), inside) << y;
  }
  // Segment 10 falls from the top to the bottom through x = 135 .. 140.
  for (int y = 7; y <= 145; ++y) {
    bool blue = false;
    for (int x = 134; x <= 141; ++x) blue = blue || GetPixel(r, x, y) == kBlue;
    EXPECT_TRUE(blue) << y;
  }
  // A smaller template cuts the drawing off at its edges.
  width_ = 300;
  height_ = 60;
  const Raster small = Drawn(store);
  EXPECT_EQ(std::pair(small.width, small.height), std::pair(300, 60));
  EXPECT_FALSE(RunsOf(small, 59, kBlue).empty());
}

TEST_F(MonthGraph, SampleCountBeyondTheStoreIsRefused) {
  SeriesStore store;
  store.SampleCount = kSeriesSlots;  // needs entry 101
  EXPECT_THROW(Drawn(store), std::invalid_argument);
}

}  // namespace
}  // namespace meridan
