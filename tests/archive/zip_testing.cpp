#include "zip_testing.h"

#include <zip.h>

#include <cstdlib>
#include <memory>
#include <stdexcept>

namespace meridan::testing {
namespace {

std::string ReadEntry(zip_t* archive, zip_uint64_t index, zip_flags_t flags, zip_uint64_t size) {
  std::unique_ptr<zip_file_t, decltype(&zip_fclose)> file(zip_fopen_index(archive, index, flags), zip_fclose);
  if (!file) throw std::runtime_error(zip_strerror(archive));
  std::string bytes(size, '\0');
  if (size && zip_fread(file.get(), bytes.data(), size) != static_cast<zip_int64_t>(size))
    throw std::runtime_error(zip_file_strerror(file.get()));
  return bytes;
}

unsigned Little(const std::string& bytes, size_t at, int width) {
  unsigned value = 0;
  for (int i = width - 1; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(bytes.at(at + i));
  return value;
}

}  // namespace

std::vector<ZipEntry> ReadZip(const std::filesystem::path& path, bool checkConsistency) {
  int code = 0;
  const int flags = ZIP_RDONLY | (checkConsistency ? ZIP_CHECKCONS : 0);
  std::unique_ptr<zip_t, decltype(&zip_discard)> archive(zip_open(path.c_str(), flags, &code), zip_discard);
  if (!archive) throw std::runtime_error("libzip cannot open " + path.string() + ", error " + std::to_string(code));
  std::vector<ZipEntry> entries;
  for (zip_int64_t i = 0; i < zip_get_num_entries(archive.get(), 0); ++i) {
    const auto index = static_cast<zip_uint64_t>(i);
    zip_stat_t stat;
    if (zip_stat_index(archive.get(), index, ZIP_FL_ENC_RAW, &stat) != 0) throw std::runtime_error("zip_stat");
    ZipEntry entry{stat.name, stat.comp_method, stat.size, stat.crc, stat.mtime, {}, {}};
    entry.data = ReadEntry(archive.get(), index, 0, stat.size);
    entry.compressed = ReadEntry(archive.get(), index, ZIP_FL_COMPRESSED, stat.comp_size);
    entries.push_back(std::move(entry));
  }
  return entries;
}

// Record layouts as in PKWARE's APPNOTE 4.3.12 (central directory file header)
// and 4.3.16 (end of central directory record).
std::vector<CentralRecord> ReadCentralDirectory(const std::string& bytes) {
  const size_t end = bytes.size() - 22;
  if (Little(bytes, end, 4) != 0x06054b50) throw std::runtime_error("no end of central directory record");
  std::vector<CentralRecord> records(Little(bytes, end + 10, 2));
  size_t at = Little(bytes, end + 16, 4);
  for (CentralRecord& record : records) {
    if (Little(bytes, at, 4) != 0x02014b50) throw std::runtime_error("bad central directory header");
    record.flags = static_cast<std::uint16_t>(Little(bytes, at + 8, 2));
    record.dosDateTime = Little(bytes, at + 14, 2) << 16 | Little(bytes, at + 12, 2);
    const size_t nameLength = Little(bytes, at + 28, 2);
    record.name = bytes.substr(at + 46, nameLength);
    at += 46 + nameLength + Little(bytes, at + 30, 2) + Little(bytes, at + 32, 2);
  }
  return records;
}

std::time_t Utc(int year, int month, int day, int hour, int minute, int second) {
  std::tm fields{};
  fields.tm_year = year - 1900;
  fields.tm_mon = month - 1;
  fields.tm_mday = day;
  fields.tm_hour = hour;
  fields.tm_min = minute;
  fields.tm_sec = second;
  return timegm(&fields);
}

TimeZone::TimeZone(const char* rule) {
  if (const char* old = std::getenv("TZ")) {
    had_ = true;
    saved_ = old;
  }
  setenv("TZ", rule, 1);
  tzset();
}

TimeZone::~TimeZone() {
  if (had_) {
    setenv("TZ", saved_.c_str(), 1);
  } else {
    unsetenv("TZ");
  }
  tzset();
}

}  // namespace meridan::testing
