#include "engine/ephemeris/Com_mer_tra.h"

#include <stdexcept>

#include "engine/ephemeris/positions.h"

namespace meridan {

SeriesResult MercurySeries(double) { throw std::logic_error("MercurySeries: not written yet"); }

void MercuryPosition(double julianDay, double& longitude, SunVector& sun) {
  PlanetPosition(julianDay, MercurySeries, longitude, sun);
}

}  // namespace meridan
