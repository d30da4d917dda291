// Number conversions that never depend on the process locale: the GUI layer sets the locale from
// the environment, and a German desktop must not turn "1.5" into an error or print "1,5".
#include "platform/Numbers.h"

#include <locale.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "platform/Exceptions.h"
#include "platform/GbkText.h"

namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

// Cuts surrounding blanks; returns false when nothing but blanks is left, or a lone sign: the
// first key of a negative number is no wrong number yet.
bool StripBlanks(const std::string& text, size_t& begin, size_t& end) {
  begin = 0;
  end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  if (end - begin == 1 && (text[begin] == '-' || text[begin] == '+')) return false;
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
TNumberText ParseInteger(const std::string& text, int64_t min, int64_t max, uint64_t hexMax,
                         int64_t& value) {
  size_t i, end;
  if (!StripBlanks(text, i, end)) return TNumberText::Blank;
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
  if (i >= end) return TNumberText::Invalid;
  uint64_t magnitude = 0;
  const uint64_t limit = hex ? hexMax : static_cast<uint64_t>(max) + (negative ? 1 : 0);
  const unsigned base = hex ? 16 : 10;
  bool tooLarge = false;
  for (; i < end; ++i) {
    int digit = hex ? HexDigit(text[i]) : (text[i] >= '0' && text[i] <= '9' ? text[i] - '0' : -1);
    if (digit < 0) return TNumberText::Invalid;
    // Read on after an overflow: only a text of digits throughout is a number out of range.
    if (tooLarge || magnitude > (limit - static_cast<uint64_t>(digit)) / base) {
      tooLarge = true;
      continue;
    }
    magnitude = magnitude * base + static_cast<uint64_t>(digit);
  }
  if (tooLarge) return TNumberText::OutOfRange;
  if (hex) {
    // The bit pattern, negated if asked, read in the signed type of the target width.
    uint64_t bits = negative ? 0 - magnitude : magnitude;
    if (hexMax == std::numeric_limits<uint32_t>::max())
      value = static_cast<int32_t>(static_cast<uint32_t>(bits));
    else
      value = static_cast<int64_t>(bits);
    return TNumberText::Number;
  }
  if (negative) {
    value = magnitude == static_cast<uint64_t>(max) + 1 ? min : -static_cast<int64_t>(magnitude);
  } else {
    value = static_cast<int64_t>(magnitude);
  }
  return TNumberText::Number;
}

// The text of a conversion error with every byte that is no whole character shown as '?': a
// lone lead byte would otherwise pair with the closing quote and garble the rest of the message.
std::string WholeChars(const std::string& text) {
  std::string out;
  for (size_t at = 0; at < text.size();) {
    const int length = GbkCharLength(text, at);
    const unsigned char byte = static_cast<unsigned char>(text[at]);
    if (length == 1 && IsGbkLeadByte(byte))
      out += '?';
    else
      out.append(text, at, static_cast<size_t>(length));
    at += static_cast<size_t>(length);
  }
  return out;
}

// The first full-width form of an ASCII character (row A3 of GBK) or full-width blank, as an
// input method in full-width mode types them; empty when there is none.
std::string FirstFullWidth(const std::string& text) {
  for (size_t at = 0; at < text.size();) {
    const int length = GbkCharLength(text, at);
    if (length == 2) {
      const auto lead = static_cast<unsigned char>(text[at]);
      const auto trail = static_cast<unsigned char>(text[at + 1]);
      if ((lead == 0xA3 && trail >= 0xA1) || (lead == 0xA1 && trail == 0xA1))
        return text.substr(at, 2);
    }
    at += static_cast<size_t>(length);
  }
  return "";
}

bool IsFullWidthDigit(const std::string& ch) {
  return ch.size() == 2 && static_cast<unsigned char>(ch[0]) == 0xA3 &&
         static_cast<unsigned char>(ch[1]) >= 0xB0 && static_cast<unsigned char>(ch[1]) <= 0xB9;
}

// What a user reads for a text that does not convert. `quoted` is the text as the user sees it
// (for a slice, the whole characters it touches); `kind` says why the conversion failed.
[[noreturn]] void RaiseNumberError(const std::string& quoted, TNumberText kind,
                                   const std::string& notValid, const std::string& range) {
  const std::string shown = "「" + WholeChars(quoted) + "」";
  if (kind == TNumberText::OutOfRange) throw EConvertError(shown + "超出范围，" + range);
  const std::string wide = FirstFullWidth(quoted);
  if (!wide.empty()) {
    const std::string what = IsFullWidthDigit(wide) ? "是全角数字" : "是全角字符";
    const std::string head = wide == quoted ? shown : shown + "中的「" + wide + "」";
    throw EConvertError(head + what + "，请输入半角数字");
  }
  throw EConvertError(shown + notValid);
}

const char* const kNotInteger = "不是有效的整数";
const char* const kIntRange = "整数须在-2147483648到2147483647之间";
const char* const kInt64Range = "整数须在-9223372036854775808到9223372036854775807之间";

locale_t CLocale() {
  static locale_t c = newlocale(LC_ALL_MASK, "C", nullptr);
  return c;
}

}  // namespace

