// Mercury: an elliptic orbit written as Fourier series in the mean anomaly
// (equation of centre in arcseconds, decimal logarithm of the radius vector
// in millionths) on the epoch 1900 January 0.5, with periodic perturbations
// by Venus and Jupiter. Heliocentric ecliptic lambda, beta in radians and r in
// AU for the mean equinox of date; X, Y, Z in AU on the mean equator and
// equinox of date. T is Julian centuries since 1900 January 0.5.

#include "ephemeris/mercury.h"

#include "ephemeris/periodic_terms.h"

namespace meridan {
namespace {

// Columns V Venus, M Mercury, J Jupiter (mean anomalies, radians); every
// term a cosine. No argument has more than two non-zero multipliers, so the
// sum of products is bit-identical to the published form whatever the column
// order.
constexpr PeriodicTerm kLongitudeTerms[] = {
    {kCos, 3.7, {2, -1, 0, 0, 0}, -2.8046},  // cos(2V - M - 2.8046)
    {kCos, 2.1, {2, -2, 0, 0, 0}, -2.8126},  // cos(2V - 2M - 2.8126)
    {kCos, 1.3, {3, -2, 0, 0, 0}, -1.8288},  // cos(3V - 2M - 1.8288)
    {kCos, 2.8, {5, -3, 0, 0, 0}, -6.1063},  // cos(5V - 3M - 6.1063)
    {kCos, 7.6, {5, -2, 0, 0, 0}, -6.0699},  // cos(5V - 2M - 6.0699)
    {kCos, 1.5, {5, -1, 0, 0, 0}, -6.0685},  // cos(5V - M - 6.0685)
    {kCos, 3.3, {0, -1, 2, 0, 0}, -0.6458},  // cos(2J - M - 0.6458)
};

// Perturbations of log r, millionths.
constexpr PeriodicTerm kRadiusTerms[] = {
    {kCos, 0.71, {2, -3, 0, 0, 0}, -1.2413},  // cos(2V - 3M - 1.2413)
    {kCos, 2.37, {2, -2, 0, 0, 0}, -1.2425},  // cos(2V - 2M - 1.2425)
    {kCos, 0.9, {2, -1, 0, 0, 0}, -1.2303},   // cos(2V - M - 1.2303)
    {kCos, 0.76, {2, 0, 0, 0, 0}, -4.3633},   // cos(2V - 4.3633)
    {kCos, 1.16, {3, -2, 0, 0, 0}, -0.259},   // cos(3V - 2M - 0.259)
    {kCos, 0.85, {5, -4, 0, 0, 0}, -4.5293},  // cos(5V - 4M - 4.5293)
    {kCos, 2.95, {5, -3, 0, 0, 0}, -4.5364},  // cos(5V - 3M - 4.5364)
    {kCos, 1.55, {5, -1, 0, 0, 0}, -1.357},   // cos(5V - M - 1.357)
    {kCos, 0.71, {0, -1, 1, 0, 0}, -1.5949},  // cos(J - M - 1.5949)
    {kCos, 1.18, {0, -2, 2, 0, 0}, -5.3576},  // cos(2J - 2M - 5.3576)
    {kCos, 3.27, {0, -1, 2, 0, 0}, -5.3579},  // cos(2J - M - 5.3579)
};

}  // namespace

SeriesResult MercurySeries(double T) {
  const double T2 = T * T;
  const double M = Reduce2Pi(1.78511195 + 2608.787533 * T);

  const double rho = -407563.61 + 0.92 * T - (87878.82 + 8.46 * T) * std::cos(M) -
                     (13416.31 + 2.6 * T) * std::cos(2 * M) -
                     (2579.08 + 0.75 * T) * std::cos(3 * M) - 548.05 * std::cos(4 * M) -
                     123.22 * std::cos(5 * M) - 28.74 * std::cos(6 * M) - 6.87 * std::cos(7 * M) -
                     1.68 * std::cos(8 * M);
  const double C = (84377.7 + 8.3 * T) * std::sin(M) + (10732.8 + 2.1 * T) * std::sin(2 * M) +
                   (1892.1 + 0.6 * T) * std::sin(3 * M) + 381.1 * std::sin(4 * M) +
                   82.6 * std::sin(5 * M) + 18.7 * std::sin(6 * M) + 4.4 * std::sin(7 * M) +
                   1.0 * std::sin(8 * M);
  // Mean anomaly plus equation of centre plus longitude of perihelion.
  double lambda = M + C / kArcsecPerRadian + 1.3247 + 0.027148 * T + 0.000005 * T2;

  const double V = 3.7095 + 1021.3258 * T;  // Venus
  const double J = 3.9333 + 52.9663 * T;    // Jupiter
  const TermArguments x{{V, M, J}};
  double dL = SumTerms<kLongitudeTerms>(0.0, x);
  double drho = SumTerms<kRadiusTerms>(0.0, x);

  // The constant of log r is already inside rho.
  const double r = Power10((rho + drho) / 1000000);
  lambda = lambda + dL / kArcsecPerRadian;

  // Argument of latitude, then the reduction of the orbital longitude to the
  // ecliptic and the latitude from the inclination.
  const double u = lambda - 0.822852 - 0.020686 * T;
  lambda = lambda - (772.2 * std::sin(2 * u) + 1.4 * std::sin(4 * u)) / kArcsecPerRadian;
  const double i = 0.122223 + 0.000032 * T;
  const double s = std::sin(i) * std::sin(u);
  const double beta = std::atan(s / std::sqrt(1 - s * s)) - 6.7 / kArcsecPerRadian * std::sin(u);

  return FinishSeries(lambda, beta, r, T);
}

}  // namespace meridan
