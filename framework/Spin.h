#pragma once
// TSpinEdit: a numeric edit with up and down buttons. It holds its value as the displayed text.

#include <string>

#include "framework/Controls.h"

class TSpinEdit : public TWinControl {
 public:
  explicit TSpinEdit(TComponent* owner);

  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassType() const override { return StaticClassInfo(); }

  // Reading parses the text as an integer, the minimum when it is not one. Writing clamps into
  // MinValue..MaxValue (unless they are equal), rounds to an integer (halves to even) and
  // replaces the text; OnChange fires whenever the text actually changes.
  long double Value() const;
  void SetValue(long double value);
  long double MinValue() const { return minValue_; }
  void SetMinValue(long double value) { minValue_ = value; }
  long double MaxValue() const { return maxValue_; }
  void SetMaxValue(long double value) { maxValue_ = value; }
  long double Increment() const { return increment_; }
  void SetIncrement(long double value) { increment_ = value; }

  // The spin buttons and the Up/Down keys: one step, then the same as writing Value.
  void StepUp() { SetValue(Value() + increment_); }
  void StepDown() { SetValue(Value() - increment_); }

  const std::string& Text() const { return text_; }

  TNotifyEvent OnChange;

 protected:
  bool DescribeWidget(platform::WidgetParams& params) const override;
  void WidgetStepped(int direction) override {
    if (direction > 0) {
      StepUp();
    } else {
      StepDown();
    }
  }

 private:
  void SetText(const std::string& text);

  std::string text_ = "0";
  long double minValue_ = 0;
  long double maxValue_ = 0;
  long double increment_ = 1;
};
