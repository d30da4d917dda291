// The workbench model without a window: the moment and whether its labels are current, the
// lines as other windows hand them over, and a cast that refuses before it changes anything.
#include <gtest/gtest.h>

#include "platform/Exceptions.h"
#include "tests/workbench_logic/GbkExpect.h"
#include "workbench/model/WorkbenchModel.h"

namespace {

class Model : public ::testing::Test {
 protected:
  const TLunarEngine engine{};
  WorkbenchModel model{engine};

  void At(const MomentTexts& moment) {
    model.Moment = moment;
    ASSERT_TRUE(model.UpdateLabels());
  }
};

TEST_F(Model, LabelsAreCurrentOnlyForTheMomentTheyWereComputedFor) {
  EXPECT_FALSE(model.LabelsCurrent());
  EXPECT_THROW(model.RequireCurrentLabels(), EConvertError);
  ASSERT_NO_FATAL_FAILURE(At({"2012", "2", "4", "16", "54"}));
  EXPECT_TRUE(model.LabelsCurrent());
  EXPECT_GBK_EQ(model.Labels().FourPillarsText, "壬辰　壬寅　乙未　甲申");
  EXPECT_GBK_EQ(model.Labels().PillarBranches(), "辰寅未申");
  // y 辰 5 + lunar 1 + 13 + h 申 9.
  EXPECT_EQ(model.Basis().Sum(), 28);

  // A year still being typed leaves the labels, which no longer belong to the moment.
  model.Moment[0] = "201";
  EXPECT_FALSE(model.UpdateLabels());
  EXPECT_FALSE(model.LabelsCurrent());
  EXPECT_THROW(model.Basis(), EConvertError);
  // A refused moment keeps the old labels, which are not current either.
  for (const MomentTexts& bad :
       {MomentTexts{"2008", "2", "31", "20", "8"}, MomentTexts{"2200", "8", "8", "20", "8"},
        MomentTexts{"2012", "2", "4", "24", "0"}}) {
    model.Moment = bad;
    EXPECT_THROW(model.UpdateLabels(), EConvertError);
    EXPECT_GBK_EQ(model.Labels().FourPillarsText, "壬辰　壬寅　乙未　甲申");
    EXPECT_FALSE(model.LabelsCurrent());
  }
  model.Moment = {"2012", "2", "4", "16", "54"};
  EXPECT_TRUE(model.LabelsCurrent());
}

TEST_F(Model, LinesHandedOverAsCaptions) {
  model.Lines[0] = LineState::FromCaption(YinLineCaption, true);
  model.Lines[1] = LineState::FromCaption("?", false);
  EXPECT_FALSE(model.Lines[0].IsYang());
  EXPECT_TRUE(model.Lines[0].moving);
  EXPECT_TRUE(model.Lines[1].IsYang());
  EXPECT_GBK_EQ(model.Lines[1].Caption(), "?");
  // A toggle turns yin into yang and anything else into yin.
  model.ToggleLine(0);
  model.ToggleLine(1);
  EXPECT_GBK_EQ(model.Lines[0].Caption(), YangLineCaption);
  EXPECT_GBK_EQ(model.Lines[1].Caption(), YinLineCaption);
  EXPECT_TRUE(model.Lines[0].moving);

  // The exchange leaves a trigram that holds a foreign caption.
  CastLines qian{};
  qian.Yang = {true, true, true, false, false, false};  // 乾 over 坤
  model.SetLines(qian);
  model.Lines[4] = LineState::FromCaption("x", false);
  model.ExchangeTrigrams();
  EXPECT_TRUE(model.Lines[0].IsYang());  // 乾 became 艮
  EXPECT_FALSE(model.Lines[1].IsYang());
  EXPECT_FALSE(model.Lines[2].IsYang());
  EXPECT_FALSE(model.Lines[3].IsYang());
  EXPECT_GBK_EQ(model.Lines[4].Caption(), "x");
}

TEST_F(Model, CastRefusesBeforeChangingAnything) {
  ASSERT_NO_FATAL_FAILURE(At({"2012", "2", "4", "16", "54"}));
  model.SetLines(TimeCast(5, 1, 13, 9));
  model.CastChart(StrengthModel::Factor);
  const std::string chart = model.ChartText;
  ASSERT_EQ(chart.rfind("公历:2012年2月4日16时54分", 0), 0u) << Readable(chart);
  EXPECT_EQ(model.ResultText, model.Cast.RecommendationText);

  model.Moment[2] = "31";  // labels not current
  EXPECT_THROW(model.CastChart(StrengthModel::Factor), EConvertError);
  model.Moment[2] = "4";
  model.ShiOdds = "abc";
  EXPECT_THROW(model.CastChart(StrengthModel::Factor), EConvertError);
  EXPECT_EQ(model.ChartText, chart);
}

}  // namespace
