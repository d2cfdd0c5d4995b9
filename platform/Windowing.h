#pragma once
// The windowing port: native windows, timers, the message loop and message boxes, in Win32 terms
// (styles, show commands, layered-window flags) but without <windows.h>. The framework's forms
// own one peer each while their native window exists; without a window system (host tests) the
// forms are models only.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform {

class IWidgetPeer;
class IWidgetEvents;
struct WidgetParams;

// An opaque window handle (HWND value).
struct WindowHandle {
  std::uintptr_t value = 0;
  friend bool operator==(WindowHandle, WindowHandle) = default;
};

// An opaque icon handle (HICON value); 0 is no icon.
struct IconHandle {
  std::uintptr_t value = 0;
  friend bool operator==(IconHandle, IconHandle) = default;
};

constexpr WindowHandle SpecialWindow(std::int32_t value) {
  return WindowHandle{static_cast<std::uintptr_t>(static_cast<std::intptr_t>(value))};
}
inline constexpr WindowHandle kHwndTopmost = SpecialWindow(-1);
inline constexpr WindowHandle kHwndNoTopmost = SpecialWindow(-2);
inline constexpr WindowHandle kHwndTop = SpecialWindow(0);

// Window styles.
inline constexpr std::uint32_t kWsPopup = 0x80000000u;
inline constexpr std::uint32_t kWsChild = 0x40000000u;
inline constexpr std::uint32_t kWsVisible = 0x10000000u;
inline constexpr std::uint32_t kWsClipSiblings = 0x04000000u;
inline constexpr std::uint32_t kWsClipChildren = 0x02000000u;
inline constexpr std::uint32_t kWsCaption = 0x00C00000u;
inline constexpr std::uint32_t kWsSysMenu = 0x00080000u;
inline constexpr std::uint32_t kWsMinimizeBox = 0x00020000u;
// Extended styles.
inline constexpr std::int32_t kWsExTopmost = 0x00000008;
inline constexpr std::int32_t kWsExToolWindow = 0x00000080;
inline constexpr std::int32_t kWsExLayered = 0x00080000;
// Index of the extended style for GetWindowLongA / SetWindowLongA.
inline constexpr int kGwlExStyle = -20;
// Show commands.
inline constexpr int kSwHide = 0;
inline constexpr int kSwShowNormal = 1;
inline constexpr int kSwShowMinimized = 2;
inline constexpr int kSwShowMaximized = 3;
inline constexpr int kSwShowNoActivate = 4;
inline constexpr int kSwShow = 5;
inline constexpr int kSwMinimize = 6;
inline constexpr int kSwShowMinNoActive = 7;
inline constexpr int kSwShowNa = 8;
inline constexpr int kSwRestore = 9;
// System commands (WM_SYSCOMMAND).
inline constexpr std::uint32_t kScMinimize = 0xF020;
inline constexpr std::uint32_t kScRestore = 0xF120;
// WINDOWPLACEMENT flags.
inline constexpr std::uint32_t kWpfSetMinPosition = 0x1;
inline constexpr std::uint32_t kWpfRestoreToMaximized = 0x2;
// SetWindowPos flags.
inline constexpr std::uint32_t kSwpNoSize = 0x0001;
inline constexpr std::uint32_t kSwpNoMove = 0x0002;
inline constexpr std::uint32_t kSwpNoZOrder = 0x0004;
inline constexpr std::uint32_t kSwpNoActivate = 0x0010;
// SetLayeredWindowAttributes flags.
inline constexpr std::uint32_t kLwaColorKey = 0x1;
inline constexpr std::uint32_t kLwaAlpha = 0x2;
// RedrawWindow flags.
inline constexpr std::uint32_t kRdwInvalidate = 0x0001;
inline constexpr std::uint32_t kRdwErase = 0x0004;
inline constexpr std::uint32_t kRdwAllChildren = 0x0080;
inline constexpr std::uint32_t kRdwFrame = 0x0400;
// Message box flags and answers.
inline constexpr std::uint32_t kMbOk = 0x0;
inline constexpr std::uint32_t kMbIconError = 0x10;
inline constexpr int kIdOk = 1;

// Mouse messages, as the shell reports them for a notification-area icon.
inline constexpr std::uint32_t kWmMouseMove = 0x0200;
inline constexpr std::uint32_t kWmLButtonDown = 0x0201;
inline constexpr std::uint32_t kWmLButtonUp = 0x0202;
inline constexpr std::uint32_t kWmLButtonDblClk = 0x0203;
inline constexpr std::uint32_t kWmRButtonDown = 0x0204;
inline constexpr std::uint32_t kWmRButtonUp = 0x0205;
inline constexpr std::uint32_t kWmRButtonDblClk = 0x0206;
inline constexpr std::uint32_t kWmMButtonDown = 0x0207;
inline constexpr std::uint32_t kWmMButtonUp = 0x0208;
inline constexpr std::uint32_t kWmMButtonDblClk = 0x0209;

