#include "output/archive/archive.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <ctime>
#include <iterator>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <sys/stat.h>
#include <system_error>
#include <unordered_map>
#include <utility>
#include <vector>

#include "base/files.h"
#include "base/temporary_files.h"
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

std::string SystemReason(int error) { return std::generic_category().message(error); }

std::time_t ModificationTime(const struct stat& info) { return info.st_mtim.tv_sec; }

// The bytes the caller wrote to a file directly in outputDir, unless the
// file has since changed size under another hand.
std::optional<std::string_view> WrittenBytes(const fs::path& relative, std::uintmax_t size,
                                             std::span<const WrittenFile> written) {
  if (relative.has_parent_path()) return std::nullopt;
  for (const WrittenFile& file : written)
    if (file.name == relative.native()) {
      if (size != file.bytes.size()) return std::nullopt;
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

// A file found under outputDir, by its path relative to it.
struct FoundFile {
  fs::path relative;
  struct stat info;
};

// Every regular file under outputDir except the archive itself (and what
// lies in it, should it be a directory), the unreadable archives kept
// beside it and the program's own temporary files. Links and other files
// that are not regular are left out (a link could carry a file from
// anywhere into the archive a user passes on) and listed in
// report.notPacked; subdirectories that cannot be read are left out and
// listed in report.leftOut with the system's reason.
std::vector<FoundFile> FindFiles(const fs::path& outputDir, const ArchivePlace& archive,
                                 PackReport& report) {
  std::vector<FoundFile> found;
  std::vector<fs::path> directories{fs::path()};
  while (!directories.empty()) {
    const fs::path relative = std::move(directories.back());
    directories.pop_back();
    std::error_code ec;
    fs::directory_iterator listing(outputDir / relative, ec);
    for (const fs::directory_iterator end; !ec && listing != end; listing.increment(ec)) {
      const fs::path& path = listing->path();
      if (IsTemporaryFileName(path.filename().string()) || archive.Holds(path)) continue;
      struct stat info {};
      if (::lstat(path.c_str(), &info) != 0) {
        if (errno != ENOENT) report.leftOut.push_back({path, false, SystemReason(errno)});
        continue;
      }
      if (S_ISDIR(info.st_mode))
        directories.push_back(relative / path.filename());
      else if (S_ISREG(info.st_mode))
        found.push_back({relative / path.filename(), info});
      else
        report.notPacked.push_back(path);
    }
    // The top directory was just written into: not being able to list it
    // is the run's failure, not a file to leave out.
    if (ec && relative.empty()) throw FileError(FileError::Operation::kOpen, outputDir, ec.value());
    if (ec) report.leftOut.push_back({outputDir / relative, false, SystemReason(ec.value())});
  }
  return found;
}

// The files to pack, a directory's own files before those of its
// subdirectories, each level sorted by path. The first file of a name is
// stored under its bare name; a later namesake from another subdirectory
// goes under its path relative to outputDir, so that unpacking loses
// neither. Paths with a '/' can never meet a bare name. A file too large
// for the format is left out by its size, unread, and so is one that
// cannot be read (both listed in report.leftOut); one that is gone since
// it was found is passed over.
std::vector<PackedFile> ListFiles(const fs::path& outputDir, const ArchivePlace& archive,
                                  std::span<const WrittenFile> written, PackReport& report) {
  std::vector<FoundFile> found = FindFiles(outputDir, archive, report);
  const auto key = [](const FoundFile& file) {
    return std::pair(std::distance(file.relative.begin(), file.relative.end()),
                     file.relative.generic_string());
  };
  std::sort(found.begin(), found.end(),
            [&](const FoundFile& a, const FoundFile& b) { return key(a) < key(b); });

  std::set<std::string> bareNames;
  std::vector<PackedFile> files;
  files.reserve(found.size());  // `bytes` may point into `read`: the files stay where they are
  for (const FoundFile& candidate : found) {
    const fs::path path = outputDir / candidate.relative;
    const auto size = static_cast<std::uintmax_t>(candidate.info.st_size);
    if (!FitsInZip(size)) {
      report.leftOut.push_back({path, true, "too large for a ZIP archive without ZIP64"});
      continue;
    }
    std::string name = candidate.relative.filename().string();
    if (bareNames.contains(name)) name = candidate.relative.generic_string();
    PackedFile& file = files.emplace_back(
        PackedFile{path, std::move(name), ModificationTime(candidate.info), {}, {}});
    if (const auto bytes = WrittenBytes(candidate.relative, size, written)) {
      file.bytes = *bytes;
    } else {
      try {
        file.read = ReadFile(path, false);
        file.bytes = file.read;
      } catch (const FileError& error) {
        if (error.error() != ENOENT)
          report.leftOut.push_back({path, false, SystemReason(error.error())});
        files.pop_back();
        continue;
      }
    }
    bareNames.insert(candidate.relative.filename().string());
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

// Brings zip up to date with the files: an entry of a file that it still
// holds stays as it was stored, any other file is deflated (all of them
// together) into a fresh entry that replaces its namesake or is added.
// Returns whether anything changed.
bool Update(ZipArchive& zip, const std::vector<PackedFile>& files) {
  const auto entries = EntriesByName(zip);
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
  }
  return !stale.empty();
}

// What stands in the archive's place: nothing, a link, an archive's bytes,
// or something that cannot be read as one.
struct OldArchive {
  bool exists = false;
  bool link = false;
  std::string bytes;
  std::string unusable;  // why it cannot be updated, as "could not be read (...)"
};

const char* KindOf(mode_t mode) {
  if (S_ISDIR(mode)) return "a directory";
  if (S_ISFIFO(mode)) return "a FIFO";
  if (S_ISCHR(mode)) return "a character device";
  if (S_ISBLK(mode)) return "a block device";
  if (S_ISSOCK(mode)) return "a socket";
  return "not a file";
}

// A link in the archive's place is not an archive of ours: it is replaced
// by one, and whatever it points at is neither read nor written. Nor is
// anything else that is not a regular file opened (a FIFO would wait for a
// writer, a device do what opening it does).
OldArchive ReadOldArchive(const fs::path& path) {
  OldArchive old;
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0) {
    if (errno != ENOENT) throw FileError(FileError::Operation::kOpen, path, errno);
    return old;
  }
  old.link = S_ISLNK(info.st_mode);
  old.exists = !old.link;
  if (old.link) return old;
  if (!S_ISREG(info.st_mode)) {
    old.unusable = std::string("is not a file but ") + KindOf(info.st_mode);
    return old;
  }
  try {
    old.bytes = ReadFile(path, false);
  } catch (const FileError& error) {
    if (error.error() == ENOENT || error.error() == ELOOP) {
      old.exists = false;
      old.link = error.error() == ELOOP;
    } else {
      old.unusable = "could not be opened (" + SystemReason(error.error()) + ")";
    }
  }
  return old;
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
    if (errno != EEXIST || n == 1000) throw FileError(FileError::Operation::kCreate, kept, errno);
  }
}

// The old archive's entries in zip; or, for an old archive that cannot
// be updated and is kept aside for a fresh one, why.
std::string OpenOldArchive(const OldArchive& old, ZipArchive& zip) {
  if (!old.exists || !old.unusable.empty()) return old.unusable;
  try {
    zip = ParseZip(old.bytes);
  } catch (const ZipFormatError& error) {
    return std::string("could not be read (") + error.what() + ")";
  }
  return {};
}

// The archive's bytes. Where the old entries with the new files outgrow
// the format, the old archive stays whole beside a fresh one of the files
// alone, and keptBecause says so.
std::string ArchiveBytes(ZipArchive& zip, const std::vector<PackedFile>& files, bool updatingOld,
                         std::string& keptBecause, const fs::path& archivePath) {
  try {
    return WriteZip(zip);
  } catch (const ZipFormatError& error) {
    if (!updatingOld) Fail("Cannot write archive", archivePath, error.what());
  }
  keptBecause = "would outgrow a ZIP archive without ZIP64 with this forecast's files";
  zip = {};
  Update(zip, files);
  try {
    return WriteZip(zip);
  } catch (const ZipFormatError& fresh) {
    Fail("Cannot write archive", archivePath, fresh.what());
  }
}

// The entries of the old archive that were dropped; one whose file is
// there has just been packed from it again.
void ReportDropped(const ZipArchive& zip, const std::vector<PackedFile>& files,
                   PackReport& report) {
  for (const DroppedZipEntry& dropped : zip.dropped)
    if (std::none_of(files.begin(), files.end(),
                     [&](const PackedFile& file) { return file.entryName == dropped.name; }))
      report.droppedEntries.push_back({dropped.name, dropped.reason});
}

// The old archive moved aside under a name of its own, and the line that
// says why and where.
void KeepOldAside(const fs::path& archivePath, const ArchivePlace& place,
                  const std::string& keptBecause, PackReport& report) {
  try {
    report.unreadableKeptAs = KeepUnreadable(archivePath, place);
  } catch (const FileError& error) {
    Fail("Cannot write archive", archivePath,
         "the old one there " + keptBecause + " and cannot be moved aside (" +
             SystemReason(error.error()) + ")");
  }
  report.unreadableNotice = "the archive " + archivePath.string() + " " + keptBecause +
                            "; it is kept as " + report.unreadableKeptAs.filename().string() +
                            " and a fresh archive written in its place";
}

// Where nothing could be written, the old archive kept aside goes back
// where it was.
void WriteArchive(const fs::path& archivePath, const std::string& bytes, const PackReport& report) {
  try {
    WriteFileAtomically(archivePath, bytes);
  } catch (const FileError&) {
    if (!report.unreadableKeptAs.empty())
      ::renameat2(AT_FDCWD, report.unreadableKeptAs.c_str(), AT_FDCWD, archivePath.c_str(),
                  RENAME_NOREPLACE);
    throw;
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
  const std::vector<PackedFile> files = ListFiles(outputDir, place, written, report);
  const OldArchive old = ReadOldArchive(archivePath);
  if (!old.exists && files.empty()) return report;
  report.replacedLink = old.link;

  ZipArchive zip;
  std::string keptBecause = OpenOldArchive(old, zip);
  bool changed = !old.exists || !keptBecause.empty() || !zip.dropped.empty() || zip.commentDropped;
  changed = Update(zip, files) || changed;
  if (!changed) return report;
  const std::string bytes =
      ArchiveBytes(zip, files, old.exists && keptBecause.empty(), keptBecause, archivePath);
  ReportDropped(zip, files, report);
  if (!keptBecause.empty()) KeepOldAside(archivePath, place, keptBecause, report);
  WriteArchive(archivePath, bytes, report);
  return report;
}

}  // namespace meridan
