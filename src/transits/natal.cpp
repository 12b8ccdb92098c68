#include "transits/natal.h"

#include <algorithm>
#include <vector>

#include "ephemeris/angles.h"
#include "ephemeris/calendar.h"
#include "transits/roots.h"

namespace meridan {
namespace {

// The motion of a body at an instant, in degrees over the two hours around
// it: its sign says which way the body goes.
constexpr double kMotionHalfSpan = 1.0 / 24;

}  // namespace

double NatalMoment(Date birth, const BirthHour& hour) {
  return hour.moment.value_or(NoonJulianDay(birth.day, birth.month, birth.year));
}

NatalChart ComputeNatalChart(Date birth, const BirthHour& hour, const PlutoTable& pluto) {
  NatalChart chart{};
  ComputeLongitudes(NatalMoment(birth, hour), kComputedBodies, &pluto, chart);
  return chart;
}

NatalChart ComputeNatalChart(Date birth, const PlutoTable& pluto) {
  return ComputeNatalChart(birth, BirthHour{}, pluto);
}

NatalArcs ComputeNatalArcs(Date birth, const BirthHour& hour, const PlutoTable& pluto) {
  NatalArcs arcs{};
  const double noon = NoonJulianDay(birth.day, birth.month, birth.year);
  double from = noon, to = noon;
  if (!hour.moment) {
    const double midnight = noon - 0.5;
    from = std::min(midnight + hour.fromHour / 24, noon);
    to = std::max(midnight + hour.toHour / 24, noon);
  }
  for (const Body body : kComputedBodies) {
    const auto longitude = [&](double t) {
      SunVector sun;
      return BodyLongitude(body, t, &pluto, sun);
    };
    const auto motion = [&](double t) {
      return SignedArc(longitude(t - kMotionHalfSpan), longitude(t + kMotionHalfSpan));
    };
    const double start = longitude(from);
    std::vector<double> reached{0, SignedArc(start, longitude(to))};
    if (to > from) {
      // A planet turns at most once in a day: where the motion changes sign
      // between the ends, the body's farthest point lies at its station.
      const double a = motion(from), b = motion(to);
      if ((a > 0) != (b > 0))
        reached.push_back(
            SignedArc(start, longitude(FindRoot(motion, from, to, a, b, kRootTolerance))));
    }
    const auto [low, high] = std::minmax_element(reached.begin(), reached.end());
    arcs[body] = {Normalize360(start + (*low + *high) / 2), (*high - *low) / 2};
  }
  return arcs;
}

}  // namespace meridan
