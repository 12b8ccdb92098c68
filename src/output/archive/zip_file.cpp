#include "output/archive/zip_file.h"

#include <zlib.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <exception>
#include <limits>
#include <optional>
#include <set>
#include <system_error>
#include <thread>
#include <utility>

#include "base/cp1251.h"
#include "base/little_endian.h"

namespace meridan {
namespace {

constexpr std::uint32_t kLocalSignature = 0x04034b50;
constexpr std::uint32_t kCentralSignature = 0x02014b50;
constexpr std::uint32_t kEndSignature = 0x06054b50;
constexpr std::uint32_t kDescriptorSignature = 0x08074b50;
constexpr size_t kLocalSize = 30, kCentralSize = 46, kEndSize = 22;

constexpr std::uint16_t kStored = 0, kDeflate = 8;
constexpr std::uint16_t kEncrypted = 0x0001;
constexpr std::uint16_t kMaximumCompression = 0x0002;  // general-purpose bits 1-2
constexpr std::uint16_t kDataDescriptor = 0x0008;
constexpr std::uint16_t kUtf8Name = 0x0800;
constexpr std::uint16_t kVersionNeeded = 20;            // 2.0: deflate
constexpr std::uint16_t kVersionMadeBy = 3 << 8 | 20;   // Unix, 2.0
constexpr std::uint32_t kRegularFile = 0100644u << 16;  // Unix mode in the high half

// A 2- or 4-byte field of a record the caller has checked is whole.
std::uint32_t Read(std::string_view bytes, size_t at, size_t width) {
  return static_cast<std::uint32_t>(LittleEndian(bytes.substr(at, width)));
}

void Put(std::string& out, std::uint32_t value, size_t width) {
  PutLittleEndian(out, value, width);
}

// Overwrites the 4-byte field at `at`.
void Set(std::string& bytes, size_t at, std::uint32_t value) {
  std::string field;
  PutLittleEndian(field, value, 4);
  bytes.replace(at, field.size(), field);
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

// The end record: the last one whose comment reaches exactly to the end,
// passing over one that says the archive is empty while bytes lie before
// it. Such a record is all an empty archive is, so one with bytes before it
// stands inside another record's comment (or a damaged archive) and is not
// the end of this one: taking it would drop every entry as if none were there.
size_t FindEnd(std::string_view bytes) {
  if (bytes.size() < kEndSize) NotAnArchive();
  const size_t last = bytes.size() - kEndSize;
  const size_t first = last > 0xFFFF ? last - 0xFFFF : 0;
  for (size_t at = last + 1; at-- > first;)
    if (Read(bytes, at, 4) == kEndSignature &&
        at + kEndSize + Read(bytes, at + 20, 2) == bytes.size() &&
        (at == 0 || Read(bytes, at + 10, 2) != 0))
      return at;
  NotAnArchive();
}

// Why an entry's name may not be unpacked as it stands, or nullptr: a name
// that leads out of the folder it is unpacked into (absolute, with a drive,
// or through "..") or that holds control characters, which a listing of the
// archive would print raw onto the terminal. The program never writes such
// names; they come only from an archive made elsewhere.
const char* NameFault(std::string_view name, bool utf8) {
  if (name.empty()) return "its name is empty";
  if (name.front() == '/' || name.front() == '\\' ||
      (name.size() >= 2 && name[1] == ':' && std::isalpha(static_cast<unsigned char>(name[0]))))
    return "its name is an absolute path";
  for (size_t start = 0; start <= name.size();) {
    const size_t stop = std::min(name.find_first_of("/\\", start), name.size());
    if (name.substr(start, stop - start) == "..") return "its name leads out of its folder";
    start = stop + 1;
  }
  for (size_t i = 0; i < name.size(); ++i) {
    const auto c = static_cast<unsigned char>(name[i]);
    // C1 controls: U+0080-U+009F in UTF-8; in Windows-1251 those bytes are letters.
    const bool c1 = utf8 && c == 0xC2 && i + 1 < name.size() &&
                    (static_cast<unsigned char>(name[i + 1]) & 0xE0) == 0x80;
    if (c < 0x20 || c == 0x7F || c1) return "its name holds control characters";
  }
  return nullptr;
}

// Why an entry's data cannot be kept, or nullptr: it must unpack to exactly
// the size and CRC-32 its headers give, unpacking never more than that size
// (a damaged or hostile entry could otherwise unpack without end). Only
// stored and deflated entries, unencrypted, can be checked.
const char* DataFault(std::string_view packed, std::uint16_t method, std::uint16_t flags,
                      std::uint32_t crc, std::uint32_t size) {
  constexpr const char* kDamaged =
      "its data does not unpack to the size and CRC-32 it is stored with";
  if (flags & kEncrypted) return "it is encrypted, so its data cannot be checked";
  if (method == kStored) return packed.size() == size && Crc32(packed) == crc ? nullptr : kDamaged;
  if (method != kDeflate)
    return "its compression method is not deflate, so its data cannot be checked";
  z_stream stream{};
  if (inflateInit2(&stream, -MAX_WBITS) != Z_OK)
    throw std::runtime_error("zlib cannot start inflate");
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.data()));
  stream.avail_in = static_cast<uInt>(packed.size());
  std::string buffer(std::min<size_t>(size_t{1} << 16, size_t{size} + 1), '\0');
  std::uint32_t sum = 0;  // the CRC-32 of nothing
  std::uint64_t unpacked = 0;
  int result = Z_OK;
  while (result == Z_OK && unpacked <= size) {
    stream.next_out = reinterpret_cast<Bytef*>(buffer.data());
    stream.avail_out = static_cast<uInt>(buffer.size());
    result = inflate(&stream, Z_NO_FLUSH);
    const size_t got = buffer.size() - stream.avail_out;
    unpacked += got;
    sum = static_cast<std::uint32_t>(
        crc32_z(sum, reinterpret_cast<const Bytef*>(buffer.data()), got));
  }
  inflateEnd(&stream);
  return result == Z_STREAM_END && unpacked == size && sum == crc ? nullptr : kDamaged;
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

namespace {

// One central directory header of ParseZip's archive, at `at`, and where
// its local record lies; the record's data comes at `data`, directly
// after the local header's name and extra field.
struct CentralRecord {
  std::string_view central, name;
  size_t local, data;
};

CentralRecord ReadCentral(std::string_view bytes, size_t at, size_t directory, size_t end) {
  if (at + kCentralSize > end || Read(bytes, at, 4) != kCentralSignature) NotAnArchive();
  const size_t nameLength = Read(bytes, at + 28, 2);
  const size_t length =
      kCentralSize + nameLength + Read(bytes, at + 30, 2) + Read(bytes, at + 32, 2);
  if (at + length > end) NotAnArchive();
  CentralRecord record;
  record.central = bytes.substr(at, length);
  record.name = record.central.substr(kCentralSize, nameLength);
  if (Read(record.central, 20, 4) == 0xFFFFFFFF || Read(record.central, 24, 4) == 0xFFFFFFFF ||
      Read(record.central, 42, 4) == 0xFFFFFFFF)
    RefuseZip64();
  record.local = Read(record.central, 42, 4);
  if (record.local + kLocalSize > directory || Read(bytes, record.local, 4) != kLocalSignature)
    NotAnArchive();
  record.data = record.local + kLocalSize + Read(bytes, record.local + 26, 2) +
                Read(bytes, record.local + 28, 2);
  if (record.data > directory) NotAnArchive();
  return record;
}

ZipEntry EntryOf(std::string_view bytes, const CentralRecord& record, size_t stop) {
  ZipEntry entry;
  entry.central = std::string(record.central);
  entry.name = std::string(record.name);
  entry.method = static_cast<std::uint16_t>(Read(record.central, 10, 2));
  entry.dosDateTime = Read(record.central, 14, 2) << 16 | Read(record.central, 12, 2);
  entry.crc = Read(record.central, 16, 4);
  entry.size = Read(record.central, 24, 4);
  entry.local = std::string(bytes.substr(record.local, stop - record.local));
  return entry;
}

}  // namespace

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
  if (archive.comment.find("PK\5\6") != std::string::npos) {
    archive.comment.clear();
    archive.commentDropped = true;
  }
  std::set<std::string_view> names;
  std::vector<std::pair<CentralRecord, size_t>> agreeing;  // with where each record stops
  size_t at = directory;
  for (std::uint32_t i = 0; i < count; ++i) {
    const CentralRecord record = ReadCentral(bytes, at, directory, end);
    at += record.central.size();
    const char* fault = NameFault(record.name, Read(record.central, 8, 2) & kUtf8Name);
    if (!fault && !names.insert(record.name).second)
      fault = "its name comes earlier in the archive";
    const std::optional<size_t> stop =
        fault ? std::nullopt
              : AgreeingRecordEnd(bytes, record.central, record.local, record.data, directory);
    if (!fault && !stop) fault = "its local header disagrees with the central directory";
    if (fault)
      archive.dropped.push_back({std::string(record.name), fault});
    else
      agreeing.emplace_back(record, *stop);
  }
  // Entries sharing one record would copy it once each (and unpack it once
  // each): an archive of a few megabytes could come out as hundreds.
  std::vector<std::pair<size_t, size_t>> records;  // [start, stop) of each entry
  for (const auto& [record, stop] : agreeing) records.emplace_back(record.local, stop);
  std::sort(records.begin(), records.end());
  for (size_t i = 1; i < records.size(); ++i)
    if (records[i].first < records[i - 1].second)
      throw ZipFormatError("entries of the archive share or overlap their data");
  for (const auto& [record, stop] : agreeing) {
    const std::string_view central = record.central;
    const auto flags =
        static_cast<std::uint16_t>(Read(central, 8, 2) | Read(bytes, record.local + 6, 2));
    if (const char* fault = DataFault(bytes.substr(record.data, Read(central, 20, 4)),
                                      static_cast<std::uint16_t>(Read(central, 10, 2)), flags,
                                      Read(central, 16, 4), Read(central, 24, 4)))
      archive.dropped.push_back({std::string(record.name), fault});
    else
      archive.entries.push_back(EntryOf(bytes, record, stop));
  }
  return archive;
}

bool FitsInZip(std::uint64_t size) {
  // zlib's bound on raw deflate's output (deflateBound with the default
  // window and memory levels), which level 9 keeps to.
  return size + (size >> 12) + (size >> 14) + (size >> 25) + 7 <=
         std::numeric_limits<std::uint32_t>::max() - 1;
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
