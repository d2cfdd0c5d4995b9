#include "platform/win32/Win32Screen.h"

#include <windows.h>

namespace platform::win32 {

std::uint32_t Win32Screen::SysColor(int index) {
  return static_cast<std::uint32_t>(GetSysColor(index));
}

int Win32Screen::PixelsPerInch() {
  // The logical pixels per inch of the screen's device context. Without a screen context the
  // system's default of 96 stands in.
  constexpr int kDefaultPixelsPerInch = 96;
  HDC screen = GetDC(nullptr);
  if (screen == nullptr) return kDefaultPixelsPerInch;
  const int pixelsPerInch = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return pixelsPerInch > 0 ? pixelsPerInch : kDefaultPixelsPerInch;
}

int Win32Screen::Width() { return GetSystemMetrics(SM_CXSCREEN); }

int Win32Screen::Height() { return GetSystemMetrics(SM_CYSCREEN); }

}  // namespace platform::win32
