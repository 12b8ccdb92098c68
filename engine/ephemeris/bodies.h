#pragma once
// Body numbers, shared by the whole system: they index the natal chart and
// the day's positions, and they are the body codes of the interpretation
// files. 2 (the Moon) is reserved: never computed, skipped by every loop.

#include <array>

namespace meridan {

enum Body : int {
  kSun = 1,
  kMoon = 2,
  kMercury = 3,
  kVenus = 4,
  kMars = 5,
  kJupiter = 6,
  kSaturn = 7,
  kUranus = 8,
  kNeptune = 9,
  kPluto = 10,
};

inline constexpr int kBodySlots = 11;  // indexes 1..10 used, 0 unused

// The bodies the program computes, in calling order.
inline constexpr std::array<Body, 9> kComputedBodies = {
    kSun, kMercury, kVenus, kMars, kJupiter, kSaturn, kUranus, kNeptune, kPluto};

// English name of a body number ("Sun", ..., "Pluto"); "?" for others.
const char* BodyName(int body);

}  // namespace meridan
