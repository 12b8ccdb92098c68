#pragma once
// Months and dates as text, each way of writing them in one place so that
// the pages, the graph, the texts, the digest, the calendar and the command
// line cannot drift apart. Words are Windows-1251 like the month names they
// are made of; DateInDigits is plain ASCII.

#include <string>

#include "base/dates.h"

namespace meridan {

std::string MonthAndYear(YearMonth month);       // "Август 2025": buttons, graph caption
std::string MonthAndYearLower(YearMonth month);  // "август 2025": titles, periods
std::string DayAndMonth(int day, int month);     // "2 августа": day headings
std::string DateInWords(Date date);              // "2 августа 2025"
std::string DateInDigits(Date date);             // "02.08.2025": tables, the birth fields
std::string TimeInDigits(ClockTime time);        // "17:35"

}  // namespace meridan
