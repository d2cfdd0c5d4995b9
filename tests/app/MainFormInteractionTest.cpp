// What the user does with the main window directly: dragging it, its popup menu, hiding it to the
// notification area and showing it again, and the tray icon the window drives.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "MainFormFixture.h"

namespace {

using platform::kHkeyCurrentUser;
using platform::kNimAdd;
using platform::kNimDelete;
using platform::kNimModify;
using Messages = std::vector<std::uint32_t>;

constexpr const char* kSection = "Software\\Tamik\\TMainForm";

class MainFormInteractionTest : public MainFormFixture {
 protected:
  // Mouse input on the native window, in client coordinates.
  void Native(platform::MouseAction action, platform::MouseButton button, std::uint32_t keys, int x,
              int y) {
    platform::MouseInput input;
    input.action = action;
    input.button = button;
    input.keys = keys;
    input.x = x;
    input.y = y;
    Window().events->NativeMouse(input);
  }
  // A mouse message on the tray icon.
  void Tray(std::uint32_t message) {
    windows.SendToMessageWindow(0, TTrayIcon::kCallbackMessage, 0,
                                static_cast<std::intptr_t>(message));
  }
  bool MaximizeEnabled() const { return form->Maximize1->Enabled(); }
  bool MinimizeEnabled() const { return form->Minimize1->Enabled(); }
};

TEST_F(MainFormInteractionTest, DraggingKeepsTheGrabbedPointUnderThePointer) {
  const TShiftState left{ssLeft};
  const struct {
    const char* name;
    bool onBar2;
    int x, y;
    platform::ScreenPoint pointer;
    int left, top;
  } cases[] = {
      {"press on the right bar", true, 10, 20, {500, 300}, 427, 280},
      {"press on the background", false, 5, 5, {105, 205}, 100, 200},
  };
  Run();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TObject* sender = c.onBar2 ? static_cast<TObject*>(form->RarBar2) : form;
    form->FormMouseDown(sender, mbLeft, left, c.x, c.y);
    EXPECT_TRUE(Window().captured);
    screen.cursor = c.pointer;
    form->FormMouseMove(sender, left, 0, 0);
    EXPECT_EQ(form->Left(), c.left);
    EXPECT_EQ(form->Top(), c.top);
    EXPECT_EQ(Window().left, c.left);
    EXPECT_EQ(Window().top, c.top);
    form->FormMouseUp(sender, mbLeft, {}, 0, 0);
    EXPECT_FALSE(Window().captured);
  }
}

TEST_F(MainFormInteractionTest, EachMoveSetsTheTopThenTheLeftFromFreshReadings) {
  Run();
  form->FormMouseDown(form->RarBar2, mbLeft, {ssLeft}, 10, 20);  // offsets 73, 20
  screen.cursorScript = {{500, 300}, {600, 400}};
  form->FormMouseMove(form, {ssLeft}, 0, 0);
  EXPECT_EQ(form->Top(), 280);   // first reading
  EXPECT_EQ(form->Left(), 527);  // second reading
}

TEST_F(MainFormInteractionTest, OnlyTheLeftButtonMovesTheWindow) {
  Run();
  const TRect before = form->BoundsRect();
  form->FormMouseDown(form, mbRight, {ssRight}, 30, 40);
  EXPECT_EQ(form->DragOffsetX, 30);
  EXPECT_TRUE(Window().captured);
  screen.cursor = {700, 600};
  form->FormMouseMove(form, {ssRight}, 0, 0);
  form->FormMouseMove(form, {ssMiddle}, 0, 0);
  EXPECT_EQ(form->BoundsRect(), before);
}

TEST_F(MainFormInteractionTest, AMoveBeforeAnyPressUsesZeroOffsets) {
  Run();
  screen.cursor = {50, 60};
  form->FormMouseMove(form, {ssLeft}, 0, 0);
  EXPECT_EQ(form->Left(), 50);
  EXPECT_EQ(form->Top(), 60);
}

