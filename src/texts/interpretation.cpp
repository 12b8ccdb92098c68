#include "texts/interpretation.h"

#include <cerrno>

#include "base/cp1251.h"
#include "base/digits.h"
#include "base/files.h"
#include "base/lines.h"

namespace fs = std::filesystem;

namespace meridan {
namespace {

// Only this much of a line is looked at when headers are sought.
constexpr size_t kHeaderLineLimit = 255;

struct Field {
  size_t column;  // 1-based
  const char* name;
};
constexpr Field kFields[4] = {
    {3, "transit body"}, {7, "aspect"}, {11, "natal body"}, {15, "rating code"}};

std::string NotAnInteger(std::string_view text) {
  // Messages are UTF-8, like every message the programs show.
  return "'" + Cp1251ToUtf8(text) + "' is not a valid integer value";
}

}  // namespace

std::optional<int> ParseHeaderField(std::string_view field) {
  size_t i = 0;
  while (i < field.size() && field[i] == ' ') ++i;
  return ParseDigits(field.substr(i));
}

int RatingFromCode(int code) {
  if (code >= 101 && code <= 105) return 100 - code;
  return code;
}

size_t BarMarkupLength(int rating) {
  constexpr size_t kBlueTag = 37, kRedTag = 36, kBreak = 4;
  if (rating < -5 || rating > 5 || rating == 0) return 0;
  return (rating > 0 ? kBlueTag : kRedTag) + kBreak;
}

bool LongEnoughToPrint(int rating, std::string_view firstLine) {
  return PageLineLength(rating, firstLine) > 80;
}

std::string TextFirstLine(std::string_view text) {
  const size_t end = text.find_first_of("\r\n");
  if (end == std::string_view::npos) return std::string(text) + " ";
  return std::string(text.substr(0, end));
}

InterpretationFile InterpretationFile::Load(const fs::path& path) {
  // A missing file is no error: it yields no texts. Anything else that
  // keeps the file from being read is.
  std::string bytes;
  try {
    bytes = ReadFile(path);
  } catch (const FileError& error) {
    if (error.error() != ENOENT) throw;
    InterpretationFile missing;
    missing.path_ = path;
    return missing;
  }
  return Parse(path, bytes);
}

InterpretationFile InterpretationFile::Parse(const fs::path& path, std::string_view bytes) {
  InterpretationFile file;
  file.path_ = path;
  file.exists_ = true;
  int lineNumber = 0;
  ForEachLine(bytes, [&](std::string_view whole) {
    ++lineNumber;
    // Where the next line begins: after this one's line end.
    size_t next = static_cast<size_t>(whole.data() - bytes.data()) + whole.size();
    if (next < bytes.size() && bytes[next] == '\r') ++next;
    if (next < bytes.size() && bytes[next] == '\n') ++next;
    const std::string_view line = whole.substr(0, kHeaderLineLimit);
    if (line.empty() || line[0] != '*') return;

    InterpretationRecord record;
    record.line = lineNumber;
    int values[4] = {};
    bool ok = true;
    for (int f = 0; f < 4 && ok; ++f) {
      const size_t start = kFields[f].column - 1;
      const std::string_view text =
          start < line.size() ? line.substr(start, 3) : std::string_view();
      const auto value = ParseHeaderField(text);
      if (!value) {
        file.problems_.push_back(
            {lineNumber, static_cast<int>(kFields[f].column), kFields[f].name, std::string(text)});
        ok = false;
      } else {
        values[f] = *value;
      }
    }
    if (!ok) return;
    record.key = {values[0], values[1], values[2]};
    record.ratingCode = values[3];
    record.rating = RatingFromCode(record.ratingCode);

    // The text runs from the next line to the first "@" (or the end of the
    // file), at most 9,999 characters.
    const std::string_view rest = bytes.substr(next);
    const size_t at = rest.find('@');
    record.closed = at != std::string_view::npos;
    record.text =
        std::string(rest.substr(0, std::min(record.closed ? at : rest.size(), kMaxRecordText)));
    record.firstLine = TextFirstLine(record.text);

    if (file.problems_.empty()) file.first_.emplace(record.key, file.records_.size());
    file.records_.push_back(std::move(record));
  });
  return file;
}

InterpretationFile::Match InterpretationFile::Find(const AspectKey& key) const {
  Match match;
  if (!exists_) return match;
  const auto found = first_.find(key);
  if (found != first_.end()) {
    match.record = &records_[found->second];
    match.rating = match.record->rating;
    match.text = match.record->firstLine;
    return match;
  }
  if (!problems_.empty()) {
    const HeaderProblem& bad = problems_.front();
    throw DataFileError(path_, bad.line, AtLine(path_, bad.line, NotAnInteger(bad.fieldText)),
                        DataFileError::Remedy::kReinstall, Cp1251ToUtf8(bad.fieldText));
  }
  return match;
}

void WriteScratchText(const fs::path& file, std::string_view text) {
  std::string bytes(text);
  bytes += ' ';
  WriteFileIfChanged(file, bytes, Durability::Scratch);
}

}  // namespace meridan
