// Number conversions as the program's runtime had them: '.' as the decimal separator whatever
// the locale, conversion errors raised as EConvertError, floats printed with at most 15
// significant digits in their shortest form.
#pragma once

#include <cstdint>
#include <string>

// How a text reads as a number: a number, nothing but blanks or a lone sign (a box the user has
// emptied, or has begun a number in: quiet while typing, refused by the command that needs it),
// a number too large for its type, or something else.
enum class TNumberText { Number, Blank, OutOfRange, Invalid };

// Surrounding blanks allowed; decimal or "$"/"0x" hexadecimal. Raises EConvertError naming the
// text: "「<text>」不是有效的整数", "「<text>」超出范围，..." for a whole number beyond the type,
// and for a full-width digit or sign (typed in an input method's full-width mode) a message
// that names the first such character and asks for half-width digits. Bytes of the text that
// are no whole GBK character are quoted as '?'.
int StrToInt(const std::string& text);
// StrToInt of `count` bytes from zero-based byte `at` of `text`, a field cut at fixed byte
// positions. A field that begins or ends inside a character is no number, whatever its bytes
// (those of a four-byte character may be digits). Its error quotes the whole characters of
// `text` the field touches, never part of one.
int StrToIntOfBytes(const std::string& text, size_t at, size_t count);
// The error StrToInt raises for a text that is no whole number, for callers with stricter rules.
[[noreturn]] void RaiseNotInteger(const std::string& text);
int64_t StrToInt64(const std::string& text);
int StrToIntDef(const std::string& text, int fallback);
bool TryStrToInt(const std::string& text, int& value);
// Sets `value` only for TNumberText::Number.
TNumberText CheckStrToInt(const std::string& text, int& value);

// Raises EConvertError "「<text>」不是有效的数字", "「<text>」超出范围，..." beyond the largest
// double, or the full-width message of StrToInt. Accepts an exponent; rejects "inf" and "nan"
// texts.
double StrToFloat(const std::string& text);
bool TryStrToFloat(const std::string& text, double& value);

std::string IntToStr(int64_t value);
// Two-digit and wider zero-padded forms are used by several windows.
std::string IntToStrPadded(int64_t value, int width);

// Shortest decimal form with at most 15 significant digits: 7 * 0.01 -> "0.07", 2.0 -> "2",
// 1e15 -> "1E15", 0.00001 -> "1E-5", -0.0 -> "0". Infinities print "INF"/"-INF", NaN "NAN".
// Every finite value prints a text StrToFloat reads back.
std::string FloatToStr(double value);

// Rounds to the power of ten 10^digit (digit -2 means two decimals): divides by 10^digit,
// rounds to the nearest whole number with ties to even, multiplies back, all in double.
double RoundTo(double value, int digit);
// Truncation to 10^digit (digit -2 keeps two decimals) in the same double arithmetic.
double TruncTo(double value, int digit);

// Whole number nearest to value, ties to even (the runtime's Round).
int64_t RoundHalfEven(double value);
// Truncation toward zero (the runtime's Trunc).
int64_t Trunc(double value);
// Remainder between 0 and b - 1 for b > 0, whatever the sign of a.
inline int FloorMod(int a, int b) {
  int r = a % b;
  return r < 0 ? r + b : r;
}
