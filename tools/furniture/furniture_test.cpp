// The generated pictures: sizes and formats the program relies on, and the
// properties that keep the drawing on them legible (the blue curve and red
// marks on the graph, black labels on the window, white text on the button).

#include "tools/furniture/furniture.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/graph/bmp.h"
#include "app/graph/text.h"
#include "reports/cp1251.h"
#include "reports/month_names.h"
#include "tools/furniture/month_template.h"
#include "tools/furniture/page_images.h"
#include "tools/furniture/window_background.h"

namespace meridan::furniture {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

// WCAG 2 relative luminance and contrast ratio.
double Linear(std::uint8_t channel) {
  const double c = channel / 255.0;
  return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}
double Luminance(Rgb c) {
  return 0.2126 * Linear(c.r) + 0.7152 * Linear(c.g) + 0.0722 * Linear(c.b);
}
double Contrast(Rgb a, Rgb b) {
  const double la = Luminance(a), lb = Luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}
double Distance(Rgb a, Rgb b) {
  return std::hypot(double(a.r) - b.r, double(a.g) - b.g, double(a.b) - b.b);
}

// Width and height from a JPEG's frame header; throws unless the frame is
// baseline (SOF0).
struct JpegFrame {
  int width = 0, height = 0, components = 0;
};
JpegFrame ReadJpegFrame(const Bytes& bytes) {
  if (bytes.size() < 4 || bytes[0] != 0xFF || bytes[1] != 0xD8) throw std::runtime_error("no SOI");
  for (std::size_t at = 2; at + 4 <= bytes.size();) {
    if (bytes[at] != 0xFF) throw std::runtime_error("marker expected");
    const int marker = bytes[at + 1];
    const std::size_t length = bytes[at + 2] << 8 | bytes[at + 3];
    if (marker >= 0xC1 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC)
      throw std::runtime_error("not a baseline frame");
    if (marker == 0xC0) {
      if (at + 10 > bytes.size()) break;
      return {bytes[at + 7] << 8 | bytes[at + 8], bytes[at + 5] << 8 | bytes[at + 6],
              bytes[at + 9]};
    }
    at += 2 + length;
  }
  throw std::runtime_error("no frame header");
}

Bytes ReadFile(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) throw std::runtime_error("cannot open " + path.string());
  return Bytes(std::istreambuf_iterator<char>(file), {});
}

class GeneratedFurniture : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = fs::temp_directory_path() / ("furniture_test_" + std::to_string(getpid()));
    fs::remove_all(dir_);
    written_ = WriteFurniture(dir_);
  }
  static void TearDownTestSuite() { fs::remove_all(dir_); }
  inline static fs::path dir_;
  inline static std::vector<fs::path> written_;
};

// --- Files and formats, for the fresh output and for what ships. ---

TEST_F(GeneratedFurniture, WritesTheThirteenFilesThePagesAndWindowsName) {
  std::vector<std::string> names;
  for (const fs::path& file : written_) {
    EXPECT_TRUE(fs::is_regular_file(file)) << file;
    names.push_back(file.parent_path().filename().string() + "/" + file.filename().string());
  }
  const std::vector<std::string> expected = {
      "System/month.bmp",  "System/diru2.bmp",  "Output/b_button.jpg", "Output/b_blu1.gif",
      "Output/b_blu2.gif", "Output/b_blu3.gif", "Output/b_blu4.gif",   "Output/b_blu5.gif",
      "Output/b_red1.gif", "Output/b_red2.gif", "Output/b_red3.gif",   "Output/b_red4.gif",
      "Output/b_red5.gif"};
  EXPECT_EQ(names, expected);
}

struct PictureSize {
  const char* file;
  int width, height;
};
constexpr PictureSize kBitmaps[] = {{"System/month.bmp", 626, 205}, {"System/diru2.bmp", 634, 392}};

TEST_F(GeneratedFurniture, BitmapsHaveTheSizesTheGraphAndWindowUse) {
  for (const fs::path& root : {dir_, fs::path(MERIDAN_DATA_DIR)}) {
    for (const PictureSize& expected : kBitmaps) {
      SCOPED_TRACE(root / expected.file);
      const Raster picture = ReadBmp(root / expected.file);
      EXPECT_EQ(picture.width, expected.width);
      EXPECT_EQ(picture.height, expected.height);
      // 24 bits per pixel, read from the header (offset 28).
      const Bytes bytes = ReadFile(root / expected.file);
      ASSERT_GT(bytes.size(), 30u);
      EXPECT_EQ(bytes[28] | bytes[29] << 8, 24);
    }
  }
}

TEST_F(GeneratedFurniture, ButtonIsABaselineColourJpegOfTheCellSize) {
  for (const fs::path& root : {dir_, fs::path(MERIDAN_DATA_DIR)}) {
    SCOPED_TRACE(root);
    const JpegFrame frame = ReadJpegFrame(ReadFile(root / "Output" / "b_button.jpg"));
    EXPECT_EQ(frame.width, 119);
    EXPECT_EQ(frame.height, 35);
    EXPECT_EQ(frame.components, 3);
  }
}

