#pragma once
// The screen port on the Windows window manager and drawing interface (user32, gdi32).

#include "platform/Screen.h"

namespace platform::win32 {

class Win32Screen final : public IScreen {
 public:
  std::uint32_t SysColor(int index) override;
  int PixelsPerInch() override;
  int Width() override;
  int Height() override;
  ScreenPoint CursorPos() override;
  bool KeyHeld(int virtualKey) override;
};

}  // namespace platform::win32
