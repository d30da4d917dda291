// The selected day of the calendar control: the Date rules, keys, mouse picks and arrows.
#include "tests/calendar_gui/CalendarGuiSupport.h"

using namespace calgui;

TEST_F(CalendarTest, StartsOnTodayInTheDayBackgroundColour) {
  TLssCalendar fresh(nullptr);
  EXPECT_EQ(fresh.Date(), Day(2012, 2, 15));
  EXPECT_EQ(fresh.BoundsRect(), Rect(0, 0, 300, 210));
  EXPECT_EQ(fresh.Color(), fresh.CalColors()->DayBackColor());
  EXPECT_TRUE(SameGbk(fresh.Font()->Name(), "宋体"));
}

TEST_F(CalendarTest, DateRefusesOtherYearsAndTimesOfTheSelectedDay) {
  cal->SetDate(Day(2006, 12, 10));
  ASSERT_EQ(changes, 1);
  cal->SetDate(Day(1899, 12, 31));
  cal->SetDate(Day(2101, 1, 1));
  cal->SetDate(At(2006, 12, 10, 18, 45));
  EXPECT_EQ(cal->Date(), Day(2006, 12, 10));
  EXPECT_EQ(changes, 1);

  // A time of another day selects that whole day.
  cal->SetDate(At(2100, 12, 31, 23, 59));
  EXPECT_EQ(cal->Date(), Day(2100, 12, 31));
  cal->SetDate(At(1900, 1, 1, 0, 1));
  EXPECT_EQ(cal->Date(), Day(1900, 1, 1));
  EXPECT_EQ(changes, 3);
}

TEST_F(CalendarTest, GridStartsWithAWholeWeekWhenTheMonthOpensAWeek) {
  cal->SetDate(Day(2006, 1, 20));  // 1 January 2006 is a Sunday
  EXPECT_EQ(cal->FirstShownDate(), Day(2005, 12, 25));
  cal->SetUseISO8601(true);
  EXPECT_EQ(cal->FirstShownDate(), Day(2005, 12, 26));
  cal->SetDate(Day(2006, 5, 20));  // 1 May 2006 is a Monday
  EXPECT_EQ(cal->FirstShownDate(), Day(2006, 4, 24));
  EXPECT_EQ(cal->WeekOfYear(Day(2006, 1, 1)), 52);
  cal->SetUseISO8601(false);
  EXPECT_EQ(cal->FirstShownDate(), Day(2006, 4, 30));
  EXPECT_EQ(cal->WeekOfYear(Day(2006, 1, 1)), 1);
}

TEST_F(CalendarTest, KeysMoveTheSelectedDay) {
  form()->Show();
  cal->SetDate(Day(2008, 1, 31));
  changes = 0;
  UserKey(cal, VK_END);
  EXPECT_EQ(cal->Date(), Day(2008, 1, 31));
  EXPECT_EQ(changes, 0);

  for (int day : {1, 13, 28, 29}) {
    cal->SetDate(Day(2008, 2, day));
    UserKey(cal, VK_END);
    EXPECT_EQ(cal->Date(), Day(2008, 2, 29)) << "from " << day;
  }
  UserKey(cal, VK_HOME);
  EXPECT_EQ(cal->Date(), Day(2008, 2, 1));
  UserKey(cal, VK_LEFT);
  EXPECT_EQ(cal->Date(), Day(2008, 1, 31));
  UserKey(cal, VK_DOWN);
  EXPECT_EQ(cal->Date(), Day(2008, 2, 7));
  UserKey(cal, VK_UP);
  UserKey(cal, VK_RIGHT);
  EXPECT_EQ(cal->Date(), Day(2008, 2, 1));
  UserKey(cal, VK_PRIOR);
  EXPECT_EQ(cal->Date(), Day(2008, 1, 1));
  cal->SetDate(Day(2008, 1, 31));
  UserKey(cal, VK_NEXT);
  EXPECT_EQ(cal->Date(), Day(2008, 2, 29));

  // Nothing moves past the ends of the supported years.
  cal->SetDate(Day(1900, 1, 1));
  UserKey(cal, VK_LEFT);
  UserKey(cal, VK_PRIOR);
  EXPECT_EQ(cal->Date(), Day(1900, 1, 1));
  cal->SetDate(Day(2100, 12, 31));
  UserKey(cal, VK_RIGHT);
  UserKey(cal, VK_NEXT);
  EXPECT_EQ(cal->Date(), Day(2100, 12, 31));
}

TEST_F(CalendarTest, KeysArriveThroughTheWindowAndEnterClicks) {
  form()->Show();
  int clicks = 0;
  cal->OnClick = [&](TComponent*) { ++clicks; };
  cal->SetDate(Day(2008, 2, 13));
  UserKey(cal, VK_END);
  EXPECT_EQ(cal->Date(), Day(2008, 2, 29));
  UserKey(cal, VK_LEFT);
  EXPECT_EQ(cal->Date(), Day(2008, 2, 28));
  UserKey(cal, VK_RETURN);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(cal->Date(), Day(2008, 2, 28));

  // An OnKeyDown handler that consumes the key keeps it from the calendar.
  cal->OnKeyDown = [](TComponent*, uint16_t& key, TShiftState) {
    if (key == VK_HOME) key = 0;
  };
  UserKey(cal, VK_HOME);
  EXPECT_EQ(cal->Date(), Day(2008, 2, 28));
}

