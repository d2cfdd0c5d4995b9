#pragma once
// The glyph rasteriser port: measures a one-line text in a font and renders its ink as coverage,
// so that the framework's canvas can draw text into its own pixel buffers. Texts and face names
// are UTF-8, as everywhere in the program.

#include <cstdint>
#include <span>
#include <string_view>

namespace platform {

enum class GlyphPitch : std::uint8_t { Default, Variable, Fixed };

// A font as a drawing asks for it.
struct FontDescription {
  // The face name; the rasteriser substitutes its nearest face when it has no such face.
  std::string_view face;
  // Negative: the character height in pixels (without internal leading). Positive: the cell
  // height in pixels. Zero: the rasteriser's default size.
  int height = 0;
  // 400 is normal, 700 bold.
  int weight = 400;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
  // A Windows character set number (0 ANSI, 1 default, 2 symbol, ...).
  std::uint8_t charset = 1;
  GlyphPitch pitch = GlyphPitch::Default;
};

// The size of a text's cell: the sum of the characters' advances by the font's cell height.
struct GlyphExtent {
  int width = 0;
  int height = 0;
};

class IGlyphRasterizer {
 public:
  virtual ~IGlyphRasterizer() = default;

  // The cell of `text` drawn in `font` from its top-left corner. An empty text has width 0 and the
  // font's cell height.
  virtual GlyphExtent Measure(const FontDescription& font, std::string_view text) = 0;

  // Renders the window [left, left + width) x [top, top + height) of the text's cell (cell
  // coordinates, the cell's top-left corner at (0, 0)) into `coverage`: `height` rows of `width`
  // bytes, top row first, 0 for background and 255 for ink. Parts of the window outside the cell
  // are background. `coverage` must hold at least width * height bytes; the rasteriser writes
  // every one of them. Returns false (with the buffer all background) when the text could not be
  // rendered.
  virtual bool Render(const FontDescription& font, std::string_view text, int left, int top,
                      int width, int height, std::span<std::uint8_t> coverage) = 0;
};

}  // namespace platform
