// The coin throws' table: which line kind each throw gives for the clock's milliseconds.
#include <gtest/gtest.h>

#include <set>

#include "workbench/logic/CoinThrows.h"

TEST(CoinThrows, EachThrowReadsItsRowOfTheTable) {
  const int expected[6][6] = {{0, 1, 2, 1, 3, 2}, {1, 2, 1, 3, 2, 1}, {2, 1, 3, 2, 1, 2},
                              {1, 3, 2, 1, 2, 0}, {3, 2, 1, 2, 0, 1}, {2, 1, 2, 0, 1, 2}};
  for (int t = 1; t <= 6; ++t) {
    for (int ms = 0; ms < 1000; ++ms)
      ASSERT_EQ(CoinThrowKind(t, ms), expected[t - 1][ms % 6]) << t << " " << ms;
  }
  // A stop at 4 ms on the first throw: a moving yang line.
  EXPECT_EQ(CoinThrowKind(1, 4), clkMovingYang);
  EXPECT_TRUE(IsYangKind(clkMovingYang) && IsMovingKind(clkMovingYang));
  EXPECT_TRUE(!IsYangKind(clkMovingYin) && IsMovingKind(clkMovingYin));
  EXPECT_TRUE(IsYangKind(clkYang) && !IsMovingKind(clkYang));
  EXPECT_TRUE(!IsYangKind(clkYin) && !IsMovingKind(clkYin));
}

TEST(CoinThrows, MovingLinesComeOnlyWhereTheTableHasThem) {
  auto kinds = [](int t) {
    std::multiset<int> seen;
    for (int r = 0; r < 6; ++r) seen.insert(CoinThrowKind(t, r));
    return seen;
  };
  for (int t : {2, 3}) EXPECT_EQ(kinds(t).count(clkMovingYin), 0u) << t;
  EXPECT_EQ(kinds(6).count(clkMovingYang), 0u);
  for (int t : {1, 4, 5}) {
    EXPECT_EQ(kinds(t).count(clkMovingYin), 1u) << t;
    EXPECT_EQ(kinds(t).count(clkMovingYang), 1u) << t;
  }
}
