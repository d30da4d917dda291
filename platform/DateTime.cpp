// Day-count dates. Decoding works on the value rounded to the whole millisecond so that date and
// time always agree (a value a hair before midnight is the next day at 0:00, not 23:59:59.1000).
#include "platform/DateTime.h"

#include <cmath>
#include <cstdint>

#include "platform/Clock.h"
#include "platform/Exceptions.h"
#include "platform/GbkText.h"
#include "platform/Numbers.h"

namespace {

constexpr int64_t kMsPerDay = 86400000;
// Serial day numbers of 1 January 0001 and 31 December 9999.
constexpr int64_t kFirstDay = 1 - DateDelta;
constexpr int64_t kLastDay = 2958465;

const int kDaysBeforeMonth[2][13] = {
    {0, 0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334},
    {0, 0, 31, 60, 91, 121, 152, 182, 213, 244, 274, 305, 335},
};

struct Split {
  bool valid = false;
  int64_t day = 0;  // serial day number
  int64_t msOfDay = 0;
};

// Splits a value into its day and its millisecond of the day. Before 1899-12-30 the day is the
// whole part toward zero and the time is the absolute fraction, as the runtime stored them.
Split SplitValue(TDateTime value) {
  Split s;
  if (!std::isfinite(value) || std::fabs(value) > static_cast<double>(kLastDay) + 1) return s;
  double ms = std::nearbyint(std::fabs(value) * MSecsPerDay);
  int64_t total = static_cast<int64_t>(ms);
  int64_t days = total / kMsPerDay;
  s.msOfDay = total % kMsPerDay;
  s.day = value < 0 ? -days : days;
  s.valid = s.day >= kFirstDay && s.day <= kLastDay;
  return s;
}

void DayToDate(int64_t serial, int& year, int& month, int& day) {
  // Days since 1 January 0001 (zero-based), then whole 400-, 100-, 4- and 1-year cycles.
  int64_t n = serial + DateDelta - 1;
  int64_t y400 = n / 146097;
  n %= 146097;
  int64_t y100 = n / 36524;
  if (y100 == 4) y100 = 3;  // 31 December of a 400th year
  n -= y100 * 36524;
  int64_t y4 = n / 1461;
  n %= 1461;
  int64_t y1 = n / 365;
  if (y1 == 4) y1 = 3;  // 31 December of a leap year
  n -= y1 * 365;
  year = static_cast<int>(y400 * 400 + y100 * 100 + y4 * 4 + y1 + 1);
  const int* before = kDaysBeforeMonth[IsLeapYear(year) ? 1 : 0];
  month = 12;
  while (month > 1 && n < before[month]) --month;
  day = static_cast<int>(n - before[month]) + 1;
}

}  // namespace

bool IsLeapYear(int year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

int DaysInMonth(int year, int month) {
  static const int kDays[13] = {0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month];
}

bool TryEncodeDate(int year, int month, int day, TDateTime& result) {
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 ||
      day > DaysInMonth(year, month))
    return false;
  int64_t y = year - 1;
  int64_t days =
      y * 365 + y / 4 - y / 100 + y / 400 + kDaysBeforeMonth[IsLeapYear(year) ? 1 : 0][month] + day;
  result = static_cast<double>(days - DateDelta);
  return true;
}

bool TryEncodeTime(int hour, int minute, int second, int millisecond, TDateTime& result) {
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 ||
      millisecond < 0 || millisecond > 999)
    return false;
  result =
      static_cast<double>(((hour * 60 + minute) * 60 + second) * 1000 + millisecond) / MSecsPerDay;
  return true;
}

TDateTime EncodeDate(int year, int month, int day) {
  TDateTime result;
  if (!TryEncodeDate(year, month, day, result))
    throw EConvertError("日期「" + std::to_string(year) + "-" + std::to_string(month) + "-" +
                        std::to_string(day) + "」无效");
  return result;
}

TDateTime EncodeTime(int hour, int minute, int second, int millisecond) {
  TDateTime result;
  if (!TryEncodeTime(hour, minute, second, millisecond, result))
    throw EConvertError("时间「" + std::to_string(hour) + ":" + std::to_string(minute) + ":" +
                        std::to_string(second) + "." + std::to_string(millisecond) + "」无效");
  return result;
}

TDateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second, int ms) {
  TDateTime date = EncodeDate(year, month, day);
  TDateTime time = EncodeTime(hour, minute, second, ms);
  // Before the epoch the time is stored as a positive fraction below the (negative) day.
  return date < 0 ? date - time : date + time;
}

void DecodeDateTime(TDateTime value, int& year, int& month, int& day, int& hour, int& minute,
                    int& second, int& millisecond) {
  Split s = SplitValue(value);
  if (!s.valid) {
    year = month = day = hour = minute = second = millisecond = 0;
    return;
  }
  DayToDate(s.day, year, month, day);
  int64_t ms = s.msOfDay;
  millisecond = static_cast<int>(ms % 1000);
  ms /= 1000;
  second = static_cast<int>(ms % 60);
  ms /= 60;
  minute = static_cast<int>(ms % 60);
  hour = static_cast<int>(ms / 60);
}

void DecodeDate(TDateTime value, int& year, int& month, int& day) {
  int h, n, s, z;
  DecodeDateTime(value, year, month, day, h, n, s, z);
}

void DecodeTime(TDateTime value, int& hour, int& minute, int& second, int& millisecond) {
  int y, m, d;
  DecodeDateTime(value, y, m, d, hour, minute, second, millisecond);
}

