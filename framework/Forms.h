#pragma once
// Forms and the application object. A form is a model first: it keeps its caption, bounds,
// colour, transparency settings and visibility, and raises its events; while the application has
// a window system, a form also owns a native window (its peer) that mirrors the model and reports
// paint, mouse and close requests back to it.

#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <utility>

#include "framework/Controls.h"
#include "platform/Windowing.h"

namespace platform {
class IRegistry;
class IShell;
class IDialogs;
class IFileSystem;
class ISystem;
}  // namespace platform

// The ports as components reach them (docs/PORTS.md): every one is there; a port the program
// runs without is its null object (platform/NullPorts.h). The drawing ports stay optional: a
// missing screen or glyph rasterizer selects the framework's own colours and glyphs.
struct AppPorts {
  platform::IWindowSystem& Windows;
  platform::IRegistry& Registry;
  platform::ISystem& System;
  platform::IShell& Shell;
  platform::IDialogs& Dialogs;
  platform::IFileSystem& Files;
  TGraphicsPorts Graphics;
};

class TApplication;
class TPopupMenu;

enum TCloseAction : std::uint8_t { caNone, caHide, caFree, caMinimize };
enum TFormBorderStyle : std::uint8_t { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow };
enum TWindowState : std::uint8_t { wsNormal, wsMinimized, wsMaximized };

using TCloseEvent = std::function<void(TObject* sender, TCloseAction& action)>;
using TCloseQueryEvent = std::function<void(TObject* sender, bool& canClose)>;

class TForm : public TWinControl, private platform::IWindowEvents {
 public:
  // A form is owned by the application (null in tests that need no application). It starts
  // hidden and without a native window.
  explicit TForm(TComponent* owner);
  ~TForm() override;

  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassType() const override { return StaticClassInfo(); }

  TApplication* Application() const { return application_; }

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);
  TFormBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TFormBorderStyle style) { borderStyle_ = style; }
  // The client area: the window less the frame (borders and caption) that the window system
  // reports for the form's border style. With bsNone that is a popup's frame, normally none: the
  // client area is then the whole window. Without a window system the frame is taken as none.
  void SetClientSize(int width, int height);
  int ClientWidth() const { return Width() - Frame().width; }
  int ClientHeight() const { return Height() - Frame().height; }

  // Window transparency. Writing a value the property already has does nothing; a new value is
  // stored and, when the platform offers layered windows and the native window exists, applied:
  // WS_EX_LAYERED is added and the attributes set while AlphaBlend or TransparentColor is on,
  // otherwise WS_EX_LAYERED is removed and the window redrawn.
  bool AlphaBlend() const { return alphaBlend_; }
  void SetAlphaBlend(bool value);
  std::uint8_t AlphaBlendValue() const { return alphaBlendValue_; }
  void SetAlphaBlendValue(std::uint8_t value);
  bool TransparentColor() const { return transparentColor_; }
  void SetTransparentColor(bool value);
  TColor TransparentColorValue() const { return transparentColorValue_; }
  void SetTransparentColorValue(TColor value);

  // The state the native window is shown in. A visible form's window takes a new state at once;
  // a hidden form's window takes it when the form is shown.
  TWindowState WindowState() const { return windowState_; }
  void SetWindowState(TWindowState state);

  // The native window's placement (GetWindowPlacement); false without a native window or when
  // the system refuses. Creates no window.
  bool GetWindowPlacement(platform::WindowPlacement& placement) const;
  // Applies a placement to the native window (created when missing); the form's bounds follow
  // the placement's normal rectangle. Without a window system nothing happens.
  void SetWindowPlacement(const platform::WindowPlacement& placement);

  // Showing raises OnShow before the window becomes visible; hiding raises OnHide.
  void SetVisible(bool visible) override;
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  // Asks OnCloseQuery; when the close is granted, raises OnClose with caHide and acts on the
  // action: caHide hides the form, or ends the application when it is the main form.
  void Close();
  bool CloseQuery();

  // The font of the form's controls that have none of their own ("MS Sans Serif", 8 points).
  TFont* Font() { return &font_; }
  const TFont* ShownFont() const override { return &font_; }

  // Brings the window to the top of its band (a topmost window stays topmost).
  void BringToFront();

  // The menu a right click on the window opens at the pointer, when its AutoPopup is on; the
  // window's controls have no menus of their own. Becomes null when the menu is destroyed.
  TPopupMenu* PopupMenu() const { return popupMenu_; }
  void SetPopupMenu(TPopupMenu* menu);

  // Mouse capture for the native window: while captured, moves and releases reach the form also
  // with the pointer outside it. Without a native window nothing happens.
  void SetCapture();
  void ReleaseCapture();
  // Ends any mouse mode of the native window (capture, tracking).
  void CancelMode();

  // The native window, created on demand; null without a window system.
  platform::IWindowPeer* Peer();
  bool HandleAllocated() const { return peer_ != nullptr; }

  TNotifyEvent OnCreate;
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;
  TNotifyEvent OnDestroy;

  void InvalidateChild(const TControl& child) override;
  void CopyChildImage(const TControl& child, const TBitmap& image, int x, int y) override;
  TGraphicsPorts GraphicsPorts() const override;

 protected:
  // Completes the layout: calls Loaded of every component the form owns, in the order they were
  // created, then runs OnCreate. A derived form calls it at the end of its constructor, once its
  // layout exists and its handlers are bound; an error raised by OnCreate is shown by the
  // application and the form is still created.
  void DoCreate();
  void ColorChanged() override;
  void Notification(TComponent* component, TOperation operation) override;
  void SetBounds(int left, int top, int width, int height) override;

 private:
  void CreatePeer();
  // The native window's styles for the border style.
  void WindowStyles(std::uint32_t& style, std::int32_t& exStyle) const;
  platform::WindowFrame Frame() const;
  void ApplyLayeredAttributes();
  bool HasChild(const TControl* control) const;
  std::uint32_t NativeColor(TColor color) const;

  // platform::IWindowEvents
  void NativePaint() override;
  void NativeMouse(const platform::MouseInput& input) override;
  void NativeContextMenu(int screenX, int screenY) override;
  void NativeClose() override;
  bool NativeQueryEndSession() override;

  TApplication* application_ = nullptr;
  std::unique_ptr<platform::IWindowPeer> peer_;
  std::string caption_;
  TFormBorderStyle borderStyle_ = bsSizeable;
  TWindowState windowState_ = wsNormal;
  bool alphaBlend_ = false;
  std::uint8_t alphaBlendValue_ = 255;
  bool transparentColor_ = false;
  TColor transparentColorValue_ = 0;
  TPopupMenu* popupMenu_ = nullptr;
  TFont font_;
  // The control that received the last button press; it keeps receiving the mouse until the
  // release, wherever the pointer goes.
  TControl* mouseControl_ = nullptr;
};

