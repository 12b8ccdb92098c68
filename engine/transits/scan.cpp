#include "engine/transits/scan.h"

#include "engine/ephemeris/calendar.h"
#include "engine/transits/aspects.h"
#include "reports/interpretation.h"

namespace meridan {

MonthScan ScanMonth(int birthDay, int birthMonth, int birthYear, int month, int year,
                    const InterpretationFile& interpretations, const std::filesystem::path& dataDir) {
  const NatalChart natal = ComputeNatalChart(birthDay, birthMonth, birthYear, dataDir);
  MonthScan scan;
  scan.month = month;
  scan.year = year;
  scan.length = MonthLength(month, year);
  scan.firstNoon = NoonJulianDay(1, month, year);
  scan.days.resize(static_cast<size_t>(scan.length));
  const InterpretationRecord* lastMatched = nullptr;

  for (int d = 1; d <= scan.length; ++d) {
    const double t = scan.firstNoon + (d - 1);
    Longitudes moving{};
    ComputeLongitudes(t, kTransitBodies, dataDir, moving);

    DayList& day = scan.days[static_cast<size_t>(d - 1)];
    for (const int transit : kTransitBodies) {
      for (const int natalBody : kNatalBodies) {
        const int aspect = ClassifyAspect(moving[transit], natal[natalBody], kAspectOrb);
        if (aspect == kNoAspect) continue;
        InterpretationFile::Match match = interpretations.Find(transit, aspect, natalBody);
        if (match.record) lastMatched = match.record;
        TransitHit hit;
        hit.day = d;
        hit.transitBody = transit;
        hit.aspect = aspect;
        hit.natalBody = natalBody;
        hit.rating = match.rating;
        hit.fragment = std::move(match.fragment);
        hit.accepted = hit.fragment.size() > kPrintableFragmentLength;
        if (hit.accepted) {
          day.hasText = true;
          day.ratingSum += hit.rating;
        }
        day.hits.push_back(std::move(hit));
      }
    }
  }
  // The scratch file holds the text of the last matched hit, as a lookup
  // that went through it for every hit would have left it.
  if (lastMatched) WriteScratchText(dataDir, *lastMatched);
  return scan;
}

MonthScan ScanMonth(int birthDay, int birthMonth, int birthYear, int month, int year,
                    const std::filesystem::path& interpretationFile,
                    const std::filesystem::path& dataDir) {
  return ScanMonth(birthDay, birthMonth, birthYear, month, year,
                   CachedInterpretationFile(interpretationFile), dataDir);
}

}  // namespace meridan
