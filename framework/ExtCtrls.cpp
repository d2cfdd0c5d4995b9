#include "framework/ExtCtrls.h"

#include "framework/Exception.h"
#include "framework/Forms.h"

const TClassInfo& TTimer::StaticClassInfo() {
  static const TClassInfo info(
      "TTimer", &TComponent::StaticClassInfo(),
      {
          OrdProperty<&TTimer::Enabled, &TTimer::SetEnabled>("Enabled", kBooleanType),
          OrdProperty<&TTimer::Interval, &TTimer::SetInterval>("Interval", kCardinalType),
          MethodProperty<&TTimer::OnTimer>("OnTimer", kNotifyEventType),
      });
  return info;
}

TTimer::TTimer(TComponent* owner) : TComponent(owner) {
  if (TApplication* application = FindApplication(owner)) {
    windows_ = application->WindowSystem();
  }
}

TTimer::~TTimer() {
  if (timerId_ != 0) windows_->StopTimer(timerId_);
}

void TTimer::SetEnabled(bool enabled) {
  if (enabled_ == enabled) return;
  enabled_ = enabled;
  UpdateTimer();
}

void TTimer::SetInterval(std::uint32_t interval) {
  if (interval_ == interval) return;
  interval_ = interval;
  UpdateTimer();
}

void TTimer::SetOnTimer(TNotifyEvent handler) {
  onTimer_ = std::move(handler);
  UpdateTimer();
}

void TTimer::UpdateTimer() {
  if (timerId_ != 0) {
    windows_->StopTimer(timerId_);
    timerId_ = 0;
  }
  if (windows_ == nullptr || interval_ == 0 || !enabled_ || !onTimer_) return;
  timerId_ = windows_->StartTimer(interval_, *this);
  if (timerId_ == 0) throw Exception("Pas assez de timers disponibles");
}

void TTimer::Tick() {
  if (onTimer_) onTimer_(this);
}

void TTimer::TimerFired() {
  if (TApplication* application = FindApplication(this)) {
    application->Guard([this] { Tick(); });
  } else {
    Tick();
  }
}
