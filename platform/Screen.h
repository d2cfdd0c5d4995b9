#pragma once
// The screen port: what the framework needs to know of the display.

#include <cstdint>

namespace platform {

struct ScreenPoint {
  int x = 0;
  int y = 0;
  friend bool operator==(const ScreenPoint&, const ScreenPoint&) = default;
};

// Virtual keys for KeyHeld.
inline constexpr int kVkShift = 0x10;
inline constexpr int kVkControl = 0x11;
inline constexpr int kVkMenu = 0x12;  // Alt

class IScreen {
 public:
  virtual ~IScreen() = default;

  // GetSysColor: the current colour of the system colour `index` as 0x00BBGGRR.
  virtual std::uint32_t SysColor(int index) = 0;

  // The screen's logical pixels per inch (LOGPIXELSY of the screen).
  virtual int PixelsPerInch() = 0;

  // GetSystemMetrics(SM_CXSCREEN) and (SM_CYSCREEN): the primary screen's size in pixels.
  virtual int Width() = 0;
  virtual int Height() = 0;

  // GetCursorPos: the pointer's position in screen coordinates, read at the time of the call.
  virtual ScreenPoint CursorPos() = 0;
  // GetKeyState: whether the key is held (the high bit of its state).
  virtual bool KeyHeld(int virtualKey) = 0;
};

}  // namespace platform
