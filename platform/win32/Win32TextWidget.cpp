// The text widget: one class for every control that is a single STATIC or BUTTON window -
// labels, push buttons (with a caption or a picture), check boxes, radio buttons and group boxes.

#include <windows.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "platform/win32/Win32Blit.h"
#include "platform/win32/Win32WidgetsInternal.h"

namespace platform::win32::widgets {

namespace {

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

// Static text, check boxes, radio buttons and group frames: one STATIC or BUTTON window whose
// text is drawn straight on the parent's background.
class TextWidget final : public Win32Widget {
 public:
  TextWidget(const WidgetParams& params, IWidgetEvents& events)
      : Win32Widget(params, events), kind_(params.kind) {
    const wchar_t* className = L"BUTTON";
    DWORD style = 0;
    switch (kind_) {
      case WidgetKind::Label:
        className = L"STATIC";
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
      SendMessageW(hwnd, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture_.get()));
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
      SendMessageW(Main(), BM_SETCHECK, value != 0 ? BST_CHECKED : BST_UNCHECKED, 0);
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
               (GetWindowLongW(GetParent(child), GWL_STYLE) & WS_CLIPCHILDREN) == 0) {
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
        SendMessageW(GetParent(hwnd), WM_CTLCOLORSTATIC, wParam, reinterpret_cast<LPARAM>(hwnd)));
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

}  // namespace

std::unique_ptr<IWidgetPeer> CreateTextWidget(const WidgetParams& params, IWidgetEvents& events) {
  return std::make_unique<TextWidget>(params, events);
}

}  // namespace platform::win32::widgets
