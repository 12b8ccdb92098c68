#pragma once
// System/month.bmp: the picture the month graph draws its curve on.

#include "output/graph/month_graph.h"
#include "output/graph/raster.h"

namespace meridan::furniture {

// The picture's size (the page shows it at this size); where the graph
// draws comes from the graph itself.
inline constexpr int kTemplateWidth = 626;
inline constexpr int kTemplateHeight = 205;
inline constexpr int kDayWidth = 3 * kSampleStep;
inline constexpr int kLongestMonth = 31;
inline constexpr int kCurveRight = kCurveLeft + kLongestMonth * kDayWidth;  // 555

// The template: plot area with tinted favourable (above) and unfavourable
// (below) halves, a grid line at the start of every day, a band behind the
// day labels and caption, and the legend in that band to the right of the
// caption.
Raster MonthTemplate();

}  // namespace meridan::furniture
