#pragma once
// TTimer: raises OnTimer every Interval milliseconds while enabled, through a platform timer of
// the application's window system.

#include <cstdint>
#include <vector>

#include "framework/Bitmap.h"
#include "framework/Classes.h"
#include "framework/Controls.h"
#include "platform/Windowing.h"

class TTimer : public TComponent, private platform::ITimerEvents {
 public:
  explicit TTimer(TComponent* owner);
  ~TTimer() override;

  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassType() const override { return StaticClassInfo(); }

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  // Writing the interval the timer already has does nothing. A new interval stops the platform
  // timer and, when it is not 0, the timer is enabled and OnTimer is bound, starts it again, so
  // the next tick comes one full new interval later. A platform that refuses the timer raises
  // "Pas assez de timers disponibles".
  std::uint32_t Interval() const { return interval_; }
  void SetInterval(std::uint32_t interval);

  // Binds the tick handler. The platform timer runs only while a handler is bound.
  void SetOnTimer(TNotifyEvent handler);
  const TNotifyEvent& OnTimer() const { return onTimer_; }

  // Whether a platform timer is running for this component (without a window system, one that
  // never fires: the null window system accepts timers).
  bool Running() const { return timerId_ != 0; }
  // One tick: raises OnTimer (the platform timer calls this; tests may too).
  void Tick();

 private:
  void UpdateTimer();
  void TimerFired() override;

  bool enabled_ = true;
  std::uint32_t interval_ = 1000;
  TNotifyEvent onTimer_;
  std::uintptr_t timerId_ = 0;
  platform::IWindowSystem& windows_;
};

// TImage: a picture shown at the control's top-left corner, cut to the control's size. A
// transparent image lets its parent's colour show where the picture's mask says so (and where
// the picture does not reach).
class TImage : public TGraphicControl {
 public:
  explicit TImage(TComponent* owner) : TGraphicControl(owner) {}

  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassType() const override { return StaticClassInfo(); }

  // The picture's pixels and, optionally, one mask byte per pixel (non-zero: opaque); without a
  // mask every pixel is opaque.
  void SetPicture(const TBitmap& pixels, std::vector<std::uint8_t> mask = {});
  const TBitmap& Picture() const { return picture_; }
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool transparent);

  // Composes the picture over the parent's colour and copies it to the parent in one copy.
  void Paint() override;
  // The last composed picture (what Paint copied).
  const TBitmap& Image() const { return image_; }

 private:
  TBitmap picture_;
  std::vector<std::uint8_t> mask_;
  bool transparent_ = false;
  TBitmap image_;
};
