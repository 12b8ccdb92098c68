#pragma once
// Local clock time at a place -> the moment in Universal Time, through the
// system's IANA time zone database (/usr/share/zoneinfo, read by Google's
// CCTZ): daylight saving and every historical change of a zone count, the
// Soviet decree time and the Russian regions' moves included.
//
// A person's mistakes (a zone that does not exist, an hour the clocks
// repeated or skipped) are results, never exceptions.

#include <optional>
#include <string>
#include <string_view>

#include "base/dates.h"

namespace meridan {

// A moment as a person gives it: the date and time on the clocks of the
// birth place, and either the place's zone or the UTC offset in force there.
// The date is a Gregorian day that exists (the birth years); the hour is
// 0..23 and the minute 0..59.
struct BirthMoment {
  Date date;
  int hour = 0;
  int minute = 0;
  std::string zone;  // an IANA name, "Europe/Moscow"
  // Minutes east of Greenwich (+300 for +05:00). When set it wins over the
  // zone, which is then not looked at: it is how a reader corrects a zone
  // the database has wrong for their town and year (it is reliable from
  // 1970; before, some Soviet regions' clocks differ from their zone's).
  std::optional<int> utcOffsetMinutes;
};

enum class MomentStatus {
  Ok,           // julianDay and offsetMinutes hold the moment
  UnknownZone,  // no such zone in the database (and no explicit offset)
  Ambiguous,    // the clocks showed this time twice: see before and after
  Nonexistent,  // the clocks skipped this time: see before and after
};

// One reading of a local time: the moment in UT and the offset that gives
// it. Offsets are in minutes east of Greenwich, rounded to the minute (the
// local mean times before the zones were set have seconds; the moment keeps
// them).
struct UtReading {
  double julianDay = 0;  // Julian day as calendar.h counts them (12:00 UT whole)
  int offsetMinutes = 0;
};

struct UtMoment {
  MomentStatus status = MomentStatus::Ok;
  // Ok: the moment and the offset used.
  double julianDay = 0;
  int offsetMinutes = 0;
  // Ambiguous and Nonexistent: the local time read with the offset in force
  // before the change and with the one after it. For a repeated hour these
  // are the two moments it names, before.julianDay < after.julianDay (an
  // explicit offset picks one); for a skipped hour neither moment showed
  // that time on the clocks, and the two offsets say how the clocks jumped.
  UtReading before;
  UtReading after;
};

UtMoment ToUniversalTime(const BirthMoment& moment);

// Whether the database has a zone of this name (links such as
// "Europe/Kiev" included).
bool ZoneExists(std::string_view zone);

// The zone's offset from UTC in minutes at an instant given as a Julian day
// in UT; nullopt for an unknown zone or an instant beyond the calendar.
std::optional<int> ZoneOffsetAt(std::string_view zone, double julianDayUt);

// "+03:00", "-05:00", "+05:45": an offset as people write it.
std::string FormatUtcOffset(int offsetMinutes);

}  // namespace meridan
