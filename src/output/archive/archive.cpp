#include "output/archive/archive.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <iterator>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "base/files.h"
#include "output/archive/dos_time.h"
#include "output/archive/zip_file.h"

namespace fs = std::filesystem;

namespace meridan {
namespace {

struct PackedFile {
  fs::path path;
  std::string entryName;
  std::time_t modified;
  std::string read;        // the file's bytes where they had to be read
  std::string_view bytes;  // read once (or as written): what was compared is what is stored
};

[[noreturn]] void Fail(const std::string& what, const fs::path& file, const std::string& reason) {
  throw std::runtime_error(what + " " + file.string() + ": " + reason);
}

std::time_t ModificationTime(const fs::path& path) {
  const auto time = std::chrono::file_clock::to_sys(fs::last_write_time(path));
  return static_cast<std::time_t>(
      std::chrono::floor<std::chrono::seconds>(time).time_since_epoch().count());
}

// The bytes the caller wrote to a file directly in outputDir, unless the
// file has since changed size under another hand.
std::optional<std::string_view> WrittenBytes(const fs::path& relative, const fs::path& path,
                                             std::span<const WrittenFile> written) {
  if (relative.has_parent_path()) return std::nullopt;
  for (const WrittenFile& file : written) {
    if (file.name != relative.native()) continue;
    std::error_code ec;
    const std::uintmax_t size = fs::file_size(path, ec);
    if (ec || size != file.bytes.size()) return std::nullopt;
    return file.bytes;
  }
  return std::nullopt;
}

// Where the archive is, its directory resolved but not the name itself
// (which may be a link to be replaced), and the names under which it keeps
// unreadable archives beside it.
struct ArchivePlace {
  fs::path directory;
  fs::path name;

  explicit ArchivePlace(const fs::path& archive)
      : directory(fs::weakly_canonical(fs::absolute(archive).parent_path())),
        name(archive.filename()) {}
  std::string KeptPrefix() const { return name.string() + ".unreadable-"; }
  // The archive itself, or an unreadable one kept beside it.
  bool Holds(const fs::path& path) const {
    const std::string file = path.filename().string();
    if (file != name.string() && !file.starts_with(KeptPrefix())) return false;
    std::error_code ec;
    return fs::weakly_canonical(fs::absolute(path).parent_path(), ec) == directory;
  }
};

// Every regular file under outputDir except the archive itself, the
// unreadable archives kept beside it and the program's own temporary files,
// a directory's own files before those of its subdirectories, each level
// sorted by path. The first file of a name is
// stored under its bare name; a later namesake from another subdirectory goes
// under its path relative to outputDir, so that unpacking loses neither.
// Paths with a '/' can never meet a bare name. Links and other files that are
// not regular are left out (a link could carry a file from anywhere into the
// archive a user passes on) and listed in `skipped`.
std::vector<PackedFile> ListFiles(const fs::path& outputDir, const ArchivePlace& archive,
                                  std::span<const WrittenFile> written,
                                  std::vector<fs::path>& skipped) {
  std::vector<fs::path> found;
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(outputDir)) {
    const fs::file_status status = entry.symlink_status();
    if (fs::is_directory(status)) continue;
    if (IsTemporaryFileName(entry.path().filename().string())) continue;
    if (archive.Holds(entry.path())) continue;
    if (!fs::is_regular_file(status)) {
      skipped.push_back(entry.path());
      continue;
    }
    found.push_back(entry.path().lexically_relative(outputDir));
  }
  const auto key = [](const fs::path& relative) {
    return std::pair(std::distance(relative.begin(), relative.end()), relative.generic_string());
  };
  std::sort(found.begin(), found.end(),
            [&](const fs::path& a, const fs::path& b) { return key(a) < key(b); });

