#pragma once
// TRarBar: the bar gauge. It shows `Progress` between `Min` and `Max` as an upright square prism
// filled from the bottom, with an optional percentage text beside the fill level. This unit holds
// the control's data: properties, construction defaults, writers and the built-in colour schemes,
// and its drawing.

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "framework/Bitmap.h"
#include "framework/Canvas.h"
#include "framework/Controls.h"
#include "framework/Graphics.h"
#include "gauge/RarBarColors.h"

enum TRBColorScheme : std::uint8_t { rcPurpleBlue, rcAcid, rcLightGreen, rcLightBlue };

extern const TTypeInfo kRBColorSchemeType;  // "TRBColorScheme"

// The numbers of one drawing of a bar. Sums and differences of the 32-bit inputs wrap around as
// 32-bit integers do.
struct TBarNumbers {
  // H = Height - Y - 5: the prism's height from the top of the lid to the bottom's front corner.
  std::int32_t BodyHeight = 0;
  // h = H - 10: how many pixels the fill can rise.
  std::int32_t FillRange = 0;
  // P: the fill height in pixels, clamped to 0 .. h (to h, negative, when h < 0).
  std::int32_t FillHeight = 0;
  // pct: the percentage the text shows; not clamped.
  std::int64_t Percent = 0;
  friend bool operator==(const TBarNumbers&, const TBarNumbers&) = default;
};

// The numbers part of a drawing. With H = 0, h = 0 or Max = Min the bar is empty with the text
// 0%. Otherwise, in extended precision, scale = (Max - Min) / h and x = (Progress - Min) / scale;
// x is rounded to a double; P is that double rounded to the nearest integer and pct is
// x / (h / 100.0), computed in extended precision and rounded to the nearest integer, exact halves
// going to the even neighbour in both. Then P < 0 becomes 0, or else P > h becomes h.
TBarNumbers ComputeBarNumbers(std::int32_t min, std::int32_t max, std::int32_t progress,
                              std::int32_t height, std::int32_t y);

class TRarBar : public TGraphicControl {
 public:
  // Construction: the colours of rcPurpleBlue, ShowPercentage on, Min 0, Max 100, Progress 0,
  // X 0, Y 5, 60 x 180 pixels, background clBtnFace and a bold font.
  explicit TRarBar(TComponent* owner);
  ~TRarBar() override;

  // The inherited entries (Name .. HelpContext), then the bar's 27 in declared order.
  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassType() const override { return StaticClassInfo(); }

  // Paints through DrawBar.
  void Paint() override;
  // Redraws the whole control from the current property values: composes the picture in the
  // bar's off-screen image and hands it to the parent in one copy (CopyChildImage). Without a
  // parent the picture is composed all the same and kept in Image(). System colours and glyphs
  // come from the parent chain's ports (the classic palette and the built-in font without them).
  void DrawBar();
  // A step of DrawBar, run before and after the faces: on `canvas`, the three vertical edges
  // (EmptyLineColor above the fill height `fillHeight`, FilledLineColor below it), the lid's
  // outline (FilledLineColor when the bar is full) and the bottom's front edges (FilledLineColor
  // while the bar holds a fill). Uses X, Y and BodyHeight; leaves the pen in the colour of the
  // bottom's front edges.
  void DrawEdgeLines(TCanvas& canvas, std::int32_t fillHeight) const;
  // The picture of the latest drawing, the size of the control at that time. The image is kept
  // and reused from one drawing to the next, so drawing allocates nothing once the size is stable.
  const TBitmap& Image() const { return image_; }

  // Colours (gauge/RarBarColors.h): TopColor() and SetTopColor(value), SideColor1() and
  // SetSideColor1(value), and so on for each of the 15. Writing one stores it and draws nothing;
  // it shows at the next drawing.
#define TAMIK_RARBAR_COLOR_ACCESSORS(name, ...)                                      \
  TColor name() const { return colors_[static_cast<std::size_t>(TBarColor::name)]; } \
  void Set##name(TColor value) { colors_[static_cast<std::size_t>(TBarColor::name)] = value; }
  TAMIK_RARBAR_COLORS(TAMIK_RARBAR_COLOR_ACCESSORS)
#undef TAMIK_RARBAR_COLOR_ACCESSORS

  // Min, Max, Progress and ShowPercentage: writing one stores it and draws at once, also when
  // the value is unchanged. Nothing is clamped or validated.
  std::int32_t Min() const { return min_; }
  void SetMin(std::int32_t value);
  std::int32_t Max() const { return max_; }
  void SetMax(std::int32_t value);
  std::int32_t Progress() const { return progress_; }
  void SetProgress(std::int32_t value);
  bool ShowPercentage() const { return showPercentage_; }
  void SetShowPercentage(bool value);

  // The bar's own font; writing copies the attributes of the given font into it and draws
  // nothing. The font object itself is never replaced.
  TFont* Font() const { return font_.get(); }
  void SetFont(const TFont& font) { font_->Assign(font); }

  // Writing a scheme stores it; rcPurpleBlue .. rcLightBlue then overwrite the 15 colours and
  // the font colour. Any other value is kept and changes nothing else. Nothing is drawn.
  TRBColorScheme ColorScheme() const { return colorScheme_; }
  void SetColorScheme(TRBColorScheme scheme);

  // Offsets of the prism inside the control: left edge, top of the lid. Drawn at the next drawing.
  std::int32_t X() const { return x_; }
  void SetX(std::int32_t value) { x_ = value; }
  std::int32_t Y() const { return y_; }
  void SetY(std::int32_t value) { y_ = value; }

  // Height - Y - 5 as of the latest drawing: the prism's height from the lid's top to the front
  // corner of the bottom.
  std::int32_t BodyHeight() const { return bodyHeight_; }
  // How many drawings the bar has made since it was created.
  std::uint64_t DrawCount() const { return drawCount_; }

 private:
  std::array<TColor, kBarColorCount> colors_{};  // indexed by TBarColor
  std::int32_t min_ = 0;
  std::int32_t max_ = 0;
  std::int32_t progress_ = 0;
  std::unique_ptr<TFont> font_;
  bool showPercentage_ = false;
  TRBColorScheme colorScheme_ = rcPurpleBlue;
  std::int32_t x_ = 0;
  std::int32_t y_ = 0;
  std::int32_t bodyHeight_ = 0;
  std::uint64_t drawCount_ = 0;
  TBitmap image_;
  TCanvas canvas_{image_};
};
