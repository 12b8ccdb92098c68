#include "ephemeris/planet.h"

#include "ephemeris/sun.h"

namespace meridan {

double LongitudeFromSun(double julianDay, SeriesFunction series, const SunVector& sun) {
  const double T = JulianCenturies(julianDay);
  const Rectangular p = series(T).xyz;
  const Rectangular geo{p.x + sun.x, p.y + sun.y, p.z + sun.z};
  return Normalize360(EquatorialToEclipticLongitude(geo));
}

void PlanetPosition(double julianDay, SeriesFunction series, double& longitude, SunVector& sun) {
  SunPosition(julianDay, longitude, sun);
  longitude = LongitudeFromSun(julianDay, series, sun);
}

}  // namespace meridan
