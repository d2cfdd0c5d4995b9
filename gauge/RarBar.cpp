#include "gauge/RarBar.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <string_view>

namespace {

constexpr std::string_view kColorSchemeNames[] = {"rcPurpleBlue", "rcAcid", "rcLightGreen",
                                                  "rcLightBlue"};

// One built-in colouring: the 15 colours (indexed by TBarColor) and the font colour.
struct TSchemeColors {
  std::array<TColor, kBarColorCount> Colors;
  TColor FontColor;
};

// The columns of TAMIK_RARBAR_COLORS, one per scheme.
#define TAMIK_RARBAR_PURPLE_BLUE(name, purpleBlue, acid, lightGreen, lightBlue) purpleBlue,
#define TAMIK_RARBAR_ACID(name, purpleBlue, acid, lightGreen, lightBlue) acid,
#define TAMIK_RARBAR_LIGHT_GREEN(name, purpleBlue, acid, lightGreen, lightBlue) lightGreen,
#define TAMIK_RARBAR_LIGHT_BLUE(name, purpleBlue, acid, lightGreen, lightBlue) lightBlue,

// Indexed by TRBColorScheme.
constexpr TSchemeColors kSchemes[] = {
    {{TAMIK_RARBAR_COLORS(TAMIK_RARBAR_PURPLE_BLUE)}, clPurple},
    {{TAMIK_RARBAR_COLORS(TAMIK_RARBAR_ACID)}, clAqua},
    {{TAMIK_RARBAR_COLORS(TAMIK_RARBAR_LIGHT_GREEN)}, 4755464},
    {{TAMIK_RARBAR_COLORS(TAMIK_RARBAR_LIGHT_BLUE)}, clPurple},
};

#undef TAMIK_RARBAR_PURPLE_BLUE
#undef TAMIK_RARBAR_ACID
#undef TAMIK_RARBAR_LIGHT_GREEN
#undef TAMIK_RARBAR_LIGHT_BLUE

// A sum of 32-bit quantities as a 32-bit integer: wraps around like the drawing's 32-bit
// arithmetic.
constexpr std::int32_t Wrap(std::int64_t value) { return static_cast<std::int32_t>(value); }

// The value rounded to a double (53-bit mantissa). Stored through memory so that the rounding
// happens even where the compiler would keep the value in an 80-bit x87 register.
double RoundToDouble(long double value) {
  volatile double rounded = static_cast<double>(value);
  return rounded;
}

// The nearest integer, exact halves to the even neighbour, whatever the floating-point
// environment's rounding mode.
long double RoundHalfEven(long double value) {
  long double whole = std::floor(value);
  const long double fraction = value - whole;  // exact
  if (fraction > 0.5L || (fraction == 0.5L && std::fmod(whole, 2.0L) != 0)) whole += 1;
  return whole;
}

// The text of a percentage: its decimal digits, a leading "-" when negative, then "%".
struct TPercentText {
  char Buffer[24];
  std::size_t Length = 0;
  explicit TPercentText(std::int64_t percent) {
    const auto result = std::to_chars(Buffer, Buffer + sizeof(Buffer) - 1, percent);
    *result.ptr = '%';
    Length = static_cast<std::size_t>(result.ptr - Buffer) + 1;
  }
  std::string_view View() const { return {Buffer, Length}; }
};

}  // namespace

TBarNumbers ComputeBarNumbers(std::int32_t min, std::int32_t max, std::int32_t progress,
                              std::int32_t height, std::int32_t y) {
  TBarNumbers numbers;
  numbers.BodyHeight = Wrap(std::int64_t{height} - y - 5);
  numbers.FillRange = Wrap(std::int64_t{numbers.BodyHeight} - 10);
  const std::int32_t range = Wrap(std::int64_t{max} - min);
  // A body exactly 10 pixels high has no fill range to divide by; it is drawn like the other
  // degenerate cases, as an empty bar with the text 0%.
  if (numbers.BodyHeight == 0 || range == 0 || numbers.FillRange == 0) return numbers;

  const long double fillRange = numbers.FillRange;
  const long double scale = static_cast<long double>(range) / fillRange;
  const double x =
      RoundToDouble(static_cast<long double>(Wrap(std::int64_t{progress} - min)) / scale);
  const long double fill = RoundHalfEven(x);
  const long double percent = RoundHalfEven(static_cast<long double>(x) / (fillRange / 100.0L));

  if (fill < 0) {
    numbers.FillHeight = 0;
  } else if (fill > fillRange) {
    numbers.FillHeight = numbers.FillRange;
  } else {
    numbers.FillHeight = static_cast<std::int32_t>(fill);
  }
  // |pct| = |Progress - Min| * 100 / |Max - Min| stays below 2^38; the limits only guard the
  // conversion.
  constexpr long double kLimit = static_cast<long double>(std::numeric_limits<std::int64_t>::max());
  numbers.Percent = static_cast<std::int64_t>(std::fmax(-kLimit, std::fmin(percent, kLimit)));
  return numbers;
}

