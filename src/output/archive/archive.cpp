#include "output/archive/archive.h"

#include <zip.h>
#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <iterator>
#include <memory>
#include <set>
#include <stdexcept>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "base/files.h"
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
  std::string bytes;  // read once: the stored copy is what was compared
};

[[noreturn]] void Fail(const std::string& what, const fs::path& file, const std::string& reason) {
  throw std::runtime_error(what + " " + file.string() + ": " + reason);
}

std::time_t ModificationTime(const fs::path& path) {
  const auto time = std::chrono::file_clock::to_sys(fs::last_write_time(path));
  return static_cast<std::time_t>(
      std::chrono::floor<std::chrono::seconds>(time).time_since_epoch().count());
}

// Every regular file under outputDir except the archive itself and the
// program's own temporary files, a directory's own files before those of its
// subdirectories, each level sorted by path. The first file of a name is
// stored under its bare name; a later namesake from another subdirectory goes
// under its path relative to outputDir, so that unpacking loses neither.
// Paths with a '/' can never meet a bare name. Links and other files that are
// not regular are left out (a link could carry a file from anywhere into the
// archive a user passes on) and listed in `skipped`.
std::vector<PackedFile> ListFiles(const fs::path& outputDir, const fs::path& archive,
                                  std::vector<fs::path>& skipped) {
  std::vector<fs::path> found;
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(outputDir)) {
    const fs::file_status status = entry.symlink_status();
    if (fs::is_directory(status)) continue;
    if (IsTemporaryFileName(entry.path().filename().string())) continue;
    if (!fs::is_regular_file(status)) {
      skipped.push_back(entry.path());
      continue;
    }
    if (fs::weakly_canonical(entry.path()) != archive)
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
    const fs::path path = outputDir / relative;
    files.push_back({path, std::move(name), ModificationTime(path), ReadFile(path)});
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

// An entry is kept when it is not older than its file and holds the same
// bytes: ZIP times have two-second steps, so the time alone would keep the
// previous forecast's page after a second run within the same two seconds.
bool IsUpToDate(zip_t* archive, zip_uint64_t index, const PackedFile& file) {
  zip_stat_t stat;
  if (zip_stat_index(archive, index, 0, &stat) != 0) return false;
  const zip_uint64_t needed = ZIP_STAT_MTIME | ZIP_STAT_SIZE | ZIP_STAT_CRC;
  if ((stat.valid & needed) != needed) return false;
  const auto* data = reinterpret_cast<const Bytef*>(file.bytes.data());
  const uLong crc = crc32_z(crc32_z(0, nullptr, 0), data, file.bytes.size());
  return DosDateTime(stat.mtime) >= DosDateTime(file.modified) && stat.size == file.bytes.size() &&
         stat.crc == crc;
}

void Store(zip_t* archive, const PackedFile& file, const zip_uint64_t* replacing) {
  zip_source_t* source = zip_source_buffer(archive, file.bytes.data(), file.bytes.size(), 0);
  if (!source) Fail("Cannot add", file.path, zip_strerror(archive));
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

std::string ErrorText(zip_error_t* error) { return zip_error_strerror(error); }

// The whole content of a buffer source after libzip has written the archive
// into it.
std::string SourceBytes(zip_source_t* source, const fs::path& archivePath) {
  zip_stat_t stat;
  if (zip_source_stat(source, &stat) < 0 || !(stat.valid & ZIP_STAT_SIZE) ||
      zip_source_open(source) < 0)
    Fail("Cannot write archive", archivePath, ErrorText(zip_source_error(source)));
  std::string bytes(stat.size, '\0');
  const zip_int64_t read = zip_source_read(source, bytes.data(), bytes.size());
  zip_source_close(source);
  if (read < 0 || static_cast<zip_uint64_t>(read) != stat.size)
    Fail("Cannot write archive", archivePath, ErrorText(zip_source_error(source)));
  return bytes;
}

}  // namespace

// The archive is read whole, updated in memory and written back through the
// program's one writer: a fresh file beside it renamed over it only when
// complete, so a killed run leaves the old archive and no part of a new one.
// Unchanged entries are copied without recompressing them, and an archive
// with nothing to change is not rewritten at all.
std::vector<fs::path> PackOutput(const fs::path& outputDir, const fs::path& archivePath) {
  const fs::path archive = fs::weakly_canonical(fs::absolute(archivePath));
  std::vector<fs::path> skipped;
  const std::vector<PackedFile> files = ListFiles(outputDir, archive, skipped);

  // A link in the archive's place is not an archive of ours: it is replaced
  // by one, and whatever it points at is neither read nor written.
  std::string old;
  bool existed = true;
  try {
    old = ReadFile(archivePath, false);
  } catch (const FileError& error) {
    if (error.error() != ENOENT && error.error() != ELOOP) throw;
    existed = false;
  }
  if (!existed && files.empty()) return skipped;
  // An empty file is no archive, and may be all that is left of one: it is
  // reported, not replaced.
  if (existed && old.empty()) Fail("Cannot open archive", archivePath, "Not a zip archive");

  zip_error_t error;
  zip_error_init(&error);
  // libzip 1.7 can free a buffer it was told not to own once the archive in
  // it is rewritten (its issue 284): the string's bytes would be freed twice,
  // by free() and by the string. libzip gets a copy of its own to free.
  void* bytes = nullptr;
  if (!old.empty()) {
    bytes = std::malloc(old.size());
    if (!bytes) throw std::bad_alloc();
    std::memcpy(bytes, old.data(), old.size());
  }
  std::unique_ptr<zip_source_t, decltype(&zip_source_free)> source(
      zip_source_buffer_create(bytes, old.size(), bytes ? 1 : 0, &error), zip_source_free);
  if (!source) {
    std::free(bytes);
    Fail("Cannot open archive", archivePath, ErrorText(&error));
  }
  old = std::string();
  std::unique_ptr<zip_t, decltype(&zip_discard)> zip(
      zip_open_from_source(source.get(), existed ? 0 : ZIP_TRUNCATE, &error), zip_discard);
  if (!zip) {
    const std::string reason = ErrorText(&error);
    zip_error_fini(&error);
    Fail("Cannot open archive", archivePath, reason);
  }
  zip_source_keep(source.get());  // the archive owns it now; the bytes are read from it after

  bool changed = !existed;
  const auto entries = EntriesByName(zip.get());
  for (const PackedFile& file : files) {
    const auto entry = entries.find(file.entryName);
    if (entry == entries.end()) {
      Store(zip.get(), file, nullptr);
      changed = true;
    } else if (!IsUpToDate(zip.get(), entry->second, file)) {
      Store(zip.get(), file, &entry->second);
      changed = true;
    }
  }
  if (!changed) return skipped;

  if (zip_close(zip.get()) < 0) Fail("Cannot write archive", archivePath, zip_strerror(zip.get()));
  zip.release();  // zip_close has freed it
  WriteFileAtomically(archivePath, SourceBytes(source.get(), archivePath));
  return skipped;
}

}  // namespace meridan
