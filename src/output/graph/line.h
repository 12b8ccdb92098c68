#pragma once
// Straight lines with a one-pixel pen, lit as the Windows GDI lights its
// cosmetic lines (LineTo): one pixel per column for lines flatter than 45
// degrees, one per row for steeper ones, the pixel nearest the ideal line;
// a line passing exactly half-way between two pixels lights the upper one
// (flat lines) or the left one (steep lines). The start point is painted, the
// end point is not, so joined segments paint each corner once. Coordinates
// may lie far outside the raster: what falls outside is clipped. They must
// stay within +-kLineCoordinateLimit (std::invalid_argument otherwise), which
// holds any 32-bit value with room to spare.

#include "output/graph/raster.h"

namespace meridan {

inline constexpr long long kLineCoordinateLimit = 1LL << 61;

struct Point {
  long long x = 0;
  long long y = 0;
};

void DrawLine(Raster& raster, Point from, Point to, Rgb colour);

}  // namespace meridan
