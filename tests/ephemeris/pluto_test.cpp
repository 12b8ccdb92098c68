#include "ephemeris/pluto.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <iterator>
#include <optional>
#include <stdexcept>
#include <string>

#include "base/data_file_error.h"
#include "ephemeris/calendar.h"
#include "support/scratch_program_dir.h"

namespace meridan {
namespace {

namespace fs = std::filesystem;
using testing::ScratchProgramDir;
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

// Pluto's longitude; checks that the Sun vector is left holding zeros.
double Pluto(double julianDay, const fs::path& dataDir) {
  double longitude = -1.0;
  SunVector sun{1.0, 2.0, 3.0};
  PlutoPosition(julianDay, PlutoTable::Load(dataDir / "pluto.sys"), longitude, sun);
  EXPECT_TRUE(sun.x == 0.0 && sun.y == 0.0 && sun.z == 0.0)
      << sun.x << " " << sun.y << " " << sun.z;
  return longitude;
}

// The message of the std::runtime_error that Pluto throws ("" if none).
std::string ErrorOf(double julianDay, const fs::path& dataDir) {
  try {
    Pluto(julianDay, dataDir);
  } catch (const std::runtime_error& e) {
    return e.what();
  }
  return {};
}

// The time of day is cut off: the evening still reads the noon line.
TEST(PlutoPosition, LineOfTheDayPlusTheFixedFraction) {
  for (const auto& [lineText, longitude] :
       {std::pair("0", 0.0045), std::pair("359", 359.0045), std::pair("210", 210.0045),
        std::pair("  42 rest", 42.0045)}) {
    SCOPED_TRACE(lineText);
    ScratchProgramDir dir(false);
    WriteFile(dir.system() / "pluto.sys", Table(kMay20_1984 + 1, kMay20_1984, lineText));
    EXPECT_NEAR(Pluto(kMay20_1984, dir.system()), longitude, kLongitudeTolerance);
    EXPECT_NEAR(Pluto(kMay20_1984 + 0.75, dir.system()), longitude, kLongitudeTolerance);
    EXPECT_NEAR(Pluto(kMay20_1984 + 1, dir.system()), 100.0045, kLongitudeTolerance);
  }
}

// Every shape a line may take reads as std::from_chars reads its start:
// the plain digits of the shipped table and everything else alike.
TEST(PlutoTable, EachLineReadsAsItsLeadingInteger) {
  const std::string text =
      "7\r\n"
      "210\n"
      "  42 rest\r\n"
      "\t-3\r\n"
      "12\r\r\n"
      "0000000000359\r\n"  // more than nine digits
      "2147483647\r\n"     // the largest int
      "123456789\r\n"      // nine digits, the most read straight
      "15x\r\n"
      "8";  // no line end
  const PlutoTable table = PlutoTable::Parse("pluto.sys", text);
  const int expected[] = {7, 210, 42, -3, 12, 359, 2147483647, 123456789, 15, 8};
  ASSERT_EQ(table.days(), static_cast<int>(std::size(expected)));
  for (int day = 1; day <= table.days(); ++day)
    EXPECT_EQ(table.DegreesOn(day), expected[day - 1]) << "line " << day;
  EXPECT_THROW(PlutoTable::Parse("pluto.sys", "7\r\n2147483648\r\n"), DataFileError);
}

TEST(PlutoPosition, DaysOutsideTheTableNameTheFileAndItsRange) {
  ScratchProgramDir dir(false);
  const fs::path file = dir.system() / "pluto.sys";
  WriteFile(file, Table(31, 1, "5"));  // 1900 January 1 to 31
  for (double day : {0.0, 0.99, -3.0, 32.0, 40000.0, std::nan("")}) {
    const std::string error = ErrorOf(day, dir.system());
    EXPECT_NE(error.find(file.string()), std::string::npos) << day << ": " << error;
    EXPECT_NE(error.find("1900-01-01 to 1900-01-31"), std::string::npos) << day << ": " << error;
  }
  EXPECT_NEAR(Pluto(31.0, dir.system()), 100.0045, kLongitudeTolerance);
}

// Checked when the table is read, whichever day is asked for.
TEST(PlutoPosition, AMissingOrMalformedTableNamesFileAndLine) {
  const struct {
    const char* name;
    std::optional<std::string> bytes;
    const char* where;
  } kCases[] = {
      {"missing", std::nullopt, ""},
      {"letters", Table(10, 7, "x12"), "line 7 "},
      {"empty line", Table(10, 3, ""), "line 3 "},
      {"decimal point first", Table(10, 10, ".5"), "line 10 "},
  };
  for (const auto& c : kCases) {
    ScratchProgramDir dir(false);
    const fs::path file = dir.system() / "pluto.sys";
    if (c.bytes) WriteFile(file, *c.bytes);
    const std::string error = ErrorOf(1.0, dir.system());
    EXPECT_NE(error.find(file.string()), std::string::npos) << c.name << ": " << error;
    EXPECT_NE(error.find(c.where), std::string::npos) << c.name << ": " << error;
  }
}

TEST(PlutoPosition, OneBlankLineAtTheEndIsNoDay) {
  ScratchProgramDir dir(false);
  WriteFile(dir.system() / "pluto.sys", Table(31, 31, "7") + "\r\n");
  EXPECT_NEAR(Pluto(31.0, dir.system()), 7.0045, kLongitudeTolerance);
  EXPECT_NE(ErrorOf(32.0, dir.system()).find("1900-01-01 to 1900-01-31"), std::string::npos);
}

// The table that ships: one CR LF line per day, 1900 January 1 (day 1) to
// 2100 December 31 (day 73414: 200 years of 365 days, 49 leap days, and 2100).
TEST(ShippedPlutoTable, OneLinePerDayFrom1900To2100) {
  const std::string bytes = testing::ReadFile(fs::path(MERIDAN_DATA_DIR) / "System" / "pluto.sys");
  ASSERT_EQ(NoonJulianDay(31, 12, 2100), 73414.0);
  size_t lines = 0;
  for (size_t at = bytes.find('\n'); at != std::string::npos; at = bytes.find('\n', at + 1)) {
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
  const struct {
    const char* name;
    int day, month, year;
    double degree;
  } kCases[] = {
      {"1984-05-20 noon", 20, 5, 1984, 210.0},
      {"2008-01-26 noon", 26, 1, 2008, 270.0},
      {"2023-03-23 noon", 23, 3, 2023, 300.0},
  };
  const fs::path dataDir = fs::path(MERIDAN_DATA_DIR) / "System";
  for (const auto& c : kCases) {
    EXPECT_NEAR(Pluto(NoonJulianDay(c.day, c.month, c.year), dataDir), c.degree + 0.0045,
                kLongitudeTolerance)
        << c.name;
  }
}

}  // namespace
}  // namespace meridan