void RaiseNotInteger(const std::string& text) {
  int ignored;
  TNumberText kind = CheckStrToInt(text, ignored);
  // A caller with stricter rules may refuse a text that converts: it is still no valid integer.
  if (kind == TNumberText::Number) kind = TNumberText::Invalid;
  RaiseNumberError(text, kind, kNotInteger, kIntRange);
}

TNumberText CheckStrToInt(const std::string& text, int& value) {
  int64_t v = 0;
  const TNumberText kind =
      ParseInteger(text, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max(),
                   std::numeric_limits<uint32_t>::max(), v);
  if (kind == TNumberText::Number) value = static_cast<int>(v);
  return kind;
}

bool TryStrToInt(const std::string& text, int& value) {
  return CheckStrToInt(text, value) == TNumberText::Number;
}

int StrToInt(const std::string& text) {
  int value = 0;
  const TNumberText kind = CheckStrToInt(text, value);
  if (kind != TNumberText::Number) RaiseNumberError(text, kind, kNotInteger, kIntRange);
  return value;
}

int StrToIntOfBytes(const std::string& text, size_t at, size_t count) {
  at = std::min(at, text.size());
  count = std::min(count, text.size() - at);
  // Widen the slice to the characters it touches: the first one that starts at or before `at`,
  // the last one that ends at or after the slice's end.
  size_t begin = 0;
  while (begin < at) {
    const size_t next = begin + static_cast<size_t>(GbkCharLength(text, begin));
    if (next > at) break;
    begin = next;
  }
  size_t end = begin;
  while (end < at + count) end += static_cast<size_t>(GbkCharLength(text, end));
  int value = 0;
  TNumberText kind = CheckStrToInt(text.substr(at, count), value);
  if (kind == TNumberText::Number && begin == at && end == at + count) return value;
  // Digits cut out of a wider character are none.
  if (kind == TNumberText::Number) kind = TNumberText::Invalid;
  RaiseNumberError(text.substr(begin, end - begin), kind, kNotInteger, kIntRange);
}

int64_t StrToInt64(const std::string& text) {
  int64_t value = 0;
  const TNumberText kind =
      ParseInteger(text, std::numeric_limits<int64_t>::min(), std::numeric_limits<int64_t>::max(),
                   std::numeric_limits<uint64_t>::max(), value);
  if (kind != TNumberText::Number) RaiseNumberError(text, kind, kNotInteger, kInt64Range);
  return value;
}

int StrToIntDef(const std::string& text, int fallback) {
  int value;
  return TryStrToInt(text, value) ? value : fallback;
}

namespace {

TNumberText ParseFloat(const std::string& text, double& value) {
  size_t begin, end;
  if (!StripBlanks(text, begin, end)) return TNumberText::Blank;
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
  if (digits == 0) return TNumberText::Invalid;
  if (i < end && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    if (i < end && (text[i] == '+' || text[i] == '-')) ++i;
    size_t expDigits = 0;
    while (i < end && text[i] >= '0' && text[i] <= '9') ++i, ++expDigits;
    if (expDigits == 0) return TNumberText::Invalid;
  }
  if (i != end) return TNumberText::Invalid;
  std::string clean = text.substr(begin, end - begin);
  errno = 0;
  double v = strtod_l(clean.c_str(), nullptr, CLocale());
  // Overflow; underflow to zero or a subnormal is fine.
  if (std::isinf(v)) return TNumberText::OutOfRange;
  value = v;
  return TNumberText::Number;
}

}  // namespace

bool TryStrToFloat(const std::string& text, double& value) {
  return ParseFloat(text, value) == TNumberText::Number;
}

double StrToFloat(const std::string& text) {
  double value = 0;
  const TNumberText kind = ParseFloat(text, value);
  if (kind != TNumberText::Number)
    RaiseNumberError(text, kind, "不是有效的数字", "数值的绝对值须小于1.8E308");
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
    result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 16);
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
