// The influences and the stations of a forecast's four months, to set beside
// BM_ForecastRun: both stay well under the cost of the forecast itself.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "ephemeris/pluto.h"
#include "texts/influence_texts.h"
#include "transits/forecast_kind.h"

namespace {

const std::filesystem::path kDataDir = MERIDAN_DATA_DIR "/System";

// As `meridan influences` computes them, the tables already loaded: the
// natal chart, the four months' windows and exact moments, their texts.
void BM_Influences(benchmark::State& state) {
  const meridan::PlutoTable pluto = meridan::PlutoTable::Load(kDataDir / "pluto.sys");
  const meridan::InterpretationFile texts =
      meridan::InterpretationFile::Load(kDataDir / "sale.dat");
  for (auto _ : state) {
    const meridan::NatalChart natal = meridan::ComputeNatalChart({20, 5, 1984}, pluto);
    benchmark::DoNotOptimize(meridan::AttachInfluenceTexts(
        meridan::FindInfluences(natal, {2025, 11}, meridan::kForecastMonths), texts));
  }
}
BENCHMARK(BM_Influences)->Unit(benchmark::kMillisecond);

void BM_Stations(benchmark::State& state) {
  for (auto _ : state)
    benchmark::DoNotOptimize(meridan::FindStations({2025, 11}, meridan::kForecastMonths));
}
BENCHMARK(BM_Stations)->Unit(benchmark::kMillisecond);

}  // namespace
