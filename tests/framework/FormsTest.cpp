#include "framework/Forms.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/FakeWindowSystem.h"
#include "framework/Exception.h"
#include "framework/ExtCtrls.h"
#include "framework/Spin.h"
#include "framework/StdCtrls.h"

namespace {

TEST(ErrorBoxTest, FullStopOnlyAfterCharactersThatSortAfterIt) {
  struct Case {
    const char* message;
    const char* shown;
  };
  const Case cases[] = {
      {"CPU index out of bounds", "CPU index out of bounds."},
      {"Done.", "Done."},
      {"Count 5", "Count 5."},               // digits sort after "."
      {"Really?", "Really?."},               // "?" sorts after "."
      {"Unable (error)", "Unable (error)"},  // ")" sorts before "."
      {"Trailing blank ", "Trailing blank "},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(TApplication::ErrorBoxText(c.message), c.shown);
}

class FormsTest : public ::testing::Test {
 protected:
  FakeWindowSystem windows;
  TApplication application{TApplication::Ports{&windows, {}}};
};

TEST_F(FormsTest, ErrorsAreShownWithTheTitleAndAnErrorIcon) {
  application.SetTitle("Title");
  application.Guard([] { throw Exception("Boom"); });
  ASSERT_EQ(windows.messageBoxes.size(), 1u);
  EXPECT_EQ(windows.messageBoxes[0].text, "Boom.");
  EXPECT_EQ(windows.messageBoxes[0].caption, "Title");
  EXPECT_EQ(windows.messageBoxes[0].flags, platform::kMbIconError);
}

TEST_F(FormsTest, TimerRestartsOnlyForANewIntervalAndOnlyWhenItCanTick) {
  auto* form = application.CreateForm<TForm>();
  auto* timer = new TTimer(form);
  EXPECT_TRUE(windows.timers.empty());  // no handler bound: no platform timer
  int ticks = 0;
  timer->SetOnTimer([&](TObject*) { ++ticks; });
  EXPECT_EQ(windows.RunningInterval(), 1000u);
  windows.FireTimers();
  EXPECT_EQ(ticks, 1);

  const auto stops = windows.timerStops;
  timer->SetInterval(1000);  // the same interval does nothing
  EXPECT_EQ(windows.timerStops, stops);
  timer->SetInterval(150);
  EXPECT_EQ(windows.RunningInterval(), 150u);
  timer->SetInterval(0);
  EXPECT_TRUE(windows.timers.empty());
  timer->SetInterval(300);
  timer->SetEnabled(false);
  EXPECT_TRUE(windows.timers.empty());
  timer->SetEnabled(true);
  EXPECT_EQ(windows.RunningInterval(), 300u);

  windows.refuseTimers = true;
  try {
    timer->SetInterval(400);
    ADD_FAILURE();
  } catch (const Exception& error) {
    EXPECT_EQ(error.Message(), "Pas assez de timers disponibles");
  }
}

TEST_F(FormsTest, ATickErrorIsShownAndTheTimerGoesOn) {
  auto* form = application.CreateForm<TForm>();
  auto* timer = new TTimer(form);
  int ticks = 0;
  timer->SetOnTimer([&](TObject*) {
    ++ticks;
    throw Exception("tick failed");
  });
  windows.FireTimers();
  windows.FireTimers();
  EXPECT_EQ(ticks, 2);
  EXPECT_EQ(windows.messageBoxes.size(), 2u);
}

TEST_F(FormsTest, ShowRaisesOnShowBeforeTheWindowBecomesVisible) {
  auto* form = application.CreateForm<TForm>();
  std::vector<std::string> log;
  form->OnShow = [&](TObject*) {
    log.push_back(form->HandleAllocated() && windows.windows.back()->visible ? "visible"
                                                                             : "not yet");
  };
  form->Show();
  EXPECT_EQ(log, std::vector<std::string>{"not yet"});
  EXPECT_TRUE(windows.windows.back()->visible);
  form->Show();  // already visible
  EXPECT_EQ(log.size(), 1u);
  form->Hide();
  EXPECT_FALSE(windows.windows.back()->visible);
}

TEST_F(FormsTest, CloseAsksFirstThenHidesOrEndsTheApplication) {
  auto* mainForm = application.CreateForm<TForm>();
  auto* other = application.CreateForm<TForm>();
  EXPECT_EQ(application.MainForm(), mainForm);
  other->Show();
  bool allow = false;
  other->OnCloseQuery = [&](TObject*, bool& canClose) { canClose = allow; };
  other->Close();
  EXPECT_TRUE(other->Visible());
  allow = true;
  other->Close();
  EXPECT_FALSE(other->Visible());
  EXPECT_FALSE(application.Terminated());

  TCloseAction seen = caNone;
  mainForm->OnClose = [&](TObject*, TCloseAction& action) { seen = action; };
  mainForm->Close();
  EXPECT_EQ(seen, caHide);
  EXPECT_TRUE(application.Terminated());
}

TEST_F(FormsTest, ColourReachesTheWindowBackground) {
  auto* form = application.CreateForm<TForm>();
  form->SetColor(clBlack);
  form->Show();
  EXPECT_EQ(windows.windows.back()->background, 0u);
  form->SetColor(clWhite);
  EXPECT_EQ(windows.windows.back()->background, 0xFFFFFFu);
}

TEST(CheckBoxTest, ClickFollowsEveryChangeOfTheTick) {
  TCheckBox box(nullptr);
  int clicks = 0;
  box.OnClick = [&](TObject*) { ++clicks; };
  box.SetChecked(false);
  EXPECT_EQ(clicks, 0);
  box.SetChecked(true);
  box.SetChecked(true);
  box.SetChecked(false);
  EXPECT_EQ(clicks, 2);
}

TEST(SpinEditTest, ValueIsClampedRoundedAndKeptAsText) {
  TSpinEdit spin(nullptr);
  spin.SetMinValue(50);
  spin.SetMaxValue(200);
  int changes = 0;
  spin.OnChange = [&](TObject*) { ++changes; };
  struct Case {
    long double written;
    long double read;
  };
  const Case cases[] = {{100, 100}, {150.5L, 150}, {151.5L, 152}, {20, 50}, {999, 200}};
  for (const Case& c : cases) {
    spin.SetValue(c.written);
    EXPECT_EQ(spin.Value(), c.read) << static_cast<double>(c.written);
  }
  EXPECT_EQ(changes, 5);
  spin.StepUp();  // at the maximum: the text stays, nothing fires
  EXPECT_EQ(changes, 5);
  spin.StepDown();
  EXPECT_EQ(spin.Text(), "199");

  TSpinEdit unbounded(nullptr);  // minimum = maximum: no clamping
  unbounded.SetValue(-7);
  EXPECT_EQ(unbounded.Value(), -7);
}

}  // namespace
