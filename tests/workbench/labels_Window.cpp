// The calendar labels of the workbench window as the user changes the date boxes. Expected
// pillars: day index = days since 1 January 1900 + 10, hour index = (days x 24 + hour + 1)
// div 2; 立春 2012 falls on 4 February 16:53:49.
#include <functional>

#include "platform/gui/Clipbrd.h"
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

// A moment whose labels are not current (a date the calendar refused, or a year before 1900
// still standing in the box) is refused by every command that uses it: a clear message, and
// lines, chart, result and clipboard stay as they were.
class MomentWithoutLabels : public CalendarLabelsWindow {
 protected:
  struct Shown {
    std::string lines, moving, chart, result, labels;
    bool operator==(const Shown&) const = default;
  };
  Shown Take() {
    return {LineCode(), MovingCode(), form->RichEdit1->GetText(), form->Edit2->GetText(),
            form->Label7->Caption() + form->Label9->Caption()};
  }
  // Every command that uses the moment refuses with the date error, changing nothing.
  void ExpectEveryCastRefused(const char* moment) {
    const Shown before = Take();
    Clipboard()->SetAsText("untouched");
    auto answered = [&](const std::function<void()>& command) {
      return [this, command] {
        dialogs().AnswerMessage();
        command();
      };
    };
    const std::function<void()> commands[] = {
        answered([&] { UserClick(form->Button1); }),
        answered([&] { UserClick(form->Button2); }),
        answered([&] { Run("时间起卦"); }),
        [&] {
          dialogs().AnswerInput("123");
          dialogs().AnswerMessage();
          Run("报数起卦");
        },
        answered([&] { Run("电脑摇卦"); }),
        answered([&] { Run("转雷山卦"); }),
    };
    for (const auto& command : commands) {
      dialogs().Reset();
      command();
      ASSERT_EQ(dialogs().Messages().size(), 1u) << moment;
      const std::string message = dialogs().Messages()[0];
      EXPECT_NE(BytePosOf("日期或时间无效", message), 0) << U8(message);
      EXPECT_NE(BytePosOf("1900-2100", message), 0) << U8(message);
      EXPECT_TRUE(Take() == before) << moment << " " << U8(form->RichEdit1->GetText());
      EXPECT_EQ(Clipboard()->AsText(), "untouched");
    }
    dialogs().Reset();
  }
};

TEST_F(MomentWithoutLabels, ADayTheMonthLacks) {
  PickMoment(2008, 2, 28, 20, 8);
  SetLines("110010", "000100");
  UserClick(form->Button1);
  dialogs().AnswerMessage();
  UserPick(form->ComboBox3, 30);  // 31 February
  ASSERT_EQ(dialogs().Messages().size(), 1u);
  EXPECT_NE(BytePosOf("2008年2月31日", dialogs().Messages()[0]), 0) << U8(dialogs().Messages()[0]);
  ExpectEveryCastRefused("2008-2-31");
  // Back on a real day the casts run again.
  UserPick(form->ComboBox3, 27);
  UserClick(form->Button1);
  EXPECT_NE(BytePosOf("公历:2008年2月28日20时8分", form->RichEdit1->GetText()), 0);
}

TEST_F(MomentWithoutLabels, YearsOutsideTheCalendar) {
  PickMoment(2008, 8, 8, 20, 8);
  UserClick(form->Button1);
  // 1800 is typed without a word (each prefix lies before the calendar too), but not cast.
  form->ComboBox1->SelectAll();
  UserType(form->ComboBox1, "1800");
  ASSERT_EQ(form->ComboBox1->GetText(), "1800");
  ExpectEveryCastRefused("1800");
  // 2200 lies after it: the date error at once, and no cast either.
  form->ComboBox1->SelectAll();
  dialogs().AnswerMessage();
  UserType(form->ComboBox1, "2200");
  ASSERT_EQ(dialogs().Messages().size(), 1u);
  EXPECT_NE(BytePosOf("2200", dialogs().Messages()[0]), 0) << U8(dialogs().Messages()[0]);
  ExpectEveryCastRefused("2200");
}