int DayOfWeek(TDateTime value) {
  Split s = SplitValue(value);
  if (!s.valid) return 0;
  // 1 January 0001 (day number 1) was a Monday.
  return static_cast<int>((s.day + DateDelta) % 7) + 1;
}

TDateTime DateOf(TDateTime value) {
  Split s = SplitValue(value);
  return s.valid ? static_cast<double>(s.day) : 0.0;
}

TDateTime TimeOf(TDateTime value) {
  Split s = SplitValue(value);
  return s.valid ? static_cast<double>(s.msOfDay) / MSecsPerDay : 0.0;
}

TDateTime Now() { return ClockNow(); }
TDateTime Date() { return DateOf(ClockNow()); }
TDateTime Time() { return TimeOf(ClockNow()); }

namespace {

const char* const kWeekDayNames[7] = {"星期日", "星期一", "星期二", "星期三",
                                      "星期四", "星期五", "星期六"};

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

size_t RunLength(const std::string& format, size_t at, char lowerLetter) {
  size_t n = 0;
  while (at + n < format.size() && Lower(format[at + n]) == lowerLetter) ++n;
  return n;
}

bool StartsWithIgnoringCase(const std::string& text, size_t at, const char* word) {
  for (size_t i = 0; word[i]; ++i)
    if (at + i >= text.size() || Lower(text[at + i]) != word[i]) return false;
  return true;
}

// The parts of a moment a format names.
struct FormatFields {
  int year, month, day, hour, minute, second, ms, weekDay;
  bool twelveHour;  // am/pm somewhere in the format: hours count 1..12
};

std::string Number(int value, size_t letters, size_t padded, int width) {
  return letters == padded ? IntToStrPadded(value, width) : IntToStr(value);
}

// Writes the field that starts at `at` (y, m, d, h, n, s, z runs and am/pm) and returns the
// letters it took, or 0 when no field starts there. `afterHour`: m right after h means
// minutes, as in "hh:mm".
size_t FormatField(const std::string& format, size_t at, const FormatFields& f, bool& afterHour,
                   std::string& out) {
  const char lc = Lower(format[at]);
  const bool wasAfterHour = afterHour;
  afterHour = false;
  if (lc == 'a' && StartsWithIgnoringCase(format, at, "am/pm")) {
    const bool upper = format[at] == 'A';
    out += f.hour < 12 ? (upper ? "AM" : "am") : (upper ? "PM" : "pm");
    return 5;
  }
  switch (lc) {
    case 'y': {
      const size_t n = RunLength(format, at, 'y');
      out += n <= 2 ? IntToStrPadded(f.year % 100, 2) : IntToStrPadded(f.year, 4);
      return n;
    }
    case 'm': {
      const size_t n = std::min<size_t>(RunLength(format, at, 'm'), 2);
      out += Number(wasAfterHour ? f.minute : f.month, n, 2, 2);
      return n;
    }
    case 'd': {
      const size_t n = std::min<size_t>(RunLength(format, at, 'd'), 4);
      if (n >= 3)
        out += f.weekDay >= 1 ? kWeekDayNames[f.weekDay - 1] : "";
      else
        out += Number(f.day, n, 2, 2);
      return n;
    }
    case 'h': {
      const size_t n = std::min<size_t>(RunLength(format, at, 'h'), 2);
      const int v = f.twelveHour ? (f.hour % 12 == 0 ? 12 : f.hour % 12) : f.hour;
      out += Number(v, n, 2, 2);
      afterHour = true;
      return n;
    }
    case 'n':
    case 's': {
      const size_t n = std::min<size_t>(RunLength(format, at, lc), 2);
      out += Number(lc == 'n' ? f.minute : f.second, n, 2, 2);
      return n;
    }
    case 'z': {
      const size_t n = RunLength(format, at, 'z') >= 3 ? 3 : 1;
      out += Number(f.ms, n, 3, 3);
      return n;
    }
    default:
      afterHour = wasAfterHour;
      return 0;
  }
}

}  // namespace

std::string FormatDateTime(const std::string& format, TDateTime value) {
  FormatFields f{};
  DecodeDateTime(value, f.year, f.month, f.day, f.hour, f.minute, f.second, f.ms);
  f.weekDay = DayOfWeek(value);
  for (size_t at = 0; at < format.size(); at += static_cast<size_t>(GbkCharLength(format, at)))
    if (StartsWithIgnoringCase(format, at, "am/pm")) f.twelveHour = true;

  std::string out;
  bool afterHour = false;
  size_t at = 0;
  while (at < format.size()) {
    const char c = format[at];
    if (const auto length = static_cast<size_t>(GbkCharLength(format, at)); length > 1) {
      out.append(format, at, length);
      at += length;
    } else if (c == '"' || c == '\'') {  // quoted text goes out as it stands
      size_t close = format.find(c, at + 1);
      if (close == std::string::npos) close = format.size();
      out.append(format, at + 1, close - at - 1);
      at = close + 1;
    } else if (c == '/') {
      out += '-';
      ++at;
    } else if (const size_t n = FormatField(format, at, f, afterHour, out)) {
      at += n;
    } else {
      out += c;
      ++at;
    }
  }
  return out;
}

std::string DateToStr(TDateTime value) { return FormatDateTime("yyyy/m/d", value); }
std::string TimeToStr(TDateTime value) { return FormatDateTime("h:nn:ss", value); }

std::string DateTimeToStr(TDateTime value) {
  if (TimeOf(value) == 0) return DateToStr(value);
  return DateToStr(value) + " " + TimeToStr(value);
}
