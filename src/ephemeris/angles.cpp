#include "ephemeris/angles.h"

namespace meridan {

double Normalize360(double degrees) {
  double r = Frac(degrees / 360.0) * 360.0;
  if (r < 0) r = r + 360.0;
  return r;
}

double SignedArc(double from, double to) {
  double step = to - from;
  if (step >= 180) step -= 360;
  if (step < -180) step += 360;
  return step;
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

namespace {

// Whether cos(atan(y / x) + pi), or cos(atan(y / x)) for x >= 0, is negative:
// the quadrant test of the conversion below. atan lies within pi/2 of zero,
// so for x >= 0 the cosine is positive (also at the double nearest pi/2,
// which falls short of pi/2), and for x < 0 it is negative unless atan
// returns exactly minus that double, which it does only for quotients
// beyond -1e15; only there are the two functions called. The answer is the
// one calling them always gives (checked over millions of vectors and every
// power of two of the quotient), without two of the slowest calls that
// every position makes.
bool CosineOfQuadrantAngleIsNegative(double y, double x) {
  if (!(x < 0)) return false;
  const double quotient = y / x;
  if (quotient > -1e15) return true;
  return std::cos(std::atan(quotient) + kPi) < 0;
}

}  // namespace

double EquatorialToEclipticLongitude(const Rectangular& v) {
  double lambda = std::atan((0.917408 * v.y + 0.397949 * v.z) / v.x);
  if (CosineOfQuadrantAngleIsNegative(v.y, v.x)) lambda = lambda + kPi;
  lambda = lambda / kRadiansPerDegree;
  if (lambda < 0) lambda = lambda + 360;
  return lambda;
}

}  // namespace meridan
