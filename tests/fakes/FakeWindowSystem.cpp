#include "fakes/FakeWindowSystem.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>

namespace {

std::string Hex(std::uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%X", static_cast<unsigned>(value));
  return text;
}

// Copies pixels onto a surface of width x height, clipped to it as the screen clips a window.
void CopyClipped(std::vector<std::uint32_t>& surface, int width, int height, int left, int top,
                 int w, int h, const std::uint32_t* pixels, int stride) {
  for (int y = 0; y < h; ++y) {
    const int sy = top + y;
    if (sy < 0 || sy >= height) continue;
    for (int x = 0; x < w; ++x) {
      const int sx = left + x;
      if (sx < 0 || sx >= width) continue;
      surface[static_cast<std::size_t>(sy * width + sx)] =
          pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(stride) +
                 static_cast<std::size_t>(x)];
    }
  }
}

}  // namespace

FakeWindowPeer::FakeWindowPeer(const platform::WindowParams& params,
                               platform::IWindowEvents* events, std::uintptr_t handle,
                               FakeWindowSystem* system)
    : params(params),
      events(events),
      handle(handle),
      visible((params.style & platform::kWsVisible) != 0),
      exStyle(params.exStyle),
      left(params.left),
      top(params.top),
      width(params.width),
      height(params.height),
      system_(system) {
  surface.assign(static_cast<std::size_t>(std::max(0, width) * std::max(0, height)), 0);
}

FakeWindowPeer::~FakeWindowPeer() {
  if (destroyedFlag != nullptr) *destroyedFlag = true;
  if (system_ != nullptr) system_->Forget(this);
}

void FakeWindowPeer::Record(const std::string& call) {
  calls.push_back(call);
  if (system_ != nullptr) system_->timeline.push_back(Hex(handle) + " " + call);
}

void FakeWindowPeer::SetCapture() {
  Record("SetCapture");
  captured = true;
}

void FakeWindowPeer::ReleaseCapture() {
  Record("ReleaseCapture");
  captured = false;
}

void FakeWindowPeer::CancelMode() {
  Record("CancelMode");
  captured = false;
}

bool FakeWindowPeer::SetForeground() {
  Record("SetForeground");
  return true;
}

void FakeWindowPeer::SetBounds(int l, int t, int w, int h) {
  calls.push_back("SetBounds " + std::to_string(l) + "," + std::to_string(t) + "," +
                  std::to_string(w) + "," + std::to_string(h));
  left = l;
  top = t;
  if (w != width || h != height) {
    width = w;
    height = h;
    surface.assign(static_cast<std::size_t>(std::max(0, w) * std::max(0, h)), 0);
  }
}

void FakeWindowPeer::SetText(const std::string& text) {
  calls.push_back("SetText " + text);
  params.text = text;
}

void FakeWindowPeer::SetBackgroundColor(std::uint32_t rgb) {
  calls.push_back("SetBackgroundColor " + Hex(rgb));
  background = rgb;
}

bool FakeWindowPeer::Show(int command) {
  calls.push_back("Show " + std::to_string(command));
  const bool wasVisible = visible;
  visible = command != platform::kSwHide;
  ApplyShowCommand(command);
  return wasVisible;
}

void FakeWindowPeer::ApplyShowCommand(int command) {
  switch (command) {
    case platform::kSwShowMinimized:
    case platform::kSwMinimize:
    case platform::kSwShowMinNoActive:
      minimized = true;
      break;
    case platform::kSwShowMaximized:
      minimized = false;
      maximized = true;
      break;
    case platform::kSwShowNormal:
    case platform::kSwRestore:
      minimized = false;
      maximized = false;
      break;
    default:
      break;
  }
}

bool FakeWindowPeer::GetPlacement(platform::WindowPlacement& placement) const {
  if (refusePlacement) return false;
  placement.flags = placementFlags;
  placement.showCmd = minimized   ? platform::kSwShowMinimized
                      : maximized ? platform::kSwShowMaximized
                                  : platform::kSwShowNormal;
  placement.minX = minX;
  placement.minY = minY;
  placement.maxX = maxX;
  placement.maxY = maxY;
  placement.normalLeft = left;
  placement.normalTop = top;
  placement.normalRight = left + width;
  placement.normalBottom = top + height;
  return true;
}

