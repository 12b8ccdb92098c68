#pragma once
// The forecast page of one month: navigation row, title, birth date, graph,
// day-by-day texts, legend and help. Windows-1251, CR LF line ends.

#include <filesystem>
#include <string>

#include "engine/transits/forecast_kind.h"

namespace meridan {

// Writes Output/Prog_MM_YYYY.html under mainDir and returns its path. The
// page is written to a temporary file and renamed over the old page only
// when complete. name is Windows-1251 text or HTML (it is inserted as given;
// see EscapeNameForPage).
std::filesystem::path WriteMonthPage(ForecastKind kind, const std::string& name, int birthYear,
                                     int birthMonth, int birthDay, int pageYear, int pageMonth,
                                     int startYear, int startMonth,
                                     const std::filesystem::path& mainDir,
                                     const std::filesystem::path& dataDir,
                                     const std::filesystem::path& interpretationFile);

}  // namespace meridan
