#include <gtest/gtest.h>

#include "calendar/engine/FestivalList.h"
#include "platform/Exceptions.h"
#include "tests/calendar/CalendarTestSupport.h"

namespace {

constexpr TColor Red = 0x000000FF;
constexpr TColor Purple = 0x00800080;
constexpr TColor Navy = 0x00800000;

void ExpectFestival(const TFestivalList& list, TDate date, const char* text, TColor colour) {
  TColor actual = 0;
  EXPECT_TRUE(SameGbk(GetFestivalText(list, date, actual), text)) << ShowDay(date);
  EXPECT_EQ(actual, colour) << ShowDay(date);
  EXPECT_TRUE(SameGbk(GetFestivalText(list, date), text)) << ShowDay(date);
}

}  // namespace

TEST(FestivalList, BuiltInRowsLoadWithLaterDuplicatesWinning) {
  TFestivalList list;
  EXPECT_EQ(list.SolarFestivals().Count(), 99);
  EXPECT_EQ(list.LunarFestivals().Count(), 13);
  EXPECT_EQ(list.WeekFestivals().Count(), 12);
  EXPECT_EQ(list.SolarMarks().Count() + list.LunarMarks().Count() + list.WeekMarks().Count(), 0);

  TColor colour = 0;
  EXPECT_TRUE(SameGbk(list.GetSolarFestival(Day(2005, 10, 1), colour), "国际音乐日"));
  EXPECT_EQ(colour, Red);
  EXPECT_TRUE(SameGbk(list.GetSolarFestival(Day(2005, 3, 21), colour), "世界儿歌日"));
  EXPECT_TRUE(SameGbk(list.GetSolarFestival(Day(2005, 10, 8), colour), "世界视觉日"));
  EXPECT_TRUE(SameGbk(list.GetSolarFestival(Day(2005, 1, 1), colour), "新年元旦"));
  EXPECT_TRUE(SameGbk(list.GetSolarFestival(Day(2005, 9, 18), colour), "国耻日 九·一八事变纪念日"));
  EXPECT_TRUE(SameGbk(list.GetSolarFestival(Day(2005, 1, 2), colour), ""));
  EXPECT_EQ(colour, NoFestivalColor);

  EXPECT_TRUE(SameGbk(list.GetLunarFestival(Lunar(2006, 1, 15), colour), "元宵节 中国情人节"));
  EXPECT_EQ(colour, Purple);
  EXPECT_TRUE(SameGbk(list.GetLunarFestival(Lunar(2006, 1, 0), colour), "除夕"));
  EXPECT_TRUE(SameGbk(list.GetLunarFestival(Lunar(2006, 7, 7, true), colour), "七夕中国情人节"));

  // Entries stay sorted by key.
  for (int i = 1; i < list.SolarFestivals().Count(); ++i) {
    EXPECT_LT(list.SolarFestivals().Names(i - 1), list.SolarFestivals().Names(i));
  }
}

TEST(FestivalList, FestivalTextsOfKnownDays) {
  TFestivalList list;
  // The last day of lunar month 12 carries the eve of the new year.
  ExpectFestival(list, Day(2006, 1, 28), "除夕", Purple);
  // 春节 and the last Sunday of January, joined by one blank; the first kind gives the colour.
  ExpectFestival(list, Day(2006, 1, 29), "春节 世界麻风日", Purple);
  // Lunar 8-15 on Monday 1 October: lunar, solar, week in that order.
  ExpectFestival(list, Day(2001, 10, 1), "中秋节 国际音乐日 国际住房日", Purple);
  ExpectFestival(list, Day(2006, 5, 14), "国际母亲节", Navy);
  ExpectFestival(list, Day(2006, 11, 23), "感恩节", Navy);
  ExpectFestival(list, Day(2006, 5, 1), "国际劳动节", Red);
  ExpectFestival(list, Day(2006, 5, 2), "", NoFestivalColor);
  // Before the engine's range, but the next day is lunar 1900-1-1.
  ExpectFestival(list, Day(1900, 1, 30), "除夕", Purple);
  ExpectFestival(list, Day(1900, 1, 31), "春节", Purple);
  // The range's last day: the next day has no lunar date, which is no eve.
  ExpectFestival(list, Day(2100, 12, 31), "", NoFestivalColor);
}

