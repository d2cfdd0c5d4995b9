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

TLabel::TLabel(TComponent* owner) : TGraphicControl(owner), font_(std::make_unique<TFont>()) {}

TLabel::~TLabel() = default;

void TLabel::SetCaption(const std::string& caption) {
  if (caption_ == caption) return;
  caption_ = caption;
  Invalidate();
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

TCheckBox::TCheckBox(TComponent* owner) : TWinControl(owner) {}

TCheckBox::~TCheckBox() = default;

void TCheckBox::SetChecked(bool checked) {
  if (checked_ == checked) return;
  checked_ = checked;
  Invalidate();
  if (OnClick) OnClick(this);
}
