#include "app/graph/bmp.h"

#include <gtest/gtest.h>

#include <string>

#include "bmp_bytes.h"
#include "support/program_dir.h"

namespace meridan {
namespace {

using testing::BmpLayout;
using testing::MakeBmp;

constexpr Rgb kRed{255, 0, 0}, kGreen{0, 255, 0}, kBlue{0, 0, 255}, kGrey{10, 20, 30};

// Message of the runtime_error that decoding throws, or "" when it decodes.
std::string DecodeError(const std::vector<std::uint8_t>& bytes) {
  try {
    DecodeBmp(bytes, "System/month.bmp");
  } catch (const std::runtime_error& e) {
    return e.what();
  }
  return "";
}

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
  EXPECT_EQ(bytes[54], 7);
  EXPECT_EQ(bytes[55], 180);
  EXPECT_EQ(bytes[56], 0);
  const Raster back = DecodeBmp(bytes, "round trip");
  EXPECT_EQ(back.width, 5);
  EXPECT_EQ(back.height, 3);
  EXPECT_EQ(back.pixels, raster.pixels);
}

// Two by two pixels: red, green over blue, grey, stored in either row order.
struct OrderCase {
  const char* name;
  std::int32_t height;
  std::vector<std::uint8_t> rows;
};

TEST(BmpRead, TwentyFourBitRowsBottomUpAndTopDown) {
  const std::vector<std::uint8_t> top = {0, 0, 255, 0, 255, 0, 0, 0};      // red, green, pad
  const std::vector<std::uint8_t> bottom = {255, 0, 0, 30, 20, 10, 0, 0};  // blue, grey, pad
  std::vector<std::uint8_t> bottomUp = bottom, topDown = top;
  bottomUp.insert(bottomUp.end(), top.begin(), top.end());
  topDown.insert(topDown.end(), bottom.begin(), bottom.end());
  for (const OrderCase& c : {OrderCase{"bottom-up", 2, bottomUp}, OrderCase{"top-down", -2, topDown}}) {
    SCOPED_TRACE(c.name);
    const Raster r = DecodeBmp(MakeBmp({.width = 2, .height = c.height, .rows = c.rows}), c.name);
    ASSERT_EQ(r.height, 2);
    EXPECT_EQ(GetPixel(r, 0, 0), kRed);
    EXPECT_EQ(GetPixel(r, 1, 0), kGreen);
    EXPECT_EQ(GetPixel(r, 0, 1), kBlue);
    EXPECT_EQ(GetPixel(r, 1, 1), kGrey);
  }
}

TEST(BmpRead, ThirtyTwoBitPlainAndWithColourMasks) {
  // Plain 32-bit pixels are B, G, R and an unused byte.
  const Raster plain = DecodeBmp(
      MakeBmp({.width = 2, .height = -1, .bits = 32, .rows = {0, 0, 255, 99, 30, 20, 10, 99}}),
      "plain");
  EXPECT_EQ(GetPixel(plain, 0, 0), kRed);
  EXPECT_EQ(GetPixel(plain, 1, 0), kGrey);

  // Masks that put red in the lowest byte (R, G, B, A order in memory); the
  // V5 header carries them inside, the 40-byte header after it.
  for (std::uint32_t headerSize : {40u, 124u}) {
    SCOPED_TRACE(headerSize);
    BmpLayout layout{.width = 2, .height = 1, .bits = 32, .compression = 3, .headerSize = headerSize,
                 .rows = {255, 0, 0, 0, 10, 20, 30, 0}};
    std::vector<std::uint8_t> bytes;
    if (headerSize == 40) {
      layout.masks = {0x000000ff, 0x0000ff00, 0x00ff0000};
      bytes = MakeBmp(layout);
    } else {
      bytes = MakeBmp(layout);
      for (int i = 0; i < 4; ++i) {  // masks at bytes 40..51 of the header
        bytes[14 + 40 + i] = static_cast<std::uint8_t>(0x000000ffu >> (8 * i));
        bytes[14 + 44 + i] = static_cast<std::uint8_t>(0x0000ff00u >> (8 * i));
        bytes[14 + 48 + i] = static_cast<std::uint8_t>(0x00ff0000u >> (8 * i));
      }
    }
    const Raster masked = DecodeBmp(bytes, "masked");
    EXPECT_EQ(GetPixel(masked, 0, 0), kRed);
    EXPECT_EQ(GetPixel(masked, 1, 0), (Rgb{10, 20, 30}));
  }
}

TEST(BmpRead, PalettedPixelsOfOneFourAndEightBits) {
  const std::vector<std::uint8_t> palette = {0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 0};  // R, G, B
  // Eight bits: one byte per pixel, rows padded to four bytes.
  const Raster eight = DecodeBmp(
      MakeBmp({.width = 3, .height = 1, .bits = 8, .palette = palette, .paletteColours = 3,
               .rows = {2, 1, 0, 0}}),
      "8-bit");
  EXPECT_EQ(GetPixel(eight, 0, 0), kBlue);
  EXPECT_EQ(GetPixel(eight, 1, 0), kGreen);
  EXPECT_EQ(GetPixel(eight, 2, 0), kRed);
  // Four bits: the high nibble is the left pixel.
  const Raster four = DecodeBmp(
      MakeBmp({.width = 3, .height = 1, .bits = 4, .palette = palette, .paletteColours = 3,
               .rows = {0x12, 0x00, 0, 0}}),
      "4-bit");
  EXPECT_EQ(GetPixel(four, 0, 0), kGreen);
  EXPECT_EQ(GetPixel(four, 1, 0), kBlue);
  EXPECT_EQ(GetPixel(four, 2, 0), kRed);
  // One bit, nine pixels wide: the ninth pixel is the top bit of the second byte.
  const Raster one = DecodeBmp(
      MakeBmp({.width = 9, .height = 1, .bits = 1, .palette = palette, .paletteColours = 2,
               .rows = {0b10000001, 0b10000000, 0, 0}}),
      "1-bit");
  EXPECT_EQ(GetPixel(one, 0, 0), kGreen);
  EXPECT_EQ(GetPixel(one, 1, 0), kRed);
  EXPECT_EQ(GetPixel(one, 7, 0), kGreen);
  EXPECT_EQ(GetPixel(one, 8, 0), kGreen);
  // The OS/2 core header with three-byte palette entries.
  const Raster core = DecodeBmp(
      MakeBmp({.width = 1, .height = 1, .bits = 8, .headerSize = 12,
               .palette = std::vector<std::uint8_t>(256 * 3, 0), .rows = {0, 0, 0, 0}}),
      "core");
  EXPECT_EQ(GetPixel(core, 0, 0), (Rgb{0, 0, 0}));
}

TEST(BmpRead, DamagedOrUnsupportedFilesAreClearErrorsNamingTheFile) {
  const std::vector<std::uint8_t> good = MakeBmp({.width = 2, .height = 2, .rows = std::vector<std::uint8_t>(16, 0)});
  std::vector<std::uint8_t> cutPixels(good.begin(), good.end() - 1);
  std::vector<std::uint8_t> cutHeader(good.begin(), good.begin() + 30);
  const std::string gif = "GIF89a\x01\x00\x01\x00";
  struct Case {
    const char* name;
    std::vector<std::uint8_t> bytes;
    const char* expected;
  } cases[] = {
      {"not a bitmap", {gif.begin(), gif.end()}, "is not a BMP image"},
      {"empty file", {}, "is not a BMP image"},
      {"16-bit", MakeBmp({.width = 1, .height = 1, .bits = 16, .rows = {0, 0, 0, 0}}),
       "unsupported bit depth 16"},
      {"RLE8", MakeBmp({.width = 1, .height = 1, .bits = 8, .compression = 1, .rows = {0, 1, 0, 0}}),
       "unsupported compression 1"},
      {"pixel data cut short", cutPixels, "is truncated"},
      {"header cut short", cutHeader, "is truncated"},
      {"zero width", MakeBmp({.width = 0, .height = 1}), "size 0x1"},
      {"unknown header size", MakeBmp({.width = 1, .height = 1, .headerSize = 20}), "is not a BMP image"},
      {"palette index beyond the palette",
       MakeBmp({.width = 1, .height = 1, .bits = 8, .palette = {0, 0, 0, 0}, .paletteColours = 1,
                .rows = {5, 0, 0, 0}}),
       "refers to colour 5 beyond its 1-colour"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string message = DecodeError(c.bytes);
    EXPECT_NE(message.find("\"System/month.bmp\""), std::string::npos) << message;
    EXPECT_NE(message.find(c.expected), std::string::npos) << message;
  }
}

TEST(BmpFiles, MissingFileAndUncreatableFileUseTheSystemMessages) {
  testing::ProgramDir dir(false);
  const auto missing = dir.system() / "month.bmp";
  try {
    ReadBmp(missing);
    FAIL() << "read a missing file";
  } catch (const std::runtime_error& e) {
    EXPECT_EQ(std::string(e.what()),
              "Cannot open file \"" + missing.string() + "\". No such file or directory");
  }
  try {
    ReadBmp(dir.system());
    FAIL() << "read a directory";
  } catch (const std::runtime_error& e) {
    EXPECT_EQ(std::string(e.what()),
              "Cannot open file \"" + dir.system().string() + "\". Is a directory");
  }
  const auto nowhere = dir.root() / "no such dir" / "tmp.bmp";
  try {
    WriteBmp(Raster(1, 1), nowhere);
    FAIL() << "wrote into a missing directory";
  } catch (const std::runtime_error& e) {
    EXPECT_EQ(std::string(e.what()),
              "Cannot create file \"" + nowhere.string() + "\". No such file or directory");
  }
}

TEST(BmpFiles, WrittenFileReadsBack) {
  testing::ProgramDir dir(false);
  Raster raster(626, 205, testing::kTemplateColour);
  SetPixel(raster, 625, 204, kRed);
  WriteBmp(raster, dir.system() / "tmp.bmp");
  const Raster back = ReadBmp(dir.system() / "tmp.bmp");
  EXPECT_EQ(back.pixels, raster.pixels);
}

}  // namespace
}  // namespace meridan
