#pragma once
// The calendar file of a forecast (iCalendar, for the calendar on a phone or
// a desktop): the best windows for the kind's action, each with a reminder
// the evening before, its strong influences from first to last day and the
// turns of Mercury and Mars, for the four months from the request's start. Written
// like every other output, whole or not at all.

#include <ctime>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "forecast/findings.h"
#include "forecast/forecast.h"
#include "output/calendar/siphash.h"

namespace meridan {

// The random key of the program directory's event names, in its
// calendarKey file as 32 hexadecimal digits; made on first use, under the program
// directory's lock, and kept, so that every export from this directory
// names the same event the same way. onWait is told once if another run
// holds the lock when the key is to be made.
SipKey CalendarKey(const std::filesystem::path& programDir,
                   const std::function<void()>& onWait = {});

// The file's bytes (UTF-8) for the request's run and its findings, stamped
// with `made`; its events named with the program directory's key.
std::string RenderForecastCalendar(const ForecastRequest& request, const ForecastFindings& findings,
                                   const std::filesystem::path& programDir, std::time_t made,
                                   const std::function<void()>& onWait = {});

// Renders it and writes it to file. Throws FileError when the file cannot be
// written; nothing of the run is touched.
void WriteForecastCalendar(const ForecastRequest& request, const ForecastFindings& findings,
                           const std::filesystem::path& programDir,
                           const std::filesystem::path& file, std::time_t made,
                           const std::function<void()>& onWait = {});

}  // namespace meridan
