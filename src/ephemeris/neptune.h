#pragma once
// Neptune: heliocentric series.

#include "ephemeris/angles.h"

namespace meridan {

// Heliocentric lambda, beta (radians), r and X, Y, Z (AU, mean equator and
// equinox of date) for T Julian centuries since 1900 January 0.5.
SeriesResult NeptuneSeries(double T);

// The angle of (x, y) in degrees as the series forms it: the arctangent of
// |y / x| placed by the signs, so y = 0 with x > 0 gives 360, not 0 (the
// angle only enters sums, sines and cosines).
double NeptuneQuadrantAngle(double y, double x);

}  // namespace meridan
