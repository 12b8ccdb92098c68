#include "forecast/forecast.h"

#include "base/files.h"
#include "base/month_names.h"
#include "forecast/lock.h"
#include "output/archive/archive.h"
#include "output/graph/bmp.h"
#include "output/graph/jpeg.h"
#include "output/graph/month_graph.h"
#include "output/pages/page.h"
#include "transits/scan.h"

namespace fs = std::filesystem;

namespace meridan {
namespace {

// A month's graph as it goes to disk: the scratch bitmap the drawing passes
// through (kept in the data directory for inspection) and the JPEG.
struct GraphFiles {
  std::vector<std::uint8_t> bitmap;
  std::vector<std::uint8_t> jpeg;
};

GraphFiles RenderGraph(ForecastContext& context, const SeriesStore& store, YearMonth month,
                       bool retrogradeMarks) {
  const Raster picture =
      DrawMonthCurve(context.graphTemplate(), store, month, retrogradeMarks, context.font());
  return {EncodeBmp(picture), EncodeJpeg(picture, kGraphJpegQuality)};
}

void WriteGraph(ForecastContext& context, YearMonth month, const GraphFiles& graph) {
  WriteFileAtomically(context.dataDir() / "tmp.bmp", graph.bitmap, Durability::Scratch);
  WriteFileAtomically(context.outputDir() / MonthFileName(month.month, month.year, ".jpeg"),
                      graph.jpeg, Durability::FileFlushed);
}

MonthForecast ForecastMonth(ForecastContext& context, const ForecastRequest& request,
                            const NatalChart& natal, YearMonth month) {
  MonthAnalysis analysis = AnalyseMonth(context, request.kind, natal, month);
  MonthForecast result{month, std::move(analysis.scan), analysis.series, {}, {}};

  GraphFiles graph =
      RenderGraph(context, result.series, month, KindInfo(request.kind).retrogradeMarks);
  const MonthPage page{request.kind,
                       request.name,
                       request.birth,
                       month,
                       request.start,
                       &result.scan,
                       ReadPageFurniture(request.kind, context.dataDir())};
  const std::string pageBytes = RenderMonthPage(page);

  // Everything is read and made; now the files, the page last.
  WriteGraph(context, month, graph);
  if (result.scan.matched) WriteScratchText(context.dataDir(), result.scan.lastMatchedText);
  result.page = MonthPagePath(context.programDir(), month);
  WriteFileAtomically(result.page, pageBytes, Durability::FileFlushed);
  result.graph = std::move(graph.jpeg);
  return result;
}

}  // namespace

MonthAnalysis AnalyseMonth(ForecastContext& context, ForecastKind kind, const NatalChart& natal,
                           YearMonth month) {
  MonthAnalysis analysis;
  analysis.scan = AttachTexts(ScanTransits(natal, month), context.interpretations(kind));
  BuildRatingSeries(analysis.scan.DaySums(), kind, month, analysis.series);
  return analysis;
}

ForecastResult RunForecast(ForecastContext& context, const ForecastRequest& request,
                           const MonthDoneFn& onMonthDone, const std::function<void()>& onWait) {
  const ProgramDirLock lock = ProgramDirLock::Acquire(context.programDir(), onWait);
  RemoveLeftoverTemporaryFiles(context.outputDir());
  RemoveLeftoverTemporaryFiles(context.dataDir());
  ForecastResult result{request, {}, {}};
  {
    // The pages and graphs are flushed one by one; the renames that put
    // them in place are made durable once, when the months are done or
    // given up.
    struct FlushOutput {
      std::filesystem::path directory;
      ~FlushOutput() { FlushDirectory(directory); }
    } flush{context.outputDir()};
    const NatalChart natal = ComputeNatalChart(request.birth, context.pluto());
    for (int k = 1; k <= kForecastMonths; ++k) {
      result.months.push_back(ForecastMonth(context, request, natal, request.start.Plus(k - 1)));
      if (onMonthDone) onMonthDone(k, result.months.back());
    }
  }
  result.packed = PackOutput(context.outputDir(), context.archivePath());
  return result;
}

}  // namespace meridan
