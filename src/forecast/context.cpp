#include "forecast/context.h"

#include <ctime>
#include <sys/stat.h>

#include "output/graph/month_graph.h"

namespace fs = std::filesystem;

namespace meridan {
namespace {

// What identifies a version of a file: a rewritten file (renamed into place)
// has another inode; one edited in place another size or time.
struct FileStamp {
  bool exists = false;
  dev_t device = 0;
  ino_t inode = 0;
  off_t size = 0;
  timespec modified{};

  static FileStamp Of(const fs::path& path) {
    FileStamp stamp;
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return stamp;
    stamp.exists = true;
    stamp.device = info.st_dev;
    stamp.inode = info.st_ino;
    stamp.size = info.st_size;
    stamp.modified = info.st_mtim;
    return stamp;
  }
  bool operator==(const FileStamp& other) const {
    return exists == other.exists && device == other.device && inode == other.inode &&
           size == other.size && modified.tv_sec == other.modified.tv_sec &&
           modified.tv_nsec == other.modified.tv_nsec;
  }
};

// A value loaded from a file, with the stamp the file had when it was read
// (taken before the read, so a change during the read is seen next time).
template <typename T>
struct FromFile {
  std::optional<T> value;
  FileStamp stamp;

  template <typename LoadFn>
  const T& Get(const fs::path& path, LoadFn load) {
    if (!value) {
      stamp = FileStamp::Of(path);
      value.emplace(load(path));
    }
    return *value;
  }
  void ForgetIfChanged(const fs::path& path) {
    if (value && !(FileStamp::Of(path) == stamp)) value.reset();
  }
};

}  // namespace

struct ForecastContext::Loaded {
  FromFile<PlutoTable> pluto;
  std::array<FromFile<InterpretationFile>, std::size(kForecastKinds)> interpretations;
  FromFile<Raster> graphTemplate;
  std::optional<Font> font;  // a system font, not a file of the program's
};

ForecastContext::ForecastContext(const fs::path& programDir)
    : dir_{programDir}, loaded_(std::make_unique<Loaded>()) {}
ForecastContext::ForecastContext(ForecastContext&&) noexcept = default;
ForecastContext& ForecastContext::operator=(ForecastContext&&) noexcept = default;
ForecastContext::~ForecastContext() = default;

const PlutoTable& ForecastContext::pluto() {
  return loaded_->pluto.Get(dir_.data() / kPlutoTableName, PlutoTable::Load);
}

const InterpretationFile& ForecastContext::interpretations(ForecastKind kind) {
  return loaded_->interpretations[static_cast<size_t>(kind)].Get(
      dir_.data() / KindInfo(kind).interpretationFile, InterpretationFile::Load);
}

const Raster& ForecastContext::graphTemplate() {
  return loaded_->graphTemplate.Get(dir_.graphTemplate(), ReadGraphTemplate);
}

const Font& ForecastContext::font() {
  if (!loaded_->font) loaded_->font.emplace(Font::Load());
  return *loaded_->font;
}

void ForecastContext::Refresh() {
  loaded_->pluto.ForgetIfChanged(dir_.data() / kPlutoTableName);
  for (const ForecastKindInfo& kind : kForecastKinds)
    loaded_->interpretations[static_cast<size_t>(kind.kind)].ForgetIfChanged(
        dir_.data() / kind.interpretationFile);
  loaded_->graphTemplate.ForgetIfChanged(dir_.graphTemplate());
}

}  // namespace meridan
