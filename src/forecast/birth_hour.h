#pragma once
// What a reader's birth time and place make of the birth date: the moment
// of birth in UT when the time is known, else the hours the date spans on
// the clocks of the place. One reading for both programs; each says in its
// own words why a time is refused.

#include <optional>
#include <string>

#include "base/dates.h"
#include "ephemeris/time_zone.h"
#include "transits/natal.h"

namespace meridan {

// Where the clocks of a birth were set: a zone of the system's database, or
// an offset from UTC in minutes, which wins over the zone. Neither: UT.
struct BirthClock {
  std::string zone;
  std::optional<int> utcOffsetMinutes;
  bool given() const { return !zone.empty() || utcOffsetMinutes; }
};

struct BirthHourReading {
  // Ok, or why the time (or the zone) cannot be read: for a time the clocks
  // showed twice or never, `moment` holds the two readings to name.
  UtMoment moment;
  BirthHour hour;
  bool ok() const { return moment.status == MomentStatus::Ok; }
};

// The birth date exists (the birth years). Without a time the hour is
// unknown: the date from 00:00 to 24:00 on the place's clocks (in UT
// without a place; a midnight the clocks skipped or repeated is taken at
// its first instant).
BirthHourReading ReadBirthHour(Date date, const std::optional<ClockTime>& time,
                               const BirthClock& clock);

}  // namespace meridan
