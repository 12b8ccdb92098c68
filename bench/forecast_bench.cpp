// The month scan, the series generator, the page writer and the whole
// four-month forecast run, on the shipped data in a temporary program
// directory.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <unistd.h>

#include "app/core/forecast.h"
#include "engine/transits/scan.h"
#include "engine/transits/series.h"
#include "reports/interpretation.h"
#include "reports/page.h"

namespace fs = std::filesystem;

namespace {

// A program directory with the shipped System/ and Output/, made once.
const fs::path& BenchDir() {
  static const fs::path dir = [] {
    const fs::path root = fs::temp_directory_path() / ("meridan-bench-" + std::to_string(::getpid()));
    fs::remove_all(root);
    fs::create_directories(root);
    fs::copy(fs::path(MERIDAN_DATA_DIR) / "System", root / "System", fs::copy_options::recursive);
    fs::copy(fs::path(MERIDAN_DATA_DIR) / "Output", root / "Output", fs::copy_options::recursive);
    std::atexit([] { fs::remove_all(fs::temp_directory_path() / ("meridan-bench-" + std::to_string(::getpid()))); });
    return root;
  }();
  return dir;
}

void BM_ScanMonth(benchmark::State& state) {
  const fs::path system = BenchDir() / "System";
  const meridan::InterpretationFile& table = meridan::CachedInterpretationFile(system / "go.dat");
  for (auto _ : state) benchmark::DoNotOptimize(meridan::ScanMonth(20, 5, 1984, 5, 2025, table, system));
}
BENCHMARK(BM_ScanMonth)->Unit(benchmark::kMicrosecond);

void BM_MakeMonthSeriesSale(benchmark::State& state) {
  const fs::path system = BenchDir() / "System";
  meridan::SeriesStore store;
  for (auto _ : state)
    meridan::MakeMonthSeries(meridan::ForecastKind::Sale, 1984, 5, 20, 2025, 5, system, system / "sale.dat", store);
}
BENCHMARK(BM_MakeMonthSeriesSale)->Unit(benchmark::kMicrosecond);

void BM_WriteMonthPage(benchmark::State& state) {
  const fs::path system = BenchDir() / "System";
  for (auto _ : state)
    benchmark::DoNotOptimize(meridan::WriteMonthPage(meridan::ForecastKind::Trips, "Ivan", 1984, 5, 20, 2025, 5,
                                                     2025, 5, BenchDir(), system, system / "go.dat"));
}
BENCHMARK(BM_WriteMonthPage)->Unit(benchmark::kMicrosecond);

void BM_ForecastRun(benchmark::State& state) {
  meridan::ForecastSession session;
  meridan::SetProgramDir(session, BenchDir());
  session.Name = "Ivan";
  session.BirthDay = 20;
  session.BirthMonth = 5;
  session.BirthYear = 1984;
  session.CurrentMonth = 11;
  session.CurrentYear = 2025;
  meridan::SeriesStore store;
  for (auto _ : state) meridan::RunForecastCommand(session, meridan::ForecastKind::Sale, store, nullptr);
}
BENCHMARK(BM_ForecastRun)->Unit(benchmark::kMillisecond);

}  // namespace

