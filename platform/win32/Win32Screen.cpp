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

static_assert(kVkShift == VK_SHIFT && kVkControl == VK_CONTROL && kVkMenu == VK_MENU);

ScreenPoint Win32Screen::CursorPos() {
  // The call fails on a desktop that is not the input desktop (a locked session); the origin
  // stands in for a position there is none of.
  POINT point;
  if (!GetCursorPos(&point)) return {};
  return {point.x, point.y};
}

bool Win32Screen::KeyHeld(int virtualKey) { return GetKeyState(virtualKey) < 0; }

}  // namespace platform::win32
