#pragma once
// JPEG output of the graph through libjpeg: baseline, three 8-bit colour
// components, the library's defaults otherwise (JFIF header, 2x2 chroma
// subsampling, standard Huffman tables) at the quality given.

#include <cstdint>
#include <span>
#include <vector>

#include "output/graph/raster.h"

namespace meridan {

inline constexpr int kGraphJpegQuality = 90;

// Encodes in memory. A libjpeg failure becomes std::runtime_error carrying
// the library's message.
std::vector<std::uint8_t> EncodeJpeg(const Raster& raster, int quality);

// Decodes a JPEG (the graph's own, for the PDF digest) into RGB pixels.
// Throws std::runtime_error with libjpeg's message for bytes it cannot read.
Raster DecodeJpeg(std::span<const std::uint8_t> jpeg);

}  // namespace meridan
