#include "framework/Menus.h"

#include <algorithm>

#include "framework/Forms.h"

const TClassInfo& TMenuItem::StaticClassInfo() {
  static const TClassInfo info("TMenuItem", &TComponent::StaticClassInfo(), {});
  return info;
}

void TMenuItem::Click() {
  if (enabled_ && OnClick) OnClick(this);
}

const TClassInfo& TPopupMenu::StaticClassInfo() {
  static const TClassInfo info("TPopupMenu", &TComponent::StaticClassInfo(), {});
  return info;
}

void TPopupMenu::Add(TMenuItem* item) {
  if (item == nullptr) return;
  items_.push_back(item);
  FreeNotification(item);
}

void TPopupMenu::SetPopupComponent(TComponent* component) {
  if (popupComponent_ != nullptr && popupComponent_ != component &&
      std::find(items_.begin(), items_.end(), popupComponent_) == items_.end()) {
    RemoveFreeNotification(popupComponent_);
  }
  popupComponent_ = component;
  FreeNotification(component);
}

void TPopupMenu::Notification(TComponent* component, TOperation operation) {
  if (operation != opRemove) return;
  std::erase(items_, component);
  if (component == popupComponent_) popupComponent_ = nullptr;
}

void TPopupMenu::Popup(int screenX, int screenY) {
  platform::IWindowSystem& windows = PortsOf(this).Windows;
  std::vector<platform::MenuEntry> entries;
  entries.reserve(items_.size());
  for (const TMenuItem* item : items_) {
    entries.push_back({item->Caption(), item->Enabled(), item->Default()});
  }
  // The items are remembered as they were shown: a handler run during the nested loop may change
  // the menu, and the index chosen refers to what the user saw.
  const std::vector<TMenuItem*> shown = items_;
  const int chosen = windows.TrackPopupMenu(entries, screenX, screenY);
  if (chosen < 0 || chosen >= static_cast<int>(shown.size())) return;
  TMenuItem* item = shown[static_cast<std::size_t>(chosen)];
  // The item may have been destroyed while the menu was open.
  if (std::find(items_.begin(), items_.end(), item) != items_.end()) item->Click();
}