// The application that (directly or through its owners) owns `component`; null when none does.
TApplication* FindApplication(const TComponent* component);

// The one way a component reaches a port: the ports of the application that owns `component`
// (directly or through its owners), or the null ports when no application does (components made
// without one, as in tests). Never a missing port.
const AppPorts& PortsOf(const TComponent* component);

// The application: the title, the forms in the order they were created (the first is the main
// form), the message loop, and the error display at the boundary of every event.
class TApplication : public TComponent {
 public:
  // The ports the program runs with. A null one is not there: the application takes its null
  // object instead (platform/NullPorts.h), so components never meet a missing port.
  struct Ports {
    platform::IWindowSystem* Windows = nullptr;  // null: forms stay models without windows
    TGraphicsPorts Graphics;
    platform::IRegistry* Registry = nullptr;  // null: the settings stores keep nothing
    platform::ISystem* System = nullptr;
    platform::IShell* Shell = nullptr;  // null: no notification-area icons
    platform::IDialogs* Dialogs = nullptr;    // null: the common dialogs answer "cancelled"
    platform::IFileSystem* Files = nullptr;   // null: files can be neither read nor written
  };

  explicit TApplication(const Ports& ports);
  ~TApplication() override;

  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassType() const override { return StaticClassInfo(); }

  const std::string& Title() const { return title_; }
  void SetTitle(const std::string& title) { title_ = title; }

  // Creates a form owned by the application; the first form created becomes the main form.
  template <class T, class... Args>
  T* CreateForm(Args&&... args) {
    T* form = new T(this, std::forward<Args>(args)...);
    if (mainForm_ == nullptr) mainForm_ = form;
    return form;
  }
  TForm* MainForm() const { return mainForm_; }

  // Shows the main form and runs the message loop until Terminate.
  void Run();
  void Terminate();
  bool Terminated() const { return terminated_; }
  // Handles the messages waiting in the queue, then returns.
  void ProcessMessages();

  // The ports, each there (a missing one is its null object).
  const AppPorts& AllPorts() const { return ports_; }
  platform::IWindowSystem& WindowSystem() const { return ports_.Windows; }
  platform::IRegistry& Registry() const { return ports_.Registry; }
  platform::ISystem& System() const { return ports_.System; }
  platform::IShell& Shell() const { return ports_.Shell; }
  platform::IDialogs& Dialogs() const { return ports_.Dialogs; }
  platform::IFileSystem& Files() const { return ports_.Files; }
  // The drawing ports: optional (null: the framework's own colours and glyphs).
  platform::IScreen& Screen() const { return ports_.Graphics.Screen(); }
  const TGraphicsPorts& GraphicsPorts() const { return ports_.Graphics; }
  // The application window that carries the taskbar button; without a window system, the null
  // window system's, which ignores everything.
  platform::IWindowPeer& ApplicationWindow() const { return ports_.Windows.ApplicationWindow(); }

  // Shows an error in the error box: the title as caption, an error icon, and the message with a
  // full stop added when its last character sorts after ".". While one error box is open, further
  // errors are not shown, so an error that repeats on every timer tick opens one box at a time.
  void ShowException(const std::exception& error);
  // Runs `handler` and shows any error it raises; the boundary of every event.
  template <class F>
  void Guard(F&& handler) {
    try {
      handler();
    } catch (const std::exception& error) {
      ShowException(error);
    }
  }

  // The text shown for an error message (the full-stop rule).
  static std::string ErrorBoxText(const std::string& message);

 private:
  AppPorts ports_;
  std::string title_;
  TForm* mainForm_ = nullptr;
  bool terminated_ = false;
  bool errorBoxOpen_ = false;
};

// The boundary of an event raised for `component`: `handler` runs under the Guard of the
// application that owns the component (its errors are shown in the error box), or plainly, its
// errors going to the caller, when no application does.
template <class F>
void GuardedCall(const TComponent* component, F&& handler) {
  if (TApplication* application = FindApplication(component)) {
    application->Guard(std::forward<F>(handler));
  } else {
    std::forward<F>(handler)();
  }
}

// GuardedCall for work that no one waits on (storing settings as a window shows or goes):
// without an application its errors are dropped instead of reaching the caller.
template <class F>
void GuardedCallOrDrop(const TComponent* component, F&& handler) {
  if (TApplication* application = FindApplication(component)) {
    application->Guard(std::forward<F>(handler));
    return;
  }
  try {
    std::forward<F>(handler)();
  } catch (const std::exception&) {
  }
}
