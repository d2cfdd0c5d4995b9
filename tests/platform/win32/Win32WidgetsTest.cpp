// The Win32 widgets and common dialogs against the real system (Wine in the test tier): the
// owner-drawn drop-down list asks the model for its items' pixels and shows them where the system
// places the items, picture buttons show their picture, the file dialog hands back the path
// typed into it and the font picker the font it was given.

#ifdef _WIN32

// The ports' headers come before <windows.h> (pulled in by Win32Widgets.h), whose macros would
// rename the dialogs' methods; the macros are undefined so that the methods can be called.
#include "platform/win32/Win32Dialogs.h"
#include "platform/win32/Win32Widgets.h"
#include "platform/win32/Win32Blit.h"
#include "support/DialogDriver.h"
#include "support/Win32Screen.h"

#undef ChooseColor
#undef ChooseFont
#undef GetOpenFileName
#undef GetSaveFileName

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

using testsupport::DialogDriver;
using testsupport::PixelOf;
using testsupport::Pump;

using platform::WidgetKind;
using platform::WidgetParams;
using platform::WindowHandle;
using platform::win32::CreateWin32Widget;

constexpr char kHostClass[] = "TamikWidgetsTestHost";
constexpr int kItemHeight = 13;
constexpr int kItemCount = 16;

WindowHandle ToHandle(HWND hwnd) { return WindowHandle{reinterpret_cast<std::uintptr_t>(hwnd)}; }
HWND ToHwnd(WindowHandle handle) { return reinterpret_cast<HWND>(handle.value); }

