#pragma once
// The daily rating series: the day sums of a month's accepted ratings, scaled
// by the kind's factor, sampled three times a day and smoothed; the curve of
// the month graph. For purchase-sale also Mercury's retrograde days.

#include <array>
#include <span>

#include "base/dates.h"
#include "transits/forecast_kind.h"

namespace meridan {

inline constexpr int kSeriesSlots = 100;

// The series store. Arrays are indexed 1..100 as the graph reads them
// (element 0 is unused and stays 0).
struct SeriesStore {
  int SampleCount = 0;                                  // N = 3 x days of the month
  std::array<int, kSeriesSlots + 1> RatingSeries{};     // entries 1..N+3 set, the rest 0
  std::array<int, kSeriesSlots + 1> RetrogradeMarks{};  // 1 on samples of retrograde days
};

// Sets SampleCount and RatingSeries from the day sums of the month's
// accepted ratings (daySums[d - 1] for day d); for purchase-sale also
// RetrogradeMarks from Mercury's motion over the month. Throws
// std::invalid_argument for more days than the store holds.
void BuildRatingSeries(std::span<const int> daySums, ForecastKind kind, YearMonth month,
                       SeriesStore& store);

// Whether Mercury is retrograde on the day: its longitude decreased since
// noon of the day before, by less than 3 degrees along the shorter arc.
bool IsMercuryRetrograde(double longitudeDayBefore, double longitudeToday);

// Whether Mercury is retrograde on the day of this noon (a Julian day), as
// the purchase-sale graph marks it: from its longitudes at that noon and
// the noon before.
bool IsMercuryRetrogradeOn(double noon);

}  // namespace meridan
