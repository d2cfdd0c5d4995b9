// Scheme files found by the fuzz target fuzz_scheme (docs/HARDENING.md): each loads without a
// fault, and what a bar saves after it loads back to the same text.

#include <gtest/gtest.h>

#include <string>

#include "framework/Exception.h"
#include "gauge/RarBar.h"
#include "options/ColorScheme.h"

namespace {

TEST(SchemeFuzzRegressionTest, FilesLoadAndTheirSavesReadBackTheSame) {
  struct Case {
    const char* what;
    std::string file;
    int height;  // of the bar's font after the load
  };
  const Case cases[] = {
      // The size's height, -size * 96 / 72, is 2^31: its negation left int.
      {"a size whose height is 2^31", "\r\n\"A\", -1610612736, [], [0]", 2147483647},
      // MulDiv's -1 for a height that does not fit.
      {"a size whose height does not fit", "\r\n\"A\", 1610612736, [], [0]", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TRarBar bar(nullptr);
    ASSERT_NO_THROW(scheme::LoadScheme(c.file, bar));
    EXPECT_EQ(bar.Font()->Height(), c.height);
    const std::string saved = scheme::SaveScheme(bar);
    TRarBar again(nullptr);
    scheme::LoadScheme(saved, again);
    EXPECT_EQ(scheme::SaveScheme(again), saved);
  }
}

}  // namespace
