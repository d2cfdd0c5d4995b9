#pragma once
// Controls as models: bounds, colour, visibility, parent and mouse events. A control holds its
// state and raises its events whether or not a native peer mirrors it; windowed controls and
// their peers build on these classes.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/Classes.h"
#include "framework/Graphics.h"
#include "platform/Widgets.h"

struct TPoint {
  int X = 0;
  int Y = 0;
  friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;
  int Width() const { return Right - Left; }
  int Height() const { return Bottom - Top; }
  friend bool operator==(const TRect&, const TRect&) = default;
};

enum TMouseButton : std::uint8_t { mbLeft, mbRight, mbMiddle };
enum TShiftStateFlag : std::uint8_t { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = TSet<TShiftStateFlag>;
enum THelpType : std::uint8_t { htKeyword, htContext };
using TCursor = std::int16_t;
inline constexpr TCursor crDefault = 0;
inline constexpr TCursor crHandPoint = -21;

using TNotifyEvent = std::function<void(TObject* sender)>;
using TMouseEvent =
    std::function<void(TObject* sender, TMouseButton button, TShiftState shift, int x, int y)>;
using TMouseMoveEvent = std::function<void(TObject* sender, TShiftState shift, int x, int y)>;

extern const TTypeInfo kCursorType;          // "TCursor", integer kind
extern const TTypeInfo kHelpTypeType;        // "THelpType": htKeyword, htContext
extern const TTypeInfo kHelpContextType;     // "THelpContext", integer kind
extern const TTypeInfo kMouseEventType;      // "TMouseEvent"
extern const TTypeInfo kMouseMoveEventType;  // "TMouseMoveEvent"

namespace platform {
class IScreen;
class IGlyphRasterizer;
class IWindowSystem;
}  // namespace platform
class TBitmap;

// The ports a control draws with, never missing: made without a screen they hold the classic
// screen (ClassicScreen: the classic palette at 96 pixels per inch), without a glyph rasterizer the
// framework's built-in deterministic font (BuiltinGlyphs).
class TGraphicsPorts {
 public:
  TGraphicsPorts(platform::IScreen* screen = nullptr, platform::IGlyphRasterizer* glyphs = nullptr);
  platform::IScreen& Screen() const { return *screen_; }
  platform::IGlyphRasterizer& Glyphs() const { return *glyphs_; }

 private:
  platform::IScreen* screen_;
  platform::IGlyphRasterizer* glyphs_;
};
class TWinControl;

// A font as the platform shows it, its colour resolved through `screen` (see ResolveColor).
platform::WidgetFont DescribeFont(const TFont& font, platform::IScreen& screen);

// A control is a model; some kinds are also shown by a native widget (platform/Widgets.h) while
// their form's window exists. The widget mirrors the model and reports the user's actions, which
// the control turns into the same setters code uses.
class TControl : public TComponent, private platform::IWidgetEvents {
 public:
  explicit TControl(TComponent* owner);
  ~TControl() override;

  // Name, Tag, Left, Top, Width, Height, Cursor, Hint, HelpType, HelpKeyword, HelpContext.
  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassType() const override { return StaticClassInfo(); }

  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  void SetLeft(int left) { SetBounds(left, top_, width_, height_); }
  void SetTop(int top) { SetBounds(left_, top, width_, height_); }
  void SetWidth(int width) { SetBounds(left_, top_, width, height_); }
  void SetHeight(int height) { SetBounds(left_, top_, width_, height); }
  // Every bounds writer ends here. A change is stored and the old and new areas are invalidated.
  virtual void SetBounds(int left, int top, int width, int height);
  TRect BoundsRect() const { return {left_, top_, left_ + width_, top_ + height_}; }
  TRect ClientRect() const { return {0, 0, width_, height_}; }

  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor cursor) { cursor_ = cursor; }
  // The tooltip text of the control's widget, taken when the widget is created.
  const std::string& Hint() const { return hint_; }
  void SetHint(const std::string& hint) { hint_ = hint; }
  THelpType HelpType() const { return helpType_; }
  void SetHelpType(THelpType helpType) { helpType_ = helpType; }
  const std::string& HelpKeyword() const { return helpKeyword_; }
  void SetHelpKeyword(const std::string& keyword) { helpKeyword_ = keyword; }
  std::int32_t HelpContext() const { return helpContext_; }
  void SetHelpContext(std::int32_t context) { helpContext_ = context; }

  // The colour writer: a value that differs from the current one is stored, the control stops
  // taking its colour from its parent, and the control is invalidated. The same value does
  // nothing.
  TColor Color() const { return color_; }
  void SetColor(TColor color);
  // While true the control takes its parent's colour (and follows it when it changes).
  bool ParentColor() const { return parentColor_; }
  void SetParentColor(bool parentColor);

  bool Visible() const { return visible_; }
  virtual void SetVisible(bool visible);

  TWinControl* Parent() const { return parent_; }
  virtual void SetParent(TWinControl* parent);

  // The ports the control draws with: its parent's, or none while it has no parent that knows
  // them.
  virtual TGraphicsPorts GraphicsPorts() const;

  // Asks for the control's area to be painted again. Without a parent, or while the parent has no
  // native window, nothing needs painting and this does nothing.
  virtual void Invalidate();
  // Draws the control again at once, before returning: a widget redraws itself, a windowless
  // control paints. The base asks the widget, or invalidates when there is none.
  virtual void Repaint();

