#pragma once
// The three forecast kinds. They run the same scan, series rule and page
// layout; this table holds what the engine needs to tell them apart (the
// interpretation file, the series factor, the retrograde marks). The words
// a kind is shown in belong to what shows them: the pages, the digest, the
// calendar and the windows each keep a table of their own, checked at
// compile time to cover every kind.

#include <cstddef>
#include <string_view>

namespace meridan {

// A forecast covers the start month and the three after it.
inline constexpr int kForecastMonths = 4;

enum class ForecastKind { Trips, Service, Sale };

// The last kind above; every table of kinds is checked against it.
inline constexpr ForecastKind kLastForecastKind = ForecastKind::Sale;

// Whether a table of rows with a `kind` has one row per kind, in the
// enum's order, so that a kind indexes its row:
//   static_assert(CoversEveryKind(kPageWords));
template <typename Row, std::size_t N>
constexpr bool CoversEveryKind(const Row (&rows)[N]) {
  if (N != static_cast<std::size_t>(kLastForecastKind) + 1) return false;
  for (std::size_t i = 0; i < N; ++i)
    if (static_cast<std::size_t>(rows[i].kind) != i) return false;
  return true;
}

// The row of a kind in a table that CoversEveryKind.
template <typename Row, std::size_t N>
constexpr const Row& RowOf(const Row (&rows)[N], ForecastKind kind) {
  return rows[static_cast<std::size_t>(kind)];
}

struct ForecastKindInfo {
  ForecastKind kind;
  std::string_view key;                 // command-line name: trips, service, sale
  std::string_view interpretationFile;  // in the data directory
  double seriesFactor;                  // day value = rating sum x factor
  bool retrogradeMarks;                 // Mercury's retrograde days marked on the graph
};

inline constexpr ForecastKindInfo kForecastKinds[] = {
    {.kind = ForecastKind::Trips,
     .key = "trips",
     .interpretationFile = "go.dat",
     .seriesFactor = 2.5,
     .retrogradeMarks = false},
    {.kind = ForecastKind::Service,
     .key = "service",
     .interpretationFile = "servis.dat",
     .seriesFactor = 2.8,
     .retrogradeMarks = false},
    {.kind = ForecastKind::Sale,
     .key = "sale",
     .interpretationFile = "sale.dat",
     .seriesFactor = 3.6,
     .retrogradeMarks = true},
};
static_assert(CoversEveryKind(kForecastKinds), "one row per ForecastKind, in the enum's order");

inline const ForecastKindInfo& KindInfo(ForecastKind kind) { return RowOf(kForecastKinds, kind); }

}  // namespace meridan
