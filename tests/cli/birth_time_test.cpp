// The birth time and place on the command line: the moment the chart is
// computed at, the times the clocks never showed or showed twice, and what
// a birth without a time says of its hours.
#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "base/cp1251.h"
#include "cli/commands.h"
#include "cli/run_meridan.h"
#include "support/scratch_program_dir.h"

namespace meridan {
namespace {

using testing::ScratchProgramDir;

using testing::Result;
using testing::RunMeridan;

std::string FirstLine(const std::string& text) { return text.substr(0, text.find('\n')); }
std::string AfterFirstLine(const std::string& text) { return text.substr(text.find('\n') + 1); }

// The chart at a moment is the positions of that moment: the first line
// names it, in UT, and the nine lines below are what positions --jd prints.
TEST(BirthTime, ChartAtTheMomentIsThePositionsOfThatMoment) {
  ScratchProgramDir dir;
  const std::string root = dir.root().string();
  const struct {
    std::vector<std::string> options;
    const char* moment;
    double julianDay;  // days since 1900 January 0.5
  } cases[] = {
      {{}, "# 20.05.1984 12:00 UT", 30821.0},
      {{"--utc-offset", "+05:00"}, "# 20.05.1984 12:00 UT", 30821.0},  // no time: noon UT
      {{"--time", "14:30", "--utc-offset", "+05:00"}, "# 20.05.1984 09:30 UT", 30821 - 2.5 / 24},
      // Sverdlovsk kept UTC+6 in the summer of 1984.
      {{"--time", "14:30", "--tz", "Asia/Yekaterinburg"},
       "# 20.05.1984 08:30 UT",
       30821 - 3.5 / 24},
      {{"--time", "14:30", "--place", "екатеринбург"}, "# 20.05.1984 08:30 UT", 30821 - 3.5 / 24},
      {{"--time", "0:05", "--utc-offset", "-03:00"},
       "# 20.05.1984 03:05 UT",
       30821 - (8 * 60 + 55) / 1440.0},
      // Past midnight UT: the moment falls on the day before.
      {{"--time", "02:00", "--tz", "Asia/Tokyo"}, "# 19.05.1984 17:00 UT", 30821 - 19 / 24.0},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args{"chart", "--birth", "20.05.1984", "--dir", root};
    args.insert(args.end(), c.options.begin(), c.options.end());
    const Result chart = RunMeridan(args);
    ASSERT_EQ(chart.status, 0) << chart.err;
    EXPECT_EQ(FirstLine(chart.out), c.moment);
    char jd[32];
    std::snprintf(jd, sizeof jd, "%.12f", c.julianDay);
    const Result positions = RunMeridan({"positions", "--jd", jd, "--dir", root});
    EXPECT_EQ(AfterFirstLine(chart.out), positions.out) << c.moment;
  }
}

TEST(BirthTime, WrongOrIncompleteIsAUsageError) {
  ScratchProgramDir dir;
  const std::string root = dir.root().string();
  const struct {
    std::vector<std::string> options;
    const char* says;
  } cases[] = {
      {{"--time", "14:30"}, "add the place (--place NAME)"},
      {{"--time", "24:00", "--utc-offset", "+03:00"}, "--time wants a time HH:MM"},
      {{"--time", "14.30", "--utc-offset", "+03:00"}, "--time wants a time HH:MM"},
      {{"--time", "14:3", "--utc-offset", "+03:00"}, "--time wants a time HH:MM"},
      {{"--utc-offset", "3"}, "--utc-offset wants an offset"},
      {{"--utc-offset", "+15:00"}, "--utc-offset wants an offset"},
      {{"--utc-offset", "+03:60"}, "--utc-offset wants an offset"},
      {{"--tz", "Europe/Atlantis"}, "no zone 'Europe/Atlantis'"},
      {{"--tz", "../../etc/passwd"}, "no zone"},
      {{"--place", "Екатеринбурх"},
       "no place is called 'Екатеринбурх'; the nearest names: Екатеринбург"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args{"chart", "--birth", "20.05.1984", "--dir", root};
    args.insert(args.end(), c.options.begin(), c.options.end());
    const Result r = RunMeridan(args);
    EXPECT_EQ(r.status, 2) << c.says;
    EXPECT_NE(FirstLine(r.err).find(c.says), std::string::npos) << r.err;
    EXPECT_TRUE(r.out.empty());
  }
}

// The hour the clocks went back is named with both its moments and how to
// pick one; the hour they skipped is said to be none; an explicit offset
// picks either moment of a repeated hour (and is taken as given for a
// skipped one).
TEST(BirthTime, RepeatedAndSkippedHoursAreRefused) {
  ScratchProgramDir dir;
  const std::string root = dir.root().string();
  const auto chart = [&](const char* birth, const char* time, std::vector<std::string> more) {
    std::vector<std::string> args{"chart", "--birth", birth, "--time", time, "--dir", root};
    args.insert(args.end(), more.begin(), more.end());
    return RunMeridan(args);
  };
  const Result repeated = chart("26.10.2014", "01:30", {"--tz", "Europe/Moscow"});
  EXPECT_EQ(repeated.status, 2);
  EXPECT_EQ(FirstLine(repeated.err),
            "meridan chart: --time 01:30 on 26.10.2014 happened twice in Europe/Moscow: the "
            "clocks went back and showed it first at 25.10.2014 21:30 UT (UTC+04:00), then at "
            "25.10.2014 22:30 UT (UTC+03:00); add --utc-offset +04:00 for the first or "
            "--utc-offset +03:00 for the second");
  const Result skipped = chart("27.03.2011", "02:30", {"--tz", "Europe/Moscow"});
  EXPECT_EQ(skipped.status, 2);
  EXPECT_EQ(FirstLine(skipped.err),
            "meridan chart: --time 02:30 on 27.03.2011 never happened in Europe/Moscow: the "
            "clocks went forward from UTC+03:00 to UTC+04:00 and skipped it; check the time, or "
            "give the offset the clocks kept with --utc-offset");
  const Result first =
      chart("26.10.2014", "01:30", {"--tz", "Europe/Moscow", "--utc-offset", "+04:00"});
  EXPECT_EQ(FirstLine(first.out), "# 25.10.2014 21:30 UT") << first.err;
  const Result second =
      chart("26.10.2014", "01:30", {"--tz", "Europe/Moscow", "--utc-offset", "+03:00"});
  EXPECT_EQ(FirstLine(second.out), "# 25.10.2014 22:30 UT") << second.err;
}

// Without a time each influence ends with its possible window and whether
// every birth hour has it; with a time the three fields are "-".
TEST(BirthTime, InfluencesSayHowFarTheDaysHangOnTheHour) {
  ScratchProgramDir dir;
  const std::string root = dir.root().string();
  const std::vector<std::string> query{"influences", "--kind",  "trips", "--birth", "20.05.1984",
                                       "--start",    "05.2025", "--dir", root};
  const auto lines = [](const std::string& out) {
    std::vector<std::vector<std::string>> rows;
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);) {
      std::vector<std::string> fields(1);
      for (const char c : line)
        if (c == '\t')
          fields.emplace_back();
        else
          fields.back() += c;
      rows.push_back(fields);
    }
    return rows;
  };
  const auto dayNumber = [](const std::string& text) {  // DD.MM.YYYY, sortable
    return std::stoi(text.substr(6, 4)) * 10000 + std::stoi(text.substr(3, 2)) * 100 +
           std::stoi(text.substr(0, 2));
  };
  const Result unknown = RunMeridan(query);
  ASSERT_EQ(unknown.status, 0) << unknown.err;
  int wider = 0;
  for (const auto& fields : lines(unknown.out)) {
    ASSERT_EQ(fields.size(), 11u);
    EXPECT_LE(dayNumber(fields[8]), dayNumber(fields[0]));
    EXPECT_GE(dayNumber(fields[9]), dayNumber(fields[1]));
    EXPECT_TRUE(fields[10] == "sure" || fields[10] == "maybe") << fields[10];
    wider += fields[8] != fields[0] || fields[9] != fields[1];
  }
  EXPECT_GT(wider, 10);

