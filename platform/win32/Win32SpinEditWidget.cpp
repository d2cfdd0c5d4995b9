// The spin edit: a read-only edit with an up-down control beside it; both report steps, the model
// keeps the number.

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <memory>

#include "platform/win32/Win32WidgetsInternal.h"

namespace platform::win32::widgets {

namespace {

// A read-only, right-aligned edit with an up-down control at its right, together filling the
// widget's rectangle. The up-down has no buddy: the model owns the number, and the buttons and
// the edit's Up and Down keys only report steps.
class SpinEditWidget final : public Win32Widget {
 public:
  SpinEditWidget(const WidgetParams& params, IWidgetEvents& events) : Win32Widget(params, events) {
    HWND parent = ToHwnd(params.parent);
    AddWindow(WS_EX_CLIENTEDGE, L"EDIT", params.text,
              ES_READONLY | ES_RIGHT | ES_AUTOHSCROLL | WS_TABSTOP, parent, params.left, params.top,
              params.width, params.height);
    HWND upDown = AddWindow(0, UPDOWN_CLASSW, "", 0, parent, params.left, params.top, params.width,
                            params.height);
    if (upDown != nullptr) {
      // The position never moves (every change is refused in UDN_DELTAPOS); a range around it
      // keeps both buttons live. These are the 16-bit messages, which every comctl32 knows;
      // UDM_SETRANGE takes the maximum in the low word. The accelerations stay the control's
      // own: a held button repeats at the control's pace, and a larger increment still counts
      // as one step. (Wine reads an acceleration's seconds as the repetition period, so an
      // acceleration of {0, 1} would repeat at every timer tick.)
      SendMessageW(upDown, UDM_SETRANGE, 0, MAKELPARAM(100, 0));
      SendMessageW(upDown, UDM_SETPOS, 0, MAKELPARAM(50, 0));
    }
    SetBounds(params.left, params.top, params.width, params.height);
    SetFont(params.font);
    Start(params.visible);
  }

  void SetBounds(int left, int top, int width, int height) override {
    const int buttons = std::clamp(GetSystemMetrics(SM_CXVSCROLL), 0, std::max(width / 2, 0));
    if (Edit() != nullptr) {
      SetWindowPos(Edit(), nullptr, left, top, width - buttons, height,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (UpDown() != nullptr) {
      SetWindowPos(UpDown(), nullptr, left + width - buttons, top, buttons, height,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    }
  }

  bool Reflect(HWND child, UINT message, WPARAM wParam, LPARAM lParam, HBRUSH /*parentBackground*/,
               LRESULT& result) override {
    if (child == UpDown()) {
      if (message == WM_VSCROLL) {
        result = 0;
        return true;
      }
      if (message != WM_NOTIFY) return false;
      const auto* change = reinterpret_cast<const NMUPDOWN*>(lParam);
      if (change->hdr.code != UDN_DELTAPOS) return false;
      result = 1;  // refused: the up-down's own position stays where it is
      if (change->iDelta != 0) events_.NativeStep(change->iDelta > 0 ? 1 : -1);
      return true;
    }
    if (!IsColourMessage(message)) return false;
    // A read-only edit is drawn grey by default; this one looks like any edit.
    HDC dc = reinterpret_cast<HDC>(wParam);
    SetTextColor(dc, font_.color);
    SetBkColor(dc, GetSysColor(COLOR_WINDOW));
    result = reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
    return true;
  }

 protected:
  bool Intercept(HWND hwnd, UINT message, WPARAM wParam, LPARAM /*lParam*/,
                 LRESULT& result) override {
    if (hwnd != Edit() || message != WM_KEYDOWN || (wParam != VK_UP && wParam != VK_DOWN)) {
      return false;
    }
    result = 0;
    events_.NativeStep(wParam == VK_UP ? 1 : -1);
    return true;
  }

 private:
  HWND Edit() const { return Window(0); }
  HWND UpDown() const { return Window(1); }
};

}  // namespace

std::unique_ptr<IWidgetPeer> CreateSpinEditWidget(const WidgetParams& params,
                                                  IWidgetEvents& events) {
  return std::make_unique<SpinEditWidget>(params, events);
}

}  // namespace platform::win32::widgets
