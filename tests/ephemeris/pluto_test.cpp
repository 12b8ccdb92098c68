#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>

#include "engine/ephemeris/Com_plu_tra.h"
#include "engine/ephemeris/calendar.h"
#include "support/program_dir.h"

namespace meridan {
namespace {

namespace fs = std::filesystem;
using testing::ProgramDir;
using testing::ReadFile;
using testing::WriteFile;

// A table line's whole degree plus 0.0045 goes through Normalize360, which
// may move the last bit or two.
constexpr double kLongitudeTolerance = 1e-9;

constexpr int kMay20_1984 = 30821;  // noon of 1984 May 20

// A table of `lines` lines, all 100 except line `line`, which holds `text`.
std::string Table(int lines, int line, const std::string& text) {
  std::string bytes;
  for (int k = 1; k <= lines; ++k) bytes += (k == line ? text : std::string("100")) + "\r\n";
  return bytes;
}

// The message of the std::runtime_error that `call` throws ("" if none).
std::string ErrorOf(const std::function<void()>& call) {
  try {
    call();
  } catch (const std::runtime_error& e) {
    return e.what();
  }
  return {};
}

double Pluto(double julianDay, const fs::path& dataDir) {
  double longitude = -1.0;
  SunVector sun{1.0, 2.0, 3.0};
  PlutoPosition(julianDay, dataDir, longitude, sun);
  return longitude;
}

TEST(PlutoPosition, LineOfTheDayPlusTheFixedFraction) {
  struct Case {
    const char* lineText;
    double longitude;
  };
  const Case kCases[] = {{"0", 0.0045}, {"359", 359.0045}, {"210", 210.0045}, {"  42 rest", 42.0045}};
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.lineText);
    ProgramDir dir(false);
    WriteFile(dir.system() / "pluto.sys", Table(kMay20_1984 + 1, kMay20_1984, c.lineText));
    EXPECT_NEAR(Pluto(kMay20_1984, dir.system()), c.longitude, kLongitudeTolerance);
    // The time of day is cut off: the evening still reads the noon line.
    EXPECT_NEAR(Pluto(kMay20_1984 + 0.75, dir.system()), c.longitude, kLongitudeTolerance);
    EXPECT_NEAR(Pluto(kMay20_1984 + 1, dir.system()), 100.0045, kLongitudeTolerance);
  }
}

TEST(PlutoPosition, LeavesTheSunVectorZero) {
  ProgramDir dir(false);
  WriteFile(dir.system() / "pluto.sys", Table(10, 1, "5"));
  double longitude = 0.0;
  SunVector sun{0.5, -0.8, 0.3};
  PlutoPosition(1.0, dir.system(), longitude, sun);
  EXPECT_EQ(sun.x, 0.0);
  EXPECT_EQ(sun.y, 0.0);
  EXPECT_EQ(sun.z, 0.0);
}

TEST(PlutoPosition, DaysOutsideTheTableNameTheFileAndItsRange) {
  ProgramDir dir(false);
  const fs::path file = dir.system() / "pluto.sys";
  WriteFile(file, Table(31, 1, "5"));  // 1900 January 1 to 31
  for (double day : {0.0, 0.99, -3.0, 32.0, 40000.0, std::nan("")}) {
    SCOPED_TRACE(day);
    const std::string error = ErrorOf([&] { Pluto(day, dir.system()); });
    EXPECT_NE(error.find(file.string()), std::string::npos) << error;
    EXPECT_NE(error.find("1900-01-01 to 1900-01-31"), std::string::npos) << error;
  }
  EXPECT_NEAR(Pluto(31.0, dir.system()), 100.0045, kLongitudeTolerance);
}

