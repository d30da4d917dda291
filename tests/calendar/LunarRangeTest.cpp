// Walks every day of the supported range and checks that the lunar dates and sexagenary indices
// fit together the way a calendar must.
#include <gtest/gtest.h>

#include <map>
#include <utility>

#include "calendar/engine/LunarEngine.h"
#include "tests/calendar/CalendarTestSupport.h"

namespace {

constexpr double FirstDay = 32.0;    // 31 January 1900
constexpr double LastDay = 73415.0;  // 31 December 2100

// Days of the month of `date`, as the table has it.
int TableLength(const TLunarDate& date) {
  return date.IsLeap ? LeapMonthDays(date.Year) : LunarMonthDays(date.Year, date.Month);
}

}  // namespace

TEST(LunarRange, DaysFollowOneAnother) {
  TLunarDate previous = SolarToLunar(FirstDay);
  ASSERT_EQ(previous, Lunar(1900, 1, 1));
  std::map<int, int> yearLengths;  // lunar year -> days seen
  std::map<int, int> leapSeen;     // lunar year -> leap month seen
  yearLengths[1900] = 1;
  int failures = 0;
  for (double date = FirstDay + 1; date <= LastDay && failures < 10; ++date) {
    const TLunarDate today = SolarToLunar(date);
    const std::string where = ShowDay(date) + ": " + Show(previous) + " -> " + Show(today);
    ++yearLengths[today.Year];
    if (today.IsLeap) leapSeen[today.Year] = today.Month;

    bool ok;
    if (today.Day != 1) {
      ok = today.Year == previous.Year && today.Month == previous.Month &&
           today.IsLeap == previous.IsLeap && today.Day == previous.Day + 1;
    } else {
      const bool lengthOk =
          (previous.Day == 29 || previous.Day == 30) && previous.Day == TableLength(previous);
      bool orderOk;
      if (today.IsLeap) {  // the leap month follows its ordinary month
        orderOk = today.Year == previous.Year && today.Month == previous.Month &&
                  !previous.IsLeap && LeapMonth(today.Year) == today.Month;
      } else if (previous.Month == 12) {
        orderOk = today.Year == previous.Year + 1 && today.Month == 1;
      } else {
        orderOk = today.Year == previous.Year && today.Month == previous.Month + 1;
      }
      ok = lengthOk && orderOk;
    }
    if (!ok) ++failures;
    EXPECT_TRUE(ok) << where;
    // A time of day never moves the lunar date.
    EXPECT_EQ(SolarToLunar(date + 0.75), today) << where;
    previous = today;
  }
  // Whole years add up to the table's year lengths, and every leap month of the table occurs.
  for (int year = 1900; year < 2100; ++year) {
    EXPECT_EQ(yearLengths[year], LunarYearDays(year)) << year;
    if (LeapMonth(year) != 0) {
      EXPECT_EQ(leapSeen[year], LeapMonth(year)) << year;
    } else {
      EXPECT_EQ(leapSeen.count(year), 0u) << year;
    }
  }
}

TEST(LunarRange, NewYearFallsBetweenLateJanuaryAndMidFebruary) {
  for (int year = 1900; year <= 2100; ++year) {
    int seen = 0;
    for (double date = Day(year, 1, 21); date <= Day(year, 2, 20); ++date) {
      TLunarDate lunar = SolarToLunar(date);
      if (lunar.Month == 1 && lunar.Day == 1 && !lunar.IsLeap) {
        EXPECT_EQ(lunar.Year, year) << ShowDay(date);
        ++seen;
      }
    }
    EXPECT_EQ(seen, 1) << year;
  }
}

TEST(LunarRange, SexagenaryIndicesTurnOnTheirTerms) {
  TGanZhiIndex previous;
  GetGanZhiIndex(FirstDay - 1, previous);
  int failures = 0;
  for (double date = FirstDay; date <= LastDay && failures < 10; ++date) {
    TGanZhiIndex today;
    GetGanZhiIndex(date, today);
    const std::string where = ShowDay(date);
    // The day index grows by one a day.
    if (today.Day != previous.Day + 1) ++failures;
    EXPECT_EQ(today.Day, previous.Day + 1) << where;
    // The month turns on the day of each month-opening term (the even ones).
    const std::string term = GetSolarTermName(date);
    const bool opensMonth = (term == "小寒" || term == "立春" || term == "惊蛰" || term == "清明" ||
                             term == "立夏" || term == "芒种" || term == "小暑" || term == "立秋" ||
                             term == "白露" || term == "寒露" || term == "立冬" || term == "大雪");
    if (today.Month != previous.Month + (opensMonth ? 1 : 0)) ++failures;
    EXPECT_EQ(today.Month, previous.Month + (opensMonth ? 1 : 0)) << where;
    // The year turns during the day of 立春, so midnight indices show it the day after.
    const bool afterSpring = GetSolarTermName(date - 1) == "立春";
    if (today.Year != previous.Year + (afterSpring ? 1 : 0)) ++failures;
    EXPECT_EQ(today.Year, previous.Year + (afterSpring ? 1 : 0)) << where;
    previous = today;
  }
}
