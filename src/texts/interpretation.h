#pragma once
// Interpretation files (go.dat, servis.dat, sale.dat) and their lookup.
//
// A record is a header line "* TTT AAA NNN RRR" (transit body, aspect angle,
// natal body, rating code at the fixed columns 3-5, 7-9, 11-13, 15-17) and
// the text that follows it, from the next line up to the first "@". Only the
// text's first line is ever printed. The first matching record in file
// order wins. A header field that is not a decimal integer stops every
// lookup that reaches it, matched or not.
//
// A file is parsed once into memory; lookups then give exactly what reading
// the file from its start for every hit would give.

#include <filesystem>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "base/data_file_error.h"
#include "transits/aspects.h"

namespace meridan {

// Reads a three-character header field: leading blanks or zeros, then
// decimal digits. Anything else (a trailing blank, a sign, an empty field)
// gives nullopt.
std::optional<int> ParseHeaderField(std::string_view field);

// The signed rating of a rating code: 101..105 give -1..-5, anything else is
// taken unchanged.
int RatingFromCode(int code);

// What a page puts around a text of this rating, in bytes: the bar tag
// before it (37 for a blue bar, 36 for a red one) and the line break "<br>"
// after it; nothing for a rating outside -5..-1, 1..5, which has no bar.
size_t BarMarkupLength(int rating);

// The length of the line a page prints for a text: bar markup and text.
inline size_t PageLineLength(int rating, std::string_view firstLine) {
  return BarMarkupLength(rating) + firstLine.size();
}

// Whether a text is printed, and its rating counted: only when the bar
// markup and the text (the record's first line) are longer than 80 bytes
// together. A short text with its bar would leave a bar without words.
bool LongEnoughToPrint(int rating, std::string_view firstLine);
// A record's text holds at most this many characters; a longer one is cut.
inline constexpr size_t kMaxRecordText = 9999;

struct InterpretationRecord {
  int line = 0;  // 1-based line of the header
  AspectKey key;
  int ratingCode = 0;
  int rating = 0;
  std::string text;       // everything up to the "@" (or end of file), at most 9,999 chars
  bool closed = false;    // whether an "@" ended the text
  std::string firstLine;  // what the pages print: the text's first line (see TextFirstLine)
};

// The first line of a record's text as the lookup returns it: the text plus
// one blank, up to the first line end. A text that stands on one line with
// its "@" keeps that one trailing blank.
std::string TextFirstLine(std::string_view text);

// One header line that did not parse.
struct HeaderProblem {
  int line = 0;
  int column = 0;         // first column of the field
  std::string fieldName;  // "transit body", "aspect", "natal body", "rating code"
  std::string fieldText;
};

class InterpretationFile {
 public:
  // Parses the file; a missing file gives an empty, non-existent table.
  // Throws FileError when the file exists but cannot be read.
  static InterpretationFile Load(const std::filesystem::path& path);
  // Parses bytes as if they were the file's content (tests, fuzzing).
  static InterpretationFile Parse(const std::filesystem::path& path, std::string_view bytes);

  struct Match {
    const InterpretationRecord* record = nullptr;  // null when nothing matched
    int rating = 0;
    std::string_view text;  // the record's first line; empty when nothing matched
    // Whether the text is long enough to print: only such texts are shown
    // and counted.
    bool printable() const { return record && LongEnoughToPrint(rating, text); }
  };
  // The lookup of one hit. Throws DataFileError when a malformed header
  // stands before the match (or before the end, when nothing matches).
  Match Find(const AspectKey& key) const;

  bool exists() const { return exists_; }
  const std::filesystem::path& path() const { return path_; }
  // Every record whose header parsed, in file order, those after a bad header
  // included (no lookup reaches them: Find stops at the bad header first).
  const std::vector<InterpretationRecord>& records() const { return records_; }
  // Every header that did not parse, in file order.
  const std::vector<HeaderProblem>& problems() const { return problems_; }

 private:
  std::filesystem::path path_;
  bool exists_ = false;
  std::vector<InterpretationRecord> records_;
  std::vector<HeaderProblem> problems_;
  std::map<AspectKey, size_t> first_;  // the index of each key's first record
};

// Writes the scratch file (the program directory's scratchText): the text
// plus one blank, as a lookup leaves it after a match.
void WriteScratchText(const std::filesystem::path& file, std::string_view text);

}  // namespace meridan
