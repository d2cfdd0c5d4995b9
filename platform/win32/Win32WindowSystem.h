#pragma once
// The Win32 window system: one window class for the application window, the forms and the hidden
// message windows; timers on the application window; the message loop, popup menus and message
// boxes.

#include <map>

#include "platform/Windowing.h"

namespace platform::win32 {

class Win32WindowPeer;

class Win32WindowSystem : public IWindowSystem {
 public:
  Win32WindowSystem();
  ~Win32WindowSystem() override;
  Win32WindowSystem(const Win32WindowSystem&) = delete;
  Win32WindowSystem& operator=(const Win32WindowSystem&) = delete;

  IWindowPeer& ApplicationWindow() override;
  std::unique_ptr<IWindowPeer> CreateWindowPeer(const WindowParams& params,
                                                IWindowEvents& events) override;
  std::unique_ptr<IWidgetPeer> CreateWidget(const WidgetParams& params,
                                            IWidgetEvents& events) override;
  std::unique_ptr<IWindowPeer> CreateMessageWindow(IMessageEvents& events) override;
  IconHandle LoadIconResource(const std::string& name, int size) override;
  int TrackPopupMenu(const std::vector<MenuEntry>& entries, int screenX, int screenY) override;
  void ProcessMessages() override;
  WindowFrame FrameOf(std::uint32_t style, std::int32_t exStyle) override;
  bool HasLayeredWindows() const override;
  std::uintptr_t StartTimer(std::uint32_t intervalMs, ITimerEvents& events) override;
  void StopTimer(std::uintptr_t id) override;
  void RunMessageLoop() override;
  void QuitMessageLoop() override;
  int ShowMessageBox(const std::string& text, const std::string& caption,
                     std::uint32_t flags) override;

  // Called by the application window's procedure for WM_TIMER.
  void DispatchTimer(std::uintptr_t id);

 private:
  std::unique_ptr<Win32WindowPeer> applicationWindow_;
  std::map<std::uintptr_t, ITimerEvents*> timers_;
  std::uintptr_t nextTimerId_ = 1;
};

}  // namespace platform::win32
