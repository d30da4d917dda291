// Odds the cast cannot use leave the previous chart and fields as they were and say why.
#include <cmath>

#include "platform/gui/Clipbrd.h"
#include "tests/workbench/main_Fixture.h"

namespace {

class CastOdds : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    PickMoment(2012, 2, 4, 16, 54);
    SetLines("101111", "000100");
    UserClick(form->Button1);
  }

  struct Snapshot {
    std::string chart, result, recommendation, moving;
    double shi, ying, shiFactor;
    bool operator==(const Snapshot&) const = default;
  };
  Snapshot Take() {
    return {form->RichEdit1->GetText(),
            form->Edit2->GetText(),
            form->Model().Cast.RecommendationText,
            form->Model().Cast.MovingBranch,
            form->ShiStrength,
            form->YingStrength,
            form->Model().Cast.ShiOddsFactor};
  }
};

TEST_F(CastOdds, UnusableOddsKeepTheChart) {
  const Snapshot before = Take();
  ASSERT_NE(before.chart, "");
  const char* const odds[][2] = {{"0", "0"},   {"1", "-1"}, {"1e308", "1e308"}, {"2", "1e308"},
                                 {"abc", "2"}, {"2", ""},   {"-1", "2"},        {"2", "-0.5"}};
  for (const auto& pair : odds) {
    form->Edit3->SetText(pair[0]);
    form->Edit4->SetText(pair[1]);
    Clipboard()->SetAsText("untouched");
    dialogs().AnswerMessage();
    UserClick(form->Button1);
    ASSERT_EQ(dialogs().Messages().size(), 1u) << pair[0] << " " << pair[1];
    const std::string message = dialogs().Messages()[0];
    EXPECT_EQ(message.find("INF"), std::string::npos) << U8(message);
    EXPECT_EQ(message.find("NAN"), std::string::npos) << U8(message);
    EXPECT_TRUE(Take() == before) << pair[0] << " " << pair[1];
    EXPECT_EQ(Clipboard()->AsText(), "untouched");
    dialogs().Reset();
  }
  // The sum of the odds is what cannot be zero.
  form->Edit3->SetText("0");
  form->Edit4->SetText("0");
  dialogs().AnswerMessage();
  UserClick(form->Button2);
  ASSERT_EQ(dialogs().Messages().size(), 1u);
  EXPECT_NE(BytePosOf("赔率", dialogs().Messages()[0]), 0) << U8(dialogs().Messages()[0]);
  EXPECT_TRUE(Take() == before);
}

// Odds typed in an input method's full-width mode, or beyond the largest number, are refused
// with a message that says what to type instead.
TEST_F(CastOdds, FullWidthAndHugeOddsSayWhatToType) {
  const Snapshot before = Take();
  const struct {
    const char *shi, *ying, *message;
  } cases[] = {
      {"２.００", "2", "「２.００」中的「２」是全角数字，请输入半角数字"},
      {"2", "2．5", "「2．5」中的「．」是全角字符，请输入半角数字"},
      {"1e999", "2", "「1e999」超出范围，数值的绝对值须小于1.8E308"},
      // A character outside GBK: four bytes, two of them digits, quoted whole.
      {"2😀", "2", "「2😀」不是有效的数字"},
      {"2", "1.5𠀀", "「1.5𠀀」不是有效的数字"},
      // The first key of a negative number, left alone.
      {"-", "2", "「-」不是有效的数字"},
  };
  for (const auto& c : cases) {
    form->Edit3->SelectAll();
    UserType(form->Edit3, c.shi);
    form->Edit4->SelectAll();
    UserType(form->Edit4, c.ying);
    dialogs().AnswerMessage();
    UserClick(form->Button1);
    ASSERT_EQ(dialogs().Messages().size(), 1u) << c.shi;
    EXPECT_GBK_EQ(dialogs().Messages()[0], c.message);
    EXPECT_TRUE(Take() == before) << c.shi;
    dialogs().Reset();
  }
}

// 应 odds 0: the 世 factor is 0 x 2 / 2, the 应 factor 2 x 2 / 2; 世 5.9 x 0, 应 3.62 x 2.
// With the odds 2 and -0 the 世 factor is a negative zero in doubles: still 0, and 应 again 2.
TEST_F(CastOdds, ZeroShowsAsZero) {
  const std::string expected = "推荐:大单,应(世应力量:0－7.24,足球进球时间: 17 30 60 80 93)";
  form->Edit3->SetText("2");
  form->Edit4->SetText("0");
  UserClick(form->Button1);
  ExpectRecommendation(expected);
  form->Edit4->SetText("-0");
  UserClick(form->Button1);
  ExpectRecommendation(expected);
  EXPECT_FALSE(std::signbit(form->Model().Cast.ShiOddsFactor));
  EXPECT_FALSE(std::signbit(form->ShiStrength));
}

// A cast without a moving line after one with: the moving fields start empty again.
TEST_F(CastOdds, StaticCastAfterAMovingOne) {
  ASSERT_EQ(form->Model().Cast.MovingBranch, "辰");
  SetLines("101111");
  UserClick(form->Button1);
  EXPECT_EQ(form->Model().Cast.MovingBranch, "");
  EXPECT_EQ(form->Model().Cast.ChangedBranch, "");
  EXPECT_EQ(form->Model().Cast.MovingMark, "");
  EXPECT_EQ(form->Model().Cast.GoalTimeText, "");
  EXPECT_EQ(form->LineBranchText, "");
  EXPECT_FALSE(form->Model().Cast.ShiMoving);
  EXPECT_EQ(form->Model().Cast.MovingStrength, 0);
  EXPECT_EQ(form->Model().Cast.ChangedStrength, 0);
}

}  // namespace
