// The options dialog: its frame, the Options page and the Opacity page, acting on the main window.

#include "options/Options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/MainFormFixture.h"
#include "app/Program.h"
#include "framework/SysUtils.h"

namespace {

using platform::kHkeyCurrentUser;
using platform::kHkeyLocalMachine;

constexpr const char* kOptionSection = "Software\\Tamik\\TOption";
constexpr std::int64_t kSecond = 10'000'000;  // 100-nanosecond units

class OptionsTest : public MainFormFixture {
 protected:
  // The program's start: the main window, then the dialog, then the message loop's first show.
  void StartAll() {
    Run();
    option = CreateOptionsDialog(*application, *form);
  }
  void ShowDialog() { form->Options1->Click(); }
  void PutOption(const char* name, const char* text) {
    registry.PutString(kHkeyCurrentUser, kOptionSection, name, text);
  }
  // The widget that shows `control`.
  FakeWidget& WidgetOf(const TControl* control) { return windows.WidgetOf(control->Widget()); }

  TOption* option = nullptr;
};

TEST_F(OptionsTest, TheDialogIsAHiddenToolWindowOnTheAboutPage) {
  StartAll();
  EXPECT_EQ(option->Name(), "Option");
  EXPECT_EQ(option->Caption(), "Options");
  EXPECT_FALSE(option->Visible());
  EXPECT_EQ(option->ClientWidth(), 279);
  EXPECT_EQ(option->ClientHeight(), 184);
  EXPECT_EQ(option->Left(), 332);
  EXPECT_EQ(option->Top(), 107);
  EXPECT_EQ(option->PageControl1->ActivePage(), option->About);
  std::vector<std::string> tabs;
  for (int i = 0; i < option->PageControl1->PageCount(); ++i) {
    tabs.push_back(option->PageControl1->Pages(i)->Caption());
  }
  EXPECT_EQ(tabs, (std::vector<std::string>{"Options", "Colors", "Opacity", "About", "debug"}));
  // FormCreate: the debug page's texts and the slider's label; the timer untouched.
  EXPECT_EQ(option->Label6->Caption(), "Unknown Version detected.");
  EXPECT_EQ(option->Label7->Caption(), "# CPUs : 2");
  EXPECT_EQ(option->Label9->Caption(), "Refresh Frequency (1 sec.)");
  EXPECT_EQ(windows.startedIntervals.size(), 1u);
  // No window until it is shown.
  EXPECT_FALSE(option->HandleAllocated());
}

TEST_F(OptionsTest, ShowingCreatesTheWidgetsAndTheToolWindow) {
  StartAll();
  ShowDialog();
  ASSERT_TRUE(option->Visible());
  FakeWindowPeer& window = *windows.windows.back();
  EXPECT_EQ(window.params.text, "Options");
  EXPECT_EQ(window.params.exStyle & platform::kWsExToolWindow, platform::kWsExToolWindow);
  EXPECT_EQ(window.width, 279 + 6);  // the fake's frame
  const FakeWidget& tabs = WidgetOf(option->PageControl1);
  EXPECT_EQ(tabs.params.kind, platform::WidgetKind::TabControl);
  EXPECT_EQ(tabs.params.value, 3);
  // The check boxes of the group box sit in the Options page's window, moved by the frame.
  const FakeWidget& tray = WidgetOf(option->CheckBox2);
  EXPECT_EQ(tray.params.parent, WidgetOf(option->Options).Handle());
  EXPECT_EQ(tray.params.left, 8);
  EXPECT_EQ(tray.params.top, 16);
  EXPECT_EQ(tray.params.text, "Show Icon in Tray");
  EXPECT_FALSE(WidgetOf(option->Options).params.visible);
  EXPECT_TRUE(WidgetOf(option->About).params.visible);
  // The small bold note of the Opacity page.
  EXPECT_EQ(WidgetOf(option->Label14).params.font.name, "Small Fonts");
  EXPECT_EQ(WidgetOf(option->Label14).params.font.height, -9);
  EXPECT_TRUE(WidgetOf(option->Label14).params.font.bold);
  // Choosing a tab shows its page.
  windows.widgets.at(0)->params.value = 0;
  const_cast<FakeWidget&>(tabs).Choose(2);
  EXPECT_EQ(option->PageControl1->ActivePage(), option->TabSheet1);
  EXPECT_TRUE(WidgetOf(option->TabSheet1).params.visible);
  EXPECT_FALSE(WidgetOf(option->About).params.visible);
}

TEST_F(OptionsTest, OptionsOnAShownDialogOnlyBringsItToTheFront) {
  StartAll();
  ShowDialog();
  PutOption("Slider1_Value", "5");  // would change the interval if restored
  const auto startsBefore = windows.startedIntervals.size();
  ShowDialog();
  EXPECT_EQ(windows.startedIntervals.size(), startsBefore);
  EXPECT_EQ(windows.windows.back()->calls.back(), "SetPosition 0,0,0,0,0,3");
}

TEST_F(OptionsTest, SliderPositionsSetTheLabelAndTheInterval) {
  const struct {
    int position;
    const char* number;
    std::uint32_t interval;
  } cases[] = {{0, "0", 150},  {1, "0,5", 500},  {2, "1", 1000}, {3, "1,5", 1500},
               {4, "2", 2000}, {5, "2,5", 2500}, {6, "3", 3000}};
  StartAll();
  FormatSettings.DecimalSeparator = ',';
  option->Slider1->SetValue(6);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.position);
    option->Slider1->SetValue(c.position);
    EXPECT_EQ(option->Label9->Caption(), std::string("Refresh Frequency (") + c.number + " sec.)");
    EXPECT_EQ(form->Timer1->Interval(), c.interval);
    EXPECT_EQ(windows.RunningInterval(), c.interval);
    EXPECT_EQ(form->Label3->Caption(), std::to_string(c.interval));
  }
}

