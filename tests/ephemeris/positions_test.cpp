#include "ephemeris/positions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "ephemeris/jupiter.h"
#include "ephemeris/mars.h"
#include "ephemeris/mercury.h"
#include "ephemeris/neptune.h"
#include "ephemeris/saturn.h"
#include "ephemeris/sun.h"
#include "ephemeris/uranus.h"
#include "ephemeris/venus.h"

namespace meridan {
namespace {

// a - b in degrees, brought into [-180, 180]: longitudes near 0 and 360 are
// the same direction.
double DegreesApart(double a, double b) { return std::remainder(a - b, 360.0); }

// Reference values are printed to 5 decimals (the Sun's series, radians and
// AU), 4 decimals of a degree and 5 of an AU (planet series) and 3 decimals
// (the service's longitudes); each tolerance is half a unit of the last digit.
constexpr double kFiveDecimals = 0.000005;
constexpr double kHelioAngleTolerance = 0.00005;  // degrees
constexpr double kLongitudeTolerance = 0.0005;    // degrees

// 1984 May 20, 12:00 (Julian day 30821.0): lambda 1.04111 rad (59.651 deg),
// beta 0, R 1.01211 AU, X 0.51138, Y 0.80133, Z 0.34745 AU, mean equator of date.
TEST(SunSeries, May1984) {
  const SeriesResult sun = SunSeries(JulianCenturies(30821.0));
  EXPECT_NEAR(sun.lambda, 1.04111, kFiveDecimals);
  EXPECT_EQ(sun.beta, 0.0);
  EXPECT_NEAR(sun.r, 1.01211, kFiveDecimals);
  EXPECT_NEAR(sun.xyz.x, 0.51138, kFiveDecimals);
  EXPECT_NEAR(sun.xyz.y, 0.80133, kFiveDecimals);
  EXPECT_NEAR(sun.xyz.z, 0.34745, kFiveDecimals);
}

// Heliocentric results of the series, mean equinox of date, at noon of
// 1984 May 20 (30821.0) and 2000 January 1 (36525.0).
TEST(PlanetSeries, HeliocentricReferenceValues) {
  const struct {
    const char* name;
    SeriesFunction series;
    double julianDay;
    double lambda, beta, r;  // degrees, degrees, AU
  } kCases[] = {
      {"Mercury 1984-05-20 noon", MercurySeries, 30821.0, 293.3136, -6.3606, 0.44442},
      {"Mercury 2000-01-01 noon", MercurySeries, 36525.0, 253.7813, -3.0216, 0.46647},
      {"Venus 1984-05-20 noon", VenusSeries, 30821.0, 42.4811, -1.9031, 0.72322},
      {"Venus 2000-01-01 noon", VenusSeries, 36525.0, 182.6029, 3.2657, 0.72021},
      {"Mars 1984-05-20 noon", MarsSeries, 30821.0, 235.5062, -0.1956, 1.53595},
      {"Mars 2000-01-01 noon", MarsSeries, 36525.0, 359.4517, -1.4188, 1.39123},
      {"Jupiter 1984-05-20 noon", JupiterSeries, 30821.0, 274.7755, 0.1255, 5.23702},
      {"Jupiter 2000-01-01 noon", JupiterSeries, 36525.0, 36.2946, -1.1731, 4.96558},
      {"Saturn 1984-05-20 noon", SaturnSeries, 30821.0, 223.6143, 2.3382, 9.86441},
      {"Saturn 2000-01-01 noon", SaturnSeries, 36525.0, 45.7418, -2.3066, 9.18311},
      {"Uranus 1984-05-20 noon", UranusSeries, 30821.0, 251.4154, 0.0337, 19.00647},
      {"Uranus 2000-01-01 noon", UranusSeries, 36525.0, 316.4186, -0.6849, 19.92214},
      {"Neptune 1984-05-20 noon", NeptuneSeries, 30821.0, 269.8677, 1.1793, 30.26043},
      {"Neptune 2000-01-01 noon", NeptuneSeries, 36525.0, 303.9332, 0.2418, 30.11748},
  };
  for (const auto& c : kCases) {
    const SeriesResult p = c.series(JulianCenturies(c.julianDay));
    EXPECT_NEAR(DegreesApart(p.lambda / kRadiansPerDegree, c.lambda), 0.0, kHelioAngleTolerance)
        << c.name;
    EXPECT_NEAR(p.beta / kRadiansPerDegree, c.beta, kHelioAngleTolerance) << c.name;
    EXPECT_NEAR(p.r, c.r, kFiveDecimals) << c.name;
    // The longitude handed out is reduced, and X, Y, Z are the same point.
    EXPECT_TRUE(p.lambda >= 0 && p.lambda < kTwoPi) << c.name << ": " << p.lambda;
    EXPECT_NEAR(std::hypot(p.xyz.x, p.xyz.y, p.xyz.z), p.r, 1e-12) << c.name;
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

TEST(PlanetSeries, JulianDayZeroIsFiftyYearsAfterTheOuterSeriesEpoch) {
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

// Geocentric longitudes the position service reports at noon, through the
// body numbers as the natal chart and the scan ask. Each routine computes the
// Sun of its day first, so the zeros Pluto leaves in the Sun vector do not
// leak into the result, and leaves that Sun in the vector.
TEST(BodyLongitude, GeocentricReferenceValues) {
  const struct {
    const char* name;
    Body body;
    double julianDay;
    double longitude;  // degrees, rounded to 0.001
  } kCases[] = {
      {"Sun 1984-05-20 noon", kSun, 30821.0, 59.651},
      {"Sun 2000-01-01 noon", kSun, 36525.0, 280.377},
      {"Mercury 1984-05-20 noon", kMercury, 30821.0, 34.283},
      {"Mercury 2000-01-01 noon", kMercury, 36525.0, 271.904},
      {"Venus 1984-05-20 noon", kVenus, 30821.0, 52.508},
      {"Venus 2000-01-01 noon", kVenus, 36525.0, 241.576},
      {"Mars 1984-05-20 noon", kMars, 30821.0, 227.595},
      {"Mars 2000-01-01 noon", kMars, 36525.0, 327.978},
      {"Jupiter 1984-05-20 noon", kJupiter, 30821.0, 282.299},
      {"Jupiter 2000-01-01 noon", kJupiter, 36525.0, 25.258},
      {"Saturn 1984-05-20 noon", kSaturn, 30821.0, 221.811},
      {"Saturn 2000-01-01 noon", kSaturn, 36525.0, 40.418},
      {"Uranus 1984-05-20 noon", kUranus, 30821.0, 252.072},
      {"Uranus 2000-01-01 noon", kUranus, 36525.0, 314.819},
      {"Neptune 1984-05-20 noon", kNeptune, 30821.0, 270.861},
      {"Neptune 2000-01-01 noon", kNeptune, 36525.0, 303.207},
  };
  for (const auto& c : kCases) {
    SunVector sun{};
    const double longitude = BodyLongitude(c.body, c.julianDay, {}, sun);
    EXPECT_NEAR(DegreesApart(longitude, c.longitude), 0.0, kLongitudeTolerance) << c.name;
    EXPECT_TRUE(longitude >= 0.0 && longitude < 360.0) << c.name << ": " << longitude;
    const Rectangular sunOfDate = SunSeries(JulianCenturies(c.julianDay)).xyz;
    EXPECT_TRUE(sun.x == sunOfDate.x && sun.y == sunOfDate.y && sun.z == sunOfDate.z) << c.name;
  }
}

// Neptune's angle from (y, x): the arctangent of |y / x| placed by the
// signs. y = 0 counts as "not above", so the positive x axis is 360, and the
// negative one 180.
constexpr double kQuadrantTolerance = 1e-9;  // degrees; R is 3.14159265359 / 180

// The conversion places the longitude by the sign of cos(atan(y / x) + pi)
// (or without pi for x >= 0), as the published rule writes it; the program
// decides that sign without the two calls except for quotients beyond -1e15.
// The rule, literally, against the program on the vectors where the two
// could part: signed zeros, infinities, NaN and quotients around -1e15 and
// beyond 2^53.
TEST(EquatorialToEclipticLongitude, QuadrantAsThePublishedRuleGivesIt) {
  const auto published = [](const Rectangular& v) {
    double a = std::atan(v.y / v.x);
    if (v.x < 0) a = a + kPi;
    double lambda = std::atan((0.917408 * v.y + 0.397949 * v.z) / v.x);
    if (std::cos(a) < 0) lambda = lambda + kPi;
    lambda = lambda / kRadiansPerDegree;
    return lambda < 0 ? lambda + 360 : lambda;
  };
  const double values[] = {0.0,    -0.0,   1e-300,  -1.0,  1.0,    3e-16,    -3e-16,    1e15, -1e15,
                           1.1e15, 9.1e15, -9.1e15, 1e300, -1e300, INFINITY, -INFINITY, NAN};
  for (const double x : values)
    for (const double y : values) {
      const Rectangular v{x, y, 0.25};
      const double expected = published(v), actual = EquatorialToEclipticLongitude(v);
      EXPECT_TRUE(std::memcmp(&expected, &actual, sizeof expected) == 0 ||
                  (std::isnan(expected) && std::isnan(actual)))
          << "x " << x << " y " << y << ": " << expected << " " << actual;
    }
}

TEST(NeptuneQuadrantAngle, PlacesTheAngleBySigns) {
  const struct {
    double y, x, degrees;
  } kCases[] = {
      {1, 1, 45},  {1, -1, 135}, {-1, -1, 225},  {-1, 1, 315},  // the four quadrants
      {1, 0, 90},  {-1, 0, 270},                                // on the y axis
      {0, 1, 360}, {0, -1, 180}, {-0.0, 1, 360},                // on the x axis
  };
  for (const auto& c : kCases)
    EXPECT_NEAR(NeptuneQuadrantAngle(c.y, c.x), c.degrees, kQuadrantTolerance)
        << "y=" << c.y << " x=" << c.x;
}

}  // namespace
}  // namespace meridan
