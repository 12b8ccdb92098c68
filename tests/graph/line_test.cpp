#include "output/graph/line.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>

namespace meridan {
namespace {

constexpr Rgb kPaper{255, 255, 255};
constexpr Rgb kInk{0, 0, 255};

using Pixels = std::set<std::pair<long long, long long>>;

// The pixels of a line within the 16 x 16 window at (offset, offset) of a
// raster `size` pixels square, the line given relative to the window.
Pixels Line(Point from, Point to, long long offset = 0, int size = 16) {
  Raster raster(size, size, kPaper);
  DrawLine(raster, {from.x + offset, from.y + offset}, {to.x + offset, to.y + offset}, kInk);
  Pixels out;
  for (long long y = offset; y < offset + 16; ++y)
    for (long long x = offset; x < offset + 16; ++x)
      if (GetPixel(raster, x, y) == kInk) out.insert({x - offset, y - offset});
  return out;
}

// Expected pixels worked by hand from the rule: one pixel per column (row for
// steep lines) nearest the ideal line, halves to the upper (left) pixel, the
// start painted and the end not.
TEST(Line, PixelsOfShortLinesFollowTheCosmeticLineRule) {
  struct Case {
    const char* name;
    Point from, to;
    Pixels expected;
  } cases[] = {
      {"horizontal, end left out", {2, 3}, {6, 3}, {{2, 3}, {3, 3}, {4, 3}, {5, 3}}},
      {"horizontal backwards", {6, 3}, {2, 3}, {{6, 3}, {5, 3}, {4, 3}, {3, 3}}},
      {"vertical", {1, 1}, {1, 4}, {{1, 1}, {1, 2}, {1, 3}}},
      {"diagonal", {0, 0}, {3, 3}, {{0, 0}, {1, 1}, {2, 2}}},
      {"half-way goes up", {0, 0}, {2, 1}, {{0, 0}, {1, 0}}},
      {"half-way goes up, drawn backwards", {2, 1}, {0, 0}, {{2, 1}, {1, 0}}},
      {"half-way goes up, falling line", {0, 1}, {2, 0}, {{0, 1}, {1, 0}}},
      {"steep half-way goes left", {0, 0}, {1, 2}, {{0, 0}, {0, 1}}},
      {"steep half-way goes left, drawn upwards", {1, 2}, {0, 0}, {{1, 2}, {0, 1}}},
      // Ideal y at x = 0..9 is 0.3 x: 0, .3, .6, .9, 1.2, 1.5 (up to 1), 1.8, 2.1, 2.4, 2.7.
      {"slope 3/10",
       {0, 0},
       {10, 3},
       {{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 1}, {5, 1}, {6, 2}, {7, 2}, {8, 2}, {9, 3}}},
      {"a point draws nothing", {4, 4}, {4, 4}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Line(c.from, c.to), c.expected);
  }
}

// The pixels a line paints inside a small window must be those it paints on
// a big raster around the same spot: clipping changes nothing but the extent.
TEST(Line, ClippingKeepsThePixelsOfTheUnclippedLine) {
  struct Case {
    const char* name;
    Point from, to;
  } cases[] = {
      {"flat across", {-40, 3}, {57, 11}},
      {"steep across", {2, -70}, {9, 90}},
      {"start inside, end outside", {5, 5}, {-60, 21}},
      {"backwards steep", {13, 80}, {-2, -33}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Pixels unclipped = Line(c.from, c.to, 100, 220);
    EXPECT_FALSE(unclipped.empty());
    EXPECT_EQ(Line(c.from, c.to), unclipped);
  }
}

TEST(Line, FarOutCoordinatesAreClippedNotOverflowed) {
  constexpr long long kFar = 4'000'000'000LL;  // beyond 32 bits either way
  Pixels row, column;
  for (long long i = 0; i < 16; ++i) row.insert({i, 7}), column.insert({6, i});
  EXPECT_EQ(Line({-kFar, 7}, {kFar, 7}), row);
  EXPECT_EQ(Line({5, -kFar}, {7, kFar}), column);  // ideal x is 6 + y / 4e9
  EXPECT_TRUE(Line({-kFar, -5}, {kFar, -5}).empty());
  EXPECT_TRUE(Line({20, -kFar}, {20, kFar}).empty());
  EXPECT_THROW(Line({0, 0}, {0, kLineCoordinateLimit + 1}), std::invalid_argument);
}

}  // namespace
}  // namespace meridan