  std::set<std::string> bareNames;
  std::vector<PackedFile> files;
  files.reserve(found.size());  // `bytes` may point into `read`: the files stay where they are
  for (const fs::path& relative : found) {
    std::string name = relative.filename().string();
    if (!bareNames.insert(name).second) name = relative.generic_string();
    const fs::path path = outputDir / relative;
    PackedFile& file =
        files.emplace_back(PackedFile{path, std::move(name), ModificationTime(path), {}, {}});
    if (const auto bytes = WrittenBytes(relative, path, written)) {
      file.bytes = *bytes;
    } else {
      file.read = ReadFile(path);
      file.bytes = file.read;
    }
  }
  return files;
}

// The first entry of each name, as the names are stored (bytes, not
// converted), so that an entry is found again whatever its encoding.
std::unordered_map<std::string, size_t> EntriesByName(const ZipArchive& archive) {
  std::unordered_map<std::string, size_t> entries;
  for (size_t i = 0; i < archive.entries.size(); ++i) entries.emplace(archive.entries[i].name, i);
  return entries;
}

// An entry is kept when it is not older than its file and holds the same
// bytes: ZIP times have two-second steps, so the time alone would keep the
// previous forecast's page after a second run within the same two seconds.
bool IsUpToDate(const ZipEntry& entry, const PackedFile& file) {
  return entry.dosDateTime >= DosDateTime(file.modified) && entry.size == file.bytes.size() &&
         entry.crc == Crc32(file.bytes);
}

// Renames an archive that cannot be read out of the way of a fresh one:
// "<archive>.unreadable-YYYYMMDD-HHMMSS" beside it, "-2", "-3" ... after that
// when a name is taken, never over an earlier one.
fs::path KeepUnreadable(const fs::path& archivePath, const ArchivePlace& place) {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
  const std::string base = place.KeptPrefix() + stamp;
  for (int n = 1;; ++n) {
    const fs::path kept =
        archivePath.parent_path() / (n == 1 ? base : base + "-" + std::to_string(n));
    if (::renameat2(AT_FDCWD, archivePath.c_str(), AT_FDCWD, kept.c_str(), RENAME_NOREPLACE) == 0)
      return kept;
    // A file system that cannot rename without replacing can still link,
    // which never replaces either; the fresh archive then takes the name.
    if ((errno == EINVAL || errno == ENOSYS) && ::link(archivePath.c_str(), kept.c_str()) == 0)
      return kept;
    if (errno != EEXIST || n == 1000) throw FileError("create", kept, errno);
  }
}

}  // namespace

// The archive is read whole, updated in memory and written back through the
// program's one writer: a fresh file beside it renamed over it only when
// complete, so a killed run leaves the old archive and no part of a new one.
// Unchanged entries are copied as they were stored, without packing them
// again, and an archive with nothing to change is not rewritten at all.
PackReport PackOutput(const fs::path& outputDir, const fs::path& archivePath,
                      std::span<const WrittenFile> written) {
  const ArchivePlace place(archivePath);
  PackReport report;
  const std::vector<PackedFile> files = ListFiles(outputDir, place, written, report.notPacked);

  // A link in the archive's place is not an archive of ours: it is replaced
  // by one, and whatever it points at is neither read nor written.
  std::string old;
  bool existed = true;
  try {
    old = ReadFile(archivePath, false);
  } catch (const FileError& error) {
    if (error.error() != ENOENT && error.error() != ELOOP) throw;
    existed = false;
    report.replacedLink = error.error() == ELOOP;
  }
  if (!existed && files.empty()) return {};

  ZipArchive zip;
  std::string unreadable;
  if (existed) {
    try {
      zip = ParseZip(old);
    } catch (const ZipFormatError& error) {
      unreadable = error.what();
    }
  }
  bool changed = !existed || !unreadable.empty() || !zip.dropped.empty();
  const auto entries = EntriesByName(zip);
  // The files that need a fresh entry, then their data deflated together.
  std::vector<const PackedFile*> stale;
  std::vector<std::string_view> data;
  for (const PackedFile& file : files) {
    const auto entry = entries.find(file.entryName);
    if (entry != entries.end() && IsUpToDate(zip.entries[entry->second], file)) continue;
    stale.push_back(&file);
    data.push_back(file.bytes);
  }
  const std::vector<DeflatedData> deflated = DeflateAll(data);
  for (size_t i = 0; i < stale.size(); ++i) {
    const PackedFile& file = *stale[i];
    ZipEntry fresh = DeflatedEntry(file.entryName, deflated[i], DosDateTime(file.modified));
    const auto entry = entries.find(file.entryName);
    if (entry == entries.end())
      zip.entries.push_back(std::move(fresh));
    else
      zip.entries[entry->second] = std::move(fresh);
    changed = true;
  }
  if (!changed) return report;
  // A dropped entry whose file is there has just been packed from it again.
  for (const DroppedZipEntry& dropped : zip.dropped)
    if (std::none_of(files.begin(), files.end(),
                     [&](const PackedFile& file) { return file.entryName == dropped.name; }))
      report.droppedEntries.push_back(dropped.name + ": " + dropped.reason);

  std::string bytes;
  try {
    bytes = WriteZip(zip);
  } catch (const ZipFormatError& error) {
    Fail("Cannot write archive", archivePath, error.what());
  }
  if (!unreadable.empty()) {
    report.unreadableKeptAs = KeepUnreadable(archivePath, place);
    report.unreadableNotice = "the archive " + archivePath.string() + " could not be read (" +
                              unreadable + "); it is kept as " +
                              report.unreadableKeptAs.filename().string() +
                              " and a fresh archive written in its place";
  }
  try {
    WriteFileAtomically(archivePath, bytes);
  } catch (const FileError&) {
    // Nothing written: the unreadable archive goes back where it was.
    if (!report.unreadableKeptAs.empty())
      ::renameat2(AT_FDCWD, report.unreadableKeptAs.c_str(), AT_FDCWD, archivePath.c_str(),
                  RENAME_NOREPLACE);
    throw;
  }
  return report;
}

}  // namespace meridan
