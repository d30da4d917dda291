// Calendar labels of the main window for chosen moments. Expected pillars: day index = days
// since 1 January 1900 + 10, hour index = (days x 24 + hour + 1) div 2, month and year by the
// term instants of the calendar (立春 2012: 4 Feb 16:53:49; 清明 2012: 4 Apr 16:53:49; 立春
// 1900: 4 Feb 13:52:00; 立春 2013: 3 Feb 22:42:35; 大雪 2006: 7 Dec 13:06).
#include <gtest/gtest.h>

#include <string>

#include "calendar/engine/LunarEngine.h"
#include "platform/Exceptions.h"
#include "tests/workbench_logic/GbkExpect.h"
#include "workbench/logic/CalendarLabels.h"

namespace {

CalendarLabels At(const std::string& y, const std::string& m, const std::string& d,
                  const std::string& h, const std::string& n) {
  CalendarLabels labels;
  EXPECT_TRUE(ComputeCalendarLabels(y, m, d, h, n, labels));
  return labels;
}

std::string Pillars(const std::string& y, const std::string& m, const std::string& d,
                    const std::string& h, const std::string& n) {
  return At(y, m, d, h, n).FourPillarsText;
}

}  // namespace

TEST(CalendarLabels, WholeLabelSet) {
  const CalendarLabels l = At("2012", "2", "4", "16", "54");
  EXPECT_GBK_EQ(l.FourPillarsText, "壬辰　壬寅　乙未　甲申");
  EXPECT_EQ(l.FourPillarsText.size(), 22u);
  EXPECT_GBK_EQ(l.LunarDateText, "农历:2012-1-13");
  EXPECT_GBK_EQ(l.XunVoidText, "(日空:辰巳,时空:午未)");
  EXPECT_GBK_EQ(l.NayinText, "五行纳音(年:长流水,月:金箔金,日:沙中金,时:泉中水)");
  EXPECT_GBK_EQ(l.Caption, "Zelkar六爻预测系统9.8.2(本日吉时:子、巳、午、申、酉)");
}

// The year turns together with the month, at the minute of 立春 (not at midnight of its day).
TEST(CalendarLabels, YearTurnsWithTheMonthAtLichun) {
  EXPECT_GBK_EQ(Pillars("2012", "2", "4", "16", "54"), "壬辰　壬寅　乙未　甲申");
  EXPECT_GBK_EQ(Pillars("2012", "2", "4", "16", "53"), "辛卯　辛丑　乙未　甲申");
  EXPECT_GBK_EQ(Pillars("2012", "2", "4", "0", "0"), "辛卯　辛丑　乙未　丙子");
  // At the term's own minute both stay old.
  EXPECT_GBK_EQ(Pillars("1900", "2", "4", "13", "52"), "己亥　丁丑　戊申　己未");
  EXPECT_GBK_EQ(Pillars("1900", "2", "4", "13", "53"), "庚子　戊寅　戊申　己未");
  // 立春 late in the evening: between it and 23:00 the new year and month hold; at 23:xx the
  // pillars belong to the next day, still in the new year.
  EXPECT_GBK_EQ(ByteCopy(Pillars("2013", "2", "3", "22", "42"), 1, 10), "壬辰　癸丑");
  EXPECT_GBK_EQ(ByteCopy(Pillars("2013", "2", "3", "22", "43"), 1, 10), "癸巳　甲寅");
  EXPECT_GBK_EQ(ByteCopy(Pillars("2013", "2", "3", "23", "10"), 1, 10), "癸巳　甲寅");
}

TEST(CalendarLabels, MonthTurnsAtTheTermMinute) {
  EXPECT_GBK_EQ(Pillars("2012", "4", "4", "16", "52"), "壬辰　癸卯　乙未　甲申");
  EXPECT_GBK_EQ(Pillars("2012", "4", "4", "16", "53"), "壬辰　癸卯　乙未　甲申");
  EXPECT_GBK_EQ(Pillars("2012", "4", "4", "16", "54"), "壬辰　甲辰　乙未　甲申");
  // The eve of the term's day at 23:30: the day pillar is already the term day's, the month
  // still the old one, and the lunar date stays that of the chosen day.
  const CalendarLabels eve = At("2012", "4", "3", "23", "30");
  EXPECT_GBK_EQ(eve.FourPillarsText, "壬辰　癸卯　乙未　丙子");
  EXPECT_GBK_EQ(eve.LunarDateText, "农历:2012-3-13");
  EXPECT_GBK_EQ(At("2012", "4", "4", "12", "0").LunarDateText, "农历:2012-3-14");
}

