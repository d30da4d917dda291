#include <gtest/gtest.h>

#include <utility>

#include "calendar/engine/LunarEngine.h"
#include "platform/Exceptions.h"
#include "tests/calendar/CalendarTestSupport.h"

namespace {

void ExpectLunar(TDateTime date, const TLunarDate& expected) {
  TLunarDate actual = SolarToLunar(date);
  EXPECT_EQ(actual, expected) << ShowDay(date) << " gave " << Show(actual) << ", expected "
                              << Show(expected);
}

// Stem and branch names of the three indices, as the calendar labels read them.
void ExpectGanZhi(const TGanZhiIndex& index, const char* year, const char* month, const char* day) {
  EXPECT_TRUE(SameGbk(GetCyclicalName(index.Year), year)) << "year index " << index.Year;
  EXPECT_TRUE(SameGbk(GetCyclicalName(index.Month), month)) << "month index " << index.Month;
  EXPECT_TRUE(SameGbk(GetCyclicalName(index.Day), day)) << "day index " << index.Day;
}

TGanZhiIndex GanZhi(TDateTime date) {
  TGanZhiIndex index;
  GetGanZhiIndex(date, index);
  return index;
}

}  // namespace

TEST(SolarToLunar, RangeEnds) {
  ExpectLunar(Day(1900, 1, 30), TLunarDate{});
  ExpectLunar(At(1900, 1, 30, 23, 59, 59, 999), TLunarDate{});
  ExpectLunar(Day(1900, 1, 31), Lunar(1900, 1, 1));
  ExpectLunar(Day(1900, 2, 1), Lunar(1900, 1, 2));
  ExpectLunar(At(2100, 12, 31, 23, 59), Lunar(2100, 12, 1));
  ExpectLunar(Day(2101, 1, 1), TLunarDate{});
  ExpectLunar(-1000.0, TLunarDate{});
  ExpectLunar(1e9, TLunarDate{});
}

TEST(SolarToLunar, LeapMonths) {
  // 1900 has a leap 8th month, so its 12th month ends on 18 February 1901.
  ExpectLunar(Day(1901, 2, 18), Lunar(1900, 12, 30));
  ExpectLunar(Day(1901, 2, 19), Lunar(1901, 1, 1));
  // 2006: the leap 7th month follows the ordinary 7th.
  ExpectLunar(Day(2006, 8, 23), Lunar(2006, 7, 30));
  ExpectLunar(Day(2006, 8, 24), Lunar(2006, 7, 1, true));
  ExpectLunar(Day(2006, 9, 21), Lunar(2006, 7, 29, true));
  ExpectLunar(Day(2006, 9, 22), Lunar(2006, 8, 1));
  // 2023: a leap 2nd month.
  ExpectLunar(Day(2023, 3, 22), Lunar(2023, 2, 1, true));
  ExpectLunar(Day(2023, 4, 19), Lunar(2023, 2, 29, true));
  ExpectLunar(Day(2023, 4, 20), Lunar(2023, 3, 1));
}

TEST(SolarToLunar, YearTurnsAndTimeOfDay) {
  ExpectLunar(Day(2006, 12, 10), Lunar(2006, 10, 20));
  ExpectLunar(Day(2012, 1, 22), Lunar(2011, 12, 29));
  ExpectLunar(Day(2012, 1, 23), Lunar(2012, 1, 1));
  ExpectLunar(At(2012, 1, 22, 23, 59, 59, 999), Lunar(2011, 12, 29));
  ExpectLunar(At(2006, 8, 24, 12, 0), Lunar(2006, 7, 1, true));
}

