#include "forecast/birth_hour.h"

#include "ephemeris/calendar.h"

namespace meridan {
namespace {

UtMoment Read(Date date, ClockTime time, const BirthClock& clock) {
  return ToUniversalTime({date, time.hour, time.minute, clock.zone, clock.utcOffsetMinutes});
}

// The first instant on which the place's clocks showed the date.
std::optional<double> DayStart(Date date, const BirthClock& clock, UtMoment& reading) {
  reading = Read(date, {0, 0}, clock);
  switch (reading.status) {
    case MomentStatus::Ok:
      return reading.julianDay;
    case MomentStatus::Ambiguous:    // the first of the two midnights
    case MomentStatus::Nonexistent:  // the instant the clocks jumped past it
      return reading.before.julianDay;
    case MomentStatus::UnknownZone:
      break;
  }
  return std::nullopt;
}

}  // namespace

BirthHourReading ReadBirthHour(Date date, const std::optional<ClockTime>& time,
                               const BirthClock& clock) {
  BirthHourReading reading;
  if (time) {
    reading.moment = Read(date, *time, clock);
    if (reading.ok()) reading.hour.moment = reading.moment.julianDay;
    return reading;
  }
  if (!clock.given()) return reading;
  const double noon = NoonJulianDay(date.day, date.month, date.year);
  UtMoment first, next;
  const auto start = DayStart(date, clock, first);
  const auto end = DayStart(DateOf(noon + 1), clock, next);
  if (!start || !end) {
    reading.moment = first;
    return reading;
  }
  reading.hour.fromHour = (*start - (noon - 0.5)) * 24;
  reading.hour.toHour = (*end - (noon - 0.5)) * 24;
  return reading;
}

}  // namespace meridan
