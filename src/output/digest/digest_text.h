#pragma once
// The words of the digest, apart from its layout: each text of a month once
// with the days it holds, out of the scans the pages print; the days as a
// reader says them ("1–4 декабря", "28 декабря – 3 января"); plain text out
// of the name as the pages carry it. Everything here is UTF-8.

#include <cstddef>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/dates.h"
#include "texts/month_scan.h"
#include "texts/reader_clock.h"
#include "transits/influences.h"

namespace meridan {

// HTML as a browser shows it, as plain text: tags dropped, character
// references decoded (a malformed one stays as written), white space
// collapsed to single blanks, no blank at either end.
std::string HtmlToText(std::string_view utf8Html);

// The text of a hit as the digest prints it: UTF-8, without blanks at
// either end, a run of blanks or line ends as one blank.
std::string HitText(const TransitHit& hit);

// Days in a row, from one day to another, perhaps in a later month.
struct DayRun {
  YearMonth fromMonth;
  int fromDay = 0;
  YearMonth toMonth;
  int toDay = 0;
  friend bool operator==(const DayRun&, const DayRun&) = default;
};

// "12 декабря", "1–4 декабря", "28 декабря – 3 января"; runs within one
// month that follow each other share the month's name: "1–4, 12 декабря".
std::string DayRunsText(std::span<const DayRun> runs);

// The months of a forecast, consecutive, with the days each has.
struct ForecastDays {
  std::vector<YearMonth> months;
  std::vector<int> lengths;
};

// The runs of days of month k on which holds(month index, day) is true. A
// run that reaches the first or last day of the month goes on into the
// months before or after it for as long as it holds there.
std::vector<DayRun> MonthRuns(const ForecastDays& days, std::size_t k,
                              const std::function<bool(std::size_t, int)>& holds);

// One text of a month: what the page prints (accepted hits), once.
struct DigestEntry {
  std::string text;  // plain UTF-8
  int rating = 0;
  std::vector<DayRun> runs;
  AspectKey key;  // of the hit that first carried it
};

// The texts of month k of consecutive scans, each once, in the order of
// their first day in the month (and of the scan within a day). Hits with the
// same rating and text are one text.
std::vector<DigestEntry> MonthEntries(std::span<const MonthScan* const> scans, std::size_t k);

// Month k's texts as the digest prints them: first one line for each text
// whose run began in an earlier month, where it was printed whole
// (continuing: that run alone), then the texts that begin in the month, in
// the order of their first day, with their runs from the month on.
struct MonthTexts {
  std::vector<DigestEntry> continuing;
  std::vector<DigestEntry> beginning;
};
// The texts that begin are ordered by the first day of their window among
// the influences given (a window may begin before the forecast).
MonthTexts SplitMonthTexts(std::vector<DigestEntry> entries, YearMonth month,
                           std::span<const Influence> influences);

// "4 января".
std::string DayText(YearMonth month, int day);

// The days of an entry as the digest names them: each run as the whole
// window of its influence, which may begin before the forecast or end
// after it, with the moments its aspect is exact on the reader's clock:
// "28 июля – 4 августа, точно 2 августа в 17:24 по Москве"; runs apart
// joined by "; ". A run whose influence is not among those given is named
// by its own days.
std::string WindowsText(const DigestEntry& entry, std::span<const DayRun> runs,
                        std::span<const Influence> influences, const ReaderClock& clock);

// What an unknown birth hour does to the days of an entry's runs (the
// stronger note of its influences), or empty.
std::string HourNoteText(const DigestEntry& entry, std::span<const DayRun> runs,
                         std::span<const Influence> influences);

// The moments an influence's aspect is exact, "точно 2 августа в 17:24 по
// Москве", "точно 5 февраля в 03:12 и 14 февраля в 22:40 по Москве"; empty
// when it never is.
std::string ExactText(const Influence& influence, const ReaderClock& clock);

// "9 февраля в 23:10 по Москве".
std::string MomentText(double julianDay, const ReaderClock& clock);

// The last day of the window of an entry's run, as "4 января".
std::string WindowEndText(const DigestEntry& entry, const DayRun& run,
                          std::span<const Influence> influences);

}  // namespace meridan
