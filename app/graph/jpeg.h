#pragma once
// JPEG output of the graph through libjpeg: baseline, three 8-bit colour
// components, the library's defaults otherwise (JFIF header, 2x2 chroma
// subsampling, standard Huffman tables) at the quality given.

#include <cstdint>
#include <filesystem>
#include <vector>

#include "app/graph/raster.h"

namespace meridan {

inline constexpr int kGraphJpegQuality = 90;

// Encodes in memory. A libjpeg failure becomes std::runtime_error carrying
// the library's message.
std::vector<std::uint8_t> EncodeJpeg(const Raster& raster, int quality);

// Writes the JPEG beside the target under a temporary name and renames it
// into place when complete, so a failure leaves no part of an image behind.
// Errors name the target file.
void WriteJpeg(const Raster& raster, int quality, const std::filesystem::path& path);

}  // namespace meridan
