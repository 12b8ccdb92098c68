// Saturn: a time-argument theory. The perturbations by Jupiter and Uranus
// shift the planet's orbital time (D, hundred-thousandths of a day) and scale
// the radius vector (G, ten-millionths of its decimal logarithm); the shifted
// time gives the mean anomaly and a short equation of centre the true one.
// Time in Julian years from 1850 January 0.5; angles in radians, arcsecond
// coefficients over 206264.806247. Heliocentric, ecliptic and mean equinox of
// date; X, Y, Z on the mean equator of date, AU.
#include "engine/ephemeris/Com_Sat_tra.h"

#include "engine/ephemeris/positions.h"
#include "engine/ephemeris/time_perturbations.h"

namespace meridan {
namespace {

constexpr double kRevolutionsPerYear = 0.03394769;

// Time perturbation D, hundred-thousandths of a day:
// (amplitude + qAmplitude q) sin(kS S + kJ J + kU U + phase + rate t).
constexpr PlanetTerm kTimeTerms[] = {
    {0, 65776, 1, 0, 0, 4.1536, 0},             //  1  65776 q sin(S + 4.1536)
    {0, 1344, 2, 0, 0, 4.1536, 0},              //  2  1344 q sin(2S + 4.1536)
    {10041, 0, 0, -1, 0, 1.5144, 0},            //  3  sin(1.5144 - J)
    {5977, 0, 1, -1, 0, 3.3089, 0},             //  4  sin(S - J + 3.3089)
    {350470, 0, 2, -1, 0, 3.1665, 0},           //  5  sin(2S - J + 3.1665)
    {0, 1021, 2, -1, 0, 2.1372, 0},             //  6  1021 q sin(2S - J + 2.1372)
    {27834, 0, 3, -1, 0, 2.1158, 0},            //  7  sin(3S - J + 2.1158)
    {21710, 0, 3, -2, 0, 2.3661, 0},            //  8  sin(3S - 2J + 2.3661)
    {567852, 0, 4, -2, 0, 4.8415, 0},           //  9  sin(4S - 2J + 4.8415)
    {26600, 0, 2, -2, 0, 2.7397, 0},            // 10  sin(2S - 2J + 2.7397)
    {0, 4045, 4, -2, 0, 3.1343, 0},             // 11  4045 q sin(4S - 2J + 3.1343)
    {2415265, 0, 5, -2, 0, 4.3129, -0.000398},  // 12  sin(5S - 2J + 4.3129 - 0.000398 t)
    {0, 3425, 5, -2, 0, 1.1713, -0.00039},      // 13  3425 q sin(5S - 2J + 1.1713 - 0.00039 t)
    {0, 505, 6, -2, 0, 2.199, 0},               // 14  505 q sin(6S - 2J + 2.199)
    {5410, 0, 3, -3, 0, 4.0908, 0},             // 15  sin(3S - 3J + 4.0908)
    {3820, 0, 4, -3, 0, 3.5476, 0},             // 16  sin(4S - 3J + 3.5476)
    {5189, 0, 7, -3, 0, 0.5481, 0},             // 17  sin(7S - 3J + 0.5481)
    {7330, 0, 9, -4, 0, 2.8572, 0},             // 18  sin(9S - 4J + 2.8572)
    {22255, 0, 10, -4, 0, 2.3321, -0.000718},   // 19  sin(10S - 4J + 2.3321 - 0.000718 t)
    {6604, 0, -1, 0, 1, 1.3794, 0},             // 20  sin(U - S + 1.3794)
    {6313, 0, -1, 0, 2, 6.1834, 0},             // 21  sin(2U - S + 6.1834)
    {10175, 0, -2, 0, 2, 5.8769, 0},            // 22  sin(2U - 2S + 5.8769)
    {23440, 0, -1, 0, 3, 5.616, 0},             // 23  sin(3U - S + 5.616)
    {19196, 0, -2, 0, 3, 2.0827, 0},            // 24  sin(3U - 2S + 2.0827)
    {23778, 0, 6, -2, -3, 0.121, 0},            // 25  sin(6S - 2J - 3U + 0.121)
};

// Radius factor G after its constant part 1826 + 12 q, ten-millionths of the
// decimal logarithm: (amplitude + qAmplitude q) cos(kS S + kJ J + kU U + phase + rate t).
constexpr PlanetTerm kRadiusTerms[] = {
    {187, 0, 1, 0, 0, 5.1559, 0},          // cos(S + 5.1559)
    {0, 835, 1, 0, 0, 1.012, 0},           // 835 q cos(S + 1.012)
    {3783, 0, 1, -1, 0, 1.3919, 0},        // cos(S - J + 1.3919)
    {2443, 0, 2, -1, 0, 3.0725, 0},        // cos(2S - J + 3.0725)
    {241, 0, 3, -1, 0, 5.3391, 0},         // cos(3S - J + 5.3391)
    {644, 0, 2, -2, 0, 2.7328, 0},         // cos(2S - 2J + 2.7328)
    {421, 0, 3, -2, 0, 2.4778, 0},         // cos(3S - 2J + 2.4778)
    {7005, 0, 4, -2, 0, 4.8391, 0},        // cos(4S - 2J + 4.8391)
    {1142, 0, 5, -2, 0, 1.0965, -0.00043}, // cos(5S - 2J + 1.0965 - 0.00043 t)
    {235, 0, 3, -2, 0, 2.0786, 0},         // cos(3S - 2J + 2.0786)
    {147, 0, 3, -3, 0, 4.0829, 0},         // cos(3S - 3J + 4.0829)
    {0, 50, 4, -2, 0, 3.1353, 0},          // 50 q cos(4S - 2J + 3.1353)
    {0, 23, 2, 0, 0, 1.024, 0},            // 23 q cos(2S + 1.024)
};

}  // namespace

SeriesResult SaturnSeries(double T) {
  const PlanetArguments a = JupiterSaturnArguments(T, kRevolutionsPerYear);
  const double t = a.t;
  const double q = a.q;

  double tau = 23.29702 + t;
  const double D = SumSines(0.0, kTimeTerms, a);
  tau = tau + D / 100000 / 365.25;

  const double G = SumCosines(1826 + 12 * q, kRadiusTerms, a);
  const double f = Power10(G / 10000000);

  const double M = 0.2132996 * tau;
  const double nu =
      M + (23118 * std::sin(M) + 809 * std::sin(2 * M) - 39 * std::sin(3 * M)) / kArcsecPerRadian;
  double lambda = nu + 1.572733;
  const double s = 0.0435189 * std::sin(lambda - 1.96084) +
                   24.27 / kArcsecPerRadian * q * std::sin(nu + 1.345);
  // The periodic term runs on the true anomaly (Jupiter's on the longitude);
  // 50.2647" a year is the precession to the equinox of date.
  lambda = lambda + (98 * std::sin(2 * nu + 2.3654) + 50.2647 * t) / kArcsecPerRadian;
  const double r = 9.508864 / (1 + 0.0560608 * std::cos(nu)) * f;
  const double beta = std::atan(s / std::sqrt(1 - s * s));

  return FinishSeries(lambda, beta, r, T);
}

void SaturnPosition(double julianDay, double& longitude, SunVector& sun) {
  PlanetPosition(julianDay, SaturnSeries, longitude, sun);
}

}  // namespace meridan
