// The slider: a trackbar whose thumb moves by drags and keys, and whose ruler steps toward a
// press while it is held.

#include <windows.h>

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <memory>

#include "platform/win32/Win32WidgetsInternal.h"

namespace platform::win32::widgets {

namespace {

// The slider's timer that repeats a press on its ruler, and the period of the repetition. The id
// only has to differ from the trackbar's own timers, which are small numbers.
constexpr UINT_PTR kRulerTimer = 0x7A31;
constexpr UINT kRulerRepeatMs = 400;

// A horizontal trackbar with a tick at every position. The trackbar moves its thumb itself for
// drags and keys, and each new position is reported once. A press on the ruler beside the thumb
// does not page natively: it asks for one step toward the press at once and again every 400 ms
// while the button is held and the pointer stays on that side of the thumb; the model moves the
// thumb.
class SliderWidget final : public Win32Widget {
 public:
  SliderWidget(const WidgetParams& params, IWidgetEvents& events) : Win32Widget(params, events) {
    HWND hwnd =
        AddWindow(0, TRACKBAR_CLASSW, "", TBS_HORZ | TBS_AUTOTICKS | TBS_BOTTOM | WS_TABSTOP,
                  ToHwnd(params.parent), params.left, params.top, params.width, params.height);
    if (hwnd != nullptr) {
      // TBM_SETRANGE packs both ends into 16 bits each; the 32-bit messages do not.
      SendMessageW(hwnd, TBM_SETRANGEMIN, FALSE, params.minValue);
      SendMessageW(hwnd, TBM_SETRANGEMAX, FALSE, params.maxValue);
      SendMessageW(hwnd, TBM_SETTICFREQ, 1, 0);
      SendMessageW(hwnd, TBM_SETLINESIZE, 0, 1);
      SendMessageW(hwnd, TBM_SETPAGESIZE, 0, 1);
    }
    SetValue(params.value);
    Start(params.visible);
  }

  void SetValue(int value) override {
    if (Main() == nullptr) return;
    SendMessageW(Main(), TBM_SETPOS, TRUE, value);
    position_ = Position();
  }

  bool Reflect(HWND /*child*/, UINT message, WPARAM wParam, LPARAM /*lParam*/,
               HBRUSH parentBackground, LRESULT& result) override {
    if (IsColourMessage(message)) {
      result = ParentColours(reinterpret_cast<HDC>(wParam), font_, parentBackground);
      return true;
    }
    if (message != WM_HSCROLL) return false;
    result = 0;
    Report(Position());
    return true;
  }

  // Nothing to draw text with.
  HWND TextWindow() const override { return nullptr; }

 protected:
  bool Intercept(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    result = 0;
    switch (message) {
      case WM_LBUTTONDOWN:
      case WM_LBUTTONDBLCLK: {
        const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        const RECT thumb = Thumb();
        if (PtInRect(&thumb, point)) return false;  // the trackbar drags its thumb
        rulerDirection_ = point.x < thumb.left ? -1 : 1;
        SetFocus(hwnd);
        SetCapture(hwnd);
        SetTimer(hwnd, kRulerTimer, kRulerRepeatMs, nullptr);
        RulerStep();
        return true;
      }
      case WM_MOUSEMOVE:
        return rulerDirection_ != 0;
      case WM_LBUTTONUP:
        if (rulerDirection_ == 0) return false;
        EndRuler();
        if (GetCapture() == hwnd) ReleaseCapture();
        return true;
      case WM_CAPTURECHANGED:
        EndRuler();
        return false;
      case WM_TIMER:
        if (wParam != kRulerTimer) return false;
        if (rulerDirection_ != 0 && PointerBeside()) RulerStep();
        return true;
      default:
        return false;
    }
  }

 private:
  int Position() const { return static_cast<int>(SendMessageW(Main(), TBM_GETPOS, 0, 0)); }
  RECT Thumb() const {
    RECT thumb{};
    SendMessageW(Main(), TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    return thumb;
  }

  // Reports a position the model has not seen yet, last: the model may destroy the widget.
  void Report(int position) {
    if (position == position_) return;
    position_ = position;
    events_.NativePosition(position);
  }

  void RulerStep() {
    const int minimum = static_cast<int>(SendMessageW(Main(), TBM_GETRANGEMIN, 0, 0));
    const int maximum = static_cast<int>(SendMessageW(Main(), TBM_GETRANGEMAX, 0, 0));
    const int current = Position();
    const int target = std::clamp(current + rulerDirection_, minimum, std::max(minimum, maximum));
    if (target != current) Report(target);
  }

  // Whether the pointer is still on the side of the thumb where the ruler was pressed.
  bool PointerBeside() const {
    POINT point;
    if (!GetCursorPos(&point) || !ScreenToClient(Main(), &point)) return false;
    const RECT thumb = Thumb();
    return rulerDirection_ < 0 ? point.x < thumb.left : point.x >= thumb.right;
  }

  void EndRuler() {
    if (rulerDirection_ == 0) return;
    rulerDirection_ = 0;
    KillTimer(Main(), kRulerTimer);
  }

  int position_ = 0;        // the position last shown or reported
  int rulerDirection_ = 0;  // -1 or +1 while a press on the ruler is held, else 0
};

}  // namespace

std::unique_ptr<IWidgetPeer> CreateSliderWidget(const WidgetParams& params, IWidgetEvents& events) {
  return std::make_unique<SliderWidget>(params, events);
}

}  // namespace platform::win32::widgets
