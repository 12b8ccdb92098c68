#include "ephemeris/angles.h"

namespace meridan {

double Normalize360(double degrees) {
  double r = Frac(degrees / 360.0) * 360.0;
  if (r < 0) r = r + 360.0;
  return r;
}

double Reduce2Pi(double radians) {
  return radians - kTwoPi * static_cast<double>(Trunc(radians / kTwoPi));
}

Rectangular EclipticToEquatorial(double lambda, double beta, double r, double T) {
  // Obliquity of date: 23 deg 27' 08.26" less 46.845" per century.
  const double eps = (84428.26 - 46.845 * T) / kArcsecPerRadian;
  lambda = Reduce2Pi(lambda);
  Rectangular out;
  out.x = r * std::cos(beta) * std::cos(lambda);
  out.y = r * std::cos(beta) * (std::sin(lambda) * std::cos(eps) - std::tan(beta) * std::sin(eps));
  out.z = r * std::cos(beta) * (std::sin(lambda) * std::sin(eps) + std::tan(beta) * std::cos(eps));
  return out;
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

}  // namespace meridan