TEST(FestivalList, LeapMonthsRepeatTheirOrdinaryMonth) {
  TFestivalList list;
  ASSERT_TRUE(list.AddFestival(1, "0800", 0x123456, "八月前夕"));
  // 30 August 2006 is the 7th of the leap 7th month.
  ExpectFestival(list, Day(2006, 7, 31), "七夕中国情人节", Purple);
  ExpectFestival(list, Day(2006, 8, 30), "七夕中国情人节", Purple);
  // 23 August 2006 (7-30) is followed by the leap 7th month: no change of month number, no eve.
  ExpectFestival(list, Day(2006, 8, 23), "", NoFestivalColor);
  // The leap month's last day is followed by month 8.
  ExpectFestival(list, Day(2006, 9, 21), "八月前夕", 0x123456);
}

TEST(FestivalList, AddFestivalReplacesByKeyAndRefusesBadInput) {
  TFestivalList list;
  EXPECT_FALSE(list.AddFestival(3, "0101", Red, "x"));
  EXPECT_FALSE(list.AddFestival(-1, "0101", Red, "x"));
  EXPECT_FALSE(list.AddFestival(0, "", Red, "x"));
  EXPECT_FALSE(list.AddFestival(0, "0101", Red, ""));
  EXPECT_EQ(list.SolarFestivals().Count(), 99);

  EXPECT_TRUE(list.AddFestival(0, "0101", 0x00FF00, "  元旦  "));
  EXPECT_EQ(list.SolarFestivals().Count(), 99);
  ExpectFestival(list, Day(2007, 1, 1), "元旦", 0x00FF00);

  EXPECT_TRUE(list.AddFestival(0, "0102", Red, "新日"));
  EXPECT_EQ(list.SolarFestivals().Count(), 100);
  EXPECT_TRUE(SameGbk(list.SolarFestivals().Strings(list.SolarFestivals().IndexOfName("0102")),
                      "0102=新日"));
}

TEST(FestivalList, WeekRulesFromStartAndFromEnd) {
  EXPECT_EQ(TFestivalList::WeekOfMonthFromEnd(Day(2006, 1, 31)), 1);
  EXPECT_EQ(TFestivalList::WeekOfMonthFromEnd(Day(2006, 1, 25)), 1);
  EXPECT_EQ(TFestivalList::WeekOfMonthFromEnd(Day(2006, 1, 24)), 2);
  EXPECT_EQ(TFestivalList::WeekOfMonthFromEnd(Day(2006, 1, 1)), 5);
  EXPECT_EQ(TFestivalList::WeekOfMonthFromEnd(Day(2008, 2, 22)), 2);  // leap February
  EXPECT_EQ(TFestivalList::WeekOfMonthFromEnd(Day(2008, 2, 23)), 1);
  EXPECT_EQ(TFestivalList::WeekOfMonthFromEnd(Day(1900, 2, 22)), 1);  // 1900 is no leap year
  EXPECT_EQ(TFestivalList::WeekOfMonthFromEnd(Day(2000, 2, 22)), 2);  // 2000 is
  EXPECT_EQ(TFestivalList::WeekOfMonthFromEnd(Day(2009, 2, 1)), 4);

  TFestivalList list;
  auto week = [&list](TDate date, TColor& colour) { return list.GetWeekFestival(date, colour); };
  TColor colour = 0;
  // 22 February 2009 is both the fourth Sunday (0240) and the last (0250): the last wins.
  list.AddFestival(2, "0240", 0x111111, "第四个星期日");
  list.AddFestival(2, "0250", 0x222222, "最后一个星期日");
  EXPECT_TRUE(SameGbk(week(Day(2009, 2, 22), colour), "最后一个星期日"));
  EXPECT_EQ(colour, 0x222222u);
  // 22 February 2004 is the fourth of five Sundays.
  EXPECT_TRUE(SameGbk(week(Day(2004, 2, 22), colour), "第四个星期日"));
  EXPECT_EQ(colour, 0x111111u);
  EXPECT_TRUE(SameGbk(week(Day(2004, 2, 29), colour), "最后一个星期日"));
  EXPECT_TRUE(SameGbk(week(Day(2004, 2, 15), colour), ""));
  EXPECT_EQ(colour, NoFestivalColor);
  // W = 6: second-to-last.
  list.AddFestival(2, "0160", 0x333333, "倒数第二个星期日");
  EXPECT_TRUE(SameGbk(week(Day(2006, 1, 22), colour), "倒数第二个星期日"));
  EXPECT_EQ(colour, 0x333333u);
  // Sunday 24 September 2006 is the fourth and also the last of the month.
  ExpectFestival(list, Day(2006, 9, 24), "世界海事日", Navy);
  ExpectFestival(list, Day(2007, 9, 23), "国际聋人节 世界儿童日", Navy);
}

