#pragma once
// Whether a birth date as a person typed it names a day that exists, in the
// years both programs take birth dates from. A date the check refuses is
// never computed: the calendar arithmetic would quietly turn 31 February
// into 3 March and chart someone else.

#include "base/dates.h"

namespace meridan {

inline constexpr int kFirstBirthYear = 1920;
inline constexpr int kLastBirthYear = 2030;

enum class BirthDateFault {
  None,
  Day,         // outside 1..31
  Month,       // outside 1..12
  Year,        // outside kFirstBirthYear..kLastBirthYear
  DayOfMonth,  // past the end of its month (31 April, 29 February 1990)
};

// The first fault in the order above, or None.
BirthDateFault CheckBirthDate(const Date& date);

}  // namespace meridan
