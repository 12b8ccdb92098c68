#pragma once
// When the aspects of a forecast begin, are exact and end, and when the
// planets turn. An influence is one transit body in one aspect to one natal
// body over a run of consecutive days on which the scan finds it (noon of
// each day, the orb of the aspect rule); its window runs past the forecast
// months when the aspect began before them or ends after them. Its exact
// moments are the instants, within the window and a day either side, at
// which the transit body's longitude minus the natal one equals the
// aspect's angle (0, +-60, +-90, +-120, 180 degrees). A station is an
// instant at which a planet's geocentric longitude stops and turns. All
// instants are Julian days in Universal Time, from the same series as the
// scan.

#include <optional>
#include <vector>

#include "base/dates.h"
#include "transits/aspects.h"
#include "transits/natal.h"

namespace meridan {

// A stretch of days within an influence's reach: the noons that begin and
// end it, and the instants at which it opens and closes (Julian days).
struct DayWindow {
  double firstNoon = 0.0;
  double lastNoon = 0.0;
  double opens = 0.0;
  double closes = 0.0;
};

// How far an influence's days depend on a birth hour that is not known.
// Over the hours of the birth date each natal body sweeps an arc; the
// possible window holds the noons on which the transit body is within orb
// of some point of the arc (of some birth hour), the sure window the noons
// on which it is within orb of every point of it (of every birth hour).
// Without a sure window the influence may not come at all. (The sure
// window runs from the first to the last such noon: near a station a noon
// between them may miss.)
struct HourWindows {
  DayWindow possible;
  std::optional<DayWindow> sure;
};

struct Influence {
  AspectKey key;
  double firstNoon = 0.0;  // Julian day of the first noon in orb
  double lastNoon = 0.0;   // Julian day of the last noon in orb
  // Exact moments in time order: none when the body touches the orb and
  // turns back, two or three when it stations inside the window.
  std::vector<double> exact;
  // When the birth hour is not known: how far the days depend on it.
  std::optional<HourWindows> hourWindows = std::nullopt;
};

struct Station {
  double moment = 0.0;  // Julian day
  int body = 0;
  bool retrograde = false;  // turns backwards (true) or forwards again (false)
};

// The planets whose stations the forecast names, in body order.
inline constexpr Body kStationBodies[] = {kMercury, kVenus, kMars};

// The longitude's motion per day at an instant, positive forwards: the
// series over an hour either side. Its zeros are the stations.
double DailyMotion(int body, double julianDay);

// The stations of one planet between two instants, in time order.
std::vector<Station> FindStations(int body, double from, double to);

// The stations of Mercury, Venus and Mars inside `months` months from the
// start month (from 0h UT of its first day), in time order.
std::vector<Station> FindStations(YearMonth start, int months);

// The influences found on the noons of `months` months from the start
// month, each with its whole window and its exact moments; ordered by first
// day, then transit body, aspect and natal body.
std::vector<Influence> FindInfluences(const NatalChart& natal, YearMonth start, int months);

// The windows of an influence of the chart at noon of the birth date, over
// the arcs its natal bodies sweep in the hours of that date: those of the
// noons around it on which the aspect holds with the orb widened (possible)
// or narrowed (sure) by half the natal body's arc, each opening and closing
// where the root finder of the exact moments puts the crossing of that orb.
HourWindows FindHourWindows(const Influence& influence, const NatalArc& arc);

// The hour windows of each influence, over the arcs of its natal body.
void AddHourWindows(std::vector<Influence>& influences, const NatalArcs& arcs);

}  // namespace meridan
