#pragma once
// The Sun: a mean-element solar theory on the epoch 1900 January 0.5 with the
// equation of centre as a short series and small periodic corrections from
// Venus, Mars, Jupiter and the Moon. Geocentric; its X, Y, Z are also the
// Earth-to-Sun vector that turns every planet's heliocentric coordinates
// into geocentric ones.

#include "ephemeris/angles.h"

namespace meridan {

// Geocentric lambda, beta (= 0), R and X, Y, Z (mean equator and equinox of
// date, AU) for T Julian centuries since 1900 January 0.5.
SeriesResult SunSeries(double T);

// Geocentric ecliptic longitude of the Sun in degrees [0, 360); refreshes sun.
void SunPosition(double julianDay, double& longitude, SunVector& sun);

}  // namespace meridan
