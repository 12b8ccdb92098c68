#pragma once
// The forecast archive: every file of the output directory (and its
// subdirectories) in one ZIP file, updated in place run after run.

#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace meridan {

// Packs outputDir into archivePath (deflate level 9, bare names, file times).
// An existing archive is updated: an entry not older than its file and
// holding the same bytes (size and CRC-32) is kept, any other replaced, new
// files added, entries without a file kept. The program's own temporary
// files are never packed; links and other files that are not regular are
// left out and returned, for the caller to mention.
// A file whose bare name an earlier file (nearer the top, then by path)
// already took is stored under its path relative to outputDir. The archive
// never contains itself; with no files and no archive, none is written.
// Throws std::runtime_error naming the file on failure, also for an existing
// archive that is not a readable ZIP file, leaving any previous archive intact.
//
// `written` names files directly in outputDir whose bytes the caller has just
// written and still holds; those are packed from the bytes given instead of
// being read back, as long as the file on disk still has their size.
struct WrittenFile {
  std::string name;        // bare name in outputDir
  std::string_view bytes;  // as written; must outlive the call
};
std::vector<std::filesystem::path> PackOutput(const std::filesystem::path& outputDir,
                                              const std::filesystem::path& archivePath,
                                              std::span<const WrittenFile> written = {});

}  // namespace meridan
