#include "base/places.h"

#include <algorithm>
#include <stdexcept>
#include <tuple>

#include "base/cp1251.h"
#include "base/data_file_error.h"
#include "base/files.h"
#include "base/lines.h"

namespace meridan {
namespace {

// Windows-1251 lower case of the capitals the names may hold: Russian, and
// the Ukrainian, Belarusian and Serbian letters beside them. Ё and ё fold
// to е.
unsigned char FoldedByte(unsigned char c) {
  if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + 32);
  if (c >= 0xC0 && c <= 0xDF) return static_cast<unsigned char>(c + 32);
  switch (c) {
    case 0xA8:  // Ё
    case 0xB8:  // ё
      return 0xE5;
    case 0xB2:
      return 0xB3;  // І
    case 0xAF:
      return 0xBF;  // Ї
    case 0xAA:
      return 0xBA;  // Є
    case 0xA5:
      return 0xB4;  // Ґ
    case 0xA1:
      return 0xA2;  // Ў
    case 0xA3:
      return 0xBC;  // Ј
    case 0x80:
      return 0x90;  // Ђ
    case 0x8A:
      return 0x9A;  // Љ
    case 0x8C:
      return 0x9C;  // Њ
    case 0x8E:
      return 0x9E;  // Ћ
    case 0x8F:
      return 0x9F;  // Џ
    default:
      return c;
  }
}

// Blanks, hyphens and dashes: "Улан-Удэ", "Улан Удэ" and "УланУдэ" are one name.
bool IsIgnored(unsigned char c) {
  return c == ' ' || c == '\t' || c == '-' || c == 0x96 /* – */ || c == 0x97 /* — */ ||
         c == 0xA0 /* no-break space */ || c == 0xAD /* soft hyphen */;
}

bool IsZoneNameByte(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '/' ||
         c == '_' || c == '+' || c == '-';
}

[[noreturn]] void Malformed(const std::filesystem::path& path, int line,
                            const std::string& message) {
  throw DataFileError(path, line, AtLine(path, line, message));
}

size_t EditDistance(std::string_view a, std::string_view b) {
  std::vector<size_t> row(b.size() + 1);
  for (size_t j = 0; j <= b.size(); ++j) row[j] = j;
  for (size_t i = 1; i <= a.size(); ++i) {
    size_t diagonal = row[0];
    row[0] = i;
    for (size_t j = 1; j <= b.size(); ++j) {
      const size_t above = row[j];
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
      diagonal = above;
    }
  }
  return row[b.size()];
}

// How many slips a typed name of this many letters may hold and still be
// taken for a name of the list.
size_t SlipsAllowed(size_t letters) { return letters <= 4 ? 1 : letters <= 8 ? 2 : 3; }

}  // namespace

std::string FoldPlaceName(std::string_view name) {
  std::string folded;
  folded.reserve(name.size());
  for (const char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if (!IsIgnored(byte)) folded.push_back(static_cast<char>(FoldedByte(byte)));
  }
  return folded;
}

PlaceList ParsePlaceList(std::string_view bytes, const std::filesystem::path& path) {
  PlaceList list;
  int number = 0;
  ForEachLine(bytes, [&](std::string_view line) {
    ++number;
    if (line.empty() || line.front() == '#') return;
    for (const char c : line)
      if (!IsCp1251TextByte(static_cast<unsigned char>(c)) || c == '\r')
        Malformed(path, number, "a control character in the line");
    std::vector<std::string_view> fields;
    size_t start = 0;
    for (size_t tab; (tab = line.find('\t', start)) != std::string_view::npos; start = tab + 1)
      fields.push_back(line.substr(start, tab - start));
    fields.push_back(line.substr(start));
    if (fields.size() != 3)
      Malformed(path, number,
                "wants a name, a region and a time zone separated by tabs, not " +
                    std::to_string(fields.size()) + (fields.size() == 1 ? " field" : " fields"));
    Place place{std::string(fields[0]), std::string(fields[1]), std::string(fields[2])};
    std::string key = FoldPlaceName(place.name);
    if (key.empty()) Malformed(path, number, "the place has no name");
    if (place.region.empty()) Malformed(path, number, "the place has no region");
    if (place.zone.empty() || !std::all_of(place.zone.begin(), place.zone.end(), IsZoneNameByte))
      Malformed(path, number, "'" + Cp1251ToUtf8(place.zone) + "' is not a time zone's name");
    list.places.push_back(std::move(place));
    list.keys.push_back(std::move(key));
  });
  return list;
}

PlaceList LoadPlaceList(const std::filesystem::path& dataDir) {
  const std::filesystem::path path = dataDir / kPlaceListName;
  return ParsePlaceList(ReadFile(path), path);
}

std::vector<Place> FindPlaces(const PlaceList& list, std::string_view name) {
  std::vector<Place> found;
  const std::string key = FoldPlaceName(name);
  if (key.empty()) return found;
  for (size_t i = 0; i < list.places.size(); ++i)
    if (list.keys[i] == key) found.push_back(list.places[i]);
  return found;
}

std::vector<std::string> SuggestPlaceNames(const PlaceList& list, std::string_view name,
                                           size_t most) {
  const std::string key = FoldPlaceName(name);
  if (key.empty()) return {};
  const size_t allowed = SlipsAllowed(key.size());
  // (names it begins first, then by distance, then in file order)
  std::vector<std::tuple<bool, size_t, size_t>> near;
  for (size_t i = 0; i < list.places.size(); ++i) {
    const std::string& candidate = list.keys[i];
    const bool begins = key.size() >= 3 && candidate.starts_with(key);
    // The distance is at least the difference in length: most names need
    // no table at all.
    const size_t lengths = candidate.size() > key.size() ? candidate.size() - key.size()
                                                         : key.size() - candidate.size();
    if (!begins && lengths > allowed) continue;
    const size_t distance = EditDistance(key, candidate);
    if (begins || distance <= allowed) near.emplace_back(!begins, distance, i);
  }
  std::sort(near.begin(), near.end());
  std::vector<std::string> names;
  std::vector<std::string_view> keysGiven;
  for (const auto& [notBegins, distance, i] : near) {
    if (names.size() >= most) break;
    if (std::find(keysGiven.begin(), keysGiven.end(), list.keys[i]) != keysGiven.end()) continue;
    keysGiven.push_back(list.keys[i]);
    names.push_back(list.places[i].name);
  }
  return names;
}

std::vector<Place> PlacesStartingWith(const PlaceList& list, std::string_view prefix, size_t most) {
  std::vector<Place> found;
  const std::string key = FoldPlaceName(prefix);
  for (size_t i = 0; i < list.places.size() && found.size() < most; ++i)
    if (list.keys[i].starts_with(key)) found.push_back(list.places[i]);
  return found;
}

}  // namespace meridan
