#pragma once
// Saturn: heliocentric series.

#include "ephemeris/angles.h"

namespace meridan {

// Heliocentric lambda, beta (radians), r and X, Y, Z (AU, mean equator and
// equinox of date) for T Julian centuries since 1900 January 0.5.
SeriesResult SaturnSeries(double T);

}  // namespace meridan