// Hours and minutes out of range are the date error, like a day the month lacks, also where a
// typed number would overflow the hour arithmetic.
TEST_F(MomentWithoutLabels, HoursAndMinutesOutOfRange) {
  PickMoment(2012, 2, 4, 16, 54);
  struct Case {
    TComboBox* box;
    const char* text;
  } cases[] = {{form->ComboBox4, "25"},
               {form->ComboBox4, "2147483647"},
               {form->ComboBox4, "40000000"},
               {form->ComboBox5, "2147483647"},
               {form->ComboBox5, "60"}};
  for (const Case& c : cases) {
    const std::string text = c.text;
    form->ComboBox4->SetText("16");
    form->ComboBox5->SetText("54");
    c.box->SelectAll();
    // The prefixes typed on the way may be out of range too: each shows the error.
    for (size_t i = 0; i + 1 < text.size(); ++i) dialogs().AnswerMessage();
    UserType(c.box, text.substr(0, text.size() - 1));
    dialogs().Reset();
    const std::vector<std::string> before = Labels();
    dialogs().AnswerMessage();
    UserType(c.box, text.substr(text.size() - 1));
    ASSERT_EQ(dialogs().Messages().size(), 1u) << c.text;
    EXPECT_NE(BytePosOf("日期或时间无效", dialogs().Messages()[0]), 0)
        << U8(dialogs().Messages()[0]);
    EXPECT_NE(BytePosOf(c.text, dialogs().Messages()[0]), 0) << U8(dialogs().Messages()[0]);
    EXPECT_EQ(Labels(), before) << c.text;
    dialogs().Reset();
  }
  // The lottery cast reads hour and minute itself: refused too.
  form->ComboBox5->SetText("2147483647");
  ExpectEveryCastRefused("16:2147483647");
  dialogs().AnswerInput("六合彩");
  dialogs().AnswerMessage();
  Run("彩票数理");
  ASSERT_EQ(dialogs().Messages().size(), 1u);
  EXPECT_NE(BytePosOf("日期或时间无效", dialogs().Messages()[0]), 0) << U8(dialogs().Messages()[0]);
}

// Typing a date box anew passes through an empty box: no message, the labels wait, and a cast
// refuses the moment with the date message until the box holds a number again.
TEST_F(MomentWithoutLabels, AnEmptiedBoxIsQuietAndRefusedByTheCasts) {
  PickMoment(2012, 2, 4, 16, 54);
  SetLines("110010", "000100");
  UserClick(form->Button1);
  const std::vector<std::string> labels = Labels();
  TComboBox* const boxes[5] = {form->ComboBox1, form->ComboBox2, form->ComboBox3, form->ComboBox4,
                               form->ComboBox5};
  const char* const texts[5] = {"2012", "2", "4", "16", "54"};
  for (int i = 0; i < 5; ++i) {
    // Backspaced to empty (on the way "16" passes through the hour 1): any message box here
    // fails the test, and the last backspace leaves the labels as they were.
    boxes[i]->SelectAll();
    UserKey(boxes[i], VK_END);
    for (size_t k = 1; k < std::string(texts[i]).size(); ++k) UserKey(boxes[i], VK_BACK);
    const std::vector<std::string> shown = Labels();
    UserKey(boxes[i], VK_BACK);
    ASSERT_EQ(boxes[i]->GetText(), "") << i;
    EXPECT_EQ(Labels(), shown) << i;
    if (i == 0) SaveScreenshot(form.get(), "main_year_emptied");
    ExpectEveryCastRefused(texts[i]);
    UserType(boxes[i], texts[i]);
    EXPECT_EQ(boxes[i]->GetText(), texts[i]);
    EXPECT_EQ(Labels(), labels) << i;
  }
  UserClick(form->Button1);
  EXPECT_NE(BytePosOf("公历:2012年2月4日16时54分", form->RichEdit1->GetText()), 0);
}

// Full-width digits from an input method are refused at the first one, with a message that
// names it and asks for half-width digits; the labels keep the last moment.
TEST_F(CalendarLabelsWindow, FullWidthDigitsAskForHalfWidthOnes) {
  PickMoment(2012, 2, 4, 16, 54);
  const std::vector<std::string> before = Labels();
  form->ComboBox1->SelectAll();
  dialogs().AnswerMessage();
  UserType(form->ComboBox1, "２");
  ASSERT_EQ(dialogs().Messages().size(), 1u);
  EXPECT_GBK_EQ(dialogs().Messages()[0], "「２」是全角数字，请输入半角数字");
  EXPECT_EQ(Labels(), before);
  SaveScreenshot(form.get(), "main_year_full_width");
  // A digit typed wide in the middle of the year is named the same way.
  form->ComboBox1->SelectAll();
  UserType(form->ComboBox1, "20");
  dialogs().Reset();
  dialogs().AnswerMessage();
  UserType(form->ComboBox1, "１");
  ASSERT_EQ(dialogs().Messages().size(), 1u);
  EXPECT_GBK_EQ(dialogs().Messages()[0], "「20１」中的「１」是全角数字，请输入半角数字");
  EXPECT_EQ(Labels(), before);
}

