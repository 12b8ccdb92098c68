#pragma once
// What the seven planets' position routines share: refresh the Sun vector,
// add it to the planet's heliocentric coordinates, convert, normalise.

#include "ephemeris/angles.h"

namespace meridan {

// A planet's heliocentric series: lambda, beta (radians), r and X, Y, Z (AU,
// mean equator and equinox of date) for T Julian centuries since 1900
// January 0.5.
using SeriesFunction = SeriesResult (*)(double T);

// Geocentric longitude in degrees [0, 360) from a Sun vector already
// computed for the same Julian day.
double LongitudeFromSun(double julianDay, SeriesFunction series, const SunVector& sun);

// The position routine of a planet: refreshes the Sun vector for the day,
// then the longitude as above.
void PlanetPosition(double julianDay, SeriesFunction series, double& longitude, SunVector& sun);

}  // namespace meridan
