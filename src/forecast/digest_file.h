#pragma once
// The forecast digest of a finished run: the months as the run made them,
// laid out as one PDF and written like every other output, whole or not at
// all.

#include <filesystem>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "base/dates.h"
#include "forecast/findings.h"
#include "forecast/forecast.h"

namespace meridan {

// The digest module could not make the PDF; what() says why in the command
// line's words, the fields let a window say it in its own.
class DigestUnavailable : public std::runtime_error {
 public:
  enum class Cause {
    kNotLoaded,   // the module is missing or cannot be loaded
    kOtherBuild,  // the module belongs to another build of the program
    kNotMade,     // the module failed to lay out or write the PDF
  };
  DigestUnavailable(Cause cause, std::filesystem::path module, const std::string& what)
      : std::runtime_error(what), cause_(cause), module_(std::move(module)) {}
  Cause cause() const { return cause_; }
  const std::filesystem::path& module() const { return module_; }

 private:
  Cause cause_;
  std::filesystem::path module_;
};

// Where the digest's libraries run. Pango and fontconfig end the process
// that runs them when they cannot start a thread or get memory (under a
// limit on processes or address space); in a child process of its own,
// that costs only the PDF, reported as DigestUnavailable. The command line
// uses a child; the desktop program its own process, whose toolkit's
// threads a fork would not carry.
enum class DigestProcess { kOwn, kChild };

// The PDF of a run, with the findings read off it.
std::string RenderForecastDigest(const ForecastResult& run, const ForecastFindings& findings,
                                 Date made, DigestProcess where = DigestProcess::kOwn);

// Renders it and writes it to file (whole or not at all, or into a FIFO or
// device that stands there). Throws FileError when the file cannot be
// written, DigestUnavailable when the PDF cannot be made; nothing of the
// run is touched.
void WriteForecastDigest(const ForecastResult& run, const ForecastFindings& findings, Date made,
                         const std::filesystem::path& file,
                         DigestProcess where = DigestProcess::kOwn);

// The name a save dialog suggests for the digest: its title, "Прогноз,
// поездки — Иван Петров, декабрь 2026 – март 2027.pdf" (UTF-8). Loads no
// PDF library.
std::string ForecastDigestFileName(const ForecastRequest& request);

}  // namespace meridan
