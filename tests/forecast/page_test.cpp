// The month pages as a forecast writes them: the three kinds byte for byte,
// and what of a page comes from where.
#include "output/pages/page.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "base/cp1251.h"
#include "forecast/forecast.h"
#include "support/scratch_program_dir.h"
#include "transits/aspects.h"

namespace meridan {
namespace {

namespace fs = std::filesystem;
using testing::ReadFile;
using testing::ScratchProgramDir;
using testing::WriteFile;

std::string Header(int t, int a, int n, int code) {
  char line[32];
  std::snprintf(line, sizeof line, "* %03d %03d %03d %03d\r\n", t, a, n, code);
  return line;
}

// Records for every combination; a text is long enough to print when
// printable(t, a, n) says so. Ratings alternate between kinds of bar.
template <typename Printable>
std::string InterpretationText(Printable printable) {
  std::string file;
  for (const int t : kTransitBodies)
    for (const int a : kAspectAngles)
      for (const int n : kComputedBodies) {
        const int code = (t * 7 + a / 30 + n) % 4 == 0 ? 103 : (n % 5) + 1;
        file += Header(t, a, n, code);
        std::string text =
            W("Текст ") + std::to_string(t) + "-" + std::to_string(a) + "-" + std::to_string(n);
        if (printable(t, a, n))
          text += W(": долгая дорога, внимательность и спокойствие за рулём.");
        file += text + "@\r\n";
      }
  return file;
}

// A program directory with small furniture files and a complete
// interpretation file for each kind.
struct PageDir : ScratchProgramDir {
  PageDir() : ScratchProgramDir(true) {
    WriteFile(system() / "style.dat", "<style>\r\nbody { font-family: Arial; }\r\n</style>\r\n");
    WriteFile(system() / "help_go.dat", W("<p>Справка о поездках.</p>\r\n"));
    WriteFile(system() / "help_servis.dat", W("<p>Справка о сервисе.</p>\r\n"));
    WriteFile(system() / "help_sale.dat", W("<p>Справка о покупке.</p>\r\n"));
    const std::string all = InterpretationText([](int, int, int) { return true; });
    for (const char* file : {"go.dat", "servis.dat", "sale.dat"}) WriteFile(system() / file, all);
  }

