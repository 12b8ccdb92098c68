#include "app/graph/jpeg.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "app/graph/file_io.h"
#include "jpeg_probe.h"
#include "support/program_dir.h"

namespace meridan {
namespace {

namespace fs = std::filesystem;

// A picture with flat areas of the graph's colours.
Raster Sample() {
  Raster raster(626, 205, Rgb{236, 233, 216});
  for (int y = 80; y < 100; ++y)
    for (int x = 100; x < 300; ++x) SetPixel(raster, x, y, Rgb{0, 0, 255});
  return raster;
}

TEST(Jpeg, BaselineThreeEightBitComponentsOfThePictureSize) {
  const std::vector<std::uint8_t> bytes = EncodeJpeg(Sample(), kGraphJpegQuality);
  const testing::JpegMarkers m = testing::ReadJpegMarkers(bytes);
  EXPECT_TRUE(m.startOfImage);
  EXPECT_TRUE(m.endOfImage);
  EXPECT_EQ(m.frameMarker, 0xC0);  // SOF0: baseline, not progressive
  EXPECT_EQ(m.precision, 8);
  EXPECT_EQ(m.components, 3);
  EXPECT_EQ(m.width, 626);
  EXPECT_EQ(m.height, 205);
}

TEST(Jpeg, DecodesToThePictureWithinQuality90Loss) {
  // Flat 8x8 blocks away from edges survive quality 90 within a few levels.
  constexpr int kTolerance = 6;
  const testing::DecodedJpeg image = testing::DecodeJpeg(EncodeJpeg(Sample(), kGraphJpegQuality));
  ASSERT_EQ(image.width, 626);
  ASSERT_EQ(image.height, 205);
  ASSERT_EQ(image.components, 3);
  auto at = [&](int x, int y, int c) { return image.samples[(y * 626 + x) * 3 + c]; };
  EXPECT_NEAR(at(200, 90, 0), 0, kTolerance);
  EXPECT_NEAR(at(200, 90, 2), 255, kTolerance);
  EXPECT_NEAR(at(20, 20, 0), 236, kTolerance);
  EXPECT_NEAR(at(20, 20, 2), 216, kTolerance);
}

TEST(Jpeg, LibraryErrorBecomesAnExceptionNotAnExit) {
  try {
    EncodeJpeg(Raster(0, 0), kGraphJpegQuality);
    FAIL() << "encoded an empty picture";
  } catch (const std::runtime_error& e) {
    EXPECT_NE(std::string(e.what()).find("JPEG"), std::string::npos) << e.what();
  }
}

TEST(Jpeg, FileAppearsWholeOrNotAtAll) {
  testing::ProgramDir dir(false);
  const fs::path target = dir.output() / "Prog_05_2025.jpeg";
  testing::WriteFile(target, "old image");
  WriteJpeg(Sample(), kGraphJpegQuality, target);
  EXPECT_TRUE(testing::ReadJpegMarkers(ReadFileBytes(target)).startOfImage);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.output()), fs::directory_iterator()), 1);

  // A picture libjpeg refuses, and a directory that does not exist: the
  // error names the target and nothing is left behind.
  EXPECT_THROW(WriteJpeg(Raster(0, 0), kGraphJpegQuality, dir.output() / "empty.jpeg"),
               std::runtime_error);
  const fs::path nowhere = dir.root() / "gone" / "Prog_05_2025.jpeg";
  try {
    WriteJpeg(Sample(), kGraphJpegQuality, nowhere);
    FAIL() << "wrote into a missing directory";
  } catch (const std::runtime_error& e) {
    EXPECT_EQ(std::string(e.what()),
              "Cannot create file \"" + nowhere.string() + "\". No such file or directory");
  }
  // The whole image was written beside a directory in the target's place,
  // then could not be renamed over it: the partial file goes again.
  const fs::path blocked = dir.output() / "Prog_06_2025.jpeg";
  fs::create_directory(blocked);
  try {
    WriteJpeg(Sample(), kGraphJpegQuality, blocked);
    FAIL() << "renamed over a directory";
  } catch (const std::runtime_error& e) {
    EXPECT_EQ(std::string(e.what()),
              "Cannot create file \"" + blocked.string() + "\". Is a directory");
  }
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.output()), fs::directory_iterator()), 2);
}

}  // namespace
}  // namespace meridan