const TTypeInfo kRBColorSchemeType{"TRBColorScheme", TTypeKind::Enumeration, kColorSchemeNames};

#define TAMIK_RARBAR_COLOR_PROPERTY(name, ...) \
  OrdProperty<&TRarBar::name, &TRarBar::Set##name>(#name, kColorType),

const TClassInfo& TRarBar::StaticClassInfo() {
  static const TClassInfo info(
      "TRarBar", &TGraphicControl::StaticClassInfo(),
      {
          // The 15 colours (gauge/RarBarColors.h).
          // clang-format off
          TAMIK_RARBAR_COLORS(TAMIK_RARBAR_COLOR_PROPERTY)
          // clang-format on
          OrdProperty<&TRarBar::Min, &TRarBar::SetMin>("Min", kIntegerType),
          OrdProperty<&TRarBar::Max, &TRarBar::SetMax>("Max", kIntegerType),
          OrdProperty<&TRarBar::Progress, &TRarBar::SetProgress>("Progress", kIntegerType),
          ObjProperty<&TRarBar::Font, &TRarBar::SetFont>("Font", kFontType),
          OrdProperty<&TRarBar::ShowPercentage, &TRarBar::SetShowPercentage>("ShowPercentage",
                                                                             kBooleanType),
          OrdProperty<&TRarBar::X, &TRarBar::SetX>("X", kIntegerType),
          OrdProperty<&TRarBar::Y, &TRarBar::SetY>("Y", kIntegerType),
          OrdProperty<&TRarBar::ColorScheme, &TRarBar::SetColorScheme>("ColorScheme",
                                                                       kRBColorSchemeType),
          // Framework properties the bar makes visible.
          OrdProperty<&TRarBar::Color, &TRarBar::SetColor>("Color", kColorType),
          MethodProperty<&TRarBar::OnMouseDown>("OnMouseDown", kMouseEventType),
          MethodProperty<&TRarBar::OnMouseMove>("OnMouseMove", kMouseMoveEventType),
          MethodProperty<&TRarBar::OnMouseUp>("OnMouseUp", kMouseEventType),
      });
  return info;
}

#undef TAMIK_RARBAR_COLOR_PROPERTY

TRarBar::TRarBar(TComponent* owner) : TGraphicControl(owner), font_(std::make_unique<TFont>()) {
  SetColorScheme(rcPurpleBlue);
  showPercentage_ = true;
  min_ = 0;
  max_ = 100;
  progress_ = 0;
  x_ = 0;
  y_ = 5;
  SetHeight(180);
  SetWidth(60);
  SetColor(clBtnFace);
  font_->SetStyle({fsBold});
}

TRarBar::~TRarBar() = default;

void TRarBar::Paint() {
  TGraphicControl::Paint();
  DrawBar();
}

void TRarBar::DrawBar() {
  const TBarNumbers numbers = ComputeBarNumbers(min_, max_, progress_, Height(), y_);
  bodyHeight_ = numbers.BodyHeight;
  ++drawCount_;

  const std::int64_t x = x_;
  const std::int64_t y = y_;
  const std::int64_t h = numbers.BodyHeight;
  const std::int64_t p = numbers.FillHeight;
  const auto at = [](std::int64_t px, std::int64_t py) { return TPoint{Wrap(px), Wrap(py)}; };
  TCanvas& canvas = canvas_;

  // The image takes the control's size and is cleared to the background.
  image_.SetSize(Width(), Height());
  canvas.SetPorts(GraphicsPorts());
  canvas.Brush().Color = Color();
  canvas.FillRect(TRect{0, 0, image_.Width(), image_.Height()});

  // Edge lines first, so that the faces' outlines lie over them; the faces keep the pen they
  // leave.
  DrawEdgeLines(canvas, numbers.FillHeight);

  // The lid and the two front faces, whole height.
  canvas.Brush().Color = TopColor();
  canvas.Polygon(std::array{at(x + 15, y + 10), at(x, y + 5), at(x + 15, y), at(x + 30, y + 5)});
  canvas.Brush().Color = SideColor1();
  canvas.Polygon(std::array{at(x + 15, y + h), at(x, y + h - 5), at(x, y + 5), at(x + 15, y + 10)});
  canvas.Brush().Color = SideColor2();
  canvas.Polygon(
      std::array{at(x + 15, y + h), at(x + 30, y + h - 5), at(x + 30, y + 5), at(x + 15, y + 10)});

  if (p > 0) {
    // The filled faces reach up to the fill surface's back corner; the bottom face goes over their
    // lower ends, and the fill surface over everything where they meet.
    canvas.Pen().Color = FilledFrameColor();
    canvas.Brush().Color = FilledSideColor1();
    canvas.Polygon(std::array{at(x + 15, y + h), at(x, y + h - 5), at(x, y + h - p - 5),
                              at(x + 15, y + h - p - 10)});
    canvas.Brush().Color = FilledSideColor2();
    canvas.Polygon(std::array{at(x + 15, y + h), at(x + 30, y + h - 5), at(x + 30, y + h - p - 5),
                              at(x + 15, y + h - p - 10)});
    canvas.Pen().Color = BottomFrameColor();
    canvas.Brush().Color = BottomColor();
    canvas.Polygon(std::array{at(x + 15, y + h), at(x, y + h - 5), at(x + 15, y + h - 10),
                              at(x + 30, y + h - 5)});
    canvas.Brush().Color = FilledColor();
    canvas.Pen().Color = FilledFrameColor();
    canvas.Polygon(std::array{at(x + 15, y + h - p), at(x, y + h - p - 5),
                              at(x + 15, y + h - p - 10), at(x + 30, y + h - p - 5)});
  } else {
    // The empty bottom in two halves, split along its front edge.
    canvas.Brush().Color = EmptyColor1();
    canvas.Pen().Color = EmptyFrameColor1();
    canvas.Polygon(std::array{at(x + 15, y + h), at(x, y + h - 5), at(x + 15, y + h - 10),
                              at(x + 15, y + h - 5)});
    canvas.Brush().Color = EmptyColor2();
    canvas.Pen().Color = EmptyFrameColor2();
    canvas.Polygon(std::array{at(x + 15, y + h), at(x + 30, y + h - 5), at(x + 15, y + h - 10),
                              at(x + 15, y + h - 5)});
  }

  DrawEdgeLines(canvas, numbers.FillHeight);

  if (showPercentage_) {
    // Three pixels right of the prism, the text's cell ending directly above the row of the fill
    // surface's front corner, on a cell of the background colour.
    canvas.Brush().Color = Color();
    const TPercentText text(numbers.Percent);
    canvas.Font().Assign(*font_);
    const std::int64_t textHeight = canvas.TextExtent(text.View()).cy;
    canvas.TextOut(Wrap(x + 33), Wrap(y + h - p - textHeight), text.View());
  }

  if (TWinControl* parent = Parent(); parent != nullptr) {
    parent->CopyChildImage(*this, image_, 0, 0);
  }
}

