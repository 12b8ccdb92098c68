#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "engine/ephemeris/angles.h"
#include "engine/ephemeris/calendar.h"

namespace meridan {
namespace {

struct Date {
  int day, month, year;
};

Date DateOf(double julianDay, int& hour, int& minute, int& second) {
  Date d{};
  CalendarDate(julianDay, d.day, d.month, d.year, hour, minute, second);
  return d;
}

// Julian days count from 1900 January 0.5 (JD 2415020.0); noons are whole
// numbers and come out exactly.
TEST(JulianDay, NoonsOfKnownDates) {
  EXPECT_EQ(JulianDay(31, 12, 1899, 12, 0, 0), 0.0);      // JD 2415020.0, the epoch
  EXPECT_EQ(JulianDay(1, 1, 1900, 12, 0, 0), 1.0);        // JD 2415021.0
  EXPECT_EQ(JulianDay(20, 5, 1984, 12, 0, 0), 30821.0);   // JD 2445841.0
  EXPECT_EQ(JulianDay(1, 1, 2000, 12, 0, 0), 36525.0);    // JD 2451545.0, J2000.0
  EXPECT_EQ(NoonJulianDay(20, 5, 1984), 30821.0);
}

TEST(JulianDay, TimeOfDayIsAFractionOfTheDay) {
  EXPECT_EQ(JulianDay(20, 5, 1984, 0, 0, 0), 30820.5);
  EXPECT_EQ(JulianDay(20, 5, 1984, 18, 0, 0), 30821.25);
}

// 1582 October 4 (Julian) was followed by October 15 (Gregorian).
TEST(JulianDay, GregorianReformSkipsTenDays) {
  EXPECT_EQ(JulianDay(15, 10, 1582, 12, 0, 0) - JulianDay(4, 10, 1582, 12, 0, 0), 1.0);
  EXPECT_EQ(JulianDay(15, 10, 1582, 12, 0, 0) + kJulianDayOffset, 2299161.0);

  int hour, minute, second;
  const Date before = DateOf(JulianDay(4, 10, 1582, 12, 0, 0), hour, minute, second);
  EXPECT_EQ(before.day, 4);
  EXPECT_EQ(before.month, 10);
  EXPECT_EQ(before.year, 1582);
  const Date after = DateOf(JulianDay(15, 10, 1582, 12, 0, 0), hour, minute, second);
  EXPECT_EQ(after.day, 15);
  EXPECT_EQ(after.month, 10);
  EXPECT_EQ(after.year, 1582);
}

// Every noon from 1583 to 2200 goes to a Julian day one more than the noon
// before it and back to the same date at 12:00:00.
TEST(CalendarDate, RoundTripsEveryNoonFrom1583To2200) {
  double previous = JulianDay(31, 12, 1582, 12, 0, 0);
  int failures = 0;
  for (int year = 1583; year <= 2200 && failures < 5; ++year) {
    for (int month = 1; month <= 12; ++month) {
      for (int day = 1; day <= MonthLength(month, year); ++day) {
        const double jd = JulianDay(day, month, year, 12, 0, 0);
        int hour, minute, second;
        const Date back = DateOf(jd, hour, minute, second);
        const bool ok = jd == previous + 1 && back.day == day && back.month == month &&
                        back.year == year && hour == 12 && minute == 0 && second == 0;
        if (!ok) {
          ++failures;
          ADD_FAILURE() << day << "." << month << "." << year << " -> " << jd << " (previous "
                        << previous << ") -> " << back.day << "." << back.month << "."
                        << back.year << " " << hour << ":" << minute << ":" << second;
        }
        previous = jd;
      }
    }
  }
}

TEST(CalendarDate, QuarterDaysGiveTheHour) {
  int hour, minute, second;
  const Date evening = DateOf(30821.25, hour, minute, second);
  EXPECT_EQ(evening.day, 20);
  EXPECT_EQ(evening.month, 5);
  EXPECT_EQ(evening.year, 1984);
  EXPECT_EQ(hour, 18);
  EXPECT_EQ(minute, 0);
  EXPECT_EQ(second, 0);

  const Date morning = DateOf(30820.75, hour, minute, second);
  EXPECT_EQ(morning.day, 20);
  EXPECT_EQ(morning.month, 5);
  EXPECT_EQ(morning.year, 1984);
  EXPECT_EQ(hour, 6);
}

// Minutes and seconds are truncated: 10:30:59.9 is second 59, not 60 (which
// would also carry into minute 31).
TEST(CalendarDate, TruncatesFractionalSeconds) {
  const double jd = JulianDay(20, 5, 1984, 10, 30, 0) + 59.9 / 86400;
  int hour, minute, second;
  const Date d = DateOf(jd, hour, minute, second);
  EXPECT_EQ(d.day, 20);
  EXPECT_EQ(hour, 10);
  EXPECT_EQ(minute, 30);
  EXPECT_EQ(second, 59);
}

TEST(Calendar, LeapYearsFollowTheGregorianRule) {
  EXPECT_EQ(MonthLength(2, 2024), 29);
  EXPECT_EQ(MonthLength(2, 2000), 29);
  EXPECT_EQ(MonthLength(2, 1900), 28);
  EXPECT_EQ(MonthLength(2, 2100), 28);
  EXPECT_EQ(MonthLength(2, 2023), 28);
  EXPECT_TRUE(IsLeapYear(2024));
  EXPECT_TRUE(IsLeapYear(2000));
  EXPECT_FALSE(IsLeapYear(1900));
  EXPECT_FALSE(IsLeapYear(2100));
  EXPECT_FALSE(IsLeapYear(2023));
  // The months around February keep their lengths in a leap year.
  EXPECT_EQ(MonthLength(1, 2024), 31);
  EXPECT_EQ(MonthLength(4, 2024), 30);
  EXPECT_EQ(MonthLength(12, 2024), 31);
}

// The rounding error of dividing by 360 and multiplying back.
constexpr double kNormalizeTolerance = 1e-12;

TEST(Normalize360, WrapsIntoOneTurn) {
  EXPECT_EQ(Normalize360(360.0), 0.0);
  EXPECT_EQ(Normalize360(0.0), 0.0);
  EXPECT_EQ(Normalize360(810.0), 90.0);
  EXPECT_NEAR(Normalize360(-0.5), 359.5, kNormalizeTolerance);
  EXPECT_NEAR(Normalize360(-30.0), 330.0, kNormalizeTolerance);
  EXPECT_NEAR(Normalize360(-390.0), 330.0, kNormalizeTolerance);
  EXPECT_NEAR(Normalize360(359.25), 359.25, kNormalizeTolerance);
}

TEST(Reduce2Pi, RemovesWholeTurnsOfTheShortTwoPi) {
  EXPECT_EQ(Reduce2Pi(1.0), 1.0);
  EXPECT_NEAR(Reduce2Pi(3 * kTwoPi + 1.0), 1.0, 1e-12);
  // Truncation toward zero: a negative angle is not lifted into [0, 2pi).
  EXPECT_EQ(Reduce2Pi(-1.0), -1.0);
  EXPECT_NEAR(Reduce2Pi(-kTwoPi - 1.0), -1.0, 1e-12);
}

// Obliquity of date 23 deg 27' 08.26" at 1900, less 46.845" per century.
constexpr double kObliquity1900Degrees = 23.0 + 27.0 / 60 + 8.26 / 3600;
constexpr double kObliquity2000Degrees = kObliquity1900Degrees - 46.845 / 3600;
constexpr double kRotationTolerance = 1e-12;

double Radians(double degrees) { return degrees * std::numbers::pi / 180; }

TEST(EclipticToEquatorial, EquinoxAndSolsticePoints) {
  const Rectangular equinox = EclipticToEquatorial(0.0, 0.0, 2.0, 0.0);
  EXPECT_NEAR(equinox.x, 2.0, kRotationTolerance);
  EXPECT_NEAR(equinox.y, 0.0, kRotationTolerance);
  EXPECT_NEAR(equinox.z, 0.0, kRotationTolerance);

  // The summer solstice point lies north of the equator by the obliquity.
  for (double T : {0.0, 1.0}) {
    const double eps = Radians(T == 0.0 ? kObliquity1900Degrees : kObliquity2000Degrees);
    const Rectangular solstice = EclipticToEquatorial(std::numbers::pi / 2, 0.0, 1.0, T);
    EXPECT_NEAR(solstice.x, 0.0, kRotationTolerance) << "T = " << T;
    EXPECT_NEAR(solstice.y, std::cos(eps), kRotationTolerance) << "T = " << T;
    EXPECT_NEAR(solstice.z, std::sin(eps), kRotationTolerance) << "T = " << T;
  }
}

// A point north of the ecliptic at the equinox tilts toward -Y; the length
// of the vector stays r. Longitudes beyond one turn are reduced first.
TEST(EclipticToEquatorial, LatitudeTiltsTowardTheEquatorPole) {
  const double beta = 0.5;
  const double eps = Radians(kObliquity1900Degrees);
  const Rectangular p = EclipticToEquatorial(2 * kTwoPi, beta, 1.5, 0.0);
  EXPECT_NEAR(p.x, 1.5 * std::cos(beta), kRotationTolerance);
  EXPECT_NEAR(p.y, -1.5 * std::sin(beta) * std::sin(eps), kRotationTolerance);
  EXPECT_NEAR(p.z, 1.5 * std::sin(beta) * std::cos(eps), kRotationTolerance);
  EXPECT_NEAR(std::sqrt(p.x * p.x + p.y * p.y + p.z * p.z), 1.5, kRotationTolerance);
}

}  // namespace
}  // namespace meridan
