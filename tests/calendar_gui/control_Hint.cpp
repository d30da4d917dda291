// The hint window over the calendar's cells and arrows.
#include "platform/gui/CustomControl.h"
#include "tests/calendar_gui/CalendarGuiSupport.h"

using namespace calgui;

namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t from = 0;
  for (size_t at; (at = text.find('\n', from)) != std::string::npos; from = at + 1)
    lines.push_back(text.substr(from, at - from));
  lines.push_back(text.substr(from));
  return lines;
}

bool StartsWith(const std::string& text, const std::string& prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

}  // namespace

class CalendarHintTest : public CalendarTest {
 protected:
  // The hint text after the pointer moved over cell `index`.
  std::string HintOver(int index) {
    const TPoint p = Centre(CellRect(index));
    cal->MouseMove(0, p.X, p.Y);
    return cal->HintWindow()->Caption();
  }
  TCalendarHint* hint() { return cal->HintWindow(); }
};

TEST_F(CalendarHintTest, DayHintNamesTheGregorianLunarAndSexagenaryDate) {
  cal->SetDate(Day(2006, 8, 10));                              // grid from Sunday 30 July
  const std::vector<std::string> lines = Lines(HintOver(25));  // 24 August 2006
  ASSERT_EQ(lines.size(), 3u) << U8(hint()->Caption());
  EXPECT_TRUE(SameGbk(lines[0], "公元= 2006年8月24日 星期四  第34周"));
  EXPECT_TRUE(SameGbk(lines[1], "农历= 二零零六年闰七月初一"));
  EXPECT_TRUE(SameGbk(lines[2], "干支= 丙戌(狗)年丙申月乙酉日"));
  EXPECT_TRUE(hint()->Visible());

  // Keys and values split at the first '=', keys trimmed and ending in ':'.
  EXPECT_TRUE(SameGbk(hint()->Keys()[1], "农历:"));
  EXPECT_TRUE(SameGbk(hint()->Values()[1], " 二零零六年闰七月初一"));
}

TEST_F(CalendarHintTest, FestivalLineFollowsWhenTheDayHasFestivals) {
  cal->SetDate(Day(2012, 2, 15));
  const std::vector<std::string> lines = Lines(HintOver(8));  // 6 February 2012
  ASSERT_EQ(lines.size(), 4u) << U8(hint()->Caption());
  EXPECT_TRUE(SameGbk(lines[1], "农历= 二零一二年正月十五"));
  EXPECT_TRUE(SameGbk(lines[3], "节日= 元宵节 中国情人节"));
}

// A key that turns the month under a still pointer must not leave the old day's hint up.
TEST_F(CalendarHintTest, MonthTurnUnderAStillPointerTakesTheOldDaysHintDown) {
  cal->SetDate(Day(2006, 8, 10));
  ASSERT_TRUE(StartsWith(HintOver(25), "公元= 2006年8月24日"));
  ASSERT_TRUE(hint()->Visible());
  cal->SetDate(Day(2006, 9, 10));  // the grid now starts on 27 August
  EXPECT_FALSE(hint()->Visible());
  // The next move over the same cell names the day it holds now: 21 September.
  EXPECT_TRUE(StartsWith(HintOver(25), "公元= 2006年9月21日")) << U8(hint()->Caption());
  EXPECT_TRUE(hint()->Visible());
  // A day within the same grid leaves the hint as it is.
  cal->SetDate(Day(2006, 9, 11));
  EXPECT_TRUE(hint()->Visible());
}

TEST_F(CalendarHintTest, DaysOutsideTheEngineYearsLeaveOutWhatTheyCannotName) {
  cal->SetDate(Day(1900, 1, 10));  // grid from Sunday 31 December 1899
  std::vector<std::string> lines = Lines(HintOver(0));
  ASSERT_EQ(lines.size(), 1u) << U8(hint()->Caption());
  EXPECT_TRUE(StartsWith(lines[0], "公元= 1899年12月31日 星期日")) << U8(lines[0]);

  // Before 31 January 1900 there is no lunar date, but the stem-branch names exist.
  lines = Lines(HintOver(15));
  ASSERT_EQ(lines.size(), 2u) << U8(hint()->Caption());
  EXPECT_TRUE(SameGbk(lines[1], "干支= 己亥(猪)年丁丑月戊子日"));

  cal->SetDate(Day(2100, 12, 15));
  lines = Lines(HintOver(41));  // 8 January 2101
  ASSERT_EQ(lines.size(), 2u) << U8(hint()->Caption());
  EXPECT_TRUE(StartsWith(lines[0], "公元= 2101年1月8日 星期六")) << U8(lines[0]);
  EXPECT_TRUE(StartsWith(lines[1], "干支= ")) << U8(lines[1]);
}

