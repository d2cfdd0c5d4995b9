#include "platform/win32/Win32GlyphRasterizer.h"

#include <windows.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <cwchar>

#include "platform/win32/Win32Blit.h"
#include "platform/win32/Win32Text.h"

namespace platform::win32 {

namespace {

// The font attributes a GDI font is made from, compared to reuse the font last made.
struct FontKey {
  wchar_t Face[LF_FACESIZE] = {};
  int Height = 0;
  int Weight = 0;
  bool Italic = false;
  bool Underline = false;
  bool StrikeOut = false;
  std::uint8_t Charset = 0;
  GlyphPitch Pitch = GlyphPitch::Default;

  bool operator==(const FontKey& other) const {
    return std::wcscmp(Face, other.Face) == 0 && Height == other.Height && Weight == other.Weight &&
           Italic == other.Italic && Underline == other.Underline && StrikeOut == other.StrikeOut &&
           Charset == other.Charset && Pitch == other.Pitch;
  }
};

FontKey KeyOf(const FontDescription& font) {
  FontKey key;
  // Face names are at most LF_FACESIZE - 1 characters; longer ones are cut.
  CopyToField(font.face, key.Face, LF_FACESIZE);
  key.Height = font.height;
  key.Weight = font.weight;
  key.Italic = font.italic;
  key.Underline = font.underline;
  key.StrikeOut = font.strikeOut;
  key.Charset = font.charset;
  key.Pitch = font.pitch;
  return key;
}

BYTE PitchOf(GlyphPitch pitch) {
  switch (pitch) {
    case GlyphPitch::Variable:
      return VARIABLE_PITCH;
    case GlyphPitch::Fixed:
      return FIXED_PITCH;
    default:
      return DEFAULT_PITCH;
  }
}

int LengthOf(std::wstring_view text) {
  return static_cast<int>(std::min<std::size_t>(text.size(), INT_MAX));
}

}  // namespace

struct Win32GlyphRasterizer::State {
  HDC dc = nullptr;
  HGDIOBJ originalFont = nullptr;
  HGDIOBJ originalBitmap = nullptr;

  HFONT font = nullptr;
  FontKey fontKey;

  HBITMAP surface = nullptr;
  std::uint32_t* bits = nullptr;
  int surfaceWidth = 0;
  int surfaceHeight = 0;

  ~State() {
    if (dc != nullptr) {
      if (originalFont != nullptr) SelectObject(dc, originalFont);
      if (originalBitmap != nullptr) SelectObject(dc, originalBitmap);
      DeleteDC(dc);
    }
    if (font != nullptr) DeleteObject(font);
    if (surface != nullptr) DeleteObject(surface);
  }

  // The memory context with a font for `description` selected, or false when GDI refuses.
  bool Prepare(const FontDescription& description) {
    if (dc == nullptr) {
      dc = CreateCompatibleDC(nullptr);
      if (dc == nullptr) return false;
    }
    const FontKey key = KeyOf(description);
    if (font != nullptr && key == fontKey) return true;

    LOGFONTW logFont = {};
    logFont.lfHeight = key.Height;
    logFont.lfWeight = key.Weight;
    logFont.lfItalic = key.Italic ? TRUE : FALSE;
    logFont.lfUnderline = key.Underline ? TRUE : FALSE;
    logFont.lfStrikeOut = key.StrikeOut ? TRUE : FALSE;
    logFont.lfCharSet = key.Charset;
    logFont.lfOutPrecision = OUT_DEFAULT_PRECIS;
    logFont.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    // Crisp glyphs: every pixel is ink or background, as the canvas paints them.
    logFont.lfQuality = NONANTIALIASED_QUALITY;
    logFont.lfPitchAndFamily = static_cast<BYTE>(PitchOf(key.Pitch) | FF_DONTCARE);
    std::memcpy(logFont.lfFaceName, key.Face, sizeof(key.Face));
    HFONT created = CreateFontIndirectW(&logFont);
    if (created == nullptr) return false;

    HGDIOBJ previous = SelectObject(dc, created);
    if (originalFont == nullptr) originalFont = previous;
    if (font != nullptr) DeleteObject(font);
    font = created;
    fontKey = key;
    return true;
  }

  // A top-down 32-bit surface of at least width x height pixels selected into the context. It
  // only grows.
  bool EnsureSurface(int width, int height) {
    if (surface != nullptr && width <= surfaceWidth && height <= surfaceHeight) return true;
    const int newWidth = std::max(width, surfaceWidth);
    const int newHeight = std::max(height, surfaceHeight);
    const BITMAPINFO info = TopDownDibInfo(newWidth, newHeight);
    void* newBits = nullptr;
    HBITMAP created = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &newBits, nullptr, 0);
    if (created == nullptr || newBits == nullptr) {
      if (created != nullptr) DeleteObject(created);
      return false;
    }
    HGDIOBJ previous = SelectObject(dc, created);
    if (originalBitmap == nullptr) originalBitmap = previous;
    if (surface != nullptr) DeleteObject(surface);
    surface = created;
    bits = static_cast<std::uint32_t*>(newBits);
    surfaceWidth = newWidth;
    surfaceHeight = newHeight;
    return true;
  }
};

Win32GlyphRasterizer::Win32GlyphRasterizer() : state_(std::make_unique<State>()) {}

Win32GlyphRasterizer::~Win32GlyphRasterizer() = default;

GlyphExtent Win32GlyphRasterizer::Measure(const FontDescription& font, std::string_view text) {
  if (!state_->Prepare(font)) return {};
  if (text.empty()) {
    TEXTMETRICW metrics = {};
    if (!GetTextMetricsW(state_->dc, &metrics)) return {};
    return {0, static_cast<int>(metrics.tmHeight)};
  }
  SIZE size = {};
  const std::wstring wide = Widen(text);
  if (!GetTextExtentPoint32W(state_->dc, wide.data(), LengthOf(wide), &size)) return {};
  return {static_cast<int>(size.cx), static_cast<int>(size.cy)};
}

bool Win32GlyphRasterizer::Render(const FontDescription& font, std::string_view text, int left,
                                  int top, int width, int height,
                                  std::span<std::uint8_t> coverage) {
  if (width <= 0 || height <= 0) return true;
  const std::size_t size = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
  if (coverage.size() < size) return false;
  std::fill_n(coverage.data(), size, std::uint8_t{0});
  if (!state_->Prepare(font) || !state_->EnsureSurface(width, height)) return false;

  // White ink on black in the window's corner of the surface; the cell's point (left, top) lands
  // on the surface's origin.
  HDC dc = state_->dc;
  if (!PatBlt(dc, 0, 0, width, height, BLACKNESS)) return false;
  SetTextAlign(dc, TA_LEFT | TA_TOP | TA_NOUPDATECP);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(255, 255, 255));
  const std::wstring wide = Widen(text);
  if (!TextOutW(dc, -left, -top, wide.data(), LengthOf(wide))) return false;
  GdiFlush();

  const auto stride = static_cast<std::size_t>(state_->surfaceWidth);
  for (int row = 0; row < height; ++row) {
    const std::uint32_t* in = state_->bits + static_cast<std::size_t>(row) * stride;
    std::uint8_t* out = coverage.data() + static_cast<std::size_t>(row) * width;
    for (int column = 0; column < width; ++column) {
      out[column] = (in[column] & 0x00FFFFFFu) != 0 ? 255 : 0;
    }
  }
  return true;
}

}  // namespace platform::win32
