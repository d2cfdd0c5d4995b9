#pragma once
// TSlider: a horizontal slider holding an integer position between MinValue and MaxValue. On
// screen it is a trackbar with a tick at every position: the thumb can be dragged, the Left and
// Right keys step by one, Home and End go to the ends, and a press on the ruler beside the thumb
// steps toward the press, repeating while the button is held.

#include "framework/Controls.h"

class TSlider : public TWinControl {
 public:
  explicit TSlider(TComponent* owner) : TWinControl(owner) {}

  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassType() const override { return StaticClassInfo(); }

  // Writing clamps into MinValue..MaxValue; OnChange fires only when the stored value changed,
  // whether code, a drag (once per position crossed) or a key changed it.
  int Value() const { return value_; }
  void SetValue(int value);
  int MinValue() const { return minValue_; }
  void SetMinValue(int value);
  int MaxValue() const { return maxValue_; }
  void SetMaxValue(int value);

  TNotifyEvent OnChange;

 protected:
  bool DescribeWidget(platform::WidgetParams& params) const override;
  void WidgetPositioned(int position) override;

 private:
  int value_ = 0;
  int minValue_ = 0;
  int maxValue_ = 10;
};
