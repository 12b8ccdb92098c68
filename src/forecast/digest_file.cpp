#include "forecast/digest_file.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string_view>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <utility>

#include "base/date_text.h"
#include "base/files.h"
#include "forecast/installation.h"
#include "output/digest/digest.h"
#include "output/digest/digest_boundary.h"
#include "output/digest/digest_build.h"
#include "output/digest/digest_title.h"
#include "output/graph/month_graph.h"
#include "texts/reader_clock.h"

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
  return PrivateProgramFile(kDigestModule);
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

std::string DescriptorName(int fd) { return "/proc/self/fd/" + std::to_string(fd); }

// The file of fd under a descriptor whose name the loader holds no object
// by, fd closed; -1 when there is none. For a name it holds, the loader
// hands back that object without opening the file, which under the number
// of a descriptor an earlier module was loaded by would be that module,
// whatever file the number names now. Under any other name it opens the
// file and loads it, or hands back the object it holds from that file.
int UnheldDescriptor(int fd) {
  int unheld = -1;
  for (int n = fd + 1; unheld < 0 && n < fd + 1024; ++n) {
    if (::fcntl(n, F_GETFD) != -1) continue;
    // With n closed, only an object held by its name answers.
    if (void* held = ::dlopen(DescriptorName(n).c_str(), RTLD_LAZY | RTLD_NOLOAD)) {
      ::dlclose(held);
      continue;
    }
    unheld = ::fcntl(fd, F_DUPFD_CLOEXEC, n);
    if (unheld >= 0 && unheld != n) {  // another thread took n meanwhile
      ::close(unheld);
      unheld = -1;
    }
  }
  ::dlerror();  // the probes' failures are no one's concern
  ::close(fd);
  return unheld;
}

// The digest module, opened and checked anew for each digest, so that the
// file checked is the one there now and the one that runs (the loader maps
// a file it already holds only once). Closing it leaves the module mapped
// (RTLD_NODELETE): unloading a module that started Pango's threads is
// unsafe. A module of another build is refused before any data reaches it.
class DigestModule {
 public:
  DigestModule();
  const std::filesystem::path& path() const { return path_; }
  MeridanRenderDigestEntry render() const { return render_; }

 private:
  std::filesystem::path path_ = DigestModulePath();
  std::unique_ptr<void, int (*)(void*)> handle_{nullptr, ::dlclose};
  MeridanRenderDigestEntry render_ = nullptr;
};

DigestModule::DigestModule() {
  const auto failure = [this](DigestUnavailable::Cause cause, const std::string& why) {
    return DigestUnavailable(cause, path_, "the PDF digest cannot be made: " + why);
  };
  std::string why;
  const int opened = OpenDigestModule(path_, why);
  if (opened < 0) throw failure(DigestUnavailable::Cause::kNotLoaded, why);
  const int fd = UnheldDescriptor(opened);
  if (fd < 0)
    throw failure(DigestUnavailable::Cause::kNotLoaded, "no descriptor free to load it by");
  const std::string self = DescriptorName(fd);
  handle_.reset(::dlopen(self.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE));
  ::close(fd);
  if (!handle_) {
    // The loader's words name the descriptor; the user knows the file.
    std::string error = ::dlerror();
    if (error.starts_with(self)) error.replace(0, self.size(), path_.string());
    throw failure(DigestUnavailable::Cause::kNotLoaded, error);
  }
  const auto build =
      reinterpret_cast<MeridanDigestBuildEntry>(::dlsym(handle_.get(), kDigestBuildEntry));
  if (!build || std::string_view(build()) != kDigestBuild)
    throw failure(DigestUnavailable::Cause::kOtherBuild,
                  path_.string() + " belongs to another build of the program; reinstall it");
  render_ = reinterpret_cast<MeridanRenderDigestEntry>(::dlsym(handle_.get(), kRenderDigestEntry));
  if (!render_) {
    const char* error = ::dlerror();
    throw failure(DigestUnavailable::Cause::kOtherBuild, error ? error : kRenderDigestEntry);
  }
}

// Room for the module's reason when it cannot make the PDF.
constexpr size_t kReasonSize = 1024;

// The PDF into the caller's string; running out of memory for it stops
// the render.
int IntoString(void* pdf, const char* bytes, size_t size) {
  try {
    static_cast<std::string*>(pdf)->append(bytes, size);
    return 1;
  } catch (...) {
    return 0;
  }
}

// Writes all of it to the child's memory file, or ends the child, which
// its parent reports.
void WriteOrExit(int fd, const char* bytes, size_t size) {
  for (size_t done = 0; done < size;) {
    const ssize_t n = ::write(fd, bytes + done, size - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) ::_exit(3);
    done += static_cast<size_t>(n);
  }
}

int IntoFile(void* fd, const char* bytes, size_t size) {
  WriteOrExit(*static_cast<const int*>(fd), bytes, size);
  return 1;
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
  graph.caption = Cp1251ToUtf8(MonthAndYear(month.month));
  return graph;
}

}  // namespace

