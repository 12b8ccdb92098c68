// The month scan and the whole four-month forecast run, on the shipped data
// in a temporary program directory. The cold process, as a user runs it,
// is timed by scripts/bench against zip -9 of its own output.
#include <unistd.h>

#include <benchmark/benchmark.h>

#include <filesystem>

#include "forecast/forecast.h"
#include "output/pages/page.h"

namespace fs = std::filesystem;

namespace {

// A program directory with the shipped System/ and Output/, made once.
const fs::path& BenchDir() {
  static const fs::path dir = [] {
    const fs::path root =
        fs::temp_directory_path() / ("meridan-bench-" + std::to_string(::getpid()));
    fs::remove_all(root);
    fs::create_directories(root);
    fs::copy(fs::path(MERIDAN_DATA_DIR) / "System", root / "System", fs::copy_options::recursive);
    fs::copy(fs::path(MERIDAN_DATA_DIR) / "Output", root / "Output", fs::copy_options::recursive);
    std::atexit([] {
      fs::remove_all(fs::temp_directory_path() / ("meridan-bench-" + std::to_string(::getpid())));
    });
    return root;
  }();
  return dir;
}

// One month's transits and texts, the chart and the tables already at hand.
void BM_ScanMonth(benchmark::State& state) {
  meridan::ForecastContext context(BenchDir());
  const meridan::NatalChart natal = meridan::ComputeNatalChart({20, 5, 1984}, context.pluto());
  const meridan::InterpretationFile& texts = context.interpretations(meridan::ForecastKind::Trips);
  for (auto _ : state)
    benchmark::DoNotOptimize(meridan::AttachTexts(meridan::ScanTransits(natal, {2025, 5}), texts));
}
BENCHMARK(BM_ScanMonth)->Unit(benchmark::kMicrosecond);

// The forecast command with a warm context, as the desktop program runs its
// second forecast: four months, graphs, pages, archive. Two people take
// turns, so that every page and graph is written and packed anew (a file
// that comes out as it stands is left alone).
void BM_ForecastRun(benchmark::State& state) {
  const meridan::ForecastRequest people[] = {
      {meridan::ForecastKind::Sale, meridan::NameForPage("Ivan"), {20, 5, 1984}, {2025, 11}},
      {meridan::ForecastKind::Sale, meridan::NameForPage("Olga"), {3, 9, 1975}, {2025, 11}}};
  meridan::ForecastContext context(BenchDir());
  size_t turn = 0;
  for (auto _ : state) meridan::RunForecast(context, people[turn++ % 2]);
}
BENCHMARK(BM_ForecastRun)->Unit(benchmark::kMillisecond);

}  // namespace
