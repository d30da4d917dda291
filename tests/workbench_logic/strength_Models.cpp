// Branch strengths of both models; expected values summed by hand from the factor table and the
// cosines (cos 30° = 0.87, cos 60° = 0.5).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "tests/workbench_logic/GbkExpect.h"
#include "workbench/logic/StrengthModels.h"

namespace {

const StrengthChart kStatic{};  // no moving line

StrengthChart Moving(const std::string& moving, const std::string& changed,
                     const std::string& xun = "(日空:戌亥,时空:戌亥)") {
  return {moving, changed, xun};
}

}  // namespace

TEST(LineStrength, PillarsAlone) {
  EXPECT_EQ(LineStrength("子", "子子子子", 4, 1.0, kStatic), 8);
  EXPECT_EQ(CosineLineStrength("子", "子子子子", 4, 1.0, kStatic), 7);
  EXPECT_EQ(CosineLineStrength("午", "子子子子", 4, 1.0, kStatic), -1);
  // 寅 against 丑 辰 巳 亥: 0.6 + 1.6 + 0.8 + 1.5.
  EXPECT_DOUBLE_EQ(LineStrength("寅", "丑辰巳亥", 4, 1.0, kStatic), 4.5);
  // 卯 against 子 午 卯 酉 by cosine: 3 + 0 + 0 + 1 - 1 = 3.
  EXPECT_DOUBLE_EQ(CosineLineStrength("卯", "子午卯酉", 4, 1.0, kStatic), 3);
  // 丑 against 子 子 子 寅 by cosine: 3 + 3 x 0.87 + 0.87 = 6.48.
  EXPECT_DOUBLE_EQ(CosineLineStrength("丑", "子子子寅", 4, 1.0, kStatic), 6.48);
  // The weight scales every term: 2 x 8.
  EXPECT_EQ(LineStrength("子", "子子子子", 4, 2.0, kStatic), 16);
  // In mode 4 the moving line plays no part.
  EXPECT_EQ(LineStrength("子", "子子子子", 4, 1.0, Moving("午", "未")), 8);
}

// Target 子, pillars 子 丑 寅 卯 (pillar terms 2 + 0.8 + 0.8 + 0.8 = 4.4). Moving 子: support
// (2 + 0.8 + 0.8 + 0.8) / 4 = 1.1, effect 2 x 1.1 = 2.2. Changed 亥: support
// (2 + 1.6 + 0.5 + 0.8) / 4 = 1.225, effect 2 x 1.225 = 2.45.
TEST(LineStrength, MovingAndChangedBranch) {
  const StrengthChart chart = Moving("子", "亥", "(日空:辰巳,时空:辰巳)");
  EXPECT_DOUBLE_EQ(LineStrength("子", "子丑寅卯", 5, 1.0, chart), 6.85);  // 4.4 + 2.45
  // 4.4 + (2.2 + 2.45) / 2 = 6.725 exactly: the tie goes to the even hundredth.
  EXPECT_DOUBLE_EQ(LineStrength("子", "子丑寅卯", 6, 1.0, chart), 6.72);
}

// Target 寅, pillars 子 子 子 寅: 3 x 1.5 + 2 = 6.5. Moving 卯: support (3 x 1.5 + 2) / 4 =
// 1.625, effect 2 x 1.625 = 3.25. Changed 辰: support (3 x 0.6 + 0.5) / 4 = 0.575, effect
// 1.6 x 0.575 = 0.92. Mode 6: 6.5 + (3.25 + 0.92) x 0.5 = 8.585, which as doubles lands a hair
// above the tie: 8.59, where decimal arithmetic would give 8.58.
TEST(LineStrength, RoundsTheDoubleNotTheDecimal) {
  EXPECT_DOUBLE_EQ(LineStrength("寅", "子子子寅", 6, 1.0, Moving("卯", "辰", "")), 8.59);
  // Target 巳: 3 x 0.5 + 1.5 = 3; moving 午, changed 未 give 4.135 in decimals, a hair below as
  // doubles: 4.13.
  EXPECT_DOUBLE_EQ(LineStrength("巳", "子子子寅", 6, 1.0, Moving("午", "未", "")), 4.13);
}

