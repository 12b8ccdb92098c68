#pragma once
// The forecast digest of a finished run: the months as the run made them,
// laid out as one PDF and written like every other output, whole or not at
// all.

#include <filesystem>
#include <string>
#include <vector>

#include "base/dates.h"
#include "forecast/forecast.h"

namespace meridan {

// The PDF of a run.
std::string RenderForecastDigest(const ForecastResult& run, Date made);

// Renders it and writes it to file (whole or not at all, or into a FIFO or
// device that stands there). Throws FileError when the file cannot be
// written; nothing of the run is touched.
void WriteForecastDigest(const ForecastResult& run, Date made, const std::filesystem::path& file);

// The name a save dialog suggests for the digest: its title, "Прогноз:
// поездки — Иван Петров, декабрь 2026 – март 2027.pdf" (UTF-8). Loads no
// PDF library.
std::string ForecastDigestFileName(const ForecastRequest& request);

}  // namespace meridan
