// Number conversions that never depend on the process locale: the GUI layer sets the locale from
// the environment, and a German desktop must not turn "1.5" into an error or print "1,5".
#include "platform/Numbers.h"

#include <locale.h>

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "platform/Exceptions.h"

namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

// Cuts surrounding blanks; returns false when nothing but blanks is left.
bool StripBlanks(const std::string& text, size_t& begin, size_t& end) {
  begin = 0;
  end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  return begin < end;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Parses a signed decimal or hexadecimal whole number. Decimal values must fit in [min, max];
// hexadecimal values may use every bit of the unsigned type of the same width (so "$FFFFFFFF" is
// -1 for a 32-bit value), as the runtime let them.
bool ParseInteger(const std::string& text, int64_t min, int64_t max, uint64_t hexMax,
                  int64_t& value) {
  size_t i, end;
  if (!StripBlanks(text, i, end)) return false;
  bool negative = false;
  if (text[i] == '+' || text[i] == '-') {
    negative = text[i] == '-';
    ++i;
  }
  bool hex = false;
  if (i < end && text[i] == '$') {
    hex = true;
    ++i;
  } else if (i + 1 < end && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    hex = true;
    i += 2;
  }
  if (i >= end) return false;
  uint64_t magnitude = 0;
  const uint64_t limit = hex ? hexMax : static_cast<uint64_t>(max) + (negative ? 1 : 0);
  const unsigned base = hex ? 16 : 10;
  for (; i < end; ++i) {
    int digit = hex ? HexDigit(text[i]) : (text[i] >= '0' && text[i] <= '9' ? text[i] - '0' : -1);
    if (digit < 0) return false;
    if (magnitude > (limit - static_cast<uint64_t>(digit)) / base) return false;
    magnitude = magnitude * base + static_cast<uint64_t>(digit);
  }
  if (hex) {
    // The bit pattern, negated if asked, read in the signed type of the target width.
    uint64_t bits = negative ? 0 - magnitude : magnitude;
    if (hexMax == std::numeric_limits<uint32_t>::max())
      value = static_cast<int32_t>(static_cast<uint32_t>(bits));
    else
      value = static_cast<int64_t>(bits);
    return true;
  }
  if (negative) {
    value = magnitude == static_cast<uint64_t>(max) + 1 ? min : -static_cast<int64_t>(magnitude);
  } else {
    value = static_cast<int64_t>(magnitude);
  }
  return true;
}

locale_t CLocale() {
  static locale_t c = newlocale(LC_ALL_MASK, "C", nullptr);
  return c;
}

}  // namespace

void RaiseNotInteger(const std::string& text) {
  throw EConvertError("「" + text + "」不是有效的整数");
}

bool TryStrToInt(const std::string& text, int& value) {
  int64_t v;
  if (!ParseInteger(text, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max(),
                    std::numeric_limits<uint32_t>::max(), v))
    return false;
  value = static_cast<int>(v);
  return true;
}

int StrToInt(const std::string& text) {
  int value;
  if (!TryStrToInt(text, value)) RaiseNotInteger(text);
  return value;
}

int64_t StrToInt64(const std::string& text) {
  int64_t value;
  if (!ParseInteger(text, std::numeric_limits<int64_t>::min(), std::numeric_limits<int64_t>::max(),
                    std::numeric_limits<uint64_t>::max(), value))
    RaiseNotInteger(text);
  return value;
}

int StrToIntDef(const std::string& text, int fallback) {
  int value;
  return TryStrToInt(text, value) ? value : fallback;
}

bool TryStrToFloat(const std::string& text, double& value) {
  size_t begin, end;
  if (!StripBlanks(text, begin, end)) return false;
  // Check the grammar ourselves: [sign] digits [. digits] [e [sign] digits], at least one digit
  // in the mantissa. This keeps out "inf", "nan" and hexadecimal floats that strtod would take.
  size_t i = begin;
  if (text[i] == '+' || text[i] == '-') ++i;
  size_t digits = 0;
  while (i < end && text[i] >= '0' && text[i] <= '9') ++i, ++digits;
  if (i < end && text[i] == '.') {
    ++i;
    while (i < end && text[i] >= '0' && text[i] <= '9') ++i, ++digits;
  }
  if (digits == 0) return false;
  if (i < end && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    if (i < end && (text[i] == '+' || text[i] == '-')) ++i;
    size_t expDigits = 0;
    while (i < end && text[i] >= '0' && text[i] <= '9') ++i, ++expDigits;
    if (expDigits == 0) return false;
  }
  if (i != end) return false;
  std::string clean = text.substr(begin, end - begin);
  errno = 0;
  double v = strtod_l(clean.c_str(), nullptr, CLocale());
  if (std::isinf(v)) return false;  // overflow; underflow to zero or a subnormal is fine
  value = v;
  return true;
}

