// The GIF writer, checked by a decoder written here from the GIF89a format
// description (independently of the encoder's table logic) and against the
// worked example of that description.

#include "tools/furniture/gif.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "tools/furniture/page_images.h"

namespace meridan::furniture {
namespace {

using Bytes = std::vector<std::uint8_t>;

void Require(bool ok, const std::string& what) {
  if (!ok) throw std::runtime_error(what);
}

// LZW as the decoder side of the format: a table of strings, entries added
// one code behind, the code width growing when the next free entry reaches
// the next power of two, up to 12 bits.
Bytes LzwDecode(const Bytes& codes, int minCodeSize) {
  const int clear = 1 << minCodeSize, end = clear + 1;
  std::vector<Bytes> table;  // empty until the clear code that must come first
  int width = minCodeSize + 1, previous = -1;
  Bytes out;
  for (std::size_t bit = 0;;) {
    Require(bit + width <= codes.size() * 8, "LZW data ends without end code");
    int code = 0;
    for (int i = 0; i < width; ++i, ++bit) code |= ((codes[bit / 8] >> (bit % 8)) & 1) << i;
    Require(code == clear || !table.empty(), "LZW data does not start with a clear code");
    if (code == clear) {
      table.assign(clear + 2, {});  // the clear and end codes hold no string
      for (int i = 0; i < clear; ++i) table[i] = {static_cast<std::uint8_t>(i)};
      width = minCodeSize + 1;
      previous = -1;
      continue;
    }
    if (code == end) return out;
    const int next = static_cast<int>(table.size());
    Require(code < next || (code == next && previous >= 0), "LZW code " + std::to_string(code));
    Bytes entry = table[code < next ? code : previous];
    if (code == next) entry.push_back(entry[0]);  // a code used the moment it is made
    out.insert(out.end(), entry.begin(), entry.end());
    if (previous >= 0 && next < 4096) {
      table.push_back(table[previous]);
      table.back().push_back(entry[0]);
      if (table.size() == (1u << width) && width < 12) ++width;
    }
    previous = code;
  }
}

// One image filling the screen, a global table, optional transparency;
// anything else the writer should not emit throws.
IndexedImage DecodeGif(const Bytes& bytes) {
  std::size_t at = 0;
  auto byte = [&]() -> std::uint8_t {
    Require(at < bytes.size(), "GIF ends early");
    return bytes[at++];
  };
  auto word = [&] {
    const int low = byte();
    return low | byte() << 8;
  };
  auto subBlocks = [&] {
    Bytes data;
    for (int length = byte(); length != 0; length = byte())
      while (length-- > 0) data.push_back(byte());
    return data;
  };
  for (char c : std::string("GIF89a")) Require(byte() == c, "not GIF89a");
  IndexedImage image;
  image.width = word();
  image.height = word();
  const int flags = byte();
  word();  // background colour, aspect ratio
  Require(flags & 0x80, "no global colour table");
  for (int i = 0; i < (2 << (flags & 7)); ++i) image.palette.push_back({byte(), byte(), byte()});
  for (int block = byte(); block != 0x3B; block = byte()) {
    if (block == 0x21) {
      const int label = byte();
      const Bytes data = subBlocks();
      if (label == 0xF9 && data.size() == 4 && (data[0] & 1)) image.transparent = data[3];
      continue;
    }
    Require(block == 0x2C, "unknown block " + std::to_string(block));
    Require(word() == 0 && word() == 0 && word() == image.width && word() == image.height &&
                byte() == 0,
            "image not a plain frame filling the screen");
    const int minCodeSize = byte();
    image.pixels = LzwDecode(subBlocks(), minCodeSize);
  }
  Require(at == bytes.size(), "bytes after the trailer");
  return image;
}

// The sample image of the GIF89a walk-through in "What's in a GIF" (Matthew
// Flickinger): 10 x 10 pixels of colours 0..2 with a 2-bit minimum code
// size, whose image data is the 22 bytes below.
TEST(LzwEncode, ReproducesThePublishedSampleImage) {
  // clang-format off
  const Bytes pixels = {
      1, 1, 1, 1, 1, 2, 2, 2, 2, 2,  1, 1, 1, 1, 1, 2, 2, 2, 2, 2,  1, 1, 1, 1, 1, 2, 2, 2, 2, 2,
      1, 1, 1, 0, 0, 0, 0, 2, 2, 2,  1, 1, 1, 0, 0, 0, 0, 2, 2, 2,  2, 2, 2, 0, 0, 0, 0, 1, 1, 1,
      2, 2, 2, 0, 0, 0, 0, 1, 1, 1,  2, 2, 2, 2, 2, 1, 1, 1, 1, 1,  2, 2, 2, 2, 2, 1, 1, 1, 1, 1,
      2, 2, 2, 2, 2, 1, 1, 1, 1, 1};
  const Bytes published = {0x8C, 0x2D, 0x99, 0x87, 0x2A, 0x1C, 0xDC, 0x33, 0xA0, 0x02, 0x75,
                           0xEC, 0x95, 0xFA, 0xA8, 0xDE, 0x60, 0x8C, 0x04, 0x91, 0x4C, 0x01};
  // clang-format on
  EXPECT_EQ(LzwEncode(pixels, 2), published);
  EXPECT_EQ(LzwDecode(published, 2), pixels);  // the decoder agrees with the example too
}

TEST(EncodeGif, FilesDecodeToTheirSizePaletteTransparencyAndPixels) {
  std::vector<Rgb> grey(256);
  for (int i = 0; i < 256; ++i) grey[i] = {std::uint8_t(i), std::uint8_t(i), std::uint8_t(i)};
  Bytes noise(60000);
  std::uint32_t seed = 11;  // a linear congruential generator's bits 16..23
  for (auto& value : noise) value = (seed = seed * 1664525u + 1013904223u) >> 16 & 0xFF;
  // clang-format off
  const std::pair<const char*, IndexedImage> rows[] = {
      {"three colours, transparent",
       {7, 3, {{238, 246, 252}, {20, 50, 146}, {132, 172, 250}},
        {0, 1, 1, 1, 1, 1, 0,  1, 2, 2, 2, 2, 2, 1,  0, 1, 1, 1, 1, 1, 0}, 0}},
      // One colour for 20000 pixels: a code used the moment it is made, over
      // and over, with the codes widening to 8 bits.
      {"long run", {200, 100, {{0, 0, 0}, {255, 255, 255}}, Bytes(20000, 1), -1}},
      // 256 colours: 9-bit codes reach 12 bits and the full table is cleared
      // many times; the data runs over many 255-byte sub-blocks.
      {"256-colour noise", {300, 200, grey, noise, -1}},
  };
  // clang-format on
  for (const auto& [name, image] : rows) {
    SCOPED_TRACE(name);
    const IndexedImage back = DecodeGif(EncodeGif(image));
    EXPECT_EQ(std::tuple(back.width, back.height, back.transparent),
              std::tuple(image.width, image.height, image.transparent));
    EXPECT_EQ(back.pixels, image.pixels);
    std::vector<Rgb> palette = image.palette;  // padded with black to a power of two
    palette.resize(std::max<std::size_t>(2, std::bit_ceil(palette.size())));
    EXPECT_EQ(back.palette, palette);
  }
  EXPECT_EQ(LzwDecode(LzwEncode(Bytes{}, 2), 2), Bytes{});  // no pixels: clear and end codes only
}

TEST(EncodeGif, RejectsWhatTheFormatCannotHold) {
  const std::vector<Rgb> two = {{0, 0, 0}, {1, 1, 1}};
  const std::pair<const char*, IndexedImage> rows[] = {
      {"no palette", {2, 1, {}, {0, 1}, -1}},
      {"257 colours", {2, 1, std::vector<Rgb>(257), {0, 1}, -1}},
      {"a pixel too many", {2, 1, two, {0, 1, 0}, -1}},
      {"index outside the palette", {2, 1, two, {0, 2}, -1}},
      {"transparent outside the palette", {2, 1, two, {0, 1}, 2}},
      {"no width", {0, 1, two, {}, -1}},
  };
  for (const auto& [name, image] : rows)
    EXPECT_THROW(EncodeGif(image), std::invalid_argument) << name;
  EXPECT_THROW(LzwEncode(Bytes{0, 4}, 2), std::invalid_argument);  // 4 needs three bits
}

// The shipped files are compared with this output in furniture_test.cpp.
TEST(RatingBar, GrowsByAUnitPerStrengthInBlueOrRed) {
  for (bool blue : {true, false})
    for (int strength = 1; strength <= kStrongest; ++strength) {
      SCOPED_TRACE(testing::Message() << (blue ? "blue " : "red ") << strength);
      const IndexedImage bar = RatingBar(blue, strength);
      const auto row = bar.pixels.begin() + (bar.height / 2) * bar.width;  // the middle row
      const auto length = std::find(row, row + bar.width, kBarBackground) - row;
      EXPECT_EQ(std::tuple(bar.height, bar.transparent, length),
                std::tuple(kBarHeight, kBarBackground, kBarUnit * strength));
      const Rgb c = bar.palette[row[1]];  // blue or red well ahead of the other primaries
      EXPECT_GT(blue ? c.b - std::max(c.r, c.g) : c.r - std::max(c.g, c.b), 60)
          << int(c.r) << "," << int(c.g) << "," << int(c.b);
    }
  EXPECT_THROW(RatingBar(true, 0), std::invalid_argument);
  EXPECT_THROW(RatingBar(false, kStrongest + 1), std::invalid_argument);
}

}  // namespace
}  // namespace meridan::furniture
