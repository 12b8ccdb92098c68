// Feeds arbitrary bytes to the interpretation-file parser, the lookup and the
// checker. Besides the sanitizers' findings it stops on a broken invariant:
// the lookup must give what a walk through the records in file order gives.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "base/cp1251.h"
#include "texts/data_check.h"
#include "texts/interpretation.h"

namespace {

using meridan::DataFileError;
using meridan::InterpretationFile;
using meridan::InterpretationRecord;

#define FUZZ_CHECK(condition)                                              \
  do {                                                                     \
    if (!(condition)) {                                                    \
      std::fprintf(stderr, "%s:%d: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                        \
    }                                                                      \
  } while (0)

// The record a lookup reading the file from its start would stop at, or
// nullptr; *fails when a bad header comes first.
const InterpretationRecord* WalkToMatch(const InterpretationFile& file, int t, int a, int n,
                                        bool* fails) {
  const int badLine = file.problems().empty() ? 0 : file.problems().front().line;
  for (const InterpretationRecord& r : file.records()) {
    if (badLine > 0 && r.line > badLine) break;
    if (r.key.transitBody == t && r.key.aspect == a && r.key.natalBody == n) {
      *fails = false;
      return &r;
    }
  }
  *fails = badLine > 0;
  return nullptr;
}

void CheckLookup(const InterpretationFile& file, int t, int a, int n) {
  bool fails = false;
  const InterpretationRecord* expected = WalkToMatch(file, t, a, n, &fails);
  try {
    const InterpretationFile::Match match = file.Find({t, a, n});
    FUZZ_CHECK(!fails);
    FUZZ_CHECK(match.record == expected);
    if (expected) {
      FUZZ_CHECK(match.text == expected->firstLine);
      FUZZ_CHECK(match.rating == expected->rating);
    } else {
      FUZZ_CHECK(match.text.empty());
    }
  } catch (const DataFileError& e) {
    FUZZ_CHECK(fails);
    FUZZ_CHECK(e.line() == file.problems().front().line);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const InterpretationFile file = InterpretationFile::Parse("fuzz.dat", bytes);

  for (const InterpretationRecord& r : file.records()) {
    FUZZ_CHECK(r.text.size() <= meridan::kMaxRecordText);
    FUZZ_CHECK(r.firstLine.find_first_of("\r\n") == std::string::npos);
    FUZZ_CHECK(r.key.transitBody >= 0 && r.key.transitBody <= 999);
  }

  // The combinations the scan asks for most, and those the file names first.
  CheckLookup(file, 1, 0, 1);
  CheckLookup(file, 1, 60, 3);
  CheckLookup(file, 5, 180, 10);
  CheckLookup(file, 1, 60, 1003);
  for (size_t i = 0; i < file.records().size() && i < 4; ++i) {
    const InterpretationRecord& r = file.records()[i];
    CheckLookup(file, r.key.transitBody, r.key.aspect, r.key.natalBody);
  }

  const auto check = meridan::CheckInterpretationBytes("fuzz.dat", bytes);
  FUZZ_CHECK(check.records == file.records().size());
  FUZZ_CHECK(check.combinations <= meridan::ExpectedCombinations());
  FUZZ_CHECK(meridan::Utf8Length(meridan::Cp1251ToUtf8(bytes)).has_value());
  return 0;
}
