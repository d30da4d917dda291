// The win/draw/loss calculator as the user meets it: double-click "赔率盘口：", read the chart's
// strengths, type odds, compute, mix two segments; a bad or impossible input changes nothing.
#include "platform/Numbers.h"
#include "tests/workbench/tools_Fixture.h"

namespace {

class CalculatorTest : public ToolWindowsTest {
 protected:
  // Shows the calculator from the main window and runs `whileShown` in it; the window is closed
  // afterwards when it still shows.
  void WithCalculator(const std::function<void(TForm3&)>& whileShown) {
    dialogs().AnswerModal([&](TForm& shown) {
      ASSERT_EQ(&shown, calculator.get());
      whileShown(*calculator);
    });
    UserDoubleClick(form->Label14);
  }
  // Replaces an edit's text as the user does: select all, type.
  static void Retype(TEdit* edit, const std::string& text) {
    edit->SelectAll();
    if (text.empty())
      UserKey(edit, VK_DELETE);
    else
      UserType(edit, text);
  }
  // Every edit's text and the verdict, to show that a failed command changed nothing.
  static std::vector<std::string> Screen(TForm3& c) {
    std::vector<std::string> texts;
    for (int n = 1; n <= 21; ++n)
      texts.push_back(static_cast<TEdit*>(c.FindComponent("Edit" + IntToStr(n)))->GetText());
    texts.push_back(c.Label12->Caption());
    return texts;
  }
};

}  // namespace

TEST_F(CalculatorTest, DefaultOddsComputeTheKnownLinesAndVerdict) {
  std::string screenshot;
  WithCalculator([&](TForm3& c) {
    EXPECT_GBK_EQ(c.Caption(), "计算胜平负");
    EXPECT_EQ(c.Width(), 353);
    EXPECT_EQ(c.Height(), 330);
    // No cast yet: the chart's strengths are 0.
    EXPECT_EQ(c.Edit4->GetText(), "0");
    EXPECT_EQ(c.Edit5->GetText(), "0");
    EXPECT_GBK_EQ(c.Label12->Caption(), "推荐:");
    Retype(c.Edit4, "1");
    Retype(c.Edit5, "1");
    UserClick(c.Button1);
    const std::vector<std::pair<TEdit*, const char*>> expected = {
        {c.Edit6, "1"},     {c.Edit7, "1"},     {c.Edit8, "0.75"},  {c.Edit9, "1.25"},
        {c.Edit10, "1.25"}, {c.Edit11, "0.75"}, {c.Edit18, "0.86"}, {c.Edit19, "1.14"},
        {c.Edit20, "1.14"}, {c.Edit21, "0.86"}};
    for (const auto& [edit, text] : expected) EXPECT_EQ(edit->GetText(), text) << edit->Name();
    EXPECT_GBK_EQ(c.Label12->Caption(), "推荐：31");
    screenshot = SaveScreenshot(&c, "calculator_after_compute");
    // A strong home side: home wins on both lines.
    Retype(c.Edit1, "1.5");
    Retype(c.Edit2, "3.5");
    Retype(c.Edit3, "6");
    UserClick(c.Button1);
    EXPECT_GBK_EQ(c.Label12->Caption(), "推荐：3");
    Retype(c.Edit1, "6");
    Retype(c.Edit3, "1.5");
    UserClick(c.Button1);
    EXPECT_GBK_EQ(c.Label12->Caption(), "推荐：0");
    UserClick(c.Button2);  // "退出"
  });
  EXPECT_FALSE(calculator->Visible());
  EXPECT_FALSE(screenshot.empty());
}

TEST_F(CalculatorTest, ShowingTakesTheLastCastsStrengthsAndKeepsTheRest) {
  ASSERT_NO_FATAL_FAILURE(PickStandardMoment());
  SetLines("101101", "001000");
  UserClick(form->Button1);
  WithCalculator([&](TForm3& c) {
    EXPECT_EQ(c.Edit4->GetText(), FloatToStr(form->ShiStrength));
    EXPECT_EQ(c.Edit5->GetText(), FloatToStr(form->YingStrength));
    Retype(c.Edit1, "2.5");
    Retype(c.Edit4, "9");
  });
  SetLines("010010", "100000");
  UserClick(form->Button1);
  WithCalculator([&](TForm3& c) {
    EXPECT_EQ(c.Edit4->GetText(), FloatToStr(form->ShiStrength));
    EXPECT_EQ(c.Edit1->GetText(), "2.5");
  });
}

TEST_F(CalculatorTest, ImpossibleOrBadOddsChangeNothingOnScreen) {
  WithCalculator([&](TForm3& c) {
    Retype(c.Edit4, "1");
    Retype(c.Edit5, "1");
    UserClick(c.Button1);
    const std::vector<std::string> before = Screen(c);
    // Draw odds 1 or 0, odds that overflow, texts that are not numbers (full-width digits too).
    for (const char* draw : {"1", "0", "0.5", "1e308", "abc", "", "３", "2..5"}) {
      Retype(c.Edit2, draw);
      if (std::string(draw) == "1e308") Retype(c.Edit1, "1e308");
      dialogs().AnswerMessage();
      UserClick(c.Button1);
      ASSERT_FALSE(dialogs().Messages().empty()) << draw;
      std::vector<std::string> now = Screen(c);
      now[1] = before[1];  // what was typed
      now[0] = before[0];
      EXPECT_EQ(now, before) << draw;
      Retype(c.Edit1, "2");
    }
    const std::vector<std::string> messages = dialogs().Messages();
    EXPECT_NE(messages[0].find("除数为零"), std::string::npos) << U8(messages[0]);
  });
}

