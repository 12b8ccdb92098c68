#pragma once
// Reading back the JPEG files the graph writes: the frame header as the
// markers state it, and the pixels as libjpeg decodes them.

#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <jpeglib.h>
#include <stdexcept>
#include <string>
#include <vector>

namespace meridan::testing {

struct JpegMarkers {
  bool startOfImage = false;  // FF D8 first
  bool endOfImage = false;    // FF D9 last
  int frameMarker = 0;        // 0xC0 baseline, 0xC2 progressive, ...
  int precision = 0;
  int height = 0;
  int width = 0;
  int components = 0;
};

// Walks the marker segments up to the start of the scan.
inline JpegMarkers ReadJpegMarkers(const std::vector<std::uint8_t>& b) {
  JpegMarkers m;
  m.startOfImage = b.size() >= 2 && b[0] == 0xFF && b[1] == 0xD8;
  m.endOfImage = b.size() >= 2 && b[b.size() - 2] == 0xFF && b[b.size() - 1] == 0xD9;
  size_t at = 2;
  while (at + 4 <= b.size() && b[at] == 0xFF) {
    const int marker = b[at + 1];
    const size_t length = static_cast<size_t>(b[at + 2] << 8 | b[at + 3]);
    if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC &&
        at + 10 <= b.size()) {
      m.frameMarker = marker;
      m.precision = b[at + 4];
      m.height = b[at + 5] << 8 | b[at + 6];
      m.width = b[at + 7] << 8 | b[at + 8];
      m.components = b[at + 9];
    }
    if (marker == 0xDA) break;  // start of scan: entropy-coded data follows
    at += 2 + length;
  }
  return m;
}

struct DecodedJpeg {
  int width = 0;
  int height = 0;
  int components = 0;
  std::vector<std::uint8_t> samples;  // row by row, `components` bytes a pixel
};

namespace detail {
struct JumpingErrors {
  jpeg_error_mgr base;
  std::jmp_buf jump;
};
inline void Jump(j_common_ptr info) { std::longjmp(reinterpret_cast<JumpingErrors*>(info->err)->jump, 1); }

inline bool Decode(const std::vector<std::uint8_t>& bytes, DecodedJpeg& out) {
  jpeg_decompress_struct info;
  JumpingErrors errors;
  info.err = jpeg_std_error(&errors.base);
  errors.base.error_exit = Jump;
  if (setjmp(errors.jump)) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&info, TRUE);
  jpeg_start_decompress(&info);
  out.width = static_cast<int>(info.output_width);
  out.height = static_cast<int>(info.output_height);
  out.components = info.output_components;
  out.samples.resize(static_cast<size_t>(out.width) * out.height * out.components);
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = out.samples.data() +
                   static_cast<size_t>(info.output_scanline) * out.width * out.components;
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return true;
}
}  // namespace detail

inline DecodedJpeg DecodeJpeg(const std::vector<std::uint8_t>& bytes) {
  DecodedJpeg out;
  if (!detail::Decode(bytes, out)) throw std::runtime_error("libjpeg cannot decode the image");
  return out;
}

}  // namespace meridan::testing
