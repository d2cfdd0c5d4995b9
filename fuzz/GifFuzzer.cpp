// The GIF decoder on arbitrary files (framework/GifImage). A malformed file raises Exception; a
// decoded picture must be consistent: a screen within the limits, one mask byte per pixel, and the
// transparency flag set exactly when a mask byte is 0.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "framework/Exception.h"
#include "framework/GifImage.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TGifPicture picture;
  try {
    picture = DecodeGif(std::span<const std::uint8_t>(data, size));
  } catch (const Exception&) {
    return 0;
  }
  const int width = picture.Bitmap.Width();
  const int height = picture.Bitmap.Height();
  Check(width >= 1 && width <= kGifMaxDimension && height >= 1 && height <= kGifMaxDimension);
  Check(picture.Mask.size() == static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
  const bool anyTransparent =
      std::find(picture.Mask.begin(), picture.Mask.end(), 0) != picture.Mask.end();
  Check(picture.Transparent == anyTransparent);
  Check(!picture.Opaque(-1, 0) && !picture.Opaque(width, 0) && !picture.Opaque(0, height));
  return 0;
}