TEST_F(MainFormInteractionTest, TheNativeWindowAndBothBarsDrag) {
  Run();
  // A press at client point (73, 20) lands on the right bar at (10, 20).
  Native(platform::MouseAction::Down, platform::MouseButton::Left, platform::kMkLButton, 73, 20);
  EXPECT_EQ(form->DragOffsetX, 73);
  EXPECT_EQ(form->DragOffsetY, 20);
  EXPECT_TRUE(Window().captured);
  // Far outside the window the bar keeps the mouse until the release.
  screen.cursor = {500, 300};
  Native(platform::MouseAction::Move, platform::MouseButton::None, platform::kMkLButton, 900, -40);
  EXPECT_EQ(form->BoundsRect().Left, 427);
  EXPECT_EQ(form->BoundsRect().Top, 280);
  Native(platform::MouseAction::Up, platform::MouseButton::Left, 0, 900, -40);
  EXPECT_FALSE(Window().captured);
  // The left bar at (5, 6).
  Native(platform::MouseAction::Down, platform::MouseButton::Left, platform::kMkLButton, 5, 6);
  EXPECT_EQ(form->DragOffsetX, 5);
  EXPECT_EQ(form->DragOffsetY, 6);
}

TEST_F(MainFormInteractionTest, ARightClickOpensTheMenuAtThePointer) {
  Run();
  Native(platform::MouseAction::Down, platform::MouseButton::Right, platform::kMkRButton, 20, 30);
  Native(platform::MouseAction::Up, platform::MouseButton::Right, 0, 20, 30);
  Window().events->NativeContextMenu(220, 140);
  ASSERT_EQ(windows.menus.size(), 1u);
  EXPECT_EQ(windows.menus[0].x, 220);
  EXPECT_EQ(windows.menus[0].y, 140);
  const auto& entries = windows.menus[0].entries;
  const std::vector<std::pair<std::string, bool>> expected = {
      {"Options", true}, {"-", true}, {"Maximize", false}, {"Minimize", true}, {"Exit", true}};
  ASSERT_EQ(entries.size(), expected.size());
  for (std::size_t i = 0; i < entries.size(); ++i) {
    EXPECT_EQ(entries[i].caption, expected[i].first);
    EXPECT_EQ(entries[i].enabled, expected[i].second);
    EXPECT_FALSE(entries[i].isDefault);
  }
}

TEST_F(MainFormInteractionTest, ExitFromTheMenuSavesClosesAndEndsTheProgram) {
  windows.menuChoice = 4;  // "Exit"
  Run([this] { Window().events->NativeContextMenu(10, 10); });
  EXPECT_TRUE(application->Terminated());
  EXPECT_TRUE(windows.quitRequested);
  EXPECT_EQ(registry.GetString(kHkeyCurrentUser, kSection, "Label7_Caption"), "16777215");
  EXPECT_TRUE(windows.messageBoxes.empty());
}

TEST_F(MainFormInteractionTest, HideAndShowWithTheTrayIconOff) {
  Run();
  ASSERT_TRUE(form->Visible());
  EXPECT_FALSE(form->TrayIcon1->Active());
  EXPECT_FALSE(MaximizeEnabled());
  EXPECT_TRUE(MinimizeEnabled());
  shell.calls.clear();

  form->Minimize1Click(form->Minimize1);
  EXPECT_FALSE(form->Visible());
  EXPECT_FALSE(Window().visible);
  EXPECT_FALSE(form->SavedTrayActive);
  EXPECT_TRUE(form->TrayIcon1->Added());
  // No tick has written the hint yet: the add with an empty tip is modified at once.
  EXPECT_EQ(shell.Messages(), (Messages{kNimDelete, kNimAdd, kNimModify}));
  EXPECT_EQ(shell.calls[1].data.hIcon.value, windows.iconResources.at("MAINICON"));
  EXPECT_TRUE(MaximizeEnabled());
  EXPECT_FALSE(MinimizeEnabled());

  // The refresh goes on while hidden, and so does the hint.
  system.tickCount = 61000;
  windows.FireTimers();
  EXPECT_EQ(shell.calls.back().message, kNimModify);
  EXPECT_EQ(shell.calls.back().Tip(), "Uptime: 0 Days 0 Hours 1 Minutes 1 Seconds");

  const int runsBefore = FormCreateRuns();
  shell.calls.clear();
  Tray(platform::kWmLButtonDblClk);  // the tray's double click is "Maximize"
  EXPECT_TRUE(form->Visible());
  EXPECT_TRUE(Window().visible);
  EXPECT_EQ(FormCreateRuns(), runsBefore + 1);
  EXPECT_FALSE(form->TrayIcon1->Active());
  EXPECT_EQ(shell.Messages(), (Messages{kNimDelete}));
  EXPECT_FALSE(MaximizeEnabled());
  EXPECT_TRUE(MinimizeEnabled());
}

