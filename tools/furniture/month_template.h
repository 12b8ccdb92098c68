#pragma once
// System/month.bmp: the picture the month graph draws its curve on.

#include "output/graph/raster.h"

namespace meridan::furniture {

// Geometry shared with the graph drawing (origin top left, y downwards).
inline constexpr int kTemplateWidth = 626;
inline constexpr int kTemplateHeight = 205;
inline constexpr int kCurveLeft = 90;  // start of the first sample
inline constexpr int kZeroLine = 92;   // rating 0
inline constexpr int kDayWidth = 15;   // three samples of 5 pixels
inline constexpr int kLongestMonth = 31;
inline constexpr int kCurveRight = kCurveLeft + kLongestMonth * kDayWidth;  // 555
inline constexpr int kDayLabelTop = kZeroLine + 62;                         // 154
inline constexpr int kCaptionTop = kZeroLine + 80;                          // 172
// The graph writes its day labels and caption on boxes of this colour.
inline constexpr Rgb kLabelBox{111, 145, 190};

// The template: plot area with tinted favourable (above) and unfavourable
// (below) halves, a grid line at the start of every day, a band behind the
// day labels and caption, and the legend in that band to the right of the
// caption.
Raster MonthTemplate();

}  // namespace meridan::furniture
