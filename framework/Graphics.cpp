#include "framework/Graphics.h"

#include <limits>

#include "framework/Exception.h"
#include "framework/SysUtils.h"
#include "platform/Screen.h"

const TTypeInfo kColorType{"TColor", TTypeKind::Integer};

namespace {

constexpr TColorIdent kColorIdents[] = {
    {"clBlack", clBlack},
    {"clMaroon", clMaroon},
    {"clGreen", clGreen},
    {"clOlive", clOlive},
    {"clNavy", clNavy},
    {"clPurple", clPurple},
    {"clTeal", clTeal},
    {"clGray", clGray},
    {"clSilver", clSilver},
    {"clRed", clRed},
    {"clLime", clLime},
    {"clYellow", clYellow},
    {"clBlue", clBlue},
    {"clFuchsia", clFuchsia},
    {"clAqua", clAqua},
    {"clWhite", clWhite},
    {"clMoneyGreen", clMoneyGreen},
    {"clSkyBlue", clSkyBlue},
    {"clCream", clCream},
    {"clMedGray", clMedGray},
    {"clActiveBorder", clActiveBorder},
    {"clActiveCaption", clActiveCaption},
    {"clAppWorkSpace", clAppWorkSpace},
    {"clBackground", clBackground},
    {"clBtnFace", clBtnFace},
    {"clBtnHighlight", clBtnHighlight},
    {"clBtnShadow", clBtnShadow},
    {"clBtnText", clBtnText},
    {"clCaptionText", clCaptionText},
    {"clDefault", clDefault},
    {"clGradientActiveCaption", clGradientActiveCaption},
    {"clGradientInactiveCaption", clGradientInactiveCaption},
    {"clGrayText", clGrayText},
    {"clHighlight", clHighlight},
    {"clHighlightText", clHighlightText},
    {"clInactiveBorder", clInactiveBorder},
    {"clInactiveCaption", clInactiveCaption},
    {"clInactiveCaptionText", clInactiveCaptionText},
    {"clInfoBk", clInfoBk},
    {"clInfoText", clInfoText},
    {"clMenu", clMenu},
    {"clMenuText", clMenuText},
    {"clNone", clNone},
    {"clScrollBar", clScrollBar},
    {"cl3DDkShadow", cl3DDkShadow},
    {"cl3DLight", cl3DLight},
    {"clWindow", clWindow},
    {"clWindowFrame", clWindowFrame},
    {"clWindowText", clWindowText},
};

constexpr std::string_view kFontPitchNames[] = {"fpDefault", "fpVariable", "fpFixed"};
constexpr std::string_view kFontStyleNames[] = {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"};

int defaultPixelsPerInch = 96;

}  // namespace

std::span<const TColorIdent> ColorIdents() { return kColorIdents; }

std::optional<std::string_view> ColorToIdent(TColor color) {
  for (const TColorIdent& ident : kColorIdents) {
    if (ident.Value == color) return ident.Name;
  }
  return std::nullopt;
}

std::optional<TColor> IdentToColor(std::string_view name) {
  for (const TColorIdent& ident : kColorIdents) {
    if (SameText(ident.Name, name)) return ident.Value;
  }
  return std::nullopt;
}

std::string ColorToString(TColor color) {
  if (const auto name = ColorToIdent(color)) return std::string(*name);
  return Format("$%08X", static_cast<unsigned>(static_cast<std::uint32_t>(color)));
}

TColor StringToColor(std::string_view text) {
  if (const auto value = IdentToColor(text)) return *value;
  return StrToInt(text);
}

std::uint32_t ColorToRGB(TColor color, platform::IScreen& screen) {
  if (color < 0) return screen.SysColor(color & 0xFF);
  return static_cast<std::uint32_t>(color);
}

namespace {

// The classic Windows system colours (0x00BBGGRR), by system colour index.
constexpr std::uint32_t kClassicSystemColors[] = {
    0xC8D0D4,  // 0 scroll bar
    0xA56E3A,  // 1 background (desktop)
    0x6A240A,  // 2 active caption
    0x808080,  // 3 inactive caption
    0xC8D0D4,  // 4 menu
    0xFFFFFF,  // 5 window
    0x000000,  // 6 window frame
    0x000000,  // 7 menu text
    0x000000,  // 8 window text
    0xFFFFFF,  // 9 caption text
    0xC8D0D4,  // 10 active border
    0xC8D0D4,  // 11 inactive border
    0x808080,  // 12 application workspace
    0x6A240A,  // 13 highlight
    0xFFFFFF,  // 14 highlight text
    0xC8D0D4,  // 15 button face
    0x808080,  // 16 button shadow
    0x808080,  // 17 grey text
    0x000000,  // 18 button text
    0xC8D0D4,  // 19 inactive caption text
    0xFFFFFF,  // 20 button highlight
    0x404040,  // 21 3D dark shadow
    0xC8D0D4,  // 22 3D light
    0x000000,  // 23 info text
    0xE1FFFF,  // 24 info background
    0xB5B5B5,  // 25 (unused)
    0x800000,  // 26 hot-tracking
    0xF0CAA6,  // 27 gradient active caption
    0xC0C0C0,  // 28 gradient inactive caption
};

}  // namespace

namespace {

class TClassicScreen final : public platform::IScreen {
 public:
  std::uint32_t SysColor(int index) override {
    const auto i = static_cast<std::size_t>(index);
    return i < std::size(kClassicSystemColors) ? kClassicSystemColors[i] : 0;
  }
  int PixelsPerInch() override { return 96; }
  int Width() override { return 0; }
  int Height() override { return 0; }
  platform::ScreenPoint CursorPos() override { return {}; }
  bool KeyHeld(int) override { return false; }
};

}  // namespace

platform::IScreen& ClassicScreen() {
  static TClassicScreen screen;
  return screen;
}

// ---------------------------------------------------------------------------------------------

const TTypeInfo kFontCharsetType{"TFontCharset", TTypeKind::Integer};
const TTypeInfo kFontNameType{"TFontName", TTypeKind::String};
const TTypeInfo kFontPitchType{"TFontPitch", TTypeKind::Enumeration, kFontPitchNames};
const TTypeInfo kFontStylesType{"TFontStyles", TTypeKind::Set, kFontStyleNames};
const TTypeInfo kFontType{"TFont", TTypeKind::Class, {}, &TFont::StaticClassInfo};

const TClassInfo& TFont::StaticClassInfo() {
  // The order is the order in which a font's attributes are stored: Size after Height.
  static const TClassInfo info(
      "TFont", &TPersistent::StaticClassInfo(),
      {
          OrdProperty<&TFont::Charset, &TFont::SetCharset>("Charset", kFontCharsetType),
          OrdProperty<&TFont::Color, &TFont::SetColor>("Color", kColorType),
          OrdProperty<&TFont::Height, &TFont::SetHeight>("Height", kIntegerType),
          StrProperty<&TFont::Name, &TFont::SetName>("Name", kFontNameType),
          OrdProperty<&TFont::Pitch, &TFont::SetPitch>("Pitch", kFontPitchType),
          OrdProperty<&TFont::Size, &TFont::SetSize>("Size", kIntegerType, false),
          OrdProperty<&TFont::Style, &TFont::SetStyle>("Style", kFontStylesType),
      });
  return info;
}

int TFont::DefaultPixelsPerInch() { return defaultPixelsPerInch; }
void TFont::SetDefaultPixelsPerInch(int pixelsPerInch) { defaultPixelsPerInch = pixelsPerInch; }

TFont::TFont() : name_("MS Sans Serif"), pixelsPerInch_(defaultPixelsPerInch) {
  height_ = -MulDiv(8, pixelsPerInch_, 72);
}

void TFont::Assign(const TPersistent& source) {
  const auto* font = dynamic_cast<const TFont*>(&source);
  if (font == nullptr) {
    TPersistent::Assign(source);
    return;
  }
  if (font == this) return;
  name_ = font->name_;
  height_ = font->height_;
  pitch_ = font->pitch_;
  style_ = font->style_;
  charset_ = font->charset_;
  color_ = font->color_;
  Changed();
}

void TFont::Changed() {
  if (OnChange) OnChange(this);
}

void TFont::SetCharset(TFontCharset charset) {
  if (charset_ == charset) return;
  charset_ = charset;
  Changed();
}

void TFont::SetColor(TColor color) {
  if (color_ == color) return;
  color_ = color;
  Changed();
}

void TFont::SetHeight(int height) {
  if (height_ == height) return;
  height_ = height;
  Changed();
}

void TFont::SetName(const std::string& name) {
  if (name.empty()) return;
  const std::string face = name.substr(0, kMaxFaceLength);
  if (name_ == face) return;
  name_ = face;
  Changed();
}

void TFont::SetPitch(TFontPitch pitch) {
  if (pitch_ == pitch) return;
  pitch_ = pitch;
  Changed();
}

namespace {

// -value, kept within int: the one value whose negation is no int gives the largest int.
int Negated(int value) {
  return value == std::numeric_limits<int>::min() ? std::numeric_limits<int>::max() : -value;
}

}  // namespace

int TFont::Size() const { return Negated(MulDiv(height_, 72, pixelsPerInch_)); }

void TFont::SetSize(int size) { SetHeight(Negated(MulDiv(size, pixelsPerInch_, 72))); }

void TFont::SetStyle(TFontStyles style) {
  if (style_ == style) return;
  style_ = style;
  Changed();
}
