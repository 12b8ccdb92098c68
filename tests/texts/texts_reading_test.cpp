// What the shipped texts say, as a reader meets them on a page.
//
// The strongest red texts (ratings -4 and -5) stand under every day for
// weeks when Mars turns; they advise care and never foretell accidents,
// injuries, crime or a failing brake. And the texts of one day stand
// together: a blue text that urges the reader on and a red text that tells
// them to put things off would read as two opposite orders. The day lists
// are counted the way the pages are built, over many births and months.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "base/cp1251.h"
#include "texts/interpretation.h"
#include "texts/month_scan.h"
#include "transits/forecast_kind.h"
#include "transits/natal.h"
#include "transits/scan.h"

namespace meridan {
namespace {

namespace fs = std::filesystem;

// Word lists, written in lower case with «е» for «ё». A marker is one word
// or a run of consecutive words; a word ending in "-" is a stem (any word
// beginning so), any other word must match whole.

// Foretold harm: accidents, injuries, threats, crime, failing brakes or
// steering.
constexpr std::string_view kHarmMarkers[] = {
    "авари-", "дтп",         "столкновени-",   "травм-",        "увечь-",         "ранени-",
    "погиб-", "гибел-",      "пострада-",      "угроз-",        "грози-",         "грозя-",
    "напад-", "опасн-",      "небезопасн-",    "краж-",         "угон-",          "угнать",
    "силов-", "последстви-", "отказ- тормоз-", "отказ- рулев-", "тормоз- откаж-", "тормоз- отказ-"};

// A favourable text that urges the reader to act now.
constexpr std::string_view kUrgeMarkers[] = {
    "удобно",        "удобн- момент",   "удобн- время",     "удобн- день",    "легче",
    "самое время",   "подходящ- время", "подходящ- момент", "подходящ- день", "хорош- время",
    "хорош- момент", "удачн- время",    "удачн- момент",    "именно теперь",  "именно сейчас",
    "смел-",         "стоит начать",    "начать",           "начинайте",      "не откладывайте",
    "пора"};

// A red text that tells the reader to put something off.
constexpr std::string_view kPostponeMarkers[] = {
    "отлож-",    "перенесите", "перенести",  "повремен-",     "подожд-",
    "дождитесь", "воздерж-",   "не спешите", "не торопитесь", "не начинайте"};

// Windows-1251 bytes folded for matching: lower case, «ё» as «е».
unsigned char Fold(unsigned char c) {
  if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + 32);
  if (c >= 0xC0 && c <= 0xDF) return static_cast<unsigned char>(c + 32);
  if (c == 0xA8 || c == 0xB8) return 0xE5;
  return c;
}

bool IsWordByte(unsigned char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || c >= 0xC0;
}

std::vector<std::string> Words(std::string_view cp1251) {
  std::vector<std::string> words(1);
  for (const char ch : cp1251) {
    const unsigned char c = Fold(static_cast<unsigned char>(ch));
    if (IsWordByte(c)) {
      words.back() += static_cast<char>(c);
    } else if (!words.back().empty()) {
      words.emplace_back();
    }
  }
  if (words.back().empty()) words.pop_back();
  return words;
}

struct Marker {
  std::string text;  // UTF-8, as written in the list
  std::vector<std::string> words;
};

std::vector<Marker> Markers(const auto& list) {
  std::vector<Marker> markers;
  for (const std::string_view m : list) {
    Marker marker{std::string(m), {}};
    for (size_t start = 0; start < m.size();) {
      const size_t end = std::min(m.find(' ', start), m.size());
      std::string word = W(m.substr(start, end - start));
      for (char& c : word) c = static_cast<char>(Fold(static_cast<unsigned char>(c)));
      marker.words.push_back(std::move(word));
      start = end + 1;
    }
    markers.push_back(std::move(marker));
  }
  return markers;
}

bool WordMatches(const std::string& word, const std::string& pattern) {
  if (!pattern.empty() && pattern.back() == '-')
    return word.compare(0, pattern.size() - 1, pattern, 0, pattern.size() - 1) == 0;
  return word == pattern;
}

// The first marker found in the text, or nullptr.
const Marker* FindMarker(const std::vector<std::string>& words,
                         const std::vector<Marker>& markers) {
  for (const Marker& m : markers)
    for (size_t i = 0; i + m.words.size() <= words.size(); ++i) {
      size_t k = 0;
      while (k < m.words.size() && WordMatches(words[i + k], m.words[k])) ++k;
      if (k == m.words.size()) return &m;
    }
  return nullptr;
}

fs::path SystemDir() { return fs::path(MERIDAN_DATA_DIR) / "System"; }

std::string Label(const InterpretationRecord& r, int index) {
  char label[48];
  std::snprintf(label, sizeof label, "#%d (%03d-%03d-%03d, %d)", index, r.key.transitBody,
                r.key.aspect, r.key.natalBody, r.rating);
  return label;
}

class TextsOfKind : public ::testing::TestWithParam<ForecastKind> {};

TEST_P(TextsOfKind, StrongRedTextsForetellNoHarm) {
  const ForecastKindInfo& kind = KindInfo(GetParam());
  const auto file = InterpretationFile::Load(SystemDir() / kind.interpretationFile);
  ASSERT_TRUE(file.exists());
  const std::vector<Marker> harm = Markers(kHarmMarkers);
  int index = 0;
  for (const InterpretationRecord& r : file.records()) {
    ++index;
    if (r.rating > -4) continue;
    if (const Marker* m = FindMarker(Words(r.firstLine), harm))
      ADD_FAILURE() << kind.interpretationFile << ":" << r.line << ": " << Label(r, index)
                    << " foretells harm («" << m->text << "»): " << Cp1251ToUtf8(r.firstLine);
  }
}

// Births across the decades the readers come from, the ones the editors
// read among them.
constexpr Date kBirths[] = {{20, 5, 1984},  {3, 11, 1961}, {14, 2, 1999},  {29, 11, 1965},
                            {14, 3, 1979},  {2, 8, 1990},  {7, 1, 1947},   {25, 6, 1952},
                            {11, 9, 1957},  {30, 4, 1970}, {18, 12, 1973}, {9, 7, 1976},
                            {22, 10, 1982}, {5, 3, 1987},  {16, 8, 1993},  {27, 1, 1996},
                            {12, 6, 2001},  {8, 9, 2004},  {19, 4, 2007},  {31, 12, 1968}};
constexpr YearMonth kFirstMonth{2026, 12};

TEST_P(TextsOfKind, NoDayUrgesWhatAnotherPostpones) {
  const ForecastKindInfo& kind = KindInfo(GetParam());
  const auto file = InterpretationFile::Load(SystemDir() / kind.interpretationFile);
  ASSERT_TRUE(file.exists());
  const PlutoTable pluto = PlutoTable::Load(SystemDir() / kPlutoTableName);
  const std::vector<Marker> urge = Markers(kUrgeMarkers);
  const std::vector<Marker> postpone = Markers(kPostponeMarkers);

  int clashes = 0;
  std::string examples;
  for (const Date& birth : kBirths) {
    const NatalChart natal = ComputeNatalChart(birth, pluto);
    for (int m = 0; m < kForecastMonths; ++m) {
      const YearMonth month = kFirstMonth.Plus(m);
      const MonthScan scan = AttachTexts(ScanTransits(natal, month), file);
      for (const DayList& day : scan.days) {
        const TransitHit* on = nullptr;
        const TransitHit* off = nullptr;
        const Marker* onMarker = nullptr;
        const Marker* offMarker = nullptr;
        for (const TransitHit& hit : day.hits) {
          if (!hit.accepted) continue;
          const auto words = Words(hit.text);
          if (hit.rating > 0 && !on && (onMarker = FindMarker(words, urge))) on = &hit;
          if (hit.rating < 0 && !off && (offMarker = FindMarker(words, postpone))) off = &hit;
        }
        if (!on || !off) continue;
        if (++clashes <= 5) {
          char line[160];
          std::snprintf(line, sizeof line,
                        "  %02d.%02d.%04d, birth %02d.%02d.%04d: %03d-%03d-%03d «%s» against "
                        "%03d-%03d-%03d «%s»\n",
                        on->day, month.month, month.year, birth.day, birth.month, birth.year,
                        on->key.transitBody, on->key.aspect, on->key.natalBody,
                        onMarker->text.c_str(), off->key.transitBody, off->key.aspect,
                        off->key.natalBody, offMarker->text.c_str());
          examples += line;
        }
      }
    }
  }
  std::printf(
      "%s: %d days where a blue text urges what a red one postpones (%zu births x %d "
      "months)\n%s",
      std::string(kind.key).c_str(), clashes, std::size(kBirths), kForecastMonths,
      examples.c_str());
  EXPECT_EQ(clashes, 0);
}

INSTANTIATE_TEST_SUITE_P(Shipped, TextsOfKind,
                         ::testing::Values(ForecastKind::Trips, ForecastKind::Service,
                                           ForecastKind::Sale),
                         [](const auto& test) { return std::string(KindInfo(test.param).key); });

}  // namespace
}  // namespace meridan