// Mouse input as the native window reports it, in client coordinates.
enum class MouseAction { Down, Move, Up, DoubleClick };
enum class MouseButton { Left, Right, Middle, None };
// Held keys and buttons (the Win32 MK_ flags).
inline constexpr std::uint32_t kMkLButton = 0x0001;
inline constexpr std::uint32_t kMkRButton = 0x0002;
inline constexpr std::uint32_t kMkShift = 0x0004;
inline constexpr std::uint32_t kMkControl = 0x0008;
inline constexpr std::uint32_t kMkMButton = 0x0010;

struct MouseInput {
  MouseAction action = MouseAction::Move;
  MouseButton button = MouseButton::None;
  std::uint32_t keys = 0;  // kMk* flags
  bool alt = false;
  int x = 0;
  int y = 0;
};

// What a native window reports to its model. Every call arrives on the user-interface thread,
// from the message loop or a nested one.
class IWindowEvents {
 public:
  virtual ~IWindowEvents() = default;
  // The window's client area must be painted again.
  virtual void NativePaint() = 0;
  virtual void NativeMouse(const MouseInput& input) = 0;
  // A context-menu request (right button released) at a screen position.
  virtual void NativeContextMenu(int screenX, int screenY) = 0;
  // The user or the system asked the window to close (close button, Alt+F4, WM_CLOSE).
  virtual void NativeClose() = 0;
  // The session is ending; answers whether this window agrees.
  virtual bool NativeQueryEndSession() = 0;
};

struct WindowFrame {
  int width = 0;
  int height = 0;
};

struct WindowParams {
  std::string text;
  std::uint32_t style = 0;
  std::int32_t exStyle = 0;
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  WindowHandle owner;  // the owner window of a top-level window (the application window)
};

// A window's placement (WINDOWPLACEMENT without its length field): the kWpf* flags, the show
// command, the positions of the minimised and the maximised window, and the normal (restored)
// rectangle, right and bottom exclusive.
struct WindowPlacement {
  std::uint32_t flags = 0;
  std::uint32_t showCmd = 0;
  int minX = 0;
  int minY = 0;
  int maxX = 0;
  int maxY = 0;
  int normalLeft = 0;
  int normalTop = 0;
  int normalRight = 0;
  int normalBottom = 0;
  friend bool operator==(const WindowPlacement&, const WindowPlacement&) = default;
};

// One native window. Destroying the peer destroys the window.
class IWindowPeer {
 public:
  virtual ~IWindowPeer() = default;
  virtual WindowHandle Handle() const = 0;
  virtual void SetBounds(int left, int top, int width, int height) = 0;
  virtual void SetText(const std::string& text) = 0;
  // The colour (0x00BBGGRR) in which the window erases its client area before painting.
  virtual void SetBackgroundColor(std::uint32_t rgb) = 0;
  // ShowWindow with a show command (kSw*). Returns whether the window was visible before.
  virtual bool Show(int command) = 0;
  virtual bool IsVisible() const = 0;
  // GetWindowLongA / SetWindowLongA on kGwlExStyle.
  virtual std::int32_t ExStyle() const = 0;
  virtual void SetExStyle(std::int32_t exStyle) = 0;
  // SetLayeredWindowAttributes with the colour key as the raw 32-bit colour value.
  virtual bool SetLayeredAttributes(std::uint32_t colorKey, std::uint8_t alpha,
                                    std::uint32_t flags) = 0;
  // SetWindowPos.
  virtual bool SetPosition(WindowHandle insertAfter, int left, int top, int width, int height,
                           std::uint32_t flags) = 0;
  // RedrawWindow of the whole window with kRdw* flags.
  virtual bool Redraw(std::uint32_t flags) = 0;
  // Marks a client rectangle for painting.
  virtual void InvalidateArea(int left, int top, int right, int bottom) = 0;
  // Copies 32-bit pixels (0x00RRGGBB, top-down rows of `stride` pixels) onto the client area at
  // (left, top), in one copy.
  virtual void CopyPixels(int left, int top, int width, int height, const std::uint32_t* pixels,
                          int stride) = 0;
  // GetWindowPlacement. Returns false when the system refuses; `placement` is then unchanged.
  virtual bool GetPlacement(WindowPlacement& placement) const = 0;
  // SetWindowPlacement, show command included: kSwHide moves a hidden window without showing it.
  virtual bool SetPlacement(const WindowPlacement& placement) = 0;
  // IsIconic: whether the window is minimised.
  virtual bool IsIconic() const = 0;
  // PostMessageA(WM_SYSCOMMAND, command, 0): the message loop carries the command out later.
  virtual bool PostSysCommand(std::uint32_t command) = 0;
  // SetCapture / ReleaseCapture: while captured, the window receives every mouse message, also
  // with the pointer outside it. Releasing does nothing unless this window holds the capture.
  virtual void SetCapture() = 0;
  virtual void ReleaseCapture() = 0;
  // Sends WM_CANCELMODE: the window leaves any mouse mode (capture, tracking) it is in.
  virtual void CancelMode() = 0;
  // IsWindowEnabled.
  virtual bool IsEnabled() const = 0;
  // SetForegroundWindow. Returns whether the system agreed.
  virtual bool SetForeground() = 0;
};

