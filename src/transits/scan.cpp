#include "transits/scan.h"

#include "ephemeris/calendar.h"
#include "transits/aspects.h"

namespace meridan {

MonthTransits ScanTransits(const NatalChart& natal, YearMonth month) {
  MonthTransits scan;
  scan.month = month;
  scan.firstNoon = NoonJulianDay(1, month.month, month.year);
  scan.days.resize(static_cast<size_t>(MonthLength(month.month, month.year)));
  for (size_t d = 0; d < scan.days.size(); ++d) {
    Longitudes moving{};
    ComputeLongitudes(scan.firstNoon + static_cast<double>(d), kTransitBodies, nullptr, moving);
    for (const Body transit : kTransitBodies) {
      for (const Body natalBody : kComputedBodies) {
        if (const auto aspect = ClassifyAspect(moving[transit], natal[natalBody], kAspectOrb))
          scan.days[d].push_back({transit, *aspect, natalBody});
      }
    }
  }
  return scan;
}

}  // namespace meridan
