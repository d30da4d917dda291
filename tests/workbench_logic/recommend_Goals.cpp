// Goal times, the strength threshold and the recommendation text.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "tests/workbench_logic/GbkExpect.h"
#include "workbench/logic/Recommendation.h"

namespace {

std::string Goals(int a, int b) {
  std::string text;
  for (int c : GoalTimeCandidates(a, b))
    if (c >= 10 && c <= 95) text += " " + std::to_string(c);
  return text;
}

// A moving chart with the given pillars and lines; odds factors 1.
ChartFields Moving(const std::string& pillars, const std::string& moving,
                   const std::string& changed, const std::string& mark) {
  ChartFields f;
  f.PillarBranches = pillars;
  f.MovingBranch = moving;
  f.ChangedBranch = changed;
  f.MovingMark = mark;
  f.ShiBranch = "戌";
  f.YingBranch = "辰";
  f.ShiOddsFactor = f.YingOddsFactor = 1;
  return f;
}

}  // namespace

TEST(GoalTimes, Candidates) {
  // a = 1, b = 4: 3, 5, 6, 14, 39, 41, 30, 50.
  const std::array<int, 8> sorted = GoalTimeCandidates(1, 4);
  EXPECT_EQ(sorted, (std::array<int, 8>{3, 5, 6, 14, 30, 39, 41, 50}));
  EXPECT_EQ(Goals(1, 4), " 14 30 39 41 50");
  // a = b: 0, 2a, 9a, 11a, 9a, 11a, 0, 20a; each value once.
  EXPECT_EQ(Goals(3, 3), " 27 33 60");
  EXPECT_EQ(Goals(1, 1), " 11 20");
  EXPECT_EQ(Goals(5, 5), " 10 45 55");
  // Repeats drop out past 1000: a = 2, b = 1 gives 1, 3, 19, 21, 8, 12, 10, 30 with no repeat;
  // a = 10, b = 10 gives 0, 20, 90, 110, 90, 110, 0, 200.
  EXPECT_EQ(Goals(2, 1), " 10 12 19 21 30");
  EXPECT_EQ(Goals(10, 10), " 20 90");
  const std::array<int, 8> repeated = GoalTimeCandidates(10, 10);
  EXPECT_EQ(repeated[0], 0);
  EXPECT_EQ(repeated[3], 110);
  for (int i = 5; i < 8; ++i) EXPECT_GT(repeated[i], 1000);
}

TEST(GoalTimes, FromBranches) {
  // Day 戌: 子 is 3 from it, 丑 4: 1, 7, 26, 34, 37, 43, 10, 70.
  EXPECT_EQ(GoalTimeTextOf("子", "丑", "戌"), " 10 26 34 37 43 70");
  // Moving branch equal to the day branch: a = 1.
  EXPECT_EQ(GoalTimeTextOf("戌", "丑", "戌"), " 14 30 39 41 50");
}

TEST(StrengthThreshold, CutInWholeHundredths) {
  std::array<double, 18> s{};
  // Twelve cosine strengths always sum to 36; against 子 子 丑 午 they add up to
  // 35.99999999999999 as doubles.
  double naive = 0;
  for (int k = 1; k <= 12; ++k)
    naive += s[k] = CosineLineStrength(BranchName(k), "子子丑午", 4, 1.0, StrengthChart{});
  ASSERT_LT(naive, 36);
  EXPECT_EQ(StrengthThreshold(s), 3);

  // The average is cut, not rounded: 50.2 / 12 = 4.1833..
  const double factor[12] = {5, 2.2, 4.2, 4, 2, 4, 3.8, 5.2, 4.8, 4.8, 5.2, 5};
  for (int k = 1; k <= 12; ++k) s[k] = factor[k - 1];
  EXPECT_DOUBLE_EQ(StrengthThreshold(s), 4.18);
  // Towards zero for a negative sum: -1 / 12 = -0.0833..
  s.fill(0);
  s[1] = -1;
  EXPECT_DOUBLE_EQ(StrengthThreshold(s), -0.08);
  s[1] = -0.05;
  EXPECT_FALSE(std::signbit(StrengthThreshold(s)));
}