// Pillars 子 丑 寅 卯, target 子: pillar terms 2 + 0.8 + 0.8 + 0.8 = 4.4. Changed 子: support
// (2 + 0.8 + 0.8 + 0.8) / 4 = 1.1, effect 2 x 1.1 = 2.2; mode 5 adds it whole.
TEST(LineStrength, EmptyMovingBranchHalvesPillarTerms) {
  const std::string pillars = "子丑寅卯";
  EXPECT_DOUBLE_EQ(LineStrength("子", pillars, 5, 1.0, Moving("戌", "子", "(日空:申酉,时空:申酉)")),
                   6.6);
  // 戌 empty in the day's decade: the day term 0.8 is halved.
  EXPECT_DOUBLE_EQ(LineStrength("子", pillars, 5, 1.0, Moving("戌", "子", "(日空:戌亥,时空:申酉)")),
                   6.2);
  // Empty in the hour's decade (either of its two): the hour term is halved instead.
  EXPECT_DOUBLE_EQ(LineStrength("子", pillars, 5, 1.0, Moving("戌", "子", "(日空:申酉,时空:亥戌)")),
                   6.2);
  EXPECT_DOUBLE_EQ(LineStrength("子", pillars, 5, 1.0, Moving("戌", "子", "(日空:戌亥,时空:戌亥)")),
                   5.8);
  // Mode 6 halves too; mode 4 ignores emptiness. Moving 戌: support (0.6 + 0.6 + 0.5 + 0.5) / 4 =
  // 0.55, effect 0.5 x 0.55 = 0.275; mode 6: 4.0 + (0.275 + 2.2) / 2 = 5.2375.
  EXPECT_DOUBLE_EQ(LineStrength("子", pillars, 6, 1.0, Moving("戌", "子", "(日空:戌亥,时空:申酉)")),
                   5.24);
  EXPECT_DOUBLE_EQ(LineStrength("子", pillars, 4, 1.0, Moving("戌", "子", "(日空:戌亥,时空:戌亥)")),
                   4.4);
}

TEST(LineStrength, EmptyBranchEqualToAPillarStaysWhole) {
  // Moving 丑 equals the month branch: empty in the day's decade, the day term stays whole.
  EXPECT_DOUBLE_EQ(
      LineStrength("子", "子丑寅卯", 5, 1.0, Moving("丑", "子", "(日空:子丑,时空:辰巳)")), 6.6);
  // Moving 寅 equals the day branch: empty in either decade, nothing is halved.
  EXPECT_DOUBLE_EQ(
      LineStrength("子", "子丑寅卯", 5, 1.0, Moving("寅", "子", "(日空:寅卯,时空:寅卯)")), 6.6);
  // Moving 卯 equals the hour branch only: the day term is halved, the hour term stays.
  EXPECT_DOUBLE_EQ(
      LineStrength("子", "子丑寅卯", 5, 1.0, Moving("卯", "子", "(日空:寅卯,时空:寅卯)")), 6.2);
}

TEST(LineStrength, TextsThatAreNoBranch) {
  // No moving line: modes 5 and 6 fall back to the pillars alone.
  EXPECT_EQ(LineStrength("子", "子子子子", 5, 1.0, kStatic), 8);
  EXPECT_EQ(LineStrength("子", "子子子子", 6, 1.0, kStatic), 8);
  EXPECT_EQ(CosineLineStrength("子", "子子子子", 6, 1.0, kStatic), 7);
  // An empty target weighs nothing (the cosine model keeps its constant).
  EXPECT_EQ(LineStrength("", "子丑寅卯", 4, 1.0, kStatic), 0);
  EXPECT_EQ(CosineLineStrength("", "子丑寅卯", 4, 1.0, kStatic), 3);
  // Short pillars: the missing branches act on nothing.
  EXPECT_EQ(LineStrength("子", "子", 4, 1.0, kStatic), 2);
  // Any other mode counts as mode 4.
  EXPECT_EQ(LineStrength("子", "子子子子", 7, 1.0, Moving("午", "未")), 8);
}

TEST(LineStrength, NeverNegativeZero) {
  // 巳 against 亥 亥 子 子 by cosine: 3 - 1 - 1 - 0.87 - 0.87 = -0.74; 卯 against four 酉 at
  // weight 0.75: 3 - 0.75 x 4 = 0.
  EXPECT_DOUBLE_EQ(CosineLineStrength("巳", "亥亥子子", 4, 1.0, kStatic), -0.74);
  const double zero = CosineLineStrength("卯", "酉酉酉酉", 4, 0.75, kStatic);  // 3 - 3
  EXPECT_EQ(zero, 0);
  EXPECT_FALSE(std::signbit(zero));
}

TEST(BranchCosineTable, Shape) {
  // cos(30° x steps) to two decimals, steps = 0 .. 6 apart either way.
  const double bySteps[7] = {1, 0.87, 0.5, 0, -0.5, -0.87, -1};
  for (int r = 0; r < 12; ++r)
    for (int c = 0; c < 12; ++c) {
      const int apart = std::min((r - c + 12) % 12, (c - r + 12) % 12);
      EXPECT_EQ(BranchCosineTable[r][c], bySteps[apart]) << r << " " << c;
    }
}

TEST(BranchDistance, CountsFromBForward) {
  EXPECT_EQ(BranchDistance("子", "子"), 1);
  EXPECT_EQ(BranchDistance("丑", "子"), 2);
  EXPECT_EQ(BranchDistance("子", "丑"), 12);
  EXPECT_EQ(BranchDistance("亥", "子"), 12);
  EXPECT_EQ(BranchDistance("子", "亥"), 2);
  EXPECT_EQ(BranchDistance("午", "辰"), 3);
  EXPECT_EQ(BranchDistance("辰", "午"), 11);
  EXPECT_EQ(BranchDistance("", "子"), 0);
  EXPECT_EQ(BranchDistance("子", "甲"), 0);
}
