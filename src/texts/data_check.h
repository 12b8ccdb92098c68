#pragma once
// The checker of the interpretation files (meridan check-data): the tool a
// person editing go.dat, servis.dat or sale.dat runs after every change. It
// reads each file as the lookup does and reports what would go wrong in a
// forecast: missing or duplicate records, headers that stop the lookup,
// texts that would never be printed, would be printed cut or run too long
// for a day's list, rating codes
// without a bar, bytes that are not Windows-1251 text.
//
// The report is in English, like every other message of the command line
// (only the pages are Russian); Russian text quoted from a file is converted
// to UTF-8 for the terminal.

#include <cstddef>
#include <filesystem>
#include <iosfwd>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace meridan {

enum class DataIssue {
  kMissingFile,     // the lookup finds no texts at all
  kUnreadableFile,  // exists but cannot be read
  kUtf8File,        // saved as UTF-8 instead of Windows-1251
  kBadByte,         // a byte that is not Windows-1251 text (control byte, 0x98, stray CR)
  kBadHeader,       // a header field that is not a number: lookups reaching it fail
  kUnusedRecord,    // a combination the scan never asks for
  kDuplicate,       // a later record for a combination: never used
  kHeaderInText,    // a text line beginning with "*", taken for a header
  kUnclosedText,    // no "@" before the end of the file
  kTooLongText,     // more than 9,999 characters: cut
  kMultiLineText,   // only the first line is printed
  kNotPrinted,      // bar markup and text of 80 bytes or fewer
  kLongText,        // a printed text of more than 250 characters
  kRatingCode,      // outside 001-005 and 101-105: no bar
  kMissingRecord,   // an expected combination without a record
  kBareLineFeeds,   // lines ending in LF without CR (information only)
};

struct DataFinding {
  DataIssue issue;
  int line = 0;         // 1-based; 0 when it is about the whole file
  std::string message;  // UTF-8, without the "file:line: " prefix
  // Every finding except the line-end note makes the check fail.
  bool IsProblem() const { return issue != DataIssue::kBareLineFeeds; }
};

struct InterpretationCheck {
  std::filesystem::path path;
  bool exists = false;
  size_t records = 0;       // headers that parsed
  size_t combinations = 0;  // expected combinations that have a record
  // Rating code -> number of expected combinations whose record (the one the
  // lookup uses) carries it.
  std::map<int, int> ratingCodes;
  std::vector<DataFinding> findings;  // in the order they are printed

  size_t Problems() const;
  size_t Count(DataIssue issue) const;
};

// The longest text a record may print. A day lists up to a dozen texts;
// one of more than about three sentences is skimmed, not read.
inline constexpr size_t kMaxPrintedText = 250;

// How many combinations the scan can ask for (transit body x aspect x natal body).
size_t ExpectedCombinations();

// Checks bytes as the content of the file at path.
InterpretationCheck CheckInterpretationBytes(const std::filesystem::path& path,
                                             std::string_view bytes);
// Checks one file; a missing file is a problem.
InterpretationCheck CheckInterpretationFile(const std::filesystem::path& path);
// Checks go.dat, servis.dat and sale.dat in dataDir, in that order.
std::vector<InterpretationCheck> CheckDataDir(const std::filesystem::path& dataDir);

// A heading line per file (records, combinations, ratings), one line per
// finding as "file:line: what", a summary line.
void PrintDataCheck(const std::vector<InterpretationCheck>& checks, std::ostream& out);

// Checks the three files in dataDir and writes the report to out. Returns
// true when no problem was found.
bool CheckInterpretationData(const std::filesystem::path& dataDir, std::ostream& out);

}  // namespace meridan
