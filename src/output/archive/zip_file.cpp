#include "output/archive/zip_file.h"

#include <zlib.h>

#include <algorithm>
#include <limits>

#include "base/cp1251.h"

namespace meridan {
namespace {

constexpr std::uint32_t kLocalSignature = 0x04034b50;
constexpr std::uint32_t kCentralSignature = 0x02014b50;
constexpr std::uint32_t kEndSignature = 0x06054b50;
constexpr std::uint32_t kDescriptorSignature = 0x08074b50;
constexpr size_t kLocalSize = 30, kCentralSize = 46, kEndSize = 22;

constexpr std::uint16_t kDeflate = 8;
constexpr std::uint16_t kMaximumCompression = 0x0002;  // general-purpose bits 1-2
constexpr std::uint16_t kDataDescriptor = 0x0008;
constexpr std::uint16_t kUtf8Name = 0x0800;
constexpr std::uint16_t kVersionNeeded = 20;            // 2.0: deflate
constexpr std::uint16_t kVersionMadeBy = 3 << 8 | 20;   // Unix, 2.0
constexpr std::uint32_t kRegularFile = 0100644u << 16;  // Unix mode in the high half

std::uint32_t Read(std::string_view bytes, size_t at, int width) {
  std::uint32_t value = 0;
  for (int i = width - 1; i >= 0; --i)
    value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

void Put(std::string& out, std::uint32_t value, int width) {
  for (int i = 0; i < width; ++i) out += static_cast<char>(value >> (8 * i) & 0xFF);
}

void Set(std::string& bytes, size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>(value >> (8 * i) & 0xFF);
}

[[noreturn]] void NotAnArchive() { throw ZipFormatError("Not a zip archive"); }

// The end record: the last one whose comment reaches exactly to the end.
size_t FindEnd(std::string_view bytes) {
  if (bytes.size() < kEndSize) NotAnArchive();
  const size_t last = bytes.size() - kEndSize;
  const size_t first = last > 0xFFFF ? last - 0xFFFF : 0;
  for (size_t at = last + 1; at-- > first;)
    if (Read(bytes, at, 4) == kEndSignature &&
        at + kEndSize + Read(bytes, at + 20, 2) == bytes.size())
      return at;
  NotAnArchive();
}

std::string Deflate(std::string_view data) {
  z_stream stream{};
  if (deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) !=
      Z_OK)
    throw std::runtime_error("zlib cannot start deflate");
  std::string out(deflateBound(&stream, data.size()), '\0');
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  stream.avail_in = static_cast<uInt>(data.size());
  stream.next_out = reinterpret_cast<Bytef*>(out.data());
  stream.avail_out = static_cast<uInt>(out.size());
  const int result = deflate(&stream, Z_FINISH);
  out.resize(stream.total_out);
  deflateEnd(&stream);
  if (result != Z_STREAM_END) throw std::runtime_error("zlib could not deflate a file");
  return out;
}

bool IsUtf8BeyondAscii(std::string_view name) {
  return std::any_of(name.begin(), name.end(), [](char c) { return c & 0x80; }) &&
         Utf8Length(name).has_value();
}

}  // namespace

std::uint32_t Crc32(std::string_view data) {
  return static_cast<std::uint32_t>(
      crc32_z(crc32_z(0, nullptr, 0), reinterpret_cast<const Bytef*>(data.data()), data.size()));
}

ZipArchive ParseZip(std::string_view bytes) {
  const size_t end = FindEnd(bytes);
  const std::uint32_t count = Read(bytes, end + 10, 2);
  const std::uint32_t directorySize = Read(bytes, end + 12, 4);
  const std::uint32_t directory = Read(bytes, end + 16, 4);
  if (Read(bytes, end + 4, 2) != 0 || Read(bytes, end + 6, 2) != 0 ||
      Read(bytes, end + 8, 2) != count)
    throw ZipFormatError("the archive spans several disks");
  if (count == 0xFFFF || directory == 0xFFFFFFFF || directorySize == 0xFFFFFFFF)
    throw ZipFormatError("the archive uses ZIP64 extensions, which this program does not update");
  if (directory > end || directorySize > end - directory) NotAnArchive();

  ZipArchive archive;
  archive.comment = std::string(bytes.substr(end + kEndSize));
  size_t at = directory;
  for (std::uint32_t i = 0; i < count; ++i) {
    if (at + kCentralSize > end || Read(bytes, at, 4) != kCentralSignature) NotAnArchive();
    const size_t length =
        kCentralSize + Read(bytes, at + 28, 2) + Read(bytes, at + 30, 2) + Read(bytes, at + 32, 2);
    if (at + length > end) NotAnArchive();
    ZipEntry entry;
    entry.central = std::string(bytes.substr(at, length));
    entry.name = std::string(bytes.substr(at + kCentralSize, Read(bytes, at + 28, 2)));
    entry.method = static_cast<std::uint16_t>(Read(bytes, at + 10, 2));
    entry.dosDateTime = Read(bytes, at + 14, 2) << 16 | Read(bytes, at + 12, 2);
    entry.crc = Read(bytes, at + 16, 4);
    const std::uint32_t packed = Read(bytes, at + 20, 4);
    entry.size = Read(bytes, at + 24, 4);
    const std::uint32_t flags = Read(bytes, at + 8, 2);

    // The local record: its header, the data, and a data descriptor after
    // the data where the flags say one follows (with or without signature).
    const size_t local = Read(bytes, at + 42, 4);
    if (local + kLocalSize > directory || Read(bytes, local, 4) != kLocalSignature) NotAnArchive();
    size_t stop = local + kLocalSize + Read(bytes, local + 26, 2) + Read(bytes, local + 28, 2);
    if (stop > directory || packed > directory - stop) NotAnArchive();
    stop += packed;
    if (flags & kDataDescriptor) {
      stop += stop + 4 <= directory && Read(bytes, stop, 4) == kDescriptorSignature ? 16 : 12;
      if (stop > directory) NotAnArchive();
    }
    entry.local = std::string(bytes.substr(local, stop - local));
    archive.entries.push_back(std::move(entry));
    at += length;
  }
  return archive;
}

ZipEntry DeflatedEntry(std::string name, std::string_view data, std::uint32_t dosDateTime) {
  const std::string packed = Deflate(data);
  if (data.size() > std::numeric_limits<std::uint32_t>::max() - 1 ||
      packed.size() > std::numeric_limits<std::uint32_t>::max() - 1 || name.size() > 0xFFFF)
    throw ZipFormatError("a file too large for a ZIP archive without ZIP64");
  ZipEntry entry;
  entry.name = std::move(name);
  entry.method = kDeflate;
  entry.dosDateTime = dosDateTime;
  entry.crc = Crc32(data);
  entry.size = static_cast<std::uint32_t>(data.size());
  const std::uint16_t flags = kMaximumCompression | (IsUtf8BeyondAscii(entry.name) ? kUtf8Name : 0);

  // The fields a local header and a central header share, from "version
  // needed" to the name's length.
  std::string shared;
  Put(shared, kVersionNeeded, 2);
  Put(shared, flags, 2);
  Put(shared, kDeflate, 2);
  Put(shared, dosDateTime & 0xFFFF, 2);
  Put(shared, dosDateTime >> 16, 2);
  Put(shared, entry.crc, 4);
  Put(shared, static_cast<std::uint32_t>(packed.size()), 4);
  Put(shared, entry.size, 4);
  Put(shared, static_cast<std::uint32_t>(entry.name.size()), 2);

  Put(entry.local, kLocalSignature, 4);
  entry.local += shared;
  Put(entry.local, 0, 2);  // no extra field
  entry.local += entry.name;
  entry.local += packed;

  Put(entry.central, kCentralSignature, 4);
  Put(entry.central, kVersionMadeBy, 2);
  entry.central += shared;
  Put(entry.central, 0, 2);  // no extra field
  Put(entry.central, 0, 2);  // no comment
  Put(entry.central, 0, 2);  // disk 0
  Put(entry.central, 0, 2);  // internal attributes
  Put(entry.central, kRegularFile, 4);
  Put(entry.central, 0, 4);  // offset: set when written
  entry.central += entry.name;
  return entry;
}

std::string WriteZip(const ZipArchive& archive) {
  std::string out, directory;
  size_t locals = 0, centrals = 0;
  for (const ZipEntry& entry : archive.entries) {
    locals += entry.local.size();
    centrals += entry.central.size();
  }
  out.reserve(locals + centrals + kEndSize + archive.comment.size());
  directory.reserve(centrals);
  for (const ZipEntry& entry : archive.entries) {
    if (out.size() > std::numeric_limits<std::uint32_t>::max() - 1)
      throw ZipFormatError("the archive outgrows a ZIP archive without ZIP64");
    std::string central = entry.central;
    Set(central, 42, static_cast<std::uint32_t>(out.size()));
    out += entry.local;
    directory += central;
  }
  if (archive.entries.size() >= 0xFFFF || out.size() + directory.size() >= 0xFFFFFFFF ||
      archive.comment.size() > 0xFFFF)
    throw ZipFormatError("the archive outgrows a ZIP archive without ZIP64");
  const auto offset = static_cast<std::uint32_t>(out.size());
  out += directory;
  Put(out, kEndSignature, 4);
  Put(out, 0, 2);  // this disk
  Put(out, 0, 2);  // the directory's disk
  Put(out, static_cast<std::uint32_t>(archive.entries.size()), 2);
  Put(out, static_cast<std::uint32_t>(archive.entries.size()), 2);
  Put(out, static_cast<std::uint32_t>(directory.size()), 4);
  Put(out, offset, 4);
  Put(out, static_cast<std::uint32_t>(archive.comment.size()), 2);
  out += archive.comment;
  return out;
}

}  // namespace meridan
