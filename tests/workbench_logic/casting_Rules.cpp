// Line rules of the casting commands, and the generator of the clock cast.
#include <gtest/gtest.h>

#include <string>

#include "platform/Exceptions.h"
#include "tests/workbench_logic/GbkExpect.h"
#include "workbench/logic/Casting.h"
#include "workbench/logic/TrigramJudgement.h"

namespace {

// "1" for yang, top line first, and the moving marks as "x" or ".".
std::string Lines(const CastLines& lines) {
  std::string text;
  for (bool yang : lines.Yang) text += yang ? '1' : '0';
  text += ' ';
  for (bool moving : lines.Moving) text += moving ? 'x' : '.';
  return text;
}

int Upper(const CastLines& l) { return TrigramNumber(l.Yang[0], l.Yang[1], l.Yang[2]); }
int Lower(const CastLines& l) { return TrigramNumber(l.Yang[3], l.Yang[4], l.Yang[5]); }

}  // namespace

TEST(CastingRules, TrigramAndMovingLineRules) {
  // 乾 over 震, moving line 1 (the bottom)
  EXPECT_EQ(Lines(TrigramCast(1, 4, 1)), "111001 .....x");
  // 兑 over 离; 0 moves the top line
  EXPECT_EQ(Lines(TrigramCast(2, 3, 0)), "011101 x.....");
  // 巽 over 坎, the third line from the bottom
  EXPECT_EQ(Lines(TrigramCast(5, 6, 3)), "110010 ...x..");
  // 艮 over 坤 from sums past 8 and 6: 15 mod 8 = 7, 16 mod 8 = 0, 11 mod 6 = 5
  EXPECT_EQ(Lines(TrigramCast(15, 16, 11)), "100000 .x....");
  EXPECT_EQ(MovingLineIndex(4), 2);
  EXPECT_EQ(MovingLineIndex(6), 0);
}

TEST(CastingRules, BranchNumbersFromTheFourPillars) {
  const std::string pillars = "甲辰　丙寅　戊子　壬亥";
  EXPECT_EQ(PillarBranchNumber(pillars, 3, 2024), 5);     // 辰
  EXPECT_EQ(PillarBranchNumber(pillars, 9, 0), 3);        // 寅
  EXPECT_EQ(PillarBranchNumber(pillars, 21, 0), 12);      // 亥
  EXPECT_EQ(PillarBranchNumber(pillars, 1, 2024), 2024);  // a stem is no branch
  EXPECT_EQ(PillarBranchNumber("", 21, 7), 7);
}

TEST(CastingRules, TimeCast) {
  // y 子 (1), lunar 1-1, hour 子 (1): upper 3 离, lower 4 震, moving 4
  EXPECT_EQ(Lines(TimeCast(1, 1, 1, 1)), "101001 ..x...");
  // y 亥 (12), lunar 12-30, hour 亥 (12): 54 -> 6 坎, 66 -> 2 兑, 66 mod 6 = 0 the top line
  EXPECT_EQ(Lines(TimeCast(12, 12, 30, 12)), "010011 x.....");
}

TEST(CastingRules, NumberCastSplitsTheDigitsInHalves) {
  struct Case {
    const char* digits;
    int a, b;
  } cases[] = {{"", 0, 0}, {"7", 0, 7}, {"123", 1, 5}, {"1234", 3, 7}, {"90817", 9, 16}};
  for (const Case& c : cases) {
    const DigitSums sums = NumberDigitSums(c.digits);
    EXPECT_EQ(sums.A, c.a) << c.digits;
    EXPECT_EQ(sums.B, c.b) << c.digits;
  }
  // Empty: both trigrams 坤, the moving line is h mod 6 (h 午 = 7 -> line 1).
  EXPECT_EQ(Lines(NumberCast(NumberDigitSums(""), 7)), "000000 .....x");
  // One digit: upper 坤, lower from the digit (5 巽), moving 5 + 0 + 1.
  EXPECT_EQ(Lines(NumberCast(NumberDigitSums("5"), 1)), "000110 x.....");
}

TEST(CastingRules, NumberCastRejectsAnythingButDigits) {
  for (const char* text : {"12a", "1 2", "+1", "-1", "１２", "$1"}) {
    EXPECT_THROW(NumberDigitSums(text), EConvertError) << GbkToUtf8(text);
  }
  // The error names the whole character that is no digit, never half of a double-byte one.
  for (const auto& [text, culprit] :
       {std::pair{"１２３４", "１"}, std::pair{"12３4", "３"}, std::pair{"5数", "数"}}) {
    try {
      NumberDigitSums(text);
      ADD_FAILURE() << GbkToUtf8(text);
    } catch (const EConvertError& e) {
      EXPECT_NE(BytePosOf(culprit, e.Message()), 0) << Readable(e.Message());
    }
  }
}

