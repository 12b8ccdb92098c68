#include "app/graph/jpeg.h"

#include <gtest/gtest.h>

#include "reports/file_io.h"
#include "picture_files.h"
#include "support/program_dir.h"

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

// A missing output directory is among the month graph's errors.
TEST(Jpeg, FileAppearsWholeOrNotAtAll) {
  testing::ProgramDir dir(false);
  const fs::path target = dir.output() / "Prog_05_2025.jpeg";
  testing::WriteFile(target, "old image");
  WriteJpeg(Sample(), kGraphJpegQuality, target);
  EXPECT_EQ(testing::ReadJpegFrame(ReadFileBytes(target)).width, 626);
  // libjpeg's refusal is an exception, not the library's exit of the program.
  const std::string refused = ErrorOf([&] { WriteJpeg(Raster(0, 0), kGraphJpegQuality, dir.output() / "0.jpeg"); });
  EXPECT_NE(refused.find("JPEG encoding failed"), std::string::npos) << refused;
  // A directory in the target's place stops only the rename, after the whole
  // image was written beside it: the partial file goes again.
  const fs::path blocked = dir.output() / "Prog_06_2025.jpeg";
  fs::create_directory(blocked);
  EXPECT_EQ(ErrorOf([&] { WriteJpeg(Sample(), kGraphJpegQuality, blocked); }),
            "Cannot create file \"" + blocked.string() + "\". Is a directory");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.output()), fs::directory_iterator()), 2);
}

}  // namespace
}  // namespace meridan
