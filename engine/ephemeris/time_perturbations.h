#pragma once
// Terms of the Jupiter and Saturn theories. Both sum the mutual perturbations
// of Jupiter, Saturn and Uranus as a shift of the planet's orbital time, and
// a correction of the decimal logarithm of the radius vector, in the
// arguments J, S and U (radians) and t (Julian years since 1850 January 0.5).

#include <cmath>
#include <cstddef>

#include "engine/ephemeris/angles.h"

namespace meridan {

// (amplitude + qAmplitude q) * sin or cos (kS S + kJ J + kU U + phase + rate t).
// Multipliers of 0 and 1 and a zero amplitude or rate leave the term
// bit-identical to its written form (39928 q sin(3.969972 - J) is
// {0, 39928, 0, -1, 0, 3.969972, 0}).
struct PlanetTerm {
  double amplitude;
  double qAmplitude;  // times q, the planet's revolutions since 1850
  int kS, kJ, kU;
  double phase;
  double rate;  // radians per Julian year
};

struct PlanetArguments {
  double J, S, U, t, q;
};

// Julian years since 1850 January 0.5 (JD 2396758.0): 18262 / 365.25 of them
// at T = 0.
inline constexpr double kYears1850To1900 = 49.998631074606436;

// The arguments at T Julian centuries since 1900 January 0.5; q counts the
// planet's revolutions at revolutionsPerYear.
inline PlanetArguments JupiterSaturnArguments(double T, double revolutionsPerYear) {
  PlanetArguments a;
  a.t = 100 * T + kYears1850To1900;
  a.q = revolutionsPerYear * a.t;
  a.J = Reduce2Pi(2.58366097 + 0.529691136 * a.t);
  a.S = Reduce2Pi(4.969245 + 0.2132996 * a.t);
  a.U = Reduce2Pi(3.842683 + 0.0747862 * a.t);
  return a;
}

inline double TermArgument(const PlanetTerm& k, const PlanetArguments& a) {
  return k.kS * a.S + k.kJ * a.J + k.kU * a.U + k.phase + k.rate * a.t;
}

inline double TermAmplitude(const PlanetTerm& k, const PlanetArguments& a) {
  return k.amplitude + k.qAmplitude * a.q;
}

// sum + term 1 + term 2 + ..., each amplitude * sin(argument), in table order.
template <std::size_t N>
double SumSines(double sum, const PlanetTerm (&terms)[N], const PlanetArguments& a) {
  for (const PlanetTerm& k : terms) sum = sum + TermAmplitude(k, a) * std::sin(TermArgument(k, a));
  return sum;
}

template <std::size_t N>
double SumCosines(double sum, const PlanetTerm (&terms)[N], const PlanetArguments& a) {
  for (const PlanetTerm& k : terms) sum = sum + TermAmplitude(k, a) * std::cos(TermArgument(k, a));
  return sum;
}

}  // namespace meridan
