#pragma once
// Option parsing for the command-line program: "--name value" pairs after
// the command, and the date forms it takes.

#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/dates.h"

namespace meridan {

// Wrong arguments: the program prints the message and where to find the
// usage, exit status 2.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct Options {
  std::map<std::string, std::string> values;  // "--date" -> "20.05.1984"
  bool help = false;

  std::optional<std::string> Get(const std::string& name) const;
  std::string Require(const std::string& name) const;
};

// Parses args (after the command) into options; only the names in allowed
// are accepted, each at most once, each with a value.
Options ParseOptions(const std::vector<std::string>& args, const std::vector<std::string>& allowed);

// Forecast months lie within the years the Pluto table covers.
inline constexpr int kFirstForecastYear = 1900;
inline constexpr int kLastForecastYear = 2100;

// "DD.MM.YYYY": day 1..31 and month 1..12 (a day the month lacks is taken
// as typed and runs on into the next month).
Date ParseDate(const std::string& option, const std::string& text);

// --birth "DD.MM.YYYY": a day that exists, in the birth years 1920..2030.
Date ParseBirthDate(const std::string& text);

// "MM.YYYY", month 1..12, year 1900..2100.
YearMonth ParseMonth(const std::string& option, const std::string& text);

// A decimal number within [-limit, limit], e.g. a Julian day.
double ParseNumber(const std::string& option, const std::string& text, double limit);

// A value as an error message shows it: control characters escaped (\x07,
// and the C1 controls of UTF-8 as \u009B), cut to a readable length.
std::string Shown(const std::string& text);
// The same, whole: for paths and messages that carry values from outside.
std::string Printable(const std::string& text);

}  // namespace meridan
