// The trigram judgement after every cast, and the exchange of trigrams.
#include "tests/workbench/main_Fixture.h"

namespace {

class TrigramCommands : public MainWindowTest {};

// Pillars 辰寅未申: P(乾) 15, P(震) 10, P(离) 12, P(兑) 15; relations 乾-震 14, 震-乾 11,
// 离-兑 14, 兑-离 11. s1 = 210, s2 = 110.
TEST_F(TrigramCommands, JudgementAfterAManualCast) {
  ASSERT_NO_FATAL_FAILURE(PickStandardMoment());
  // No line moves: each ratio twice its own side.
  SetLines("111001");
  UserClick(form->Button1);
  EXPECT_GBK_EQ(form->Edit2->GetText(),
                form->Model().Cast.RecommendationText + ",上下卦力量比:4.2---2.2");
  EXPECT_DOUBLE_EQ(form->Model().Judgement.TrigramRatios[0], 4.2);
  EXPECT_DOUBLE_EQ(form->Model().Judgement.TrigramRatios[1], 2.2);

  // Both trigrams move (乾 to 离, 震 to 兑): s3 = 12 x 14, s4 = 15 x 11, upper and lower kept.
  SetLines("111001", "010010");
  UserClick(form->Button1);
  EXPECT_GBK_EQ(form->Edit2->GetText(),
                form->Model().Cast.RecommendationText + ",上下卦力量比:3.78---2.75");

  // Only the lower moves (震 to 兑): s3 = s4 = 15 x 15; 体 is the unmoved upper side.
  SetLines("111001", "000010");
  UserClick(form->Button1);
  EXPECT_GBK_EQ(form->Edit2->GetText(),
                form->Model().Cast.RecommendationText + ",体用力量比:4.35---3.35");
  EXPECT_GBK_EQ(form->Model().Cast.PillarBranches, "辰寅未申");
}

// A caption that is neither line counts as yang, as the cast counts it.
TEST_F(TrigramCommands, JudgementReadsForeignCaptionsAsYang) {
  ASSERT_NO_FATAL_FAILURE(PickStandardMoment());
  SetLines("011001");
  form->SetLineCaption(0, "?");
  UserClick(form->Button1);
  EXPECT_GBK_EQ(form->Edit2->GetText(),
                form->Model().Cast.RecommendationText + ",上下卦力量比:4.2---2.2");
}

TEST_F(TrigramCommands, ExchangeTurnsEachTrigramIntoItsCounterpart) {
  ASSERT_NO_FATAL_FAILURE(PickStandardMoment());
  SetLines("111001", "010000");  // 乾 over 震, line 5 moving
  Run("转雷山卦");
  EXPECT_EQ(LineCode(), "100001");  // 艮 over 震
  EXPECT_EQ(MovingCode(), "010000");
  EXPECT_NE(form->RichEdit1->GetText().find("山雷颐"), std::string::npos)
      << Readable(form->RichEdit1->GetText());
  Run("转雷山卦");
  EXPECT_EQ(LineCode(), "111001");
  EXPECT_NE(form->RichEdit1->GetText().find("天雷无妄"), std::string::npos);

  // 兑/坎 and 离/巽 exchange, 坤 stays.
  SetLines("011101");
  Run("转雷山卦");
  EXPECT_EQ(LineCode(), "010110");
  SetLines("000000");
  Run("转雷山卦");
  EXPECT_EQ(LineCode(), "000000");
}

TEST_F(TrigramCommands, ExchangeLeavesATrigramWithAForeignCaption) {
  ASSERT_NO_FATAL_FAILURE(PickStandardMoment());
  SetLines("111111");
  form->SetLineCaption(1, "?");
  Run("转雷山卦");
  EXPECT_GBK_EQ(form->Button3->Caption(), "▅▅▅▅▅");
  EXPECT_GBK_EQ(form->Button4->Caption(), "?");
  EXPECT_GBK_EQ(form->Button5->Caption(), "▅▅▅▅▅");
  EXPECT_EQ(LineCode().substr(3), "100");  // 乾 below became 艮
}

}  // namespace
