#pragma once
// The transit scan: for each day of a month, the aspects of the moving Sun,
// Mercury, Venus and Mars to the natal bodies. Plain hits; the texts are
// attached one layer up.

#include <vector>

#include "base/dates.h"
#include "transits/aspects.h"
#include "transits/natal.h"

namespace meridan {

// Moving bodies in scan order; the natal bodies follow the body table.
inline constexpr Body kTransitBodies[] = {kSun, kMercury, kVenus, kMars};

struct MonthTransits {
  YearMonth month;
  double firstNoon = 0.0;                    // Julian day of noon of day 1
  std::vector<std::vector<AspectKey>> days;  // days[d - 1]: every hit of day d, in scan order
  int length() const { return static_cast<int>(days.size()); }
};

// Every day of the month at noon: the transit bodies in scan order, each
// against the natal bodies in body-table order.
MonthTransits ScanTransits(const NatalChart& natal, YearMonth month);

}  // namespace meridan
