#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "fakes/FakeScreen.h"
#include "framework/Bitmap.h"
#include "framework/Canvas.h"
#include "framework/Exception.h"
#include "gauge/RarBar.h"
#include "support/AllocationCounter.h"

namespace {

// ---------------------------------------------------------------------------------------------
// The numbers part

struct NumbersCase {
  const char* name;
  std::int32_t min, max, progress, height, y;
  TBarNumbers expected;  // H, h, P, pct
};

TEST(BarNumbersTest, FillHeightAndPercentage) {
  const NumbersCase cases[] = {
      // The main window's 129-pixel bar: H = 119, h = 109.
      {"0", 0, 100, 0, 129, 5, {119, 109, 0, 0}},
      {"10", 0, 100, 10, 129, 5, {119, 109, 11, 10}},
      {"20", 0, 100, 20, 129, 5, {119, 109, 22, 20}},
      {"25", 0, 100, 25, 129, 5, {119, 109, 27, 25}},
      {"30", 0, 100, 30, 129, 5, {119, 109, 33, 30}},
      {"40", 0, 100, 40, 129, 5, {119, 109, 44, 40}},
      {"50: x = 54.5 goes to the even 54", 0, 100, 50, 129, 5, {119, 109, 54, 50}},
      {"60", 0, 100, 60, 129, 5, {119, 109, 65, 60}},
      {"70", 0, 100, 70, 129, 5, {119, 109, 76, 70}},
      {"75", 0, 100, 75, 129, 5, {119, 109, 82, 75}},
      {"80", 0, 100, 80, 129, 5, {119, 109, 87, 80}},
      {"90", 0, 100, 90, 129, 5, {119, 109, 98, 90}},
      {"100", 0, 100, 100, 129, 5, {119, 109, 109, 100}},
      {"above Max: full, pct unclamped", 0, 100, 150, 129, 5, {119, 109, 109, 150}},
      {"below Min: empty, pct unclamped", 0, 100, -10, 129, 5, {119, 109, 0, -10}},
      // x as a double lies just above 0.545 and x / 1.09 just above one half.
      {"big range", 0, 1000, 5, 129, 5, {119, 109, 1, 1}},
      // x is rounded to a double before P is rounded: 7.4999999999999999996 becomes 7.5 and
      // then 8; 30.500000000000000002 becomes 30.5 and then 30.
      {"double rounding up", 0, 2, 1, 35, 5, {25, 15, 8, 50}},
      {"double rounding down", 0, 2, 1, 81, 5, {71, 61, 30, 50}},
      {"Y 15 shrinks the range", 0, 100, 100, 129, 15, {109, 99, 99, 100}},
      {"a bar made by code, 180 high", 0, 100, 1, 180, 5, {170, 160, 2, 1}},
      {"Max below Min", 100, 0, 25, 129, 5, {119, 109, 82, 75}},
      {"Max = Min", 7, 7, 50, 129, 5, {119, 109, 0, 0}},
      {"H = 0", 0, 100, 50, 10, 5, {0, -10, 0, 0}},
      {"h = 0: no division, an empty bar at 0%", 0, 100, 50, 20, 5, {10, 0, 0, 0}},
      // Bodies lower than 10 pixels: a fill of 0 or more is clamped to h, a negative one to 0.
      {"9 x 9 bar", 0, 100, 0, 9, 5, {-1, -11, -11, 0}},
      {"9 x 9 bar, negative x", 0, 100, 50, 9, 5, {-1, -11, 0, 50}},
      // 32-bit sums wrap: Max - Min = -1 and Progress - Min = -2^31.
      {"extreme range", INT_MIN, INT_MAX, 0, 129, 5, {119, 109, 109, 214748364800}},
      {"extreme height", 0, 100, 50, INT_MIN, 5, {INT_MAX - 9, INT_MAX - 19, 1073741814, 50}},
  };
  for (const NumbersCase& c : cases) {
    const TBarNumbers n = ComputeBarNumbers(c.min, c.max, c.progress, c.height, c.y);
    EXPECT_EQ(n.BodyHeight, c.expected.BodyHeight) << c.name;
    EXPECT_EQ(n.FillRange, c.expected.FillRange) << c.name;
    EXPECT_EQ(n.FillHeight, c.expected.FillHeight) << c.name;
    EXPECT_EQ(n.Percent, c.expected.Percent) << c.name;
  }
}

// ---------------------------------------------------------------------------------------------
// The picture

// Every colour of the bar is distinct, so each pixel tells which step painted it. Letters:
//   .  Color (background)        T  TopColor
//   S  SideColor1                s  SideColor2
//   E  EmptyColor1               e  EmptyColor2
//   F  EmptyFrameColor1          f  EmptyFrameColor2
//   B  BottomFrameColor          b  BottomColor
//   K  FilledFrameColor          C  FilledColor
//   M  FilledSideColor1          m  FilledSideColor2
//   L  EmptyLineColor            l  FilledLineColor
//   #  the font's colour         ?  anything else
const std::map<TColor, char> kLegend = {
    {RGB(1, 1, 1), '.'},    {RGB(2, 2, 2), 'T'},    {RGB(3, 3, 3), 'S'},    {RGB(4, 4, 4), 's'},
    {RGB(5, 5, 5), 'E'},    {RGB(6, 6, 6), 'e'},    {RGB(7, 7, 7), 'F'},    {RGB(8, 8, 8), 'f'},
    {RGB(9, 9, 9), 'B'},    {RGB(10, 10, 10), 'b'}, {RGB(11, 11, 11), 'K'}, {RGB(12, 12, 12), 'C'},
    {RGB(13, 13, 13), 'M'}, {RGB(14, 14, 14), 'm'}, {RGB(15, 15, 15), 'L'}, {RGB(16, 16, 16), 'l'},
    {RGB(17, 17, 17), '#'},
};

char Letter(TColor color) {
  const auto it = kLegend.find(color);
  return it == kLegend.end() ? '?' : it->second;
}

class RecordingParent : public TWinControl {
 public:
  RecordingParent() : TWinControl(nullptr) {}
  void CopyChildImage(const TControl& child, const TBitmap& image, int x, int y) override {
    ++copies;
    lastChild = &child;
    lastImage = &image;
    lastX = x;
    lastY = y;
    pixelsAtCopy.assign(image.Pixels(), image.Pixels() + image.Width() * image.Height());
  }
  int copies = 0;
  const TControl* lastChild = nullptr;
  const TBitmap* lastImage = nullptr;
  int lastX = -1;
  int lastY = -1;
  std::vector<std::uint32_t> pixelsAtCopy;
};

class RarBarDrawTest : public ::testing::Test {
 protected:
  RarBarDrawTest() {
    bar.SetColor(RGB(1, 1, 1));
    bar.SetTopColor(RGB(2, 2, 2));
    bar.SetSideColor1(RGB(3, 3, 3));
    bar.SetSideColor2(RGB(4, 4, 4));
    bar.SetEmptyColor1(RGB(5, 5, 5));
    bar.SetEmptyColor2(RGB(6, 6, 6));
    bar.SetEmptyFrameColor1(RGB(7, 7, 7));
    bar.SetEmptyFrameColor2(RGB(8, 8, 8));
    bar.SetBottomFrameColor(RGB(9, 9, 9));
    bar.SetBottomColor(RGB(10, 10, 10));
    bar.SetFilledFrameColor(RGB(11, 11, 11));
    bar.SetFilledColor(RGB(12, 12, 12));
    bar.SetFilledSideColor1(RGB(13, 13, 13));
    bar.SetFilledSideColor2(RGB(14, 14, 14));
    bar.SetEmptyLineColor(RGB(15, 15, 15));
    bar.SetFilledLineColor(RGB(16, 16, 16));
    bar.Font()->SetColor(RGB(17, 17, 17));
    bar.SetHeight(129);  // the main window's bar: Y 5, H 119, h 109
  }