double StrToFloat(const std::string& text) {
  double value;
  if (!TryStrToFloat(text, value))
    throw EConvertError("「" + text + "」不是有效的数字");
  return value;
}

std::string IntToStr(int64_t value) { return std::to_string(value); }

std::string IntToStrPadded(int64_t value, int width) {
  std::string digits = std::to_string(value);
  bool negative = value < 0;
  if (negative) digits.erase(0, 1);
  if (static_cast<int>(digits.size()) < width)
    digits.insert(0, static_cast<size_t>(width) - digits.size(), '0');
  return negative ? "-" + digits : digits;
}

std::string FloatToStr(double value) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
  if (value == 0) return "0";
  // 15 significant digits, correctly rounded, without locale. Near the largest double the
  // rounded text would read back as an overflow: there the digits are cut instead of rounded.
  char buffer[64];
  auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 14);
  std::string sci(buffer, result.ptr);
  if (std::fabs(value) > 1e308 && std::isinf(strtod_l(sci.c_str(), nullptr, CLocale()))) {
    result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 16);
    sci.assign(buffer, result.ptr);
    const size_t e = sci.find('e');
    const size_t keep = (sci[0] == '-' ? 1 : 0) + 16;  // sign, 15 digits and the point
    sci.erase(keep, e - keep);
  }
  bool negative = sci[0] == '-';
  size_t start = negative ? 1 : 0;
  size_t ePos = sci.find('e');
  std::string digits;
  for (size_t i = start; i < ePos; ++i)
    if (sci[i] != '.') digits += sci[i];
  int exponent = std::atoi(sci.c_str() + ePos + 1);
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

  // decimalExponent: the value is 0.<digits> * 10^decimalExponent.
  int decimalExponent = exponent + 1;
  std::string out = negative ? "-" : "";
  if (decimalExponent > 15 || decimalExponent < -3) {
    out += digits[0];
    if (digits.size() > 1) out += "." + digits.substr(1);
    out += "E" + std::to_string(exponent);
  } else if (decimalExponent <= 0) {
    out += "0." + std::string(static_cast<size_t>(-decimalExponent), '0') + digits;
  } else if (static_cast<size_t>(decimalExponent) >= digits.size()) {
    out += digits + std::string(static_cast<size_t>(decimalExponent) - digits.size(), '0');
  } else {
    out += digits.substr(0, static_cast<size_t>(decimalExponent)) + "." +
           digits.substr(static_cast<size_t>(decimalExponent));
  }
  return out;
}

namespace {

// 10^digit as the displayed numbers need it: a negative power is one over the positive power,
// which is not always the same double as the nearest double to 10^digit.
double PowerOfTen(int digit) {
  double p = 1.0;
  for (int i = 0; i < std::abs(digit); ++i) p *= 10.0;
  return digit < 0 ? 1.0 / p : p;
}

}  // namespace

double RoundTo(double value, int digit) {
  double factor = PowerOfTen(digit);
  return std::nearbyint(value / factor) * factor;
}

double TruncTo(double value, int digit) {
  double factor = PowerOfTen(digit);
  return std::trunc(value / factor) * factor;
}

namespace {

// Converting a double outside the int64 range is undefined behaviour; refuse it instead.
int64_t CheckedToInt64(double whole) {
  if (!(whole >= -9223372036854775808.0 && whole < 9223372036854775808.0))
    throw EConvertError("数值「" + FloatToStr(whole) + "」超出整数范围");
  return static_cast<int64_t>(whole);
}

}  // namespace

int64_t RoundHalfEven(double value) { return CheckedToInt64(std::nearbyint(value)); }

int64_t Trunc(double value) { return CheckedToInt64(std::trunc(value)); }
