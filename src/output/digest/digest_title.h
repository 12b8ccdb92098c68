#pragma once
// What the digest is called: the title its PDF carries and the file name a
// save dialog suggests, the same words in both. Plain functions, apart from
// the PDF module, so that suggesting a name loads no PDF library.

#include <string>

#include "base/cp1251.h"
#include "base/dates.h"
#include "transits/forecast_kind.h"

namespace meridan {

// "Прогноз: поездки — Иван Петров, декабрь 2026 – март 2027" (UTF-8); without
// a name "Прогноз: поездки, декабрь 2026 – март 2027".
std::string DigestTitle(ForecastKind kind, const Cp1251Html& name, YearMonth first, YearMonth last);

// The title with ".pdf"; characters a file name cannot hold become "-".
std::string DigestFileName(ForecastKind kind, const Cp1251Html& name, YearMonth first,
                           YearMonth last);

}  // namespace meridan
