#pragma once
// The natal chart: longitudes of the Sun and the planets at noon of the birth
// date. No birth time, no place, no Moon.

#include "base/dates.h"
#include "ephemeris/positions.h"

namespace meridan {

// Ten longitudes indexed by body number 1..10; entry 2 (the Moon) stays 0.
using NatalChart = Longitudes;

// Every body of the body table, in its order. The birth date is taken as
// entered: 31 February runs on into March.
NatalChart ComputeNatalChart(Date birth, const PlutoTable& pluto);

}  // namespace meridan
