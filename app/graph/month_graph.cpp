#include "app/graph/month_graph.h"

namespace meridan {

// Placeholder until the graph lands: the run calls it, it draws nothing.
void DrawMonthGraph(const ForecastSession&, const SeriesStore&) {}

}  // namespace meridan
