// The generated pictures: names, sizes and formats the program relies on,
// the shipped copies being this output, and the properties that keep the
// drawing on them legible (the blue curve and red marks on the graph, black
// labels on the window, white text on the button).

#include "tools/furniture/furniture.h"

#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "base/cp1251.h"
#include "base/files.h"
#include "base/month_names.h"
#include "output/graph/bmp.h"
#include "output/graph/text.h"
#include "tools/furniture/month_template.h"
#include "tools/furniture/page_images.h"
#include "tools/furniture/window_background.h"

namespace meridan::furniture {
namespace {

std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& path) {
  const std::string bytes = ReadFile(path);
  return {bytes.begin(), bytes.end()};
}

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;
const fs::path kShipped(MERIDAN_DATA_DIR);

// WCAG 2 relative luminance and contrast ratio.
double Luminance(Rgb c) {
  auto linear = [](std::uint8_t channel) {
    const double v = channel / 255.0;
    return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * linear(c.r) + 0.7152 * linear(c.g) + 0.0722 * linear(c.b);
}
double Contrast(Rgb a, Rgb b) {
  const double la = Luminance(a), lb = Luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}
double Distance(Rgb a, Rgb b) {
  return std::hypot(double(a.r) - b.r, double(a.g) - b.g, double(a.b) - b.b);
}

// Width, height and colour components from a JPEG's frame header; throws
// unless the frame is baseline (SOF0), the one kind every browser shows.
std::vector<int> JpegFrame(const Bytes& b) {
  if (b.size() < 4 || b[0] != 0xFF || b[1] != 0xD8) throw std::runtime_error("no SOI");
  for (std::size_t at = 2; at + 10 <= b.size(); at += 2 + (b[at + 2] << 8 | b[at + 3])) {
    if (b[at] != 0xFF) throw std::runtime_error("marker expected");
    const int marker = b[at + 1];
    if (marker == 0xC0) return {b[at + 7] << 8 | b[at + 8], b[at + 5] << 8 | b[at + 6], b[at + 9]};
    if (marker >= 0xC1 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC)
      throw std::runtime_error("not a baseline frame");
  }
  throw std::runtime_error("no frame header");
}

class GeneratedFurniture : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = fs::temp_directory_path() / ("furniture_test_" + std::to_string(getpid()));
    fs::remove_all(dir_);
    written_ = WriteFurniture(dir_ / "data");
  }
  static void TearDownTestSuite() { fs::remove_all(dir_); }
  inline static fs::path dir_;
  inline static std::vector<fs::path> written_;
};

// A difference means data/ was not regenerated after a change. The button's
// JPEG bytes depend on the encoder library (its format is checked below) and
// the graph's legend on the installed font (the rest is compared by pixel).
TEST_F(GeneratedFurniture, WritesTheFilesThePagesAndWindowsNameAsShipped) {
  std::vector<std::string> names;
  for (const fs::path& fresh : written_) {
    names.push_back(fresh.parent_path().filename().string() + "/" + fresh.filename().string());
    if (fresh.extension() == ".jpg" || fresh.filename() == "month.bmp") continue;
    EXPECT_EQ(ReadBytes(fresh), ReadBytes(kShipped / names.back()))
        << names.back() << " is stale: regenerate with `furniture data`";
  }
  const std::vector<std::string> expected = {
      "System/month.bmp",  "System/diru2.bmp",  "Output/b_button.jpg", "Output/b_blu1.gif",
      "Output/b_blu2.gif", "Output/b_blu3.gif", "Output/b_blu4.gif",   "Output/b_blu5.gif",
      "Output/b_red1.gif", "Output/b_red2.gif", "Output/b_red3.gif",   "Output/b_red4.gif",
      "Output/b_red5.gif"};
  EXPECT_EQ(names, expected);

  const Raster fresh = ReadBmp(dir_ / "data/System/month.bmp");
  const Raster old = ReadBmp(kShipped / "System/month.bmp");
  ASSERT_EQ(std::pair(fresh.width, fresh.height), std::pair(old.width, old.height));
  const int legendBottom = kCaptionTop + Font::Load().Measure("0").height;
  const int legendLeft = kCurveRight - 359;  // within 360 pixels of the curve's end
  for (int y = 0; y < fresh.height; ++y) {
    const int compared = y >= kCaptionTop && y < legendBottom ? legendLeft : fresh.width;
    EXPECT_TRUE(std::equal(fresh.Row(y), fresh.Row(y) + compared, old.Row(y)))
        << "System/month.bmp is stale in row " << y << ": regenerate with `furniture data`";
  }
}

