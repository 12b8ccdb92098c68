#pragma once
// What a forecast run loads, owned by the caller: the Pluto table, the
// interpretation files, the graph's template and font. A run loads each on
// first use and keeps it for its whole length; the desktop program keeps one
// context and calls Refresh before each run, so a file edited in between is
// read again. Nothing here is process-wide, and nothing handed out goes
// stale while the context lives and is not refreshed.

#include <array>
#include <filesystem>
#include <memory>
#include <optional>

#include "base/program_dir.h"
#include "ephemeris/pluto.h"
#include "output/graph/raster.h"
#include "output/graph/text.h"
#include "texts/interpretation.h"
#include "transits/forecast_kind.h"

namespace meridan {

class ForecastContext {
 public:
  // programDir holds System/ and Output/.
  explicit ForecastContext(const std::filesystem::path& programDir);
  ForecastContext(ForecastContext&&) noexcept;
  ForecastContext& operator=(ForecastContext&&) noexcept;
  ~ForecastContext();

  const ProgramDir& dir() const { return dir_; }
  const std::filesystem::path& programDir() const { return dir_.root; }

  const PlutoTable& pluto();
  const InterpretationFile& interpretations(ForecastKind kind);
  const Raster& graphTemplate();
  const Font& font();

  // Forgets every file that changed on disk since it was loaded (size,
  // modification time or the file itself); the next use reads it again.
  void Refresh();

 private:
  struct Loaded;
  ProgramDir dir_;
  std::unique_ptr<Loaded> loaded_;
};

}  // namespace meridan
