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

Raster DrawGraph(ForecastContext& context, const SeriesStore& store, YearMonth month,
                 bool retrogradeMarks) {
  return DrawMonthCurve(context.graphTemplate(), store, month, retrogradeMarks, context.font());
}

// The scratch bitmap the drawing passes through, kept in the data directory
// for inspection.
void WriteScratchBitmap(ForecastContext& context, const Raster& picture) {
  WriteFileAtomically(context.dataDir() / "tmp.bmp", EncodeBmp(picture), Durability::Scratch);
}

void WriteGraphJpeg(ForecastContext& context, YearMonth month,
                    const std::vector<std::uint8_t>& jpeg) {
  WriteFileAtomically(context.outputDir() / MonthFileName(month.month, month.year, ".jpeg"), jpeg,
                      Durability::FileFlushed);
}

// The month's picture is handed back in `picture` for the scratch bitmap,
// which the run writes once, from its last month.
MonthForecast ForecastMonth(ForecastContext& context, const ForecastRequest& request,
                            const NatalChart& natal, YearMonth month, Raster& picture) {
  const ForecastKindInfo& kind = KindInfo(request.kind);
  MonthForecast result;
  result.month = month;
  result.scan = AttachTexts(ScanTransits(natal, month), context.interpretations(request.kind));
  BuildRatingSeries(result.scan.DaySums(), request.kind, month, result.series);

  picture = DrawGraph(context, result.series, month, kind.retrogradeMarks);
  std::vector<std::uint8_t> jpeg = EncodeJpeg(picture, kGraphJpegQuality);
  const MonthPage page{request.kind,
                       request.name,
                       request.birth,
                       month,
                       request.start,
                       &result.scan,
                       ReadPageFurniture(request.kind, context.dataDir())};
  result.pageBytes = RenderMonthPage(page);

  // Everything is read and made; now the files, the page last.
  WriteGraphJpeg(context, month, jpeg);
  result.page = MonthPagePath(context.programDir(), month);
  WriteFileAtomically(result.page, result.pageBytes, Durability::FileFlushed);
  result.graph = std::move(jpeg);
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
  Raster picture;
  for (int k = 1; k <= 4; ++k) {
    months.push_back(ForecastMonth(context, request, natal, request.start.Plus(k - 1), picture));
    if (onMonthDone) onMonthDone({k, months.back().month, months.back().page});
  }
  // The scratch files end as the last month (the last one with a matched
  // text) leaves them; writing them for every month would only replace them
  // again.
  WriteScratchBitmap(context, picture);
  for (auto month = months.rbegin(); month != months.rend(); ++month)
    if (month->scan.matched) {
      WriteScratchText(context.dataDir(), month->scan.lastMatchedText);
      break;
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
  // The pages and graphs just written are packed from the bytes in hand.
  std::vector<WrittenFile> written;
  for (const MonthForecast& month : run.months) {
    written.push_back({month.page.filename().string(), month.pageBytes});
    written.push_back({MonthFileName(month.month.month, month.month.year, ".jpeg"),
                       {reinterpret_cast<const char*>(month.graph.data()), month.graph.size()}});
  }
  run.notPacked = PackOutput(session.OutputDir(), session.ArchivePath(), written);
  return run;
}

void DrawMonthGraph(const ForecastSession& session, const SeriesStore& store,
                    ForecastContext& context) {
  const YearMonth month{session.PageYear, session.PageMonth};
  const Raster picture = DrawGraph(context, store, month, session.PurchaseSaleMarks);
  WriteScratchBitmap(context, picture);
  WriteGraphJpeg(context, month, EncodeJpeg(picture, kGraphJpegQuality));
}

}  // namespace meridan
