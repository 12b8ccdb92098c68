// The GIF writer, checked by a decoder written here from the GIF89a format
// description (independently of the encoder's table logic) and against the
// worked example of that description.

#include "tools/furniture/gif.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "tools/furniture/furniture.h"
#include "tools/furniture/page_images.h"

namespace meridan::furniture {
namespace {

using Bytes = std::vector<std::uint8_t>;

// --- A small decoder: one image, global table, optional transparency. ---

class Reader {
 public:
  explicit Reader(const Bytes& bytes) : bytes_(bytes) {}
  std::uint8_t Byte() {
    if (at_ >= bytes_.size()) throw std::runtime_error("GIF ends early");
    return bytes_[at_++];
  }
  int Word() {
    const int low = Byte();
    return low | Byte() << 8;
  }
  bool AtEnd() const { return at_ == bytes_.size(); }

 private:
  const Bytes& bytes_;
  std::size_t at_ = 0;
};

Bytes SubBlocks(Reader& in) {
  Bytes data;
  for (int length = in.Byte(); length != 0; length = in.Byte())
    for (int i = 0; i < length; ++i) data.push_back(in.Byte());
  return data;
}

// LZW as the decoder side of the format: a table of strings, entries added
// one code behind, the code width growing when the next free entry reaches
// the next power of two, up to 12 bits.
Bytes LzwDecode(const Bytes& codes, int minCodeSize) {
  const int clear = 1 << minCodeSize, end = clear + 1;
  std::vector<Bytes> table;
  int width = 0;
  auto reset = [&] {
    table.clear();
    for (int i = 0; i < clear; ++i) table.push_back({static_cast<std::uint8_t>(i)});
    table.push_back({});
    table.push_back({});
    width = minCodeSize + 1;
  };
  reset();
  std::size_t bit = 0;
  auto read = [&] {
    if (bit + width > codes.size() * 8) throw std::runtime_error("LZW data ends without end code");
    int code = 0;
    for (int i = 0; i < width; ++i, ++bit) code |= ((codes[bit / 8] >> (bit % 8)) & 1) << i;
    return code;
  };
  Bytes out;
  int previous = -1;
  for (;;) {
    const int code = read();
    if (code == clear) {
      reset();
      previous = -1;
      continue;
    }
    if (code == end) break;
    Bytes entry;
    if (code < static_cast<int>(table.size()) && (code < clear || code > end)) {
      entry = table[code];
    } else if (code == static_cast<int>(table.size()) && previous >= 0) {
      entry = table[previous];
      entry.push_back(table[previous][0]);
    } else {
      throw std::runtime_error("LZW code " + std::to_string(code) + " not in the table");
    }
    out.insert(out.end(), entry.begin(), entry.end());
    if (previous >= 0 && table.size() < 4096) {
      Bytes added = table[previous];
      added.push_back(entry[0]);
      table.push_back(added);
      if (table.size() == (1u << width) && width < 12) ++width;
    }
    previous = code;
  }
  return out;
}

IndexedImage DecodeGif(const Bytes& bytes) {
  Reader in(bytes);
  std::string signature;
  for (int i = 0; i < 6; ++i) signature += static_cast<char>(in.Byte());
  if (signature != "GIF89a") throw std::runtime_error("not GIF89a: " + signature);
  IndexedImage image;
  image.width = in.Word();
  image.height = in.Word();
  const int flags = in.Byte();
  in.Byte();  // background colour
  in.Byte();  // aspect ratio
  if (!(flags & 0x80)) throw std::runtime_error("no global colour table");
  for (int i = 0; i < (2 << (flags & 7)); ++i) {
    const std::uint8_t r = in.Byte(), g = in.Byte(), b = in.Byte();
    image.palette.push_back({r, g, b});
  }
  for (;;) {
    const int block = in.Byte();
    if (block == 0x21) {
      const int label = in.Byte();
      const Bytes data = SubBlocks(in);
      if (label == 0xF9 && data.size() == 4 && (data[0] & 1)) image.transparent = data[3];
    } else if (block == 0x2C) {
      if (in.Word() != 0 || in.Word() != 0) throw std::runtime_error("image not at the origin");
      if (in.Word() != image.width || in.Word() != image.height)
        throw std::runtime_error("image not the screen's size");
      if (in.Byte() != 0) throw std::runtime_error("local table or interlace");
      const int minCodeSize = in.Byte();
      image.pixels = LzwDecode(SubBlocks(in), minCodeSize);
    } else if (block == 0x3B) {
      break;
    } else {
      throw std::runtime_error("unknown block " + std::to_string(block));
    }
  }
  if (!in.AtEnd()) throw std::runtime_error("bytes after the trailer");
  return image;
}

Bytes ReadFile(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) throw std::runtime_error("cannot open " + path.string());
  return Bytes(std::istreambuf_iterator<char>(file), {});
}

Bytes Noise(std::size_t count, std::uint32_t seed, int colours) {
  Bytes out(count);
  for (auto& value : out) {
    seed = seed * 1664525u + 1013904223u;
    value = static_cast<std::uint8_t>((seed >> 16) % colours);
  }
  return out;
}

// --- The code stream. ---

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
  EXPECT_EQ(LzwDecode(published, 2), pixels);
}

