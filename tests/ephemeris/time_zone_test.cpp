#include "ephemeris/time_zone.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "ephemeris/calendar.h"

namespace meridan {
namespace {

struct ZoneCase {
  const char* zone;
  int day, month, year, hour, minute;            // on the local clocks
  int utDay, utMonth, utYear, utHour, utMinute;  // the same moment in UT
  int offsetMinutes;
};

// Read off `zdump -v ZONE` (tzdata 2025b, Debian 12), independently of the
// zone library: each zone's offset either side of its changes, in summer
// and in winter, and the first and last minutes around a change.
constexpr ZoneCase kCases[] = {
    // Moscow: no summer time before 1981; the summer of 1981 at +4.
    {"Europe/Moscow", 15, 6, 1980, 12, 0, 15, 6, 1980, 9, 0, 180},
    {"Europe/Moscow", 15, 7, 1981, 12, 0, 15, 7, 1981, 8, 0, 240},
    {"Europe/Moscow", 15, 1, 1982, 12, 0, 15, 1, 1982, 9, 0, 180},
    // 1991: summer at +3, the winter at +2 (EET) until 19.01.1992.
    {"Europe/Moscow", 15, 7, 1991, 12, 0, 15, 7, 1991, 9, 0, 180},
    {"Europe/Moscow", 15, 12, 1991, 12, 0, 15, 12, 1991, 10, 0, 120},
    {"Europe/Moscow", 15, 7, 2010, 12, 0, 15, 7, 2010, 8, 0, 240},
    // 27.03.2011: summer time for good, +4 all year round until 26.10.2014.
    {"Europe/Moscow", 27, 3, 2011, 1, 59, 26, 3, 2011, 22, 59, 180},
    {"Europe/Moscow", 27, 3, 2011, 3, 0, 26, 3, 2011, 23, 0, 240},
    {"Europe/Moscow", 15, 1, 2012, 12, 0, 15, 1, 2012, 8, 0, 240},
    {"Europe/Moscow", 26, 10, 2014, 0, 59, 25, 10, 2014, 20, 59, 240},
    {"Europe/Moscow", 26, 10, 2014, 2, 0, 25, 10, 2014, 23, 0, 180},
    {"Europe/Moscow", 15, 1, 2015, 12, 0, 15, 1, 2015, 9, 0, 180},
    // Samara: +4 summer 1989, Moscow time from 1989 to 1991, +4 again from
    // 20.10.1991; Moscow time in the winter of 2010/11, +4 since 27.03.2011.
    {"Europe/Samara", 15, 7, 1989, 12, 0, 15, 7, 1989, 8, 0, 240},
    {"Europe/Samara", 15, 1, 1990, 12, 0, 15, 1, 1990, 9, 0, 180},
    {"Europe/Samara", 15, 7, 1991, 12, 0, 15, 7, 1991, 9, 0, 180},
    {"Europe/Samara", 15, 11, 1991, 12, 0, 15, 11, 1991, 8, 0, 240},
    {"Europe/Samara", 15, 7, 2010, 12, 0, 15, 7, 2010, 8, 0, 240},
    {"Europe/Samara", 15, 1, 2011, 12, 0, 15, 1, 2011, 9, 0, 180},
    {"Europe/Samara", 15, 7, 2011, 12, 0, 15, 7, 2011, 8, 0, 240},
    // Kaliningrad: EET with summer time, +3 from 2011, +2 since 26.10.2014.
    {"Europe/Kaliningrad", 15, 7, 1991, 12, 0, 15, 7, 1991, 9, 0, 180},
    {"Europe/Kaliningrad", 15, 1, 1991, 12, 0, 15, 1, 1991, 10, 0, 120},
    {"Europe/Kaliningrad", 15, 7, 2012, 12, 0, 15, 7, 2012, 9, 0, 180},
    {"Europe/Kaliningrad", 15, 1, 2015, 12, 0, 15, 1, 2015, 10, 0, 120},
    // Volgograd: +4 from 28.10.2018 to 27.12.2020.
    {"Europe/Volgograd", 15, 7, 2018, 12, 0, 15, 7, 2018, 9, 0, 180},
    {"Europe/Volgograd", 15, 7, 2019, 12, 0, 15, 7, 2019, 8, 0, 240},
    {"Europe/Volgograd", 15, 1, 2021, 12, 0, 15, 1, 2021, 9, 0, 180},
    // Novosibirsk: +6 from 2014, +7 since 24.07.2016; the UT date is the day before.
    {"Asia/Novosibirsk", 15, 1, 2016, 1, 0, 14, 1, 2016, 19, 0, 360},
    {"Asia/Novosibirsk", 15, 1, 2017, 1, 0, 14, 1, 2017, 18, 0, 420},
    // Kyiv: Moscow time until 1990, EET and EEST since.
    {"Europe/Kyiv", 15, 1, 1990, 12, 0, 15, 1, 1990, 9, 0, 180},
    {"Europe/Kyiv", 15, 8, 1990, 12, 0, 15, 8, 1990, 9, 0, 180},
    {"Europe/Kyiv", 15, 1, 2005, 12, 0, 15, 1, 2005, 10, 0, 120},
    {"Europe/Kyiv", 15, 7, 2005, 12, 0, 15, 7, 2005, 9, 0, 180},
    // Chisinau.
    {"Europe/Chisinau", 15, 1, 2008, 12, 0, 15, 1, 2008, 10, 0, 120},
    {"Europe/Chisinau", 15, 7, 2008, 12, 0, 15, 7, 2008, 9, 0, 180},
    // Almaty: summer time until 2004, +6 until 01.03.2024, +5 since.
    {"Asia/Almaty", 15, 7, 2004, 12, 0, 15, 7, 2004, 5, 0, 420},
    {"Asia/Almaty", 15, 1, 2024, 12, 0, 15, 1, 2024, 6, 0, 360},
    {"Asia/Almaty", 15, 3, 2024, 12, 0, 15, 3, 2024, 7, 0, 300},
    // Berlin and New York (the United States moved their summer time in 2007).
    {"Europe/Berlin", 15, 1, 1980, 12, 0, 15, 1, 1980, 11, 0, 60},
    {"Europe/Berlin", 15, 7, 1980, 12, 0, 15, 7, 1980, 10, 0, 120},
    {"Europe/Berlin", 15, 7, 2023, 23, 30, 15, 7, 2023, 21, 30, 120},
    {"America/New_York", 15, 3, 2006, 12, 0, 15, 3, 2006, 17, 0, -300},
    {"America/New_York", 15, 3, 2007, 12, 0, 15, 3, 2007, 16, 0, -240},
    {"America/New_York", 1, 11, 2006, 21, 0, 2, 11, 2006, 2, 0, -300},
    {"America/New_York", 1, 11, 2007, 21, 0, 2, 11, 2007, 1, 0, -240},
};

std::string Describe(const ZoneCase& c) {
  char text[80];
  std::snprintf(text, sizeof text, "%s %02d.%02d.%04d %02d:%02d", c.zone, c.day, c.month, c.year,
                c.hour, c.minute);
  return text;
}

TEST(TimeZone, LocalTimeBecomesTheMomentInUniversalTime) {
  for (const ZoneCase& c : kCases) {
    SCOPED_TRACE(Describe(c));
    const UtMoment moment =
        ToUniversalTime({{c.day, c.month, c.year}, c.hour, c.minute, c.zone, std::nullopt});
    ASSERT_EQ(moment.status, MomentStatus::Ok);
    EXPECT_EQ(moment.julianDay, JulianDay(c.utDay, c.utMonth, c.utYear, c.utHour, c.utMinute, 0));
    EXPECT_EQ(moment.offsetMinutes, c.offsetMinutes);
    // And back: the zone's offset at that moment is the one used.
    EXPECT_EQ(ZoneOffsetAt(c.zone, moment.julianDay), c.offsetMinutes);
  }
}

TEST(TimeZone, NoonUniversalTimeIsTheWholeJulianDay) {
  const UtMoment moment = ToUniversalTime({{20, 5, 1984}, 12, 0, "Etc/UTC", std::nullopt});
  ASSERT_EQ(moment.status, MomentStatus::Ok);
  EXPECT_EQ(moment.julianDay, 30821.0);
}

TEST(TimeZone, RepeatedHourIsRefusedWithBothMoments) {
  // 26.10.2014 in Moscow: 01:00 to 02:00 came twice, at +4 and then at +3.
  const UtMoment moment = ToUniversalTime({{26, 10, 2014}, 1, 30, "Europe/Moscow", std::nullopt});
  ASSERT_EQ(moment.status, MomentStatus::Ambiguous);
  EXPECT_EQ(moment.before.julianDay, JulianDay(25, 10, 2014, 21, 30, 0));
  EXPECT_EQ(moment.before.offsetMinutes, 240);
  EXPECT_EQ(moment.after.julianDay, JulianDay(25, 10, 2014, 22, 30, 0));
  EXPECT_EQ(moment.after.offsetMinutes, 180);
}

TEST(TimeZone, SkippedHourIsRefused) {
  // 27.03.2011 in Moscow: the clocks went from 02:00 straight to 03:00.
  const UtMoment moment = ToUniversalTime({{27, 3, 2011}, 2, 30, "Europe/Moscow", std::nullopt});
  ASSERT_EQ(moment.status, MomentStatus::Nonexistent);
  EXPECT_EQ(moment.before.offsetMinutes, 180);
  EXPECT_EQ(moment.after.offsetMinutes, 240);
}

TEST(TimeZone, ExplicitOffsetWinsOverTheZone) {
  // The repeated hour, read at +3 as the reader says; and a zone the
  // database has never heard of does not matter either.
  for (const char* zone : {"Europe/Moscow", "Nowhere/Atlantis", ""}) {
    SCOPED_TRACE(zone);
    const UtMoment moment = ToUniversalTime({{26, 10, 2014}, 1, 30, zone, 180});
    ASSERT_EQ(moment.status, MomentStatus::Ok);
    EXPECT_EQ(moment.julianDay, JulianDay(25, 10, 2014, 22, 30, 0));
    EXPECT_EQ(moment.offsetMinutes, 180);
  }
  // Yekaterinburg in the summer of 1984 was at +6; an offset of +05:45
  // (Kathmandu) keeps its minutes.
  EXPECT_EQ(ToUniversalTime({{20, 5, 1984}, 14, 30, "Asia/Yekaterinburg", 345}).julianDay,
            JulianDay(20, 5, 1984, 8, 45, 0));
}

TEST(TimeZone, UnknownZones) {
  for (const char* zone :
       {"Europe/Atlantis", "", "europe/moscow", "Europe/Moscow/", "../etc/passwd", "/etc/localtime",
        "Europe/../Europe/Moscow", "Fixed/UTC+03:00:00", "Europe", "zone.tab"}) {
    SCOPED_TRACE(zone);
    EXPECT_FALSE(ZoneExists(zone));
    EXPECT_EQ(ToUniversalTime({{1, 1, 2000}, 12, 0, zone, std::nullopt}).status,
              MomentStatus::UnknownZone);
    EXPECT_EQ(ZoneOffsetAt(zone, 36525.0), std::nullopt);
  }
  EXPECT_TRUE(ZoneExists("Europe/Moscow"));
  EXPECT_TRUE(ZoneExists("UTC"));
}

TEST(TimeZone, OffsetAtAnInstantBeyondTheCalendarIsNone) {
  EXPECT_EQ(ZoneOffsetAt("Europe/Moscow", 1e300), std::nullopt);
  EXPECT_EQ(ZoneOffsetAt("Europe/Moscow", std::nan("")), std::nullopt);
}

TEST(TimeZone, OffsetsAsPeopleWriteThem) {
  EXPECT_EQ(FormatUtcOffset(180), "+03:00");
  EXPECT_EQ(FormatUtcOffset(0), "+00:00");
  EXPECT_EQ(FormatUtcOffset(-300), "-05:00");
  EXPECT_EQ(FormatUtcOffset(345), "+05:45");
  EXPECT_EQ(FormatUtcOffset(-570), "-09:30");
}

}  // namespace
}  // namespace meridan
