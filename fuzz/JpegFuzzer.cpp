// The JPEG path on arbitrary files (framework/JpegImage on the host's libjpeg). Whatever libjpeg
// rejects raises Exception; a decoded picture has the size its header gave, within the limits.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "framework/Exception.h"
#include "framework/JpegImage.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    const TBitmap bitmap = DecodeJpeg(std::span<const std::uint8_t>(data, size));
    if (bitmap.Width() < 1 || bitmap.Width() > kJpegMaxDimension || bitmap.Height() < 1 ||
        bitmap.Height() > kJpegMaxDimension) {
      std::abort();
    }
  } catch (const Exception&) {
  }
  return 0;
}
