#include "output/graph/bmp.h"

#include <gtest/gtest.h>

#include "base/data_file_error.h"
#include "picture_files.h"
#include "support/scratch_program_dir.h"

namespace meridan {
namespace {

using testing::ErrorOf;
using testing::MakeBmp;

constexpr Rgb kRed{255, 0, 0}, kGreen{0, 255, 0}, kBlue{0, 0, 255}, kGrey{10, 20, 30};

TEST(BmpWrite, RoundTripKeepsEveryPixelAndPadsRowsToFourBytes) {
  Raster raster(5, 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x)
      SetPixel(raster, x, y, Rgb{static_cast<uint8_t>(x * 40), static_cast<uint8_t>(y * 90), 7});
  const std::vector<std::uint8_t> bytes = EncodeBmp(raster);
  // 14 + 40 header bytes, then 3 rows of 15 pixel bytes padded to 16.
  ASSERT_EQ(bytes.size(), 54u + 3 * 16);
  EXPECT_EQ(bytes[28], 24);  // bits per pixel
  // Bottom-up: the first stored pixel is the bottom-left one, as B, G, R.
  EXPECT_EQ(std::vector(bytes.begin() + 54, bytes.begin() + 57),
            (std::vector<std::uint8_t>{7, 180, 0}));
  const Raster back = DecodeBmp(bytes, "round trip");
  EXPECT_EQ(back.width, 5);
  EXPECT_EQ(back.pixels, raster.pixels);
}

// Each case's pixels as the reader must give them: top row first, left to right.
TEST(BmpRead, EverySupportedDepthHeaderAndRowOrder) {
  const std::vector<std::uint8_t> palette = {0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 0};  // R, G, B
  const std::vector<std::uint32_t> rgbaMasks = {0x000000ff, 0x0000ff00, 0x00ff0000};  // red lowest
  const std::vector<std::uint8_t> masked = {255, 0, 0, 0, 10, 20, 30, 0};
  const Rgb r = kRed, g = kGreen;
  struct Case {
    const char* name;
    testing::BmpLayout layout;
    std::vector<Rgb> expected;
  } cases[] = {
      {"24-bit bottom-up",
       {.width = 2, .height = 2, .rows = {255, 0, 0, 30, 20, 10, 0, 0, 0, 0, 255, 0, 255, 0, 0, 0}},
       {kRed, kGreen, kBlue, kGrey}},
      {"24-bit top-down",
       {.width = 2,
        .height = -2,
        .rows = {0, 0, 255, 0, 255, 0, 0, 0, 255, 0, 0, 30, 20, 10, 0, 0}},
       {kRed, kGreen, kBlue, kGrey}},
      {"32-bit: B, G, R and an unused byte",
       {.width = 2, .height = 1, .bits = 32, .rows = {0, 0, 255, 99, 30, 20, 10, 99}},
       {kRed, kGrey}},
      {"32-bit, masks after the header",
       {.width = 2, .height = 1, .bits = 32, .compression = 3, .masks = rgbaMasks, .rows = masked},
       {kRed, kGrey}},
      {"32-bit, masks inside a V5 header",
       {.width = 2,
        .height = 1,
        .bits = 32,
        .compression = 3,
        .headerSize = 124,
        .masks = rgbaMasks,
        .rows = masked},
       {kRed, kGrey}},
      {"8-bit",
       {.width = 3,
        .height = 1,
        .bits = 8,
        .palette = palette,
        .paletteColours = 3,
        .rows = {2, 1, 0, 0}},
       {kBlue, kGreen, kRed}},
      {"4-bit: the high nibble is the left pixel",
       {.width = 3,
        .height = 1,
        .bits = 4,
        .palette = palette,
        .paletteColours = 3,
        .rows = {0x12, 0, 0, 0}},
       {kGreen, kBlue, kRed}},
      {"1-bit: the ninth pixel is the top bit of the second byte",
       {.width = 9,
        .height = 1,
        .bits = 1,
        .palette = palette,
        .paletteColours = 2,
        .rows = {0x81, 0x80, 0, 0}},
       {g, r, r, r, r, r, r, g, g}},
      {"OS/2 core header, three-byte palette entries",
       {.width = 2,
        .height = 1,
        .bits = 1,
        .headerSize = 12,
        .palette = {0, 0, 255, 0, 255, 0},
        .rows = {0x40, 0, 0, 0}},
       {kRed, kGreen}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Raster decoded = DecodeBmp(MakeBmp(c.layout), c.name);
    EXPECT_EQ(decoded.width, c.layout.width);
    EXPECT_EQ(decoded.pixels, c.expected);
  }
}

// Not a BMP, 16 bits and pixel data cut short are among the month graph's
// template errors.
TEST(BmpRead, DamagedOrUnsupportedFilesAreClearErrorsNamingTheFile) {
  const std::vector<std::uint8_t> good =
      MakeBmp({.width = 2, .height = 2, .rows = std::vector<std::uint8_t>(16, 0)});
  struct Case {
    const char* name;
    std::vector<std::uint8_t> bytes;
    const char* expected;
  } cases[] = {
      {"unknown header size", MakeBmp({.width = 1, .height = 1, .headerSize = 20}),
       "is not a BMP image"},
      {"RLE8",
       MakeBmp({.width = 1, .height = 1, .bits = 8, .compression = 1, .rows = {0, 1, 0, 0}}),
       "is a BMP image with unsupported compression 1"},
      {"header cut short", {good.begin(), good.begin() + 30}, "is truncated"},
      {"zero width", MakeBmp({.width = 0, .height = 1}), "is not a usable BMP image (size 0x1"},
      {"palette index beyond the palette",
       MakeBmp({.width = 1,
                .height = 1,
                .bits = 8,
                .palette = {0, 0, 0, 0},
                .paletteColours = 1,
                .rows = {5, 0, 0, 0}}),
       "refers to colour 5 beyond its 1-colour"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    try {
      DecodeBmp(c.bytes, "System/month.bmp");
      ADD_FAILURE() << "decoded";
    } catch (const DataFileError& e) {
      EXPECT_EQ(e.file(), "System/month.bmp");
      const std::string message = e.what();
      EXPECT_NE(message.find("\"System/month.bmp\" " + std::string(c.expected)), std::string::npos)
          << message;
    }
  }
}

// A missing file is among the month graph's template errors.
TEST(BmpFiles, DirectoryAndUncreatableFileGiveTheSystemsReason) {
  testing::ScratchProgramDir dir(false);
  const auto nowhere = dir.root() / "no such dir" / "tmp.bmp";
  EXPECT_EQ(ErrorOf([&] { ReadBmp(dir.system()); }),
            "Cannot open file \"" + dir.system().string() + "\". Is a directory");
  EXPECT_EQ(ErrorOf([&] { WriteBmp(Raster(1, 1), nowhere); }),
            "Cannot create file \"" + nowhere.string() + "\". No such file or directory");
}

}  // namespace
}  // namespace meridan
