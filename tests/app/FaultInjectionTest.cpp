// The program when its ports fail: a sampler that fails on every tick (and from the start), a
// shell that refuses the notification icon, common dialogs that cancel after the user changed
// something or fail outright, and "Run At Startup" with both Run keys refused. In every case the
// program reports what the rules say, changes nothing it should not, and recovers once the port
// works again.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "MainFormFixture.h"
#include "app/Program.h"
#include "framework/Dialogs.h"
#include "framework/Exception.h"
#include "options/Options.h"

namespace {

using platform::kHkeyCurrentUser;
using platform::kHkeyLocalMachine;
using platform::kNimAdd;
using platform::kNimDelete;
using platform::kNimModify;
using Messages = std::vector<std::uint32_t>;

constexpr std::int64_t kSecond = 10'000'000;  // 100-nanosecond units

class FaultInjectionTest : public MainFormFixture {
 protected:
  void StartAll() {
    Run();
    option = CreateOptionsDialog(*application, *form);
  }
  std::vector<std::string> BoxTexts() const {
    std::vector<std::string> texts;
    for (const auto& box : windows.messageBoxes) texts.push_back(box.text);
    return texts;
  }
  // A mouse message on the tray icon of the program started last.
  void Tray(std::uint32_t message) {
    windows.SendToMessageWindow(windows.messageWindows.size() - 1, TTrayIcon::kCallbackMessage, 0,
                                static_cast<std::intptr_t>(message));
  }

