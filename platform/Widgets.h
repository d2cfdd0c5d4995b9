#pragma once
// Native widgets: the standard controls a dialog is made of (labels, buttons, check boxes, radio
// buttons, group frames, spin edits, sliders, tab controls, drop-down lists) and the plain page
// windows that hold them.
// The framework's controls stay models; a widget mirrors one control while its window exists and
// reports the user's actions back to it. The model decides every state: a widget never changes
// its own check mark, position or text in answer to the user, it reports and the model sets.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/Windowing.h"

namespace platform {

enum class WidgetKind : std::uint8_t {
  Label,        // static text; background of the parent window unless opaque; reports clicks
  Button,       // a flat push button with a caption, or with `picture` when that is not empty;
                // reports clicks
  CheckBox,     // a push-to-toggle box; reports clicks, shows `value` (0 or 1)
  RadioButton,  // a round option button; reports clicks, shows `value` (0 or 1)
  GroupBox,     // a frame, optionally with a caption; holds nothing natively
  SpinEdit,     // a read-only, right-aligned edit with up and down buttons beside it; the Up and
                // Down keys and the buttons report steps; shows `text`
  Slider,       // a horizontal trackbar from `minValue` to `maxValue` with a tick at every
                // position; reports positions (dragging, keys, presses on the ruler)
  TabControl,   // a row of tabs drawn as flat buttons; reports the tab chosen; shows `value`
  Page,         // a plain child window that holds widgets (its children's notifications reach
                // their own widgets)
  ComboBox,     // a drop-down list of `items` (no edit field) whose items the program draws, each
                // `itemHeight` pixels high, in the list and in the closed box; shows the item
                // `value` (-1: none); reports the item chosen and asks for items to be drawn
};

// The font a widget shows its text in. `height` follows the Win32 rule: negative is the
// character height in pixels, positive the cell height.
struct WidgetFont {
  std::string name = "MS Sans Serif";
  int height = -11;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
  std::uint8_t charset = 1;  // DEFAULT_CHARSET
  std::uint32_t color = 0;   // 0x00BBGGRR
  friend bool operator==(const WidgetFont&, const WidgetFont&) = default;
};

struct WidgetParams {
  WidgetKind kind = WidgetKind::Label;
  WindowHandle parent;  // a form's window or a page
  int left = 0;         // in the parent window's client coordinates
  int top = 0;
  int width = 0;
  int height = 0;
  std::string text;  // caption, or the spin edit's number
  WidgetFont font;
  std::uint32_t background = 0;  // 0x00BBGGRR: the page's colour, a label's when opaque
  bool transparent = true;       // a label lets its parent's background show
  bool visible = true;
  std::string hint;  // shown in a tooltip while the pointer rests on the widget; empty: none
  int value = 0;  // check state, slider position, or the tab shown
  int minValue = 0;
  int maxValue = 0;
  std::vector<std::string> items;  // a tab control's captions or a list's items, in order
  int itemHeight = 0;               // a list's item height in pixels
  // A button's picture: `pictureWidth` x `pictureHeight` opaque pixels (0x00RRGGBB, top-down
  // rows), shown centred instead of the caption.
  std::vector<std::uint32_t> picture;
  int pictureWidth = 0;
  int pictureHeight = 0;
};

// What a widget reports. Every call arrives on the user-interface thread.
class IWidgetEvents {
 public:
  virtual ~IWidgetEvents() = default;
  // A check box, radio button or button was clicked (mouse or keyboard).
  virtual void NativeClick() = 0;
  // A spin edit's button or arrow key asked for one step up (+1) or down (-1).
  virtual void NativeStep(int direction) = 0;
  // A slider's thumb reached a position, or a tab was chosen.
  virtual void NativePosition(int position) = 0;
  // A page's client area must be painted again (its windowless controls draw now).
  virtual void NativePaint() = 0;
  // A list asks for its item `index` to be drawn into `pixels`: `width` x `height` pixels
  // (0x00RRGGBB, top-down rows, no padding), in the highlight colours when `selected`. The widget
  // copies them onto the item's place and adds the focus frame itself.
  virtual void NativeDrawItem(int index, bool selected, int width, int height,
                              std::uint32_t* pixels) = 0;
};

// One native widget. Destroying it destroys the widget's windows.
class IWidgetPeer {
 public:
  virtual ~IWidgetPeer() = default;
  // The window that holds child widgets (a page's window); for other kinds the widget's window.
  virtual WindowHandle Handle() const = 0;
  virtual void SetBounds(int left, int top, int width, int height) = 0;
  virtual void SetText(const std::string& text) = 0;
  virtual void SetVisible(bool visible) = 0;
  // The check state, the slider's position, the tab shown or the list's item shown (-1: none).
  virtual void SetValue(int value) = 0;
  // A list's items, replacing all it held; nothing is shown afterwards (SetValue picks one).
  virtual void SetItems(const std::vector<std::string>& items) = 0;
  // Draws the widget again at once (a list asks for its items again); a page paints its client
  // area.
  virtual void Repaint() = 0;
  virtual void SetFont(const WidgetFont& font) = 0;
  // A page only: marks a client rectangle for painting, and copies 32-bit pixels (0x00RRGGBB,
  // top-down rows of `stride` pixels) onto the client area at (left, top) in one copy. Other
  // kinds ignore both.
  virtual void InvalidateArea(int left, int top, int right, int bottom) = 0;
  virtual void CopyPixels(int left, int top, int width, int height, const std::uint32_t* pixels,
                          int stride) = 0;
};

}  // namespace platform
