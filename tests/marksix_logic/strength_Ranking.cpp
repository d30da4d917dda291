// Strengths of the attributes against the four pillars, the ranking's order and texts, and the
// thresholds of the heading double clicks.
#include <gtest/gtest.h>

#include "marksix/logic/SpecialStrength.h"
#include "platform/Numbers.h"
#include "tests/workbench_logic/GbkExpect.h"

namespace {

TEST(PillarStrengths, AnythingButFourPairsGivesNone) {
  PillarStrengths s;
  s.Animals[0] = 99;
  for (const char* text : {"", "丁亥　壬子　辛丑", "丁子　壬子　辛丑　癸巳",
                           "丁亥　壬子　辛丑　癸X", "甲甲　壬子　辛丑　癸巳"})
    EXPECT_FALSE(ComputePillarStrengths(text, s)) << Readable(text);
  EXPECT_EQ(s.Animals[0], 99);
}

TEST(RankNumbers, ExchangesLeaveEqualScoresInTheirOwnOrder) {
  // Only heads weigh: 40 .. 49 strongest, and within a head all tie. The exchanges move the
  // first tied entries behind the later ones when a stronger entry passes them.
  const std::vector<AttributeGroup> heads = {
      {AttributeKind::Head, {"0", "1", "2", "3", "4"}, {1, 2, 3, 4, 5}}};
  const auto ranking = RankNumbers(2008, heads);
  const int expected[49] = {40, 41, 42, 43, 44, 45, 46, 47, 48, 49, 30, 31, 32, 33, 34, 35, 36,
                            37, 38, 39, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 10, 11, 12, 13,
                            14, 15, 16, 17, 18, 19, 5,  6,  7,  8,  9,  1,  2,  3,  4};
  for (int i = 0; i < 49; ++i) EXPECT_EQ(ranking[i].Number, expected[i]) << "place " << i + 1;
  EXPECT_DOUBLE_EQ(ranking[0].Score, 5.0 / 150);
  EXPECT_DOUBLE_EQ(ranking[48].Score, 1.0 / 150);
}

TEST(RankNumbers, EachGroupGivesItsMembersTheirShareOfTheTotal) {
  const std::vector<AttributeGroup> groups = {
      {AttributeKind::Animal, {"鼠", "牛"}, {3, 1}},  // only two boxes: a total of 4
      {AttributeKind::Colour, {"红", "绿", "兰"}, {1, 1, 2}},
      {AttributeKind::Tail, {"7"}, {2}},
  };
  double score[50] = {};
  for (const RankEntry& e : RankNumbers(2008, groups)) score[e.Number] = e.Score;
  // 1: 鼠 and red. 7: red and tail 7. 13: 鼠 and red. 12: 牛 and red. 3: blue.
  EXPECT_DOUBLE_EQ(score[1], 3.0 / 16 + 1.0 / 64);
  EXPECT_DOUBLE_EQ(score[7], 1.0 / 64 + 2.0 / 10);
  EXPECT_DOUBLE_EQ(score[12], 1.0 / 16 + 1.0 / 64);
  EXPECT_DOUBLE_EQ(score[3], 2.0 / 64);
  EXPECT_DOUBLE_EQ(score[17], 2.0 / 10 + 1.0 / 64);  // green, tail 7
}

TEST(RankingLine, ScoreTimesHundredInFiveCharacters) {
  EXPECT_GBK_EQ(RankingLine(1, {7, 0.2345}), "特码07:力量23.45......第01个号码");
  EXPECT_GBK_EQ(RankingLine(49, {45, 0.051}), "特码45:力量5.100......第49个号码");
  EXPECT_EQ(ScoreText(0.2345), "23.45");
  EXPECT_EQ(ScoreText(0.123456), "12.35");
  EXPECT_EQ(ScoreText(0.10), "10.00");  // a whole number keeps its decimal point
  EXPECT_EQ(ScoreText(0.05), "5.000");
  EXPECT_EQ(ScoreText(1.23456), "123.4");
  EXPECT_EQ(ScoreText(0), "0.000");
}

TEST(TickThreshold, TiesAtTheKthValueAllPass) {
  const std::vector<double> values = {5.4, 4.7, 4.4, 4.4, 4.8, 3.3, 3.3, 3.1, 3.6, 3.6, 3.3, 6};
  const double threshold = TickThreshold(values, 9);
  int ticked = 0;
  for (double v : values) ticked += v >= threshold;
  EXPECT_EQ(ticked, 11);  // the three animals at 3.3 all count
  EXPECT_DOUBLE_EQ(TickThreshold({6.9, 4.7, 5.9}, 2), 5.9 - 0.0001);
  EXPECT_DOUBLE_EQ(TickThreshold({1, 2, 3, 4, 5}, 4), 2 - 0.0001);
}

}  // namespace
