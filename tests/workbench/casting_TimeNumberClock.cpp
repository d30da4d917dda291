// Casting by time, by a typed number and by the clock, through the panel.
#include "platform/Clock.h"
#include "platform/DateTime.h"
#include "tests/workbench/main_Fixture.h"

namespace {

class TimeNumberClock : public MainWindowTest {};

// y 辰 5 + lunar 1 + 13 = 19: upper 3 离; + h 申 9 = 28: lower 4 震, moving 28 mod 6 = 4.
// Only the upper trigram moves (离 to 艮); pillars 辰寅未申 give P(离) 12, P(震) 10, P(艮) 14:
// s1 = 12 x 13, s2 = 10 x 12, s3 = 14 x 11, s4 = 10 x 14; 体 = (120 + 140) / 100.
TEST_F(TimeNumberClock, TimeCastFromLunarDateAndHour) {
  ASSERT_NO_FATAL_FAILURE(PickStandardMoment());
  Run("时间起卦");
  EXPECT_EQ(LineCode(), "101001");
  EXPECT_EQ(MovingCode(), "001000");
  EXPECT_GBK_EQ(form->Edit1->GetText(), "时间卦：");
  EXPECT_GBK_EQ(form->Edit2->GetText(),
                form->Model().Cast.RecommendationText + ",体用力量比:2.6---3.1");
  EXPECT_DOUBLE_EQ(form->Model().Judgement.TrigramRatios[0], 2.6);
  EXPECT_DOUBLE_EQ(form->Model().Judgement.TrigramRatios[1], 3.1);
  EXPECT_NE(form->RichEdit1->GetText().find("火雷噬嗑"), std::string::npos)
      << Readable(form->RichEdit1->GetText());
}

// From 23:00 the pillars show the next day's 子 hour, while the lunar date stays that of the
// date boxes: 5 + 1 + 13 = 19 (离), + 子 1 = 20 (震), moving 2. Taking the next day's lunar
// day (14) would give 震 over 巽.
TEST_F(TimeNumberClock, TimeCastInTheHour23) {
  PickMoment(2012, 2, 4, 23, 10);
  ASSERT_EQ(ByteCopy(form->Label7->Caption(), 21, 2), std::string("子"))
      << Readable(form->Label7->Caption());
  ASSERT_EQ(form->Label9->Caption(), std::string("农历:2012-1-13"));
  Run("时间起卦");
  EXPECT_EQ(LineCode(), "101001");
  EXPECT_EQ(MovingCode(), "000010");
}

TEST_F(TimeNumberClock, TimeCastOnAnImpossibleDateChangesOnlyTheSubject) {
  ASSERT_NO_FATAL_FAILURE(PickStandardMoment());
  SetLines("111111", "000001");
  form->ComboBox2->SetText("4");
  form->ComboBox3->SetText("31");
  const std::string chart = form->RichEdit1->GetText();
  dialogs().AnswerMessage();
  Run("时间起卦");
  ASSERT_EQ(dialogs().Messages().size(), 1u);
  EXPECT_GBK_EQ(form->Edit1->GetText(), "时间卦：");
  EXPECT_EQ(LineCode(), "111111");
  EXPECT_EQ(MovingCode(), "000001");
  EXPECT_GBK_EQ(form->RichEdit1->GetText(), chart);
}

TEST_F(TimeNumberClock, NumberCastSplitsTheDigits) {
  ASSERT_NO_FATAL_FAILURE(PickStandardMoment());
  form->Edit1->SetText("");
  // 1 | 2 3: A 1 (乾), B 5 (巽), moving 1 + 5 + 申 9 = 15 -> line 3
  RunWithInput("报数起卦", "123");
  ASSERT_EQ(dialogs().Shown().size(), 1u);
  EXPECT_GBK_EQ(dialogs().Shown()[0].Caption, "报数起卦");
  EXPECT_GBK_EQ(dialogs().Shown()[0].Text, "请输数字(至少两位)：");
  EXPECT_EQ(LineCode(), "111110");
  EXPECT_EQ(MovingCode(), "000100");
  EXPECT_GBK_EQ(form->Edit1->GetText(), "报数起卦(123)");

  // One digit: A 0 (坤), B 7 (艮), moving 16 -> line 4; the prefixes pile up.
  RunWithInput("报数起卦", "7");
  EXPECT_EQ(LineCode(), "000100");
  EXPECT_EQ(MovingCode(), "001000");
  EXPECT_GBK_EQ(form->Edit1->GetText(), "报数起卦(7)报数起卦(123)");

  // Cancel: both sums 0, moving h mod 6 = 3; the prefix is empty between the brackets.
  dialogs().CancelInput();
  Run("报数起卦");
  EXPECT_EQ(LineCode(), "000000");
  EXPECT_EQ(MovingCode(), "000100");
  EXPECT_GBK_EQ(form->Edit1->GetText(), "报数起卦()报数起卦(7)报数起卦(123)");
  EXPECT_NE(form->RichEdit1->GetText().find("坤为地"), std::string::npos);
}

TEST_F(TimeNumberClock, NumberCastRefusesANonDigit) {
  ASSERT_NO_FATAL_FAILURE(PickStandardMoment());
  SetLines("101010", "100000");
  form->Edit1->SetText("问");
  const std::string chart = form->RichEdit1->GetText();
  // Full-width digits are no digits either; the message names the whole character.
  const struct {
    const char* typed;
    const char* named;
  } cases[] = {{"12x4", "x"}, {"１２３４", "１"}, {"12３4", "３"},
               {"12😀4", "😀"}, {"𠀀", "𠀀"},       {"-12", "-"}};
  for (const auto& c : cases) {
    dialogs().Reset();
    dialogs().AnswerInput(c.typed);
    dialogs().AnswerMessage();
    Run("报数起卦");
    ASSERT_EQ(dialogs().Messages().size(), 1u);
    EXPECT_NE(BytePosOf(c.named, dialogs().Messages()[0]), 0) << U8(dialogs().Messages()[0]);
    EXPECT_EQ(LineCode(), "101010");
    EXPECT_EQ(MovingCode(), "100000");
    EXPECT_GBK_EQ(form->Edit1->GetText(), "问");
    EXPECT_GBK_EQ(form->RichEdit1->GetText(), chart);
    // A full-width digit is named and half-width digits asked for.
    if (std::string(c.named).size() == 2) {
      EXPECT_GBK_EQ(dialogs().Messages()[0],
                    "「" + std::string(c.named) + "」是全角数字，请输入半角数字");
    } else if (c.named != std::string("x")) {
      EXPECT_GBK_EQ(dialogs().Messages()[0], "「" + std::string(c.named) + "」不是有效的整数");
    }
  }
}

// The generator starts with the window; the expected lines were worked out apart from the code.
TEST_F(TimeNumberClock, ClockCastsRepeatTheSameSequence) {
  ASSERT_NO_FATAL_FAILURE(PickStandardMoment());
  form->Edit1->SetText("问");
  {
    // 00:00:00.000: every bound is 0, both trigrams 坤; the boxes come from the draws.
    ScopedTestClock clock(EncodeDateTime(2012, 2, 4, 0, 0, 0, 0));
    Run("电脑摇卦");
    EXPECT_EQ(LineCode(), "000000");
    EXPECT_EQ(MovingCode(), "000001");
  }
  {
    ScopedTestClock clock(EncodeDateTime(2012, 2, 4, 12, 34, 56, 789));
    Run("电脑摇卦");
    EXPECT_EQ(LineCode(), "010110");
    EXPECT_EQ(MovingCode(), "100000");
  }
  EXPECT_GBK_EQ(form->Edit1->GetText(), "问");
  EXPECT_EQ(form->ClockRandom.State(), 1059369348u);
}

TEST_F(TimeNumberClock, ClockCastMayMoveNoLine) {
  ASSERT_NO_FATAL_FAILURE(PickStandardMoment());
  ScopedTestClock clock(EncodeDateTime(2012, 2, 4, 0, 0, 0, 0));
  for (int i = 0; i < 15; ++i) form->Action6->Execute();
  Run("电脑摇卦");  // the 16th cast at midnight
  EXPECT_EQ(MovingCode(), "000000");
  EXPECT_GBK_EQ(form->Model().Cast.MovingBranch, "");
  // 坤 over 坤, still: P(坤) 14 against 辰寅未申, relation 15, each ratio 2 x 210 / 100.
  EXPECT_GBK_EQ(form->Edit2->GetText(),
                form->Model().Cast.RecommendationText + ",上下卦力量比:4.2---4.2");
}

}  // namespace
