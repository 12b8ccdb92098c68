// The position service: the nine longitudes of one date as the natal chart
// computes them (the Sun series once, the Pluto table loaded), side by side
// with the Swiss Ephemeris in its analytic Moshier mode for the same nine
// bodies, where that library is installed (libswe-dev; it is a yardstick
// here only and never linked into the programs). Each iteration takes the
// next day, so neither side can reuse a result: the Swiss Ephemeris keeps
// the last date's positions.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "ephemeris/calendar.h"
#include "ephemeris/positions.h"

#if MERIDAN_HAVE_SWISS_EPHEMERIS
#include <swephexp.h>
#endif

namespace {

const std::filesystem::path kDataDir = MERIDAN_DATA_DIR "/System";
constexpr double kMay20_1984 = 30821.0;

// The next day of a walk over half a century from 1984 May 20.
double NextDay(double& day) {
  day = day + 1.0;
  if (day > kMay20_1984 + 18262) day = kMay20_1984;
  return day;
}

void BM_NineLongitudes(benchmark::State& state) {
  const meridan::PlutoTable pluto = meridan::PlutoTable::Load(kDataDir / "pluto.sys");
  meridan::Longitudes out{};
  double day = kMay20_1984;
  for (auto _ : state) {
    meridan::ComputeLongitudes(NextDay(day), meridan::kComputedBodies, &pluto, out);
    benchmark::DoNotOptimize(out);
  }
}
BENCHMARK(BM_NineLongitudes);

#if MERIDAN_HAVE_SWISS_EPHEMERIS
void BM_SwissEphemerisNineLongitudes(benchmark::State& state) {
  static constexpr int kBodies[] = {SE_SUN,    SE_MERCURY, SE_VENUS,   SE_MARS, SE_JUPITER,
                                    SE_SATURN, SE_URANUS,  SE_NEPTUNE, SE_PLUTO};
  double xx[6];
  char error[AS_MAXCH];
  double day = kMay20_1984;
  for (auto _ : state) {
    const double jd = NextDay(day) + meridan::kJulianDayOffset;
    for (const int body : kBodies) {
      swe_calc_ut(jd, body, SEFLG_MOSEPH | SEFLG_NONUT, xx, error);
      benchmark::DoNotOptimize(xx[0]);
    }
  }
}
BENCHMARK(BM_SwissEphemerisNineLongitudes);
#endif

// One body at a time through its position routine, to see where the nine
// longitudes spend their time.
void BM_BodyLongitude(benchmark::State& state) {
  const int body = static_cast<int>(state.range(0));
  const meridan::PlutoTable pluto = meridan::PlutoTable::Load(kDataDir / "pluto.sys");
  meridan::SunVector sun;
  double day = kMay20_1984;
  for (auto _ : state)
    benchmark::DoNotOptimize(meridan::BodyLongitude(body, NextDay(day), &pluto, sun));
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
