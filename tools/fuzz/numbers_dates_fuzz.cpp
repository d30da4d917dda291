// libFuzzer target for number and date texts: every text either converts or raises
// EConvertError; what converts prints a text that converts back to the same value (floats to
// 15 significant digits); dates and times encode, decode and format without overflow.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/DateTime.h"
#include "platform/Exceptions.h"
#include "platform/Numbers.h"

namespace {

void Numbers(const std::string& text) {
  int i;
  if (TryStrToInt(text, i) && StrToInt(IntToStr(i)) != i) std::abort();
  try {
    int64_t big = StrToInt64(text);
    if (StrToInt64(IntToStr(big)) != big) std::abort();
  } catch (const EConvertError&) {
  }
  double d;
  if (TryStrToFloat(text, d)) {
    double back;
    if (!TryStrToFloat(FloatToStr(d), back)) std::abort();
    if (d != 0 && std::fabs(back / d - 1) > 1e-14) std::abort();
    try {
      Trunc(d);
      RoundHalfEven(d);
      RoundTo(d, -2);
      TruncTo(d, -2);
    } catch (const EConvertError&) {
    }
  }
}

void Dates(const std::uint8_t* data, std::size_t size, const std::string& format) {
  int32_t f[7] = {};
  std::memcpy(f, data, std::min(size, sizeof f));
  TDateTime date;
  if (TryEncodeDate(f[0], f[1], f[2], date)) {
    int y, m, d;
    DecodeDate(date, y, m, d);
    if (y != f[0] || m != f[1] || d != f[2]) std::abort();
    FormatDateTime(format, date);
    DateTimeToStr(date);
  }
  TDateTime time;
  if (TryEncodeTime(f[3], f[4], f[5], f[6], time)) {
    int h, n, s, ms;
    DecodeTime(time, h, n, s, ms);
    if (h != f[3] || n != f[4] || s != f[5] || ms != f[6]) std::abort();
  }
  double any;
  std::memcpy(&any, data, std::min(size, sizeof any));
  if (any >= -693593.0 && any < 2958466.0) {  // the years 1 to 9999
    int y, m, d, h, n, s, ms;
    DecodeDateTime(any, y, m, d, h, n, s, ms);
    FormatDateTime(format, any);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  Numbers(text);
  Dates(data, size, text.substr(0, 64));
  return 0;
}
