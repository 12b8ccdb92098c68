#pragma once
// The ZIP file format, as far as the forecast archive needs it (PKWARE's
// APPNOTE: local file headers, the central directory, the end record; no
// ZIP64, no encryption, no spanning). An archive is read whole into its
// entries, entries are replaced or added, and the archive is written whole
// again; an entry that is kept is copied exactly as it was stored, after
// its data has been unpacked once to check it, never packed again.

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace meridan {

// Bytes that are not an archive this program can update; what() says why
// ("Not a zip archive", ...).
class ZipFormatError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct ZipEntry {
  std::string name;  // the stored bytes
  std::uint16_t method = 0;
  std::uint32_t dosDateTime = 0;  // MS-DOS date in the high 16 bits, time in the low
  std::uint32_t crc = 0;
  std::uint32_t size = 0;  // unpacked
  // As stored: the local header with the data after it, and the central
  // directory header (its offset field is set when the archive is written).
  std::string local;
  std::string central;
};

// An entry of a read archive that is not taken over: one whose name leads
// out of the folder it is unpacked into or holds control characters, a
// later namesake of an earlier entry (the one that unpacking would let win
// over it), one whose local header says other than the central directory
// (another name, method, CRC or size: other readers would unpack another
// file), or one whose data does not unpack to its CRC-32 and size (or is
// encrypted or packed by another method than deflate, and so cannot be
// checked). The reason holds no ": ".
struct DroppedZipEntry {
  std::string name;  // as the central directory stores it
  const char* reason;
};

struct ZipArchive {
  std::vector<ZipEntry> entries;  // in central-directory order, names unique
  std::string comment;
  std::vector<DroppedZipEntry> dropped;  // what ParseZip left out
  // A comment that holds an end record's signature, left out by ParseZip:
  // readers that take the last signature for the end would find it there
  // and see another archive (or an empty one).
  bool commentDropped = false;
};

// The entries whose local record agrees with the central directory and
// whose data unpacks to the CRC-32 and size it is stored with, each name
// once; an entry's data descriptor, where it has one, is the 16- or
// 12-byte form that repeats the central CRC and sizes. The local records
// lie inside the bytes and do not overlap, so the entries together hold
// no more than the bytes given. The end record is the last one reaching to
// the end of the bytes, unless it says the archive is empty while bytes lie
// before it. Throws ZipFormatError for bytes that are not a whole archive or
// whose records overlap, and for ZIP64.
ZipArchive ParseZip(std::string_view bytes);

// A file's data as a new entry stores it: deflated at the maximum level,
// with the CRC-32 and size of the data. Made apart from the entry, so that
// the data can be packed while other work goes on.
struct DeflatedData {
  std::uint32_t crc = 0;
  std::uint32_t size = 0;  // unpacked
  std::string packed;
};
DeflatedData DeflateData(std::string_view data);
// Whether a file of this many bytes can go into an archive without ZIP64,
// deflated however badly it compresses: known before reading it.
bool FitsInZip(std::uint64_t size);
// The same for several files at once, each in its place, on as many threads
// as there are processors (up to one a file). Deflating a forecast's pages
// and graphs at the maximum level is a run's longest stretch of work with
// no disk in it.
std::vector<DeflatedData> DeflateAll(std::span<const std::string_view> data);

// A new entry: the data deflated at the maximum level, the name marked as
// UTF-8 when it is UTF-8 beyond ASCII, a regular file's permissions.
ZipEntry DeflatedEntry(std::string name, const DeflatedData& data, std::uint32_t dosDateTime);
inline ZipEntry DeflatedEntry(std::string name, std::string_view data, std::uint32_t dosDateTime) {
  return DeflatedEntry(std::move(name), DeflateData(data), dosDateTime);
}

// The archive's bytes. Throws ZipFormatError when it outgrows the format.
std::string WriteZip(const ZipArchive& archive);

// The CRC-32 of the format (and of zlib).
std::uint32_t Crc32(std::string_view data);

}  // namespace meridan
