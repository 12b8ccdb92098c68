#pragma once
// The forecast archive: every file of the output directory (and its
// subdirectories) in one ZIP file, updated in place run after run.

#include <filesystem>

namespace meridan {

// Packs outputDir into archivePath (deflate level 9, bare names, file times).
// An existing archive is updated: entries not older than their file are
// kept, older ones replaced, new files added, entries without a file kept.
// A file whose bare name an earlier file (nearer the top, then by path)
// already took is stored under its path relative to outputDir. The archive
// never contains itself; with no files and no archive, none is written.
// Throws std::runtime_error naming the file on failure, also for an existing
// archive that is not a readable ZIP file, leaving any previous archive intact.
void PackOutput(const std::filesystem::path& outputDir, const std::filesystem::path& archivePath);

}  // namespace meridan