// What a hidden message window reports. Every call arrives on the user-interface thread.
class IMessageEvents {
 public:
  virtual ~IMessageEvents() = default;
  // A message for the window; answers whether it was handled (the message's result is then 0).
  // Unhandled messages go to the default window procedure. The taskbar's re-creation does not
  // come here but to NativeTaskbarCreated.
  virtual bool NativeMessage(std::uint32_t message, std::uintptr_t wParam,
                             std::intptr_t lParam) = 0;
  // The shell's taskbar was (re-)created (the registered "TaskbarCreated" message): every icon
  // of the notification area is gone and must be added again.
  virtual void NativeTaskbarCreated() = 0;
};

// One item of a popup menu as the native menu shows it. A caption of "-" is a separator; an "&"
// marks the next character as the item's access key.
struct MenuEntry {
  std::string caption;
  bool enabled = true;
  bool isDefault = false;
};

class ITimerEvents {
 public:
  virtual ~ITimerEvents() = default;
  virtual void TimerFired() = 0;
};

class IWindowSystem {
 public:
  virtual ~IWindowSystem() = default;

  // The application window: a zero-sized top-level window that carries the program's taskbar
  // button and owns the program's forms. It exists as long as the window system.
  virtual IWindowPeer& ApplicationWindow() = 0;
  virtual std::unique_ptr<IWindowPeer> CreateWindowPeer(const WindowParams& params,
                                                        IWindowEvents& events) = 0;
  // A native widget inside a form's window or a page (platform/Widgets.h).
  virtual std::unique_ptr<IWidgetPeer> CreateWidget(const WidgetParams& params,
                                                    IWidgetEvents& events) = 0;
  // A hidden top-level window that only receives messages (it also receives broadcasts such as
  // the taskbar's re-creation, which a message-only window would not).
  virtual std::unique_ptr<IWindowPeer> CreateMessageWindow(IMessageEvents& events) = 0;
  // The program's icon resource `name` at `size` x `size` pixels; the handle is shared and lives
  // as long as the program. The resource must hold an image of that size (shared icons are
  // cached per image, so a missing size would come back at another size already loaded). 0 when
  // there is no such resource.
  virtual IconHandle LoadIconResource(const std::string& name, int size) = 0;
  // Shows a popup menu at a screen position and tracks it in a nested message loop until it
  // closes. Returns the index of the entry chosen, or -1 when the menu closed without a choice.
  virtual int TrackPopupMenu(const std::vector<MenuEntry>& entries, int screenX, int screenY) = 0;
  // Handles every message waiting in the queue, then returns.
  virtual void ProcessMessages() = 0;
  // AdjustWindowRectEx: how much wider and higher than its client area a window of these styles
  // is (its borders and caption); 0 and 0 for a window without a frame.
  virtual WindowFrame FrameOf(std::uint32_t style, std::int32_t exStyle) = 0;
  // Whether the platform offers SetLayeredWindowAttributes (looked up in User32.dll at start).
  virtual bool HasLayeredWindows() const = 0;

  // Starts a platform timer; returns 0 when the platform refuses one.
  virtual std::uintptr_t StartTimer(std::uint32_t intervalMs, ITimerEvents& events) = 0;
  virtual void StopTimer(std::uintptr_t id) = 0;

  // Runs the message loop until QuitMessageLoop.
  virtual void RunMessageLoop() = 0;
  virtual void QuitMessageLoop() = 0;

  // A modal message box (MessageBoxA) owned by the active window; runs a nested message loop.
  virtual int ShowMessageBox(const std::string& text, const std::string& caption,
                             std::uint32_t flags) = 0;
};

}  // namespace platform
