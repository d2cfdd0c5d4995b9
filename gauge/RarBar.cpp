#include "gauge/RarBar.h"

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

}  // namespace

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
  bodyHeight_ = Height() - y_ - 5;
  ++drawCount_;
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
