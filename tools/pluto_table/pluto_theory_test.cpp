#include "tools/pluto_table/pluto_theory.h"

#include <gtest/gtest.h>

#include <cmath>

#include "ephemeris/angles.h"
#include "ephemeris/calendar.h"

namespace meridan::pluto_table {
namespace {

// Difference of two longitudes in degrees, across the 0/360 seam.
double AngleDiff(double a, double b) { return std::remainder(a - b, 360.0); }

// 1992 October 13.0 TD, the date of Meeus's examples 37.a and 25.b.
constexpr double kExampleJde = 2448908.5;

TEST(PlutoTheory, HeliocentricMatchesMeeusExample37a) {
  // Meeus, Astronomical Algorithms (2nd ed.), example 37.a, p. 266: the
  // result of the series with table 37.A.
  const Ecliptic p = PlutoHeliocentricJ2000(kExampleJde);
  constexpr double kDegreeTolerance = 0.000005;  // printed to 0.00001 degree
  constexpr double kAuTolerance = 0.0000005;     // printed to 0.000001 AU
  EXPECT_NEAR(p.lon, 232.74071, kDegreeTolerance);
  EXPECT_NEAR(p.lat, 14.58782, kDegreeTolerance);
  EXPECT_NEAR(p.r, 29.711111, kAuTolerance);
}

TEST(PlutoTheory, EclipticPrecessionMatchesMeeusExample21c) {
  // Meeus example 21.c: Venus at J2000.0 lambda 149.48194, beta 1.76549,
  // carried to -214 June 30.0 (JDE 1643074.5): 118.704, +1.615.
  const Ecliptic to = PrecessFromJ2000({149.48194, 1.76549, 0.723}, 1643074.5);
  constexpr double kPrinted = 0.0005;
  EXPECT_NEAR(to.lon, 118.704, kPrinted);
  EXPECT_NEAR(to.lat, 1.615, kPrinted);
  EXPECT_EQ(to.r, 0.723);
}

TEST(PlutoTheory, EarthIsOppositeTheSun) {
  // Meeus example 25.b gives the Sun's geometric longitude 199.907372 (mean
  // equinox of date, FK5) and R = 0.99760775 AU. Our Sun series is a
  // lower-order theory; a hundredth of a degree is far inside the table's
  // half degree.
  const Ecliptic earth = EarthHeliocentric(kExampleJde - kJulianDayOffset);
  constexpr double kSunSeriesDegrees = 0.01;
  constexpr double kSunSeriesAu = 0.0001;
  EXPECT_NEAR(AngleDiff(earth.lon, 199.907372 + 180.0), 0.0, kSunSeriesDegrees);
  EXPECT_NEAR(earth.lat, 0.0, 1e-9);  // turned from the equator onto the ecliptic
  EXPECT_NEAR(earth.r, 0.99760775, kSunSeriesAu);
}

// Dates on which published ephemerides put Pluto across a sign boundary
// (geocentric apparent longitude of date; the day, not the hour). Pluto moves
// at most 0.04 degree a day, and aberration and nutation shift it by at most
// 0.01 degree, so at noon of that day our geometric longitude is within
// 0.05 degree of the boundary.
struct Crossing {
  const char* name;
  int day, month, year;
  double boundary;
};

constexpr Crossing kCrossings[] = {
    {"1984-05-18 back into Libra", 18, 5, 1984, 210.0},
    {"1995-01-17 into Sagittarius", 17, 1, 1995, 240.0},
    {"2008-01-26 into Capricorn", 26, 1, 2008, 270.0},
    {"2023-03-23 into Aquarius", 23, 3, 2023, 300.0},
    {"2024-11-19 into Aquarius for good", 19, 11, 2024, 300.0},
};

TEST(PlutoTheory, GeocentricLongitudeCrossesSignsOnPublishedDates) {
  constexpr double kCrossingTolerance = 0.05;
  for (const Crossing& c : kCrossings) {
    SCOPED_TRACE(c.name);
    const double lon = PlutoGeocentricLongitude(NoonJulianDay(c.day, c.month, c.year));
    EXPECT_NEAR(AngleDiff(lon, c.boundary), 0.0, kCrossingTolerance);
  }
}

TEST(PlutoTheory, TableDegreeRoundsToNearestAndWrapsAt360) {
  struct Case {
    double longitude;
    int degree;
  };
  constexpr Case kCases[] = {
      {0.49, 0}, {0.5, 1}, {209.96, 210}, {359.49, 359}, {359.5, 0}, {359.99, 0},
  };
  for (const Case& c : kCases) EXPECT_EQ(TableDegree(c.longitude), c.degree) << c.longitude;
}

}  // namespace
}  // namespace meridan::pluto_table
