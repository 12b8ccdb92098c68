// The lookup of one hit in an interpretation file: which record matches,
// what fragment and rating it gives, what the scratch file holds, and which
// headers stop a lookup.

#include "texts/interpretation.h"

#include <gtest/gtest.h>

#include <string>

#include "base/cp1251.h"
#include "base/files.h"
#include "base/program_dir.h"
#include "support/scratch_program_dir.h"
#include "texts/data_check.h"

namespace meridan {
namespace {

using testing::ReadFile;
using testing::ScratchProgramDir;
using testing::WriteFile;

// Favourable bars carry a blank before the bracket, unfavourable ones do not.

InterpretationFile ParseText(const std::string& bytes) {
  return InterpretationFile::Parse("go.dat", bytes);
}

// A text of n characters that ends in a recognisable letter.
std::string Text(size_t n) { return std::string(n - 1, 'x') + 'y'; }

TEST(HeaderField, ReadsDecimalsWithLeadingZerosOrBlanks) {
  for (const auto& [field, value] :
       {std::pair{"060", 60}, {" 60", 60}, {"  1", 1}, {"000", 0}, {"5", 5}})
    EXPECT_EQ(ParseHeaderField(field), value) << '"' << field << '"';
  for (const char* field : {"60 ", "   ", "", "+60", "-60", "6a0", "\t60"})
    EXPECT_EQ(ParseHeaderField(field), std::nullopt) << '"' << field << '"';
}

const std::string kTwoRecords =
    "* 001 060 003 005\r\nfirst text@\r\n* 001 060 003 104\r\nsecond text@\r\n";
const std::string kBadAspect =
    "* 001 060 003 002\r\nbefore@\r\n* 001  6  004 002\r\nbad aspect@\r\n* 001 090 005 003\r\nafter@\r\n";

TEST(Lookup, TextRatingAndRecord) {
  struct Case {
    const char* name;
    std::string bytes;
    int t, a, n;
    std::string text;  // the first line
    int rating;
    int line;  // of the matching header; 0 for no match
  } cases[] = {
      {"first record in file order wins; a one-line text keeps a blank", kTwoRecords, 1, 60, 3,
       "first text ", 5, 1},
      {"code 103: third red bar", "* 005 090 008 103\r\n" + W("Резкое торможение.@"), 5, 90, 8,
       W("Резкое торможение. "), -3, 1},
      {"code 000: bare line", "* 001 000 001 000\r\nno bar at all@\r\n", 1, 0, 1, "no bar at all ",
       0, 1},
      {"code 106: bare line", "* 001 000 003 106\r\nno bar\r\nsecond line@\r\n", 1, 0, 3, "no bar",
       106, 1},
      {"three-line text gives its first line without blank",
       "* 003 180 007 101\r\nline one\r\nline two\r\nline three\r\n@\r\n", 3, 180, 7, "line one",
       -1, 1},
      {"leading blanks in header fields", "*   1  60   3 001\r\nwith blanks@\r\n", 1, 60, 3,
       "with blanks ", 1, 1},
      {"only lines starting with a star are headers",
       "comment: * 001 060 003 001\r\n * 001 060 003 001\r\nindented@\r\n* 001 060 003 005\r\nreal@\r\n",
       1, 60, 3, "real ", 5, 4},
      {"bare line feeds count lines like CR LF",
       "intro\n* 001 060 003 002\none@\n* 003 000 005 101\nfirst\nsecond\n@\n", 3, 0, 5, "first",
       -1, 4},
      {"text without @ runs to the end of the file", "* 001 000 001 001\r\nopen text", 1, 0, 1,
       "open text ", 1, 1},
      {"header on the last line has an empty text", "* 001 000 001 001", 1, 0, 1, " ", 1, 1},
      {"text cut after 9999 characters", "* 001 000 001 001\r\n" + std::string(10000, 'a') + "bbb@",
       1, 0, 1, std::string(9999, 'a') + " ", 1, 1},
      {"text lines longer than 255 characters are not cut",
       "* 001 000 001 001\r\n" + Text(300) + "@", 1, 0, 1, Text(300) + " ", 1, 1},
      {"a match before a bad header still works", kBadAspect, 1, 60, 3, "before ", 2, 1},
      {"no record for the key", kTwoRecords, 1, 60, 4, "", 0, 0},
      // It would share the key of (1, 61, 3) if the range were not checked.
      {"natal body beyond three digits", "* 001 061 003 002\r\ntext@", 1, 60, 1003, "", 0, 0},
  };
  for (const Case& c : cases) {
    const auto file = ParseText(c.bytes);
    const auto match = file.Find({c.t, c.a, c.n});
    EXPECT_EQ(match.text, c.text) << c.name;
    EXPECT_EQ(match.rating, c.rating) << c.name;
    EXPECT_EQ(match.record ? match.record->line : 0, c.line) << c.name;
  }
}

TEST(Lookup, BadHeaderStopsEveryLookupThatReachesIt) {
  struct Case {
    const char* name;
    std::string bytes;
    int t, a, n;
    std::string error;
  } cases[] = {
      {"match after the bad header", kBadAspect, 1, 90, 5,
       "go.dat:3: ' 6 ' is not a valid integer value"},
      {"no match at all", kBadAspect, 4, 0, 10, "go.dat:3: ' 6 ' is not a valid integer value"},
      {"rating code of a header for other bodies",
       "* 004 000 009 10x\r\ntext@\r\n* 001 000 001 001\r\nsun@", 1, 0, 1,
       "go.dat:1: '10x' is not a valid integer value"},
      {"header ending before the natal body", "* 001 000\r\ntext@\r\n", 1, 0, 1,
       "go.dat:1: '' is not a valid integer value"},
  };
  for (const Case& c : cases) {
    try {
      ParseText(c.bytes).Find({c.t, c.a, c.n});
      ADD_FAILURE() << "no error: " << c.name;
    } catch (const DataFileError& e) {
      EXPECT_EQ(std::string(e.what()), c.error) << c.name;
    }
  }
}

// Page line lengths at the print threshold: favourable bar 37 bytes,
// unfavourable 36, "<br>" 4, plus the one blank of a one-line text. A line of
// 80 bytes or fewer is never printed, and the file checker says so.
TEST(Lookup, PrintThresholdForBothBarLengths) {
  struct Case {
    const char* code;
    size_t textLength;
    const char* lineEnd;  // "@" on the text's line, or on the next line
    size_t fragmentLength;
  } cases[] = {
      {"001", 38, "@", 80},     {"001", 39, "@", 81},     {"001", 39, "\r\n@", 80},
      {"001", 40, "\r\n@", 81}, {"101", 39, "@", 80},     {"101", 40, "@", 81},
      {"101", 40, "\r\n@", 80}, {"101", 41, "\r\n@", 81},
  };
  for (const Case& c : cases) {
    const std::string bytes =
        std::string("* 001 000 001 ") + c.code + "\r\n" + Text(c.textLength) + c.lineEnd;
    const std::string row =
        std::string(c.code) + " " + std::to_string(c.textLength) + " " + c.lineEnd;
    const auto match = ParseText(bytes).Find({1, 0, 1});
    EXPECT_EQ(PageLineLength(match.rating, match.text), c.fragmentLength) << row;
    EXPECT_EQ(match.printable(), c.fragmentLength > 80) << row;
    const size_t notPrinted = c.fragmentLength == 80 ? 1 : 0;
    EXPECT_EQ(CheckInterpretationBytes("go.dat", bytes).Count(DataIssue::kNotPrinted), notPrinted)
        << row;
  }
}

// A record's text runs from its header to the "@", its line ends kept; the
// scratch file holds it plus one blank.
TEST(ScratchText, TheMatchedRecordsTextPlusOneBlank) {
  ScratchProgramDir dir(false);
  const std::string text = W("Дорога свободна, но внимательнее на перекрёстках.");
  const InterpretationFile file =
      ParseText(W("Файл толкований\r\n* 001 060 003 004\r\n") + text + "@ ignored\r\n" +
                "* 004 090 007 105\r\nfirst\r\nsecond\r\nthird\r\n@\r\n");
  const auto one = file.Find({1, 60, 3});
  ASSERT_NE(one.record, nullptr);
  EXPECT_EQ(one.rating, 4);
  const std::filesystem::path scratch = meridan::ProgramDir{dir.root()}.scratchText();
  WriteScratchText(scratch, one.record->text);
  EXPECT_EQ(ReadFile(scratch), text + " ");
  const auto lines = file.Find({4, 90, 7});
  ASSERT_NE(lines.record, nullptr);
  EXPECT_EQ(lines.rating, -5);
  WriteScratchText(scratch, lines.record->text);
  EXPECT_EQ(ReadFile(scratch), "first\r\nsecond\r\nthird\r\n ");
  EXPECT_EQ(file.Find({5, 0, 10}).record, nullptr);
}

TEST(ScratchText, UnwritableDataDirIsAnErrorNamingTheScratchFile) {
  ScratchProgramDir dir(false);
  try {
    WriteScratchText(dir.root() / "no-such-dir" / "tmp.dat", "text");
    ADD_FAILURE() << "no error for a scratch file in a missing directory";
  } catch (const FileError& e) {
    EXPECT_EQ(e.path(), dir.root() / "no-such-dir" / "tmp.dat");
    EXPECT_NE(std::string(e.what()).find("No such file or directory"), std::string::npos)
        << e.what();
  }
}

}  // namespace
}  // namespace meridan
