#include "texts/month_scan.h"

namespace meridan {

std::vector<int> MonthScan::DaySums() const {
  std::vector<int> sums;
  sums.reserve(days.size());
  for (const DayList& day : days) sums.push_back(day.ratingSum);
  return sums;
}

MonthScan AttachTexts(const MonthTransits& transits, const InterpretationFile& interpretations) {
  MonthScan scan;
  scan.month = transits.month;
  scan.length = transits.length();
  scan.firstNoon = transits.firstNoon;
  scan.days.resize(transits.days.size());
  const InterpretationRecord* lastMatched = nullptr;
  for (int d = 1; d <= scan.length; ++d) {
    DayList& day = scan.days[static_cast<size_t>(d - 1)];
    for (const AspectKey& key : transits.days[static_cast<size_t>(d - 1)]) {
      const InterpretationFile::Match match = interpretations.Find(key);
      if (match.record) lastMatched = match.record;
      TransitHit hit;
      hit.day = d;
      hit.key = key;
      hit.rating = match.rating;
      hit.accepted = match.printable();
      hit.text = match.text;
      if (hit.accepted) {
        day.hasText = true;
        day.ratingSum += hit.rating;
      }
      day.hits.push_back(std::move(hit));
    }
  }
  if (lastMatched) {
    scan.matched = true;
    scan.lastMatchedText = lastMatched->text;
  }
  return scan;
}

}  // namespace meridan