  TOption* option = nullptr;
};

// ---- The sampler -------------------------------------------------------------------------------

// Ways the performance data can fail, each with the error box's text.
struct SamplerFailure {
  const char* what;
  std::function<void(FakeRegistry&)> fail;
  const char* box;  // the text, or its beginning when it ends in "..."
};

const std::vector<SamplerFailure>& SamplerFailures() {
  static const std::vector<SamplerFailure> failures = {
      {"query refused",
       [](FakeRegistry& r) { r.SetPerformanceResult(platform::kErrorAccessDenied); },
       "Unable to query the performance data (error 5)"},
      {"more data for ever",
       [](FakeRegistry& r) { r.SetPerformanceResult(platform::kErrorMoreData); },
       "Unable to query the performance data (more than 16777216 bytes)"},
      {"no Processor object",
       [](FakeRegistry& r) {
         perfblock::PerfDataBuilder builder;
         builder.Processor().titleIndex = 999;
         r.SetPerformanceData(builder.Build());
       },
       "Unable to locate the \"Processor\" performance object."},
      {"no idle counter",
       [](FakeRegistry& r) {
         perfblock::PerfDataBuilder builder;
         builder.Processor().counters[builder.IdleCounterIndex()].titleIndex = 7;
         r.SetPerformanceData(builder.Build());
       },
       "Unable to locate the \"% of CPU usage\" performance counter."},
      {"block cut short",
       [](FakeRegistry& r) {
         perfblock::PerfDataBuilder builder;
         r.SetPerformanceData(builder.Build());
         r.SetPerformanceByteCount(
             static_cast<std::uint32_t>(builder.ProcessorLayout().counterBlocks[0]));
       },
       "Invalid performance data block..."},
  };
  return failures;
}

bool BoxSays(const std::string& text, const std::string& expected) {
  if (expected.ends_with("...")) return text.starts_with(expected.substr(0, expected.size() - 3));
  return text == expected;
}

// Each kind of failure in turn, on one running program: every tick fails while the failure
// lasts, one error box at a time (ticks go on inside an open box and are not reported again), the
// bars and the tray hint keep what the last good tick gave them, and the first tick after the data
// comes back measures the load over the whole gap, since no failed sample shifted anything.
TEST_F(FaultInjectionTest, ASamplerThatFailsEveryTickIsReportedOneBoxAtATimeAndRecovers) {
  registry.PutString(kHkeyCurrentUser, "Software\\Tamik\\TMainForm", "CheckBox2_Checked", "True");
  Run();
  int second = 1;
  std::int64_t idle0 = kSecond / 2;
  std::int64_t idle1 = kSecond / 2;
  Serve(second, {idle0, idle1});
  system.tickCount = 1000;
  windows.FireTimers();
  ASSERT_EQ(form->RarBar1->Progress(), 50);
  ASSERT_TRUE(form->TrayIcon1->Added());

  for (const SamplerFailure& failure : SamplerFailures()) {
    SCOPED_TRACE(failure.what);
    windows.messageBoxes.clear();
    failure.fail(registry);
    // Two ticks inside every open box: they fail as well and open no box of their own.
    windows.whileMessageBoxOpen = [this] {
      windows.FireTimers();
      windows.FireTimers();
    };
    const std::string hint = form->TrayIcon1->Hint();
    for (int tick = 0; tick < 3; ++tick) {
      system.tickCount += 1000;  // a new uptime text each time, which the failed tick never sets
      windows.FireTimers();
    }
    windows.whileMessageBoxOpen = nullptr;
    ASSERT_EQ(windows.messageBoxes.size(), 3u);
    for (const auto& box : windows.messageBoxes) {
      EXPECT_TRUE(BoxSays(box.text, failure.box)) << box.text;
      EXPECT_EQ(box.caption, kApplicationTitle);
    }
    EXPECT_EQ(form->RarBar1->Progress(), 50);
    EXPECT_EQ(form->RarBar2->Progress(), 50);
    EXPECT_EQ(form->TrayIcon1->Hint(), hint);
    EXPECT_EQ(windows.RunningInterval(), 1000u);
    EXPECT_FALSE(application->Terminated());

    // The data comes back four seconds after the last good sample: 25 % and 75 % over those
    // four seconds.
    registry.SetPerformanceResult(std::nullopt);
    registry.SetPerformanceByteCount(std::nullopt);
    second += 4;
    idle0 += 3 * kSecond;
    idle1 += 1 * kSecond;
    Serve(second, {idle0, idle1});
    windows.messageBoxes.clear();
    windows.FireTimers();
    EXPECT_TRUE(windows.messageBoxes.empty());
    EXPECT_EQ(form->RarBar1->Progress(), 25);
    EXPECT_EQ(form->RarBar2->Progress(), 75);
    EXPECT_EQ(form->TrayIcon1->Hint(), form->BuildUptimeText());

    // Back to 50 % for the next kind.
    second += 1;
    idle0 += kSecond / 2;
    idle1 += kSecond / 2;
    Serve(second, {idle0, idle1});
    windows.FireTimers();
    ASSERT_EQ(form->RarBar1->Progress(), 50);
  }
}

// Without any performance data from the start (as under Wine without a provider), the window is
// still created and shown, each FormCreate run reporting the failure, and the refresh timer of the
// layout takes over once the data arrives: its first good sample shows 0 %, the next the load.
TEST_F(FaultInjectionTest, WithoutPerformanceDataFromTheStartTheWindowComesUpAndRecovers) {
  SamplerFailures()[2].fail(registry);                             // no Processor object
  windows.whileMessageBoxOpen = [this] { windows.FireTimers(); };  // ticks inside each box
  Run();
  windows.whileMessageBoxOpen = nullptr;
  EXPECT_EQ(BoxTexts(),
            std::vector<std::string>(2, "Unable to locate the \"Processor\" performance object."));
  EXPECT_TRUE(form->Visible());
  EXPECT_EQ(FormCreateRuns(), 2);
  EXPECT_EQ(form->Label2->Caption(), "NbCPU");  // the steps after the sample never ran

  windows.FireTimers();  // still nothing
  EXPECT_EQ(windows.messageBoxes.size(), 3u);

  Serve(10, {0, 0});
  windows.FireTimers();
  EXPECT_EQ(form->RarBar1->Progress(), 0);
  Serve(11, {kSecond / 4, kSecond});
  windows.FireTimers();
  EXPECT_EQ(form->RarBar1->Progress(), 75);
  EXPECT_EQ(form->RarBar2->Progress(), 0);
  EXPECT_EQ(windows.messageBoxes.size(), 3u);
  // The next showing runs FormCreate to its end.
  form->Minimize1Click(form->Minimize1);
  form->Maximize1Click(form->Maximize1);
  EXPECT_EQ(windows.messageBoxes.size(), 3u);
  EXPECT_EQ(form->Label2->Caption(), "# CPUs : 2");
}

// ---- The shell ---------------------------------------------------------------------------------

// A shell that refuses the icon: nothing is reported, every tick that changes the uptime text
// asks again (and only those), and once the shell takes it the icon stays and only changes. When
// the window was hidden to the notification area, the icon then brings it back.
TEST_F(FaultInjectionTest, ARefusedIconIsAskedForAgainEverySecondUntilTheShellTakesIt) {
  for (const bool hidden : {false, true}) {
    SCOPED_TRACE(hidden ? "hidden to the notification area" : "\"SIT\" ticked");
    application.reset();
    registry.PutString(kHkeyCurrentUser, "Software\\Tamik\\TMainForm", "CheckBox2_Checked",
                       hidden ? "False" : "True");
    shell.refuseAdds = 1000;
    system.tickCount = 0;
    Run();
    if (hidden) form->Minimize1Click(form->Minimize1);
    EXPECT_FALSE(form->TrayIcon1->Added());
    EXPECT_EQ(form->Visible(), !hidden);

    shell.calls.clear();
    for (std::uint32_t ms : {1000u, 1500u, 2000u}) {
      system.tickCount = ms;
      windows.FireTimers();
    }
    EXPECT_EQ(shell.Messages(), (Messages{kNimDelete, kNimAdd, kNimDelete, kNimAdd}));
    EXPECT_FALSE(form->TrayIcon1->Added());

    shell.refuseAdds = 0;
    shell.calls.clear();
    system.tickCount = 3000;
    windows.FireTimers();
    system.tickCount = 4000;
    windows.FireTimers();
    EXPECT_EQ(shell.Messages(), (Messages{kNimDelete, kNimAdd, kNimModify}));
    EXPECT_EQ(shell.calls[1].Tip(), "Uptime: 0 Days 0 Hours 0 Minutes 3 Seconds");
    EXPECT_TRUE(form->TrayIcon1->Added());

    Tray(platform::kWmLButtonDblClk);
    EXPECT_TRUE(form->Visible());
    EXPECT_TRUE(windows.messageBoxes.empty());
  }
}

// ---- Common dialogs ----------------------------------------------------------------------------

// Each dialog of the Colors page, answered by one that changes its record and then cancels, or by
// one that fails: the preview, the files and the main window stay as they were; only the failure
// is reported, and the page works again at the next press.
TEST_F(FaultInjectionTest, ADialogThatCancelsAfterChangesOrFailsChangesNothing) {
  const auto fails = [](auto&) -> bool { throw Exception("Dialogue indisponible"); };
  struct Case {
    const char* what;
    std::function<void(FakeDialogs&)> answer;
    TSpeedButton* TOption::*button;
    bool reported;
  };
  const Case cases[] = {
      {"colour, cancelled after a pick",
       [](FakeDialogs& d) {
         d.colorAnswer = [](std::uint32_t& rgb) {
           rgb = 0x00FF00;
           return false;
         };
       },
       &TOption::SpeedButton3, false},
      {"colour, failing", [&](FakeDialogs& d) { d.colorAnswer = fails; }, &TOption::SpeedButton3,
       true},
      {"font, cancelled after a pick",
       [](FakeDialogs& d) {
         d.fontAnswer = [](platform::WidgetFont& font) {
           font.name = "Arial";
           font.height = -20;
           font.bold = false;
           return false;
         };
       },
       &TOption::SpeedButton2, false},
      {"font, failing", [&](FakeDialogs& d) { d.fontAnswer = fails; }, &TOption::SpeedButton2,
       true},
      {"save, cancelled after naming a file",
       [](FakeDialogs& d) {
         d.saveAnswer = [](platform::FileDialogParams& params) {
           params.fileName = "C:\\typed.cpu";
           return false;
         };
       },
       &TOption::SpeedButton7, false},
      {"save, failing", [&](FakeDialogs& d) { d.saveAnswer = fails; }, &TOption::SpeedButton7,
       true},
      {"open, cancelled after naming a file",
       [](FakeDialogs& d) {
         d.openAnswer = [](platform::FileDialogParams& params) {
           params.fileName = "C:\\green.cpu";
           return false;
         };
       },
       &TOption::SpeedButton6, false},
      {"open, failing", [&](FakeDialogs& d) { d.openAnswer = fails; }, &TOption::SpeedButton6,
       true},
  };

  StartAll();
  form->Options1->Click();
  // A scheme with a green top waits on disk; the preview's list has TopColor chosen.
  files.files["C:\\green.cpu"] =
      "$0000FF00I$0064408CIclBlackI$00C06868I$00DF8080I$00A06868I$00BF8080I$00FFB0B0I"
      "$00A060A0I$008060A0I$00D060E0I$00823C96I$008848C0I$00E06868I$00FF8080I$0000FF00I"
      "\r\n\"Arial\", 9, [Bold], [clRed]";
  for (int i = 0; i < option->ComboBox1->ItemCount(); ++i) {
    if (option->ComboBox1->Items(i) == "TopColor") {
      windows.WidgetOf(option->ComboBox1->Widget()).Choose(i);
    }
  }
  ASSERT_EQ(option->ComboBox1->Text(), "TopColor");
  const TColor top = option->RarBar1->TopColor();
  const std::string face = option->RarBar1->Font()->Name();
  const int height = option->RarBar1->Font()->Height();
  const TColor mainTop = form->RarBar1->TopColor();

  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    dialogs = FakeDialogs();
    windows.messageBoxes.clear();
    c.answer(dialogs);
    windows.WidgetOf((option->*c.button)->Widget()).Click();
    EXPECT_EQ(dialogs.calls.size(), 1u);
    EXPECT_EQ(BoxTexts(), c.reported ? std::vector<std::string>{"Dialogue indisponible."}
                                     : std::vector<std::string>{});
    EXPECT_EQ(option->RarBar1->TopColor(), top);
    EXPECT_EQ(option->RarBar1->Font()->Name(), face);
    EXPECT_EQ(option->RarBar1->Font()->Height(), height);
    EXPECT_EQ(files.files.size(), 1u);  // the green scheme alone: nothing saved
    EXPECT_EQ(option->OpenDialog1->FileName(), "");
    EXPECT_EQ(option->SaveDialog1->FileName(), "");
    EXPECT_EQ(form->RarBar1->TopColor(), mainTop);
    EXPECT_TRUE(option->Visible());
  }