  std::vector<std::string> timed = query;
  timed.insert(timed.end(), {"--time", "14:30", "--tz", "Asia/Yekaterinburg"});
  const Result known = RunMeridan(timed);
  ASSERT_EQ(known.status, 0) << known.err;
  for (const auto& fields : lines(known.out)) {
    ASSERT_EQ(fields.size(), 11u);
    EXPECT_EQ(fields[8] + fields[9] + fields[10], "---");
  }
  EXPECT_NE(known.out, unknown.out);
}

// A place or zone without a time changes nothing of the pages: the chart
// stays at noon UT.
TEST(BirthTime, WithoutATimeTheForecastIsAsBefore) {
  ScratchProgramDir plain, placed;
  const auto forecast = [](const ScratchProgramDir& dir, std::vector<std::string> more) {
    std::vector<std::string> args{"forecast",         "--kind",     "trips",   "--name",  "Иван",
                                  "--birth",          "20.05.1984", "--start", "05.2025", "--dir",
                                  dir.root().string()};
    args.insert(args.end(), more.begin(), more.end());
    return RunMeridan(args);
  };
  ASSERT_EQ(forecast(plain, {}).status, 0);
  ASSERT_EQ(forecast(placed, {"--tz", "Asia/Yekaterinburg"}).status, 0);
  // With a time the page's birth line carries it and the place.
  ASSERT_EQ(forecast(placed, {"--time", "14:30", "--place", "Екатеринбург"}).status, 0);
  EXPECT_NE(testing::ReadFile(placed.output() / "Prog_06_2025.html")
                .find(Utf8ToCp1251("<h3> Дата рождения: 20 мая 1984г., 14:30, Екатеринбург </h3>")),
            std::string::npos);
  ASSERT_EQ(forecast(placed, {"--tz", "Asia/Yekaterinburg"}).status, 0);
  for (const char* page : {"Prog_05_2025.html", "Prog_06_2025.html", "Prog_07_2025.html",
                           "Prog_08_2025.html", "Prog_05_2025.jpeg", "Prog_08_2025.jpeg"})
    EXPECT_EQ(testing::ReadFile(plain.output() / page), testing::ReadFile(placed.output() / page))
        << page;
}

}  // namespace
}  // namespace meridan
