#include "gauge/RarBar.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "framework/SysUtils.h"

namespace {

class TRecordingParent : public TWinControl {
 public:
  TRecordingParent() : TWinControl(nullptr) {}
  void InvalidateChild(const TControl&) override { ++invalidations; }
  int invalidations = 0;
};

// The 15 colours and the font colour of a bar, as (red, green, blue) components.
struct SchemeRow {
  TRBColorScheme scheme;
  int rgb[16][3];
};

// Read in the order: TopColor, SideColor1, SideColor2, EmptyColor1, EmptyColor2,
// EmptyFrameColor1, EmptyFrameColor2, BottomFrameColor, BottomColor, FilledFrameColor,
// FilledColor, FilledSideColor1, FilledSideColor2, EmptyLineColor, FilledLineColor, font colour.
const SchemeRow kSchemeRows[] = {
    {rcPurpleBlue,
     {{128, 128, 255},
      {104, 104, 224},
      {128, 128, 255},
      {104, 104, 192},
      {128, 128, 223},
      {104, 104, 160},
      {128, 128, 191},
      {140, 64, 100},
      {140, 64, 122},
      {160, 96, 128},
      {160, 96, 160},
      {150, 60, 130},
      {192, 72, 136},
      {176, 176, 255},
      {224, 96, 208},
      {128, 0, 128}}},
    {rcAcid,
     {{128, 255, 128},
      {104, 224, 104},
      {128, 255, 128},
      {104, 192, 104},
      {128, 223, 128},
      {104, 160, 104},
      {128, 191, 128},
      {140, 100, 64},
      {140, 122, 64},
      {160, 160, 96},
      {160, 160, 96},
      {150, 130, 60},
      {192, 136, 72},
      {224, 255, 224},
      {224, 168, 104},
      {0, 255, 255}}},
    {rcLightGreen,
     {{128, 128, 255},
      {104, 104, 224},
      {128, 128, 255},
      {104, 104, 192},
      {128, 128, 223},
      {104, 104, 160},
      {128, 128, 191},
      {64, 140, 100},
      {64, 140, 122},
      {96, 160, 128},
      {96, 160, 160},
      {60, 150, 130},
      {72, 192, 136},
      {224, 224, 255},
      {104, 224, 152},
      {8, 144, 72}}},
    {rcLightBlue,
     {{72, 192, 136},
      {60, 150, 130},
      {72, 192, 136},
      {60, 150, 130},
      {72, 192, 136},
      {104, 104, 160},
      {128, 128, 191},
      {88, 88, 208},
      {88, 88, 224},
      {128, 128, 208},
      {128, 128, 224},
      {104, 104, 224},
      {128, 128, 255},
      {136, 233, 200},
      {168, 168, 208},
      {128, 0, 128}}},
};

std::vector<TColor> BarColors(const TRarBar& bar) {
  return {bar.TopColor(),         bar.SideColor1(),       bar.SideColor2(),
          bar.EmptyColor1(),      bar.EmptyColor2(),      bar.EmptyFrameColor1(),
          bar.EmptyFrameColor2(), bar.BottomFrameColor(), bar.BottomColor(),
          bar.FilledFrameColor(), bar.FilledColor(),      bar.FilledSideColor1(),
          bar.FilledSideColor2(), bar.EmptyLineColor(),   bar.FilledLineColor(),
          bar.Font()->Color()};
}

std::vector<TColor> RowColors(const SchemeRow& row) {
  std::vector<TColor> colors;
  for (const auto& c : row.rgb) colors.push_back(RGB(c[0], c[1], c[2]));
  return colors;
}

TEST(RarBarTest, ConstructionDefaults) {
  TRarBar bar(nullptr);
  EXPECT_EQ(bar.Width(), 60);
  EXPECT_EQ(bar.Height(), 180);
  EXPECT_EQ(bar.Min(), 0);
  EXPECT_EQ(bar.Max(), 100);
  EXPECT_EQ(bar.Progress(), 0);
  EXPECT_EQ(bar.X(), 0);
  EXPECT_EQ(bar.Y(), 5);
  EXPECT_TRUE(bar.ShowPercentage());
  EXPECT_EQ(bar.ColorScheme(), rcPurpleBlue);
  EXPECT_EQ(BarColors(bar), RowColors(kSchemeRows[0]));
  EXPECT_EQ(bar.Font()->Color(), clPurple);
  EXPECT_EQ(bar.Font()->Style(), TFontStyles{fsBold});
  EXPECT_EQ(bar.Color(), clBtnFace);
  EXPECT_FALSE(bar.ParentColor());
  EXPECT_EQ(bar.DrawCount(), 0u);  // construction stores its values without drawing
}

TEST(RarBarTest, EachSchemeSetsItsFifteenColoursAndTheFontColour) {
  for (const SchemeRow& row : kSchemeRows) {
    TRarBar bar(nullptr);
    bar.SetColorScheme(row.scheme == rcPurpleBlue ? rcAcid : rcPurpleBlue);
    bar.SetColor(clBlack);
    bar.Font()->SetName("Small Fonts");
    bar.SetColorScheme(row.scheme);
    EXPECT_EQ(bar.ColorScheme(), row.scheme);
    EXPECT_EQ(BarColors(bar), RowColors(row)) << GetEnumName(kRBColorSchemeType, row.scheme);
    // A scheme touches nothing else.
    EXPECT_EQ(bar.Color(), clBlack);
    EXPECT_EQ(bar.Font()->Name(), "Small Fonts");
    EXPECT_EQ(bar.Font()->Style(), TFontStyles{fsBold});
  }
}

TEST(RarBarTest, SchemeOutsideTheEnumerationIsKeptAndChangesNothing) {
  TRarBar bar(nullptr);
  bar.SetColorScheme(rcAcid);
  const auto before = BarColors(bar);
  bar.SetColorScheme(static_cast<TRBColorScheme>(7));
  EXPECT_EQ(bar.ColorScheme(), 7);
  EXPECT_EQ(BarColors(bar), before);
}

TEST(RarBarTest, WritersThatDrawAndThoseThatDoNot) {
  TRecordingParent parent;
  auto* bar = new TRarBar(&parent);
  bar->SetParent(&parent);

  struct Writer {
    const char* name;
    void (*write)(TRarBar&);
    bool draws;
  };
  const Writer writers[] = {
      {"Progress", [](TRarBar& b) { b.SetProgress(50); }, true},
      {"Progress again", [](TRarBar& b) { b.SetProgress(50); }, true},
      {"Min", [](TRarBar& b) { b.SetMin(b.Min()); }, true},
      {"Max", [](TRarBar& b) { b.SetMax(200); }, true},
      {"ShowPercentage", [](TRarBar& b) { b.SetShowPercentage(b.ShowPercentage()); }, true},
      {"TopColor", [](TRarBar& b) { b.SetTopColor(clRed); }, false},
      {"X", [](TRarBar& b) { b.SetX(3); }, false},
      {"Y", [](TRarBar& b) { b.SetY(7); }, false},
      {"ColorScheme", [](TRarBar& b) { b.SetColorScheme(rcAcid); }, false},
      {"Font", [](TRarBar& b) { b.SetFont(TFont()); }, false},
      {"Color", [](TRarBar& b) { b.SetColor(clWhite); }, false},
      {"Height", [](TRarBar& b) { b.SetHeight(129); }, false},
  };
  for (const Writer& writer : writers) {
    const auto before = bar->DrawCount();
    writer.write(*bar);
    EXPECT_EQ(bar->DrawCount() - before, writer.draws ? 1u : 0u) << writer.name;
  }
  // The drawing works from the current values: the body height follows Height and Y.
  bar->SetProgress(1);
  EXPECT_EQ(bar->BodyHeight(), 129 - 7 - 5);
}

TEST(RarBarTest, ColourWriterInvalidatesSoPaintDrawsTheBar) {
  TRecordingParent parent;
  auto* bar = new TRarBar(&parent);
  bar->SetParent(&parent);
  parent.invalidations = 0;
  bar->SetColor(bar->Color());
  EXPECT_EQ(parent.invalidations, 0);
  bar->SetColor(clBlack);
  EXPECT_EQ(parent.invalidations, 1);
  const auto before = bar->DrawCount();
  bar->Paint();
  EXPECT_EQ(bar->DrawCount(), before + 1);
}

TEST(RarBarTest, FontIsCopiedIntoTheBarsOwnObject) {
  TRarBar bar(nullptr);
  TFont* own = bar.Font();
  TFont given;
  given.SetName("Small Fonts");
  given.SetHeight(-9);
  given.SetColor(clAqua);
  given.SetCharset(ANSI_CHARSET);
  bar.SetFont(given);
  EXPECT_EQ(bar.Font(), own);
  EXPECT_EQ(own->Name(), "Small Fonts");
  EXPECT_EQ(own->Height(), -9);
  EXPECT_EQ(own->Color(), clAqua);
  EXPECT_EQ(own->Charset(), ANSI_CHARSET);
  given.SetColor(clRed);
  EXPECT_EQ(own->Color(), clAqua);
}

TEST(RarBarTest, PropertyTableHasThirtyEightEntriesInOrder) {
  struct Entry {
    const char* name;
    const char* type;
  };
  const Entry expected[] = {
      {"Name", "TComponentName"},
      {"Tag", "Integer"},
      {"Left", "Integer"},
      {"Top", "Integer"},
      {"Width", "Integer"},
      {"Height", "Integer"},
      {"Cursor", "TCursor"},
      {"Hint", "string"},
      {"HelpType", "THelpType"},
      {"HelpKeyword", "string"},
      {"HelpContext", "THelpContext"},
      {"TopColor", "TColor"},
      {"SideColor1", "TColor"},
      {"SideColor2", "TColor"},
      {"EmptyColor1", "TColor"},
      {"EmptyColor2", "TColor"},
      {"EmptyFrameColor1", "TColor"},
      {"EmptyFrameColor2", "TColor"},
      {"BottomFrameColor", "TColor"},
      {"BottomColor", "TColor"},
      {"FilledFrameColor", "TColor"},
      {"FilledColor", "TColor"},
      {"FilledSideColor1", "TColor"},
      {"FilledSideColor2", "TColor"},
      {"EmptyLineColor", "TColor"},
      {"FilledLineColor", "TColor"},
      {"Min", "Integer"},
      {"Max", "Integer"},
      {"Progress", "Integer"},
      {"Font", "TFont"},
      {"ShowPercentage", "Boolean"},
      {"X", "Integer"},
      {"Y", "Integer"},
      {"ColorScheme", "TRBColorScheme"},
      {"Color", "TColor"},
      {"OnMouseDown", "TMouseEvent"},
      {"OnMouseMove", "TMouseMoveEvent"},
      {"OnMouseUp", "TMouseEvent"},
  };
  const auto props = TRarBar::StaticClassInfo().Properties();
  ASSERT_EQ(props.size(), std::size(expected));
  for (std::size_t i = 0; i < props.size(); ++i) {
    EXPECT_EQ(props[i].Name, expected[i].name) << i;
    EXPECT_EQ(props[i].Type->Name, expected[i].type) << i;
  }
}

TEST(RarBarTest, SortedColourPropertiesComeInTheFrameworkOrder) {
  std::vector<std::string> colours;
  for (const TPropInfo* prop : TRarBar::StaticClassInfo().SortedProperties()) {
    if (SameText(prop->Type->Name, "tcolor")) colours.emplace_back(prop->Name);
  }
  const std::vector<std::string> expected = {
      "BottomColor",      "BottomFrameColor", "Color",
      "EmptyColor1",      "EmptyColor2",      "EmptyFrameColor1",
      "EmptyFrameColor2", "EmptyLineColor",   "FilledColor",
      "FilledFrameColor", "FilledLineColor",  "FilledSideColor1",
      "FilledSideColor2", "SideColor1",       "SideColor2",
      "TopColor"};
  EXPECT_EQ(colours, expected);
}

TEST(RarBarTest, ColourListsForSchemeFilesAndTheStore) {
  // The colour line of scheme files: alphabetical, the inherited Color among the bar's own.
  const std::vector<std::string_view> alphabetical = {
      "BottomColor",      "BottomFrameColor", "Color",
      "EmptyColor1",      "EmptyColor2",      "EmptyFrameColor1",
      "EmptyFrameColor2", "EmptyLineColor",   "FilledColor",
      "FilledFrameColor", "FilledLineColor",  "FilledSideColor1",
      "FilledSideColor2", "SideColor1",       "SideColor2",
      "TopColor"};
  EXPECT_EQ(std::vector<std::string_view>(kBarColorPropertiesAlphabetical.begin(),
                                          kBarColorPropertiesAlphabetical.end()),
            alphabetical);

  // The store's list: the same names the other way round, behind the bar's name, after what the
  // list held already.
  std::vector<std::string> props = {"Label4.Caption"};
  AppendStoredBarColors("RarBar2", props);
  const std::vector<std::string> expected = {
      "Label4.Caption",           "RarBar2.TopColor",         "RarBar2.SideColor2",
      "RarBar2.SideColor1",       "RarBar2.FilledSideColor2", "RarBar2.FilledSideColor1",
      "RarBar2.FilledLineColor",  "RarBar2.FilledFrameColor", "RarBar2.FilledColor",
      "RarBar2.EmptyLineColor",   "RarBar2.EmptyFrameColor2", "RarBar2.EmptyFrameColor1",
      "RarBar2.EmptyColor2",      "RarBar2.EmptyColor1",      "RarBar2.Color",
      "RarBar2.BottomFrameColor", "RarBar2.BottomColor"};
  EXPECT_EQ(props, expected);
}

TEST(RarBarTest, PropertiesAreReachableByNameThroughTheTable) {
  TRarBar bar(nullptr);
  SetOrdProp(bar, GetPropInfo(bar, "toPColor"), 255);
  EXPECT_EQ(bar.TopColor(), clRed);
  SetOrdProp(bar, GetPropInfo(bar, "Color"), clBlack);
  EXPECT_EQ(bar.Color(), clBlack);
  const auto before = bar.DrawCount();
  SetOrdProp(bar, GetPropInfo(bar, "Progress"), 42);
  EXPECT_EQ(bar.DrawCount(), before + 1);

  TFont given;
  given.SetName("Small Fonts");
  SetObjectProp(bar, GetPropInfo(bar, "Font"), &given);
  EXPECT_EQ(bar.Font()->Name(), "Small Fonts");
  EXPECT_EQ(GetObjectProp(bar, GetPropInfo(bar, "Font")), bar.Font());

  const TPropInfo& onMouseDown = GetPropInfo(bar, "OnMouseDown");
  EXPECT_FALSE(onMouseDown.IsAssigned(bar));
  bar.OnMouseDown = [](TObject*, TMouseButton, TShiftState, int, int) {};
  EXPECT_TRUE(onMouseDown.IsAssigned(bar));
}

TEST(RarBarTest, LoadingALayoutEndsWithTheSchemesColours) {
  // A stored layout applies its values in table order: the colours first, then the font, then
  // ColorScheme, which overwrites the 15 colours and the font colour.
  TRarBar bar(nullptr);
  for (const char* name : {"TopColor", "SideColor1", "FilledColor", "EmptyLineColor"}) {
    SetOrdProp(bar, GetPropInfo(bar, name), clWhite);
  }
  TFont stored;
  stored.SetName("Small Fonts");
  stored.SetColor(clRed);
  SetObjectProp(bar, GetPropInfo(bar, "Font"), &stored);
  SetOrdProp(bar, GetPropInfo(bar, "ColorScheme"), rcLightGreen);
  EXPECT_EQ(BarColors(bar), RowColors(kSchemeRows[2]));
  EXPECT_EQ(bar.Font()->Name(), "Small Fonts");
}

}  // namespace
