#pragma once
// Text helpers and the framework's number conversions. Conversion errors carry the framework's
// French messages, as the rest of the program and its users expect them.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// printf-style formatting into a std::string.
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Number formatting conventions of the user's locale. Only the decimal separator matters to the
// program; the composition root sets it from the system at start-up.
struct TFormatSettings {
  char DecimalSeparator = '.';
};
extern TFormatSettings FormatSettings;

std::string IntToStr(std::int64_t value);

// Parses a signed 32-bit integer the way the framework does: optional blanks before, an optional
// sign, then decimal digits or hexadecimal after "$" (or "0x"). Anything else, or a value outside
// the 32-bit range, raises EConvertError "'%s' n'est pas une valeur entière correcte".
std::int32_t StrToInt(std::string_view text);
std::int64_t StrToInt64(std::string_view text);
std::optional<std::int32_t> TryStrToInt(std::string_view text);
std::optional<std::int64_t> TryStrToInt64(std::string_view text);
std::int32_t StrToIntDef(std::string_view text, std::int32_t fallback);

// Extended-precision float text. Parsing accepts blanks around, a sign, digits with at most one
// decimal separator (the one given) and an exponent; anything else raises EConvertError
// "'%s' n'est pas une valeur à virgule flottante correcte".
long double StrToFloat(std::string_view text,
                       char decimalSeparator = FormatSettings.DecimalSeparator);
std::optional<long double> TryStrToFloat(std::string_view text,
                                         char decimalSeparator = FormatSettings.DecimalSeparator);

// General format with at most `precision` significant digits: the shortest of fixed and
// scientific notation, without trailing zeros ("100", "0.5", "1.5E+20").
std::string FloatToStrGeneral(long double value, int precision,
                              char decimalSeparator = FormatSettings.DecimalSeparator);

// (a * b) / c computed in 64 bits and rounded half away from zero, as the Win32 MulDiv.
// Returns -1 when c is 0.
std::int32_t MulDiv(std::int32_t a, std::int32_t b, std::int32_t c);

// Letters folded to upper case (ASCII only), as the framework compares names.
char UpperChar(char c);
std::string UpperCase(std::string_view text);
std::string LowerCase(std::string_view text);
bool SameText(std::string_view a, std::string_view b);
// Character-by-character comparison with letters folded to upper case; on a common prefix the
// shorter text comes first. Negative, zero or positive.
int CompareText(std::string_view a, std::string_view b);

// Removes leading and trailing blanks and control characters (every byte up to 32).
std::string Trim(std::string_view text);
