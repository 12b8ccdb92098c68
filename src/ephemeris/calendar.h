#pragma once
// Calendar dates and Julian days.
//
// A Julian day here counts days since 1900 January 0.5: the astronomical
// Julian Date minus 2415020. Noon of 1900 January 1 is 1.0, noon of
// 1984 May 20 is 30821.0. Dates before 1582 October 15 are Julian calendar.
// Nothing is validated: 31 February simply runs on into March.

#include "base/dates.h"

namespace meridan {

double JulianDay(int day, int month, int year, int hour, int minute, int second);

// Throws std::out_of_range for a day whose year an int cannot hold (and for
// one that is not a number).
void CalendarDate(double julianDay, int& day, int& month, int& year, int& hour, int& minute,
                  int& second);

// A Julian day as a date and a time of day (Universal Time) rounded to the
// nearest minute: 23:59:40 is 0:00 of the next day.
struct CalendarMinute {
  Date date;
  int hour = 0;
  int minute = 0;
};
CalendarMinute ToCalendarMinute(double julianDay);

// The calendar date of a Julian day's noon (or of any time that day).
Date DateOf(double julianDay);

// Noon of a calendar date, the only time of day the program uses.
inline double NoonJulianDay(int day, int month, int year) {
  return JulianDay(day, month, year, 12, 0, 0);
}

// Gregorian leap-year rule.
bool IsLeapYear(int year);

// Days of a month of a year: 28 or 29 for February by the leap-year rule.
int MonthLength(int month, int year);

}  // namespace meridan