TEST(CalendarLabels, DayTurnsAt23) {
  const CalendarLabels before = At("2006", "12", "10", "22", "59");
  EXPECT_GBK_EQ(before.FourPillarsText, "丙戌　庚子　癸酉　癸亥");
  const CalendarLabels after = At("2006", "12", "10", "23", "0");
  EXPECT_GBK_EQ(after.FourPillarsText, "丙戌　庚子　甲戌　甲子");
  EXPECT_GBK_EQ(after.LunarDateText, "农历:2006-10-20");
  EXPECT_GBK_EQ(before.LunarDateText, after.LunarDateText);
  EXPECT_GBK_EQ(after.XunVoidText, "(日空:申酉,时空:戌亥)");
  EXPECT_GBK_EQ(after.NayinText, "五行纳音(年:屋上土,月:壁上土,日:山头火,时:海中金)");
  EXPECT_GBK_EQ(after.Caption, "Zelkar六爻预测系统9.8.2(本日吉时:子、丑、午、未、酉、戌)");
}

TEST(CalendarLabels, EmptyBranches) {
  // 20 February 1900 is a 甲子 day; its 22:00 hour is 乙亥 of the 甲戌 decade.
  const CalendarLabels l = At("1900", "2", "20", "22", "0");
  EXPECT_GBK_EQ(ByteCopy(l.FourPillarsText, 13, 10), "甲子　乙亥");
  EXPECT_GBK_EQ(l.XunVoidText, "(日空:戌亥,时空:申酉)");
  for (const char* hour : {"0", "5", "11", "17", "23"}) {
    const std::string xun = At("2012", "7", "19", hour, "30").XunVoidText;
    EXPECT_EQ(xun.size(), 21u);
    EXPECT_EQ(xun.back(), ')');
  }
  // Every pillar has exactly one decade; the parts read back at bytes 7, 9, 17 and 19.
  for (int i = 0; i < 60; ++i) {
    const std::string pillar = GetCyclicalName(i);
    const std::string expected[6] = {"戌亥", "申酉", "午未", "辰巳", "寅卯", "子丑"};
    EXPECT_GBK_EQ(XunVoidDayPart(pillar), "(日空:" + expected[i / 10]);
    EXPECT_GBK_EQ(XunVoidHourPart(pillar), ",时空:" + expected[i / 10] + ")");
  }
  EXPECT_GBK_EQ(XunVoidDayPart(""), "");
}

TEST(CalendarLabels, LunarDate) {
  // The leap seventh month of 2006 reads like the ordinary one.
  EXPECT_GBK_EQ(At("2006", "8", "24", "12", "0").LunarDateText, "农历:2006-7-1");
  EXPECT_GBK_EQ(At("2006", "7", "25", "12", "0").LunarDateText, "农历:2006-7-1");
  // Before the lunar table's first day the date is 0-0-0; the pillars are still computed.
  const CalendarLabels early = At("1900", "1", "15", "12", "0");
  EXPECT_GBK_EQ(early.LunarDateText, "农历:0-0-0");
  EXPECT_GBK_EQ(early.FourPillarsText, "己亥　丁丑　戊子　戊午");
}

TEST(CalendarLabels, YearBelow1900LeavesLabelsAlone) {
  CalendarLabels labels;
  labels.FourPillarsText = "old";
  for (const char* year : {"2", "20", "200", "1899", "-5", "0"}) {
    EXPECT_FALSE(ComputeCalendarLabels(year, "2", "30", "23", "x", labels)) << year;
    EXPECT_EQ(labels.FourPillarsText, "old");
    EXPECT_EQ(labels.Caption, "");
  }
}

TEST(CalendarLabels, BadTexts) {
  CalendarLabels labels;
  EXPECT_THROW(ComputeCalendarLabels("abc", "1", "1", "0", "0", labels), EConvertError);
  EXPECT_THROW(ComputeCalendarLabels("2012", "x", "1", "0", "0", labels), EConvertError);
  EXPECT_THROW(ComputeCalendarLabels("2012", "4", "31", "0", "0", labels), EConvertError);
  EXPECT_THROW(ComputeCalendarLabels("2012", "4", "3", "x", "0", labels), EConvertError);
  // The minute is read only on the day of a month-opening term.
  EXPECT_TRUE(ComputeCalendarLabels("2012", "4", "3", "12", "x", labels));
  EXPECT_THROW(ComputeCalendarLabels("2012", "4", "4", "12", "x", labels), EConvertError);
}

// A box emptied to be typed anew is no error: the labels wait, as for a year still short of
// 1900; so does a box of blanks.
TEST(CalendarLabels, AnEmptyBoxLeavesTheLabelsWaiting) {
  const char* const full[5] = {"2012", "2", "4", "16", "54"};
  for (int empty = 0; empty < 5; ++empty) {
    for (const char* blank : {"", "  "}) {
      std::string t[5];
      for (int i = 0; i < 5; ++i) t[i] = i == empty ? blank : full[i];
      CalendarLabels labels;
      labels.FourPillarsText = "old";
      EXPECT_FALSE(ComputeCalendarLabels(t[0], t[1], t[2], t[3], t[4], labels)) << empty;
      EXPECT_EQ(labels.FourPillarsText, "old");
    }
  }
}