TEST_F(MainFormInteractionTest, HideAndShowWithTheTrayIconOn) {
  registry.PutString(kHkeyCurrentUser, kSection, "CheckBox2_Checked", "True");
  Run();
  ASSERT_TRUE(form->TrayIcon1->Added());
  shell.calls.clear();
  form->Minimize1Click(form->Minimize1);
  EXPECT_TRUE(form->SavedTrayActive);
  form->Maximize1Click(form->Maximize1);
  EXPECT_TRUE(form->Visible());
  EXPECT_TRUE(form->TrayIcon1->Added());
  EXPECT_TRUE(shell.calls.empty());  // the icon stayed all along
}

TEST_F(MainFormInteractionTest, ADoubleClickWhileShownChangesNothing) {
  Run();
  const int runsBefore = FormCreateRuns();
  shell.calls.clear();
  Tray(platform::kWmLButtonDblClk);
  EXPECT_EQ(FormCreateRuns(), runsBefore);
  EXPECT_TRUE(shell.calls.empty());
  EXPECT_FALSE(MaximizeEnabled());
}

TEST_F(MainFormInteractionTest, AFailedRestoreOnShowIsReportedAndTheShowCompletes) {
  Run();
  form->Minimize1Click(form->Minimize1);
  form->Close();  // saves; the next show restores
  registry.PutString(kHkeyCurrentUser, kSection, "Label3_Caption", "abc");
  form->Maximize1Click(form->Maximize1);
  ASSERT_EQ(windows.messageBoxes.size(), 1u);
  EXPECT_EQ(windows.messageBoxes[0].text, "'abc' n'est pas une valeur entière correcte.");
  EXPECT_TRUE(form->Visible());
  EXPECT_FALSE(form->TrayIcon1->Active());
  EXPECT_FALSE(MaximizeEnabled());
  EXPECT_TRUE(MinimizeEnabled());
}

TEST_F(MainFormInteractionTest, UptimeTexts) {
  const struct {
    std::uint32_t ticks;
    const char* text;
  } cases[] = {
      {0, "Uptime: 0 Days 0 Hours 0 Minutes 0 Seconds"},
      {999, "Uptime: 0 Days 0 Hours 0 Minutes 0 Seconds"},
      {90061001, "Uptime: 1 Days 1 Hours 1 Minutes 1 Seconds"},
      {4294967295u, "Uptime: 49 Days 17 Hours 2 Minutes 47 Seconds"},
  };
  Start();
  for (const auto& c : cases) {
    system.tickCount = c.ticks;
    EXPECT_EQ(form->BuildUptimeText(), c.text);
  }
}

TEST_F(MainFormInteractionTest, TheHintFollowsEveryTickButReachesTheShellOnlyWhenItChanges) {
  registry.PutString(kHkeyCurrentUser, kSection, "CheckBox2_Checked", "True");
  Run();
  shell.calls.clear();
  system.tickCount = 5000;
  windows.FireTimers();
  system.tickCount = 5400;  // the same second
  windows.FireTimers();
  system.tickCount = 6000;
  windows.FireTimers();
  EXPECT_EQ(shell.Messages(), (Messages{kNimModify, kNimModify}));
  EXPECT_EQ(form->TrayIcon1->Hint(), "Uptime: 0 Days 0 Hours 0 Minutes 6 Seconds");
}

}  // namespace
