#pragma once
// The three forecast kinds. They run the same scan, series rule and page
// layout; this table holds what the transit analysis needs to tell them
// apart. The page pieces of each kind live with the page writer.

#include <string_view>

namespace meridan {

// A forecast covers the start month and the three after it.
inline constexpr int kForecastMonths = 4;

enum class ForecastKind { Trips, Service, Sale };

struct ForecastKindInfo {
  ForecastKind kind;
  std::string_view key;                 // command-line name: trips, service, sale
  std::string_view interpretationFile;  // in the data directory
  double seriesFactor;                  // day value = rating sum x factor
  bool retrogradeMarks;                 // Mercury's retrograde days marked on the graph
  std::string_view monthHeading;        // UTF-8, before the month: the page's title, the PDF's
  std::string_view title;               // UTF-8, the kind's own name: its command, its calendar
};

inline constexpr ForecastKindInfo kForecastKinds[] = {
    {ForecastKind::Trips, "trips", "go.dat", 2.5, false, "Авто-прогноз на ", "Поездки"},
    {ForecastKind::Service, "service", "servis.dat", 2.8, false, "Авто-сервис. Прогноз на ",
     "Авто-сервис"},
    {ForecastKind::Sale, "sale", "sale.dat", 3.6, true, "Покупка-продажа. Прогноз на ",
     "Покупка-Продажа"},
};

inline const ForecastKindInfo& KindInfo(ForecastKind kind) {
  return kForecastKinds[static_cast<int>(kind)];
}

}  // namespace meridan
