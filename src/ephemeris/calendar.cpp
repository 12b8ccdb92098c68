#include "ephemeris/calendar.h"

#include <cmath>
#include <stdexcept>
#include <string>

#include "ephemeris/angles.h"

namespace meridan {
namespace {

constexpr double kLargestCalendarDay = 1e11;  // some 270 million years

}  // namespace

double JulianDay(int day, int month, int year, int hour, int minute, int second) {
  double y = year;
  if (year < 0) y = year + 1;
  double m = month;
  if (month < 3) {
    m = m + 12;
    y = y - 1;
  }
  double b = 0;
  const bool gregorian =
      year > 1582 || (year == 1582 && (month > 10 || (month == 10 && day >= 15)));
  if (gregorian) {
    const double a = static_cast<double>(Trunc(y / 100));
    b = 2 - a + static_cast<double>(Trunc(a / 4));
  }
  double c = y >= 0 ? Int(365.25 * y) : Int(365.25 * y - 0.75);
  c = c - 694025;
  const double d = static_cast<double>(Trunc(30.6001 * (m + 1)));
  const double f = day + hour / 24.0 + minute / 1440.0 + second / 86400.0;
  return b + c + d + f - 0.5;
}

void CalendarDate(double julianDay, int& day, int& month, int& year, int& hour, int& minute,
                  int& second) {
  // Beyond this the year no longer fits the integers the date is given in
  // (and the conversions below would be undefined).
  if (!(std::fabs(julianDay) <= kLargestCalendarDay))
    throw std::out_of_range("Julian day " + std::to_string(julianDay) +
                            " lies beyond the calendar's years");
  const double j = julianDay + kJulianDayOffset;
  const double z = Int(j + 0.5);
  double bb;
  if (z < 2299161) {
    bb = z + 1524;
  } else {
    const double alpha = static_cast<double>(Trunc((z - 1867216.25) / 36524.25));
    bb = z + alpha - Int(alpha / 4) + 1525;
  }
  const double cc = static_cast<double>(Trunc((bb - 122.1) / 365.25));
  const double dd = Int(cc / 4) + 365 * cc;
  const double e = static_cast<double>(Trunc((bb - dd) / 30.6001));
  day = static_cast<int>(Trunc(bb - dd + 0.5) - Trunc(30.6001 * e));
  month = static_cast<int>(e - 1 - 12 * static_cast<double>(Trunc(e / 14)));
  year = static_cast<int>(cc - 4715 - static_cast<double>(Trunc((month + 7) / 10.0)));
  const double hours = (j + 0.5 - z) * 24;
  hour = static_cast<int>(Trunc(Int(hours)));
  const double minutes = Frac(hours) * 60;
  minute = static_cast<int>(std::round(Int(minutes)));
  second = static_cast<int>(std::round(Int(Frac(minutes) * 60)));
}

CalendarMinute ToCalendarMinute(double julianDay) {
  // The minute nearest, plus half a second so that the conversion, which
  // truncates, cannot fall back a minute on a last bit.
  const double rounded = std::round(julianDay * 1440) / 1440 + 0.5 / 86400;
  CalendarMinute out;
  int second = 0;
  CalendarDate(rounded, out.date.day, out.date.month, out.date.year, out.hour, out.minute, second);
  return out;
}

Date DateOf(double julianDay) {
  Date date;
  int hour = 0, minute = 0, second = 0;
  CalendarDate(julianDay, date.day, date.month, date.year, hour, minute, second);
  return date;
}

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int MonthLength(int month, int year) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12)
    throw std::out_of_range("month " + std::to_string(month) + " is not 1..12");
  if (month == 2 && IsLeapYear(year)) return 29;
  return kDays[month - 1];
}

}  // namespace meridan
