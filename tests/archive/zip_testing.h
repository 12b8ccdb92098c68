#pragma once
// Reading archives back for the archive tests: through libzip, and straight
// from the central directory for what libzip 1.7 does not report (the DOS
// time fields as stored and the general-purpose flags).
#include <zip.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/little_endian.h"
#include "support/scratch_program_dir.h"

namespace meridan::testing {

struct ZipEntry {
  std::string name;  // the stored bytes
  std::uint16_t method = 0;
  std::string data;               // unpacked
  std::uint16_t flags = 0;        // general-purpose bit flags
  std::uint32_t dosDateTime = 0;  // date in the high 16 bits, time in the low
};

// A field of a written archive; one past the end fails the test, not the run.
inline unsigned Little(const std::string& bytes, size_t at, size_t width) {
  if (at + width > bytes.size()) throw std::out_of_range("a field past the archive's end");
  return static_cast<unsigned>(LittleEndian(std::string_view(bytes).substr(at, width)));
}

// All entries in central-directory order, of an archive without a comment;
// throws if libzip cannot read them. Checking consistency also refuses two
// entries of one name. Record layouts as in PKWARE's APPNOTE 4.3.12 (central
// directory file header) and 4.3.16 (end of central directory record).
inline std::vector<ZipEntry> ReadZip(const std::filesystem::path& path,
                                     bool checkConsistency = true) {
  int code = 0;
  const int flags = ZIP_RDONLY | (checkConsistency ? ZIP_CHECKCONS : 0);
  std::unique_ptr<zip_t, decltype(&zip_discard)> archive(zip_open(path.c_str(), flags, &code),
                                                         zip_discard);
  if (!archive)
    throw std::runtime_error("libzip cannot open " + path.string() + ", error " +
                             std::to_string(code));
  const std::string bytes = ReadFile(path);
  const size_t end = bytes.size() - 22;
  if (Little(bytes, end, 4) != 0x06054b50)
    throw std::runtime_error("no end of central directory record");
  std::vector<ZipEntry> entries(Little(bytes, end + 10, 2));
  size_t at = Little(bytes, end + 16, 4);
  for (zip_uint64_t i = 0; i < entries.size(); ++i) {
    zip_stat_t stat;
    if (zip_stat_index(archive.get(), i, ZIP_FL_ENC_RAW, &stat) != 0)
      throw std::runtime_error("zip_stat");
    if (Little(bytes, at, 4) != 0x02014b50)
      throw std::runtime_error("bad central directory header");
    std::unique_ptr<zip_file_t, decltype(&zip_fclose)> file(zip_fopen_index(archive.get(), i, 0),
                                                            zip_fclose);
    std::string data(stat.size, '\0');
    if (!file ||
        zip_fread(file.get(), data.data(), stat.size) != static_cast<zip_int64_t>(stat.size))
      throw std::runtime_error("cannot unpack " + std::string(stat.name));
    entries[i] = {stat.name, stat.comp_method, data,
                  static_cast<std::uint16_t>(Little(bytes, at + 8, 2)),
                  Little(bytes, at + 14, 2) << 16 | Little(bytes, at + 12, 2)};
    at += 46 + Little(bytes, at + 28, 2) + Little(bytes, at + 30, 2) + Little(bytes, at + 32, 2);
  }
  return entries;
}

// Seconds since 1970 for a UTC calendar time.
inline std::time_t Utc(int year, unsigned month, unsigned day, int hour, int minute, int second) {
  using namespace std::chrono;
  const sys_days date = std::chrono::year{year} / std::chrono::month{month} / std::chrono::day{day};
  return system_clock::to_time_t(date + hours{hour} + minutes{minute} + seconds{second});
}

// Sets TZ (a POSIX rule, so no zone files are needed) for the life of the object.
class TimeZone {
 public:
  explicit TimeZone(const char* rule) {
    if (const char* old = std::getenv("TZ")) saved_ = old;
    setenv("TZ", rule, 1);
    tzset();
  }
  ~TimeZone() {
    saved_ ? setenv("TZ", saved_->c_str(), 1) : unsetenv("TZ");
    tzset();
  }
  TimeZone(const TimeZone&) = delete;
  TimeZone& operator=(const TimeZone&) = delete;

 private:
  std::optional<std::string> saved_;
};

// Central European time with its summer time: from the last Sunday of March,
// 02:00, to the last Sunday of October, 03:00 local time.
inline constexpr const char* kCentralEurope = "CET-1CEST,M3.5.0,M10.5.0/3";

}  // namespace meridan::testing
