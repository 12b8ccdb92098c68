#include "base/date_text.h"

#include <cstdio>

#include "base/month_names.h"

namespace meridan {

std::string MonthAndYear(YearMonth month) {
  return MonthName(month.month) + ' ' + std::to_string(month.year);
}

std::string MonthAndYearLower(YearMonth month) {
  return MonthNameLower(month.month) + ' ' + std::to_string(month.year);
}

std::string DayAndMonth(int day, int month) {
  return std::to_string(day) + ' ' + MonthNameGenitive(month);
}

std::string DateInWords(Date date) {
  return DayAndMonth(date.day, date.month) + ' ' + std::to_string(date.year);
}

std::string DateInDigits(Date date) {
  char text[40];
  std::snprintf(text, sizeof text, "%02d.%02d.%04d", date.day, date.month, date.year);
  return text;
}

std::string TimeInDigits(ClockTime time) {
  char text[24];
  std::snprintf(text, sizeof text, "%02d:%02d", time.hour, time.minute);
  return text;
}

}  // namespace meridan
