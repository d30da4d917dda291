// The clock cast's generator must give the same sequence in every run; the expected values were
// computed apart from this code.
#include <gtest/gtest.h>

#include <string>

#include "workbench/logic/Casting.h"

namespace {

std::string Lines(const CastLines& lines) {
  std::string text;
  for (bool yang : lines.Yang) text += yang ? '1' : '0';
  text += ' ';
  for (bool moving : lines.Moving) text += moving ? 'x' : '.';
  return text;
}

}  // namespace

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
