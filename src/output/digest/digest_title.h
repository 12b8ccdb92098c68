#pragma once
// What the digest is called: the title its PDF carries and the file name a
// save dialog suggests, the same words in both. Plain functions, apart from
// the PDF module, so that suggesting a name loads no PDF library.

#include <string>

#include "base/cp1251.h"
#include "base/dates.h"
#include "transits/forecast_kind.h"

namespace meridan {

// The person's name as plain text to be joined to other text. One that may
// hold right-to-left letters or bidirectional controls is isolated (U+2068
// ... U+2069), so that a U+202E in it cannot turn round the rest of the line.
std::string DigestName(const Cp1251Html& name);

// "Прогноз: поездки — Иван Петров, декабрь 2026 – март 2027" (UTF-8); without
// a name "Прогноз: поездки, декабрь 2026 – март 2027".
std::string DigestTitle(ForecastKind kind, const Cp1251Html& name, YearMonth first, YearMonth last);

// The title with ".pdf"; characters a file name cannot hold become "-", and
// bidirectional controls, which in a file name only disguise it, go.
std::string DigestFileName(ForecastKind kind, const Cp1251Html& name, YearMonth first,
                           YearMonth last);

}  // namespace meridan
