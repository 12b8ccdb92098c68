// The interpretation-file checker: a complete file set passes, every kind
// of fault is reported at its line and nothing else is, and the shipped
// files pass.

#include "reports/data_check.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "reports/cp1251.h"
#include "support/program_dir.h"

namespace meridan {
namespace {

namespace fs = std::filesystem;
using testing::ProgramDir;
using testing::WriteFile;

constexpr int kTransits[] = {1, 3, 4, 5};
constexpr int kAspects[] = {0, 60, 90, 120, 180};
constexpr int kNatals[] = {1, 3, 4, 5, 6, 7, 8, 9, 10};
constexpr const char* kCodes[] = {"001", "002", "003", "004", "005", "101", "102", "103", "104", "105"};
constexpr int kCommentLines = 2;

// One record: the header line and what follows it up to the next header.
struct Record {
  std::string header;
  std::string body;
};

std::string Header(int t, int a, int n, const std::string& code) {
  char text[32];
  std::snprintf(text, sizeof text, "* %03d %03d %03d %s", t, a, n, code.c_str());
  return text;
}

// 180 well-formed records in scan order; the rating codes take turns, so
// each of the ten is used 18 times.
std::vector<Record> CompleteRecords() {
  std::vector<Record> records;
  for (const int t : kTransits)
    for (const int a : kAspects)
      for (const int n : kNatals) {
        const std::string code = kCodes[records.size() % 10];
        const std::string text = W("Сочетание ") + std::to_string(t) + "-" + std::to_string(a) + "-" +
                                 std::to_string(n) +
                                 W(": день подходит для спокойной поездки по знакомому маршруту, "
                                   "без спешки и лишних остановок.");
        records.push_back({Header(t, a, n, code), text + "@\r\n"});
      }
  return records;
}

size_t IndexOf(int t, int a, int n) {
  const auto at = [](const auto& values, int v) {
    return static_cast<size_t>(std::find(std::begin(values), std::end(values), v) - std::begin(values));
  };
  return (at(kTransits, t) * 5 + at(kAspects, a)) * 9 + at(kNatals, n);
}

// The header's line of record k when every record takes two lines.
int HeaderLine(size_t k) { return kCommentLines + 1 + 2 * static_cast<int>(k); }

std::string Render(const std::vector<Record>& records) {
  std::string bytes = W("Толкования для прогноза поездок\r\n") + W("Заголовок: * ТТТ ААА ННН РРР\r\n");
  for (const Record& r : records) bytes += r.header + "\r\n" + r.body;
  return bytes;
}

struct Expected {
  DataIssue issue;
  int line;
  friend bool operator==(const Expected&, const Expected&) = default;
  friend std::ostream& operator<<(std::ostream& out, const Expected& e) {
    return out << "{issue " << static_cast<int>(e.issue) << ", line " << e.line << "}";
  }
};

std::vector<Expected> Found(const InterpretationCheck& check) {
  std::vector<Expected> found;
  for (const DataFinding& f : check.findings) found.push_back({f.issue, f.line});
  return found;
}

std::string Report(const InterpretationCheck& check) {
  std::ostringstream out;
  PrintDataCheck({check}, out);
  return out.str();
}

TEST(DataCheck, CompleteFileIsClean) {
  const auto check = CheckInterpretationBytes("go.dat", Render(CompleteRecords()));
  EXPECT_TRUE(check.findings.empty()) << Report(check);
  EXPECT_EQ(check.records, 180u);
  EXPECT_EQ(check.combinations, 180u);
  EXPECT_EQ(ExpectedCombinations(), 180u);
  ASSERT_EQ(check.ratingCodes.size(), 10u);
  for (const auto& [code, count] : check.ratingCodes) EXPECT_EQ(count, 18) << "code " << code;
}

// Each fault, made in an otherwise complete file, and exactly the findings
// it must give.
struct Fault {
  const char* name;
  std::function<std::string()> bytes;
  std::vector<Expected> expected;
};

std::string With(const std::function<void(std::vector<Record>&)>& change) {
  auto records = CompleteRecords();
  change(records);
  return Render(records);
}

const size_t k1_60_3 = IndexOf(1, 60, 3);
const size_t k3_90_7 = IndexOf(3, 90, 7);
const size_t k4_0_1 = IndexOf(4, 0, 1);
const size_t kLast = 179;

std::vector<Fault> Faults() {
  using enum DataIssue;
  return {
      {"record removed",
       [] { return With([](auto& r) { r.erase(r.begin() + static_cast<long>(k1_60_3)); }); },
       {{kMissingRecord, 0}}},
      {"record repeated at the end",
       [] { return With([](auto& r) { r.push_back({r[k1_60_3].header, W("Другой текст@\r\n")}); }); },
       {{kDuplicate, HeaderLine(180)}, {kNotPrinted, HeaderLine(180)}}},
      {"aspect field ' 9 '",
       [] { return With([](auto& r) { r[k3_90_7].header = "* 003  9  007 101"; }); },
       {{kBadHeader, HeaderLine(k3_90_7)}, {kMissingRecord, 0}}},
      {"rating field with a letter",
       [] { return With([](auto& r) { r[k3_90_7].header = "* 003 090 007 1O1"; }); },
       {{kBadHeader, HeaderLine(k3_90_7)}, {kMissingRecord, 0}}},
      {"text too short to print",
       [] { return With([](auto& r) { r[k4_0_1].body = W("Коротко.") + "@\r\n"; }); },
       {{kNotPrinted, HeaderLine(k4_0_1)}}},
      {"text of two lines",
       [] { return With([](auto& r) { r[k4_0_1].body.insert(60, "\r\n"); }); },
       {{kMultiLineText, HeaderLine(k4_0_1)}}},
      {"rating code 106",
       [] { return With([](auto& r) { r[k4_0_1].header = Header(4, 0, 1, "106"); }); },
       {{kRatingCode, HeaderLine(k4_0_1)}}},
      {"rating code 000",
       [] { return With([](auto& r) { r[k4_0_1].header = Header(4, 0, 1, "000"); }); },
       {{kRatingCode, HeaderLine(k4_0_1)}}},
      {"byte 0x98 in a text",
       [] { return With([](auto& r) { r[k4_0_1].body[5] = '\x98'; }); },
       {{kBadByte, HeaderLine(k4_0_1) + 1}}},
      {"NUL and a bell in a comment line",
       [] {
         std::string bytes = Render(CompleteRecords());
         bytes[3] = '\0';
         bytes[4] = '\a';
         return bytes;
       },
       {{kBadByte, 1}}},
      {"carriage return inside a text",
       [] { return With([](auto& r) { r[k4_0_1].body[70] = '\r'; }); },
       {{kBadByte, HeaderLine(k4_0_1) + 1}}},
      {"file saved as UTF-8",
       [] { return Cp1251ToUtf8(Render(CompleteRecords())); },
       {{kUtf8File, 0}}},
      {"last text without @",
       [] { return With([](auto& r) { r[kLast].body.erase(r[kLast].body.find('@'), 1); }); },
       {{kUnclosedText, HeaderLine(kLast)}}},
      {"@ missing in a middle record",
       [] { return With([](auto& r) { r[k4_0_1].body.erase(r[k4_0_1].body.find('@'), 1); }); },
       {{kHeaderInText, HeaderLine(k4_0_1 + 1)}, {kMultiLineText, HeaderLine(k4_0_1)}}},
      {"text line beginning with *",
       [] { return With([](auto& r) { r[k4_0_1].body.insert(0, W("*Внимание\r\n")); }); },
       {{kNotPrinted, HeaderLine(k4_0_1)},
        {kHeaderInText, HeaderLine(k4_0_1) + 1},
        {kMultiLineText, HeaderLine(k4_0_1)},
        {kBadHeader, HeaderLine(k4_0_1) + 1}}},
      {"text over 9999 characters",
       [] { return With([](auto& r) { r[k4_0_1].body.insert(0, std::string(10000, 'a')); }); },
       {{kTooLongText, HeaderLine(k4_0_1)}}},
      {"record for the Moon",
       [] { return With([](auto& r) { r.push_back({Header(2, 60, 3, "001"), r[0].body}); }); },
       {{kUnusedRecord, HeaderLine(180)}}},
      {"bare line feeds",
       [] {
         std::string bytes = Render(CompleteRecords());
         std::erase(bytes, '\r');
         return bytes;
       },
       {{kBareLineFeeds, 0}}},
  };
}

TEST(DataCheck, EachFaultIsReportedAtItsLine) {
  for (const Fault& fault : Faults()) {
    const auto check = CheckInterpretationBytes("go.dat", fault.bytes());
    std::vector<Expected> found = Found(check), expected = fault.expected;
    const auto order = [](const Expected& a, const Expected& b) {
      return std::tie(a.line, a.issue) < std::tie(b.line, b.issue);
    };
    std::ranges::sort(found, order);
    std::ranges::sort(expected, order);
    EXPECT_EQ(found, expected) << fault.name << "\n" << Report(check);
  }
}

TEST(DataCheck, OnlyTheLineEndNoteLeavesTheCheckPassing) {
  for (const Fault& fault : Faults()) {
    const auto check = CheckInterpretationBytes("go.dat", fault.bytes());
    const bool onlyNote = fault.expected.size() == 1 && fault.expected[0].issue == DataIssue::kBareLineFeeds;
    EXPECT_EQ(check.Problems() == 0, onlyNote) << fault.name;
  }
}

TEST(DataCheck, MessagesNameTheRecordAndQuoteTextAsUtf8) {
  auto records = CompleteRecords();
  records[k4_0_1].body = W("Коротко.") + "@\r\n";
  records[k3_90_7].header = "* 003 090 007 1O1";
  records.push_back({records[k1_60_3].header, records[0].body});
  const auto check = CheckInterpretationBytes("go.dat", Render(records));
  const std::string report = Report(check);

  EXPECT_NE(report.find("go.dat:" + std::to_string(HeaderLine(k4_0_1)) +
                        ": * 004 000 001: the printed piece (bar, first line, line break) has 50 "
                        "characters, 80 or fewer, so the text is never printed: \"Коротко.\"\n"),
            std::string::npos)
      << report;
  EXPECT_NE(report.find("go.dat:" + std::to_string(HeaderLine(k3_90_7)) +
                        ": header field 'rating code' (columns 15-17) is \"1O1\", not a number; every "
                        "lookup that reaches this line fails with \"'1O1' is not a valid integer "
                        "value\" (112 of the 180 combinations)\n"),
            std::string::npos)
      << report;
  EXPECT_NE(report.find("go.dat:" + std::to_string(HeaderLine(180)) +
                        ": * 001 060 003: duplicate; the lookup uses the record at line " +
                        std::to_string(HeaderLine(k1_60_3)) + " and never this one\n"),
            std::string::npos)
      << report;
  EXPECT_NE(report.find("go.dat: no record * 003 090 007\n"), std::string::npos) << report;
  EXPECT_TRUE(Utf8Length(report).has_value()) << "the report is not UTF-8";
}

TEST(DataCheck, LookupsStoppedByABadHeaderAreCounted) {
  // The bad header stands after the first 79 records; the 101 combinations
  // from there on fail, as do lookups of the missing one.
  auto records = CompleteRecords();
  records[79].header.replace(6, 3, "9O ");
  const auto check = CheckInterpretationBytes("go.dat", Render(records));
  ASSERT_EQ(check.Count(DataIssue::kBadHeader), 1u);
  EXPECT_NE(check.findings[0].message.find("(101 of the 180 combinations)"), std::string::npos)
      << check.findings[0].message;
}

TEST(DataCheckDir, CleanSetPrintsHeadingsAndSummary) {
  ProgramDir dir(false);
  for (const char* name : {"go.dat", "servis.dat", "sale.dat"})
    WriteFile(dir.system() / name, Render(CompleteRecords()));
  std::ostringstream out;
  EXPECT_TRUE(CheckInterpretationData(dir.system(), out));
  std::string expected;
  for (const char* name : {"go.dat", "servis.dat", "sale.dat"})
    expected += std::string("== ") + name + " (" + (dir.system() / name).string() +
                "): 180 records, 180 of 180 combinations; rating codes 001:18 002:18 003:18 004:18 "
                "005:18 101:18 102:18 103:18 104:18 105:18\n";
  expected += "check-data: no problems in 3 files\n";
  EXPECT_EQ(out.str(), expected);
}

TEST(DataCheckDir, MissingAndUnreadableFilesAreProblems) {
  ProgramDir dir(false);
  WriteFile(dir.system() / "go.dat", Render(CompleteRecords()));
  fs::create_directory(dir.system() / "sale.dat");
  std::ostringstream out;
  EXPECT_FALSE(CheckInterpretationData(dir.system(), out));
  const auto checks = CheckDataDir(dir.system());
  ASSERT_EQ(checks.size(), 3u);
  EXPECT_EQ(checks[0].Problems(), 0u);
  EXPECT_EQ(Found(checks[1]), (std::vector<Expected>{{DataIssue::kMissingFile, 0}}));
  EXPECT_FALSE(checks[1].exists);
  EXPECT_EQ(Found(checks[2]), (std::vector<Expected>{{DataIssue::kUnreadableFile, 0}}));
  const std::string report = out.str();
  EXPECT_NE(report.find("== servis.dat (" + (dir.system() / "servis.dat").string() + "): missing\n"),
            std::string::npos)
      << report;
  EXPECT_NE(report.find("\ncheck-data: 2 problems (servis.dat 1, sale.dat 1)\n"), std::string::npos)
      << report;
}

TEST(DataCheckDir, LineEndNoteIsPrintedButPasses) {
  ProgramDir dir(false);
  std::string lf = Render(CompleteRecords());
  std::erase(lf, '\r');
  for (const char* name : {"go.dat", "servis.dat"}) WriteFile(dir.system() / name, Render(CompleteRecords()));
  WriteFile(dir.system() / "sale.dat", lf);
  std::ostringstream out;
  EXPECT_TRUE(CheckInterpretationData(dir.system(), out));
  EXPECT_NE(out.str().find("sale.dat: note: 362 of 362 lines end in LF without CR"), std::string::npos)
      << out.str();
  EXPECT_NE(out.str().find("check-data: no problems in 3 files, 1 note\n"), std::string::npos) << out.str();
}

// The files that ship with the program. A missing file fails here too.
TEST(ShippedData, AllThreeInterpretationFilesAreClean) {
  const fs::path system = fs::path(MERIDAN_DATA_DIR) / "System";
  std::ostringstream out;
  const bool clean = CheckInterpretationData(system, out);
  for (const auto& check : CheckDataDir(system)) {
    EXPECT_TRUE(check.exists) << check.path;
    EXPECT_EQ(check.records, 180u) << check.path;
    // The whole range of ratings is used, each code more than once.
    for (const char* code : kCodes) {
      const auto used = check.ratingCodes.find(std::stoi(code));
      EXPECT_GE(used == check.ratingCodes.end() ? 0 : used->second, 2) << check.path << " code " << code;
    }
  }
  EXPECT_TRUE(clean) << out.str();
}

}  // namespace
}  // namespace meridan
