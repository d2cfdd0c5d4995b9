#include "tray/TrayIcon.h"

#include <algorithm>
#include <cstring>

#include "framework/Forms.h"
#include "framework/Menus.h"
#include "platform/Screen.h"

namespace {

constexpr std::size_t kMaxTipLength = 63;

}  // namespace

const TClassInfo& TTrayIcon::StaticClassInfo() {
  static const TClassInfo info("TTrayIcon", &TComponent::StaticClassInfo(), {});
  return info;
}

TTrayIcon::TTrayIcon(TComponent* owner)
    : TComponent(owner), application_(FindApplication(owner)), shell_(PortsOf(owner).Shell) {
  // No window system, no message window: the icon then never hears from the shell.
  window_ = PortsOf(owner).Windows.CreateMessageWindow(*this);
  icon_.OnChange = [this](TObject*) {
    if (loaded_) UpdateIcon();
  };
}

TTrayIcon::~TTrayIcon() {
  // The shell is told even when the icon was never added: a delete of a missing icon is harmless.
  if (loaded_) RemoveIcon();
  window_.reset();
}

void TTrayIcon::Loaded() {
  TComponent::Loaded();
  loaded_ = true;
  if (active_) AddIcon();
}

platform::WindowHandle TTrayIcon::WindowHandle() const {
  return window_ ? window_->Handle() : platform::WindowHandle{};
}

void TTrayIcon::SetActive(bool active) {
  if (active == active_) return;
  active_ = active;
  if (!loaded_) return;
  if (active) {
    AddIcon();
  } else {
    RemoveIcon();
  }
}

void TTrayIcon::SetHint(const std::string& hint) {
  if (hint == hint_) return;
  hint_ = hint;
  if (loaded_) UpdateIcon();
}

void TTrayIcon::SetPopupMenu(TPopupMenu* menu) {
  if (popupMenu_ != nullptr) RemoveFreeNotification(popupMenu_);
  popupMenu_ = menu;
  FreeNotification(menu);
}

void TTrayIcon::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == opRemove && component == popupMenu_) popupMenu_ = nullptr;
}

std::string_view TTrayIcon::ShortHint() const {
  const std::string_view hint = hint_;
  return hint.substr(0, hint.find('|'));
}

platform::NotifyIconData TTrayIcon::Record() const {
  platform::NotifyIconData data;
  data.cbSize = platform::kNotifyIconDataV1Size;
  data.hWnd = WindowHandle();
  data.uID = 0;
  data.uFlags = platform::kNifMessage | platform::kNifIcon | platform::kNifTip;
  data.uCallbackMessage = kCallbackMessage;
  data.hIcon = icon_.Handle();
  const std::string_view tip = ShortHint();
  const std::size_t length = std::min(tip.size(), kMaxTipLength);
  std::memcpy(data.szTip, tip.data(), length);
  data.szTip[length] = '\0';
  return data;
}

void TTrayIcon::AddIcon() {
  RemoveIcon();
  if (icon_.Empty()) return;
  leftPressed_ = false;
  rightPressed_ = false;
  const platform::NotifyIconData data = Record();
  added_ = shell_.NotifyIcon(platform::kNimAdd, data);
  // Some shells show no tooltip area for an icon added with an empty tip until it is modified.
  if (ShortHint().empty() && added_) shell_.NotifyIcon(platform::kNimModify, data);
}

void TTrayIcon::RemoveIcon() {
  shell_.NotifyIcon(platform::kNimDelete, Record());
  added_ = false;
  leftPressed_ = false;
  rightPressed_ = false;
}

void TTrayIcon::UpdateIcon() {
  if (added_) {
    if (icon_.Empty()) {
      RemoveIcon();
    } else {
      shell_.NotifyIcon(platform::kNimModify, Record());
    }
  } else if (active_) {
    // Also the retry of an add the shell refused.
    AddIcon();
  }
}

