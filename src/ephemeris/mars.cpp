// Mars: an elliptic orbit written as Fourier series in the mean anomaly
// (equation of centre in arcseconds, decimal logarithm of the radius vector
// in millionths) on the epoch 1900 January 0.5, with a long-period term in
// the mean anomaly and periodic perturbations by Venus, the Earth and
// Jupiter. Heliocentric ecliptic lambda, beta in radians and r in AU for the
// mean equinox of date; X, Y, Z in AU on the mean equator and equinox of
// date. T is Julian centuries since 1900 January 0.5.

#include "ephemeris/mars.h"

#include "ephemeris/periodic_terms.h"

namespace meridan {
namespace {

// Columns Mp Mars, V Venus, E the Earth, J Jupiter (mean anomalies,
// radians); every term a cosine. No argument has more than two non-zero
// multipliers, so the sum of products is bit-identical to the published form
// whatever the column order.
constexpr PeriodicTerm kLongitudeTerms[] = {
    {kCos, 6.4, {3, -1, 0, 0, 0}, -1.0053},   // cos(3Mp - V - 1.0053)
    {kCos, 8.6, {1, 0, -1, 0, 0}, -0.6126},   // cos(Mp - E - 0.6126)
    {kCos, 14.0, {2, 0, -1, 0, 0}, -0.3577},  // cos(2Mp - E - 0.3577)
    {kCos, 7.4, {3, 0, -2, 0, 0}, -2.7688},   // cos(3Mp - 2E - 2.7688)
    {kCos, 4.9, {4, 0, -2, 0, 0}, -2.6894},   // cos(4Mp - 2E - 2.6894)
    {kCos, 2.6, {5, 0, -3, 0, 0}, -4.897},    // cos(5Mp - 3E - 4.897)
    {kCos, 3.1, {-2, 0, 0, 1, 0}, -0.8165},   // cos(J - 2Mp - 0.8165)
    {kCos, 25.4, {-1, 0, 0, 1, 0}, -0.8545},  // cos(J - Mp - 0.8545)
    {kCos, 3.7, {0, 0, 0, 1, 0}, -5.9757},    // cos(J - 5.9757)
    {kCos, 2.1, {-3, 0, 0, 2, 0}, -3.3637},   // cos(2J - 3Mp - 3.3637)
    {kCos, 16.0, {-2, 0, 0, 2, 0}, -3.3492},  // cos(2J - 2Mp - 3.3492)
    {kCos, 21.9, {-1, 0, 0, 2, 0}, -3.2873},  // cos(2J - Mp - 3.2873)
    {kCos, 2.6, {-2, 0, 0, 3, 0}, -3.9864},   // cos(3J - 2Mp - 3.9864)
    {kCos, 3.2, {-1, 0, 0, 3, 0}, -3.6164},   // cos(3J - Mp - 3.6164)
    {kCos, 1.6, {15, 0, -8, 0, 0}, -2.9694},  // cos(15Mp - 8E - 2.9694)
    {kCos, 1.5, {3, 0, -1, 0, 0}, -0.3871},   // cos(3Mp - E - 0.3871)
    {kCos, 1.5, {0, 0, 0, 2, 0}, -3.3103},    // cos(2J - 3.3103)
    {kCos, 1.3, {-3, 0, 0, 3, 0}, -2.9369},   // cos(3J - 3Mp - 2.9369)
    {kCos, 1.2, {7, 0, -4, 0, 0}, -0.7268},   // cos(7Mp - 4E - 0.7268)
};

// Perturbations of log r, millionths.
constexpr PeriodicTerm kRadiusTerms[] = {
    {kCos, 7.0, {1, 0, -1, 0, 0}, -0.6126},   // cos(Mp - E - 0.6126)
    {kCos, 2.9, {2, 0, -1, 0, 0}, -1.9757},   // cos(2Mp - E - 1.9757)
    {kCos, 6.4, {3, 0, -2, 0, 0}, -1.1977},   // cos(3Mp - 2E - 1.1977)
    {kCos, 3.9, {-2, 0, 0, 1, 0}, -5.522},    // cos(J - 2Mp - 5.522)
    {kCos, 23.1, {-1, 0, 0, 1, 0}, -5.5653},  // cos(J - Mp - 5.5653)
    {kCos, 3.0, {-3, 0, 0, 2, 0}, -1.7957},   // cos(2J - 3Mp - 1.7957)
    {kCos, 22.1, {-2, 0, 0, 2, 0}, -1.7801},  // cos(2J - 2Mp - 1.7801)
    {kCos, 16.6, {-1, 0, 0, 2, 0}, -1.7162},  // cos(2J - Mp - 1.7162)
    {kCos, 3.4, {-2, 0, 0, 3, 0}, -2.4389},   // cos(3J - 2Mp - 2.4389)
};

}  // namespace

SeriesResult MarsSeries(double T) {
  const double T2 = T * T;
  double M = Reduce2Pi(5.576661 + 334.053549 * T + 0.00000316 * T2);

  // Mean anomalies of the perturbing planets, reduced; Jupiter's carries a
  // long-period term of its own.
  const double V = Reduce2Pi(3.7069 + 1021.3208 * T);  // Venus
  const double E = Reduce2Pi(6.2555 + 628.2998 * T);   // the Earth
  const double J = Reduce2Pi(3.9306 + 52.9614 * T + 0.0058 * std::sin(2.3457 + 0.672 * T));

  M = M + 52.5 / kArcsecPerRadian * std::sin(0.8287 + 0.3451 * T);

  const double rho = 946.3 + 1.8 * T - (40391.7 + 39.0 * T) * std::cos(M) -
                     (2820.9 + 5.4 * T) * std::cos(2 * M) - (248.1 + 0.7 * T) * std::cos(3 * M) -
                     24.1 * std::cos(4 * M) - 2.5 * std::cos(5 * M);
  double logR = rho / 1000000 + 0.182897;
  const double C = (38450.9 + 37.3 * T) * std::sin(M) + (2237.7 + 4.3 * T) * std::sin(2 * M) +
                   (180.6 + 0.5 * T) * std::sin(3 * M) + 16.6 * std::sin(4 * M) +
                   1.7 * std::sin(5 * M);
  // Mean anomaly plus equation of centre plus longitude of perihelion.
  double lambda = M + C / kArcsecPerRadian + 5.833208 + 6626.7 / kArcsecPerRadian * T;

  // The perturbation arguments use a mean anomaly of their own, without the
  // long-period term.
  const double Mp = Reduce2Pi(5.576851 + 334.05356 * T);
  const TermArguments x{{Mp, V, E, J}};
  double dL = SumTerms<kLongitudeTerms>(0.0, x);
  double drho = SumTerms<kRadiusTerms>(0.0, x);

  logR = logR + drho / 1000000;
  const double r = Power10(logR);
  lambda = lambda + dL / kArcsecPerRadian;

  // Argument of latitude, then the reduction of the orbital longitude to the
  // ecliptic and the latitude from the inclination.
  const double u = lambda - 0.851483 - 0.0134565 * T;
  lambda = lambda - 53.8 / kArcsecPerRadian * std::sin(2 * u);
  const double i = 0.032293 - 0.000012 * T;
  const double s = std::sin(i) * std::sin(u);
  const double beta = std::atan(s / std::sqrt(1 - s * s)) - 2.25 / kArcsecPerRadian * std::sin(u);

  return FinishSeries(lambda, beta, r, T);
}

}  // namespace meridan
