#include "forecast/digest_file.h"

#include <dlfcn.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include "base/files.h"
#include "output/digest/digest.h"
#include "output/graph/jpeg.h"

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

// An entry point of the digest module, loaded on first use and kept for the
// process's life (closing a module that started Pango's threads is unsafe).
template <typename Entry>
Entry DigestEntry(const char* name) {
  const std::filesystem::path path = DigestModulePath();
  void* module = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
  if (!module)
    throw std::runtime_error(std::string("the PDF digest cannot be made: ") + ::dlerror());
  void* entry = ::dlsym(module, name);
  if (!entry)
    throw std::runtime_error(std::string("the PDF digest cannot be made: ") + ::dlerror());
  return reinterpret_cast<Entry>(entry);
}

}  // namespace

std::string RenderForecastDigest(const ForecastRequest& request,
                                 const std::vector<MonthForecast>& months, Date made) {
  Digest digest{request.kind, request.name, request.birth, made, {}};
  for (const MonthForecast& month : months) {
    // The pixels stand behind the JPEG in the PDF; they are decoded here
    // rather than kept by every run for the few that make a digest.
    const Raster picture = DecodeJpeg(month.graph);
    DigestPicture graph{picture.width, picture.height, {}, month.graph};
    graph.rgb.reserve(picture.pixels.size() * 3);
    for (const Rgb& pixel : picture.pixels)
      graph.rgb.insert(graph.rgb.end(), {pixel.r, pixel.g, pixel.b});
    digest.months.push_back({&month.scan, &month.series, std::move(graph)});
  }
  std::string pdf, error;
  if (!DigestEntry<RenderDigestEntry>(kRenderDigestEntry)(digest, &pdf, &error))
    throw std::runtime_error(error);
  return pdf;
}

void WriteForecastDigest(const ForecastRequest& request, const std::vector<MonthForecast>& months,
                         Date made, const std::filesystem::path& file) {
  WriteNamedFile(file, RenderForecastDigest(request, months, made));
}

std::string ForecastDigestFileName(const ForecastRequest& request) {
  std::string name, error;
  if (!DigestEntry<DigestFileNameEntry>(kDigestFileNameEntry)(request.kind, request.name,
                                                              request.start, &name, &error))
    throw std::runtime_error(error);
  return name;
}

ForecastRequest LatestRequest(const ForecastSession& session, ForecastKind kind) {
  return {kind, session.Name, session.Birth(), {session.StartYear, session.StartMonth}};
}

}  // namespace meridan
