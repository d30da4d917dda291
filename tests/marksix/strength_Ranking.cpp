// The strength window: strengths on every showing, the ranking, the heading double clicks, and
// the ticks that reach the calculator's filter boxes.
#include <set>

#include "platform/GbkText.h"
#include "platform/Numbers.h"
#include "tests/marksix/MarkSixFixture.h"

namespace {

class StrengthWindow : public MarkSixTest {
 protected:
  // 2 January 2008, 9:00: 丁亥 壬子 辛丑 癸巳 (lunar 2007). Its animals tie at the ninth place.
  void PickTieMoment() {
    PickMoment(2008, 1, 2, 9, 0);
    ASSERT_EQ(Form2->Label7->Caption(), std::string("丁亥　壬子　辛丑　癸巳"))
        << Readable(Form2->Label7->Caption());
  }
  std::string Value(int label) {
    return Form5->Find<TLabel>("label" + std::to_string(label))->Caption();
  }
  TCheckBox* Box(int n) { return Form5->Find<TCheckBox>("checkbox" + std::to_string(n)); }
  // Numbers of the window's boxes from `from` to `to` that are ticked.
  std::vector<int> Ticked(TForm* form, int from, int to) {
    std::vector<int> ticked;
    for (int n = from; n <= to; ++n) {
      const TCheckBox* box = form->Find<TCheckBox>("checkbox" + std::to_string(n));
      if (box && box->Checked()) ticked.push_back(n);
    }
    return ticked;
  }
  std::vector<std::string> RankingLines() {
    std::vector<std::string> lines;
    for (int i = 0; i < Form5->Memo1->LineCount(); ++i) lines.push_back(Form5->Memo1->Line(i));
    return lines;
  }
};

TEST_F(StrengthWindow, ShowingWritesTheStrengthsOfThePillarsAndEmptiesTheRanking) {
  ASSERT_NO_FATAL_FAILURE(PickTieMoment());
  Form5->Memo1->SetText("old");
  Form5->Show();
  EXPECT_GBK_EQ(Form5->Caption(), "香港六合彩特码力量");
  EXPECT_EQ(Form5->ClientWidth(), 447);
  EXPECT_EQ(Form5->ClientHeight(), 375);
  const std::vector<std::string> animals = {"5.4", "4.7", "4.4", "4.4", "4.8", "3.3",
                                            "3.3", "3.1", "3.6", "3.6", "3.3", "6"};
  for (int i = 0; i < 12; ++i) EXPECT_EQ(Value(2 + i), animals[i]) << "animal " << i + 1;
  // 金 木 水 火 土; 红 绿 兰; tails 0 and 1; heads 0 and 4.
  const std::vector<std::pair<int, std::string>> others = {
      {15, "6.4"}, {16, "6.2"}, {17, "5.2"},  {18, "5.8"}, {19, "6"},   {21, "4.7"},
      {22, "5.9"}, {23, "6.9"}, {83, "6.25"}, {82, "6"},   {86, "6.2"}, {90, "6.4"}};
  for (const auto& [label, value] : others) EXPECT_EQ(Value(label), value) << "Label" << label;
  EXPECT_EQ(Form5->Memo1->GetText(), "");

  UserClick(Form5->Button1);
  const std::string ranking = Form5->Memo1->GetText();
  Form5->Close();
  Form5->Show();
  EXPECT_EQ(Value(2), "5.4");
  EXPECT_EQ(Value(90), "6.4");
  EXPECT_EQ(Form5->Memo1->GetText(), "");
  UserClick(Form5->Button1);
  EXPECT_EQ(Form5->Memo1->GetText(), ranking);
}

TEST_F(StrengthWindow, RankingListsEveryNumberOnceStrongestFirst) {
  ASSERT_NO_FATAL_FAILURE(PickTieMoment());
  Form5->Show();
  UserClick(Form5->Button1);
  const auto lines = RankingLines();
  ASSERT_EQ(lines.size(), 49u);
  std::set<int> numbers;
  double previous = 1e9;
  for (size_t r = 0; r < lines.size(); ++r) {
    const std::string& line = lines[r];
    ASSERT_EQ(ByteCopy(line, 1, 4), "特码") << Readable(line);
    numbers.insert(StrToInt(ByteCopy(line, 5, 2)));
    EXPECT_EQ(ByteCopy(line, 7, 5), ":力量") << Readable(line);
    const std::string p = ByteCopy(line, 12, 5);
    EXPECT_EQ(ByteCopy(line, 17, 8), "......第") << Readable(line);
    EXPECT_EQ(ByteCopy(line, 25, 2), IntToStrPadded(r + 1, 2));
    EXPECT_EQ(ByteCopy(line, 27, 6), "个号码");
    EXPECT_EQ(line.size(), 32u) << Readable(line);
    const double score = StrToFloat(p);
    EXPECT_LE(score, previous) << Readable(line);
    previous = score;
  }
  EXPECT_EQ(numbers.size(), 49u);
  EXPECT_GT(StrToFloat(ByteCopy(lines[0], 12, 5)), StrToFloat(ByteCopy(lines[48], 12, 5)));
}

TEST_F(StrengthWindow, ATieAtTheNinthAnimalTicksEveryTiedOneHereAndInTheCalculator) {
  ASSERT_NO_FATAL_FAILURE(PickTieMoment());
  Form5->Show();
  UserDoubleClick(Form5->Label1);
  // All but 羊 (3.1): 蛇, 马 and 狗 tie at 3.3 in the ninth place.
  const std::vector<int> expected = {1, 2, 3, 4, 5, 6, 7, 9, 10, 11, 12};
  EXPECT_EQ(Ticked(Form5, 1, 12), expected);
  EXPECT_EQ(Ticked(Form4, 1, 12), expected);
  // The colours' reference: the two strongest, 兰 6.9 and 绿 5.9.
  UserDoubleClick(Form5->Label20);
  EXPECT_EQ(Ticked(Form5, 18, 20), (std::vector<int>{19, 20}));
  EXPECT_EQ(Ticked(Form4, 13, 15), (std::vector<int>{14, 15}));
  // Elements 金 6.4 木 6.2 水 5.2 火 5.8 土 6: four strongest.
  UserDoubleClick(Form5->Label14);
  EXPECT_EQ(Ticked(Form5, 13, 17), (std::vector<int>{13, 14, 16, 17}));
  EXPECT_EQ(Ticked(Form4, 37, 41), (std::vector<int>{37, 38, 40, 41}));
  UserDoubleClick(Form5->Label84);
  EXPECT_EQ(Ticked(Form5, 70, 79).size(), Ticked(Form4, 16, 25).size());
  EXPECT_GE(Ticked(Form4, 16, 25).size(), 8u);
  UserDoubleClick(Form5->Label85);
  EXPECT_GE(Ticked(Form4, 26, 30).size(), 4u);
  for (int i = 0; i < 5; ++i)
    EXPECT_EQ(Box(80 + i)->Checked(), Form4->FilterBox(26 + i)->Checked()) << "head " << i;
  for (int d = 0; d < 10; ++d)
    EXPECT_EQ(Box(79 - d)->Checked(), Form4->FilterBox(16 + d)->Checked()) << "tail " << d;
}

TEST_F(StrengthWindow, TicksFlowOneWayAndOnlyOnARealChange) {
  ASSERT_NO_FATAL_FAILURE(PickTieMoment());
  Form4->Show();
  UserClick(Form4->FilterBox(8));  // the user ticks 羊 in the calculator
  Form5->Show();
  UserClick(Box(1));
  EXPECT_TRUE(Form4->FilterBox(1)->Checked());
  UserClick(Box(1));
  EXPECT_FALSE(Form4->FilterBox(1)->Checked());
  // Nothing comes back from the calculator.
  UserClick(Form4->FilterBox(2));
  EXPECT_FALSE(Box(2)->Checked());
  // The heading unticks every animal here (羊 was unticked already: no change, no copy) and
  // ticks the strong ones; 羊 stays ticked in the calculator.
  UserDoubleClick(Form5->Label1);
  EXPECT_FALSE(Box(8)->Checked());
  EXPECT_TRUE(Form4->FilterBox(8)->Checked());
  // A tail box here follows to its calculator box: tail 3 is CheckBox76 here, 19 there.
  UserClick(Box(76));
  EXPECT_TRUE(Form4->FilterBox(19)->Checked());
}

TEST_F(StrengthWindow, ClearingTicksClearsTheFollowersButNoOtherCalculatorGroup) {
  ASSERT_NO_FATAL_FAILURE(PickTieMoment());
  Form5->Show();
  for (TLabel* heading :
       {Form5->Label1, Form5->Label14, Form5->Label20, Form5->Label84, Form5->Label85})
    UserDoubleClick(heading);
  Form4->Show();
  for (int n : {31, 33, 35, 42, 49, 62, 72}) UserClick(Form4->FilterBox(n));
  UserClick(Form5->Button4);
  EXPECT_TRUE(Ticked(Form5, 1, 84).empty());
  EXPECT_TRUE(Ticked(Form4, 1, 30).empty());
  EXPECT_TRUE(Ticked(Form4, 37, 41).empty());
  EXPECT_EQ(Ticked(Form4, 31, 36), (std::vector<int>{31, 33, 35}));
  EXPECT_EQ(Ticked(Form4, 42, 78), (std::vector<int>{42, 49, 62, 72}));
}

TEST_F(StrengthWindow, PillarsNotComputedLeaveEmptyStrengthsAndTheRankingRaises) {
  ReplaceMainWindowUnshown();
  Form5->Show();
  for (int label : {2, 13, 15, 21, 74, 83, 86, 90}) EXPECT_EQ(Value(label), "") << label;
  Form5->Memo1->SetText("old");
  dialogs().AnswerMessage();
  UserClick(Form5->Button1);  // no lunar year either
  EXPECT_EQ(dialogs().Messages(), std::vector<std::string>{"「」不是有效的整数"});
  EXPECT_EQ(Form5->Memo1->GetText(), "old");
  dialogs().AnswerMessage();
  UserDoubleClick(Form5->Label1);
  EXPECT_EQ(dialogs().Messages().back(), "「」不是有效的数字");
  EXPECT_TRUE(Ticked(Form4, 1, 78).empty());
}

TEST_F(StrengthWindow, CopyAndExit) {
  ASSERT_NO_FATAL_FAILURE(PickTieMoment());
  Form5->Show();
  UserClick(Form5->Button1);
  dialogs().AnswerPopup(Form5->N1);
  Form5->PopupMenu1->Popup(0, 0);
  EXPECT_EQ(Clipboard()->AsText(), Form5->Memo1->GetText());
  EXPECT_EQ(ByteCopy(Clipboard()->AsText(), 1, 4), "特码");
  UserClick(Form5->Button3);
  EXPECT_FALSE(Form5->Visible());
}

TEST_F(StrengthWindow, ScreenshotAfterARanking) {
  ASSERT_NO_FATAL_FAILURE(PickTieMoment());
  Form5->Show();
  UserDoubleClick(Form5->Label1);
  UserClick(Form5->Button1);
  ProcessEvents();
  EXPECT_NE(SaveScreenshot(Form5, "form5_ranking"), "");
}

}  // namespace
