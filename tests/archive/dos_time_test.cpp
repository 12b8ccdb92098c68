#include "app/archive/dos_time.h"

#include <gtest/gtest.h>
#include <zip.h>

#include <memory>
#include <string>
#include <vector>

#include "support/program_dir.h"
#include "zip_testing.h"

namespace meridan {
namespace {

using testing::kCentralEurope;
using testing::TimeZone;
using testing::Utc;

// Expected values worked by hand from the DOS layout: date = (year - 1980) << 9
// | month << 5 | day, time = hour << 11 | minute << 5 | second / 2.
TEST(DosDateTime, FieldsOfAUtcTime) {
  TimeZone zone("UTC0");
  // 2025-05-17: 45 << 9 | 5 << 5 | 17 = 0x5AB1; 13:45:31: 13 << 11 | 45 << 5 | 15 = 0x6DAF.
  EXPECT_EQ(DosDateTime(Utc(2025, 5, 17, 13, 45, 31)), 0x5AB16DAFu);
  EXPECT_EQ(DosDateTime(Utc(2025, 5, 17, 13, 45, 30)), 0x5AB16DAFu) << "an odd second shares its pair";
  EXPECT_EQ(DosDateTime(Utc(2025, 5, 17, 13, 45, 32)), 0x5AB16DB0u);
  // 1975-06-01 goes to 1980 with its month and day, as libzip stores it: 6 << 5 | 1 = 0xC1.
  EXPECT_EQ(DosDateTime(Utc(1975, 6, 1, 0, 0, 0)), 0x00C10000u);
}

TEST(DosDateTime, IsLocalWallClockTime) {
  TimeZone zone(kCentralEurope);
  // 13:45:31 UTC in May is 15:45:31 CEST: 15 << 11 | 45 << 5 | 15 = 0x7DAF.
  EXPECT_EQ(DosDateTime(Utc(2025, 5, 17, 13, 45, 31)), 0x5AB17DAFu);
  // 00:30:01 and 01:30:01 UTC on 2023-10-29 are both 02:30:01 local, once in
  // summer time and once after the clocks went back: one DOS value,
  // 43 << 9 | 10 << 5 | 29 = 0x575D and 2 << 11 | 30 << 5 = 0x13C0.
  EXPECT_EQ(DosDateTime(Utc(2023, 10, 29, 0, 30, 1)), 0x575D13C0u);
  EXPECT_EQ(DosDateTime(Utc(2023, 10, 29, 1, 30, 1)), 0x575D13C0u);
}

TEST(DosDateTime, LaterTimesNeverGiveSmallerValues) {
  TimeZone zone(kCentralEurope);
  const std::vector<std::time_t> times = {
      Utc(2024, 12, 31, 22, 59, 59),  // 23:59:59 CET, the year's last second
      Utc(2024, 12, 31, 23, 0, 0),    // 2025-01-01 00:00:00 CET
      Utc(2025, 3, 30, 0, 59, 59),    // 01:59:59 CET, before the clocks go forward
      Utc(2025, 3, 30, 1, 0, 0),      // 03:00:00 CEST
      Utc(2025, 10, 26, 1, 30, 0),    // 02:30:00 CET, after the clocks went back
      Utc(2025, 10, 26, 2, 30, 0),    // 03:30:00 CET
  };
  for (size_t i = 1; i < times.size(); ++i) EXPECT_LT(DosDateTime(times[i - 1]), DosDateTime(times[i])) << i;
}

// The up-to-date check reads an entry's time back through zip_stat and
// converts the file's time itself, so both conversions must meet libzip's:
// the fields it stores, and the time_t it gives back for them.
TEST(DosDateTime, AgreesWithTheFieldsLibzipStores) {
  TimeZone zone(kCentralEurope);
  const std::vector<std::time_t> times = {
      Utc(2025, 5, 17, 13, 45, 31), Utc(2025, 1, 10, 8, 0, 1),  Utc(2023, 10, 29, 0, 30, 1),
      Utc(2023, 10, 29, 1, 30, 1),  Utc(2023, 3, 26, 0, 59, 59), Utc(2023, 3, 26, 1, 0, 1),
  };
  testing::ProgramDir dir(false);
  const auto path = dir.root() / "times.zip";
  int code = 0;
  zip_t* archive = zip_open(path.c_str(), ZIP_CREATE, &code);
  ASSERT_NE(archive, nullptr);
  for (size_t i = 0; i < times.size(); ++i) {
    const zip_int64_t index = zip_file_add(archive, std::to_string(i).c_str(), zip_source_buffer(archive, "x", 1, 0), 0);
    ASSERT_GE(index, 0);
    ASSERT_EQ(zip_file_set_mtime(archive, static_cast<zip_uint64_t>(index), times[i], 0), 0);
  }
  ASSERT_EQ(zip_close(archive), 0) << zip_strerror(archive);

  const auto records = testing::ReadCentralDirectory(testing::ReadFile(path));
  const auto entries = testing::ReadZip(path);
  ASSERT_EQ(records.size(), times.size());
  ASSERT_EQ(entries.size(), times.size());
  for (size_t i = 0; i < times.size(); ++i) {
    EXPECT_EQ(records[i].dosDateTime, DosDateTime(times[i])) << "entry " << i;
    EXPECT_EQ(DosDateTime(entries[i].mtime), DosDateTime(times[i])) << "entry " << i;
  }
}

}  // namespace
}  // namespace meridan
