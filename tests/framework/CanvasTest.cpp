#include "framework/Canvas.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <initializer_list>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "fakes/FakeScreen.h"
#include "framework/Bitmap.h"
#include "framework/BuiltinGlyphs.h"
#include "framework/Exception.h"
#include "platform/GlyphRasterizer.h"
#include "support/AllocationCounter.h"

namespace {

constexpr TColor kPaper = RGB(250, 250, 250);  // '.'
constexpr TColor kInk = RGB(10, 20, 30);       // '#': pen and font
constexpr TColor kFill = RGB(200, 100, 50);    // 'o': brush

// The bitmap as rows of letters: '.' paper, '#' pen or font, 'o' brush, '?' anything else.
std::vector<std::string> Picture(const TBitmap& bitmap) {
  std::vector<std::string> rows;
  for (int y = 0; y < bitmap.Height(); ++y) {
    std::string row;
    for (int x = 0; x < bitmap.Width(); ++x) {
      const TColor c = bitmap.Pixel(x, y);
      row += c == kPaper ? '.' : c == kInk ? '#' : c == kFill ? 'o' : '?';
    }
    rows.push_back(row);
  }
  return rows;
}

std::vector<std::string> Rows(std::initializer_list<const char*> rows) {
  return {rows.begin(), rows.end()};
}

// A bitmap of paper with a canvas that draws in kInk and kFill.
struct Sheet {
  Sheet(int width, int height) : bitmap(width, height), canvas(bitmap) {
    canvas.Brush().Color = kPaper;
    canvas.FillRect({0, 0, width, height});
    canvas.Pen().Color = kInk;
    canvas.Brush().Color = kFill;
    canvas.Font().SetColor(kInk);
  }
  std::set<std::pair<int, int>> Inked() const {
    std::set<std::pair<int, int>> inked;
    for (int y = 0; y < bitmap.Height(); ++y) {
      for (int x = 0; x < bitmap.Width(); ++x) {
        if (bitmap.Pixel(x, y) == kInk) inked.insert({x, y});
      }
    }
    return inked;
  }
  TBitmap bitmap;
  TCanvas canvas;
};

// ---------------------------------------------------------------------------------------------
// TBitmap

TEST(BitmapTest, PixelsAreStoredInDibOrderAndReadAsColours) {
  TBitmap bitmap(3, 2);
  bitmap.SetPixel(1, 1, RGB(0x12, 0x34, 0x56));
  EXPECT_EQ(bitmap.Row(1)[1], 0x00123456u);  // 0x00RRGGBB: bytes blue, green, red in memory
  EXPECT_EQ(bitmap.Pixel(1, 1), RGB(0x12, 0x34, 0x56));
  EXPECT_EQ(bitmap.Pixels() + 3, bitmap.Row(1));  // rows are Width() pixels, no padding
  for (auto [x, y] : {std::pair{-1, 0}, {0, -1}, {3, 0}, {0, 2}, {INT_MIN, INT_MAX}}) {
    EXPECT_EQ(bitmap.Pixel(x, y), clNone) << x << "," << y;
    bitmap.SetPixel(x, y, clBlack);  // ignored
  }
}

TEST(BitmapTest, NegativeOrZeroSizesGiveAnEmptyBitmap) {
  for (auto [w, h] : {std::pair{0, 5}, {5, 0}, {-3, 4}, {4, -3}, {INT_MIN, INT_MIN}}) {
    TBitmap bitmap(w, h);
    EXPECT_EQ(bitmap.Width(), w > 0 ? w : 0);
    EXPECT_EQ(bitmap.Height(), h > 0 ? h : 0);
    EXPECT_TRUE(bitmap.Empty());
    EXPECT_EQ(bitmap.Pixels(), nullptr);
  }
}

TEST(BitmapTest, StorageIsReusedWhileTheSizeDoesNotGrow) {
  TBitmap bitmap(10, 10);
  {
    AllocationCounter counter;
    bitmap.SetSize(5, 5);
    bitmap.SetSize(20, 5);
    bitmap.SetSize(10, 10);
    EXPECT_EQ(counter.Allocations(), 0u);
  }
  AllocationCounter counter;
  bitmap.SetSize(11, 10);
  EXPECT_GT(counter.Allocations(), 0u);
  EXPECT_EQ(bitmap.Width(), 11);
}

TEST(BitmapTest, ASizeBeyondTheLimitRaisesAndKeepsTheBitmap) {
  TBitmap bitmap(4, 3);
  EXPECT_THROW(bitmap.SetSize(INT_MAX, INT_MAX), Exception);
  EXPECT_THROW(bitmap.SetSize(1 << 15, (1 << 13) + 1), Exception);
  EXPECT_EQ(bitmap.Width(), 4);
  EXPECT_EQ(bitmap.Height(), 3);
}

// ---------------------------------------------------------------------------------------------
// Lines

struct LineCase {
  const char* name;
  TPoint from;
  TPoint to;
  std::set<std::pair<int, int>> pixels;
};

TEST(CanvasLineTest, CoversTheStartNotTheEndWithTheDiamondRule) {
  const LineCase cases[] = {
      {"right", {2, 3}, {6, 3}, {{2, 3}, {3, 3}, {4, 3}, {5, 3}}},
      {"left", {6, 3}, {2, 3}, {{6, 3}, {5, 3}, {4, 3}, {3, 3}}},
      {"down", {4, 1}, {4, 4}, {{4, 1}, {4, 2}, {4, 3}}},
      {"up", {4, 4}, {4, 1}, {{4, 4}, {4, 3}, {4, 2}}},
      {"zero length", {4, 4}, {4, 4}, {}},
      {"45 degrees", {0, 0}, {3, 3}, {{0, 0}, {1, 1}, {2, 2}}},
      // The prism's edges: a third of a pixel down per column, never a tie.
      {"slope 1/3 down",
       {0, 0},
       {15, 5},
       {{0, 0},
        {1, 0},
        {2, 1},
        {3, 1},
        {4, 1},
        {5, 2},
        {6, 2},
        {7, 2},
        {8, 3},
        {9, 3},
        {10, 3},
        {11, 4},
        {12, 4},
        {13, 4},
        {14, 5}}},
      {"slope 1/3 reversed",
       {15, 5},
       {0, 0},
       {{15, 5},
        {14, 5},
        {13, 4},
        {12, 4},
        {11, 4},
        {10, 3},
        {9, 3},
        {8, 3},
        {7, 2},
        {6, 2},
        {5, 2},
        {4, 1},
        {3, 1},
        {2, 1},
        {1, 0}}},
      {"slope -1/3",
       {0, 5},
       {15, 0},
       {{0, 5},
        {1, 5},
        {2, 4},
        {3, 4},
        {4, 4},
        {5, 3},
        {6, 3},
        {7, 3},
        {8, 2},
        {9, 2},
        {10, 2},
        {11, 1},
        {12, 1},
        {13, 1},
        {14, 0}}},
      // Exactly half-way between two pixels: the upper one for flat lines, the left one for
      // steep lines, whichever way the line runs.
      {"flat tie going down", {0, 0}, {2, 1}, {{0, 0}, {1, 0}}},
      {"flat tie going down, reversed", {2, 1}, {0, 0}, {{2, 1}, {1, 0}}},
      {"flat tie going up", {0, 1}, {2, 0}, {{0, 1}, {1, 0}}},
      {"steep tie going right", {0, 0}, {1, 2}, {{0, 0}, {0, 1}}},
      {"steep tie going left", {1, 2}, {0, 0}, {{1, 2}, {0, 1}}},
  };
  for (const LineCase& c : cases) {
    Sheet sheet(20, 8);
    sheet.canvas.MoveTo(c.from.X, c.from.Y);
    sheet.canvas.LineTo(c.to.X, c.to.Y);
    EXPECT_EQ(sheet.Inked(), c.pixels) << c.name;
    EXPECT_EQ(sheet.canvas.PenPos(), c.to) << c.name;
  }
}

TEST(CanvasLineTest, APathCoversEveryCornerButItsLastPoint) {
  Sheet sheet(6, 5);
  sheet.canvas.MoveTo(1, 1);
  sheet.canvas.LineTo(4, 1);
  sheet.canvas.LineTo(4, 3);
  sheet.canvas.LineTo(1, 3);
  EXPECT_EQ(Picture(sheet.bitmap), Rows({
                                       "......",
                                       ".####.",
                                       "....#.",
                                       "..###.",
                                       "......",
                                   }));
}

TEST(CanvasLineTest, LinesFarOutsideTheBitmapAreClippedExactly) {
  constexpr int kMin = INT_MIN;
  constexpr int kMax = INT_MAX;
  std::set<std::pair<int, int>> diagonal;
  for (int i = 0; i < 8; ++i) diagonal.insert({i, i});
  std::set<std::pair<int, int>> row5;
  for (int x = 0; x < 8; ++x) row5.insert({x, 5});
  const LineCase cases[] = {
      // Slope exactly 1 from corner to corner of the coordinate space passes through (k, k).
      {"diagonal across everything", {kMin, kMin}, {kMax, kMax}, diagonal},
      {"diagonal backwards", {kMax, kMax}, {kMin, kMin}, diagonal},
      {"horizontal across everything", {kMin, 5}, {kMax, 5}, row5},
      {"entirely left", {kMin, 0}, {-1, 7}, {}},
      {"entirely below", {0, 8}, {kMax, kMax}, {}},
      {"steep, passing beside", {8, kMin}, {9, kMax}, {}},
      // The line y = 3 + x * 2^-31 (nearly) ends on the bitmap: every column rounds to row 3.
      {"long flat from far left",
       {kMin, 2},
       {7, 3},
       {{0, 3}, {1, 3}, {2, 3}, {3, 3}, {4, 3}, {5, 3}, {6, 3}}},
  };
  for (const LineCase& c : cases) {
    Sheet sheet(8, 8);
    sheet.canvas.MoveTo(c.from.X, c.from.Y);
    sheet.canvas.LineTo(c.to.X, c.to.Y);
    EXPECT_EQ(sheet.Inked(), c.pixels) << c.name;
  }
}

TEST(CanvasLineTest, AnEmptyBitmapTakesAnyDrawing) {
  for (auto [w, h] : {std::pair{0, 0}, {0, 10}, {10, 0}}) {
    TBitmap bitmap(w, h);
    TCanvas canvas(bitmap);
    canvas.MoveTo(INT_MIN, INT_MIN);
    canvas.LineTo(INT_MAX, INT_MAX);
    const TPoint square[] = {{-5, -5}, {5, -5}, {5, 5}, {-5, 5}};
    canvas.Polygon(square);
    canvas.FillRect({INT_MIN, INT_MIN, INT_MAX, INT_MAX});
    canvas.TextOut(0, 0, "100%");
    EXPECT_TRUE(bitmap.Empty());
  }
}

// ---------------------------------------------------------------------------------------------
// Polygons and rectangles

TEST(CanvasPolygonTest, RhombusOfThePrismFillsInsideItsOutline) {
  Sheet sheet(31, 11);
  const TPoint lid[] = {{15, 10}, {0, 5}, {15, 0}, {30, 5}};
  sheet.canvas.Polygon(lid);
  EXPECT_EQ(Picture(sheet.bitmap), Rows({
                                       "..............###..............",
                                       "...........###ooo###...........",
                                       "........###ooooooooo###........",
                                       ".....###ooooooooooooooo###.....",
                                       "..###ooooooooooooooooooooo###..",
                                       "##ooooooooooooooooooooooooooo##",
                                       "..###ooooooooooooooooooooo###..",
                                       ".....###ooooooooooooooo###.....",
                                       "........###ooooooooo###........",
                                       "...........###ooo###...........",
                                       "..............###..............",
                                   }));
}

TEST(CanvasPolygonTest, SteepEdgesFillEveryPixelWhoseCentreIsInside) {
  // The right edge crosses the rows at fractions: row 2 at x = 2 6/7, so pixel 2 is inside
  // although the outline passes through pixel 3.
  Sheet sheet(6, 8);
  const TPoint shape[] = {{0, 0}, {2, 0}, {5, 7}, {0, 7}};
  sheet.canvas.Polygon(shape);
  const std::vector<std::string> expected = Rows({
      "###...",
      "#o#...",
      "#oo#..",
      "#oo#..",
      "#ooo#.",
      "#ooo#.",
      "#oooo#",
      "######",
  });
  EXPECT_EQ(Picture(sheet.bitmap), expected);

  // Mirrored, the sloped edge is a left edge running the other way.
  Sheet mirrored(6, 8);
  const TPoint mirror[] = {{5, 0}, {3, 0}, {0, 7}, {5, 7}};
  mirrored.canvas.Polygon(mirror);
  std::vector<std::string> flipped = expected;
  for (std::string& row : flipped) row = std::string(row.rbegin(), row.rend());
  EXPECT_EQ(Picture(mirrored.bitmap), flipped);
}

TEST(CanvasPolygonTest, AlternateRuleLeavesTheStarsMiddleEmpty) {
  Sheet sheet(31, 31);
  const TPoint star[] = {{15, 0}, {24, 30}, {0, 12}, {30, 12}, {6, 30}};
  sheet.canvas.Polygon(star);
  EXPECT_EQ(sheet.bitmap.Pixel(15, 5), kFill);  // the top point: inside one edge pair
  EXPECT_EQ(sheet.bitmap.Pixel(5, 14), kFill);  // the left point
  // The pentagon in the middle lies inside two edge pairs: outside by the alternate rule.
  for (int x = 12; x <= 18; ++x) EXPECT_EQ(sheet.bitmap.Pixel(x, 18), kPaper) << x;
}

TEST(CanvasPolygonTest, FillAndOutlineUseTheirOwnColoursAndKeepThePenPosition) {
  Sheet sheet(6, 5);
  sheet.canvas.MoveTo(3, 3);
  const TPoint rectangle[] = {{1, 1}, {4, 1}, {4, 4}, {1, 4}};
  sheet.canvas.Polygon(rectangle);
  EXPECT_EQ(Picture(sheet.bitmap), Rows({
                                       "......",
                                       ".####.",
                                       ".#oo#.",
                                       ".#oo#.",
                                       ".####.",
                                   }));
  EXPECT_EQ(sheet.canvas.PenPos(), (TPoint{3, 3}));
}

TEST(CanvasPolygonTest, DegeneratePolygons) {
  {
    Sheet sheet(4, 3);
    const TPoint one[] = {{1, 1}};
    sheet.canvas.Polygon(one);
    sheet.canvas.Polygon({});
    EXPECT_TRUE(sheet.Inked().empty());
  }
  {
    // Two points: a line there and back, covering both ends; nothing to fill.
    Sheet sheet(4, 3);
    const TPoint two[] = {{0, 1}, {3, 1}};
    sheet.canvas.Polygon(two);
    EXPECT_EQ(Picture(sheet.bitmap), Rows({"....", "####", "...."}));
  }
  {
    // A polygon folded onto a line has no inside.
    Sheet sheet(5, 3);
    const TPoint flat[] = {{0, 1}, {2, 1}, {4, 1}, {2, 1}};
    sheet.canvas.Polygon(flat);
    EXPECT_EQ(Picture(sheet.bitmap), Rows({".....", "#####", "....."}));
  }
}

TEST(CanvasPolygonTest, HugeCoordinatesAreClippedExactly) {
  constexpr int kMin = INT_MIN;
  constexpr int kMax = INT_MAX;
  {
    // Covers the bitmap; every edge lies outside it.
    Sheet sheet(6, 4);
    const TPoint all[] = {{kMin, kMin}, {kMax, kMin}, {kMax, kMax}, {kMin, kMax}};
    sheet.canvas.Polygon(all);
    EXPECT_EQ(Picture(sheet.bitmap), Rows({"oooooo", "oooooo", "oooooo", "oooooo"}));
  }
  {
    // The hypotenuse runs exactly through the pixels (k, k): below it is inside.
    Sheet sheet(5, 5);
    const TPoint triangle[] = {{kMin, kMin}, {kMax, kMax}, {kMin, kMax}};
    sheet.canvas.Polygon(triangle);
    EXPECT_EQ(Picture(sheet.bitmap), Rows({"#....", "o#...", "oo#..", "ooo#.", "oooo#"}));
  }
  {
    Sheet sheet(5, 5);
    const TPoint away[] = {{kMax - 10, kMax - 10}, {kMax, kMax - 10}, {kMax, kMax}};
    sheet.canvas.Polygon(away);
    const TPoint above[] = {{-100, kMin}, {100, kMin}, {0, -1}};
    sheet.canvas.Polygon(above);
    EXPECT_TRUE(sheet.Inked().empty());
    EXPECT_EQ(Picture(sheet.bitmap)[0], ".....");
  }
}

TEST(CanvasPolygonTest, FillRectCoversLeftAndTopButNotRightAndBottom) {
  struct RectCase {
    TRect rect;
    std::vector<std::string> picture;
  };
  const RectCase cases[] = {
      {{1, 1, 3, 2}, {"....", ".oo.", "...."}},
      {{3, 2, 1, 1}, {"....", "....", "...."}},  // inverted
      {{2, 1, 2, 3}, {"....", "....", "...."}},  // empty
      {{INT_MIN, INT_MIN, INT_MAX, INT_MAX}, {"oooo", "oooo", "oooo"}},
      {{-5, 2, 1, 100}, {"....", "....", "o..."}},
  };
  for (const RectCase& c : cases) {
    Sheet sheet(4, 3);
    sheet.canvas.FillRect(c.rect);
    EXPECT_EQ(Picture(sheet.bitmap), c.picture)
        << c.rect.Left << "," << c.rect.Top << "," << c.rect.Right << "," << c.rect.Bottom;
  }
}

TEST(CanvasColourTest, SystemColoursComeFromTheScreenOrTheClassicPalette) {
  FakeScreen screen;
  screen.sysColors[15] = RGB(1, 2, 3);
  TBitmap bitmap(2, 1);
  TCanvas canvas(bitmap);
  canvas.Brush().Color = clBtnFace;
  canvas.FillRect({0, 0, 1, 1});
  canvas.SetPorts({&screen, nullptr});
  canvas.FillRect({1, 0, 2, 1});
  EXPECT_EQ(static_cast<std::uint32_t>(bitmap.Pixel(0, 0)), ColorToRGB(clBtnFace, ClassicScreen()));
  EXPECT_EQ(bitmap.Pixel(1, 0), RGB(1, 2, 3));
}

// ---------------------------------------------------------------------------------------------
// Text

TEST(CanvasTextTest, OpaqueCellThenInk) {
  Sheet sheet(9, 11);
  sheet.canvas.Font().SetHeight(-9);
  sheet.canvas.Font().SetStyle({});
  sheet.canvas.Brush().Color = kFill;
  sheet.canvas.TextOut(2, 1, "1");
  EXPECT_EQ(Picture(sheet.bitmap), Rows({
                                       ".........",
                                       "..oooooo.",
                                       "..oo#ooo.",
                                       "..o##ooo.",
                                       "..oo#ooo.",
                                       "..oo#ooo.",
                                       "..oo#ooo.",
                                       "..oo#ooo.",
                                       "..o###oo.",
                                       "..oooooo.",
                                       ".........",
                                   }));
  EXPECT_EQ(sheet.canvas.PenPos(), (TPoint{8, 1}));
}

TEST(CanvasTextTest, BoldWidensEachCharacterByOnePixel) {
  Sheet sheet(8, 9);
  sheet.canvas.Font().SetHeight(-9);
  sheet.canvas.Font().SetStyle({fsBold});
  sheet.canvas.Brush().Color = kFill;
  sheet.canvas.TextOut(0, 0, "-");
  EXPECT_EQ(Picture(sheet.bitmap), Rows({
                                       "ooooooo.",
                                       "ooooooo.",
                                       "ooooooo.",
                                       "ooooooo.",
                                       "######o.",
                                       "ooooooo.",
                                       "ooooooo.",
                                       "ooooooo.",
                                       "ooooooo.",
                                   }));
}

TEST(CanvasTextTest, ClippedCellShowsTheMatchingPartOfTheText) {
  Sheet whole(20, 12);
  whole.canvas.Brush().Color = kFill;
  whole.canvas.TextOut(0, 0, "42%");
  Sheet clipped(20, 12);
  clipped.canvas.Brush().Color = kFill;
  clipped.canvas.TextOut(-5, -3, "42%");
  for (int y = 0; y < 9; ++y) {
    for (int x = 0; x < 15; ++x) {
      EXPECT_EQ(clipped.bitmap.Pixel(x, y), whole.bitmap.Pixel(x + 5, y + 3)) << x << "," << y;
    }
  }
  Sheet far(4, 4);
  far.canvas.TextOut(INT_MAX - 3, INT_MAX - 3, "100%");
  far.canvas.TextOut(INT_MIN, INT_MIN, "100%");
  EXPECT_EQ(Picture(far.bitmap), Rows({"....", "....", "....", "...."}));
}

// A rasteriser that records what it is asked and inks a checkerboard in cell coordinates.
class RecordingGlyphs : public platform::IGlyphRasterizer {
 public:
  platform::GlyphExtent Measure(const platform::FontDescription& font,
                                std::string_view text) override {
    Record(font, text);
    return extent;
  }
  bool Render(const platform::FontDescription& font, std::string_view text, int left, int top,
              int width, int height, std::span<std::uint8_t> coverage) override {
    Record(font, text);
    window = {left, top, left + width, top + height};
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        coverage[static_cast<std::size_t>(y * width + x)] = (left + x + top + y) % 2 == 0 ? 255 : 0;
      }
    }
    return true;
  }
  void Record(const platform::FontDescription& font, std::string_view text) {
    last = font;
    face = std::string(font.face);
    last.face = {};
    lastText = std::string(text);
  }

  platform::GlyphExtent extent{10, 4};
  platform::FontDescription last;
  std::string face;
  std::string lastText;
  TRect window;
};

