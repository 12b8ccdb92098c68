#pragma once
// The off-screen drawing surface of the month graph: 24-bit RGB pixels, rows
// from the top, origin at the top left as on the template picture.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "base/colours.h"

namespace meridan {

static_assert(sizeof(Rgb) == 3, "rows are handed to the JPEG encoder as packed RGB");

struct Raster {
  int width = 0;
  int height = 0;
  std::vector<Rgb> pixels;  // width x height, row by row from the top

  Raster() = default;
  Raster(int width, int height, Rgb fill = {});

  bool Contains(long long x, long long y) const {
    return x >= 0 && y >= 0 && x < width && y < height;
  }
  const Rgb* Row(int y) const {
    return pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
  }
  Rgb* Row(int y) {
    return pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
  }
};

// Drawing is clipped at the edges: a pixel outside the raster is not painted.
inline void SetPixel(Raster& raster, long long x, long long y, Rgb colour) {
  if (raster.Contains(x, y)) raster.Row(static_cast<int>(y))[x] = colour;
}

// Reading outside the raster is a programming error, not a colour: throws
// std::out_of_range.
Rgb GetPixel(const Raster& raster, long long x, long long y);

}  // namespace meridan
