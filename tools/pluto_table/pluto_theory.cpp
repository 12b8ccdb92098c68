#include "tools/pluto_table/pluto_theory.h"

#include <cmath>
#include <iterator>
#include <numbers>

#include "ephemeris/sun.h"

namespace meridan::pluto_table {
namespace {

constexpr double kDeg = std::numbers::pi / 180.0;  // radians per degree
constexpr double kArcsec = kDeg / 3600.0;          // radians per arcsecond
constexpr double kLightDaysPerAu = 0.0057755183;   // light-time for 1 AU, days

// One row of table 37.A: the argument i J + j S + k P, then the coefficients
// A (of sin) and B (of cos) for longitude and latitude (units of 0.000001
// degree) and for the radius vector (units of 0.0000001 AU).
struct Term {
  int i, j, k;
  int lonA, lonB;
  int latA, latB;
  int radA, radB;
};

// Table 37.A in published order; the sums run in this order.
constexpr Term kTerms[] = {
    {0, 0, 1, -19799805, 19850055, -5452852, -14974862, 66865439, 68951812},
    {0, 0, 2, 897144, -4954829, 3527812, 1672790, -11827535, -332538},
    {0, 0, 3, 611149, 1211027, -1050748, 327647, 1593179, -1438890},
    {0, 0, 4, -341243, -189585, 178690, -292153, -18444, 483220},
    {0, 0, 5, 129287, -34992, 18650, 100340, -65977, -85431},
    {0, 0, 6, -38164, 30893, -30697, -25823, 31174, -6032},
    {0, 1, -1, 20442, -9987, 4878, 11248, -5794, 22161},
    {0, 1, 0, -4063, -5071, 226, -64, 4601, 4032},
    {0, 1, 1, -6016, -3336, 2030, -836, -1729, 234},
    {0, 1, 2, -3956, 3039, 69, -604, -415, 702},
    {0, 1, 3, -667, 3572, -247, -567, 239, 723},
    {0, 2, -2, 1276, 501, -57, 1, 67, -67},
    {0, 2, -1, 1152, -917, -122, 175, 1034, -451},
    {0, 2, 0, 630, -1277, -49, -164, -129, 504},
    {1, -1, 0, 2571, -459, -197, 199, 480, -231},
    {1, -1, 1, 899, -1449, -25, 217, 2, -441},
    {1, 0, -3, -1016, 1043, 589, -248, -3359, 265},
    {1, 0, -2, -2343, -1012, -269, 711, 7856, -7832},
    {1, 0, -1, 7042, 788, 185, 193, 36, 45763},
    {1, 0, 0, 1199, -338, 315, 807, 8663, 8547},
    {1, 0, 1, 418, -67, -130, -43, -809, -769},
    {1, 0, 2, 120, -274, 5, 3, 263, -144},
    {1, 0, 3, -60, -159, 2, 17, -126, 32},
    {1, 0, 4, -82, -29, 2, 5, -35, -16},
    {1, 1, -3, -36, -29, 2, 3, -19, -4},
    {1, 1, -2, -40, 7, 3, 1, -15, 8},
    {1, 1, -1, -14, 22, 2, -1, -4, 12},
    {1, 1, 0, 4, 13, 1, -1, 5, 6},
    {1, 1, 1, 5, 2, 0, -1, 3, 1},
    {1, 1, 3, -1, 0, 0, 0, 6, -2},
    {2, 0, -6, 2, 0, 0, -2, 2, 2},
    {2, 0, -5, -4, 5, 2, 2, -2, -2},
    {2, 0, -4, 4, -7, -7, 0, 14, 13},
    {2, 0, -3, 14, 24, 10, -8, -63, 13},
    {2, 0, -2, -49, -34, -3, 20, 136, -236},
    {2, 0, -1, 163, -48, 6, 5, 273, 1065},
    {2, 0, 0, 9, -24, 14, 17, 251, 149},
    {2, 0, 1, -4, 1, -2, 0, -25, -9},
    {2, 0, 2, -3, 1, 0, 0, 9, -2},
    {2, 0, 3, 1, 3, 0, 0, -8, 7},
    {3, 0, -2, -3, -1, 0, 1, 2, -10},
    {3, 0, -1, 5, -3, 0, 0, 19, 35},
    {3, 0, 0, 0, 0, 1, 0, 10, 3},
};
static_assert(std::size(kTerms) == 43);

double Normalize(double degrees) {
  const double d = std::fmod(degrees, 360.0);
  return d < 0 ? d + 360.0 : d;
}

struct Vector {
  double x, y, z;
};

Vector ToRectangular(const Ecliptic& e) {
  const double l = e.lon * kDeg;
  const double b = e.lat * kDeg;
  return {e.r * std::cos(b) * std::cos(l), e.r * std::cos(b) * std::sin(l), e.r * std::sin(b)};
}

Ecliptic ToSpherical(const Vector& v) {
  const double rho = std::hypot(v.x, v.y);
  return {Normalize(std::atan2(v.y, v.x) / kDeg), std::atan2(v.z, rho) / kDeg,
          std::hypot(rho, v.z)};
}

}  // namespace

Ecliptic PlutoHeliocentricJ2000(double jde) {
  const double T = (jde - kJde2000) / 36525.0;
  // Mean longitudes of Jupiter, Saturn and Pluto, degrees.
  const double J = 34.35 + 3034.9057 * T;
  const double S = 50.08 + 1222.1138 * T;
  const double P = 238.96 + 144.96 * T;

  double sumLon = 0.0, sumLat = 0.0, sumRad = 0.0;
  for (const Term& t : kTerms) {
    const double alpha = (t.i * J + t.j * S + t.k * P) * kDeg;
    const double s = std::sin(alpha);
    const double c = std::cos(alpha);
    sumLon += t.lonA * s + t.lonB * c;
    sumLat += t.latA * s + t.latB * c;
    sumRad += t.radA * s + t.radB * c;
  }
  return {Normalize(238.958116 + 144.96 * T + sumLon * 1e-6), -3.908239 + sumLat * 1e-6,
          40.7241346 + sumRad * 1e-7};
}

Ecliptic PrecessFromJ2000(const Ecliptic& j2000, double jde) {
  const double t = (jde - kJde2000) / 36525.0;
  const double t2 = t * t;
  const double t3 = t2 * t;
  // (21.6): the starting epoch is J2000.0, so its own T is zero.
  const double eta = (47.0029 * t - 0.03302 * t2 + 0.000060 * t3) * kArcsec;
  const double Pi = 174.876384 * kDeg + (-869.8089 * t + 0.03536 * t2) * kArcsec;
  const double p = (5029.0966 * t + 1.11113 * t2 - 0.000006 * t3) * kArcsec;

  // (21.7)
  const double lon0 = j2000.lon * kDeg;
  const double lat0 = j2000.lat * kDeg;
  const double A =
      std::cos(eta) * std::cos(lat0) * std::sin(Pi - lon0) - std::sin(eta) * std::sin(lat0);
  const double B = std::cos(lat0) * std::cos(Pi - lon0);
  const double C =
      std::cos(eta) * std::sin(lat0) + std::sin(eta) * std::cos(lat0) * std::sin(Pi - lon0);
  return {Normalize((p + Pi - std::atan2(A, B)) / kDeg), std::asin(C) / kDeg, j2000.r};
}

Ecliptic EarthHeliocentric(double julianDay) {
  const double T = JulianCenturies(julianDay);
  // The Sun series gives the Sun seen from the Earth on the mean equator of
  // date; the Earth seen from the Sun is its negative, turned back to the
  // ecliptic of date about the X axis by the series' own obliquity.
  const Rectangular sun = SunSeries(T).xyz;
  const double eps = (84428.26 - 46.845 * T) / kArcsecPerRadian;
  const Vector earth{-sun.x, -sun.y * std::cos(eps) - sun.z * std::sin(eps),
                     sun.y * std::sin(eps) - sun.z * std::cos(eps)};
  return ToSpherical(earth);
}

double PlutoGeocentricLongitude(double julianDay) {
  const double jde = julianDay + kJulianDayOffset;
  const Vector earth = ToRectangular(EarthHeliocentric(julianDay));
  auto geocentric = [&](double tPluto) {
    const Vector pluto = ToRectangular(PrecessFromJ2000(PlutoHeliocentricJ2000(tPluto), jde));
    return Vector{pluto.x - earth.x, pluto.y - earth.y, pluto.z - earth.z};
  };
  // Light-time: we see Pluto where it was when the light left it.
  const double distance = ToSpherical(geocentric(jde)).r;
  return ToSpherical(geocentric(jde - distance * kLightDaysPerAu)).lon;
}

int TableDegree(double longitude) {
  const int degree = static_cast<int>(std::floor(longitude + 0.5));
  return degree == 360 ? 0 : degree;
}

}  // namespace meridan::pluto_table
