#pragma once
// The framework's built-in font: a deterministic bitmap font that implements the glyph rasteriser
// port without any platform, so text drawn on the host is exact to the pixel.
//
// Metrics, for a font of height `Height` (any sign):
// - scale s = clamp((|Height| + 4) / 9, 1, kMaxScale); a height of 0 is scale 1. So heights up to
//   13 pixels (the usual small screen fonts) give s = 1, 14 to 22 give s = 2, and so on.
// - Every character is a 5 x 7 pattern scaled by s, in a cell 9s high: s rows of leading above the
//   pattern, the pattern in rows [s, 8s), s rows of descent below.
// - The advance is 6s per character (the pattern and one blank column). Bold (a weight of 600 or
//   more) adds one pixel to the advance and draws the pattern twice, the second copy one pixel to
//   the right.
// - Underline inks the descent rows [8s, 9s), strike-out rows [4s, 5s), across the whole cell.
// - Italic, face, character set and pitch do not change the result.
// - The printable ASCII characters 32 to 126 have their own patterns; every other byte is drawn as
//   a hollow box.
// A text's extent is (number of bytes x advance, 9s), its width limited to INT_MAX.

#include "platform/GlyphRasterizer.h"

class TBuiltinGlyphs final : public platform::IGlyphRasterizer {
 public:
  static constexpr int kMaxScale = 64;
  static constexpr int kPatternWidth = 5;
  static constexpr int kPatternHeight = 7;

  // The scale s of a font height, as above.
  static int Scale(int height);
  static int CellHeight(int height) { return 9 * Scale(height); }
  static int Advance(const platform::FontDescription& font);
  // Whether pattern cell (column, row) of character `c` is ink (0 <= column < 5, 0 <= row < 7).
  static bool PatternInk(unsigned char c, int column, int row);

  platform::GlyphExtent Measure(const platform::FontDescription& font,
                                std::string_view text) override;
  bool Render(const platform::FontDescription& font, std::string_view text, int left, int top,
              int width, int height, std::span<std::uint8_t> coverage) override;
};

// The shared built-in font, used wherever no glyph rasteriser port is given. It keeps no state.
platform::IGlyphRasterizer& BuiltinGlyphs();
