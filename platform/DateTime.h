// Dates and times as the program's runtime kept them: a double counting days since
// 30 December 1899, the fraction being the time of day.
#pragma once

#include <string>

using TDateTime = double;
using TDate = double;

constexpr double MSecsPerDay = 86400000.0;
constexpr int DateDelta = 693594;  // days from 1 January 0001 to 30 December 1899

bool IsLeapYear(int year);
int DaysInMonth(int year, int month);

// Raise EConvertError naming the parts, "日期「2008-2-31」无效" / "时间「25:0:0.0」无效".
TDateTime EncodeDate(int year, int month, int day);
TDateTime EncodeTime(int hour, int minute, int second, int millisecond);
bool TryEncodeDate(int year, int month, int day, TDateTime& result);
bool TryEncodeTime(int hour, int minute, int second, int millisecond, TDateTime& result);
TDateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second, int ms);

// Decoding first rounds the value to the whole millisecond (ties to even), so a time that is
// 0.4 ms short of a minute decodes as that minute.
void DecodeDate(TDateTime value, int& year, int& month, int& day);
void DecodeTime(TDateTime value, int& hour, int& minute, int& second, int& millisecond);
void DecodeDateTime(TDateTime value, int& year, int& month, int& day, int& hour, int& minute,
                    int& second, int& millisecond);

// 1 = Sunday .. 7 = Saturday.
int DayOfWeek(TDateTime value);
// The day and the time of day that DecodeDateTime sees: both taken after rounding to the
// millisecond; before 1899-12-30 the day is the whole part toward zero and the time the absolute
// fraction, as the runtime stored them.
TDateTime DateOf(TDateTime value);
TDateTime TimeOf(TDateTime value);

// Current moment, date and time of the replaceable clock (platform/Clock.h).
TDateTime Now();
TDateTime Date();
TDateTime Time();

// Format specifiers of the runtime the windows use: yyyy yy m mm d dd ddd dddd h hh n nn s ss
// z zzz am/pm, '/' date separator '-', ':' time separator, "quoted" and 'quoted' literals.
// ddd and dddd give Chinese week-day names (星期日 .. 星期六).
std::string FormatDateTime(const std::string& format, TDateTime value);
std::string DateToStr(TDateTime value);      // yyyy-m-d
std::string TimeToStr(TDateTime value);      // h:nn:ss
std::string DateTimeToStr(TDateTime value);  // date, blank, time (time left out at midnight)
