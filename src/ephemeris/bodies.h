#pragma once
// The body table: body numbers, names and theories, read by the natal chart,
// the scan and the command line alike. Body numbers index the natal chart
// and the day's positions, and they are the body codes of the interpretation
// files. 2 (the Moon) is reserved: never computed, skipped by every loop.

#include <array>

#include "ephemeris/jupiter.h"
#include "ephemeris/mars.h"
#include "ephemeris/mercury.h"
#include "ephemeris/neptune.h"
#include "ephemeris/planet.h"
#include "ephemeris/saturn.h"
#include "ephemeris/uranus.h"
#include "ephemeris/venus.h"

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

struct BodyInfo {
  Body body;
  const char* name;       // English, as the command line prints it
  SeriesFunction series;  // a planet's heliocentric series; null for the Sun and Pluto
};

// The bodies the program computes, in calling order.
inline constexpr BodyInfo kBodies[] = {
    {kSun, "Sun", nullptr},
    {kMercury, "Mercury", MercurySeries},
    {kVenus, "Venus", VenusSeries},
    {kMars, "Mars", MarsSeries},
    {kJupiter, "Jupiter", JupiterSeries},
    {kSaturn, "Saturn", SaturnSeries},
    {kUranus, "Uranus", UranusSeries},
    {kNeptune, "Neptune", NeptuneSeries},
    {kPluto, "Pluto", nullptr},
};

// The body numbers of the table, in its order.
inline constexpr std::array<Body, std::size(kBodies)> kComputedBodies = [] {
  std::array<Body, std::size(kBodies)> bodies{};
  for (size_t i = 0; i < bodies.size(); ++i) bodies[i] = kBodies[i].body;
  return bodies;
}();

// The table's row for a body number, or null (the Moon, anything else).
const BodyInfo* FindBody(int body);

// English name of a body number ("Sun", ..., "Pluto"); "?" for others.
const char* BodyName(int body);

}  // namespace meridan
