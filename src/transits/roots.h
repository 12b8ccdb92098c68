#pragma once
// Where a smooth function of time crosses zero, for the instants the
// forecast names: an aspect exact, a planet standing still. One root finder
// for all of them: the caller brackets a sign change, Brent's method closes
// in on it.

#include <functional>

namespace meridan {

// A root of f between a and b, where f(a) and f(b) have opposite signs (or
// one of them is 0), to within `tolerance` days: Brent's method (inverse
// quadratic interpolation, secant steps, bisection whenever they do not
// shrink the bracket fast enough). fa and fb are f(a) and f(b), already at
// hand with the caller.
double FindRoot(const std::function<double(double)>& f, double a, double b, double fa, double fb,
                double tolerance);

// The default tolerance of the forecast's instants: a second.
inline constexpr double kRootTolerance = 1.0 / 86400;

}  // namespace meridan
