// The About page, the debug page and the credits window.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/MainFormFixture.h"
#include "app/Program.h"
#include "framework/SysUtils.h"
#include "options/Credits.h"
#include "options/Links.h"
#include "options/Options.h"

namespace {

class AboutTest : public MainFormFixture {
 protected:
  void StartAll() {
    Run();
    option = CreateOptionsDialog(*application, *form);
    credit = application->CreateForm<TCredit>();
    option->SetCredit(credit);
  }

  TOption* option = nullptr;
  TCredit* credit = nullptr;
};

TEST_F(AboutTest, ClockTextHasFourSignificantDigits) {
  const struct {
    double mhz;
    char separator;
    const char* text;
  } cases[] = {
      {2394.6, '.', "2395 Mhz measured"},  {733.12, ',', "733,1 Mhz measured"},
      {733.12, '.', "733.1 Mhz measured"}, {8589.9, '.', "8590 Mhz measured"},
      {99.996, '.', "100 Mhz measured"},   {12345.6, '.', "12350 Mhz measured"},
      {0, '.', "0 Mhz measured"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    FormatSettings.DecimalSeparator = c.separator;
    EXPECT_EQ(TOption::ClockText(c.mhz), c.text);
  }
}

TEST_F(AboutTest, TheClockIsMeasuredAtRealTimePriorityAndBothPrioritiesComeBack) {
  system.ticksPerMillisecond = 2'394'600;  // 2394.6 MHz
  StartAll();
  // Measured twice while the dialog is created: FormCreate, then its "Refresh" clicked by code.
  const std::vector<std::string> once = {"SetPriorityClass 256",
                                         "SetThreadPriority 15",
                                         "Sleep 10",
                                         "TimeStampCounter",
                                         "Sleep 500",
                                         "TimeStampCounter",
                                         "SetThreadPriority 0",
                                         "SetPriorityClass 32"};
  std::vector<std::string> twice = once;
  twice.insert(twice.end(), once.begin(), once.end());
  EXPECT_EQ(system.calls, twice);
  EXPECT_EQ(option->Label8->Caption(), "2395 Mhz measured");
}

TEST_F(AboutTest, ACounterAbove8590MHzDoesNotWrap) {
  system.ticksPerMillisecond = 10'000'000;  // 10 GHz: 5e9 ticks in half a second
  StartAll();
  EXPECT_DOUBLE_EQ(option->MeasureClockMHz(), 10000.0);
  EXPECT_EQ(option->Label8->Caption(), "10000 Mhz measured");
}

TEST_F(AboutTest, RefreshShowsTheMemoryAndTheTrayHint) {
  system.memory = {37, 512ull * 1024 * 1024, 200ull * 1024 * 1024 + 1023};
  StartAll();
  EXPECT_EQ(option->Label15->Caption(),
            " Memory Load : 37 %\r Total Memory : 524288 KB\r Avai. Memory : 204800 KB");
  system.tickCount = 90061001;
  windows.FireTimers();
  EXPECT_EQ(option->Label16->Caption(), "");  // set at creation, before any tick
  option->SpeedButton1->Click();
  EXPECT_EQ(option->Label16->Caption(), "Uptime: 1 Days 1 Hours 1 Minutes 1 Seconds");
  // Every show sets it too.
  system.tickCount = 0;
  windows.FireTimers();
  form->Options1->Click();
  EXPECT_EQ(option->Label16->Caption(), "Uptime: 0 Days 0 Hours 0 Minutes 0 Seconds");
}

TEST_F(AboutTest, LinksOpenTheirFixedAddressesThroughTheShell) {
  StartAll();
  option->Label3->OnClick(option->Label3);
  option->Label4->OnClick(option->Label4);
  credit->Label7->OnClick(credit->Label7);
  ASSERT_EQ(shell.executed.size(), 3u);
  EXPECT_EQ(shell.executed[0].verb, "open");
  EXPECT_EQ(shell.executed[0].file, links::kWebSite);
  EXPECT_EQ(shell.executed[0].showCommand, 10);
  EXPECT_EQ(shell.executed[0].owner, windows.applicationWindow->Handle());
  EXPECT_EQ(shell.executed[1].file, "mailto:tamik@example.org");
  EXPECT_EQ(shell.executed[2].file, links::kSite1);
  // A link nothing can open shows nothing.
  shell.executeSucceeds = false;
  credit->Label13->OnClick(credit->Label13);
  EXPECT_TRUE(windows.messageBoxes.empty());
}

TEST_F(AboutTest, ThePicturesAreOurs) {
  StartAll();
  EXPECT_EQ(option->Image1->Picture().Width(), 190);
  EXPECT_EQ(option->Image1->Picture().Height(), 83);
  EXPECT_TRUE(option->Image1->Transparent());
  EXPECT_EQ(credit->Image1->Picture().Width(), 320);
  EXPECT_EQ(credit->Image1->Picture().Height(), 240);
  EXPECT_EQ(credit->Caption(), "--==[ Credits ]==-------");
  EXPECT_EQ(credit->ClientWidth(), 320);
  EXPECT_EQ(credit->ClientHeight(), 239);
}

TEST_F(AboutTest, ThanxToSwapsThePictureAndTheCreditsTexts) {
  StartAll();
  option->SpeedButton8->Click();  // "Credits"
  ASSERT_TRUE(credit->Visible());
  const std::vector<TLabel*> texts = {
      credit->Label1,  credit->Label2,  credit->Label5,  credit->Label6,  credit->Label7,
      credit->Label8,  credit->Label9,  credit->Label10, credit->Label11, credit->Label12,
      credit->Label13, credit->Label14, credit->Label15};
  for (int press = 1; press <= 3; ++press) {
    SCOPED_TRACE(press);
    credit->SpeedButton1->Click();
    const bool odd = press % 2 == 1;
    EXPECT_EQ(credit->Image1->Visible(), !odd);
    for (TLabel* label : texts) EXPECT_EQ(label->Visible(), odd) << label->Name();
    EXPECT_TRUE(credit->Label3->Visible());
    EXPECT_TRUE(credit->Label4->Visible());
    EXPECT_TRUE(credit->SpeedButton1->Visible());
  }
  EXPECT_EQ(credit->Label14->Caption(), "Thanks for all, past present and futur");
  EXPECT_EQ(credit->Label15->Caption(),
            "Thanks to all for beta testing, ideas or simply for using Tamik");
}

TEST_F(AboutTest, TheBannerIsDrawnTransparentOnItsPage) {
  StartAll();
  form->Options1->Click();
  option->PageControl1->SetActivePage(option->About);
  auto* page = static_cast<FakeWidget*>(option->About->Widget());
  ASSERT_NE(page, nullptr);
  page->Paint();
  ASSERT_GT(page->copies, 0);
  // The banner's transparent pixels show the page's colour; some pixels are the picture's.
  const TBitmap& image = option->Image1->Image();
  const std::uint32_t face = TBitmap::PixelFromRgb(ColorToRGB(clBtnFace, screen));
  int own = 0;
  for (int y = 0; y < image.Height(); ++y) {
    for (int x = 0; x < image.Width(); ++x) own += image.Row(y)[x] != face;
  }
  EXPECT_GT(own, 100);
  EXPECT_EQ(image.Row(image.Height() - 1)[image.Width() - 1], face);  // beyond the picture
}

TEST_F(AboutTest, WindowsThatGoAreForgottenByThoseThatKnowThem) {
  StartAll();
  delete credit;
  EXPECT_EQ(option->Credit, nullptr);
  option->SpeedButton8->Click();  // "Credits" with no credits window does nothing
  delete option;
  EXPECT_EQ(form->Option, nullptr);
  windows.FireTimers();  // the refresh goes on without the dialog's opacity step
  EXPECT_TRUE(windows.messageBoxes.empty());
}

}  // namespace
