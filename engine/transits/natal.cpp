#include "engine/transits/natal.h"

#include "engine/ephemeris/calendar.h"

namespace meridan {

NatalChart ComputeNatalChart(int birthDay, int birthMonth, int birthYear,
                             const std::filesystem::path& dataDir) {
  const double t = NoonJulianDay(birthDay, birthMonth, birthYear);
  NatalChart chart{};
  SunVector sun;
  for (const Body body : kComputedBodies) chart[body] = BodyLongitude(body, t, dataDir, sun);
  return chart;
}

}  // namespace meridan
