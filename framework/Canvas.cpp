#include "framework/Canvas.h"

#include <algorithm>

#include "framework/Bitmap.h"
#include "framework/BuiltinGlyphs.h"
#include "platform/GlyphRasterizer.h"

namespace {

// floor(t * num / den) and the remainder, for 0 <= t < 2^32, 0 <= num < 2^32, 0 < den < 2^32: the
// product fits in 64 unsigned bits, so the quotient is exact for every pair of 32-bit points.
struct TQuotient {
  std::int64_t Whole;
  std::uint64_t Remainder;
};

TQuotient DivideProduct(std::int64_t t, std::int64_t num, std::int64_t den) {
  const std::uint64_t product = static_cast<std::uint64_t>(t) * static_cast<std::uint64_t>(num);
  const auto d = static_cast<std::uint64_t>(den);
  return {static_cast<std::int64_t>(product / d), product % d};
}

// The offset along the minor axis of the pixel t steps from a line's start, for a line that moves
// `minor` pixels while it moves `major` along its major axis (|minor| <= major). The exact offset
// t * |minor| / major is rounded to the nearest pixel; an exact half goes to the smaller
// coordinate (the upper or left pixel), whichever way the line runs.
std::int64_t MinorOffset(std::int64_t t, std::int64_t minor, std::int64_t major) {
  if (minor == 0) return 0;
  const std::int64_t magnitude = minor < 0 ? -minor : minor;
  const TQuotient q = DivideProduct(t, magnitude, major);
  // The fraction Remainder / major compared with one half; Remainder < 2^32, so no overflow.
  const std::uint64_t twice = q.Remainder * 2;
  const auto whole = static_cast<std::uint64_t>(major);
  if (minor > 0) {
    // Growing coordinate: a half stays on the smaller side.
    return q.Whole + (twice > whole ? 1 : 0);
  }
  // Shrinking coordinate: a half moves on to the smaller side.
  return -(q.Whole + (twice >= whole ? 1 : 0));
}

// The smallest integer x >= the crossing of row y with the edge from (xa, ya) down to (xb, yb),
// for ya <= y < yb.
std::int64_t CeilCrossing(std::int64_t xa, std::int64_t ya, std::int64_t xb, std::int64_t yb,
                          std::int64_t y) {
  const std::int64_t dx = xb - xa;
  if (dx >= 0) {
    const TQuotient q = DivideProduct(y - ya, dx, yb - ya);
    return xa + q.Whole + (q.Remainder != 0 ? 1 : 0);
  }
  // xa - (whole + fraction) with 0 <= fraction < 1 rounds up to xa - whole.
  return xa - DivideProduct(y - ya, -dx, yb - ya).Whole;
}

constexpr std::uint8_t kInkThreshold = 128;

platform::GlyphPitch PitchOf(TFontPitch pitch) {
  switch (pitch) {
    case fpVariable:
      return platform::GlyphPitch::Variable;
    case fpFixed:
      return platform::GlyphPitch::Fixed;
    default:
      return platform::GlyphPitch::Default;
  }
}

}  // namespace

TCanvas::TCanvas(TBitmap& bitmap) : bitmap_(&bitmap) {}

TCanvas::~TCanvas() = default;

std::uint32_t TCanvas::PixelOf(TColor color) const {
  return TBitmap::PixelFromRgb(ResolveColor(color, ports_.Screen));
}

platform::IGlyphRasterizer& TCanvas::Glyphs() const {
  return ports_.Glyphs != nullptr ? *ports_.Glyphs : BuiltinGlyphs();
}

platform::FontDescription TCanvas::Describe() const {
  platform::FontDescription description;
  description.Face = font_.Name();
  description.Height = font_.Height();
  const TFontStyles style = font_.Style();
  description.Weight = style.Contains(fsBold) ? 700 : 400;
  description.Italic = style.Contains(fsItalic);
  description.Underline = style.Contains(fsUnderline);
  description.StrikeOut = style.Contains(fsStrikeOut);
  description.Charset = font_.Charset();
  description.Pitch = PitchOf(font_.Pitch());
  return description;
}