// A difference means data/ was not regenerated after a change. The legend
// is left out: it is the one drawing that depends on the installed font.
TEST_F(GeneratedFurniture, ShippedBitmapsAreTheGeneratorsOutput) {
  const fs::path shipped(MERIDAN_DATA_DIR);
  EXPECT_EQ(ReadFile(dir_ / "System/diru2.bmp"), ReadFile(shipped / "System/diru2.bmp"))
      << "System/diru2.bmp is stale: regenerate with `furniture data`";
  const Raster fresh = ReadBmp(dir_ / "System/month.bmp");
  const Raster old = ReadBmp(shipped / "System/month.bmp");
  ASSERT_EQ(fresh.width, old.width);
  ASSERT_EQ(fresh.height, old.height);
  const int legendBottom = kCaptionTop + MeasureText("0").height;
  for (int y = 0; y < fresh.height; ++y)
    for (int x = 0; x < fresh.width; ++x) {
      if (y >= kCaptionTop && y < legendBottom && x > kCurveRight - 360) continue;
      ASSERT_EQ(GetPixel(fresh, x, y), GetPixel(old, x, y))
          << "System/month.bmp is stale at " << x << "," << y
          << ": regenerate with `furniture data`";
    }
}

TEST(WriteFurniture, ErrorNamesTheDirectoryItCannotMake) {
  const fs::path root =
      fs::temp_directory_path() / ("furniture_blocked_" + std::to_string(getpid()));
  fs::remove_all(root);
  fs::create_directories(root);
  std::ofstream(root / "Output") << "a file where the directory should be";
  try {
    WriteFurniture(root);
    ADD_FAILURE() << "no error";
  } catch (const fs::filesystem_error& error) {
    EXPECT_NE(std::string(error.what()).find((root / "Output").string()), std::string::npos)
        << error.what();
  }
  fs::remove_all(root);
}

// --- The graph template. ---

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
      if (p == kLabelBox) continue;  // the band: the labels' own box colour
      least = std::min({least, Distance(p, {0, 0, 255}), Distance(p, {255, 0, 0})});
    }
  EXPECT_GT(least, kLeastDistance);
}

TEST(MonthTemplate, GridMarksTheStartOfEveryDay) {
  const Raster t = MonthTemplate();
  constexpr int kRow = kZeroLine - 30;  // between two horizontal grid lines
  for (int day = 0; day <= kLongestMonth; ++day) {
    const int x = kCurveLeft + day * kDayWidth;
    EXPECT_LT(Luminance(GetPixel(t, x, kRow)), Luminance(GetPixel(t, x + 7, kRow)) - 0.02) << day;
    EXPECT_LT(Luminance(GetPixel(t, x, kRow + 60)), Luminance(GetPixel(t, x + 7, kRow + 60)) - 0.02)
        << day;
  }
}

// The graph writes day labels (from x = 106) and the caption (from x = 105)
// on boxes of its label colour; behind them the band is that colour, plain,
// and the legend keeps clear of the longest caption.
TEST(MonthTemplate, BandIsPlainWhereTheLabelsAndCaptionGo) {
  const Raster t = MonthTemplate();
  const int cellHeight = MeasureText("0").height;
  int captionEnd = 0;
  for (int month = 1; month <= 12; ++month)
    captionEnd = std::max(
        captionEnd, kCurveLeft + 15 + MeasureText(Cp1251ToUtf8(MonthName(month) + " 2030")).width);
  struct Strip {
    int top, left, right;
  };
  for (const Strip s : {Strip{kDayLabelTop, kCurveLeft, kCurveRight + 10},
                        Strip{kCaptionTop, kCurveLeft + 15, captionEnd + 10}})
    for (int y = s.top - 2; y < s.top + cellHeight + 2; ++y)
      for (int x = s.left - 4; x < s.right; ++x)
        ASSERT_EQ(GetPixel(t, x, y), kLabelBox) << x << "," << y;
}

TEST(MonthTemplate, LegendIsWrittenOnTheCaptionRow) {
  const Raster t = MonthTemplate();
  int white = 0;
  for (int y = kCaptionTop; y < kCaptionTop + MeasureText("0").height; ++y)
    for (int x = kCurveRight - 200; x < kTemplateWidth; ++x)
      if (Luminance(GetPixel(t, x, y)) > 0.8) ++white;
  EXPECT_GT(white, 200);
}

// --- The main window and the page's button. ---

TEST(WindowBackground, InputAreaIsLightEnoughForBlackLabels) {
  constexpr double kLeastContrast = 7;  // WCAG's enhanced level for black text
  const Raster w = WindowBackground();
  double least = 100;
  for (int y = kInputArea.top; y < kInputArea.bottom; ++y)
    for (int x = kInputArea.left; x < kInputArea.right; ++x)
      least = std::min(least, Contrast(GetPixel(w, x, y), {0, 0, 0}));
  EXPECT_GT(least, kLeastContrast);
}

TEST(NavigationButton, WhiteBoldTextReadsEverywhereOnTheFace) {
  constexpr double kLeastContrast = 4.5;  // WCAG's level for normal text
  const Raster b = NavigationButton();
  for (int y = 2; y < kButtonHeight - 2; ++y)
    for (int x = 0; x < kButtonWidth; ++x)
      ASSERT_GT(Contrast(GetPixel(b, x, y), {255, 255, 255}), kLeastContrast) << x << "," << y;
}

// Browsers make the cell two pixels wider than the picture and repeat its
// first columns there: the last column must run on into the first.
TEST(NavigationButton, RepeatsSeamlesslyAcrossItsWidth) {
  constexpr double kMostStep = 4;  // colour distance between neighbour columns
  const Raster b = NavigationButton();
  for (int y = 0; y < kButtonHeight; ++y) {
    const double seam = Distance(GetPixel(b, kButtonWidth - 1, y), GetPixel(b, 0, y));
    EXPECT_LT(seam, kMostStep) << y;
  }
}

}  // namespace
}  // namespace meridan::furniture