bool FakeWindowPeer::SetPlacement(const platform::WindowPlacement& p) {
  calls.push_back("SetPlacement " + std::to_string(p.flags) + "," + std::to_string(p.showCmd) +
                  "," + std::to_string(p.minX) + "," + std::to_string(p.minY) + "," +
                  std::to_string(p.maxX) + "," + std::to_string(p.maxY) + "," +
                  std::to_string(p.normalLeft) + "," + std::to_string(p.normalTop) + "," +
                  std::to_string(p.normalRight) + "," + std::to_string(p.normalBottom));
  placementFlags = p.flags;
  minX = p.minX;
  minY = p.minY;
  maxX = p.maxX;
  maxY = p.maxY;
  left = p.normalLeft;
  top = p.normalTop;
  const int w = p.normalRight - p.normalLeft;
  const int h = p.normalBottom - p.normalTop;
  if (w != width || h != height) {
    width = w;
    height = h;
    surface.assign(static_cast<std::size_t>(std::max(0, w) * std::max(0, h)), 0);
  }
  visible = p.showCmd != static_cast<std::uint32_t>(platform::kSwHide);
  ApplyShowCommand(static_cast<int>(p.showCmd));
  return true;
}

bool FakeWindowPeer::PostSysCommand(std::uint32_t command) {
  calls.push_back("PostSysCommand " + Hex(command));
  postedSysCommands.push_back(command);
  if (command == platform::kScMinimize) minimized = true;
  if (command == platform::kScRestore) minimized = false;
  return true;
}

void FakeWindowPeer::SetExStyle(std::int32_t value) {
  calls.push_back("SetExStyle " + Hex(static_cast<std::uint32_t>(value)));
  exStyle = value;
}

bool FakeWindowPeer::SetLayeredAttributes(std::uint32_t key, std::uint8_t a, std::uint32_t flags) {
  calls.push_back("SetLayeredAttributes " + Hex(key) + "," + std::to_string(a) + "," +
                  std::to_string(flags));
  colorKey = key;
  alpha = a;
  layeredFlags = flags;
  ++layeredCalls;
  return true;
}

bool FakeWindowPeer::SetPosition(platform::WindowHandle insertAfter, int l, int t, int w, int h,
                                 std::uint32_t flags) {
  calls.push_back("SetPosition " + std::to_string(static_cast<std::intptr_t>(insertAfter.value)) +
                  "," + std::to_string(l) + "," + std::to_string(t) + "," + std::to_string(w) +
                  "," + std::to_string(h) + "," + std::to_string(flags));
  if (insertAfter == platform::kHwndTopmost) topmost = true;
  if (insertAfter == platform::kHwndNoTopmost) topmost = false;
  return true;
}

bool FakeWindowPeer::Redraw(std::uint32_t flags) {
  calls.push_back("Redraw " + std::to_string(flags));
  return true;
}

void FakeWindowPeer::InvalidateArea(int, int, int, int) {}

void FakeWindowPeer::CopyPixels(int l, int t, int w, int h, const std::uint32_t* pixels,
                                int stride) {
  ++copies;
  CopyClipped(surface, width, height, l, t, w, h, pixels, stride);
}

FakeWindowSystem::FakeWindowSystem() {
  platform::WindowParams params;
  params.text = "Tamik";
  params.style = platform::kWsPopup | platform::kWsCaption;
  applicationWindow = std::make_unique<FakeWindowPeer>(params, nullptr, nextHandle_++);
  applicationWindow->visible = true;
}

FakeWindowSystem::~FakeWindowSystem() = default;

std::unique_ptr<platform::IWindowPeer> FakeWindowSystem::CreateWindowPeer(
    const platform::WindowParams& params, platform::IWindowEvents& events) {
  auto peer = std::make_unique<FakeWindowPeer>(params, &events, nextHandle_++, this);
  windows.push_back(peer.get());
  return peer;
}

FakeWidget::FakeWidget(const platform::WidgetParams& p, platform::IWidgetEvents* e,
                       std::uintptr_t h, FakeWindowSystem* system)
    : params(p), events(e), handle(h), system_(system) {}

FakeWidget::~FakeWidget() {
  if (system_ != nullptr) {
    std::replace(system_->widgets.begin(), system_->widgets.end(), this,
                 static_cast<FakeWidget*>(nullptr));
  }
}

void FakeWidget::CopyPixels(int l, int t, int w, int h, const std::uint32_t* pixels, int stride) {
  ++copies;
  const int width = std::max(0, params.width);
  const int height = std::max(0, params.height);
  surface.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
  CopyClipped(surface, width, height, l, t, w, h, pixels, stride);
}

