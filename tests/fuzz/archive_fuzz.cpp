// libFuzzer target for the reader of an old forecast archive: any bytes must
// parse or give ZipFormatError, never crash or read out of bounds. What it
// keeps must be what the bytes hold: no more bytes copied than were given
// (entries sharing a record would multiply it), each name once, and each
// kept entry's local header saying what its central header says, each kept
// entry's data unpacking to its size and CRC-32 (checked here through zlib
// on its own, apart from the reader's check); and what the writer makes of
// the kept entries must read back as the same entries.
#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "base/little_endian.h"
#include "output/archive/zip_file.h"

namespace {

unsigned Little(std::string_view bytes, size_t at, size_t width) {
  return static_cast<unsigned>(meridan::LittleEndian(bytes.substr(at, width)));
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

// The entry's data, stored or deflated, unpacks to exactly its size and
// CRC-32 (a fuzzed entry may claim gigabytes: unpacking stops past its size).
bool DataUnpacksToItsCrc(const meridan::ZipEntry& entry) {
  const std::string_view local = entry.local, central = entry.central;
  const size_t data = 30 + Little(local, 26, 2) + Little(local, 28, 2);
  const unsigned packedSize = Little(central, 20, 4);
  if (data > local.size() || packedSize > local.size() - data) return false;
  const std::string_view packed = local.substr(data, packedSize);
  std::vector<unsigned char> out;
  if (entry.method == 0) {
    out.assign(packed.begin(), packed.end());
  } else if (entry.method == 8) {
    z_stream stream{};
    if (inflateInit2(&stream, -15) != Z_OK) return false;
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.data()));
    stream.avail_in = static_cast<uInt>(packed.size());
    int result = Z_OK;
    while (result == Z_OK && out.size() <= entry.size) {
      unsigned char chunk[4096];
      stream.next_out = chunk;
      stream.avail_out = sizeof chunk;
      result = inflate(&stream, Z_NO_FLUSH);
      out.insert(out.end(), chunk, chunk + (sizeof chunk - stream.avail_out));
    }
    inflateEnd(&stream);
    if (result != Z_STREAM_END) return false;
  } else {
    return false;
  }
  return out.size() == entry.size &&
         crc32(0, out.data(), static_cast<uInt>(out.size())) == entry.crc;
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
    if (!names.insert(entry.name).second || !HeadersAgree(entry) || !DataUnpacksToItsCrc(entry))
      __builtin_trap();
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
