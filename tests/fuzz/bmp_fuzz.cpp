// libFuzzer target for the BMP reader that loads the graph template: any
// bytes must decode or give the reader's runtime_error, never crash, read
// out of bounds or allocate without limit.
#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>

#include "output/graph/bmp.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    const meridan::Raster raster = meridan::DecodeBmp(std::span(data, size), "month.bmp");
    if (raster.pixels.size() != static_cast<std::size_t>(raster.width) * raster.height)
      __builtin_trap();
  } catch (const std::runtime_error&) {
  }
  return 0;
}
