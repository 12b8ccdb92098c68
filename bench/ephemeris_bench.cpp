// The position service and the calendar: the nine longitudes of one date
// (what the natal chart asks for; a scanned day asks for four of them) and
// the date conversions every scan day goes through.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "engine/ephemeris/bodies.h"
#include "engine/ephemeris/calendar.h"
#include "engine/ephemeris/positions.h"

namespace {

const std::filesystem::path kDataDir = MERIDAN_DATA_DIR "/System";
constexpr double kMay20_1984 = 30821.0;

// Sun to Pluto in calling order; the Pluto table is read before timing.
void BM_NineLongitudes(benchmark::State& state) {
  meridan::SunVector sun;
  meridan::BodyLongitude(meridan::kPluto, kMay20_1984, kDataDir, sun);
  for (auto _ : state) {
    for (meridan::Body body : meridan::kComputedBodies)
      benchmark::DoNotOptimize(meridan::BodyLongitude(body, kMay20_1984, kDataDir, sun));
  }
}
BENCHMARK(BM_NineLongitudes);

// The nine longitudes as the natal chart computes them: the Sun series once.
void BM_NineLongitudesOneSun(benchmark::State& state) {
  static constexpr int kNine[] = {1, 3, 4, 5, 6, 7, 8, 9, 10};
  meridan::Longitudes out{};
  for (auto _ : state) {
    meridan::ComputeLongitudes(kMay20_1984, kNine, kDataDir, out);
    benchmark::DoNotOptimize(out);
  }
}
BENCHMARK(BM_NineLongitudesOneSun);

// One body at a time, to see where the nine longitudes spend their time.
void BM_BodyLongitude(benchmark::State& state) {
  const int body = static_cast<int>(state.range(0));
  meridan::SunVector sun;
  meridan::BodyLongitude(body, kMay20_1984, kDataDir, sun);
  for (auto _ : state)
    benchmark::DoNotOptimize(meridan::BodyLongitude(body, kMay20_1984, kDataDir, sun));
  state.SetLabel(meridan::BodyName(body));
}
BENCHMARK(BM_BodyLongitude)->ArgName("body")->Apply([](benchmark::internal::Benchmark* b) {
  for (meridan::Body body : meridan::kComputedBodies) b->Arg(body);
});

void BM_JulianDay(benchmark::State& state) {
  int day = 20, month = 5, year = 1984;
  for (auto _ : state) {
    benchmark::DoNotOptimize(day);
    benchmark::DoNotOptimize(month);
    benchmark::DoNotOptimize(year);
    benchmark::DoNotOptimize(meridan::JulianDay(day, month, year, 12, 0, 0));
  }
}
BENCHMARK(BM_JulianDay);

void BM_CalendarDate(benchmark::State& state) {
  double julianDay = kMay20_1984;
  int day, month, year, hour, minute, second;
  for (auto _ : state) {
    benchmark::DoNotOptimize(julianDay);
    meridan::CalendarDate(julianDay, day, month, year, hour, minute, second);
    benchmark::DoNotOptimize(day);
    benchmark::DoNotOptimize(month);
    benchmark::DoNotOptimize(year);
  }
}
BENCHMARK(BM_CalendarDate);

}  // namespace
