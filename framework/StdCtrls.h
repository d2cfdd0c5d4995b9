#pragma once
// Labels, check boxes, radio buttons and group frames as models. The main window uses labels and
// check boxes as setting slots; the options dialog shows them all through native widgets.

#include <memory>
#include <string>

#include "framework/Controls.h"
#include "framework/Graphics.h"

class TLabel : public TGraphicControl {
 public:
  explicit TLabel(TComponent* owner);
  ~TLabel() override;

  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassType() const override { return StaticClassInfo(); }

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);
  TFont* Font() const { return font_.get(); }
  void SetFont(const TFont& font) { font_->Assign(font); }
  const TFont* ShownFont() const override { return font_.get(); }

  // A click on the label (link labels open their address).
  TNotifyEvent OnClick;

 protected:
  bool DescribeWidget(platform::WidgetParams& params) const override;
  void WidgetClicked() override {
    if (OnClick) OnClick(this);
  }

 private:
  std::string caption_;
  std::unique_ptr<TFont> font_;
};

// A windowed control with a caption shown by a widget of one kind (check box, radio button,
// group frame), in its form's font.
class TCaptionedControl : public TWinControl {
 public:
  TCaptionedControl(TComponent* owner, platform::WidgetKind kind)
      : TWinControl(owner), kind_(kind) {}

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);

 protected:
  bool DescribeWidget(platform::WidgetParams& params) const override;

 private:
  platform::WidgetKind kind_;
  std::string caption_;
};

// A captioned control with a check state that raises OnClick.
class TButtonControl : public TCaptionedControl {
 public:
  using TCaptionedControl::TCaptionedControl;

  bool Checked() const { return checked_; }
  TNotifyEvent OnClick;

 protected:
  bool DescribeWidget(platform::WidgetParams& params) const override;
  // Stores a state that differs from the current one and shows it; answers whether it differed.
  bool StoreChecked(bool checked);

 private:
  bool checked_ = false;
};

class TCheckBox : public TButtonControl {
 public:
  explicit TCheckBox(TComponent* owner) : TButtonControl(owner, platform::WidgetKind::CheckBox) {}

  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassType() const override { return StaticClassInfo(); }

  // Writing a different tick state stores it and raises OnClick, whether the user or the
  // program changed it; the same state does nothing. A click on the widget flips it.
  void SetChecked(bool checked);

 protected:
  void WidgetClicked() override { SetChecked(!Checked()); }
};

// One choice of a group: the radio buttons with the same parent. Checking one unchecks the
// others; a click on the widget checks it.
class TRadioButton : public TButtonControl {
 public:
  explicit TRadioButton(TComponent* owner)
      : TButtonControl(owner, platform::WidgetKind::RadioButton) {}

  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassType() const override { return StaticClassInfo(); }

  // Writing a different state stores it; checking raises OnClick and unchecks the others.
  void SetChecked(bool checked);

 protected:
  void WidgetClicked() override { SetChecked(true); }
};

// A flat push button; a click raises OnClick.
class TSpeedButton : public TCaptionedControl {
 public:
  explicit TSpeedButton(TComponent* owner)
      : TCaptionedControl(owner, platform::WidgetKind::Button) {}

  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassType() const override { return StaticClassInfo(); }

  // Raises OnClick, as a click of the user does.
  void Click() {
    if (OnClick) OnClick(this);
  }
  TNotifyEvent OnClick;

 protected:
  void WidgetClicked() override { Click(); }
};

// A frame around a group of controls, with an optional caption.
class TGroupBox : public TCaptionedControl {
 public:
  explicit TGroupBox(TComponent* owner)
      : TCaptionedControl(owner, platform::WidgetKind::GroupBox) {}

  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassType() const override { return StaticClassInfo(); }
};
