#include "platform/win32/Win32WindowSystem.h"

#include <windows.h>
#include <windowsx.h>

#include <memory>
#include <type_traits>

#include "platform/win32/Win32Blit.h"
#include "platform/win32/Win32Text.h"
#include "platform/win32/Win32Widgets.h"

namespace platform::win32 {

namespace {

constexpr wchar_t kWindowClass[] = L"TamikWindow";

using SetLayeredWindowAttributesFn = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);

// Looked up by name: systems before Windows 2000 lack it, and then windows stay opaque.
SetLayeredWindowAttributesFn LayeredAttributesFunction() {
  static const auto function =
      reinterpret_cast<SetLayeredWindowAttributesFn>(reinterpret_cast<void*>(
          GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetLayeredWindowAttributes")));
  return function;
}

HWND ToHwnd(WindowHandle handle) { return reinterpret_cast<HWND>(handle.value); }

// The port's constants are the Win32 ones; a mismatch here would pass wrong values through.
static_assert(kSwHide == SW_HIDE && kSwShowNormal == SW_SHOWNORMAL &&
              kSwShowMinimized == SW_SHOWMINIMIZED && kSwShowMaximized == SW_SHOWMAXIMIZED &&
              kSwShowNoActivate == SW_SHOWNOACTIVATE && kSwShow == SW_SHOW &&
              kSwMinimize == SW_MINIMIZE && kSwShowMinNoActive == SW_SHOWMINNOACTIVE &&
              kSwShowNa == SW_SHOWNA && kSwRestore == SW_RESTORE);
static_assert(kScMinimize == SC_MINIMIZE && kScRestore == SC_RESTORE);
static_assert(kWpfSetMinPosition == WPF_SETMINPOSITION &&
              kWpfRestoreToMaximized == WPF_RESTORETOMAXIMIZED);
static_assert(kWsPopup == WS_POPUP && kWsChild == WS_CHILD && kWsVisible == WS_VISIBLE &&
              kWsClipSiblings == WS_CLIPSIBLINGS && kWsClipChildren == WS_CLIPCHILDREN &&
              kWsCaption == WS_CAPTION && kWsSysMenu == WS_SYSMENU &&
              kWsMinimizeBox == WS_MINIMIZEBOX);
static_assert(kWsExTopmost == WS_EX_TOPMOST && kWsExToolWindow == WS_EX_TOOLWINDOW &&
              kWsExLayered == WS_EX_LAYERED && kGwlExStyle == GWL_EXSTYLE);
static_assert(kSwpNoSize == SWP_NOSIZE && kSwpNoMove == SWP_NOMOVE &&
              kSwpNoZOrder == SWP_NOZORDER && kSwpNoActivate == SWP_NOACTIVATE);
static_assert(kLwaColorKey == LWA_COLORKEY && kLwaAlpha == LWA_ALPHA);
static_assert(kRdwInvalidate == RDW_INVALIDATE && kRdwErase == RDW_ERASE &&
              kRdwAllChildren == RDW_ALLCHILDREN && kRdwFrame == RDW_FRAME);
static_assert(kMbOk == MB_OK && kMbIconError == MB_ICONERROR && kIdOk == IDOK);
static_assert(kMkLButton == MK_LBUTTON && kMkRButton == MK_RBUTTON && kMkShift == MK_SHIFT &&
              kMkControl == MK_CONTROL && kMkMButton == MK_MBUTTON);
static_assert(kWmMouseMove == WM_MOUSEMOVE && kWmLButtonDown == WM_LBUTTONDOWN &&
              kWmLButtonUp == WM_LBUTTONUP && kWmLButtonDblClk == WM_LBUTTONDBLCLK &&
              kWmRButtonDown == WM_RBUTTONDOWN && kWmRButtonUp == WM_RBUTTONUP &&
              kWmRButtonDblClk == WM_RBUTTONDBLCLK && kWmMButtonDown == WM_MBUTTONDOWN &&
              kWmMButtonUp == WM_MBUTTONUP && kWmMButtonDblClk == WM_MBUTTONDBLCLK);
// HWND_TOP is the null handle. The other special handles (-1, -2) are casts of integers to
// pointers, which a constant expression cannot compare; ToHwnd passes them through unchanged.
static_assert(HWND_TOP == nullptr && kHwndTop.value == 0);

LRESULT CALLBACK WindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

void RegisterWindowClass() {
  static const bool registered = [] {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    // Each window keeps a device context of its own: the gauge copies its bars' pictures to the
    // window at every refresh, outside any paint, and a context of the window's own spares each
    // copy the fetch from the system's shared cache and the set-up of its clipping (GetDC and
    // ReleaseDC become lookups).
    windowClass.style = CS_DBLCLKS | CS_OWNDC;
    windowClass.lpfnWndProc = WindowProcedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hIcon = LoadIconW(GetModuleHandleW(nullptr), L"MAINICON");
    windowClass.lpszClassName = kWindowClass;
    return RegisterClassExW(&windowClass) != 0;
  }();
  (void)registered;
}

}  // namespace

// One native window; its procedure forwards to the model's events. `events` is null for the
// application window, which only carries the timers (`system`).
class Win32WindowPeer : public IWindowPeer {
 public:
  Win32WindowPeer(const WindowParams& params, IWindowEvents* events, Win32WindowSystem* system)
      : events_(events), system_(system) {
    Create(params);
  }
  ~Win32WindowPeer() override {
    if (hwnd_ != nullptr) {
      SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
      DestroyWindow(hwnd_);
    }
    if (brush_ != nullptr) DeleteObject(brush_);
  }

  WindowHandle Handle() const override {
    return WindowHandle{reinterpret_cast<std::uintptr_t>(hwnd_)};
  }

  void SetBounds(int left, int top, int width, int height) override {
    SetWindowPos(hwnd_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  void SetText(const std::string& text) override { SetWindowTextW(hwnd_, Widen(text).c_str()); }
  void SetBackgroundColor(std::uint32_t rgb) override {
    if (brush_ != nullptr && rgb == background_) return;
    if (brush_ != nullptr) DeleteObject(brush_);
    background_ = rgb;
    brush_ = CreateSolidBrush(rgb);
  }
  bool Show(int command) override { return ShowWindow(hwnd_, command) != 0; }
  bool IsVisible() const override { return IsWindowVisible(hwnd_) != 0; }
  std::int32_t ExStyle() const override { return GetWindowLongW(hwnd_, GWL_EXSTYLE); }
  void SetExStyle(std::int32_t exStyle) override { SetWindowLongW(hwnd_, GWL_EXSTYLE, exStyle); }
  bool SetLayeredAttributes(std::uint32_t colorKey, std::uint8_t alpha,
                            std::uint32_t flags) override {
    const SetLayeredWindowAttributesFn function = LayeredAttributesFunction();
    return function != nullptr && function(hwnd_, colorKey, alpha, flags) != 0;
  }
  bool SetPosition(WindowHandle insertAfter, int left, int top, int width, int height,
                   std::uint32_t flags) override {
    return SetWindowPos(hwnd_, ToHwnd(insertAfter), left, top, width, height, flags) != 0;
  }
  bool Redraw(std::uint32_t flags) override {
    return RedrawWindow(hwnd_, nullptr, nullptr, flags) != 0;
  }
  void InvalidateArea(int left, int top, int right, int bottom) override {
    // The children over the area paint again after the window: a window that paints beneath its
    // children would otherwise cover them.
    const RECT area{left, top, right, bottom};
    RedrawWindow(hwnd_, &area, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  }
  void CopyPixels(int left, int top, int width, int height, const std::uint32_t* pixels,
                  int stride) override {
    if (width <= 0 || height <= 0 || pixels == nullptr) return;
    HDC dc = paintDc_ != nullptr ? paintDc_ : GetDC(hwnd_);
    CopyPixelsToDc(dc, left, top, width, height, pixels, stride);
    if (dc != paintDc_) ReleaseDC(hwnd_, dc);
  }

  bool GetPlacement(WindowPlacement& placement) const override {
    WINDOWPLACEMENT native{};
    native.length = sizeof native;
    if (!GetWindowPlacement(hwnd_, &native)) return false;
    placement.flags = native.flags;
    placement.showCmd = native.showCmd;
    placement.minX = native.ptMinPosition.x;
    placement.minY = native.ptMinPosition.y;
    placement.maxX = native.ptMaxPosition.x;
    placement.maxY = native.ptMaxPosition.y;
    placement.normalLeft = native.rcNormalPosition.left;
    placement.normalTop = native.rcNormalPosition.top;
    placement.normalRight = native.rcNormalPosition.right;
    placement.normalBottom = native.rcNormalPosition.bottom;
    return true;
  }
  bool SetPlacement(const WindowPlacement& placement) override {
    WINDOWPLACEMENT native{};
    native.length = sizeof native;
    native.flags = placement.flags;
    native.showCmd = placement.showCmd;
    native.ptMinPosition = {placement.minX, placement.minY};
    native.ptMaxPosition = {placement.maxX, placement.maxY};
    native.rcNormalPosition = {placement.normalLeft, placement.normalTop, placement.normalRight,
                               placement.normalBottom};
    return SetWindowPlacement(hwnd_, &native) != 0;
  }
  bool IsIconic() const override { return ::IsIconic(hwnd_) != 0; }
  bool PostSysCommand(std::uint32_t command) override {
    return PostMessageW(hwnd_, WM_SYSCOMMAND, command, 0) != 0;
  }
  void SetCapture() override { ::SetCapture(hwnd_); }
  void ReleaseCapture() override {
    // The capture belongs to one window of the thread at a time; another window's stays.
    if (GetCapture() == hwnd_) ::ReleaseCapture();
  }
  void CancelMode() override { SendMessageW(hwnd_, WM_CANCELMODE, 0, 0); }
  bool IsEnabled() const override { return IsWindowEnabled(hwnd_) != 0; }
  bool SetForeground() override { return SetForegroundWindow(hwnd_) != 0; }

  // Handles one message of the window; the window procedure calls it for every message once the
  // window is attached to its peer.
  virtual LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
      case WM_ERASEBKGND: {
        if (brush_ == nullptr) break;
        RECT client;
        GetClientRect(hwnd_, &client);
        FillRect(reinterpret_cast<HDC>(wParam), &client, brush_);
        return 1;
      }
      case WM_PAINT: {
        PAINTSTRUCT paint;
        paintDc_ = BeginPaint(hwnd_, &paint);
        if (events_ != nullptr) events_->NativePaint();
        paintDc_ = nullptr;
        EndPaint(hwnd_, &paint);
        return 0;
      }
      case WM_LBUTTONDOWN:
      case WM_RBUTTONDOWN:
      case WM_MBUTTONDOWN:
      case WM_LBUTTONUP:
      case WM_RBUTTONUP:
      case WM_MBUTTONUP:
      case WM_LBUTTONDBLCLK:
      case WM_RBUTTONDBLCLK:
      case WM_MBUTTONDBLCLK:
      case WM_MOUSEMOVE:
        if (events_ != nullptr) events_->NativeMouse(ToMouseInput(message, wParam, lParam));
        if (message == WM_RBUTTONUP) break;  // the default procedure raises WM_CONTEXTMENU
        return 0;
      case WM_CONTEXTMENU:
        if (events_ != nullptr)
          events_->NativeContextMenu(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
      case WM_CLOSE:
        if (events_ != nullptr) {
          events_->NativeClose();
          return 0;
        }
        break;
      case WM_COMMAND:
      case WM_NOTIFY:
      case WM_HSCROLL:
      case WM_VSCROLL:
      case WM_CTLCOLORSTATIC:
      case WM_CTLCOLORBTN:
      case WM_CTLCOLOREDIT:
      case WM_DRAWITEM:
      case WM_MEASUREITEM: {
        // Child controls report to their parent: the widget that owns the child answers.
        LRESULT result = 0;
        if (ReflectToWidget(hwnd_, message, wParam, lParam, brush_, result)) return result;
        break;
      }
      case WM_QUERYENDSESSION:
        return events_ == nullptr || events_->NativeQueryEndSession() ? TRUE : FALSE;
      case WM_TIMER:
        if (system_ != nullptr) {
          system_->DispatchTimer(static_cast<std::uintptr_t>(wParam));
          return 0;
        }
        break;
      default:
        break;
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
  }

  void Attach(HWND hwnd) { hwnd_ = hwnd; }

 protected:
  // For a derived peer, which creates the window itself once its own members are ready: the
  // window procedure reaches the peer from the first message of CreateWindowExW on.
  Win32WindowPeer() : events_(nullptr), system_(nullptr) {}

  void Create(const WindowParams& params) {
    RegisterWindowClass();
    hwnd_ = CreateWindowExW(static_cast<DWORD>(params.exStyle), kWindowClass,
                            Widen(params.text).c_str(), params.style, params.left, params.top,
                            params.width, params.height, ToHwnd(params.owner), nullptr,
                            GetModuleHandleW(nullptr), this);
  }

  HWND hwnd_ = nullptr;

 private:
  static MouseInput ToMouseInput(UINT message, WPARAM wParam, LPARAM lParam) {
    MouseInput input;
    input.keys = static_cast<std::uint32_t>(wParam);
    input.alt = GetKeyState(VK_MENU) < 0;
    input.x = GET_X_LPARAM(lParam);
    input.y = GET_Y_LPARAM(lParam);
    switch (message) {
      case WM_LBUTTONDOWN:
        input = With(input, MouseAction::Down, MouseButton::Left);
        break;
      case WM_RBUTTONDOWN:
        input = With(input, MouseAction::Down, MouseButton::Right);
        break;
      case WM_MBUTTONDOWN:
        input = With(input, MouseAction::Down, MouseButton::Middle);
        break;
      case WM_LBUTTONUP:
        input = With(input, MouseAction::Up, MouseButton::Left);
        break;
      case WM_RBUTTONUP:
        input = With(input, MouseAction::Up, MouseButton::Right);
        break;
      case WM_MBUTTONUP:
        input = With(input, MouseAction::Up, MouseButton::Middle);
        break;
      case WM_LBUTTONDBLCLK:
        input = With(input, MouseAction::DoubleClick, MouseButton::Left);
        break;
      case WM_RBUTTONDBLCLK:
        input = With(input, MouseAction::DoubleClick, MouseButton::Right);
        break;
      case WM_MBUTTONDBLCLK:
        input = With(input, MouseAction::DoubleClick, MouseButton::Middle);
        break;
      default:
        input = With(input, MouseAction::Move, MouseButton::None);
        break;
    }
    return input;
  }
  static MouseInput With(MouseInput input, MouseAction action, MouseButton button) {
    input.action = action;
    input.button = button;
    return input;
  }

  IWindowEvents* events_;
  Win32WindowSystem* system_;
  HBRUSH brush_ = nullptr;
  std::uint32_t background_ = 0;
  HDC paintDc_ = nullptr;
};

namespace {

// A hidden top-level window that hands its messages to a model. It is not a message-only window
// (HWND_MESSAGE): those never receive broadcasts, and the shell announces a new taskbar by one.
class Win32MessageWindow final : public Win32WindowPeer {
 public:
  explicit Win32MessageWindow(IMessageEvents& events)
      : messageEvents_(events), taskbarCreated_(RegisterWindowMessageW(L"TaskbarCreated")) {
    WindowParams params;
    params.style = WS_POPUP;
    // A tool window never shows in the taskbar or the task switcher, even if something shows it.
    params.exStyle = WS_EX_TOOLWINDOW;
    Create(params);
  }

  LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam) override {
    // RegisterWindowMessageW answers 0 only when it fails; no message is then taken for it.
    if (taskbarCreated_ != 0 && message == taskbarCreated_) {
      messageEvents_.NativeTaskbarCreated();
      return 0;
    }
    if (messageEvents_.NativeMessage(message, static_cast<std::uintptr_t>(wParam),
                                     static_cast<std::intptr_t>(lParam))) {
      return 0;
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
  }

 private:
  IMessageEvents& messageEvents_;
  const UINT taskbarCreated_;
};

struct MenuDestroyer {
  void operator()(HMENU menu) const { DestroyMenu(menu); }
};
using MenuPtr = std::unique_ptr<std::remove_pointer_t<HMENU>, MenuDestroyer>;

LRESULT CALLBACK WindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    auto* peer = static_cast<Win32WindowPeer*>(create->lpCreateParams);
    peer->Attach(hwnd);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(peer));
  }
  auto* peer = reinterpret_cast<Win32WindowPeer*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (peer == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);
  // No exception may cross the system's frames; the framework reports its own errors before
  // they get here, so anything left is dropped rather than let through.
  try {
    return peer->Dispatch(message, wParam, lParam);
  } catch (...) {
    return 0;
  }
}

}  // namespace

Win32WindowSystem::Win32WindowSystem() {
  WindowParams params;
  params.text = "Tamik";
  params.style = WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX;
  params.left = GetSystemMetrics(SM_CXSCREEN) / 2;
  params.top = GetSystemMetrics(SM_CYSCREEN) / 2;
  applicationWindow_ = std::make_unique<Win32WindowPeer>(params, nullptr, this);
  applicationWindow_->Show(SW_SHOWNORMAL);
}

Win32WindowSystem::~Win32WindowSystem() {
  for (const auto& [id, events] : timers_) {
    KillTimer(ToHwnd(applicationWindow_->Handle()), id);
  }
}

IWindowPeer& Win32WindowSystem::ApplicationWindow() { return *applicationWindow_; }

std::unique_ptr<IWindowPeer> Win32WindowSystem::CreateWindowPeer(const WindowParams& params,
                                                                 IWindowEvents& events) {
  return std::make_unique<Win32WindowPeer>(params, &events, nullptr);
}

std::unique_ptr<IWidgetPeer> Win32WindowSystem::CreateWidget(const WidgetParams& params,
                                                             IWidgetEvents& events) {
  return CreateWin32Widget(params, events);
}

std::unique_ptr<IWindowPeer> Win32WindowSystem::CreateMessageWindow(IMessageEvents& events) {
  return std::make_unique<Win32MessageWindow>(events);
}

IconHandle Win32WindowSystem::LoadIconResource(const std::string& name, int size) {
  // A shared image belongs to the system, which frees it with the module: never destroyed here.
  HANDLE icon =
      LoadImageW(GetModuleHandleW(nullptr), Widen(name).c_str(), IMAGE_ICON, size, size, LR_SHARED);
  return IconHandle{reinterpret_cast<std::uintptr_t>(icon)};
}

int Win32WindowSystem::TrackPopupMenu(const std::vector<MenuEntry>& entries, int screenX,
                                      int screenY) {
  if (entries.empty()) return -1;
  const MenuPtr menu(CreatePopupMenu());
  if (!menu) return -1;
  // Command ids are the entries' positions from 1: TrackPopupMenu answers 0 for no choice.
  bool haveDefault = false;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const MenuEntry& entry = entries[i];
    const UINT_PTR command = i + 1;
    const bool appended =
        entry.caption == "-"
            ? AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr) != 0
            : AppendMenuW(menu.get(), MF_STRING | (entry.enabled ? MF_ENABLED : MF_GRAYED), command,
                          Widen(entry.caption).c_str()) != 0;
    // A menu without all its entries would not be the one the model describes; none is shown.
    if (!appended) return -1;
    if (entry.caption == "-") continue;
    if (entry.isDefault && !haveDefault) {
      SetMenuDefaultItem(menu.get(), static_cast<UINT>(command), FALSE);
      haveDefault = true;
    }
  }
  // The menu's owner receives its messages. The foreground window is kept when it is one of
  // ours (a notification-icon menu has just put its hidden window there, so a click elsewhere
  // closes the menu); a window of another thread cannot own it.
  HWND owner = GetForegroundWindow();
  if (owner == nullptr || GetWindowThreadProcessId(owner, nullptr) != GetCurrentThreadId()) {
    owner = ToHwnd(applicationWindow_->Handle());
  }
  const int command =
      static_cast<int>(::TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_LEFTALIGN | TPM_RIGHTBUTTON,
                                        screenX, screenY, 0, owner, nullptr));
  // A menu tracked for a notification icon closes properly only once its owner's queue has seen
  // another message after it; WM_NULL is that message and does nothing else.
  PostMessageW(owner, WM_NULL, 0, 0);
  if (command <= 0 || static_cast<std::size_t>(command) > entries.size()) return -1;
  return command - 1;
}

