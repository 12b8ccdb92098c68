#pragma once
// Windows bitmap files: the graph template is read from one and the drawn
// graph passes through one on its way to JPEG.
//
// Read: uncompressed 24-bit and 32-bit pictures (32-bit also with bit-field
// masks) and 1-, 4- and 8-bit paletted ones, stored bottom-up or top-down,
// with the Windows (40- to 124-byte) or the OS/2 (12-byte) header.
// Written: 24-bit, bottom-up, 40-byte header.

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "base/files.h"
#include "output/graph/raster.h"

namespace meridan {

// The largest width or height accepted, far beyond any template; it keeps a
// damaged header from asking for gigabytes.
inline constexpr int kMaxBmpSide = 4096;

// Decodes the bytes of a BMP file; `name` is the file named in errors.
// Throws std::runtime_error for bytes that are not a BMP image, a bit depth or
// compression not read here, or a file that ends early.
Raster DecodeBmp(std::span<const std::uint8_t> bytes, const std::string& name);

// Reads a BMP file. A file that cannot be opened gives the system's
// "Cannot open file" message; other failures as DecodeBmp.
Raster ReadBmp(const std::filesystem::path& path);

std::vector<std::uint8_t> EncodeBmp(const Raster& raster);

// Writes a 24-bit BMP file whole, under a new name renamed into place
// ("Cannot create file" when it cannot be made; the old file then stays).
void WriteBmp(const Raster& raster, const std::filesystem::path& path,
              Durability durability = Durability::Flushed);

}  // namespace meridan
