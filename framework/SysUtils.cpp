#include "framework/SysUtils.h"

#include <cerrno>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "framework/Exception.h"

TFormatSettings FormatSettings;

std::string Format(const char* format, ...) {
  va_list args;
  va_start(args, format);
  va_list copy;
  va_copy(copy, args);
  const int length = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  std::string result;
  if (length > 0) {
    result.resize(static_cast<std::size_t>(length));
    std::vsnprintf(result.data(), result.size() + 1, format, args);
  }
  va_end(args);
  return result;
}

std::string IntToStr(std::int64_t value) { return std::to_string(value); }

namespace {

[[noreturn]] void RaiseInvalidInteger(std::string_view text) {
  throw EConvertError(Format("'%.*s' n'est pas une valeur entière correcte",
                             static_cast<int>(text.size()), text.data()));
}

[[noreturn]] void RaiseInvalidFloat(std::string_view text) {
  throw EConvertError(Format("'%.*s' n'est pas une valeur à virgule flottante correcte",
                             static_cast<int>(text.size()), text.data()));
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Parses the framework's integer syntax into a value of `bits` bits. Decimal text must lie in the
// signed range; hexadecimal text is a bit pattern of at most `bits` bits (so "$FFFFFFFF" is -1 as
// a 32-bit value), negated when a minus sign precedes it.
std::optional<std::int64_t> ParseInteger(std::string_view text, int bits) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
    negative = text[i] == '-';
    ++i;
  }
  bool hex = false;
  if (i < text.size() && text[i] == '$') {
    hex = true;
    ++i;
  } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    hex = true;
    i += 2;
  } else if (i < text.size() && (text[i] == 'x' || text[i] == 'X')) {
    hex = true;
    ++i;
  }
  if (i == text.size()) return std::nullopt;
  const std::uint64_t patternMask = bits == 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << bits) - 1;
  std::uint64_t magnitude = 0;
  for (; i < text.size(); ++i) {
    if (hex) {
      const int digit = HexDigit(text[i]);
      if (digit < 0) return std::nullopt;
      if (magnitude > (patternMask >> 4)) return std::nullopt;
      magnitude = (magnitude << 4) | static_cast<std::uint64_t>(digit);
    } else {
      if (text[i] < '0' || text[i] > '9') return std::nullopt;
      const auto digit = static_cast<std::uint64_t>(text[i] - '0');
      if (magnitude > (std::numeric_limits<std::uint64_t>::max() - digit) / 10) return std::nullopt;
      magnitude = magnitude * 10 + digit;
    }
  }
  const std::uint64_t signedLimit = std::uint64_t{1} << (bits - 1);  // |minimum| of the range
  std::uint64_t pattern;
  if (hex) {
    pattern = negative ? (0 - magnitude) & patternMask : magnitude;
  } else {
    if (negative ? magnitude > signedLimit : magnitude >= signedLimit) return std::nullopt;
    pattern = (negative ? 0 - magnitude : magnitude) & patternMask;
  }
  // Sign-extend the bit pattern to 64 bits.
  if (bits < 64 && (pattern & signedLimit) != 0) pattern |= ~patternMask;
  return static_cast<std::int64_t>(pattern);
}

}  // namespace

std::optional<std::int32_t> TryStrToInt(std::string_view text) {
  const auto value = ParseInteger(text, 32);
  if (!value) return std::nullopt;
  return static_cast<std::int32_t>(*value);
}

std::optional<std::int64_t> TryStrToInt64(std::string_view text) { return ParseInteger(text, 64); }

std::int32_t StrToInt(std::string_view text) {
  const auto value = TryStrToInt(text);
  if (!value) RaiseInvalidInteger(text);
  return *value;
}

std::int64_t StrToInt64(std::string_view text) {
  const auto value = TryStrToInt64(text);
  if (!value) RaiseInvalidInteger(text);
  return *value;
}

std::int32_t StrToIntDef(std::string_view text, std::int32_t fallback) {
  return TryStrToInt(text).value_or(fallback);
}

