// Saturn: a time-argument theory. The perturbations by Jupiter and Uranus
// shift the planet's orbital time (D, hundred-thousandths of a day) and scale
// the radius vector (G, ten-millionths of its decimal logarithm); the shifted
// time gives the mean anomaly and a short equation of centre the true one.
// Time in Julian years from 1850 January 0.5; angles in radians, arcsecond
// coefficients over 206264.806247. Heliocentric, ecliptic and mean equinox of
// date; X, Y, Z on the mean equator of date, AU.
#include "ephemeris/saturn.h"

#include "ephemeris/jupiter_saturn.h"

namespace meridan {
namespace {

constexpr double kRevolutionsPerYear = 0.03394769;

// Time perturbation D, hundred-thousandths of a day:
// (amplitude + qAmplitude q) sin(kS S + kJ J + kU U + phase + rate t).
constexpr PeriodicTerm kTimeTerms[] = {
    {kSin, 0, {1, 0, 0, 0, 0}, 4.1536, 65776, 0},             //  1  65776 q sin(S + 4.1536)
    {kSin, 0, {2, 0, 0, 0, 0}, 4.1536, 1344, 0},              //  2  1344 q sin(2S + 4.1536)
    {kSin, 10041, {0, -1, 0, 0, 0}, 1.5144},                  //  3  sin(1.5144 - J)
    {kSin, 5977, {1, -1, 0, 0, 0}, 3.3089},                   //  4  sin(S - J + 3.3089)
    {kSin, 350470, {2, -1, 0, 0, 0}, 3.1665},                 //  5  sin(2S - J + 3.1665)
    {kSin, 0, {2, -1, 0, 0, 0}, 2.1372, 1021, 0},             //  6  1021 q sin(2S - J + 2.1372)
    {kSin, 27834, {3, -1, 0, 0, 0}, 2.1158},                  //  7  sin(3S - J + 2.1158)
    {kSin, 21710, {3, -2, 0, 0, 0}, 2.3661},                  //  8  sin(3S - 2J + 2.3661)
    {kSin, 567852, {4, -2, 0, 0, 0}, 4.8415},                 //  9  sin(4S - 2J + 4.8415)
    {kSin, 26600, {2, -2, 0, 0, 0}, 2.7397},                  // 10  sin(2S - 2J + 2.7397)
    {kSin, 0, {4, -2, 0, 0, 0}, 3.1343, 4045, 0},             // 11  4045 q sin(4S - 2J + 3.1343)
    {kSin, 2415265, {5, -2, 0, 0, 0}, 4.3129, 0, -0.000398},  // 12  sin(5S - 2J + 4.3129 - 0.000398
                                                              // t)
    {kSin, 0, {5, -2, 0, 0, 0}, 1.1713, 3425, -0.00039},      // 13  3425 q sin(5S - 2J + 1.1713 -
                                                              // 0.00039 t)
    {kSin, 0, {6, -2, 0, 0, 0}, 2.199, 505, 0},               // 14  505 q sin(6S - 2J + 2.199)
    {kSin, 5410, {3, -3, 0, 0, 0}, 4.0908},                   // 15  sin(3S - 3J + 4.0908)
    {kSin, 3820, {4, -3, 0, 0, 0}, 3.5476},                   // 16  sin(4S - 3J + 3.5476)
    {kSin, 5189, {7, -3, 0, 0, 0}, 0.5481},                   // 17  sin(7S - 3J + 0.5481)
    {kSin, 7330, {9, -4, 0, 0, 0}, 2.8572},                   // 18  sin(9S - 4J + 2.8572)
    {kSin, 22255, {10, -4, 0, 0, 0}, 2.3321, 0, -0.000718},  // 19  sin(10S - 4J + 2.3321 - 0.000718
                                                             // t)
    {kSin, 6604, {-1, 0, 1, 0, 0}, 1.3794},                  // 20  sin(U - S + 1.3794)
    {kSin, 6313, {-1, 0, 2, 0, 0}, 6.1834},                  // 21  sin(2U - S + 6.1834)
    {kSin, 10175, {-2, 0, 2, 0, 0}, 5.8769},                 // 22  sin(2U - 2S + 5.8769)
    {kSin, 23440, {-1, 0, 3, 0, 0}, 5.616},                  // 23  sin(3U - S + 5.616)
    {kSin, 19196, {-2, 0, 3, 0, 0}, 2.0827},                 // 24  sin(3U - 2S + 2.0827)
    {kSin, 23778, {6, -2, -3, 0, 0}, 0.121},                 // 25  sin(6S - 2J - 3U + 0.121)
};

// Radius factor G after its constant part 1826 + 12 q, ten-millionths of the
// decimal logarithm: (amplitude + qAmplitude q) cos(kS S + kJ J + kU U + phase + rate t).
constexpr PeriodicTerm kRadiusTerms[] = {
    {kCos, 187, {1, 0, 0, 0, 0}, 5.1559},                 // cos(S + 5.1559)
    {kCos, 0, {1, 0, 0, 0, 0}, 1.012, 835, 0},            // 835 q cos(S + 1.012)
    {kCos, 3783, {1, -1, 0, 0, 0}, 1.3919},               // cos(S - J + 1.3919)
    {kCos, 2443, {2, -1, 0, 0, 0}, 3.0725},               // cos(2S - J + 3.0725)
    {kCos, 241, {3, -1, 0, 0, 0}, 5.3391},                // cos(3S - J + 5.3391)
    {kCos, 644, {2, -2, 0, 0, 0}, 2.7328},                // cos(2S - 2J + 2.7328)
    {kCos, 421, {3, -2, 0, 0, 0}, 2.4778},                // cos(3S - 2J + 2.4778)
    {kCos, 7005, {4, -2, 0, 0, 0}, 4.8391},               // cos(4S - 2J + 4.8391)
    {kCos, 1142, {5, -2, 0, 0, 0}, 1.0965, 0, -0.00043},  // cos(5S - 2J + 1.0965 - 0.00043 t)
    {kCos, 235, {3, -2, 0, 0, 0}, 2.0786},                // cos(3S - 2J + 2.0786)
    {kCos, 147, {3, -3, 0, 0, 0}, 4.0829},                // cos(3S - 3J + 4.0829)
    {kCos, 0, {4, -2, 0, 0, 0}, 3.1353, 50, 0},           // 50 q cos(4S - 2J + 3.1353)
    {kCos, 0, {2, 0, 0, 0, 0}, 1.024, 23, 0},             // 23 q cos(2S + 1.024)
};

}  // namespace

SeriesResult SaturnSeries(double T) {
  const TermArguments a = JupiterSaturnArguments(T, kRevolutionsPerYear);
  const double t = a.t;
  const double q = a.q;

  double tau = 23.29702 + t;
  const double D = SumTerms<kTimeTerms>(0.0, a);
  tau = tau + D / 100000 / 365.25;

  const double G = SumTerms<kRadiusTerms>(1826 + 12 * q, a);
  const double f = Power10(G / 10000000);

  const double M = 0.2132996 * tau;
  const double nu =
      M + (23118 * std::sin(M) + 809 * std::sin(2 * M) - 39 * std::sin(3 * M)) / kArcsecPerRadian;
  double lambda = nu + 1.572733;
  const double s =
      0.0435189 * std::sin(lambda - 1.96084) + 24.27 / kArcsecPerRadian * q * std::sin(nu + 1.345);
  // The periodic term runs on the true anomaly (Jupiter's on the longitude);
  // 50.2647" a year is the precession to the equinox of date.
  lambda = lambda + (98 * std::sin(2 * nu + 2.3654) + 50.2647 * t) / kArcsecPerRadian;
  const double r = 9.508864 / (1 + 0.0560608 * std::cos(nu)) * f;
  const double beta = std::atan(s / std::sqrt(1 - s * s));

  return FinishSeries(lambda, beta, r, T);
}

}  // namespace meridan