// The colour the model draws item `index` in (0x00RRGGBB), one of its own for each item, and the
// same colour as GetPixel answers it (0x00BBGGRR).
std::uint32_t ItemColour(int index) {
  return 0x00200000u + static_cast<std::uint32_t>(index) * 0x00080000u + 0x00009040u;
}
COLORREF AsColorRef(std::uint32_t rgb) {
  return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

struct DrawCall {
  int index;
  bool selected;
  int width;
  int height;
};

// The model's side: records what the widget reports, and fills each item it is asked to draw
// with the item's colour.
class RecordingEvents final : public platform::IWidgetEvents {
 public:
  void NativeClick() override {}
  void NativeStep(int /*direction*/) override {}
  void NativePosition(int position) override { positions.push_back(position); }
  void NativePaint() override {}
  void NativeDrawItem(int index, bool selected, int width, int height,
                      std::uint32_t* pixels) override {
    draws.push_back({index, selected, width, height});
    std::fill_n(pixels, static_cast<std::size_t>(width) * static_cast<std::size_t>(height),
                ItemColour(index));
  }

  // The last request to draw item `index`, or null.
  const DrawCall* LastDrawOf(int index) const {
    const auto found = std::find_if(draws.rbegin(), draws.rend(),
                                    [index](const DrawCall& call) { return call.index == index; });
    return found == draws.rend() ? nullptr : &*found;
  }

  std::vector<int> positions;
  std::vector<DrawCall> draws;
};

// A top-level window that hands its children's messages to their widgets, as a form's window
// does.
LRESULT CALLBACK HostProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (platform::win32::ReflectToWidget(hwnd, message, wParam, lParam, nullptr, result)) {
    return result;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

// The window that holds every widget of these tests, created at the first call. It stays until the
// process ends: Wine takes about 2 s to hide or destroy a shown top-level window. Each test
// destroys the widgets it added.
HWND HostWindow() {
  static const bool registered = [] {
    WNDCLASSEXA hostClass{};
    hostClass.cbSize = sizeof hostClass;
    hostClass.lpfnWndProc = HostProcedure;
    hostClass.hInstance = GetModuleHandleA(nullptr);
    hostClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    hostClass.lpszClassName = kHostClass;
    return RegisterClassExA(&hostClass) != 0;
  }();
  if (!registered) return nullptr;
  static const HWND host =
      CreateWindowExA(0, kHostClass, "Widgets", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 20, 20,
                      400, 400, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  return host;
}

// Where a drop-down list's widget lives: straight on a form's window, or on a page.
enum class Holder { Window, Page };

class Win32ComboBoxTest : public ::testing::TestWithParam<Holder> {
 protected:
  void SetUp() override {
    host_ = HostWindow();
    ASSERT_NE(host_, nullptr);
    parent_ = host_;
    if (GetParam() == Holder::Page) {
      WidgetParams page;
      page.kind = WidgetKind::Page;
      page.parent = ToHandle(host_);
      page.width = 400;
      page.height = 400;
      page.background = 0x00C0C0C0;
      page_ = CreateWin32Widget(page, pageEvents_);
      parent_ = ToHwnd(page_->Handle());
      ASSERT_NE(parent_, nullptr);
    }
  }
  void TearDown() override {
    combo_.reset();
    page_.reset();
    Pump();
  }

  // A list as the options dialog has it: sixteen items, the third shown.
  static WidgetParams ComboParams(HWND parent) {
    WidgetParams params;
    params.kind = WidgetKind::ComboBox;
    params.parent = ToHandle(parent);
    params.left = 10;
    params.top = 10;
    params.width = 113;
    params.height = 21;
    params.value = 2;
    params.itemHeight = kItemHeight;
    for (int i = 0; i < kItemCount; ++i) params.items.push_back("Item " + std::to_string(i));
    return params;
  }
  void CreateCombo() {
    combo_ = CreateWin32Widget(ComboParams(parent_), events_);
    hwnd_ = ToHwnd(combo_->Handle());
    ASSERT_NE(hwnd_, nullptr);
    Pump();
  }

  COMBOBOXINFO Info() const {
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    EXPECT_NE(SendMessageA(hwnd_, CB_GETCOMBOBOXINFO, 0, reinterpret_cast<LPARAM>(&info)), 0);
    return info;
  }
  int Selection() const { return static_cast<int>(SendMessageA(hwnd_, CB_GETCURSEL, 0, 0)); }

  HWND host_ = nullptr;
  HWND parent_ = nullptr;
  HWND hwnd_ = nullptr;
  RecordingEvents pageEvents_;
  RecordingEvents events_;
  std::unique_ptr<platform::IWidgetPeer> page_;
  std::unique_ptr<platform::IWidgetPeer> combo_;
};

TEST_P(Win32ComboBoxTest, HoldsTheModelsItemsAndShowsTheItemItIsTold) {
  CreateCombo();
  ASSERT_EQ(SendMessageA(hwnd_, CB_GETCOUNT, 0, 0), kItemCount);
  char text[32] = {};
  SendMessageA(hwnd_, CB_GETLBTEXT, 5, reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ(text, "Item 5");
  EXPECT_EQ(Selection(), 2);

  combo_->SetValue(7);
  EXPECT_EQ(Selection(), 7);
  combo_->SetValue(-1);
  EXPECT_EQ(Selection(), CB_ERR);

  // New items replace the old ones, in order, and none is shown until the model picks one.
  combo_->SetValue(3);
  combo_->SetItems({"One", "Two"});
  ASSERT_EQ(SendMessageA(hwnd_, CB_GETCOUNT, 0, 0), 2);
  SendMessageA(hwnd_, CB_GETLBTEXT, 1, reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ(text, "Two");
  EXPECT_EQ(Selection(), CB_ERR);
  EXPECT_TRUE(events_.positions.empty());
}

TEST_P(Win32ComboBoxTest, ClosedBoxShowsTheModelsPixelsOfTheShownItem) {
  CreateCombo();
  // A larger font does not make the items taller: their height is the model's.
  platform::WidgetFont font;
  font.height = -20;
  combo_->SetFont(font);
  events_.draws.clear();
  combo_->Repaint();

  // The item is asked for at the size of the box's text area (the system leaves up to a pixel of
  // frame around it), and its pixels fill that area from one end to the other.
  const RECT area = Info().rcItem;
  const DrawCall* call = events_.LastDrawOf(2);
  ASSERT_NE(call, nullptr);
  EXPECT_EQ(call->height, kItemHeight);
  EXPECT_LE(call->width, area.right - area.left);
  EXPECT_GE(call->width, area.right - area.left - 2);
  const int y = (area.top + area.bottom) / 2;
  for (int x = area.left + 1; x < area.right - 1; ++x) {
    EXPECT_EQ(PixelOf(hwnd_, x, y), AsColorRef(ItemColour(2))) << x;
  }

  // With nothing shown the model is not asked, and the box shows the window colour.
  combo_->SetValue(-1);
  events_.draws.clear();
  combo_->Repaint();
  EXPECT_TRUE(events_.draws.empty());
  EXPECT_EQ(PixelOf(hwnd_, (area.left + area.right) / 2, y), GetSysColor(COLOR_WINDOW));
}

TEST_P(Win32ComboBoxTest, DroppedListShowsEveryItemInTheModelsPixels) {
  CreateCombo();
  events_.draws.clear();
  SendMessageA(hwnd_, CB_SHOWDROPDOWN, TRUE, 0);
  combo_->Repaint();
  Pump();
  const HWND list = Info().hwndList;
  ASSERT_NE(list, nullptr);
  ASSERT_TRUE(IsWindowVisible(list));
  RECT client;
  GetClientRect(list, &client);

  // All sixteen items fit: each one is asked for at its full width, only the shown one
  // highlighted, and its pixels land on its own row.
  for (int i = 0; i < kItemCount; ++i) {
    SCOPED_TRACE(i);
    const DrawCall* call = events_.LastDrawOf(i);
    ASSERT_NE(call, nullptr);
    EXPECT_EQ(call->width, client.right);
    EXPECT_EQ(call->height, kItemHeight);
    EXPECT_EQ(call->selected, i == 2);
    EXPECT_EQ(PixelOf(list, client.right / 2, i * kItemHeight + kItemHeight / 2),
              AsColorRef(ItemColour(i)));
  }
  SendMessageA(hwnd_, CB_SHOWDROPDOWN, FALSE, 0);
  Pump();
  EXPECT_TRUE(events_.positions.empty());
}

TEST_P(Win32ComboBoxTest, ReportsTheItemTheUserChooses) {
  CreateCombo();
  // The Down key on the closed box moves to the next item, as a choice in the list does.
  SendMessageA(hwnd_, WM_KEYDOWN, VK_DOWN, 0);
  Pump();
  EXPECT_EQ(events_.positions, std::vector<int>{3});

  // Other notifications of the box are not choices.
  SendMessageA(parent_, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd_), CBN_DROPDOWN),
               reinterpret_cast<LPARAM>(hwnd_));
  SendMessageA(parent_, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd_), CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(hwnd_));
  EXPECT_EQ(events_.positions, (std::vector<int>{3, 3}));
}

// A parent learns which list asks it to measure an item from the control id alone: lists that
// share a parent each answer for themselves.
TEST_P(Win32ComboBoxTest, EachListAnswersTheMeasuringOfItsOwnItems) {
  CreateCombo();
  WidgetParams tallParams = ComboParams(parent_);
  tallParams.top = 40;
  tallParams.itemHeight = 20;
  RecordingEvents tallEvents;
  const auto tall = CreateWin32Widget(tallParams, tallEvents);
  const HWND tallHwnd = ToHwnd(tall->Handle());
  ASSERT_NE(tallHwnd, nullptr);
  ASSERT_NE(GetDlgCtrlID(hwnd_), GetDlgCtrlID(tallHwnd));

  for (const auto& [hwnd, height] : {std::pair{hwnd_, kItemHeight}, std::pair{tallHwnd, 20}}) {
    MEASUREITEMSTRUCT measure{};
    measure.CtlType = ODT_COMBOBOX;
    measure.CtlID = static_cast<UINT>(GetDlgCtrlID(hwnd));
    measure.itemID = 0;
    measure.itemHeight = 1;
    SendMessageA(parent_, WM_MEASUREITEM, measure.CtlID, reinterpret_cast<LPARAM>(&measure));
    EXPECT_EQ(measure.itemHeight, static_cast<UINT>(height));
    EXPECT_EQ(SendMessageA(hwnd, CB_GETITEMHEIGHT, 0, 0), height);
  }
}

INSTANTIATE_TEST_SUITE_P(Holders, Win32ComboBoxTest,
                         ::testing::Values(Holder::Window, Holder::Page),
                         [](const ::testing::TestParamInfo<Holder>& info) {
                           return info.param == Holder::Window ? "OnWindow" : "OnPage";
                         });

TEST(Win32WidgetsTest, PictureButtonShowsItsPictureWhole) {
  const HWND host = HostWindow();
  ASSERT_NE(host, nullptr);
  constexpr int kWidth = 8;
  constexpr int kHeight = 6;
  WidgetParams params;
  params.kind = WidgetKind::Button;
  params.parent = ToHandle(host);
  params.left = 30;
  params.top = 30;
  params.width = 40;
  params.height = 30;
  params.text = "Caption";
  params.pictureWidth = kWidth;
  params.pictureHeight = kHeight;
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      params.picture.push_back(0x00100000u * static_cast<std::uint32_t>(x + 1) +
                               0x00000020u * static_cast<std::uint32_t>(y + 1) + 0x00004000u);
    }
  }
  RecordingEvents events;
  auto button = CreateWin32Widget(params, events);
  const HWND hwnd = ToHwnd(button->Handle());
  ASSERT_NE(hwnd, nullptr);
  button->Repaint();
  Pump();

  // The button holds the picture's pixels, rows top-down.
  const auto bitmap = reinterpret_cast<HBITMAP>(SendMessageA(hwnd, BM_GETIMAGE, IMAGE_BITMAP, 0));
  ASSERT_NE(bitmap, nullptr);
  BITMAPINFO info = platform::win32::TopDownDibInfo(kWidth, kHeight);
  std::vector<std::uint32_t> held(kWidth * kHeight);
  HDC screen = GetDC(nullptr);
  EXPECT_EQ(GetDIBits(screen, bitmap, 0, kHeight, held.data(), &info, DIB_RGB_COLORS), kHeight);
  ReleaseDC(nullptr, screen);
  for (auto& pixel : held) pixel &= 0x00FFFFFFu;
  EXPECT_EQ(held, params.picture);

  // And shows it whole, near the button's middle, instead of the caption.
  const int left = (params.width - kWidth) / 2;
  const int top = (params.height - kHeight) / 2;
  int shownLeft = -1;
  int shownTop = -1;
  for (int y = top - 2; y <= top + 2 && shownLeft < 0; ++y) {
    for (int x = left - 2; x <= left + 2 && shownLeft < 0; ++x) {
      if (PixelOf(hwnd, x, y) == AsColorRef(params.picture[0])) {
        shownLeft = x;
        shownTop = y;
      }
    }
  }
  ASSERT_GE(shownLeft, 0) << "the picture's first pixel is not near the middle";
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      EXPECT_EQ(PixelOf(hwnd, shownLeft + x, shownTop + y),
                AsColorRef(params.picture[y * kWidth + x]))
          << x << "," << y;
    }
  }
  button.reset();
  Pump();
}

