#include "app/graph/month_graph.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "app/graph/bmp.h"
#include "app/graph/file_io.h"
#include "app/graph/text.h"
#include "bmp_bytes.h"
#include "jpeg_probe.h"
#include "support/program_dir.h"

namespace meridan {
namespace {

namespace fs = std::filesystem;
using testing::kTemplateColour;

constexpr Rgb kBlue{0, 0, 255};
constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kLabelBox{111, 145, 190};
constexpr int kLabelTop = 154;  // y of the top of the day labels

// A program directory with the synthetic template and a session on it.
class MonthGraph : public ::testing::Test {
 protected:
  MonthGraph() : dir_(false) {
    SetProgramDir(session_, dir_.root());
    session_.PageMonth = 1;
    session_.PageYear = 2025;
    testing::WriteTemplate(session_.DataDir / "month.bmp");
  }

  // An all-zero series for a month of `days` days.
  static SeriesStore Flat(int days) {
    SeriesStore store;
    store.SampleCount = 3 * days;
    return store;
  }

  Raster Drawn(const SeriesStore& store) {
    DrawMonthGraph(session_, store);
    return ReadBmp(session_.DataDir / "tmp.bmp");
  }

  fs::path Jpeg() const { return session_.OutputDir() / "Prog_01_2025.jpeg"; }
  bool OutputEmpty() const { return fs::is_empty(session_.OutputDir()); }

