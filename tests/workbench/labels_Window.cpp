// The calendar labels of the workbench window as the user changes the date boxes. Expected
// pillars: day index = days since 1 January 1900 + 10, hour index = (days x 24 + hour + 1)
// div 2; 立春 2012 falls on 4 February 16:53:49.
#include "tests/workbench/main_Fixture.h"
#include "workbench/logic/CalendarLabels.h"

namespace {

class CalendarLabelsWindow : public MainWindowTest {
 protected:
  std::vector<std::string> Labels() {
    return {form->Label7->Caption(), form->Label9->Caption(), form->Label11->Caption(),
            form->Label17->Caption(), form->Caption()};
  }
};

TEST_F(CalendarLabelsWindow, ActivationWritesEveryLabel) {
  form->ComboBox1->SetText("2012");
  form->ComboBox2->SetText("2");
  form->ComboBox3->SetText("4");
  form->ComboBox4->SetText("16");
  form->ComboBox5->SetText("54");
  form->Activate();
  EXPECT_GBK_EQ(form->Label7->Caption(), "壬辰　壬寅　乙未　甲申");
  EXPECT_GBK_EQ(form->Label9->Caption(), "农历:2012-1-13");
  EXPECT_GBK_EQ(form->Label11->Caption(), "(日空:辰巳,时空:午未)");
  EXPECT_GBK_EQ(form->Label17->Caption(), "五行纳音(年:长流水,月:金箔金,日:沙中金,时:泉中水)");
  EXPECT_GBK_EQ(form->Caption(), "Zelkar六爻预测系统9.8.2(本日吉时:子、巳、午、申、酉)");
}

TEST_F(CalendarLabelsWindow, EveryDateBoxRecomputes) {
  PickMoment(2012, 2, 4, 16, 53);
  EXPECT_GBK_EQ(form->Label7->Caption(), "辛卯　辛丑　乙未　甲申");
  // One minute later the year turns together with the month.
  UserPick(form->ComboBox5, 54);
  EXPECT_GBK_EQ(form->Label7->Caption(), "壬辰　壬寅　乙未　甲申");
  // 23:00 belongs to the next day (丙申) and its 子 hour (戊子).
  UserPick(form->ComboBox4, 23);
  EXPECT_GBK_EQ(form->Label7->Caption(), "壬辰　壬寅　丙申　戊子");
  EXPECT_GBK_EQ(form->Label9->Caption(), "农历:2012-1-13");
  UserPick(form->ComboBox3, 9);
  EXPECT_GBK_EQ(form->Label7->Caption(), "壬辰　壬寅　壬寅　庚子");
  UserPick(form->ComboBox2, 0);  // 10 January 2012: still the year 辛卯, month 辛丑
  EXPECT_GBK_EQ(ByteCopy(form->Label7->Caption(), 1, 10), "辛卯　辛丑");
  UserPick(form->ComboBox1, 106);  // 10 January 2006
  EXPECT_GBK_EQ(ByteCopy(form->Label7->Caption(), 1, 10), "乙酉　己丑");
}

// While the year is typed anew, 2, 20 and 200 lie before the calendar: the labels stay and no
// message box shows (the scripted dialogs fail the test on one).
TEST_F(CalendarLabelsWindow, TypingAYearPassesThroughShortYearsQuietly) {
  PickMoment(2012, 2, 4, 16, 54);
  const std::vector<std::string> before = Labels();
  form->ComboBox1->SelectAll();
  for (const char* digit : {"2", "0", "0"}) {
    UserType(form->ComboBox1, digit);
    EXPECT_EQ(Labels(), before) << U8(form->ComboBox1->GetText());
  }
  UserType(form->ComboBox1, "6");
  ASSERT_EQ(form->ComboBox1->GetText(), "2006");
  // 4 February 2006 16:54 is after 立春 (06:01): 丙戌 庚寅; the day 甲子.
  EXPECT_GBK_EQ(form->Label7->Caption(), "丙戌　庚寅　甲子　壬申");
  EXPECT_GBK_EQ(form->Label11->Caption(), "(日空:戌亥,时空:戌亥)");
}

TEST_F(CalendarLabelsWindow, ADayTheMonthLacksShowsTheErrorAndKeepsTheLabels) {
  PickMoment(2012, 4, 30, 12, 0);
  const std::vector<std::string> before = Labels();
  dialogs().AnswerMessage();
  UserPick(form->ComboBox3, 30);  // 31 April
  ASSERT_EQ(dialogs().Messages().size(), 1u);
  EXPECT_EQ(Labels(), before);
}

TEST_F(CalendarLabelsWindow, NayinOfThePairsOnly) {
  std::string result = "x";
  NayinOf("壬戌", result);
  EXPECT_GBK_EQ(result, "大海水");
  NayinOf("壬", result);
  EXPECT_GBK_EQ(result, "大海水");
}

}  // namespace
