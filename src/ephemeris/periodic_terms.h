#pragma once
// The one kind of periodic term every series is written in, and the loop
// that sums a table of them. A term reads
//
//   (amplitude + qAmplitude q) wave(k1 a1 + k2 a2 + ... + k5 a5 + phase + rate t)
//
// with wave a sine or a cosine, a1..a5 the arguments of the body's theory
// (mean anomalies, longitudes or their differences, radians) and q, t two
// further variables that only Jupiter and Saturn use. A table keeps its terms
// in the published order and is summed in that order: the results depend on
// it to the last bit. Multipliers of 0 and 1 and zero amplitudes and rates
// leave a term bit-identical to its written form, so a row can be checked
// against the printed theory term by term.

#include <array>
#include <cmath>
#include <span>

namespace meridan {

enum Wave { kSin, kCos };

struct PeriodicTerm {
  Wave wave;
  double amplitude;
  std::array<int, 5> k;  // multipliers of a1..a5
  double phase;          // a published "- 2.8046" is stored as -2.8046
  double qAmplitude = 0.0;
  double rate = 0.0;
};

// The values a term table is evaluated at.
struct TermArguments {
  std::array<double, 5> a{};
  double q = 0.0;
  double t = 0.0;
};

inline double TermArgument(const PeriodicTerm& term, const TermArguments& x) {
  return term.k[0] * x.a[0] + term.k[1] * x.a[1] + term.k[2] * x.a[2] + term.k[3] * x.a[3] +
         term.k[4] * x.a[4] + term.phase + term.rate * x.t;
}

// sum + term 1 + term 2 + ..., in table order.
inline double SumTerms(double sum, std::span<const PeriodicTerm> terms, const TermArguments& x) {
  for (const PeriodicTerm& term : terms) {
    const double amplitude = term.amplitude + term.qAmplitude * x.q;
    const double argument = TermArgument(term, x);
    sum = sum + amplitude * (term.wave == kSin ? std::sin(argument) : std::cos(argument));
  }
  return sum;
}

}  // namespace meridan
