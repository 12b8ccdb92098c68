#include "engine/ephemeris/Com_mar_tra.h"

#include <stdexcept>

#include "engine/ephemeris/positions.h"

namespace meridan {

SeriesResult MarsSeries(double) { throw std::logic_error("MarsSeries: not written yet"); }

void MarsPosition(double julianDay, double& longitude, SunVector& sun) {
  PlanetPosition(julianDay, MarsSeries, longitude, sun);
}

}  // namespace meridan
