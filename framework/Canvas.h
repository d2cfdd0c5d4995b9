#pragma once
// TCanvas: the framework's software drawing surface on a TBitmap. It keeps a pen, a brush and a
// font like a Windows device context and rasterises by GDI's rules, so a picture composed here
// matches what GDI draws:
// - Lines are one pixel wide, solid and plainly copied. A line covers its start pixel and not its
//   end pixel; the pixels between follow the grid-intersection (diamond) rule: one pixel per
//   column for lines flatter than 45 degrees (one per row for steeper ones), the pixel whose
//   centre is nearest the line; where the line passes exactly half-way between two pixels, the
//   upper one (flat lines) or the left one (steep lines) is taken.
// - Polygons are filled with the alternate (even-odd) rule. Pixel centres lie on integer
//   coordinates; a pixel whose centre is inside, or on a left or top edge, is filled, one on a
//   right or bottom edge is not. The closed outline through every corner then follows in the pen.
// - Text is drawn opaque: its cell is filled with the brush, then its ink in the font's colour.
// Every coordinate is accepted; whatever falls outside the bitmap is clipped.
//
// Colours are resolved when a primitive draws: system colours through the screen port, or the
// framework's classic palette when there is none (see ResolveColor). Text comes from the glyph
// rasteriser port, or the built-in deterministic font when there is none.
//
// Drawing allocates nothing once the scratch buffers have grown to the sizes in use.

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "framework/Controls.h"
#include "framework/Graphics.h"

class TBitmap;

namespace platform {
class IScreen;
class IGlyphRasterizer;
struct FontDescription;
}  // namespace platform

struct TPen {
  TColor Color = clBlack;
};

struct TBrush {
  TColor Color = clWhite;
};

struct TSize {
  int cx = 0;
  int cy = 0;
  friend bool operator==(const TSize&, const TSize&) = default;
};

class TCanvas {
 public:
  // A canvas drawing on `bitmap`, which must outlive it. It draws at the bitmap's current size,
  // whatever size the bitmap is given later.
  explicit TCanvas(TBitmap& bitmap);
  ~TCanvas();
  TCanvas(const TCanvas&) = delete;
  TCanvas& operator=(const TCanvas&) = delete;

  TBitmap& Bitmap() const { return *bitmap_; }

  // The ports used from now on; either may be null (classic palette, built-in font).
  void SetPorts(const TGraphicsPorts& ports) { ports_ = ports; }
  const TGraphicsPorts& Ports() const { return ports_; }

  TPen& Pen() { return pen_; }
  TBrush& Brush() { return brush_; }
  // The font of TextOut and TextExtent. Assign a control's font into it before drawing text.
  TFont& Font() { return font_; }

  // The current position, where the next LineTo starts.
  TPoint PenPos() const { return penPos_; }
  void MoveTo(int x, int y) { penPos_ = {x, y}; }
  // A line in the pen colour from the current position to (x, y), which becomes the current
  // position. A line of zero length draws nothing.
  void LineTo(int x, int y);

  // Fills the polygon through `points` with the brush, then draws its closed outline with the
  // pen, segment by segment as LineTo draws them (so every corner is covered as the start of a
  // segment). The current position is neither used nor changed. Fewer than two points draw
  // nothing; fewer than three fill nothing.
  void Polygon(std::span<const TPoint> points);

  // Fills [Left, Right) x [Top, Bottom) with the brush; an empty or inverted rectangle fills
  // nothing.
  void FillRect(const TRect& rect);

  // The size of the text's cell in the current font.
  TSize TextExtent(std::string_view text);
  int TextWidth(std::string_view text) { return TextExtent(text).cx; }
  int TextHeight(std::string_view text) { return TextExtent(text).cy; }

  // Draws the text with its cell's top-left corner at (x, y): the cell (TextExtent) is filled
  // with the brush colour, then the glyphs' ink is painted in the font's colour. The current
  // position moves to the cell's top-right corner (x + width, y).
  void TextOut(int x, int y, std::string_view text);

 private:
  std::uint32_t PixelOf(TColor color) const;
  platform::IGlyphRasterizer& Glyphs() const;
  platform::FontDescription Describe() const;
  void DrawLine(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1,
                std::uint32_t pixel);
  void FillSpan(std::int64_t y, std::int64_t left, std::int64_t right, std::uint32_t pixel);
  void FillPolygon(std::span<const TPoint> points, std::uint32_t pixel);

  // A polygon edge that crosses rows, walked downwards one row at a time: its crossing with row
  // y is x + ceil((y - top) * dx / dy), kept as a whole part and a remainder over dy so that the
  // walk needs no division per row.
  struct TEdge {
    std::int64_t X;                          // the upper end's x
    std::int64_t Top;                        // the first row it crosses (its upper end)
    std::int64_t Bottom;                     // the row after the last (its lower end)
    bool Rising;                             // dx >= 0
    std::uint64_t Dy;                        // > 0
    std::uint64_t StepWhole, StepRemainder;  // |dx| / dy and |dx| % dy
    std::int64_t Whole;                      // floor(t * |dx| / dy) for the row being walked
    std::uint64_t Remainder;                 // (t * |dx|) % dy
  };

  TBitmap* bitmap_;
  TGraphicsPorts ports_;
  TPen pen_;
  TBrush brush_;
  TFont font_;
  TPoint penPos_;
  // Scratch space reused between drawings: the edges of one polygon and their crossings with one
  // row, text coverage.
  std::vector<TEdge> edges_;
  std::vector<std::int64_t> crossings_;
  std::vector<std::uint8_t> coverage_;
};