  testing::ProgramDir dir_;
  ForecastSession session_;
};

int Count(const Raster& r, Rgb colour) {
  int n = 0;
  for (const Rgb& p : r.pixels) n += p == colour;
  return n;
}

// Zero line y = 92; sample i runs from x = 90 + 5 (i - 1) to 90 + 5 i; the
// five strokes (as is, x - 1, x + 1, y - 1, y + 1) leave out their end points.
TEST_F(MonthGraph, FlatSeriesIsABlueBandAlongTheZeroLine) {
  const Raster r = Drawn(Flat(31));  // N = 93: the curve ends at x = 555
  for (int x = 89; x <= 555; ++x) EXPECT_EQ(GetPixel(r, x, 92), kBlue) << x;
  for (int x = 90; x <= 554; ++x) {
    EXPECT_EQ(GetPixel(r, x, 91), kBlue) << x;
    EXPECT_EQ(GetPixel(r, x, 93), kBlue) << x;
  }
  // Just outside: before the shifted-left start, after the shifted-right end
  // (the end point itself is not painted), and the band's corners.
  EXPECT_EQ(GetPixel(r, 88, 92), kTemplateColour);
  EXPECT_EQ(GetPixel(r, 556, 92), kTemplateColour);
  EXPECT_EQ(GetPixel(r, 89, 91), kTemplateColour);
  EXPECT_EQ(GetPixel(r, 555, 93), kTemplateColour);
  EXPECT_EQ(GetPixel(r, 200, 90), kTemplateColour);
  EXPECT_EQ(GetPixel(r, 200, 94), kTemplateColour);
  // Nothing else is blue: 467 + 2 x 465 pixels.
  EXPECT_EQ(Count(r, kBlue), 467 + 2 * 465);
}

TEST_F(MonthGraph, LastPointRaisedShowsTheUnpaintedEndPoints) {
  // February's 84 samples with entry 85 (the end of the last segment) at 30:
  // the last segment climbs from (505, 92) to (510, 62). Every stroke leaves
  // out its end point; of the five, only the one shifted up reaches row 62
  // (at x = 510, where it is still half a pixel short of its end), and
  // nothing reaches row 61.
  SeriesStore store = Flat(28);
  store.RatingSeries[85] = 30;
  const Raster r = Drawn(store);
  for (int x = 0; x < r.width; ++x) {
    EXPECT_NE(GetPixel(r, x, 61), kBlue) << x;
    EXPECT_EQ(GetPixel(r, x, 62) == kBlue, x == 510) << x;
  }
}

TEST_F(MonthGraph, DayLabelsEverySixSamplesUpToThirty) {
  const Raster r = Drawn(Flat(31));
  // Label k (value 2k) belongs to sample 6k: its box starts at
  // xa - 9 = 90 + 5 (6k - 1) - 9 = 76 + 30 k, at y = 154, and is as wide as
  // its figures.
  const int figure = MeasureText("0").width;
  int boxes = 0;
  for (int x = 0; x < r.width; ++x) {
    if (GetPixel(r, x, kLabelTop) != kLabelBox || (x > 0 && GetPixel(r, x - 1, kLabelTop) == kLabelBox))
      continue;
    ++boxes;
    const int k = boxes;
    EXPECT_EQ(x, 76 + 30 * k) << "label " << 2 * k;
    const int width = (2 * k < 10 ? 1 : 2) * figure;
    EXPECT_EQ(GetPixel(r, x + width - 1, kLabelTop), kLabelBox) << "label " << 2 * k;
    EXPECT_EQ(GetPixel(r, x + width, kLabelTop), kTemplateColour) << "label " << 2 * k;
  }
  EXPECT_EQ(boxes, 15);  // 2, 4, ..., 30: sample 93 is not a multiple of 6
  // The caption's box starts at (105, 172).
  EXPECT_EQ(GetPixel(r, 105, 172), kLabelBox);
  EXPECT_EQ(GetPixel(r, 104, 172), kTemplateColour);
  EXPECT_EQ(GetPixel(r, 105, 171), kTemplateColour);
}

TEST_F(MonthGraph, LabelCoversItsSegmentAndTheNextSegmentCoversTheLabel) {
  // A curve at y = 154 runs through the top row of the label boxes. Label
  // "10" (sample 30, xa = 235) is drawn after segment 30 and before segment
  // 31, whose left-shifted stroke starts at x = 239, inside the box
  // (226 .. 239 for two 7-pixel figures).
  SeriesStore store = Flat(31);
  for (int i = 1; i <= 94; ++i) store.RatingSeries[i] = -62;
  const Raster r = Drawn(store);
  const int right = 226 + MeasureText("10").width - 1;
  ASSERT_EQ(right, 239) << "the test expects 7-pixel figures";
  for (int x = 226; x < 239; ++x) EXPECT_EQ(GetPixel(r, x, kLabelTop), kLabelBox) << x;
  EXPECT_EQ(GetPixel(r, 239, kLabelTop), kBlue);
}

TEST_F(MonthGraph, RetrogradeDayIsARedBarInASaleRunOnly) {
  SeriesStore store = Flat(30);
  for (int j = 13; j <= 15; ++j) store.RetrogradeMarks[j] = 1;  // day 5
  session_.PurchaseSaleMarks = true;
  const Raster sale = Drawn(store);
  // Samples 13..15 run from x = 150 to 165; the end point is left out, so
  // 15 pixels by 3, drawn over the blue band.
  for (int y = 91; y <= 93; ++y)
    for (int x = 150; x <= 164; ++x) EXPECT_EQ(GetPixel(sale, x, y), kRed) << x << "," << y;
  EXPECT_EQ(Count(sale, kRed), 45);
  EXPECT_EQ(GetPixel(sale, 149, 92), kBlue);
  EXPECT_EQ(GetPixel(sale, 165, 92), kBlue);

  session_.PurchaseSaleMarks = false;  // trips or car service with stale marks
  EXPECT_EQ(Count(Drawn(store), kRed), 0);
}

TEST_F(MonthGraph, JpegOfTheTemplateSizeUnderTheMonthsName) {
  struct Case {
    int month;
    const char* file;
  } cases[] = {{5, "Prog_05_2025.jpeg"}, {11, "Prog_11_2025.jpeg"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    session_.PageMonth = c.month;
    DrawMonthGraph(session_, Flat(31));
    const std::vector<std::uint8_t> bytes = ReadFileBytes(session_.OutputDir() / c.file);
    const testing::JpegMarkers m = testing::ReadJpegMarkers(bytes);
    EXPECT_TRUE(m.startOfImage);
    EXPECT_EQ(m.frameMarker, 0xC0);  // baseline
    EXPECT_EQ(m.precision, 8);
    EXPECT_EQ(m.components, 3);
    EXPECT_EQ(m.width, 626);
    EXPECT_EQ(m.height, 205);
    const testing::DecodedJpeg image = testing::DecodeJpeg(bytes);
    EXPECT_EQ(image.width, 626);
    EXPECT_EQ(image.height, 205);
  }
  // Only the images: no temporary file is left beside them.
  EXPECT_EQ(std::distance(fs::directory_iterator(session_.OutputDir()), fs::directory_iterator()), 2);
}

TEST_F(MonthGraph, MonthLengthComesFromTheStore) {
  // 29 days (87 samples): the curve ends at x = 525 and labels reach 28.
  const Raster r = Drawn(Flat(29));
  EXPECT_EQ(GetPixel(r, 525, 92), kBlue);
  EXPECT_EQ(GetPixel(r, 526, 92), kTemplateColour);
  EXPECT_EQ(GetPixel(r, 76 + 30 * 14, kLabelTop), kLabelBox);  // label 28
  EXPECT_EQ(GetPixel(r, 76 + 30 * 15, kLabelTop), kTemplateColour);
}

TEST_F(MonthGraph, FarOutValuesAreClippedAtTheEdges) {
  SeriesStore store = Flat(31);
  for (int i = 1; i <= 94; ++i) store.RatingSeries[i] = i % 2 ? INT_MAX : INT_MIN;
  store.RatingSeries[50] = 1'000'000;
  const Raster r = Drawn(store);
  // Segment 10 falls from far above to far below through x = 135 .. 140:
  // every row above the labels has blue there.
  for (int y = 0; y < kLabelTop; ++y) {
    bool blue = false;
    for (int x = 134; x <= 141; ++x) blue = blue || GetPixel(r, x, y) == kBlue;
    EXPECT_TRUE(blue) << y;
  }
  EXPECT_TRUE(fs::exists(Jpeg()));
}

TEST_F(MonthGraph, SmallerTemplateGivesASmallerClippedImage) {
  testing::WriteTemplate(session_.DataDir / "month.bmp", 300, 100);
  DrawMonthGraph(session_, Flat(31));
  const testing::JpegMarkers m = testing::ReadJpegMarkers(ReadFileBytes(Jpeg()));
  EXPECT_EQ(m.width, 300);
  EXPECT_EQ(m.height, 100);
}

TEST_F(MonthGraph, UnreadableTemplateIsAClearErrorAndLeavesNoImage) {
  const fs::path templ = session_.DataDir / "month.bmp";
  const std::vector<std::uint8_t> good = ReadFileBytes(templ);
  struct Case {
    const char* name;
    std::vector<std::uint8_t> bytes;  // empty: no file at all
    std::string expected;
  } cases[] = {
      {"missing", {}, "Cannot open file \"" + templ.string() + "\". No such file or directory"},
      {"not a bitmap", {'P', '6', '\n', '1', ' ', '1', '\n'}, "\"" + templ.string() + "\" is not a BMP image"},
      {"16-bit", testing::MakeBmp({.width = 1, .height = 1, .bits = 16, .rows = {0, 0, 0, 0}}),
       "\"" + templ.string() + "\" is a BMP image of unsupported bit depth 16"},
      {"truncated", {good.begin(), good.begin() + good.size() / 2}, "\"" + templ.string() + "\" is truncated"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove(templ);
    if (!c.bytes.empty()) WriteFileBytes(templ, c.bytes);
    try {
      DrawMonthGraph(session_, Flat(31));
      ADD_FAILURE() << "drew a graph";
    } catch (const std::runtime_error& e) {
      EXPECT_NE(std::string(e.what()).find(c.expected), std::string::npos) << e.what();
    }
    EXPECT_TRUE(OutputEmpty());
  }
}

TEST_F(MonthGraph, MissingOutputDirectoryIsAClearError) {
  fs::remove_all(session_.OutputDir());
  try {
    DrawMonthGraph(session_, Flat(31));
    FAIL() << "wrote an image";
  } catch (const std::runtime_error& e) {
    EXPECT_EQ(std::string(e.what()),
              "Cannot create file \"" + Jpeg().string() + "\". No such file or directory");
  }
  EXPECT_FALSE(fs::exists(session_.OutputDir()));
}

TEST_F(MonthGraph, SampleCountBeyondTheStoreIsRefused) {
  SeriesStore store;
  store.SampleCount = kSeriesSlots;  // needs entry 101
  EXPECT_THROW(DrawMonthGraph(session_, store), std::invalid_argument);
  EXPECT_TRUE(OutputEmpty());
}

}  // namespace
}  // namespace meridan
