// The interpretation-file checker: a complete file set passes, every kind
// of fault is reported at its line and nothing else is, and the shipped
// files pass.

#include "texts/data_check.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "base/cp1251.h"
#include "support/scratch_program_dir.h"

namespace meridan {
namespace {

namespace fs = std::filesystem;
using testing::ScratchProgramDir;
using testing::WriteFile;
using enum DataIssue;

constexpr int kTransits[] = {1, 3, 4, 5};
constexpr int kAspects[] = {0, 60, 90, 120, 180};
constexpr int kNatals[] = {1, 3, 4, 5, 6, 7, 8, 9, 10};
constexpr int kCodes[] = {1, 2, 3, 4, 5, 101, 102, 103, 104, 105};

// One record: the header line and what follows it up to the next header.
struct Record {
  std::string header, body;
};

// 180 well-formed records in scan order; the rating codes take turns, so
// each of the ten is used 18 times.
std::vector<Record> CompleteRecords() {
  const std::string body = W(
      "День подходит для спокойной поездки по знакомому маршруту, без спешки и лишних остановок.@\r\n");
  std::vector<Record> records;
  for (const int t : kTransits)
    for (const int a : kAspects)
      for (const int n : kNatals) {
        char header[32];
        std::snprintf(header, sizeof header, "* %03d %03d %03d %03d", t, a, n,
                      kCodes[records.size() % 10]);
        records.push_back({header, body});
      }
  return records;
}

size_t IndexOf(int t, int a, int n) {
  const auto at = [](const auto& values, int v) {
    return size_t(std::ranges::find(values, v) - values);
  };
  return (at(kTransits, t) * 5 + at(kAspects, a)) * 9 + at(kNatals, n);
}
const size_t k1_60_3 = IndexOf(1, 60, 3), k3_90_7 = IndexOf(3, 90, 7), k4_0_1 = IndexOf(4, 0, 1);

// The header's line of record k: two comment lines, then two lines a record.
int HeaderLine(size_t k) { return 3 + 2 * static_cast<int>(k); }
// The start of a printed finding about that line.
std::string At(int line) { return "go.dat:" + std::to_string(line) + ": "; }

std::string Render(const std::vector<Record>& records) {
  std::string bytes = W("Толкования для прогноза поездок\r\nЗаголовок: * ТТТ ААА ННН РРР\r\n");
  for (const Record& r : records) bytes += r.header + "\r\n" + r.body;
  return bytes;
}

// A complete file with one change to its records or to its bytes.
std::string With(const std::function<void(std::vector<Record>&)>& change) {
  auto records = CompleteRecords();
  change(records);
  return Render(records);
}
// The complete file with the text of record 4-0-1 changed.
std::string WithBody(const std::function<void(std::string&)>& change) {
  return With([&](auto& r) { change(r[k4_0_1].body); });
}
std::string Edited(const std::function<void(std::string&)>& change) {
  std::string bytes = Render(CompleteRecords());
  change(bytes);
  return bytes;
}

using Findings = std::vector<std::pair<DataIssue, int>>;  // issue, line

Findings Found(const InterpretationCheck& check) {
  Findings found;
  for (const DataFinding& f : check.findings) found.emplace_back(f.issue, f.line);
  return found;
}

// Each fault, made in an otherwise complete file, and exactly the findings it
// must give, in the order they are printed; only the line-end note (or nothing) leaves the
// check passing. Some rows also give one printed line in full.
TEST(DataCheck, EachFaultIsReportedAtItsLine) {
  const int L = HeaderLine(k4_0_1), kEnd = HeaderLine(180);
  const struct {
    const char* name;
    std::string bytes;
    Findings expected;
    std::string line = "";
  } faults[] = {
      {"record removed",
       With([](auto& r) { r.erase(r.begin() + static_cast<long>(k1_60_3)); }),
       {{kMissingRecord, 0}},
       "go.dat: no record * 001 060 003\n"},
      {"record repeated at the end",
       With([](auto& r) {
         r.push_back({r[k1_60_3].header, "Other@\r\n"});
       }),
       {{kDuplicate, kEnd}, {kNotPrinted, kEnd}},
       At(kEnd) + "* 001 060 003: duplicate; the lookup uses the record at line " +
           std::to_string(HeaderLine(k1_60_3)) + " and never this one\n"},
      // The bad header is record 68 of 0..179: the 112 combinations from there on fail.
      {"aspect field ' 9 '",
       With([](auto& r) { r[k3_90_7].header = "* 003  9  007 101"; }),
       {{kBadHeader, HeaderLine(k3_90_7)}, {kMissingRecord, 0}},
       At(HeaderLine(k3_90_7)) +
           "header field 'aspect' (columns 7-9) is \" 9 \", not a number; every "
           "lookup that reaches this line fails with \"' 9 ' is not a valid integer value\" (112 of the 180 "
           "combinations)\n"},
      {"text too short to print",
       WithBody([](auto& b) { b = W("Коротко.@\r\n"); }),
       {{kNotPrinted, L}},
       At(L) +
           "* 004 000 001: the printed piece (bar, first line, line break) has 50 characters, 80 or fewer, "
           "so the text is never printed: \"Коротко.\"\n"},
      {"text of two lines", WithBody([](auto& b) { b.insert(60, "\r\n"); }), {{kMultiLineText, L}}},
      {"rating code 106",
       With([](auto& r) { r[k4_0_1].header = "* 004 000 001 106"; }),
       {{kRatingCode, L}}},
      {"byte 0x98 in a text", WithBody([](auto& b) { b[5] = '\x98'; }), {{kBadByte, L + 1}}},
      {"NUL and a bell in a comment line",
       Edited([](auto& b) {
         b[3] = '\0';
         b[4] = '\a';
       }),
       {{kBadByte, 1}}},
      {"carriage return inside a text",
       WithBody([](auto& b) { b[50] = '\r'; }),
       {{kBadByte, L + 1}}},
      {"file saved as UTF-8", Edited([](auto& b) { b = Cp1251ToUtf8(b); }), {{kUtf8File, 0}}},
      {"last text without @",
       Edited([](auto& b) { b.erase(b.rfind('@'), 1); }),
       {{kUnclosedText, HeaderLine(179)}}},
      {"@ missing in a middle record",
       WithBody([](auto& b) { b.erase(b.find('@'), 1); }),
       {{kMultiLineText, L}, {kHeaderInText, L + 2}}},
      {"text line beginning with *",
       WithBody([](auto& b) { b.insert(0, W("*Внимание\r\n")); }),
       {{kMultiLineText, L}, {kNotPrinted, L}, {kHeaderInText, L + 1}, {kBadHeader, L + 1}}},
      {"text over 9999 characters",
       WithBody([](auto& b) { b.insert(0, std::string(10000, 'a')); }),
       {{kTooLongText, L}, {kLongText, L}}},
      // The text is 89 characters; 162 more make 251, one more than a text may print.
      {"text of 251 characters",
       WithBody([](auto& b) { b.insert(0, std::string(161, 'a') + ' '); }),
       {{kLongText, L}},
       At(L) +
           "* 004 000 001: the printed text has 251 characters, more than 250, too long to "
           "be read among a day's texts: \"" +
           std::string(60, 'a') + "\"...\n"},
      {"text of 250 characters",
       WithBody([](auto& b) { b.insert(0, std::string(160, 'a') + ' '); }),
       {}},
      {"record for the Moon",
       With([](auto& r) {
         r.push_back({"* 002 060 003 001", r[0].body});
       }),
       {{kUnusedRecord, kEnd}}},
      {"bare line feeds", Edited([](auto& b) { std::erase(b, '\r'); }), {{kBareLineFeeds, 0}}},
  };
  for (const auto& fault : faults) {
    const auto check = CheckInterpretationBytes("go.dat", fault.bytes);
    std::ostringstream out;
    PrintDataCheck({check}, out);
    const std::string report = out.str();
    EXPECT_EQ(Found(check), fault.expected) << fault.name << "\n" << report;
    EXPECT_EQ(check.Problems() == 0,
              (fault.expected.empty() || fault.expected == Findings{{kBareLineFeeds, 0}}))
        << fault.name;
    EXPECT_NE(report.find(fault.line), std::string::npos)
        << fault.name << ", no line " << fault.line << report;
  }
}

TEST(DataCheckDir, HeadingPerFileFindingsAndSummary) {
  ScratchProgramDir dir(false);
  WriteFile(dir.system() / "go.dat", Render(CompleteRecords()));
  WriteFile(dir.system() / "sale.dat", Edited([](auto& b) { std::erase(b, '\r'); }));
  std::ostringstream out;
  EXPECT_FALSE(CheckInterpretationData(dir.system(), out));
  const auto path = [&](const char* name) { return (dir.system() / name).string(); };
  const auto heading = [&](const char* name) {
    return std::string("== ") + name + " (" + path(name) +
           "): 180 records, 180 of 180 combinations; "
           "rating codes 001:18 002:18 003:18 004:18 005:18 101:18 102:18 103:18 104:18 105:18\n";
  };
  EXPECT_EQ(out.str(),
            heading("go.dat") + "== servis.dat (" + path("servis.dat") + "): missing\n" +
                path("servis.dat") +
                ": file not found; forecasts of this kind would print no texts\n" +
                heading("sale.dat") + path("sale.dat") +
                ": note: 362 of 362 lines end in LF without CR (the lookup reads both; the "
                "files ship with CR LF)\ncheck-data: 1 problem (servis.dat 1), 1 note\n");
  // A directory in a file's place cannot be read.
  EXPECT_EQ(Found(CheckInterpretationFile(dir.system())), (Findings{{kUnreadableFile, 0}}));
}

// A file that is no interpretation file at all: a hundred findings are
// listed, the rest counted.
TEST(DataCheckDir, AHundredFindingsAFileAreListedTheRestCounted) {
  ScratchProgramDir dir(false);
  std::string junk;
  for (int i = 0; i < 250; ++i) junk += "* not a header\r\n";
  WriteFile(dir.system() / "go.dat", junk);
  std::ostringstream out;
  CheckInterpretationData(dir.system(), out);
  const std::string prefix = (dir.system() / "go.dat").string() + ":";
  std::istringstream lines(out.str());
  int listed = 0;
  std::string line, last;
  while (std::getline(lines, line))
    if (line.starts_with(prefix)) ++listed, last = line;
  EXPECT_EQ(listed, 101) << out.str();
  EXPECT_TRUE(last.starts_with(prefix + " ... and ") && last.ends_with(" more findings not listed"))
      << last;
}

// The files that ship with the program. A missing file fails here too.
TEST(ShippedData, AllThreeInterpretationFilesAreClean) {
  const fs::path system = fs::path(MERIDAN_DATA_DIR) / "System";
  std::ostringstream out;
  EXPECT_TRUE(CheckInterpretationData(system, out)) << out.str();
  EXPECT_TRUE(out.str().ends_with("\ncheck-data: no problems in 3 files\n")) << out.str();
  // The whole range of ratings is used, each code more than once.
  for (const auto& check : CheckDataDir(system))
    for (const int code : kCodes)
      EXPECT_GE(check.ratingCodes.contains(code) ? check.ratingCodes.at(code) : 0, 2)
          << check.path << " code " << code;
}

}  // namespace
}  // namespace meridan
