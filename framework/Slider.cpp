#include "framework/Slider.h"

#include <algorithm>

const TClassInfo& TSlider::StaticClassInfo() {
  static const TClassInfo info(
      "TSlider", &TWinControl::StaticClassInfo(),
      {
          OrdProperty<&TSlider::MaxValue, &TSlider::SetMaxValue>("MaxValue", kIntegerType),
          OrdProperty<&TSlider::MinValue, &TSlider::SetMinValue>("MinValue", kIntegerType),
          OrdProperty<&TSlider::Value, &TSlider::SetValue>("Value", kIntegerType),
          MethodProperty<&TSlider::OnChange>("OnChange", kNotifyEventType),
      });
  return info;
}

void TSlider::SetValue(int value) {
  value = std::clamp(value, minValue_, std::max(minValue_, maxValue_));
  if (value == value_) {
    // The widget may have moved on its own (a drag past an end): it shows the value again.
    if (Widget() != nullptr) Widget()->SetValue(value_);
    return;
  }
  value_ = value;
  if (Widget() != nullptr) Widget()->SetValue(value_);
  if (OnChange) OnChange(this);
}

void TSlider::SetMinValue(int value) {
  minValue_ = value;
  if (value_ < minValue_) SetValue(minValue_);
}

void TSlider::SetMaxValue(int value) {
  maxValue_ = value;
  if (value_ > maxValue_) SetValue(maxValue_);
}

bool TSlider::DescribeWidget(platform::WidgetParams& params) const {
  params.kind = platform::WidgetKind::Slider;
  params.value = value_;
  params.minValue = minValue_;
  params.maxValue = maxValue_;
  return true;
}

void TSlider::WidgetPositioned(int position) {
  // A drag that jumps several positions at once still reports each position crossed.
  const int step = position > value_ ? 1 : -1;
  while (value_ != position) {
    const int before = value_;
    SetValue(value_ + step);
    if (value_ == before) break;  // at an end
  }
}
