#include "forecast/forecast.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <sys/stat.h>
#include <tuple>
#include <vector>

#include "base/cp1251.h"
#include "base/month_names.h"
#include "forecast/findings.h"
#include "forecast/lock.h"
#include "output/archive/zip_file.h"
#include "output/pages/page.h"
#include "support/scratch_program_dir.h"

namespace meridan {
namespace {

namespace fs = std::filesystem;
using testing::ScratchProgramDir;

ForecastRequest RequestFor(ForecastKind kind, int month, int year) {
  return {kind, NameForPage("Иван"), {20, 5, 1984}, {year, month}};
}

// Started in November: November and December of this year, then January
// and February of the next; the result holds the request and the four
// months as they were told.
TEST(RunForecast, MonthsWrapIntoTheNextYear) {
  ScratchProgramDir dir;
  ForecastContext context(dir.root());
  const ForecastRequest request = RequestFor(ForecastKind::Sale, 11, 2025);
  std::vector<std::pair<int, fs::path>> told;
  const ForecastResult result = RunForecast(
      context, request, [&](int k, const MonthForecast& m) { told.emplace_back(k, m.page); });
  EXPECT_EQ(result.request.start, request.start);
  EXPECT_EQ(result.request.kind, ForecastKind::Sale);
  ASSERT_EQ(result.months.size(), 4u);
  ASSERT_EQ(told.size(), 4u);
  const int months[] = {11, 12, 1, 2};
  const int years[] = {2025, 2025, 2026, 2026};
  for (int k = 1; k <= 4; ++k) {
    const MonthForecast& m = result.months[static_cast<size_t>(k - 1)];
    EXPECT_EQ(told[static_cast<size_t>(k - 1)], std::pair(k, m.page));
    EXPECT_EQ(m.month, (YearMonth{years[k - 1], months[k - 1]}));
    EXPECT_EQ(m.page, dir.output() / MonthFileName(m.month.month, m.month.year, ".html"));
    EXPECT_TRUE(fs::exists(m.page));
    EXPECT_EQ(testing::ReadFile(dir.output() / MonthFileName(m.month.month, m.month.year, ".jpeg")),
              std::string(m.graph.begin(), m.graph.end()));
  }
  EXPECT_TRUE(result.packed.notPacked.empty());
  EXPECT_TRUE(fs::exists(context.dir().archive()));
}

// What the PDF and the calendar read off a run is what a fresh search of
// its months finds: the same best windows with the same reasons, each with
// its text, and the hour windows exactly when the hour is not known.
TEST(FindingsOf, AgreeWithAFreshSearchOfTheRunsMonths) {
  ScratchProgramDir dir;
  ForecastContext context(dir.root());
  ForecastRequest request = RequestFor(ForecastKind::Service, 5, 2025);
  for (const bool hourKnown : {false, true}) {
    if (hourKnown) request.hour = BirthHour{30821 - 3.5 / 24, 0, 24};
    const ForecastResult run = RunForecast(context, request);
    const ForecastFindings found = FindingsOf(run, context);
    const std::vector<BestWindow> searched =
        SearchBestWindows(run.natal, request.start, kForecastMonths, request.kind,
                          context.interpretations(request.kind));
    const auto reasons = [](const std::vector<BestWindow>& windows) {
      std::vector<std::tuple<double, double, int, AspectKey, int, const InterpretationRecord*>> all;
      for (const BestWindow& w : windows)
        for (const auto* list : {&w.reasons, &w.cautions})
          for (const InfluenceText& text : *list)
            all.emplace_back(w.firstNoon, w.lastNoon, w.score, text.influence.key, text.rating,
                             text.record);
      return all;
    };
    ASSERT_FALSE(searched.empty());
    EXPECT_EQ(reasons(found.best), reasons(searched));
    ASSERT_FALSE(found.influences.empty());
    for (const InfluenceText& text : found.influences)
      EXPECT_EQ(text.influence.hourWindows.has_value(), !hourKnown);
  }
}

// An error ends the run where it occurs: the months before it are done and
// told, the archive is not packed.
TEST(RunForecast, ErrorStopsTheRunAfterTheFinishedMonths) {
  ScratchProgramDir dir;
  ForecastContext context(dir.root());
  int finished = 0;
  try {
    RunForecast(context, RequestFor(ForecastKind::Sale, 5, 2025), [&](int, const MonthForecast&) {
      if (++finished == 2) fs::remove(dir.system() / "help_sale.dat");
    });
    FAIL() << "no error";
  } catch (const std::runtime_error& e) {
    EXPECT_NE(std::string(e.what()).find("help_sale.dat"), std::string::npos) << e.what();
  }
  EXPECT_EQ(finished, 2);
  EXPECT_FALSE(fs::exists(context.dir().archive()));
  EXPECT_FALSE(fs::exists(dir.output() / "Prog_07_2025.html"));
}

// A second run of another kind replaces the pages of its months and leaves
// the pages of other months alone.
TEST(RunForecast, SecondRunReplacesItsMonthsOnly) {
  ScratchProgramDir dir;
  ForecastContext context(dir.root());
  RunForecast(context, RequestFor(ForecastKind::Trips, 3, 2025));
  RunForecast(context, RequestFor(ForecastKind::Service, 5, 2025));
  const std::string march = testing::ReadFile(dir.output() / "Prog_03_2025.html");
  const std::string may = testing::ReadFile(dir.output() / "Prog_05_2025.html");
  EXPECT_NE(march.find(W("<title>Авто-прогноз</title>")), std::string::npos)
      << "March keeps the trips page";
  EXPECT_NE(may.find(W("<title>Сервис-прогноз</title>")), std::string::npos)
      << "May has the service page";
}

// Another person born the same day has the same graphs: their files are left
// as they stand (their archive entries with them), while the pages, which
// name the person, are replaced and packed again.
TEST(RunForecast, FilesThatComeOutTheSameAreLeftAsTheyStand) {
  ScratchProgramDir dir;
  ForecastContext context(dir.root());
  ForecastRequest request = RequestFor(ForecastKind::Trips, 5, 2025);
  RunForecast(context, request);
  const auto inode = [](const fs::path& file) {
    struct stat info {};
    return ::stat(file.c_str(), &info) == 0 ? info.st_ino : 0;
  };
  const fs::path graph = dir.output() / "Prog_05_2025.jpeg";
  const fs::path page = dir.output() / "Prog_05_2025.html";
  const ino_t graphBefore = inode(graph), pageBefore = inode(page);
  request.name = NameForPage("Пётр");
  RunForecast(context, request);
  EXPECT_EQ(inode(graph), graphBefore);
  EXPECT_NE(inode(page), pageBefore);
  const ZipArchive zip = ParseZip(testing::ReadFile(context.dir().archive()));
  int checked = 0;
  for (const ZipEntry& entry : zip.entries) {
    if (entry.name != "Prog_05_2025.html" && entry.name != "Prog_05_2025.jpeg") continue;
    EXPECT_EQ(entry.crc, Crc32(testing::ReadFile(dir.output() / entry.name))) << entry.name;
    ++checked;
  }
  EXPECT_EQ(checked, 2);
}

// The scratch file holds the text of the run's last matched hit plus one
// blank, as a lookup of every hit through it would have left it; a run
// that matches nothing leaves it as it was.
TEST(RunForecast, ScratchFileHoldsTheLastMatchedText) {
  ScratchProgramDir dir;
  ForecastContext context(dir.root());
  const ForecastResult result = RunForecast(context, RequestFor(ForecastKind::Trips, 5, 2025));
  const InterpretationFile& table = context.interpretations(ForecastKind::Trips);
  const TransitHit* last = nullptr;
  for (const MonthForecast& month : result.months)
    for (const DayList& day : month.scan.days)
      for (const TransitHit& hit : day.hits)
        if (table.Find(hit.key).record) last = &hit;
  ASSERT_NE(last, nullptr);
  const std::string scratch = testing::ReadFile(dir.system() / "tmp.dat");
  EXPECT_EQ(scratch, table.Find(last->key).record->text + " ");

  fs::remove(dir.system() / "go.dat");
  context.Refresh();
  RunForecast(context, RequestFor(ForecastKind::Trips, 5, 2025));
  EXPECT_EQ(testing::ReadFile(dir.system() / "tmp.dat"), scratch);
}

// One run at a time in a program directory: a second one waits, saying so
// once, and gives up with a clear message when the first takes too long.
TEST(ProgramDirLock, ASecondRunWaitsThenGivesUp) {
  ScratchProgramDir dir;
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
  ScratchProgramDir dir;
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
TEST(RunForecast, UnreadableTemplateOrOutputIsAClearErrorAndLeavesNoImage) {
  ScratchProgramDir dir;
  const auto errorOf = [&](ForecastContext& context) {
    try {
      RunForecast(context, RequestFor(ForecastKind::Trips, 1, 2025));
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
