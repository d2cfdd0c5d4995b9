#pragma once
// Popup menus: TMenuItem (caption, enabled state, default mark, click handler) and TPopupMenu,
// which shows its items as a native menu at a screen position and clicks the one chosen.

#include <string>
#include <vector>

#include "framework/Classes.h"
#include "framework/Controls.h"

class TMenuItem : public TComponent {
 public:
  explicit TMenuItem(TComponent* owner) : TComponent(owner) {}

  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassType() const override { return StaticClassInfo(); }

  // A caption of "-" makes the item a separator.
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption) { caption_ = caption; }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled) { enabled_ = enabled; }
  // The menu's default item is shown in bold; a tray icon's double click chooses it.
  bool Default() const { return default_; }
  void SetDefault(bool value) { default_ = value; }

  // Raises OnClick, only while the item is enabled.
  void Click();

  TNotifyEvent OnClick;

 private:
  std::string caption_;
  bool enabled_ = true;
  bool default_ = false;
};

class TPopupMenu : public TComponent {
 public:
  explicit TPopupMenu(TComponent* owner) : TComponent(owner) {}

  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassType() const override { return StaticClassInfo(); }

  // The top-level items in the order they were added. The menu does not own its items: they
  // belong to the menu's owner, and an item that is destroyed leaves the menu.
  void Add(TMenuItem* item);
  int Count() const { return static_cast<int>(items_.size()); }
  TMenuItem* Items(int index) const { return items_.at(static_cast<std::size_t>(index)); }

  // Whether a right click opens the menu by itself (true by default).
  bool AutoPopup() const { return autoPopup_; }
  void SetAutoPopup(bool value) { autoPopup_ = value; }
  // The component that opened the menu last; null when none or once it is destroyed.
  TComponent* PopupComponent() const { return popupComponent_; }
  void SetPopupComponent(TComponent* component);

  // Shows the menu at a screen position and tracks it until it closes (a nested message loop),
  // then clicks the item chosen, if any. Without a window system nothing is shown.
  void Popup(int screenX, int screenY);

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  std::vector<TMenuItem*> items_;
  bool autoPopup_ = true;
  TComponent* popupComponent_ = nullptr;
};
