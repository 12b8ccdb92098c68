// The viewer opening a month page, offscreen: the page read and laid out as a
// browser would, and the window shown with the page's first screen painted;
// and the main window coming up.
// Each kind's page is the longest that a sweep over birth dates (1925..2025)
// and start months of 2027 found: January 2027 for a birth on 24 May 1925,
// about 51 KB for each kind.
#include <unistd.h>

#include <QApplication>
#include <QPixmap>
#include <QTextBrowser>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "forecast/forecast.h"
#include "gui/main_window.h"
#include "gui/viewer.h"
#include "output/pages/page.h"

namespace fs = std::filesystem;

namespace {

struct LongestPage {
  meridan::ForecastKind kind;
  meridan::Date birth;
  meridan::YearMonth start;
};
constexpr LongestPage kLongestPages[] = {
    {meridan::ForecastKind::Trips, {24, 5, 1925}, {2027, 1}},
    {meridan::ForecastKind::Service, {24, 5, 1925}, {2027, 1}},
    {meridan::ForecastKind::Sale, {24, 5, 1925}, {2027, 1}},
};

fs::path BenchRoot() {
  return fs::temp_directory_path() / ("meridan-gui-bench-" + std::to_string(::getpid()));
}

// One program directory per kind with the kind's four months written; the
// path of the longest page among them.
const fs::path& Page(int kind) {
  static std::map<int, fs::path> pages;
  if (auto found = pages.find(kind); found != pages.end()) return found->second;
  const LongestPage& wanted = kLongestPages[kind];
  const fs::path root = BenchRoot() / std::to_string(kind);
  fs::create_directories(root);
  for (const char* part : {"System", "Output"})
    fs::copy(fs::path(MERIDAN_DATA_DIR) / part, root / part, fs::copy_options::recursive);
  meridan::ForecastContext context(root);
  const meridan::ForecastRequest request{wanted.kind, meridan::NameForPage("Иван Ёжиков"),
                                         wanted.birth, wanted.start};
  fs::path longest;
  const meridan::ForecastResult result = meridan::RunForecast(context, request);
  for (const meridan::MonthForecast& month : result.months)
    if (longest.empty() || fs::file_size(month.page) > fs::file_size(longest)) longest = month.page;
  return pages[kind] = longest;
}

void Label(benchmark::State& state, const std::string& more = {}) {
  state.SetLabel(Page(static_cast<int>(state.range(0))).filename().string() + ", " +
                 std::to_string(fs::file_size(Page(static_cast<int>(state.range(0))))) + " bytes" +
                 more);
}

// The page read from its file and corrected to lay out as in a browser.
void BM_ViewerLoadsPage(benchmark::State& state) {
  const fs::path& page = Page(static_cast<int>(state.range(0)));
  meridan::Viewer viewer(nullptr, QSize(1280, 1024));
  viewer.SetPageToShow(page);
  viewer.show();  // sized as on the screen, as the page is loaded when shown
  for (auto _ : state) viewer.FormActivate();
  Label(state);
}

// From the click to the page on the screen: the viewer shown, the page read,
// corrected and its first screen painted, graph included; on a screen of
// 1280 x 1024 and on one of 800 x 600, where the page's 800-pixel tables are
// narrowed to the window.
void BM_ViewerShowsPage(benchmark::State& state) {
  const fs::path& page = Page(static_cast<int>(state.range(0)));
  const int screenWidth = static_cast<int>(state.range(1));
  meridan::Viewer viewer(nullptr, screenWidth > 800 ? QSize(1280, 1024) : QSize(800, 600));
  viewer.SetPageToShow(page);
  for (auto _ : state) {
    viewer.show();
    benchmark::DoNotOptimize(viewer.Browser()->viewport()->grab());
    state.PauseTiming();
    viewer.hide();
    state.ResumeTiming();
  }
  Label(state, ", screen " + std::to_string(screenWidth) + " wide");
}

// From the start to the first window on the screen: the main window and
// the windows it creates hidden, its start-up (the background picture read,
// the fields set) and its first paint, in a program directory that is the
// current directory as the program expects.
void BM_MainWindowComesUp(benchmark::State& state) {
  const fs::path root = Page(0).parent_path().parent_path();
  const fs::path previous = fs::current_path();
  fs::current_path(root);
  for (auto _ : state) {
    meridan::MainWindow window(nullptr, QSize(1280, 1024));
    window.show();
    while (window.Session().CurrentYear == 0) QApplication::processEvents();
    benchmark::DoNotOptimize(window.grab());
  }
  fs::current_path(previous);
}

// The machine is shared: the fastest repetition says most about the code.
double Fastest(const std::vector<double>& times) {
  return *std::min_element(times.begin(), times.end());
}

// 0 trips, 1 car service, 2 purchase-sale.
BENCHMARK(BM_ViewerLoadsPage)
    ->DenseRange(0, 2)
    ->Unit(benchmark::kMillisecond)
    ->ComputeStatistics("min", Fastest);
BENCHMARK(BM_ViewerShowsPage)
    ->ArgsProduct({{0, 1, 2}, {1280, 800}})
    ->Unit(benchmark::kMillisecond)
    ->ComputeStatistics("min", Fastest);
BENCHMARK(BM_MainWindowComesUp)->Unit(benchmark::kMillisecond)->ComputeStatistics("min", Fastest);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  fs::remove_all(BenchRoot());
  return 0;
}