  const TBitmap& Image() const { return bar.Image(); }
  char At(int x, int y) const { return Letter(Image().Pixel(x, y)); }

  // Column x from top to bottom as runs of letters, for example "8. 1L 3T".
  std::string Column(int x) const {
    std::string runs;
    int y = 0;
    while (y < Image().Height()) {
      const char letter = At(x, y);
      int length = 0;
      while (y < Image().Height() && At(x, y) == letter) ++y, ++length;
      // Appended piece by piece: GCC 12 at -O3 warns falsely (-Wrestrict) on the inlined
      // operator+ with a literal in front.
      if (!runs.empty()) runs += ' ';
      runs += std::to_string(length);
      runs += letter;
    }
    return runs;
  }

  bool Shows(char letter) const {
    for (int y = 0; y < Image().Height(); ++y) {
      for (int x = 0; x < Image().Width(); ++x) {
        if (At(x, y) == letter) return true;
      }
    }
    return false;
  }

  // The text's cell: the text drawn alone in the bar's font on the background colour, at (left,
  // top) of the bar's image, clipped to it; the pixels around the cell are not the text's.
  void ExpectText(std::string_view text, int left, int top) const {
    TBitmap alone;
    TCanvas canvas(alone);
    canvas.SetPorts(bar.GraphicsPorts());
    canvas.Font().Assign(*bar.Font());
    const TSize cell = canvas.TextExtent(text);
    alone.SetSize(cell.cx, cell.cy);
    canvas.Brush().Color = bar.Color();
    canvas.TextOut(0, 0, text);
    for (int y = 0; y < cell.cy; ++y) {
      for (int x = 0; x < cell.cx; ++x) {
        if (Image().Pixel(left + x, top + y) == clNone) continue;  // clipped
        ASSERT_EQ(At(left + x, top + y), Letter(alone.Pixel(x, y)))
            << text << " at " << left + x << "," << top + y;
      }
    }
    for (int x = left - 1; x <= left + cell.cx; ++x) {
      EXPECT_NE(At(x, top - 1), '#') << text << " above the cell at x " << x;
      EXPECT_NE(At(x, top + cell.cy), '#') << text << " below the cell at x " << x;
    }
  }

