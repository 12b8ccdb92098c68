#include "transits/series.h"

#include <gtest/gtest.h>

#include <vector>

namespace meridan {
namespace {

// Day sums of a month of `length` days: `sums`, then zeros.
std::vector<int> DaySums(int length, std::vector<int> sums) {
  sums.resize(static_cast<size_t>(length));
  return sums;
}

// The worked example: trips, day sums 2, -3, 0 and nothing after.
TEST(BuildRatingSeries, WorkedExample) {
  SeriesStore store;
  BuildRatingSeries(DaySums(31, {2, -3, 0}), ForecastKind::Trips, {2025, 3}, store);
  EXPECT_EQ(store.SampleCount, 93);
  const int expected[] = {5, 10, 4, -8, -15, -11, -3, 0};
  for (int m = 1; m <= 8; ++m) EXPECT_EQ(store.RatingSeries[m], expected[m - 1]) << "entry " << m;
  for (int m = 9; m <= 100; ++m) EXPECT_EQ(store.RatingSeries[m], 0) << "entry " << m;
}

// Ceiling of negative values: -8.75 gives -8. And in doubles
// 0.5 x (-5.6) + (-5.6) + 0.5 x 2.8 lands a hair above -7, so its ceiling is
// -6: car service (factor 2.8) with day sums -2 then 1.
TEST(BuildRatingSeries, CeilingOfNegativeValuesInDoubles) {
  SeriesStore store;
  BuildRatingSeries(DaySums(30, {-2, 1}), ForecastKind::Service, {2025, 3}, store);
  // S = -5.6, -5.6, -5.6, 2.8, 2.8, 2.8, 0 ...
  EXPECT_EQ(store.RatingSeries[1], -5);   // ceil(-5.6)
  EXPECT_EQ(store.RatingSeries[2], -11);  // ceil(-11.2)
  EXPECT_EQ(store.RatingSeries[3], -6);   // ceil(-2.8 - 5.6 + 1.4) in doubles
  EXPECT_EQ(store.RatingSeries[4], 2);    // ceil(-2.8 + 2.8 + 1.4)
}

TEST(BuildRatingSeries, LastDayHeldThroughTheEnd) {
  std::vector<int> sums(30, 0);
  sums[29] = 2;  // v(L) = 5 under trips
  SeriesStore store;
  BuildRatingSeries(DaySums(30, sums), ForecastKind::Trips, {2025, 3}, store);
  const int n = store.SampleCount;
  ASSERT_EQ(n, 90);
  for (int m = n - 1; m <= n + 2; ++m) EXPECT_EQ(store.RatingSeries[m], 10) << "entry " << m;
  EXPECT_EQ(store.RatingSeries[n + 3], 8);
  EXPECT_EQ(store.RatingSeries[n + 4], 0);
}

TEST(BuildRatingSeries, SampleCountFollowsTheMonth) {
  SeriesStore store;
  BuildRatingSeries(DaySums(28, {}), ForecastKind::Trips, {2025, 3}, store);
  EXPECT_EQ(store.SampleCount, 84);
  BuildRatingSeries(DaySums(29, {}), ForecastKind::Trips, {2025, 3}, store);
  EXPECT_EQ(store.SampleCount, 87);
}

TEST(BuildRatingSeries, UnusualRatingsAddUnchanged) {
  SeriesStore store;
  BuildRatingSeries(DaySums(31, {106}), ForecastKind::Sale, {2025, 3}, store);
  EXPECT_EQ(store.RatingSeries[1], 382);  // ceil(106 x 3.6 = 381.6...)
}

TEST(IsMercuryRetrograde, ShortestArcAcrossZero) {
  EXPECT_TRUE(IsMercuryRetrograde(120.4, 120.1));
  EXPECT_FALSE(IsMercuryRetrograde(120.1, 120.4));
  EXPECT_TRUE(IsMercuryRetrograde(0.2, 359.9));   // backwards across 0
  EXPECT_FALSE(IsMercuryRetrograde(359.5, 0.3));  // forwards across 0
  EXPECT_FALSE(IsMercuryRetrograde(10.0, 7.0));   // 3 degrees is no longer a day's motion
  EXPECT_FALSE(IsMercuryRetrograde(10.0, 10.0));
}

// The store holds the samples of a month of at most 32 days: more are
// refused, not written past its end.
TEST(BuildRatingSeries, MoreDaysThanTheStoreHoldsAreRefused) {
  SeriesStore store;
  EXPECT_NO_THROW(BuildRatingSeries(DaySums(32, {1}), ForecastKind::Trips, {2025, 3}, store));
  EXPECT_THROW(BuildRatingSeries(DaySums(33, {1}), ForecastKind::Trips, {2025, 3}, store),
               std::invalid_argument);
}

}  // namespace
}  // namespace meridan
