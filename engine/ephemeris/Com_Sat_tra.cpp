#include "engine/ephemeris/Com_Sat_tra.h"

#include <stdexcept>

#include "engine/ephemeris/positions.h"

namespace meridan {

SeriesResult SaturnSeries(double) { throw std::logic_error("SaturnSeries: not written yet"); }

void SaturnPosition(double julianDay, double& longitude, SunVector& sun) {
  PlanetPosition(julianDay, SaturnSeries, longitude, sun);
}

}  // namespace meridan
