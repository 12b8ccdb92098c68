#include "ephemeris/pluto.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <stdexcept>
#include <string>

#include "base/data_file_error.h"
#include "base/files.h"
#include "base/lines.h"
#include "ephemeris/calendar.h"

namespace fs = std::filesystem;

namespace meridan {
namespace {

[[noreturn]] void Damaged(const fs::path& file, int line, const std::string& what) {
  throw DataFileError(file, line, file.string() + ": " + what);
}

// "1984-05-20", with the time of day where the day is not a noon: the data
// file's error is read by whoever maintains the table, so it is written as
// ISO dates in English, not as the Russian dates the reader of a forecast sees.
std::string IsoDateText(double julianDay) {
  int day, month, year, hour, minute, second;
  CalendarDate(julianDay, day, month, year, hour, minute, second);
  char text[48];
  if (julianDay == std::floor(julianDay))
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", year, month, day);
  else
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d", year, month, day, hour, minute);
  return text;
}

}  // namespace

PlutoTable PlutoTable::Load(const fs::path& file) { return Parse(file, ReadFile(file)); }

PlutoTable PlutoTable::Parse(const fs::path& file, std::string_view text) {
  PlutoTable table;
  table.file_ = file;
  table.degrees_.reserve(text.size() / 4);  // "210\r\n" and a little more
  const char* at = text.data();
  const char* const end = at + text.size();
  size_t number = 0;
  bool blank = false;  // a blank line is tolerated as the last line only
  while (at != end) {
    ++number;
    if (blank)
      Damaged(file, static_cast<int>(number - 1),
              "line " + std::to_string(number - 1) + " does not begin with an integer");
    // Nearly every line is a few digits and its line end ("210\r\n"); they
    // are read straight, since the table is parsed on every run. Up to nine
    // digits cannot overflow an int, so the value is what std::from_chars
    // gives. Every other line takes the general way below.
    const char* digit = at;
    const char* const nine = end - at > 9 ? at + 9 : end;
    int value = 0;
    while (digit != nine && static_cast<unsigned char>(*digit - '0') < 10)
      value = value * 10 + (*digit++ - '0');
    if (digit != at) {
      const char* lineEnd = digit != end && *digit == '\r' ? digit + 1 : digit;
      if (lineEnd == end || *lineEnd == '\n') {
        table.degrees_.push_back(value);
        at = lineEnd == end ? end : lineEnd + 1;
        continue;
      }
    }
    // The line as ForEachLine splits them: up to LF, a CR before it dropped.
    const char* const newline = std::find(at, end, '\n');
    std::string_view line(at, static_cast<size_t>(newline - at));
    at = newline == end ? end : newline + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty()) {
      blank = true;
      continue;
    }
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
    if (std::from_chars(line.data(), line.data() + line.size(), value).ec != std::errc{})
      Damaged(file, static_cast<int>(number),
              "line " + std::to_string(number) + " does not begin with an integer");
    table.degrees_.push_back(value);
  }
  if (table.degrees_.empty()) Damaged(file, 0, "the Pluto table is empty");
  return table;
}

int PlutoTable::DegreesOn(double julianDay) const {
  const double days = static_cast<double>(degrees_.size());
  if (!(julianDay >= 1.0 && julianDay < days + 1.0)) {
    char number[32];
    std::snprintf(number, sizeof number, "%.10g", julianDay);
    std::string asked = std::string("Julian day ") + number;
    if (std::isfinite(julianDay) && std::fabs(julianDay) < 1e7)
      asked += " (" + IsoDateText(julianDay) + ")";
    // A day outside the table is no damage to the file: the window words
    // it as the engine does.
    throw std::runtime_error(file_.string() + ": the Pluto table covers " + IsoDateText(1.0) +
                             " to " + IsoDateText(days) + " (Julian days 1 to " +
                             std::to_string(degrees_.size()) + "), not " + asked);
  }
  return degrees_[static_cast<size_t>(Trunc(julianDay)) - 1];
}

void PlutoPosition(double julianDay, const PlutoTable& table, double& longitude, SunVector& sun) {
  longitude = Normalize360(table.DegreesOn(julianDay) + 0.0045);
  sun = SunVector{};
}

}  // namespace meridan