TEST(PlutoPosition, ALineWithoutAnIntegerNamesFileAndLine) {
  struct Case {
    const char* name;
    std::string bytes;
    const char* where;
  };
  const Case kCases[] = {
      {"letters", Table(10, 7, "x12"), "line 7 "},
      {"empty line", Table(10, 3, ""), "line 3 "},
      {"decimal point first", Table(10, 10, ".5"), "line 10 "},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    ProgramDir dir(false);
    const fs::path file = dir.system() / "pluto.sys";
    WriteFile(file, c.bytes);
    // Checked when the table is read, whichever day is asked for.
    const std::string error = ErrorOf([&] { Pluto(1.0, dir.system()); });
    EXPECT_NE(error.find(file.string()), std::string::npos) << error;
    EXPECT_NE(error.find(c.where), std::string::npos) << error;
  }
}

TEST(PlutoPosition, AMissingTableNamesTheFile) {
  ProgramDir dir(false);
  const std::string error = ErrorOf([&] { Pluto(kMay20_1984, dir.system()); });
  EXPECT_NE(error.find((dir.system() / "pluto.sys").string()), std::string::npos) << error;
}

TEST(PlutoPosition, ARewrittenTableIsReadAgain) {
  ProgramDir dir(false);
  const fs::path file = dir.system() / "pluto.sys";
  WriteFile(file, Table(kMay20_1984, kMay20_1984, "0"));
  EXPECT_NEAR(Pluto(kMay20_1984, dir.system()), 0.0045, kLongitudeTolerance);

  // Another size.
  WriteFile(file, Table(kMay20_1984, kMay20_1984, "123"));
  EXPECT_NEAR(Pluto(kMay20_1984, dir.system()), 123.0045, kLongitudeTolerance);

  // The same size, told apart by the modification time only.
  const fs::file_time_type before = fs::last_write_time(file);
  WriteFile(file, Table(kMay20_1984, kMay20_1984, "321"));
  fs::last_write_time(file, before + std::chrono::seconds(2));
  EXPECT_NEAR(Pluto(kMay20_1984, dir.system()), 321.0045, kLongitudeTolerance);

  // Another directory is another table.
  ProgramDir other(false);
  WriteFile(other.system() / "pluto.sys", Table(kMay20_1984, kMay20_1984, "77"));
  EXPECT_NEAR(Pluto(kMay20_1984, other.system()), 77.0045, kLongitudeTolerance);
  EXPECT_NEAR(Pluto(kMay20_1984, dir.system()), 321.0045, kLongitudeTolerance);
}

// The table that ships: one CR LF line per day, 1900 January 1 (day 1) to
// 2100 December 31.
TEST(ShippedPlutoTable, OneLinePerDayFrom1900To2100) {
  const std::string bytes = ReadFile(fs::path(MERIDAN_DATA_DIR) / "System" / "pluto.sys");
  const double lastDay = NoonJulianDay(31, 12, 2100);
  ASSERT_EQ(lastDay, 73414.0);  // 200 years of 365 days, 49 leap days, and 2100
  size_t lines = 0;
  for (size_t at = 0; at < bytes.size(); ++at) {
    if (bytes[at] != '\n') continue;
    ++lines;
    ASSERT_TRUE(at > 0 && bytes[at - 1] == '\r') << "line " << lines << " does not end in CR LF";
  }
  EXPECT_EQ(lines, 73414u);
  EXPECT_EQ(bytes.back(), '\n');
}

// Published ephemerides have Pluto cross back from Scorpio into Libra on
// 1984 May 18 (so two days later it stands just short of 210 degrees), enter
// Capricorn on 2008 January 26 and Aquarius on 2023 March 23: each of these
// days rounds to the boundary degree.
TEST(ShippedPlutoTable, AgreesWithPublishedPositions) {
  struct Case {
    const char* name;
    int day, month, year;
    double degree;
  };
  const Case kCases[] = {
      {"1984-05-20 noon", 20, 5, 1984, 210.0},
      {"2008-01-26 noon", 26, 1, 2008, 270.0},
      {"2023-03-23 noon", 23, 3, 2023, 300.0},
  };
  const fs::path dataDir = fs::path(MERIDAN_DATA_DIR) / "System";
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    EXPECT_NEAR(Pluto(NoonJulianDay(c.day, c.month, c.year), dataDir), c.degree + 0.0045,
                kLongitudeTolerance);
  }
}

}  // namespace
}  // namespace meridan
