// The lookup of one hit in an interpretation file: which record matches,
// what fragment and rating it gives, what the scratch file holds, and which
// headers stop a lookup.

#include "reports/interpretation.h"

#include <gtest/gtest.h>

#include <string>

#include "reports/cp1251.h"
#include "support/program_dir.h"

namespace meridan {
namespace {

using testing::ProgramDir;
using testing::ReadFile;
using testing::WriteFile;

const std::string kBlue1 = "<p><img border=\"0\" src=\"b_blu1.gif\" >";
const std::string kRed1 = "<p><img border=\"0\" src=\"b_red1.gif\">";
const std::string kRed3 = "<p><img border=\"0\" src=\"b_red3.gif\">";

InterpretationFile ParseText(const std::string& bytes) {
  return InterpretationFile::Parse("go.dat", bytes);
}

// A text of n characters that ends in a recognisable letter.
std::string Text(size_t n) { return std::string(n - 1, 'x') + 'y'; }

TEST(HeaderField, ReadsDecimalsWithLeadingZerosOrBlanks) {
  struct Case {
    const char* name;
    std::string field;
    std::optional<int> value;
  } cases[] = {
      {"leading zero", "060", 60},
      {"leading blank", " 60", 60},
      {"two leading blanks", "  1", 1},
      {"all zeros", "000", 0},
      {"three digits", "180", 180},
      {"short field at the end of a line", "5", 5},
      {"trailing blank", "60 ", std::nullopt},
      {"blanks only", "   ", std::nullopt},
      {"empty", "", std::nullopt},
      {"plus sign", "+60", std::nullopt},
      {"minus sign", "-60", std::nullopt},
      {"letter inside", "6a0", std::nullopt},
      {"tab instead of blank", "\t60", std::nullopt},
      {"hex prefix", "0x1", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseHeaderField(c.field), c.value) << c.name;
}

TEST(RatingCode, UnfavourableCodesBecomeNegativeOthersStay) {
  const std::pair<int, int> cases[] = {{1, 1},     {5, 5},     {101, -1}, {103, -3}, {105, -5},
                                       {0, 0},     {6, 6},     {100, 100}, {106, 106}, {999, 999}};
  for (const auto& [code, rating] : cases) EXPECT_EQ(RatingFromCode(code), rating) << "code " << code;
}

TEST(BarTagTest, FavourableTagsCarryABlankBeforeTheBracket) {
  EXPECT_EQ(BarTag(1), kBlue1);
  EXPECT_EQ(BarTag(5), "<p><img border=\"0\" src=\"b_blu5.gif\" >");
  EXPECT_EQ(BarTag(-1), kRed1);
  EXPECT_EQ(BarTag(-5), "<p><img border=\"0\" src=\"b_red5.gif\">");
  for (int r = 1; r <= 5; ++r) {
    EXPECT_EQ(BarTag(r).size(), 37u) << r;
    EXPECT_EQ(BarTag(-r).size(), 36u) << -r;
  }
  for (const int r : {0, 6, -6, 106}) EXPECT_EQ(BarTag(r), "") << r;
}

TEST(TextFirstLineTest, OneLineKeepsTheBlankOfTheAtSign) {
  EXPECT_EQ(TextFirstLine("abc"), "abc ");
  EXPECT_EQ(TextFirstLine("abc\r\n"), "abc");
  EXPECT_EQ(TextFirstLine("abc\ndef"), "abc");
  EXPECT_EQ(TextFirstLine("abc\r\ndef\r\n"), "abc");
  EXPECT_EQ(TextFirstLine("\r\nabc"), "");
  EXPECT_EQ(TextFirstLine(""), " ");
}

TEST(Lookup, FirstRecordInFileOrderWins) {
  const auto file = ParseText(
      "* 001 060 003 002\r\nfirst text@\r\n"
      "* 001 060 003 104\r\nsecond text@\r\n");
  const auto match = file.Find(1, 60, 3);
  ASSERT_NE(match.record, nullptr);
  EXPECT_EQ(match.record->line, 1);
  EXPECT_EQ(match.rating, 2);
  EXPECT_EQ(match.fragment, BarTag(2) + "first text <br>");
}

TEST(Lookup, RatingCode103GivesTheThirdRedBar) {
  const auto file = ParseText("* 005 090 008 103\r\n" + W("Резкое торможение опасно.") + "@\r\n");
  const auto match = file.Find(5, 90, 8);
  EXPECT_EQ(match.rating, -3);
  EXPECT_EQ(match.fragment, kRed3 + W("Резкое торможение опасно.") + " <br>");
}

TEST(Lookup, RatingCodesOutsideTheRangesGiveTheBareLine) {
  const auto file = ParseText(
      "* 001 000 001 000\r\nno bar at all@\r\n"
      "* 001 000 003 106\r\nno bar either\r\nsecond line@\r\n");
  const auto zero = file.Find(1, 0, 1);
  EXPECT_EQ(zero.rating, 0);
  EXPECT_EQ(zero.fragment, "no bar at all ");
  const auto code106 = file.Find(1, 0, 3);
  EXPECT_EQ(code106.rating, 106);
  EXPECT_EQ(code106.fragment, "no bar either");
}

TEST(Lookup, OneLineTextKeepsOneBlankBeforeTheBreak) {
  const auto file = ParseText("* 004 120 006 001\r\nGood day@\r\n");
  EXPECT_EQ(file.Find(4, 120, 6).fragment, kBlue1 + "Good day <br>");
}

TEST(Lookup, ThreeLineTextGivesItsFirstLineWithoutBlank) {
  const auto file = ParseText("* 003 180 007 101\r\nline one\r\nline two\r\nline three\r\n@\r\n");
  const auto match = file.Find(3, 180, 7);
  EXPECT_EQ(match.fragment, kRed1 + "line one<br>");
  EXPECT_EQ(match.record->text, "line one\r\nline two\r\nline three\r\n");
}

TEST(Lookup, NoMatchingRecordGivesAnEmptyFragment) {
  const auto file = ParseText("* 001 060 003 002\r\ntext@\r\n");
  for (const auto& [t, a, n] : {std::tuple{1, 60, 4}, {1, 0, 3}, {3, 60, 3}}) {
    const auto match = file.Find(t, a, n);
    EXPECT_EQ(match.fragment, "");
    EXPECT_EQ(match.record, nullptr);
  }
}

TEST(Lookup, ValuesBeyondThreeDigitsNeverMatch) {
  // (1, 60, 1003) and (1, 61, 3) would share a key if it were not checked.
  const auto file = ParseText("* 001 061 003 002\r\ntext@\r\n");
  EXPECT_EQ(file.Find(1, 60, 1003).record, nullptr);
  EXPECT_EQ(file.Find(0, 1061, 3).record, nullptr);
  EXPECT_EQ(file.Find(-1, 60, 3).record, nullptr);
  EXPECT_NE(file.Find(1, 61, 3).record, nullptr);
}

TEST(Lookup, LeadingBlanksInHeaderFieldsMatch) {
  const auto file = ParseText("*   1  60   3 101\r\nwith blanks@\r\n");
  const auto match = file.Find(1, 60, 3);
  ASSERT_NE(match.record, nullptr);
  EXPECT_EQ(match.rating, -1);
  EXPECT_EQ(match.fragment, kRed1 + "with blanks <br>");
}

TEST(Lookup, OnlyLinesStartingWithAStarAreHeaders) {
  const auto file = ParseText(
      "comment: * 001 060 003 001\r\n"
      " * 001 060 003 001\r\nindented is not a header@\r\n"
      "* 001 060 003 005\r\nreal@\r\n");
  EXPECT_EQ(file.records().size(), 1u);
  EXPECT_EQ(file.Find(1, 60, 3).fragment, BarTag(5) + "real <br>");
}

TEST(Lookup, BadHeaderStopsOnlyTheLookupsThatReachIt) {
  const auto file = ParseText(
      "* 001 060 003 002\r\nbefore@\r\n"
      "* 001  6  004 002\r\nbad aspect field@\r\n"
      "* 001 090 005 003\r\nafter@\r\n");
  // A match before the bad header still works.
  EXPECT_EQ(file.Find(1, 60, 3).fragment, BarTag(2) + "before <br>");
  // A match after it, and a lookup that matches nothing, reach it.
  for (const auto& [t, a, n] : {std::tuple{1, 90, 5}, {4, 0, 10}}) {
    try {
      file.Find(t, a, n);
      ADD_FAILURE() << "no error for " << t << " " << a << " " << n;
    } catch (const DataFileError& e) {
      EXPECT_STREQ(e.what(), "' 6 ' is not a valid integer value");
      EXPECT_EQ(e.line(), 3);
      EXPECT_EQ(e.file(), "go.dat");
      EXPECT_EQ(e.Describe(), "go.dat:3: ' 6 ' is not a valid integer value");
    }
  }
  ASSERT_EQ(file.problems().size(), 1u);
  EXPECT_EQ(file.problems()[0].fieldName, "aspect");
  EXPECT_EQ(file.problems()[0].column, 7);
}

TEST(Lookup, RatingCodeMustParseEvenWhenTheBodiesDoNotMatch) {
  const auto file = ParseText("* 004 000 009 10x\r\ntext@\r\n* 001 000 001 001\r\nsun@\r\n");
  EXPECT_THROW(file.Find(1, 0, 1), DataFileError);
  // An empty field (the header ends early) is an error too.
  const auto shortHeader = ParseText("* 001 000\r\ntext@\r\n");
  try {
    shortHeader.Find(1, 0, 1);
    ADD_FAILURE() << "no error for a header without natal body";
  } catch (const DataFileError& e) {
    EXPECT_STREQ(e.what(), "'' is not a valid integer value");
  }
}

// Fragment lengths at the print threshold: favourable bar 37 characters,
// unfavourable 36, "<br>" 4, plus the one blank of a one-line text.
TEST(Lookup, PrintThresholdForBothBarLengths) {
  struct Case {
    const char* name;
    std::string code;
    std::string textLine;
    const char* lineEnd;  // "@" on the text's line, or on the next line
    size_t fragmentLength;
  } cases[] = {
      {"favourable, 38 + blank", "001", Text(38), "@", 80},
      {"favourable, 39 + blank", "001", Text(39), "@", 81},
      {"favourable, 39 then line break", "001", Text(39), "\r\n@", 80},
      {"favourable, 40 then line break", "001", Text(40), "\r\n@", 81},
      {"unfavourable, 39 + blank", "101", Text(39), "@", 80},
      {"unfavourable, 40 + blank", "101", Text(40), "@", 81},
      {"unfavourable, 40 then line break", "101", Text(40), "\r\n@", 80},
      {"unfavourable, 41 then line break", "101", Text(41), "\r\n@", 81},
  };
  for (const Case& c : cases) {
    const auto file = ParseText("* 001 000 001 " + c.code + "\r\n" + c.textLine + c.lineEnd + "\r\n");
    const auto match = file.Find(1, 0, 1);
    EXPECT_EQ(match.fragment.size(), c.fragmentLength) << c.name;
    EXPECT_EQ(match.fragment.size() > kPrintableFragmentLength, c.fragmentLength == 81) << c.name;
  }
}

TEST(Lookup, TextIsCutAfter9999Characters) {
  const auto exact = ParseText("* 001 000 001 001\r\n" + std::string(9999, 'a') + "@\r\n");
  EXPECT_EQ(exact.records()[0].text.size(), 9999u);
  EXPECT_TRUE(exact.records()[0].closed);

  const auto tooLong = ParseText("* 001 000 001 001\r\n" + std::string(10000, 'a') + "bbb@\r\n");
  const auto& record = tooLong.records()[0];
  EXPECT_EQ(record.text, std::string(9999, 'a'));
  EXPECT_EQ(tooLong.Find(1, 0, 1).fragment, kBlue1 + std::string(9999, 'a') + " <br>");
}

TEST(Lookup, TextWithoutAtSignRunsToTheEndOfTheFile) {
  const auto noLineEnd = ParseText("* 001 000 001 001\r\nopen text");
  EXPECT_FALSE(noLineEnd.records()[0].closed);
  EXPECT_EQ(noLineEnd.records()[0].text, "open text");
  EXPECT_EQ(noLineEnd.Find(1, 0, 1).fragment, kBlue1 + "open text <br>");

  const auto withLineEnd = ParseText("* 001 000 001 001\r\nopen text\r\n");
  EXPECT_EQ(withLineEnd.Find(1, 0, 1).fragment, kBlue1 + "open text<br>");

  // A header on the last line has an empty text.
  const auto lastLine = ParseText("* 001 000 001 001");
  EXPECT_EQ(lastLine.Find(1, 0, 1).fragment, kBlue1 + " <br>");
}

TEST(Lookup, TextLinesLongerThan255CharactersAreNotCut) {
  const std::string line = Text(300);
  const auto file = ParseText("* 001 000 001 102\r\n" + line + "@\r\n");
  EXPECT_EQ(file.Find(1, 0, 1).fragment, BarTag(-2) + line + " <br>");
}

TEST(Lookup, HeaderIsReadFromTheFirst255CharactersOnly) {
  // A long comment line that begins with "*" still parses its fields; what
  // stands after column 255 never matters.
  const auto file = ParseText("* 001 000 001 001" + std::string(300, '#') + "\r\ntext@\r\n");
  EXPECT_EQ(file.Find(1, 0, 1).fragment, kBlue1 + "text <br>");
}

TEST(Lookup, BareLineFeedsWorkLikeCrLf) {
  const std::string crlf = "intro\r\n* 001 060 003 002\r\none@\r\n* 003 000 005 104\r\nfirst\r\nsecond\r\n@\r\n";
  std::string lf;
  for (const char c : crlf)
    if (c != '\r') lf += c;
  const auto a = ParseText(crlf);
  const auto b = ParseText(lf);
  for (const auto& [t, asp, n] : {std::tuple{1, 60, 3}, {3, 0, 5}}) {
    EXPECT_EQ(a.Find(t, asp, n).fragment, b.Find(t, asp, n).fragment);
    EXPECT_EQ(a.Find(t, asp, n).record->line, b.Find(t, asp, n).record->line);
  }
  EXPECT_EQ(b.Find(3, 0, 5).fragment, BarTag(-4) + "first<br>");
}

TEST(FindInterpretationTest, MissingFileGivesNothingAndNoScratchFile) {
  ProgramDir dir(false);
  const auto match = FindInterpretation(dir.system() / "go.dat", 1, 60, 3, dir.system());
  EXPECT_EQ(match.fragment, "");
  EXPECT_EQ(match.rating, 0);
  EXPECT_FALSE(std::filesystem::exists(dir.system() / "tmp.dat"));
}

TEST(FindInterpretationTest, ScratchFileHoldsTheTextPlusOneBlank) {
  ProgramDir dir(false);
  const std::string text = W("Дорога свободна, но внимательнее на перекрёстках.");
  WriteFile(dir.system() / "servis.dat",
            W("Файл толкований\r\n") + "* 001 060 003 004\r\n" + text + "@ ignored\r\n" +
                "* 004 090 007 105\r\nfirst\r\nsecond\r\nthird\r\n@\r\n");
  const auto one = FindInterpretation(dir.system() / "servis.dat", 1, 60, 3, dir.system());
  EXPECT_EQ(one.fragment, BarTag(4) + text + " <br>");
  EXPECT_EQ(ReadFile(dir.system() / "tmp.dat"), text + " ");

  const auto three = FindInterpretation(dir.system() / "servis.dat", 4, 90, 7, dir.system());
  EXPECT_EQ(three.rating, -5);
  EXPECT_EQ(ReadFile(dir.system() / "tmp.dat"), "first\r\nsecond\r\nthird\r\n ");

  // No match leaves the scratch file as it was.
  FindInterpretation(dir.system() / "servis.dat", 5, 0, 10, dir.system());
  EXPECT_EQ(ReadFile(dir.system() / "tmp.dat"), "first\r\nsecond\r\nthird\r\n ");
}

TEST(FindInterpretationTest, UnwritableDataDirIsAnErrorNamingTheScratchFile) {
  ProgramDir dir(false);
  WriteFile(dir.system() / "go.dat", "* 001 060 003 004\r\ntext@\r\n");
  const auto missingDir = dir.root() / "no-such-dir";
  try {
    FindInterpretation(dir.system() / "go.dat", 1, 60, 3, missingDir);
    ADD_FAILURE() << "no error for a scratch file in a missing directory";
  } catch (const DataFileError& e) {
    EXPECT_EQ(e.file(), missingDir / "tmp.dat");
  }
}

}  // namespace
}  // namespace meridan
