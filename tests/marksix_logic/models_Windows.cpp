// What the three number windows show, without the windows: the calculator's ticks, the shown
// strengths and ticks of the strength window, the formula window's test, and the lunar year of
// the main window's moment.
#include <gtest/gtest.h>

#include "marksix/model/CalculatorModel.h"
#include "marksix/model/ChartYear.h"
#include "marksix/model/FormulaModel.h"
#include "marksix/model/NumberStrengthModel.h"
#include "platform/Exceptions.h"
#include "tests/marksix_logic/FormulaSample.h"
#include "tests/workbench_logic/GbkExpect.h"

namespace {

TEST(CalculatorModel, ListsComeFromTheTicksInValueOrder) {
  CalculatorModel model;
  EXPECT_EQ(model.GroupList(11), "0123456");
  model.Ticked[72] = model.Ticked[78] = true;  // 支尾 6 and 0: numbered downwards
  EXPECT_EQ(model.GroupList(11), "06");
  model.Ticked[36] = true;  // 合数 双
  EXPECT_EQ(model.GroupList(6), "HS");
  model.Ticked[49] = model.Ticked[58] = true;  // 合和 1 and 10
  EXPECT_EQ(model.GroupList(9), ".01.10");
  model.Calculate(2008);  // 支尾 0 or 6, even digit sum 1 or 10: only 28
  EXPECT_GBK_EQ(model.ResultText, "推算1码: 28");
  model.Clear();
  EXPECT_EQ(model.GroupList(11), "0123456");
  EXPECT_EQ(model.ResultText, "");
  model.Ticked[1] = true;
  model.Calculate(2008);
  EXPECT_GBK_EQ(model.ResultText, "推算5码: 1 13 25 37 49");
}

TEST(NumberStrengthModel, StrengthsAreKeptAsShown) {
  NumberStrengthModel model;
  model.ComputeStrengths("丁亥　壬子　辛丑　癸巳");
  ASSERT_TRUE(model.Known);
  // Red is 1.95 + 0.85 + 1.15 + 0.75, which adds up just below 4.7 and shows 4.7.
  EXPECT_EQ(model.Groups[2].Values[0], 4.7);
  EXPECT_EQ(model.Groups[0].Values[0], 5.4);
  EXPECT_EQ(model.Groups[3].Values[0], 6.25);
  // 蛇, 马 and 狗 tie at the ninth place: all three are strong.
  const std::vector<bool> strong = model.StrongMembers(0);
  EXPECT_EQ(strong, (std::vector<bool>{true, true, true, true, true, true, true, false, true, true,
                                       true, true}));
  model.Rank(2007);
  EXPECT_EQ(model.RankingText.substr(0, 4), "特码");
  EXPECT_EQ(std::count(model.RankingText.begin(), model.RankingText.end(), '\n'), 48);
}

TEST(NumberStrengthModel, UnknownPillarsShowNothingAndRaiseChangingNothing) {
  NumberStrengthModel model;
  model.ComputeStrengths("丁亥　壬子　辛丑　癸巳");
  model.Rank(2007);
  const std::string ranking = model.RankingText;
  model.ComputeStrengths("");
  EXPECT_FALSE(model.Known);
  EXPECT_THROW(model.Rank(2007), EConvertError);
  EXPECT_EQ(model.RankingText, ranking);
  EXPECT_THROW(model.StrongMembers(1), EConvertError);
}

TEST(NumberStrengthModel, OnlyARealChangeOfATickCounts) {
  NumberStrengthModel model;
  EXPECT_FALSE(model.SetTicked(3, 2, false));
  EXPECT_TRUE(model.SetTicked(3, 2, true));
  EXPECT_FALSE(model.SetTicked(3, 2, true));
  EXPECT_EQ(model.Groups[3].CalculatorBoxes[2], 18);  // tail 2 follows to the calculator's 18
  EXPECT_TRUE(model.SetTicked(3, 2, false));
}

class FormulaModelTest : public ::testing::Test {
 protected:
  FormulaModel model;
  int yearAsked = 0;
  std::function<int()> year = [this] { return ++yearAsked, 2008; };
  void SetUp() override {
    model.Typed = {"1", "2", "3", "4", "5", "6"};
    model.Captions[0] = "before";
    model.ResultText = "earlier";
  }
  void ExpectUnchanged() {
    EXPECT_EQ(model.Captions[0], "before");
    EXPECT_EQ(model.ResultText, "earlier");
  }
};

TEST_F(FormulaModelTest, ADamagedFileIsNamedBeforeAnythingElseIsRead) {
  for (const std::string& file :
       {std::string("0010102"), SampleFormulaFile().substr(0, 179), std::string()}) {
    model.Typed[5] = "x";  // the file is refused first
    try {
      model.Test(file, "/p/bd/gs.dat", year);
      ADD_FAILURE() << "no error for a file of " << file.size();
    } catch (const EReadError& e) {
      EXPECT_GBK_EQ(e.Message(), "文件已损坏:/p/bd/gs.dat");
    }
    ExpectUnchanged();
  }
  EXPECT_EQ(yearAsked, 0);
}

TEST_F(FormulaModelTest, NumbersOutsideTheDrawChangeNothing) {
  model.Typed[2] = "50";
  EXPECT_FALSE(model.Test(SampleFormulaFile(), "gs.dat", year));
  ExpectUnchanged();
  model.Typed[2] = "3.";
  EXPECT_THROW(model.Test(SampleFormulaFile(), "gs.dat", year), EConvertError);
  ExpectUnchanged();
  model.Typed[2] = "3";
  model.Ticked.fill(false);
  EXPECT_TRUE(model.Test(SampleFormulaFile(), "gs.dat", year));
  EXPECT_EQ(yearAsked, 1);
  EXPECT_EQ(model.ResultText.substr(model.ResultText.find("码:")),
            "码:1 2 3 4 5 6 7 8 9 10 11 12 "
            "13 14 15 16 17 18 19 20 21 22 23 24 25 26 27 28 29 30 31 32 33 34 35 36 37 38 39 40 "
            "41 42 43 44 45 46 47 48 49 ");
}

TEST(ChartLunarYear, TheMomentsLunarYearOrTheDateErrorNamingIt) {
  const TLunarEngine engine;
  WorkbenchModel chart(engine);
  EXPECT_THROW(ChartLunarYear(chart), EConvertError);  // labels never computed
  chart.Moment = {"2008", "1", "2", "9", "0"};
  ASSERT_TRUE(chart.UpdateLabels());
  EXPECT_EQ(ChartLunarYear(chart), 2007);
  for (const char* day : {"1", "30"}) {  // the calendar's lunar days start on 31 January 1900
    chart.Moment = {"1900", "1", day, "23", "59"};
    ASSERT_TRUE(chart.UpdateLabels());
    try {
      ChartLunarYear(chart);
      ADD_FAILURE() << day;
    } catch (const EConvertError& e) {
      EXPECT_GBK_EQ(e.Message(), std::string("日期或时间无效，或不在1900-2100年之间：「1900年1月") +
                                     day + "日23时59分」，请先改正日期和时间");
    }
  }
  chart.Moment = {"1900", "1", "31", "0", "0"};
  ASSERT_TRUE(chart.UpdateLabels());
  EXPECT_EQ(ChartLunarYear(chart), 1900);
}

}  // namespace
