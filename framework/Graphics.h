#pragma once
// Colours and fonts: TColor with the framework's colour names, and TFont.

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "framework/Classes.h"
#include "framework/Set.h"

namespace platform {
class IScreen;
}

// A colour: red in the low byte, then green, then blue. A system colour is 0x80000000 plus the
// system's colour index (negative as a signed value) and stands for the running system's current
// colour; 0x1FFFFFFF means no colour.
using TColor = std::int32_t;

constexpr TColor ColorFromBits(std::uint32_t bits) { return static_cast<TColor>(bits); }
constexpr TColor RGB(int red, int green, int blue) {
  return static_cast<TColor>((red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16));
}

inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clMaroon = 0x000080;
inline constexpr TColor clGreen = 0x008000;
inline constexpr TColor clOlive = 0x008080;
inline constexpr TColor clNavy = 0x800000;
inline constexpr TColor clPurple = 0x800080;
inline constexpr TColor clTeal = 0x808000;
inline constexpr TColor clGray = 0x808080;
inline constexpr TColor clSilver = 0xC0C0C0;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clLime = 0x00FF00;
inline constexpr TColor clYellow = 0x00FFFF;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clFuchsia = 0xFF00FF;
inline constexpr TColor clAqua = 0xFFFF00;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clMoneyGreen = 0xC0DCC0;
inline constexpr TColor clSkyBlue = 0xF0CAA6;
inline constexpr TColor clCream = 0xF0FBFF;
inline constexpr TColor clMedGray = 0xA4A0A0;

inline constexpr std::uint32_t kSystemColorFlag = 0x80000000u;
inline constexpr TColor clScrollBar = ColorFromBits(kSystemColorFlag | 0);
inline constexpr TColor clBackground = ColorFromBits(kSystemColorFlag | 1);
inline constexpr TColor clActiveCaption = ColorFromBits(kSystemColorFlag | 2);
inline constexpr TColor clInactiveCaption = ColorFromBits(kSystemColorFlag | 3);
inline constexpr TColor clMenu = ColorFromBits(kSystemColorFlag | 4);
inline constexpr TColor clWindow = ColorFromBits(kSystemColorFlag | 5);
inline constexpr TColor clWindowFrame = ColorFromBits(kSystemColorFlag | 6);
inline constexpr TColor clMenuText = ColorFromBits(kSystemColorFlag | 7);
inline constexpr TColor clWindowText = ColorFromBits(kSystemColorFlag | 8);
inline constexpr TColor clCaptionText = ColorFromBits(kSystemColorFlag | 9);
inline constexpr TColor clActiveBorder = ColorFromBits(kSystemColorFlag | 10);
inline constexpr TColor clInactiveBorder = ColorFromBits(kSystemColorFlag | 11);
inline constexpr TColor clAppWorkSpace = ColorFromBits(kSystemColorFlag | 12);
inline constexpr TColor clHighlight = ColorFromBits(kSystemColorFlag | 13);
inline constexpr TColor clHighlightText = ColorFromBits(kSystemColorFlag | 14);
inline constexpr TColor clBtnFace = ColorFromBits(kSystemColorFlag | 15);
inline constexpr TColor clBtnShadow = ColorFromBits(kSystemColorFlag | 16);
inline constexpr TColor clGrayText = ColorFromBits(kSystemColorFlag | 17);
inline constexpr TColor clBtnText = ColorFromBits(kSystemColorFlag | 18);
inline constexpr TColor clInactiveCaptionText = ColorFromBits(kSystemColorFlag | 19);
inline constexpr TColor clBtnHighlight = ColorFromBits(kSystemColorFlag | 20);
inline constexpr TColor cl3DDkShadow = ColorFromBits(kSystemColorFlag | 21);
inline constexpr TColor cl3DLight = ColorFromBits(kSystemColorFlag | 22);
inline constexpr TColor clInfoText = ColorFromBits(kSystemColorFlag | 23);
inline constexpr TColor clInfoBk = ColorFromBits(kSystemColorFlag | 24);
inline constexpr TColor clGradientActiveCaption = ColorFromBits(kSystemColorFlag | 27);
inline constexpr TColor clGradientInactiveCaption = ColorFromBits(kSystemColorFlag | 28);
inline constexpr TColor clNone = 0x1FFFFFFF;
inline constexpr TColor clDefault = 0x20000000;

extern const TTypeInfo kColorType;  // "TColor", integer kind

struct TColorIdent {
  std::string_view Name;
  TColor Value;
};

