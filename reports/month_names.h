#pragma once
// Month names in Windows-1251, indexed by month number 1..12.

#include <string>

namespace meridan {

const std::string& MonthName(int month);           // "Январь": buttons, graph caption, navigation
const std::string& MonthNameLower(int month);      // "январь": page title
const std::string& MonthNameGenitive(int month);   // "января": birth date, day headings

}  // namespace meridan
