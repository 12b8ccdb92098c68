#include "engine/transits/natal.h"

#include "engine/ephemeris/calendar.h"

namespace meridan {

NatalChart ComputeNatalChart(int birthDay, int birthMonth, int birthYear,
                             const std::filesystem::path& dataDir) {
  const double t = NoonJulianDay(birthDay, birthMonth, birthYear);
  NatalChart chart{};
  ComputeLongitudes(t, kNatalBodies, dataDir, chart);
  return chart;
}

}  // namespace meridan
