#pragma once
// The bar gauge's colour properties, listed once. TRarBar's colour members, their accessors and
// property-table entries, the built-in colour schemes, the colour line of scheme files and the
// main window's settings store all follow from TAMIK_RARBAR_COLORS; adding or renaming a colour
// here is the whole change.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The bar's own 15 colours in declared order (the order of its property table), each with its
// value in the built-in schemes rcPurpleBlue, rcAcid, rcLightGreen and rcLightBlue:
//   X(Name, purpleBlue, acid, lightGreen, lightBlue)
// clang-format off
#define TAMIK_RARBAR_COLORS(X)                                   \
  X(TopColor,         16744576,  8454016, 16744576,  8962120)  \
  X(SideColor1,       14706792,  6873192, 14706792,  8558140)  \
  X(SideColor2,       16744576,  8454016, 16744576,  8962120)  \
  X(EmptyColor1,      12609640,  6865000, 12609640,  8558140)  \
  X(EmptyColor2,      14647424,  8445824, 14647424,  8962120)  \
  X(EmptyFrameColor1, 10512488,  6856808, 10512488, 10512488)  \
  X(EmptyFrameColor2, 12550272,  8437632, 12550272, 12550272)  \
  X(BottomFrameColor,  6570124,  4220044,  6589504, 13654104)  \
  X(BottomColor,       8011916,  4225676,  8031296, 14702680)  \
  X(FilledFrameColor,  8413344,  6332576,  8429664, 13664384)  \
  X(FilledColor,      10510496,  6332576, 10526816, 14712960)  \
  X(FilledSideColor1,  8535190,  3965590,  8558140, 14706792)  \
  X(FilledSideColor2,  8931520,  4753600,  8962120, 16744576)  \
  X(EmptyLineColor,   16756912, 14745568, 16769248, 13166984)  \
  X(FilledLineColor,  13656288,  6858976, 10018920, 13674664)
// clang-format on

// The 15 colours as indexes, in declared order.
enum class TBarColor : std::uint8_t {
#define TAMIK_RARBAR_COLOR_ENUMERATOR(name, ...) name,
  TAMIK_RARBAR_COLORS(TAMIK_RARBAR_COLOR_ENUMERATOR)
#undef TAMIK_RARBAR_COLOR_ENUMERATOR
};

#define TAMIK_RARBAR_COLOR_ONE(...) +1
inline constexpr std::size_t kBarColorCount = 0 TAMIK_RARBAR_COLORS(TAMIK_RARBAR_COLOR_ONE);
#undef TAMIK_RARBAR_COLOR_ONE

// The names of the 15, indexed by TBarColor.
inline constexpr std::array<std::string_view, kBarColorCount> kBarColorNames = {
#define TAMIK_RARBAR_COLOR_NAME(name, ...) #name,
    TAMIK_RARBAR_COLORS(TAMIK_RARBAR_COLOR_NAME)
#undef TAMIK_RARBAR_COLOR_NAME
};

// Every colour property of a bar: its 15 and the inherited Color, in alphabetical order. This is
// the order of the colour line of scheme files (and of the framework's sorted property list).
inline constexpr std::array<std::string_view, kBarColorCount + 1> kBarColorPropertiesAlphabetical =
    [] {
      std::array<std::string_view, kBarColorCount + 1> names{};
      std::copy(kBarColorNames.begin(), kBarColorNames.end(), names.begin());
      names.back() = "Color";
      std::sort(names.begin(), names.end());
      return names;
    }();

// Appends "<bar>.<Name>" for the 16 colour properties of kBarColorPropertiesAlphabetical in
// reverse order: the order in which the main window's settings store lists them, and so writes
// them to the registry.
void AppendStoredBarColors(std::string_view bar, std::vector<std::string>& props);
