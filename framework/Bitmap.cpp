#include "framework/Bitmap.h"

#include <new>

#include "framework/Exception.h"

void TBitmap::SetSize(int width, int height) {
  const int w = width > 0 ? width : 0;
  const int h = height > 0 ? height : 0;
  const std::int64_t count = std::int64_t{w} * h;
  if (count > kMaxPixels) {
    throw Exception("Ressources système insuffisantes");
  }
  const auto needed = static_cast<std::size_t>(count);
  if (needed > pixels_.size()) {
    try {
      pixels_.resize(needed);
    } catch (const std::bad_alloc&) {
      throw Exception("Ressources système insuffisantes");
    }
  }
  width_ = w;
  height_ = h;
}

TColor TBitmap::Pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return clNone;
  return static_cast<TColor>(RgbFromPixel(Row(y)[x]));
}

void TBitmap::SetPixel(int x, int y, TColor color) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  Row(y)[x] = PixelFromRgb(static_cast<std::uint32_t>(color));
}