std::unique_ptr<platform::IWidgetPeer> FakeWindowSystem::CreateWidget(
    const platform::WidgetParams& params, platform::IWidgetEvents& events) {
  auto widget = std::make_unique<FakeWidget>(params, &events, nextHandle_++, this);
  widgets.push_back(widget.get());
  return widget;
}

FakeWidget* FakeWindowSystem::WidgetWithText(const std::string& text) const {
  for (FakeWidget* widget : widgets) {
    if (widget != nullptr && widget->params.text == text) return widget;
  }
  return nullptr;
}

FakeWidget& FakeWindowSystem::WidgetOf(const platform::IWidgetPeer* peer) const {
  for (FakeWidget* widget : widgets) {
    if (widget != nullptr && widget == peer) return *widget;
  }
  throw std::logic_error("no such live widget");
}

std::unique_ptr<platform::IWindowPeer> FakeWindowSystem::CreateMessageWindow(
    platform::IMessageEvents& events) {
  platform::WindowParams params;
  params.style = platform::kWsPopup;
  auto peer = std::make_unique<FakeWindowPeer>(params, nullptr, nextHandle_++, this);
  peer->messageEvents = &events;
  messageWindows.push_back(peer.get());
  return peer;
}

void FakeWindowSystem::Forget(const FakeWindowPeer* peer) {
  std::replace(windows.begin(), windows.end(), const_cast<FakeWindowPeer*>(peer),
               static_cast<FakeWindowPeer*>(nullptr));
  std::replace(messageWindows.begin(), messageWindows.end(), const_cast<FakeWindowPeer*>(peer),
               static_cast<FakeWindowPeer*>(nullptr));
}

platform::IconHandle FakeWindowSystem::LoadIconResource(const std::string& name, int) {
  const auto it = iconResources.find(name);
  return {it == iconResources.end() ? 0 : it->second};
}

int FakeWindowSystem::TrackPopupMenu(const std::vector<platform::MenuEntry>& entries, int screenX,
                                     int screenY) {
  menus.push_back({entries, screenX, screenY});
  timeline.push_back("TrackPopupMenu " + std::to_string(screenX) + "," + std::to_string(screenY));
  if (whileMenuOpen) {
    auto hook = whileMenuOpen;
    hook();
  }
  if (failMenu) throw std::runtime_error("the menu could not be shown");
  return menuChoice;
}

void FakeWindowSystem::ProcessMessages() {
  ++processMessagesCalls;
  timeline.push_back("ProcessMessages");
}

bool FakeWindowSystem::SendToMessageWindow(std::size_t index, std::uint32_t message,
                                           std::uintptr_t wParam, std::intptr_t lParam) {
  FakeWindowPeer* window = messageWindows.at(index);
  if (window == nullptr) throw std::logic_error("the message window is destroyed");
  return window->messageEvents->NativeMessage(message, wParam, lParam);
}

void FakeWindowSystem::BroadcastTaskbarCreated() {
  const std::vector<FakeWindowPeer*> targets = messageWindows;
  for (FakeWindowPeer* window : targets) {
    if (window != nullptr) window->messageEvents->NativeTaskbarCreated();
  }
}

std::uintptr_t FakeWindowSystem::StartTimer(std::uint32_t intervalMs,
                                            platform::ITimerEvents& events) {
  if (refuseTimers) return 0;
  const std::uintptr_t id = nextTimerId_++;
  timers[id] = {intervalMs, &events};
  startedIntervals.push_back(intervalMs);
  return id;
}

void FakeWindowSystem::StopTimer(std::uintptr_t id) {
  if (timers.erase(id) != 0) ++timerStops;
}

void FakeWindowSystem::FireTimers() {
  // Copy first: a tick may restart its timer.
  std::vector<platform::ITimerEvents*> due;
  for (const auto& [id, timer] : timers) due.push_back(timer.events);
  for (platform::ITimerEvents* events : due) events->TimerFired();
}

std::uint32_t FakeWindowSystem::RunningInterval() const {
  return timers.size() == 1 ? timers.begin()->second.interval : 0;
}

void FakeWindowSystem::RunMessageLoop() {
  quitRequested = false;
  if (duringMessageLoop) duringMessageLoop();
}

int FakeWindowSystem::ShowMessageBox(const std::string& text, const std::string& caption,
                                     std::uint32_t flags) {
  messageBoxes.push_back({text, caption, flags});
  if (whileMessageBoxOpen) {
    auto hook = whileMessageBoxOpen;
    hook();
  }
  return platform::kIdOk;
}
