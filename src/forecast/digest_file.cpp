#include "forecast/digest_file.h"

#include <dlfcn.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string_view>

#include "base/files.h"
#include "base/month_names.h"
#include "output/digest/digest.h"
#include "output/digest/digest_title.h"
#include "output/graph/month_graph.h"
#include "texts/best_days.h"
#include "texts/influence_texts.h"
#include "transits/influences.h"

namespace meridan {
namespace {

// Where the digest module is: named by MERIDAN_DIGEST_MODULE (the tests
// point at the built one), else beside the program (the staged program
// directory) or in its private library directory once installed.
std::filesystem::path DigestModulePath() {
  if (const char* named = std::getenv("MERIDAN_DIGEST_MODULE"); named && *named) return named;
  std::error_code ec;
  const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", ec);
  const std::filesystem::path beside = program.parent_path() / kDigestModule;
  if (std::filesystem::exists(beside, ec)) return beside;
  return program.parent_path().parent_path() / "lib" / "meridan-diru" / kDigestModule;
}

// The digest module, loaded on first use and kept for the process's life
// (closing a module that started Pango's threads is unsafe). A module built
// from other sources would read the run's objects with other layouts, so it
// is refused before any of them reaches it.
void* DigestModule() {
  const std::filesystem::path path = DigestModulePath();
  const auto failure = [&path](DigestUnavailable::Cause cause, const std::string& why) {
    return DigestUnavailable(cause, path, "the PDF digest cannot be made: " + why);
  };
  void* module = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
  if (!module) throw failure(DigestUnavailable::Cause::kNotLoaded, ::dlerror());
  const auto build = reinterpret_cast<DigestBuildEntry>(::dlsym(module, kDigestBuildEntry));
  if (!build || std::string_view(build()) != kDigestBuild)
    throw failure(DigestUnavailable::Cause::kOtherBuild,
                  path.string() + " belongs to another build of the program; reinstall it");
  return module;
}

template <typename Entry>
Entry DigestEntry(const char* name) {
  void* entry = ::dlsym(DigestModule(), name);
  if (!entry)
    throw DigestUnavailable(DigestUnavailable::Cause::kOtherBuild, DigestModulePath(),
                            std::string("the PDF digest cannot be made: ") + ::dlerror());
  return reinterpret_cast<Entry>(entry);
}

// The month's graph as the digest draws it: the picture's geometry, the
// curve its pen follows, and the retrograde stretches where the run marks
// them.
DigestGraph GraphOfMonth(const MonthForecast& month, ForecastKind kind) {
  DigestGraph graph;
  graph.width = kGraphWidth;
  graph.height = kGraphHeight;
  const int missingDays = kTemplateDays - month.scan.length;
  graph.panelLeft = kPlotPanel.left;
  graph.panelTop = kPlotPanel.top;
  graph.panelRight = kPlotPanel.right - missingDays * kDayWidth;
  graph.panelBottom = kPlotPanel.bottom;
  graph.curveLeft = kCurveLeft;
  graph.dayWidth = kDayWidth;
  graph.zeroLine = kZeroLine;
  graph.dayLabelTop = kDayLabelTop;
  graph.captionTop = kCaptionTop;
  graph.days = month.scan.length;
  for (const Point& p : CurvePoints(month.series))
    graph.curve.push_back({static_cast<double>(p.x), static_cast<double>(p.y)});
  if (KindInfo(kind).retrogradeMarks)
    for (int i = 1; i <= month.series.SampleCount && i < kSeriesSlots; ++i) {
      if (month.series.RetrogradeMarks[static_cast<size_t>(i)] != 1) continue;
      const double from = kCurveLeft + kSampleStep * (i - 1);
      if (!graph.marks.empty() && graph.marks.back().second == from)
        graph.marks.back().second = from + kSampleStep;
      else
        graph.marks.emplace_back(from, from + kSampleStep);
    }
  graph.caption =
      Cp1251ToUtf8(MonthName(month.month.month)) + ' ' + std::to_string(month.month.year);
  return graph;
}

}  // namespace

std::string RenderForecastDigest(const ForecastResult& run, Date made) {
  const ForecastRequest& request = run.request;
  Digest digest{request.kind, request.name, request.birth, made, {}, {}, {}, {}};
  for (const MonthForecast& month : run.months)
    digest.months.push_back({&month.scan, &month.series, GraphOfMonth(month, request.kind)});
  // The windows and exact days of the months' texts, and the planets' turns.
  const int months = static_cast<int>(run.months.size());
  digest.influences = FindInfluences(run.natal, request.start, months);
  digest.stations = FindStations(request.start, months);
  // The best windows from the scans the pages were made of, so that the
  // two cannot differ.
  std::vector<MonthScan> scans;
  for (const MonthForecast& month : run.months) scans.push_back(month.scan);
  digest.best = FindBestWindows(scans, request.kind, AttachScannedTexts(digest.influences, scans));
  std::string pdf, error;
  if (!DigestEntry<RenderDigestEntry>(kRenderDigestEntry)(digest, &pdf, &error))
    throw DigestUnavailable(DigestUnavailable::Cause::kNotMade, DigestModulePath(), error);
  return pdf;
}

void WriteForecastDigest(const ForecastResult& run, Date made, const std::filesystem::path& file) {
  WriteNamedFile(file, RenderForecastDigest(run, made));
}

std::string ForecastDigestFileName(const ForecastRequest& request) {
  return DigestFileName(request.kind, request.name, request.start,
                        request.start.Plus(kForecastMonths - 1));
}

}  // namespace meridan
