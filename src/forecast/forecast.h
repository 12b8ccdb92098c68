#pragma once
// The forecast run: four months from the start month, one way through. The
// natal chart is computed once; each month is scanned once, and its hits
// feed both the rating series (and through it the graph) and the page. Every
// input of a month is read before anything of it is written; then its graph
// and its page replace the old ones, the page last (a file that comes out as
// it stands is left alone, and so is its archive entry). After the fourth month
// the output directory is packed. The run takes a request and returns what
// it made; it keeps nothing of its own between runs.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <vector>

#include "base/cp1251.h"
#include "base/dates.h"
#include "forecast/context.h"
#include "output/archive/archive.h"
#include "texts/month_scan.h"
#include "transits/forecast_kind.h"
#include "transits/natal.h"
#include "transits/series.h"

namespace meridan {

// The longest name a forecast takes, in characters as typed.
inline constexpr size_t kMaxNameLength = 40;

struct ForecastRequest {
  ForecastKind kind = ForecastKind::Trips;
  Cp1251Html name;
  Date birth;
  YearMonth start;  // the first of the four months
  // The hour of birth, when known, and what the reader said of it: the time
  // on the clocks of the birth place and the place's name as the pages
  // print it (Windows-1251; empty when only a zone or an offset was given).
  BirthHour hour{};
  std::optional<ClockTime> birthTime = std::nullopt;
  Cp1251Html birthPlace{};
};

// What the run reads off one month: the scan with its texts and the rating
// series of its day sums.
struct MonthAnalysis {
  MonthScan scan;
  SeriesStore series;
};

// The month as a forecast of the kind reads it, from the context's tables.
// Writes nothing: the command line's scan and series print it as it is.
MonthAnalysis AnalyseMonth(ForecastContext& context, ForecastKind kind, const NatalChart& natal,
                           YearMonth month);

// One finished month, as written.
struct MonthForecast {
  YearMonth month;
  MonthScan scan;
  SeriesStore series;
  std::vector<std::uint8_t> graph;  // the JPEG
  std::filesystem::path page;
  std::string pageBytes;  // the page as written
};

// An interpretation file that gave the forecast no texts: missing, or
// without a record. No error (the pages are written, without texts), but
// a forecast without texts is not to pass for an ordinary one.
struct NoTexts {
  std::filesystem::path file;
  bool missing = true;  // false: there, but without a record
};

// The file's NoTexts, or nothing when it has a record.
std::optional<NoTexts> NoTextsIn(const InterpretationFile& texts);

// What a forecast command made: its request, its four months (the first
// first), what packing Output/ had to say (files left out, old entries
// dropped, an unreadable archive kept), and whether the texts were there.
struct ForecastResult {
  ForecastRequest request;
  NatalChart natal;  // of the request's birth date and hour
  // Without a birth time, the arcs the natal bodies sweep over the hours
  // of the birth date (how far the influences' days hang on the hour).
  NatalArcs arcs{};
  std::vector<MonthForecast> months;
  PackReport packed;
  // Why a scratch file of System/ could not be written (a directory in its
  // place, a full disk), or empty: the pages and the archive are written
  // all the same, and the run fails only after them.
  std::string scratchFailure;
  std::optional<NoTexts> noTexts;
};

// Told after each finished month: its number k (1..kForecastMonths) and the month as
// written.
using MonthDoneFn = std::function<void(int k, const MonthForecast& month)>;

// A forecast command: takes the program directory's lock (onWait is told
// once if another run holds it), removes what a killed run left behind,
// writes the four months, each as it is finished, then packs Output/ into
// Output/Prognoz.zip. Stops at the first error (the exception propagates);
// the months finished before it have been told and stay written. The
// scratch files of System/ (tmp.dat, tmp.bmp) are written here only, under
// the lock.
ForecastResult RunForecast(ForecastContext& context, const ForecastRequest& request,
                           const MonthDoneFn& onMonthDone = {},
                           const std::function<void()>& onWait = {});

}  // namespace meridan
