#include "ephemeris/time_zone.h"

#include <cctz/civil_time.h>
#include <cctz/time_zone.h>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "ephemeris/calendar.h"

namespace meridan {
namespace {

using Instant = cctz::time_point<cctz::seconds>;

// 1970 January 1, 0:00 UT, where the zone files count from.
constexpr double kUnixEpochJulianDay = 25567.5;
// Instants well inside what the calendar and the zone library hold.
constexpr double kLargestDaysFromEpoch = 1e7;

// Whether a name can be an IANA zone: components of letters, digits and
// "_-+", none starting with a dot, joined by single slashes. The library
// would also open any path or "Fixed/..." name it is given, so a name a
// person typed is checked before it reaches the file system.
bool IsZoneName(std::string_view name) {
  if (name.empty() || name.size() > 64) return false;
  bool componentStart = true;
  for (const char c : name) {
    if (c == '/') {
      if (componentStart) return false;
      componentStart = true;
      continue;
    }
    const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    const bool other = (c >= '0' && c <= '9') || c == '_' || c == '-' || c == '+';
    if (!letter && !other) return false;
    componentStart = false;
  }
  return !componentStart;
}

// The zone of that name. Only that zone's file is read (the library keeps
// it for the process), so the first lookup costs one small file, not a walk
// of the whole database; a missing or unreadable file is a zone not found.
std::optional<cctz::time_zone> FindZone(std::string_view name) {
  if (!IsZoneName(name)) return std::nullopt;
  cctz::time_zone zone;
  if (!cctz::load_time_zone(std::string(name), &zone)) return std::nullopt;
  return zone;
}

// A UT instant as the engine's Julian day: through JulianDay itself, so that
// a moment equals the day the rest of the program computes for its date and
// time (noon is exactly the whole number).
double JulianDayOf(Instant instant) {
  const cctz::civil_second t = cctz::convert(instant, cctz::utc_time_zone());
  return JulianDay(t.day(), t.month(), static_cast<int>(t.year()), t.hour(), t.minute(),
                   t.second());
}

int RoundedMinutes(long long offsetSeconds) {
  return static_cast<int>(std::lround(static_cast<double>(offsetSeconds) / 60.0));
}

// The local time read at the moment the zone gives for it: the offset is
// whatever separates the two (the local mean times before the zones were set
// have seconds; the moment keeps them).
UtReading Reading(const cctz::civil_second& local, Instant instant) {
  const long long offset =
      (local - cctz::civil_second(1970, 1, 1)) - instant.time_since_epoch().count();
  return {JulianDayOf(instant), RoundedMinutes(offset)};
}

}  // namespace

UtMoment ToUniversalTime(const BirthMoment& moment) {
  const cctz::civil_second local(moment.date.year, moment.date.month, moment.date.day, moment.hour,
                                 moment.minute, 0);
  UtMoment result;
  if (moment.utcOffsetMinutes) {
    const Instant instant =
        cctz::convert(local, cctz::fixed_time_zone(cctz::seconds(*moment.utcOffsetMinutes * 60)));
    result.julianDay = JulianDayOf(instant);
    result.offsetMinutes = *moment.utcOffsetMinutes;
    return result;
  }
  const std::optional<cctz::time_zone> zone = FindZone(moment.zone);
  if (!zone) {
    result.status = MomentStatus::UnknownZone;
    return result;
  }
  const cctz::time_zone::civil_lookup found = zone->lookup(local);
  switch (found.kind) {
    case cctz::time_zone::civil_lookup::UNIQUE: {
      const UtReading reading = Reading(local, found.pre);
      result.julianDay = reading.julianDay;
      result.offsetMinutes = reading.offsetMinutes;
      return result;
    }
    case cctz::time_zone::civil_lookup::REPEATED:
      result.status = MomentStatus::Ambiguous;
      break;
    case cctz::time_zone::civil_lookup::SKIPPED:
      result.status = MomentStatus::Nonexistent;
      break;
  }
  // pre reads the time with the offset in force before the change, post
  // with the one after it.
  result.before = Reading(local, found.pre);
  result.after = Reading(local, found.post);
  return result;
}

bool ZoneExists(std::string_view zone) { return FindZone(zone).has_value(); }

std::optional<int> ZoneOffsetAt(std::string_view zone, double julianDayUt) {
  const double days = julianDayUt - kUnixEpochJulianDay;
  if (!(std::fabs(days) <= kLargestDaysFromEpoch)) return std::nullopt;
  const std::optional<cctz::time_zone> found = FindZone(zone);
  if (!found) return std::nullopt;
  const Instant instant{cctz::seconds{std::llround(days * 86400)}};
  return RoundedMinutes(found->lookup(instant).offset);
}

std::string FormatUtcOffset(int offsetMinutes) {
  const int magnitude = std::abs(offsetMinutes);
  char text[16];
  std::snprintf(text, sizeof text, "%c%02d:%02d", offsetMinutes < 0 ? '-' : '+', magnitude / 60,
                magnitude % 60);
  return text;
}

}  // namespace meridan