  TMouseEvent OnMouseDown;
  TMouseMoveEvent OnMouseMove;
  TMouseEvent OnMouseUp;

  // The native widget mirroring the control; null while it has none.
  platform::IWidgetPeer* Widget() const { return widget_.get(); }
  // Creates the control's widget, if its kind has one and it has none yet, in the native window
  // `parent` with the control's position moved by (dx, dy); a container then does the same for
  // its children.
  virtual void CreateWidgets(platform::IWindowSystem& windows, platform::WindowHandle parent,
                             int dx, int dy);
  // The font the control's text is shown in: its own, or its form's.
  virtual const TFont* ShownFont() const;

  // Mouse input in the control's client coordinates, delivered by the parent or the peer; each
  // raises the matching event with the control as sender.
  virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseMove(TShiftState shift, int x, int y);
  virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);

 protected:
  // Called after the colour changed (by the writer or from the parent).
  virtual void ColorChanged();
  // The parent's colour changed; a control with ParentColor takes it.
  void ParentColorChanged();
  // Stores the visibility without side effects (forms start hidden).
  void StoreVisible(bool visible) { visible_ = visible; }

  // The kind and state of the control's widget; false (the default) when the control has none.
  // The position, the parent and the visibility are filled in by the caller.
  virtual bool DescribeWidget(platform::WidgetParams& params) const;
  // A font as a widget shows it; the font the control's text is shown in.
  platform::WidgetFont WidgetFontOf(const TFont& font) const;
  platform::WidgetFont ShownWidgetFont() const;
  // The user clicked, stepped or chose a position on the widget. The defaults do nothing; each
  // runs inside the application's error boundary.
  virtual void WidgetClicked() {}
  virtual void WidgetStepped(int direction) { (void)direction; }
  virtual void WidgetPositioned(int position) { (void)position; }
  // A page's widget asks for its windowless children to be painted.
  virtual void WidgetPainted() {}
  // A list's widget asks for the picture of one item (see IWidgetEvents::NativeDrawItem).
  virtual void WidgetDrawItem(int index, bool selected, int width, int height,
                              std::uint32_t* pixels) {
    (void)index, (void)selected, (void)width, (void)height, (void)pixels;
  }
  // The window's colour as the widgets paint it (0x00BBGGRR).
  std::uint32_t NativeColorOf(TColor color) const;

 private:
  friend class TWinControl;

  int left_ = 0;
  int top_ = 0;
  int width_ = 0;
  int height_ = 0;
  TCursor cursor_ = crDefault;
  std::string hint_;
  THelpType helpType_ = htContext;
  std::string helpKeyword_;
  std::int32_t helpContext_ = 0;
  TColor color_ = clWindow;
  bool parentColor_ = true;
  bool visible_ = true;
  TWinControl* parent_ = nullptr;
  std::unique_ptr<platform::IWidgetPeer> widget_;
  int widgetDx_ = 0;  // the offset of the control's position in its widget's parent window
  int widgetDy_ = 0;

  // platform::IWidgetEvents
  void NativeClick() override;
  void NativeStep(int direction) override;
  void NativePosition(int position) override;
  void NativePaint() override;
  void NativeDrawItem(int index, bool selected, int width, int height,
                      std::uint32_t* pixels) override;
};

// A control that can hold other controls. Its child controls are destroyed with it.
class TWinControl : public TControl {
 public:
  explicit TWinControl(TComponent* owner);
  ~TWinControl() override;

  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassType() const override { return StaticClassInfo(); }

  int ControlCount() const { return static_cast<int>(controls_.size()); }
  TControl* Controls(int index) const { return controls_.at(static_cast<std::size_t>(index)); }

  // Repaints the area of a child control. The model keeps no pixels, so without a native window
  // there is nothing to do; a peer repaints the area.
  virtual void InvalidateChild(const TControl& child);

  // Copies a finished picture of a windowless child onto this control's surface with its top-left
  // corner at the child's client point (x, y), in one copy. Without a native window there is no
  // surface and this does nothing; a peer copies the pixels to the screen.
  virtual void CopyChildImage(const TControl& child, const TBitmap& image, int x, int y);

  TGraphicsPorts GraphicsPorts() const override;
  void CreateWidgets(platform::IWindowSystem& windows, platform::WindowHandle parent, int dx,
                     int dy) override;
  // Paints every visible windowless child, in order (the native window asks for this).
  void PaintControls();
  // Gives a top-level control its drawing ports; children find them through their parents.
  void SetGraphicsPorts(const TGraphicsPorts& ports) {
    ports_ = ports;
    hasPorts_ = true;
  }

 protected:
  void ColorChanged() override;
  // Whether the control's widget is a window that holds its children's widgets (a page); the
  // children of other containers get their widgets beside the container's, moved by its position.
  virtual bool WidgetHoldsChildren() const { return false; }

 private:
  friend class TControl;
  void InsertControl(TControl* control);
  void RemoveControl(TControl* control);

  std::vector<TControl*> controls_;
  TGraphicsPorts ports_;
  bool hasPorts_ = false;
};

// A windowless control that draws itself onto its parent's surface.
class TGraphicControl : public TControl {
 public:
  explicit TGraphicControl(TComponent* owner);

  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassType() const override { return StaticClassInfo(); }

  // Paints the control; called whenever the framework paints it. The base draws nothing.
  virtual void Paint() {}
  // A visible control paints at once.
  void Repaint() override {
    if (Visible()) Paint();
  }
};