TEST(CanvasTextTest, TheFontReachesTheRasteriserAndOnlyTheVisibleWindowIsRendered) {
  RecordingGlyphs glyphs;
  Sheet sheet(5, 5);
  sheet.canvas.SetPorts({nullptr, &glyphs});
  TFont font;
  font.SetName("Small Fonts");
  font.SetHeight(-9);
  font.SetStyle({fsBold, fsItalic, fsUnderline, fsStrikeOut});
  font.SetCharset(ANSI_CHARSET);
  font.SetPitch(fpFixed);
  sheet.canvas.Font().Assign(font);
  sheet.canvas.Font().SetColor(kInk);

  sheet.canvas.TextOut(-3, -1, "abc");
  EXPECT_EQ(glyphs.face, "Small Fonts");
  EXPECT_EQ(glyphs.lastText, "abc");
  EXPECT_EQ(glyphs.last.height, -9);
  EXPECT_EQ(glyphs.last.weight, 700);
  EXPECT_TRUE(glyphs.last.italic);
  EXPECT_TRUE(glyphs.last.underline);
  EXPECT_TRUE(glyphs.last.strikeOut);
  EXPECT_EQ(glyphs.last.charset, ANSI_CHARSET);
  EXPECT_EQ(glyphs.last.pitch, platform::GlyphPitch::Fixed);
  // The cell is 10 x 4 from (-3, -1): cell columns 3..7 and rows 1..3 are on the bitmap.
  EXPECT_EQ(glyphs.window, (TRect{3, 1, 8, 4}));
  EXPECT_EQ(Picture(sheet.bitmap), Rows({"#o#o#", "o#o#o", "#o#o#", ".....", "....."}));

  font.SetStyle({});
  font.SetPitch(fpVariable);
  sheet.canvas.Font().Assign(font);
  EXPECT_EQ(sheet.canvas.TextExtent("x"), (TSize{10, 4}));
  EXPECT_EQ(glyphs.last.weight, 400);
  EXPECT_FALSE(glyphs.last.italic);
  EXPECT_EQ(glyphs.last.pitch, platform::GlyphPitch::Variable);
}

