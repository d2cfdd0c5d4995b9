#include "framework/Icon.h"

const TClassInfo& TIcon::StaticClassInfo() {
  static const TClassInfo info("TIcon", &TPersistent::StaticClassInfo(), {});
  return info;
}

void TIcon::SetHandle(platform::IconHandle handle) {
  if (handle == handle_) return;
  handle_ = handle;
  if (OnChange) OnChange(this);
}

void TIcon::Assign(const TPersistent& source) {
  if (const auto* icon = dynamic_cast<const TIcon*>(&source)) {
    SetHandle(icon->handle_);
    return;
  }
  TPersistent::Assign(source);
}
