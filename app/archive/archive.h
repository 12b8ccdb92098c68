#pragma once
// The forecast archive: every file of the output directory (and its
// subdirectories) in one ZIP file, updated in place run after run.

#include <filesystem>

namespace meridan {

// Packs outputDir into archivePath (deflate level 9, bare names, file times).
// An existing archive is updated: entries not older than their file are
// kept, older ones replaced, new files added, entries without a file kept.
// The archive never contains itself. Throws std::runtime_error on failure,
// leaving any previous archive intact.
void PackOutput(const std::filesystem::path& outputDir, const std::filesystem::path& archivePath);

}  // namespace meridan
