#include "framework/Spin.h"

#include <cmath>

#include "framework/SysUtils.h"

const TClassInfo& TSpinEdit::StaticClassInfo() {
  static const TClassInfo info(
      "TSpinEdit", &TWinControl::StaticClassInfo(),
      {
          FloatProperty<&TSpinEdit::Increment, &TSpinEdit::SetIncrement>("Increment",
                                                                         kExtendedType),
          FloatProperty<&TSpinEdit::MaxValue, &TSpinEdit::SetMaxValue>("MaxValue", kExtendedType),
          FloatProperty<&TSpinEdit::MinValue, &TSpinEdit::SetMinValue>("MinValue", kExtendedType),
          FloatProperty<&TSpinEdit::Value, &TSpinEdit::SetValue>("Value", kExtendedType),
          MethodProperty<&TSpinEdit::OnChange>("OnChange", kNotifyEventType),
      });
  return info;
}

TSpinEdit::TSpinEdit(TComponent* owner) : TWinControl(owner) {}

long double TSpinEdit::Value() const {
  if (const auto value = TryStrToInt64(text_)) return static_cast<long double>(*value);
  return minValue_;
}

void TSpinEdit::SetValue(long double value) {
  if (std::isnan(value)) value = minValue_;
  if (minValue_ != maxValue_) {
    if (value < minValue_) value = minValue_;
    if (value > maxValue_) value = maxValue_;
  }
  // Round to even, as the framework rounds; the text holds a 64-bit integer.
  long double rounded = std::nearbyint(value);
  constexpr long double kLimit = 9.2e18L;
  if (rounded > kLimit) rounded = kLimit;
  if (rounded < -kLimit) rounded = -kLimit;
  SetText(IntToStr(static_cast<std::int64_t>(rounded)));
}

bool TSpinEdit::DescribeWidget(platform::WidgetParams& params) const {
  params.kind = platform::WidgetKind::SpinEdit;
  params.text = text_;
  params.font = ShownWidgetFont();
  return true;
}

void TSpinEdit::SetText(const std::string& text) {
  if (text_ == text) return;
  text_ = text;
  if (Widget() != nullptr) Widget()->SetText(text);
  Invalidate();
  if (OnChange) OnChange(this);
}
