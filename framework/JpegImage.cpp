#include "framework/JpegImage.h"

// jpeglib.h expects size_t and FILE to be declared before it.
#include <csetjmp>
#include <cstddef>
#include <cstdio>
#include <limits>
#include <string>
#include <type_traits>

#include <jpeglib.h>

#include "framework/Exception.h"

namespace {

// libjpeg's working memory for pictures it must hold whole (the coefficients of progressive and
// multi-scan pictures); past it libjpeg asks for a backing store, which raises an error.
constexpr long kMaxLibjpegMemory = 256L * 1024 * 1024;

// Everything that decoding changes and the error path reads after the jump. libjpeg reports errors
// by calling error_exit, which must not return; ours longjmps back into DecodeInto. A C++
// exception must not travel through libjpeg's C frames, and a longjmp must not skip a destructor,
// so this is plain C data owned by DecodeJpeg's frame: nothing the jump passes over has a
// destructor, and nothing the error path reads lives in a register of the frame that calls setjmp.
struct DecoderState {
  jpeg_decompress_struct cinfo;
  jpeg_error_mgr errors;
  std::jmp_buf jump;
  // The reason for a failure, without the "Invalid JPEG picture: " prefix.
  char message[JMSG_LENGTH_MAX];
};
static_assert(std::is_trivially_destructible_v<DecoderState>);

DecoderState& StateOf(j_common_ptr cinfo) {
  return *static_cast<DecoderState*>(cinfo->client_data);
}

}  // namespace

// libjpeg's callbacks: called from C, so of C language linkage.
extern "C" {

// Every error: keep libjpeg's message and jump back to DecodeInto, which destroys the decompressor.
static void JpegErrorExit(j_common_ptr cinfo) {
  DecoderState& state = StateOf(cinfo);
  (*cinfo->err->format_message)(cinfo, state.message);
  std::longjmp(state.jump, 1);
}

// Warnings (msg_level -1) are errors: see DecodeJpeg. Trace messages (msg_level >= 0) are dropped.
static void JpegEmitMessage(j_common_ptr cinfo, int msgLevel) {
  if (msgLevel < 0) JpegErrorExit(cinfo);
}

// libjpeg's default writes to stderr; nothing is printed.
static void JpegOutputMessage(j_common_ptr) {}

}  // extern "C"

namespace {

// Sizes the bitmap without letting an exception out into the frame that called setjmp.
bool TrySetSize(DecoderState& state, TBitmap& bitmap, JDIMENSION width,
                JDIMENSION height) noexcept {
  try {
    bitmap.SetSize(static_cast<int>(width), static_cast<int>(height));
    return true;
  } catch (const Exception& e) {
    std::snprintf(state.message, sizeof state.message, "%s", e.what());
    return false;
  }
}

// One row of RGB samples into 0x00RRGGBB pixels.
void PackRow(const JSAMPLE* samples, std::uint32_t* pixels, JDIMENSION width) {
  for (JDIMENSION x = 0; x < width; ++x, samples += 3) {
    pixels[x] = (std::uint32_t{samples[0]} << 16) | (std::uint32_t{samples[1]} << 8) |
                std::uint32_t{samples[2]};
  }
}

// Decodes into `bitmap`, or returns false with state.message set. This frame calls setjmp: it holds
// no object with a destructor, raises no exception, and after a jump reads only `state`.
bool DecodeInto(DecoderState& state, std::span<const std::uint8_t> bytes, TBitmap& bitmap) {
  jpeg_decompress_struct& cinfo = state.cinfo;
  cinfo.err = jpeg_std_error(&state.errors);
  state.errors.error_exit = JpegErrorExit;
  state.errors.emit_message = JpegEmitMessage;
  state.errors.output_message = JpegOutputMessage;
  cinfo.client_data = &state;
  if (setjmp(state.jump) != 0) {
    // cinfo.mem is null until jpeg_create_decompress has set it up; destroying is safe either way.
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  jpeg_create_decompress(&cinfo);
  cinfo.mem->max_memory_to_use = kMaxLibjpegMemory;
  jpeg_mem_src(&cinfo, bytes.data(), static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&cinfo, TRUE);
  if (cinfo.image_width > static_cast<JDIMENSION>(kJpegMaxDimension) ||
      cinfo.image_height > static_cast<JDIMENSION>(kJpegMaxDimension)) {
    std::snprintf(state.message, sizeof state.message,
                  "the picture is too large (%u x %u pixels, at most %d x %d)",
                  static_cast<unsigned>(cinfo.image_width),
                  static_cast<unsigned>(cinfo.image_height), kJpegMaxDimension, kJpegMaxDimension);
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  // Grayscale is expanded to RGB by libjpeg; CMYK and YCCK have no conversion to RGB and fail here.
  cinfo.out_color_space = JCS_RGB;
  jpeg_start_decompress(&cinfo);
  if (!TrySetSize(state, bitmap, cinfo.output_width, cinfo.output_height)) {
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  // One row of samples, from libjpeg's pool: freed with the decompressor, on every path.
  JSAMPARRAY row = (*cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo), JPOOL_IMAGE,
                                              cinfo.output_width * cinfo.output_components, 1);
  while (cinfo.output_scanline < cinfo.output_height) {
    const JDIMENSION y = cinfo.output_scanline;
    // A memory source never suspends, so every call delivers the row.
    if (jpeg_read_scanlines(&cinfo, row, 1) != 1) {
      std::snprintf(state.message, sizeof state.message, "row %u could not be read",
                    static_cast<unsigned>(y));
      jpeg_destroy_decompress(&cinfo);
      return false;
    }
    PackRow(row[0], bitmap.Row(static_cast<int>(y)), cinfo.output_width);
  }
  // Reads on to the end of the picture, so that corrupt data after the last row is reported too.
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  return true;
}

}  // namespace

TBitmap DecodeJpeg(std::span<const std::uint8_t> bytes) {
  static const std::string kPrefix = "Invalid JPEG picture: ";
  // libjpeg takes the length as unsigned long, 32 bits on Windows.
  if constexpr (sizeof(std::size_t) > sizeof(unsigned long)) {
    if (bytes.size() > std::numeric_limits<unsigned long>::max()) {
      throw Exception(kPrefix + "the file is too large");
    }
  }
  TBitmap bitmap;
  DecoderState state{};
  if (!DecodeInto(state, bytes, bitmap)) throw Exception(kPrefix + state.message);
  return bitmap;
}
