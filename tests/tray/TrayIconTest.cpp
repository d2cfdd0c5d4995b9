#include "tray/TrayIcon.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/FakeScreen.h"
#include "fakes/FakeShell.h"
#include "fakes/FakeWindowSystem.h"
#include "framework/Exception.h"
#include "framework/Forms.h"
#include "framework/Menus.h"

namespace {

using platform::kNimAdd;
using platform::kNimDelete;
using platform::kNimModify;
using Messages = std::vector<std::uint32_t>;

constexpr platform::IconHandle kIcon{0x1C0};

// One tray icon owned by a form of an application on fake ports. The icon is made as a layout
// makes it: properties first, then Loaded; the shell's calls so far are then forgotten.
class TrayIconTest : public ::testing::Test {
 protected:
  TTrayIcon* Make(bool active, const std::string& hint = "tip") {
    tray = new TTrayIcon(form);
    tray->Icon()->SetHandle(kIcon);
    tray->SetHint(hint);
    tray->SetActive(active);
    tray->Loaded();
    shell.calls.clear();
    return tray;
  }
  // A mouse message on the newest icon, as the shell reports it.
  bool Mouse(std::uint32_t message) {
    return windows.SendToMessageWindow(windows.messageWindows.size() - 1,
                                       TTrayIcon::kCallbackMessage, 0,
                                       static_cast<std::intptr_t>(message));
  }
  TMenuItem* AddItem(const char* caption, bool enabled = true, bool isDefault = false) {
    auto* item = new TMenuItem(form);
    item->SetCaption(caption);
    item->SetEnabled(enabled);
    item->SetDefault(isDefault);
    menu->Add(item);
    return item;
  }

  FakeWindowSystem windows;
  FakeShell shell;
  FakeScreen screen;
  TApplication application{{.Windows = &windows, .Graphics = {&screen, nullptr}, .Shell = &shell}};
  TForm* form = application.CreateForm<TForm>();
  TPopupMenu* menu = new TPopupMenu(form);
  TTrayIcon* tray = nullptr;
};

TEST_F(TrayIconTest, WritesBeforeTheLayoutIsCompleteOnlyStore) {
  tray = new TTrayIcon(form);
  EXPECT_TRUE(tray->Active());
  tray->Icon()->SetHandle(kIcon);
  tray->SetHint("a");
  tray->SetActive(false);
  tray->SetActive(true);
  EXPECT_TRUE(shell.calls.empty());
  tray->Loaded();
  EXPECT_EQ(shell.Messages(), (Messages{kNimDelete, kNimAdd}));
  EXPECT_TRUE(tray->Added());
}

TEST_F(TrayIconTest, TheRecordIsTheFirstFormWithTheHiddenWindow) {
  Make(false);
  tray->SetActive(true);
  ASSERT_EQ(shell.calls.size(), 2u);
  const platform::NotifyIconData& data = shell.calls[1].data;
  EXPECT_EQ(data.cbSize, sizeof(void*) == 8 ? 104u : 88u);
  EXPECT_NE(tray->WindowHandle().value, 0u);
  EXPECT_EQ(data.hWnd, tray->WindowHandle());
  EXPECT_EQ(data.uID, 0u);
  EXPECT_EQ(data.uFlags, 7u);
  EXPECT_EQ(data.uCallbackMessage, 45140u);
  EXPECT_EQ(data.hIcon, kIcon);
  EXPECT_EQ(shell.calls[1].Tip(), "tip");
}

TEST_F(TrayIconTest, ActiveSwitchesAddAndRemove) {
  Make(false);
  tray->SetActive(true);
  tray->SetActive(true);
  EXPECT_EQ(shell.Messages(), (Messages{kNimDelete, kNimAdd}));
  shell.calls.clear();
  tray->SetActive(false);
  EXPECT_EQ(shell.Messages(), (Messages{kNimDelete}));
  EXPECT_FALSE(tray->Added());
}

TEST_F(TrayIconTest, AnAddWithAnEmptyTipIsModifiedAtOnce) {
  Make(false, "");
  tray->SetActive(true);
  EXPECT_EQ(shell.Messages(), (Messages{kNimDelete, kNimAdd, kNimModify}));
}

TEST_F(TrayIconTest, OnlyAChangedHintReachesTheShell) {
  Make(true);
  tray->SetHint("Uptime: 1");
  tray->SetHint("Uptime: 1");
  EXPECT_EQ(shell.Messages(), (Messages{kNimModify}));
  tray->SetHint("uptime: 1");  // compared exactly
  EXPECT_EQ(shell.Messages(), (Messages{kNimModify, kNimModify}));
}

TEST_F(TrayIconTest, HintsWhileInactiveWaitForTheNextAdd) {
  Make(false);
  tray->SetHint("first");
  tray->SetHint("latest");
  EXPECT_TRUE(shell.calls.empty());
  tray->SetActive(true);
  ASSERT_EQ(shell.Messages(), (Messages{kNimDelete, kNimAdd}));
  EXPECT_EQ(shell.calls[1].Tip(), "latest");
}

TEST_F(TrayIconTest, TheTipIsTheShortHintCutTo63Characters) {
  const std::string seventy(70, 'x');
  const struct {
    std::string hint;
    std::string tip;
  } cases[] = {
      {"abc|def", "abc"},
      {seventy, std::string(63, 'x')},
      {std::string(63, 'y') + "|z", std::string(63, 'y')},
      {"|only long", ""},
      {"Uptime: 49 Days 17 Hours 2 Minutes 47 Seconds",
       "Uptime: 49 Days 17 Hours 2 Minutes 47 Seconds"},
  };
  Make(true, "start");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.hint);
    shell.calls.clear();
    tray->SetHint(c.hint);
    ASSERT_EQ(shell.Messages(), (Messages{kNimModify}));
    EXPECT_EQ(shell.calls[0].Tip(), c.tip);
    EXPECT_EQ(tray->Hint(), c.hint);  // the property keeps the whole text
  }
}

