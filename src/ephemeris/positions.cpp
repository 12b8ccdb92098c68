#include "ephemeris/positions.h"

#include <stdexcept>
#include <string>

#include "ephemeris/sun.h"

namespace meridan {
namespace {

const PlutoTable& RequirePluto(const PlutoTable* pluto) {
  if (!pluto) throw std::invalid_argument("Pluto's position needs its table, and none was loaded");
  return *pluto;
}

}  // namespace

const BodyInfo* FindBody(int body) {
  for (const BodyInfo& info : kBodies)
    if (info.body == body) return &info;
  return nullptr;
}

const char* BodyName(int body) {
  if (body == kMoon) return "Moon";
  const BodyInfo* info = FindBody(body);
  return info ? info->name : "?";
}

double BodyLongitude(int body, double julianDay, const PlutoTable* pluto, SunVector& sun) {
  const BodyInfo* info = FindBody(body);
  if (!info) throw std::invalid_argument("no position routine for body " + std::to_string(body));
  double longitude = 0.0;
  if (info->series)
    PlanetPosition(julianDay, info->series, longitude, sun);
  else if (body == kSun)
    SunPosition(julianDay, longitude, sun);
  else
    PlutoPosition(julianDay, RequirePluto(pluto), longitude, sun);
  return longitude;
}

void ComputeLongitudes(double julianDay, std::span<const Body> bodies, const PlutoTable* pluto,
                       Longitudes& out) {
  SunVector sun;
  double sunLongitude = 0.0;
  SunPosition(julianDay, sunLongitude, sun);
  for (const Body body : bodies) {
    const BodyInfo* info = FindBody(body);
    double& slot = out[static_cast<size_t>(body)];
    if (info && info->series) {
      slot = LongitudeFromSun(julianDay, info->series, sun);
    } else if (body == kSun) {
      slot = sunLongitude;
    } else {
      SunVector unused;
      slot = BodyLongitude(body, julianDay, pluto, unused);
    }
  }
}

}  // namespace meridan