TEST_F(OptionsTest, DraggingTheSliderChangesOncePerPosition) {
  StartAll();
  ShowDialog();
  option->Slider1->SetValue(0);
  int changes = 0;
  const TNotifyEvent handler = option->Slider1->OnChange;
  option->Slider1->OnChange = [&](TObject* sender) {
    ++changes;
    handler(sender);
  };
  FakeWidget& slider = WidgetOf(option->Slider1);
  slider.Choose(6);  // the thumb dragged from 0 to 6 at once
  EXPECT_EQ(changes, 6);
  EXPECT_EQ(slider.params.value, 6);
  EXPECT_EQ(form->Timer1->Interval(), 3000u);
  option->Slider1->SetValue(6);
  option->Slider1->SetValue(9);  // clamped to 6: no change
  EXPECT_EQ(changes, 6);
}

TEST_F(OptionsTest, BarHeightFollowsTheSpinEditWithinItsLimits) {
  StartAll();
  ShowDialog();
  option->SpinEdit1->SetValue(137);
  EXPECT_EQ(form->RarBar1->Height(), 137);
  EXPECT_EQ(form->RarBar2->Height(), 137);
  EXPECT_EQ(form->Height(), 137);
  EXPECT_EQ(form->SpinEdit1->Value(), 137);
  // The spin buttons stop at the limits without a change.
  option->SpinEdit1->SetValue(200);
  const int drawsBefore = static_cast<int>(form->RarBar1->DrawCount());
  WidgetOf(option->SpinEdit1).Step(+1);
  EXPECT_EQ(option->SpinEdit1->Value(), 200);
  EXPECT_EQ(static_cast<int>(form->RarBar1->DrawCount()), drawsBefore);
  option->SpinEdit1->SetValue(50);
  WidgetOf(option->SpinEdit1).Step(-1);
  EXPECT_EQ(option->SpinEdit1->Value(), 50);
  EXPECT_EQ(WidgetOf(option->SpinEdit1).params.text, "50");
  EXPECT_EQ(form->Height(), 50);
}

