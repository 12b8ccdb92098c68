#include <gtest/gtest.h>

#include "engine/ephemeris/Com_sol_tra.h"
#include "engine/ephemeris/positions.h"
#include "tests/ephemeris/angle_testing.h"

namespace meridan {
namespace {

using testing::DegreesApart;

// Reference values are printed to 5 decimals (series) and 3 decimals (the
// service longitudes); each tolerance is half a unit of the last digit.
constexpr double kFiveDecimals = 0.000005;
constexpr double kThreeDecimals = 0.0005;

// 1984 May 20, 12:00 (Julian day 30821.0): lambda 1.04111 rad (59.651 deg),
// R 1.01211 AU, X 0.51138, Y 0.80133, Z 0.34745 AU, mean equator of date.
TEST(SunSeries, May1984) {
  const SeriesResult sun = SunSeries(JulianCenturies(30821.0));
  EXPECT_NEAR(sun.lambda, 1.04111, kFiveDecimals);
  EXPECT_NEAR(sun.r, 1.01211, kFiveDecimals);
  EXPECT_NEAR(sun.xyz.x, 0.51138, kFiveDecimals);
  EXPECT_NEAR(sun.xyz.y, 0.80133, kFiveDecimals);
  EXPECT_NEAR(sun.xyz.z, 0.34745, kFiveDecimals);
}

TEST(SunSeries, LatitudeIsExactlyZero) {
  for (double julianDay : {0.0, 30821.0, 36525.0, 45000.5}) {
    EXPECT_EQ(SunSeries(JulianCenturies(julianDay)).beta, 0.0) << julianDay;
  }
}

struct SunCase {
  const char* name;
  double julianDay;
  double longitude;  // degrees, rounded to 0.001
};

// Geocentric longitudes the position service reports at noon.
constexpr SunCase kSunCases[] = {
    {"1984-05-20 noon", 30821.0, 59.651},
    {"2000-01-01 noon", 36525.0, 280.377},
};

TEST(SunPosition, PublishedLongitudes) {
  for (const SunCase& c : kSunCases) {
    SunVector sun{9.0, 9.0, 9.0};
    double longitude = -1.0;
    SunPosition(c.julianDay, longitude, sun);
    EXPECT_NEAR(DegreesApart(longitude, c.longitude), 0.0, kThreeDecimals) << c.name;
    EXPECT_GE(longitude, 0.0) << c.name;
    EXPECT_LT(longitude, 360.0) << c.name;
  }
}

// The routine leaves the Sun vector holding the series' X, Y, Z for the
// planets that follow.
TEST(SunPosition, StoresTheSunVector) {
  SunVector sun{};
  double longitude = 0.0;
  SunPosition(30821.0, longitude, sun);
  const Rectangular expected = SunSeries(JulianCenturies(30821.0)).xyz;
  EXPECT_EQ(sun.x, expected.x);
  EXPECT_EQ(sun.y, expected.y);
  EXPECT_EQ(sun.z, expected.z);
}

}  // namespace
}  // namespace meridan
