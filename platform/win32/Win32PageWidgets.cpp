// The page control's parts: the row of tabs, and the pages, plain windows that hold widgets and
// pass their notifications on to them as a form's window does.

#include <windows.h>

#include <commctrl.h>

#include <cstdint>
#include <memory>
#include <string>

#include "platform/win32/Win32Blit.h"
#include "platform/win32/Win32WidgetsInternal.h"

namespace platform::win32::widgets {

namespace {

// The class of the pages: no procedure of its own (each page is subclassed once created) and no
// background brush (the page erases with its own colour).
constexpr wchar_t kPageClass[] = L"TamikPage";

void RegisterPageClassOnce() {
  static const bool registered = [] {
    WNDCLASSEXW pageClass{};
    pageClass.cbSize = sizeof pageClass;
    pageClass.lpfnWndProc = DefWindowProcW;
    pageClass.hInstance = GetModuleHandleW(nullptr);
    pageClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    pageClass.lpszClassName = kPageClass;
    return RegisterClassExW(&pageClass) != 0;
  }();
  (void)registered;
}

// A row of tabs drawn as flat buttons; reports the tab the user chose.
class TabWidget final : public Win32Widget {
 public:
  TabWidget(const WidgetParams& params, IWidgetEvents& events) : Win32Widget(params, events) {
    frame_ = true;
    HWND hwnd =
        AddWindow(0, WC_TABCONTROLW, "", TCS_BUTTONS | TCS_FLATBUTTONS | WS_TABSTOP,
                  ToHwnd(params.parent), params.left, params.top, params.width, params.height);
    // The font first: the tabs are measured in it. Each tab is as wide as its caption and the
    // padding, without the control's minimum width, so that a row of short captions takes the
    // room the layout expects (Wine's minimum of 54 pixels would push Tamik's five tabs out).
    SetFont(params.font);
    if (hwnd != nullptr) {
      SendMessageW(hwnd, TCM_SETMINTABWIDTH, 0, 0);
      // Narrower padding than the default 6 pixels a side: fonts wider than the classic one
      // (Wine's) still fit the five captions into the dialog's client width.
      SendMessageW(hwnd, TCM_SETPADDING, 0, MAKELPARAM(4, 3));
      for (std::size_t i = 0; i < params.items.size(); ++i) {
        std::wstring caption = Widen(params.items[i]);  // the control copies it
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = caption.data();
        SendMessageW(hwnd, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
      }
    }
    SetValue(params.value);
    Start(params.visible);
  }

  void SetText(const std::string& /*text*/) override {}
  void SetValue(int value) override {
    if (Main() != nullptr) SendMessageW(Main(), TCM_SETCURSEL, static_cast<WPARAM>(value), 0);
  }

  bool Reflect(HWND /*child*/, UINT message, WPARAM /*wParam*/, LPARAM lParam,
               HBRUSH /*parentBackground*/, LRESULT& result) override {
    if (message != WM_NOTIFY) return false;
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header->code != static_cast<UINT>(TCN_SELCHANGE)) return false;
    result = 0;
    events_.NativePosition(static_cast<int>(SendMessageW(Main(), TCM_GETCURSEL, 0, 0)));
    return true;
  }
};

// A plain window filled with its colour that holds widgets and passes their notifications on
// to them, as a form's window does.
class PageWidget final : public Win32Widget {
 public:
  PageWidget(const WidgetParams& params, IWidgetEvents& events) : Win32Widget(params, events) {
    RegisterPageClassOnce();
    background_.reset(CreateSolidBrush(params.background));
    AddWindow(WS_EX_CONTROLPARENT, kPageClass, "", WS_CLIPCHILDREN, ToHwnd(params.parent),
              params.left, params.top, params.width, params.height);
    Start(params.visible);
  }

  void SetText(const std::string& /*text*/) override {}

  bool Reflect(HWND /*child*/, UINT /*message*/, WPARAM /*wParam*/, LPARAM /*lParam*/,
               HBRUSH /*parentBackground*/, LRESULT& /*result*/) override {
    return false;
  }

  HWND TextWindow() const override { return nullptr; }

  void InvalidateArea(int left, int top, int right, int bottom) override {
    if (Main() == nullptr) return;
    const RECT area{left, top, right, bottom};
    InvalidateRect(Main(), &area, TRUE);
  }
  void CopyPixels(int left, int top, int width, int height, const std::uint32_t* pixels,
                  int stride) override {
    if (Main() == nullptr || width <= 0 || height <= 0 || pixels == nullptr) return;
    HDC dc = paintDc_ != nullptr ? paintDc_ : GetDC(Main());
    CopyPixelsToDc(dc, left, top, width, height, pixels, stride);
    if (dc != paintDc_) ReleaseDC(Main(), dc);
  }

 protected:
  bool Intercept(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    if (message == WM_ERASEBKGND) {
      RECT client;
      GetClientRect(hwnd, &client);
      FillRect(reinterpret_cast<HDC>(wParam), &client, background_.get());
      result = 1;
      return true;
    }
    if (message == WM_PAINT) {
      // The page's windowless controls draw into the paint's device context.
      PAINTSTRUCT paint;
      paintDc_ = BeginPaint(hwnd, &paint);
      events_.NativePaint();
      paintDc_ = nullptr;
      EndPaint(hwnd, &paint);
      result = 0;
      return true;
    }
    return ReflectToWidget(hwnd, message, wParam, lParam, background_.get(), result);
  }

 private:
  HDC paintDc_ = nullptr;
};

}  // namespace

std::unique_ptr<IWidgetPeer> CreateTabWidget(const WidgetParams& params, IWidgetEvents& events) {
  return std::make_unique<TabWidget>(params, events);
}

std::unique_ptr<IWidgetPeer> CreatePageWidget(const WidgetParams& params, IWidgetEvents& events) {
  return std::make_unique<PageWidget>(params, events);
}

}  // namespace platform::win32::widgets
