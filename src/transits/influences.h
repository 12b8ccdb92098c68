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

#include <vector>

#include "base/dates.h"
#include "transits/natal.h"

namespace meridan {

struct Influence {
  int transitBody = 0;
  int aspect = 0;  // the aspect's angle in degrees
  int natalBody = 0;
  double firstNoon = 0.0;  // Julian day of the first noon in orb
  double lastNoon = 0.0;   // Julian day of the last noon in orb
  // Exact moments in time order: none when the body touches the orb and
  // turns back, two or three when it stations inside the window.
  std::vector<double> exact;
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

}  // namespace meridan
