#pragma once
// TTrayIcon: one icon in the notification area of the taskbar. It keeps the icon's tooltip up to
// date, turns mouse actions on the icon into a popup menu and a double-click event, and talks to
// the shell through Shell_NotifyIconA only. A hidden window of its own receives the shell's
// callback message.
//
// The icon acts once its owner's layout is complete (Loaded): before that, writing Active, Hint
// or Icon only stores the value.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "framework/Classes.h"
#include "framework/Controls.h"
#include "framework/Icon.h"
#include "platform/Shell.h"
#include "platform/Windowing.h"

class TApplication;
class TPopupMenu;

class TTrayIcon : public TComponent, private platform::IMessageEvents {
 public:
  // The private message the shell sends to the hidden window for mouse actions on the icon.
  static constexpr std::uint32_t kCallbackMessage = 45140;

  explicit TTrayIcon(TComponent* owner);
  // Removes the icon, then destroys the hidden window.
  ~TTrayIcon() override;

  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassType() const override { return StaticClassInfo(); }

  // Whether the icon should be in the notification area. A changed value adds (true) or removes
  // (false) the icon; the same value does nothing.
  bool Active() const { return active_; }
  void SetActive(bool active);

  // The picture; any change of it updates the icon. An empty picture keeps the icon out.
  TIcon* Icon() { return &icon_; }
  void SetIcon(const TIcon& icon) { icon_.Assign(icon); }

  // The tooltip. Only the text before the first "|" is shown, cut to 63 characters. A different
  // text (compared exactly) updates the icon; the same text does nothing.
  const std::string& Hint() const { return hint_; }
  void SetHint(const std::string& hint);

  // The menu a right click opens. Becomes null when the menu is destroyed.
  TPopupMenu* PopupMenu() const { return popupMenu_; }
  void SetPopupMenu(TPopupMenu* menu);

  // Mouse messages are handled only while true.
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled) { enabled_ = enabled; }

  void Loaded() override;

  // The shell accepted the icon and has not been told to remove it.
  bool Added() const { return added_; }
  // The hidden window that receives the callback message; 0 without a window system.
  platform::WindowHandle WindowHandle() const;
  // The text sent to the shell as the tooltip: a view into the hint, valid until it changes.
  std::string_view ShortHint() const;

  // A left double click when the menu has no enabled default item.
  TNotifyEvent OnDblClick;
  // A left click, or a right click that opens no menu.
  TNotifyEvent OnClick;
  // Mouse actions on the icon, with the cursor's screen position.
  TMouseEvent OnMouseDown;
  TMouseMoveEvent OnMouseMove;
  TMouseEvent OnMouseUp;

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  void AddIcon();
  void RemoveIcon();
  void UpdateIcon();
  platform::NotifyIconData Record() const;
  void HandleMouse(std::uint32_t mouseMessage);
  void DoubleClick();
  void RightClick(int screenX, int screenY);

  // platform::IMessageEvents
  bool NativeMessage(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override;
  void NativeTaskbarCreated() override;

  TApplication* application_ = nullptr;
  platform::IShell& shell_;
  std::unique_ptr<platform::IWindowPeer> window_;
  bool loaded_ = false;
  bool active_ = true;
  TIcon icon_;
  std::string hint_;
  TPopupMenu* popupMenu_ = nullptr;
  bool enabled_ = true;
  bool added_ = false;
  bool leftPressed_ = false;
  bool rightPressed_ = false;
};
