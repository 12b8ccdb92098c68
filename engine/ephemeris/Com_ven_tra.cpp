#include "engine/ephemeris/Com_ven_tra.h"

#include <stdexcept>

#include "engine/ephemeris/positions.h"

namespace meridan {

SeriesResult VenusSeries(double) { throw std::logic_error("VenusSeries: not written yet"); }

void VenusPosition(double julianDay, double& longitude, SunVector& sun) {
  PlanetPosition(julianDay, VenusSeries, longitude, sun);
}

}  // namespace meridan
