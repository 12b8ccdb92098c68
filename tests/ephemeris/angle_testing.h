#pragma once
// Angle comparison for ephemeris tests: longitudes near 0 and 360 degrees are
// the same direction, so compare the signed difference across the wrap.

#include <cmath>

namespace meridan::testing {

// a - b in degrees, brought into [-180, 180].
inline double DegreesApart(double a, double b) { return std::remainder(a - b, 360.0); }

}  // namespace meridan::testing
