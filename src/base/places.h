#pragma once
// The list of birth places that ships in System/places.dat, and finding a
// place in it by the name a person types.
//
// The file is Windows-1251 with CR LF line ends. A line starting with '#'
// is a comment, an empty line is skipped; every other line is one place:
// its Russian name, its region (the federal subject, or the country: what
// tells namesakes apart) and its IANA time zone, separated by tabs.
//
// Names are compared folded: case ignored, ё taken as е, hyphens, dashes and
// blanks left out, so "санкт петербург", "Санкт-Петербург" and
// "САНКТПЕТЕРБУРГ" are one name, and so are "Орел" and "Орёл". All text here
// is Windows-1251; callers convert at their edges (base/cp1251.h).

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace meridan {

inline constexpr const char* kPlaceListName = "places.dat";

struct Place {
  std::string name;    // "Екатеринбург"
  std::string region;  // "Свердловская область"
  std::string zone;    // "Asia/Yekaterinburg"
  friend bool operator==(const Place&, const Place&) = default;
};

// The places in file order, and their folded names beside them.
struct PlaceList {
  std::vector<Place> places;
  std::vector<std::string> keys;  // FoldPlaceName of each place's name
};

// Reads dataDir/places.dat. A file that cannot be read throws FileError; a
// malformed line throws std::runtime_error "<file>:<line>: <what is wrong>".
PlaceList LoadPlaceList(const std::filesystem::path& dataDir);
// The same from the file's bytes; path only names it in errors.
PlaceList ParsePlaceList(std::string_view bytes, const std::filesystem::path& path);

// A name folded for comparison, as above.
std::string FoldPlaceName(std::string_view name);

// Every place whose name is the given one (folded), in file order:
// namesakes all; none for an unknown name or one that folds to nothing.
std::vector<Place> FindPlaces(const PlaceList& list, std::string_view name);

// For a name not found: up to `most` distinct names of the list nearest to
// it, nearest first (edit distance on the folded names; names it begins
// count as nearest). Names too far to be a slip of the keys are not given.
std::vector<std::string> SuggestPlaceNames(const PlaceList& list, std::string_view name,
                                           std::size_t most = 5);

// Completion as a person types: up to `most` places whose folded name
// begins with the folded prefix, in file order (Russia first).
std::vector<Place> PlacesStartingWith(const PlaceList& list, std::string_view prefix,
                                      std::size_t most = 20);

}  // namespace meridan
