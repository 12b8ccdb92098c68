#pragma once
// The reader's own clock: the time zone of the system the forecast is read
// on, in which the digest and the calendar give exact moments ("2 августа в
// 08:34 по Москве"), rather than in Universal Time, which few readers keep.

#include <string>

#include "base/dates.h"

namespace meridan {

struct ReaderClock {
  // A zone of the system's database, "Europe/Moscow"; empty when the
  // system's local time has no such name (a POSIX rule in TZ), and the C
  // library's local time is read instead.
  std::string zone;
};

// The system's clock: TZ when it is set (":Europe/Moscow" as well), else
// the zone /etc/localtime links to, else /etc/timezone's.
ReaderClock SystemClock();

// An instant on the reader's clock, with the offset from UTC in force then.
struct ClockReading {
  Date date;
  int hour = 0;
  int minute = 0;
  int offsetMinutes = 0;  // east of Greenwich
};
ClockReading ReadClock(const ReaderClock& clock, double julianDayUt);

// "в 08:34 по Москве" where the zone has a name readers say, else "в 08:34
// (UTC+3)", "в 08:34 (UTC+5:30)" (Windows-1251): ClockHour's words, a blank,
// ClockZone's.
std::string ClockText(const ReaderClock& clock, const ClockReading& reading);
std::string ClockHour(const ClockReading& reading);                            // "в 08:34"
std::string ClockZone(const ReaderClock& clock, const ClockReading& reading);  // "по Москве"

}  // namespace meridan
