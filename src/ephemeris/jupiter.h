#pragma once
// Jupiter: heliocentric series and geocentric position routine.

#include "ephemeris/angles.h"

namespace meridan {

// Heliocentric lambda, beta (radians), r and X, Y, Z (AU, mean equator and
// equinox of date) for T Julian centuries since 1900 January 0.5.
SeriesResult JupiterSeries(double T);

// Geocentric ecliptic longitude in degrees [0, 360); refreshes the Sun vector.
void JupiterPosition(double julianDay, double& longitude, SunVector& sun);

}  // namespace meridan
