// Recommendation words of the match and lottery casts.
#include <gtest/gtest.h>

#include <string>

#include "tests/workbench_logic/GbkExpect.h"
#include "workbench/logic/NumerologyWords.h"

TEST(NumerologyWords, WordRuleTable) {
  struct Case {
    double moving, changed;
    const char* mark;
    bool big, odd;
  } cases[] =
      {
          {3.0, 2.0, "○→", true, true},  {3.0, 2.0, "※→", true, false},
          {3.0, 4.0, "○→", true, false}, {3.0, 4.0, "※→", true, true},
          {2.5, 2.5, "○→", true, true},  // equal to the average is big, to the changed the first
                                         // column
          {1.0, 0.5, "○→", false, true},
      };
  for (const Case& c : cases) {
    const WordRule rule = ApplyWordRule(c.moving, c.changed, 2.5, c.mark);
    EXPECT_TRUE(rule.Applies);
    EXPECT_EQ(rule.Big, c.big) << c.moving << " " << c.changed << " " << GbkToUtf8(c.mark);
    EXPECT_EQ(rule.Odd, c.odd) << c.moving << " " << c.changed << " " << GbkToUtf8(c.mark);
  }
  EXPECT_FALSE(ApplyWordRule(3, 2, 1, "").Applies);
  EXPECT_FALSE(ApplyWordRule(3, 2, 1, "　　").Applies);
}

TEST(NumerologyWords, FootballMatch) {
  const WordRule bigOdd{true, true, true};
  EXPECT_GBK_EQ(MatchRecommendation("x", bigOdd, "曼联", "切尔西", 1.5, 0.87, " 14 41"),
                "推荐:大球单数,世(主客力量:1.5－0.87,足球进球时间: 14 41)");
  const WordRule smallEven{true, false, false};
  EXPECT_GBK_EQ(MatchRecommendation("x", smallEven, "曼联", "切尔西", 0.8, 1.2, ""),
                "推荐:小球双数,应(主客力量:0.8－1.2,足球进球时间:)");
  // Equal strengths go to 世; without the words the cast's text stays in front.
  EXPECT_GBK_EQ(MatchRecommendation("推荐,世(世应力量:1－1)", WordRule{}, "a", "b", 2, 2, " 12"),
                "推荐,世(世应力量:1－1),世(主客力量:2－2,足球进球时间: 12)");
}

TEST(NumerologyWords, BasketballAndBaseballNameTheStrongerSide) {
  const WordRule bigEven{true, true, false};
  EXPECT_GBK_EQ(MatchRecommendation("x", bigEven, "湖人篮球", "火箭", 2.25, 1.1, " 14"),
                "推荐:大分双数,湖人篮球(主客力量:2.25－1.1)");
  const WordRule smallOdd{true, false, true};
  EXPECT_GBK_EQ(MatchRecommendation("x", smallOdd, "洋基", "红袜棒球", 1, 3, " 14"),
                "推荐:小分单数,红袜棒球(主客力量:1－3)");
  // 篮 followed by 球 only counts as whole characters.
  EXPECT_FALSE(IsPointsMatch("篮 球", "足球"));
}

TEST(NumerologyWords, ColourPairTiesGoToTheLaterTest) {
  EXPECT_GBK_EQ(ColourPair(3.2, 3.2, 1.0), "兰绿");
  EXPECT_GBK_EQ(ColourPair(3.0, 1.0, 2.0), "兰红");
  EXPECT_GBK_EQ(ColourPair(1.0, 2.0, 3.0), "绿红");
  EXPECT_GBK_EQ(ColourPair(2.0, 2.0, 2.0), "绿红");
  EXPECT_GBK_EQ(ColourPair(2.0, 1.0, 1.0), "兰红");
}

TEST(NumerologyWords, LotteryRecommendation) {
  const WordRule smallEven{true, false, false};
  EXPECT_GBK_EQ(LotteryRecommendation("x", smallEven, "六合彩", 3.2, 3.2, 1.0),
                "推荐:小双兰绿,15码:04 10 14 20 26 36 42 48 06 16 22 28 32 38 44");
  const WordRule bigOdd{true, true, true};
  EXPECT_GBK_EQ(LotteryRecommendation("x", bigOdd, "香港六合彩", 1.0, 2.0, 3.0),
                "推荐:大单绿红,17码:05 11 17 21 27 33 39 43 49 01 07 13 19 23 29 35 45");
  EXPECT_GBK_EQ(LotteryRecommendation("x", bigOdd, "双色球", 1.0, 2.0, 3.0), "推荐:大单");
  EXPECT_GBK_EQ(LotteryRecommendation("x", smallEven, "", 0, 0, 0), "推荐:小双");
}
