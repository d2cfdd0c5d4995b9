// The colour-name conversions on arbitrary text: StringToColor and ColorToString
// (framework/Graphics), and the colour texts of the scheme files (options/ColorScheme).
//
// A text that is not a colour raises EConvertError. A text that is one must come back to the same
// value through ColorToString, and through the scheme's colour text, which must never hold the
// scheme's separator "I". The first four bytes, taken as a colour value, must round-trip too.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "framework/Exception.h"
#include "framework/Graphics.h"
#include "options/ColorScheme.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

void RoundTrip(TColor color) {
  const std::string text = ColorToString(color);
  Check(StringToColor(text) == color);
  if (const auto name = ColorToIdent(color)) {
    Check(text == *name);
    Check(IdentToColor(*name) == color);
  } else {
    Check(text.size() == 9 && text[0] == '$');
  }
  const std::string schemeText = scheme::ColorText(color);
  Check(schemeText.find('I') == std::string::npos);
  Check(StringToColor(schemeText) == color);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  try {
    const TColor color = StringToColor(text);
    RoundTrip(color);
    if (const auto named = IdentToColor(text)) Check(*named == color);
  } catch (const EConvertError&) {
    Check(!IdentToColor(text).has_value());
  }

  if (size >= 4) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, data, sizeof bits);
    RoundTrip(ColorFromBits(bits));
  }
  return 0;
}
