#include "ephemeris/pluto.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <stdexcept>
#include <string>

#include "base/files.h"
#include "ephemeris/calendar.h"

namespace fs = std::filesystem;

namespace meridan {
namespace {

[[noreturn]] void Fail(const fs::path& file, const std::string& what) {
  throw std::runtime_error(file.string() + ": " + what);
}

// "1984-05-20", with the time of day where the day is not a noon.
std::string DateText(double julianDay) {
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
  size_t number = 0;
  bool blank = false;  // a blank line is tolerated as the last line only
  ForEachLine(text, [&](std::string_view line) {
    ++number;
    if (blank) Fail(file, "line " + std::to_string(number - 1) + " does not begin with an integer");
    if (line.empty()) {
      blank = true;
      return;
    }
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
    int value = 0;
    if (std::from_chars(line.data(), line.data() + line.size(), value).ec != std::errc{})
      Fail(file, "line " + std::to_string(number) + " does not begin with an integer");
    table.degrees_.push_back(value);
  });
  if (table.degrees_.empty()) Fail(file, "the Pluto table is empty");
  return table;
}

int PlutoTable::DegreesOn(double julianDay) const {
  const double days = static_cast<double>(degrees_.size());
  if (!(julianDay >= 1.0 && julianDay < days + 1.0)) {
    char number[32];
    std::snprintf(number, sizeof number, "%.10g", julianDay);
    std::string asked = std::string("Julian day ") + number;
    if (std::isfinite(julianDay) && std::fabs(julianDay) < 1e7)
      asked += " (" + DateText(julianDay) + ")";
    Fail(file_, "the Pluto table covers " + DateText(1.0) + " to " + DateText(days) +
                    " (Julian days 1 to " + std::to_string(degrees_.size()) + "), not " + asked);
  }
  return degrees_[static_cast<size_t>(Trunc(julianDay)) - 1];
}

void PlutoPosition(double julianDay, const PlutoTable& table, double& longitude, SunVector& sun) {
  longitude = Normalize360(table.DegreesOn(julianDay) + 0.0045);
  sun = SunVector{};
}

}  // namespace meridan