// Pillars 丑 辰 巳 亥: the twelve factor strengths sum to 54 (as doubles 53.99999999999999), so the
// threshold is 4.5, and 寅 is exactly 0.6 + 1.6 + 0.8 + 1.5 = 4.5: "大".
TEST(Recommend, MovingStrengthAtTheThresholdIsBig) {
  ChartFields f = Moving("丑辰巳亥", "寅", "子", "○→");
  Recommend(f, "(日空:申酉,时空:戌亥)", StrengthModel::Factor);
  EXPECT_EQ(f.BranchElementStrengths[0], 4.5);
  EXPECT_EQ(f.MovingStrength, 4.5);
  EXPECT_EQ(BytePosOf("推荐:大", f.RecommendationText), 1) << Readable(f.RecommendationText);
}

// Pillars 戌 子 戌 子: strengths 子 .. 亥 are 5, 2.2, 4.2, 4, 2, 4, 3.8, 5.2, 4.8, 4.8, 5.2, 5.
TEST(Recommend, StrengthsAndSums) {
  ChartFields f = Moving("戌子戌子", "子", "丑", "○→");
  Recommend(f, "(日空:申酉,时空:戌亥)", StrengthModel::Factor);
  const double expected[18] = {4.18, 5,   2.2, 4.2, 4,   2,   4,  3.8, 5.2,
                               4.8,  4.8, 5.2, 5,   9.6, 8.2, 10, 7.8, 14.6};
  for (int k = 0; k < 18; ++k) EXPECT_DOUBLE_EQ(f.BranchElementStrengths[k], expected[k]) << k;
  EXPECT_EQ(f.MovingStrength, 5);
  EXPECT_DOUBLE_EQ(f.ChangedStrength, 2.2);
  // 世 戌, mode 6: 5.2 + (0.6 x 1.25 + 0.6 x 0.55) / 2 = 5.74; 应 辰: 2 + (0.6 x 1.25 +
  // 2 x 0.55) / 2 = 2.925, a tie that the doubles put under: 2.92.
  EXPECT_DOUBLE_EQ(f.ShiStrength, 5.74);
  EXPECT_DOUBLE_EQ(f.YingStrength, 2.92);
  EXPECT_GBK_EQ(f.RecommendationText,
                "推荐:大单,世(世应力量:5.74－2.92,足球进球时间: 10 26 34 37 43 70)");
}

TEST(Recommend, SizeAndParity) {
  // Moving 子 (5) against changed 丑 (2.2), 午 (3.8) and 未 (5.2); threshold 4.18.
  struct Case {
    const char* moving;
    const char* changed;
    const char* mark;
    const char* head;
  } cases[] = {{"子", "丑", "○→", "推荐:大单"}, {"子", "未", "○→", "推荐:大双"},
               {"子", "丑", "※→", "推荐:大双"}, {"子", "未", "※→", "推荐:大单"},
               {"午", "丑", "○→", "推荐:小单"}, {"午", "未", "※→", "推荐:小单"},
               {"午", "丑", "※→", "推荐:小双"}, {"辰", "辰", "○→", "推荐:小单"}};
  for (const Case& c : cases) {
    ChartFields f = Moving("戌子戌子", c.moving, c.changed, c.mark);
    Recommend(f, "(日空:申酉,时空:戌亥)", StrengthModel::Factor);
    EXPECT_EQ(BytePosOf(c.head, f.RecommendationText), 1)
        << Readable(c.moving) << Readable(c.changed) << Readable(c.mark) << ": "
        << Readable(f.RecommendationText);
  }
}

TEST(Recommend, EqualSidesGiveShi) {
  ChartFields f;
  f.PillarBranches = "子子子子";
  f.ShiBranch = "子";
  f.YingBranch = "亥";  // 2 + 2 + 2 + 2 both
  f.ShiOddsFactor = f.YingOddsFactor = 1;
  Recommend(f, "", StrengthModel::Factor);
  EXPECT_GBK_EQ(f.RecommendationText, "推荐,世(世应力量:8－8)");
  f.YingOddsFactor = 1.01;
  Recommend(f, "", StrengthModel::Factor);
  EXPECT_GBK_EQ(f.RecommendationText, "推荐,应(世应力量:8－8.08)");
  EXPECT_EQ(f.MovingStrength, 0);
  EXPECT_GBK_EQ(f.GoalTimeText, "");
}
