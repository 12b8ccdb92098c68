#include "transits/roots.h"

#include <cmath>
#include <stdexcept>
#include <utility>

namespace meridan {

double FindRoot(const std::function<double(double)>& f, double a, double b, double fa, double fb,
                double tolerance) {
  if (fa == 0) return a;
  if (fb == 0) return b;
  if ((fa > 0) == (fb > 0)) throw std::invalid_argument("FindRoot needs a sign change");
  // b is the best estimate, a the other end of the bracket, c the previous b.
  if (std::fabs(fa) < std::fabs(fb)) {
    std::swap(a, b);
    std::swap(fa, fb);
  }
  double c = a, fc = fa, d = b - a;
  bool bisected = true;
  // Each step at least halves the bracket once in two steps, so 200 is
  // far more than any bracket of days to a second needs.
  for (int step = 0; step < 200 && fb != 0 && std::fabs(b - a) > tolerance; ++step) {
    double s;
    if (fa != fc && fb != fc) {
      s = a * fb * fc / ((fa - fb) * (fa - fc)) + b * fa * fc / ((fb - fa) * (fb - fc)) +
          c * fa * fb / ((fc - fa) * (fc - fb));
    } else {
      s = b - fb * (b - a) / (fb - fa);
    }
    const double lo = (3 * a + b) / 4;
    const bool outside = (s - lo) * (s - b) > 0;
    const bool slow = bisected ? std::fabs(s - b) >= std::fabs(b - c) / 2
                               : std::fabs(s - b) >= std::fabs(c - d) / 2;
    const bool tiny = bisected ? std::fabs(b - c) < tolerance : std::fabs(c - d) < tolerance;
    bisected = outside || slow || tiny;
    if (bisected) s = (a + b) / 2;
    const double fs = f(s);
    d = c;
    c = b;
    fc = fb;
    if ((fa > 0) == (fs > 0)) {
      a = b;
      fa = fb;
    }
    b = s;
    fb = fs;
    if (std::fabs(fa) < std::fabs(fb)) {
      std::swap(a, b);
      std::swap(fa, fb);
    }
  }
  return b;
}

}  // namespace meridan