std::string TempDirectory() {
  char path[MAX_PATH] = {};
  const DWORD length = GetTempPathA(MAX_PATH, path);
  std::string directory(path, length);
  while (!directory.empty() && directory.back() == '\\') directory.pop_back();
  return directory;
}

// Keeps the first TrueType face in the string at `data`.
int CALLBACK TakeTrueTypeFace(const LOGFONTA* font, const TEXTMETRICA* /*metrics*/, DWORD type,
                              LPARAM data) {
  if ((type & TRUETYPE_FONTTYPE) == 0 || font->lfFaceName[0] == '@') return 1;
  *reinterpret_cast<std::string*>(data) = font->lfFaceName;
  return 0;
}

// A face the font picker lists whatever fonts the system has: a TrueType face, which it offers
// in every size and style, with Cyrillic letters, so that the character set chosen is not the
// first one offered.
std::string FirstTrueTypeFace() {
  std::string face;
  LOGFONTA wanted{};
  wanted.lfCharSet = RUSSIAN_CHARSET;
  HDC screen = GetDC(nullptr);
  EnumFontFamiliesExA(screen, &wanted, &TakeTrueTypeFace, reinterpret_cast<LPARAM>(&face), 0);
  ReleaseDC(nullptr, screen);
  return face;
}

bool SameText(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

TEST(Win32DialogsTest, SaveDialogAnswersTheTypedNameInTheFolderItStartedIn) {
  const std::string folder = TempDirectory();
  ASSERT_FALSE(folder.empty());
  platform::win32::Win32Dialogs dialogs;
  const std::string before = dialogs.CurrentDirectory();
  platform::FileDialogParams params;
  params.filter = "Colour schemes (*.cpu)|*.cpu|All files (*.*)|*.*";  // no "|" at the end
  params.defaultExt = "cpu";
  params.initialDir = folder;
  params.fileName = "preset";

  // What the dialog showed: the preset name, and the labels of the filter's pairs.
  std::string shownName;
  std::vector<std::string> shownTypes;
  DialogDriver driver;
  const bool confirmed =
      driver.Run([&] { return dialogs.GetSaveFileName(ToHandle(HostWindow()), params); },
                 [&](HWND dialog) {
                   char text[MAX_PATH] = {};
                   // The name field: an edit (edt1) in Wine's dialog, a combo box (cmb13) in
                   // Windows'.
                   for (int id : {0x0480, 0x047C}) {
                     if (GetDlgItem(dialog, id) == nullptr) continue;
                     GetDlgItemTextA(dialog, id, text, sizeof text);
                     shownName = text;
                     SetDlgItemTextA(dialog, id, "TamikTyped");
                   }
                   const HWND types = GetDlgItem(dialog, 0x0470);  // cmb1
                   const auto count = SendMessageA(types, CB_GETCOUNT, 0, 0);
                   for (LRESULT i = 0; i < count; ++i) {
                     if (SendMessageA(types, CB_GETLBTEXTLEN, i, 0) >= LRESULT{sizeof text}) break;
                     SendMessageA(types, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
                     shownTypes.push_back(text);
                   }
                   PostMessageA(dialog, WM_COMMAND, IDOK, 0);
                 });
  ASSERT_TRUE(driver.appeared());
  EXPECT_TRUE(driver.closed());
  EXPECT_TRUE(confirmed);
  EXPECT_EQ(shownName, "preset");
  EXPECT_EQ(shownTypes, (std::vector<std::string>{"Colour schemes (*.cpu)", "All files (*.*)"}));
  // The default extension is added to the typed name, and the folder becomes the current one.
  EXPECT_TRUE(SameText(params.fileName, folder + "\\TamikTyped.cpu")) << params.fileName;
  EXPECT_TRUE(SameText(dialogs.CurrentDirectory(), folder)) << dialogs.CurrentDirectory();
  SetCurrentDirectoryA(before.c_str());
}

// Every field of the font goes into the picker and comes back from it unchanged when the user
// confirms at once; underline and strike-out differ so that a swap shows.
TEST(Win32DialogsTest, FontPickerAnswersTheFontItWasPresetWith) {
  platform::win32::Win32Dialogs dialogs;
  platform::WidgetFont font;
  font.name = FirstTrueTypeFace();
  ASSERT_FALSE(font.name.empty());
  font.height = -16;
  font.bold = true;
  font.italic = true;
  font.underline = true;
  font.strikeOut = false;
  font.charset = RUSSIAN_CHARSET;
  font.color = 0x000000FF;  // red, one of the picker's colours
  const platform::WidgetFont preset = font;
  DialogDriver driver;
  EXPECT_TRUE(driver.Run([&] { return dialogs.ChooseFont(ToHandle(HostWindow()), font); },
                         [](HWND dialog) { PostMessageA(dialog, WM_COMMAND, IDOK, 0); }));
  EXPECT_TRUE(driver.closed());
  EXPECT_EQ(font.name, preset.name);
  EXPECT_EQ(font.height, preset.height);
  EXPECT_EQ(font, preset);
}

}  // namespace

#endif  // _WIN32
