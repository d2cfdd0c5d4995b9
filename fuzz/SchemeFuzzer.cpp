// The scheme-file reader on arbitrary files: scheme::LoadScheme (options/ColorScheme) applies every
// colour/font pair of a whole file to a bar, whatever its line ends, comments and byte 26.
//
// A colour or a size that cannot be converted raises the framework's Exception (EConvertError);
// nothing else may fail. A file that loads completely is saved, and the saved file must load into
// a fresh bar and save again to the very same text.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "framework/Exception.h"
#include "gauge/RarBar.h"
#include "options/ColorScheme.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  TRarBar bar(nullptr);
  try {
    scheme::LoadScheme(text, bar);
  } catch (const Exception&) {
    return 0;
  }
  const std::string saved = scheme::SaveScheme(bar);
  TRarBar again(nullptr);
  try {
    scheme::LoadScheme(saved, again);
  } catch (const Exception&) {
    std::abort();  // a saved scheme must load
  }
  Check(scheme::SaveScheme(again) == saved);
  return 0;
}
