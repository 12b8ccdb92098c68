#pragma once
// Reading archives back for the archive tests: through libzip, and straight
// from the central directory for what libzip 1.7 does not report (the DOS
// time fields as stored and the general-purpose flags).
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

namespace meridan::testing {

struct ZipEntry {
  std::string name;  // the stored bytes
  std::uint16_t method = 0;
  std::uint64_t size = 0;
  std::uint32_t crc = 0;
  std::time_t mtime = 0;  // as zip_stat gives it back from the DOS fields
  std::string data;        // unpacked
  std::string compressed;  // as stored
};

// All entries in central-directory order; throws if libzip cannot read them.
// Checking consistency also refuses two entries of one name.
std::vector<ZipEntry> ReadZip(const std::filesystem::path& archive, bool checkConsistency = true);

struct CentralRecord {
  std::string name;
  std::uint16_t flags = 0;        // general-purpose bit flags
  std::uint32_t dosDateTime = 0;  // date in the high 16 bits, time in the low
};

// The central directory of an archive without a comment.
std::vector<CentralRecord> ReadCentralDirectory(const std::string& archiveBytes);

// Seconds since 1970 for a UTC calendar time.
std::time_t Utc(int year, int month, int day, int hour, int minute, int second);

// Sets TZ for the life of the object (POSIX rules, so no zone files are needed).
class TimeZone {
 public:
  explicit TimeZone(const char* rule);
  ~TimeZone();
  TimeZone(const TimeZone&) = delete;
  TimeZone& operator=(const TimeZone&) = delete;

 private:
  bool had_ = false;
  std::string saved_;
};

// Central European time with its summer time: from the last Sunday of March,
// 02:00, to the last Sunday of October, 03:00 local time.
inline constexpr const char* kCentralEurope = "CET-1CEST,M3.5.0,M10.5.0/3";

}  // namespace meridan::testing
