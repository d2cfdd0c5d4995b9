#pragma once
// Labels, check boxes, radio buttons and group frames as models. The main window uses labels and
// check boxes as setting slots; the options dialog shows them all through native widgets.

#include <memory>
#include <string>
#include <vector>

#include "framework/Bitmap.h"
#include "framework/Canvas.h"
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

// A flat push button with a caption or a picture; a click raises OnClick.
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

  // The picture shown instead of the caption. Its bottom-left pixel's colour is transparent: the
  // button's face shows wherever the picture has it. An empty picture shows the caption.
  const TBitmap& Glyph() const { return glyph_; }
  void SetGlyph(const TBitmap& glyph);

 protected:
  bool DescribeWidget(platform::WidgetParams& params) const override;
  void WidgetClicked() override { Click(); }

 private:
  TBitmap glyph_;
};

// A frame around a group of controls, with an optional caption.
class TGroupBox : public TCaptionedControl {
 public:
  explicit TGroupBox(TComponent* owner)
      : TCaptionedControl(owner, platform::WidgetKind::GroupBox) {}

  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassType() const override { return StaticClassInfo(); }
};

enum TComboBoxStyle : std::uint8_t {
  csDropDown,
  csSimple,
  csDropDownList,
  csOwnerDrawFixed,
  csOwnerDrawVariable
};
enum TOwnerDrawStateFlag : std::uint8_t { odSelected, odGrayed, odDisabled, odChecked, odFocused };
using TOwnerDrawState = TSet<TOwnerDrawStateFlag>;
// Draws item `index` in `rect` on the list's Canvas.
using TDrawItemEvent =
    std::function<void(TWinControl* control, int index, TRect rect, TOwnerDrawState state)>;

// A drop-down list of texts without an edit field, whose items the program draws (fixed item
// height). The selection is an index: -1 when nothing is selected.
class TComboBox : public TWinControl {
 public:
  explicit TComboBox(TComponent* owner);
  ~TComboBox() override;

  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassType() const override { return StaticClassInfo(); }

  TComboBoxStyle Style() const { return style_; }
  void SetStyle(TComboBoxStyle style) { style_ = style; }
  int ItemHeight() const { return itemHeight_; }
  void SetItemHeight(int height) { itemHeight_ = height; }

  int ItemCount() const { return static_cast<int>(items_.size()); }
  const std::string& Items(int index) const { return items_.at(static_cast<std::size_t>(index)); }
  // Removes every item; nothing is selected afterwards.
  void ClearItems();
  void AddItem(const std::string& text);

  int ItemIndex() const { return itemIndex_; }
  // Selects an item (an index outside the items selects nothing).
  void SetItemIndex(int index);
  // The selected item's text; empty when nothing is selected.
  std::string Text() const;

  // The surface items are drawn on; valid while OnDrawItem runs, null otherwise.
  TCanvas* Canvas() const { return canvas_; }

  // Composes the picture of item `index` at `width` x ItemHeight: the canvas gets the list's
  // font and its colour (clWindow, clWindowText), or the highlight colours (clHighlight,
  // clHighlightText) for the selected item, then OnDrawItem draws with the rectangle
  // (0, 0, width, ItemHeight); without a handler the item's text is written. Returns the picture,
  // kept until the next call.
  const TBitmap& DrawItem(int index, int width, bool selected);

  // The user chose an item (after ItemIndex changed).
  TNotifyEvent OnChange;
  TDrawItemEvent OnDrawItem;

 protected:
  bool DescribeWidget(platform::WidgetParams& params) const override;
  void WidgetPositioned(int position) override;
  void WidgetDrawItem(int index, bool selected, int width, int height,
                      std::uint32_t* pixels) override;

 private:
  TComboBoxStyle style_ = csDropDown;
  int itemHeight_ = 13;
  std::vector<std::string> items_;
  int itemIndex_ = -1;
  TBitmap itemImage_;
  TCanvas* canvas_ = nullptr;
};
