// The month graph of a 31-day month, drawn (93 segments five times, 15 labels
// and the caption) and encoded, and the steps that cost most, to show where
// the time goes.
#include <benchmark/benchmark.h>

#include <cmath>
#include <string>

#include "output/graph/bmp.h"
#include "output/graph/jpeg.h"
#include "output/graph/month_graph.h"
#include "output/graph/text.h"

namespace {

using namespace meridan;

const Raster kTemplate(626, 205, Rgb{236, 233, 216});

// A curve of the size real months give: plateaus of a few tens of pixels
// up and down, and one retrograde stretch.
SeriesStore October() {
  SeriesStore store;
  store.SampleCount = 93;
  for (int i = 1; i <= 96; ++i)
    store.RatingSeries[i] =
        static_cast<int>(std::lround(40 * std::sin(i * 0.21) * std::cos(i * 0.07)));
  for (int i = 34; i <= 42; ++i) store.RetrogradeMarks[i] = 1;
  return store;
}

void BM_DrawMonthCurve(benchmark::State& state) {
  const Font font = Font::Load();
  const SeriesStore store = October();
  for (auto _ : state)
    benchmark::DoNotOptimize(DrawMonthCurve(kTemplate, store, {2025, 10}, true, font));
}
BENCHMARK(BM_DrawMonthCurve)->Unit(benchmark::kMicrosecond);

void BM_EncodeJpeg(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(EncodeJpeg(kTemplate, kGraphJpegQuality));
}
BENCHMARK(BM_EncodeJpeg)->Unit(benchmark::kMicrosecond);

void BM_EncodeBmp(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(EncodeBmp(kTemplate));
}
BENCHMARK(BM_EncodeBmp)->Unit(benchmark::kMicrosecond);

void BM_DayLabels(benchmark::State& state) {
  const Font font = Font::Load();
  Raster picture = kTemplate;
  for (auto _ : state)
    for (int label = 2; label <= 30; label += 2)
      font.Draw(picture, 76 + 15 * label, 154, std::to_string(label), Rgb{255, 255, 255},
                Rgb{111, 145, 190});
}
BENCHMARK(BM_DayLabels)->Unit(benchmark::kMicrosecond);

// What a cold start pays once: fontconfig's configuration and FreeType.
void BM_LoadFont(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(Font::Load());
}
BENCHMARK(BM_LoadFont)->Unit(benchmark::kMillisecond);

}  // namespace
