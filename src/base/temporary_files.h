#pragma once
// The program's temporary files: the names its writes give their bytes
// until the rename over the target, and what a killed run leaves of them.
// Writing is base/files; this is only what the names are and how the
// leftovers are found and cleared.

#include <filesystem>
#include <string_view>

namespace meridan {

// A name for a temporary file in the directory, fresh with a random part;
// the caller creates it exclusively and tries another where it exists.
std::filesystem::path FreshTemporaryName(const std::filesystem::path& directory);

// Whether a file name is one of the program's own temporary files (a write
// that a killed run left behind). Such files are never packed and are
// removed by the next forecast.
bool IsTemporaryFileName(std::string_view name);

// Removes the temporary files that a dead run left in a directory; returns
// how many. Call only while holding the program directory's lock.
int RemoveLeftoverTemporaryFiles(const std::filesystem::path& directory);

}  // namespace meridan
