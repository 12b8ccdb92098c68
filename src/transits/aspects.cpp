#include "transits/aspects.h"

#include <cmath>

namespace meridan {

std::optional<int> ClassifyAspect(double first, double second, double orb) {
  double d = std::fabs(first - second);
  if (d > 180) d = 360 - d;
  std::optional<int> result;
  for (const int angle : kAspectAngles)
    if (std::fabs(d - angle) <= orb) result = angle;
  return result;
}

}  // namespace meridan
