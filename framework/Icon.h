#pragma once
// TIcon: a small picture held as a native icon handle. The handle is shared (loaded from the
// program's resources), so the picture never destroys it; copying an icon copies the handle.

#include "framework/Classes.h"
#include "framework/Controls.h"
#include "platform/Windowing.h"

class TIcon : public TPersistent {
 public:
  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassType() const override { return StaticClassInfo(); }

  bool Empty() const { return handle_.value == 0; }
  platform::IconHandle Handle() const { return handle_; }
  // A different handle changes the picture and raises OnChange.
  void SetHandle(platform::IconHandle handle);

  // Copies another icon's picture; anything else is refused as TPersistent refuses it.
  void Assign(const TPersistent& source) override;

  TNotifyEvent OnChange;

 private:
  platform::IconHandle handle_;
};
