#include "calendar/engine/LunarEngine.h"

#include <algorithm>
#include <array>

#include "calendar/engine/LunarTables.h"
#include "platform/Exceptions.h"
#include "platform/Numbers.h"

namespace {

constexpr std::uint16_t Word(int year) { return LunarInfo[year - LunarFirstYear]; }

constexpr int LeapOf(int year) {
  int leap = Word(year) & 0xF;
  return leap == 15 ? 0 : leap;
}

// A leap month is long when the next year's word carries 15; 2100 has no leap month, so the
// table never needs a word past it.
constexpr int LeapDaysOf(int year) {
  if (LeapOf(year) == 0) return 0;
  return (Word(year + 1) & 0xF) == 15 ? 30 : 29;
}

// Month 1 (and anything below) is bit 15, month 12 bit 4; months past the word are short.
constexpr int MonthDaysOf(int year, int month) {
  std::uint32_t mask = month < 1 ? 0x8000u : (month >= 32 ? 0u : 0x10000u >> month);
  return (Word(year) & mask) != 0 ? 30 : 29;
}

constexpr int YearDaysOf(int year) {
  int days = 348;
  for (std::uint32_t bit = 0x8000u; bit >= 0x10u; bit >>= 1) {
    if (Word(year) & bit) ++days;
  }
  return days + LeapDaysOf(year);
}

// Days from 31 January 1900 to 正月初一 of each lunar year, plus the end of 2100. Built at compile
// time so a lookup is a binary search instead of a walk over up to 201 years.
constexpr int YearCount = LunarLastYear - LunarFirstYear + 1;
constexpr std::array<int, YearCount + 1> YearStarts = [] {
  std::array<int, YearCount + 1> starts{};
  for (int i = 0; i < YearCount; ++i) starts[i + 1] = starts[i] + YearDaysOf(LunarFirstYear + i);
  return starts;
}();

constexpr double FirstLunarDay = 32.0;   // 31 January 1900 = lunar 1900-1-1
constexpr double PastLastDay = 73416.0;  // 1 January 2101
static_assert(YearStarts[YearCount] > static_cast<int>(PastLastDay - FirstLunarDay) - 1,
              "the year table must cover the whole supported range");

void CheckYear(int year) {
  if (year < LunarFirstYear || year > LunarLastYear) {
    throw EConvertError("Lunar year out of range (" + std::to_string(year) + ")");
  }
}

std::string Numeral(int digit) { return ChineseNumerals[digit]; }

}  // namespace

int LeapMonth(int year) {
  CheckYear(year);
  return LeapOf(year);
}

int LeapMonthDays(int year) {
  CheckYear(year);
  return LeapDaysOf(year);
}

int LunarMonthDays(int year, int month) {
  CheckYear(year);
  return MonthDaysOf(year, month);
}

int LunarYearDays(int year) {
  CheckYear(year);
  return YearDaysOf(year);
}

TLunarDate SolarToLunar(TDateTime date) {
  if (!(date >= FirstLunarDay && date < PastLastDay)) return {};
  int offset = static_cast<int>(date - FirstLunarDay);

  // The last year that starts on or before the day.
  auto next = std::upper_bound(YearStarts.begin() + 1, YearStarts.end(), offset);
  int index = static_cast<int>(next - YearStarts.begin()) - 1;
  int year = LunarFirstYear + index;
  offset -= YearStarts[index];

  // Walk the months; the leap month comes right after the ordinary month of its number.
  const int leap = LeapOf(year);
  bool isLeap = false;
  int month = 0;
  int length = 0;
  while (offset >= 0) {
    ++month;
    length = MonthDaysOf(year, month);
    offset -= length;
    if (offset >= 0 && month == leap) {
      length = LeapDaysOf(year);
      offset -= length;
      isLeap = offset < 0;
    }
  }
  offset += length;

  TLunarDate result;
  result.Year = year;
  result.Month = month;
  result.Day = offset + 1;
  result.IsLeap = isLeap;
  return result;
}

TDateTime GetSolarTermDate(int year, int term) {
  if (term < 0 || term > 23) {
    throw EConvertError("Solar term index out of range (" + std::to_string(term) + ")");
  }
  // The tropical year in milliseconds needs more than a double's precision over two centuries;
  // the sum is then held as a double and rounded half to even like every other rounding here.
  constexpr long double YearMs = 31556925974.7L;
  const double ms = static_cast<double>(static_cast<long double>(TermInfo[term]) * 60000.0L +
                                        (static_cast<long double>(year) - 1900.0L) * YearMs);
  const long double wholeMs = static_cast<long double>(RoundHalfEven(ms));
  // 小寒 1900 fell on 6 January 1900 at 02:05:00.000.
  constexpr double Base = 7.0 + (2.0 * 60.0 + 5.0) / 1440.0;
  const long double msPerDay = MSecsPerDay;
  return static_cast<double>((Base * msPerDay + wholeMs) / msPerDay);
}

void GetGanZhiIndex(TDateTime date, TGanZhiIndex& index) {
  int year = 0, month = 0, day = 0;
  DecodeDate(date, year, month, day);
  if (year < LunarFirstYear) return;
  const TDateTime term = GetSolarTermDate(year, 2 * (month - 1));
  // The year turns at the instant of 立春, the month at the start of its opening term's day.
  const bool beforeSpring = month == 1 || (month == 2 && date < term);
  index.Year = year - (beforeSpring ? 1865 : 1864);
  index.Month = (year - 1900) * 12 + month + 11 + (DateOf(term) <= date ? 1 : 0);
  // 1 January 1900 is 甲戌, index 10.
  index.Day = static_cast<std::int32_t>(Trunc(date - 2.0)) + 10;
}

std::string GetSolarTermName(TDateTime date) {
  int year = 0, month = 0, day = 0;
  DecodeDate(date, year, month, day);
  const int first = 2 * (month - 1);
  for (int term = first; term <= first + 1; ++term) {
    if (DateOf(GetSolarTermDate(year, term)) == date) return SolarTermNames[term];
  }
  return {};
}

std::string GetCyclicalName(int index) {
  return std::string(StemNames[FloorMod(index, 10)]) + BranchNames[FloorMod(index, 12)];
}

std::string GetAnimalName(int index) { return AnimalNames[FloorMod(index, 12)]; }

std::string GetLunarMonthName(int month, bool leap) {
  std::string name;
  if (month == 1) {
    name = "正";
  } else if (month >= 2 && month <= 10) {
    name = Numeral(month);
  } else if (month == 11) {
    name = "十一";
  } else if (month == 12) {
    name = "腊";
  }
  if (leap) name = "闰" + name;
  return name + "月";
}

std::string GetLunarDayName(int day) {
  if (day >= 1 && day <= 10) return "初" + Numeral(day);
  if (day >= 11 && day <= 19) return "十" + Numeral(day - 10);
  if (day == 20) return "二十";
  if (day >= 21 && day <= 29) return "廿" + Numeral(day - 20);
  if (day == 30) return "三十";
  return {};
}

std::string GetChineseYearText(int year) {
  if (year < 1000 || year > 9999) return {};
  auto digit = [](int value) { return value == 0 ? std::string("零") : Numeral(value); };
  return Numeral(year / 1000) + digit(year / 100 % 10) + digit(year / 10 % 10) + digit(year % 10) +
         "年";
}

std::string GetChineseWeekName(int weekday) { return "星期" + Numeral(FloorMod(weekday, 7)); }
