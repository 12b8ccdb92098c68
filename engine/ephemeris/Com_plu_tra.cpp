#include "engine/ephemeris/Com_plu_tra.h"

#include <sys/stat.h>

#include <cerrno>
#include <system_error>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

#include "engine/ephemeris/calendar.h"

namespace meridan {
namespace {

namespace fs = std::filesystem;

// The table as last read: a forecast asks for Pluto once per scanned day, and
// rereading some 40,000 lines each time would dominate the whole scan. The
// file is read again only when it is another file or has been rewritten.
// Like the rest of the engine this is used from one thread.
struct LoadedTable {
  fs::path path;
  std::uintmax_t size = 0;
  std::int64_t modified = 0;  // nanoseconds since the epoch
  std::vector<int> degrees;  // degrees[k - 1] belongs to Julian day k
};

[[noreturn]] void Fail(const fs::path& file, const std::string& what) {
  throw std::runtime_error(file.string() + ": " + what);
}

std::string DateText(double julianDay) {
  int day, month, year, hour, minute, second;
  CalendarDate(julianDay, day, month, year, hour, minute, second);
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", year, month, day);
  return text;
}

std::string NumberText(double x) {
  char text[32];
  std::snprintf(text, sizeof text, "%.10g", x);
  return text;
}

// Every line must begin with an integer (blanks before it are allowed);
// whatever follows it on the line is ignored.
std::vector<int> ReadTable(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) Fail(file, "cannot open the Pluto table for reading");
  const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (in.bad()) Fail(file, "cannot read the Pluto table");
  std::vector<int> degrees;
  degrees.reserve(text.size() / 4);
  const char* at = text.data();
  const char* const stop = at + text.size();
  while (at != stop) {
    const char* end = static_cast<const char*>(std::memchr(at, '\n', static_cast<size_t>(stop - at)));
    const char* next = end ? end + 1 : stop;
    if (!end) end = stop;
    while (at != end && (*at == ' ' || *at == '\t')) ++at;
    int value = 0;
    if (std::from_chars(at, end, value).ec != std::errc{})
      Fail(file, "line " + std::to_string(degrees.size() + 1) + " does not begin with an integer");
    degrees.push_back(value);
    at = next;
  }
  if (degrees.empty()) Fail(file, "the Pluto table is empty");
  return degrees;
}

const std::vector<int>& Table(const fs::path& file) {
  static LoadedTable loaded;
  // One stat call tells whether the table changed; it is half the cost of a
  // Pluto position, so it is not spent twice.
  struct stat status {};
  if (::stat(file.c_str(), &status) != 0)
    Fail(file, "cannot open the Pluto table: " + std::generic_category().message(errno));
  const auto size = static_cast<std::uintmax_t>(status.st_size);
  const std::int64_t modified =
      static_cast<std::int64_t>(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec;
  if (loaded.degrees.empty() || loaded.path != file || loaded.size != size ||
      loaded.modified != modified) {
    loaded = LoadedTable{file, size, modified, ReadTable(file)};
  }
  return loaded.degrees;
}

}  // namespace

void PlutoPosition(double julianDay, const std::filesystem::path& dataDir, double& longitude,
                   SunVector& sun) {
  const fs::path file = dataDir / "pluto.sys";
  const std::vector<int>& degrees = Table(file);
  const double days = static_cast<double>(degrees.size());
  if (!(julianDay >= 1.0 && julianDay < days + 1.0)) {
    std::string asked = "Julian day " + NumberText(julianDay);
    if (std::isfinite(julianDay)) asked += " (" + DateText(julianDay) + ")";
    Fail(file, "the Pluto table covers " + DateText(1.0) + " to " + DateText(days) +
                   " (Julian days 1 to " + std::to_string(degrees.size()) + "), not " + asked);
  }
  const std::int64_t n = Trunc(julianDay);
  longitude = Normalize360(degrees[n - 1] + 0.0045);
  sun = SunVector{};
}

}  // namespace meridan