void TCanvas::LineTo(int x, int y) {
  DrawLine(penPos_.X, penPos_.Y, x, y, PixelOf(pen_.Color));
  penPos_ = {x, y};
}

void TCanvas::DrawLine(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1,
                       std::uint32_t pixel) {
  const std::int64_t dx = x1 - x0;
  const std::int64_t dy = y1 - y0;
  if (dx == 0 && dy == 0) return;
  const std::int64_t width = bitmap_->Width();
  const std::int64_t height = bitmap_->Height();
  if (width == 0 || height == 0) return;

  // Walk the major axis from the start pixel up to, not including, the end pixel: steps
  // t = 0 .. length - 1, visiting only the steps whose major coordinate lies on the bitmap.
  const bool xMajor = (dx < 0 ? -dx : dx) >= (dy < 0 ? -dy : dy);
  const std::int64_t start = xMajor ? x0 : y0;
  const std::int64_t delta = xMajor ? dx : dy;
  const std::int64_t minorStart = xMajor ? y0 : x0;
  const std::int64_t minorDelta = xMajor ? dy : dx;
  const std::int64_t extent = xMajor ? width : height;
  const std::int64_t minorExtent = xMajor ? height : width;
  const std::int64_t length = delta < 0 ? -delta : delta;

  std::int64_t first = 0;
  std::int64_t last = length - 1;
  if (delta > 0) {
    first = std::max(first, -start);
    last = std::min(last, extent - 1 - start);
  } else {
    first = std::max(first, start - (extent - 1));
    last = std::min(last, start);
  }
  const std::int64_t step = delta > 0 ? 1 : -1;
  for (std::int64_t t = first; t <= last; ++t) {
    const std::int64_t major = start + step * t;
    const std::int64_t minor = minorStart + MinorOffset(t, minorDelta, length);
    if (minor < 0 || minor >= minorExtent) continue;
    const auto x = static_cast<int>(xMajor ? major : minor);
    const auto y = static_cast<int>(xMajor ? minor : major);
    bitmap_->Row(y)[x] = pixel;
  }
}

void TCanvas::FillSpan(std::int64_t y, std::int64_t left, std::int64_t right, std::uint32_t pixel) {
  left = std::max<std::int64_t>(left, 0);
  right = std::min<std::int64_t>(right, bitmap_->Width());
  if (left >= right) return;
  std::uint32_t* row = bitmap_->Row(static_cast<int>(y));
  std::fill(row + left, row + right, pixel);
}

void TCanvas::FillRect(const TRect& rect) {
  const std::int64_t top = std::max<std::int64_t>(rect.Top, 0);
  const std::int64_t bottom = std::min<std::int64_t>(rect.Bottom, bitmap_->Height());
  const std::uint32_t pixel = PixelOf(brush_.Color);
  for (std::int64_t y = top; y < bottom; ++y) FillSpan(y, rect.Left, rect.Right, pixel);
}

