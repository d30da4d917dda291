// Trigram judgement: the two tables, the weighing and the exchange of trigrams.
#include <gtest/gtest.h>

#include "tests/workbench_logic/GbkExpect.h"
#include "workbench/logic/TrigramJudgement.h"

namespace {

// Elements: 0 metal, 1 wood, 2 water, 3 fire, 4 earth. Generation runs metal -> water -> wood ->
// fire -> earth -> metal; each overcomes the one two steps ahead.
constexpr int kTrigramElement[8] = {0, 0, 3, 1, 1, 2, 4, 4};  // 乾 兑 离 震 巽 坎 艮 坤
constexpr int kBranchElement[12] = {2, 4, 1, 1, 4, 3, 3, 4, 0, 0, 4, 2};
constexpr int kCycle[5] = {0, 2, 1, 3, 4};  // place of each element in the generating cycle

bool Generates(int a, int b) { return (kCycle[a] + 1) % 5 == kCycle[b]; }
bool Overcomes(int a, int b) { return (kCycle[a] + 2) % 5 == kCycle[b]; }

}  // namespace

TEST(TrigramJudgement, TablesFollowTheElements) {
  for (int t = 0; t < 8; ++t) {
    const int te = kTrigramElement[t];
    for (int b = 0; b < 12; ++b) {
      const int be = kBranchElement[b];
      const int expected = te == be            ? 5
                           : Generates(be, te) ? 4
                           : Generates(te, be) ? 3
                           : Overcomes(te, be) ? 2
                                               : 1;
      EXPECT_EQ(TrigramBranchTable[t][b], expected) << "trigram " << t + 1 << " branch " << b + 1;
    }
    for (int u = 0; u < 8; ++u) {
      const int ue = kTrigramElement[u];
      const int expected = te == ue            ? 5
                           : Overcomes(te, ue) ? 4
                           : Generates(ue, te) ? 3
                           : Generates(te, ue) ? 2
                                               : 1;
      EXPECT_EQ(TrigramRelationTable[t][u], expected) << "trigrams " << t + 1 << " " << u + 1;
    }
  }
}

TEST(TrigramJudgement, BranchStrengthAndRelation) {
  EXPECT_EQ(TrigramBranchStrength(6, "子子子子"), 20);  // 坎 among water
  EXPECT_EQ(TrigramBranchStrength(3, "子子亥亥"), 4);   // 离 against water
  EXPECT_EQ(TrigramBranchStrength(1, "子丑寅卯"), 11);
  EXPECT_EQ(TrigramBranchStrength(8, "辰巳午未"), 18);
  EXPECT_EQ(TrigramRelation(1, 3), 11);  // fire overcomes metal
  EXPECT_EQ(TrigramRelation(3, 1), 14);
  EXPECT_EQ(TrigramRelation(7, 8), 15);
}

TEST(TrigramJudgement, TrigramNumbersAndTheirExchange) {
  EXPECT_EQ(TrigramNumber(true, true, true), 1);
  EXPECT_EQ(TrigramNumber(false, false, true), 4);
  EXPECT_EQ(TrigramNumber(false, false, false), 8);
  EXPECT_EQ(TrigramNumber(true, false, false), 7);
  const int pairs[8] = {7, 6, 5, 4, 3, 2, 1, 8};
  for (int t = 1; t <= 8; ++t) {
    EXPECT_EQ(ExchangedTrigram(t), pairs[t - 1]) << t;
    EXPECT_EQ(ExchangedTrigram(ExchangedTrigram(t)), t) << t;
  }
}

// Pillars 子丑寅卯, 乾 (P 11) over 震 (P 16): s1 = 11 x 14 = 154, s2 = 16 x 11 = 176.
TEST(TrigramJudgement, RatiosByWhichTrigramMoves) {
  const std::string pillars = "子丑寅卯";
  const TrigramRatioPair still = JudgeTrigrams(1, 4, 1, 4, pillars);
  EXPECT_GBK_EQ(still.Label, "上下卦力量比:");
  EXPECT_DOUBLE_EQ(still.R0, 3.08);
  EXPECT_DOUBLE_EQ(still.R1, 3.52);
  EXPECT_GBK_EQ(TrigramRatioText(still), ",上下卦力量比:3.08---3.52");

  // 震 turns to 坤: s3 = 11 x 13 = 143, s4 = 9 x 12 = 108.
  const TrigramRatioPair lowerMoves = JudgeTrigrams(1, 4, 1, 8, pillars);
  EXPECT_GBK_EQ(TrigramRatioText(lowerMoves), ",体用力量比:2.97---2.84");

  // 乾 turns to 兑 (same element): s3 = 11 x 14, s4 = 16 x 11; the ratios swap sides.
  const TrigramRatioPair upperMoves = JudgeTrigrams(1, 4, 2, 4, pillars);
  EXPECT_GBK_EQ(TrigramRatioText(upperMoves), ",体用力量比:3.52---3.08");

  // Both move (乾 to 坎 P 12, 震 to 坤 P 9): s3 = 12 x 11 = 132, s4 = 9 x 14 = 126.
  const TrigramRatioPair bothMove = JudgeTrigrams(1, 4, 6, 8, pillars);
  EXPECT_GBK_EQ(TrigramRatioText(bothMove), ",上下卦力量比:2.86---3.02");
}
