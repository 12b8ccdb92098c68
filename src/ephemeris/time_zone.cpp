#include "ephemeris/time_zone.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <date/tz.h>
#include <exception>

#include "ephemeris/calendar.h"

namespace meridan {
namespace {

using std::chrono::hours;
using std::chrono::minutes;
using std::chrono::seconds;

// 1970 January 1, 0:00 UT, where the zone database counts from.
constexpr double kUnixEpochJulianDay = 25567.5;
// Instants the date library's years (-32767..32767) hold, with room to spare.
constexpr double kLargestDaysFromEpoch = 1e7;

// The zone of that name, or null. The database is read on first use (the
// library keeps it for the process); a missing or unreadable zoneinfo
// directory is a zone not found, not a crash.
const date::time_zone* FindZone(std::string_view name) {
  try {
    const auto& zones = date::get_tzdb().zones;
    // Links are zones of their own in the system's database, and the list
    // is sorted by name.
    const auto it = std::lower_bound(
        zones.begin(), zones.end(), name,
        [](const date::time_zone& zone, std::string_view n) { return zone.name() < n; });
    return it != zones.end() && it->name() == name ? &*it : nullptr;
  } catch (const std::exception&) {
    return nullptr;
  }
}

// A UT instant as the engine's Julian day: through JulianDay itself, so that
// a moment equals the day the rest of the program computes for its date and
// time (noon is exactly the whole number).
double JulianDayOf(date::sys_seconds instant) {
  const auto day = date::floor<date::days>(instant);
  const date::year_month_day ymd{day};
  const date::hh_mm_ss<seconds> time{instant - day};
  return JulianDay(static_cast<int>(static_cast<unsigned>(ymd.day())),
                   static_cast<int>(static_cast<unsigned>(ymd.month())),
                   static_cast<int>(ymd.year()), static_cast<int>(time.hours().count()),
                   static_cast<int>(time.minutes().count()),
                   static_cast<int>(time.seconds().count()));
}

int RoundedMinutes(seconds offset) {
  return static_cast<int>(date::round<minutes>(offset).count());
}

UtReading Reading(date::local_seconds local, seconds offset) {
  return {JulianDayOf(date::sys_seconds{local.time_since_epoch() - offset}),
          RoundedMinutes(offset)};
}

}  // namespace

UtMoment ToUniversalTime(const BirthMoment& moment) {
  const date::local_seconds local =
      date::local_days{date::year{moment.date.year} / moment.date.month / moment.date.day} +
      hours{moment.hour} + minutes{moment.minute};
  UtMoment result;
  if (moment.utcOffsetMinutes) {
    const UtReading reading = Reading(local, minutes{*moment.utcOffsetMinutes});
    result.julianDay = reading.julianDay;
    result.offsetMinutes = reading.offsetMinutes;
    return result;
  }
  const date::time_zone* zone = FindZone(moment.zone);
  if (zone == nullptr) {
    result.status = MomentStatus::UnknownZone;
    return result;
  }
  date::local_info info;
  try {
    info = zone->get_info(local);
  } catch (const std::exception&) {  // the zone's file went unreadable
    result.status = MomentStatus::UnknownZone;
    return result;
  }
  switch (info.result) {
    case date::local_info::unique: {
      const UtReading reading = Reading(local, info.first.offset);
      result.julianDay = reading.julianDay;
      result.offsetMinutes = reading.offsetMinutes;
      return result;
    }
    case date::local_info::ambiguous:
      result.status = MomentStatus::Ambiguous;
      break;
    case date::local_info::nonexistent:
      result.status = MomentStatus::Nonexistent;
      break;
  }
  result.before = Reading(local, info.first.offset);
  result.after = Reading(local, info.second.offset);
  return result;
}

bool ZoneExists(std::string_view zone) { return FindZone(zone) != nullptr; }

std::optional<int> ZoneOffsetAt(std::string_view zone, double julianDayUt) {
  const double days = julianDayUt - kUnixEpochJulianDay;
  if (!(std::fabs(days) <= kLargestDaysFromEpoch)) return std::nullopt;
  const date::time_zone* found = FindZone(zone);
  if (found == nullptr) return std::nullopt;
  const date::sys_seconds instant{seconds{std::llround(days * 86400)}};
  try {
    return RoundedMinutes(found->get_info(instant).offset);
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

std::string FormatUtcOffset(int offsetMinutes) {
  const int magnitude = std::abs(offsetMinutes);
  char text[16];
  std::snprintf(text, sizeof text, "%c%02d:%02d", offsetMinutes < 0 ? '-' : '+', magnitude / 60,
                magnitude % 60);
  return text;
}

}  // namespace meridan