  // The page of the month from a forecast that starts at the start month
  // (the month among its four).
  fs::path Write(ForecastKind kind, const Cp1251Html& name, int birthDay, int birthMonth,
                 int birthYear, int month, int year, int startMonth, int startYear) {
    return Run(kind, name, {birthDay, birthMonth, birthYear}, {year, month},
               {startYear, startMonth})
        .page;
  }
  MonthForecast Run(ForecastKind kind, const Cp1251Html& name, Date birth, YearMonth month,
                    YearMonth start) {
    ForecastContext context(root());
    ForecastResult result = RunForecast(context, {kind, name, birth, start});
    for (MonthForecast& m : result.months)
      if (m.month == month) return std::move(m);
    ADD_FAILURE() << "the month is not among the forecast's four";
    return {};
  }
};

std::vector<std::string> Lines(const std::string& page) {
  std::vector<std::string> lines;
  size_t pos = 0;
  while (pos < page.size()) {
    const size_t end = page.find("\r\n", pos);
    EXPECT_NE(end, std::string::npos) << "every line ends in CR LF";
    if (end == std::string::npos) break;
    lines.push_back(page.substr(pos, end - pos));
    pos = end + 2;
  }
  return lines;
}

// Whole pages of the three kinds, byte for byte (tests/golden/page_*.html).
TEST(MonthPage, GoldenPagesOfTheThreeKinds) {
  PageDir dir;
  const struct {
    ForecastKind kind;
    const char* golden;
  } kinds[] = {{ForecastKind::Trips, "page_trips.html"},
               {ForecastKind::Service, "page_service.html"},
               {ForecastKind::Sale, "page_sale.html"}};
  for (const auto& k : kinds) {
    const fs::path page = dir.Write(k.kind, NameForPage("Иван"), 20, 5, 1984, 5, 2025, 5, 2025);
    EXPECT_EQ(page, dir.output() / "Prog_05_2025.html");
    const std::string diff = testing::CompareWithGolden(k.golden, ReadFile(page));
    EXPECT_TRUE(diff.empty()) << diff;
  }
}

TEST(MonthPage, NavigationWrapsIntoTheNextYear) {
  PageDir dir;
  const std::string page =
      ReadFile(dir.Write(ForecastKind::Trips, {}, 1, 1, 1990, 2, 2026, 11, 2025));
  size_t at = 0;
  for (const char* expected :
       {"Prog_11_2025.html", "Prog_12_2025.html", "Prog_01_2026.html", "Prog_02_2026.html"}) {
    at = page.find(std::string("<a href=\"") + expected + "\">", at);
    EXPECT_NE(at, std::string::npos) << expected;
  }
  at = 0;
  for (const char* label : {"Ноябрь 2025", "Декабрь 2025", "Январь 2026", "Февраль 2026"}) {
    at = page.find("&nbsp;" + W(label) + "</font></b></a>", at);
    EXPECT_NE(at, std::string::npos) << label;
  }
  // Without a name the title ends after "для Вас", with no comma left over.
  EXPECT_NE(page.find(W("<h1>Авто-прогноз на февраль 2026 года для Вас</h1>\r\n")),
            std::string::npos);
  EXPECT_NE(page.find(W("<h3> Дата рождения: 1 января 1990г. </h3>\r\n")), std::string::npos);
}

TEST(MonthPage, LeapFebruaryHasTwentyNineDays) {
  PageDir dir;
  const MonthForecast month =
      dir.Run(ForecastKind::Service, {}, {20, 5, 1984}, {2024, 2}, {2024, 2});
  const std::string page = ReadFile(month.page);
  const MonthScan& scan = month.scan;
  ASSERT_EQ(scan.length, 29);
  for (int d = 1; d <= 29; ++d) {
    const bool heading =
        page.find(W("<b>Прогноз на ") + std::to_string(d) + W(" февраля</b>")) != std::string::npos;
    EXPECT_EQ(heading, scan.days[static_cast<size_t>(d - 1)].hasText) << "day " << d;
  }
  EXPECT_TRUE(scan.days[28].hasText || !scan.days[28].hits.empty());
}

// A day with at least three hits where only the second one prints: the
// heading, an empty line, the fragment, an empty line.
TEST(MonthPage, UnprintedHitsLeaveEmptyLines) {
  PageDir dir;
  const MonthScan scan = dir.Run(ForecastKind::Trips, {}, {20, 5, 1984}, {2025, 5}, {2025, 5}).scan;
  const DayList* chosen = nullptr;
  for (const DayList& day : scan.days)
    if (day.hits.size() == 3) chosen = &day;
  ASSERT_NE(chosen, nullptr) << "May 2025 has a day with three hits for this birth date";
  const TransitHit& second = chosen->hits[1];
  auto only = [&](const TransitHit& h) {
    return [&, t = h.key.transitBody, a = h.key.aspect, n = h.key.natalBody](
               int t2, int a2, int n2) { return t == t2 && a == a2 && n == n2; };
  };
  for (const TransitHit& h : chosen->hits) ASSERT_FALSE(&h != &second && h.key == second.key);
  WriteFile(dir.system() / "go.dat", InterpretationText(only(second)));
  const auto lines =
      Lines(ReadFile(dir.Write(ForecastKind::Trips, {}, 20, 5, 1984, 5, 2025, 5, 2025)));
  const std::string heading =
      W("<p> <br> <b>Прогноз на ") + std::to_string(second.day) + W(" мая</b></p>");
  size_t at = 0;
  while (at < lines.size() && lines[at] != heading) ++at;
  ASSERT_LT(at + 3, lines.size()) << "heading of day " << second.day;
  EXPECT_EQ(lines[at + 1], "");
  EXPECT_EQ(lines[at + 2], TextLine(second.rating, second.text));
  EXPECT_EQ(lines[at + 3], "");
}

TEST(MonthPage, EmptyStyleGivesOneEmptyLine) {
  PageDir dir;
  WriteFile(dir.system() / "style.dat", "");
  const auto lines =
      Lines(ReadFile(dir.Write(ForecastKind::Trips, {}, 20, 5, 1984, 5, 2025, 5, 2025)));
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines[1], "");
  EXPECT_EQ(lines[2], "</head> <body bgcolor=\"#FFFFFF\"> <DIV align=\"center\">");
}

TEST(MonthPage, BirthDateAsTyped) {
  PageDir dir;
  const std::string page =
      ReadFile(dir.Write(ForecastKind::Sale, {}, 31, 2, 1983, 5, 2025, 5, 2025));
  EXPECT_NE(page.find(W("<h3> Дата рождения: 31 февраля 1983г. </h3>")), std::string::npos);
  EXPECT_NE(
      page.find("<img border=\"0\" src=\" Prog_05_2025.jpeg \" width=\"626\" height=\"205\">"),
      std::string::npos);
}

// With a time of birth the birth line carries it and the place, and the
// day lists follow the chart of that moment.
TEST(MonthPage, BirthTimeAndPlaceFollowTheDate) {
  PageDir dir;
  ForecastContext context(dir.root());
  const double moment = 30821 - 3.5 / 24;  // 20 May 1984, 14:30 at UTC+6
  const ForecastResult timed = RunForecast(context, {ForecastKind::Trips,
                                                     {},
                                                     {20, 5, 1984},
                                                     {2025, 5},
                                                     BirthHour{moment, 0, 24},
                                                     ClockTime{14, 30},
                                                     NameForPage("Екатеринбург")});
  EXPECT_NE(timed.months[0].pageBytes.find(
                W("<h3> Дата рождения: 20 мая 1984г., 14:30, Екатеринбург </h3>")),
            std::string::npos);
  EXPECT_EQ(timed.natal,
            ComputeNatalChart({20, 5, 1984}, BirthHour{moment, 0, 24}, context.pluto()));
  EXPECT_NE(timed.natal, ComputeNatalChart({20, 5, 1984}, context.pluto()));
  const ForecastResult noon =
      RunForecast(context, {ForecastKind::Trips, {}, {20, 5, 1984}, {2025, 5}});
  EXPECT_NE(noon.months[0].pageBytes.find(W("<h3> Дата рождения: 20 мая 1984г. </h3>")),
            std::string::npos);
  // The Sun moves 0.1 degree in those hours: some day's hits differ.
  bool differs = false;
  for (size_t m = 0; m < timed.months.size(); ++m)
    differs |= timed.months[m].scan.DaySums() != noon.months[m].scan.DaySums();
  EXPECT_TRUE(differs);
}

TEST(MonthPage, MissingInterpretationFilePrintsNoHeadings) {
  PageDir dir;
  fs::remove(dir.system() / "go.dat");
  const std::string page =
      ReadFile(dir.Write(ForecastKind::Trips, {}, 20, 5, 1984, 5, 2025, 5, 2025));
  EXPECT_EQ(page.find(W("Прогноз на ") + "1"), std::string::npos);
  EXPECT_NE(page.find("</DIV> \r\n\r\n"), std::string::npos) << "one empty line per hit";
}

// A missing furniture file stops the page before anything is written: the
// previous page stays as it was and nothing half-written is left.
TEST(MonthPage, MissingFurnitureKeepsThePreviousPage) {
  for (const char* missing : {"style.dat", "help_go.dat"}) {
    PageDir fresh;
    WriteFile(fresh.output() / "Prog_05_2025.html", "previous page");
    fs::remove(fresh.system() / missing);
    try {
      fresh.Write(ForecastKind::Trips, {}, 20, 5, 1984, 5, 2025, 5, 2025);
      ADD_FAILURE() << "no error for a missing " << missing;
    } catch (const std::runtime_error& e) {
      EXPECT_NE(std::string(e.what()).find((fresh.system() / missing).string()), std::string::npos)
          << e.what();
    }
    EXPECT_EQ(ReadFile(fresh.output() / "Prog_05_2025.html"), "previous page");
    for (const auto& entry : fs::directory_iterator(fresh.output()))
      EXPECT_NE(entry.path().extension(), ".part") << entry.path();
  }
}

}  // namespace
}  // namespace meridan