TEST(CanvasTextTest, DrawingAgainAllocatesNothing) {
  Sheet sheet(60, 40);
  const TPoint lid[] = {{15, 10}, {0, 5}, {15, 0}, {30, 5}};
  const auto draw = [&] {
    sheet.canvas.Polygon(lid);
    sheet.canvas.MoveTo(0, 0);
    sheet.canvas.LineTo(59, 39);
    sheet.canvas.TextOut(33, 20, "100%");
  };
  draw();
  AllocationCounter counter;
  draw();
  EXPECT_EQ(counter.Allocations(), 0u);
}

// ---------------------------------------------------------------------------------------------
// The built-in font

TEST(BuiltinGlyphsTest, Metrics) {
  struct MetricsCase {
    int height;
    bool bold;
    std::string_view text;
    int width;
    int cellHeight;
  };
  const MetricsCase cases[] = {
      {-9, false, "100%", 24, 9},  // the small screen fonts: scale 1
      {-11, true, "100%", 28, 9},  // bold: 7 pixels a character
      {13, false, "7", 6, 9},      // a positive (cell) height scales the same way
      {-14, false, "7", 12, 18},   // scale 2
      {0, false, "", 0, 9},        // the default size; an empty text is 0 wide
      {INT_MIN, false, "7", 6 * TBuiltinGlyphs::kMaxScale, 9 * TBuiltinGlyphs::kMaxScale},
  };
  for (const MetricsCase& c : cases) {
    platform::FontDescription font;
    font.height = c.height;
    font.weight = c.bold ? 700 : 400;
    const platform::GlyphExtent extent = BuiltinGlyphs().Measure(font, c.text);
    EXPECT_EQ(extent.width, c.width) << c.height << " " << c.text;
    EXPECT_EQ(extent.height, c.cellHeight) << c.height << " " << c.text;
  }
}

