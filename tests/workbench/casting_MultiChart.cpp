// Eight charts for one match, collected with their totals.
#include "platform/Numbers.h"
#include "tests/workbench/main_Fixture.h"

namespace {

class MultiChart : public MainWindowTest {
 protected:
  // The two numbers after `label` in a result: "<label>x<between>y", each a plain decimal.
  static std::pair<double, double> NumbersAfter(const std::string& block, const std::string& label,
                                                const std::string& between) {
    const size_t first = block.find(label);
    if (first == std::string::npos) return {-1, -1};
    const size_t x = first + label.size();
    const size_t separator = block.find(between, x);
    const size_t y = separator + between.size();
    const size_t end = block.find_first_not_of("0123456789.", y);
    return {StrToFloat(block.substr(x, separator - x)), StrToFloat(block.substr(y, end - y))};
  }

  // "　\r\n卦<n>占卜:" .. up to the next such head.
  std::vector<std::string> Blocks(const std::string& text) {
    std::vector<std::string> blocks;
    size_t at = 0;
    for (int n = 1; n <= 9; ++n) {
      const std::string head = "　\r\n卦" + std::to_string(n) + "占卜:";
      const size_t next = text.find(head, at);
      if (!blocks.empty()) blocks.back() = text.substr(at, next - at);
      if (next == std::string::npos) break;
      blocks.push_back("");
      at = next;
    }
    return blocks;
  }
};

TEST_F(MultiChart, EightChartsFromOffsetsZeroToSeven) {
  ASSERT_NO_FATAL_FAILURE(PickStandardMoment());
  form->ComboBox7->SetText("02　");
  // The first chart is the match cast itself.
  RunWithInput("足球数理", "曼联 切尔西");
  const std::string firstChart = form->RichEdit1->GetText();
  const std::string firstResult = form->Edit2->GetText();

  RunWithInput("一球多卦", "曼联 切尔西");
  const std::string all = form->RichEdit1->GetText();
  EXPECT_GBK_EQ(form->RichEdit3->GetText(), all);
  const std::vector<std::string> blocks = Blocks(all);
  ASSERT_EQ(blocks.size(), 8u) << Readable(all);
  EXPECT_GBK_EQ(blocks[0], "　\r\n卦1占卜:02　曼联　VS　切尔西\r\n" + firstChart + "\r\n　\r\n" +
                               firstResult + "\r\n　");

  // Totals: the sides' forces and the trigram ratios written in the eight results.
  double shi = 0, ying = 0, r0 = 0, r1 = 0;
  for (const std::string& block : blocks) {
    const auto forces = NumbersAfter(block, "主客力量:", "－");
    const auto ratios = NumbersAfter(block, "力量比:", "---");
    ASSERT_GT(forces.first, 0) << Readable(block);
    ASSERT_GT(ratios.first, 0) << Readable(block);
    shi += forces.first;
    ying += forces.second;
    r0 += ratios.first;
    r1 += ratios.second;
  }
  EXPECT_DOUBLE_EQ(form->Model().Judgement.ShiStrengthSum, shi);
  EXPECT_DOUBLE_EQ(form->Model().Judgement.YingStrengthSum, ying);
  EXPECT_DOUBLE_EQ(form->Model().Judgement.TrigramRatioSums[0], r0);
  EXPECT_DOUBLE_EQ(form->Model().Judgement.TrigramRatioSums[1], r1);
  const std::string summary =
      "综合世应力量:" + FloatToStr(form->Model().Judgement.ShiStrengthSum) + "－" +
      FloatToStr(form->Model().Judgement.YingStrengthSum) +
      ",体用力量:" + FloatToStr(form->Model().Judgement.TrigramRatioSums[0]) + "－" +
      FloatToStr(form->Model().Judgement.TrigramRatioSums[1]);
  EXPECT_GBK_EQ(form->Edit2->GetText(), summary);
  EXPECT_GBK_EQ(form->Model().Cast.RecommendationText, summary);

  // The last chart: 23 + 28 + 7 = 58 (兑), 15 + 28 + 7 = 50 (兑), 108 mod 6 = 0 (top line).
  EXPECT_EQ(LineCode(), "011011");
  EXPECT_EQ(MovingCode(), "100000");
  EXPECT_GBK_EQ(form->Edit1->GetText(), "曼联　VS　切尔西");

  SaveScreenshot(form.get(), "action55");
}

TEST_F(MultiChart, WithoutSeparatorTheBoxesAreEmptied) {
  ASSERT_NO_FATAL_FAILURE(PickStandardMoment());
  RunWithInput("一球多卦", "曼联 切尔西");
  ASSERT_NE(form->RichEdit1->GetText(), "");
  form->Edit1->SetText("问");
  dialogs().AnswerInput("曼联切尔西");
  dialogs().AnswerMessage();
  Run("一球多卦");
  EXPECT_EQ(dialogs().Messages(), std::vector<std::string>{"对阵无空格!"});
  EXPECT_GBK_EQ(form->RichEdit1->GetText(), "");
  EXPECT_GBK_EQ(form->RichEdit2->GetText(), "");
  EXPECT_GBK_EQ(form->RichEdit3->GetText(), "");
  EXPECT_EQ(form->Model().Judgement.ShiStrengthSum, 0);
  EXPECT_EQ(form->Model().Judgement.TrigramRatioSums[1], 0);
  EXPECT_EQ(form->Model().Judgement.TrigramRatios[0], 0);
  EXPECT_GBK_EQ(form->Edit1->GetText(), "问");
}

}  // namespace
