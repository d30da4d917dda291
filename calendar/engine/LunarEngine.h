// The Chinese lunar calendar of the years 1900 to 2100: lunar dates with leap months, the 24
// solar terms, the sexagenary indices of year, month and day, and the Chinese names that belong
// to them. Pure functions over constant tables; the calendar control forwards to them.
#pragma once

#include <cstdint>
#include <string>

#include "platform/DateTime.h"

// The lunar date of a day; all fields zero outside 31 January 1900 .. 31 December 2100.
struct TLunarDate {
  std::int32_t Year = 0;
  std::int32_t Month = 0;
  std::int32_t Day = 0;
  bool IsLeap = false;  // the leap month that follows the ordinary month of the same number

  friend bool operator==(const TLunarDate&, const TLunarDate&) = default;
};

// Sexagenary indices, counted up from fixed origins and not reduced modulo 60: index i names
// stem i mod 10 and branch i mod 12.
struct TGanZhiIndex {
  std::int32_t Year = 0;
  std::int32_t Month = 0;
  std::int32_t Day = 0;

  friend bool operator==(const TGanZhiIndex&, const TGanZhiIndex&) = default;
};

// Table helpers; valid for the lunar years 1900 to 2100, any other year raises EConvertError.
int LeapMonth(int year);                  // 1..12, 0 = no leap month
int LeapMonthDays(int year);              // 0, 29 or 30
int LunarMonthDays(int year, int month);  // 29 or 30
int LunarYearDays(int year);              // 353..385

// Whole days of the date count; its time of day never changes the result.
TLunarDate SolarToLunar(TDateTime date);

// Fills `index`; leaves it as passed when the date lies before 1900.
void GetGanZhiIndex(TDateTime date, TGanZhiIndex& index);

// Instant of solar term `term` (0 = 小寒 .. 23 = 冬至) of `year`; any other term raises
// EConvertError.
TDateTime GetSolarTermDate(int year, int term);

// Name of the solar term that falls on the day `date` (a whole day), else empty.
std::string GetSolarTermName(TDateTime date);

// Name formatters; negative indices count back (the remainder is taken between 0 and b - 1).
std::string GetCyclicalName(int index);               // stem + branch, 4 bytes
std::string GetAnimalName(int index);                 // by index mod 12
std::string GetLunarMonthName(int month, bool leap);  // 正月, 闰七月, 十一月, 腊月
std::string GetLunarDayName(int day);                 // 初一 .. 三十, empty outside 1..30
std::string GetChineseYearText(int year);             // 二零零六年, empty unless four digits
std::string GetChineseWeekName(int weekday);          // 0 = 星期日 .. 6 = 星期六

// The engine as an object. The calendar control is one (the workbench reaches the engine
// through the control on the date-picker window); none of these reads or writes any state.
class TLunarEngine {
 public:
  TLunarDate SolarToLunar(TDateTime date) const { return ::SolarToLunar(date); }
  void GetGanZhiIndex(TDateTime date, TGanZhiIndex& index) const { ::GetGanZhiIndex(date, index); }
  TDateTime GetSolarTermDate(int year, int term) const { return ::GetSolarTermDate(year, term); }
  std::string GetSolarTermName(TDateTime date) const { return ::GetSolarTermName(date); }
  std::string GetCyclicalName(int index) const { return ::GetCyclicalName(index); }
  std::string GetAnimalName(int index) const { return ::GetAnimalName(index); }
  std::string GetLunarMonthName(int month, bool leap) const {
    return ::GetLunarMonthName(month, leap);
  }
  std::string GetLunarDayName(int day) const { return ::GetLunarDayName(day); }
  std::string GetChineseYearText(int year) const { return ::GetChineseYearText(year); }
  std::string GetChineseWeekName(int weekday) const { return ::GetChineseWeekName(weekday); }
};
