// Hostile arguments: names with control characters, dates that do not
// exist, numbers in the forms strtod would take, words that would reorder
// or garble the terminal. Each is refused in one line with status 2 and
// leaves the program directory as it was.
#include "cli/arguments.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/run_meridan.h"
#include "support/scratch_program_dir.h"

namespace meridan {
namespace {

namespace fs = std::filesystem;
using testing::ScratchProgramDir;

using testing::Result;
using testing::RunMeridan;

// Every file of the program directory with its bytes.
std::map<std::string, std::string> Files(const fs::path& root) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(root))
    if (entry.is_regular_file())
      files[entry.path().lexically_relative(root).string()] = testing::ReadFile(entry.path());
  return files;
}

void ExpectRefusedInOneLine(const Result& r, const std::string& what) {
  EXPECT_EQ(r.status, 2) << what;
  EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 2) << what << ": " << r.err;
  EXPECT_TRUE(r.err.ends_with("\nTry 'meridan --help'.\n")) << what << ": " << r.err;
  EXPECT_TRUE(r.out.empty()) << what;
}

// C0 controls, DEL and the C1 controls of UTF-8 would go raw into the
// page's heading and the PDF: refused, with nothing written; the refusal
// shows them escaped. Letters of any script stay names.
TEST(Arguments, NameWithControlCharactersIsRefusedAndNothingWritten) {
  ScratchProgramDir dir;
  const auto before = Files(dir.root());
  const auto forecast = [&](const std::string& name) {
    return RunMeridan({"forecast", "--kind", "trips", "--name", name, "--birth", "20.05.1984",
                       "--start", "05.2025", "--dir", dir.root().string()});
  };
  for (const std::string name : {"a\x07"
                                 "b",
                                 "a\x7f"
                                 "c",
                                 "c\rd", "two\nlines", "\x1b[31mred",
                                 "csi\xc2\x9b"
                                 "2J",
                                 "tab\there"}) {
    const Result r = forecast(name);
    ExpectRefusedInOneLine(r, name);
    EXPECT_NE(r.err.find("--name may not hold control characters"), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find_first_of("\x07\x7f\r\x1b"), std::string::npos) << r.err;
  }
  EXPECT_EQ(Files(dir.root()), before);
  EXPECT_EQ(forecast("Ёлка Ωmega").status, 0);
}

// Dates are days that exist, in every option that takes one; numbers are
// plain decimal, and counts whole.
TEST(Arguments, DatesThatDoNotExistAndNumbersInOtherFormsAreRefused) {
  ScratchProgramDir dir;
  const auto before = Files(dir.root());
  const std::string at = dir.root().string();
  const std::vector<std::vector<std::string>> refused = {
      {"positions", "--date", "31.02.2000"}, {"positions", "--date", "29.02.1900"},
      {"positions", "--date", "31.04.2025"}, {"positions", "--jd", "0x10"},
      {"positions", "--jd", " 5"},           {"positions", "--jd", "5 "},
      {"positions", "--jd", "1e3"},          {"positions", "--jd", "inf"},
      {"positions", "--jd", "nan"},          {"positions", "--jd", "."},
      {"positions", "--jd", "1.2.3"},        {"positions", "--jd", ""},
      {"stations", "--months", "1e3"},       {"stations", "--months", "0x10"},
      {"stations", "--months", "1.0"},       {"stations", "--months", " 5"},
      {"stations", "--months", "0"},         {"stations", "--months", "99999999999999999999"},
  };
  for (std::vector<std::string> args : refused) {
    const std::string what = args[1] + " '" + args[2] + "'";
    args.insert(args.end(), {"--dir", at});
    if (args[0] == "stations") args.insert(args.end(), {"--start", "01.2025"});
    ExpectRefusedInOneLine(RunMeridan(args), what);
  }
  EXPECT_EQ(RunMeridan({"positions", "--date", "29.02.2000", "--dir", at}).status, 0);
  for (const char* jd : {"+45000", "45000.", "45000.25"})
    EXPECT_EQ(RunMeridan({"positions", "--jd", jd, "--dir", at}).status, 0) << jd;
  EXPECT_EQ(RunMeridan({"stations", "--months", "+2", "--start", "01.2025", "--dir", at}).status,
            0);
  EXPECT_EQ(Files(dir.root()), before);
  const std::string said = RunMeridan({"positions", "--date", "31.02.2000"}).err;
  EXPECT_TRUE(
      said.starts_with("meridan positions: --date 31.02.2000 is no date: month 2 of 2000 "
                       "has 29 days\n"))
      << said;
}

// Invalid UTF-8 and the bidirectional controls (which would show
// "evil\u202Etxt.exe" as "evilexe.txt") are escaped in error lines like the
// control characters.
TEST(Arguments, ErrorLinesEscapeInvalidUtf8AndBidirectionalControls) {
  EXPECT_EQ(RunMeridan({"posit\xff\xe2\x80\xaeions\xc3"}).err,
            "meridan: unknown command 'posit\\xFF\\u202Eions\\xC3'\n"
            "Try 'meridan --help'.\n");
  EXPECT_EQ(Printable("\xe2\x81\xa6x\xe2\x80\x8f\xed\xa0\x80\xc0\xafé"),
            "\\u2066x\\u200F\\xED\\xA0\\x80\\xC0\\xAFé");
}

// The start month taken from the clock is checked as --start is: a clock
// set past the forecast years asks for --start instead of forecasting
// months the tables do not cover.
TEST(Arguments, ClockMonthOutsideTheForecastYearsAsksForStart) {
  EXPECT_EQ(ClockMonth({15, 5, 2025}).month, 5);
  EXPECT_THROW(ClockMonth({1, 1, 2101}), UsageError);
  EXPECT_THROW(ClockMonth({31, 12, 1899}), UsageError);
}

}  // namespace
}  // namespace meridan
