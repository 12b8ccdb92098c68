#pragma once
// The position service: where, in geocentric ecliptic longitude (degrees,
// mean equinox of date), a body stands at a Julian day.

#include <array>
#include <filesystem>
#include <span>

#include "engine/ephemeris/Com_sol_tra.h"
#include "engine/ephemeris/bodies.h"

namespace meridan {

// Equatorial rectangular coordinates to ecliptic longitude in degrees with a
// fixed obliquity of 23.45 degrees. The series rotate with the obliquity of
// date; the small mismatch is part of the published longitudes.
double EquatorialToEclipticLongitude(const Rectangular& v);

// The shape every planet routine shares: refresh the Sun vector, add it to
// the planet's heliocentric coordinates, convert, normalise.
using SeriesFunction = SeriesResult (*)(double T);
void PlanetPosition(double julianDay, SeriesFunction series, double& longitude, SunVector& sun);

// One body's longitude through its routine. dataDir is needed by Pluto only.
double BodyLongitude(int body, double julianDay, const std::filesystem::path& dataDir,
                     SunVector& sun);

// Longitudes of a day indexed by body number; slot 0 and 2 stay 0.
using Longitudes = std::array<double, kBodySlots>;

// The longitudes of several bodies at one Julian day into their slots. Every
// planet routine evaluates the Sun series again for its own day; here it is
// evaluated once for all, which gives the same bits at an eighth of the cost.
void ComputeLongitudes(double julianDay, std::span<const int> bodies,
                       const std::filesystem::path& dataDir, Longitudes& out);

}  // namespace meridan
