#pragma once
// Numeric primitives and constants of the ephemeris series.
//
// Several constants are shorter than full double precision. They are used
// exactly as written: the published longitudes of this ephemeris (and the
// rounding of every aspect the program finds) depend on them.

#include <cmath>
#include <cstdint>

namespace meridan {

inline constexpr double kJulianDayOffset = 2415020.0;  // JD of 1900 January 0.5
inline constexpr double kDaysPerJulianCentury = 36525.0;
inline constexpr double kTwoPi = 6.28318530718;
inline constexpr double kRadiansPerDegree = 0.01745329252;
inline constexpr double kArcsecPerRadian = 206264.806247;
inline constexpr double kPi = 3.14159265358979323846;  // full precision, for quadrant fixes

// Julian centuries since 1900 January 0.5, as every position routine forms it:
// the Julian day is first turned into the astronomical JD and back.
inline double JulianCenturies(double julianDay) {
  const double jd = julianDay + kJulianDayOffset;
  return (jd - kJulianDayOffset) / kDaysPerJulianCentury;
}

// Integer part as a double, truncated toward zero.
inline double Int(double x) { return std::trunc(x); }
// x - Int(x), with the sign of x.
inline double Frac(double x) { return x - std::trunc(x); }
// Truncation toward zero to a 64-bit integer.
inline std::int64_t Trunc(double x) { return static_cast<std::int64_t>(x); }
// 10 to the power x, formed as exp(x ln 10).
inline double Power10(double x) { return std::exp(x * std::log(10.0)); }

// Angle in degrees to [0, 360): -30 gives 330, 810 gives 90.
double Normalize360(double degrees);

// How far `to` lies from `from` along the shorter arc, signed: in
// [-180, 180). 359.5 to 0.3 is 0.8 forward, 0.2 to 359.9 is 0.3 back.
double SignedArc(double from, double to);

// x - 2pi Trunc(x / 2pi); a negative angle stays negative.
double Reduce2Pi(double radians);

struct Rectangular {
  double x = 0.0;
  double y = 0.0;
  double z = 0.0;
};

// Ecliptic (lambda, beta in radians, r) at T Julian centuries to rectangular
// coordinates on the mean equator and equinox of date; reduces lambda first.
Rectangular EclipticToEquatorial(double lambda, double beta, double r, double T);

// Equatorial rectangular coordinates to ecliptic longitude in degrees with a
// fixed obliquity of 23.45 degrees. The series rotate with the obliquity of
// date; the small mismatch is part of the published longitudes.
double EquatorialToEclipticLongitude(const Rectangular& v);

// The Sun vector the position routines share: the Sun's geocentric
// rectangular equatorial coordinates (AU). Pluto's routine leaves zeros.
using SunVector = Rectangular;

// What every series delivers: ecliptic longitude and latitude (radians),
// radius vector (AU), and the rectangular equatorial coordinates (AU).
struct SeriesResult {
  double lambda = 0.0;
  double beta = 0.0;
  double r = 0.0;
  Rectangular xyz;
};

// The last step every series shares: the rectangular coordinates on the
// equator of date, and lambda reduced to [0, 2pi).
inline SeriesResult FinishSeries(double lambda, double beta, double r, double T) {
  SeriesResult out;
  out.beta = beta;
  out.r = r;
  out.xyz = EclipticToEquatorial(lambda, beta, r, T);
  out.lambda = Reduce2Pi(lambda);
  return out;
}

}  // namespace meridan
