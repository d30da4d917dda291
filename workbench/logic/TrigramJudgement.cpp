#include "workbench/logic/TrigramJudgement.h"

#include "platform/GbkText.h"
#include "platform/Numbers.h"
#include "workbench/logic/Casting.h"
#include "workbench/logic/StrengthModels.h"

// clang-format off
const int TrigramBranchTable[8][12] = {
    // 子 丑 寅 卯 辰 巳 午 未 申 酉 戌 亥
    {3, 4, 2, 2, 4, 1, 1, 4, 5, 5, 4, 3},  // 乾
    {3, 4, 2, 2, 4, 1, 1, 4, 5, 5, 4, 3},  // 兑
    {1, 3, 4, 4, 3, 5, 5, 3, 2, 2, 3, 1},  // 离
    {4, 2, 5, 5, 2, 3, 3, 2, 1, 1, 2, 4},  // 震
    {4, 2, 5, 5, 2, 3, 3, 2, 1, 1, 2, 4},  // 巽
    {5, 1, 3, 3, 1, 2, 2, 1, 4, 4, 1, 5},  // 坎
    {2, 5, 1, 1, 5, 4, 4, 5, 3, 3, 5, 2},  // 艮
    {2, 5, 1, 1, 5, 4, 4, 5, 3, 3, 5, 2},  // 坤
};

const int TrigramRelationTable[8][8] = {
    // 乾 兑 离 震 巽 坎 艮 坤
    {5, 5, 1, 4, 4, 2, 3, 3},  // 乾
    {5, 5, 1, 4, 4, 2, 3, 3},  // 兑
    {4, 4, 5, 3, 3, 1, 2, 2},  // 离
    {1, 1, 2, 5, 5, 3, 4, 4},  // 震
    {1, 1, 2, 5, 5, 3, 4, 4},  // 巽
    {3, 3, 4, 2, 2, 5, 1, 1},  // 坎
    {2, 2, 3, 1, 1, 4, 5, 5},  // 艮
    {2, 2, 3, 1, 1, 4, 5, 5},  // 坤
};
// clang-format on

int TrigramNumber(bool top, bool middle, bool bottom) {
  for (int t = 1; t <= 8; ++t) {
    const auto lines = TrigramLines(t);
    if (lines[0] == top && lines[1] == middle && lines[2] == bottom) return t;
  }
  return 8;  // not reached: the eight patterns cover every combination
}

int ExchangedTrigram(int trigram) {
  const int counterpart = 8 - trigram;
  return counterpart == 0 ? 8 : counterpart;
}

int TrigramBranchStrength(int trigram, const std::string& pillarBranches) {
  int sum = 0;
  for (int position = 1; position <= 7; position += 2) {
    const int branch = BranchNumber(ByteCopy(pillarBranches, position, 2));
    if (branch != 0) sum += TrigramBranchTable[trigram - 1][branch - 1];
  }
  return sum;
}

int TrigramRelation(int a, int b) { return TrigramRelationTable[a - 1][b - 1] + 10; }

TrigramRatioPair JudgeTrigrams(int upper, int lower, int changedUpper, int changedLower,
                               const std::string& pillarBranches) {
  auto side = [&](int own, int other) {
    return TrigramBranchStrength(own, pillarBranches) * TrigramRelation(own, other);
  };
  const int s1 = side(upper, lower);
  const int s2 = side(lower, upper);
  const int s3 = side(changedUpper, changedLower);
  const int s4 = side(changedLower, changedUpper);
  const double upperRatio = RoundTo((s1 + s3) / 100.0, -3);
  const double lowerRatio = RoundTo((s2 + s4) / 100.0, -3);

  const bool upperMoves = upper != changedUpper;
  const bool lowerMoves = lower != changedLower;
  TrigramRatioPair ratios{"上下卦力量比:", upperRatio, lowerRatio};
  if (upperMoves != lowerMoves) {
    ratios.Label = "体用力量比:";
    if (upperMoves) {
      ratios.R0 = lowerRatio;
      ratios.R1 = upperRatio;
    }
  }
  return ratios;
}

std::string TrigramRatioText(const TrigramRatioPair& ratios) {
  return "," + ratios.Label + FloatToStr(ratios.R0) + "---" + FloatToStr(ratios.R1);
}
