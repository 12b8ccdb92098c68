#include "output/graph/bmp.h"

#include <bit>
#include <stdexcept>

#include "base/data_file_error.h"
#include "base/files.h"
#include "base/little_endian.h"

namespace meridan {
namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr size_t kCoreHeaderSize = 12;   // OS/2 BITMAPCOREHEADER
constexpr size_t kInfoHeaderSize = 40;   // BITMAPINFOHEADER; V4 and V5 extend it
constexpr std::uint32_t kRgb = 0;        // BI_RGB: no compression
constexpr std::uint32_t kBitFields = 3;  // BI_BITFIELDS: colour masks follow the header

std::uint16_t U16(std::span<const std::uint8_t> b, size_t at) {
  return static_cast<std::uint16_t>(LittleEndian(b.subspan(at, 2)));
}
std::uint32_t U32(std::span<const std::uint8_t> b, size_t at) {
  return static_cast<std::uint32_t>(LittleEndian(b.subspan(at, 4)));
}
std::int32_t I32(std::span<const std::uint8_t> b, size_t at) {
  return static_cast<std::int32_t>(U32(b, at));
}

// One colour channel of a bit-field pixel, scaled to 0..255.
struct Channel {
  std::uint32_t mask = 0;

  std::uint8_t Of(std::uint32_t pixel) const {
    if (mask == 0) return 0;
    const int shift = std::countr_zero(mask);
    const int bits = std::popcount(mask);
    const std::uint64_t value = (pixel & mask) >> shift;
    const std::uint64_t top = (std::uint64_t{1} << bits) - 1;
    return static_cast<std::uint8_t>(value * 255 / top);
  }
};

struct Layout {
  long long width = 0;
  long long height = 0;  // rows, always positive
  bool topDown = false;
  int bitsPerPixel = 0;
  std::uint32_t compression = kRgb;
  size_t paletteAt = 0;
  size_t paletteEntrySize = 4;
  std::uint32_t paletteColours = 0;
  Channel red{0x00ff0000}, green{0x0000ff00}, blue{0x000000ff};
  size_t pixelsAt = 0;
};

class Decoder {
 public:
  Decoder(std::span<const std::uint8_t> bytes, const std::string& name)
      : bytes_(bytes), name_(name) {}

  Raster Decode() {
    if (bytes_.size() < 2 || bytes_[0] != 'B' || bytes_[1] != 'M') throw Fail("is not a BMP image");
    const Layout layout = ReadLayout();
    const std::uint64_t stride = (static_cast<std::uint64_t>(layout.width) *
                                      static_cast<std::uint64_t>(layout.bitsPerPixel) +
                                  31) /
                                 32 * 4;
    Need(layout.pixelsAt + stride * static_cast<std::uint64_t>(layout.height), "pixel data");

    Raster raster(static_cast<int>(layout.width), static_cast<int>(layout.height));
    const auto width = static_cast<size_t>(layout.width);
    for (long long row = 0; row < layout.height; ++row) {
      const std::span<const std::uint8_t> in =
          bytes_.subspan(layout.pixelsAt + static_cast<std::uint64_t>(row) * stride, stride);
      const int y = static_cast<int>(layout.topDown ? row : layout.height - 1 - row);
      Rgb* out = raster.Row(y);
      if (layout.bitsPerPixel == 24) {
        // The common case, the template itself: blue, green, red in a row.
        for (size_t x = 0; x < width; ++x) out[x] = Rgb{in[3 * x + 2], in[3 * x + 1], in[3 * x]};
      } else {
        for (size_t x = 0; x < width; ++x) out[x] = PixelAt(layout, in, x);
      }
    }
    return raster;
  }

 private:
  DataFileError Fail(const std::string& what) const {
    return DataFileError(name_, 0, "File \"" + name_ + "\" " + what);
  }

  void Need(std::uint64_t end, const char* part) const {
    if (end > bytes_.size())
      throw Fail("is truncated: its BMP " + std::string(part) + " runs to byte " +
                 std::to_string(end) + ", the file has " + std::to_string(bytes_.size()));
  }

  Layout ReadLayout() const {
    Need(kFileHeaderSize + 4, "header");
    Layout layout;
    layout.pixelsAt = U32(bytes_, 10);
    const std::uint32_t headerSize = U32(bytes_, kFileHeaderSize);
    const size_t h = kFileHeaderSize;
    if (headerSize == kCoreHeaderSize) {
      Need(h + kCoreHeaderSize, "header");
      layout.width = U16(bytes_, h + 4);
      layout.height = U16(bytes_, h + 6);
      layout.bitsPerPixel = U16(bytes_, h + 10);
      layout.paletteEntrySize = 3;
    } else if (headerSize >= kInfoHeaderSize) {
      Need(h + headerSize, "header");
      layout.width = I32(bytes_, h + 4);
      const long long height = I32(bytes_, h + 8);
      layout.topDown = height < 0;
      layout.height = height < 0 ? -height : height;
      layout.bitsPerPixel = U16(bytes_, h + 14);
      layout.compression = U32(bytes_, h + 16);
      layout.paletteColours = U32(bytes_, h + 32);
    } else {
      throw Fail("is not a BMP image (header of " + std::to_string(headerSize) + " bytes)");
    }
    if (layout.width <= 0 || layout.height <= 0 || layout.width > kMaxBmpSide ||
        layout.height > kMaxBmpSide)
      throw Fail("is not a usable BMP image (size " + std::to_string(layout.width) + "x" +
                 std::to_string(layout.height) + "; at most " + std::to_string(kMaxBmpSide) +
                 " pixels a side are read)");

    const int bits = layout.bitsPerPixel;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32)
      throw Fail("is a BMP image of unsupported bit depth " + std::to_string(bits));
    const bool masked = bits == 32 && layout.compression == kBitFields;
    if (layout.compression != kRgb && !masked)
      throw Fail("is a BMP image with unsupported compression " +
                 std::to_string(layout.compression));