  // The page is not stuck: a dialog that confirms works at once.
  dialogs = FakeDialogs();
  dialogs.openAnswer = FakeDialogs::PickFile("C:\\green.cpu");
  windows.WidgetOf(option->SpeedButton6->Widget()).Click();
  EXPECT_EQ(option->RarBar1->TopColor(), static_cast<TColor>(0x0000FF00));
  EXPECT_EQ(option->RarBar1->Font()->Name(), "Arial");
}

// ---- Run At Startup ----------------------------------------------------------------------------

// Neither the machine's Run key nor the user's can be opened: ticking and unticking say nothing,
// write nothing, and leave the check box as the user set it.
TEST_F(FaultInjectionTest, RunAtStartupWithBothRunKeysRefusedSaysNothing) {
  StartAll();
  registry.FailOpen(kHkeyLocalMachine, kRunKey, platform::kErrorAccessDenied);
  registry.FailOpen(kHkeyCurrentUser, kRunKey, platform::kErrorAccessDenied);
  registry.FailCreate(kHkeyCurrentUser, kRunKey, platform::kErrorAccessDenied);
  registry.ClearLog();
  for (const bool on : {true, false}) {
    application->Guard([&] { option->CheckBox3->SetChecked(on); });
    EXPECT_EQ(option->CheckBox3->Checked(), on);
  }
  EXPECT_TRUE(windows.messageBoxes.empty());
  EXPECT_EQ(registry.SetValueCount(), 0);
  EXPECT_FALSE(registry.HasKey(kHkeyCurrentUser, kRunKey));
  EXPECT_EQ(registry.OpenKeyCount(), 0);
}

}  // namespace
