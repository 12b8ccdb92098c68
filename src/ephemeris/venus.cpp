// Venus: an elliptic orbit written as Fourier series in the mean anomaly
// (equation of centre in arcseconds, decimal logarithm of the radius vector
// in millionths) on the epoch 1900 January 0.5, with periodic perturbations
// by the Earth, Mars and Jupiter and one long-period term. Heliocentric
// ecliptic lambda, beta in radians and r in AU for the mean equinox of date;
// X, Y, Z in AU on the mean equator and equinox of date. T is Julian
// centuries since 1900 January 0.5.

#include "ephemeris/venus.h"

#include "ephemeris/periodic_terms.h"

namespace meridan {
namespace {

// Columns E the Earth, M Venus, Ma Mars, J Jupiter (mean anomalies,
// radians); every term a cosine. No argument has more than two non-zero
// multipliers, so the sum of products is bit-identical to the published form
// whatever the column order.
constexpr PeriodicTerm kLongitudeTerms[] = {
    {kCos, 4.9, {1, -1, 0, 0, 0}, -2.0788},   // cos(E - M - 2.0788)
    {kCos, 11.3, {2, -2, 0, 0, 0}, -2.587},   // cos(2E - 2M - 2.587)
    {kCos, 7.1, {3, -3, 0, 0, 0}, -6.2384},   // cos(3E - 3M - 6.2384)
    {kCos, 3.4, {3, -2, 0, 0, 0}, -2.3721},   // cos(3E - 2M - 2.3721)
    {kCos, 1.0, {4, -4, 0, 0, 0}, -0.4632},   // cos(4E - 4M - 0.4632)
    {kCos, 1.6, {5, -4, 0, 0, 0}, -3.3847},   // cos(5E - 4M - 3.3847)
    {kCos, 1.4, {5, -3, 0, 0, 0}, -2.4099},   // cos(5E - 3M - 2.4099)
    {kCos, 2.8, {13, -8, 0, 0, 0}, -3.9784},  // cos(13E - 8M - 3.9784)
    {kCos, 1.2, {0, -1, 3, 0, 0}, -4.1464},   // cos(3Ma - M - 4.1464)
    {kCos, 3.0, {0, -1, 0, 1, 0}, -3.6318},   // cos(J - M - 3.6318)
    {kCos, 1.6, {0, 0, 0, 1, 0}, -4.6829},    // cos(J - 4.6829)
};

// Perturbations of log r, millionths.
constexpr PeriodicTerm kRadiusTerms[] = {
    {kCos, 2.2, {1, -1, 0, 0, 0}, -0.5081},  // cos(E - M - 0.5081)
    {kCos, 9.8, {2, -2, 0, 0, 0}, -1.0159},  // cos(2E - 2M - 1.0159)
    {kCos, 8.3, {3, -3, 0, 0, 0}, -4.6674},  // cos(3E - 3M - 4.6674)
    {kCos, 0.7, {3, -2, 0, 0, 0}, -0.8268},  // cos(3E - 2M - 0.8268)
    {kCos, 1.4, {4, -4, 0, 0, 0}, -5.1747},  // cos(4E - 4M - 5.1747)
    {kCos, 0.5, {5, -5, 0, 0, 0}, -5.7009},  // cos(5E - 5M - 5.7009)
    {kCos, 1.6, {5, -4, 0, 0, 0}, -1.8188},  // cos(5E - 4M - 1.8188)
    {kCos, 0.7, {0, -2, 3, 0, 0}, -2.2969},  // cos(3Ma - 2M - 2.2969)
    {kCos, 3.0, {0, -1, 0, 1, 0}, -2.0611},  // cos(J - M - 2.0611)
    {kCos, 1.3, {0, -2, 0, 2, 0}, -0.9628},  // cos(2J - 2M - 0.9628)
};

}  // namespace

SeriesResult VenusSeries(double T) {
  const double T2 = T * T;
  const double M = Reduce2Pi(3.71062623 + 1021.32835 * T + 0.0000224 * T2);

  const double rho = 5.1 - (2962.4 - 20.7 * T) * std::cos(M) - 15.2 * std::cos(2 * M);
  double logR = rho / 1000000 - 0.14066255;
  const double C = (2813.72 - 19.69 * T) * std::sin(M) + (12.0 - 0.17 * T) * std::sin(2 * M);
  // Mean anomaly plus equation of centre plus longitude of perihelion.
  double lambda = M + C / kArcsecPerRadian + 2.271787 + (5068.9 * T - 3.5 * T2) / kArcsecPerRadian;

  const double E = 6.2593 + 628.3074 * T;  // the Earth
  const double Ma = 5.5805 + 334.061 * T;  // Mars
  const double J = 3.9345 + 52.9689 * T;   // Jupiter
  const TermArguments x{{E, M, Ma, J}};
  double dL = SumTerms<kLongitudeTerms>(0.0, x);
  dL = dL + 2.8 * std::sin(4.1406 + 2.6227 * T);
  double drho = SumTerms<kRadiusTerms>(0.0, x);

  logR = logR + drho / 1000000;
  const double r = Power10(logR);
  lambda = lambda + dL / kArcsecPerRadian;

  // Argument of latitude, then the reduction of the orbital longitude to the
  // ecliptic and the latitude from the inclination.
  const double u = lambda - 1.322604 - 0.015705 * T;
  lambda = lambda - 181.0 / kArcsecPerRadian * std::sin(2 * u);
  const double i = 0.05923 + 0.000018 * T;
  const double s = std::sin(i) * std::sin(u);
  const double beta = std::atan(s / std::sqrt(1 - s * s)) + 3.6 / kArcsecPerRadian * std::sin(u);

  return FinishSeries(lambda, beta, r, T);
}

}  // namespace meridan
