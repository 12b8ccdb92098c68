#pragma once
// The five aspects: conjunction 0, sextile 60, square 90, trine 120 and
// opposition 180 degrees, one orb of 2 degrees for all.

#include <compare>
#include <optional>

namespace meridan {

inline constexpr double kAspectOrb = 2.0;
inline constexpr int kAspectAngles[] = {0, 60, 90, 120, 180};

// One aspect of a moving body to a natal body: what a hit of the scan is,
// what an interpretation record's header names, what an influence holds.
// Ordered by transit body, then aspect, then natal body.
struct AspectKey {
  int transitBody = 0;
  int aspect = 0;  // the aspect's angle in degrees
  int natalBody = 0;
  friend auto operator<=>(const AspectKey&, const AspectKey&) = default;
};

// The aspect (its angle) of two longitudes within the orb, bounds
// inclusive; none when they are in no aspect. Symmetric in its two
// longitudes.
std::optional<int> ClassifyAspect(double first, double second, double orb);

}  // namespace meridan
