#include "app/graph/jpeg.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
// jpeglib.h needs size_t and FILE declared before it.
#include <jpeglib.h>
#include <stdexcept>
#include <string>

#include "reports/file_io.h"

namespace meridan {
namespace {

// libjpeg's own error_exit ends the process. Ours jumps back to the encoder
// with the library's message, which becomes an exception there, outside the
// library's C frames.
struct ErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

void JumpOnError(j_common_ptr info) {
  auto* errors = reinterpret_cast<ErrorManager*>(info->err);
  errors->base.format_message(info, errors->message);
  std::longjmp(errors->jump, 1);
}

// Only plain data lives in this frame, so jumping back into it skips no
// destructor. On success *out and *size hold the malloc'ed image; on failure
// `message` holds libjpeg's reason.
bool EncodeInto(const Raster& raster, int quality, unsigned char** out, unsigned long* size,
                ErrorManager& errors) {
  jpeg_compress_struct info;
  info.err = jpeg_std_error(&errors.base);
  errors.base.error_exit = JumpOnError;
  if (setjmp(errors.jump)) {
    jpeg_destroy_compress(&info);
    std::free(*out);
    *out = nullptr;
    return false;
  }
  jpeg_create_compress(&info);
  jpeg_mem_dest(&info, out, size);
  info.image_width = static_cast<JDIMENSION>(raster.width);
  info.image_height = static_cast<JDIMENSION>(raster.height);
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    // The encoder only reads the row; Rgb is three packed bytes.
    JSAMPROW row = reinterpret_cast<JSAMPROW>(const_cast<Rgb*>(raster.Row(info.next_scanline)));
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  return true;
}

}  // namespace

std::vector<std::uint8_t> EncodeJpeg(const Raster& raster, int quality) {
  ErrorManager errors{};
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  if (!EncodeInto(raster, quality, &buffer, &size, errors))
    throw std::runtime_error(std::string("JPEG encoding failed: ") + errors.message);
  std::vector<std::uint8_t> bytes(buffer, buffer + size);
  std::free(buffer);
  return bytes;
}

void WriteJpeg(const Raster& raster, int quality, const std::filesystem::path& path) {
  ReplaceFileBytes(path, EncodeJpeg(raster, quality));
}

}  // namespace meridan
