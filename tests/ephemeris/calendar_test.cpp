#include "ephemeris/calendar.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "ephemeris/angles.h"

namespace meridan {
namespace {

struct DateTime {
  int day, month, year, hour, minute, second;
  bool operator==(const DateTime&) const = default;
};

std::ostream& operator<<(std::ostream& out, const DateTime& t) {
  return out << t.day << "." << t.month << "." << t.year << " " << t.hour << ":" << t.minute << ":"
             << t.second;
}

double JulianDayOf(const DateTime& t) {
  return JulianDay(t.day, t.month, t.year, t.hour, t.minute, t.second);
}

DateTime DateOf(double julianDay) {
  DateTime t{};
  CalendarDate(julianDay, t.day, t.month, t.year, t.hour, t.minute, t.second);
  return t;
}

// Julian days count from 1900 January 0.5 (JD 2415020.0); these come out
// exactly, both ways. 1582 October 4 (Julian calendar) was followed by
// October 15 (Gregorian).
TEST(JulianDay, KnownDatesBothWays) {
  const struct {
    const char* name;
    DateTime date;
    double julianDay;
  } kCases[] = {
      {"1899-12-31 noon, the epoch", {31, 12, 1899, 12, 0, 0}, 0.0},  // JD 2415020.0
      {"1900-01-01 noon", {1, 1, 1900, 12, 0, 0}, 1.0},               // JD 2415021.0
      {"1984-05-20 noon", {20, 5, 1984, 12, 0, 0}, 30821.0},          // JD 2445841.0
      {"1984-05-20 midnight", {20, 5, 1984, 0, 0, 0}, 30820.5},
      {"1984-05-20 06:00", {20, 5, 1984, 6, 0, 0}, 30820.75},
      {"1984-05-20 18:00", {20, 5, 1984, 18, 0, 0}, 30821.25},
      {"2000-01-01 noon, J2000.0", {1, 1, 2000, 12, 0, 0}, 36525.0},  // JD 2451545.0
      {"1582-10-04 noon, last Julian day", {4, 10, 1582, 12, 0, 0}, -115860.0},
      {"1582-10-15 noon, first Gregorian day",
       {15, 10, 1582, 12, 0, 0},
       -115859.0},  // JD 2299161.0
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(JulianDayOf(c.date), c.julianDay) << c.name;
    EXPECT_EQ(DateOf(c.julianDay), c.date) << c.name;
  }
}

// Every noon from 1583 to 2200 goes to a Julian day one more than the noon
// before it and back to the same date at 12:00:00.
TEST(CalendarDate, RoundTripsEveryNoonFrom1583To2200) {
  double previous = NoonJulianDay(31, 12, 1582);
  int failures = 0;
  for (int year = 1583; year <= 2200 && failures < 5; ++year) {
    for (int month = 1; month <= 12; ++month) {
      for (int day = 1; day <= MonthLength(month, year); ++day) {
        const double jd = NoonJulianDay(day, month, year);
        const DateTime back = DateOf(jd);
        if (jd != previous + 1 || back != DateTime{day, month, year, 12, 0, 0}) {
          ++failures;
          ADD_FAILURE() << day << "." << month << "." << year << " -> " << jd << " (previous "
                        << previous << ") -> " << back;
        }
        previous = jd;
      }
    }
  }
}

// Minutes and seconds are truncated: 10:30:59.9 is second 59, not 60 (which
// would also carry into minute 31).
TEST(CalendarDate, TruncatesFractionalSeconds) {
  EXPECT_EQ(DateOf(JulianDay(20, 5, 1984, 10, 30, 0) + 59.9 / 86400),
            (DateTime{20, 5, 1984, 10, 30, 59}));
}

TEST(Calendar, LeapYearsFollowTheGregorianRule) {
  for (const auto& [year, leap] :
       {std::pair(2024, true), std::pair(2000, true), std::pair(1900, false),
        std::pair(2100, false), std::pair(2023, false)}) {
    EXPECT_EQ(IsLeapYear(year), leap) << year;
    EXPECT_EQ(MonthLength(2, year), leap ? 29 : 28) << year;
  }
}

// The rounding error of dividing by 360 and multiplying back.
constexpr double kNormalizeTolerance = 1e-12;

TEST(Normalize360, WrapsIntoOneTurn) {
  const struct {
    double degrees, normalized;
  } kCases[] = {{360.0, 0.0},   {0.0, 0.0},      {810.0, 90.0},   {-0.5, 359.5},
                {-30.0, 330.0}, {-390.0, 330.0}, {359.25, 359.25}};
  for (const auto& c : kCases)
    EXPECT_NEAR(Normalize360(c.degrees), c.normalized, kNormalizeTolerance) << c.degrees;
}

TEST(Reduce2Pi, RemovesWholeTurnsOfTheShortTwoPi) {
  EXPECT_EQ(Reduce2Pi(1.0), 1.0);
  EXPECT_NEAR(Reduce2Pi(3 * kTwoPi + 1.0), 1.0, 1e-12);
  // Truncation toward zero: a negative angle is not lifted into [0, 2pi).
  EXPECT_EQ(Reduce2Pi(-1.0), -1.0);
  EXPECT_NEAR(Reduce2Pi(-kTwoPi - 1.0), -1.0, 1e-12);
}

// Obliquity of date 23 deg 27' 08.26" at 1900, less 46.845" per century.
constexpr double kObliquity1900 = (23.0 + 27.0 / 60 + 8.26 / 3600) * std::numbers::pi / 180;
constexpr double kObliquity2000 = kObliquity1900 - 46.845 / 3600 * std::numbers::pi / 180;
constexpr double kRotationTolerance = 1e-12;

// The equinox stays on the X axis; the summer solstice point lies north of
// the equator by the obliquity; a point north of the ecliptic at the equinox
// tilts toward -Y. Longitudes beyond one turn are reduced first.
TEST(EclipticToEquatorial, RotatesByTheObliquityOfDate) {
  const double beta = 0.5;
  const struct {
    const char* name;
    double lambda, beta, r, T;
    Rectangular expected;
  } kCases[] = {
      {"equinox", 0.0, 0.0, 2.0, 0.0, {2.0, 0.0, 0.0}},
      {"solstice 1900",
       std::numbers::pi / 2,
       0.0,
       1.0,
       0.0,
       {0.0, std::cos(kObliquity1900), std::sin(kObliquity1900)}},
      {"solstice 2000",
       std::numbers::pi / 2,
       0.0,
       1.0,
       1.0,
       {0.0, std::cos(kObliquity2000), std::sin(kObliquity2000)}},
      {"north of the equinox, two turns on",
       2 * kTwoPi,
       beta,
       1.5,
       0.0,
       {1.5 * std::cos(beta), -1.5 * std::sin(beta) * std::sin(kObliquity1900),
        1.5 * std::sin(beta) * std::cos(kObliquity1900)}},
  };
  for (const auto& c : kCases) {
    const Rectangular p = EclipticToEquatorial(c.lambda, c.beta, c.r, c.T);
    EXPECT_NEAR(p.x, c.expected.x, kRotationTolerance) << c.name;
    EXPECT_NEAR(p.y, c.expected.y, kRotationTolerance) << c.name;
    EXPECT_NEAR(p.z, c.expected.z, kRotationTolerance) << c.name;
  }
}

}  // namespace
}  // namespace meridan
