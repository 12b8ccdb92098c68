#include "texts/data_check.h"

#include <algorithm>
#include <cstdio>
#include <ostream>

#include "base/cp1251.h"
#include "base/files.h"
#include "base/lines.h"
#include "texts/interpretation.h"
#include "transits/aspects.h"
#include "transits/forecast_kind.h"
#include "transits/scan.h"

namespace fs = std::filesystem;

namespace meridan {
namespace {

bool IsExpected(const AspectKey& c) {
  return std::ranges::find(kTransitBodies, c.transitBody) != std::end(kTransitBodies) &&
         std::ranges::find(kAspectAngles, c.aspect) != std::end(kAspectAngles) &&
         std::ranges::find(kComputedBodies, c.natalBody) != std::end(kComputedBodies);
}

bool IsRatingCode(int code) { return (code >= 1 && code <= 5) || (code >= 101 && code <= 105); }

// "* 001 060 003", the header as it stands in a well-formed file, so that it
// can be searched for.
std::string HeaderName(const AspectKey& c) {
  char text[32];
  std::snprintf(text, sizeof text, "* %03d %03d %03d", c.transitBody, c.aspect, c.natalBody);
  return text;
}

std::string Code(int code) {
  char text[16];
  std::snprintf(text, sizeof text, "%03d", code);
  return text;
}

std::string Quote(std::string_view cp1251) { return "\"" + Cp1251ToUtf8(cp1251) + "\""; }

std::string List(const auto& values) {
  std::string out;
  for (const int v : values) out += (out.empty() ? "" : ",") + std::to_string(v);
  return out;
}

// Bytes of one line (without its line end) that are not Windows-1251 text.
void CheckBytes(std::string_view line, int number, std::vector<DataFinding>& out) {
  size_t first = std::string_view::npos;
  int count = 0;
  for (size_t i = 0; i < line.size(); ++i) {
    const auto b = static_cast<unsigned char>(line[i]);
    // A CR counts only as part of a CR LF line end; a stray one cuts the
    // printed text where it stands.
    if (IsCp1251TextByte(b) && b != '\r') continue;
    if (count++ == 0) first = i;
  }
  if (count == 0) return;
  char what[96];
  const auto b = static_cast<unsigned char>(line[first]);
  std::snprintf(what, sizeof what, "byte 0x%02X at column %zu is not Windows-1251 text%s", b,
                first + 1, b == '\r' ? " (a carriage return without line feed)" : "");
  std::string message = what;
  if (count > 1) message += " (" + std::to_string(count - 1) + " more on this line)";
  out.push_back({DataIssue::kBadByte, number, message});
}

void CheckRecord(const InterpretationRecord& r, std::string_view bytes,
                 const std::vector<size_t>& lineStarts, std::vector<DataFinding>& out) {
  const std::string name = HeaderName(r.key);

  if (!IsRatingCode(r.ratingCode))
    out.push_back({DataIssue::kRatingCode, r.line,
                   name + ": rating code " + Code(r.ratingCode) +
                       " is outside 001-005 and 101-105; the text gets no bar and the day's "
                       "rating sum takes " +
                       std::to_string(r.rating) + " as it is"});

  if (!r.closed)
    out.push_back({DataIssue::kUnclosedText, r.line,
                   name + ": the text has no closing \"@\"; it runs to the end of the file"});

  // The record keeps at most 9,999 characters; measure the whole text here.
  const size_t start = static_cast<size_t>(r.line) < lineStarts.size()
                           ? lineStarts[static_cast<size_t>(r.line)]
                           : bytes.size();
  const size_t at = bytes.find('@', start);
  const size_t length = (at == std::string_view::npos ? bytes.size() : at) - start;
  if (length > kMaxRecordText)
    out.push_back({DataIssue::kTooLongText, r.line,
                   name + ": the text has " + std::to_string(length) +
                       " characters; only the first 9999 are read"});

  std::vector<std::string_view> lines = SplitLines(r.text);
  if (lines.empty()) lines.push_back({});
  for (size_t k = 0; k < lines.size(); ++k) {
    if (lines[k].empty() || lines[k][0] != '*') continue;
    const int number = r.line + 1 + static_cast<int>(k);
    out.push_back({DataIssue::kHeaderInText, number,
                   k == 0
                       ? "the text of the record at line " + std::to_string(r.line) + " (" + name +
                             ") begins with \"*\"; the lookup takes this line for a header"
                       : "a line of the text of the record at line " + std::to_string(r.line) +
                             " (" + name +
                             ") begins with \"*\"; the lookup takes it for a "
                             "header (is an \"@\" missing before it?)"});
  }
  if (lines.size() > 1)
    out.push_back({DataIssue::kMultiLineText, r.line,
                   name + ": the text has " + std::to_string(lines.size()) +
                       " lines; only the first is printed"});

  std::string_view first = r.firstLine;
  if (!first.empty() && first.back() == ' ') first.remove_suffix(1);
  if (first.size() > kMaxPrintedText)
    out.push_back({DataIssue::kLongText, r.line,
                   name + ": the printed text has " + std::to_string(first.size()) +
                       " characters, more than " + std::to_string(kMaxPrintedText) +
                       ", too long to be read among a day's texts: " + Quote(first.substr(0, 60)) +
                       "..."});
  if (!LongEnoughToPrint(r.rating, r.firstLine)) {
    out.push_back({DataIssue::kNotPrinted, r.line,
                   name + ": the printed piece (bar, first line, line break) has " +
                       std::to_string(PageLineLength(r.rating, r.firstLine)) +
                       " characters, 80 or fewer, so the text is never printed: " + Quote(first)});
  }
}

using FirstRecords = std::map<AspectKey, const InterpretationRecord*>;

// Where each line starts (starts[i]: offset of line i + 1), and how many
// end in a line feed without a carriage return.
struct LineIndex {
  std::vector<size_t> starts;
  size_t bareLf = 0;
};
LineIndex IndexLines(std::string_view bytes, const std::vector<std::string_view>& lines) {
  LineIndex index;
  for (const std::string_view line : lines) {
    const size_t start = static_cast<size_t>(line.data() - bytes.data());
    index.starts.push_back(start);
    const size_t end = start + line.size();  // the line end, if any, starts here
    if (end < bytes.size() && bytes[end] == '\n') ++index.bareLf;
  }
  return index;
}

// Text saved as UTF-8 by an editor: every Russian letter would come out as
// two wrong ones. One finding says it better than a byte-by-byte list.
void CheckEncoding(std::string_view bytes, const std::vector<std::string_view>& lines,
                   std::vector<DataFinding>& head, std::vector<DataFinding>& byLine) {
  const bool utf8 =
      std::ranges::any_of(bytes, [](char c) { return static_cast<unsigned char>(c) >= 0x80; }) &&
      Utf8Length(bytes).has_value();
  if (utf8) {
    head.push_back({DataIssue::kUtf8File, 0,
                    "the file is saved as UTF-8, not Windows-1251 (convert it, e.g. "
                    "iconv -f UTF-8 -t CP1251)"});
  } else {
    for (size_t i = 0; i < lines.size(); ++i) CheckBytes(lines[i], static_cast<int>(i + 1), byLine);
  }
}

// Each record, and whether it is the one the lookup finds for its
// combination and a combination the lookup asks for; the first record of
// each combination.
FirstRecords CheckRecords(const InterpretationFile& file, std::string_view bytes,
                          const std::vector<size_t>& lineStarts, std::vector<DataFinding>& out) {
  FirstRecords first;
  for (const InterpretationRecord& r : file.records()) {
    const AspectKey& c = r.key;
    const auto [it, isFirst] = first.emplace(c, &r);
    if (!isFirst)
      out.push_back({DataIssue::kDuplicate, r.line,
                     HeaderName(c) + ": duplicate; the lookup uses the record at line " +
                         std::to_string(it->second->line) + " and never this one"});
    if (!IsExpected(c))
      out.push_back({DataIssue::kUnusedRecord, r.line,
                     HeaderName(c) + ": a combination the program never looks up (transit body " +
                         List(kTransitBodies) + "; aspect " + List(kAspectAngles) +
                         "; natal body " + List(kComputedBodies) + ")"});
    CheckRecord(r, bytes, lineStarts, out);
  }
  return first;
}

// A lookup fails at the first bad header unless a record for it stands
// before that header.
void CheckHeaders(const InterpretationFile& file, const FirstRecords& first,
                  std::vector<DataFinding>& out) {
  if (file.problems().empty()) return;
  const int badLine = file.problems().front().line;
  size_t failing = 0;
  for (const int t : kTransitBodies)
    for (const int a : kAspectAngles)
      for (const int n : kComputedBodies) {
        const auto found = first.find({t, a, n});
        if (found == first.end() || found->second->line > badLine) ++failing;
      }
  for (const HeaderProblem& p : file.problems()) {
    std::string message = "header field '" + p.fieldName + "' (columns " +
                          std::to_string(p.column) + "-" + std::to_string(p.column + 2) + ") is " +
                          Quote(p.fieldText) +
                          ", not a number; every lookup that reaches this line fails with \"'" +
                          Cp1251ToUtf8(p.fieldText) + "' is not a valid integer value\"";
    if (p.line == badLine)
      message += " (" + std::to_string(failing) + " of the " +
                 std::to_string(ExpectedCombinations()) + " combinations)";
    out.push_back({DataIssue::kBadHeader, p.line, message});
  }
}

// The combinations the lookup finds a record for, with their rating codes,
// and a finding for each it does not.
void CountCombinations(const FirstRecords& first, InterpretationCheck& check,
                       std::vector<DataFinding>& missing) {
  for (const int t : kTransitBodies)
    for (const int a : kAspectAngles)
      for (const int n : kComputedBodies) {
        const auto found = first.find({t, a, n});
        if (found == first.end()) {
          missing.push_back({DataIssue::kMissingRecord, 0, "no record " + HeaderName({t, a, n})});
          continue;
        }
        ++check.combinations;
        ++check.ratingCodes[found->second->ratingCode];
      }
}

}  // namespace

size_t InterpretationCheck::Problems() const {
  return static_cast<size_t>(std::ranges::count_if(findings, &DataFinding::IsProblem));
}

size_t InterpretationCheck::Count(DataIssue issue) const {
  return static_cast<size_t>(
      std::ranges::count_if(findings, [issue](const DataFinding& f) { return f.issue == issue; }));
}

size_t ExpectedCombinations() {
  return std::size(kTransitBodies) * std::size(kAspectAngles) * std::size(kComputedBodies);
}

InterpretationCheck CheckInterpretationBytes(const fs::path& path, std::string_view bytes) {
  InterpretationCheck check;
  check.path = path;
  check.exists = true;
  // Findings about the whole file first, then those of a line in the
  // order of the lines, then those about the whole file again.
  std::vector<DataFinding> head, byLine, tail;

  const auto lines = SplitLines(bytes);
  const LineIndex index = IndexLines(bytes, lines);
  CheckEncoding(bytes, lines, head, byLine);

  const InterpretationFile file = InterpretationFile::Parse(path, bytes);
  check.records = file.records().size();
  const FirstRecords first = CheckRecords(file, bytes, index.starts, byLine);
  CheckHeaders(file, first, byLine);
  CountCombinations(first, check, tail);

  if (index.bareLf > 0)
    tail.push_back(
        {DataIssue::kBareLineFeeds, 0,
         std::to_string(index.bareLf) + " of " + std::to_string(lines.size()) +
             " lines end in LF without CR (the lookup reads both; the files ship with CR LF)"});

  std::ranges::stable_sort(byLine, {}, &DataFinding::line);
  check.findings = std::move(head);
  check.findings.insert(check.findings.end(), byLine.begin(), byLine.end());
  check.findings.insert(check.findings.end(), tail.begin(), tail.end());
  return check;
}

InterpretationCheck CheckInterpretationFile(const fs::path& path) {
  InterpretationCheck check;
  check.path = path;
  std::error_code ec;
  if (!fs::exists(path, ec)) {
    check.findings.push_back({DataIssue::kMissingFile, 0,
                              "file not found; forecasts of this kind would print no texts"});
    return check;
  }
  check.exists = true;
  try {
    return CheckInterpretationBytes(path, ReadFile(path));
  } catch (const FileError& error) {
    check.findings.push_back({DataIssue::kUnreadableFile, 0, error.what()});
    return check;
  }
}

std::vector<InterpretationCheck> CheckDataDir(const fs::path& dataDir) {
  std::vector<InterpretationCheck> checks;
  for (const ForecastKindInfo& kind : kForecastKinds)
    checks.push_back(CheckInterpretationFile(dataDir / kind.interpretationFile));
  return checks;
}

constexpr size_t kListedFindings = 100;

void PrintDataCheck(const std::vector<InterpretationCheck>& checks, std::ostream& out) {
  size_t problems = 0, notes = 0;
  std::string perFile;
  for (const InterpretationCheck& c : checks) {
    const std::string name = c.path.filename().string();
    out << "== " << name << " (" << c.path.string() << "): ";
    if (!c.exists) {
      out << "missing\n";
    } else {
      out << c.records << " records, " << c.combinations << " of " << ExpectedCombinations()
          << " combinations; rating codes";
      // All ten codes, so that an unused one shows as 0, then any others.
      std::map<int, int> codes = c.ratingCodes;
      for (const int code : {1, 2, 3, 4, 5, 101, 102, 103, 104, 105}) codes.try_emplace(code, 0);
      for (const auto& [code, count] : codes) out << ' ' << Code(code) << ':' << count;
      out << '\n';
    }
    // A file that is not an interpretation file at all would bury the
    // summary under thousands of lines; the first hundred say enough.
    size_t listed = 0;
    for (const DataFinding& f : c.findings) {
      if (listed++ == kListedFindings) break;
      out << c.path.string();
      if (f.line > 0) out << ':' << f.line;
      out << ": " << (f.IsProblem() ? "" : "note: ") << f.message << '\n';
    }
    if (c.findings.size() > kListedFindings)
      out << c.path.string() << ": ... and " << c.findings.size() - kListedFindings
          << " more findings not listed\n";
    const size_t p = c.Problems();
    problems += p;
    notes += c.findings.size() - p;
    if (p > 0) perFile += (perFile.empty() ? "" : ", ") + name + " " + std::to_string(p);
  }
  out << "check-data: ";
  if (problems == 0)
    out << "no problems in " << checks.size() << " files";
  else
    out << problems << (problems == 1 ? " problem" : " problems") << " (" << perFile << ")";
  if (notes > 0) out << ", " << notes << (notes == 1 ? " note" : " notes");
  out << '\n';
}

bool CheckInterpretationData(const fs::path& dataDir, std::ostream& out) {
  const auto checks = CheckDataDir(dataDir);
  PrintDataCheck(checks, out);
  return std::ranges::all_of(checks,
                             [](const InterpretationCheck& c) { return c.Problems() == 0; });
}

}  // namespace meridan