    // Bit-field masks sit at the same place whether the header holds them
    // (V2 and later) or they follow the 40-byte header.
    size_t afterHeader = h + headerSize;
    if (masked) {
      const size_t masksAt = h + kInfoHeaderSize;
      Need(masksAt + 12, "colour masks");
      layout.red.mask = U32(bytes_, masksAt);
      layout.green.mask = U32(bytes_, masksAt + 4);
      layout.blue.mask = U32(bytes_, masksAt + 8);
      if (headerSize == kInfoHeaderSize) afterHeader += 12;
    }
    if (bits <= 8) {
      const std::uint32_t full = 1u << bits;
      if (layout.paletteColours == 0) layout.paletteColours = full;
      if (layout.paletteColours > full)
        throw Fail("is not a usable BMP image (" + std::to_string(layout.paletteColours) +
                   " palette colours for " + std::to_string(bits) + "-bit pixels)");
      layout.paletteAt = afterHeader;
      Need(layout.paletteAt + layout.paletteColours * layout.paletteEntrySize, "palette");
    }
    return layout;
  }

  Rgb PixelAt(const Layout& layout, std::span<const std::uint8_t> row, size_t x) const {
    switch (layout.bitsPerPixel) {
      case 24: {
        const std::uint8_t* p = &row[x * 3];
        return {p[2], p[1], p[0]};
      }
      case 32: {
        const std::uint32_t pixel = U32(row, x * 4);
        return {layout.red.Of(pixel), layout.green.Of(pixel), layout.blue.Of(pixel)};
      }
      default: {
        const int bits = layout.bitsPerPixel;
        const size_t bit = x * static_cast<size_t>(bits);
        const int shift = 8 - bits - static_cast<int>(bit % 8);
        const std::uint32_t index = (std::uint32_t{row[bit / 8]} >> shift) & ((1u << bits) - 1);
        if (index >= layout.paletteColours)
          throw Fail("refers to colour " + std::to_string(index) + " beyond its " +
                     std::to_string(layout.paletteColours) + "-colour BMP palette");
        const std::uint8_t* p = &bytes_[layout.paletteAt + index * layout.paletteEntrySize];
        return {p[2], p[1], p[0]};
      }
    }
  }

  std::span<const std::uint8_t> bytes_;
  const std::string& name_;
};

void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) { PutLittleEndian(out, v, 2); }
void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) { PutLittleEndian(out, v, 4); }

}  // namespace

Raster DecodeBmp(std::span<const std::uint8_t> bytes, const std::string& name) {
  return Decoder(bytes, name).Decode();
}

Raster ReadBmp(const std::filesystem::path& path) {
  const std::string bytes = ReadFile(path);
  return DecodeBmp({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()},
                   path.string());
}

std::vector<std::uint8_t> EncodeBmp(const Raster& raster) {
  // The file's sizes are 32-bit fields; what a picture needs is counted wider
  // and a picture they cannot describe refused.
  const std::uint64_t stride64 = (static_cast<std::uint64_t>(raster.width) * 24 + 31) / 32 * 4;
  const std::uint64_t pixelBytes64 = stride64 * static_cast<std::uint64_t>(raster.height);
  const std::uint32_t offset = kFileHeaderSize + kInfoHeaderSize;
  if (raster.width < 0 || raster.height < 0 || pixelBytes64 > UINT32_MAX - offset)
    throw std::invalid_argument("a picture of " + std::to_string(raster.width) + "x" +
                                std::to_string(raster.height) + " pixels does not fit a BMP file");
  const auto stride = static_cast<std::uint32_t>(stride64);
  const auto pixelBytes = static_cast<std::uint32_t>(pixelBytes64);
  std::vector<std::uint8_t> out;
  out.reserve(offset + pixelBytes);
  out.push_back('B');
  out.push_back('M');
  Put32(out, offset + pixelBytes);
  Put32(out, 0);  // reserved
  Put32(out, offset);
  Put32(out, kInfoHeaderSize);
  Put32(out, static_cast<std::uint32_t>(raster.width));
  Put32(out, static_cast<std::uint32_t>(raster.height));  // positive: bottom-up
  Put16(out, 1);                                          // planes
  Put16(out, 24);
  Put32(out, kRgb);
  Put32(out, pixelBytes);
  Put32(out, 0);  // horizontal resolution: unspecified
  Put32(out, 0);  // vertical resolution
  Put32(out, 0);  // palette colours
  Put32(out, 0);  // important colours
  out.resize(offset + pixelBytes, 0);
  std::uint8_t* at = out.data() + offset;
  for (int y = raster.height - 1; y >= 0; --y, at += stride) {
    const Rgb* pixel = raster.Row(y);
    std::uint8_t* byte = at;
    for (const Rgb* end = pixel + raster.width; pixel != end; ++pixel, byte += 3) {
      byte[0] = pixel->b;
      byte[1] = pixel->g;
      byte[2] = pixel->r;
    }
  }
  return out;
}

void WriteBmp(const Raster& raster, const std::filesystem::path& path, Durability durability) {
  WriteFileAtomically(path, EncodeBmp(raster), durability);
}

}  // namespace meridan
