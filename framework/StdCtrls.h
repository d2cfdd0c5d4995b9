#pragma once
// Labels and check boxes as models. The main window uses them as setting slots; the options
// dialog shows them.

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

 private:
  std::string caption_;
  std::unique_ptr<TFont> font_;
};

class TCheckBox : public TWinControl {
 public:
  explicit TCheckBox(TComponent* owner);
  ~TCheckBox() override;

  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassType() const override { return StaticClassInfo(); }

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption) { caption_ = caption; }
  // Writing a different tick state stores it and raises OnClick, whether the user or the
  // program changed it; the same state does nothing.
  bool Checked() const { return checked_; }
  void SetChecked(bool checked);

  TNotifyEvent OnClick;

 private:
  std::string caption_;
  bool checked_ = false;
};
