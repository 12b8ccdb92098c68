#pragma once
// Hand-made BMP files for the graph tests: a header builder that can also
// write the headers our writer never writes (top-down rows, 32-bit masks,
// palettes, OS/2 core headers), and the synthetic graph template.

#include <cstdint>
#include <filesystem>
#include <vector>

#include "app/graph/bmp.h"
#include "app/graph/raster.h"

namespace meridan::testing {

struct BmpLayout {
  std::int32_t width = 0;
  std::int32_t height = 0;  // negative: rows stored top-down
  std::uint16_t bits = 24;
  std::uint32_t compression = 0;
  std::uint32_t headerSize = 40;  // 12 for the OS/2 core header
  std::vector<std::uint32_t> masks{};  // red, green, blue after a 40-byte header
  std::vector<std::uint8_t> palette{};  // raw entries, BGRX (BGR for a core header)
  std::uint32_t paletteColours = 0;   // the header's colour count (0: all)
  std::vector<std::uint8_t> rows{};     // pixel data exactly as stored, padding included
};

inline void Put(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

inline std::vector<std::uint8_t> MakeBmp(const BmpLayout& layout) {
  std::vector<std::uint8_t> header;
  Put(header, layout.headerSize, 4);
  if (layout.headerSize == 12) {
    Put(header, static_cast<std::uint32_t>(layout.width), 2);
    Put(header, static_cast<std::uint32_t>(layout.height), 2);
    Put(header, 1, 2);
    Put(header, layout.bits, 2);
  } else {
    Put(header, static_cast<std::uint32_t>(layout.width), 4);
    Put(header, static_cast<std::uint32_t>(layout.height), 4);
    Put(header, 1, 2);
    Put(header, layout.bits, 2);
    Put(header, layout.compression, 4);
    Put(header, static_cast<std::uint32_t>(layout.rows.size()), 4);
    Put(header, 0, 4);
    Put(header, 0, 4);
    Put(header, layout.paletteColours, 4);
    Put(header, 0, 4);
    header.resize(layout.headerSize, 0);
  }
  for (std::uint32_t mask : layout.masks) Put(header, mask, 4);
  header.insert(header.end(), layout.palette.begin(), layout.palette.end());

  std::vector<std::uint8_t> file{'B', 'M'};
  const std::uint32_t offset = 14 + static_cast<std::uint32_t>(header.size());
  Put(file, offset + static_cast<std::uint32_t>(layout.rows.size()), 4);
  Put(file, 0, 4);
  Put(file, offset, 4);
  file.insert(file.end(), header.begin(), header.end());
  file.insert(file.end(), layout.rows.begin(), layout.rows.end());
  return file;
}

// The stand-in for the shipped template: the page's 626 x 205 pixels in one
// colour that the graph never draws in.
inline constexpr Rgb kTemplateColour{236, 233, 216};
inline constexpr int kTemplateWidth = 626;
inline constexpr int kTemplateHeight = 205;

inline void WriteTemplate(const std::filesystem::path& path, int width = kTemplateWidth,
                          int height = kTemplateHeight) {
  WriteBmp(Raster(width, height, kTemplateColour), path);
}

}  // namespace meridan::testing