std::optional<long double> TryStrToFloat(std::string_view text, char decimalSeparator) {
  // Rewrite the text into the C library's syntax, accepting only the framework's grammar:
  // blanks, sign, digits, one decimal separator, digits, optional exponent, blanks.
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  std::size_t end = text.size();
  while (end > i && text[end - 1] == ' ') --end;
  std::string c;
  c.reserve(end - i + 1);
  if (i < end && (text[i] == '-' || text[i] == '+')) c += text[i++];
  bool digits = false;
  while (i < end && text[i] >= '0' && text[i] <= '9') {
    c += text[i++];
    digits = true;
  }
  if (i < end && text[i] == decimalSeparator) {
    c += '.';
    ++i;
    while (i < end && text[i] >= '0' && text[i] <= '9') {
      c += text[i++];
      digits = true;
    }
  }
  if (!digits) return std::nullopt;
  if (i < end && (text[i] == 'e' || text[i] == 'E')) {
    c += 'e';
    ++i;
    if (i < end && (text[i] == '-' || text[i] == '+')) c += text[i++];
    bool exponentDigits = false;
    while (i < end && text[i] >= '0' && text[i] <= '9') {
      c += text[i++];
      exponentDigits = true;
    }
    if (!exponentDigits) return std::nullopt;
  }
  if (i != end) return std::nullopt;
  errno = 0;
  char* parsedEnd = nullptr;
  const long double value = std::strtold(c.c_str(), &parsedEnd);
  if (parsedEnd != c.c_str() + c.size()) return std::nullopt;
  if (errno == ERANGE && std::isinf(value)) return std::nullopt;
  return value;
}

long double StrToFloat(std::string_view text, char decimalSeparator) {
  const auto value = TryStrToFloat(text, decimalSeparator);
  if (!value) RaiseInvalidFloat(text);
  return *value;
}

std::string FloatToStrGeneral(long double value, int precision, char decimalSeparator) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
  if (precision < 1) precision = 1;
  if (precision > 18) precision = 18;
  if (value == 0) return "0";

  // Round to `precision` significant digits first; the exponent of the rounded value decides the
  // notation, as it does for the framework's general format.
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*Le", precision - 1, value);
  std::string text(buffer);
  const std::size_t ePos = text.find('e');
  const int exponent = std::atoi(text.c_str() + ePos + 1);
  std::string mantissa = text.substr(0, ePos);
  const bool negative = mantissa[0] == '-';
  if (negative) mantissa.erase(0, 1);
  std::string digits;
  for (char ch : mantissa) {
    if (ch >= '0' && ch <= '9') digits += ch;
  }
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

  std::string result = negative ? "-" : "";
  if (exponent >= precision || exponent < -5) {
    // Scientific: d[.ddd]E[-]x, the exponent without leading zeros or plus sign.
    result += digits[0];
    if (digits.size() > 1) {
      result += decimalSeparator;
      result.append(digits, 1, std::string::npos);
    }
    result += 'E';
    result += std::to_string(exponent);
  } else if (exponent < 0) {
    result += '0';
    result += decimalSeparator;
    result.append(static_cast<std::size_t>(-exponent - 1), '0');
    result += digits;
  } else {
    const auto intDigits = static_cast<std::size_t>(exponent) + 1;
    if (digits.size() <= intDigits) {
      result += digits;
      result.append(intDigits - digits.size(), '0');
    } else {
      result.append(digits, 0, intDigits);
      result += decimalSeparator;
      result.append(digits, intDigits, std::string::npos);
    }
  }
  return result;
}

std::int32_t MulDiv(std::int32_t a, std::int32_t b, std::int32_t c) {
  if (c == 0) return -1;
  const std::int64_t product = static_cast<std::int64_t>(a) * b;
  std::int64_t quotient = product / c;
  const std::int64_t remainder = product % c;
  // Round half away from zero.
  if (remainder != 0) {
    const std::uint64_t twice =
        2 * static_cast<std::uint64_t>(remainder < 0 ? -remainder : remainder);
    const std::uint64_t divisor =
        static_cast<std::uint64_t>(c < 0 ? -static_cast<std::int64_t>(c) : c);
    if (twice >= divisor) quotient += ((product < 0) != (c < 0)) ? -1 : 1;
  }
  if (quotient > std::numeric_limits<std::int32_t>::max() ||
      quotient < std::numeric_limits<std::int32_t>::min()) {
    return -1;
  }
  return static_cast<std::int32_t>(quotient);
}

char UpperChar(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

std::string UpperCase(std::string_view text) {
  std::string result(text);
  for (char& c : result) c = UpperChar(c);
  return result;
}

std::string LowerCase(std::string_view text) {
  std::string result(text);
  for (char& c : result) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return result;
}

int CompareText(std::string_view a, std::string_view b) {
  const std::size_t common = a.size() < b.size() ? a.size() : b.size();
  for (std::size_t i = 0; i < common; ++i) {
    const auto ca = static_cast<unsigned char>(UpperChar(a[i]));
    const auto cb = static_cast<unsigned char>(UpperChar(b[i]));
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

bool SameText(std::string_view a, std::string_view b) {
  return a.size() == b.size() && CompareText(a, b) == 0;
}

std::string Trim(std::string_view text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && static_cast<unsigned char>(text[begin]) <= ' ') ++begin;
  while (end > begin && static_cast<unsigned char>(text[end - 1]) <= ' ') --end;
  return std::string(text.substr(begin, end - begin));
}
