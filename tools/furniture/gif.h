#pragma once
// A small GIF89a writer for the page's rating bars: one image, a global
// colour table of up to 256 colours, an optional transparent colour, pixels
// compressed with the format's variable-width LZW.

#include <cstdint>
#include <span>
#include <vector>

#include "output/graph/raster.h"

namespace meridan::furniture {

struct IndexedImage {
  int width = 0;
  int height = 0;
  std::vector<Rgb> palette;          // 1 to 256 colours
  std::vector<std::uint8_t> pixels;  // palette indices, row by row from the top
  int transparent = -1;              // palette index shown as see-through, or -1
};

// The LZW code stream of a GIF image (before it is cut into sub-blocks):
// a clear code first, codes growing from minCodeSize + 1 to 12 bits, a new
// clear code whenever the 4096-entry table is full, the end code last; codes
// packed from the least significant bit of each byte. Every index must be
// below 2^minCodeSize (std::invalid_argument otherwise).
std::vector<std::uint8_t> LzwEncode(std::span<const std::uint8_t> indices, int minCodeSize);

// The whole file. Throws std::invalid_argument for an empty or oversized
// palette, a pixel count that does not match the size, or an index outside
// the palette.
std::vector<std::uint8_t> EncodeGif(const IndexedImage& image);

}  // namespace meridan::furniture
