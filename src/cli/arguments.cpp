#include "cli/arguments.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include "base/digits.h"
#include "ephemeris/birth_date.h"
#include "ephemeris/calendar.h"

namespace meridan {
namespace {

// Digits only, of the given lengths (e.g. 1 or 2 for a day).
std::optional<int> Digits(const std::string& text, size_t minLength, size_t maxLength) {
  if (text.size() < minLength || text.size() > maxLength) return std::nullopt;
  return ParseDigits(text);
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

// The code point of the UTF-8 sequence at text[i] and its length, or a
// length of 0 for a byte that starts no valid sequence (a stray
// continuation, a cut or overlong sequence, a surrogate, past U+10FFFF).
std::pair<char32_t, size_t> DecodeUtf8(const std::string& text, size_t i) {
  const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char lead = byte(i);
  if (lead < 0x80) return {lead, 1};
  const size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
  if (length == 0 || lead > 0xF4 || i + length > text.size()) return {0, 0};
  char32_t code = lead & (0x7F >> length);
  for (size_t k = 1; k < length; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) return {0, 0};
    code = code << 6 | (byte(i + k) & 0x3F);
  }
  static constexpr char32_t kLeast[5] = {0, 0, 0x80, 0x800, 0x10000};
  if (code < kLeast[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return {0, 0};
  return {code, length};
}

// Characters a terminal acts on instead of showing: C0 and C1 controls and
// DEL (U+009B starts a sequence), and the bidirectional controls, which
// reorder what follows them on the line (U+202E shows "txt.exe" as "exe.txt").
bool IsControl(char32_t code) {
  return code < 0x20 || (code >= 0x7F && code <= 0x9F) || code == 0x061C || code == 0x200E ||
         code == 0x200F || (code >= 0x202A && code <= 0x202E) || (code >= 0x2066 && code <= 0x2069);
}

// Control characters escaped (\x07, \u009B, \u202E) and so are the bytes of
// invalid UTF-8 (\xFF); more than `limit` characters cut to "...".
std::string Escape(const std::string& text, size_t limit) {
  std::string shown;
  size_t characters = 0;
  for (size_t i = 0; i < text.size();) {
    if (characters++ == limit) {
      shown += "...";
      break;
    }
    const auto [code, length] = DecodeUtf8(text, i);
    char escaped[12];
    if (length == 0 || code < 0x20 || code == 0x7F) {
      std::snprintf(escaped, sizeof escaped, "\\x%02X", static_cast<unsigned char>(text[i]));
      shown += escaped;
      i += 1;
    } else if (IsControl(code)) {
      std::snprintf(escaped, sizeof escaped, "\\u%04X", static_cast<unsigned>(code));
      shown += escaped;
      i += length;
    } else {
      shown.append(text, i, length);
      i += length;
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
    if (day && month && year && *day >= 1 && *day <= 31 && *month >= 1 && *month <= 12) {
      // The calendar arithmetic would run 31 February on into March.
      if (*day > MonthLength(*month, *year))
        throw UsageError(option + " " + Shown(text) + " is no date: month " +
                         std::to_string(*month) + " of " + std::to_string(*year) + " has " +
                         std::to_string(MonthLength(*month, *year)) + " days");
      return {*day, *month, *year};
    }
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

namespace {

// Plain decimal: an optional sign, digits, and where a fraction is allowed
// one point with digits on at least one side of it. No spaces, no
// exponent, no hexadecimal, no "inf" or "nan", which strtod would take.
bool IsPlainDecimal(const std::string& text, bool fraction) {
  size_t i = text.starts_with('+') || text.starts_with('-') ? 1 : 0;
  size_t digits = 0, points = 0;
  for (; i < text.size(); ++i) {
    if (text[i] >= '0' && text[i] <= '9')
      ++digits;
    else if (text[i] == '.' && fraction && points++ == 0)
      continue;
    else
      return false;
  }
  return digits > 0;
}

}  // namespace

double ParseNumber(const std::string& option, const std::string& text, double limit) {
  errno = 0;
  const double value = IsPlainDecimal(text, true) ? std::strtod(text.c_str(), nullptr) : NAN;
  if (errno != 0 || !std::isfinite(value) || std::fabs(value) > limit) {
    char range[64];
    std::snprintf(range, sizeof range, "%g", limit);
    throw UsageError(option + " wants a number between -" + range + " and " + range + ", not '" +
                     Shown(text) + "'");
  }
  return value;
}

// Unlike a date's fields, an option's number may carry a sign.
int ParseWholeNumber(const std::string& option, const std::string& text, int least, int most) {
  const bool plain = IsPlainDecimal(text, false);
  errno = 0;
  const long value = plain ? std::strtol(text.c_str(), nullptr, 10) : 0;
  if (!plain || errno != 0 || value < least || value > most)
    throw UsageError(option + " wants a whole number from " + std::to_string(least) + " to " +
                     std::to_string(most) + ", not '" + Shown(text) + "'");
  return static_cast<int>(value);
}

std::string ParseName(const std::string& text, size_t most) {
  size_t characters = 0;
  for (size_t i = 0; i < text.size(); ++characters) {
    const auto [code, length] = DecodeUtf8(text, i);
    if (length == 0) throw UsageError("--name is not valid UTF-8 text");
    // A name goes into the page's heading and the PDF as it is: a BEL, an
    // escape sequence or a line break would go with it.
    if (code < 0x20 || (code >= 0x7F && code <= 0x9F))
      throw UsageError("--name may not hold control characters: '" + Shown(text) + "'");
    i += length;
  }
  if (characters > most)
    throw UsageError("--name holds at most " + std::to_string(most) + " characters, this one has " +
                     std::to_string(characters));
  return text;
}

YearMonth ClockMonth(const Date& today) {
  if (today.year < kFirstForecastYear || today.year > kLastForecastYear)
    throw UsageError("the system clock says " + std::to_string(today.year) +
                     ", outside the forecast years " + std::to_string(kFirstForecastYear) + "-" +
                     std::to_string(kLastForecastYear) + "; give --start MM.YYYY");
  return {today.year, today.month};
}

}  // namespace meridan
