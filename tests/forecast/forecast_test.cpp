#include "forecast/forecast.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "base/cp1251.h"
#include "base/month_names.h"
#include "forecast/lock.h"
#include "output/pages/page.h"
#include "support/program_dir.h"

namespace meridan {
namespace {

namespace fs = std::filesystem;
using testing::ProgramDir;

ForecastSession SessionIn(const ProgramDir& dir, int month, int year) {
  ForecastSession session;
  SetProgramDir(session, dir.root());
  session.Name = NameForPage("Иван");
  session.BirthDay = 20;
  session.BirthMonth = 5;
  session.BirthYear = 1984;
  session.CurrentMonth = month;
  session.CurrentYear = year;
  return session;
}

// Started in November: November and December of this year, then January
// and February of the next; the start stays this year.
TEST(MakeForecast, MonthsWrapIntoTheNextYear) {
  ProgramDir dir;
  ForecastSession session = SessionIn(dir, 11, 2025);
  ForecastContext context(dir.root());
  std::vector<MonthDone> done;
  std::vector<bool> marks;
  RunForecastCommand(session, ForecastKind::Sale, context, [&](const MonthDone& m) {
    done.push_back(m);
    marks.push_back(session.PurchaseSaleMarks);
  });
  ASSERT_EQ(done.size(), 4u);
  const int months[] = {11, 12, 1, 2};
  const int years[] = {2025, 2025, 2026, 2026};
  for (int k = 1; k <= 4; ++k) {
    const MonthDone& m = done[static_cast<size_t>(k - 1)];
    EXPECT_EQ(m.k, k);
    EXPECT_EQ(m.month, (YearMonth{years[k - 1], months[k - 1]}));
    EXPECT_EQ(m.page, dir.output() / MonthFileName(m.month.month, m.month.year, ".html"));
    EXPECT_TRUE(fs::exists(m.page));
    EXPECT_TRUE(fs::exists(dir.output() / MonthFileName(m.month.month, m.month.year, ".jpeg")));
    EXPECT_EQ(session.ButtonMonths[static_cast<size_t>(k)], m.month.month);
    EXPECT_EQ(session.PagePaths[static_cast<size_t>(m.month.month)], m.page);
    EXPECT_TRUE(marks[static_cast<size_t>(k - 1)]) << "purchase-sale marks during the run";
  }
  EXPECT_EQ(session.StartMonth, 11);
  EXPECT_EQ(session.StartYear, 2025);
  EXPECT_FALSE(session.PurchaseSaleMarks);
  EXPECT_TRUE(fs::exists(session.ArchivePath()));
}

TEST(MakeForecast, TripsRunHasNoMarks) {
  ProgramDir dir;
  ForecastSession session = SessionIn(dir, 1, 2026);
  ForecastContext context(dir.root());
  RunForecastCommand(session, ForecastKind::Trips, context, [&](const MonthDone& m) {
    EXPECT_FALSE(session.PurchaseSaleMarks) << m.month.month;
  });
  EXPECT_EQ(session.ButtonMonths[4], 4);
  EXPECT_EQ(session.PageYear, 2026);
}

// An error ends the run where it occurs: the months before it are done, the
// archive is not packed, and the purchase-sale flag does not stay set.
TEST(MakeForecast, ErrorStopsTheRunAfterTheFinishedMonths) {
  ProgramDir dir;
  ForecastSession session = SessionIn(dir, 5, 2025);
  ForecastContext context(dir.root());
  int finished = 0;
  try {
    RunForecastCommand(session, ForecastKind::Sale, context, [&](const MonthDone&) {
      if (++finished == 2) fs::remove(dir.system() / "help_sale.dat");
    });
    FAIL() << "no error";
  } catch (const std::runtime_error& e) {
    EXPECT_NE(std::string(e.what()).find("help_sale.dat"), std::string::npos) << e.what();
  }
  EXPECT_EQ(finished, 2);
  EXPECT_FALSE(session.PurchaseSaleMarks);
  EXPECT_FALSE(fs::exists(session.ArchivePath()));
  EXPECT_FALSE(fs::exists(dir.output() / "Prog_07_2025.html"));
}

// A second run of another kind replaces the pages of its months and leaves
// the pages of other months alone.
TEST(MakeForecast, SecondRunReplacesItsMonthsOnly) {
  ProgramDir dir;
  ForecastContext context(dir.root());
  ForecastSession first = SessionIn(dir, 3, 2025);
  RunForecastCommand(first, ForecastKind::Trips, context, nullptr);
  ForecastSession second = SessionIn(dir, 5, 2025);
  RunForecastCommand(second, ForecastKind::Service, context, nullptr);
  const std::string march = testing::ReadFile(dir.output() / "Prog_03_2025.html");
  const std::string may = testing::ReadFile(dir.output() / "Prog_05_2025.html");
  EXPECT_NE(march.find(W("<title>Авто-прогноз</title>")), std::string::npos)
      << "March keeps the trips page";
  EXPECT_NE(may.find(W("<title>Сервис-прогноз</title>")), std::string::npos)
      << "May has the service page";
}

// One run at a time in a program directory: a second one waits, saying so
// once, and gives up with a clear message when the first takes too long.
TEST(ProgramDirLock, ASecondRunWaitsThenGivesUp) {
  ProgramDir dir;
  const ProgramDirLock held = ProgramDirLock::Acquire(dir.root());
  int told = 0;
  try {
    ProgramDirLock::Acquire(
        dir.root(), [&] { ++told; }, std::chrono::milliseconds(100));
    FAIL() << "a second lock was granted";
  } catch (const std::runtime_error& e) {
    EXPECT_NE(std::string(e.what()).find("another forecast has been running in"), std::string::npos)
        << e.what();
  }
  EXPECT_EQ(told, 1);
}

// A context keeps what it loaded until a refresh finds the file changed.
TEST(ForecastContext, RefreshRereadsAChangedFile) {
  ProgramDir dir;
  ForecastContext context(dir.root());
  const int shipped = context.pluto().DegreesOn(30821.0);
  std::string sevens;
  for (int day = 1; day <= 30821; ++day) sevens += "7\r\n";
  testing::WriteFile(dir.system() / "pluto.sys", sevens);
  EXPECT_EQ(context.pluto().DegreesOn(30821.0), shipped) << "kept until a refresh";
  context.Refresh();
  EXPECT_EQ(context.pluto().DegreesOn(30821.0), 7);
  EXPECT_EQ(context.interpretations(ForecastKind::Trips).records().size(), 180u);
  fs::remove(dir.system() / "go.dat");
  context.Refresh();
  EXPECT_FALSE(context.interpretations(ForecastKind::Trips).exists());
}

// The graph's own file faults: no image is left half written or at all.
TEST(DrawMonthGraph, UnreadableTemplateOrOutputIsAClearErrorAndLeavesNoImage) {
  ProgramDir dir;
  ForecastSession session = SessionIn(dir, 1, 2025);
  session.PageMonth = 1;
  session.PageYear = 2025;
  SeriesStore store;
  store.SampleCount = 93;
  const auto errorOf = [&](ForecastContext& context) {
    try {
      DrawMonthGraph(session, store, context);
    } catch (const std::runtime_error& e) {
      return std::string(e.what());
    }
    return std::string();
  };
  const fs::path templ = dir.system() / "month.bmp";
  const std::string good = testing::ReadFile(templ);
  const std::string name = "\"" + templ.string() + "\"";
  const struct {
    const char* bytes;  // nullptr: no file at all
    std::string expected;
  } kCases[] = {{nullptr, "Cannot open file " + name + ". No such file or directory"},
                {"P6\n1 1\n", name + " is not a BMP image"}};
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.expected);
    fs::remove(templ);
    if (c.bytes) testing::WriteFile(templ, c.bytes);
    ForecastContext context(dir.root());
    EXPECT_NE(errorOf(context).find(c.expected), std::string::npos) << errorOf(context);
    EXPECT_FALSE(fs::exists(dir.output() / "Prog_01_2025.jpeg"));
  }
  testing::WriteFile(templ, good);
  fs::rename(dir.output(), dir.root() / "elsewhere");
  ForecastContext context(dir.root());
  EXPECT_EQ(errorOf(context), "Cannot create file \"" +
                                  (dir.output() / "Prog_01_2025.jpeg").string() +
                                  "\". No such file or directory");
}

}  // namespace
}  // namespace meridan
