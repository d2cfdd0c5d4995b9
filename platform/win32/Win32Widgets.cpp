#include "platform/win32/Win32Widgets.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <memory>
#include <type_traits>
#include <vector>

#include "platform/win32/Win32Blit.h"

namespace platform::win32 {

namespace {

// The properties every widget window carries: the widget it belongs to, and the class procedure
// that the widget's own procedure hands the window's messages on to. Properties rather than
// GWLP_USERDATA: that slot belongs to whoever implements a control's class.
constexpr char kWidgetProperty[] = "TamikWidget";
constexpr char kProcedureProperty[] = "TamikWidgetProc";
// The class of the pages: no procedure of its own (each page is subclassed once created) and no
// background brush (the page erases with its own colour).
constexpr char kPageClass[] = "TamikPage";

// The slider's timer that repeats a press on its ruler, and the period of the repetition. The id
// only has to differ from the trackbar's own timers, which are small numbers.
constexpr UINT_PTR kRulerTimer = 0x7A31;
constexpr UINT kRulerRepeatMs = 400;

// How many items a drop-down list shows at once; the list's window is made that high.
constexpr int kDroppedItems = 16;
// The first control id tried for a drop-down list. The parent learns which list asks it to measure
// an item from the control id alone, so each list takes an id that no sibling has.
constexpr int kFirstListId = 0x7A00;

// The port's default character set is the Win32 one.
static_assert(WidgetFont{}.charset == DEFAULT_CHARSET);

WindowHandle ToHandle(HWND hwnd) { return WindowHandle{reinterpret_cast<std::uintptr_t>(hwnd)}; }
HWND ToHwnd(WindowHandle handle) { return reinterpret_cast<HWND>(handle.value); }

struct GdiDeleter {
  void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
using FontPtr = std::unique_ptr<std::remove_pointer_t<HFONT>, GdiDeleter>;
using BrushPtr = std::unique_ptr<std::remove_pointer_t<HBRUSH>, GdiDeleter>;
using BitmapPtr = std::unique_ptr<std::remove_pointer_t<HBITMAP>, GdiDeleter>;

// The trackbar, up-down and tab classes live in comctl32 and exist once it has registered them.
void InitCommonControlsOnce() {
  static const bool initialised = [] {
    INITCOMMONCONTROLSEX init{};
    init.dwSize = sizeof init;
    init.dwICC = ICC_BAR_CLASSES | ICC_UPDOWN_CLASS | ICC_TAB_CLASSES;
    return InitCommonControlsEx(&init) != 0;
  }();
  (void)initialised;
}

void RegisterPageClassOnce() {
  static const bool registered = [] {
    WNDCLASSEXA pageClass{};
    pageClass.cbSize = sizeof pageClass;
    pageClass.lpfnWndProc = DefWindowProcA;
    pageClass.hInstance = GetModuleHandleA(nullptr);
    pageClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    pageClass.lpszClassName = kPageClass;
    return RegisterClassExA(&pageClass) != 0;
  }();
  (void)registered;
}

FontPtr CreateWidgetFont(const WidgetFont& font) {
  return FontPtr(CreateFontA(font.height, 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, font.italic,
                             font.underline, font.strikeOut, font.charset, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                             font.name.c_str()));
}

// A bitmap of opaque pixels (0x00RRGGBB, top-down rows); null when the pixels do not fill
// `width` x `height`.
BitmapPtr CreatePictureBitmap(const std::vector<std::uint32_t>& pixels, int width, int height) {
  if (width <= 0 || height <= 0 ||
      pixels.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {
    return nullptr;
  }
  const BITMAPINFO info = TopDownDibInfo(width, height);
  void* bits = nullptr;
  BitmapPtr bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (bitmap == nullptr || bits == nullptr) return nullptr;
  std::copy(pixels.begin(), pixels.end(), static_cast<std::uint32_t*>(bits));
  return bitmap;
}

WNDPROC OriginalProcedure(HWND hwnd) {
  return reinterpret_cast<WNDPROC>(
      reinterpret_cast<std::uintptr_t>(GetPropA(hwnd, kProcedureProperty)));
}

// The colours of text drawn straight on the parent: the font's colour over the parent's
// background. A parent without a brush of its own shows the system's face colour.
LRESULT ParentColours(HDC dc, const WidgetFont& font, HBRUSH parentBackground) {
  SetTextColor(dc, font.color);
  SetBkMode(dc, TRANSPARENT);
  HBRUSH brush = parentBackground != nullptr ? parentBackground : GetSysColorBrush(COLOR_BTNFACE);
  return reinterpret_cast<LRESULT>(brush);
}

bool IsColourMessage(UINT message) {
  return message == WM_CTLCOLORSTATIC || message == WM_CTLCOLORBTN || message == WM_CTLCOLOREDIT;
}

// A widget: one or two native child windows, all subclassed by WidgetProcedure so that the
// widget sees their messages first and learns when they are destroyed with their parent.
class Win32Widget : public IWidgetPeer {
 public:
  Win32Widget(const Win32Widget&) = delete;
  Win32Widget& operator=(const Win32Widget&) = delete;
  ~Win32Widget() override {
    if (tooltip_ != nullptr) DestroyWindow(tooltip_);
    // The windows go first: they may still use the font and the brush while being destroyed.
    for (auto it = windows_.rbegin(); it != windows_.rend(); ++it) {
      HWND hwnd = *it;
      if (hwnd == nullptr) continue;  // already destroyed with its parent
      SetWindowLongPtrA(
          hwnd, GWLP_WNDPROC,
          static_cast<LONG_PTR>(reinterpret_cast<std::uintptr_t>(OriginalProcedure(hwnd))));
      RemovePropA(hwnd, kProcedureProperty);
      RemovePropA(hwnd, kWidgetProperty);
      DestroyWindow(hwnd);
    }
  }

  WindowHandle Handle() const override { return ToHandle(Main()); }

  void SetBounds(int left, int top, int width, int height) override {
    if (Main() == nullptr) return;
    SetWindowPos(Main(), nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  void SetText(const std::string& text) override {
    if (Main() != nullptr) SetWindowTextA(Main(), text.c_str());
  }
  void SetVisible(bool visible) override {
    for (HWND hwnd : windows_) {
      if (hwnd != nullptr) ShowWindow(hwnd, visible ? SW_SHOWNA : SW_HIDE);
    }
  }
  void SetValue(int /*value*/) override {}
  void SetItems(const std::vector<std::string>& /*items*/) override {}
  void Repaint() override {
    if (Main() == nullptr) return;
    RedrawWindow(Main(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  }
  void InvalidateArea(int /*left*/, int /*top*/, int /*right*/, int /*bottom*/) override {}
  void CopyPixels(int /*left*/, int /*top*/, int /*width*/, int /*height*/,
                  const std::uint32_t* /*pixels*/, int /*stride*/) override {}
  void SetFont(const WidgetFont& font) override {
    font_ = font;
    HWND target = TextWindow();
    if (target == nullptr) return;
    FontPtr created = CreateWidgetFont(font);
    // The control lets go of the old font before it is deleted.
    SendMessageA(target, WM_SETFONT, reinterpret_cast<WPARAM>(created.get()), FALSE);
    hfont_ = std::move(created);
    InvalidateRect(target, nullptr, TRUE);
  }

  // Answers a message that the widget's window `child` sent to its parent. Returns whether it
  // did; `result` is then the parent's answer.
  virtual bool Reflect(HWND child, UINT message, WPARAM wParam, LPARAM lParam,
                       HBRUSH parentBackground, LRESULT& result) = 0;

  static Win32Widget* FromWindow(HWND hwnd) {
    return static_cast<Win32Widget*>(GetPropA(hwnd, kWidgetProperty));
  }

  // The procedure of every widget window. An event handler may destroy the widget (and with it
  // this window's subclassing): nothing here touches the widget after handing it a message.
  static LRESULT CALLBACK WidgetProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    const WNDPROC original = OriginalProcedure(hwnd);
    Win32Widget* widget = FromWindow(hwnd);
    if (original == nullptr) return DefWindowProcA(hwnd, message, wParam, lParam);
    if (widget == nullptr) return CallWindowProcA(original, hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
      // The window goes with its parent, before the widget: the widget forgets it.
      widget->Forget(hwnd);
      return CallWindowProcA(original, hwnd, message, wParam, lParam);
    }
    // No exception may cross the system's frames; the framework reports its own errors before
    // they get here, so anything left is dropped rather than let through.
    try {
      LRESULT result = 0;
      if (widget->Intercept(hwnd, message, wParam, lParam, result)) return result;
    } catch (...) {
      return 0;
    }
    return CallWindowProcA(original, hwnd, message, wParam, lParam);
  }

 protected:
  Win32Widget(const WidgetParams& params, IWidgetEvents& events)
      : events_(events), font_(params.font), hint_(params.hint) {}

  // Creates a hidden child window of `parent`, subclasses it and places it in the drawing order;
  // the caller shows it once it is set up, so the widget sees every message from the first paint
  // on. A frame sets frame_ before. `id` is the control id: the parent tells most children apart
  // by their windows, and only those that it learns of by id alone need one of their own.
  HWND AddWindow(DWORD exStyle, const char* className, const std::string& text, DWORD style,
                 HWND parent, int left, int top, int width, int height, int id = 0) {
    HWND hwnd = CreateWindowExA(
        exStyle, className, text.c_str(), (style | WS_CHILD | WS_CLIPSIBLINGS) & ~WS_VISIBLE, left,
        top, width, height, parent, reinterpret_cast<HMENU>(static_cast<std::intptr_t>(id)),
        GetModuleHandleA(nullptr), nullptr);
    windows_.push_back(hwnd);
    if (hwnd == nullptr) return nullptr;
    const auto original = GetWindowLongPtrA(hwnd, GWLP_WNDPROC);
    SetPropA(hwnd, kProcedureProperty,
             reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(original)));
    SetPropA(hwnd, kWidgetProperty, static_cast<HANDLE>(this));
    SetWindowLongPtrA(hwnd, GWLP_WNDPROC,
                      static_cast<LONG_PTR>(reinterpret_cast<std::uintptr_t>(&WidgetProcedure)));
    Arrange(hwnd);
    return hwnd;
  }

  // Shows the windows if the widget starts visible, and gives the widget its tooltip.
  void Start(bool visible) {
    if (visible) SetVisible(true);
    AddTooltip();
  }

  // A widget with a hint gets a tooltip of its own, owned by the top-level window, that watches
  // the widget's main window (the tooltip subclasses it to see the pointer).
  void AddTooltip() {
    if (hint_.empty() || Main() == nullptr) return;
    InitCommonControlsOnce();
    tooltip_ = CreateWindowExA(
        WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, GetAncestor(Main(), GA_ROOT),
        nullptr, GetModuleHandleA(nullptr), nullptr);
    if (tooltip_ == nullptr) return;
    TTTOOLINFOA tool{};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;  // understood by every version of the common controls
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = GetParent(Main());
    tool.uId = reinterpret_cast<UINT_PTR>(Main());
    tool.lpszText = hint_.data();
    SendMessageA(tooltip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
  }

  // Places a new window in its siblings' drawing order. Frames (group boxes, the tab control)
  // lie under every other widget of their parent, the widgets placed on them above, in the order
  // of creation: with WS_CLIPSIBLINGS a frame then never paints over what lies on it, whichever
  // was created first. The system puts a new child window at the bottom; the frames stay in one
  // block there, and any other window moves to just above that block.
  void Arrange(HWND hwnd) {
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
  void Forget(HWND hwnd) {
    RemovePropA(hwnd, kProcedureProperty);
    RemovePropA(hwnd, kWidgetProperty);
    std::replace(windows_.begin(), windows_.end(), hwnd, static_cast<HWND>(nullptr));
  }

  std::vector<HWND> windows_;
};

// Static text, check boxes, radio buttons and group frames: one STATIC or BUTTON window whose
// text is drawn straight on the parent's background.
class TextWidget final : public Win32Widget {
 public:
  TextWidget(const WidgetParams& params, IWidgetEvents& events)
      : Win32Widget(params, events), kind_(params.kind) {
    const char* className = "BUTTON";
    DWORD style = 0;
    switch (kind_) {
      case WidgetKind::Label:
        className = "STATIC";
        // One line, cut at the label's width: a caption wider than the layout allows for (a
        // wider substitute font) must not wrap onto a line nobody sees.
        // SS_NOTIFY: a click on a label (a link) is reported like a button's.
        style = SS_LEFTNOWORDWRAP | SS_NOPREFIX | SS_NOTIFY;
        break;
      case WidgetKind::Button:
        style = BS_PUSHBUTTON | BS_FLAT | WS_TABSTOP;
        picture_ = CreatePictureBitmap(params.picture, params.pictureWidth, params.pictureHeight);
        // The picture shows instead of the caption.
        if (picture_ != nullptr) style |= BS_BITMAP;
        break;
      case WidgetKind::CheckBox:
        // Not BS_AUTOCHECKBOX: the check mark is the model's to set.
        style = BS_CHECKBOX | WS_TABSTOP;
        break;
      case WidgetKind::RadioButton:
        style = BS_RADIOBUTTON | WS_TABSTOP;
        break;
      default:
        style = BS_GROUPBOX;
        frame_ = true;
        break;
    }
    HWND hwnd = AddWindow(0, className, params.text, style, ToHwnd(params.parent), params.left,
                          params.top, params.width, params.height);
    if (hwnd != nullptr && picture_ != nullptr) {
      SendMessageA(hwnd, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture_.get()));
    }
    if (kind_ == WidgetKind::Label && !params.transparent) {
      background_.reset(CreateSolidBrush(params.background));
      backgroundColour_ = params.background;
    }
    SetFont(params.font);
    SetValue(params.value);
    Start(params.visible);
  }

  void SetValue(int value) override {
    if (Main() == nullptr) return;
    if (kind_ == WidgetKind::CheckBox || kind_ == WidgetKind::RadioButton) {
      SendMessageA(Main(), BM_SETCHECK, value != 0 ? BST_CHECKED : BST_UNCHECKED, 0);
    }
  }

  bool Reflect(HWND child, UINT message, WPARAM wParam, LPARAM /*lParam*/, HBRUSH parentBackground,
               LRESULT& result) override {
    if (message == WM_COMMAND) {
      // STN_CLICKED of a label has the value of BN_CLICKED.
      static_assert(STN_CLICKED == BN_CLICKED);
      if (HIWORD(wParam) != BN_CLICKED || kind_ == WidgetKind::GroupBox) return false;
      result = 0;
      events_.NativeClick();
      return true;
    }
    if (!IsColourMessage(message)) return false;
    HDC dc = reinterpret_cast<HDC>(wParam);
    if (background_ != nullptr) {
      SetTextColor(dc, font_.color);
      SetBkColor(dc, backgroundColour_);
      SetBkMode(dc, OPAQUE);
      result = reinterpret_cast<LRESULT>(background_.get());
    } else if (kind_ == WidgetKind::Label &&
               (GetWindowLongA(GetParent(child), GWL_STYLE) & WS_CLIPCHILDREN) == 0) {
      // The parent paints beneath its children (a picture may lie there): the label draws its
      // text only, and what the parent painted shows around the letters.
      SetTextColor(dc, font_.color);
      SetBkMode(dc, TRANSPARENT);
      result = reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
    } else {
      result = ParentColours(dc, font_, parentBackground);
    }
    return true;
  }

 protected:
  bool Intercept(HWND hwnd, UINT message, WPARAM wParam, LPARAM /*lParam*/,
                 LRESULT& result) override {
    if (kind_ != WidgetKind::GroupBox || message != WM_ERASEBKGND) return false;
    // A group box draws only its frame and caption, and a parent with WS_CLIPCHILDREN does not
    // paint under it: the box fills its inside with the parent's background itself, asked the
    // way the box asks for its caption's colours. Siblings on the box are clipped out.
    HDC dc = reinterpret_cast<HDC>(wParam);
    auto brush = reinterpret_cast<HBRUSH>(
        SendMessageA(GetParent(hwnd), WM_CTLCOLORSTATIC, wParam, reinterpret_cast<LPARAM>(hwnd)));
    if (brush == nullptr) return false;
    RECT client;
    GetClientRect(hwnd, &client);
    FillRect(dc, &client, brush);
    result = 1;
    return true;
  }

 private:
  WidgetKind kind_;
  COLORREF backgroundColour_ = 0;
};

// A read-only, right-aligned edit with an up-down control at its right, together filling the
// widget's rectangle. The up-down has no buddy: the model owns the number, and the buttons and
// the edit's Up and Down keys only report steps.
class SpinEditWidget final : public Win32Widget {
 public:
  SpinEditWidget(const WidgetParams& params, IWidgetEvents& events) : Win32Widget(params, events) {
    HWND parent = ToHwnd(params.parent);
    AddWindow(WS_EX_CLIENTEDGE, "EDIT", params.text,
              ES_READONLY | ES_RIGHT | ES_AUTOHSCROLL | WS_TABSTOP, parent, params.left, params.top,
              params.width, params.height);
    HWND upDown = AddWindow(0, UPDOWN_CLASSA, "", 0, parent, params.left, params.top, params.width,
                            params.height);
    if (upDown != nullptr) {
      // The position never moves (every change is refused in UDN_DELTAPOS); a range around it
      // keeps both buttons live. These are the 16-bit messages, which every comctl32 knows;
      // UDM_SETRANGE takes the maximum in the low word. The accelerations stay the control's
      // own: a held button repeats at the control's pace, and a larger increment still counts
      // as one step. (Wine reads an acceleration's seconds as the repetition period, so an
      // acceleration of {0, 1} would repeat at every timer tick.)
      SendMessageA(upDown, UDM_SETRANGE, 0, MAKELPARAM(100, 0));
      SendMessageA(upDown, UDM_SETPOS, 0, MAKELPARAM(50, 0));
    }
    SetBounds(params.left, params.top, params.width, params.height);
    SetFont(params.font);
    Start(params.visible);
  }

  void SetBounds(int left, int top, int width, int height) override {
    const int buttons = std::clamp(GetSystemMetrics(SM_CXVSCROLL), 0, std::max(width / 2, 0));
    if (Edit() != nullptr) {
      SetWindowPos(Edit(), nullptr, left, top, width - buttons, height,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (UpDown() != nullptr) {
      SetWindowPos(UpDown(), nullptr, left + width - buttons, top, buttons, height,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    }
  }

  bool Reflect(HWND child, UINT message, WPARAM wParam, LPARAM lParam, HBRUSH /*parentBackground*/,
               LRESULT& result) override {
    if (child == UpDown()) {
      if (message == WM_VSCROLL) {
        result = 0;
        return true;
      }
      if (message != WM_NOTIFY) return false;
      const auto* change = reinterpret_cast<const NMUPDOWN*>(lParam);
      if (change->hdr.code != UDN_DELTAPOS) return false;
      result = 1;  // refused: the up-down's own position stays where it is
      if (change->iDelta != 0) events_.NativeStep(change->iDelta > 0 ? 1 : -1);
      return true;
    }
    if (!IsColourMessage(message)) return false;
    // A read-only edit is drawn grey by default; this one looks like any edit.
    HDC dc = reinterpret_cast<HDC>(wParam);
    SetTextColor(dc, font_.color);
    SetBkColor(dc, GetSysColor(COLOR_WINDOW));
    result = reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
    return true;
  }

 protected:
  bool Intercept(HWND hwnd, UINT message, WPARAM wParam, LPARAM /*lParam*/,
                 LRESULT& result) override {
    if (hwnd != Edit() || message != WM_KEYDOWN || (wParam != VK_UP && wParam != VK_DOWN)) {
      return false;
    }
    result = 0;
    events_.NativeStep(wParam == VK_UP ? 1 : -1);
    return true;
  }

 private:
  HWND Edit() const { return Window(0); }
  HWND UpDown() const { return Window(1); }
};

// A horizontal trackbar with a tick at every position. The trackbar moves its thumb itself for
// drags and keys, and each new position is reported once. A press on the ruler beside the thumb
// does not page natively: it asks for one step toward the press at once and again every 400 ms
// while the button is held and the pointer stays on that side of the thumb; the model moves the
// thumb.
class SliderWidget final : public Win32Widget {
 public:
  SliderWidget(const WidgetParams& params, IWidgetEvents& events) : Win32Widget(params, events) {
    HWND hwnd =
        AddWindow(0, TRACKBAR_CLASSA, "", TBS_HORZ | TBS_AUTOTICKS | TBS_BOTTOM | WS_TABSTOP,
                  ToHwnd(params.parent), params.left, params.top, params.width, params.height);
    if (hwnd != nullptr) {
      // TBM_SETRANGE packs both ends into 16 bits each; the 32-bit messages do not.
      SendMessageA(hwnd, TBM_SETRANGEMIN, FALSE, params.minValue);
      SendMessageA(hwnd, TBM_SETRANGEMAX, FALSE, params.maxValue);
      SendMessageA(hwnd, TBM_SETTICFREQ, 1, 0);
      SendMessageA(hwnd, TBM_SETLINESIZE, 0, 1);
      SendMessageA(hwnd, TBM_SETPAGESIZE, 0, 1);
    }
    SetValue(params.value);
    Start(params.visible);
  }

  void SetValue(int value) override {
    if (Main() == nullptr) return;
    SendMessageA(Main(), TBM_SETPOS, TRUE, value);
    position_ = Position();
  }

  bool Reflect(HWND /*child*/, UINT message, WPARAM wParam, LPARAM /*lParam*/,
               HBRUSH parentBackground, LRESULT& result) override {
    if (IsColourMessage(message)) {
      result = ParentColours(reinterpret_cast<HDC>(wParam), font_, parentBackground);
      return true;
    }
    if (message != WM_HSCROLL) return false;
    result = 0;
    Report(Position());
    return true;
  }

  // Nothing to draw text with.
  HWND TextWindow() const override { return nullptr; }

 protected:
  bool Intercept(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    result = 0;
    switch (message) {
      case WM_LBUTTONDOWN:
      case WM_LBUTTONDBLCLK: {
        const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        const RECT thumb = Thumb();
        if (PtInRect(&thumb, point)) return false;  // the trackbar drags its thumb
        rulerDirection_ = point.x < thumb.left ? -1 : 1;
        SetFocus(hwnd);
        SetCapture(hwnd);
        SetTimer(hwnd, kRulerTimer, kRulerRepeatMs, nullptr);
        RulerStep();
        return true;
      }
      case WM_MOUSEMOVE:
        return rulerDirection_ != 0;
      case WM_LBUTTONUP:
        if (rulerDirection_ == 0) return false;
        EndRuler();
        if (GetCapture() == hwnd) ReleaseCapture();
        return true;
      case WM_CAPTURECHANGED:
        EndRuler();
        return false;
      case WM_TIMER:
        if (wParam != kRulerTimer) return false;
        if (rulerDirection_ != 0 && PointerBeside()) RulerStep();
        return true;
      default:
        return false;
    }
  }

 private:
  int Position() const { return static_cast<int>(SendMessageA(Main(), TBM_GETPOS, 0, 0)); }
  RECT Thumb() const {
    RECT thumb{};
    SendMessageA(Main(), TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    return thumb;
  }

  // Reports a position the model has not seen yet, last: the model may destroy the widget.
  void Report(int position) {
    if (position == position_) return;
    position_ = position;
    events_.NativePosition(position);
  }

  void RulerStep() {
    const int minimum = static_cast<int>(SendMessageA(Main(), TBM_GETRANGEMIN, 0, 0));
    const int maximum = static_cast<int>(SendMessageA(Main(), TBM_GETRANGEMAX, 0, 0));
    const int current = Position();
    const int target = std::clamp(current + rulerDirection_, minimum, std::max(minimum, maximum));
    if (target != current) Report(target);
  }

  // Whether the pointer is still on the side of the thumb where the ruler was pressed.
  bool PointerBeside() const {
    POINT point;
    if (!GetCursorPos(&point) || !ScreenToClient(Main(), &point)) return false;
    const RECT thumb = Thumb();
    return rulerDirection_ < 0 ? point.x < thumb.left : point.x >= thumb.right;
  }

  void EndRuler() {
    if (rulerDirection_ == 0) return;
    rulerDirection_ = 0;
    KillTimer(Main(), kRulerTimer);
  }

  int position_ = 0;        // the position last shown or reported
  int rulerDirection_ = 0;  // -1 or +1 while a press on the ruler is held, else 0
};

// A row of tabs drawn as flat buttons; reports the tab the user chose.
class TabWidget final : public Win32Widget {
 public:
  TabWidget(const WidgetParams& params, IWidgetEvents& events) : Win32Widget(params, events) {
    frame_ = true;
    HWND hwnd =
        AddWindow(0, WC_TABCONTROLA, "", TCS_BUTTONS | TCS_FLATBUTTONS | WS_TABSTOP,
                  ToHwnd(params.parent), params.left, params.top, params.width, params.height);
    // The font first: the tabs are measured in it. Each tab is as wide as its caption and the
    // padding, without the control's minimum width, so that a row of short captions takes the
    // room the layout expects (Wine's minimum of 54 pixels would push Tamik's five tabs out).
    SetFont(params.font);
    if (hwnd != nullptr) {
      SendMessageA(hwnd, TCM_SETMINTABWIDTH, 0, 0);
      // Narrower padding than the default 6 pixels a side: fonts wider than the classic one
      // (Wine's) still fit the five captions into the dialog's client width.
      SendMessageA(hwnd, TCM_SETPADDING, 0, MAKELPARAM(4, 3));
      for (std::size_t i = 0; i < params.items.size(); ++i) {
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<char*>(params.items[i].c_str());
        SendMessageA(hwnd, TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
      }
    }
    SetValue(params.value);
    Start(params.visible);
  }

  void SetText(const std::string& /*text*/) override {}
  void SetValue(int value) override {
    if (Main() != nullptr) SendMessageA(Main(), TCM_SETCURSEL, static_cast<WPARAM>(value), 0);
  }

  bool Reflect(HWND /*child*/, UINT message, WPARAM /*wParam*/, LPARAM lParam,
               HBRUSH /*parentBackground*/, LRESULT& result) override {
    if (message != WM_NOTIFY) return false;
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header->code != static_cast<UINT>(TCN_SELCHANGE)) return false;
    result = 0;
    events_.NativePosition(static_cast<int>(SendMessageA(Main(), TCM_GETCURSEL, 0, 0)));
    return true;
  }
};

// A drop-down list without an edit field whose items the model draws, in the list and in the
// closed box. The box changes its selection itself when the user picks an item and reports it;
// the model then shows the same item, which changes nothing.
class ComboBoxWidget final : public Win32Widget {
 public:
  ComboBoxWidget(const WidgetParams& params, IWidgetEvents& events)
      : Win32Widget(params, events), itemHeight_(params.itemHeight) {
    HWND parent = ToHwnd(params.parent);
    // The box measures its items while it is created, before this widget knows its window: the
    // heights are set again below.
    HWND hwnd = AddWindow(
        0, "COMBOBOX", "",
        CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS | WS_VSCROLL | WS_TABSTOP, parent,
        params.left, params.top, params.width, params.height, FreeChildId(parent));
    if (hwnd != nullptr) {
      SetFont(params.font);  // also sets the item heights
      SetItems(params.items);
      SetValue(params.value);
      SetBounds(params.left, params.top, params.width, params.height);
    }
    Start(params.visible);
  }

  // `height` is the closed box's; the window reaches further down, over the dropped list.
  void SetBounds(int left, int top, int width, int height) override {
    if (Main() == nullptr) return;
    const int itemHeight = static_cast<int>(SendMessageA(Main(), CB_GETITEMHEIGHT, 0, 0));
    // The list's border takes a pixel above and below its items.
    const int listHeight = std::max(itemHeight, 0) * kDroppedItems + 2;
    SetWindowPos(Main(), nullptr, left, top, width, height + listHeight,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
  void SetText(const std::string& /*text*/) override {}
  void SetFont(const WidgetFont& font) override {
    Win32Widget::SetFont(font);
    SetItemHeights();
  }
  void SetValue(int value) override {
    if (Main() != nullptr) SendMessageA(Main(), CB_SETCURSEL, static_cast<WPARAM>(value), 0);
  }
  void SetItems(const std::vector<std::string>& items) override {
    if (Main() == nullptr) return;
    SendMessageA(Main(), CB_RESETCONTENT, 0, 0);
    for (const std::string& item : items) {
      SendMessageA(Main(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    }
  }
  void Repaint() override {
    if (Main() == nullptr) return;
    RedrawWindow(Main(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    // The dropped list is a window of its own, outside the box.
    if (SendMessageA(Main(), CB_GETDROPPEDSTATE, 0, 0) == 0) return;
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    if (SendMessageA(Main(), CB_GETCOMBOBOXINFO, 0, reinterpret_cast<LPARAM>(&info)) != 0 &&
        info.hwndList != nullptr) {
      RedrawWindow(info.hwndList, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    }
  }

  bool Reflect(HWND /*child*/, UINT message, WPARAM wParam, LPARAM lParam,
               HBRUSH /*parentBackground*/, LRESULT& result) override {
    switch (message) {
      case WM_COMMAND:
        if (HIWORD(wParam) != CBN_SELCHANGE) return false;
        result = 0;
        events_.NativePosition(static_cast<int>(SendMessageA(Main(), CB_GETCURSEL, 0, 0)));
        return true;
      case WM_MEASUREITEM:
        if (itemHeight_ <= 0) return false;
        reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = static_cast<UINT>(itemHeight_);
        result = TRUE;
        return true;
      case WM_DRAWITEM:
        DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        result = TRUE;
        return true;
      default:
        return false;
    }
  }

 private:
  // A control id that no child of `parent` has yet.
  static int FreeChildId(HWND parent) {
    int id = kFirstListId;
    while (GetDlgItem(parent, id) != nullptr) ++id;
    return id;
  }

  // The closed box (-1) and the list's items (0) take the model's item height; without one the
  // box keeps its own.
  void SetItemHeights() {
    if (Main() == nullptr || itemHeight_ <= 0) return;
    SendMessageA(Main(), CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), itemHeight_);
    SendMessageA(Main(), CB_SETITEMHEIGHT, 0, itemHeight_);
  }

  void DrawItem(const DRAWITEMSTRUCT& item) {
    const RECT& place = item.rcItem;
    const int width = place.right - place.left;
    const int height = place.bottom - place.top;
    if (width <= 0 || height <= 0) return;
    if (item.itemID == static_cast<UINT>(-1)) {
      // Nothing chosen: the closed box, or an empty list, shows the window colour.
      FillRect(item.hDC, &place, GetSysColorBrush(COLOR_WINDOW));
    } else {
      pixels_.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
      events_.NativeDrawItem(static_cast<int>(item.itemID), (item.itemState & ODS_SELECTED) != 0,
                             width, height, pixels_.data());
      CopyPixelsToDc(item.hDC, place.left, place.top, width, height, pixels_.data(), width);
    }
    if ((item.itemState & ODS_FOCUS) != 0) DrawFocusRect(item.hDC, &place);
  }

  int itemHeight_;
  // The pixels of the item being drawn; kept, so that drawing does not allocate once the largest
  // item has been drawn.
  std::vector<std::uint32_t> pixels_;
};

// A plain window filled with its colour that holds widgets and passes their notifications on
// to them, as a form's window does.
class PageWidget final : public Win32Widget {
 public:
  PageWidget(const WidgetParams& params, IWidgetEvents& events) : Win32Widget(params, events) {
    RegisterPageClassOnce();
    background_.reset(CreateSolidBrush(params.background));
    AddWindow(WS_EX_CONTROLPARENT, kPageClass, "", WS_CLIPCHILDREN, ToHwnd(params.parent),
              params.left, params.top, params.width, params.height);
    Start(params.visible);
  }

  void SetText(const std::string& /*text*/) override {}

  bool Reflect(HWND /*child*/, UINT /*message*/, WPARAM /*wParam*/, LPARAM /*lParam*/,
               HBRUSH /*parentBackground*/, LRESULT& /*result*/) override {
    return false;
  }

  HWND TextWindow() const override { return nullptr; }

  void InvalidateArea(int left, int top, int right, int bottom) override {
    if (Main() == nullptr) return;
    const RECT area{left, top, right, bottom};
    InvalidateRect(Main(), &area, TRUE);
  }
  void CopyPixels(int left, int top, int width, int height, const std::uint32_t* pixels,
                  int stride) override {
    if (Main() == nullptr || width <= 0 || height <= 0 || pixels == nullptr) return;
    HDC dc = paintDc_ != nullptr ? paintDc_ : GetDC(Main());
    CopyPixelsToDc(dc, left, top, width, height, pixels, stride);
    if (dc != paintDc_) ReleaseDC(Main(), dc);
  }

 protected:
  bool Intercept(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    if (message == WM_ERASEBKGND) {
      RECT client;
      GetClientRect(hwnd, &client);
      FillRect(reinterpret_cast<HDC>(wParam), &client, background_.get());
      result = 1;
      return true;
    }
    if (message == WM_PAINT) {
      // The page's windowless controls draw into the paint's device context.
      PAINTSTRUCT paint;
      paintDc_ = BeginPaint(hwnd, &paint);
      events_.NativePaint();
      paintDc_ = nullptr;
      EndPaint(hwnd, &paint);
      result = 0;
      return true;
    }
    return ReflectToWidget(hwnd, message, wParam, lParam, background_.get(), result);
  }

 private:
  HDC paintDc_ = nullptr;
};

}  // namespace

std::unique_ptr<IWidgetPeer> CreateWin32Widget(const WidgetParams& params, IWidgetEvents& events) {
  switch (params.kind) {
    case WidgetKind::SpinEdit:
      InitCommonControlsOnce();
      return std::make_unique<SpinEditWidget>(params, events);
    case WidgetKind::Slider:
      InitCommonControlsOnce();
      return std::make_unique<SliderWidget>(params, events);
    case WidgetKind::TabControl:
      InitCommonControlsOnce();
      return std::make_unique<TabWidget>(params, events);
    case WidgetKind::Page:
      return std::make_unique<PageWidget>(params, events);
    case WidgetKind::ComboBox:
      return std::make_unique<ComboBoxWidget>(params, events);
    case WidgetKind::Label:
    case WidgetKind::Button:
    case WidgetKind::CheckBox:
    case WidgetKind::RadioButton:
    case WidgetKind::GroupBox:
    default:
      return std::make_unique<TextWidget>(params, events);
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
  Win32Widget* widget = Win32Widget::FromWindow(child);
  return widget != nullptr &&
         widget->Reflect(child, message, wParam, lParam, parentBackground, result);
}

}  // namespace platform::win32
