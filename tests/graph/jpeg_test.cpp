#include "output/graph/jpeg.h"

#include <gtest/gtest.h>

#include "base/files.h"
#include "picture_files.h"
#include "support/scratch_program_dir.h"

namespace meridan {
namespace {

namespace fs = std::filesystem;
using testing::ErrorOf;

// A picture with flat areas of the graph's colours.
Raster Sample() {
  Raster raster(626, 205, Rgb{236, 233, 216});
  for (int y = 80; y < 100; ++y)
    for (int x = 100; x < 300; ++x) SetPixel(raster, x, y, Rgb{0, 0, 255});
  return raster;
}

TEST(Jpeg, BaselineThreeEightBitComponentsThatDecodeToThePicture) {
  const std::vector<std::uint8_t> bytes = EncodeJpeg(Sample(), kGraphJpegQuality);
  const testing::JpegFrame frame = testing::ReadJpegFrame(bytes);
  EXPECT_EQ(frame.marker, 0xC0);  // SOF0: baseline, not progressive
  EXPECT_EQ(frame.precision, 8);
  EXPECT_EQ(frame.components, 3);
  EXPECT_EQ(frame.width, 626);
  EXPECT_EQ(frame.height, 205);
  // Flat 8x8 blocks away from edges survive quality 90 within a few levels.
  constexpr int kTolerance = 6;
  std::vector<std::uint8_t> rgb;
  ASSERT_TRUE(testing::DecodeJpegInto(bytes, rgb));
  ASSERT_EQ(rgb.size(), 626u * 205 * 3);
  auto at = [&](int x, int y, int c) { return rgb[(y * 626 + x) * 3 + c]; };
  EXPECT_NEAR(at(200, 90, 0), 0, kTolerance);
  EXPECT_NEAR(at(200, 90, 2), 255, kTolerance);
  EXPECT_NEAR(at(20, 20, 0), 236, kTolerance);
  EXPECT_NEAR(at(20, 20, 2), 216, kTolerance);
}

// libjpeg's refusal is an exception, not the library's exit of the program.
TEST(Jpeg, RefusalIsAnException) {
  const std::string refused = ErrorOf([] { EncodeJpeg(Raster(0, 0), kGraphJpegQuality); });
  EXPECT_NE(refused.find("JPEG encoding failed"), std::string::npos) << refused;
}

}  // namespace
}  // namespace meridan
