// The main window's settings store: what the program leaves in the registry and what it takes
// back from there on every show.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "MainFormFixture.h"

namespace {

using platform::kHkeyCurrentUser;

constexpr const char* kSection = "Software\\Tamik\\TMainForm";

class MainFormStoreTest : public MainFormFixture {
 protected:
  void Put(const char* name, const char* text) {
    registry.PutString(kHkeyCurrentUser, kSection, name, text);
  }
  std::optional<std::string> Stored(const std::string& name) {
    return registry.GetString(kHkeyCurrentUser, kSection, name);
  }
};

TEST_F(MainFormStoreTest, FirstRunLeavesTheEmptyKeyAndRunsFormCreateTwice) {
  Start();
  EXPECT_EQ(FormCreateRuns(), 1);
  application->Run();
  EXPECT_EQ(FormCreateRuns(), 2);
  EXPECT_TRUE(registry.HasKey(kHkeyCurrentUser, "Software\\Tamik"));
  EXPECT_TRUE(registry.SubKeyNames(kHkeyCurrentUser, "Software\\Tamik").empty());
  EXPECT_EQ(registry.SetValueCount(), 0);
  EXPECT_EQ(form->BoundsRect(), (TRect{198, 107, 322, 207}));
  EXPECT_EQ(form->Label3->Caption(), "1000");
  EXPECT_TRUE(form->Visible());
  EXPECT_TRUE(windows.messageBoxes.empty());
}

TEST_F(MainFormStoreTest, NormalCloseLeavesTheFixedValuesAndFiftyNineListedOnes) {
  Run([this] { form->Close(); });

  std::vector<std::string> expected = {"FormVersion",
                                       "Flags",
                                       "ShowCmd",
                                       "PixelsPerInch",
                                       "MinMaxPos(1024x768)",
                                       "MinMaxPos",
                                       "NormPos(1024x768)",
                                       "NormPos",
                                       "Visible",
                                       "RarBar1_Height",
                                       "Timer1_Interval",
                                       "CheckBox1_Checked",
                                       "CheckBox2_Checked",
                                       "SpinEdit1_Value"};
  for (const char* bar : {"RarBar1_Font", "RarBar2_Font"}) {
    for (const char* sub : {"Charset", "Color", "Height", "Name", "Pitch", "Size", "Style"}) {
      expected.push_back(std::string(bar) + sub);
    }
  }
  for (const char* name :
       {"CheckBox3_Checked", "Label3_Caption", "CheckBox4_Checked", "CheckBox5_Checked",
        "Label5_Caption", "Label6_Caption", "Label4_Caption"}) {
    expected.push_back(name);
  }
  for (const char* bar : {"RarBar1_", "RarBar2_"}) {
    for (const char* color :
         {"TopColor", "SideColor2", "SideColor1", "FilledSideColor2", "FilledSideColor1",
          "FilledLineColor", "FilledFrameColor", "FilledColor", "EmptyLineColor",
          "EmptyFrameColor2", "EmptyFrameColor1", "EmptyColor2", "EmptyColor1", "Color",
          "BottomFrameColor", "BottomColor"}) {
      expected.push_back(std::string(bar) + color);
    }
  }
  expected.push_back("Label7_Caption");
  ASSERT_EQ(expected.size(), 9u + 59u);
  EXPECT_EQ(registry.SetValueNames(), expected);
  EXPECT_EQ(registry.ValueNames(kHkeyCurrentUser, kSection).size(), expected.size());
  for (const std::string& name : expected) {
    EXPECT_EQ(registry.GetValue(kHkeyCurrentUser, kSection, name)->type, platform::kRegSz) << name;
  }

  const std::pair<const char*, const char*> values[] = {
      {"FormVersion", "0"},
      {"Visible", "0"},
      {"ShowCmd", "1"},
      {"PixelsPerInch", "96"},
      {"NormPos", "198,107,322,207"},
      {"RarBar1_FontCharset", "1"},
      {"RarBar1_FontColor", "8388736"},
      {"RarBar1_FontHeight", "-9"},
      {"RarBar1_FontName", "Small Fonts"},
      {"RarBar1_FontPitch", "fpDefault"},
      {"RarBar1_FontSize", "7"},
      {"RarBar1_FontStyle", "[fsBold]"},
      {"RarBar2_FontCharset", "0"},
      {"RarBar2_FontColor", "8388736"},
      {"RarBar2_FontHeight", "-9"},
      {"RarBar2_FontName", "Small Fonts"},
      {"RarBar2_FontPitch", "fpDefault"},
      {"RarBar2_FontSize", "7"},
      {"RarBar2_FontStyle", "[fsBold]"},
      {"RarBar1_Height", "100"},
      {"Timer1_Interval", "1000"},
      {"SpinEdit1_Value", "100"},
      {"CheckBox1_Checked", "False"},
      {"CheckBox3_Checked", "True"},
      {"Label3_Caption", "1000"},
      {"RarBar1_TopColor", "16744576"},
      {"RarBar2_BottomColor", "8011916"},
      {"RarBar1_Color", "16777215"},  // FormCreate keyed the bars' backgrounds to Label7
      {"Label7_Caption", "16777215"},
  };
  for (const auto& [name, text] : values) EXPECT_EQ(Stored(name), text) << name;

  // The close saved; the destroy does not save again.
  const int writes = registry.SetValueCount();
  application.reset();
  EXPECT_EQ(registry.SetValueCount(), writes);
  EXPECT_TRUE(windows.messageBoxes.empty());
}

TEST_F(MainFormStoreTest, RestoredSlotsReachTheSecondFormCreate) {
  FormatSettings.DecimalSeparator = ',';
  Put("CheckBox1_Checked", "true");
  Put("CheckBox3_Checked", "1");  // not a name: unchanged
  Put("Label3_Caption", "  500 ");
  Put("RarBar1_TopColor", "abc");
  Put("RarBar1_Height", "40");  // FormCreate sets the height from SpinEdit1 again
  Put("SpinEdit1_Value", "150.5");
  Put("RarBar1_FontStyle", "[fsBold, fsItalic]");
  Put("RarBar2_FontStyle", "[nothing]");
  Put("Label7_Caption", "255");
  Run();
  EXPECT_TRUE(windows.windows.at(0)->topmost);
  EXPECT_TRUE(form->CheckBox3->Checked());
  EXPECT_EQ(form->Label3->Caption(), "500");
  EXPECT_EQ(windows.RunningInterval(), 500u);
  EXPECT_EQ(form->RarBar1->TopColor(), 0);
  EXPECT_EQ(form->SpinEdit1->Value(), 150);  // the spin edit holds whole numbers, halves to even
  EXPECT_EQ(form->RarBar1->Height(), 150);
  EXPECT_EQ(form->Height(), 150);
  EXPECT_EQ(form->RarBar1->Font()->Style(), (TFontStyles{fsBold, fsItalic}));
  EXPECT_EQ(form->RarBar2->Font()->Style(), TFontStyles{});
  EXPECT_EQ(form->Color(), clRed);
  EXPECT_EQ(form->TransparentColorValue(), clRed);
  EXPECT_TRUE(windows.messageBoxes.empty());
}

TEST_F(MainFormStoreTest, SpinEditValueIsReadWithAPointWhateverTheLocale) {
  struct Case {
    const char* text;
    char separator;
    long double value;
  };
  const Case cases[] = {{"151.5", ',', 152},
                        {"151.5", '.', 152},
                        {"151,5", ',', 152},
                        {"abc", ',', 100},
                        {"", '.', 100}};
  for (const Case& c : cases) {
    application.reset();
    FormatSettings.DecimalSeparator = c.separator;
    Put("SpinEdit1_Value", c.text);
    Run();
    EXPECT_EQ(form->SpinEdit1->Value(), c.value) << c.text << " with " << c.separator;
  }
}

TEST_F(MainFormStoreTest, PositionAndMinimisedStateComeBackAtTheNextStart) {
  Put("NormPos", "400,300,0,0");
  Put("ShowCmd", "2");
  Run();
  FakeWindowPeer& window = *windows.windows.at(0);
  EXPECT_EQ(form->BoundsRect(), (TRect{400, 300, 524, 400}));  // the position only
  EXPECT_EQ(window.left, 400);
  EXPECT_EQ(window.top, 300);
  EXPECT_EQ(form->WindowState(), wsNormal);
  EXPECT_EQ(windows.applicationWindow->postedSysCommands,
            std::vector<std::uint32_t>{platform::kScMinimize});
  // Closed while the application is minimised, it is minimised at the next start again.
  form->Close();
  EXPECT_EQ(Stored("ShowCmd"), "2");
  EXPECT_EQ(Stored("NormPos"), "400,300,524,400");
}

TEST_F(MainFormStoreTest, EveryShowRestoresWhatTheLastCloseSaved) {
  Put("Label3_Caption", "500");
  Run([this] {
    form->Label3->SetCaption("700");  // as the options dialog would
    form->FormCreate(form);
    EXPECT_EQ(windows.RunningInterval(), 700u);
    form->Hide();
    form->Show();
  });
  EXPECT_EQ(form->Label3->Caption(), "500");
  EXPECT_EQ(windows.RunningInterval(), 500u);
  EXPECT_EQ(FormCreateRuns(), 4);
}

}  // namespace
