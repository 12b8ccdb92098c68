// The reader's clock: the system's zone as TZ names it, moments on it with
// the offset of their day, and the clock named as readers say it.

#include "texts/reader_clock.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "base/cp1251.h"
#include "ephemeris/calendar.h"

namespace meridan {
namespace {

// TZ set for one test and put back after it.
class WithTz {
 public:
  explicit WithTz(const char* tz) {
    if (const char* old = std::getenv("TZ")) old_ = old;
    ::setenv("TZ", tz, 1);
  }
  ~WithTz() {
    if (old_)
      ::setenv("TZ", old_->c_str(), 1);
    else
      ::unsetenv("TZ");
  }
  WithTz(const WithTz&) = delete;
  WithTz& operator=(const WithTz&) = delete;

 private:
  std::optional<std::string> old_;
};

std::string Said(const ReaderClock& clock, double julianDay) {
  const ClockReading reading = ReadClock(clock, julianDay);
  return std::to_string(reading.date.day) + '.' + std::to_string(reading.date.month) + ' ' +
         Cp1251ToUtf8(ClockText(clock, reading));
}

TEST(ReaderClock, TheSystemsZoneMomentsOnItAndItsName) {
  // 9 February 2027, 21:30 UT; 1 July 2026, 12:00 UT.
  const double winter = JulianDay(9, 2, 2027, 21, 30, 0), summer = NoonJulianDay(1, 7, 2026);
  {
    const WithTz tz("Europe/Moscow");
    EXPECT_EQ(SystemClock().zone, "Europe/Moscow");
    EXPECT_EQ(Said(SystemClock(), winter), "10.2 в 00:30 по Москве");
  }
  {
    const WithTz tz(":Asia/Vladivostok");
    EXPECT_EQ(Said(SystemClock(), winter), "10.2 в 07:30 по Владивостоку");
  }
  {
    // Daylight saving counts; a zone readers do not name is told by offset.
    const WithTz tz("America/New_York");
    EXPECT_EQ(Said(SystemClock(), winter), "9.2 в 16:30 (UTC-5)");
    EXPECT_EQ(Said(SystemClock(), summer), "1.7 в 08:00 (UTC-4)");
  }
  {
    const WithTz tz("Asia/Kolkata");
    EXPECT_EQ(Said(SystemClock(), summer), "1.7 в 17:30 (UTC+5:30)");
  }
  {
    // A POSIX rule the database does not name: the C library reads it.
    const WithTz tz("XYZ-3");
    EXPECT_EQ(SystemClock().zone, "");
    EXPECT_EQ(Said(SystemClock(), winter), "10.2 в 00:30 (UTC+3)");
  }
  {
    const WithTz tz("Etc/UTC");
    EXPECT_EQ(Said(SystemClock(), winter), "9.2 в 21:30 (UTC)");
  }
}

}  // namespace
}  // namespace meridan
