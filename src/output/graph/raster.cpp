#include "output/graph/raster.h"

#include <stdexcept>
#include <string>

namespace meridan {

Raster::Raster(int w, int h, Rgb fill) : width(w), height(h) {
  if (w < 0 || h < 0) throw std::invalid_argument("negative raster size");
  pixels.assign(static_cast<size_t>(w) * static_cast<size_t>(h), fill);
}

Rgb GetPixel(const Raster& raster, long long x, long long y) {
  if (!raster.Contains(x, y))
    throw std::out_of_range("pixel (" + std::to_string(x) + ", " + std::to_string(y) +
                            ") outside a " + std::to_string(raster.width) + "x" +
                            std::to_string(raster.height) + " raster");
  return raster.Row(static_cast<int>(y))[x];
}

}  // namespace meridan
