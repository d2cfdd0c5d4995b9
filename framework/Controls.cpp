#include "framework/Controls.h"

#include <algorithm>

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
  if (parent_ != nullptr) parent_->RemoveControl(this);
}

void TControl::SetBounds(int left, int top, int width, int height) {
  if (left == left_ && top == top_ && width == width_ && height == height_) return;
  Invalidate();
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  Invalidate();
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