bool TTrayIcon::NativeMessage(std::uint32_t message, std::uintptr_t, std::intptr_t lParam) {
  if (message != kCallbackMessage || !enabled_) return false;
  GuardedCall(this, [this, lParam] { HandleMouse(static_cast<std::uint32_t>(lParam)); });
  return true;
}

void TTrayIcon::NativeTaskbarCreated() {
  // A new taskbar starts with an empty notification area: an icon that should be there goes back.
  if (!loaded_ || !active_) return;
  GuardedCall(this, [this] { AddIcon(); });
}

void TTrayIcon::HandleMouse(std::uint32_t mouseMessage) {
  if (mouseMessage < platform::kWmMouseMove || mouseMessage > platform::kWmMButtonDblClk) return;
  platform::IScreen& screen = PortsOf(this).Graphics.Screen();
  const platform::ScreenPoint point = screen.CursorPos();
  TShiftState shift;
  if (screen.KeyHeld(platform::kVkShift)) shift.Include(ssShift);
  if (screen.KeyHeld(platform::kVkControl)) shift.Include(ssCtrl);
  if (screen.KeyHeld(platform::kVkMenu)) shift.Include(ssAlt);
  TShiftState doubleShift = shift;
  doubleShift.Include(ssDouble);
  const auto down = [&](TMouseButton button, TShiftState state) {
    if (OnMouseDown) OnMouseDown(this, button, state, point.x, point.y);
  };
  const auto up = [&](TMouseButton button) {
    if (OnMouseUp) OnMouseUp(this, button, shift, point.x, point.y);
  };
  switch (mouseMessage) {
    case platform::kWmMouseMove:
      if (OnMouseMove) OnMouseMove(this, shift, point.x, point.y);
      break;
    case platform::kWmLButtonDown:
      down(mbLeft, shift);
      leftPressed_ = true;
      break;
    case platform::kWmLButtonUp:
      if (leftPressed_) {
        leftPressed_ = false;
        if (OnClick) OnClick(this);
      }
      up(mbLeft);
      break;
    case platform::kWmLButtonDblClk:
      DoubleClick();
      down(mbLeft, doubleShift);
      break;
    case platform::kWmRButtonDown:
      down(mbRight, shift);
      rightPressed_ = true;
      break;
    case platform::kWmRButtonUp:
      if (rightPressed_) {
        rightPressed_ = false;
        RightClick(point.x, point.y);
      }
      up(mbRight);
      break;
    case platform::kWmRButtonDblClk:
      down(mbRight, doubleShift);
      break;
    case platform::kWmMButtonDown:
      down(mbMiddle, shift);
      break;
    case platform::kWmMButtonUp:
      up(mbMiddle);
      break;
    case platform::kWmMButtonDblClk:
      down(mbMiddle, doubleShift);
      break;
    default:
      break;
  }
}

void TTrayIcon::DoubleClick() {
  if (active_ && popupMenu_ != nullptr) {
    for (int i = 0; i < popupMenu_->Count(); ++i) {
      TMenuItem* item = popupMenu_->Items(i);
      if (item->Default() && item->Enabled()) {
        item->Click();
        return;
      }
    }
  }
  if (OnDblClick) OnDblClick(this);
}

void TTrayIcon::RightClick(int screenX, int screenY) {
  if (!active_ || popupMenu_ == nullptr || !popupMenu_->AutoPopup()) {
    if (OnClick) OnClick(this);
    return;
  }
  popupMenu_->SetPopupComponent(this);
  if (TForm* form = application_->MainForm()) form->CancelMode();
  // A menu opened for a window that is not in the foreground does not close when the user
  // clicks elsewhere; the hidden window takes the foreground for it.
  if (window_ && window_->IsEnabled()) window_->SetForeground();
  application_->ProcessMessages();
  try {
    popupMenu_->Popup(screenX, screenY);
  } catch (...) {
    if (window_) window_->SetForeground();
    throw;
  }
  if (window_) window_->SetForeground();
}
