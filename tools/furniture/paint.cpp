#include "tools/furniture/paint.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace meridan::furniture {
namespace {

constexpr int kSamples = 4;  // per pixel side

std::uint8_t Channel(double a, double b, double t) {
  return static_cast<std::uint8_t>(std::lround(a + (b - a) * t));
}

}  // namespace

Rgb Mix(Rgb a, Rgb b, double t) {
  t = std::clamp(t, 0.0, 1.0);
  return {Channel(a.r, b.r, t), Channel(a.g, b.g, t), Channel(a.b, b.b, t)};
}

void Paint(Raster& raster, int x, int y, Rgb colour, double opacity) {
  if (!raster.Contains(x, y) || opacity <= 0) return;
  Rgb& pixel = raster.Row(y)[x];
  pixel = Mix(pixel, colour, opacity);
}

void FillBox(Raster& raster, Box box, Rgb colour, double opacity) {
  for (int y = box.top; y < box.bottom; ++y)
    for (int x = box.left; x < box.right; ++x) Paint(raster, x, y, colour, opacity);
}

void FillVerticalGradient(Raster& raster, Box box, Rgb top, Rgb bottom) {
  const int rows = box.bottom - box.top;
  for (int y = box.top; y < box.bottom; ++y) {
    const double t = rows > 1 ? static_cast<double>(y - box.top) / (rows - 1) : 0.0;
    FillBox(raster, {box.left, y, box.right, y + 1}, Mix(top, bottom, t));
  }
}

double Coverage(const InsideTest& inside, int px, int py) {
  int hits = 0;
  for (int sy = 0; sy < kSamples; ++sy)
    for (int sx = 0; sx < kSamples; ++sx)
      if (inside(px + (sx + 0.5) / kSamples, py + (sy + 0.5) / kSamples)) ++hits;
  return static_cast<double>(hits) / (kSamples * kSamples);
}

void FillShape(Raster& raster, Box bounds, const InsideTest& inside, Rgb colour, double opacity) {
  for (int py = bounds.top; py < bounds.bottom; ++py)
    for (int px = bounds.left; px < bounds.right; ++px)
      Paint(raster, px, py, colour, opacity * Coverage(inside, px, py));
}

InsideTest Disc(Vec centre, double radius) {
  return [=](double x, double y) {
    const double dx = x - centre.x, dy = y - centre.y;
    return dx * dx + dy * dy <= radius * radius;
  };
}

InsideTest Ring(Vec centre, double inner, double outer) {
  return [=](double x, double y) {
    const double dx = x - centre.x, dy = y - centre.y;
    const double d2 = dx * dx + dy * dy;
    return d2 >= inner * inner && d2 <= outer * outer;
  };
}

InsideTest Ellipse(Vec centre, double rx, double ry) {
  return [=](double x, double y) {
    const double dx = (x - centre.x) / rx, dy = (y - centre.y) / ry;
    return dx * dx + dy * dy <= 1.0;
  };
}

InsideTest RoundedBox(double left, double top, double right, double bottom, double radius) {
  radius = std::min({radius, (right - left) / 2, (bottom - top) / 2});
  return [=](double x, double y) {
    if (x < left || x > right || y < top || y > bottom) return false;
    // Distance into the corner square, if the point lies in one.
    const double cx = std::clamp(x, left + radius, right - radius);
    const double cy = std::clamp(y, top + radius, bottom - radius);
    const double dx = x - cx, dy = y - cy;
    return dx * dx + dy * dy <= radius * radius;
  };
}

InsideTest Polygon(std::span<const Vec> corners) {
  std::vector<Vec> points(corners.begin(), corners.end());
  return [points = std::move(points)](double x, double y) {
    bool inside = false;
    for (std::size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
      const Vec a = points[i], b = points[j];
      if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x)
        inside = !inside;
    }
    return inside;
  };
}

Box BoundsOf(std::span<const Vec> corners) {
  double left = corners[0].x, right = left, top = corners[0].y, bottom = top;
  for (Vec p : corners) {
    left = std::min(left, p.x);
    right = std::max(right, p.x);
    top = std::min(top, p.y);
    bottom = std::max(bottom, p.y);
  }
  return {static_cast<int>(std::floor(left)) - 1, static_cast<int>(std::floor(top)) - 1,
          static_cast<int>(std::ceil(right)) + 1, static_cast<int>(std::ceil(bottom)) + 1};
}

}  // namespace meridan::furniture
