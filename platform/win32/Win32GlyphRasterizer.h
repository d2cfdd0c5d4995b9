#pragma once
// The glyph rasteriser port on the Windows drawing interface (gdi32): fonts made from the
// description with non-antialiased quality so that every pixel is ink or background, extents from
// GetTextExtentPoint32A, and coverage from TextOutA into a memory DIB.

#include <memory>

#include "platform/GlyphRasterizer.h"

namespace platform::win32 {

class Win32GlyphRasterizer final : public IGlyphRasterizer {
 public:
  Win32GlyphRasterizer();
  ~Win32GlyphRasterizer() override;
  Win32GlyphRasterizer(const Win32GlyphRasterizer&) = delete;
  Win32GlyphRasterizer& operator=(const Win32GlyphRasterizer&) = delete;

  GlyphExtent Measure(const FontDescription& font, std::string_view text) override;
  bool Render(const FontDescription& font, std::string_view text, int left, int top, int width,
              int height, std::span<std::uint8_t> coverage) override;

 private:
  // The memory device context, the font last asked for and the drawing surface, kept from call to
  // call so that drawing the same text again creates no GDI objects.
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace platform::win32
