// Jupiter: a time-argument theory. The perturbations by Saturn and Uranus
// shift the planet's orbital time (D, millionths of a day) and scale the
// radius vector (G, ten-millionths of its decimal logarithm); the shifted
// time gives the mean anomaly and a short equation of centre the true one.
// Time in Julian years from 1850 January 0.5; angles in radians, arcsecond
// coefficients over 206264.806247. Heliocentric, ecliptic and mean equinox of
// date; X, Y, Z on the mean equator of date, AU.
#include "ephemeris/jupiter.h"

#include "ephemeris/jupiter_saturn.h"

namespace meridan {
namespace {

constexpr double kRevolutionsPerYear = 0.08430296;

// Time perturbation D, millionths of a day:
// (amplitude + qAmplitude q) sin(kS S + kJ J + kU U + phase + rate t).
constexpr PeriodicTerm kTimeTerms[] = {
    {kSin, 0, {0, -1, 0, 0, 0}, 3.969972, 39928, 0},       //  1  39928 q sin(3.969972 - J)
    {kSin, 37294, {1, 0, 0, 0, 0}, 2.634308},              //  2  sin(S + 2.634308)
    {kSin, 266919, {1, -1, 0, 0, 0}, 1.382349},            //  3  sin(S - J + 1.382349)
    {kSin, 22776, {2, 0, 0, 0, 0}, 2.161241},              //  4  sin(2S + 2.161241)
    {kSin, 411235, {2, -1, 0, 0, 0}, 0.02466},             //  5  sin(2S - J + 0.02466)
    {kSin, 650670, {2, -2, 0, 0, 0}, 5.879958},            //  6  sin(2S - 2J + 5.879958)
    {kSin, 46930, {3, -1, 0, 0, 0}, 5.448768},             //  7  sin(3S - J + 5.448768)
    {kSin, 276299, {3, -2, 0, 0, 0}, 2.223234},            //  8  sin(3S - 2J + 2.223234)
    {kSin, 54251, {3, -3, 0, 0, 0}, 1.007312},             //  9  sin(3S - 3J + 1.007312)
    {kSin, 56290, {4, -2, 0, 0, 0}, 1.718587},             // 10  sin(4S - 2J + 1.718587)
    {kSin, 50072, {4, -3, 0, 0, 0}, 0.454571},             // 11  sin(4S - 3J + 0.454571)
    {kSin, 538023, {5, -3, 0, 0, 0}, 3.079881},            // 12  sin(5S - 3J + 3.079881)
    {kSin, 0, {5, -3, 0, 0, 0}, 1.411884, 1888, 0},        // 13  1888 q sin(5S - 3J + 1.411884)
    {kSin, 36853, {10, -4, 0, 0, 0}, 5.4748, 0, 0.00071},  // 14  sin(10S - 4J + 5.4748 + 0.00071 t)
    {kSin,
     3998745,
     {5, -2, 0, 0, 0},
     1.171968,
     -2213,
     -0.0003974},  // 15  (3998745 - 2213 q) sin(5S - 2J + 1.171968 - 0.0003974 t)
    {kSin, 28956, {6, -2, -3, 0, 0}, 3.27831},  // 16  sin(6S - 2J - 3U + 3.27831)
};

// Radius factor G, ten-millionths of the decimal logarithm:
// (amplitude + qAmplitude q) cos(kS S + kJ J + kU U + phase).
constexpr PeriodicTerm kRadiusTerms[] = {
    {kCos, 0, {0, -1, 0, 0, 0}, 3.9698, 126, 0},  // 126 q cos(3.9698 - J)
    {kCos, 545, {1, -1, 0, 0, 0}, 1.3821},        // cos(S - J + 1.3821)
    {kCos, 61, {2, 0, 0, 0, 0}, 5.3265},          // cos(2S + 5.3265)
    {kCos, 383, {2, -1, 0, 0, 0}, 6.2167},        // cos(2S - J + 6.2167)
    {kCos, 2303, {2, -2, 0, 0, 0}, 5.88},         // cos(2S - 2J + 5.88)
    {kCos, 62, {2, -3, 0, 0, 0}, 5.8151},         // cos(2S - 3J + 5.8151)
    {kCos, 56, {3, -1, 0, 0, 0}, 2.322},          // cos(3S - J + 2.322)
    {kCos, 738, {3, -2, 0, 0, 0}, 2.2095},        // cos(3S - 2J + 2.2095)
    {kCos, 241, {3, -3, 0, 0, 0}, 1.0213},        // cos(3S - 3J + 1.0213)
    {kCos, 85, {4, -2, 0, 0, 0}, 1.6416},         // cos(4S - 2J + 1.6416)
    {kCos, 193, {4, -3, 0, 0, 0}, 0.4714},        // cos(4S - 3J + 0.4714)
    {kCos, 60, {4, -4, 0, 0, 0}, 2.2314},         // cos(4S - 4J + 2.2314)
    {kCos, 229, {5, -2, 0, 0, 0}, 4.152},         // cos(5S - 2J + 4.152)
    {kCos, 1679, {5, -3, 0, 0, 0}, 3.0787},       // cos(5S - 3J + 3.0787)
    {kCos, 65, {5, -4, 0, 0, 0}, 2.4648},         // cos(5S - 4J + 2.4648)
};

}  // namespace

SeriesResult JupiterSeries(double T) {
  const TermArguments a = JupiterSaturnArguments(T, kRevolutionsPerYear);
  const double t = a.t;
  const double q = a.q;

  double tau = 4.877675 + t;
  const double D = SumTerms<kTimeTerms>(0.0, a);
  tau = tau + D / 1000000 / 365.25;

  const double G = SumTerms<kRadiusTerms>(0.0, a);
  const double f = Power10(G / 10000000);

  // 109256.6 arcseconds a year.
  const double M = 0.5296909443153688 * tau;
  const double nu =
      M + (19900 * std::sin(M) + 600 * std::sin(2 * M) + 25 * std::sin(3 * M)) / kArcsecPerRadian;
  double lambda = nu + 0.207824;
  const double s =
      0.02289 * std::sin(lambda - 1.7267) + 4.4 / kArcsecPerRadian * q * std::sin(nu + 0.62);
  // Both terms use the longitude before this step; 50.265" a year is the
  // precession to the equinox of date.
  lambda = lambda + 27.0 / kArcsecPerRadian * std::sin(2 * lambda + 5.9711) +
           50.265 / kArcsecPerRadian * t;
  const double r = 5.1906885 / (1 + 0.0482538 * std::cos(nu)) * f;
  const double beta = std::atan(s / std::sqrt(1 - s * s));

  return FinishSeries(lambda, beta, r, T);
}

}  // namespace meridan
