#include "forecast/forecast.h"

#include "base/files.h"
#include "base/month_names.h"
#include "base/temporary_files.h"
#include "forecast/lock.h"
#include "output/archive/archive.h"
#include "output/graph/bmp.h"
#include "output/graph/jpeg.h"
#include "output/graph/month_graph.h"
#include "output/pages/page.h"
#include "texts/interpretation.h"
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
  WriteFileIfChanged(context.dir().scratchPicture(), EncodeBmp(picture), Durability::Scratch);
}

void WriteGraphJpeg(ForecastContext& context, YearMonth month,
                    const std::vector<std::uint8_t>& jpeg) {
  WriteFileIfChanged(context.dir().graph(month), jpeg, Durability::FileFlushed);
}

// The month's picture is handed back in `picture` for the scratch bitmap,
// which the run writes once, from its last month.
MonthForecast ForecastMonth(ForecastContext& context, const ForecastRequest& request,
                            const NatalChart& natal, YearMonth month, Raster& picture) {
  MonthAnalysis analysis = AnalyseMonth(context, request.kind, natal, month);
  MonthForecast result;
  result.month = month;
  result.scan = std::move(analysis.scan);
  result.series = analysis.series;

  picture = DrawGraph(context, result.series, month, KindInfo(request.kind).retrogradeMarks);
  std::vector<std::uint8_t> jpeg = EncodeJpeg(picture, kGraphJpegQuality);
  const MonthPage page{
      request.kind,      request.name,       request.birth,
      request.birthTime, request.birthPlace, month,
      request.start,     &result.scan,       ReadPageFurniture(request.kind, context.dir().data())};
  result.pageBytes = RenderMonthPage(page);

  // Everything is read and made; now the files, the page last.
  WriteGraphJpeg(context, month, jpeg);
  result.page = context.dir().page(month);
  WriteFileIfChanged(result.page, result.pageBytes, Durability::FileFlushed);
  result.graph = std::move(jpeg);
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

std::optional<NoTexts> NoTextsIn(const InterpretationFile& texts) {
  if (texts.exists() && !texts.records().empty()) return std::nullopt;
  return NoTexts{texts.path(), !texts.exists()};
}

ForecastResult RunForecast(ForecastContext& context, const ForecastRequest& request,
                           const MonthDoneFn& onMonthDone, const std::function<void()>& onWait) {
  const ProgramDirLock lock = ProgramDirLock::Acquire(context.programDir(), onWait);
  RemoveLeftoverTemporaryFiles(context.dir().output());
  RemoveLeftoverTemporaryFiles(context.dir().data());
  ForecastResult result{request, {}, {}, {}, {}, {}, {}};
  {
    // The pages and graphs are flushed one by one; the renames that put
    // them in place are made durable once, when the months are done or
    // given up.
    struct FlushOutput {
      std::filesystem::path directory;
      ~FlushOutput() { FlushDirectory(directory); }
    } flush{context.dir().output()};
    result.natal = ComputeNatalChart(request.birth, request.hour, context.pluto());
    if (!request.hour.moment)
      result.arcs = ComputeNatalArcs(request.birth, request.hour, context.pluto());
    const NatalChart& natal = result.natal;
    Raster picture;
    for (int k = 1; k <= kForecastMonths; ++k) {
      result.months.push_back(
          ForecastMonth(context, request, natal, request.start.Plus(k - 1), picture));
      if (onMonthDone) onMonthDone(k, result.months.back());
    }
    result.noTexts = NoTextsIn(context.interpretations(request.kind));
    // The scratch files end as the last month (the last one with a matched
    // text) leaves them; writing them for every month would only replace
    // them again.
    try {
      WriteScratchBitmap(context, picture);
      for (auto month = result.months.rbegin(); month != result.months.rend(); ++month)
        if (month->scan.matched) {
          WriteScratchText(context.dir().scratchText(), month->scan.lastMatchedText);
          break;
        }
    } catch (const std::runtime_error& error) {
      result.scratchFailure = error.what();
    }
  }
  // The pages and graphs just written are packed from the bytes in hand.
  std::vector<WrittenFile> written;
  for (const MonthForecast& month : result.months) {
    written.push_back({PageFileName(month.month), month.pageBytes});
    written.push_back({GraphFileName(month.month),
                       {reinterpret_cast<const char*>(month.graph.data()), month.graph.size()}});
  }
  result.packed = PackOutput(context.dir().output(), context.dir().archive(), written);
  return result;
}

}  // namespace meridan
