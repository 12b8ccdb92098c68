#pragma once
// The five aspects: conjunction 0, sextile 60, square 90, trine 120 and
// opposition 180 degrees, one orb of 2 degrees for all.

namespace meridan {

inline constexpr int kNoAspect = 255;
inline constexpr double kAspectOrb = 2.0;
inline constexpr int kAspectAngles[] = {0, 60, 90, 120, 180};

// The aspect code (the angle) of two longitudes within the orb, bounds
// inclusive, or kNoAspect. Symmetric in its two longitudes.
int ClassifyAspect(double first, double second, double orb);

}  // namespace meridan
