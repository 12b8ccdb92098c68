#pragma once
// What the digest and the calendar file both tell of a finished run beside
// its months: the influences of its months (with their hour windows when
// the birth hour is not known), the planets' turns in them, and the best
// windows for the kind's action. Read off the run once, from its natal
// chart and the scans its pages were made of, so that the two files cannot
// differ from each other or from the pages.

#include <vector>

#include "forecast/context.h"
#include "forecast/forecast.h"
#include "texts/best_days.h"
#include "texts/influence_texts.h"
#include "transits/influences.h"

namespace meridan {

struct ForecastFindings {
  // In the influences' order (by first day), each with its record in the
  // kind's interpretation file of the context the run was made in: valid
  // while that context lives and is not refreshed.
  std::vector<InfluenceText> influences;
  std::vector<Station> stations;
  std::vector<BestWindow> best;
};

// The findings of the run's months, from the start month.
ForecastFindings FindingsOf(const ForecastResult& run, ForecastContext& context);

}  // namespace meridan
