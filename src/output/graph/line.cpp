#include "output/graph/line.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace meridan {
namespace {

using Wide = __int128;  // products of far-out coordinates overflow 64 bits

Wide FloorDiv(Wide a, Wide b) {  // b > 0
  const Wide q = a / b;
  return (a % b != 0 && a < 0) ? q - 1 : q;
}

// The minor coordinate at `major` on the line from (a0, b0) towards (a1, b1),
// where a is the major axis (|a1 - a0| >= |b1 - b0|, a1 != a0): the nearest
// integer to the ideal value, halves going to the smaller value. That is
// ceil(ideal - 1/2) = b0 + ceil((2 t db - da) / (2 da)) with t = major - a0,
// signs folded so that da > 0.
long long Minor(long long a0, long long b0, long long a1, long long b1, long long major) {
  Wide da = Wide(a1) - a0;
  Wide db = Wide(b1) - b0;
  Wide t = Wide(major) - a0;
  if (da < 0) {
    da = -da;
    t = -t;
  }
  const Wide numerator = 2 * t * db - da;
  const Wide ceiling = -FloorDiv(-numerator, 2 * da);
  return static_cast<long long>(b0 + ceiling);
}

// The major coordinates painted: from a0 towards a1, a1 itself excluded,
// limited to 0..limit-1.
bool PaintedRange(long long a0, long long a1, int limit, long long& first, long long& last) {
  first = a1 > a0 ? a0 : a1 + 1;
  last = a1 > a0 ? a1 - 1 : a0;
  first = std::max<long long>(first, 0);
  last = std::min<long long>(last, limit - 1);
  return first <= last;
}

}  // namespace

void DrawLine(Raster& raster, Point from, Point to, Rgb colour) {
  for (long long c : {from.x, from.y, to.x, to.y})
    if (c < -kLineCoordinateLimit || c > kLineCoordinateLimit)
      throw std::invalid_argument("line coordinate " + std::to_string(c) + " out of range");
  const Wide dx = Wide(to.x) - from.x;
  const Wide dy = Wide(to.y) - from.y;
  const Wide adx = dx < 0 ? -dx : dx;
  const Wide ady = dy < 0 ? -dy : dy;
  if (adx == 0 && ady == 0) return;
  long long first = 0, last = 0;
  if (adx >= ady) {
    if (!PaintedRange(from.x, to.x, raster.width, first, last)) return;
    for (long long x = first; x <= last; ++x)
      SetPixel(raster, x, Minor(from.x, from.y, to.x, to.y, x), colour);
  } else {
    if (!PaintedRange(from.y, to.y, raster.height, first, last)) return;
    for (long long y = first; y <= last; ++y)
      SetPixel(raster, Minor(from.y, from.x, to.y, to.x, y), y, colour);
  }
}

}  // namespace meridan
