#pragma once
// The best days for a kind's action: the stretches of the coming months
// that the forecast itself rates well, ranked, each with the influences
// behind it and those to watch. The rule reads the day sums the rating
// series and the graph are drawn from, so it cannot disagree with them:
//
// - a day's sum is the sum of the ratings of its accepted hits, before the
//   kind's factor;
// - a day is held back when one of its accepted hits is rated -4 or lower,
//   and, for purchase-sale, when Mercury is retrograde that day (the days
//   the sale graph marks);
// - a window is a longest run of consecutive days (across month ends), none
//   held back, each with a sum above zero; its score is the sum of its day
//   sums, its peak the first day of its highest sum;
// - a window whose peak sum is below 2 is dropped; of the others, the five
//   highest scores are the best windows, the highest first and, on a tie,
//   the earlier first.
//
// A window's reasons are the accepted influences rated above zero whose
// days in orb overlap it, its cautions those rated below zero; both in the
// influences' order (by first day).

#include <span>
#include <vector>

#include "base/dates.h"
#include "texts/influence_texts.h"
#include "texts/interpretation.h"
#include "texts/month_scan.h"
#include "transits/forecast_kind.h"
#include "transits/natal.h"

namespace meridan {

inline constexpr int kBestWindowCount = 5;
// A hit rated this or lower holds its day back, whatever else the day holds.
inline constexpr int kHoldingBackRating = -4;
// A window needs a day of at least this sum.
inline constexpr int kLeastPeakSum = 2;
// The longest period the search is asked for, in months.
inline constexpr int kMostBestDayMonths = 12;

// What the rule reads off one day.
struct DayMerit {
  int sum = 0;  // the day's sum of accepted ratings
  bool heldBack = false;
};

struct BestWindow {
  double firstNoon = 0.0;  // Julian day of the first day's noon
  double lastNoon = 0.0;   // of the last day
  double peakNoon = 0.0;   // of the first day of the highest sum
  int peakSum = 0;
  int score = 0;  // the sum of the window's day sums
  std::vector<InfluenceText> reasons;
  std::vector<InfluenceText> cautions;
  int days() const { return static_cast<int>(lastNoon - firstNoon) + 1; }
};

// The best windows of consecutive days, the first at firstNoon; without
// reasons and cautions.
std::vector<BestWindow> ChooseBestWindows(std::span<const DayMerit> days, double firstNoon);

// The merits of the days of consecutive months, the first month's day 1
// first. Throws std::invalid_argument when a month does not follow the one
// before it.
std::vector<DayMerit> DayMerits(std::span<const MonthScan> months, ForecastKind kind);

// The best windows of the scanned months, each with its reasons and
// cautions among the influences of the same months.
std::vector<BestWindow> FindBestWindows(std::span<const MonthScan> months, ForecastKind kind,
                                        const std::vector<InfluenceText>& influences);

// The whole search for `months` months from the start month: scans,
// influences, windows.
std::vector<BestWindow> SearchBestWindows(const NatalChart& natal, YearMonth start, int months,
                                          ForecastKind kind,
                                          const InterpretationFile& interpretations);

}  // namespace meridan
