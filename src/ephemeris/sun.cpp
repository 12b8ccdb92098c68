#include "ephemeris/sun.h"

#include "ephemeris/periodic_terms.h"

namespace meridan {
namespace {

// Arguments A Venus, M the Sun's mean anomaly, B Mars, J Jupiter, D the
// Moon's mean elongation (radians); every term a cosine.
constexpr PeriodicTerm kLongitudeTerms[] = {
    {kCos, 0.00002346, {1, -1, 0, 0, 0}, 5.2203},  // cos(A - M + 5.2203)
    {kCos, 0.00002679, {2, -2, 0, 0, 0}, 2.5886},  // cos(2A - 2M + 2.5886)
    {kCos, 0.00001211, {2, -3, 0, 0, 0}, 5.5143},  // cos(2A - 3M + 5.5143)
    {kCos, 0.00000756, {3, -4, 0, 0, 0}, 6.0258},  // cos(3A - 4M + 6.0258)
    {kCos, 0.00000496, {3, -5, 0, 0, 0}, 5.5528},  // cos(3A - 5M + 5.5528)
    {kCos, 0.0000099, {0, 2, -2, 0, 0}, 6.002},    // cos(2M - 2B + 6.002)
    {kCos, 0.00000858, {0, 1, -2, 0, 0}, 3.4977},  // cos(M - 2B + 3.4977)
    {kCos, 0.00003495, {0, 1, 0, -1, 0}, 3.1334},  // cos(M - J + 3.1334)
    {kCos, 0.00001261, {0, 0, 0, -1, 0}, 4.594},   // cos(4.594 - J)
    {kCos, 0.00001324, {0, 2, 0, -2, 0}, 1.521},   // cos(2M - 2J + 1.521)
    {kCos, 0.00000781, {0, 1, 0, -2, 0}, 1.911},   // cos(M - 2J + 1.911)
};

// Correction of the logarithm of the radius vector, millionths.
constexpr PeriodicTerm kRadiusTerms[] = {
    {kCos, 13.4, {0, 0, 0, 0, 1}, 0.0},     // cos D
    {kCos, 2.4, {1, -1, 0, 0, 0}, 3.6491},  // cos(A - M + 3.6491)
    {kCos, 6.8, {2, -2, 0, 0, 0}, 1.0178},  // cos(2A - 2M + 1.0178)
    {kCos, 1.0, {3, -3, 0, 0, 0}, 1.5284},  // cos(3A - 3M + 1.5284)
    {kCos, 1.5, {3, -4, 0, 0, 0}, 4.455},   // cos(3A - 4M + 4.455)
    {kCos, 2.1, {0, 2, -2, 0, 0}, 4.4301},  // cos(2M - 2B + 4.4301)
    {kCos, 7.1, {0, 1, 0, -1, 0}, 1.5629},  // cos(M - J + 1.5629)
    {kCos, 4.0, {0, 2, 0, -2, 0}, 6.2327},  // cos(2M - 2J + 6.2327)
    {kCos, 1.5, {0, 1, 0, -2, 0}, 0.3398},  // cos(M - 2J + 0.3398)
};

}  // namespace

SeriesResult SunSeries(double T) {
  const double T2 = T * T;
  const double m0 = Reduce2Pi(6.25658358 + 628.301946 * T + 0.0000026 * T2);
  const double M =
      m0 + 0.000031 * std::sin(4.035 + 0.3526 * T) + 0.0000091 * std::sin(0.999 + 2.6227 * T);
  const double e = 0.01675104 - 0.0000418 * T;
  const double nu = M + (0.0335009 - 0.00008358 * T) * std::sin(M) +
                    (0.0003507 - 0.00000175 * T) * std::sin(2 * M) + 0.00000511 * std::sin(3 * M);
  double lambda = 4.908229 + 0.03000526 * T + 0.0000079 * T2 + nu;

  const double A = 3.708 + 1021.3229 * T;  // Venus
  const double B = 5.5777 + 334.0556 * T;  // Mars
  const double J = 3.9319 + 52.9635 * T;   // Jupiter
  const double D = 6.1215 + 7771.38 * T;   // the Moon's mean elongation

  const TermArguments x{{A, M, B, J, D}};
  lambda = lambda + 0.0000312 * std::sin(D);
  lambda = SumTerms<kLongitudeTerms>(lambda, x);

  double S = SumTerms<kRadiusTerms>(0.0, x);
  const double f = Power10(S / 1000000);
  const double e2 = e * e;
  const double e3 = e2 * e;
  const double R = (1 + e2 / 2 + (3 * e3 / 8 - e) * std::cos(M) - (e2 / 2) * std::cos(2 * M) -
                    (3 * e3 / 8) * std::cos(3 * M)) *
                   f;

  const double beta = 0.0;  // the Sun stays on the ecliptic
  return FinishSeries(lambda, beta, R, T);
}

void SunPosition(double julianDay, double& longitude, SunVector& sun) {
  const double T = JulianCenturies(julianDay);
  sun = SunVector{};
  sun = SunSeries(T).xyz;
  longitude = Normalize360(EquatorialToEclipticLongitude(sun));
}

}  // namespace meridan
