#pragma once
// The screen port: what the framework needs to know of the display.

#include <cstdint>

namespace platform {

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
};

}  // namespace platform
