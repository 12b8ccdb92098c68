// Neptune: mean elements in degrees with long-period terms in the
// Uranus-Neptune argument theta = 2N - Ur, Kepler's equation solved by five
// fixed iterations, and additive perturbations by Jupiter, Saturn and
// Uranus. T in Julian centuries from 1900 January 0.5; angles in degrees
// until the end, radians after it. Heliocentric, ecliptic and mean equinox
// of date; X, Y, Z on the mean equator of date, AU.
#include "ephemeris/neptune.h"

#include <cmath>

namespace meridan {
namespace {

// 3.14159265359 / 180: this series carries its own, longer degree.
constexpr double R = 0.017453292519944444;

}  // namespace

double NeptuneQuadrantAngle(double y, double x) {
  const double g = std::atan(std::fabs(y / x)) / R;
  if (y > 0) return x >= 0 ? g : 180 - g;
  return x >= 0 ? 360 - g : 180 + g;
}

SeriesResult NeptuneSeries(double T) {
  const double T2 = T * T;
  const double w = T / 5 + 0.1;

  const double J = 273.47555 + 3034.906 * T;
  const double S = 265.9165 + 1222.114 * T;
  const double Ur = 243.51721 + 428.4617 * T;
  const double N = 83.76922 + 218.4901 * T;
  const double theta = (2 * N - Ur) * R;  // radians

  double M = 37.73063 + 218.4613 * T;
  double L = 84.45799 + 219.8859 * T + 0.0003 * T2;
  double e = 0.00899704 + 0.00000633 * T;
  const double i = 1.779242 - 0.009544 * T;
  const double Omega = 130.6814 + 1.098935 * T + 0.00025 * T2;

  const double dL = (-0.589833 + 0.001089 * w) * std::sin(theta) +
                    (-0.056094 + 0.004658 * w) * std::cos(theta) - 0.024286 * std::sin(2 * theta);
  const double q = 0.024039 * std::sin(theta) - 0.025303 * std::cos(theta) +
                   0.006206 * std::sin(2 * theta) - 0.005992 * std::cos(2 * theta);
  L = L + dL;
  M = M + dL - q / e;
  e = e + (4389 * std::sin(theta) + 4262 * std::cos(theta) + 1129 * std::sin(2 * theta) +
           1089 * std::cos(2 * theta)) /
              10000000;
  const double a =
      30.10957 +
      (-817 * std::sin(theta) + 8189 * std::cos(theta) + 781 * std::cos(2 * theta)) / 1000000;

  double E = M;  // eccentric anomaly, degrees
  for (int k = 0; k < 5; ++k) E = M + (e / R) * std::sin(R * E);

  const double y = a * std::sqrt(1 - e * e) * std::sin(R * E);
  const double x = a * (std::cos(R * E) - e);
  const double nu = NeptuneQuadrantAngle(y, x);
  double r = a * (1 - e * std::cos(R * E));

  const double u = L + nu - M - Omega;  // argument of latitude
  double lambda = Omega + NeptuneQuadrantAngle(std::sin(R * u) * std::cos(R * i), std::cos(R * u));
  const double s = std::sin(R * i) * std::sin(R * u);
  double beta = std::atan(s / std::sqrt(1 - s * s)) / R;

  const double sN = std::sin(R * N);
  const double cN = std::cos(R * N);
  lambda = lambda - 0.009556 * std::sin(R * (N - J)) - 0.005178 * std::sin(R * (N - S)) +
           0.002572 * std::sin(2 * R * (N - Ur)) - 0.002979 * std::cos(2 * R * (N - Ur)) * sN -
           0.002833 * std::sin(2 * R * (N - Ur)) * cN;
  beta = beta + 0.000336 * std::cos(2 * R * (N - Ur)) * sN +
         0.000364 * std::sin(2 * R * (N - Ur)) * cN;
  r = r + (-40596 + 4992 * std::cos(R * (N - J)) + 2744 * std::cos(R * (N - S)) +
           2044 * std::cos(R * (N - Ur)) + 1051 * std::cos(2 * R * (N - Ur))) /
              1000000;

  lambda = R * lambda;
  beta = R * beta;

  return FinishSeries(lambda, beta, r, T);
}

}  // namespace meridan