TEST_F(TrayIconTest, ARefusedAddIsRetriedAtTheNextHintChange) {
  Make(false);
  shell.refuseAdds = 1;
  tray->SetActive(true);
  EXPECT_FALSE(tray->Added());
  shell.calls.clear();
  tray->SetHint("again");
  EXPECT_EQ(shell.Messages(), (Messages{kNimDelete, kNimAdd}));
  EXPECT_TRUE(tray->Added());
}

TEST_F(TrayIconTest, AnEmptyPictureKeepsTheIconOutUntilThereIsOne) {
  Make(true);
  tray->Icon()->SetHandle({});
  EXPECT_EQ(shell.Messages(), (Messages{kNimDelete}));
  EXPECT_FALSE(tray->Added());
  EXPECT_TRUE(tray->Active());  // pending
  shell.calls.clear();
  tray->SetHint("no picture");
  EXPECT_EQ(shell.Messages(), (Messages{kNimDelete}));  // the add stops before NIM_ADD
  shell.calls.clear();
  tray->Icon()->SetHandle(kIcon);
  EXPECT_EQ(shell.Messages(), (Messages{kNimDelete, kNimAdd}));
  EXPECT_TRUE(tray->Added());
}

TEST_F(TrayIconTest, DestructionRemovesTheIconAndTheHiddenWindow) {
  Make(true);
  delete tray;
  EXPECT_EQ(shell.Messages(), (Messages{kNimDelete}));
  EXPECT_EQ(windows.messageWindows.at(0), nullptr);
}

TEST_F(TrayIconTest, ANewTaskbarGetsTheIconBack) {
  Make(true);
  shell.ForgetIcons();
  windows.BroadcastTaskbarCreated();
  EXPECT_EQ(shell.Messages(), (Messages{kNimDelete, kNimAdd}));
  EXPECT_TRUE(shell.shown);
  EXPECT_TRUE(tray->Added());
  // An inactive icon stays out.
  tray->SetActive(false);
  shell.calls.clear();
  windows.BroadcastTaskbarCreated();
  EXPECT_TRUE(shell.calls.empty());
}

TEST_F(TrayIconTest, MouseMessagesOnlyWhileEnabled) {
  Make(true);
  EXPECT_FALSE(windows.SendToMessageWindow(0, 0x0010, 0, 0));  // not the callback message
  EXPECT_TRUE(Mouse(platform::kWmMouseMove));
  tray->SetEnabled(false);
  EXPECT_FALSE(Mouse(platform::kWmMouseMove));
}

TEST_F(TrayIconTest, MouseEventsCarryTheCursorAndTheHeldKeys) {
  Make(true);
  std::vector<std::string> seen;
  tray->OnMouseDown = [&](TObject*, TMouseButton button, TShiftState shift, int x, int y) {
    seen.push_back("down " + std::to_string(button) + " " + std::to_string(shift.Bits()) + " " +
                   std::to_string(x) + "," + std::to_string(y));
  };
  tray->OnMouseUp = [&](TObject*, TMouseButton button, TShiftState, int, int) {
    seen.push_back("up " + std::to_string(button));
  };
  tray->OnClick = [&](TObject*) { seen.push_back("click"); };
  screen.cursor = {900, 700};
  screen.heldKeys = {platform::kVkShift};
  Mouse(platform::kWmMButtonDown);
  Mouse(platform::kWmMButtonUp);
  Mouse(platform::kWmLButtonUp);  // an up without its down: no click
  Mouse(platform::kWmLButtonDown);
  Mouse(platform::kWmLButtonUp);
  const std::string shiftBits = std::to_string(TShiftState{ssShift}.Bits());
  EXPECT_EQ(seen, (std::vector<std::string>{"down 2 " + shiftBits + " 900,700", "up 2", "up 0",
                                            "down 0 " + shiftBits + " 900,700", "click", "up 0"}));
}

