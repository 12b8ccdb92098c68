#include "ephemeris/birth_date.h"

#include "ephemeris/calendar.h"

namespace meridan {

BirthDateFault CheckBirthDate(const Date& date) {
  if (date.day < 1 || date.day > 31) return BirthDateFault::Day;
  if (date.month < 1 || date.month > 12) return BirthDateFault::Month;
  if (date.year < kFirstBirthYear || date.year > kLastBirthYear) return BirthDateFault::Year;
  if (date.day > MonthLength(date.month, date.year)) return BirthDateFault::DayOfMonth;
  return BirthDateFault::None;
}

}  // namespace meridan
