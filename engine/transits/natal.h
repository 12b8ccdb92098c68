#pragma once
// The natal chart: longitudes of the Sun and the planets at noon of the birth
// date. No birth time, no place, no Moon.

#include <filesystem>

#include "engine/ephemeris/positions.h"

namespace meridan {

// The bodies of the chart, in the order they are computed and scanned.
inline constexpr int kNatalBodies[] = {kSun,     kMercury, kVenus,   kMars,   kJupiter,
                                       kSaturn,  kUranus,  kNeptune, kPluto};

// Ten longitudes indexed by body number 1..10; entry 2 (the Moon) stays 0.
using NatalChart = Longitudes;

// The birth date is taken as entered: 31 February runs on into March.
NatalChart ComputeNatalChart(int birthDay, int birthMonth, int birthYear,
                             const std::filesystem::path& dataDir);

}  // namespace meridan