  TRarBar bar{nullptr};
};

TEST_F(RarBarDrawTest, HalfFullBarColumnByColumn) {
  bar.SetProgress(50);  // P = 54: fill surface (0, 65), (15, 60), (30, 65), (15, 70)
  ASSERT_EQ(Image().Width(), 60);
  ASSERT_EQ(Image().Height(), 129);
  // Left face: lid outline at rows 8 and 12, lid, side down to the fill surface's outline at 63,
  // the fill surface, the filled side down to the bottom's back edge at 117, the bottom, and the
  // bottom's front edge in the filled line colour at 121.
  EXPECT_EQ(Column(7), "8. 1L 3T 1L 50S 1K 3C 1K 49M 1B 3b 1l 7.");
  // Right face, the mirror image one pixel lower where the edges round the other way.
  EXPECT_EQ(Column(22), "7. 1L 5T 1L 48s 1K 5C 1K 47m 1B 5b 1l 6.");
  // Front edge: the lid's back corner, the lid down to the edge's start at Y+10 = 15, the edge
  // in EmptyLineColor down to the fill level Y+H-P = 70, FilledLineColor from there to the
  // bottom's front corner on row 124.
  EXPECT_EQ(Column(15), "5. 1L 9T 55L 55l 4.");
  // Left and right edges change colour at Y+H-5-P = 65.
  EXPECT_EQ(Column(0), "10. 55L 55l 9.");
  EXPECT_EQ(Column(30), "10. 55L 54l 1B 9.");  // (30, 119) ends the bottom's front edge
  // The fill surface's corners.
  EXPECT_EQ(At(0, 65), 'l');
  EXPECT_EQ(At(30, 65), 'l');
  EXPECT_EQ(At(15, 70), 'l');
  EXPECT_EQ(At(15, 60), 'L');  // behind the front edge
  EXPECT_EQ(At(8, 65), 'C');
  EXPECT_EQ(At(22, 65), 'C');
  ExpectText("50%", 33, 70 - 9);
}

TEST_F(RarBarDrawTest, EmptyBarShowsTheBottomInTwoHalves) {
  bar.SetProgress(0);
  EXPECT_EQ(Column(7), "8. 1L 3T 1L 104S 1F 3E 1L 7.");
  EXPECT_EQ(Column(22), "7. 1L 5T 1L 102s 1f 5e 1L 6.");
  // Every edge line in EmptyLineColor: the edges, the lid outline, the bottom's front edges.
  EXPECT_EQ(Column(0), "10. 110L 9.");
  EXPECT_EQ(Column(15), "5. 1L 9T 110L 4.");
  EXPECT_EQ(At(30, 118), 'L');
  EXPECT_EQ(At(15, 124), 'L');
  for (char filled : {'l', 'M', 'm', 'C', 'K', 'B', 'b'}) EXPECT_FALSE(Shows(filled)) << filled;
  ExpectText("0%", 33, 124 - 9);
}

TEST_F(RarBarDrawTest, FullBarCoversTheLidWithTheFillSurface) {
  bar.SetProgress(100);
  EXPECT_EQ(Column(7), "8. 1l 3C 1l 104M 1B 3b 1l 7.");
  EXPECT_EQ(Column(0), "10. 110l 9.");
  EXPECT_EQ(At(15, 10), 'C');  // the lid's middle
  EXPECT_FALSE(Shows('T'));
  EXPECT_FALSE(Shows('S'));
  EXPECT_FALSE(Shows('L'));
  ExpectText("100%", 33, 15 - 9);  // the cell ends directly above row Y+10
}

struct ProgressCase {
  std::int32_t progress;
  int fill;  // P
  const char* text;
};

TEST_F(RarBarDrawTest, FillLevelAndTextFollowProgress) {
  const ProgressCase cases[] = {
      {0, 0, "0%"},       {25, 27, "25%"},    {50, 54, "50%"},  {75, 82, "75%"},
      {100, 109, "100%"}, {150, 109, "150%"}, {-10, 0, "-10%"},
  };
  for (const ProgressCase& c : cases) {
    SCOPED_TRACE(c.text);
    bar.SetProgress(c.progress);
    EXPECT_EQ(bar.BodyHeight(), 119);
    const int level = 124 - c.fill;  // Y+H-P: the fill surface's front corner
    // The front edge turns to FilledLineColor at the fill level (no filled part when P = 0).
    EXPECT_EQ(At(15, level - 1), c.fill < 109 ? 'L' : 'C');
    EXPECT_EQ(At(15, level), c.fill > 0 ? 'l' : 'L');
    // Just right of the front edge: above the fill the right face (or the lid), then the fill
    // surface (or the empty bottom).
    EXPECT_EQ(At(17, level - 14), c.fill < 100 ? 's' : '.');
    EXPECT_EQ(At(17, level - 5), c.fill > 0 ? 'C' : 'e');
    // Far below the fill surface the filled face shows while the bar holds a fill.
    if (c.fill > 20) {
      EXPECT_EQ(At(3, 110), 'M');
    }
    ExpectText(c.text, 33, level - 9);
  }
}

TEST_F(RarBarDrawTest, LowerLidKeepsTheBottomInPlace) {
  bar.SetY(15);
  bar.SetProgress(50);  // H = 109, h = 99, x = 49.5 goes to the even 50
  EXPECT_EQ(bar.BodyHeight(), 109);
  EXPECT_EQ(Column(15), "15. 1L 9T 49L 51l 4.");  // lid back corner on row 15, bottom on 124
  ExpectText("50%", 33, 124 - 50 - 9);
}

TEST_F(RarBarDrawTest, XMovesThePrismAndTheText) {
  bar.SetProgress(50);
  const TBitmap atZero = Image();
  bar.SetX(10);
  bar.SetProgress(50);
  for (int y = 0; y < 129; ++y) {
    for (int x = 0; x < 10; ++x) ASSERT_EQ(At(x, y), '.') << x << "," << y;
    for (int x = 10; x < 60; ++x) {
      ASSERT_EQ(Image().Pixel(x, y), atZero.Pixel(x - 10, y)) << x << "," << y;
    }
  }
  ExpectText("50%", 43, 70 - 9);
}

TEST_F(RarBarDrawTest, DegenerateRangesAndHeightsDrawAnEmptyBarAtZeroPercent) {
  {
    SCOPED_TRACE("Max = Min");
    bar.SetMin(40);
    bar.SetMax(40);
    bar.SetProgress(90);
    EXPECT_EQ(Column(0), "10. 110L 9.");
    EXPECT_TRUE(Shows('E'));
    ExpectText("0%", 33, 124 - 9);
  }
  bar.SetMin(0);
  bar.SetMax(100);
  {
    SCOPED_TRACE("H = 0");
    bar.SetHeight(10);  // Y + 5
    bar.SetProgress(50);
    EXPECT_EQ(bar.BodyHeight(), 0);
    ExpectText("0%", 33, 5 - 9);  // the cell ends above row Y+H = 5, mostly clipped
  }
  {
    SCOPED_TRACE("h = 0");
    bar.SetHeight(20);  // a body exactly 10 pixels high
    EXPECT_NO_THROW(bar.SetProgress(50));
    EXPECT_EQ(bar.BodyHeight(), 10);
    // The bottom coincides with the lid, and its empty halves cover it.
    EXPECT_EQ(At(7, 10), 'E');
    EXPECT_EQ(At(22, 10), 'e');
    EXPECT_FALSE(Shows('T'));
    EXPECT_FALSE(Shows('C'));
    ExpectText("0%", 33, 15 - 9);
  }
}

TEST_F(RarBarDrawTest, TheColoursPagesNineByNineBar) {
  bar.SetWidth(9);
  bar.SetHeight(9);
  bar.SetProgress(0);  // H = -1, h = -11, P = -11
  EXPECT_EQ(bar.BodyHeight(), -1);
  EXPECT_EQ(Image().Width(), 9);
  EXPECT_EQ(Image().Height(), 9);
  EXPECT_TRUE(Shows('E'));  // the empty form
  for (char filled : {'M', 'm', 'C', 'b', '#'}) EXPECT_FALSE(Shows(filled)) << filled;
}

TEST_F(RarBarDrawTest, WithoutPercentageOnlyTheTextCellChanges) {
  bar.SetProgress(50);
  const TBitmap withText = Image();
  bar.SetShowPercentage(false);
  for (int y = 0; y < 129; ++y) {
    for (int x = 0; x < 60; ++x) {
      const bool inCell = x >= 33 && x < 33 + 21 && y >= 61 && y < 70;
      if (inCell) {
        ASSERT_EQ(At(x, y), '.') << x << "," << y;
      } else {
        ASSERT_EQ(Image().Pixel(x, y), withText.Pixel(x, y)) << x << "," << y;
      }
    }
  }
}

TEST_F(RarBarDrawTest, BigRangeRoundsToOnePixelAndOnePercent) {
  bar.SetMax(1000);
  bar.SetProgress(5);
  EXPECT_EQ(Column(0), "10. 108L 2l 9.");  // P = 1: the filled part is one row
  ExpectText("1%", 33, 123 - 9);
}

TEST_F(RarBarDrawTest, BarMadeByCodeAtOnePercent) {
  bar.SetHeight(180);
  bar.SetProgress(1);                      // H = 170, h = 160, x = 1.6
  EXPECT_EQ(Column(0), "10. 158L 3l 9.");  // P = 2, then the bottom's front corner
  ExpectText("1%", 33, 175 - 2 - 9);
}

TEST_F(RarBarDrawTest, TheCanvasFontTakesEveryAttributeOfTheBarsFont) {
  bar.Font()->SetHeight(-18);  // scale 2 in the built-in font: 18 rows, 13 pixels a character
  bar.Font()->SetStyle({});
  bar.SetProgress(50);
  ExpectText("50%", 33, 70 - 18);
}

TEST_F(RarBarDrawTest, ThePictureGoesToTheParentInOneCopy) {
  RecordingParent parent;
  bar.SetParent(&parent);
  parent.copies = 0;
  bar.SetProgress(50);
  EXPECT_EQ(parent.copies, 1);
  EXPECT_EQ(parent.lastChild, &bar);
  EXPECT_EQ(parent.lastImage, &Image());
  EXPECT_EQ(parent.lastX, 0);
  EXPECT_EQ(parent.lastY, 0);
  EXPECT_EQ(parent.pixelsAtCopy,
            std::vector<std::uint32_t>(Image().Pixels(), Image().Pixels() + 60 * 129));
  bar.Paint();
  EXPECT_EQ(parent.copies, 2);
  bar.SetParent(nullptr);
}

TEST_F(RarBarDrawTest, SystemColoursComeThroughTheParentsScreen) {
  FakeScreen screen;
  screen.sysColors[15] = RGB(1, 1, 1);  // clBtnFace as the legend's background
  RecordingParent parent;
  parent.SetGraphicsPorts({&screen, nullptr});
  bar.SetParent(&parent);
  bar.SetColor(clBtnFace);
  bar.SetProgress(50);
  EXPECT_EQ(At(59, 0), '.');
  ExpectText("50%", 33, 70 - 9);  // the text's cell in the same system colour
  bar.SetParent(nullptr);
  bar.SetProgress(50);
  EXPECT_EQ(static_cast<std::uint32_t>(Image().Pixel(59, 0)), ColorToRGB(clBtnFace, ClassicScreen()));
}

TEST_F(RarBarDrawTest, RedrawingAllocatesNothingOnceTheSizeIsStable) {
  RecordingParent parent;
  bar.SetParent(&parent);
  bar.Font()->SetName("Microsoft Sans Serif");  // longer than a short string's inline storage
  bar.SetProgress(1);
  AllocationCounter counter;
  for (int progress : {0, 50, 100, 150, -10}) bar.SetProgress(progress);
  bar.SetHeight(100);  // smaller: the image keeps its storage
  bar.SetProgress(50);
  const std::uint64_t allocations = counter.Allocations();
  bar.SetParent(nullptr);
  EXPECT_EQ(allocations, 0u);
}

TEST_F(RarBarDrawTest, AnyGeometryDrawsWithinTheImage) {
  struct Geometry {
    int x, y, width, height, min, max, progress;
  };
  const Geometry cases[] = {
      {INT_MAX, INT_MAX, 60, 129, 0, 100, 50},
      {INT_MIN, INT_MIN, 60, 129, 0, 100, 50},
      {-20, -60, 60, 129, 0, 100, 50},
      {0, 5, 60, INT_MIN, 0, 100, 50},
      {0, 5, 0, 129, 0, 100, 50},
      {0, 5, 60, 0, 0, 100, 50},
      {0, 5, -4, -9, 0, 100, 50},
      {0, 5, 1, 1, INT_MIN, INT_MAX, INT_MIN},
      {0, INT_MIN, 60, 129, INT_MAX, INT_MIN, INT_MAX},
      {0, 5, 60, 129, 0, 1, INT_MAX},
  };
  for (const Geometry& g : cases) {
    bar.SetX(g.x);
    bar.SetY(g.y);
    bar.SetWidth(g.width);
    bar.SetHeight(g.height);
    bar.SetMin(g.min);
    bar.SetMax(g.max);
    EXPECT_NO_THROW(bar.SetProgress(g.progress)) << g.x << "," << g.y;
    EXPECT_EQ(Image().Width(), std::max(g.width, 0));
    EXPECT_EQ(Image().Height(), std::max(g.height, 0));
  }
}

TEST_F(RarBarDrawTest, AnImageTooLargeToMakeRaisesAnError) {
  bar.SetWidth(100000);
  bar.SetHeight(100000);
  EXPECT_THROW(bar.SetProgress(50), Exception);
}

}  // namespace
