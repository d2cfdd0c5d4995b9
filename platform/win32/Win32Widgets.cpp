// The core of the Win32 widgets, shared by every widget family: the base class Win32Widget (the
// subclassing of a widget's windows, their drawing order, font and tooltip), the reflection of
// the notifications that child windows send to their parent back to the widget that owns the
// child, and the choice of a widget family for a kind. The families have files of their own
// (listed in Win32WidgetsInternal.h).

#include "platform/win32/Win32Widgets.h"

#include <commctrl.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "platform/win32/Win32Text.h"
#include "platform/win32/Win32WidgetsInternal.h"

namespace platform::win32 {

namespace widgets {

namespace {

// The properties every widget window carries: the widget it belongs to, and the class procedure
// that the widget's own procedure hands the window's messages on to. Properties rather than
// GWLP_USERDATA: that slot belongs to whoever implements a control's class.
constexpr wchar_t kWidgetProperty[] = L"TamikWidget";
constexpr wchar_t kProcedureProperty[] = L"TamikWidgetProc";

// The port's default character set is the Win32 one.
static_assert(WidgetFont{}.charset == DEFAULT_CHARSET);

FontPtr CreateWidgetFont(const WidgetFont& font) {
  return FontPtr(CreateFontW(font.height, 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, font.italic,
                             font.underline, font.strikeOut, font.charset, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                             Widen(font.name).c_str()));
}

WNDPROC OriginalProcedure(HWND hwnd) {
  return reinterpret_cast<WNDPROC>(
      reinterpret_cast<std::uintptr_t>(GetPropW(hwnd, kProcedureProperty)));
}

}  // namespace

void InitCommonControlsOnce() {
  static const bool initialised = [] {
    INITCOMMONCONTROLSEX init{};
    init.dwSize = sizeof init;
    init.dwICC = ICC_BAR_CLASSES | ICC_UPDOWN_CLASS | ICC_TAB_CLASSES;
    return InitCommonControlsEx(&init) != 0;
  }();
  (void)initialised;
}

LRESULT ParentColours(HDC dc, const WidgetFont& font, HBRUSH parentBackground) {
  SetTextColor(dc, font.color);
  SetBkMode(dc, TRANSPARENT);
  HBRUSH brush = parentBackground != nullptr ? parentBackground : GetSysColorBrush(COLOR_BTNFACE);
  return reinterpret_cast<LRESULT>(brush);
}

bool IsColourMessage(UINT message) {
  return message == WM_CTLCOLORSTATIC || message == WM_CTLCOLORBTN || message == WM_CTLCOLOREDIT;
}

Win32Widget::~Win32Widget() {
  if (tooltip_ != nullptr) DestroyWindow(tooltip_);
  // The windows go first: they may still use the font and the brush while being destroyed.
  for (auto it = windows_.rbegin(); it != windows_.rend(); ++it) {
    HWND hwnd = *it;
    if (hwnd == nullptr) continue;  // already destroyed with its parent
    SetWindowLongPtrW(
        hwnd, GWLP_WNDPROC,
        static_cast<LONG_PTR>(reinterpret_cast<std::uintptr_t>(OriginalProcedure(hwnd))));
    RemovePropW(hwnd, kProcedureProperty);
    RemovePropW(hwnd, kWidgetProperty);
    DestroyWindow(hwnd);
  }
}

void Win32Widget::SetBounds(int left, int top, int width, int height) {
  if (Main() == nullptr) return;
  SetWindowPos(Main(), nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}
void Win32Widget::SetText(const std::string& text) {
  if (Main() != nullptr) SetWindowTextW(Main(), Widen(text).c_str());
}
void Win32Widget::SetVisible(bool visible) {
  for (HWND hwnd : windows_) {
    if (hwnd != nullptr) ShowWindow(hwnd, visible ? SW_SHOWNA : SW_HIDE);
  }
}
void Win32Widget::Repaint() {
  if (Main() == nullptr) return;
  RedrawWindow(Main(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}
void Win32Widget::SetFont(const WidgetFont& font) {
  font_ = font;
  HWND target = TextWindow();
  if (target == nullptr) return;
  FontPtr created = CreateWidgetFont(font);
  // The control lets go of the old font before it is deleted.
  SendMessageW(target, WM_SETFONT, reinterpret_cast<WPARAM>(created.get()), FALSE);
  hfont_ = std::move(created);
  InvalidateRect(target, nullptr, TRUE);
}

Win32Widget* Win32Widget::FromWindow(HWND hwnd) {
  return static_cast<Win32Widget*>(GetPropW(hwnd, kWidgetProperty));
}

LRESULT CALLBACK Win32Widget::WidgetProcedure(HWND hwnd, UINT message, WPARAM wParam,
                                              LPARAM lParam) {
  const WNDPROC original = OriginalProcedure(hwnd);
  Win32Widget* widget = FromWindow(hwnd);
  if (original == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);
  if (widget == nullptr) return CallWindowProcW(original, hwnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    // The window goes with its parent, before the widget: the widget forgets it.
    widget->Forget(hwnd);
    return CallWindowProcW(original, hwnd, message, wParam, lParam);
  }
  // No exception may cross the system's frames; the framework reports its own errors before
  // they get here, so anything left is dropped rather than let through.
  try {
    LRESULT result = 0;
    if (widget->Intercept(hwnd, message, wParam, lParam, result)) return result;
  } catch (...) {
    return 0;
  }
  return CallWindowProcW(original, hwnd, message, wParam, lParam);
}

HWND Win32Widget::AddWindow(DWORD exStyle, const wchar_t* className, const std::string& text,
                            DWORD style, HWND parent, int left, int top, int width, int height,
                            int id) {
  const auto menu = reinterpret_cast<HMENU>(static_cast<std::intptr_t>(id));
  HWND hwnd = CreateWindowExW(exStyle, className, Widen(text).c_str(),
                              (style | WS_CHILD | WS_CLIPSIBLINGS) & ~WS_VISIBLE, left, top, width,
                              height, parent, menu, GetModuleHandleW(nullptr), nullptr);
  windows_.push_back(hwnd);
  if (hwnd == nullptr) return nullptr;
  const auto original = GetWindowLongPtrW(hwnd, GWLP_WNDPROC);
  SetPropW(hwnd, kProcedureProperty,
           reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(original)));
  SetPropW(hwnd, kWidgetProperty, static_cast<HANDLE>(this));
  SetWindowLongPtrW(hwnd, GWLP_WNDPROC,
                    static_cast<LONG_PTR>(reinterpret_cast<std::uintptr_t>(&WidgetProcedure)));
  Arrange(hwnd);
  return hwnd;
}

void Win32Widget::AddTooltip() {
  if (hint_.empty() || Main() == nullptr) return;
  InitCommonControlsOnce();
  tooltip_ = CreateWindowExW(
      WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
      CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, GetAncestor(Main(), GA_ROOT),
      nullptr, GetModuleHandleW(nullptr), nullptr);
  if (tooltip_ == nullptr) return;
  TTTOOLINFOW tool{};
  tool.cbSize = TTTOOLINFOW_V2_SIZE;  // understood by every version of the common controls
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = GetParent(Main());
  tool.uId = reinterpret_cast<UINT_PTR>(Main());
  // The control copies the text when the tool is added.
  std::wstring text = Widen(hint_);
  tool.lpszText = text.data();
  SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void Win32Widget::Arrange(HWND hwnd) {
  if (hwnd == nullptr) return;
  constexpr UINT kOrderOnly = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
  if (frame_) {
    SetWindowPos(hwnd, HWND_BOTTOM, 0, 0, 0, 0, kOrderOnly);
    return;
  }
  HWND frames = nullptr;  // the highest frame of the block at the bottom
  for (HWND sibling = GetWindow(hwnd, GW_HWNDLAST); sibling != nullptr;
       sibling = GetWindow(sibling, GW_HWNDPREV)) {
    if (sibling == hwnd) continue;
    const Win32Widget* widget = FromWindow(sibling);
    if (widget == nullptr || !widget->frame_) break;
    frames = sibling;
  }
  if (frames == nullptr) return;
  HWND above = GetWindow(frames, GW_HWNDPREV);
  if (above == hwnd) return;
  SetWindowPos(hwnd, above != nullptr ? above : HWND_TOP, 0, 0, 0, 0, kOrderOnly);
}

void Win32Widget::Forget(HWND hwnd) {
  RemovePropW(hwnd, kProcedureProperty);
  RemovePropW(hwnd, kWidgetProperty);
  std::replace(windows_.begin(), windows_.end(), hwnd, static_cast<HWND>(nullptr));
}

}  // namespace widgets

std::unique_ptr<IWidgetPeer> CreateWin32Widget(const WidgetParams& params, IWidgetEvents& events) {
  switch (params.kind) {
    case WidgetKind::SpinEdit:
      widgets::InitCommonControlsOnce();
      return widgets::CreateSpinEditWidget(params, events);
    case WidgetKind::Slider:
      widgets::InitCommonControlsOnce();
      return widgets::CreateSliderWidget(params, events);
    case WidgetKind::TabControl:
      widgets::InitCommonControlsOnce();
      return widgets::CreateTabWidget(params, events);
    case WidgetKind::Page:
      return widgets::CreatePageWidget(params, events);
    case WidgetKind::ComboBox:
      return widgets::CreateComboBoxWidget(params, events);
    case WidgetKind::Label:
    case WidgetKind::Button:
    case WidgetKind::CheckBox:
    case WidgetKind::RadioButton:
    case WidgetKind::GroupBox:
    default:
      return widgets::CreateTextWidget(params, events);
  }
}

bool ReflectToWidget(HWND parent, UINT message, WPARAM wParam, LPARAM lParam,
                     HBRUSH parentBackground, LRESULT& result) {
  HWND child = nullptr;
  switch (message) {
    case WM_COMMAND:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
      child = reinterpret_cast<HWND>(lParam);
      break;
    case WM_NOTIFY:
      if (lParam != 0) child = reinterpret_cast<const NMHDR*>(lParam)->hwndFrom;
      break;
    case WM_DRAWITEM:
      if (lParam != 0) child = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)->hwndItem;
      break;
    case WM_MEASUREITEM:
      // Only the control id tells which child asks; an owner-drawn widget's id is its own.
      if (lParam != 0) {
        const auto id = reinterpret_cast<const MEASUREITEMSTRUCT*>(lParam)->CtlID;
        if (id != 0) child = GetDlgItem(parent, static_cast<int>(id));
      }
      break;
    default:
      return false;
  }
  // Only the parent's own children: a menu command or a scroll bar of the parent itself has no
  // child, and a stray handle is not taken for one.
  if (child == nullptr || GetParent(child) != parent) return false;
  widgets::Win32Widget* widget = widgets::Win32Widget::FromWindow(child);
  return widget != nullptr &&
         widget->Reflect(child, message, wParam, lParam, parentBackground, result);
}

}  // namespace platform::win32