TEST_F(CalculatorTest, SegmentsMixByMinutesAndCopyFromTheChart) {
  WithCalculator([&](TForm3& c) {
    EXPECT_EQ(c.Edit16->GetText(), "90");
    EXPECT_EQ(c.Edit17->GetText(), "0");
    Retype(c.Edit16, "60");
    EXPECT_EQ(c.Edit17->GetText(), "30");
    Retype(c.Edit12, "1.5");
    Retype(c.Edit13, "0.6");
    Retype(c.Edit14, "0.3");
    Retype(c.Edit15, "1.2");
    UserClick(c.Button3);  // two thirds of segment one, one third of segment two
    EXPECT_EQ(c.Edit4->GetText(), "1.1");
    EXPECT_EQ(c.Edit5->GetText(), "0.8");
    // Double clicks copy the chart's pair into a segment.
    UserDoubleClick(c.Label14);
    EXPECT_EQ(c.Edit14->GetText(), "1.1");
    EXPECT_EQ(c.Edit15->GetText(), "0.8");
    Retype(c.Edit4, "2");
    UserDoubleClick(c.Label13);
    EXPECT_EQ(c.Edit12->GetText(), "2");
    EXPECT_EQ(c.Edit13->GetText(), "0.8");

    // Zero total minutes change nothing.
    Retype(c.Edit16, "0");
    Retype(c.Edit17, "0");
    dialogs().AnswerMessage();
    UserClick(c.Button3);
    EXPECT_EQ(dialogs().Messages().size(), 1u);
    EXPECT_EQ(c.Edit4->GetText(), "2");
    EXPECT_EQ(c.Edit5->GetText(), "0.8");
  });
}

// Emptying the minutes to type them anew is no error: segment two waits with its minutes, and
// only a command that reads the empty box refuses it.
TEST_F(CalculatorTest, EmptyingTheMinutesWhileTypingIsQuiet) {
  WithCalculator([&](TForm3& c) {
    Retype(c.Edit16, "60");
    ASSERT_EQ(c.Edit17->GetText(), "30");
    const std::vector<std::string> before = Screen(c);
    c.Edit16->SelectAll();
    UserKey(c.Edit16, VK_DELETE);  // a message here fails the test
    EXPECT_EQ(c.Edit16->GetText(), "");
    EXPECT_EQ(c.Edit17->GetText(), "30");
    SaveScreenshot(&c, "calculator_minutes_emptied");
    EXPECT_TRUE(dialogs().Messages().empty());
    // "综合" needs the minutes: the number message, and the chart's pair stays.
    dialogs().AnswerMessage();
    UserClick(c.Button3);
    ASSERT_EQ(dialogs().Messages().size(), 1u);
    EXPECT_GBK_EQ(dialogs().Messages()[0], "「」不是有效的数字");
    EXPECT_EQ(c.Edit4->GetText(), before[3]);
    EXPECT_EQ(c.Edit5->GetText(), before[4]);
  });
}

// Segment two has the rest of the 90 minutes: more minutes than a match, or more digits than
// any integer, are out of range, and segment two never shows what such a number leaves.
TEST_F(CalculatorTest, MinutesBeyondAWholeNumberAreOutOfRange) {
  WithCalculator([&](TForm3& c) {
    c.Edit16->SelectAll();
    UserType(c.Edit16, "9");
    ASSERT_EQ(c.Edit17->GetText(), "81");
    // Twenty 9s: from the tenth digit on, out of range; segment two keeps its minutes.
    for (int i = 0; i < 11; ++i) dialogs().AnswerMessage();
    UserType(c.Edit16, std::string(19, '9'));
    EXPECT_EQ(c.Edit16->GetText(), std::string(20, '9'));
    const std::vector<std::string> messages = dialogs().Messages();
    ASSERT_EQ(messages.size(), 11u);
    EXPECT_GBK_EQ(messages[0],
                  "「" + std::string(10, '9') + "」超出范围，整数须在-2147483648到2147483647之间");
    EXPECT_GBK_EQ(messages[10],
                  "「" + std::string(20, '9') + "」超出范围，整数须在-2147483648到2147483647之间");
    EXPECT_EQ(c.Edit17->GetText(), "-999999909");
    SaveScreenshot(&c, "calculator_minutes_too_large");
    dialogs().Reset();
    // Any whole number is taken, as long as the rest is one too.
    Retype(c.Edit16, "0");
    EXPECT_EQ(c.Edit17->GetText(), "90");
    Retype(c.Edit16, "100");
    EXPECT_EQ(c.Edit17->GetText(), "-10");
    Retype(c.Edit16, "2147483647");
    EXPECT_EQ(c.Edit17->GetText(), "-2147483557");
    Retype(c.Edit16, "-2147483557");
    EXPECT_EQ(c.Edit17->GetText(), "2147483647");
    dialogs().AnswerMessage();
    Retype(c.Edit16, "-2147483558");
    ASSERT_EQ(dialogs().Messages().size(), 1u);
    EXPECT_GBK_EQ(dialogs().Messages()[0], "时长「-2147483558」超出范围");
    EXPECT_EQ(c.Edit17->GetText(), "214748445");  // kept from "-214748355"
  });
}

