#pragma once
// The arguments that Jupiter's and Saturn's theories share. Both sum the
// mutual perturbations of Jupiter, Saturn and Uranus as a shift of the
// planet's orbital time and a correction of the decimal logarithm of the
// radius vector, in the mean anomalies S, J and U (radians), t Julian years
// since 1850 January 0.5, and q the planet's revolutions since then.

#include "ephemeris/angles.h"
#include "ephemeris/periodic_terms.h"

namespace meridan {

// Julian years from 1850 January 0.5 (JD 2396758.0) to 1900 January 0.5:
// 18262 / 365.25.
inline constexpr double kYears1850To1900 = 49.998631074606436;

// a1..a3 = S, J, U at T Julian centuries since 1900 January 0.5; q counts the
// planet's revolutions at revolutionsPerYear.
inline TermArguments JupiterSaturnArguments(double T, double revolutionsPerYear) {
  TermArguments x;
  x.t = 100 * T + kYears1850To1900;
  x.q = revolutionsPerYear * x.t;
  const double J = Reduce2Pi(2.58366097 + 0.529691136 * x.t);
  const double S = Reduce2Pi(4.969245 + 0.2132996 * x.t);
  const double U = Reduce2Pi(3.842683 + 0.0747862 * x.t);
  x.a = {S, J, U, 0.0, 0.0};
  return x;
}

}  // namespace meridan
