#pragma once
// 32-bit pixels on the screen: the one copy onto a device context, shared by the windows and the
// pages, and the description of such pixels as a device-independent bitmap.

#include <windows.h>

#include <cstdint>

namespace platform::win32 {

// Top-down rows of `width` 32-bit pixels. A 32-bit DIB keeps each pixel as the bytes blue, green,
// red, unused: 0x00RRGGBB read as a little-endian word, so the framework's rows go as they are.
inline BITMAPINFO TopDownDibInfo(int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

// Copies pixels (0x00RRGGBB, top-down rows of `stride` pixels) to (left, top) of `dc`.
inline void CopyPixelsToDc(HDC dc, int left, int top, int width, int height,
                           const std::uint32_t* pixels, int stride) {
  if (dc == nullptr || width <= 0 || height <= 0 || pixels == nullptr) return;
  const BITMAPINFO info = TopDownDibInfo(stride, height);
  SetDIBitsToDevice(dc, left, top, static_cast<DWORD>(width), static_cast<DWORD>(height), 0, 0, 0,
                    static_cast<UINT>(height), pixels, &info, DIB_RGB_COLORS);
}

}  // namespace platform::win32
