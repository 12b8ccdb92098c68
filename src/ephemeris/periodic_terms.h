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
// it to the last bit. A row can be checked against the printed theory term
// by term.
//
// The sum is unrolled at compile time for each table, and the parts of a
// term that are zero in the table (a multiplier of 0, no phase, no q or t)
// are left out of its sums. That gives the same bits as adding them (adding
// an exact zero to a sum changes nothing once anything else is in it, and
// every row has a multiplier or a phase) and spares the long chain of
// dependent additions that would otherwise cost more than the sines.

#include <array>
#include <cmath>
#include <cstddef>
#include <utility>

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

namespace periodic_terms_detail {

template <PeriodicTerm kTerm>
double Argument(const TermArguments& x) {
  double argument = 0.0;
  bool started = false;
  auto add = [&](double part) {
    argument = started ? argument + part : part;
    started = true;
  };
  [&]<std::size_t... J>(std::index_sequence<J...>) {
    ((kTerm.k[J] != 0 ? add(kTerm.k[J] * x.a[J]) : void()), ...);
  }
  (std::make_index_sequence<5>{});
  if constexpr (kTerm.phase != 0.0) add(kTerm.phase);
  if constexpr (kTerm.rate != 0.0) add(kTerm.rate * x.t);
  return argument;
}

template <PeriodicTerm kTerm>
double Value(const TermArguments& x) {
  static_assert(kTerm.phase != 0.0 || kTerm.k != std::array<int, 5>{},
                "a term needs a multiplier or a phase");
  double amplitude = kTerm.amplitude;
  if constexpr (kTerm.qAmplitude != 0.0) amplitude = amplitude + kTerm.qAmplitude * x.q;
  const double argument = Argument<kTerm>(x);
  if constexpr (kTerm.wave == kSin)
    return amplitude * std::sin(argument);
  else
    return amplitude * std::cos(argument);
}

}  // namespace periodic_terms_detail

// sum + term 1 + term 2 + ..., in table order.
template <const auto& kTable>
double SumTerms(double sum, const TermArguments& x) {
  [&]<std::size_t... I>(std::index_sequence<I...>) {
    ((sum = sum + periodic_terms_detail::Value<kTable[I]>(x)), ...);
  }
  (std::make_index_sequence<std::size(kTable)>{});
  return sum;
}

}  // namespace meridan
