#include "transits/influences.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <random>
#include <set>
#include <utility>

#include "ephemeris/calendar.h"
#include "ephemeris/positions.h"
#include "transits/aspects.h"
#include "transits/forecast_kind.h"
#include "transits/roots.h"
#include "transits/scan.h"

namespace meridan {
namespace {

constexpr double kMinute = 1.0 / 1440;
constexpr double kHour = 1.0 / 24;

double Longitude(int body, double t) {
  SunVector sun;
  return BodyLongitude(body, t, nullptr, sun);
}

// a - b folded into (-180, 180], written apart from the code under test.
double Fold(double a, double b) {
  double d = std::fmod(a - b, 360.0);
  if (d > 180) d -= 360;
  if (d <= -180) d += 360;
  return d;
}

// Random natal charts and start months between 1920 and 2080.
struct RandomCase {
  NatalChart natal{};
  YearMonth start;
};
std::vector<RandomCase> RandomCases(int count, unsigned seed) {
  std::mt19937 random(seed);
  std::uniform_real_distribution<double> degrees(0, 360);
  std::uniform_int_distribution<int> year(1920, 2079), month(1, 12);
  std::vector<RandomCase> cases(static_cast<size_t>(count));
  for (RandomCase& c : cases) {
    for (const Body body : kComputedBodies) c.natal[body] = degrees(random);
    c.start = {year(random), month(random)};
  }
  return cases;
}

// The crossings of a target by plain sampling every hour and
// bisection, on both sides of the natal body for the aspects that have two.
std::vector<double> CrossingsBySampling(int body, double natal, int aspect, double from,
                                        double to) {
  std::vector<double> roots;
  std::vector<double> targets{natal + aspect};
  if (aspect != 0 && aspect != 180) targets.push_back(natal - aspect);
  for (const double target : targets) {
    const auto f = [&](double t) { return Fold(Longitude(body, t), target); };
    const double step = kHour;
    double a = from, fa = f(a);
    for (double b = from + step; a < to; b = std::min(b + step, to)) {
      const double fb = f(b);
      if ((fa < 0) != (fb < 0) && std::fabs(fa - fb) < 90) {
        double lo = a, hi = b, flo = fa;
        while (hi - lo > 1.0 / 86400) {
          const double mid = (lo + hi) / 2, fm = f(mid);
          if ((fm < 0) == (flo < 0)) {
            lo = mid;
            flo = fm;
          } else {
            hi = mid;
          }
        }
        roots.push_back((lo + hi) / 2);
      }
      a = b;
      fa = fb;
    }
  }
  std::sort(roots.begin(), roots.end());
  return roots;
}

TEST(FindRoot, ClosesInOnABracketedRoot) {
  const auto cubic = [](double x) { return x * x * x - 2; };
  EXPECT_NEAR(FindRoot(cubic, 0, 2, -2, 6, 1e-12), std::cbrt(2.0), 1e-11);
  // Flat near its root (the motion at a station): still found.
  const auto flat = [](double x) { return std::pow(x - 0.3, 3) * 1e-6; };
  EXPECT_NEAR(FindRoot(flat, -1, 5, flat(-1), flat(5), 1e-9), 0.3, 1e-6);
  EXPECT_THROW(FindRoot(cubic, 2, 3, cubic(2), cubic(3), 1e-9), std::invalid_argument);
}

// Exact moments against plain sampling on the same series, over 200 random
// months from 1920 to 2080.
TEST(FindInfluences, ExactMomentsAgreeWithSamplingTheSeries) {
  int moments = 0, multiple = 0, none = 0;
  for (const RandomCase& c : RandomCases(200, 19)) {
    for (const Influence& influence : FindInfluences(c.natal, c.start, 1)) {
      const std::vector<double> expected = CrossingsBySampling(
          influence.key.transitBody, c.natal[influence.key.natalBody], influence.key.aspect,
          influence.firstNoon - 1, influence.lastNoon + 1);
      const std::string what = "transit " + std::to_string(influence.key.transitBody) + " aspect " +
                               std::to_string(influence.key.aspect) + " natal " +
                               std::to_string(influence.key.natalBody) + " from " +
                               std::to_string(influence.firstNoon);
      ASSERT_EQ(influence.exact.size(), expected.size()) << what;
      for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_NEAR(influence.exact[i], expected[i], 2 * kMinute) << what;
      moments += static_cast<int>(expected.size());
      multiple += expected.size() > 1;
      none += expected.empty();
    }
  }
  // The cases hold the rare shapes too: stations inside a window, and
  // windows that are never exact.
  EXPECT_GT(moments, 2000);
  EXPECT_GT(multiple, 0);
  EXPECT_GT(none, 0);
}

// A station by the longitude's own turning point: golden-section search for
// the extremum between samples six hours apart.
std::vector<Station> StationsBySampling(int body, double from, double to) {
  std::vector<Station> stations;
  const double step = kHour * 6;
  for (double t = from; t + 2 * step <= to + step; t += step) {
    const double a = Longitude(body, t), b = Longitude(body, t + step),
                 c = Longitude(body, t + 2 * step);
    const double before = Fold(b, a), after = Fold(c, b);
    if ((before > 0) == (after > 0)) continue;
    const bool retrograde = before > 0;
    // Maximise the longitude (minimise it for a turn forwards) near b.
    const auto height = [&](double x) {
      const double h = Fold(Longitude(body, x), b);
      return retrograde ? h : -h;
    };
    double lo = t, hi = t + 2 * step;
    const double g = (std::sqrt(5.0) - 1) / 2;
    while (hi - lo > kMinute / 10) {
      const double x1 = hi - g * (hi - lo), x2 = lo + g * (hi - lo);
      if (height(x1) > height(x2))
        hi = x2;
      else
        lo = x1;
    }
    const double moment = (lo + hi) / 2;
    if (moment >= from && moment < to) stations.push_back({moment, body, retrograde});
  }
  return stations;
}

TEST(FindStations, AgreeWithTheTurningPointsOfTheSeries) {
  int found = 0;
  for (const RandomCase& c : RandomCases(200, 7)) {
    const double from = JulianDay(1, c.start.month, c.start.year, 0, 0, 0);
    const YearMonth end = c.start.Plus(3);
    const double to = JulianDay(1, end.month, end.year, 0, 0, 0);
    std::vector<Station> expected;
    for (const Body body : kStationBodies) {
      const std::vector<Station> some = StationsBySampling(body, from, to);
      expected.insert(expected.end(), some.begin(), some.end());
    }
    std::sort(expected.begin(), expected.end(),
              [](const Station& x, const Station& y) { return x.moment < y.moment; });
    const std::vector<Station> stations = FindStations(c.start, 3);
    ASSERT_EQ(stations.size(), expected.size()) << c.start.month << "." << c.start.year;
    for (size_t i = 0; i < stations.size(); ++i) {
      EXPECT_EQ(stations[i].body, expected[i].body);
      EXPECT_EQ(stations[i].retrograde, expected[i].retrograde);
      EXPECT_NEAR(stations[i].moment, expected[i].moment, kHour)
          << "body " << expected[i].body << " near " << expected[i].moment;
    }
    found += static_cast<int>(stations.size());
  }
  EXPECT_GT(found, 200);
}

// Every day of every window inside the months is a day on which the scan
// finds that aspect; every hit of the scan lies in exactly one window; the
// noons just outside a window are not in orb.
TEST(FindInfluences, WindowsAreTheScansRunsOfDays) {
  for (const RandomCase& c : RandomCases(25, 3)) {
    const std::vector<Influence> influences = FindInfluences(c.natal, c.start, kForecastMonths);
    std::map<std::pair<AspectKey, long>, int> inWindows;
    for (const Influence& influence : influences) {
      for (double noon = influence.firstNoon; noon <= influence.lastNoon; noon += 1)
        ++inWindows[{influence.key, std::lround(noon)}];
      for (const double outside : {influence.firstNoon - 1, influence.lastNoon + 1})
        EXPECT_NE(ClassifyAspect(Longitude(influence.key.transitBody, outside),
                                 c.natal[influence.key.natalBody], kAspectOrb),
                  influence.key.aspect);
    }
    std::set<std::pair<AspectKey, long>> scanned;
    for (int m = 0; m < kForecastMonths; ++m) {
      const MonthTransits month = ScanTransits(c.natal, c.start.Plus(m));
      for (int d = 0; d < month.length(); ++d)
        for (const AspectKey& hit : month.days[static_cast<size_t>(d)]) {
          const std::pair<AspectKey, long> key{hit, std::lround(month.firstNoon + d)};
          scanned.insert(key);
          EXPECT_EQ(inWindows[key], 1) << "a hit of the scan outside every window";
        }
    }
    const double first = NoonJulianDay(1, c.start.month, c.start.year);
    const YearMonth end = c.start.Plus(kForecastMonths);
    const double afterLast = NoonJulianDay(1, end.month, end.year);
    for (const auto& [key, count] : inWindows) {
      const double noon = static_cast<double>(key.second);
      if (noon >= first && noon < afterLast) {
        EXPECT_TRUE(scanned.count(key)) << "not a scan day";
      }
    }
    for (size_t i = 1; i < influences.size(); ++i) {
      const Influence &x = influences[i - 1], &y = influences[i];
      EXPECT_TRUE(x.firstNoon < y.firstNoon || (x.firstNoon == y.firstNoon && x.key <= y.key));
    }
  }
}

// A window is followed past the months: the natal Sun a degree behind the
// transiting Sun at the start sees a conjunction that began days before.
TEST(FindInfluences, WindowsRunPastTheMonths) {
  NatalChart natal{};
  for (const Body body : kComputedBodies) natal[body] = 0;
  const double firstNoon = NoonJulianDay(1, 3, 2025);
  natal[kSun] = Normalize360(Longitude(kSun, firstNoon) - 1.0);
  std::vector<Influence> sun;
  for (const Influence& influence : FindInfluences(natal, {2025, 3}, 1))
    if (influence.key.transitBody == kSun && influence.key.natalBody == kSun)
      sun.push_back(influence);
  ASSERT_EQ(sun.size(), 1u);
  EXPECT_EQ(sun[0].key.aspect, 0);
  EXPECT_LT(sun[0].firstNoon, firstNoon - 1);  // began in February
  ASSERT_EQ(sun[0].exact.size(), 1u);
  EXPECT_LT(sun[0].exact[0], firstNoon);
}

}  // namespace
}  // namespace meridan
