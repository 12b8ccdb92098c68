#pragma once
// Calendar values that travel together: a date as a person enters it, and a
// month of a year. Plain values; nothing is validated (31 February is a
// date that runs on into March).

#include <compare>

namespace meridan {

struct Date {
  int day = 0;
  int month = 0;
  int year = 0;
  friend bool operator==(const Date&, const Date&) = default;
  // In time order: by year, then month, then day.
  friend constexpr std::strong_ordering operator<=>(const Date& a, const Date& b) {
    if (a.year != b.year) return a.year <=> b.year;
    if (a.month != b.month) return a.month <=> b.month;
    return a.day <=> b.day;
  }
};

// A time of day on a clock, as a person gives it: 0..23 and 0..59.
struct ClockTime {
  int hour = 0;
  int minute = 0;
  friend bool operator==(const ClockTime&, const ClockTime&) = default;
};

struct YearMonth {
  int year = 0;
  int month = 0;  // 1..12

  // The month n months later (n >= 0): month 12 plus 1 is January of the
  // next year.
  constexpr YearMonth Plus(int n) const {
    const int index = month - 1 + n;
    return {year + index / 12, index % 12 + 1};
  }
  friend auto operator<=>(const YearMonth&, const YearMonth&) = default;
};

}  // namespace meridan