TEST(LunarTable, HelpersReadTheYearWords) {
  EXPECT_EQ(LeapMonth(1900), 8);
  EXPECT_EQ(LeapMonthDays(1900), 29);
  EXPECT_EQ(LeapMonth(2006), 7);
  EXPECT_EQ(LeapMonth(2023), 2);
  // 1906's leap 4th month is long: 1907's word carries 15, which itself means no leap month.
  EXPECT_EQ(LeapMonth(1906), 4);
  EXPECT_EQ(LeapMonthDays(1906), 30);
  EXPECT_EQ(LeapMonth(1907), 0);
  EXPECT_EQ(LeapMonthDays(1907), 0);
  EXPECT_EQ(LeapMonth(2100), 0);
  EXPECT_EQ(LeapMonthDays(2100), 0);
  // 1900 = 4BD8: months 2, 5, 7, 8, 9, 10 and 12 are long, plus a 29-day leap month.
  EXPECT_EQ(LunarMonthDays(1900, 1), 29);
  EXPECT_EQ(LunarMonthDays(1900, 2), 30);
  EXPECT_EQ(LunarMonthDays(1900, 12), 30);
  EXPECT_EQ(LunarYearDays(1900), 348 + 7 + 29);
  // Months below 1 read the first month's bit.
  EXPECT_EQ(LunarMonthDays(1900, 0), LunarMonthDays(1900, 1));
  EXPECT_EQ(LunarMonthDays(1901, -5), LunarMonthDays(1901, 1));
  for (int year = 1900; year <= 2100; ++year) {
    EXPECT_GE(LunarYearDays(year), 353) << year;
    EXPECT_LE(LunarYearDays(year), 385) << year;
  }
}

TEST(LunarTable, YearsOutsideTheTableAreRefused) {
  EXPECT_THROW(LunarYearDays(1899), EConvertError);
  EXPECT_THROW(LunarYearDays(2101), EConvertError);
  EXPECT_THROW(LeapMonth(0), EConvertError);
  EXPECT_THROW(LeapMonthDays(-5), EConvertError);
  EXPECT_THROW(LunarMonthDays(3000, 1), EConvertError);
}

TEST(SolarTerms, InstantsToTheMillisecond) {
  struct Case {
    int year, term;
    const char* expected;
  } cases[] = {
      {1900, 0, "1900-01-06 02:05:00.000"},
      {2012, 2, "2012-02-04 16:53:49.166"},
      {2012, 7, "2012-04-20 00:27:49.166"},
      {2006, 2, "2006-02-04 06:01:13.318"},
      {2100, 23, "2100-12-22 01:16:14.940"},
      // Exactly half a millisecond: halves go to the even neighbour, up here and down below.
      {1905, 0, "1905-01-06 07:08:49.874"},
      {1915, 0, "1915-01-06 17:16:29.620"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ShowDay(GetSolarTermDate(c.year, c.term)), c.expected) << c.year << "/" << c.term;
  }
}

TEST(SolarTerms, EachMonthHoldsItsTwoTerms) {
  for (int year = 1900; year <= 2100; ++year) {
    for (int term = 0; term < 24; ++term) {
      TDateTime instant = GetSolarTermDate(year, term);
      int y = 0, m = 0, d = 0;
      DecodeDate(instant, y, m, d);
      EXPECT_EQ(y, year) << year << "/" << term;
      EXPECT_EQ(m, term / 2 + 1) << year << "/" << term << " at " << ShowDay(instant);
      if (term > 0) {
        double gap = instant - GetSolarTermDate(year, term - 1);
        EXPECT_TRUE(gap > 14.0 && gap < 16.0) << year << "/" << term << ": " << gap << " days";
      }
    }
  }
}

TEST(SolarTerms, IndexOutsideTheTableIsRefused) {
  EXPECT_THROW(GetSolarTermDate(2000, 24), EConvertError);
  EXPECT_THROW(GetSolarTermDate(2000, -1), EConvertError);
  // Years are not limited: the formula simply extends.
  EXPECT_EQ(ShowDay(GetSolarTermDate(2101, 0)).substr(0, 10), "2101-01-05");
}

TEST(SolarTerms, NamesOnWholeDaysOnly) {
  EXPECT_TRUE(SameGbk(GetSolarTermName(Day(2012, 2, 4)), "立春"));
  EXPECT_TRUE(SameGbk(GetSolarTermName(At(2012, 2, 4, 12, 0)), ""));
  EXPECT_TRUE(SameGbk(GetSolarTermName(Day(2012, 2, 3)), ""));
  EXPECT_TRUE(SameGbk(GetSolarTermName(Day(2012, 4, 20)), "谷雨"));
  EXPECT_TRUE(SameGbk(GetSolarTermName(Day(1900, 1, 6)), "小寒"));
  EXPECT_TRUE(SameGbk(GetSolarTermName(Day(2100, 12, 22)), "冬至"));
}

TEST(GanZhi, Origins) {
  TGanZhiIndex index = GanZhi(Day(1900, 1, 1));
  EXPECT_EQ(index, (TGanZhiIndex{35, 12, 10}));
  ExpectGanZhi(index, "己亥", "丙子", "甲戌");
  ExpectGanZhi(GanZhi(Day(2006, 12, 10)), "丙戌", "庚子", "癸酉");
  ExpectGanZhi(GanZhi(Day(2012, 2, 3)), "辛卯", "辛丑", "甲午");
}

