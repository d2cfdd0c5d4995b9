// The combo box: an owner-drawn drop-down list whose items the model draws.

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/win32/Win32Blit.h"
#include "platform/win32/Win32WidgetsInternal.h"

namespace platform::win32::widgets {

namespace {

// How many items a drop-down list shows at once; the list's window is made that high.
constexpr int kDroppedItems = 16;
// The first control id tried for a drop-down list. The parent learns which list asks it to measure
// an item from the control id alone, so each list takes an id that no sibling has.
constexpr int kFirstListId = 0x7A00;

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
        0, L"COMBOBOX", "",
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
    const int itemHeight = static_cast<int>(SendMessageW(Main(), CB_GETITEMHEIGHT, 0, 0));
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
    if (Main() != nullptr) SendMessageW(Main(), CB_SETCURSEL, static_cast<WPARAM>(value), 0);
  }
  void SetItems(const std::vector<std::string>& items) override {
    if (Main() == nullptr) return;
    SendMessageW(Main(), CB_RESETCONTENT, 0, 0);
    for (const std::string& item : items) {
      SendMessageW(Main(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(item).c_str()));
    }
  }
  void Repaint() override {
    if (Main() == nullptr) return;
    RedrawWindow(Main(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    // The dropped list is a window of its own, outside the box.
    if (SendMessageW(Main(), CB_GETDROPPEDSTATE, 0, 0) == 0) return;
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    if (SendMessageW(Main(), CB_GETCOMBOBOXINFO, 0, reinterpret_cast<LPARAM>(&info)) != 0 &&
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
        events_.NativePosition(static_cast<int>(SendMessageW(Main(), CB_GETCURSEL, 0, 0)));
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
    SendMessageW(Main(), CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), itemHeight_);
    SendMessageW(Main(), CB_SETITEMHEIGHT, 0, itemHeight_);
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

}  // namespace

std::unique_ptr<IWidgetPeer> CreateComboBoxWidget(const WidgetParams& params,
                                                  IWidgetEvents& events) {
  return std::make_unique<ComboBoxWidget>(params, events);
}

}  // namespace platform::win32::widgets