// Every digit past the calendar's last year says the year is out of range, however many digits
// there are, and the labels keep the last moment.
TEST_F(CalendarLabelsWindow, AHugeYearIsOutOfRange) {
  PickMoment(2012, 2, 4, 16, 54);
  const std::vector<std::string> before = Labels();
  form->ComboBox1->SelectAll();
  UserType(form->ComboBox1, "999");  // short of 1900: quiet
  for (int i = 0; i < 17; ++i) dialogs().AnswerMessage();
  UserType(form->ComboBox1, std::string(17, '9'));
  ASSERT_EQ(form->ComboBox1->GetText(), std::string(20, '9'));
  const std::vector<std::string> messages = dialogs().Messages();
  ASSERT_EQ(messages.size(), 17u);
  for (const std::string& message : messages) {
    EXPECT_NE(BytePosOf("年份「9999", message), 0) << U8(message);
    EXPECT_NE(BytePosOf("超出范围，须在1900-2100之间", message), 0) << U8(message);
  }
  EXPECT_EQ(Labels(), before);
  SaveScreenshot(form.get(), "main_year_too_large");
}

// The first key of a negative number, a lone sign, is typed like an emptied box: no message,
// the labels wait, and the casts refuse the moment with the date message.
TEST_F(MomentWithoutLabels, ALoneSignIsQuietLikeAnEmptiedBox) {
  PickMoment(2012, 2, 4, 16, 54);
  const std::vector<std::string> labels = Labels();
  TComboBox* const boxes[5] = {form->ComboBox1, form->ComboBox2, form->ComboBox3, form->ComboBox4,
                               form->ComboBox5};
  const char* const texts[5] = {"2012", "2", "4", "16", "54"};
  for (int i = 0; i < 5; ++i) {
    for (const char* sign : {"-", "+"}) {
      boxes[i]->SelectAll();
      UserType(boxes[i], sign);  // a message here fails the test
      ASSERT_EQ(boxes[i]->GetText(), sign) << i;
      EXPECT_EQ(Labels(), labels) << i;
      if (i == 0 && sign[0] == '-') SaveScreenshot(form.get(), "main_year_minus");
    }
    ExpectEveryCastRefused(texts[i]);
    boxes[i]->SelectAll();
    UserType(boxes[i], texts[i]);
    EXPECT_EQ(Labels(), labels) << i;
  }
  // A sign with a digit after it is a number again, and out of range.
  form->ComboBox4->SelectAll();
  UserType(form->ComboBox4, "-");
  dialogs().AnswerMessage();
  UserType(form->ComboBox4, "1");
  ASSERT_EQ(dialogs().Messages().size(), 1u);
  EXPECT_GBK_EQ(dialogs().Messages()[0], "日期或时间无效：时「-1」超出范围，须在0-23之间");
}

// A character outside GBK (an emoji) is typed in four bytes, two of them digits: it is no digit,
// and the message quotes it whole as it was typed.
TEST_F(CalendarLabelsWindow, AnEmojiIsNoDigitAndIsQuotedWhole) {
  PickMoment(2012, 2, 4, 16, 54);
  TComboBox* const boxes[5] = {form->ComboBox1, form->ComboBox2, form->ComboBox3, form->ComboBox4,
                               form->ComboBox5};
  const char* const texts[5] = {"2012", "2", "4", "16", "54"};
  for (int i = 0; i < 5; ++i) {
    boxes[i]->SelectAll();
    UserType(boxes[i], i == 0 ? "2" : "1");
    const std::vector<std::string> before = Labels();
    dialogs().Reset();
    dialogs().AnswerMessage();
    UserType(boxes[i], "😀");
    ASSERT_EQ(dialogs().Messages().size(), 1u) << i;
    EXPECT_GBK_EQ(dialogs().Messages()[0],
                  std::string(i == 0 ? "「2" : "「1") + "😀」不是有效的整数");
    EXPECT_EQ(Labels(), before) << i;
    if (i == 0) SaveScreenshot(form.get(), "main_year_emoji");
    dialogs().Reset();
    boxes[i]->SelectAll();
    UserType(boxes[i], texts[i]);
  }
}
