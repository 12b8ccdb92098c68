#include "transits/influences.h"

#include <algorithm>
#include <cmath>

#include "ephemeris/angles.h"
#include "ephemeris/calendar.h"
#include "ephemeris/positions.h"
#include "transits/aspects.h"
#include "transits/roots.h"
#include "transits/scan.h"

namespace meridan {
namespace {

// The motion is taken over an hour either side of the instant: short enough
// that its zero is the turning point of the series to well under a minute,
// long enough that the difference of two longitudes keeps its digits.
constexpr double kMotionHalfSpan = 1.0 / 24;

// The inner planets stay in a 4-degree orb for weeks at the most (Mars
// near a station); a window is not followed further than this.
constexpr int kLongestWindow = 400;

// Two roots closer than this are one (a root on the border of two pieces).
constexpr double kSameInstant = 1e-6;

double Longitude(int body, double julianDay) {
  SunVector sun;
  return BodyLongitude(body, julianDay, nullptr, sun);
}

// The signed targets of an aspect on the side where the transit body stands:
// a sextile, square or trine lies on one side of the natal body or the other.
double AspectTarget(int aspect, double natalLongitude, double transitLongitude) {
  if (aspect == 0 || aspect == 180) return Normalize360(natalLongitude + aspect);
  const bool ahead = SignedArc(natalLongitude, transitLongitude) >= 0;
  return Normalize360(natalLongitude + (ahead ? aspect : -aspect));
}

// The exact moments of an influence: the window a day either side, cut at
// the transit body's stations into pieces on which its longitude moves one
// way only, so that each piece holds at most one crossing of the target.
std::vector<double> ExactMoments(const Influence& influence, double natalLongitude) {
  const double from = influence.firstNoon - 1, to = influence.lastNoon + 1;
  const double target = AspectTarget(influence.key.aspect, natalLongitude,
                                     Longitude(influence.key.transitBody, influence.firstNoon));
  const auto offset = [&](double t) {
    return SignedArc(target, Longitude(influence.key.transitBody, t));
  };
  std::vector<double> ends{from};
  for (const Station& station : FindStations(influence.key.transitBody, from, to))
    ends.push_back(station.moment);
  ends.push_back(to);

  std::vector<double> exact;
  double a = ends[0], fa = offset(a);
  for (size_t i = 1; i < ends.size(); ++i) {
    const double b = ends[i], fb = offset(b);
    // Within the window the body is a few degrees from the target, so a
    // sign change across half the circle is the wrap, not a crossing.
    const bool crosses = (fa <= 0) != (fb <= 0) || fa == 0;
    if (crosses && std::fabs(fa) < 90 && std::fabs(fb) < 90) {
      const double root = FindRoot(offset, a, b, fa, fb, kRootTolerance);
      if (exact.empty() || root - exact.back() > kSameInstant) exact.push_back(root);
    }
    a = b;
    fa = fb;
  }
  return exact;
}

bool InOrb(int transitBody, double noon, double natalLongitude, int aspect,
           double orb = kAspectOrb) {
  return ClassifyAspect(Longitude(transitBody, noon), natalLongitude, orb) == aspect;
}

// How far past an orb the transit body stands from an aspect, in degrees:
// negative within it. The distance is the aspect rule's own.
double BeyondOrb(const Influence& influence, double natalLongitude, double orb, double t) {
  double d = std::fabs(Longitude(influence.key.transitBody, t) - natalLongitude);
  if (d > 180) d = 360 - d;
  return std::fabs(d - influence.key.aspect) - orb;
}

// The instants a window of noons opens and closes: the crossings of the orb
// between each end noon and the noon outside it.
DayWindow WindowOfNoons(const Influence& influence, double natalLongitude, double orb,
                        double firstNoon, double lastNoon) {
  const auto beyond = [&](double t) { return BeyondOrb(influence, natalLongitude, orb, t); };
  const auto crossing = [&](double outside, double inside) {
    const double fo = beyond(outside), fi = beyond(inside);
    if (fo <= 0 || fi > 0) return outside;  // a window cut short by its limit
    return FindRoot(beyond, outside, inside, fo, fi, kRootTolerance);
  };
  return {firstNoon, lastNoon, crossing(firstNoon - 1, firstNoon),
          crossing(lastNoon + 1, lastNoon)};
}

}  // namespace

HourWindows FindHourWindows(const Influence& influence, const NatalArc& arc) {
  const double middle = arc.middle;
  const int transit = influence.key.transitBody, aspect = influence.key.aspect;
  // Within orb of some point of the arc is within the widened orb of its
  // middle, within orb of every point within the narrowed one: the aspect's
  // distance changes by the natal body's shift at most.
  const double widened = kAspectOrb + arc.halfLength, narrowed = kAspectOrb - arc.halfLength;

  double first = influence.firstNoon, last = influence.lastNoon;
  for (int n = 0; n < kLongestWindow && InOrb(transit, first - 1, middle, aspect, widened); ++n)
    first -= 1;
  for (int n = 0; n < kLongestWindow && InOrb(transit, last + 1, middle, aspect, widened); ++n)
    last += 1;
  HourWindows windows{WindowOfNoons(influence, middle, widened, first, last), std::nullopt};

  if (narrowed < 0) return windows;
  std::optional<double> sureFirst, sureLast;
  for (double noon = influence.firstNoon; noon <= influence.lastNoon; noon += 1)
    if (InOrb(transit, noon, middle, aspect, narrowed)) {
      if (!sureFirst) sureFirst = noon;
      sureLast = noon;
    }
  if (sureFirst) windows.sure = WindowOfNoons(influence, middle, narrowed, *sureFirst, *sureLast);
  return windows;
}

void AddHourWindows(std::vector<Influence>& influences, const NatalArcs& arcs) {
  for (Influence& influence : influences)
    influence.hourWindows =
        FindHourWindows(influence, arcs[static_cast<size_t>(influence.key.natalBody)]);
}

double DailyMotion(int body, double julianDay) {
  const double before = Longitude(body, julianDay - kMotionHalfSpan);
  const double after = Longitude(body, julianDay + kMotionHalfSpan);
  return SignedArc(before, after) / (2 * kMotionHalfSpan);
}

std::vector<Station> FindStations(int body, double from, double to) {
  std::vector<Station> stations;
  const auto motion = [body](double t) { return DailyMotion(body, t); };
  // A planet moves one way for weeks between stations; a day between
  // samples cannot step over two of them.
  double a = from, fa = motion(a);
  while (a < to) {
    const double b = std::min(a + 1, to), fb = motion(b);
    if ((fa > 0) != (fb > 0) && fb != 0) {
      const double moment = FindRoot(motion, a, b, fa, fb, kRootTolerance);
      if (moment >= from && moment < to) stations.push_back({moment, body, fa > 0});
    }
    a = b;
    fa = fb;
  }
  return stations;
}

std::vector<Station> FindStations(YearMonth start, int months) {
  const YearMonth end = start.Plus(months);
  const double from = JulianDay(1, start.month, start.year, 0, 0, 0);
  const double to = JulianDay(1, end.month, end.year, 0, 0, 0);
  std::vector<Station> stations;
  for (const Body body : kStationBodies) {
    const std::vector<Station> found = FindStations(body, from, to);
    stations.insert(stations.end(), found.begin(), found.end());
  }
  std::sort(stations.begin(), stations.end(),
            [](const Station& x, const Station& y) { return x.moment < y.moment; });
  return stations;
}

std::vector<Influence> FindInfluences(const NatalChart& natal, YearMonth start, int months) {
  const double firstNoon = NoonJulianDay(1, start.month, start.year);
  const YearMonth end = start.Plus(months);
  const int days = static_cast<int>(std::lround(NoonJulianDay(1, end.month, end.year) - firstNoon));
  std::vector<Longitudes> moving(static_cast<size_t>(std::max(days, 0)));
  for (int d = 0; d < days; ++d)
    ComputeLongitudes(firstNoon + d, kTransitBodies, nullptr, moving[static_cast<size_t>(d)]);

  std::vector<Influence> influences;
  for (const Body transit : kTransitBodies) {
    for (const Body natalBody : kComputedBodies) {
      const double natalLongitude = natal[natalBody];
      const auto aspectOn = [&](int d) {
        return ClassifyAspect(moving[static_cast<size_t>(d)][transit], natalLongitude, kAspectOrb);
      };
      for (int d = 0; d < days;) {
        const std::optional<int> found = aspectOn(d);
        if (!found) {
          ++d;
          continue;
        }
        const int aspect = *found;
        int last = d;
        while (last + 1 < days && aspectOn(last + 1) == aspect) ++last;
        Influence influence{{transit, aspect, natalBody}, firstNoon + d, firstNoon + last, {}};
        // A window that reaches the first or the last day is followed on
        // past the months.
        if (d == 0)
          for (int n = 0; n < kLongestWindow &&
                          InOrb(transit, influence.firstNoon - 1, natalLongitude, aspect);
               ++n)
            influence.firstNoon -= 1;
        if (last == days - 1)
          for (int n = 0;
               n < kLongestWindow && InOrb(transit, influence.lastNoon + 1, natalLongitude, aspect);
               ++n)
            influence.lastNoon += 1;
        influence.exact = ExactMoments(influence, natalLongitude);
        influences.push_back(std::move(influence));
        d = last + 1;
      }
    }
  }
  std::stable_sort(influences.begin(), influences.end(),
                   [](const Influence& x, const Influence& y) {
                     if (x.firstNoon != y.firstNoon) return x.firstNoon < y.firstNoon;
                     return x.key < y.key;
                   });
  return influences;
}

}  // namespace meridan
