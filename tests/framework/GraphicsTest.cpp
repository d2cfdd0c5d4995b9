#include "framework/Graphics.h"

#include <gtest/gtest.h>

#include <limits>
#include <set>

#include "fakes/FakeScreen.h"
#include "framework/Exception.h"
#include "framework/SysUtils.h"

namespace {

TEST(ColorNamesTest, TableHoldsFortyNineDistinctNamesAndValues) {
  const auto idents = ColorIdents();
  ASSERT_EQ(idents.size(), 49u);
  std::set<TColor> values;
  std::set<std::string> names;
  for (const TColorIdent& ident : idents) {
    values.insert(ident.Value);
    names.insert(UpperCase(ident.Name));
    // Every name reads back to its value and every value writes back to its name.
    EXPECT_EQ(StringToColor(ident.Name), ident.Value) << ident.Name;
    EXPECT_EQ(ColorToString(ident.Value), ident.Name);
  }
  EXPECT_EQ(values.size(), 49u);
  EXPECT_EQ(names.size(), 49u);
  EXPECT_EQ(idents.front().Name, "clBlack");
  EXPECT_EQ(idents.back().Name, "clWindowText");
}

TEST(ColorNamesTest, SpotValuesOfTheTable) {
  struct Case {
    const char* name;
    std::uint32_t bits;
  };
  const Case cases[] = {
      {"clPurple", 0x00800080},
      {"clAqua", 0x00FFFF00},
      {"clMoneyGreen", 0x00C0DCC0},
      {"clSkyBlue", 0x00F0CAA6},
      {"clCream", 0x00F0FBFF},
      {"clMedGray", 0x00A4A0A0},
      {"clBtnFace", 0x8000000F},
      {"clInfoBk", 0x80000018},
      {"clNone", 0x1FFFFFFF},
      {"clDefault", 0x20000000},
      {"clWindow", 0x80000005},
      {"clGradientInactiveCaption", 0x8000001C},
      {"clScrollBar", 0x80000000},
      {"cl3DDkShadow", 0x80000015},
      {"clInactiveCaptionText", 0x80000013},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(static_cast<std::uint32_t>(StringToColor(c.name)), c.bits) << c.name;
  }
}

TEST(ColorTextTest, UnnamedColoursAreEightUpperCaseHexDigits) {
  EXPECT_EQ(ColorToString(0x7A408C), "$007A408C");
  EXPECT_EQ(ColorToString(1), "$00000001");
  EXPECT_EQ(ColorToString(ColorFromBits(0x80000019)), "$80000019");  // unnamed system colour
  EXPECT_EQ(ColorToString(-2), "$FFFFFFFE");
}

TEST(ColorTextTest, ReadsNamesInAnyCaseAndIntegers) {
  EXPECT_EQ(StringToColor("CLBLACK"), clBlack);
  EXPECT_EQ(StringToColor("clwhite"), clWhite);
  EXPECT_EQ(StringToColor("255"), clRed);
  EXPECT_EQ(StringToColor("$00FF0000"), clBlue);
  EXPECT_EQ(StringToColor("-2147483633"), clBtnFace);
  EXPECT_EQ(StringToColor("$8000000F"), clBtnFace);
  for (const char* text : {"cl", "", "clBlackI", "red"}) {
    try {
      StringToColor(text);
      ADD_FAILURE() << text;
    } catch (const EConvertError& error) {
      EXPECT_EQ(error.Message(),
                std::string("'") + text + "' n'est pas une valeur entière correcte");
    }
  }
}

TEST(ColorTextTest, SystemColoursResolveThroughTheScreen) {
  FakeScreen screen;
  screen.sysColors[15] = 0xC0C0C0;
  EXPECT_EQ(ColorToRGB(clBtnFace, screen), 0xC0C0C0u);
  EXPECT_EQ(ColorToRGB(clPurple, screen), 0x800080u);
  EXPECT_EQ(ColorToRGB(clNone, screen), 0x1FFFFFFFu);  // not a system colour
  EXPECT_EQ(screen.sysColorCalls, 1);
}

TEST(FontTest, DefaultsAndSizeFromPixelsPerInch) {
  TFont font;
  EXPECT_EQ(font.Name(), "MS Sans Serif");
  EXPECT_EQ(font.Height(), -11);
  EXPECT_EQ(font.Size(), 8);
  EXPECT_EQ(font.Charset(), DEFAULT_CHARSET);
  EXPECT_EQ(font.Color(), clWindowText);
  EXPECT_EQ(font.Pitch(), fpDefault);
  EXPECT_TRUE(font.Style().Empty());

  font.SetHeight(-9);
  EXPECT_EQ(font.Size(), 7);  // 6.75 rounds to 7
  font.SetPixelsPerInch(120);
  EXPECT_EQ(font.Size(), 5);  // 9 * 72 / 120 = 5.4
  font.SetSize(10);
  EXPECT_EQ(font.Height(), -17);  // 16.67
}

// Sizes whose height, or heights whose size, would leave int (MulDiv answers -1 then) or whose
// negation would: a scheme's font line with the size -1610612736 (docs/HARDENING.md, finding 1).
TEST(FontTest, SizeAndHeightStayWithinInt) {
  constexpr int kMin = std::numeric_limits<int>::min();
  constexpr int kMax = std::numeric_limits<int>::max();
  struct Case {
    int pixelsPerInch;
    int size;
    int height;  // after SetSize(size)
    int sizeBack;
  };
  const Case cases[] = {
      {96, -1610612736, kMax, -1610612735},  // -size * 96 / 72 = 2^31
      {96, 1610612736, 1, -1},               // size * 96 / 72 = 2^31: MulDiv's -1
      {96, 1610612735, -2147483647, 1610612735},
      {72, kMin, kMax, -kMax},
      {72, kMax, -kMax, kMax},
  };
  for (const Case& c : cases) {
    TFont font;
    font.SetPixelsPerInch(c.pixelsPerInch);
    font.SetSize(c.size);
    EXPECT_EQ(font.Height(), c.height) << c.size;
    EXPECT_EQ(font.Size(), c.sizeBack) << c.size;
  }
  TFont font;
  font.SetPixelsPerInch(72);
  font.SetHeight(kMin);
  EXPECT_EQ(font.Size(), kMax);
}

TEST(FontTest, FaceIsKeptWhenEmptyAndCutToThirtyOne) {
  TFont font;
  font.SetName("Small Fonts");
  font.SetName("");
  EXPECT_EQ(font.Name(), "Small Fonts");
  font.SetName(std::string(40, 'F'));
  EXPECT_EQ(font.Name(), std::string(31, 'F'));
}

TEST(FontTest, AssignCopiesEveryAttributeAndNothingFollowsLater) {
  TFont source;
  source.SetName("Small Fonts");
  source.SetHeight(-9);
  source.SetPitch(fpFixed);
  source.SetStyle({fsBold, fsUnderline});
  source.SetCharset(ANSI_CHARSET);
  source.SetColor(clPurple);
  TFont target;
  int changes = 0;
  target.OnChange = [&](TObject*) { ++changes; };
  target.Assign(source);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(target.Name(), "Small Fonts");
  EXPECT_EQ(target.Height(), -9);
  EXPECT_EQ(target.Pitch(), fpFixed);
  EXPECT_EQ(target.Style(), (TFontStyles{fsBold, fsUnderline}));
  EXPECT_EQ(target.Charset(), ANSI_CHARSET);
  EXPECT_EQ(target.Color(), clPurple);
  source.SetColor(clRed);
  EXPECT_EQ(target.Color(), clPurple);
  EXPECT_THROW(target.Assign(TPersistent()), EConvertError);
}

TEST(FontTest, ChangeEventOnlyOnRealChanges) {
  TFont font;
  int changes = 0;
  font.OnChange = [&](TObject*) { ++changes; };
  font.SetColor(font.Color());
  font.SetStyle(font.Style());
  EXPECT_EQ(changes, 0);
  font.SetColor(clRed);
  font.SetSize(font.Size() + 1);
  EXPECT_EQ(changes, 2);
}

TEST(FontTest, TableListsTheSevenAttributesInStoredOrder) {
  const auto props = TFont::StaticClassInfo().Properties();
  const char* expected[] = {"Charset", "Color", "Height", "Name", "Pitch", "Size", "Style"};
  ASSERT_EQ(props.size(), std::size(expected));
  for (std::size_t i = 0; i < props.size(); ++i) EXPECT_EQ(props[i].Name, expected[i]);
}

}  // namespace
