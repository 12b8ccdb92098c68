#pragma once
// The forecast archive: every file of the output directory (and its
// subdirectories) in one ZIP file, updated in place run after run.

#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace meridan {

// What packing did beside the archive itself, for the caller to mention.
struct PackReport {
  // Links and other files that are not regular, left out of the archive.
  std::vector<std::filesystem::path> notPacked;
  // Files too large for the format, and files and subdirectories that
  // could not be read, left out of the archive.
  struct LeftOut {
    std::filesystem::path path;
    bool tooLarge = false;  // for a ZIP archive without ZIP64
    std::string why;        // "too large for a ZIP archive without ZIP64", or the system's reason
    bool operator==(const LeftOut&) const = default;
  };
  std::vector<LeftOut> leftOut;
  // A link that stood in the archive's place and was replaced by the archive.
  bool replacedLink = false;
  // Entries of the old archive that were dropped and had no file to be
  // packed from again, each with the reason.
  struct DroppedEntry {
    std::string name;  // as the old archive stored it
    std::string why;   // "its name leads out of its folder", ...
    bool operator==(const DroppedEntry&) const = default;
  };
  std::vector<DroppedEntry> droppedEntries;
  // An old archive that could not be updated (not a ZIP file this program
  // can read, not a file at all, not to be opened, or too full for this
  // forecast's files), kept under this name beside the fresh one (empty
  // when there was none), and the line that says so.
  std::filesystem::path unreadableKeptAs;
  std::string unreadableNotice;
};

// Packs outputDir into archivePath (deflate level 9, bare names, file times).
// An existing archive is updated: an entry not older than its file and
// holding the same bytes (size and CRC-32) is kept, any other replaced, new
// files added, entries without a file kept; every entry kept has had its
// data checked (see ParseZip). The program's own temporary
// files and the unreadable archives it kept are never packed; links and other
// files that are not regular are left out, and so are files too large for
// the format (known by their size, never read) and files and
// subdirectories that cannot be read.
// A file whose bare name an earlier file (nearer the top, then by path)
// already took is stored under its path relative to outputDir. The archive
// never contains itself; with no files and no archive, none is written.
// An old archive that is not a ZIP file this program can read (see ParseZip),
// that cannot be opened, that is no file (a directory, a FIFO, a device) or
// whose entries with the new files would outgrow the format is renamed to
// "<archive>.unreadable-YYYYMMDD-HHMMSS" (never over an earlier one) and a
// fresh archive written in its place; an old entry that ParseZip drops is
// packed again from its file, or lost and reported.
// Throws std::runtime_error naming the file on failure (also when an old
// archive that cannot be updated cannot be moved aside either), leaving any
// previous archive intact.
//
// `written` names files directly in outputDir whose bytes the caller has just
// written and still holds; those are packed from the bytes given instead of
// being read back, as long as the file on disk still has their size.
struct WrittenFile {
  std::string name;        // bare name in outputDir
  std::string_view bytes;  // as written; must outlive the call
};
PackReport PackOutput(const std::filesystem::path& outputDir,
                      const std::filesystem::path& archivePath,
                      std::span<const WrittenFile> written = {});

}  // namespace meridan
