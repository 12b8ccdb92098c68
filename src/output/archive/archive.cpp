#include "output/archive/archive.h"

#include <zip.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <iterator>
#include <memory>
#include <set>
#include <stdexcept>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "output/archive/dos_time.h"

namespace fs = std::filesystem;

namespace meridan {
namespace {

// Level 9 is the maximum deflate level; the archive is packed once per
// forecast, so its size matters more than the time taken.
constexpr zip_uint32_t kPackLevel = 9;

struct PackedFile {
  fs::path path;
  std::string entryName;
  std::time_t modified;
};

[[noreturn]] void Fail(const std::string& what, const fs::path& file, const std::string& reason) {
  throw std::runtime_error(what + " " + file.string() + ": " + reason);
}

std::time_t ModificationTime(const fs::path& path) {
  const auto time = std::chrono::file_clock::to_sys(fs::last_write_time(path));
  return static_cast<std::time_t>(
      std::chrono::floor<std::chrono::seconds>(time).time_since_epoch().count());
}

// Every regular file under outputDir except the archive itself, a directory's
// own files before those of its subdirectories, each level sorted by path. The
// first file of a name is stored under its bare name; a later namesake from
// another subdirectory goes under its path relative to outputDir, so that
// unpacking loses neither. Paths with a '/' can never meet a bare name.
std::vector<PackedFile> ListFiles(const fs::path& outputDir, const fs::path& archive) {
  std::vector<fs::path> found;
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(outputDir)) {
    if (entry.is_directory()) continue;
    if (!entry.is_regular_file()) Fail("Cannot pack", entry.path(), "not a regular file");
    if (fs::canonical(entry.path()) != archive)
      found.push_back(entry.path().lexically_relative(outputDir));
  }
  const auto key = [](const fs::path& relative) {
    return std::pair(std::distance(relative.begin(), relative.end()), relative.generic_string());
  };
  std::sort(found.begin(), found.end(),
            [&](const fs::path& a, const fs::path& b) { return key(a) < key(b); });

  std::set<std::string> bareNames;
  std::vector<PackedFile> files;
  for (const fs::path& relative : found) {
    std::string name = relative.filename().string();
    if (!bareNames.insert(name).second) name = relative.generic_string();
    files.push_back(
        {outputDir / relative, std::move(name), ModificationTime(outputDir / relative)});
  }
  return files;
}

// Stored names as bytes, the first of equal names winning as in libzip's own
// lookup. zip_name_locate compares names converted to UTF-8 and so would miss
// an entry whose name is not UTF-8, adding it a second time.
std::unordered_map<std::string, zip_uint64_t> EntriesByName(zip_t* archive) {
  std::unordered_map<std::string, zip_uint64_t> entries;
  const zip_int64_t count = zip_get_num_entries(archive, 0);
  for (zip_int64_t i = 0; i < count; ++i) {
    if (const char* name = zip_get_name(archive, static_cast<zip_uint64_t>(i), ZIP_FL_ENC_RAW))
      entries.emplace(name, static_cast<zip_uint64_t>(i));
  }
  return entries;
}

bool IsUpToDate(zip_t* archive, zip_uint64_t index, std::time_t fileModified) {
  zip_stat_t stat;
  return zip_stat_index(archive, index, 0, &stat) == 0 && (stat.valid & ZIP_STAT_MTIME) &&
         DosDateTime(stat.mtime) >= DosDateTime(fileModified);
}

// libzip reads the file only while writing the archive, where a failure no
// longer says which file it was; opening it once here names the file.
zip_source_t* FileSource(zip_t* archive, const fs::path& path) {
  zip_source_t* source = zip_source_file(archive, path.c_str(), 0, -1);
  if (!source) Fail("Cannot read", path, zip_strerror(archive));
  if (zip_source_open(source) < 0) {
    const std::string reason = zip_error_strerror(zip_source_error(source));
    zip_source_free(source);
    Fail("Cannot read", path, reason);
  }
  zip_source_close(source);
  return source;
}

void Store(zip_t* archive, const PackedFile& file, const zip_uint64_t* replacing) {
  zip_source_t* source = FileSource(archive, file.path);
  zip_int64_t index;
  if (replacing) {
    index = zip_file_replace(archive, *replacing, source, 0) == 0
                ? static_cast<zip_int64_t>(*replacing)
                : -1;
  } else {
    index = zip_file_add(archive, file.entryName.c_str(), source, ZIP_FL_ENC_GUESS);
  }
  if (index < 0) {
    zip_source_free(source);
    Fail("Cannot add", file.path, zip_strerror(archive));
  }
  const auto entry = static_cast<zip_uint64_t>(index);
  if (zip_set_file_compression(archive, entry, ZIP_CM_DEFLATE, kPackLevel) < 0 ||
      zip_file_set_mtime(archive, entry, file.modified, 0) < 0)
    Fail("Cannot add", file.path, zip_strerror(archive));
}

}  // namespace

// libzip writes the new archive into a temporary file beside the old one and
// renames it over the old one only when everything has been written; on a
// failure it removes the temporary file, and zip_discard leaves the old
// archive as it was. The temporary file is made after the listing, so it is
// never packed. Unchanged entries are copied without recompressing them, and
// an archive with nothing to change is not rewritten at all.
void PackOutput(const fs::path& outputDir, const fs::path& archivePath) {
  const fs::path archive = fs::weakly_canonical(fs::absolute(archivePath));
  const std::vector<PackedFile> files = ListFiles(outputDir, archive);

  int code = 0;
  std::unique_ptr<zip_t, decltype(&zip_discard)> zip(zip_open(archive.c_str(), ZIP_CREATE, &code),
                                                     zip_discard);
  if (!zip) {
    zip_error_t error;
    zip_error_init_with_code(&error, code);
    const std::string reason = zip_error_strerror(&error);
    zip_error_fini(&error);
    Fail("Cannot open archive", archivePath, reason);
  }

  const auto entries = EntriesByName(zip.get());
  for (const PackedFile& file : files) {
    const auto entry = entries.find(file.entryName);
    if (entry == entries.end()) {
      Store(zip.get(), file, nullptr);
    } else if (!IsUpToDate(zip.get(), entry->second, file.modified)) {
      Store(zip.get(), file, &entry->second);
    }
  }

  if (zip_close(zip.get()) < 0) Fail("Cannot write archive", archivePath, zip_strerror(zip.get()));
  zip.release();  // zip_close has freed it
}

}  // namespace meridan
