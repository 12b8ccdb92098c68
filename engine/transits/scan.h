#pragma once
// The transit scan: for each day of a month, the aspects of the moving Sun,
// Mercury, Venus and Mars to the nine natal bodies, each looked up in the
// kind's interpretation file.

#include <filesystem>
#include <string>
#include <vector>

#include "engine/transits/natal.h"

namespace meridan {

class InterpretationFile;

struct TransitHit {
  int day = 0;
  int transitBody = 0;
  int aspect = 0;
  int natalBody = 0;
  std::string fragment;  // Windows-1251 HTML, empty when no record matched
  int rating = 0;
  bool accepted = false;  // fragment longer than 80 characters
};

struct DayList {
  std::vector<TransitHit> hits;  // every hit of the day, in scan order
  bool hasText = false;          // at least one hit accepted
  int ratingSum = 0;             // sum of the ratings of the accepted hits
};

struct MonthScan {
  int month = 0;
  int year = 0;
  int length = 0;             // days of the month (29 for a leap February)
  std::vector<DayList> days;  // days[d - 1] for day d
  double firstNoon = 0.0;     // Julian day of noon of day 1
};

// Moving bodies in scan order (the natal bodies are kNatalBodies).
inline constexpr int kTransitBodies[] = {kSun, kMercury, kVenus, kMars};

// Scans a month against a parsed interpretation table; writes the scratch
// file tmp.dat in dataDir once at the end when anything matched.
MonthScan ScanMonth(int birthDay, int birthMonth, int birthYear, int month, int year,
                    const InterpretationFile& interpretations, const std::filesystem::path& dataDir);

// The same, loading (or reusing) the parsed interpretation file.
MonthScan ScanMonth(int birthDay, int birthMonth, int birthYear, int month, int year,
                    const std::filesystem::path& interpretationFile,
                    const std::filesystem::path& dataDir);

}  // namespace meridan
