// Uranus: Fourier series in the mean anomaly U whose amplitudes carry the
// perturbations by Jupiter, Saturn and Neptune. The longitude is the mean
// longitude plus the series (arcseconds, over 206264.806247); the radius
// comes from its decimal logarithm. T in Julian centuries from 1900 January
// 0.5; angles in radians. Heliocentric, ecliptic and mean equinox of date;
// X, Y, Z on the mean equator of date, AU.
#include "ephemeris/uranus.h"

#include <cmath>

#include "ephemeris/periodic_terms.h"

namespace meridan {
namespace {

// The perturbing arguments the amplitudes are built from: a1 = U - N,
// a2 = S - U, a3 = J - U, a4 = S - 2U, a5 = 3U - S, so that the published
// d1, d2, d3 are a1, 2 a1, 3 a1 and d4..d7 are a2..a5. Arcseconds.
constexpr PeriodicTerm kA0[] = {
    {kCos, -29, {1, 0, 0, 0, 0}, 0.0},   // -29 cos d1
    {kSin, 20, {1, 0, 0, 0, 0}, 0.0},    // 20 sin d1
    {kCos, 29, {2, 0, 0, 0, 0}, 0.0},    // 29 cos d2
    {kSin, 10, {2, 0, 0, 0, 0}, 0.0},    // 10 sin d2
    {kCos, 4, {3, 0, 0, 0, 0}, 0.0},     // 4 cos d3
    {kSin, 14, {3, 0, 0, 0, 0}, 0.0},    // 14 sin d3
    {kCos, -19, {0, 1, 0, 0, 0}, 0.0},   // -19 cos d4
    {kSin, 13, {0, 1, 0, 0, 0}, 0.0},    // 13 sin d4
    {kCos, -21, {0, 0, 1, 0, 0}, 0.0},   // -21 cos d5
    {kSin, -49, {0, 0, 1, 0, 0}, 0.0},   // -49 sin d5
    {kCos, 20, {0, 0, 0, 1, 0}, 0.0},    // 20 cos d6
    {kSin, 143, {0, 0, 0, 1, 0}, 0.0},   // 143 sin d6
    {kCos, 76, {0, 0, 0, 0, 1}, 0.0},    // 76 cos d7
    {kSin, -102, {0, 0, 0, 0, 1}, 0.0},  // -102 sin d7
};
// Coefficient of sin U.
constexpr PeriodicTerm kA1[] = {
    {kCos, -16, {3, 0, 0, 0, 0}, 0.0},  // -16 cos d3
    {kSin, 8, {3, 0, 0, 0, 0}, 0.0},    // 8 sin d3
    {kCos, 4, {0, 0, 1, 0, 0}, 0.0},    // 4 cos d5
    {kSin, -2, {0, 0, 1, 0, 0}, 0.0},   // -2 sin d5
};
// Coefficient of cos U.
constexpr PeriodicTerm kB1[] = {
    {kCos, -5, {1, 0, 0, 0, 0}, 0.0},  // -5 cos d1
    {kSin, 4, {1, 0, 0, 0, 0}, 0.0},   // 4 sin d1
    {kCos, 9, {3, 0, 0, 0, 0}, 0.0},   // 9 cos d3
    {kSin, 18, {3, 0, 0, 0, 0}, 0.0},  // 18 sin d3
};
// Coefficients of sin 3U and cos 3U.
constexpr PeriodicTerm kA3[] = {
    {kCos, -5, {0, 1, 0, 0, 0}, 0.0},  // -5 cos d4
    {kSin, 3, {0, 1, 0, 0, 0}, 0.0},   // 3 sin d4
};
constexpr PeriodicTerm kB3[] = {
    {kCos, 3, {0, 1, 0, 0, 0}, 0.0},  // 3 cos d4
    {kSin, 5, {0, 1, 0, 0, 0}, 0.0},  // 5 sin d4
};

}  // namespace

SeriesResult UranusSeries(double T) {
  const double T2 = T * T;
  const double T1 = T + 1;
  const double J = 3.9343 + 52.9691 * T;  // Jupiter
  const double S = 3.0675 + 21.3299 * T;  // Saturn
  const double U = 1.297 + 7.4788 * T;    // Uranus's mean anomaly
  const double N = 0.7215 + 3.813 * T;    // Neptune
  const double L = 4.247475 + 7.503143 * T + 0.00017 * T2;

  const TermArguments d{{U - N, S - U, J - U, S - 2 * U, 3 * U - S}};
  const double A0 = SumTerms<kA0>(0.0, d) + 17 * T1 / 2 - 22 + 7 * (T1 * T1) / 4;
  const double A1 = SumTerms<kA1>(0.0, d) + 112 * T - 2 * T2 - 8;
  const double B1 = SumTerms<kB1>(0.0, d) - 68 * T - 10 * T2 + 4 * T1;
  const double A2 = 7 * T;
  const double B2 = -4 * T;
  const double A3 = SumTerms<kA3>(0.0, d);
  const double B3 = SumTerms<kB3>(0.0, d);

  const double dL = A0 + A1 * std::sin(U) + B1 * std::cos(U) + A2 * std::sin(2 * U) +
                    B2 * std::cos(2 * U) + A3 * std::sin(3 * U) + B3 * std::cos(3 * U) +
                    19402 * std::sin(U) + 570 * std::sin(2 * U) + 23 * std::sin(3 * U);
  const double lambda = L + dL / kArcsecPerRadian;
  const double u = lambda - 1.2826 - 0.0089 * T;  // argument of latitude

  const double drho = -71 * T * std::sin(U) - 130 * T * std::cos(U) - 76 * std::sin(U - S) -
                      133 * std::cos(2 * U - S) - 103 * std::cos(U - J) - 45 * std::sin(U - J);
  const double logR = (-20414 * std::cos(U) - 720 * std::cos(2 * U) + drho) / 1000000 + 1.283294;
  const double r = Power10(logR);

  // No reduction of the longitude to the ecliptic: the inclination is small.
  const double s = 0.013485 * std::sin(u);
  const double beta = std::atan(s / std::sqrt(1 - s * s));

  return FinishSeries(lambda, beta, r, T);
}

}  // namespace meridan
