#pragma once
// A decoder for JPEG pictures (baseline, extended and progressive; colour and grayscale), built on
// libjpeg.

#include <cstdint>
#include <span>

#include "framework/Bitmap.h"

// The largest picture accepted, in pixels each way. A frame header that announces more is rejected
// before any pixel storage is allocated.
inline constexpr int kJpegMaxDimension = 8192;

// Decodes the JPEG file held in `bytes` into a bitmap of the picture's size: one 0x00RRGGBB pixel
// (TBitmap's layout) per picture pixel, rows top-down; a grayscale picture gives R = G = B. Colour
// pictures (YCbCr or RGB) and grayscale pictures are decoded; CMYK and YCCK pictures are not.
//
// Anything libjpeg rejects raises Exception with the message "Invalid JPEG picture: " followed by
// libjpeg's own text (for example "Invalid JPEG picture: Not a JPEG file: starts with 0x47 0x49").
// libjpeg's warnings count as errors too: they report corrupt data that libjpeg would paper over
// (data that ends early is filled with grey, a bad Huffman code with zeros), so a picture decodes
// completely or not at all. A picture larger than kJpegMaxDimension either way, or one whose
// decoding would need more than 256 MiB of libjpeg's working memory (a progressive picture keeps
// all its coefficients), raises Exception the same way. Nothing is written to the standard error
// stream, and a failure leaves no memory behind.
TBitmap DecodeJpeg(std::span<const std::uint8_t> bytes);
