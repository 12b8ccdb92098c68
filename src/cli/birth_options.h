#pragma once
// The options that tell a birth beside its date: --time HH:MM on the clocks
// of the birth place, which the place (--place NAME, from the place list),
// a zone (--tz ZONE, an IANA name) or an offset (--utc-offset +-HH:MM,
// which wins over both) puts in UT. Without a time the hour is unknown and
// the place tells which hours the birth date spans.

#include <optional>
#include <string>
#include <vector>

#include "base/dates.h"
#include "cli/arguments.h"
#include "transits/natal.h"

namespace meridan {

// The names of the options, --birth first, for a command's list.
inline const std::vector<std::string> kBirthOptions = {"--birth", "--time", "--place", "--tz",
                                                       "--utc-offset"};

// A command's list of options with the birth options added.
std::vector<std::string> WithBirthOptions(std::vector<std::string> options);

struct BirthOptions {
  Date date;
  BirthHour hour;
  std::optional<ClockTime> time;
  std::string place;  // UTF-8, as the place list names it; empty without --place
};

// Reads --birth and the options above. Throws UsageError for a malformed
// value, a time without a place, zone or offset, an unknown place or zone,
// and a time that the clocks of the place showed twice or never.
BirthOptions ReadBirthOptions(const Options& options);

// "+05:00" as minutes east of Greenwich (-12:00 to +14:00).
int ParseUtcOffset(const std::string& option, const std::string& text);

// "14:30" (or "9:05"): hour 0-23, minute 00-59.
ClockTime ParseClockTime(const std::string& option, const std::string& text);

}  // namespace meridan
