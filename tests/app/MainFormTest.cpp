#include "app/Tamik.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "MainFormFixture.h"

namespace {

constexpr std::int64_t kSecond = 10'000'000;  // 100-nanosecond units

// The window without a registry or a screen: what it shows comes from its layout alone.
class MainFormTest : public MainFormFixture {
 protected:
  MainFormTest() {
    withRegistry = false;
    withScreen = false;
  }
};

TEST_F(MainFormTest, FirstRunAppliesTheLayoutSlots) {
  Start();
  EXPECT_EQ(form->Name(), "MainForm");
  EXPECT_EQ(form->Caption(), "Tamik");
  EXPECT_EQ(form->BoundsRect(), (TRect{198, 107, 198 + 124, 107 + 100}));
  EXPECT_EQ(form->Label1->Caption(), "Unknown Version");
  EXPECT_EQ(form->Label2->Caption(), "# CPUs : 2");
  EXPECT_EQ(form->CpuCountCorrection, 0);
  for (TRarBar* bar : {form->RarBar1, form->RarBar2}) {
    EXPECT_EQ(bar->Height(), 100);
    EXPECT_TRUE(bar->ShowPercentage());
    EXPECT_EQ(bar->Color(), clWhite);
    EXPECT_EQ(bar->Font()->Name(), "Small Fonts");
    EXPECT_EQ(bar->Font()->Height(), -9);
  }
  EXPECT_EQ(form->RarBar1->Font()->Charset(), DEFAULT_CHARSET);
  EXPECT_EQ(form->RarBar2->Font()->Charset(), ANSI_CHARSET);
  EXPECT_EQ(form->RarBar2->BoundsRect(), (TRect{63, 0, 128, 100}));
  EXPECT_EQ(form->Timer1->Interval(), 1000u);
  EXPECT_EQ(windows.RunningInterval(), 1000u);
  EXPECT_EQ(form->Color(), clWhite);
  EXPECT_TRUE(form->TransparentColor());
  EXPECT_EQ(form->TransparentColorValue(), clWhite);
  EXPECT_FALSE(form->AlphaBlend());
  EXPECT_EQ(form->AlphaBlendValue(), 200);
  // Every slot lies outside the visible strip.
  for (TControl* slot : std::initializer_list<TControl*>{
           form->Label1, form->Label7, form->CheckBox1, form->CheckBox5, form->SpinEdit1}) {
    EXPECT_GE(slot->Left(), 136) << slot->Name();
  }
  // The native side: no taskbar button, not topmost, white keyed out.
  EXPECT_EQ(windows.applicationWindow->calls,
            (std::vector<std::string>{"Show 0", "SetExStyle 0x80", "Show 5"}));
  EXPECT_FALSE(Window().topmost);
  EXPECT_NE(Window().exStyle & platform::kWsExLayered, 0);
  EXPECT_EQ(Window().layeredFlags, platform::kLwaColorKey);
  EXPECT_EQ(Window().colorKey, 0xFFFFFFu);
  EXPECT_TRUE(windows.messageBoxes.empty());
}

TEST_F(MainFormTest, VersionTextTable) {
  struct Case {
    std::uint32_t platformId, major, minor;
    const char* csd;
    const char* text;
  };
  const Case cases[] = {
      {0, 3, 10, "", "Windows 3.11"},
      {1, 4, 0, "", "Windows 95"},
      {1, 4, 10, " A", "Windows 98 SE"},
      {1, 4, 10, "A", "Windows 98"},  // only the second character counts
      {1, 4, 90, "", "Windows Millenium"},
      {1, 4, 3, "", "Unknown Version"},
      {2, 3, 51, "", "Windows NT 3.51"},
      {2, 4, 0, "Service Pack 6", "Windows NT 4.0"},
      {2, 5, 0, "", "Windows 2000"},
      {2, 5, 1, "", "Windows XP"},
      {2, 5, 2, "", "Unknown Version"},
      {2, 6, 0, "", "Unknown Version"},
      {3, 10, 0, "", "Unknown Platform"},
  };
  Start();
  for (const Case& c : cases) {
    system.SetVersion(c.platformId, c.major, c.minor, 0, c.csd);
    EXPECT_EQ(form->GetOsVersionText(), c.text) << c.platformId << " " << c.major << "." << c.minor;
  }
  EXPECT_EQ(system.lastVersionSize, 148u);
}

TEST_F(MainFormTest, CountCorrectionNarrowsToOneBarThatTheSecondMirrors) {
  system.SetVersion(platform::kVerPlatformWin32Nt, 5, 1, 2600);  // Windows XP
  Serve(0, {0, 0}, /*withTotal=*/false);
  Start();
  EXPECT_EQ(form->Label2->Caption(), "# CPUs : 1");
  EXPECT_EQ(form->Width(), 62);
  Serve(1, {kSecond / 4, 0});  // processor 0 idle a quarter of the second
  windows.FireTimers();
  EXPECT_EQ(form->RarBar1->Progress(), 75);
  EXPECT_EQ(form->RarBar2->Progress(), 75);  // slot 1 is never asked for
}

TEST_F(MainFormTest, CorrectionWithThreeSlotsKeepsBothBars) {
  system.SetVersion(platform::kVerPlatformWin32Nt, 5, 0, 2195);  // Windows 2000
  Serve(0, {0, 0, 0}, /*withTotal=*/true);
  Start();
  EXPECT_EQ(form->Label2->Caption(), "# CPUs : 2");
  EXPECT_EQ(form->Width(), 124);
}

TEST_F(MainFormTest, NtFourWithOneProcessorShowsOneBar) {
  system.SetVersion(platform::kVerPlatformWin32Nt, 4, 0, 1381);
  Serve(0, {0});
  Start();
  EXPECT_EQ(form->Label1->Caption(), "Windows NT 4.0");
  EXPECT_EQ(form->Label2->Caption(), "# CPUs : 1");
  EXPECT_EQ(form->Width(), 62);
}

TEST_F(MainFormTest, TickTruncatesFirstThenTakesTheAbsoluteValue) {
  Start();
  struct Case {
    std::int64_t idle;  // idle time over one second
    std::int32_t progress;
  };
  const Case cases[] = {
      {kSecond / 2, 50},
      {kSecond, 0},
      {kSecond + kSecond * 7 / 1000, 0},   // -0.7 %
      {kSecond + kSecond * 13 / 1000, 1},  // -1.3 %
      {kSecond / 10000, 99},               // 99.99 %
      {0, 100},
  };
  std::int64_t idle0 = 0;
  int second = 0;
  for (const Case& c : cases) {
    idle0 += c.idle;
    Serve(++second, {idle0, 0});
    windows.FireTimers();
    EXPECT_EQ(form->RarBar1->Progress(), c.progress) << c.idle;
    EXPECT_EQ(form->RarBar2->Progress(), 100);
  }
  EXPECT_TRUE(windows.messageBoxes.empty());
}

TEST_F(MainFormTest, TimerIntervalFollowsItsSlotAndRestartsOnlyOnChange) {
  Start();
  const auto startsBefore = windows.startedIntervals.size();
  form->FormCreate(form);  // same slot value: the timer is left alone
  EXPECT_EQ(windows.startedIntervals.size(), startsBefore);

  form->Label3->SetCaption("500");
  form->FormCreate(form);
  EXPECT_EQ(windows.RunningInterval(), 500u);
  EXPECT_EQ(windows.startedIntervals.back(), 500u);

  form->Label3->SetCaption("0");  // no ticks at all: the bars stay frozen
  form->FormCreate(form);
  EXPECT_TRUE(windows.timers.empty());
}

TEST_F(MainFormTest, RefusedTimerIsReportedInTheErrorBox) {
  Start();
  windows.refuseTimers = true;
  form->Label3->SetCaption("250");
  application->Guard([&] { form->FormCreate(form); });
  ASSERT_EQ(windows.messageBoxes.size(), 1u);
  EXPECT_EQ(windows.messageBoxes[0].text, "Pas assez de timers disponibles.");
  EXPECT_EQ(windows.messageBoxes[0].caption, kApplicationTitle);
  EXPECT_EQ(windows.messageBoxes[0].flags, platform::kMbOk | platform::kMbIconError);
}

TEST_F(MainFormTest, BadSlotTextStopsFormCreateAtThatStep) {
  Start();
  form->Label7->SetCaption("abc");
  form->CheckBox4->SetChecked(false);
  application->Guard([&] { form->FormCreate(form); });
  ASSERT_EQ(windows.messageBoxes.size(), 1u);
  EXPECT_EQ(windows.messageBoxes[0].text, "'abc' n'est pas une valeur entière correcte.");
  EXPECT_TRUE(form->TransparentColor());  // step 12 never ran
}

TEST_F(MainFormTest, RepeatingTickErrorOpensOneBoxAtATime) {
  Start();
  perfblock::PerfDataBuilder builder;
  builder.Processor().titleIndex = 999;  // no Processor object: every tick fails
  registry.SetPerformanceData(builder.Build());
  int nestedTicks = 0;
  windows.whileMessageBoxOpen = [&] {
    if (nestedTicks++ < 3) windows.FireTimers();  // ticks go on while the box is open
  };
  windows.FireTimers();
  EXPECT_EQ(windows.messageBoxes.size(), 1u);
  windows.whileMessageBoxOpen = nullptr;
  windows.FireTimers();  // the box was closed: the next failure is shown again
  ASSERT_EQ(windows.messageBoxes.size(), 2u);
  EXPECT_EQ(windows.messageBoxes[1].text, "Unable to locate the \"Processor\" performance object.");
}

TEST_F(MainFormTest, AlwaysOnTopSlotPutsTheWindowInTheTopmostBand) {
  Start();
  form->CheckBox1->SetChecked(true);
  form->FormCreate(form);
  EXPECT_TRUE(Window().topmost);
  EXPECT_EQ(Window().calls.back().rfind("SetPosition -1,0,0,0,0,3", 0), 0u);
}

TEST_F(MainFormTest, TransparencyPropertiesReachTheWindowOnlyOnChange) {
  Start();
  FakeWindowPeer& window = Window();
  window.calls.clear();
  form->SetAlphaBlendValue(200);  // unchanged
  form->SetTransparentColor(true);
  EXPECT_TRUE(window.calls.empty());

  form->SetAlphaBlend(true);
  EXPECT_EQ(window.calls, (std::vector<std::string>{"SetLayeredAttributes 0xFFFFFF,200,3"}));
  form->SetAlphaBlendValue(120);
  EXPECT_EQ(window.calls.back(), "SetLayeredAttributes 0xFFFFFF,120,3");

  window.calls.clear();
  form->SetAlphaBlend(false);
  form->SetTransparentColor(false);
  EXPECT_EQ(window.calls, (std::vector<std::string>{"SetLayeredAttributes 0xFFFFFF,120,1",
                                                    "SetExStyle 0x0", "Redraw 1157"}));
  EXPECT_EQ(window.exStyle & platform::kWsExLayered, 0);

  window.calls.clear();
  form->SetAlphaBlend(true);  // the style bit is added again before the attributes
  EXPECT_EQ(window.calls, (std::vector<std::string>{"SetExStyle 0x80000",
                                                    "SetLayeredAttributes 0xFFFFFF,120,2"}));
}

TEST_F(MainFormTest, WithoutLayeredWindowsTheSettingsHaveNoNativeEffect) {
  windows.layeredWindows = false;
  Start();
  Window().calls.clear();
  form->SetAlphaBlend(true);
  form->SetAlphaBlendValue(10);
  EXPECT_TRUE(form->AlphaBlend());
  EXPECT_TRUE(Window().calls.empty());
}

TEST_F(MainFormTest, CloseKeepsTheWindowColourInItsSlotAndEndsTheProgram) {
  Start();
  form->SetColor(clBtnFace);
  form->Close();
  EXPECT_EQ(form->Label7->Caption(), "-2147483633");
  EXPECT_TRUE(application->Terminated());
  EXPECT_TRUE(windows.quitRequested);
}

TEST_F(MainFormTest, FormsAreModelsWithoutAWindowSystem) {
  sampler = std::make_unique<CpuUsage>(registry, system);
  TApplication bare(TApplication::Ports{});
  auto* main = bare.CreateForm<TMainForm>(*sampler, system);
  EXPECT_FALSE(main->HandleAllocated());
  EXPECT_EQ(main->Height(), 100);
  EXPECT_TRUE(main->TransparentColor());
  main->Timer1->Tick();  // ticks still work on the model
  EXPECT_EQ(main->RarBar1->DrawCount(), main->RarBar2->DrawCount());
}

}  // namespace
