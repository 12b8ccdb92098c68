#include "output/graph/jpeg.h"

#include <csetjmp>
#include <cstddef>
#include <cstdio>
// jpeglib.h needs size_t and FILE declared before it.
#include <jpeglib.h>

#include <stdexcept>
#include <string>

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

// The compressed bytes go into a std::vector through a destination of our
// own, which libjpeg never frees: the vector outlives the encoder whatever
// happens inside it.
struct VectorDestination {
  jpeg_destination_mgr base;
  std::vector<std::uint8_t>* out;
  size_t written;  // bytes of *out that hold data; the rest is the free buffer
};

constexpr size_t kDestinationStep = 64 * 1024;

void StartDestination(j_compress_ptr info) {
  auto* dest = reinterpret_cast<VectorDestination*>(info->dest);
  dest->out->resize(kDestinationStep);
  dest->written = 0;
  dest->base.next_output_byte = dest->out->data();
  dest->base.free_in_buffer = dest->out->size();
}

boolean GrowDestination(j_compress_ptr info) {
  // libjpeg calls this when the whole free buffer is full.
  auto* dest = reinterpret_cast<VectorDestination*>(info->dest);
  dest->written = dest->out->size();
  dest->out->resize(dest->out->size() + kDestinationStep);
  dest->base.next_output_byte = dest->out->data() + dest->written;
  dest->base.free_in_buffer = dest->out->size() - dest->written;
  return TRUE;
}

void FinishDestination(j_compress_ptr info) {
  auto* dest = reinterpret_cast<VectorDestination*>(info->dest);
  dest->out->resize(dest->out->size() - dest->base.free_in_buffer);
}

// Only plain data lives in this frame, so jumping back into it skips no
// destructor. On failure errors.message holds libjpeg's reason.
bool EncodeInto(const Raster& raster, int quality, VectorDestination& dest, ErrorManager& errors) {
  jpeg_compress_struct info;
  info.err = jpeg_std_error(&errors.base);
  errors.base.error_exit = JumpOnError;
  if (setjmp(errors.jump)) {
    jpeg_destroy_compress(&info);
    return false;
  }
  jpeg_create_compress(&info);
  dest.base.init_destination = StartDestination;
  dest.base.empty_output_buffer = GrowDestination;
  dest.base.term_destination = FinishDestination;
  info.dest = &dest.base;
  info.image_width = static_cast<JDIMENSION>(raster.width);
  info.image_height = static_cast<JDIMENSION>(raster.height);
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    // The encoder only reads the row; Rgb is three packed bytes.
    JSAMPROW row = reinterpret_cast<JSAMPROW>(
        const_cast<Rgb*>(raster.Row(static_cast<int>(info.next_scanline))));
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  return true;
}

// As EncodeInto, the other way.
bool DecodeInto(std::span<const std::uint8_t> jpeg, Raster& raster, ErrorManager& errors) {
  jpeg_decompress_struct info;
  info.err = jpeg_std_error(&errors.base);
  errors.base.error_exit = JumpOnError;
  if (setjmp(errors.jump)) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, jpeg.data(), static_cast<unsigned long>(jpeg.size()));
  jpeg_read_header(&info, TRUE);
  info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&info);
  raster = Raster(static_cast<int>(info.output_width), static_cast<int>(info.output_height));
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = reinterpret_cast<JSAMPROW>(raster.Row(static_cast<int>(info.output_scanline)));
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return true;
}

}  // namespace

Raster DecodeJpeg(std::span<const std::uint8_t> jpeg) {
  Raster raster;
  ErrorManager errors{};
  if (!DecodeInto(jpeg, raster, errors))
    throw std::runtime_error(std::string("JPEG decoding failed: ") + errors.message);
  return raster;
}

std::vector<std::uint8_t> EncodeJpeg(const Raster& raster, int quality) {
  std::vector<std::uint8_t> bytes;
  ErrorManager errors{};
  VectorDestination dest{};
  dest.out = &bytes;
  if (!EncodeInto(raster, quality, dest, errors))
    throw std::runtime_error(std::string("JPEG encoding failed: ") + errors.message);
  return bytes;
}

}  // namespace meridan
