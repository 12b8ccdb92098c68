#pragma once
// Painting helpers for the furniture pictures, on the graph's raster: flat
// and graded fills, translucent paint, and anti-aliased shapes given by an
// inside test sampled 4 x 4 times per pixel.

#include <functional>
#include <span>

#include "output/graph/raster.h"

namespace meridan::furniture {

// A box of pixels: left and top included, right and bottom excluded.
struct Box {
  int left = 0, top = 0, right = 0, bottom = 0;
};

struct Vec {
  double x = 0, y = 0;
};

// t = 0 gives a, t = 1 gives b; t is clamped to 0..1.
Rgb Mix(Rgb a, Rgb b, double t);

// Lays colour over one pixel with the given opacity (0..1); outside the
// raster nothing happens.
void Paint(Raster& raster, int x, int y, Rgb colour, double opacity);

void FillBox(Raster& raster, Box box, Rgb colour, double opacity = 1.0);

// Each row one colour, from `top` on the first row of the box to `bottom` on
// its last.
void FillVerticalGradient(Raster& raster, Box box, Rgb top, Rgb bottom);

// Paints colour over the pixels of `bounds` with the opacity scaled by the
// share of each pixel's 16 sample points for which inside(x, y) holds. Pixel
// (px, py) covers x in [px, px + 1), y in [py, py + 1).
using InsideTest = std::function<bool(double x, double y)>;
double Coverage(const InsideTest& inside, int px, int py);
void FillShape(Raster& raster, Box bounds, const InsideTest& inside, Rgb colour,
               double opacity = 1.0);

// Inside tests for the usual shapes.
InsideTest Disc(Vec centre, double radius);
InsideTest Ring(Vec centre, double inner, double outer);
InsideTest Ellipse(Vec centre, double rx, double ry);
InsideTest RoundedBox(double left, double top, double right, double bottom, double radius);
// Even-odd rule; the polygon's corners are copied.
InsideTest Polygon(std::span<const Vec> corners);

// Smallest box holding the points, grown by one pixel on every side.
Box BoundsOf(std::span<const Vec> corners);

}  // namespace meridan::furniture