// Full-width digits typed in an input method's full-width mode are refused with a message that
// names the character and asks for half-width digits, in the minutes and in every odds box.
TEST_F(CalculatorTest, FullWidthDigitsAskForHalfWidthOnes) {
  WithCalculator([&](TForm3& c) {
    Retype(c.Edit16, "60");
    c.Edit16->SelectAll();
    dialogs().AnswerMessage();
    UserType(c.Edit16, "４");
    ASSERT_EQ(dialogs().Messages().size(), 1u);
    EXPECT_GBK_EQ(dialogs().Messages()[0], "「４」是全角数字，请输入半角数字");
    EXPECT_EQ(c.Edit17->GetText(), "30");
    SaveScreenshot(&c, "calculator_full_width_minutes");
    dialogs().Reset();
    Retype(c.Edit2, "２.００");
    dialogs().AnswerMessage();
    UserClick(c.Button1);
    ASSERT_EQ(dialogs().Messages().size(), 1u);
    EXPECT_GBK_EQ(dialogs().Messages()[0], "「２.００」中的「２」是全角数字，请输入半角数字");
    EXPECT_GBK_EQ(c.Label12->Caption(), "推荐:");
  });
}

// The first key of a negative number, a lone sign, is quiet like an emptied box: segment two
// keeps its minutes until a digit follows, and a command that reads the sign alone refuses it
// with the number message.
TEST_F(CalculatorTest, ALoneSignWhileTypingIsQuiet) {
  WithCalculator([&](TForm3& c) {
    Retype(c.Edit16, "60");
    ASSERT_EQ(c.Edit17->GetText(), "30");
    const std::vector<std::string> before = Screen(c);
    c.Edit16->SelectAll();
    UserType(c.Edit16, "-");  // a message here fails the test
    EXPECT_EQ(c.Edit16->GetText(), "-");
    EXPECT_EQ(c.Edit17->GetText(), "30");
    EXPECT_TRUE(dialogs().Messages().empty());
    EXPECT_NE(SaveScreenshot(&c, "calculator_minutes_minus"), "");
    UserType(c.Edit16, "5");
    EXPECT_EQ(c.Edit17->GetText(), "95");
    Retype(c.Edit16, "+");
    EXPECT_EQ(c.Edit17->GetText(), "95");
    EXPECT_TRUE(dialogs().Messages().empty());
    dialogs().AnswerMessage();
    UserClick(c.Button3);
    ASSERT_EQ(dialogs().Messages().size(), 1u);
    EXPECT_GBK_EQ(dialogs().Messages()[0], "「+」不是有效的数字");
    EXPECT_EQ(c.Edit4->GetText(), before[3]);
    // The odds and strengths boxes: the command names the sign.
    dialogs().Reset();
    Retype(c.Edit16, "60");
    Retype(c.Edit2, "-");
    dialogs().AnswerMessage();
    UserClick(c.Button1);
    ASSERT_EQ(dialogs().Messages().size(), 1u);
    EXPECT_GBK_EQ(dialogs().Messages()[0], "「-」不是有效的数字");
    EXPECT_GBK_EQ(c.Label12->Caption(), "推荐:");
  });
}

// A character outside GBK is typed in four bytes, two of them digits: the minutes and the odds
// refuse it, quoting it whole, and nothing is computed from its digits.
TEST_F(CalculatorTest, AnEmojiIsNoDigitAndIsQuotedWhole) {
  WithCalculator([&](TForm3& c) {
    Retype(c.Edit16, "1");
    ASSERT_EQ(c.Edit17->GetText(), "89");
    dialogs().AnswerMessage();
    UserType(c.Edit16, "😀");
    ASSERT_EQ(dialogs().Messages().size(), 1u);
    EXPECT_GBK_EQ(dialogs().Messages()[0], "「1😀」不是有效的整数");
    EXPECT_GBK_EQ(c.Edit16->GetText(), "1😀");
    EXPECT_EQ(c.Edit17->GetText(), "89");
    dialogs().Reset();
    Retype(c.Edit16, "60");
    const std::vector<std::string> before = Screen(c);
    Retype(c.Edit1, "2😀");
    dialogs().AnswerMessage();
    UserClick(c.Button1);
    ASSERT_EQ(dialogs().Messages().size(), 1u);
    EXPECT_GBK_EQ(dialogs().Messages()[0], "「2😀」不是有效的数字");
    std::vector<std::string> after = Screen(c);
    after[0] = before[0];
    EXPECT_EQ(after, before);
  });
}
