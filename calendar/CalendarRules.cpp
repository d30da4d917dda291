#include "calendar/CalendarRules.h"

#include <algorithm>

#include "platform/GbkText.h"

namespace {

// 1 = Monday .. 7 = Sunday.
int IsoDayOfWeek(TDate date) { return (DayOfWeek(date) + 5) % 7 + 1; }

}  // namespace

TDate FirstShownDate(int year, int month, bool iso8601) {
  const TDate first = EncodeDate(year, month, 1);
  const int w = iso8601 ? IsoDayOfWeek(first) : DayOfWeek(first);
  // A month that starts on the first weekday still gets a leading week, so that the grid
  // always shows some trailing days above it.
  return w == 1 ? first - 7 : first - (w - 1);
}

TDateTime IncMonth(TDateTime date, int months) {
  int y = 0, m = 0, d = 0;
  DecodeDate(date, y, m, d);
  const int total = y * 12 + (m - 1) + months;
  const int year = total / 12;
  const int month = total % 12 + 1;
  return EncodeDate(year, month, std::min(d, DaysInMonth(year, month))) + TimeOf(date);
}

int IsoWeekNumber(TDate date) {
  // The week belongs to the year that holds its Thursday.
  const TDate thursday = DateOf(date) - IsoDayOfWeek(date) + 4;
  int y = 0, m = 0, d = 0;
  DecodeDate(thursday, y, m, d);
  const int dayOfYear = static_cast<int>(thursday - EncodeDate(y, 1, 1));
  return dayOfYear / 7 + 1;
}

int IsoWeeksInYear(int year) { return IsoWeekNumber(EncodeDate(year, 12, 28)); }

int CalendarWeekOfYear(TDate date, bool iso8601) {
  int w = IsoWeekNumber(date);
  if (iso8601) return w;
  int y = 0, m = 0, d = 0;
  DecodeDate(date, y, m, d);
  const bool sunday = DayOfWeek(date) == 1;
  // Early January days that ISO gives to the previous year open this year's count.
  if (w > 50 && m == 1) return sunday && d != 1 ? 2 : 1;
  const TDate newYear = EncodeDate(y, 1, 1);
  if (IsoWeekNumber(newYear) > 50 && DayOfWeek(newYear) != 1) ++w;
  if (w == 1 && m == 12) return IsoWeeksInYear(y) + 1;
  // A Sunday opens the next week here, where ISO ends the week with it.
  return sunday ? w + 1 : w;
}

std::string EnglishDayName(int index, int kind) {
  static const char* const kShort[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  static const char* const kLong[7] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                       "Thursday", "Friday", "Saturday"};
  const int i = ((index % 7) + 7) % 7;
  return kind == 0 ? kShort[i] : kLong[i];
}

std::string EnglishMonthName(int month, int kind) {
  static const char* const kShort[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  static const char* const kLong[12] = {"January",   "February", "March",    "April",
                                        "May",       "June",     "July",     "August",
                                        "September", "October",  "November", "December"};
  if (month < 1 || month > 12) return {};
  return kind == 0 ? kShort[month - 1] : kLong[month - 1];
}

std::string CutFestivalText(const std::string& text, int limit) {
  if (static_cast<int>(text.size()) <= limit) return text;
  // The cut falls on the last character boundary within limit - 2 bytes, so no character is
  // cut in two.
  const size_t keep = static_cast<size_t>(std::max(limit - 2, 0));
  size_t at = 0;
  for (;;) {
    const size_t next = at + static_cast<size_t>(std::max(1, GbkCharLength(text, at)));
    if (next > keep) break;
    at = next;
  }
  return text.substr(0, at) + "…";
}

std::string GanZhiYearMonthText(const TGanZhiIndex& index) {
  return GetCyclicalName(index.Year) + "(" + GetAnimalName(index.Year) + ")年" +
         GetCyclicalName(index.Month) + "月";
}
