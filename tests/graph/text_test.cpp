#include "output/graph/text.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "base/cp1251.h"
#include "base/month_names.h"
#include "picture_files.h"

namespace meridan {
namespace {

constexpr Rgb kPaper{0, 0, 0};
constexpr Rgb kInk{255, 255, 255};
constexpr Rgb kBox{111, 145, 190};

// Liberation Sans, the font fontconfig gives for Arial on Debian: Windows
// ascent 1854 and descent 434 font units of 2048 at a 12-pixel em round up
// to 11 and 3 pixels; its figures all advance 1139 units, 6.67 pixels,
// which hinting makes 7.
constexpr int kCellHeight = 14;
constexpr int kCellAscent = 11;
constexpr int kFigureWidth = 7;

// A pixel at least three quarters covered by a glyph, told by its red, which
// moves furthest from the box to white: 111 + 0.75 x (255 - 111) = 219.
long MostlyInk(const Raster& r) {
  return std::count_if(r.pixels.begin(), r.pixels.end(), [](Rgb p) { return p.r >= 219; });
}

TEST(Text, CellOfTheGraphFontIsAnOpaqueBoxUnderWhiteGlyphs) {
  EXPECT_EQ(testing::GraphFont().Measure("2").width, kFigureWidth);
  EXPECT_EQ(testing::GraphFont().Measure("").width, 0);
  Raster raster(40, 30, kPaper);
  const TextCell cell = testing::GraphFont().Draw(raster, 5, 6, "10", kInk, kBox);
  EXPECT_EQ(cell.width, 2 * kFigureWidth);  // figures of one width: labels line up
  EXPECT_EQ(cell.height, kCellHeight);
  EXPECT_EQ(cell.ascent, kCellAscent);
  for (int y = 0; y < raster.height; ++y)
    for (int x = 0; x < raster.width; ++x) {
      const Rgb p = GetPixel(raster, x, y);
      if (x < 5 || x >= 5 + cell.width || y < 6 || y >= 6 + cell.height)
        EXPECT_EQ(p, kPaper) << x << "," << y;
      else  // between the box colour and white
        EXPECT_TRUE(p.r >= kBox.r && p.g >= kBox.g && p.b >= kBox.b) << x << "," << y;
    }
  // The hinted stem of "1" (8 pixels high) and the serifs at its foot are
  // mostly covered; the cell's corners are the bare box (its top row, above
  // the figures, is checked along the day labels of the month graph).
  EXPECT_GT(MostlyInk(raster), 12);
  EXPECT_EQ(GetPixel(raster, 5, 6), kBox);
  EXPECT_EQ(GetPixel(raster, 5, 6 + cell.height - 1), kBox);
}

TEST(Text, CyrillicCaptionFromTheCodePage) {
  const std::string caption = Cp1251ToUtf8(MonthName(9) + " 2025");  // "Сентябрь 2025"
  const TextCell cell = testing::GraphFont().Measure(caption);
  // Eight letters, a space and four figures: wider than the figures and
  // space alone would be, so the letters have glyphs with advances.
  EXPECT_GT(cell.width, testing::GraphFont().Measure("        2025").width);
  Raster raster(cell.width + 4, cell.height + 4, kPaper);
  testing::GraphFont().Draw(raster, 2, 2, caption, kInk, kBox);
  EXPECT_GT(MostlyInk(raster), 40);
}

TEST(Text, ClippedAtTheEdgesAndFarOutside) {
  Raster raster(10, 10, kPaper);
  testing::GraphFont().Draw(raster, -6, -8, "30", kInk, kBox);  // only the cell's lower right shows
  EXPECT_GE(GetPixel(raster, 0, 0).b, kBox.b);
  EXPECT_EQ(GetPixel(raster, 9, 9), kPaper);
  Raster untouched(10, 10, kPaper);
  testing::GraphFont().Draw(untouched, 5'000'000'000LL, -5'000'000'000LL, "30", kInk, kBox);
  EXPECT_EQ(untouched.pixels, Raster(10, 10, kPaper).pixels);
}

}  // namespace
}  // namespace meridan
