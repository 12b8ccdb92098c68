#include "forecast/digest_file.h"

#include "base/files.h"
#include "output/digest/digest.h"

namespace meridan {

std::string RenderForecastDigest(const ForecastRequest& request,
                                 const std::vector<MonthForecast>& months, Date made) {
  Digest digest{request.kind, request.name, request.birth, made, {}};
  for (const MonthForecast& month : months) {
    const Raster& picture = month.graphPicture;
    DigestPicture graph{picture.width, picture.height, {}, month.graph};
    graph.rgb.reserve(picture.pixels.size() * 3);
    for (const Rgb& pixel : picture.pixels)
      graph.rgb.insert(graph.rgb.end(), {pixel.r, pixel.g, pixel.b});
    digest.months.push_back({&month.scan, &month.series, std::move(graph)});
  }
  return RenderDigest(digest);
}

void WriteForecastDigest(const ForecastRequest& request, const std::vector<MonthForecast>& months,
                         Date made, const std::filesystem::path& file) {
  WriteFileAtomically(file, RenderForecastDigest(request, months, made));
}

std::string ForecastDigestFileName(const ForecastRequest& request) {
  return DigestFileName(request.kind, request.name, request.start);
}

ForecastRequest LatestRequest(const ForecastSession& session, ForecastKind kind) {
  return {kind, session.Name, session.Birth(), {session.StartYear, session.StartMonth}};
}

}  // namespace meridan