TEST_F(OptionsTest, TheFirstShowRestoresStoredValuesThroughTheirHandlers) {
  PutOption("Slider1_Value", "4");
  PutOption("CheckBox1_Checked", "True");
  PutOption("PageControl1_ActivePage", "TabSheet1");
  StartAll();
  EXPECT_EQ(form->Timer1->Interval(), 1000u);  // nothing restored before the first show
  ShowDialog();
  EXPECT_EQ(option->Slider1->Value(), 4);
  EXPECT_EQ(form->Timer1->Interval(), 2000u);
  EXPECT_EQ(form->Label3->Caption(), "2000");
  EXPECT_TRUE(Window().topmost);
  EXPECT_TRUE(form->CheckBox1->Checked());
  EXPECT_EQ(option->PageControl1->ActivePage(), option->TabSheet1);
}

TEST_F(OptionsTest, TheStoredActivePageIsAPageOrNone) {
  const struct {
    const char* stored;
    const char* page;  // null: no page active
  } cases[] = {{"TabSheet1", "TabSheet1"},
               {"(null)", nullptr},
               {"Nothing", nullptr},
               {"", "About"},
               {"options", "Options"},
               // a component that is no page leaves the page as it was
               {"FormStorage1", "About"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.stored);
    application.reset();
    PutOption("PageControl1_ActivePage", c.stored);
    StartAll();
    ShowDialog();
    TTabSheet* active = option->PageControl1->ActivePage();
    EXPECT_EQ(active != nullptr ? active->Name() : std::string("none"),
              c.page != nullptr ? c.page : "none");
    EXPECT_TRUE(windows.messageBoxes.empty());
  }
}

TEST_F(OptionsTest, ShowPercentageRedrawsBothBarsAtOnce) {
  StartAll();
  const auto draws1 = form->RarBar1->DrawCount();
  const auto draws2 = form->RarBar2->DrawCount();
  option->CheckBox4->SetChecked(false);
  EXPECT_FALSE(form->RarBar1->ShowPercentage());
  EXPECT_FALSE(form->RarBar2->ShowPercentage());
  EXPECT_GT(form->RarBar1->DrawCount(), draws1);
  EXPECT_GT(form->RarBar2->DrawCount(), draws2);
  EXPECT_FALSE(form->CheckBox3->Checked());
}

TEST_F(OptionsTest, CheckBoxClicksActOnTheMainWindowAndItsSlots) {
  StartAll();
  ShowDialog();
  WidgetOf(option->CheckBox1).Click();
  EXPECT_TRUE(option->CheckBox1->Checked());
  EXPECT_EQ(WidgetOf(option->CheckBox1).params.value, 1);
  EXPECT_TRUE(Window().topmost);
  EXPECT_TRUE(form->CheckBox1->Checked());
  WidgetOf(option->CheckBox2).Click();
  EXPECT_TRUE(form->TrayIcon1->Active());
  EXPECT_TRUE(form->TrayIcon1->Added());
  EXPECT_TRUE(form->CheckBox2->Checked());
  WidgetOf(option->CheckBox2).Click();
  EXPECT_FALSE(form->TrayIcon1->Added());
}

TEST_F(OptionsTest, ASlotChangedHereRevertsWhenTheMainWindowIsShownAgain) {
  StartAll();
  ASSERT_TRUE(form->CloseQuery());  // the main window's store saves, as at a close
  ShowDialog();
  option->CheckBox1->SetChecked(true);
  ASSERT_TRUE(Window().topmost);
  form->Minimize1Click(form->Minimize1);
  form->Maximize1Click(form->Maximize1);
  // The main window restored its slots from the last save; the dialog keeps its own.
  EXPECT_FALSE(form->CheckBox1->Checked());
  EXPECT_FALSE(Window().topmost);
  EXPECT_TRUE(option->CheckBox1->Checked());
}

TEST_F(OptionsTest, OpacityStepWorkedExamples) {
  const struct {
    bool dynamic;
    int constant, at0, at100;
    double load;
    int opacity;
  } cases[] = {
      {true, 200, 100, 255, 37.5, 158}, {true, 200, 255, 0, 50, 127},
      {true, 200, 100, 255, -2.4, 103}, {true, 200, 100, 255, 50, 177},
      {true, 200, 255, 60, 100, 60},    {false, 120, 100, 255, 50, 120},
  };
  StartAll();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.opacity);
    (c.dynamic ? option->RadioButton2 : option->RadioButton1)->SetChecked(true);
    option->SpinEdit4->SetValue(c.constant);
    option->SpinEdit2->SetValue(c.at0);
    option->SpinEdit3->SetValue(c.at100);
    form->ApplyOpacity(c.load);
    EXPECT_EQ(form->AlphaBlendValue(), c.opacity);
    EXPECT_EQ(option->RadioButton1->Checked(), !c.dynamic);  // one group
  }
}

