// The month graph of a 31-day month, whole (template read, 93 segments drawn
// five times, 15 labels and the caption, scratch bitmap written and read
// back, JPEG encoded and renamed into place) and the three steps that cost
// most, to show where the time goes.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <string>

#include "app/graph/bmp.h"
#include "app/graph/jpeg.h"
#include "app/graph/month_graph.h"
#include "app/graph/text.h"

namespace {

namespace fs = std::filesystem;
using namespace meridan;

// A program directory with a plain 626 x 205 template, removed at the end.
class GraphDir {
 public:
  GraphDir() : root_(fs::temp_directory_path() / ("meridan-bench-graph-" + std::to_string(::getpid()))) {
    fs::remove_all(root_);
    fs::create_directories(root_ / "System");
    fs::create_directories(root_ / "Output");
    WriteBmp(Raster(626, 205, Rgb{236, 233, 216}), root_ / "System" / "month.bmp");
    SetProgramDir(session_, root_);
    session_.PageMonth = 10;
    session_.PageYear = 2025;
    session_.PurchaseSaleMarks = true;
  }
  ~GraphDir() { fs::remove_all(root_); }
  const ForecastSession& session() const { return session_; }

 private:
  fs::path root_;
  ForecastSession session_;
};

// A curve of the size real months give: plateaus of a few tens of pixels
// up and down, and one retrograde stretch.
SeriesStore October() {
  SeriesStore store;
  store.SampleCount = 93;
  for (int i = 1; i <= 96; ++i)
    store.RatingSeries[i] = static_cast<int>(std::lround(40 * std::sin(i * 0.21) * std::cos(i * 0.07)));
  for (int i = 34; i <= 42; ++i) store.RetrogradeMarks[i] = 1;
  return store;
}

void BM_DrawMonthGraph(benchmark::State& state) {
  const GraphDir dir;
  const SeriesStore store = October();
  for (auto _ : state) DrawMonthGraph(dir.session(), store);
}
BENCHMARK(BM_DrawMonthGraph)->Unit(benchmark::kMillisecond);

void BM_ReadTemplateBmp(benchmark::State& state) {
  const GraphDir dir;
  for (auto _ : state) benchmark::DoNotOptimize(ReadBmp(dir.session().DataDir / "month.bmp"));
}
BENCHMARK(BM_ReadTemplateBmp)->Unit(benchmark::kMicrosecond);

void BM_EncodeJpeg(benchmark::State& state) {
  const Raster picture(626, 205, Rgb{236, 233, 216});
  for (auto _ : state) benchmark::DoNotOptimize(EncodeJpeg(picture, kGraphJpegQuality));
}
BENCHMARK(BM_EncodeJpeg)->Unit(benchmark::kMicrosecond);

void BM_DayLabels(benchmark::State& state) {
  Raster picture(626, 205, Rgb{236, 233, 216});
  for (auto _ : state)
    for (int label = 2; label <= 30; label += 2)
      DrawText(picture, 76 + 15 * label, 154, std::to_string(label), Rgb{255, 255, 255},
               Rgb{111, 145, 190});
}
BENCHMARK(BM_DayLabels)->Unit(benchmark::kMicrosecond);

}  // namespace
