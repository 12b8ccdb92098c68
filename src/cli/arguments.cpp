#include "cli/arguments.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "ephemeris/birth_date.h"
#include "ephemeris/calendar.h"

namespace meridan {
namespace {

// Digits only, of the given lengths (e.g. 1 or 2 for a day).
std::optional<int> Digits(const std::string& text, size_t minLength, size_t maxLength) {
  if (text.size() < minLength || text.size() > maxLength) return std::nullopt;
  int value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts(1);
  for (const char c : text) {
    if (c == separator)
      parts.emplace_back();
    else
      parts.back() += c;
  }
  return parts;
}

constexpr size_t kShownLength = 40;

}  // namespace

namespace {

// Control characters escaped; more than `limit` characters cut to "...".
std::string Escape(const std::string& text, size_t limit) {
  std::string shown;
  size_t characters = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    // Continuation bytes of a UTF-8 character do not count as characters.
    if ((byte & 0xC0) != 0x80 && characters++ == limit) {
      shown += "...";
      break;
    }
    const auto next = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0;
    char escaped[8];
    if (byte < 0x20 || byte == 0x7F) {
      std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
      shown += escaped;
    } else if (byte == 0xC2 && next >= 0x80 && next <= 0x9F) {
      // U+0080..U+009F: a terminal takes U+009B as the start of a sequence.
      std::snprintf(escaped, sizeof escaped, "\\u%04X", next);
      shown += escaped;
      ++i;
    } else {
      shown += text[i];
    }
  }
  return shown;
}

}  // namespace

std::string Shown(const std::string& text) { return Escape(text, kShownLength); }

std::string Printable(const std::string& text) { return Escape(text, std::string::npos); }

std::optional<std::string> Options::Get(const std::string& name) const {
  const auto it = values.find(name);
  if (it == values.end()) return std::nullopt;
  return it->second;
}

std::string Options::Require(const std::string& name) const {
  if (auto value = Get(name)) return *value;
  throw UsageError("missing option " + name);
}

Options ParseOptions(const std::vector<std::string>& args,
                     const std::vector<std::string>& allowed) {
  Options options;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--help" || arg == "-h") {
      options.help = true;
      continue;
    }
    if (std::find(allowed.begin(), allowed.end(), arg) == allowed.end())
      throw UsageError("unknown argument '" + Shown(arg) + "'");
    if (i + 1 >= args.size()) throw UsageError("option " + arg + " needs a value");
    if (options.values.count(arg)) throw UsageError("option " + arg + " given twice");
    options.values[arg] = args[++i];
  }
  return options;
}

Date ParseDate(const std::string& option, const std::string& text) {
  const auto parts = Split(text, '.');
  if (parts.size() == 3) {
    const auto day = Digits(parts[0], 1, 2);
    const auto month = Digits(parts[1], 1, 2);
    const auto year = Digits(parts[2], 4, 4);
    if (day && month && year && *day >= 1 && *day <= 31 && *month >= 1 && *month <= 12)
      return {*day, *month, *year};
  }
  throw UsageError(option + " wants a date DD.MM.YYYY (day 1-31, month 1-12), not '" + Shown(text) +
                   "'");
}

Date ParseBirthDate(const std::string& text) {
  const Date date = ParseDate("--birth", text);
  switch (CheckBirthDate(date)) {
    case BirthDateFault::None:
      return date;
    case BirthDateFault::Year:
      throw UsageError("--birth wants a year " + std::to_string(kFirstBirthYear) + "-" +
                       std::to_string(kLastBirthYear) + ", not '" + Shown(text) + "'");
    default:  // day and month outside their limits are refused by ParseDate
      throw UsageError("--birth " + Shown(text) + " is no date: month " +
                       std::to_string(date.month) + " of " + std::to_string(date.year) + " has " +
                       std::to_string(MonthLength(date.month, date.year)) + " days");
  }
}

YearMonth ParseMonth(const std::string& option, const std::string& text) {
  const auto parts = Split(text, '.');
  if (parts.size() == 2) {
    const auto month = Digits(parts[0], 1, 2);
    const auto year = Digits(parts[1], 4, 4);
    if (month && year && *month >= 1 && *month <= 12 && *year >= kFirstForecastYear &&
        *year <= kLastForecastYear)
      return {*year, *month};
  }
  throw UsageError(option + " wants a month MM.YYYY (month 1-12, year " +
                   std::to_string(kFirstForecastYear) + "-" + std::to_string(kLastForecastYear) +
                   "), not '" + Shown(text) + "'");
}

double ParseNumber(const std::string& option, const std::string& text, double limit) {
  errno = 0;
  char* end = nullptr;
  const double value = std::strtod(text.c_str(), &end);
  if (text.empty() || end != text.c_str() + text.size() || errno != 0 || !std::isfinite(value) ||
      std::fabs(value) > limit) {
    char range[64];
    std::snprintf(range, sizeof range, "%g", limit);
    throw UsageError(option + " wants a number between -" + range + " and " + range + ", not '" +
                     Shown(text) + "'");
  }
  return value;
}

}  // namespace meridan