namespace {

Digest DigestOfRun(const ForecastResult& run, const ForecastFindings& findings, Date made) {
  const ForecastRequest& request = run.request;
  Digest digest{request.kind, request.name, request.birth, made, {}, {}, {}, {}, {}, false};
  for (const MonthForecast& month : run.months)
    digest.months.push_back({&month.scan, &month.series, GraphOfMonth(month, request.kind)});
  for (const InfluenceText& text : findings.influences) digest.influences.push_back(text.influence);
  digest.hourUnknown = !request.hour.moment;
  digest.clock = SystemClock();
  digest.stations = findings.stations;
  digest.best = findings.best;
  return digest;
}

std::string ReadWhole(int fd) {
  std::string bytes;
  char buffer[65536];
  for (ssize_t n;
       (n = ::pread(fd, buffer, sizeof buffer, static_cast<off_t>(bytes.size()))) != 0;) {
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) break;
    bytes.append(buffer, static_cast<size_t>(n));
  }
  return bytes;
}

// The last line a process wrote to its standard error, as a reason.
std::string LastLine(std::string text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
  text.erase(0, text.find_last_of('\n') + 1);
  // GLib's "(process:123): GLib-ERROR **: 10:52:03.321: " before its words.
  if (const size_t stars = text.find("**: "); stars != std::string::npos) {
    text.erase(0, stars + 4);
    if (!text.empty() && std::isdigit(static_cast<unsigned char>(text[0])))
      text.erase(0, std::min(text.size(), text.find(": ") + 2));
  }
  return text.substr(0, 300);
}

// Renders in a child process: Pango and fontconfig abort the process that
// runs them when they cannot start a thread (a limit on processes) or get
// memory (a limit on address space), GLib's way, and no check made before
// calling them can promise that they will. The child's PDF, its error and
// what it says on its standard error come back in memory files.
std::string RenderInChild(MeridanRenderDigestEntry render, const MeridanDigest& digest,
                          const std::filesystem::path& module) {
  const auto failure = [&module](const std::string& why) {
    return DigestUnavailable(DigestUnavailable::Cause::kNotMade, module,
                             "the PDF digest cannot be made: " + why);
  };
  const int files[3] = {::memfd_create("meridan-digest-pdf", MFD_CLOEXEC),
                        ::memfd_create("meridan-digest-error", MFD_CLOEXEC),
                        ::memfd_create("meridan-digest-stderr", MFD_CLOEXEC)};
  const auto closeAll = [&files] {
    for (const int fd : files)
      if (fd >= 0) ::close(fd);
  };
  if (files[0] < 0 || files[1] < 0 || files[2] < 0) {
    const int error = errno;
    closeAll();
    throw failure(std::string("no memory file for it: ") + std::strerror(error));
  }
  std::fflush(nullptr);
  const pid_t child = ::fork();
  if (child < 0) {
    const int error = errno;
    closeAll();
    throw failure(std::string("no process could be started for it (") + std::strerror(error) +
                  "); is a limit on processes set?");
  }
  if (child == 0) {
    ::dup2(files[2], STDERR_FILENO);
    int pdfFile = files[0];
    char reason[kReasonSize] = {};
    if (render(&digest, IntoFile, &pdfFile, reason, sizeof reason)) ::_exit(0);
    WriteOrExit(files[1], reason, std::strlen(reason));
    ::_exit(2);
  }
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  std::string pdf = ReadWhole(files[0]), error = ReadWhole(files[1]),
              said = LastLine(ReadWhole(files[2]));
  closeAll();
  if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return pdf;
  if (WIFEXITED(status) && WEXITSTATUS(status) == 2) throw failure(error);
  std::string why = "Pango or fontconfig could not start here";
  if (WIFSIGNALED(status)) why += std::string(" (") + ::strsignal(WTERMSIG(status)) + ")";
  if (!said.empty()) why += ": " + said;
  throw failure(why + "; see Troubleshooting in the README");
}

}  // namespace

std::string RenderForecastDigest(const ForecastResult& run, const ForecastFindings& findings,
                                 Date made, DigestProcess where) {
  const Digest digest = DigestOfRun(run, findings, made);
  const DigestModule module;
  const DigestData data(digest);
  if (where == DigestProcess::kChild)
    return RenderInChild(module.render(), *data.get(), module.path());
  std::string pdf;
  char reason[kReasonSize] = {};
  if (!module.render()(data.get(), IntoString, &pdf, reason, sizeof reason))
    throw DigestUnavailable(DigestUnavailable::Cause::kNotMade, module.path(), reason);
  return pdf;
}

void WriteForecastDigest(const ForecastResult& run, const ForecastFindings& findings, Date made,
                         const std::filesystem::path& file, DigestProcess where) {
  WriteNamedFile(file, RenderForecastDigest(run, findings, made, where));
}

std::string ForecastDigestFileName(const ForecastRequest& request) {
  return DigestFileName(request.kind, request.name, request.start,
                        request.start.Plus(kForecastMonths - 1));
}

}  // namespace meridan
