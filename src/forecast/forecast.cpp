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
  const ForecastKindInfo& kind = KindInfo(request.kind);
  MonthForecast result;
  result.month = month;
  result.scan = AttachTexts(ScanTransits(natal, month), context.interpretations(request.kind));
  BuildRatingSeries(result.scan.DaySums(), request.kind, month, result.series);

  GraphFiles graph = RenderGraph(context, result.series, month, kind.retrogradeMarks);
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

std::vector<MonthForecast> ForecastMonths(ForecastContext& context, const ForecastRequest& request,
                                          const MonthDoneFn& onMonthDone) {
  // The pages and graphs are flushed one by one; the renames that put them
  // in place are made durable once, when the months are done or given up.
  struct FlushOutput {
    std::filesystem::path directory;
    ~FlushOutput() { FlushDirectory(directory); }
  } flush{context.outputDir()};
  const NatalChart natal = ComputeNatalChart(request.birth, context.pluto());
  std::vector<MonthForecast> months;
  for (int k = 1; k <= 4; ++k) {
    months.push_back(ForecastMonth(context, request, natal, request.start.Plus(k - 1)));
    if (onMonthDone) onMonthDone({k, months.back().month, months.back().page});
  }
  return months;
}

std::vector<MonthForecast> MakeForecast(ForecastSession& session, ForecastKind kind,
                                        ForecastContext& context, const MonthDoneFn& onMonthDone) {
  session.StartYear = session.CurrentYear;
  session.StartMonth = session.CurrentMonth;
  const ForecastRequest request{kind, session.Name, session.Birth(), session.Current()};
  return ForecastMonths(context, request, [&](const MonthDone& done) {
    session.PageYear = done.month.year;
    session.PageMonth = done.month.month;
    session.PagePaths[static_cast<size_t>(done.month.month)] = done.page;
    session.ButtonMonths[static_cast<size_t>(done.k)] = done.month.month;
    if (onMonthDone) onMonthDone(done);
  });
}

ForecastRun RunForecastCommand(ForecastSession& session, ForecastKind kind,
                               ForecastContext& context, const MonthDoneFn& onMonthDone,
                               const std::function<void()>& onWait) {
  const ProgramDirLock lock = ProgramDirLock::Acquire(context.programDir(), onWait);
  RemoveLeftoverTemporaryFiles(context.outputDir());
  RemoveLeftoverTemporaryFiles(context.dataDir());
  struct Marks {
    bool& flag;
    ~Marks() { flag = false; }
  } marks{session.PurchaseSaleMarks};
  session.PurchaseSaleMarks = KindInfo(kind).retrogradeMarks;
  ForecastRun run;
  run.months = MakeForecast(session, kind, context, onMonthDone);
  session.PurchaseSaleMarks = false;
  run.packed = PackOutput(session.OutputDir(), session.ArchivePath());
  return run;
}

void DrawMonthGraph(const ForecastSession& session, const SeriesStore& store,
                    ForecastContext& context) {
  const YearMonth month{session.PageYear, session.PageMonth};
  WriteGraph(context, month, RenderGraph(context, store, month, session.PurchaseSaleMarks));
}

}  // namespace meridan
