// Jupiter: a time-argument theory. The perturbations by Saturn and Uranus
// shift the planet's orbital time (D, millionths of a day) and scale the
// radius vector (G, ten-millionths of its decimal logarithm); the shifted
// time gives the mean anomaly and a short equation of centre the true one.
// Time in Julian years from 1850 January 0.5; angles in radians, arcsecond
// coefficients over 206264.806247. Heliocentric, ecliptic and mean equinox of
// date; X, Y, Z on the mean equator of date, AU.
#include "engine/ephemeris/Com_jup_tra.h"

#include "engine/ephemeris/positions.h"
#include "engine/ephemeris/time_perturbations.h"

namespace meridan {
namespace {

constexpr double kRevolutionsPerYear = 0.08430296;

// Time perturbation D, millionths of a day:
// (amplitude + qAmplitude q) sin(kS S + kJ J + kU U + phase + rate t).
constexpr PlanetTerm kTimeTerms[] = {
    {0, 39928, 0, -1, 0, 3.969972, 0},              //  1  39928 q sin(3.969972 - J)
    {37294, 0, 1, 0, 0, 2.634308, 0},               //  2  sin(S + 2.634308)
    {266919, 0, 1, -1, 0, 1.382349, 0},             //  3  sin(S - J + 1.382349)
    {22776, 0, 2, 0, 0, 2.161241, 0},               //  4  sin(2S + 2.161241)
    {411235, 0, 2, -1, 0, 0.02466, 0},              //  5  sin(2S - J + 0.02466)
    {650670, 0, 2, -2, 0, 5.879958, 0},             //  6  sin(2S - 2J + 5.879958)
    {46930, 0, 3, -1, 0, 5.448768, 0},              //  7  sin(3S - J + 5.448768)
    {276299, 0, 3, -2, 0, 2.223234, 0},             //  8  sin(3S - 2J + 2.223234)
    {54251, 0, 3, -3, 0, 1.007312, 0},              //  9  sin(3S - 3J + 1.007312)
    {56290, 0, 4, -2, 0, 1.718587, 0},              // 10  sin(4S - 2J + 1.718587)
    {50072, 0, 4, -3, 0, 0.454571, 0},              // 11  sin(4S - 3J + 0.454571)
    {538023, 0, 5, -3, 0, 3.079881, 0},             // 12  sin(5S - 3J + 3.079881)
    {0, 1888, 5, -3, 0, 1.411884, 0},               // 13  1888 q sin(5S - 3J + 1.411884)
    {36853, 0, 10, -4, 0, 5.4748, 0.00071},         // 14  sin(10S - 4J + 5.4748 + 0.00071 t)
    {3998745, -2213, 5, -2, 0, 1.171968, -0.0003974},  // 15  (3998745 - 2213 q) sin(5S - 2J + 1.171968 - 0.0003974 t)
    {28956, 0, 6, -2, -3, 3.27831, 0},              // 16  sin(6S - 2J - 3U + 3.27831)
};

// Radius factor G, ten-millionths of the decimal logarithm:
// (amplitude + qAmplitude q) cos(kS S + kJ J + kU U + phase).
constexpr PlanetTerm kRadiusTerms[] = {
    {0, 126, 0, -1, 0, 3.9698, 0},   // 126 q cos(3.9698 - J)
    {545, 0, 1, -1, 0, 1.3821, 0},   // cos(S - J + 1.3821)
    {61, 0, 2, 0, 0, 5.3265, 0},     // cos(2S + 5.3265)
    {383, 0, 2, -1, 0, 6.2167, 0},   // cos(2S - J + 6.2167)
    {2303, 0, 2, -2, 0, 5.88, 0},    // cos(2S - 2J + 5.88)
    {62, 0, 2, -3, 0, 5.8151, 0},    // cos(2S - 3J + 5.8151)
    {56, 0, 3, -1, 0, 2.322, 0},     // cos(3S - J + 2.322)
    {738, 0, 3, -2, 0, 2.2095, 0},   // cos(3S - 2J + 2.2095)
    {241, 0, 3, -3, 0, 1.0213, 0},   // cos(3S - 3J + 1.0213)
    {85, 0, 4, -2, 0, 1.6416, 0},    // cos(4S - 2J + 1.6416)
    {193, 0, 4, -3, 0, 0.4714, 0},   // cos(4S - 3J + 0.4714)
    {60, 0, 4, -4, 0, 2.2314, 0},    // cos(4S - 4J + 2.2314)
    {229, 0, 5, -2, 0, 4.152, 0},    // cos(5S - 2J + 4.152)
    {1679, 0, 5, -3, 0, 3.0787, 0},  // cos(5S - 3J + 3.0787)
    {65, 0, 5, -4, 0, 2.4648, 0},    // cos(5S - 4J + 2.4648)
};

}  // namespace

SeriesResult JupiterSeries(double T) {
  const PlanetArguments a = JupiterSaturnArguments(T, kRevolutionsPerYear);
  const double t = a.t;
  const double q = a.q;

  double tau = 4.877675 + t;
  const double D = SumSines(0.0, kTimeTerms, a);
  tau = tau + D / 1000000 / 365.25;

  const double G = SumCosines(0.0, kRadiusTerms, a);
  const double f = Power10(G / 10000000);

  // 109256.6 arcseconds a year.
  const double M = 0.5296909443153688 * tau;
  const double nu =
      M + (19900 * std::sin(M) + 600 * std::sin(2 * M) + 25 * std::sin(3 * M)) / kArcsecPerRadian;
  double lambda = nu + 0.207824;
  const double s = 0.02289 * std::sin(lambda - 1.7267) +
                   4.4 / kArcsecPerRadian * q * std::sin(nu + 0.62);
  // Both terms use the longitude before this step; 50.265" a year is the
  // precession to the equinox of date.
  lambda = lambda + 27.0 / kArcsecPerRadian * std::sin(2 * lambda + 5.9711) +
           50.265 / kArcsecPerRadian * t;
  const double r = 5.1906885 / (1 + 0.0482538 * std::cos(nu)) * f;
  const double beta = std::atan(s / std::sqrt(1 - s * s));

  return FinishSeries(lambda, beta, r, T);
}

void JupiterPosition(double julianDay, double& longitude, SunVector& sun) {
  PlanetPosition(julianDay, JupiterSeries, longitude, sun);
}

}  // namespace meridan
