#include <gtest/gtest.h>

#include <cmath>

#include "engine/ephemeris/Com_mar_tra.h"
#include "engine/ephemeris/Com_mer_tra.h"
#include "engine/ephemeris/Com_ven_tra.h"
#include "engine/ephemeris/positions.h"
#include "tests/ephemeris/angle_testing.h"

namespace meridan {
namespace {

using testing::DegreesApart;

// Heliocentric references are printed to 4 decimals of a degree and 5
// decimals of an AU, geocentric longitudes to 3 decimals; each tolerance is
// half a unit of the last printed digit.
constexpr double kHelioAngleTolerance = 0.00005;   // degrees
constexpr double kRadiusTolerance = 0.000005;      // AU
constexpr double kLongitudeTolerance = 0.0005;     // degrees

using PositionRoutine = void (*)(double, double&, SunVector&);

struct HelioCase {
  const char* name;
  SeriesFunction series;
  double julianDay;
  double lambda, beta, r;  // degrees, degrees, AU
};

// Heliocentric results of the series, mean equinox of date, at noon of
// 1984 May 20 (30821.0) and 2000 January 1 (36525.0).
const HelioCase kHelioCases[] = {
    {"Mercury 1984-05-20 noon", MercurySeries, 30821.0, 293.3136, -6.3606, 0.44442},
    {"Mercury 2000-01-01 noon", MercurySeries, 36525.0, 253.7813, -3.0216, 0.46647},
    {"Venus 1984-05-20 noon", VenusSeries, 30821.0, 42.4811, -1.9031, 0.72322},
    {"Venus 2000-01-01 noon", VenusSeries, 36525.0, 182.6029, 3.2657, 0.72021},
    {"Mars 1984-05-20 noon", MarsSeries, 30821.0, 235.5062, -0.1956, 1.53595},
    {"Mars 2000-01-01 noon", MarsSeries, 36525.0, 359.4517, -1.4188, 1.39123},
};

TEST(InnerPlanetSeries, HeliocentricReferenceValues) {
  for (const HelioCase& c : kHelioCases) {
    const SeriesResult p = c.series(JulianCenturies(c.julianDay));
    EXPECT_NEAR(DegreesApart(p.lambda / kRadiansPerDegree, c.lambda), 0.0, kHelioAngleTolerance)
        << c.name;
    EXPECT_NEAR(p.beta / kRadiansPerDegree, c.beta, kHelioAngleTolerance) << c.name;
    EXPECT_NEAR(p.r, c.r, kRadiusTolerance) << c.name;
  }
}

// The rectangular coordinates are the same point as lambda, beta, r.
TEST(InnerPlanetSeries, RectangularVectorHasLengthR) {
  for (const HelioCase& c : kHelioCases) {
    const SeriesResult p = c.series(JulianCenturies(c.julianDay));
    const double length = std::sqrt(p.xyz.x * p.xyz.x + p.xyz.y * p.xyz.y + p.xyz.z * p.xyz.z);
    EXPECT_NEAR(length, p.r, 1e-12) << c.name;
  }
}

struct GeoCase {
  const char* name;
  PositionRoutine position;
  double julianDay;
  double longitude;  // degrees, rounded to 0.001
};

// Geocentric longitudes the position service reports at noon.
const GeoCase kGeoCases[] = {
    {"Mercury 1984-05-20 noon", MercuryPosition, 30821.0, 34.283},
    {"Mercury 2000-01-01 noon", MercuryPosition, 36525.0, 271.904},
    {"Venus 1984-05-20 noon", VenusPosition, 30821.0, 52.508},
    {"Venus 2000-01-01 noon", VenusPosition, 36525.0, 241.576},
    {"Mars 1984-05-20 noon", MarsPosition, 30821.0, 227.595},
    {"Mars 2000-01-01 noon", MarsPosition, 36525.0, 327.978},
};

TEST(InnerPlanetPosition, GeocentricLongitudes) {
  for (const GeoCase& c : kGeoCases) {
    SunVector sun{};
    double longitude = -1.0;
    c.position(c.julianDay, longitude, sun);
    EXPECT_NEAR(DegreesApart(longitude, c.longitude), 0.0, kLongitudeTolerance) << c.name;
    EXPECT_GE(longitude, 0.0) << c.name;
    EXPECT_LT(longitude, 360.0) << c.name;
  }
}

// Each routine recomputes the Sun first, so a stale vector (the zeros Pluto
// leaves, or another date's Sun) does not leak into the result, and the
// vector afterwards is this date's Sun.
TEST(InnerPlanetPosition, RecomputesTheSunVector) {
  const Rectangular sunOfDate = SunSeries(JulianCenturies(36525.0)).xyz;
  for (const GeoCase& c : kGeoCases) {
    if (c.julianDay != 36525.0) continue;
    for (SunVector stale : {SunVector{0.0, 0.0, 0.0}, SunSeries(JulianCenturies(30821.0)).xyz}) {
      double longitude = -1.0;
      c.position(c.julianDay, longitude, stale);
      EXPECT_NEAR(DegreesApart(longitude, c.longitude), 0.0, kLongitudeTolerance) << c.name;
      EXPECT_EQ(stale.x, sunOfDate.x) << c.name;
      EXPECT_EQ(stale.y, sunOfDate.y) << c.name;
      EXPECT_EQ(stale.z, sunOfDate.z) << c.name;
    }
  }
}

// The service routes body numbers 3, 4 and 5 to these routines.
TEST(BodyLongitude, InnerPlanetsByBodyNumber) {
  SunVector sun{};
  EXPECT_NEAR(BodyLongitude(kMercury, 30821.0, {}, sun), 34.283, kLongitudeTolerance);
  EXPECT_NEAR(BodyLongitude(kVenus, 30821.0, {}, sun), 52.508, kLongitudeTolerance);
  EXPECT_NEAR(BodyLongitude(kMars, 30821.0, {}, sun), 227.595, kLongitudeTolerance);
}

}  // namespace
}  // namespace meridan
