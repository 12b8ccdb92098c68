#include "engine/ephemeris/Com_Ura_tra.h"

#include <stdexcept>

#include "engine/ephemeris/positions.h"

namespace meridan {

SeriesResult UranusSeries(double) { throw std::logic_error("UranusSeries: not written yet"); }

void UranusPosition(double julianDay, double& longitude, SunVector& sun) {
  PlanetPosition(julianDay, UranusSeries, longitude, sun);
}

}  // namespace meridan