TEST(GanZhi, YearTurnsAtTheSpringInstantMonthAtItsDay) {
  // 立春 2012 falls at 16:53:49.166 on 4 February.
  ExpectGanZhi(GanZhi(Day(2012, 2, 4)), "辛卯", "壬寅", "乙未");
  ExpectGanZhi(GanZhi(At(2012, 2, 4, 16, 53, 49, 165)), "辛卯", "壬寅", "乙未");
  ExpectGanZhi(GanZhi(At(2012, 2, 4, 16, 53, 49, 167)), "壬辰", "壬寅", "乙未");
  ExpectGanZhi(GanZhi(At(2012, 2, 4, 18, 0)), "壬辰", "壬寅", "乙未");
  // January always belongs to the previous year, before and after 小寒.
  EXPECT_EQ(GanZhi(Day(2012, 1, 1)).Year, 2012 - 1865);
  EXPECT_EQ(GanZhi(Day(2012, 1, 31)).Year, 2012 - 1865);
}

TEST(GanZhi, DatesBefore1900LeaveTheRecordAlone) {
  TGanZhiIndex index{-7, 99, 12345};
  GetGanZhiIndex(Day(1899, 12, 31), index);
  EXPECT_EQ(index, (TGanZhiIndex{-7, 99, 12345}));
  GetGanZhiIndex(-400.0, index);
  EXPECT_EQ(index, (TGanZhiIndex{-7, 99, 12345}));
}

TEST(Names, CyclicalAndAnimal) {
  EXPECT_TRUE(SameGbk(GetCyclicalName(0), "甲子"));
  EXPECT_TRUE(SameGbk(GetCyclicalName(59), "癸亥"));
  EXPECT_TRUE(SameGbk(GetCyclicalName(60), "甲子"));
  EXPECT_TRUE(SameGbk(GetCyclicalName(-1), "癸亥"));
  EXPECT_TRUE(SameGbk(GetCyclicalName(-61), "癸亥"));
  EXPECT_TRUE(SameGbk(GetAnimalName(2012 - 1864), "龙"));
  EXPECT_TRUE(SameGbk(GetAnimalName(35), "猪"));
  EXPECT_TRUE(SameGbk(GetAnimalName(-1), "猪"));
  EXPECT_EQ(GetCyclicalName(17).size(), 4u);
}

TEST(Names, LunarMonthsAndDays) {
  const std::pair<int, const char*> months[] = {{1, "正月"},  {10, "十月"}, {11, "十一月"},
                                                {12, "腊月"}, {0, "月"},    {13, "月"}};
  for (const auto& [month, name] : months) {
    EXPECT_TRUE(SameGbk(GetLunarMonthName(month, false), name)) << month;
  }
  EXPECT_TRUE(SameGbk(GetLunarMonthName(7, true), "闰七月"));
  EXPECT_TRUE(SameGbk(GetLunarMonthName(13, true), "闰月"));
  const std::pair<int, const char*> days[] = {
      {1, "初一"},  {10, "初十"}, {11, "十一"}, {15, "十五"}, {20, "二十"},
      {23, "廿三"}, {30, "三十"}, {0, ""},      {31, ""},     {-3, ""}};
  for (const auto& [day, name] : days) EXPECT_TRUE(SameGbk(GetLunarDayName(day), name)) << day;
}

TEST(Names, YearsAndWeekdays) {
  // Only four-digit years have a numeral text.
  const std::pair<int, const char*> years[] = {
      {1900, "一九零零年"}, {2006, "二零零六年"}, {2008, "二零零八年"}, {2010, "二零一零年"},
      {2100, "二一零零年"}, {1000, "一零零零年"}, {9999, "九九九九年"}, {999, ""},
      {10000, ""},          {-2006, ""}};
  for (const auto& [year, text] : years) {
    EXPECT_TRUE(SameGbk(GetChineseYearText(year), text)) << year;
  }
  const std::pair<int, const char*> weekdays[] = {
      {0, "星期日"}, {1, "星期一"}, {6, "星期六"}, {7, "星期日"}, {-1, "星期六"}};
  for (const auto& [weekday, name] : weekdays) {
    EXPECT_TRUE(SameGbk(GetChineseWeekName(weekday), name)) << weekday;
  }
}
