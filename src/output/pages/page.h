#pragma once
// The forecast page of one month: navigation row, title, birth date, graph,
// day-by-day texts, legend and help. Windows-1251, CR LF line ends.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/cp1251.h"
#include "base/dates.h"
#include "texts/month_scan.h"
#include "transits/forecast_kind.h"

namespace meridan {

// The furniture files of a kind's page, each as the page copies it (every
// line; an empty file gives one empty line).
struct PageFurniture {
  std::vector<std::string> style;  // style.dat
  std::vector<std::string> help;   // the kind's help file
};

PageFurniture ReadPageFurniture(ForecastKind kind, const std::filesystem::path& dataDir);

// Everything a month page shows.
struct MonthPage {
  ForecastKind kind;
  Cp1251Html name;
  Date birth;
  // The time of birth on the clocks of the birth place and the place's
  // name, when given: the birth line carries them after the date.
  std::optional<ClockTime> birthTime = std::nullopt;
  Cp1251Html birthPlace{};
  YearMonth month;  // the page's month
  YearMonth start;  // the first of the forecast's four months
  const MonthScan* scan;
  PageFurniture furniture;
};

// The bar tag before a text of this rating (b_blu1.gif .. b_red5.gif), or
// empty for a rating outside -5..-1, 1..5.
std::string BarTag(int rating);

// A text's line on the page: its bar tag, the text and a line break; a text
// of a rating without a bar stands alone. BarMarkupLength counts what is
// added to the text.
std::string TextLine(int rating, std::string_view text);

// The page's bytes: Windows-1251, CR LF line ends.
std::string RenderMonthPage(const MonthPage& page);

// The name as the page carries it, from the name as typed (UTF-8): the
// characters & < > " become entities and a character that Windows-1251
// cannot hold becomes a decimal character reference, so nothing typed is
// lost and nothing typed becomes markup. Throws for malformed UTF-8.
Cp1251Html NameForPage(std::string_view utf8);

}  // namespace meridan
