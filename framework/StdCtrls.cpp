#include "framework/StdCtrls.h"

// ---------------------------------------------------------------------------------------------
// TLabel

const TClassInfo& TLabel::StaticClassInfo() {
  static const TClassInfo info(
      "TLabel", &TGraphicControl::StaticClassInfo(),
      {
          StrProperty<&TLabel::Caption, &TLabel::SetCaption>("Caption", kStringType),
          OrdProperty<&TLabel::Color, &TLabel::SetColor>("Color", kColorType),
          ObjProperty<&TLabel::Font, &TLabel::SetFont>("Font", kFontType),
      });
  return info;
}

TLabel::TLabel(TComponent* owner) : TGraphicControl(owner), font_(std::make_unique<TFont>()) {
  font_->OnChange = [this](TObject*) {
    if (Widget() != nullptr) Widget()->SetFont(WidgetFontOf(*font_));
  };
}

TLabel::~TLabel() = default;

void TLabel::SetCaption(const std::string& caption) {
  if (caption_ == caption) return;
  caption_ = caption;
  if (Widget() != nullptr) Widget()->SetText(caption);
  Invalidate();
}

bool TLabel::DescribeWidget(platform::WidgetParams& params) const {
  params.kind = platform::WidgetKind::Label;
  params.text = caption_;
  params.font = WidgetFontOf(*font_);
  params.transparent = true;
  params.background = NativeColorOf(Color());
  return true;
}

// ---------------------------------------------------------------------------------------------
// TCheckBox

const TClassInfo& TCheckBox::StaticClassInfo() {
  static const TClassInfo info(
      "TCheckBox", &TWinControl::StaticClassInfo(),
      {
          StrProperty<&TCheckBox::Caption, &TCheckBox::SetCaption>("Caption", kStringType),
          OrdProperty<&TCheckBox::Checked, &TCheckBox::SetChecked>("Checked", kBooleanType),
          MethodProperty<&TCheckBox::OnClick>("OnClick", kNotifyEventType),
      });
  return info;
}

void TCheckBox::SetChecked(bool checked) {
  if (StoreChecked(checked) && OnClick) OnClick(this);
}

// ---------------------------------------------------------------------------------------------
// TCaptionedControl and TButtonControl

void TCaptionedControl::SetCaption(const std::string& caption) {
  if (caption_ == caption) return;
  caption_ = caption;
  if (Widget() != nullptr) Widget()->SetText(caption);
}

bool TCaptionedControl::DescribeWidget(platform::WidgetParams& params) const {
  params.kind = kind_;
  params.text = caption_;
  params.font = ShownWidgetFont();
  return true;
}

bool TButtonControl::DescribeWidget(platform::WidgetParams& params) const {
  TCaptionedControl::DescribeWidget(params);
  params.value = checked_ ? 1 : 0;
  return true;
}

bool TButtonControl::StoreChecked(bool checked) {
  if (checked_ == checked) return false;
  checked_ = checked;
  if (Widget() != nullptr) Widget()->SetValue(checked ? 1 : 0);
  Invalidate();
  return true;
}

// ---------------------------------------------------------------------------------------------
// TRadioButton

const TClassInfo& TRadioButton::StaticClassInfo() {
  static const TClassInfo info(
      "TRadioButton", &TWinControl::StaticClassInfo(),
      {
          StrProperty<&TRadioButton::Caption, &TRadioButton::SetCaption>("Caption", kStringType),
          OrdProperty<&TRadioButton::Checked, &TRadioButton::SetChecked>("Checked", kBooleanType),
          MethodProperty<&TRadioButton::OnClick>("OnClick", kNotifyEventType),
      });
  return info;
}

void TRadioButton::SetChecked(bool checked) {
  if (!StoreChecked(checked) || !checked) return;
  if (TWinControl* parent = Parent()) {
    for (int i = 0; i < parent->ControlCount(); ++i) {
      auto* other = dynamic_cast<TRadioButton*>(parent->Controls(i));
      if (other != nullptr && other != this) other->SetChecked(false);
    }
  }
  if (OnClick) OnClick(this);
}

// ---------------------------------------------------------------------------------------------
// TSpeedButton

const TClassInfo& TSpeedButton::StaticClassInfo() {
  static const TClassInfo info(
      "TSpeedButton", &TWinControl::StaticClassInfo(),
      {
          StrProperty<&TSpeedButton::Caption, &TSpeedButton::SetCaption>("Caption", kStringType),
          MethodProperty<&TSpeedButton::OnClick>("OnClick", kNotifyEventType),
      });
  return info;
}

// ---------------------------------------------------------------------------------------------
// TGroupBox

const TClassInfo& TGroupBox::StaticClassInfo() {
  static const TClassInfo info(
      "TGroupBox", &TWinControl::StaticClassInfo(),
      {
          StrProperty<&TGroupBox::Caption, &TGroupBox::SetCaption>("Caption", kStringType),
      });
  return info;
}
