#pragma once
// TBitmap: a 32-bit top-down pixel buffer that drawings compose off screen before one copy to the
// screen. Each pixel is a uint32 0x00RRGGBB, the byte order of a 32-bit Windows DIB (blue, green,
// red, unused in memory), so the rows can be handed to the platform's blit unchanged.

#include <cstdint>
#include <vector>

#include "framework/Graphics.h"

class TBitmap {
 public:
  TBitmap() = default;
  TBitmap(int width, int height) { SetSize(width, height); }

  // The largest number of pixels a bitmap holds (256 mebipixels, 1 GiB); a larger size raises
  // Exception rather than asking the heap for it.
  static constexpr std::int64_t kMaxPixels = std::int64_t{1} << 28;

  // Gives the bitmap `width` x `height` pixels; a negative dimension counts as 0. The storage only
  // grows: a size that fits the pixels held so far allocates nothing. The pixels' values after a
  // change of size are unspecified until drawn. A size above kMaxPixels, or storage the heap cannot
  // give, raises Exception and leaves the bitmap as it was.
  void SetSize(int width, int height);

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Empty() const { return width_ == 0 || height_ == 0; }

  // The pixels, rows top-down, each row Width() pixels long with no padding. Null when empty.
  std::uint32_t* Pixels() { return Empty() ? nullptr : pixels_.data(); }
  const std::uint32_t* Pixels() const { return Empty() ? nullptr : pixels_.data(); }
  // Row y (0 <= y < Height()); not checked.
  std::uint32_t* Row(int y) { return pixels_.data() + static_cast<std::size_t>(y) * Stride(); }
  const std::uint32_t* Row(int y) const {
    return pixels_.data() + static_cast<std::size_t>(y) * Stride();
  }

  // The pixel at (x, y) as a colour (0x00BBGGRR); clNone outside the bitmap.
  TColor Pixel(int x, int y) const;
  // Sets the pixel at (x, y) to a colour (0x00BBGGRR); nothing outside the bitmap.
  void SetPixel(int x, int y, TColor color);

  // Conversions between a resolved colour (0x00BBGGRR, the top byte ignored) and a pixel.
  static constexpr std::uint32_t PixelFromRgb(std::uint32_t rgb) {
    return ((rgb & 0xFFu) << 16) | (rgb & 0xFF00u) | ((rgb >> 16) & 0xFFu);
  }
  static constexpr std::uint32_t RgbFromPixel(std::uint32_t pixel) { return PixelFromRgb(pixel); }

 private:
  std::size_t Stride() const { return static_cast<std::size_t>(width_); }

  std::vector<std::uint32_t> pixels_;
  int width_ = 0;
  int height_ = 0;
};
