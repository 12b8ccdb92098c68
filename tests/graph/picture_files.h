#pragma once
// The graph tests' own view of picture files: hand-made BMP files (with the
// headers our writer never writes: top-down rows, 32-bit masks, palettes,
// OS/2 core headers), JPEG files read back through libjpeg, and errors.

#include <jpeglib.h>

#include <algorithm>
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/little_endian.h"
#include "output/graph/text.h"

namespace meridan::testing {

// The graph's font, loaded once for all the tests of a program.
inline const Font& GraphFont() {
  static const Font font = Font::Load();
  return font;
}

// The message of the std::runtime_error a call throws, or "" when it returns.
template <typename Call>
std::string ErrorOf(Call call) {
  try {
    call();
  } catch (const std::runtime_error& e) {
    return e.what();
  }
  return "";
}

struct BmpLayout {
  std::int32_t width = 0;
  std::int32_t height = 0;  // negative: rows stored top-down
  std::uint16_t bits = 24;
  std::uint32_t compression = 0;
  std::uint32_t headerSize = 40;        // 12 for the OS/2 core header
  std::vector<std::uint32_t> masks{};   // red, green, blue: header bytes 40..51
  std::vector<std::uint8_t> palette{};  // raw entries, BGRX (BGR for a core header)
  std::uint32_t paletteColours = 0;     // the header's colour count (0: all)
  std::vector<std::uint8_t> rows{};     // pixel data exactly as stored, padding included
};

inline void Put(std::vector<std::uint8_t>& out, std::uint64_t value, size_t bytes) {
  PutLittleEndian(out, value, bytes);
}

inline std::vector<std::uint8_t> MakeBmp(const BmpLayout& l) {
  const int side = l.headerSize == 12 ? 2 : 4;
  std::vector<std::uint8_t> h;
  Put(h, l.headerSize, 4);
  Put(h, static_cast<std::uint32_t>(l.width), side);
  Put(h, static_cast<std::uint32_t>(l.height), side);
  Put(h, 1, 2);
  Put(h, l.bits, 2);
  if (side == 4) {
    Put(h, l.compression, 4);
    Put(h, l.rows.size(), 4);
    Put(h, 0, 8);
    Put(h, l.paletteColours, 4);
    Put(h, 0, 4);
  }
  // The masks follow a 40-byte header; a longer one holds them at the same place.
  for (std::uint32_t mask : l.masks) Put(h, mask, 4);
  h.resize(std::max<std::size_t>(h.size(), l.headerSize));
  h.insert(h.end(), l.palette.begin(), l.palette.end());
  std::vector<std::uint8_t> file{'B', 'M'};
  Put(file, 14 + h.size() + l.rows.size(), 4);
  Put(file, 0, 4);
  Put(file, 14 + h.size(), 4);
  file.insert(file.end(), h.begin(), h.end());
  file.insert(file.end(), l.rows.begin(), l.rows.end());
  return file;
}

struct JpegFrame {
  int marker = 0;  // 0xC0 baseline, 0xC2 progressive, ...; 0: no frame, or not FF D8 ... FF D9
  int precision = 0, height = 0, width = 0, components = 0;
};

// Walks the marker segments from the start of image to the first frame header.
inline JpegFrame ReadJpegFrame(const std::vector<std::uint8_t>& b) {
  if (b.size() < 4 || b[0] != 0xFF || b[1] != 0xD8 || b[b.size() - 2] != 0xFF || b.back() != 0xD9)
    return {};
  for (size_t at = 2; at + 10 <= b.size() && b[at] == 0xFF && b[at + 1] != 0xDA;
       at += 2 + static_cast<size_t>(b[at + 2] << 8 | b[at + 3])) {
    const int m = b[at + 1];
    if (m >= 0xC0 && m <= 0xCF && m != 0xC4 && m != 0xC8 && m != 0xCC)
      return {m, b[at + 4], b[at + 5] << 8 | b[at + 6], b[at + 7] << 8 | b[at + 8], b[at + 9]};
  }
  return {};
}

// libjpeg's own error_exit would end the test program; this one jumps back.
struct JumpingErrors {
  jpeg_error_mgr base;
  std::jmp_buf jump;
};

// Decodes into RGB samples, row by row; false when libjpeg cannot. The
// samples live in the caller's frame, which the jump does not return to.
inline bool DecodeJpegInto(const std::vector<std::uint8_t>& bytes,
                           std::vector<std::uint8_t>& samples) {
  jpeg_decompress_struct info;
  JumpingErrors errors;
  info.err = jpeg_std_error(&errors.base);
  errors.base.error_exit = [](j_common_ptr i) {
    std::longjmp(reinterpret_cast<JumpingErrors*>(i->err)->jump, 1);
  };
  if (setjmp(errors.jump)) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&info, TRUE);
  info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&info);
  const size_t stride = static_cast<size_t>(info.output_width) * 3;
  samples.resize(stride * info.output_height);
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = samples.data() + info.output_scanline * stride;
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return true;
}

}  // namespace meridan::testing
