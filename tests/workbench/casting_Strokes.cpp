// Casting from the stroke counts of a match or a lottery name, and the stroke count of the
// result line.
#include "tests/workbench/main_Fixture.h"

namespace {

class StrokeCasts : public MainWindowTest {};

// The match words made from a chart's own recommendation "推荐:大单,世(世应力量:...)": the same
// size and parity, in goals or points, and the same strengths as the two sides' forces.
// "推荐:" is 5 bytes, then size and parity (2 each), ",", the side (2), "(世应力量:" and the rest.
std::string FootballWords(const std::string& castText) {
  const std::string size = castText.substr(5, 2), parity = castText.substr(7, 2);
  const std::string side = castText.substr(10, 2);
  const std::string rest = castText.substr(castText.find("世应力量:") + 9);
  return "推荐:" + size + "球" + parity + "数," + side + "(主客力量:" + rest;
}
// The same in points, naming the stronger side instead of 世 or 应, without goal times.
std::string PointsWords(const std::string& castText, const std::string& name1,
                        const std::string& name2) {
  const std::string size = castText.substr(5, 2), parity = castText.substr(7, 2);
  const std::string side = castText.substr(10, 2) == "世" ? name1 : name2;
  const size_t from = castText.find("世应力量:") + 9;
  const std::string strengths = castText.substr(from, castText.find(",足球进球时间:") - from);
  return "推荐:" + size + "分" + parity + "数," + side + "(主客力量:" + strengths + ")";
}

// 曼联 23, 切尔西 15, base 28: U 51 (离), L 43 (离), moving 94 mod 6 = 4. Only the upper
// trigram moves (离 to 艮): s1 = s2 = 12 x 15, s3 = 14 x 13, s4 = 12 x 12.
TEST_F(StrokeCasts, FootballMatch) {
  ASSERT_NO_FATAL_FAILURE(PickStandardMoment());
  SetLines("101101", "001000");
  const std::string castWords = CastRecommendation();
  SetLines("000000", "000001");

  RunWithInput("足球数理", "  曼联 切尔西 ");
  ASSERT_EQ(dialogs().Shown().size(), 1u);
  EXPECT_GBK_EQ(dialogs().Shown()[0].Caption, "简体汉字字母数字");
  EXPECT_GBK_EQ(dialogs().Shown()[0].Text, "请输入对阵(对阵之间保持空格)");
  EXPECT_EQ(LineCode(), "101101");
  EXPECT_EQ(MovingCode(), "001000");
  EXPECT_GBK_EQ(form->Edit1->GetText(), "曼联　VS　切尔西");
  EXPECT_GBK_EQ(form->Model().Cast.RecommendationText, FootballWords(castWords));
  EXPECT_GBK_EQ(form->Edit2->GetText(), FootballWords(castWords) + ",体用力量比:3.24---3.62");
  EXPECT_GBK_EQ(form->SaveTextFileDialog1->FileName, "曼联　VS　切尔西");
}

TEST_F(StrokeCasts, MiddleWordsPlayNoPartAndFullWidthBlanksSeparate) {
  ASSERT_NO_FATAL_FAILURE(PickStandardMoment());
  RunWithInput("足球数理", "曼联 对 切尔西");
  EXPECT_EQ(LineCode(), "101101");
  EXPECT_GBK_EQ(form->Edit1->GetText(), "曼联　VS　切尔西");
  RunWithInput("足球数理", "曼联　切尔西");
  EXPECT_EQ(LineCode(), "101101");
  EXPECT_EQ(MovingCode(), "001000");

  // A trailing full-width blank leaves the second name empty: B 0, L 28 (震), moving 79 -> 1.
  RunWithInput("足球数理", "曼联　");
  EXPECT_GBK_EQ(form->Edit1->GetText(), "曼联　VS　");
  EXPECT_EQ(LineCode(), "101001");
  EXPECT_EQ(MovingCode(), "000001");
}

// 湖人篮球 41, 火箭 19: U 69 (巽), L 47 (艮), moving 116 mod 6 = 2.
TEST_F(StrokeCasts, BasketballNamesTheStrongerSide) {
  ASSERT_NO_FATAL_FAILURE(PickStandardMoment());
  SetLines("110100", "000010");
  const std::string castWords = CastRecommendation();
  RunWithInput("足球数理", "湖人篮球 火箭");
  EXPECT_EQ(LineCode(), "110100");
  EXPECT_EQ(MovingCode(), "000010");
  EXPECT_GBK_EQ(form->Model().Cast.RecommendationText, PointsWords(castWords, "湖人篮球", "火箭"));
  EXPECT_EQ(form->Model().Cast.RecommendationText.find("进球"), std::string::npos);
}

TEST_F(StrokeCasts, MatchWithoutSeparatorChangesNothing) {
  ASSERT_NO_FATAL_FAILURE(PickStandardMoment());
  SetLines("111000", "010000");
  UserClick(form->Button1);
  form->Edit1->SetText("问");
  const std::string chart = form->RichEdit1->GetText();
  const std::string result = form->Edit2->GetText();
  // 啊 (B0 A1) and 、 (A1 A2) hold the bytes of a full-width blank across their boundary.
  for (const char* text : {"曼联切尔西", "　曼联 切尔西", "啊、队"}) {
    dialogs().AnswerInput(text);
    dialogs().AnswerMessage();
    Run("足球数理");
  }
  dialogs().CancelInput();
  dialogs().AnswerMessage();
  Run("足球数理");
  ASSERT_EQ(dialogs().Messages().size(), 4u);
  for (const std::string& message : dialogs().Messages()) EXPECT_GBK_EQ(message, "对阵无空格!");
  EXPECT_EQ(LineCode(), "111000");
  EXPECT_EQ(MovingCode(), "010000");
  EXPECT_GBK_EQ(form->Edit1->GetText(), "问");
  EXPECT_GBK_EQ(form->RichEdit1->GetText(), chart);
  EXPECT_GBK_EQ(form->Edit2->GetText(), result);
}

// 六合彩 21 at 16:54 (an even hour, minute 54: q 8): base 49 (乾), 57 (乾), moving 57 mod 6 = 3.
// 乾为天 with its third line moving shows 辰寅子 over 天泽履's 丑卯巳: water 子 4.3, wood 寅 4.6 +
// 卯 4.7, fire 巳 4.0, so 兰绿; 辰 4.8 is above the average 4.4 and above 丑 3.7 on a yang line:
// 大单.
TEST_F(StrokeCasts, MarkSixLottery) {
  ASSERT_NO_FATAL_FAILURE(PickStandardMoment());
  RunWithInput("彩票数理", "六合彩");
  ASSERT_EQ(dialogs().Shown().size(), 1u);
  EXPECT_GBK_EQ(dialogs().Shown()[0].Caption, "彩票数理卦");
  EXPECT_GBK_EQ(dialogs().Shown()[0].Text, "请输入彩票名称(简体汉字)");
  EXPECT_EQ(LineCode(), "111111");
  EXPECT_EQ(MovingCode(), "000100");
  EXPECT_GBK_EQ(form->LineBranchText, "辰寅子丑卯巳");
  EXPECT_GBK_EQ(form->Edit1->GetText(), "六合彩");
  EXPECT_DOUBLE_EQ(form->Model().Cast.MovingStrength, 4.8);
  EXPECT_DOUBLE_EQ(form->Model().Cast.ChangedStrength, 3.7);
  EXPECT_GBK_EQ(form->Edit2->GetText(),
                "推荐:大单兰绿,17码:03 09 15 25 31 37 41 47 05 11 17 21 27 33 39 43 49");
  EXPECT_GBK_EQ(form->Model().Cast.RecommendationText, form->Edit2->GetText());

  // Same strokes, no Mark Six: the four words alone, and no trigram ratios after them.
  RunWithInput("彩票数理", "双色球");
  EXPECT_GBK_EQ(form->Edit2->GetText(), "推荐:大单");
}

// Before 立春 at 18:22 the year is still 辛卯 (y 4). At 10:50 (巳 6, q 8) and at 11:05 (午 7,
// q 1) the lower trigram shows the quarter.
TEST_F(StrokeCasts, LotteryQuarterOfTheDoubleHour) {
  PickMoment(2012, 2, 4, 10, 50);
  ASSERT_EQ(ByteCopy(form->Label7->Caption(), 1, 4), std::string("辛卯"));
  RunWithInput("彩票数理", "六合彩");  // 21 + 24 = 45 (巽), 53 (巽), 53 mod 6 = 5
  EXPECT_EQ(LineCode(), "110110");
  EXPECT_EQ(MovingCode(), "010000");
  PickMoment(2012, 2, 4, 11, 5);
  RunWithInput("彩票数理", "六合彩");  // 21 + 25 = 46 (坎), 47 (艮), 47 mod 6 = 5
  EXPECT_EQ(LineCode(), "010100");
  EXPECT_EQ(MovingCode(), "010000");

  // Cancel: N 0 and the subject emptied; the cast still runs: 25 (乾), 26 (兑), 26 mod 6 = 2.
  dialogs().CancelInput();
  Run("彩票数理");
  EXPECT_GBK_EQ(form->Edit1->GetText(), "");
  EXPECT_EQ(LineCode(), "111011");
  EXPECT_EQ(MovingCode(), "000010");
}

// A day past the month's end stops both stroke casts once the subject is written: the date
// error is shown, and lines, boxes, chart and result stay as they were.
TEST_F(StrokeCasts, ImpossibleDateStopsAfterTheSubject) {
  ASSERT_NO_FATAL_FAILURE(PickStandardMoment());
  SetLines("110010", "000100");
  UserClick(form->Button1);
  const std::string chart = form->RichEdit1->GetText();
  const std::string result = form->Edit2->GetText();
  form->ComboBox2->SetText("2");
  form->ComboBox3->SetText("30");
  const struct {
    const char* command;
    const char* input;
    const char* subject;
  } cases[] = {{"彩票数理", "六合彩", "六合彩"}, {"足球数理", "曼联 切尔西", "曼联　VS　切尔西"}};
  for (const auto& c : cases) {
    dialogs().AnswerInput(c.input);
    dialogs().AnswerMessage();
    Run(c.command);
    EXPECT_GBK_EQ(form->Edit1->GetText(), c.subject);
    EXPECT_GBK_EQ(form->SaveTextFileDialog1->FileName, c.subject);
    EXPECT_EQ(LineCode(), "110010");
    EXPECT_EQ(MovingCode(), "000100");
    EXPECT_GBK_EQ(form->RichEdit1->GetText(), chart);
    EXPECT_GBK_EQ(form->Edit2->GetText(), result);
  }
  EXPECT_EQ(dialogs().Messages().size(), 2u);
}

TEST_F(StrokeCasts, StrokeCountOfTheResultLine) {
  UserClick(form->Button9);  // the starting hint
  EXPECT_GBK_EQ(form->Label10->Caption(), "共100笔");
  form->Edit2->SetText("");
  UserClick(form->Button9);
  EXPECT_GBK_EQ(form->Label10->Caption(), "共0笔");
  // An apostrophe is a character of its own: 中 after it keeps its 4 strokes.
  form->Edit2->SetText("O'中");
  UserClick(form->Button9);
  EXPECT_GBK_EQ(form->Label10->Caption(), "共19笔");
}

}  // namespace
