#include "engine/ephemeris/Com_nep_tra.h"

#include <stdexcept>

#include "engine/ephemeris/positions.h"

namespace meridan {

SeriesResult NeptuneSeries(double) { throw std::logic_error("NeptuneSeries: not written yet"); }

void NeptunePosition(double julianDay, double& longitude, SunVector& sun) {
  PlanetPosition(julianDay, NeptuneSeries, longitude, sun);
}

}  // namespace meridan
