#pragma once
// The forecast digest: the whole forecast as one short PDF for reading and
// printing. Per month, on a new page: a heading, the month's graph, then every
// text the month page prints, once, in the order of its first day, with the
// days it holds and its bar; for purchase-sale also Mercury's retrograde days
// in words. After the last month: how to read the graph and the bars, the
// day the forecast was made, and that its texts are no guarantee. A4, page
// numbers in the footer, text as text in embedded fonts, the graph as the
// JPEG the run wrote.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "base/cp1251.h"
#include "base/dates.h"
#include "texts/month_scan.h"
#include "transits/forecast_kind.h"
#include "transits/series.h"

namespace meridan {

// A month graph as the run drew it: the pixels and the JPEG made of them. The
// JPEG goes into the PDF as it is; the pixels stand behind it for any
// consumer that cannot take JPEG data.
struct DigestPicture {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgb;  // width x height x 3, rows from the top
  std::span<const std::uint8_t> jpeg;
};

struct DigestMonth {
  const MonthScan* scan = nullptr;
  const SeriesStore* series = nullptr;  // its retrograde marks, for purchase-sale
  DigestPicture graph;
};

struct Digest {
  ForecastKind kind = ForecastKind::Trips;
  Cp1251Html name;  // as the pages carry it
  Date birth;
  Date made;                        // the day the forecast was made
  std::vector<DigestMonth> months;  // consecutive months, the first month first
};

// The digest's PDF bytes. Throws std::invalid_argument for a month without
// its scan or series, or a graph whose pixels do not match its size, and
// std::runtime_error when Cairo fails.
std::string RenderDigest(const Digest& digest);

// What the PDF's title says: "Авто-прогноз: Иван Петров, декабрь 2026 –
// март 2027" (UTF-8).
std::string DigestTitle(ForecastKind kind, const Cp1251Html& name, YearMonth first, YearMonth last);

// The file name a save dialog suggests: "Авто-прогноз Иван Петров, декабрь
// 2026.pdf" (UTF-8); characters a file name cannot hold become "-".
std::string DigestFileName(ForecastKind kind, const Cp1251Html& name, YearMonth first);

// The digest is a module of its own (meridan-digest.so): the PDF libraries
// it stands on would otherwise be loaded by every start of the programs,
// forecasts without a PDF included. The programs load it when they first
// make a digest and find these two entry points by name. Each returns false
// and says why in *error rather than letting an exception leave the module.
using RenderDigestEntry = bool (*)(const Digest& digest, std::string* pdf, std::string* error);
using DigestFileNameEntry = bool (*)(ForecastKind kind, const Cp1251Html& name, YearMonth first,
                                     std::string* fileName, std::string* error);
inline constexpr const char* kDigestModule = "meridan-digest.so";
inline constexpr const char* kRenderDigestEntry = "MeridanRenderDigest";
inline constexpr const char* kDigestFileNameEntry = "MeridanDigestFileName";

}  // namespace meridan