TEST_F(CalendarHintTest, ArrowsHintTheirStepAndOtherPlacesHideIt) {
  cal->MouseMove(0, 6, kCellH / 2);
  EXPECT_TRUE(SameGbk(hint()->Caption(), "上一年"));
  EXPECT_TRUE(hint()->Visible());
  cal->MouseMove(0, kWidth - 6, kCellH / 2);
  EXPECT_TRUE(SameGbk(hint()->Caption(), "下一年"));

  cal->MouseMove(0, kWidth / 2, kCellH + 5);  // weekday row
  EXPECT_FALSE(hint()->Visible());
  HintOver(3);
  EXPECT_TRUE(hint()->Visible());
  cal->MouseLeave();
  EXPECT_FALSE(hint()->Visible());
  // Coming back to the same cell shows it again.
  HintOver(3);
  EXPECT_TRUE(hint()->Visible());

  cal->SetShowHint(false);
  cal->MouseLeave();
  HintOver(4);
  EXPECT_FALSE(hint()->Visible());
}

TEST_F(CalendarHintTest, WindowFitsItsTextAndStaysOnTheScreen) {
  hint()->SetCaption("a=b\r\n\r\nlonger key = value");
  EXPECT_EQ(hint()->Keys().Count(), 2);
  EXPECT_TRUE(SameGbk(hint()->Keys()[1], "longer key:"));
  EXPECT_TRUE(SameGbk(hint()->Values()[1], " value"));
  TCanvas& canvas = hint()->Canvas();
  EXPECT_EQ(hint()->KeyWidth(), canvas.TextWidth("longer key:"));
  EXPECT_EQ(hint()->Width(), canvas.TextWidth("longer key = value") + 10);
  EXPECT_EQ(hint()->Height(), 2 * canvas.TextHeight("H") + 10);

  // A text without '=' is all values.
  hint()->SetCaption("上一月");
  ASSERT_EQ(hint()->Values().Count(), 1);
  EXPECT_TRUE(SameGbk(hint()->Keys()[0], ""));
  EXPECT_EQ(hint()->KeyWidth(), 0);

  const TScreenInfo screen = ScreenInfo();
  hint()->PlaceAtCursor(Point(100, 50));
  EXPECT_EQ(hint()->Left(), 116);
  EXPECT_EQ(hint()->Top(), 66);
  hint()->PlaceAtCursor(Point(screen.Width - 3, screen.Height - 3));
  EXPECT_EQ(hint()->Left() + hint()->Width(), screen.Width);
  EXPECT_EQ(hint()->Top() + hint()->Height(), screen.Height);

  hint()->SetCaption("");
  EXPECT_FALSE(hint()->Visible());
}

TEST_F(CalendarHintTest, HintPaintsKeysInRedBeforeTheValues) {
  TTextRecorder recorder(6, 12);
  hint()->SetCaption("农历= 二零一二年正月十五\n节日= 元宵节");
  hint()->PaintOffscreen();
  const auto keys = recorder.Find("节日:");
  const auto values = recorder.Find(" 元宵节");
  ASSERT_EQ(keys.size(), 1u);
  ASSERT_EQ(values.size(), 1u);
  EXPECT_EQ(keys[0].FontColor, clRed);
  EXPECT_NE(values[0].FontColor, clRed);
  // Second line, one line height below the first, the values after the widest key.
  EXPECT_EQ(keys[0].Lines[0].Y - recorder.Find("农历:")[0].Lines[0].Y, 12);
  EXPECT_EQ(values[0].Lines[0].X - keys[0].Lines[0].X, 5 * 6);
}

TEST_F(CalendarHintTest, AlphaTurnsTheWindowTranslucentOnlyWhenSet) {
  EXPECT_EQ(hint()->Alpha(), 0);
  EXPECT_EQ(WindowAlpha(hint()), 255);
  hint()->SetAlpha(300);
  hint()->SetAlpha(-1);
  EXPECT_EQ(hint()->Alpha(), 0);
  EXPECT_EQ(WindowAlpha(hint()), 255);
  hint()->SetAlpha(128);
  EXPECT_EQ(hint()->Alpha(), 128);
  EXPECT_EQ(WindowAlpha(hint()), 128);
}