void TCanvas::FillPolygon(std::span<const TPoint> points, std::uint32_t pixel) {
  const std::size_t count = points.size();
  std::int64_t top = points[0].Y;
  std::int64_t bottom = points[0].Y;
  for (const TPoint& point : points) {
    top = std::min<std::int64_t>(top, point.Y);
    bottom = std::max<std::int64_t>(bottom, point.Y);
  }
  top = std::max<std::int64_t>(top, 0);
  bottom = std::min<std::int64_t>(bottom, bitmap_->Height());
  if (top >= bottom) return;
  if (crossings_.size() < count) crossings_.resize(count);

  // Each edge covers the rows [upper end, lower end): a row through a vertex counts the edge that
  // leaves the vertex downwards, and horizontal edges cross no row. That keeps top edges in and
  // bottom edges out; the spans [ceil(left crossing), ceil(right crossing)) keep left edges in and
  // right edges out.
  for (std::int64_t y = top; y < bottom; ++y) {
    std::size_t found = 0;
    for (std::size_t i = 0; i < count; ++i) {
      const TPoint& a = points[i];
      const TPoint& b = points[i + 1 < count ? i + 1 : 0];
      if (a.Y == b.Y) continue;
      const TPoint& upper = a.Y < b.Y ? a : b;
      const TPoint& lower = a.Y < b.Y ? b : a;
      if (y < upper.Y || y >= lower.Y) continue;
      crossings_[found++] = CeilCrossing(upper.X, upper.Y, lower.X, lower.Y, y);
    }
    std::sort(crossings_.begin(), crossings_.begin() + static_cast<std::ptrdiff_t>(found));
    for (std::size_t k = 0; k + 1 < found; k += 2) {
      FillSpan(y, crossings_[k], crossings_[k + 1], pixel);
    }
  }
}

void TCanvas::Polygon(std::span<const TPoint> points) {
  const std::size_t count = points.size();
  if (count < 2) return;
  if (count >= 3) FillPolygon(points, PixelOf(brush_.Color));
  const std::uint32_t pen = PixelOf(pen_.Color);
  for (std::size_t i = 0; i < count; ++i) {
    const TPoint& from = points[i];
    const TPoint& to = points[i + 1 < count ? i + 1 : 0];
    DrawLine(from.X, from.Y, to.X, to.Y, pen);
  }
}

TSize TCanvas::TextExtent(std::string_view text) {
  const platform::GlyphExtent extent = Glyphs().Measure(Describe(), text);
  return {extent.Width, extent.Height};
}

void TCanvas::TextOut(int x, int y, std::string_view text) {
  const platform::FontDescription description = Describe();
  platform::IGlyphRasterizer& glyphs = Glyphs();
  const platform::GlyphExtent extent = glyphs.Measure(description, text);
  // The current position moves on as a 32-bit coordinate would, wrapping at the ends.
  penPos_ = {static_cast<int>(static_cast<std::uint32_t>(x) +
                              static_cast<std::uint32_t>(std::max(extent.Width, 0))),
             y};

  // The part of the cell that lies on the bitmap.
  const std::int64_t left = std::max<std::int64_t>(x, 0);
  const std::int64_t top = std::max<std::int64_t>(y, 0);
  const std::int64_t right =
      std::min<std::int64_t>(std::int64_t{x} + extent.Width, bitmap_->Width());
  const std::int64_t bottom =
      std::min<std::int64_t>(std::int64_t{y} + extent.Height, bitmap_->Height());
  if (left >= right || top >= bottom) return;

  const std::uint32_t background = PixelOf(brush_.Color);
  for (std::int64_t row = top; row < bottom; ++row) FillSpan(row, left, right, background);

  const auto width = static_cast<int>(right - left);
  const auto height = static_cast<int>(bottom - top);
  const auto size = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
  // The window never exceeds the bitmap, so coverage for the whole bitmap serves every text drawn
  // on it and the buffer stops growing once the bitmap's size is stable.
  if (coverage_.size() < size) {
    coverage_.resize(static_cast<std::size_t>(bitmap_->Width()) *
                     static_cast<std::size_t>(bitmap_->Height()));
  }
  const std::span<std::uint8_t> coverage(coverage_.data(), size);
  if (!glyphs.Render(description, text, static_cast<int>(left - x), static_cast<int>(top - y),
                     width, height, coverage)) {
    return;
  }
  const std::uint32_t ink = PixelOf(font_.Color());
  for (int row = 0; row < height; ++row) {
    std::uint32_t* out = bitmap_->Row(static_cast<int>(top) + row) + left;
    const std::uint8_t* in = coverage.data() + static_cast<std::size_t>(row) * width;
    for (int column = 0; column < width; ++column) {
      if (in[column] >= kInkThreshold) out[column] = ink;
    }
  }
}
