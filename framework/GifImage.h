#pragma once
// A decoder for GIF pictures (GIF87a and GIF89a): the first image of the file, placed on its
// logical screen, with the pixels it leaves see-through marked in a mask so that the picture can be
// drawn transparent.

#include <cstdint>
#include <span>
#include <vector>

#include "framework/Bitmap.h"
#include "framework/Graphics.h"

struct TGifPicture {
  // The logical screen, every pixel drawn: the image's pixels where it covers the screen, and
  // TransparentColor wherever the picture is see-through.
  TBitmap Bitmap;
  // One byte per pixel of Bitmap, rows top-down, Width() per row: 1 where the picture is opaque, 0
  // where it is transparent (outside the image, or the image's transparent colour index).
  std::vector<std::uint8_t> Mask;
  // True when at least one pixel is transparent.
  bool Transparent = false;
  // The colour (0x00BBGGRR) the transparent pixels hold in Bitmap: the colour of the transparent
  // index when the image names one that its colour table holds, otherwise the screen's background
  // colour from the global colour table, otherwise black.
  TColor TransparentColor = clBlack;

  // Whether the pixel at (x, y) is opaque; false outside the picture.
  bool Opaque(int x, int y) const;
};

// The largest logical screen accepted, in pixels each way.
inline constexpr int kGifMaxDimension = 4096;

// Decodes the first image of a GIF file held in `bytes`. The whole file must be well formed up to
// its trailer: later images and extensions are skipped, but their blocks must be complete. Anything
// malformed raises Exception with a message starting "Invalid GIF picture: ": a bad signature, data
// that ends early, a screen of zero pixels or larger than kGifMaxDimension either way, an image
// that does not lie within the screen, no colour table for the image, an LZW code the table does
// not hold yet, a colour index beyond the colour table, image data short of pixels, or no image.
TGifPicture DecodeGif(std::span<const std::uint8_t> bytes);