// 24-bit bitmaps for the graph and the window, a baseline colour JPEG of the
// page's cell size; fresh and shipped alike.
TEST_F(GeneratedFurniture, PicturesHaveTheSizesAndFormatsTheProgramReads) {
  struct Picture {
    const char* file;
    int width, height, depth;  // depth: bits per pixel, or the JPEG's colour components
  };
  constexpr Picture kPictures[] = {{"System/month.bmp", 626, 205, 24},
                                   {"System/diru2.bmp", 634, 392, 24},
                                   {"Output/b_button.jpg", 119, 35, 3}};
  for (const fs::path& root : {dir_ / "data", kShipped}) {
    for (const Picture& p : kPictures) {
      SCOPED_TRACE(root / p.file);
      const Bytes bytes = ReadBytes(root / p.file);
      auto bitmap = [&] {
        const Raster picture = DecodeBmp(bytes, p.file);
        return std::vector<int>{picture.width, picture.height, bytes[28] | bytes[29] << 8};
      };
      EXPECT_EQ(p.depth == 3 ? JpegFrame(bytes) : bitmap(),
                (std::vector{p.width, p.height, p.depth}));
    }
  }
}

TEST_F(GeneratedFurniture, ErrorNamesTheDirectoryItCannotMake) {
  std::ofstream(dir_ / "Output") << "a file where the directory should be";
  try {
    WriteFurniture(dir_);
    ADD_FAILURE() << "no error";
  } catch (const fs::filesystem_error& error) {
    EXPECT_NE(std::string(error.what()).find((dir_ / "Output").string()), std::string::npos)
        << error.what();
  }
}

TEST(MonthTemplate, ZeroLineIsTheDarkestRowAcrossTheLongestCurve) {
  const Raster t = MonthTemplate();
  for (int x = kCurveLeft; x <= kCurveRight; ++x) {
    const double line = Luminance(GetPixel(t, x, kZeroLine));
    for (int y : {kZeroLine - 6, kZeroLine + 6})  // clear of the day ticks
      EXPECT_GT(Luminance(GetPixel(t, x, y)), line + 0.4) << x << "," << y;
  }
}

// The curve (0, 0, 255, drawn from x - 1 to x + 1) and the red marks
// (255, 0, 0) must not sink into anything they can cross.
TEST(MonthTemplate, CurveAndMarksStandOutEverywhereTheyCanGo) {
  constexpr double kLeastDistance = 150;  // of 441 between black and white
  const Raster t = MonthTemplate();
  double least = 1000;
  for (int y = 0; y < kTemplateHeight; ++y)
    for (int x = kCurveLeft - 1; x <= kCurveRight + 1; ++x) {
      const Rgb p = GetPixel(t, x, y);
      if (p == graph_colours::kLabelBox) continue;  // the band: the labels' own box colour
      least = std::min({least, Distance(p, {0, 0, 255}), Distance(p, {255, 0, 0})});
    }
  EXPECT_GT(least, kLeastDistance);
}

// The graph writes day labels (from x = 106) and the caption (from x = 105)
// on boxes of its label colour; behind them the band is that colour, plain,
// and the legend keeps clear of the longest caption.
TEST(MonthTemplate, BandIsPlainWhereTheLabelsAndCaptionGo) {
  const Raster t = MonthTemplate();
  const int cellHeight = Font::Load().Measure("0").height;
  int captionEnd = 0;
  for (int month = 1; month <= 12; ++month)
    captionEnd = std::max(
        captionEnd,
        kCurveLeft + 15 + Font::Load().Measure(Cp1251ToUtf8(MonthName(month) + " 2030")).width);
  struct Strip {
    int top, left, right;
  };
  for (const Strip s : {Strip{kDayLabelTop, kCurveLeft, kCurveRight + 10},
                        Strip{kCaptionTop, kCurveLeft + 15, captionEnd + 10}})
    for (int y = s.top - 2; y < s.top + cellHeight + 2; ++y)
      for (int x = s.left - 4; x < s.right; ++x)
        ASSERT_EQ(GetPixel(t, x, y), graph_colours::kLabelBox) << x << "," << y;
}

TEST(WindowBackground, InputAreaIsLightEnoughForBlackLabels) {
  constexpr double kLeastContrast = 7;  // WCAG's enhanced level for black text
  const Raster w = WindowBackground();
  for (int y = kInputArea.top; y < kInputArea.bottom; ++y)
    for (int x = kInputArea.left; x < kInputArea.right; ++x)
      ASSERT_GT(Contrast(GetPixel(w, x, y), {0, 0, 0}), kLeastContrast) << x << "," << y;
}

// Browsers also make the cell two pixels wider than the picture and repeat
// its first columns there: the last column must run on into the first.
TEST(NavigationButton, WhiteTextReadsEverywhereAndTheFaceRepeatsWithoutASeam) {
  constexpr double kLeastContrast = 4.5;  // WCAG's level for normal text
  constexpr double kMostStep = 4;         // colour distance between neighbour columns
  const Raster b = NavigationButton();
  for (int y = 0; y < kButtonHeight; ++y) {
    EXPECT_LT(Distance(GetPixel(b, kButtonWidth - 1, y), GetPixel(b, 0, y)), kMostStep) << y;
    for (int x = 0; x < kButtonWidth && y >= 2 && y < kButtonHeight - 2; ++x)
      ASSERT_GT(Contrast(GetPixel(b, x, y), {255, 255, 255}), kLeastContrast) << x << "," << y;
  }
}

}  // namespace
}  // namespace meridan::furniture
