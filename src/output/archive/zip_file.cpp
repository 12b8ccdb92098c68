#include "output/archive/zip_file.h"

#include <zlib.h>

#include <algorithm>
#include <atomic>
#include <exception>
#include <limits>
#include <optional>
#include <set>
#include <system_error>
#include <thread>
#include <utility>

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

[[noreturn]] void RefuseZip64() {
  throw ZipFormatError("the archive uses ZIP64 extensions, which this program does not update");
}

// Where the local record at `local` (its data at `data`) ends, if its header
// agrees with the central one: the same name, method and descriptor flag,
// and the central CRC and sizes either in the local header or, where the
// flag says a data descriptor follows the data, in that descriptor (the
// local fields then zero or the same). nullopt when they disagree.
std::optional<size_t> AgreeingRecordEnd(std::string_view bytes, std::string_view central,
                                        size_t local, size_t data, size_t limit) {
  // Sizes of all ones say that the real ones are in a ZIP64 extra field.
  if (Read(bytes, local + 18, 4) == 0xFFFFFFFF || Read(bytes, local + 22, 4) == 0xFFFFFFFF)
    RefuseZip64();
  const size_t nameLength = Read(central, 28, 2);
  if (Read(bytes, local + 26, 2) != nameLength ||
      bytes.substr(local + kLocalSize, nameLength) != central.substr(kCentralSize, nameLength) ||
      Read(bytes, local + 8, 2) != Read(central, 10, 2) ||
      (Read(bytes, local + 6, 2) & kDataDescriptor) != (Read(central, 8, 2) & kDataDescriptor))
    return std::nullopt;
  const std::uint32_t crc = Read(central, 16, 4), packed = Read(central, 20, 4),
                      size = Read(central, 24, 4);
  const bool descriptor = Read(central, 8, 2) & kDataDescriptor;
  const std::uint32_t fields[3] = {crc, packed, size};
  for (int f = 0; f < 3; ++f) {
    const std::uint32_t value = Read(bytes, local + 14 + 4 * static_cast<size_t>(f), 4);
    if (value != fields[f] && !(descriptor && value == 0)) return std::nullopt;
  }
  // Headers that agree on a record running past the local records: cut.
  if (packed > limit - data) NotAnArchive();
  const size_t stop = data + packed;
  if (!descriptor) return stop;
  // The CRC and the sizes as a descriptor repeats them at `at`: 4-byte
  // sizes, or ZIP64's 8-byte ones.
  const auto repeats = [&](size_t at, size_t width) {
    if (at > limit || 4 + 2 * width > limit - at) return false;
    const auto wide = [&](size_t field, std::uint32_t value) {
      return Read(bytes, field, 4) == value && (width == 4 || Read(bytes, field + 4, 4) == 0);
    };
    return Read(bytes, at, 4) == crc && wide(at + 4, packed) && wide(at + 4 + width, size);
  };
  const bool signature = stop + 4 <= limit && Read(bytes, stop, 4) == kDescriptorSignature;
  if (signature && repeats(stop + 4, 4)) return stop + 16;
  if (repeats(stop, 4)) return stop + 12;
  if ((signature && repeats(stop + 4, 8)) || repeats(stop, 8)) RefuseZip64();
  return std::nullopt;
}

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
  if (count == 0xFFFF || directory == 0xFFFFFFFF || directorySize == 0xFFFFFFFF) RefuseZip64();
  if (directory > end || directorySize > end - directory) NotAnArchive();

  ZipArchive archive;
  archive.comment = std::string(bytes.substr(end + kEndSize));
  std::set<std::string_view> names;
  std::vector<std::pair<size_t, size_t>> records;  // [start, stop) of each kept entry
  size_t at = directory;
  for (std::uint32_t i = 0; i < count; ++i) {
    if (at + kCentralSize > end || Read(bytes, at, 4) != kCentralSignature) NotAnArchive();
    const size_t nameLength = Read(bytes, at + 28, 2);
    const size_t length =
        kCentralSize + nameLength + Read(bytes, at + 30, 2) + Read(bytes, at + 32, 2);
    if (at + length > end) NotAnArchive();
    const std::string_view central = bytes.substr(at, length);
    const std::string_view name = central.substr(kCentralSize, nameLength);
    at += length;

    if (Read(central, 20, 4) == 0xFFFFFFFF || Read(central, 24, 4) == 0xFFFFFFFF ||
        Read(central, 42, 4) == 0xFFFFFFFF)
      RefuseZip64();
    const size_t local = Read(central, 42, 4);
    if (local + kLocalSize > directory || Read(bytes, local, 4) != kLocalSignature) NotAnArchive();
    const size_t data =
        local + kLocalSize + Read(bytes, local + 26, 2) + Read(bytes, local + 28, 2);
    if (data > directory) NotAnArchive();
    if (!names.insert(name).second) {
      archive.dropped.push_back({std::string(name), "its name comes earlier in the archive"});
      continue;
    }
    const std::optional<size_t> stop = AgreeingRecordEnd(bytes, central, local, data, directory);
    if (!stop) {
      archive.dropped.push_back(
          {std::string(name), "its local header disagrees with the central directory"});
      continue;
    }
    records.emplace_back(local, *stop);
    ZipEntry entry;
    entry.central = std::string(central);
    entry.name = std::string(name);
    entry.method = static_cast<std::uint16_t>(Read(central, 10, 2));
    entry.dosDateTime = Read(central, 14, 2) << 16 | Read(central, 12, 2);
    entry.crc = Read(central, 16, 4);
    entry.size = Read(central, 24, 4);
    entry.local = std::string(bytes.substr(local, *stop - local));
    archive.entries.push_back(std::move(entry));
  }
  // Entries sharing one record would copy it once each: an archive of a
  // few megabytes could come out as hundreds.
  std::sort(records.begin(), records.end());
  for (size_t i = 1; i < records.size(); ++i)
    if (records[i].first < records[i - 1].second)
      throw ZipFormatError("entries of the archive share or overlap their data");
  return archive;
}

