#include "framework/SysUtils.h"

#include <gtest/gtest.h>

#include <limits>

#include "framework/Exception.h"

namespace {

struct IntCase {
  const char* text;
  std::int32_t value;
};

TEST(StrToIntTest, AcceptsTheFrameworkSyntax) {
  const IntCase cases[] = {
      {"0", 0},
      {"42", 42},
      {"-5", -5},
      {"+7", 7},
      {"   12", 12},  // blanks before the number are skipped
      {"2147483647", 2147483647},
      {"-2147483648", std::numeric_limits<std::int32_t>::min()},
      {"$FF", 255},
      {"$ff", 255},
      {"0x10", 16},
      {"$FFFFFFFF", -1},  // hexadecimal is a 32-bit pattern
      {"$80000005", static_cast<std::int32_t>(0x80000005u)},
      {"-$10", -16},
      {"00012", 12},
  };
  for (const IntCase& c : cases) {
    EXPECT_EQ(StrToInt(c.text), c.value) << c.text;
  }
}

TEST(StrToIntTest, RejectsEverythingElseWithTheFrameworkMessage) {
  const char* cases[] = {"",           " ",           "abc",        "12 ", "1.5", "-",  "$",
                         "2147483648", "-2147483649", "$100000000", "1e3", "12a", "--1"};
  for (const char* text : cases) {
    try {
      StrToInt(text);
      ADD_FAILURE() << "accepted '" << text << "'";
    } catch (const EConvertError& error) {
      EXPECT_EQ(error.Message(),
                std::string("'") + text + "' n'est pas une valeur entière correcte");
    }
  }
  EXPECT_EQ(StrToIntDef("x", -3), -3);
  EXPECT_FALSE(TryStrToInt("99999999999").has_value());
}

TEST(StrToIntTest, Int64CoversTheWholeRange) {
  EXPECT_EQ(StrToInt64("-9223372036854775808"), std::numeric_limits<std::int64_t>::min());
  EXPECT_EQ(StrToInt64("$FFFFFFFFFFFFFFFF"), -1);
  EXPECT_FALSE(TryStrToInt64("9223372036854775808").has_value());
}

TEST(FloatTextTest, GeneralFormatPicksTheShortestNotation) {
  struct Case {
    long double value;
    int precision;
    const char* text;
  };
  const Case cases[] = {
      {100, 18, "100"},
      {0.5L, 18, "0.5"},
      {150.5L, 18, "150.5"},
      {-2.25L, 18, "-2.25"},
      {0, 18, "0"},
      {0.1L, 18, "0.1"},
      {1e20L, 18, "1E20"},
      {1.5e-7L, 18, "1.5E-7"},
      {0.00001L, 18, "0.00001"},
      {123456, 3, "1.23E5"},
      {1.0L / 3, 4, "0.3333"},
      {99.995L, 4, "100"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FloatToStrGeneral(c.value, c.precision, '.'), c.text) << c.text;
  }
  EXPECT_EQ(FloatToStrGeneral(150.5L, 18, ','), "150,5");
}

TEST(FloatTextTest, ParsingUsesTheGivenDecimalSeparator) {
  EXPECT_EQ(StrToFloat("150.5", '.'), 150.5L);
  EXPECT_EQ(StrToFloat(" 150,5 ", ','), 150.5L);
  EXPECT_EQ(StrToFloat("-1e3", '.'), -1000.0L);
  EXPECT_EQ(StrToFloat(".5", '.'), 0.5L);
  EXPECT_FALSE(TryStrToFloat("150.5", ',').has_value());
  for (const char* text : {"abc", "", "1e", "1.2.3", "1,5", "."}) {
    EXPECT_FALSE(TryStrToFloat(text, '.').has_value()) << text;
  }
  try {
    StrToFloat("abc", '.');
    ADD_FAILURE();
  } catch (const EConvertError& error) {
    EXPECT_EQ(error.Message(), "'abc' n'est pas une valeur à virgule flottante correcte");
  }
}

TEST(FloatTextTest, EighteenDigitsKeepDecimalValuesExactly) {
  // Values a user can set (typed decimals) come back unchanged; 18 digits are not enough for
  // every 64-bit mantissa, so a third only comes back very close.
  for (long double value : {100.0L, 0.5L, 150.5L, 123456.789L, 0.1L}) {
    EXPECT_EQ(StrToFloat(FloatToStrGeneral(value, 18, '.'), '.'), value);
  }
  const long double third = 1.0L / 3;
  EXPECT_NEAR(StrToFloat(FloatToStrGeneral(third, 18, '.'), '.'), third, 1e-18L);
}

TEST(MulDivTest, RoundsHalfAwayFromZero) {
  struct Case {
    int a, b, c, result;
  };
  const Case cases[] = {
      {-9, 72, 96, -7},  // 6.75
      {7, 96, 72, 9},    // 9.333
      {8, 96, 72, 11},   // 10.667
      {1, 3, 2, 2},      // 1.5
      {-1, 3, 2, -2},    // -1.5
      {1, -3, 2, -2},
      {5, 5, 0, -1},                                // division by zero
      {std::numeric_limits<int>::max(), 4, 2, -1},  // overflow
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MulDiv(c.a, c.b, c.c), c.result) << c.a << "*" << c.b << "/" << c.c;
  }
}

TEST(TextTest, CompareFoldsLettersAndPutsTheShorterFirst) {
  EXPECT_EQ(CompareText("Color", "COLOR"), 0);
  EXPECT_LT(CompareText("Color", "ColorScheme"), 0);
  EXPECT_LT(CompareText("BottomColor", "BottomFrameColor"), 0);
  EXPECT_GT(CompareText("b", "A"), 0);
  EXPECT_TRUE(SameText("rarbar1", "RarBar1"));
  EXPECT_FALSE(SameText("RarBar1", "RarBar"));
  EXPECT_EQ(Trim("\t 500 \r\n"), "500");
  EXPECT_EQ(Trim("   "), "");
}

TEST(FormatTest, FormatsLikePrintf) {
  EXPECT_EQ(Format("%s=%d", "a", 5), "a=5");
  EXPECT_EQ(Format("%s", ""), "");
  EXPECT_EQ(Format("%s", std::string(5000, 'x').c_str()).size(), 5000u);
}

}  // namespace
