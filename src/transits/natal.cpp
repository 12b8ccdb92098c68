#include "transits/natal.h"

#include "ephemeris/calendar.h"

namespace meridan {

NatalChart ComputeNatalChart(Date birth, const PlutoTable& pluto) {
  const double t = NoonJulianDay(birth.day, birth.month, birth.year);
  NatalChart chart{};
  ComputeLongitudes(t, kComputedBodies, &pluto, chart);
  return chart;
}

}  // namespace meridan