struct RoundTrip {
  const char* name;
  Bytes pixels;
  int minCodeSize;
};

void PrintTo(const RoundTrip& c, std::ostream* os) { *os << c.name; }

class LzwRoundTrip : public testing::TestWithParam<RoundTrip> {};

TEST_P(LzwRoundTrip, DecodesToTheSamePixels) {
  const RoundTrip& c = GetParam();
  EXPECT_EQ(LzwDecode(LzwEncode(c.pixels, c.minCodeSize), c.minCodeSize), c.pixels);
}

INSTANTIATE_TEST_SUITE_P(
    Streams, LzwRoundTrip,
    testing::Values(RoundTrip{"Empty", {}, 2}, RoundTrip{"OnePixel", {3}, 2},
                    // A long run: the KwKwK case (a code used the moment it is made)
                    // over and over, with the codes widening to 8 bits.
                    RoundTrip{"LongRun", Bytes(20000, 1), 2},
                    // Noise of 4 colours: the table fills and is cleared many times.
                    RoundTrip{"FourColourNoise", Noise(40000, 7, 4), 2},
                    // 256 colours: codes start at 9 bits and reach 12 after ~3800 codes.
                    RoundTrip{"ByteNoise", Noise(60000, 11, 256), 8},
                    // Widths change exactly at a clear: stripes of a few colours.
                    RoundTrip{"Stripes",
                              [] {
                                Bytes b;
                                for (int i = 0; i < 30000; ++i)
                                  b.push_back(static_cast<std::uint8_t>((i / 7) % 16));
                                return b;
                              }(),
                              4}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LzwEncode, RejectsIndicesBeyondTheCodeSize) {
  EXPECT_THROW(LzwEncode(Bytes{0, 4}, 2), std::invalid_argument);
  EXPECT_THROW(LzwEncode(Bytes{0}, 1), std::invalid_argument);
  EXPECT_THROW(LzwEncode(Bytes{0}, 9), std::invalid_argument);
}

// --- The file. ---

TEST(EncodeGif, FileDecodesToSizePaletteTransparencyAndPixels) {
  IndexedImage image;
  image.width = 7;
  image.height = 3;
  image.palette = {{238, 246, 252}, {20, 50, 146}, {132, 172, 250}};
  image.transparent = 0;
  // clang-format off
  image.pixels = {0, 1, 1, 1, 1, 1, 0,  1, 2, 2, 2, 2, 2, 1,  0, 1, 1, 1, 1, 1, 0};
  // clang-format on
  const IndexedImage back = DecodeGif(EncodeGif(image));
  EXPECT_EQ(back.width, 7);
  EXPECT_EQ(back.height, 3);
  EXPECT_EQ(back.transparent, 0);
  EXPECT_EQ(back.pixels, image.pixels);
  // Three colours travel in a table of four; the fourth is black.
  ASSERT_EQ(back.palette.size(), 4u);
  for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(back.palette[i], image.palette[i]) << i;
  EXPECT_EQ(back.palette[3], (Rgb{0, 0, 0}));
}

TEST(EncodeGif, WithoutTransparencyWritesNoControlBlock) {
  IndexedImage image{2, 1, {{0, 0, 0}, {255, 255, 255}}, {1, 0}, -1};
  const Bytes bytes = EncodeGif(image);
  // Header 6, screen 7, table 2 x 3, then the image descriptor at once.
  ASSERT_GT(bytes.size(), 19u);
  EXPECT_EQ(bytes[19], 0x2C);
  EXPECT_EQ(DecodeGif(bytes).transparent, -1);
  EXPECT_EQ(DecodeGif(bytes).pixels, image.pixels);
}

TEST(EncodeGif, LongImageDataIsCutIntoBlocksOf255) {
  IndexedImage image{300, 200, {}, Noise(60000, 3, 256), -1};
  for (int i = 0; i < 256; ++i)
    image.palette.push_back({std::uint8_t(i), std::uint8_t(255 - i), 0});
  EXPECT_EQ(DecodeGif(EncodeGif(image)).pixels, image.pixels);
}

TEST(EncodeGif, RejectsInconsistentImages) {
  const IndexedImage good{2, 1, {{0, 0, 0}, {1, 1, 1}}, {0, 1}, -1};
  auto with = [&](auto change) {
    IndexedImage bad = good;
    change(bad);
    return bad;
  };
  EXPECT_THROW(EncodeGif(with([](IndexedImage& i) { i.palette.clear(); })), std::invalid_argument);
  EXPECT_THROW(EncodeGif(with([](IndexedImage& i) { i.palette.resize(257); })),
               std::invalid_argument);
  EXPECT_THROW(EncodeGif(with([](IndexedImage& i) { i.pixels.push_back(0); })),
               std::invalid_argument);
  EXPECT_THROW(EncodeGif(with([](IndexedImage& i) { i.pixels[1] = 2; })), std::invalid_argument);
  EXPECT_THROW(EncodeGif(with([](IndexedImage& i) { i.transparent = 2; })), std::invalid_argument);
  EXPECT_THROW(EncodeGif(with([](IndexedImage& i) {
                 i.width = 0;
                 i.pixels.clear();
               })),
               std::invalid_argument);
}

// --- The shipped bars. ---

// Length of the opaque run on the bar's middle row.
int BarLength(const IndexedImage& bar) {
  const std::size_t row = static_cast<std::size_t>(bar.height / 2) * bar.width;
  int length = 0;
  while (length < bar.width && bar.pixels[row + length] != bar.transparent) ++length;
  return length;
}

TEST(ShippedBars, AreTheGeneratorsOutputAndGrowWithStrength) {
  for (bool favourable : {true, false}) {
    int previous = 0;
    for (int strength = 1; strength <= kStrongest; ++strength) {
      const std::string name = BarFileName(favourable, strength);
      SCOPED_TRACE(name);
      const Bytes shipped = ReadFile(std::filesystem::path(MERIDAN_DATA_DIR) / "Output" / name);
      EXPECT_EQ(shipped, EncodeGif(RatingBar(favourable, strength)))
          << "data/Output is stale: regenerate with `furniture data`";
      const IndexedImage bar = DecodeGif(shipped);
      EXPECT_EQ(bar.height, kBarHeight);
      EXPECT_EQ(bar.transparent, kBarBackground);
      EXPECT_EQ(BarLength(bar), kBarUnit * strength);
      EXPECT_GT(BarLength(bar), previous);
      previous = BarLength(bar);
      // The bar's own colour: blue or red well ahead of the other primaries.
      const Rgb middle =
          bar.palette[bar.pixels[static_cast<std::size_t>(bar.height / 2) * bar.width + 1]];
      const int lead = favourable ? middle.b - std::max(middle.r, middle.g)
                                  : middle.r - std::max(middle.g, middle.b);
      EXPECT_GT(lead, 60) << int(middle.r) << "," << int(middle.g) << "," << int(middle.b);
    }
  }
}

TEST(RatingBar, RejectsStrengthsWithoutABar) {
  EXPECT_THROW(RatingBar(true, 0), std::invalid_argument);
  EXPECT_THROW(RatingBar(false, kStrongest + 1), std::invalid_argument);
}

}  // namespace
}  // namespace meridan::furniture
