#include "forecast/digest_file.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <string_view>
#include <sys/stat.h>

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
// directory), else in the library directory the build was configured to
// install it in: an absolute path, never one found from where the program
// happens to lie (a program under /tmp would otherwise load whatever stood
// in /tmp/lib).
std::filesystem::path DigestModulePath() {
  if (const char* named = std::getenv("MERIDAN_DIGEST_MODULE"); named && *named) return named;
  std::error_code ec;
  const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", ec);
  const std::filesystem::path beside = program.parent_path() / kDigestModule;
  if (!ec && std::filesystem::exists(std::filesystem::symlink_status(beside, ec))) return beside;
  return std::filesystem::path(MERIDAN_INSTALLED_MODULE_DIR) / kDigestModule;
}

// The module's file, opened for loading: a regular file (the open does not
// wait, so a FIFO or a device there cannot hold the run), owned by root or
// by the user, and writable by no one else, who could otherwise make the
// program run code of theirs. The descriptor is what is loaded, so the file
// checked is the file that runs. Returns it, or says why not.
int OpenDigestModule(const std::filesystem::path& path, std::string& why) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  struct stat info {};
  if (fd < 0 || ::fstat(fd, &info) != 0) {
    why = "cannot open " + path.string() + ": " + std::strerror(errno);
  } else if (!S_ISREG(info.st_mode)) {
    why = path.string() + " is not a regular file";
  } else if (info.st_uid != 0 && info.st_uid != ::geteuid()) {
    why = path.string() + " belongs to another user; it is not loaded";
  } else if (info.st_mode & (S_IWGRP | S_IWOTH)) {
    why = path.string() + " may be changed by other users; it is not loaded";
  } else {
    return fd;
  }
  if (fd >= 0) ::close(fd);
  return -1;
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
  std::string why;
  const int fd = OpenDigestModule(path, why);
  if (fd < 0) throw failure(DigestUnavailable::Cause::kNotLoaded, why);
  const std::string self = "/proc/self/fd/" + std::to_string(fd);
  void* module = ::dlopen(self.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
  ::close(fd);
  if (!module) {
    // The loader's words name the descriptor; the user knows the file.
    std::string error = ::dlerror();
    if (error.starts_with(self)) error.replace(0, self.size(), path.string());
    throw failure(DigestUnavailable::Cause::kNotLoaded, error);
  }
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
