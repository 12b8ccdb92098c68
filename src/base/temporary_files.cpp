#include "base/temporary_files.h"

#include <unistd.h>

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>
#include <sys/random.h>

namespace fs = std::filesystem;

namespace meridan {
namespace {

// Temporary files are ".meridan-tmp-" + eight hex digits + "-", in the
// target's directory (a rename never crosses file systems): 22 bytes
// whatever the target's name, so that a target with a name of the longest
// a file system takes can still be written. Earlier versions added the
// target's name after the "-"; such leftovers are recognised too.
constexpr std::string_view kTemporaryPrefix = ".meridan-tmp-";
constexpr size_t kRandomDigits = 8;

std::string RandomHex() {
  unsigned char bytes[kRandomDigits / 2];
  if (::getrandom(bytes, sizeof bytes, 0) != static_cast<ssize_t>(sizeof bytes)) {
    // No entropy yet (early boot): the exclusive create still keeps names
    // apart, the address and the clock only make a clash unlikely.
    const auto mix = static_cast<unsigned long>(::getpid()) ^ reinterpret_cast<uintptr_t>(bytes) ^
                     static_cast<unsigned long>(::time(nullptr));
    std::memcpy(bytes, &mix, sizeof bytes);
  }
  char text[kRandomDigits + 1];
  for (size_t i = 0; i < sizeof bytes; ++i) std::snprintf(text + 2 * i, 3, "%02x", bytes[i]);
  return std::string(text, kRandomDigits);
}

}  // namespace

fs::path FreshTemporaryName(const fs::path& directory) {
  return directory / (std::string(kTemporaryPrefix) + RandomHex() + "-");
}

bool IsTemporaryFileName(std::string_view name) {
  if (!name.starts_with(kTemporaryPrefix)) return false;
  const std::string_view rest = name.substr(kTemporaryPrefix.size());
  if (rest.size() < kRandomDigits + 1 || rest[kRandomDigits] != '-') return false;
  for (size_t i = 0; i < kRandomDigits; ++i)
    if (!std::isxdigit(static_cast<unsigned char>(rest[i]))) return false;
  return true;
}

int RemoveLeftoverTemporaryFiles(const fs::path& directory) {
  int removed = 0;
  std::error_code ec;
  for (fs::directory_iterator it(directory, ec), end; !ec && it != end; it.increment(ec)) {
    if (!IsTemporaryFileName(it->path().filename().string())) continue;
    if (fs::remove(it->path(), ec)) ++removed;
  }
  return removed;
}

}  // namespace meridan
