#include "framework/Controls.h"

#include <algorithm>

#include "framework/BuiltinGlyphs.h"
#include "framework/Forms.h"
#include "framework/Graphics.h"
#include "platform/Windowing.h"

namespace {
constexpr std::string_view kHelpTypeNames[] = {"htKeyword", "htContext"};
}  // namespace

const TTypeInfo kCursorType{"TCursor", TTypeKind::Integer};
const TTypeInfo kHelpTypeType{"THelpType", TTypeKind::Enumeration, kHelpTypeNames};
const TTypeInfo kHelpContextType{"THelpContext", TTypeKind::Integer};
const TTypeInfo kMouseEventType{"TMouseEvent", TTypeKind::Method};
const TTypeInfo kMouseMoveEventType{"TMouseMoveEvent", TTypeKind::Method};

// ---------------------------------------------------------------------------------------------
// TControl

const TClassInfo& TControl::StaticClassInfo() {
  static const TClassInfo info(
      "TControl", &TComponent::StaticClassInfo(),
      {
          OrdProperty<&TControl::Left, &TControl::SetLeft>("Left", kIntegerType),
          OrdProperty<&TControl::Top, &TControl::SetTop>("Top", kIntegerType),
          OrdProperty<&TControl::Width, &TControl::SetWidth>("Width", kIntegerType),
          OrdProperty<&TControl::Height, &TControl::SetHeight>("Height", kIntegerType),
          OrdProperty<&TControl::Cursor, &TControl::SetCursor>("Cursor", kCursorType),
          StrProperty<&TControl::Hint, &TControl::SetHint>("Hint", kStringType),
          OrdProperty<&TControl::HelpType, &TControl::SetHelpType>("HelpType", kHelpTypeType),
          StrProperty<&TControl::HelpKeyword, &TControl::SetHelpKeyword>("HelpKeyword",
                                                                         kStringType),
          OrdProperty<&TControl::HelpContext, &TControl::SetHelpContext>("HelpContext",
                                                                         kHelpContextType),
      });
  return info;
}

TControl::TControl(TComponent* owner) : TComponent(owner) {}

TControl::~TControl() {
  widget_.reset();
  if (parent_ != nullptr) parent_->RemoveControl(this);
}

void TControl::SetBounds(int left, int top, int width, int height) {
  if (left == left_ && top == top_ && width == width_ && height == height_) return;
  Invalidate();
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  if (widget_) widget_->SetBounds(left + widgetDx_, top + widgetDy_, width, height);
  Invalidate();
}

bool TControl::DescribeWidget(platform::WidgetParams&) const { return false; }

void TControl::CreateWidgets(platform::IWindowSystem& windows, platform::WindowHandle parent,
                             int dx, int dy) {
  if (widget_) return;
  platform::WidgetParams params;
  if (!DescribeWidget(params)) return;
  params.parent = parent;
  params.left = left_ + dx;
  params.top = top_ + dy;
  params.width = width_;
  params.height = height_;
  params.visible = visible_;
  params.hint = hint_;
  widgetDx_ = dx;
  widgetDy_ = dy;
  widget_ = windows.CreateWidget(params, *this);
}

TGraphicsPorts::TGraphicsPorts(platform::IScreen* screen, platform::IGlyphRasterizer* glyphs)
    : screen_(screen != nullptr ? screen : &ClassicScreen()),
      glyphs_(glyphs != nullptr ? glyphs : &BuiltinGlyphs()) {}

const TFont* TControl::ShownFont() const {
  return parent_ != nullptr ? parent_->ShownFont() : nullptr;
}

std::uint32_t TControl::NativeColorOf(TColor color) const {
  return ColorToRGB(color, GraphicsPorts().Screen());
}

platform::WidgetFont DescribeFont(const TFont& font, platform::IScreen& screen) {
  platform::WidgetFont shown;
  shown.name = font.Name();
  shown.height = font.Height();
  const TFontStyles style = font.Style();
  shown.bold = style.Contains(fsBold);
  shown.italic = style.Contains(fsItalic);
  shown.underline = style.Contains(fsUnderline);
  shown.strikeOut = style.Contains(fsStrikeOut);
  shown.charset = font.Charset();
  shown.color = ColorToRGB(font.Color(), screen);
  return shown;
}

platform::WidgetFont TControl::WidgetFontOf(const TFont& font) const {
  return DescribeFont(font, GraphicsPorts().Screen());
}

platform::WidgetFont TControl::ShownWidgetFont() const {
  const TFont* font = ShownFont();
  return font != nullptr ? WidgetFontOf(*font) : platform::WidgetFont{};
}

void TControl::NativeClick() {
  GuardedCall(this, [this] { WidgetClicked(); });
}

