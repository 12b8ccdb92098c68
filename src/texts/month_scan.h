#pragma once
// A month's scan with its texts: every hit of the transit scan looked up in
// the kind's interpretation file, marked accepted when its text is long
// enough to print, and summed per day. The pages print it, the rating
// series is built from its day sums.

#include <string>
#include <vector>

#include "base/dates.h"
#include "texts/interpretation.h"
#include "transits/scan.h"

namespace meridan {

struct TransitHit {
  int day = 0;
  AspectKey key;
  int rating = 0;
  std::string text;       // the record's first line (Windows-1251); empty when none matched
  bool accepted = false;  // LongEnoughToPrint(rating, text)
};

struct DayList {
  std::vector<TransitHit> hits;  // every hit of the day, in scan order
  bool hasText = false;          // at least one hit accepted
  int ratingSum = 0;             // sum of the ratings of the accepted hits
};

struct MonthScan {
  YearMonth month;
  int length = 0;             // days of the month (29 for a leap February)
  std::vector<DayList> days;  // days[d - 1] for day d
  double firstNoon = 0.0;     // Julian day of noon of day 1
  // What the scratch file holds after the month's lookups: the text of the
  // last matched hit; empty when nothing matched.
  std::string lastMatchedText;
  bool matched = false;

  std::vector<int> DaySums() const;  // ratingSum of each day, day 1 first
};

// Looks every hit up in the table, in scan order. Writes nothing: the
// forecast puts lastMatchedText into the scratch file.
MonthScan AttachTexts(const MonthTransits& transits, const InterpretationFile& interpretations);

}  // namespace meridan
