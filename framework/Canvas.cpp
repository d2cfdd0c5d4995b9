#include "framework/Canvas.h"

#include <algorithm>
#include <cstring>

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
  return TBitmap::PixelFromRgb(ColorToRGB(color, ports_.Screen()));
}

platform::IGlyphRasterizer& TCanvas::Glyphs() const {
  return ports_.Glyphs();
}

platform::FontDescription TCanvas::Describe() const {
  platform::FontDescription description;
  description.face = font_.Name();
  description.height = font_.Height();
  const TFontStyles style = font_.Style();
  description.weight = style.Contains(fsBold) ? 700 : 400;
  description.italic = style.Contains(fsItalic);
  description.underline = style.Contains(fsUnderline);
  description.strikeOut = style.Contains(fsStrikeOut);
  description.charset = font_.Charset();
  description.pitch = PitchOf(font_.Pitch());
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
  if (first > last) return;
  const std::int64_t step = delta > 0 ? 1 : -1;
  if (minorDelta == 0) {
    // A horizontal or vertical line (a bar's upright edges: most of the pixels its lines draw):
    // one run of pixels along a row or a column.
    if (minorStart < 0 || minorStart >= minorExtent) return;
    const std::int64_t low = std::min(start + step * first, start + step * last);
    const std::int64_t high = std::max(start + step * first, start + step * last);
    if (xMajor) {
      FillSpan(minorStart, low, high + 1, pixel);
      return;
    }
    std::uint32_t* at = bitmap_->Row(static_cast<int>(low)) + minorStart;
    for (std::int64_t y = low; y <= high; ++y, at += width) *at = pixel;
    return;
  }
  // The pixel t steps from the start lies t * |minorDelta| / length pixels off the major axis,
  // rounded to the nearest pixel; an exact half goes to the smaller coordinate (the upper or left
  // pixel), whichever way the line runs. The quotient and its remainder move on by |minorDelta|
  // per step, so only the first pixel divides; |minorDelta| <= length, so the remainder wraps at
  // most once per step.
  const std::int64_t magnitude = minorDelta < 0 ? -minorDelta : minorDelta;
  const auto whole = static_cast<std::uint64_t>(length);
  const auto increment = static_cast<std::uint64_t>(magnitude);
  TQuotient offset = DivideProduct(first, magnitude, length);
  for (std::int64_t t = first; t <= last; ++t) {
    // The fraction Remainder / length compared with one half; Remainder < 2^32, so no overflow.
    const std::uint64_t twice = offset.Remainder * 2;
    // Growing coordinate: a half stays on the smaller side; shrinking: it moves on to it.
    const std::int64_t rounded = minorDelta > 0 ? offset.Whole + (twice > whole ? 1 : 0)
                                                : -(offset.Whole + (twice >= whole ? 1 : 0));
    offset.Remainder += increment;
    if (offset.Remainder >= whole) {
      offset.Remainder -= whole;
      ++offset.Whole;
    }
    const std::int64_t major = start + step * t;
    const std::int64_t minor = minorStart + rounded;
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
  std::uint32_t* at = bitmap_->Row(static_cast<int>(y)) + left;
  std::uint32_t* const end = bitmap_->Row(static_cast<int>(y)) + right;
  // Two pixels per store, four per step: spans are short and many, and a plain loop of single
  // stores is not widened by the compiler at the project's optimisation level.
  const std::uint64_t pair = std::uint64_t{pixel} << 32 | pixel;
  for (; end - at >= 4; at += 4) {
    std::memcpy(at, &pair, sizeof pair);
    std::memcpy(at + 2, &pair, sizeof pair);
  }
  for (; at < end; ++at) *at = pixel;
}

void TCanvas::FillRect(const TRect& rect) {
  const std::uint32_t pixel = PixelOf(brush_.Color);
  const std::int64_t top = std::max<std::int64_t>(rect.Top, 0);
  const std::int64_t bottom = std::min<std::int64_t>(rect.Bottom, bitmap_->Height());
  const std::int64_t left = std::max<std::int64_t>(rect.Left, 0);
  const std::int64_t right = std::min<std::int64_t>(rect.Right, bitmap_->Width());
  if (top >= bottom || left >= right) return;
  // The first row is filled and the others copied from it: the copy goes in wide blocks, which
  // matters for the background of every drawing.
  FillSpan(top, left, right, pixel);
  const std::uint32_t* first = bitmap_->Row(static_cast<int>(top)) + left;
  for (std::int64_t y = top + 1; y < bottom; ++y) {
    std::copy(first, first + (right - left), bitmap_->Row(static_cast<int>(y)) + left);
  }
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
  if (edges_.size() < count) edges_.resize(count);
  if (crossings_.size() < count) crossings_.resize(count);

  // Each edge covers the rows [upper end, lower end): a row through a vertex counts the edge that
  // leaves the vertex downwards, and horizontal edges cross no row. That keeps top edges in and
  // bottom edges out; the spans [ceil(left crossing), ceil(right crossing)) keep left edges in and
  // right edges out. Edges that cross none of the rows drawn are left out.
  std::size_t edgeCount = 0;
  for (std::size_t i = 0; i < count; ++i) {
    const TPoint& a = points[i];
    const TPoint& b = points[i + 1 < count ? i + 1 : 0];
    if (a.Y == b.Y) continue;
    const TPoint& upper = a.Y < b.Y ? a : b;
    const TPoint& lower = a.Y < b.Y ? b : a;
    if (lower.Y <= top || upper.Y >= bottom) continue;
    const std::int64_t dx = std::int64_t{lower.X} - upper.X;
    const std::int64_t dy = std::int64_t{lower.Y} - upper.Y;
    const std::int64_t run = dx < 0 ? -dx : dx;
    TEdge& edge = edges_[edgeCount++];
    edge.X = upper.X;
    edge.Top = upper.Y;
    edge.Bottom = lower.Y;
    edge.Rising = dx >= 0;
    edge.Dy = static_cast<std::uint64_t>(dy);
    edge.StepWhole = static_cast<std::uint64_t>(run) / edge.Dy;
    edge.StepRemainder = static_cast<std::uint64_t>(run) % edge.Dy;
    // The walk starts at the first row drawn; one division places it there.
    const TQuotient start = DivideProduct(std::max<std::int64_t>(top - upper.Y, 0), run, dy);
    edge.Whole = start.Whole;
    edge.Remainder = start.Remainder;
  }

  for (std::int64_t y = top; y < bottom; ++y) {
    std::size_t found = 0;
    for (std::size_t k = 0; k < edgeCount; ++k) {
      TEdge& edge = edges_[k];
      if (y < edge.Top || y >= edge.Bottom) continue;
      // The smallest integer x at or right of the crossing: xa + whole + fraction rounds up to
      // the next integer when there is a fraction; xa - (whole + fraction) rounds up to xa - whole.
      crossings_[found++] =
          edge.Rising ? edge.X + edge.Whole + (edge.Remainder != 0 ? 1 : 0) : edge.X - edge.Whole;
      edge.Whole += static_cast<std::int64_t>(edge.StepWhole);
      edge.Remainder += edge.StepRemainder;
      if (edge.Remainder >= edge.Dy) {
        edge.Remainder -= edge.Dy;
        ++edge.Whole;
      }
    }
    // A handful of crossings: sorted in place by insertion.
    for (std::size_t k = 1; k < found; ++k) {
      const std::int64_t value = crossings_[k];
      std::size_t at = k;
      for (; at > 0 && crossings_[at - 1] > value; --at) crossings_[at] = crossings_[at - 1];
      crossings_[at] = value;
    }
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
  return {extent.width, extent.height};
}

void TCanvas::TextOut(int x, int y, std::string_view text) {
  const platform::FontDescription description = Describe();
  platform::IGlyphRasterizer& glyphs = Glyphs();
  const platform::GlyphExtent extent = glyphs.Measure(description, text);
  // The current position moves on as a 32-bit coordinate would, wrapping at the ends.
  penPos_ = {static_cast<int>(static_cast<std::uint32_t>(x) +
                              static_cast<std::uint32_t>(std::max(extent.width, 0))),
             y};

  // The part of the cell that lies on the bitmap.
  const std::int64_t left = std::max<std::int64_t>(x, 0);
  const std::int64_t top = std::max<std::int64_t>(y, 0);
  const std::int64_t right =
      std::min<std::int64_t>(std::int64_t{x} + extent.width, bitmap_->Width());
  const std::int64_t bottom =
      std::min<std::int64_t>(std::int64_t{y} + extent.height, bitmap_->Height());
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
