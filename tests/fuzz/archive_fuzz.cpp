// libFuzzer target for the reader of an old forecast archive: any bytes must
// parse or give ZipFormatError, never crash or read out of bounds. What it
// keeps must be what the bytes hold: no more bytes copied than were given
// (entries sharing a record would multiply it), each name once, and each
// kept entry's local header saying what its central header says; and what
// the writer makes of the kept entries must read back as the same entries.
#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <string_view>

#include "output/archive/zip_file.h"

namespace {

unsigned Little(std::string_view bytes, size_t at, int width) {
  unsigned value = 0;
  for (int i = width - 1; i >= 0; --i)
    value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

// APPNOTE 4.3.7 and 4.3.12: the local header's method, CRC, sizes and name
// against the central header's (CRC and sizes may be zero in the local
// header when bit 3 says a data descriptor carries them).
bool HeadersAgree(const meridan::ZipEntry& entry) {
  const std::string_view local = entry.local, central = entry.central;
  if (local.size() < 30 || central.size() < 46) return false;
  const unsigned nameLength = Little(central, 28, 2);
  if (Little(local, 26, 2) != nameLength || local.size() < 30 + nameLength ||
      local.substr(30, nameLength) != central.substr(46, nameLength) ||
      central.substr(46, nameLength) != entry.name || Little(local, 8, 2) != Little(central, 10, 2))
    return false;
  const bool descriptor = Little(central, 8, 2) & 0x8;
  for (int f = 0; f < 3; ++f) {
    const unsigned inLocal = Little(local, 14 + 4 * f, 4);
    if (inLocal != Little(central, 16 + 4 * f, 4) && !(descriptor && inLocal == 0)) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  meridan::ZipArchive archive;
  try {
    archive = meridan::ParseZip(bytes);
  } catch (const meridan::ZipFormatError&) {
    return 0;
  }
  size_t copied = archive.comment.size();
  std::set<std::string> names;
  for (const meridan::ZipEntry& entry : archive.entries) {
    copied += entry.local.size() + entry.central.size();
    if (!names.insert(entry.name).second || !HeadersAgree(entry)) __builtin_trap();
  }
  if (copied > size) __builtin_trap();

  std::string written;
  try {
    written = meridan::WriteZip(archive);
  } catch (const meridan::ZipFormatError&) {
    return 0;  // more entries than the format holds without ZIP64
  }
  const meridan::ZipArchive again = meridan::ParseZip(written);
  if (again.entries.size() != archive.entries.size() || !again.dropped.empty()) __builtin_trap();
  for (size_t i = 0; i < again.entries.size(); ++i)
    if (again.entries[i].local != archive.entries[i].local) __builtin_trap();
  return 0;
}
