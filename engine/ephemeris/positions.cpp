#include "engine/ephemeris/positions.h"

#include <stdexcept>
#include <string>

#include "engine/ephemeris/Com_Sat_tra.h"
#include "engine/ephemeris/Com_Ura_tra.h"
#include "engine/ephemeris/Com_jup_tra.h"
#include "engine/ephemeris/Com_mar_tra.h"
#include "engine/ephemeris/Com_mer_tra.h"
#include "engine/ephemeris/Com_nep_tra.h"
#include "engine/ephemeris/Com_plu_tra.h"
#include "engine/ephemeris/Com_ven_tra.h"

namespace meridan {

const char* BodyName(int body) {
  switch (body) {
    case kSun: return "Sun";
    case kMoon: return "Moon";
    case kMercury: return "Mercury";
    case kVenus: return "Venus";
    case kMars: return "Mars";
    case kJupiter: return "Jupiter";
    case kSaturn: return "Saturn";
    case kUranus: return "Uranus";
    case kNeptune: return "Neptune";
    case kPluto: return "Pluto";
    default: return "?";
  }
}

double EquatorialToEclipticLongitude(const Rectangular& v) {
  double a = std::atan(v.y / v.x);
  if (v.x < 0) a = a + kPi;
  const double c = std::cos(a);
  double lambda = std::atan((0.917408 * v.y + 0.397949 * v.z) / v.x);
  if (c < 0) lambda = lambda + kPi;
  lambda = lambda / kRadiansPerDegree;
  if (lambda < 0) lambda = lambda + 360;
  return lambda;
}

namespace {

// Geocentric longitude of a planet from a Sun vector already computed for
// the same Julian day.
double LongitudeFromSun(double julianDay, SeriesFunction series, const SunVector& sun) {
  const double T = JulianCenturies(julianDay);
  const Rectangular p = series(T).xyz;
  const Rectangular geo{p.x + sun.x, p.y + sun.y, p.z + sun.z};
  return Normalize360(EquatorialToEclipticLongitude(geo));
}

SeriesFunction SeriesOf(int body) {
  switch (body) {
    case kMercury: return MercurySeries;
    case kVenus: return VenusSeries;
    case kMars: return MarsSeries;
    case kJupiter: return JupiterSeries;
    case kSaturn: return SaturnSeries;
    case kUranus: return UranusSeries;
    case kNeptune: return NeptuneSeries;
    default: return nullptr;
  }
}

}  // namespace

void ComputeLongitudes(double julianDay, std::span<const int> bodies,
                       const std::filesystem::path& dataDir, Longitudes& out) {
  SunVector sun;
  double sunLongitude = 0.0;
  SunPosition(julianDay, sunLongitude, sun);
  for (const int body : bodies) {
    if (body == kSun) {
      out[kSun] = sunLongitude;
    } else if (const SeriesFunction series = SeriesOf(body)) {
      out[static_cast<size_t>(body)] = LongitudeFromSun(julianDay, series, sun);
    } else {
      SunVector unused;
      out[static_cast<size_t>(body)] = BodyLongitude(body, julianDay, dataDir, unused);
    }
  }
}

void PlanetPosition(double julianDay, SeriesFunction series, double& longitude, SunVector& sun) {
  SunPosition(julianDay, longitude, sun);
  longitude = LongitudeFromSun(julianDay, series, sun);
}

double BodyLongitude(int body, double julianDay, const std::filesystem::path& dataDir,
                     SunVector& sun) {
  double longitude = 0.0;
  switch (body) {
    case kSun: SunPosition(julianDay, longitude, sun); break;
    case kMercury: MercuryPosition(julianDay, longitude, sun); break;
    case kVenus: VenusPosition(julianDay, longitude, sun); break;
    case kMars: MarsPosition(julianDay, longitude, sun); break;
    case kJupiter: JupiterPosition(julianDay, longitude, sun); break;
    case kSaturn: SaturnPosition(julianDay, longitude, sun); break;
    case kUranus: UranusPosition(julianDay, longitude, sun); break;
    case kNeptune: NeptunePosition(julianDay, longitude, sun); break;
    case kPluto: PlutoPosition(julianDay, dataDir, longitude, sun); break;
    default: throw std::invalid_argument("no position routine for body " + std::to_string(body));
  }
  return longitude;
}

}  // namespace meridan
