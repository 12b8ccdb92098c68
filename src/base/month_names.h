#pragma once
// Month names in Windows-1251, indexed by month number 1..12.

#include <string>

namespace meridan {

const std::string& MonthName(int month);       // "Январь": buttons, graph caption, navigation
const std::string& MonthNameLower(int month);  // "январь": page title
const std::string& MonthNameGenitive(int month);       // "января": birth date, day headings
const std::string& MonthNamePrepositional(int month);  // "январе": "в январе 1990 года"

// The file name of a month's page or graph: "Prog_" + two-digit month + "_"
// + year + extension, e.g. "Prog_05_2025.html".
std::string MonthFileName(int month, int year, const char* extension);

}  // namespace meridan
