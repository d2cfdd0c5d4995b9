#pragma once
// An in-memory window system: windows that record every call made on them, timers a test fires
// by hand, message boxes and popup menus that are recorded (and can run code while "open", as a
// nested message loop would), hidden message windows a test sends messages to, and a timeline of
// the calls whose order across windows matters (capture, foreground, menus, message pumping).

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/Widgets.h"
#include "platform/Windowing.h"

class FakeWindowSystem;

class FakeWindowPeer : public platform::IWindowPeer {
 public:
  FakeWindowPeer(const platform::WindowParams& params, platform::IWindowEvents* events,
                 std::uintptr_t handle, FakeWindowSystem* system = nullptr);
  ~FakeWindowPeer() override;

  platform::WindowHandle Handle() const override { return {handle}; }
  void SetBounds(int left, int top, int width, int height) override;
  void SetText(const std::string& text) override;
  void SetBackgroundColor(std::uint32_t rgb) override;
  bool Show(int command) override;
  bool IsVisible() const override { return visible; }
  std::int32_t ExStyle() const override { return exStyle; }
  void SetExStyle(std::int32_t value) override;
  bool SetLayeredAttributes(std::uint32_t colorKey, std::uint8_t alpha,
                            std::uint32_t flags) override;
  bool SetPosition(platform::WindowHandle insertAfter, int left, int top, int width, int height,
                   std::uint32_t flags) override;
  bool Redraw(std::uint32_t flags) override;
  void InvalidateArea(int left, int top, int right, int bottom) override;
  void CopyPixels(int left, int top, int width, int height, const std::uint32_t* pixels,
                  int stride) override;
  // The placement mirrors the window: the normal rectangle is its bounds, the show command
  // follows its state (1 normal, 2 minimised, 3 maximised). Setting a placement moves the window,
  // keeps the flags and positions, and applies the show command as Show does.
  bool GetPlacement(platform::WindowPlacement& placement) const override;
  bool SetPlacement(const platform::WindowPlacement& placement) override;
  bool IsIconic() const override { return minimized; }
  // Carried out at once: kScMinimize minimises the window, kScRestore restores it.
  bool PostSysCommand(std::uint32_t command) override;
  void SetCapture() override;
  void ReleaseCapture() override;
  void CancelMode() override;
  bool IsEnabled() const override { return enabled; }
  bool SetForeground() override;

  // Every call in order, as short texts such as "SetExStyle 0x80080" or "Show 5".
  std::vector<std::string> calls;
  platform::WindowParams params;
  platform::IWindowEvents* events;
  std::uintptr_t handle;
  bool visible = false;
  std::int32_t exStyle = 0;
  int left = 0, top = 0, width = 0, height = 0;
  std::uint32_t background = 0;
  bool topmost = false;
  // The last layered attributes set.
  std::uint32_t colorKey = 0;
  std::uint8_t alpha = 255;
  std::uint32_t layeredFlags = 0;
  int layeredCalls = 0;
  // The window's client pixels as last copied (0x00RRGGBB), width x height.
  std::vector<std::uint32_t> surface;
  int copies = 0;
  // Set to true when the window is destroyed.
  bool* destroyedFlag = nullptr;
  // The window's state and the placement values that are not its bounds.
  bool minimized = false;
  bool maximized = false;
  std::uint32_t placementFlags = 0;
  int minX = -1, minY = -1, maxX = -1, maxY = -1;
  // GetPlacement answers false (and leaves the record alone) while set.
  bool refusePlacement = false;
  std::vector<std::uint32_t> postedSysCommands;
  bool captured = false;
  bool enabled = true;
  // The events of a hidden message window (CreateMessageWindow); null for other windows.
  platform::IMessageEvents* messageEvents = nullptr;

 private:
  void ApplyShowCommand(int command);
  // Records a call in `calls` and, as "<handle> <call>", in the system's timeline.
  void Record(const std::string& call);

  FakeWindowSystem* system_;
};

// A native widget that keeps what it shows and lets a test act as the user (Click, Step, Choose).
class FakeWidget : public platform::IWidgetPeer {
 public:
  FakeWidget(const platform::WidgetParams& params, platform::IWidgetEvents* events,
             std::uintptr_t handle, FakeWindowSystem* system);
  ~FakeWidget() override;

  platform::WindowHandle Handle() const override { return {handle}; }
  void SetBounds(int l, int t, int w, int h) override {
    params.left = l;
    params.top = t;
    params.width = w;
    params.height = h;
  }
  void SetText(const std::string& text) override { params.text = text; }
  void SetVisible(bool visible) override { params.visible = visible; }
  void SetValue(int value) override { params.value = value; }
  void SetFont(const platform::WidgetFont& font) override { params.font = font; }
  void SetItems(const std::vector<std::string>& items) override {
    params.items = items;
    params.value = -1;
  }
  void Repaint() override { ++repaints; }
  void InvalidateArea(int, int, int, int) override { ++invalidations; }
  // Keeps the pixels copied onto a page, params.width x params.height (0x00RRGGBB).
  void CopyPixels(int left, int top, int width, int height, const std::uint32_t* pixels,
                  int stride) override;

