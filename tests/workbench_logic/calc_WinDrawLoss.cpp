// The win/draw/loss calculator's arithmetic, its verdicts and the refused divisions.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/Exceptions.h"
#include "platform/Numbers.h"
#include "tests/workbench_logic/GbkExpect.h"
#include "workbench/logic/StrengthReport.h"
#include "workbench/logic/WinDrawLoss.h"

namespace {

double R2(double v) { return RoundTo(v, -2); }

}  // namespace

TEST(WinDrawLoss, DefaultOddsGiveTheKnownLines) {
  const HandicapStrengths s = ComputeHandicaps(2, 3, 2, 1, 1);
  const double home[] = {1, 0.75, 1.25, 0.86, 1.14};
  const double away[] = {1, 1.25, 0.75, 1.14, 0.86};
  for (int i = 0; i < 5; ++i) {
    EXPECT_DOUBLE_EQ(R2(s.Home[i]), home[i]) << i;
    EXPECT_DOUBLE_EQ(R2(s.Away[i]), away[i]) << i;
  }
  EXPECT_GBK_EQ(HandicapVerdict(s), "推荐：31");
  // The strengths scale each side.
  const HandicapStrengths t = ComputeHandicaps(2, 3, 2, 2, 0.5);
  EXPECT_DOUBLE_EQ(t.Home[0], 2 * s.Home[0]);
  EXPECT_DOUBLE_EQ(t.Away[1], 0.5 * s.Away[1]);
}

TEST(WinDrawLoss, VerdictBranches) {
  HandicapStrengths s;
  s.Home = {1, 1, 0, 0, 0};  // level equal, half a goal equal: home win
  s.Away = {1, 1, 0, 0, 0};
  EXPECT_GBK_EQ(HandicapVerdict(s), "推荐：3");
  s.Home[1] = 0.9;
  EXPECT_GBK_EQ(HandicapVerdict(s), "推荐：31");
  s.Home = {0.9, 0, 1, 0, 0};  // away ahead on the level line
  s.Away = {1, 0, 1, 0, 0};
  EXPECT_GBK_EQ(HandicapVerdict(s), "推荐：0");  // equal on the away half goal
  s.Home[2] = 1.1;
  EXPECT_GBK_EQ(HandicapVerdict(s), "推荐：10");
  // From real odds: a strong home side.
  EXPECT_GBK_EQ(HandicapVerdict(ComputeHandicaps(1.5, 3.5, 6, 1, 1)), "推荐：3");
  EXPECT_GBK_EQ(HandicapVerdict(ComputeHandicaps(6, 3.5, 1.5, 1, 1)), "推荐：0");
}

TEST(WinDrawLoss, DivisionsThatCannotGiveANumberRaise) {
  // Draw odds 1 makes both level shares 0; draw odds 0 divides by zero; 0.5 zeroes the quarter
  // lines' numerators and sums; zero strengths are fine.
  EXPECT_THROW(ComputeHandicaps(2, 1, 2, 1, 1), Exception);
  EXPECT_THROW(ComputeHandicaps(2, 0, 2, 1, 1), Exception);
  EXPECT_THROW(ComputeHandicaps(2, 0.5, 2, 1, 1), Exception);
  EXPECT_THROW(ComputeHandicaps(0, 3, 0, 1, 1), Exception);
  EXPECT_NO_THROW(ComputeHandicaps(2, 3, 2, 0, 0));
  EXPECT_THROW(ComputeHandicaps(1e308, 3, 1e308, 1, 1), Exception);
  EXPECT_THROW(ComputeHandicaps(2, 3, 2, 1e308, 1), Exception);
  try {
    ComputeHandicaps(2, 1, 2, 1, 1);
  } catch (const Exception& e) {
    EXPECT_NE(std::string(e.what()).find("除数为零"), std::string::npos) << Readable(e.what());
  }
}

TEST(WinDrawLoss, SegmentsMixByTheirMinutes) {
  const auto m = MixSegments(1.5, 0.6, 60, 0.3, 1.2, 30);
  EXPECT_DOUBLE_EQ(m[0], 1.5 * 60 / 90 + 0.3 * 30 / 90);
  EXPECT_DOUBLE_EQ(R2(m[0]), 1.1);
  EXPECT_DOUBLE_EQ(R2(m[1]), 0.8);
  EXPECT_DOUBLE_EQ(MixSegments(2, 3, 90, 7, 7, 0)[1], 3);
  EXPECT_THROW(MixSegments(1, 1, 0, 1, 1, 0), Exception);
  EXPECT_THROW(MixSegments(1, 1, 60, 1, 1, -60), Exception);
  EXPECT_THROW(MixSegments(1e308, 1, 1e308, 1, 1, 0), Exception);
}

TEST(StrengthReport, LinesAndAverages) {
  std::array<double, 18> zero{};
  EXPECT_GBK_EQ(StrengthReportText(zero),
                "※年月日时力量※\n※※地支力量※※\n子(鼠):0\n丑(牛):0\n寅(虎):0\n卯(兔):0\n"
                "辰(龙):0\n巳(蛇):0\n午(马):0\n未(羊):0\n申(猴):0\n酉(鸡):0\n戌(狗):0\n"
                "亥(猪):0\n地支平均:0\n※※五行力量※※\n金:0\n木:0\n水:0\n火:0\n土:0\n"
                "五行平均:0");
  std::array<double, 18> s{};
  for (int i = 0; i < 18; ++i) s[i] = i * 0.5;
  const std::string text = StrengthReportText(s);
  EXPECT_NE(text.find("\n子(鼠):0.5\n"), std::string::npos) << Readable(text);
  EXPECT_NE(text.find("\n亥(猪):6\n地支平均:0\n"), std::string::npos) << Readable(text);
  // Earth is halved; the average is cut (not rounded) to two decimals: (6.5+7+7.5+8+4.25)/5.
  EXPECT_NE(text.find("\n土:4.25\n五行平均:6.65"), std::string::npos) << Readable(text);
  s[13] = 1.0 / 3;
  s[14] = s[15] = s[16] = s[17] = 0;
  const std::string cut = StrengthReportText(s);
  EXPECT_EQ(cut.substr(cut.rfind(':') + 1), "0.06");  // 6.666... cut to 6, not rounded to 7
}
