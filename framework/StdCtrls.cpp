#include "framework/StdCtrls.h"

#include <algorithm>

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

// ---------------------------------------------------------------------------------------------
// TSpeedButton's picture

void TSpeedButton::SetGlyph(const TBitmap& glyph) {
  glyph_ = glyph;
  Invalidate();
}

bool TSpeedButton::DescribeWidget(platform::WidgetParams& params) const {
  TCaptionedControl::DescribeWidget(params);
  if (glyph_.Empty()) return true;
  const std::uint32_t transparent = glyph_.Row(glyph_.Height() - 1)[0];
  const std::uint32_t face = TBitmap::PixelFromRgb(NativeColorOf(clBtnFace));
  params.pictureWidth = glyph_.Width();
  params.pictureHeight = glyph_.Height();
  params.picture.assign(glyph_.Pixels(),
                        glyph_.Pixels() + static_cast<std::size_t>(glyph_.Width()) *
                                              static_cast<std::size_t>(glyph_.Height()));
  for (std::uint32_t& pixel : params.picture) {
    if (pixel == transparent) pixel = face;
  }
  return true;
}

// ---------------------------------------------------------------------------------------------
// TComboBox

const TClassInfo& TComboBox::StaticClassInfo() {
  static const TClassInfo info(
      "TComboBox", &TWinControl::StaticClassInfo(),
      {
          OrdProperty<&TComboBox::Color, &TComboBox::SetColor>("Color", kColorType),
          OrdProperty<&TComboBox::ItemHeight, &TComboBox::SetItemHeight>("ItemHeight",
                                                                         kIntegerType),
          OrdProperty<&TComboBox::ItemIndex, &TComboBox::SetItemIndex>("ItemIndex", kIntegerType),
          MethodProperty<&TComboBox::OnChange>("OnChange", kNotifyEventType),
      });
  return info;
}

TComboBox::TComboBox(TComponent* owner) : TWinControl(owner) {
  SetParentColor(false);
  SetColor(clWindow);
}

TComboBox::~TComboBox() = default;

void TComboBox::ClearItems() {
  items_.clear();
  itemIndex_ = -1;
  if (Widget() != nullptr) Widget()->SetItems(items_);
}

void TComboBox::AddItem(const std::string& text) {
  items_.push_back(text);
  if (Widget() != nullptr) {
    Widget()->SetItems(items_);
    Widget()->SetValue(itemIndex_);
  }
}

void TComboBox::SetItemIndex(int index) {
  if (index < 0 || index >= ItemCount()) index = -1;
  if (itemIndex_ == index) return;
  itemIndex_ = index;
  if (Widget() != nullptr) Widget()->SetValue(index);
}

std::string TComboBox::Text() const { return itemIndex_ >= 0 ? Items(itemIndex_) : std::string(); }

const TBitmap& TComboBox::DrawItem(int index, int width, bool selected) {
  itemImage_.SetSize(width, itemHeight_);
  TCanvas canvas(itemImage_);
  canvas.SetPorts(GraphicsPorts());
  if (const TFont* font = ShownFont()) canvas.Font().Assign(*font);
  canvas.Brush().Color = Color();
  TOwnerDrawState state;
  if (selected) {
    canvas.Brush().Color = clHighlight;
    canvas.Font().SetColor(clHighlightText);
    state.Include(odSelected);
  }
  const TRect rect{0, 0, width, itemHeight_};
  // What the handler leaves untouched shows the item's background.
  canvas.FillRect(rect);
  const std::string text = index >= 0 && index < ItemCount() ? Items(index) : std::string();
  if (OnDrawItem) {
    canvas_ = &canvas;
    struct Release {
      TCanvas*& canvas;
      ~Release() { canvas = nullptr; }
    } release{canvas_};
    OnDrawItem(this, index, rect, state);
  } else {
    canvas.TextOut(2, 0, text);
  }
  return itemImage_;
}

bool TComboBox::DescribeWidget(platform::WidgetParams& params) const {
  params.kind = platform::WidgetKind::ComboBox;
  params.items = items_;
  params.value = itemIndex_;
  params.itemHeight = itemHeight_;
  params.font = ShownWidgetFont();
  params.background = NativeColorOf(Color());
  return true;
}

void TComboBox::WidgetPositioned(int position) {
  if (position < 0 || position >= ItemCount()) position = -1;
  itemIndex_ = position;
  if (OnChange) OnChange(this);
}

void TComboBox::WidgetDrawItem(int index, bool selected, int width, int height,
                               std::uint32_t* pixels) {
  if (width <= 0 || height <= 0 || pixels == nullptr) return;
  const TBitmap& image = DrawItem(index, width, selected);
  const std::uint32_t fill = TBitmap::PixelFromRgb(NativeColorOf(selected ? clHighlight : Color()));
  for (int y = 0; y < height; ++y) {
    std::uint32_t* row = pixels + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
    if (y < image.Height()) {
      std::copy(image.Row(y), image.Row(y) + width, row);
    } else {
      std::fill(row, row + width, fill);
    }
  }
}