DeflatedData DeflateData(std::string_view data) {
  DeflatedData deflated;
  deflated.packed = Deflate(data);
  if (data.size() > std::numeric_limits<std::uint32_t>::max() - 1 ||
      deflated.packed.size() > std::numeric_limits<std::uint32_t>::max() - 1)
    throw ZipFormatError("a file too large for a ZIP archive without ZIP64");
  deflated.crc = Crc32(data);
  deflated.size = static_cast<std::uint32_t>(data.size());
  return deflated;
}

std::vector<DeflatedData> DeflateAll(std::span<const std::string_view> data) {
  std::vector<DeflatedData> deflated(data.size());
  const size_t threads =
      std::clamp<size_t>(std::thread::hardware_concurrency(), 1, std::max<size_t>(data.size(), 1));
  // Each thread takes the next file not yet taken, so that one large file
  // does not leave the others idle behind it.
  std::atomic<size_t> next{0};
  std::vector<std::exception_ptr> failures(threads);
  const auto work = [&](size_t thread) {
    try {
      for (size_t i; (i = next++) < data.size();) deflated[i] = DeflateData(data[i]);
    } catch (...) {
      failures[thread] = std::current_exception();
      next = data.size();
    }
  };
  std::vector<std::thread> helpers;
  for (size_t thread = 1; thread < threads; ++thread) {
    try {
      helpers.emplace_back(work, thread);
    } catch (const std::system_error&) {
      break;  // no thread to be had: the ones there do it all
    }
  }
  work(0);
  for (std::thread& helper : helpers) helper.join();
  for (const std::exception_ptr& failure : failures)
    if (failure) std::rethrow_exception(failure);
  return deflated;
}

ZipEntry DeflatedEntry(std::string name, const DeflatedData& data, std::uint32_t dosDateTime) {
  if (name.size() > 0xFFFF) throw ZipFormatError("a file name too long for a ZIP archive");
  const std::string& packed = data.packed;
  ZipEntry entry;
  entry.name = std::move(name);
  entry.method = kDeflate;
  entry.dosDateTime = dosDateTime;
  entry.crc = data.crc;
  entry.size = data.size;
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
