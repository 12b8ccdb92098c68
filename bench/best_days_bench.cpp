// The search for the best days over twelve months, as `meridan best
// --months 12` and the desktop program's window make it, the tables already
// loaded: twelve months scanned with their texts, the influences of the
// year, the windows. To set beside BM_ForecastRun: it must stay well under
// one forecast of four months.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "ephemeris/pluto.h"
#include "texts/best_days.h"

namespace {

const std::filesystem::path kDataDir = MERIDAN_DATA_DIR "/System";

void BM_BestDaysOfAYear(benchmark::State& state) {
  const meridan::PlutoTable pluto = meridan::PlutoTable::Load(kDataDir / "pluto.sys");
  const meridan::InterpretationFile texts =
      meridan::InterpretationFile::Load(kDataDir / "sale.dat");
  for (auto _ : state) {
    const meridan::NatalChart natal = meridan::ComputeNatalChart({20, 5, 1984}, pluto);
    benchmark::DoNotOptimize(meridan::SearchBestWindows(
        natal, {2025, 11}, meridan::kMostBestDayMonths, meridan::ForecastKind::Sale, texts));
  }
}
BENCHMARK(BM_BestDaysOfAYear)->Unit(benchmark::kMillisecond);

}  // namespace