// Hours, minutes and years the calendar cannot take are the date error, found before any sum
// a typed number could overflow; the message names the text.
TEST(CalendarLabels, OutOfRangeMomentsAreTheDateError) {
  struct Case {
    const char *y, *m, *d, *h, *n, *named;
  } cases[] = {
      {"2012", "2", "4", "2147483647", "0", "2147483647"},
      {"2012", "2", "4", "40000000", "0", "40000000"},
      {"2012", "2", "4", "24", "0", "24"},
      {"2012", "2", "4", "-1", "0", "-1"},
      {"2012", "2", "4", "16", "2147483647", "2147483647"},  // 立春's day: the minute is read
      {"2012", "2", "5", "16", "60", "60"},                  // and a number is checked on any day
      {"2012", "2", "5", "16", "-5", "-5"},
      {"2200", "8", "8", "20", "8", "2200"},
      {"2147483647", "1", "1", "0", "0", "2147483647"},
      {"2008", "2", "31", "20", "8", "2008年2月31日"},
      {"2012", "2147483647", "1", "0", "0", "2147483647"},
      // Digits beyond the integers are as far out of range.
      {"99999999999999999999", "1", "1", "0", "0", "99999999999999999999"},
      {"2012", "99999999999", "1", "0", "0", "99999999999"},
      {"2012", "2", "99999999999", "0", "0", "99999999999"},
      {"2012", "2", "5", "99999999999", "0", "99999999999"},
      {"2012", "2", "5", "-99999999999", "0", "-99999999999"},
      {"2012", "2", "5", "16", "99999999999", "99999999999"},
  };
  for (const Case& c : cases) {
    CalendarLabels labels;
    labels.FourPillarsText = "old";
    try {
      ComputeCalendarLabels(c.y, c.m, c.d, c.h, c.n, labels);
      ADD_FAILURE() << c.y << "-" << c.m << "-" << c.d << " " << c.h << ":" << c.n;
    } catch (const EConvertError& e) {
      EXPECT_NE(BytePosOf("日期或时间无效", e.Message()), 0) << Readable(e.Message());
      EXPECT_NE(BytePosOf(c.named, e.Message()), 0) << Readable(e.Message());
      // A year, hour or minute out of range says so; a month or day makes no valid date.
      const std::string named = c.named;
      if (named == c.y || named == c.h || named == c.n) {
        EXPECT_NE(BytePosOf("超出范围", e.Message()), 0) << Readable(e.Message());
      }
    }
    EXPECT_EQ(labels.FourPillarsText, "old");
  }
  // The last year of the calendar is still taken.
  EXPECT_GBK_EQ(At("2100", "12", "31", "23", "59").LunarDateText, "农历:2100-12-1");
}

TEST(NayinOf, AllSixtyPairs) {
  const char* const names[30] = {"海中金", "炉中火", "大林木", "路傍土", "剑锋金", "山头火",
                                 "涧下水", "城头土", "白蜡金", "杨柳木", "泉中水", "屋上土",
                                 "霹雳火", "松柏木", "长流水", "沙中金", "山下火", "平地木",
                                 "壁上土", "金箔金", "覆灯火", "天河水", "大驿土", "钗钏金",
                                 "桑柘木", "大溪水", "沙中土", "天上火", "石榴木", "大海水"};
  for (int i = 0; i < 60; ++i) {
    std::string result;
    NayinOf(GetCyclicalName(i), result);
    EXPECT_GBK_EQ(result, names[i / 2]);
  }
  for (const char* other : {"", "甲丑", "甲子 ", "甲", "xx"}) {
    std::string result = "原值";
    NayinOf(other, result);
    EXPECT_GBK_EQ(result, "原值");
  }
}

TEST(AuspiciousHours, ByDayStem) {
  const char* const rows[5] = {"(本日吉时:子、丑、午、未、酉、戌)", "(本日吉时:子、巳、午、申、酉)",
                               "(本日吉时:丑、寅、巳、辰、戌、亥)",
                               "(本日吉时:丑、寅、未、申、戌、亥)",
                               "(本日吉时:寅、卯、巳、午、亥)"};
  const char* const stems[10] = {"甲", "乙", "丙", "丁", "戊", "己", "庚", "辛", "壬", "癸"};
  for (int i = 0; i < 10; ++i) EXPECT_GBK_EQ(AuspiciousHoursText(stems[i]), rows[i % 5]);
  EXPECT_GBK_EQ(AuspiciousHoursText("子"), "");
  EXPECT_GBK_EQ(AuspiciousHoursText(""), "");
}
