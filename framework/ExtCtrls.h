#pragma once
// TTimer: raises OnTimer every Interval milliseconds while enabled, through a platform timer of
// the application's window system.

#include <cstdint>

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

  // Whether a platform timer is running for this component.
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
  platform::IWindowSystem* windows_ = nullptr;
};
