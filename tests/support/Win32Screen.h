#pragma once
// What the tests of the Win32 peers need of the real system (Wine in the test tier): the thread's
// queued messages handed to their windows, and a window's pixel as the screen shows it.

#ifdef _WIN32

#include <windows.h>

namespace testsupport {

// Hands every queued message of this thread to its window.
inline void Pump() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

// The pixel at (x, y) of `hwnd`'s client area, as GetPixel answers it (0x00BBGGRR).
inline COLORREF PixelOf(HWND hwnd, int x, int y) {
  HDC dc = GetDC(hwnd);
  const COLORREF pixel = GetPixel(dc, x, y);
  ReleaseDC(hwnd, dc);
  return pixel;
}

}  // namespace testsupport

#endif  // _WIN32
