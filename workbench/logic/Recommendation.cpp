#include "workbench/logic/Recommendation.h"

#include <cstdlib>

#include "platform/GbkText.h"
#include "platform/Numbers.h"
#include "workbench/logic/NumerologyWords.h"

std::array<int, 8> GoalTimeCandidates(int a, int b) {
  std::array<int, 9> c = {0,
                          std::abs(a - b),
                          std::abs(a + b),
                          std::abs(10 * a - b),
                          std::abs(10 * a + b),
                          std::abs(a - 10 * b),
                          std::abs(10 * b + a),
                          std::abs(10 * a - 10 * b),
                          std::abs(10 * a + 10 * b)};
  // Selection sort from 1; a value equal to the one already placed is pushed out of range.
  for (int i = 1; i <= 7; ++i)
    for (int j = i + 1; j <= 8; ++j) {
      if (c[j] < c[i]) std::swap(c[i], c[j]);
      if (c[j] == c[i]) c[j] = 1000 + i + j;
    }
  std::array<int, 8> sorted;
  for (int i = 0; i < 8; ++i) sorted[i] = c[i + 1];
  return sorted;
}

std::string GoalTimeTextOf(const std::string& movingBranch, const std::string& changedBranch,
                           const std::string& dayBranch) {
  const int a = BranchDistance(movingBranch, dayBranch);
  const int b = BranchDistance(changedBranch, dayBranch);
  std::string text;
  for (int minute : GoalTimeCandidates(a, b))
    if (minute >= 10 && minute <= 95) text += " " + IntToStr(minute);
  return text;
}

double StrengthThreshold(const std::array<double, 18>& strengths) {
  // Each strength is a two-decimal value; adding the doubles can land a hair under a whole
  // hundredth and lose it in the cut.
  int64_t hundredths = 0;
  for (int k = 1; k <= 12; ++k) hundredths += RoundHalfEven(strengths[k] * 100);
  const int64_t average = hundredths / 12;  // C++ division cuts towards zero
  // The same double as a two-decimal strength of that many hundredths, so a moving strength
  // equal to the threshold compares equal.
  return RoundTo(static_cast<double>(average) / 100, -2) + 0.0;
}

namespace {

std::string Number(double value) { return FloatToStr(value + 0.0); }

// The odds factors are finite and rounded, so the product is too.
double Weighted(double strength, double factor) { return RoundTo(strength * factor, -2) + 0.0; }

}  // namespace

void Recommend(ChartFields& f, const std::string& xunVoidText, StrengthModel model) {
  const StrengthChart chart{f.MovingBranch, f.ChangedBranch, xunVoidText};
  auto strength = [&](const std::string& branch, int mode) {
    return ModelStrength(model, branch, f.PillarBranches, mode, 1.0, chart);
  };
  const bool moving = !f.MovingBranch.empty();

  f.GoalTimeText =
      moving ? GoalTimeTextOf(f.MovingBranch, f.ChangedBranch, ByteCopy(f.PillarBranches, 5, 2))
             : "";

  auto& s = f.BranchElementStrengths;
  for (int k = 1; k <= 12; ++k) s[k] = strength(BranchName(k), 4);
  s[13] = s[9] + s[10];                // 金: 申 酉
  s[14] = s[3] + s[4];                 // 木: 寅 卯
  s[15] = s[1] + s[12];                // 水: 子 亥
  s[16] = s[6] + s[7];                 // 火: 巳 午
  s[17] = s[2] + s[5] + s[8] + s[11];  // 土: 丑 辰 未 戌
  s[0] = StrengthThreshold(s);

  double A, B;
  if (!moving) {
    A = Weighted(strength(f.ShiBranch, 4), f.ShiOddsFactor);
    B = Weighted(strength(f.YingBranch, 4), f.YingOddsFactor);
    f.RecommendationText =
        (A >= B ? "推荐,世(世应力量:" : "推荐,应(世应力量:") + Number(A) + "－" + Number(B) + ")";
  } else {
    A = Weighted(strength(f.ShiBranch, f.ShiMoving ? 5 : 6), f.ShiOddsFactor);
    B = Weighted(strength(f.YingBranch, f.YingMoving ? 5 : 6), f.YingOddsFactor);
    f.MovingStrength = strength(f.MovingBranch, 4);
    f.ChangedStrength = strength(f.ChangedBranch, 4);
    // Any mark other than the yang one reads as a moving yin line.
    const WordRule words =
        SizeAndParity(f.MovingStrength, f.ChangedStrength, s[0], f.MovingMark == "○→");
    f.RecommendationText = std::string("推荐:") + (words.Big ? "大" : "小") +
                           (words.Odd ? "单" : "双") +
                           (A >= B ? ",世(世应力量:" : ",应(世应力量:") + Number(A) + "－" +
                           Number(B) + ",足球进球时间:" + f.GoalTimeText + ")";
  }
  f.ShiStrength = A;
  f.YingStrength = B;
}