TEST_F(OptionsTest, AlphaBlendStartsAt200AndTheNextTickTakesTheConstant) {
  StartAll();
  option->SpinEdit4->SetValue(120);
  option->CheckBox6->SetChecked(true);
  EXPECT_TRUE(form->AlphaBlend());
  EXPECT_EQ(form->AlphaBlendValue(), 200);
  EXPECT_TRUE(form->CheckBox5->Checked());
  EXPECT_EQ(form->Label5->Caption(), "120");
  Serve(1, {kSecond / 2, kSecond / 2});
  windows.FireTimers();
  EXPECT_EQ(form->AlphaBlendValue(), 120);
  // Dynamic, through the tick: processor 0 at 50 % gives 177.
  option->RadioButton2->SetChecked(true);
  Serve(2, {kSecond, kSecond});
  windows.FireTimers();
  EXPECT_EQ(form->AlphaBlendValue(), 177);
  option->SpinEdit2->SetValue(90);
  option->SpinEdit3->SetValue(80);
  EXPECT_EQ(form->Label6->Caption(), "90");
  EXPECT_EQ(form->Label4->Caption(), "80");
  EXPECT_EQ(form->AlphaBlendValue(), 177);  // until the next tick
}

TEST_F(OptionsTest, TransparentFormTakesTheWindowColourFromItsSlot) {
  StartAll();
  option->CheckBox5->SetChecked(false);
  EXPECT_FALSE(form->TransparentColor());
  EXPECT_FALSE(form->CheckBox4->Checked());
  EXPECT_EQ(form->RarBar1->Color(), clWhite);  // the bars keep the old key colour

  form->Label7->SetCaption("255");
  option->CheckBox5->SetChecked(true);
  EXPECT_TRUE(form->TransparentColor());
  EXPECT_EQ(form->TransparentColorValue(), 255);
  EXPECT_EQ(form->RarBar1->Color(), 255);
  EXPECT_EQ(form->RarBar2->Color(), 255);

  option->CheckBox5->SetChecked(false);
  form->Label7->SetCaption("abc");
  application->Guard([&] { option->CheckBox5->SetChecked(true); });
  ASSERT_EQ(windows.messageBoxes.size(), 1u);
  EXPECT_EQ(windows.messageBoxes[0].text, "'abc' n'est pas une valeur entière correcte.");
  EXPECT_TRUE(form->TransparentColor());
  EXPECT_TRUE(form->CheckBox4->Checked());
  EXPECT_EQ(form->RarBar1->Color(), 255);
}

TEST_F(OptionsTest, RunAtStartupWritesTheQuotedPathWhereTheUserMay) {
  const std::string quoted = "\"C:\\Program Files\\Tamik\\Tamik.exe\"";
  StartAll();
  // Machine-wide when the Run key there can be opened for writing.
  registry.AddKey(kHkeyLocalMachine, kRunKey);
  option->CheckBox3->SetChecked(true);
  EXPECT_EQ(registry.GetString(kHkeyLocalMachine, kRunKey, kRunValueName), quoted);
  EXPECT_EQ(registry.GetValue(kHkeyLocalMachine, kRunKey, kRunValueName)->type, platform::kRegSz);
  option->CheckBox3->SetChecked(false);
  EXPECT_FALSE(registry.GetString(kHkeyLocalMachine, kRunKey, kRunValueName));
  // An ordinary user: the user's own Run key.
  registry.FailOpen(kHkeyLocalMachine, kRunKey, platform::kErrorAccessDenied);
  option->CheckBox3->SetChecked(true);
  EXPECT_EQ(registry.GetString(kHkeyCurrentUser, kRunKey, kRunValueName), quoted);
  EXPECT_FALSE(registry.GetString(kHkeyLocalMachine, kRunKey, kRunValueName));
  option->CheckBox3->SetChecked(false);
  EXPECT_FALSE(registry.GetString(kHkeyCurrentUser, kRunKey, kRunValueName));
  // Unticking with no value anywhere says nothing.
  option->CheckBox3->SetChecked(true);
  registry.RemoveValue(kHkeyCurrentUser, kRunKey, kRunValueName);
  option->CheckBox3->SetChecked(false);
  EXPECT_TRUE(windows.messageBoxes.empty());
}

