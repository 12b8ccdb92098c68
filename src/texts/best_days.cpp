#include "texts/best_days.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "transits/influences.h"
#include "transits/scan.h"
#include "transits/series.h"

namespace meridan {

std::vector<BestWindow> ChooseBestWindows(std::span<const DayMerit> days, double firstNoon) {
  std::vector<BestWindow> windows;
  const auto counts = [](const DayMerit& day) { return !day.heldBack && day.sum > 0; };
  for (size_t d = 0; d < days.size();) {
    if (!counts(days[d])) {
      ++d;
      continue;
    }
    BestWindow window;
    window.firstNoon = firstNoon + static_cast<double>(d);
    window.peakNoon = window.firstNoon;
    window.peakSum = days[d].sum;
    for (; d < days.size() && counts(days[d]); ++d) {
      window.score += days[d].sum;
      if (days[d].sum > window.peakSum) {
        window.peakSum = days[d].sum;
        window.peakNoon = firstNoon + static_cast<double>(d);
      }
    }
    window.lastNoon = firstNoon + static_cast<double>(d - 1);
    if (window.peakSum >= kLeastPeakSum) windows.push_back(std::move(window));
  }
  // Found in time order, so a stable sort keeps the earlier first on a tie.
  std::stable_sort(windows.begin(), windows.end(),
                   [](const BestWindow& x, const BestWindow& y) { return x.score > y.score; });
  if (windows.size() > static_cast<size_t>(kBestWindowCount)) windows.resize(kBestWindowCount);
  return windows;
}

std::vector<DayMerit> DayMerits(std::span<const MonthScan> months, ForecastKind kind) {
  const bool retrogradeHoldsBack = KindInfo(kind).retrogradeMarks;
  std::vector<DayMerit> merits;
  for (size_t m = 0; m < months.size(); ++m) {
    const MonthScan& month = months[m];
    if (m > 0 && std::lround(month.firstNoon - months[m - 1].firstNoon) != months[m - 1].length)
      throw std::invalid_argument("the best days are sought over consecutive months");
    for (int d = 1; d <= month.length; ++d) {
      const DayList& day = month.days[static_cast<size_t>(d - 1)];
      DayMerit merit{day.ratingSum, false};
      for (const TransitHit& hit : day.hits)
        if (hit.accepted && hit.rating <= kHoldingBackRating) merit.heldBack = true;
      if (retrogradeHoldsBack && IsMercuryRetrogradeOn(month.firstNoon + (d - 1)))
        merit.heldBack = true;
      merits.push_back(merit);
    }
  }
  return merits;
}

std::vector<BestWindow> FindBestWindows(std::span<const MonthScan> months, ForecastKind kind,
                                        const std::vector<InfluenceText>& influences) {
  if (months.empty()) return {};
  std::vector<BestWindow> windows =
      ChooseBestWindows(DayMerits(months, kind), months.front().firstNoon);
  for (BestWindow& window : windows)
    for (const InfluenceText& text : influences) {
      const Influence& influence = text.influence;
      if (!text.accepted || influence.lastNoon < window.firstNoon ||
          influence.firstNoon > window.lastNoon)
        continue;
      if (text.rating > 0) window.reasons.push_back(text);
      if (text.rating < 0) window.cautions.push_back(text);
    }
  return windows;
}

std::vector<BestWindow> SearchBestWindows(const NatalChart& natal, YearMonth start, int months,
                                          ForecastKind kind,
                                          const InterpretationFile& interpretations) {
  std::vector<MonthScan> scans;
  scans.reserve(static_cast<size_t>(std::max(months, 0)));
  for (int k = 0; k < months; ++k)
    scans.push_back(AttachTexts(ScanTransits(natal, start.Plus(k)), interpretations));
  return FindBestWindows(
      scans, kind, AttachInfluenceTexts(FindInfluences(natal, start, months), interpretations));
}

}  // namespace meridan