void TRarBar::DrawEdgeLines(TCanvas& canvas, std::int32_t fillHeight) const {
  const std::int64_t x = x_;
  const std::int64_t y = y_;
  const std::int64_t h = bodyHeight_;
  const std::int64_t p = fillHeight;
  const bool full = fillHeight == Wrap(h - 10);
  const auto moveTo = [&](std::int64_t px, std::int64_t py) { canvas.MoveTo(Wrap(px), Wrap(py)); };
  const auto lineTo = [&](std::int64_t px, std::int64_t py) { canvas.LineTo(Wrap(px), Wrap(py)); };

  // The vertical edges: left, front, right; each in the empty colour down to the fill level, then
  // in the filled colour down to the bottom.
  const std::int64_t edgeX[] = {x, x + 15, x + 30};
  const std::int64_t edgeTop[] = {y + 5, y + 10, y + 5};
  const std::int64_t edgeBottom[] = {y + h - 5, y + h, y + h - 5};
  for (int i = 0; i < 3; ++i) {
    moveTo(edgeX[i], edgeTop[i]);
    canvas.Pen().Color = EmptyLineColor();
    lineTo(edgeX[i], edgeBottom[i] - p);
    canvas.Pen().Color = FilledLineColor();
    lineTo(edgeX[i], edgeBottom[i]);
  }

  // The lid's outline.
  canvas.Pen().Color = full ? FilledLineColor() : EmptyLineColor();
  moveTo(x, y + 5);
  lineTo(x + 15, y);
  lineTo(x + 30, y + 5);
  lineTo(x + 15, y + 10);
  lineTo(x, y + 5);

  // The bottom's front edges.
  canvas.Pen().Color = fillHeight != 0 ? FilledLineColor() : EmptyLineColor();
  moveTo(x, y + h - 5);
  lineTo(x + 15, y + h);
  lineTo(x + 30, y + h - 5);
}

void TRarBar::SetMin(std::int32_t value) {
  min_ = value;
  DrawBar();
}

void TRarBar::SetMax(std::int32_t value) {
  max_ = value;
  DrawBar();
}

void TRarBar::SetProgress(std::int32_t value) {
  progress_ = value;
  DrawBar();
}

void TRarBar::SetShowPercentage(bool value) {
  showPercentage_ = value;
  DrawBar();
}

void TRarBar::SetColorScheme(TRBColorScheme scheme) {
  colorScheme_ = scheme;
  if (scheme >= std::size(kSchemes)) return;
  const TSchemeColors& colors = kSchemes[scheme];
  colors_ = colors.Colors;
  font_->SetColor(colors.FontColor);
}

void AppendStoredBarColors(std::string_view bar, std::vector<std::string>& props) {
  for (auto name = kBarColorPropertiesAlphabetical.rbegin();
       name != kBarColorPropertiesAlphabetical.rend(); ++name) {
    props.push_back(std::string(bar) + "." + std::string(*name));
  }
}