TEST(FestivalList, MarksByLunarThenSolarThenWeek) {
  TFestivalList list;
  for (double date = Day(2006, 1, 1); date <= Day(2007, 12, 31); ++date) {
    ASSERT_EQ(GetMarkColor(list, date), NoFestivalColor) << ShowDay(date);
  }
  // 1 October 2001: lunar 8-15, solar 1001, first Monday of October.
  list.WeekMarks().Add("1011", 0x000003);
  EXPECT_EQ(GetMarkColor(list, Day(2001, 10, 1)), 0x000003u);
  list.SolarMarks().Add("1001", 0x000002);
  EXPECT_EQ(GetMarkColor(list, Day(2001, 10, 1)), 0x000002u);
  list.LunarMarks().Add("0815", 0x000001);
  EXPECT_EQ(GetMarkColor(list, Day(2001, 10, 1)), 0x000001u);
  EXPECT_EQ(list.GetWeekMark(Day(2001, 10, 1)), 0x000003u);
  EXPECT_EQ(GetMarkColor(list, Day(2001, 10, 2)), NoFestivalColor);
  // Week marks: the rule from the end wins.
  list.WeekMarks().Add("0240", 0x000004);
  list.WeekMarks().Add("0250", 0x000005);
  EXPECT_EQ(list.GetWeekMark(Day(2009, 2, 22)), 0x000005u);
  EXPECT_EQ(list.GetWeekMark(Day(2004, 2, 22)), 0x000004u);
}

TEST(FestivalList, AssignAndSettersCopyContents) {
  TFestivalList source;
  source.AddFestival(0, "0102", 0x010203, "测试日");
  source.SolarMarks().Add("0102", 0x040506);

  TFestivalList copy;
  copy.Assign(&source);
  TColor colour = 0;
  EXPECT_TRUE(SameGbk(copy.GetSolarFestival(Day(2006, 1, 2), colour), "测试日"));
  EXPECT_EQ(colour, 0x010203u);
  EXPECT_EQ(copy.GetSolarMark(Day(2006, 1, 2)), 0x040506u);
  // The two lists stay separate.
  source.AddFestival(0, "0102", 0x010203, "改过");
  source.SolarMarks().Clear();
  EXPECT_TRUE(SameGbk(copy.GetSolarFestival(Day(2006, 1, 2), colour), "测试日"));
  EXPECT_EQ(copy.GetSolarMark(Day(2006, 1, 2)), 0x040506u);

  copy.Assign(nullptr);
  EXPECT_EQ(copy.GetSolarMark(Day(2006, 1, 2)), 0x040506u);

  TFestivalStrings marks;
  marks.Add("0815", 0x0000AA);
  copy.SetMarks(1, marks);
  marks.Clear();
  EXPECT_EQ(GetMarkColor(copy, Day(2001, 10, 1)), 0x0000AAu);
  TFestivalStrings none;
  copy.SetFestivals(1, none);
  ExpectFestival(copy, Day(2006, 1, 29), "世界麻风日", Navy);
  copy.SetFestivals(5, none);  // no such list: nothing changes
  EXPECT_EQ(copy.SolarFestivals().Count(), 100);
}

TEST(FestivalStrings, SortedCaseBlindAndChecked) {
  TFestivalStrings list;
  list.Add("b=2", 2);
  list.Add("A=1", 1);
  list.Add("c=3", 3);
  EXPECT_EQ(list.Add("a=1", 9), 0);  // already there, case ignored
  ASSERT_EQ(list.Count(), 3);
  EXPECT_EQ(list.Strings(0), "A=1");
  EXPECT_EQ(list.Colors(0), 1u);
  EXPECT_EQ(list.Strings(2), "c=3");
  EXPECT_EQ(list.IndexOf("B=2"), 1);
  EXPECT_EQ(list.IndexOfName("C"), 2);
  EXPECT_EQ(list.IndexOfName("d"), -1);
  EXPECT_EQ(list.Names(1), "b");
  list.Delete(1);
  EXPECT_EQ(list.IndexOf("b=2"), -1);
  EXPECT_THROW(list.Strings(2), EListError);
  EXPECT_THROW(list.Colors(-1), EListError);
  EXPECT_THROW(list.Delete(5), EListError);
}
