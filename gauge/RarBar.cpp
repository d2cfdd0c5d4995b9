#include "gauge/RarBar.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <string_view>

namespace {

constexpr std::string_view kColorSchemeNames[] = {"rcPurpleBlue", "rcAcid", "rcLightGreen",
                                                  "rcLightBlue"};

// One built-in colouring: the 15 colours and the font colour.
struct TSchemeColors {
  TColor TopColor, SideColor1, SideColor2, EmptyColor1, EmptyColor2, EmptyFrameColor1,
      EmptyFrameColor2, BottomFrameColor, BottomColor, FilledFrameColor, FilledColor,
      FilledSideColor1, FilledSideColor2, EmptyLineColor, FilledLineColor, FontColor;
};

// Indexed by TRBColorScheme.
constexpr TSchemeColors kSchemes[] = {
    // rcPurpleBlue
    {16744576, 14706792, 16744576, 12609640, 14647424, 10512488, 12550272, 6570124, 8011916,
     8413344, 10510496, 8535190, 8931520, 16756912, 13656288, clPurple},
    // rcAcid
    {8454016, 6873192, 8454016, 6865000, 8445824, 6856808, 8437632, 4220044, 4225676, 6332576,
     6332576, 3965590, 4753600, 14745568, 6858976, clAqua},
    // rcLightGreen
    {16744576, 14706792, 16744576, 12609640, 14647424, 10512488, 12550272, 6589504, 8031296,
     8429664, 10526816, 8558140, 8962120, 16769248, 10018920, 4755464},
    // rcLightBlue
    {8962120, 8558140, 8962120, 8558140, 8962120, 10512488, 12550272, 13654104, 14702680, 13664384,
     14712960, 14706792, 16744576, 13166984, 13674664, clPurple},
};

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

const TClassInfo& TRarBar::StaticClassInfo() {
  static const TClassInfo info(
      "TRarBar", &TGraphicControl::StaticClassInfo(),
      {
          OrdProperty<&TRarBar::TopColor, &TRarBar::SetTopColor>("TopColor", kColorType),
          OrdProperty<&TRarBar::SideColor1, &TRarBar::SetSideColor1>("SideColor1", kColorType),
          OrdProperty<&TRarBar::SideColor2, &TRarBar::SetSideColor2>("SideColor2", kColorType),
          OrdProperty<&TRarBar::EmptyColor1, &TRarBar::SetEmptyColor1>("EmptyColor1", kColorType),
          OrdProperty<&TRarBar::EmptyColor2, &TRarBar::SetEmptyColor2>("EmptyColor2", kColorType),
          OrdProperty<&TRarBar::EmptyFrameColor1, &TRarBar::SetEmptyFrameColor1>("EmptyFrameColor1",
                                                                                 kColorType),
          OrdProperty<&TRarBar::EmptyFrameColor2, &TRarBar::SetEmptyFrameColor2>("EmptyFrameColor2",
                                                                                 kColorType),
          OrdProperty<&TRarBar::BottomFrameColor, &TRarBar::SetBottomFrameColor>("BottomFrameColor",
                                                                                 kColorType),
          OrdProperty<&TRarBar::BottomColor, &TRarBar::SetBottomColor>("BottomColor", kColorType),
          OrdProperty<&TRarBar::FilledFrameColor, &TRarBar::SetFilledFrameColor>("FilledFrameColor",
                                                                                 kColorType),
          OrdProperty<&TRarBar::FilledColor, &TRarBar::SetFilledColor>("FilledColor", kColorType),
          OrdProperty<&TRarBar::FilledSideColor1, &TRarBar::SetFilledSideColor1>("FilledSideColor1",
                                                                                 kColorType),
          OrdProperty<&TRarBar::FilledSideColor2, &TRarBar::SetFilledSideColor2>("FilledSideColor2",
                                                                                 kColorType),
          OrdProperty<&TRarBar::EmptyLineColor, &TRarBar::SetEmptyLineColor>("EmptyLineColor",
                                                                             kColorType),
          OrdProperty<&TRarBar::FilledLineColor, &TRarBar::SetFilledLineColor>("FilledLineColor",
                                                                               kColorType),
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
  canvas.Brush().Color = topColor_;
  canvas.Polygon(std::array{at(x + 15, y + 10), at(x, y + 5), at(x + 15, y), at(x + 30, y + 5)});
  canvas.Brush().Color = sideColor1_;
  canvas.Polygon(std::array{at(x + 15, y + h), at(x, y + h - 5), at(x, y + 5), at(x + 15, y + 10)});
  canvas.Brush().Color = sideColor2_;
  canvas.Polygon(
      std::array{at(x + 15, y + h), at(x + 30, y + h - 5), at(x + 30, y + 5), at(x + 15, y + 10)});

  if (p > 0) {
    // The filled faces reach up to the fill surface's back corner; the bottom face goes over their
    // lower ends, and the fill surface over everything where they meet.
    canvas.Pen().Color = filledFrameColor_;
    canvas.Brush().Color = filledSideColor1_;
    canvas.Polygon(std::array{at(x + 15, y + h), at(x, y + h - 5), at(x, y + h - p - 5),
                              at(x + 15, y + h - p - 10)});
    canvas.Brush().Color = filledSideColor2_;
    canvas.Polygon(std::array{at(x + 15, y + h), at(x + 30, y + h - 5), at(x + 30, y + h - p - 5),
                              at(x + 15, y + h - p - 10)});
    canvas.Pen().Color = bottomFrameColor_;
    canvas.Brush().Color = bottomColor_;
    canvas.Polygon(std::array{at(x + 15, y + h), at(x, y + h - 5), at(x + 15, y + h - 10),
                              at(x + 30, y + h - 5)});
    canvas.Brush().Color = filledColor_;
    canvas.Pen().Color = filledFrameColor_;
    canvas.Polygon(std::array{at(x + 15, y + h - p), at(x, y + h - p - 5),
                              at(x + 15, y + h - p - 10), at(x + 30, y + h - p - 5)});
  } else {
    // The empty bottom in two halves, split along its front edge.
    canvas.Brush().Color = emptyColor1_;
    canvas.Pen().Color = emptyFrameColor1_;
    canvas.Polygon(std::array{at(x + 15, y + h), at(x, y + h - 5), at(x + 15, y + h - 10),
                              at(x + 15, y + h - 5)});
    canvas.Brush().Color = emptyColor2_;
    canvas.Pen().Color = emptyFrameColor2_;
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
    canvas.Pen().Color = emptyLineColor_;
    lineTo(edgeX[i], edgeBottom[i] - p);
    canvas.Pen().Color = filledLineColor_;
    lineTo(edgeX[i], edgeBottom[i]);
  }

  // The lid's outline.
  canvas.Pen().Color = full ? filledLineColor_ : emptyLineColor_;
  moveTo(x, y + 5);
  lineTo(x + 15, y);
  lineTo(x + 30, y + 5);
  lineTo(x + 15, y + 10);
  lineTo(x, y + 5);

  // The bottom's front edges.
  canvas.Pen().Color = fillHeight != 0 ? filledLineColor_ : emptyLineColor_;
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
  emptyLineColor_ = colors.EmptyLineColor;
  filledLineColor_ = colors.FilledLineColor;
  topColor_ = colors.TopColor;
  sideColor1_ = colors.SideColor1;
  sideColor2_ = colors.SideColor2;
  emptyFrameColor1_ = colors.EmptyFrameColor1;
  emptyFrameColor2_ = colors.EmptyFrameColor2;
  emptyColor1_ = colors.EmptyColor1;
  emptyColor2_ = colors.EmptyColor2;
  bottomFrameColor_ = colors.BottomFrameColor;
  bottomColor_ = colors.BottomColor;
  filledFrameColor_ = colors.FilledFrameColor;
  filledSideColor1_ = colors.FilledSideColor1;
  filledSideColor2_ = colors.FilledSideColor2;
  filledColor_ = colors.FilledColor;
  font_->SetColor(colors.FontColor);
}
