#pragma once
// The one copy of 32-bit pixels onto a device context, shared by the windows and the pages.

#include <windows.h>

#include <cstdint>

namespace platform::win32 {

// Copies pixels (0x00RRGGBB, top-down rows of `stride` pixels) to (left, top) of `dc`.
inline void CopyPixelsToDc(HDC dc, int left, int top, int width, int height,
                           const std::uint32_t* pixels, int stride) {
  if (dc == nullptr || width <= 0 || height <= 0 || pixels == nullptr) return;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = stride;
  info.bmiHeader.biHeight = -height;  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  SetDIBitsToDevice(dc, left, top, static_cast<DWORD>(width), static_cast<DWORD>(height), 0, 0, 0,
                    static_cast<UINT>(height), pixels, &info, DIB_RGB_COLORS);
}

}  // namespace platform::win32
