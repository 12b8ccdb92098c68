#include "transits/series.h"

#include <cmath>
#include <stdexcept>
#include <string>

#include "ephemeris/angles.h"
#include "ephemeris/calendar.h"
#include "ephemeris/positions.h"

namespace meridan {

bool IsMercuryRetrograde(double longitudeDayBefore, double longitudeToday) {
  // Along the shorter arc, so 0.2 then 359.9 is a step back of 0.3 and
  // 359.5 then 0.3 a step forward of 0.8.
  const double step = SignedArc(longitudeDayBefore, longitudeToday);
  return step < 0 && step > -3.0;
}

bool IsMercuryRetrogradeOn(double noon) {
  SunVector sun;
  const double before = BodyLongitude(kMercury, noon - 1, nullptr, sun);
  return IsMercuryRetrograde(before, BodyLongitude(kMercury, noon, nullptr, sun));
}

void BuildRatingSeries(std::span<const int> daySums, ForecastKind kind, YearMonth month,
                       SeriesStore& store) {
  const ForecastKindInfo& info = KindInfo(kind);
  const size_t L = daySums.size();
  const size_t N = 3 * L;
  // S and the series run to N + 3 (S one further, as a zero).
  if (N + 3 > kSeriesSlots)
    throw std::invalid_argument("a rating series holds at most " +
                                std::to_string((kSeriesSlots - 3) / 3) + " days, not " +
                                std::to_string(L));
  store.SampleCount = static_cast<int>(N);  // at most kSeriesSlots - 3

  // Samples S(1)..S(3L + 3): three per day, the last day once more; S(3L + 4) = 0.
  std::array<double, kSeriesSlots + 2> S{};
  for (size_t d = 1; d <= L; ++d) {
    const double v = daySums[d - 1] * info.seriesFactor;
    S[3 * d - 2] = S[3 * d - 1] = S[3 * d] = v;
  }
  S[N + 1] = S[N + 2] = S[N + 3] = S[N];

  store.RatingSeries.fill(0);
  store.RatingSeries[1] = static_cast<int>(std::ceil(S[1]));
  for (size_t m = 2; m <= N + 3; ++m)
    store.RatingSeries[m] = static_cast<int>(std::ceil(0.5 * S[m - 1] + S[m] + 0.5 * S[m + 1]));

  if (!info.retrogradeMarks) return;
  store.RetrogradeMarks.fill(0);
  const double firstNoon = NoonJulianDay(1, month.month, month.year);
  for (size_t d = 1; d <= L; ++d) {
    if (IsMercuryRetrogradeOn(firstNoon + static_cast<double>(d - 1)))
      store.RetrogradeMarks[3 * d - 2] = store.RetrogradeMarks[3 * d - 1] =
          store.RetrogradeMarks[3 * d] = 1;
  }
}

}  // namespace meridan