TEST_F(TrayIconTest, ARightClickOpensTheMenuInTheForegroundSequence) {
  Make(true);
  tray->SetPopupMenu(menu);
  AddItem("Options");
  TMenuItem* exit = AddItem("Exit");
  int exits = 0;
  exit->OnClick = [&](TObject*) { ++exits; };
  form->Peer();
  windows.timeline.clear();
  windows.menuChoice = 1;
  screen.cursor = {640, 470};
  Mouse(platform::kWmRButtonDown);
  Mouse(platform::kWmRButtonUp);
  const std::string hidden = [&] {
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", static_cast<unsigned>(tray->WindowHandle().value));
    return std::string(text);
  }();
  const std::string main = [&] {
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", static_cast<unsigned>(form->Peer()->Handle().value));
    return std::string(text);
  }();
  EXPECT_EQ(
      windows.timeline,
      (std::vector<std::string>{main + " CancelMode", hidden + " SetForeground", "ProcessMessages",
                                "TrackPopupMenu 640,470", hidden + " SetForeground"}));
  EXPECT_EQ(exits, 1);
  EXPECT_EQ(menu->PopupComponent(), tray);
}

TEST_F(TrayIconTest, AFailedMenuStillGivesTheForegroundBackAndIsReported) {
  Make(true);
  tray->SetPopupMenu(menu);
  AddItem("Exit");
  windows.messageWindows.at(0)->enabled = false;  // no foreground before the menu
  windows.failMenu = true;
  windows.timeline.clear();
  EXPECT_TRUE(Mouse(platform::kWmRButtonDown));
  EXPECT_TRUE(Mouse(platform::kWmRButtonUp));
  ASSERT_EQ(windows.timeline.size(), 3u);
  EXPECT_EQ(windows.timeline[0], "ProcessMessages");
  EXPECT_EQ(windows.timeline[1], "TrackPopupMenu 0,0");
  EXPECT_NE(windows.timeline[2].find("SetForeground"), std::string::npos);
  ASSERT_EQ(windows.messageBoxes.size(), 1u);
  EXPECT_EQ(windows.messageBoxes[0].text, "the menu could not be shown.");
}

TEST_F(TrayIconTest, ARightClickWithoutAMenuIsAClick) {
  const struct {
    const char* name;
    bool active;
    bool withMenu;
    bool autoPopup;
    bool upWithoutDown;
    int menus;
    int clicks;
  } cases[] = {
      {"menu", true, true, true, false, 1, 0},
      {"no menu", true, false, true, false, 0, 1},
      {"automatic popup off", true, true, false, false, 0, 1},
      {"inactive", false, true, true, false, 0, 1},
      {"up without its down", true, true, true, true, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    windows.menus.clear();
    Make(c.active);
    menu->SetAutoPopup(c.autoPopup);
    if (c.withMenu) tray->SetPopupMenu(menu);
    int clicks = 0;
    tray->OnClick = [&](TObject*) { ++clicks; };
    if (!c.upWithoutDown) Mouse(platform::kWmRButtonDown);
    Mouse(platform::kWmRButtonUp);
    EXPECT_EQ(static_cast<int>(windows.menus.size()), c.menus);
    EXPECT_EQ(clicks, c.clicks);
    delete tray;
  }
}

TEST_F(TrayIconTest, ADoubleClickChoosesTheEnabledDefaultItemElseRaisesOnDblClick) {
  const struct {
    const char* name;
    bool itemEnabled;
    bool itemDefault;
    int itemClicks;
    int dblClicks;
  } cases[] = {
      {"no default item", true, false, 0, 1},
      {"enabled default item", true, true, 1, 0},
      {"disabled default item", false, true, 0, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Make(true);
    tray->SetPopupMenu(menu);
    AddItem("first");
    TMenuItem* item = AddItem("second", c.itemEnabled, c.itemDefault);
    int itemClicks = 0;
    int dblClicks = 0;
    bool downWithDouble = false;
    item->OnClick = [&](TObject*) { ++itemClicks; };
    tray->OnDblClick = [&](TObject*) { ++dblClicks; };
    tray->OnMouseDown = [&](TObject*, TMouseButton, TShiftState shift, int, int) {
      downWithDouble = shift.Contains(ssDouble);
    };
    Mouse(platform::kWmLButtonDblClk);
    EXPECT_EQ(itemClicks, c.itemClicks);
    EXPECT_EQ(dblClicks, c.dblClicks);
    EXPECT_TRUE(downWithDouble);
    delete tray;
    while (menu->Count() > 0) delete menu->Items(0);
  }
}

TEST_F(TrayIconTest, AnErrorInAHandlerIsShownAndTheMessageCountsAsHandled) {
  Make(true);
  tray->OnDblClick = [](TObject*) { throw Exception("Boom"); };
  EXPECT_TRUE(Mouse(platform::kWmLButtonDblClk));
  ASSERT_EQ(windows.messageBoxes.size(), 1u);
  EXPECT_EQ(windows.messageBoxes[0].text, "Boom.");
}

TEST_F(TrayIconTest, ADestroyedMenuLeavesTheIcon) {
  Make(true);
  tray->SetPopupMenu(menu);
  delete menu;
  menu = nullptr;
  EXPECT_EQ(tray->PopupMenu(), nullptr);
  int clicks = 0;
  tray->OnClick = [&](TObject*) { ++clicks; };
  Mouse(platform::kWmRButtonDown);
  Mouse(platform::kWmRButtonUp);
  EXPECT_EQ(clicks, 1);
}

}  // namespace