  // The user's actions, and the system asking a page to paint.
  void Paint() { events->NativePaint(); }
  void Click() { events->NativeClick(); }
  void Step(int direction) { events->NativeStep(direction); }
  void Choose(int position) { events->NativePosition(position); }
  // A list asks for one item's picture, params.width x params.itemHeight (0x00RRGGBB).
  std::vector<std::uint32_t> DrawItem(int index, bool selected) {
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(params.width) *
                                      static_cast<std::size_t>(params.itemHeight));
    events->NativeDrawItem(index, selected, params.width, params.itemHeight, pixels.data());
    return pixels;
  }

  platform::WidgetParams params;
  platform::IWidgetEvents* events;
  std::uintptr_t handle;
  std::vector<std::uint32_t> surface;
  int copies = 0;
  int invalidations = 0;
  int repaints = 0;

 private:
  FakeWindowSystem* system_;
};

class FakeWindowSystem : public platform::IWindowSystem {
 public:
  FakeWindowSystem();
  ~FakeWindowSystem() override;

  platform::IWindowPeer& ApplicationWindow() override { return *applicationWindow; }
  std::unique_ptr<platform::IWindowPeer> CreateWindowPeer(const platform::WindowParams& params,
                                                          platform::IWindowEvents& events) override;
  bool HasLayeredWindows() const override { return layeredWindows; }
  // A window with a caption has the frame `captionFrame`; any other none.
  platform::WindowFrame FrameOf(std::uint32_t style, std::int32_t) override {
    return (style & platform::kWsCaption) == platform::kWsCaption ? captionFrame
                                                                  : platform::WindowFrame{};
  }
  std::uintptr_t StartTimer(std::uint32_t intervalMs, platform::ITimerEvents& events) override;
  void StopTimer(std::uintptr_t id) override;
  void RunMessageLoop() override;
  void QuitMessageLoop() override { quitRequested = true; }
  int ShowMessageBox(const std::string& text, const std::string& caption,
                     std::uint32_t flags) override;
  std::unique_ptr<platform::IWidgetPeer> CreateWidget(const platform::WidgetParams& params,
                                                      platform::IWidgetEvents& events) override;
  // The first live widget showing `text` (a caption or a number); null when none.
  FakeWidget* WidgetWithText(const std::string& text) const;
  // The live widget behind a control's peer; raises when there is none.
  FakeWidget& WidgetOf(const platform::IWidgetPeer* peer) const;
  std::unique_ptr<platform::IWindowPeer> CreateMessageWindow(
      platform::IMessageEvents& events) override;
  platform::IconHandle LoadIconResource(const std::string& name, int size) override;
  // Records the menu, runs whileMenuOpen, then answers menuChoice (or throws when failMenu).
  int TrackPopupMenu(const std::vector<platform::MenuEntry>& entries, int screenX,
                     int screenY) override;
  void ProcessMessages() override;

  // Delivers a message to a hidden message window; answers whether it was handled.
  bool SendToMessageWindow(std::size_t index, std::uint32_t message, std::uintptr_t wParam,
                           std::intptr_t lParam);
  // The shell's taskbar was re-created: every message window is told.
  void BroadcastTaskbarCreated();

  // Fires every running timer once (in the order they were started).
  void FireTimers();
  // The interval of the only running timer; 0 when none runs.
  std::uint32_t RunningInterval() const;

  struct MessageBoxRecord {
    std::string text;
    std::string caption;
    std::uint32_t flags;
  };

  std::unique_ptr<FakeWindowPeer> applicationWindow;
  // Windows created by CreateWindowPeer, in order (owned by their forms; null once destroyed).
  std::vector<FakeWindowPeer*> windows;
  // Widgets created by CreateWidget, in order (null once destroyed).
  std::vector<FakeWidget*> widgets;
  // Windows created by CreateMessageWindow, in order (null once destroyed).
  std::vector<FakeWindowPeer*> messageWindows;
  // The program's icon resources by name.
  std::map<std::string, std::uintptr_t> iconResources = {{"MAINICON", 0x1C0}};
  struct MenuRecord {
    std::vector<platform::MenuEntry> entries;
    int x;
    int y;
  };
  std::vector<MenuRecord> menus;
  int menuChoice = -1;
  bool failMenu = false;
  std::function<void()> whileMenuOpen;
  int processMessagesCalls = 0;
  // Calls whose order across windows matters: "<handle> SetCapture", "ProcessMessages",
  // "TrackPopupMenu x,y", ...
  std::vector<std::string> timeline;
  bool layeredWindows = true;
  platform::WindowFrame captionFrame{6, 22};
  bool refuseTimers = false;
  struct TimerRecord {
    std::uint32_t interval;
    platform::ITimerEvents* events;
  };
  std::map<std::uintptr_t, TimerRecord> timers;
  std::vector<std::uint32_t> startedIntervals;
  int timerStops = 0;
  std::vector<MessageBoxRecord> messageBoxes;
  // Runs while a message box is open (as ticks do in the box's nested loop).
  std::function<void()> whileMessageBoxOpen;
  // Runs inside RunMessageLoop, standing in for the user's session.
  std::function<void()> duringMessageLoop;
  bool quitRequested = false;

 private:
  friend class FakeWindowPeer;
  friend class FakeWidget;
  void Forget(const FakeWindowPeer* peer);

  std::uintptr_t nextHandle_ = 0x100;
  std::uintptr_t nextTimerId_ = 1;
};
