// Date rules of the month grid that need no window.
#include <gtest/gtest.h>

#include "calendar/CalendarRules.h"
#include "platform/GbkText.h"
#include "tests/calendar/CalendarTestSupport.h"

TEST(CalendarRules, WeekOfYearCountsSundayWeeksFromTheFirstOfJanuary) {
  // 2006 opens on a Sunday: that day is week 1, the next Sunday opens week 2.
  EXPECT_EQ(CalendarWeekOfYear(Day(2006, 1, 1), false), 1);
  EXPECT_EQ(CalendarWeekOfYear(Day(2006, 1, 2), false), 1);
  EXPECT_EQ(CalendarWeekOfYear(Day(2006, 1, 7), false), 1);
  EXPECT_EQ(CalendarWeekOfYear(Day(2006, 1, 8), false), 2);
  // 2010 opens on a Friday: 1 and 2 January are week 1, Sunday the 3rd opens week 2.
  EXPECT_EQ(CalendarWeekOfYear(Day(2010, 1, 2), false), 1);
  EXPECT_EQ(CalendarWeekOfYear(Day(2010, 1, 3), false), 2);
  EXPECT_EQ(CalendarWeekOfYear(Day(2010, 1, 4), false), 2);
  // Late December days that ISO gives to next year's week 1 stay in this year.
  EXPECT_EQ(CalendarWeekOfYear(Day(2007, 12, 31), false), 53);
  EXPECT_EQ(CalendarWeekOfYear(Day(2006, 8, 24), false), 34);
}

TEST(CalendarRules, WeekOfYearUnderIso8601IsTheIsoWeek) {
  EXPECT_EQ(CalendarWeekOfYear(Day(2006, 1, 1), true), 52);
  EXPECT_EQ(CalendarWeekOfYear(Day(2006, 1, 2), true), 1);
  EXPECT_EQ(CalendarWeekOfYear(Day(2007, 12, 31), true), 1);
  EXPECT_EQ(CalendarWeekOfYear(Day(2010, 1, 3), true), 53);
  EXPECT_EQ(IsoWeeksInYear(2009), 53);
  EXPECT_EQ(IsoWeeksInYear(2010), 52);
}

TEST(CalendarRules, FirstShownDateShowsAWholeWeekBeforeAMonthOpeningAWeek) {
  // January 2006 starts on a Sunday: the grid starts a week earlier.
  EXPECT_EQ(FirstShownDate(2006, 1, false), Day(2005, 12, 25));
  // February 2012 starts on a Wednesday.
  EXPECT_EQ(FirstShownDate(2012, 2, false), Day(2012, 1, 29));
  EXPECT_EQ(FirstShownDate(2012, 2, true), Day(2012, 1, 30));
  // May 2006 starts on a Monday, which opens an ISO week.
  EXPECT_EQ(FirstShownDate(2006, 5, true), Day(2006, 4, 24));
  EXPECT_EQ(FirstShownDate(2006, 5, false), Day(2006, 4, 30));
  EXPECT_EQ(FirstShownDate(2006, 1, true), Day(2005, 12, 26));
}

TEST(CalendarRules, IncMonthKeepsTheDayWhereTheMonthHasIt) {
  EXPECT_EQ(IncMonth(Day(2008, 1, 31), 1), Day(2008, 2, 29));
  EXPECT_EQ(IncMonth(Day(2008, 2, 29), -12), Day(2007, 2, 28));
  EXPECT_EQ(IncMonth(Day(2008, 2, 29), 12), Day(2009, 2, 28));
  EXPECT_EQ(IncMonth(Day(2012, 1, 15), -1), Day(2011, 12, 15));
  EXPECT_EQ(IncMonth(Day(2012, 12, 15), 1), Day(2013, 1, 15));
  EXPECT_EQ(IncMonth(At(2012, 3, 31, 6, 0), -1), At(2012, 2, 29, 6, 0));
}

TEST(CalendarRules, FestivalTextIsCutWithoutSplittingACharacter) {
  // Fits: unchanged.
  EXPECT_TRUE(SameGbk(CutFestivalText("国际妇女节", 10), "国际妇女节"));
  // All two-byte: cut to limit - 2 bytes.
  EXPECT_TRUE(SameGbk(CutFestivalText("国际妇女节", 8), "国际妇…"));
  // One blank before the cut would leave half a character: one byte less.
  EXPECT_TRUE(SameGbk(CutFestivalText("元宵节 中国情人节", 16), "元宵节 中国情…"));
  // Two one-byte characters keep the cut even.
  EXPECT_TRUE(SameGbk(CutFestivalText("ab国际妇女节", 8), "ab国际…"));
  EXPECT_TRUE(SameGbk(CutFestivalText("甲午海战(1894年)", 12), "甲午海战(1…"));
  // A four-byte character across the cut is left out whole.
  EXPECT_TRUE(SameGbk(CutFestivalText("a😀b", 4), "a…"));
  EXPECT_TRUE(SameGbk(CutFestivalText("a😀bcd", 7), "a😀…"));
  for (int limit = 6; limit <= 20; limit += 2) {
    const std::string cut = CutFestivalText("国际和平与民主自由 斗争日 (1) 世界动物日", limit);
    ASSERT_LE(static_cast<int>(cut.size()), limit);
    const std::string body = cut.substr(0, cut.size() - 2);
    // A split leaves a lone lead byte (0x81 and up) as the last character.
    size_t at = 0, last = 0;
    while (at < body.size()) {
      last = at;
      at += static_cast<size_t>(GbkCharLength(body, at));
    }
    const bool split =
        !body.empty() && at - last == 1 && static_cast<unsigned char>(body[last]) >= 0x81;
    EXPECT_FALSE(split) << "cut at " << limit << ": " << GbkToUtf8(cut);
    EXPECT_TRUE(SameGbk(cut.substr(cut.size() - 2), "…"));
  }
}
