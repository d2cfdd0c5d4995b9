#pragma once
// An in-memory screen: system colours, pixels per inch, size, the pointer's position and the
// held keys as the test sets them.

#include <cstdint>
#include <deque>
#include <map>
#include <set>

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
  // Each reading takes the next scripted position, if any, and then stays there.
  platform::ScreenPoint CursorPos() override {
    ++cursorReads;
    if (!cursorScript.empty()) {
      cursor = cursorScript.front();
      cursorScript.pop_front();
    }
    return cursor;
  }
  bool KeyHeld(int virtualKey) override { return heldKeys.count(virtualKey) != 0; }

  std::map<int, std::uint32_t> sysColors;
  int pixelsPerInch = 96;
  int width = 1024;
  int height = 768;
  int sysColorCalls = 0;
  platform::ScreenPoint cursor;
  std::deque<platform::ScreenPoint> cursorScript;
  int cursorReads = 0;
  std::set<int> heldKeys;
};
