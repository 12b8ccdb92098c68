#include <gtest/gtest.h>

#include <cmath>

#include "engine/ephemeris/Com_Sat_tra.h"
#include "engine/ephemeris/Com_Ura_tra.h"
#include "engine/ephemeris/Com_jup_tra.h"
#include "engine/ephemeris/Com_nep_tra.h"
#include "engine/ephemeris/positions.h"
#include "tests/ephemeris/angle_testing.h"

namespace meridan {
namespace {

using testing::DegreesApart;

// Heliocentric references are printed to 4 decimals of a degree and 5
// decimals of an AU, geocentric longitudes to 3 decimals; each tolerance is
// half a unit of the last printed digit.
constexpr double kHelioAngleTolerance = 0.00005;  // degrees
constexpr double kRadiusTolerance = 0.000005;     // AU
constexpr double kLongitudeTolerance = 0.0005;    // degrees

struct HelioCase {
  const char* name;
  SeriesFunction series;
  double julianDay;
  double lambda, beta, r;  // degrees, degrees, AU
};

// Heliocentric results of the series, mean equinox of date, at noon of
// 1984 May 20 (30821.0) and 2000 January 1 (36525.0).
const HelioCase kHelioCases[] = {
    {"Jupiter 1984-05-20 noon", JupiterSeries, 30821.0, 274.7755, 0.1255, 5.23702},
    {"Jupiter 2000-01-01 noon", JupiterSeries, 36525.0, 36.2946, -1.1731, 4.96558},
    {"Saturn 1984-05-20 noon", SaturnSeries, 30821.0, 223.6143, 2.3382, 9.86441},
    {"Saturn 2000-01-01 noon", SaturnSeries, 36525.0, 45.7418, -2.3066, 9.18311},
    {"Uranus 1984-05-20 noon", UranusSeries, 30821.0, 251.4154, 0.0337, 19.00647},
    {"Uranus 2000-01-01 noon", UranusSeries, 36525.0, 316.4186, -0.6849, 19.92214},
    {"Neptune 1984-05-20 noon", NeptuneSeries, 30821.0, 269.8677, 1.1793, 30.26043},
    {"Neptune 2000-01-01 noon", NeptuneSeries, 36525.0, 303.9332, 0.2418, 30.11748},
};

TEST(OuterPlanetSeries, HeliocentricReferenceValues) {
  for (const HelioCase& c : kHelioCases) {
    const SeriesResult p = c.series(JulianCenturies(c.julianDay));
    EXPECT_NEAR(DegreesApart(p.lambda / kRadiansPerDegree, c.lambda), 0.0, kHelioAngleTolerance)
        << c.name;
    EXPECT_NEAR(p.beta / kRadiansPerDegree, c.beta, kHelioAngleTolerance) << c.name;
    EXPECT_NEAR(p.r, c.r, kRadiusTolerance) << c.name;
  }
}

// The rectangular coordinates are the same point as lambda, beta, r, and the
// longitude handed out is the reduced one.
TEST(OuterPlanetSeries, RectangularVectorMatchesPolarResult) {
  for (const HelioCase& c : kHelioCases) {
    const SeriesResult p = c.series(JulianCenturies(c.julianDay));
    const double length = std::sqrt(p.xyz.x * p.xyz.x + p.xyz.y * p.xyz.y + p.xyz.z * p.xyz.z);
    EXPECT_NEAR(length, p.r, 1e-12) << c.name;
    EXPECT_GE(p.lambda, 0.0) << c.name;
    EXPECT_LT(p.lambda, kTwoPi) << c.name;
  }
}

// Julian day 0 is T = 0, but Jupiter's and Saturn's series run on years
// since 1850 (t = 49.998...), and all four must still stand where the planets
// stood on 1900 January 0.5. Reference: JPL's approximate Keplerian elements
// (Standish, table for 1800-2050, J2000 ecliptic), solved for JD 2415020.0
// and carried to the equinox of date by -5028.796" a century of precession.
// Those elements are good to a few tenths of a degree here; a wrong epoch
// would put Jupiter tens of degrees away.
constexpr double kApproximateElementsTolerance = 0.3;  // degrees
constexpr double kApproximateRadiusTolerance = 0.03;   // AU

TEST(OuterPlanetSeries, JulianDayZeroIsFiftyYearsAfterTheSeriesEpoch) {
  const struct {
    const char* name;
    SeriesFunction series;
    double lambda, r;  // degrees, AU
  } kAt1900[] = {
      {"Jupiter 1900-01-00.5", JupiterSeries, 234.485, 5.387},
      {"Saturn 1900-01-00.5", SaturnSeries, 266.650, 10.054},
      {"Uranus 1900-01-00.5", UranusSeries, 248.653, 18.985},
      {"Neptune 1900-01-00.5", NeptuneSeries, 85.686, 29.877},
  };
  for (const auto& c : kAt1900) {
    const SeriesResult p = c.series(JulianCenturies(0.0));
    EXPECT_NEAR(DegreesApart(p.lambda / kRadiansPerDegree, c.lambda), 0.0,
                kApproximateElementsTolerance)
        << c.name;
    EXPECT_NEAR(p.r, c.r, kApproximateRadiusTolerance) << c.name;
  }
}

struct GeoCase {
  const char* name;
  Body body;
  double julianDay;
  double longitude;  // degrees, rounded to 0.001
};

// Geocentric longitudes the position service reports at noon.
const GeoCase kGeoCases[] = {
    {"Jupiter 1984-05-20 noon", kJupiter, 30821.0, 282.299},
    {"Jupiter 2000-01-01 noon", kJupiter, 36525.0, 25.258},
    {"Saturn 1984-05-20 noon", kSaturn, 30821.0, 221.811},
    {"Saturn 2000-01-01 noon", kSaturn, 36525.0, 40.418},
    {"Uranus 1984-05-20 noon", kUranus, 30821.0, 252.072},
    {"Uranus 2000-01-01 noon", kUranus, 36525.0, 314.819},
    {"Neptune 1984-05-20 noon", kNeptune, 30821.0, 270.861},
    {"Neptune 2000-01-01 noon", kNeptune, 36525.0, 303.207},
};

// Through the body numbers 6 to 9, as the natal chart and the scan ask.
TEST(OuterPlanetPosition, GeocentricLongitudes) {
  for (const GeoCase& c : kGeoCases) {
    SunVector sun{};
    const double longitude = BodyLongitude(c.body, c.julianDay, {}, sun);
    EXPECT_NEAR(DegreesApart(longitude, c.longitude), 0.0, kLongitudeTolerance) << c.name;
    EXPECT_GE(longitude, 0.0) << c.name;
    EXPECT_LT(longitude, 360.0) << c.name;
  }
}

// The routines themselves give what the body numbers route to.
TEST(OuterPlanetPosition, RoutinesMatchBodyNumbers) {
  using Routine = void (*)(double, double&, SunVector&);
  const struct {
    Body body;
    Routine routine;
  } kRoutines[] = {{kJupiter, JupiterPosition},
                   {kSaturn, SaturnPosition},
                   {kUranus, UranusPosition},
                   {kNeptune, NeptunePosition}};
  for (const auto& k : kRoutines) {
    SunVector sun{};
    double longitude = -1.0;
    k.routine(30821.0, longitude, sun);
    EXPECT_EQ(longitude, BodyLongitude(k.body, 30821.0, {}, sun)) << BodyName(k.body);
  }
}

// Neptune's angle from (y, x): the arctangent of |y / x| placed by the
// signs. y = 0 counts as "not above", so the positive x axis is 360, and the
// negative one 180.
constexpr double kQuadrantTolerance = 1e-9;  // degrees; R is 3.14159265359 / 180

TEST(NeptuneQuadrantAngle, PlacesTheAngleBySigns) {
  const struct {
    double y, x, degrees;
  } kCases[] = {
      {1, 1, 45},   {1, -1, 135},  {-1, -1, 225}, {-1, 1, 315},  // the four quadrants
      {1, 0, 90},   {-1, 0, 270},                                // on the y axis
      {0, 1, 360},  {0, -1, 180},                                // on the x axis
      {-0.0, 1, 360},
  };
  for (const auto& c : kCases) {
    EXPECT_NEAR(NeptuneQuadrantAngle(c.y, c.x), c.degrees, kQuadrantTolerance)
        << "y=" << c.y << " x=" << c.x;
  }
}

}  // namespace
}  // namespace meridan
