#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <random>
#include <set>
#include <tuple>

#include "ephemeris/angles.h"
#include "ephemeris/calendar.h"
#include "transits/aspects.h"
#include "transits/forecast_kind.h"
#include "transits/influences.h"
#include "transits/natal.h"
#include "transits/scan.h"

namespace meridan {
namespace {

const PlutoTable& Pluto() {
  static const PlutoTable table =
      PlutoTable::Load(std::filesystem::path(MERIDAN_DATA_DIR) / "System" / kPlutoTableName);
  return table;
}

double Longitude(int body, double t) {
  SunVector sun;
  return BodyLongitude(body, t, &Pluto(), sun);
}

// The arc by sampling the body every minute of the hours, apart from the
// code under test: its two ends as offsets from the first minute's place.
std::pair<double, double> SampledArc(int body, double from, double to) {
  const double start = Longitude(body, from);
  double low = 0, high = 0;
  const int minutes = static_cast<int>(std::lround((to - from) * 1440));
  for (int i = 0; i <= minutes; ++i) {
    const double at = SignedArc(start, Longitude(body, from + (to - from) * i / minutes));
    low = std::min(low, at);
    high = std::max(high, at);
  }
  return {Normalize360(start + low), Normalize360(start + high)};
}

TEST(NatalArcs, SpanTheBodiesOverTheHoursOfTheBirthDate) {
  // 20 May 1984 in UT, and at UTC+5 (19:00 UT the day before to 19:00 UT).
  // Mercury turned on 15 March 2025, so on that date its arc's end lies at
  // the station, not at either end of the day.
  const double stationDay = [] {
    for (const Station& s : FindStations({2025, 3}, 1))
      if (s.body == kMercury) return s.moment;
    return 0.0;
  }();
  ASSERT_NE(stationDay, 0.0);
  const Date stationDate = DateOf(stationDay);
  struct Case {
    Date birth;
    BirthHour hour;
  } cases[] = {{{20, 5, 1984}, {}}, {{20, 5, 1984}, {std::nullopt, -5, 19}}, {stationDate, {}}};
  for (const Case& c : cases) {
    const NatalArcs arcs = ComputeNatalArcs(c.birth, c.hour, Pluto());
    const NatalChart noon = ComputeNatalChart(c.birth, Pluto());
    const double midnight = NoonJulianDay(c.birth.day, c.birth.month, c.birth.year) - 0.5;
    for (const Body body : kComputedBodies) {
      const auto [low, high] =
          SampledArc(body, midnight + c.hour.fromHour / 24, midnight + c.hour.toHour / 24);
      const NatalArc& arc = arcs[body];
      EXPECT_NEAR(SignedArc(Normalize360(arc.middle - arc.halfLength), low), 0, 1e-6) << body;
      EXPECT_NEAR(SignedArc(Normalize360(arc.middle + arc.halfLength), high), 0, 1e-6) << body;
      EXPECT_LE(std::fabs(SignedArc(arc.middle, noon[body])), arc.halfLength + 1e-9) << body;
    }
  }
  // Mercury sweeps up to about a degree a day; it stands still at a station.
  EXPECT_GT(ComputeNatalArcs({20, 5, 1984}, {}, Pluto())[kMercury].halfLength, 0.3);
  EXPECT_LT(ComputeNatalArcs(stationDate, {}, Pluto())[kMercury].halfLength, 0.05);
  // A known moment leaves no arc.
  for (const NatalArc& arc : ComputeNatalArcs({20, 5, 1984}, {30821.1, 0, 24}, Pluto()))
    EXPECT_EQ(arc.halfLength, 0.0);
}

// The hours' windows against the scans of the two charts next to the noon
// chart, with every natal body moved to one end of its arc: a noon is
// within orb of some point of an arc when it is within orb of either end,
// of every point when of both.
TEST(HourWindows, AgreeWithTheScansOfTheChartsAtTheEndsOfTheArcs) {
  std::mt19937 random(27);
  std::uniform_int_distribution<int> year(1925, 2025), month(1, 12), day(1, 28), offset(-10, 12);
  int influences = 0, wider = 0, maybe = 0;
  for (int round = 0; round < 30; ++round) {
    const Date birth{day(random), month(random), year(random)};
    // The date in UT, or at a place some hours off it.
    const double shift = round % 2 ? 0 : -offset(random);
    const BirthHour hour{std::nullopt, shift, shift + 24};
    const YearMonth start{year(random) + 1, month(random)};
    const NatalChart noon = ComputeNatalChart(birth, Pluto());
    const NatalArcs arcs = ComputeNatalArcs(birth, hour, Pluto());
    NatalChart low{}, high{};
    for (const Body body : kComputedBodies) {
      low[body] = Normalize360(arcs[body].middle - arcs[body].halfLength);
      high[body] = Normalize360(arcs[body].middle + arcs[body].halfLength);
    }
    // The hits of the two charts' scans, by pair and noon.
    std::map<YearMonth, std::pair<MonthTransits, MonthTransits>> scans;
    std::set<std::tuple<AspectKey, long, int>> hits;  // key, noon, chart
    const auto inOrb = [&](const Influence& x, double at, int chart) {
      const Date date = DateOf(at);
      const YearMonth ym{date.year, date.month};
      if (!scans.count(ym)) {
        scans[ym] = {ScanTransits(low, ym), ScanTransits(high, ym)};
        for (int c = 0; c < 2; ++c) {
          const MonthTransits& scan = c ? scans[ym].second : scans[ym].first;
          for (size_t d = 0; d < scan.days.size(); ++d)
            for (const AspectKey& hit : scan.days[d])
              hits.insert({hit, std::lround(scan.firstNoon + static_cast<double>(d)), c});
        }
      }
      return hits.count({x.key, std::lround(at), chart}) > 0;
    };

    std::vector<Influence> found = FindInfluences(noon, start, kForecastMonths);
    AddHourWindows(found, arcs);
    for (const Influence& x : found) {
      ++influences;
      ASSERT_TRUE(x.hourWindows);
      const DayWindow& possible = x.hourWindows->possible;
      EXPECT_LE(possible.firstNoon, x.firstNoon);
      EXPECT_GE(possible.lastNoon, x.lastNoon);
      for (double t = possible.firstNoon - 1; t <= possible.lastNoon + 1; t += 1) {
        const bool inside = t >= possible.firstNoon && t <= possible.lastNoon;
        EXPECT_EQ(inOrb(x, t, 0) || inOrb(x, t, 1), inside)
            << DateOf(t).day << '.' << DateOf(t).month;
      }
      EXPECT_LE(possible.opens, possible.firstNoon);
      EXPECT_GT(possible.opens, possible.firstNoon - 1);
      EXPECT_GE(possible.closes, possible.lastNoon);
      EXPECT_LT(possible.closes, possible.lastNoon + 1);
      if (possible.lastNoon - possible.firstNoon > x.lastNoon - x.firstNoon) ++wider;

      const auto& sure = x.hourWindows->sure;
      for (double t = x.firstNoon; t <= x.lastNoon; t += 1) {
        const bool both = inOrb(x, t, 0) && inOrb(x, t, 1);
        if (!sure) {
          EXPECT_FALSE(both);
        } else if (t < sure->firstNoon || t > sure->lastNoon) {
          EXPECT_FALSE(both);
        } else if (t == sure->firstNoon || t == sure->lastNoon) {
          EXPECT_TRUE(both);
        }
      }
      if (!sure) ++maybe;
    }
  }
  // The cases hold influences of every sort.
  EXPECT_GT(influences, 1000);
  EXPECT_GT(wider, influences / 4);
  EXPECT_GT(maybe, 0);
}

}  // namespace
}  // namespace meridan
