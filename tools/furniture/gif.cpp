#include "tools/furniture/gif.h"

#include <algorithm>
#include <stdexcept>
#include <string>
#include <unordered_map>

namespace meridan::furniture {
namespace {

constexpr int kMaxCodeBits = 12;
constexpr int kTableSize = 1 << kMaxCodeBits;
constexpr std::size_t kMaxSubBlock = 255;

// Codes go out least significant bit first, as the format packs them.
class BitWriter {
 public:
  void Put(unsigned code, int bits) {
    buffer_ |= static_cast<std::uint32_t>(code) << count_;
    count_ += bits;
    while (count_ >= 8) {
      bytes_.push_back(static_cast<std::uint8_t>(buffer_ & 0xFF));
      buffer_ >>= 8;
      count_ -= 8;
    }
  }
  std::vector<std::uint8_t> Finish() {
    if (count_ > 0) bytes_.push_back(static_cast<std::uint8_t>(buffer_ & 0xFF));
    buffer_ = 0;
    count_ = 0;
    return std::move(bytes_);
  }

 private:
  std::vector<std::uint8_t> bytes_;
  std::uint32_t buffer_ = 0;
  int count_ = 0;
};

void PutWord(std::vector<std::uint8_t>& out, int value) {
  out.push_back(static_cast<std::uint8_t>(value & 0xFF));
  out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
}

// Bits of the colour table: the table holds 2^bits entries, bits 1..8.
int TableBits(std::size_t colours) {
  int bits = 1;
  while ((std::size_t{1} << bits) < colours) ++bits;
  return bits;
}

}  // namespace

std::vector<std::uint8_t> LzwEncode(std::span<const std::uint8_t> indices, int minCodeSize) {
  if (minCodeSize < 2 || minCodeSize > 8)
    throw std::invalid_argument("LZW minimum code size " + std::to_string(minCodeSize) +
                                " outside 2..8");
  const unsigned clear = 1u << minCodeSize;
  const unsigned end = clear + 1;
  for (std::uint8_t index : indices)
    if (index >= clear)
      throw std::invalid_argument("pixel index " + std::to_string(index) + " needs more than " +
                                  std::to_string(minCodeSize) + " bits");

  BitWriter out;
  // Table entries beyond the single colours: (prefix code, next index) -> code.
  std::unordered_map<std::uint32_t, unsigned> table;
  int width = minCodeSize + 1;
  unsigned next = end + 1;
  auto reset = [&] {
    out.Put(clear, width);
    table.clear();
    width = minCodeSize + 1;
    next = end + 1;
  };
  reset();
  if (indices.empty()) {
    out.Put(end, width);
    return out.Finish();
  }

  unsigned prefix = indices[0];
  for (std::size_t i = 1; i < indices.size(); ++i) {
    const std::uint32_t key = prefix << 8 | indices[i];
    if (const auto found = table.find(key); found != table.end()) {
      prefix = found->second;
      continue;
    }
    out.Put(prefix, width);
    table.emplace(key, next++);
    // The decoder makes this entry one code later than we do, so it widens
    // its codes when its own count reaches the next power of two.
    if (next - 1 == (1u << width) && width < kMaxCodeBits) ++width;
    if (next == kTableSize) reset();
    prefix = indices[i];
  }
  out.Put(prefix, width);
  out.Put(end, width);
  return out.Finish();
}

std::vector<std::uint8_t> EncodeGif(const IndexedImage& image) {
  if (image.palette.empty() || image.palette.size() > 256)
    throw std::invalid_argument("GIF palette of " + std::to_string(image.palette.size()) +
                                " colours; 1 to 256 are possible");
  if (image.width <= 0 || image.height <= 0 || image.width > 0xFFFF || image.height > 0xFFFF ||
      image.pixels.size() != static_cast<std::size_t>(image.width) * image.height)
    throw std::invalid_argument("GIF image of " + std::to_string(image.width) + "x" +
                                std::to_string(image.height) + " with " +
                                std::to_string(image.pixels.size()) + " pixels");
  for (std::uint8_t index : image.pixels)
    if (index >= image.palette.size())
      throw std::invalid_argument("pixel index " + std::to_string(index) +
                                  " outside a palette of " + std::to_string(image.palette.size()) +
                                  " colours");
  if (image.transparent >= static_cast<int>(image.palette.size()))
    throw std::invalid_argument("transparent index " + std::to_string(image.transparent) +
                                " outside the palette");

  const int tableBits = TableBits(image.palette.size());
  std::vector<std::uint8_t> out = {'G', 'I', 'F', '8', '9', 'a'};

  // Logical screen: the image's size, a global colour table with 8-bit
  // primaries, background colour 0, square pixels.
  PutWord(out, image.width);
  PutWord(out, image.height);
  out.push_back(static_cast<std::uint8_t>(0x80 | (7 << 4) | (tableBits - 1)));
  out.push_back(0);
  out.push_back(0);
  for (std::size_t i = 0; i < (std::size_t{1} << tableBits); ++i) {
    const Rgb colour = i < image.palette.size() ? image.palette[i] : Rgb{};
    out.insert(out.end(), {colour.r, colour.g, colour.b});
  }

  if (image.transparent >= 0) {
    // Graphic control extension: no disposal, no delay, transparency on.
    out.insert(out.end(), {0x21, 0xF9, 0x04, 0x01, 0x00, 0x00,
                           static_cast<std::uint8_t>(image.transparent), 0x00});
  }

  // Image descriptor: the whole screen, no local table, not interlaced.
  out.push_back(0x2C);
  PutWord(out, 0);
  PutWord(out, 0);
  PutWord(out, image.width);
  PutWord(out, image.height);
  out.push_back(0);

  // LZW codes need at least 2 bits, even for a two-colour table.
  const int minCodeSize = tableBits < 2 ? 2 : tableBits;
  out.push_back(static_cast<std::uint8_t>(minCodeSize));
  const std::vector<std::uint8_t> codes = LzwEncode(image.pixels, minCodeSize);
  for (std::size_t at = 0; at < codes.size(); at += kMaxSubBlock) {
    const std::size_t length = std::min(kMaxSubBlock, codes.size() - at);
    out.push_back(static_cast<std::uint8_t>(length));
    out.insert(out.end(), codes.begin() + static_cast<long>(at),
               codes.begin() + static_cast<long>(at + length));
  }
  out.push_back(0);     // end of the image data
  out.push_back(0x3B);  // trailer
  return out;
}

}  // namespace meridan::furniture
