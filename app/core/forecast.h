#pragma once
// The forecast run: four months from the start month, each with its series,
// its graph and its page, then the archive. Both programs call this.

#include <filesystem>
#include <functional>

#include "app/core/session.h"
#include "engine/transits/forecast_kind.h"
#include "engine/transits/series.h"

namespace meridan {

// Reported after each finished month: button k (1..4), its calendar month
// and year, and the page written.
struct MonthDone {
  int k = 0;
  int month = 0;
  int year = 0;
  std::filesystem::path page;
};
using MonthDoneFn = std::function<void(const MonthDone&)>;

// The four months from session.CurrentMonth/CurrentYear: sets StartMonth,
// StartYear and, per month, PageMonth, PageYear, PagePaths and ButtonMonths.
// Stops at the first error (the exception propagates); months already
// finished have been reported.
void MakeForecast(ForecastSession& session, ForecastKind kind, SeriesStore& store,
                  const MonthDoneFn& onMonthDone);

// A forecast command: PurchaseSaleMarks for the purchase-sale run (reset
// also on failure), MakeForecast, then PackOutput into Output/Prognoz.zip.
// Name and birth date must already be in the session.
void RunForecastCommand(ForecastSession& session, ForecastKind kind, SeriesStore& store,
                        const MonthDoneFn& onMonthDone);

}  // namespace meridan
