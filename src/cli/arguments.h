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
  // Why no program directory could be chosen (see ChooseProgramDir), or
  // empty; a command fails with it when it comes to read the directory.
  std::string noProgramDir;

  std::optional<std::string> Get(const std::string& name) const;
  std::string Require(const std::string& name) const;
};

// Parses args (after the command) into options; only the names in allowed
// are accepted, each at most once, each with a value.
Options ParseOptions(const std::vector<std::string>& args, const std::vector<std::string>& allowed);

// Forecast months lie within the years the Pluto table covers.
inline constexpr int kFirstForecastYear = 1900;
inline constexpr int kLastForecastYear = 2100;

// "DD.MM.YYYY": a day that exists (31.02 and 29.02.1900 do not).
Date ParseDate(const std::string& option, const std::string& text);

// --birth "DD.MM.YYYY": a day that exists, in the birth years 1920..2030.
Date ParseBirthDate(const std::string& text);

// "MM.YYYY", month 1..12, year 1900..2100.
YearMonth ParseMonth(const std::string& option, const std::string& text);

// A plain decimal number within [-limit, limit], e.g. a Julian day: an
// optional sign, digits and at most one point; no spaces, exponent or hex.
double ParseNumber(const std::string& option, const std::string& text, double limit);

// A count: an optional sign and digits only, within [least, most].
int ParseWholeNumber(const std::string& option, const std::string& text, int least, int most);

// --name: valid UTF-8 of at most `most` characters, without control
// characters (C0, DEL, C1).
std::string ParseName(const std::string& text, size_t most);

// The month of the clock's day, as the default start of a forecast: in the
// forecast years like --start, else a usage error that asks for --start.
YearMonth ClockMonth(const Date& today);

// A value as an error message shows it: control characters escaped (\x07,
// the C1 controls of UTF-8 as \u009B, the bidirectional ones as \u202E),
// and so are the bytes of invalid UTF-8 (\xFF); cut to a readable length.
std::string Shown(const std::string& text);
// The same, whole: for paths and messages that carry values from outside.
std::string Printable(const std::string& text);

}  // namespace meridan
