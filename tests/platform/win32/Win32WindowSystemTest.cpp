// The Win32 window peer against the real system (Wine in the test tier): pictures copied to a
// window land where they are put, inside a paint and outside it, and a paint limited to a small
// area leaves no clipping behind for the copies that follow (the windows keep device contexts of
// their own, which outlive each paint).

#ifdef _WIN32

#include "platform/win32/Win32WindowSystem.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "support/Win32Screen.h"

namespace {

using testsupport::PixelOf;
using testsupport::Pump;

using platform::IWindowPeer;
using platform::WindowParams;

constexpr int kWidth = 60;
constexpr int kHeight = 50;
constexpr std::uint32_t kPainted = 0x00204080;  // what each paint puts everywhere (0x00RRGGBB)

COLORREF AsColorRef(std::uint32_t rgb) {
  return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

// Paints the whole client area in one colour through the peer, as a form paints its children.
class PaintingEvents final : public platform::IWindowEvents {
 public:
  void NativePaint() override {
    ++paints;
    if (peer == nullptr) return;
    const std::vector<std::uint32_t> pixels(kWidth * kHeight, kPainted);
    peer->CopyPixels(0, 0, kWidth, kHeight, pixels.data(), kWidth);
  }
  void NativeMouse(const platform::MouseInput&) override {}
  void NativeContextMenu(int, int) override {}
  void NativeClose() override {}
  bool NativeQueryEndSession() override { return true; }

  IWindowPeer* peer = nullptr;
  int paints = 0;
};

// Copies a `size` x `size` square of one colour to (left, top) outside any paint, as a bar does
// at a refresh.
void CopySquare(IWindowPeer& peer, int left, int top, int size, std::uint32_t rgb) {
  const std::vector<std::uint32_t> pixels(static_cast<std::size_t>(size) * size, rgb);
  peer.CopyPixels(left, top, size, size, pixels.data(), size);
}

TEST(Win32WindowSystemTest, CopiesLandWhereTheyArePutBeforeAndAfterAClippedPaint) {
  // Never destroyed, like the widget tests' host: Wine takes about 2 s to hide or destroy a shown
  // top-level window, and the process's end takes the window with it.
  static auto* const system = new platform::win32::Win32WindowSystem;
  static PaintingEvents events;
  WindowParams params;
  params.style = WS_POPUP;
  params.left = 440;
  params.top = 20;
  params.width = kWidth;
  params.height = kHeight;
  static IWindowPeer* const peer = system->CreateWindowPeer(params, events).release();
  events.peer = peer;
  const HWND hwnd = reinterpret_cast<HWND>(peer->Handle().value);
  ASSERT_NE(hwnd, nullptr);
  peer->Show(SW_SHOWNOACTIVATE);
  UpdateWindow(hwnd);
  Pump();
  ASSERT_GT(events.paints, 0);
  EXPECT_EQ(PixelOf(hwnd, 45, 40), AsColorRef(kPainted));

  CopySquare(*peer, 10, 10, 8, 0x00E01010);
  EXPECT_EQ(PixelOf(hwnd, 10, 10), AsColorRef(0x00E01010));
  EXPECT_EQ(PixelOf(hwnd, 17, 17), AsColorRef(0x00E01010));
  EXPECT_EQ(PixelOf(hwnd, 18, 18), AsColorRef(kPainted));

  // A paint of the top-left corner only: the painted colour comes back there and nowhere else.
  const int paintsBefore = events.paints;
  peer->InvalidateArea(0, 0, 12, 12);
  UpdateWindow(hwnd);
  Pump();
  ASSERT_GT(events.paints, paintsBefore);
  EXPECT_EQ(PixelOf(hwnd, 10, 10), AsColorRef(kPainted));
  EXPECT_EQ(PixelOf(hwnd, 15, 15), AsColorRef(0x00E01010));

  // Copies after it reach the whole window, far outside the area that paint was limited to.
  CopySquare(*peer, 40, 30, 10, 0x0010C020);
  EXPECT_EQ(PixelOf(hwnd, 40, 30), AsColorRef(0x0010C020));
  EXPECT_EQ(PixelOf(hwnd, 49, 39), AsColorRef(0x0010C020));
  CopySquare(*peer, 0, 0, 4, 0x00F0F000);
  EXPECT_EQ(PixelOf(hwnd, 3, 3), AsColorRef(0x00F0F000));
}

}  // namespace

#endif  // _WIN32
