// The date-picker window: the calendar it holds, reached by the workbench as Form1->LssCalendar1.
#include "calendar/DatePicker.h"
#include "tests/calendar_gui/CalendarGuiSupport.h"

class DatePickerTest : public GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    form_.reset(NewForm<TForm1>(nullptr, engine_));
  }
  void TearDown() override {
    form_.reset();
    GuiTest::TearDown();
  }
  TForm1& form() { return *form_; }
  const TLunarEngine engine_{};

 private:
  std::unique_ptr<TForm1> form_;
};

TEST_F(DatePickerTest, HoldsTheCalendarAsTheWindowDescriptionSets) {
  EXPECT_TRUE(SameGbk(form().Caption(), "选择日期"));
  EXPECT_EQ(form().Width(), 480);
  EXPECT_EQ(form().Height(), 347);
  EXPECT_FALSE(form().Visible());
  TLssCalendar* cal = form().LssCalendar1;
  ASSERT_EQ(form().FindComponent("lsscalendar1"), cal);
  EXPECT_EQ(cal->BoundsRect(), Rect(0, 0, 369, 313));
  EXPECT_TRUE(cal->ChineseEar());
  EXPECT_EQ(cal->Date(), Day(2006, 12, 10));
  EXPECT_TRUE(SameGbk(cal->Font()->Name(), "宋体"));
  EXPECT_EQ(cal->Font()->Size(), 8);
}

TEST_F(DatePickerTest, EngineCallsGoThroughTheCalendar) {
  TLssCalendar* cal = form().LssCalendar1;
  // The calendar names dates with the engine the window was given.
  ASSERT_EQ(&cal->Engine(), &engine_);
  const TLunarEngine& engine = cal->Engine();
  EXPECT_EQ(engine.SolarToLunar(Day(2006, 12, 10)), Lunar(2006, 10, 20));
  TGanZhiIndex gz;
  engine.GetGanZhiIndex(Day(2006, 12, 10), gz);
  EXPECT_TRUE(SameGbk(engine.GetCyclicalName(gz.Year) + engine.GetCyclicalName(gz.Month) +
                          engine.GetCyclicalName(gz.Day),
                      "丙戌庚子癸酉"));
  EXPECT_EQ(engine.GetSolarTermDate(2012, 2), GetSolarTermDate(2012, 2));
  EXPECT_TRUE(SameGbk(cal->GetFestivalText(Day(2006, 1, 29)), "春节 世界麻风日"));
  EXPECT_EQ(cal->GetMarkColor(Day(2006, 1, 29)), NoFestivalColor);
  EXPECT_TRUE(SameGbk(cal->GetEnMonthName(2, 1), "February"));
  // Engine calls change nothing on the control.
  EXPECT_EQ(cal->Date(), Day(2006, 12, 10));
}

TEST_F(DatePickerTest, ShownForFebruary2012) {
  ScopedTestClock clock(At(2012, 2, 15, 9, 30));
  TLssCalendar* cal = form().LssCalendar1;
  cal->SetDate(Day(2012, 2, 4));
  TTextRecorder recorder;  // real fonts: only records what is drawn
  form().Show();
  cal->Repaint();
  ProcessEvents();
  EXPECT_EQ(recorder.Find("立春").size(), 1u);
  // The day of 立春 is in the new month, but the year turns only at the term's instant.
  EXPECT_EQ(recorder.Find("辛卯(兔)年壬寅月").size(), 1u);
  EXPECT_EQ(recorder.Find("甲午").size(), 1u);  // 3 February
  const std::string path = SaveScreenshot(&form(), "form1");
  EXPECT_FALSE(path.empty());

  // January's grid runs from 25 December to 4 February: 春节 and 立春 both show.
  recorder.Clear();
  cal->SetDate(Day(2012, 1, 23));
  cal->Repaint();
  ProcessEvents();
  EXPECT_EQ(recorder.Find("立春").size(), 1u);
  EXPECT_EQ(recorder.Find("春节").size(), 1u);
  SaveScreenshot(&form(), "form1-january");
}