// Ticked once without the rights to the machine-wide key and once with them, in either order,
// the program has one Run value and so starts once at logon.
TEST_F(OptionsTest, RunAtStartupLeavesOneRunValueWhateverTheRights) {
  const std::string quoted = "\"C:\\Program Files\\Tamik\\Tamik.exe\"";
  StartAll();
  registry.AddKey(kHkeyLocalMachine, kRunKey);
  const auto tick = [&] {
    option->CheckBox3->SetChecked(false);
    option->CheckBox3->SetChecked(true);
  };
  const auto value = [&](platform::RegKey root) {
    return registry.GetString(root, kRunKey, kRunValueName);
  };

  // Without rights first: the user's key; then with rights: the machine's, and the user's goes.
  registry.DenyWriting(kHkeyLocalMachine, kRunKey);
  tick();
  EXPECT_EQ(value(kHkeyCurrentUser), quoted);
  EXPECT_FALSE(value(kHkeyLocalMachine));
  registry.ClearFailures();
  option->SetRunAtStartup(true);
  EXPECT_EQ(value(kHkeyLocalMachine), quoted);
  EXPECT_FALSE(value(kHkeyCurrentUser));

  // With rights first, then without: the machine-wide value this user cannot remove already
  // starts the program, so no per-user one is added.
  registry.DenyWriting(kHkeyLocalMachine, kRunKey);
  option->SetRunAtStartup(true);
  EXPECT_EQ(value(kHkeyLocalMachine), quoted);
  EXPECT_FALSE(value(kHkeyCurrentUser));

  // Unticking with rights removes it everywhere.
  registry.ClearFailures();
  option->CheckBox3->SetChecked(false);
  EXPECT_FALSE(value(kHkeyLocalMachine));
  EXPECT_FALSE(value(kHkeyCurrentUser));
  EXPECT_TRUE(windows.messageBoxes.empty());
}

TEST_F(OptionsTest, ARefusedRunValueIsReportedAndTheBoxStaysTicked) {
  StartAll();
  registry.AddKey(kHkeyLocalMachine, kRunKey);
  registry.FailSetValue(1, platform::kErrorAccessDenied);
  application->Guard([&] { option->CheckBox3->SetChecked(true); });
  ASSERT_EQ(windows.messageBoxes.size(), 1u);
  EXPECT_EQ(windows.messageBoxes[0].text, "Echec à la définition des données pour 'ZEPHO'");
  EXPECT_TRUE(option->CheckBox3->Checked());
}

TEST_F(OptionsTest, ClosingTheDialogSavesItsTwelveValues) {
  StartAll();
  ShowDialog();
  option->Slider1->SetValue(0);
  option->PageControl1->SetActivePage(option->Options);
  option->Close();
  EXPECT_FALSE(option->Visible());
  const std::pair<const char*, const char*> values[] = {
      {"PageControl1_ActivePage", "Options"},
      {"SpinEdit1_Value", "100"},
      {"CheckBox1_Checked", "False"},
      {"CheckBox4_Checked", "True"},
      {"CheckBox5_Checked", "True"},
      {"Slider1_Value", "0"},
      {"SpinEdit2_Value", "100"},
      {"SpinEdit3_Value", "255"},
      {"SpinEdit4_Value", "200"},
  };
  for (const auto& [name, text] : values) {
    EXPECT_EQ(registry.GetString(kHkeyCurrentUser, kOptionSection, name), text) << name;
  }
}

}  // namespace