// The 49 colour names in search order; their values are all distinct.
std::span<const TColorIdent> ColorIdents();
// The name of `color`, if the table has one.
std::optional<std::string_view> ColorToIdent(TColor color);
// The value named `name`, compared without regard to case.
std::optional<TColor> IdentToColor(std::string_view name);

// The colour's name, or "$" and its 32-bit pattern as 8 upper-case hexadecimal digits.
std::string ColorToString(TColor color);
// A colour name (any letter case), or a 32-bit integer (decimal with optional minus sign, or
// hexadecimal after "$"). Anything else raises EConvertError
// "'%s' n'est pas une valeur entière correcte".
TColor StringToColor(std::string_view text);

// The colour as 0x00BBGGRR: a system colour is resolved through the screen port to the system's
// current value; every other value is returned unchanged.
std::uint32_t ColorToRGB(TColor color, platform::IScreen& screen);
// The screen of a program that has none: the classic Windows palette for system colours, 96 pixels
// per inch, no size, the pointer at 0,0 and no key held. Drawing without a platform (host tests)
// is deterministic with it. One process-wide instance that keeps no state.
platform::IScreen& ClassicScreen();

// ---------------------------------------------------------------------------------------------

enum TFontStyle : std::uint8_t { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = TSet<TFontStyle>;
enum TFontPitch : std::uint8_t { fpDefault, fpVariable, fpFixed };
using TFontCharset = std::uint8_t;

inline constexpr TFontCharset ANSI_CHARSET = 0;
inline constexpr TFontCharset DEFAULT_CHARSET = 1;
inline constexpr TFontCharset SYMBOL_CHARSET = 2;
inline constexpr TFontCharset OEM_CHARSET = 255;

extern const TTypeInfo kFontCharsetType;  // "TFontCharset", integer kind
extern const TTypeInfo kFontNameType;     // "TFontName", string kind
extern const TTypeInfo kFontPitchType;    // "TFontPitch": fpDefault, fpVariable, fpFixed
extern const TTypeInfo
    kFontStylesType;  // "TFontStyles": set of fsBold, fsItalic, fsUnderline, fsStrikeOut
extern const TTypeInfo kFontType;  // "TFont", class kind

// A font as the framework describes it: face, pixel height (negative: character height without
// internal leading), pitch, style set, character set and colour. The size in points is derived
// from the height and the pixels per inch of the screen the font was made for.
class TFont : public TPersistent {
 public:
  // The framework's default font: "MS Sans Serif", 8 points, no style, default character set,
  // the system's window-text colour.
  TFont();

  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassType() const override { return StaticClassInfo(); }

  // Copies face, height, pitch, style, character set and colour from another TFont.
  void Assign(const TPersistent& source) override;

  TFontCharset Charset() const { return charset_; }
  void SetCharset(TFontCharset charset);
  TColor Color() const { return color_; }
  void SetColor(TColor color);
  int Height() const { return height_; }
  void SetHeight(int height);
  const std::string& Name() const { return name_; }
  // An empty face leaves the face unchanged; a face longer than 31 characters is cut to 31.
  void SetName(const std::string& name);
  TFontPitch Pitch() const { return pitch_; }
  void SetPitch(TFontPitch pitch);
  // Size in points: -height * 72 / pixels per inch, rounded half away from zero (MulDiv: -1
  // when the product does not fit an int; a negation that would leave int gives INT_MAX).
  int Size() const;
  // Height := -size * pixels per inch / 72, rounded and kept within int as Size.
  void SetSize(int size);
  TFontStyles Style() const { return style_; }
  void SetStyle(TFontStyles style);

  int PixelsPerInch() const { return pixelsPerInch_; }
  void SetPixelsPerInch(int pixelsPerInch) { pixelsPerInch_ = pixelsPerInch; }

  // The screen's pixels per inch, given to every font made afterwards. The composition root
  // sets it from the screen port at start-up; 96 until then.
  static int DefaultPixelsPerInch();
  static void SetDefaultPixelsPerInch(int pixelsPerInch);

  // Raised after every change of an attribute.
  std::function<void(TObject* sender)> OnChange;

  static constexpr std::size_t kMaxFaceLength = 31;

 private:
  void Changed();

  std::string name_;
  int height_ = 0;
  TFontPitch pitch_ = fpDefault;
  TFontStyles style_;
  TFontCharset charset_ = DEFAULT_CHARSET;
  TColor color_ = clWindowText;
  int pixelsPerInch_ = 96;
};
