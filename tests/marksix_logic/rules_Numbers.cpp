// Number attributes for a lunar year: the signature's bytes, the zodiac rotation, the nayin
// count back through the sixty pairs and the fixed colour chart.
#include <gtest/gtest.h>

#include "marksix/logic/NumberRules.h"
#include "platform/Exceptions.h"
#include "tests/workbench_logic/GbkExpect.h"

namespace {

TEST(NumberSignature, HoldsEveryAttributeAtItsBytes) {
  EXPECT_GBK_EQ(NumberSignature(1, 2008), "红鼠小单01HD火101011");
  // 49: green, the year's animal, sum 13 odd, pair 37 (土), seventh block of seven, block 10.
  EXPECT_GBK_EQ(NumberSignature(49, 2008), "绿鼠大单49HD土713100");
  // 46: the first of block "10"; 25 is the first "大".
  EXPECT_GBK_EQ(NumberSignature(46, 2008), "红兔大双46HS金710104");
  EXPECT_GBK_EQ(NumberSignature(25, 2008), "兰鼠大单25HD金407054");
  for (int n = 1; n <= 49; ++n) EXPECT_EQ(NumberSignature(n, 1972 + n).size(), 20u) << n;
}

TEST(NumberRules, RemaindersStayInRangeForYearsBelowTheirOrigins) {
  // Years before 3 and 1923 make the remainders' operands negative; the cycles must go on
  // through them unchanged.
  for (int year = -130; year <= 130; year += 7) {
    EXPECT_GE(YearAnimal(year), 1) << year;
    EXPECT_LE(YearAnimal(year), 12) << year;
    for (int n = 1; n <= 49; n += 6) {
      EXPECT_EQ(ZodiacOfNumber(n, year), ZodiacOfNumber(n, year + 1200)) << year << " " << n;
      EXPECT_EQ(ZodiacOfNumber(n, year).size(), 2u);
      const int pair = NayinPairOfNumber(n, year);
      EXPECT_GE(pair, 1);
      EXPECT_LE(pair, 60);
      EXPECT_EQ(NayinElementOfNumber(n, year), NayinElementOfNumber(n, year + 600));
    }
  }
}

TEST(NayinElementOfNumber, NumberNCarriesThePairOfTheYearNMinusOneEarlier) {
  EXPECT_EQ(NayinPairOfNumber(1, 2008), 25);  // 戊子
  EXPECT_GBK_EQ(NayinElementOfNumber(1, 2008), "火");
  EXPECT_EQ(NayinPairOfNumber(1, 1984), 1);   // 甲子
  EXPECT_EQ(NayinPairOfNumber(2, 1984), 60);  // 癸亥
  for (int n = 1; n <= 49; ++n)
    EXPECT_EQ(NayinElementOfNumber(n, 2010), NayinElementOfNumber(1, 2010 - (n - 1))) << n;
  // The sixty pairs by twos: 海中金, 炉中火, 大林木, 路旁土, ... 大海水.
  const char* const byTwo[30] = {"金", "火", "木", "土", "金", "火", "水", "土", "金", "木",
                                 "水", "土", "火", "木", "水", "金", "火", "木", "土", "金",
                                 "火", "水", "土", "金", "木", "水", "土", "火", "木", "水"};
  for (int pair = 1; pair <= 60; ++pair)
    EXPECT_GBK_EQ(NayinElementOfPair(pair), byTwo[(pair - 1) / 2]) << pair;
  EXPECT_EQ(NayinElementOfPair(0), "");
  EXPECT_EQ(NayinElementOfPair(61), "");
}

TEST(ColourOfNumber, FixedChartOfSeventeenRedSixteenBlueSixteenGreen) {
  int red = 0, blue = 0, green = 0;
  for (int n = 1; n <= 49; ++n) {
    const std::string colour = ColourOfNumber(n);
    red += colour == "红";
    blue += colour == "兰";
    green += colour == "绿";
  }
  EXPECT_EQ(red, 17);
  EXPECT_EQ(blue, 16);
  EXPECT_EQ(green, 16);
  EXPECT_GBK_EQ(ColourOfNumber(20), "兰");
  EXPECT_GBK_EQ(ColourOfNumber(40), "红");
  EXPECT_GBK_EQ(ColourOfNumber(11), "绿");
  EXPECT_EQ(ColourOfNumber(0), "");
  EXPECT_EQ(ColourOfNumber(50), "");
}

TEST(LunarYearOf, ReadsFourBytesFromTheSixth) {
  EXPECT_EQ(LunarYearOf("农历:2008-5-8"), 2008);
  EXPECT_EQ(LunarYearOf("农历:1900-1-1"), 1900);
  EXPECT_THROW(LunarYearOf("农历:"), EConvertError);  // before 31 January 1900
  EXPECT_THROW(LunarYearOf(""), EConvertError);
  EXPECT_THROW(LunarYearOf("农历:20x8-1-1"), EConvertError);
}

}  // namespace
