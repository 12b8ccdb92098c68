#pragma once
// The forecast page of one month: navigation row, title, birth date, graph,
// day-by-day texts, legend and help. Windows-1251, CR LF line ends.

#include <filesystem>
#include <string>
#include <string_view>

#include "engine/transits/forecast_kind.h"

namespace meridan {

// Writes Output/Prog_MM_YYYY.html under mainDir and returns its path. The
// page is written to a temporary file and renamed over the old page only
// when complete; furniture files are read before it is begun, so a missing
// one leaves the old page as it was. name goes in as given (see NameForPage).
std::filesystem::path WriteMonthPage(ForecastKind kind, const std::string& name, int birthYear,
                                     int birthMonth, int birthDay, int pageYear, int pageMonth,
                                     int startYear, int startMonth,
                                     const std::filesystem::path& mainDir,
                                     const std::filesystem::path& dataDir,
                                     const std::filesystem::path& interpretationFile);

// The name as the page carries it, from the name as typed (UTF-8): the
// characters & < > " become entities and a character that Windows-1251
// cannot hold becomes a decimal character reference, so nothing typed is
// lost and nothing typed becomes markup. Throws for malformed UTF-8.
std::string NameForPage(std::string_view utf8);

}  // namespace meridan
