#include "framework/ExtCtrls.h"

#include <algorithm>

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

TTimer::TTimer(TComponent* owner) : TComponent(owner), windows_(PortsOf(owner).Windows) {}

TTimer::~TTimer() {
  if (timerId_ != 0) windows_.StopTimer(timerId_);
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
    windows_.StopTimer(timerId_);
    timerId_ = 0;
  }
  if (interval_ == 0 || !enabled_ || !onTimer_) return;
  timerId_ = windows_.StartTimer(interval_, *this);
  if (timerId_ == 0) throw Exception("Pas assez de timers disponibles");
}

void TTimer::Tick() {
  if (onTimer_) onTimer_(this);
}

void TTimer::TimerFired() {
  GuardedCall(this, [this] { Tick(); });
}

// ---------------------------------------------------------------------------------------------
// TImage

const TClassInfo& TImage::StaticClassInfo() {
  static const TClassInfo info("TImage", &TGraphicControl::StaticClassInfo(), {});
  return info;
}

void TImage::SetPicture(const TBitmap& pixels, std::vector<std::uint8_t> mask) {
  picture_ = pixels;
  const auto count =
      static_cast<std::size_t>(pixels.Width()) * static_cast<std::size_t>(pixels.Height());
  mask_ = mask.size() == count ? std::move(mask) : std::vector<std::uint8_t>{};
  Invalidate();
}

void TImage::SetTransparent(bool transparent) {
  if (transparent_ == transparent) return;
  transparent_ = transparent;
  Invalidate();
}

void TImage::Paint() {
  TWinControl* parent = Parent();
  if (parent == nullptr || Width() <= 0 || Height() <= 0) return;
  image_.SetSize(Width(), Height());
  const std::uint32_t background =
      TBitmap::PixelFromRgb(ColorToRGB(parent->Color(), GraphicsPorts().Screen()));
  const int width = std::min(Width(), picture_.Width());
  const int height = std::min(Height(), picture_.Height());
  for (int y = 0; y < Height(); ++y) {
    std::uint32_t* row = image_.Row(y);
    std::fill(row, row + Width(), background);
    if (y >= height) continue;
    const std::uint32_t* source = picture_.Row(y);
    for (int x = 0; x < width; ++x) {
      const bool opaque =
          !transparent_ || mask_.empty() ||
          mask_[static_cast<std::size_t>(y) * static_cast<std::size_t>(picture_.Width()) +
                static_cast<std::size_t>(x)] != 0;
      if (opaque) row[x] = source[x];
    }
  }
  parent->CopyChildImage(*this, image_, 0, 0);
}