TEST_F(CalendarTest, ClickOnADayCellSelectsItsDay) {
  cal->SetDate(Day(2012, 2, 15));  // grid from Sunday 29 January
  changes = 0;
  ClickAt(Centre(CellRect(6)));
  EXPECT_EQ(cal->Date(), Day(2012, 2, 4));
  ClickAt(Point(0, kDayTop));
  EXPECT_EQ(cal->Date(), Day(2012, 1, 29));  // a trailing day: the grid moves to January
  EXPECT_EQ(cal->FirstShownDate(), Day(2011, 12, 25));
  ClickAt(Point(7 * kCellW - 1, kDayTop + 6 * kCellH - 1));
  EXPECT_EQ(cal->Date(), Day(2012, 2, 4));
  EXPECT_EQ(changes, 3);

  // The strip right of the seventh column and the row below the sixth hold no cell.
  ClickAt(Point(7 * kCellW + 2, kDayTop + 5));
  ClickAt(Point(10, kHeight - 1));
  ClickAt(Point(10, kCellH + 5));  // weekday row
  EXPECT_EQ(cal->Date(), Day(2012, 2, 4));
  EXPECT_EQ(changes, 3);
}

TEST_F(CalendarTest, DraggingWithTheLeftButtonKeepsSelecting) {
  cal->SetDate(Day(2012, 2, 15));
  const TPoint from = Centre(CellRect(10));
  cal->MouseDown(mbLeft, ssLeft, from.X, from.Y);
  EXPECT_EQ(cal->Date(), Day(2012, 2, 8));
  const TPoint over = Centre(CellRect(12));
  cal->MouseMove(ssLeft, over.X, over.Y);
  EXPECT_EQ(cal->Date(), Day(2012, 2, 10));
  cal->MouseUp(mbLeft, 0, over.X, over.Y);
  const TPoint later = Centre(CellRect(20));
  cal->MouseMove(0, later.X, later.Y);
  EXPECT_EQ(cal->Date(), Day(2012, 2, 10));
}

TEST_F(CalendarTest, ArrowsStepByYearAndMonth) {
  cal->SetDate(Day(2008, 2, 29));
  // The arrows sit in the title row, 5 pixels from either end.
  const int y = kCellH / 2;
  ClickAt(Point(6, y));
  EXPECT_EQ(cal->Date(), Day(2007, 2, 28));
  cal->SetDate(Day(2008, 3, 31));
  ClickAt(Point(kWidth - 6, y));
  EXPECT_EQ(cal->Date(), Day(2009, 3, 31));

  // Without arrows the title row does nothing.
  cal->SetShowArrow(false);
  ClickAt(Point(6, y));
  ClickAt(Point(kWidth - 6, y));
  EXPECT_EQ(cal->Date(), Day(2009, 3, 31));
}

TEST_F(CalendarTest, PointerOverCellsOfNoSizeDividesByNothing) {
  cal->SetDate(Day(2012, 2, 15));
  changes = 0;
  for (TSize size : {TSize{5, 5}, TSize{0, 0}, TSize{6, 300}, TSize{300, 7}}) {
    cal->SetBounds(0, 0, size.cx, size.cy);
    cal->MouseDown(mbLeft, ssLeft, 2, 2);
    cal->MouseMove(ssLeft, 3, 3);
    cal->MouseMove(0, 1, size.cy - 1);
    cal->MouseUp(mbLeft, 0, 3, 3);
  }
  EXPECT_EQ(cal->Date(), Day(2012, 2, 15));
  EXPECT_EQ(changes, 0);
  EXPECT_FALSE(cal->HintWindow()->Visible());
}

TEST_F(CalendarTest, ScalesIgnoreValuesNearZero) {
  cal->SetVerticalScale(0.0005);
  cal->SetHorizonScale(0);
  cal->SetHorizonScale(-0.0009);
  EXPECT_DOUBLE_EQ(cal->VerticalScale(), 4.0);
  EXPECT_DOUBLE_EQ(cal->HorizonScale(), 2.5);
  cal->SetVerticalScale(3);
  cal->SetHorizonScale(0.001);
  EXPECT_DOUBLE_EQ(cal->VerticalScale(), 3.0);
  EXPECT_DOUBLE_EQ(cal->HorizonScale(), 0.001);
}

TEST_F(CalendarTest, ColourSetAssignCopiesAllButWeekRowArrowsAndThreeFonts) {
  TLssCalColors other(nullptr);
  for (int i = 0; i < 12; ++i) other.SetColor(i, RGB(i, 2 * i, 3 * i));
  for (int i = 0; i < 6; ++i) other.Fonts(i)->SetSize(20 + i);
  cal->SetCalColors(&other);
  TLssCalColors& mine = *cal->CalColors();
  for (int i = 0; i < 12; ++i) {
    const bool kept = i == 1 || i == 11;
    EXPECT_EQ(mine.Colors(i) == other.Colors(i), !kept) << "colour " << i;
  }
  for (int i = 0; i < 6; ++i) {
    const bool copied = i == 0 || i == 2 || i == 5;
    EXPECT_EQ(mine.Fonts(i)->Size() == other.Fonts(i)->Size(), copied) << "font " << i;
  }
  // The control takes the day background as its colour and the day font as its font.
  EXPECT_EQ(cal->Color(), RGB(2, 4, 6));
  EXPECT_EQ(cal->Font()->Size(), 22);
}
