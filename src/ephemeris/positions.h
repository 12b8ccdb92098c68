#pragma once
// The position service: where, in geocentric ecliptic longitude (degrees,
// mean equinox of date), a body stands at a Julian day.

#include <array>
#include <span>

#include "ephemeris/bodies.h"
#include "ephemeris/pluto.h"

namespace meridan {

// One body's longitude through its position routine (the Sun's, a planet's
// or Pluto's). The table is needed for Pluto only; without it Pluto throws.
double BodyLongitude(int body, double julianDay, const PlutoTable* pluto, SunVector& sun);

// Longitudes of a day indexed by body number; slots 0 and 2 stay 0.
using Longitudes = std::array<double, kBodySlots>;

// The longitudes of several bodies at one Julian day into their slots. Every
// planet routine evaluates the Sun series again for its own day; here it is
// evaluated once for all, which gives the same bits at an eighth of the cost.
void ComputeLongitudes(double julianDay, std::span<const Body> bodies, const PlutoTable* pluto,
                       Longitudes& out);

}  // namespace meridan
