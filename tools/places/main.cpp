// places_table: writes System/places.dat, the birth places that ship with
// the programs (run: places_table /usr/share/zoneinfo tools/places/hand_places.tsv
// data/System/places.dat).
//
// The file holds, in this order, the places written by hand in
// hand_places.tsv (Russia and the former Soviet republics) and, for every
// zone of the zone database's zone1970.tab that the hand list leaves out, the
// zone's own town with its Russian name from the Unicode CLDR data inside
// ICU, and its country's Russian name. A zone of Russia must be in the hand
// list: CLDR knows the zone towns but not which regions keep their clocks.

#include <cstdio>
#include <exception>
#include <filesystem>
#include <iostream>
#include <memory>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <unicode/locid.h>
#include <unicode/timezone.h>
#include <unicode/tznames.h>
#include <unicode/unistr.h>
#include <utility>
#include <vector>

#include "base/cp1251.h"
#include "base/files.h"
#include "base/lines.h"
#include "base/places.h"

namespace {

using meridan::FoldPlaceName;
using meridan::Utf8ToCp1251;

std::vector<std::string> SplitTabs(const std::string& line) {
  std::vector<std::string> fields;
  std::istringstream in(line);
  for (std::string field; std::getline(in, field, '\t');) fields.push_back(field);
  return fields;
}

std::string Utf8(const icu::UnicodeString& text) {
  std::string out;
  text.toUTF8String(out);
  return out;
}

// UTF-8 text that Windows-1251 holds whole, converted; else an error.
std::string Cp1251(const std::string& utf8) {
  for (size_t i = 0; i < utf8.size();) {
    const auto cp = meridan::DecodeUtf8(utf8, i);
    if (!cp || !meridan::Cp1251FromCodePoint(*cp))
      throw std::runtime_error("'" + utf8 + "' has a character Windows-1251 lacks");
  }
  return Utf8ToCp1251(utf8);
}

struct ZoneTown {
  std::string name;
  std::string country;
  std::string zone;
};

int Run(const std::filesystem::path& zoneinfo, const std::filesystem::path& handList,
        const std::filesystem::path& output) {
  // The hand list, checked as the programs will read it.
  std::vector<std::vector<std::string>> hand;
  std::set<std::string> handZones;
  std::set<std::pair<std::string, std::string>> handNames;  // folded name, zone
  const std::string handText = meridan::ReadFile(handList);
  for (const std::string_view line : meridan::SplitLines(handText)) {
    if (line.empty() || line.front() == '#') continue;
    std::vector<std::string> fields = SplitTabs(std::string(line));
    if (fields.size() != 3) throw std::runtime_error("not three fields: " + std::string(line));
    handZones.insert(fields[2]);
    handNames.emplace(FoldPlaceName(Cp1251(fields[0])), fields[2]);
    hand.push_back(std::move(fields));
  }

  UErrorCode status = U_ZERO_ERROR;
  const std::unique_ptr<icu::TimeZoneNames> names(
      icu::TimeZoneNames::createInstance(icu::Locale("ru"), status));
  if (U_FAILURE(status)) throw std::runtime_error("ICU has no Russian zone names");
  std::vector<ZoneTown> towns;
  std::vector<std::string> missing;
  const std::string zoneTable = meridan::ReadFile(zoneinfo / "zone1970.tab");
  for (const std::string_view line : meridan::SplitLines(zoneTable)) {
    if (line.empty() || line.front() == '#') continue;
    const std::vector<std::string> fields = SplitTabs(std::string(line));
    if (fields.size() < 3) throw std::runtime_error("zone1970.tab: " + std::string(line));
    const std::string country = fields[0].substr(0, 2);  // the first of the codes
    const std::string& zone = fields[2];
    // ICU names a town under CLDR's own id of the zone (America/Buenos_Aires
    // for America/Argentina/Buenos_Aires).
    icu::UnicodeString canonical;
    UBool isSystem = false;
    status = U_ZERO_ERROR;
    icu::TimeZone::getCanonicalID(icu::UnicodeString::fromUTF8(zone), canonical, isSystem, status);
    icu::UnicodeString town;
    if (U_SUCCESS(status)) names->getExemplarLocationName(canonical, town);
    if (country == "RU" || town.isEmpty()) {
      if (!handZones.count(zone)) missing.push_back(zone);
      continue;
    }
    icu::UnicodeString countryName;
    icu::Locale("", country.c_str()).getDisplayCountry(icu::Locale("ru"), countryName);
    ZoneTown entry{Utf8(town), Utf8(countryName), zone};
    if (handNames.count({FoldPlaceName(Cp1251(entry.name)), zone})) continue;
    towns.push_back(std::move(entry));
  }
  if (!missing.empty()) {
    for (const std::string& zone : missing)
      std::cerr << "places_table: no place for " << zone << ": add one to " << handList.string()
                << '\n';
    return 1;
  }

  std::string version = "?";
  const std::string zic = meridan::ReadFile(zoneinfo / "tzdata.zi");
  for (const std::string_view line : meridan::SplitLines(zic))
    if (line.starts_with("# version ")) version = std::string(line.substr(10));

  std::string text;
  const auto add = [&](const std::string& utf8) { text += Cp1251(utf8) + "\r\n"; };
  add("# Места рождения: название, область или страна, часовой пояс (имя в базе IANA);");
  add("# поля разделены табуляцией.");
  add("# Россия (субъекты федерации по их названиям и по столицам, крупнейшие города) и столицы");
  add("# бывших союзных республик с городами областей, где часы идут иначе, записаны вручную;");
  add("# часовые пояса областей России — по комментариям файла zone1970.tab базы часовых");
  add("# поясов IANA (tzdata " + version + ").");
  add("# Остальной мир: город каждого пояса из zone1970.tab; русские названия городов и стран —");
  add("# из данных Unicode CLDR (ICU " + std::string(U_ICU_VERSION) + ").");
  add("# Файл записывает программа places_table (tools/places), записанное вручную — в");
  add("# tools/places/hand_places.tsv.");
  for (const std::vector<std::string>& place : hand)
    add(place[0] + '\t' + place[1] + '\t' + place[2]);
  for (const ZoneTown& town : towns) add(town.name + '\t' + town.country + '\t' + town.zone);
  // Read back as the programs read it before it replaces the old file.
  const meridan::PlaceList check = meridan::ParsePlaceList(text, output);
  meridan::WriteFileAtomically(output, text);
  std::cerr << "places_table: " << check.places.size() << " places (" << hand.size() << " by hand, "
            << towns.size() << " zone towns)\n";
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::cerr << "usage: places_table ZONEINFO_DIR HAND_PLACES_TSV OUTPUT\n";
    return 2;
  }
  try {
    return Run(argv[1], argv[2], argv[3]);
  } catch (const std::exception& e) {
    std::cerr << "places_table: " << e.what() << '\n';
    return 1;
  }
}
