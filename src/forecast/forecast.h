#pragma once
// The forecast run: four months from the start month, one way through. The
// natal chart is computed once; each month is scanned once, and its hits
// feed both the rating series (and through it the graph) and the page. Every
// input of a month is read before anything of it is written; then its graph
// and its page replace the old ones, the page last. After the fourth month
// the output directory is packed.

#include <filesystem>
#include <functional>
#include <vector>

#include "base/cp1251.h"
#include "base/dates.h"
#include "forecast/context.h"
#include "forecast/session.h"
#include "texts/month_scan.h"
#include "transits/forecast_kind.h"
#include "transits/series.h"

namespace meridan {

struct ForecastRequest {
  ForecastKind kind = ForecastKind::Trips;
  Cp1251Html name;
  Date birth;
  YearMonth start;
};

// One finished month, as written.
struct MonthForecast {
  YearMonth month;
  MonthScan scan;
  SeriesStore series;
  std::vector<std::uint8_t> graph;  // the JPEG
  std::filesystem::path page;
  std::string pageBytes;  // the page as written
};

// Reported after each finished month: button k (1..4), its month, the page.
struct MonthDone {
  int k = 0;
  YearMonth month;
  std::filesystem::path page;
};
using MonthDoneFn = std::function<void(const MonthDone&)>;

// The four months, each written as it is finished. Stops at the first error
// (the exception propagates); months already finished have been reported.
// Takes no lock and does not pack: see RunForecastCommand.
std::vector<MonthForecast> ForecastMonths(ForecastContext& context, const ForecastRequest& request,
                                          const MonthDoneFn& onMonthDone);

// The same through the session, as the main window runs it: the four months
// from CurrentMonth/CurrentYear; sets StartMonth, StartYear and, per month,
// PageMonth, PageYear, PagePaths and ButtonMonths.
std::vector<MonthForecast> MakeForecast(ForecastSession& session, ForecastKind kind,
                                        ForecastContext& context, const MonthDoneFn& onMonthDone);

// What a forecast command did: its months, and the files of Output/ that
// were left out of the archive (links and other files that are not regular).
struct ForecastRun {
  std::vector<MonthForecast> months;
  std::vector<std::filesystem::path> notPacked;
};

// A forecast command: takes the program directory's lock (onWait is told
// once if another run holds it), removes what a killed run left behind,
// sets PurchaseSaleMarks for the purchase-sale run (reset also on failure),
// MakeForecast, then packs Output/ into Output/Prognoz.zip. Name and birth
// date must already be in the session.
ForecastRun RunForecastCommand(ForecastSession& session, ForecastKind kind,
                               ForecastContext& context, const MonthDoneFn& onMonthDone,
                               const std::function<void()>& onWait = {});

// The month graph of the session's page month from a series store:
// DataDir/tmp.bmp and Output/Prog_MM_YYYY.jpeg, retrograde marks when
// PurchaseSaleMarks is set.
void DrawMonthGraph(const ForecastSession& session, const SeriesStore& store,
                    ForecastContext& context);

}  // namespace meridan