void Win32WindowSystem::ProcessMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    // The quit request belongs to the outer message loop: it goes back on the queue for it.
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

WindowFrame Win32WindowSystem::FrameOf(std::uint32_t style, std::int32_t exStyle) {
  // The frame of an empty client area is the frame itself. Forms have no menu bar.
  RECT rect{0, 0, 0, 0};
  if (!AdjustWindowRectEx(&rect, style, FALSE, static_cast<DWORD>(exStyle))) return WindowFrame{};
  return WindowFrame{static_cast<int>(rect.right - rect.left),
                     static_cast<int>(rect.bottom - rect.top)};
}

bool Win32WindowSystem::HasLayeredWindows() const { return LayeredAttributesFunction() != nullptr; }

std::uintptr_t Win32WindowSystem::StartTimer(std::uint32_t intervalMs, ITimerEvents& events) {
  const std::uintptr_t id = nextTimerId_++;
  if (SetTimer(ToHwnd(applicationWindow_->Handle()), id, intervalMs, nullptr) == 0) return 0;
  timers_[id] = &events;
  return id;
}

void Win32WindowSystem::StopTimer(std::uintptr_t id) {
  if (timers_.erase(id) != 0) KillTimer(ToHwnd(applicationWindow_->Handle()), id);
}

void Win32WindowSystem::DispatchTimer(std::uintptr_t id) {
  const auto it = timers_.find(id);
  if (it != timers_.end()) it->second->TimerFired();
}

void Win32WindowSystem::RunMessageLoop() {
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

void Win32WindowSystem::QuitMessageLoop() { PostQuitMessage(0); }

int Win32WindowSystem::ShowMessageBox(const std::string& text, const std::string& caption,
                                      std::uint32_t flags) {
  HWND owner = GetActiveWindow();
  if (owner == nullptr) owner = ToHwnd(applicationWindow_->Handle());
  return MessageBoxW(owner, Widen(text).c_str(), Widen(caption).c_str(), flags);
}

}  // namespace platform::win32
