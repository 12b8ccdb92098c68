#include "engine/ephemeris/Com_jup_tra.h"

#include <stdexcept>

#include "engine/ephemeris/positions.h"

namespace meridan {

SeriesResult JupiterSeries(double) { throw std::logic_error("JupiterSeries: not written yet"); }

void JupiterPosition(double julianDay, double& longitude, SunVector& sun) {
  PlanetPosition(julianDay, JupiterSeries, longitude, sun);
}

}  // namespace meridan
