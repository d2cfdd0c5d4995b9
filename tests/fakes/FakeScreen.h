#pragma once
// An in-memory screen: system colours, pixels per inch and size as the test sets them.

#include <cstdint>
#include <map>

#include "platform/Screen.h"

class FakeScreen : public platform::IScreen {
 public:
  std::uint32_t SysColor(int index) override {
    ++sysColorCalls;
    const auto it = sysColors.find(index);
    return it == sysColors.end() ? 0 : it->second;
  }
  int PixelsPerInch() override { return pixelsPerInch; }
  int Width() override { return width; }
  int Height() override { return height; }

  std::map<int, std::uint32_t> sysColors;
  int pixelsPerInch = 96;
  int width = 1024;
  int height = 768;
  int sysColorCalls = 0;
};
