#pragma once
// Whole-file reading and writing for pages and pictures, with file errors
// worded as the system words them: the file's name, then the operating
// system's reason.

#include <cstdint>
#include <filesystem>
#include <span>
#include <stdexcept>
#include <vector>

namespace meridan {

// "Cannot open file "<path>". <reason>": a file that cannot be read.
std::runtime_error CannotOpenFile(const std::filesystem::path& path, int error);
// "Cannot create file "<path>". <reason>": a file that cannot be created.
std::runtime_error CannotCreateFile(const std::filesystem::path& path, int error);
// "Cannot write file "<path>". <reason>": created, but the bytes did not all go in.
std::runtime_error CannotWriteFile(const std::filesystem::path& path, int error);

std::vector<std::uint8_t> ReadFileBytes(const std::filesystem::path& path);

// Creates or truncates the file and writes the bytes. A file that could not
// be written completely is removed again.
void WriteFileBytes(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

// Writes the bytes beside the target under a temporary name and renames it
// over the target only when complete: readers see the old file or the whole
// new one, never a part. Errors name the target.
void ReplaceFileBytes(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

}  // namespace meridan
