#pragma once
// What the Win32 widget files share, and nothing outside platform/win32/ includes: the base class
// of every widget (Win32Widgets.cpp implements it, with the reflection of child notifications and
// the choice of a widget for a kind), the helpers more than one family uses, and the constructor
// function of each widget family, one file per family:
//   Win32TextWidget.cpp      labels, push and picture buttons, check boxes, radio buttons,
//                            group boxes
//   Win32SpinEditWidget.cpp  the spin edit
//   Win32SliderWidget.cpp    the slider (trackbar)
//   Win32ComboBoxWidget.cpp  the owner-drawn drop-down list
//   Win32PageWidgets.cpp     the page control's tabs and its pages

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "platform/Widgets.h"
#include "platform/win32/Win32Text.h"
#include "platform/win32/Win32Widgets.h"

namespace platform::win32::widgets {

inline WindowHandle ToHandle(HWND hwnd) {
  return WindowHandle{reinterpret_cast<std::uintptr_t>(hwnd)};
}
inline HWND ToHwnd(WindowHandle handle) { return reinterpret_cast<HWND>(handle.value); }

struct GdiDeleter {
  void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
using FontPtr = std::unique_ptr<std::remove_pointer_t<HFONT>, GdiDeleter>;
using BrushPtr = std::unique_ptr<std::remove_pointer_t<HBRUSH>, GdiDeleter>;
using BitmapPtr = std::unique_ptr<std::remove_pointer_t<HBITMAP>, GdiDeleter>;

// The trackbar, up-down and tab classes live in comctl32 and exist once it has registered them.
void InitCommonControlsOnce();

// The colours of text drawn straight on the parent: the font's colour over the parent's
// background. A parent without a brush of its own shows the system's face colour.
LRESULT ParentColours(HDC dc, const WidgetFont& font, HBRUSH parentBackground);

bool IsColourMessage(UINT message);

// A widget: one or two native child windows, all subclassed by WidgetProcedure so that the
// widget sees their messages first and learns when they are destroyed with their parent.
class Win32Widget : public IWidgetPeer {
 public:
  Win32Widget(const Win32Widget&) = delete;
  Win32Widget& operator=(const Win32Widget&) = delete;
  ~Win32Widget() override;

  WindowHandle Handle() const override { return ToHandle(Main()); }

  void SetBounds(int left, int top, int width, int height) override;
  void SetText(const std::string& text) override;
  void SetVisible(bool visible) override;
  void SetValue(int /*value*/) override {}
  void SetItems(const std::vector<std::string>& /*items*/) override {}
  void Repaint() override;
  void InvalidateArea(int /*left*/, int /*top*/, int /*right*/, int /*bottom*/) override {}
  void CopyPixels(int /*left*/, int /*top*/, int /*width*/, int /*height*/,
                  const std::uint32_t* /*pixels*/, int /*stride*/) override {}
  void SetFont(const WidgetFont& font) override;

  // Answers a message that the widget's window `child` sent to its parent. Returns whether it
  // did; `result` is then the parent's answer.
  virtual bool Reflect(HWND child, UINT message, WPARAM wParam, LPARAM lParam,
                       HBRUSH parentBackground, LRESULT& result) = 0;

  static Win32Widget* FromWindow(HWND hwnd);

  // The procedure of every widget window. An event handler may destroy the widget (and with it
  // this window's subclassing): nothing here touches the widget after handing it a message.
  static LRESULT CALLBACK WidgetProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

 protected:
  Win32Widget(const WidgetParams& params, IWidgetEvents& events)
      : events_(events), font_(params.font), hint_(params.hint) {}

  // Creates a hidden child window of `parent`, subclasses it and places it in the drawing order;
  // the caller shows it once it is set up, so the widget sees every message from the first paint
  // on. A frame sets frame_ before. `id` is the control id: the parent tells most children apart
  // by their windows, and only those that it learns of by id alone need one of their own.
  HWND AddWindow(DWORD exStyle, const wchar_t* className, const std::string& text, DWORD style,
                 HWND parent, int left, int top, int width, int height, int id = 0);

  // Shows the windows if the widget starts visible, and gives the widget its tooltip.
  void Start(bool visible) {
    if (visible) SetVisible(true);
    AddTooltip();
  }

  // A widget with a hint gets a tooltip of its own, owned by the top-level window, that watches
  // the widget's main window (the tooltip subclasses it to see the pointer).
  void AddTooltip();

  // Places a new window in its siblings' drawing order. Frames (group boxes, the tab control)
  // lie under every other widget of their parent, the widgets placed on them above, in the order
  // of creation: with WS_CLIPSIBLINGS a frame then never paints over what lies on it, whichever
  // was created first. The system puts a new child window at the bottom; the frames stay in one
  // block there, and any other window moves to just above that block.
  void Arrange(HWND hwnd);

  // Filters a message of one of the widget's windows before its class procedure sees it.
  // Returns whether the message was taken; `result` is then the window's answer.
  virtual bool Intercept(HWND /*hwnd*/, UINT /*message*/, WPARAM /*wParam*/, LPARAM /*lParam*/,
                         LRESULT& /*result*/) {
    return false;
  }

  // The window that shows the widget's text in its font; null for widgets without text.
  virtual HWND TextWindow() const { return Main(); }

  HWND Main() const { return windows_.empty() ? nullptr : windows_.front(); }
  HWND Window(std::size_t index) const {
    return index < windows_.size() ? windows_[index] : nullptr;
  }

  IWidgetEvents& events_;
  WidgetFont font_;
  std::string hint_;
  HWND tooltip_ = nullptr;
  FontPtr hfont_;
  // A widget's own background: an opaque label's, a page's.
  BrushPtr background_;
  // A button's picture. Kept here, with the font, so that it outlives the windows.
  BitmapPtr picture_;
  // Whether the widget is a frame that other widgets lie on (see Arrange).
  bool frame_ = false;

 private:
  void Forget(HWND hwnd);

  std::vector<HWND> windows_;
};

// The widget families. Each creates the native windows of one widget as children of
// params.parent; CreateWin32Widget picks the family for params.kind.
std::unique_ptr<IWidgetPeer> CreateTextWidget(const WidgetParams& params, IWidgetEvents& events);
std::unique_ptr<IWidgetPeer> CreateSpinEditWidget(const WidgetParams& params,
                                                  IWidgetEvents& events);
std::unique_ptr<IWidgetPeer> CreateSliderWidget(const WidgetParams& params, IWidgetEvents& events);
std::unique_ptr<IWidgetPeer> CreateComboBoxWidget(const WidgetParams& params,
                                                  IWidgetEvents& events);
std::unique_ptr<IWidgetPeer> CreateTabWidget(const WidgetParams& params, IWidgetEvents& events);
std::unique_ptr<IWidgetPeer> CreatePageWidget(const WidgetParams& params, IWidgetEvents& events);

}  // namespace platform::win32::widgets