void TControl::NativeStep(int direction) {
  GuardedCall(this, [this, direction] { WidgetStepped(direction); });
}

void TControl::NativePosition(int position) {
  GuardedCall(this, [this, position] { WidgetPositioned(position); });
}

void TControl::NativePaint() {
  GuardedCall(this, [this] { WidgetPainted(); });
}

void TControl::NativeDrawItem(int index, bool selected, int width, int height,
                              std::uint32_t* pixels) {
  GuardedCall(this, [&] { WidgetDrawItem(index, selected, width, height, pixels); });
}

void TControl::SetColor(TColor color) {
  if (color == color_) return;
  color_ = color;
  parentColor_ = false;
  ColorChanged();
}

void TControl::SetParentColor(bool parentColor) {
  if (parentColor_ == parentColor) return;
  parentColor_ = parentColor;
  if (parentColor_) ParentColorChanged();
}

void TControl::ParentColorChanged() {
  if (!parentColor_ || parent_ == nullptr) return;
  SetColor(parent_->Color());
  parentColor_ = true;
}

void TControl::ColorChanged() { Invalidate(); }

void TControl::SetVisible(bool visible) {
  if (visible_ == visible) return;
  // Hiding repaints the area the control covered; showing paints the control.
  if (!visible) Invalidate();
  visible_ = visible;
  if (widget_) widget_->SetVisible(visible);
  if (visible) Invalidate();
}

void TControl::SetParent(TWinControl* parent) {
  if (parent_ == parent) return;
  if (parent_ != nullptr) parent_->RemoveControl(this);
  if (parent != nullptr) {
    parent->InsertControl(this);
    ParentColorChanged();
    Invalidate();
  }
}

TGraphicsPorts TControl::GraphicsPorts() const {
  return parent_ != nullptr ? parent_->GraphicsPorts() : TGraphicsPorts{};
}

void TControl::Repaint() {
  if (widget_ != nullptr) {
    widget_->Repaint();
  } else {
    Invalidate();
  }
}

void TControl::Invalidate() {
  if (parent_ != nullptr && visible_) parent_->InvalidateChild(*this);
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y) {
  if (OnMouseMove) OnMouseMove(this, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
}

// ---------------------------------------------------------------------------------------------
// TWinControl

const TClassInfo& TWinControl::StaticClassInfo() {
  static const TClassInfo info("TWinControl", &TControl::StaticClassInfo(), {});
  return info;
}

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl() {
  // Child controls go first, most recently inserted first, while this control is still whole.
  while (!controls_.empty()) {
    TControl* child = controls_.back();
    delete child;  // removes itself from controls_ and from its owner
  }
}

void TWinControl::InsertControl(TControl* control) {
  controls_.push_back(control);
  control->parent_ = this;
}

void TWinControl::RemoveControl(TControl* control) {
  const auto it = std::find(controls_.begin(), controls_.end(), control);
  if (it != controls_.end()) controls_.erase(it);
  control->parent_ = nullptr;
}

void TWinControl::CreateWidgets(platform::IWindowSystem& windows, platform::WindowHandle parent,
                                int dx, int dy) {
  TControl::CreateWidgets(windows, parent, dx, dy);
  // A control whose widget is a page holds its children's widgets; any other places them beside
  // its own, in the same window, moved by its position.
  const bool page = Widget() != nullptr && WidgetHoldsChildren();
  for (TControl* child : controls_) {
    if (page) {
      child->CreateWidgets(windows, Widget()->Handle(), 0, 0);
    } else {
      child->CreateWidgets(windows, parent, dx + Left(), dy + Top());
    }
  }
}

void TWinControl::PaintControls() {
  for (TControl* child : controls_) {
    if (auto* graphic = dynamic_cast<TGraphicControl*>(child); graphic && graphic->Visible()) {
      graphic->Paint();
    }
  }
}

void TWinControl::InvalidateChild(const TControl&) {}

void TWinControl::CopyChildImage(const TControl&, const TBitmap&, int, int) {}

TGraphicsPorts TWinControl::GraphicsPorts() const {
  return hasPorts_ ? ports_ : TControl::GraphicsPorts();
}

void TWinControl::ColorChanged() {
  TControl::ColorChanged();
  for (TControl* child : controls_) child->ParentColorChanged();
}

// ---------------------------------------------------------------------------------------------
// TGraphicControl

const TClassInfo& TGraphicControl::StaticClassInfo() {
  static const TClassInfo info("TGraphicControl", &TControl::StaticClassInfo(), {});
  return info;
}

TGraphicControl::TGraphicControl(TComponent* owner) : TControl(owner) {}
