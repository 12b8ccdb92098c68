// Uranus: Fourier series in the mean anomaly U whose amplitudes carry the
// perturbations by Jupiter, Saturn and Neptune. The longitude is the mean
// longitude plus the series (arcseconds, over 206264.806247); the radius
// comes from its decimal logarithm. T in Julian centuries from 1900 January
// 0.5; angles in radians. Heliocentric, ecliptic and mean equinox of date;
// X, Y, Z on the mean equator of date, AU.
#include "engine/ephemeris/Com_Ura_tra.h"

#include <cmath>
#include <cstddef>

#include "engine/ephemeris/positions.h"

namespace meridan {
namespace {

// The perturbing arguments the amplitudes are built from.
enum Arg { d1, d2, d3, d4, d5, d6, d7, kArgCount };

// cosine cos d + sine sin d, arcseconds; added to the amplitude in that order.
struct AmplitudeTerm {
  Arg d;
  double cosine;
  double sine;
};

// A0, before its terms in T1 = T + 1.
constexpr AmplitudeTerm kA0[] = {
    {d1, -29, 20},   // -29 cos d1 + 20 sin d1
    {d2, 29, 10},    // 29 cos d2 + 10 sin d2
    {d3, 4, 14},     // 4 cos d3 + 14 sin d3
    {d4, -19, 13},   // -19 cos d4 + 13 sin d4
    {d5, -21, -49},  // -21 cos d5 - 49 sin d5
    {d6, 20, 143},   // 20 cos d6 + 143 sin d6
    {d7, 76, -102},  // 76 cos d7 - 102 sin d7
};

// A1, the coefficient of sin U, before its terms in T.
constexpr AmplitudeTerm kA1[] = {
    {d3, -16, 8},  // -16 cos d3 + 8 sin d3
    {d5, 4, -2},   // 4 cos d5 - 2 sin d5
};

// B1, the coefficient of cos U, before its terms in T.
constexpr AmplitudeTerm kB1[] = {
    {d1, -5, 4},  // -5 cos d1 + 4 sin d1
    {d3, 9, 18},  // 9 cos d3 + 18 sin d3
};

// A3 and B3, the coefficients of sin 3U and cos 3U.
constexpr AmplitudeTerm kA3[] = {
    {d4, -5, 3},  // -5 cos d4 + 3 sin d4
};
constexpr AmplitudeTerm kB3[] = {
    {d4, 3, 5},  // 3 cos d4 + 5 sin d4
};

template <std::size_t N>
double Amplitude(const AmplitudeTerm (&terms)[N], const double (&d)[kArgCount]) {
  double sum = 0.0;
  for (const AmplitudeTerm& k : terms) {
    sum = sum + k.cosine * std::cos(d[k.d]);
    sum = sum + k.sine * std::sin(d[k.d]);
  }
  return sum;
}

}  // namespace

SeriesResult UranusSeries(double T) {
  const double T2 = T * T;
  const double T1 = T + 1;
  const double J = 3.9343 + 52.9691 * T;  // Jupiter
  const double S = 3.0675 + 21.3299 * T;  // Saturn
  const double U = 1.297 + 7.4788 * T;    // Uranus's mean anomaly
  const double N = 0.7215 + 3.813 * T;    // Neptune
  const double L = 4.247475 + 7.503143 * T + 0.00017 * T2;

  const double d[kArgCount] = {U - N, 2 * (U - N), 3 * (U - N), S - U, J - U, S - 2 * U, 3 * U - S};
  const double A0 = Amplitude(kA0, d) + 17 * T1 / 2 - 22 + 7 * (T1 * T1) / 4;
  const double A1 = Amplitude(kA1, d) + 112 * T - 2 * T2 - 8;
  const double B1 = Amplitude(kB1, d) - 68 * T - 10 * T2 + 4 * T1;
  const double A2 = 7 * T;
  const double B2 = -4 * T;
  const double A3 = Amplitude(kA3, d);
  const double B3 = Amplitude(kB3, d);

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

void UranusPosition(double julianDay, double& longitude, SunVector& sun) {
  PlanetPosition(julianDay, UranusSeries, longitude, sun);
}

}  // namespace meridan