TEST(BuiltinGlyphsTest, ScaledPatternsAndLines) {
  Sheet sheet(12, 18);
  sheet.canvas.Font().SetHeight(-18);
  sheet.canvas.Font().SetStyle({fsUnderline});
  sheet.canvas.Brush().Color = kPaper;
  sheet.canvas.TextOut(0, 0, "-");
  EXPECT_EQ(Picture(sheet.bitmap), Rows({
                                       "............",
                                       "............",
                                       "............",
                                       "............",
                                       "............",
                                       "............",
                                       "............",
                                       "............",
                                       "##########..",
                                       "##########..",
                                       "............",
                                       "............",
                                       "............",
                                       "............",
                                       "............",
                                       "............",
                                       "############",
                                       "############",
                                   }));
}

TEST(BuiltinGlyphsTest, CharactersWithoutAPatternShowABox) {
  Sheet sheet(6, 9);
  sheet.canvas.Font().SetHeight(-9);
  sheet.canvas.Font().SetStyle({});
  sheet.canvas.Brush().Color = kPaper;
  sheet.canvas.TextOut(0, 0, "\x80");
  EXPECT_EQ(Picture(sheet.bitmap), Rows({
                                       "......",
                                       "#####.",
                                       "#...#.",
                                       "#...#.",
                                       "#...#.",
                                       "#...#.",
                                       "#...#.",
                                       "#####.",
                                       "......",
                                   }));
}

}  // namespace