TEST(CastingRules, MatchCastAdvancesOneTrigramAndTwoLinesPerOffset) {
  // A 44, B 31, base 1 + 1 + 1 + 1: upper 48 mod 8 = 0 坤, lower 35 mod 8 = 3 离, 83 mod 6 = 5
  EXPECT_EQ(Lines(MatchCast(44, 31, 4, 0)), "000101 .x....");
  for (int k = 0; k < 7; ++k) {
    const CastLines now = MatchCast(44, 31, 4, k);
    const CastLines next = MatchCast(44, 31, 4, k + 1);
    EXPECT_EQ(Upper(next) % 8, (Upper(now) + 1) % 8) << k;
    EXPECT_EQ(Lower(next) % 8, (Lower(now) + 1) % 8) << k;
    int movingNow = 0, movingNext = 0;
    for (int i = 0; i < 6; ++i) {
      if (now.Moving[i]) movingNow = 6 - i;  // line number from the bottom
      if (next.Moving[i]) movingNext = 6 - i;
    }
    EXPECT_EQ((movingNext - 1) % 6, (movingNow + 1) % 6) << k;
  }
}

TEST(CastingRules, LotteryQuarterOfTheDoubleHour) {
  EXPECT_EQ(LotteryQuarter(10, 50), 8);
  EXPECT_EQ(LotteryQuarter(11, 5), 1);
  EXPECT_EQ(LotteryQuarter(11, 14), 1);
  EXPECT_EQ(LotteryQuarter(11, 15), 2);
  EXPECT_EQ(LotteryQuarter(11, 59), 4);
  EXPECT_EQ(LotteryQuarter(0, 0), 5);
  // Typed numbers out of range are the date error, found before any sum could overflow.
  for (const auto& [hour, minute] :
       {std::pair{16, 2147483647}, std::pair{16, -1}, std::pair{16, 60}, std::pair{24, 0},
        std::pair{-2147483647 - 1, 0}})
    EXPECT_THROW(LotteryQuarter(hour, minute), EConvertError) << hour << ":" << minute;
  // N 21, base 4, q 8: upper 25 -> 1 乾, lower 33 -> 1 乾, 33 mod 6 = 3
  EXPECT_EQ(Lines(LotteryCast(21, 4, 8)), "111111 ...x..");
}

TEST(CastingRules, MatchTextSplit) {
  struct Case {
    const char* text;
    bool ok;
    const char* name1;
    const char* name2;
  } cases[] = {
      {"曼联 切尔西", true, "曼联", "切尔西"},
      {"曼联　切尔西", true, "曼联", "切尔西"},
      {"皇马 vs 巴萨", true, "皇马", "巴萨"},  // the middle word plays no part
      {"甲　乙 丙　丁", true, "甲", "丁"},
      {"湖人篮球　", true, "湖人篮球", ""},  // ending in a full-width blank
      {"　曼联 切尔西", false, "", ""},      // the first name would be empty
      {"曼联切尔西", false, "", ""},
      {"", false, "", ""},
      // 啊 (B0 A1) then 、 (A1 A2): the bytes A1 A1 straddle two characters and are no blank
      {"啊、队", false, "", ""},
      {"啊、 队", true, "啊、", "队"},
  };
  for (const Case& c : cases) {
    std::string name1 = "?", name2 = "?";
    EXPECT_EQ(SplitMatch(c.text, name1, name2), c.ok) << GbkToUtf8(c.text);
    if (c.ok) {
      EXPECT_GBK_EQ(name1, c.name1);
      EXPECT_GBK_EQ(name2, c.name2);
    }
  }
}

// The clock cast's generator must give the same sequence in every run; the expected values were
// computed apart from this code.
TEST(CastRandom, StatesFromZero) {
  CastRandom random;
  EXPECT_EQ(random.Random(0), 0);  // R(0) is 0 but still draws
  EXPECT_EQ(random.State(), 1u);
  random.Random(10);
  EXPECT_EQ(random.State(), 134775814u);
  EXPECT_EQ(random.Random(1000), 861);  // 3698175007 * 1000 >> 32
  EXPECT_DOUBLE_EQ(random.RandomReal(), 870078620 / 4294967296.0);
}

TEST(CastRandom, ClockCastsFollowTheSequence) {
  CastRandom random;
  // At 00:00:00.000 every bound is 0: both trigrams 坤, the boxes from draws 9 to 14.
  EXPECT_EQ(Lines(ClockCast(0, 0, 0, 0, random)), "000000 .....x");
  EXPECT_EQ(random.State(), 3611442298u);
  EXPECT_EQ(Lines(ClockCast(12, 34, 56, 789, random)), "010110 x.....");  // 6 坎 over 5 巽
  EXPECT_EQ(Lines(ClockCast(23, 59, 59, 999, random)), "101000 .xx...");  // 3 离 over 坤

  CastRandom fresh;
  EXPECT_EQ(Lines(ClockCast(12, 34, 56, 789, fresh)), "000111 .....x");  // 坤 over 1 乾
}

TEST(CastRandom, ACastMayMoveNoLineOrAllSix) {
  CastRandom random;
  for (int i = 0; i < 15; ++i) ClockCast(0, 0, 0, 0, random);
  EXPECT_EQ(Lines(ClockCast(0, 0, 0, 0, random)), "000000 ......");
  for (int i = 16; i < 23; ++i) ClockCast(0, 0, 0, 0, random);
  EXPECT_EQ(Lines(ClockCast(0, 0, 0, 0, random)), "000000 xxxxxx");
}
