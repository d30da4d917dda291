// The hexagram tables against the names, codes and line texts the chart relies on.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "tests/workbench_logic/GbkExpect.h"
#include "workbench/logic/HexagramTables.h"

namespace {

struct Named {
  const char* name;
  const char* code;
};

// The 64 hexagrams in table order: palace by palace, place 0 to 7.
const char* const kPalaces = "乾兑离震巽坎艮坤";
const Named kHexagrams[64] = {
    {"乾为天", "111111"},   {"天风姤", "111110"},   {"天山遯", "111100"},   {"天地否", "111000"},
    {"风地观", "110000"},   {"山地剥", "100000"},   {"火地晋", "101000"},   {"火天大有", "101111"},
    {"兑为泽", "011011"},   {"泽水困", "011010"},   {"泽地萃", "011000"},   {"泽山咸", "011100"},
    {"水山蹇", "010100"},   {"地山谦", "000100"},   {"雷山小过", "001100"}, {"雷泽归妹", "001011"},
    {"离为火", "101101"},   {"火山旅", "101100"},   {"火风鼎", "101110"},   {"火水未济", "101010"},
    {"山水蒙", "100010"},   {"风水涣", "110010"},   {"天水讼", "111010"},   {"天火同人", "111101"},
    {"震为雷", "001001"},   {"雷地豫", "001000"},   {"雷水解", "001010"},   {"雷风恒", "001110"},
    {"地风升", "000110"},   {"水风井", "010110"},   {"泽风大过", "011110"}, {"泽雷随", "011001"},
    {"巽为风", "110110"},   {"风天小畜", "110111"}, {"风火家人", "110101"}, {"风雷益", "110001"},
    {"天雷无妄", "111001"}, {"火雷噬嗑", "101001"}, {"山雷颐", "100001"},   {"山风蛊", "100110"},
    {"坎为水", "010010"},   {"水泽节", "010011"},   {"水雷屯", "010001"},   {"水火既济", "010101"},
    {"泽火革", "011101"},   {"雷火丰", "001101"},   {"地火明夷", "000101"}, {"地水师", "000010"},
    {"艮为山", "100100"},   {"山火贲", "100101"},   {"山天大畜", "100111"}, {"山泽损", "100011"},
    {"火泽睽", "101011"},   {"天泽履", "111011"},   {"风泽中孚", "110011"}, {"风山渐", "110100"},
    {"坤为地", "000000"},   {"地雷复", "000001"},   {"地泽临", "000011"},   {"地天泰", "000111"},
    {"雷天大壮", "001111"}, {"泽天夬", "011111"},   {"水天需", "010111"},   {"水地比", "010000"},
};

std::string Palace(int k) { return std::string(kPalaces).substr(2 * (k / 8), 2); }

std::string PaddedName(const char* name) {
  std::string padded = name;
  if (padded.size() == 6) padded += "　";
  return padded;
}

std::string Line(int k, int i) { return std::string(HexagramLines[6 * k + i]); }

}  // namespace

TEST(HexagramTables, NamesCodesAndPalacesInTableOrder) {
  for (int k = 0; k < 64; ++k) {
    SCOPED_TRACE(Readable(kHexagrams[k].name));
    const std::string title = PaddedName(kHexagrams[k].name) + Palace(k) + "宫";
    EXPECT_GBK_EQ(HexagramNames18[k], kHexagrams[k].code + title);
    const std::string entry(HexagramTable[k]);
    EXPECT_GBK_EQ(entry.substr(0, 6), kHexagrams[k].code);
    EXPECT_GBK_EQ(entry.substr(entry.size() - 12), title);
    EXPECT_GBK_EQ(PalaceOf(HexagramTable[k]), Palace(k));
  }
}

TEST(HexagramTables, QuotedEntries) {
  EXPECT_GBK_EQ(HexagramTable[0], "111111乾为天　乾宫");
  EXPECT_GBK_EQ(HexagramTable[1], "111110伏　　神　天风姤　乾宫");
  const char* const qian[6] = {"父母戌土／世", "兄弟申金／　", "官鬼午火／　",
                               "父母辰土／应", "妻财寅木／　", "子孙子水／　"};
  for (int i = 0; i < 6; ++i) EXPECT_GBK_EQ(HexagramLines[i], qian[i]);
  EXPECT_GBK_EQ(HexagramLines[6 + 4], "妻财寅木：子孙亥水／　");
  EXPECT_GBK_EQ(HexagramLines[6 + 5], "　　　　　父母丑土∥世");
}

// Worked out by hand from the najia branches, the relatives against the palace and the places
// of 世 and 应.
TEST(HexagramTables, HandWorkedHexagrams) {
  // 坤为地: 坤 below 未巳卯, above 丑亥酉, palace 土, place 0 (世 6, 应 3); all five relatives.
  const int kun = 56;
  EXPECT_GBK_EQ(HexagramTable[kun], "000000坤为地　坤宫");
  const char* const kunLines[6] = {"子孙酉金∥世", "妻财亥水∥　", "兄弟丑土∥　",
                                   "官鬼卯木∥应", "父母巳火∥　", "兄弟未土∥　"};
  for (int i = 0; i < 6; ++i) EXPECT_GBK_EQ(Line(kun, i), kunLines[i]);

  // 地火明夷: 坤 over 离 in the 坎 palace (水), wandering soul (世 4, 应 1). 妻财 (火) is absent;
  // 坎为水 holds it as 午火 on line 3.
  const int mingyi = 46;
  EXPECT_GBK_EQ(HexagramTable[mingyi], "000101伏　　神　地火明夷坎宫");
  const char* const mingyiLines[6] = {"　　　　　父母酉金∥　", "　　　　　兄弟亥水∥　",
                                      "　　　　　官鬼丑土∥世", "妻财午火：兄弟亥水／　",
                                      "　　　　　官鬼丑土∥　", "　　　　　子孙卯木／应"};
  for (int i = 0; i < 6; ++i) EXPECT_GBK_EQ(Line(mingyi, i), mingyiLines[i]);

  // 山风蛊: 艮 over 巽 in the 巽 palace (木), returning soul (世 3, 应 6). 子孙 (火) is absent;
  // 巽为风 holds it as 巳火 on line 5.
  const int gu = 39;
  const char* const guLines[6] = {"　　　　　兄弟寅木／应", "子孙巳火：父母子水∥　",
                                  "　　　　　妻财戌土∥　",  "　　　　　官鬼酉金／世",
                                  "　　　　　父母亥水／　", "　　　　　妻财丑土∥　"};
  for (int i = 0; i < 6; ++i) EXPECT_GBK_EQ(Line(gu, i), guLines[i]);

  // 山天大畜: 艮 over 乾 in the 艮 palace (土), place 2 (世 2, 应 5). Two relatives are absent:
  // 子孙 (金) and 父母 (火); 艮为山 holds them as 申金 on line 3 and 午火 on line 2, so both of
  // those lines carry a hidden spirit.
  const int daxu = 50;
  EXPECT_GBK_EQ(HexagramTable[daxu], "100111伏　　神　山天大畜艮宫");
  const char* const daxuLines[6] = {"　　　　　官鬼寅木／　", "　　　　　妻财子水∥应",
                                    "　　　　　兄弟戌土∥　",  "子孙申金：兄弟辰土／　",
                                    "父母午火：官鬼寅木／世", "　　　　　妻财子水／　"};
  for (int i = 0; i < 6; ++i) EXPECT_GBK_EQ(Line(daxu, i), daxuLines[i]);
}

TEST(HexagramTables, FourCharacterNamesCarryNoPadding) {
  const std::set<std::string> fourCharacters = {"火天大有", "雷山小过", "雷泽归妹", "火水未济",
                                                "天火同人", "泽风大过", "风天小畜", "风火家人",
                                                "天雷无妄", "火雷噬嗑", "水火既济", "地火明夷",
                                                "山天大畜", "风泽中孚", "雷天大壮"};
  int found = 0;
  for (int k = 0; k < 64; ++k) {
    const std::string name(HexagramNames18[k].substr(6, 8));
    EXPECT_EQ(name.size(), 8u);
    if (fourCharacters.count(name)) {
      ++found;
      EXPECT_EQ(name.find("　"), std::string::npos) << Readable(name);
    } else {
      EXPECT_GBK_EQ(name.substr(6), "　");
    }
  }
  EXPECT_EQ(found, 15);
}

TEST(HexagramTables, HiddenSpiritsAndLineLengths) {
  int hidden = 0;
  std::set<std::string> codes;
  for (int k = 0; k < 64; ++k) {
    const std::string entry(HexagramTable[k]);
    codes.insert(entry.substr(0, 6));
    const bool hasHidden = entry.size() == 28;
    EXPECT_TRUE(entry.size() == 18 || hasHidden) << Readable(entry);
    if (hasHidden) {
      ++hidden;
      EXPECT_GBK_EQ(entry.substr(6, 10), "伏　　神　");
    }
    int prefixed = 0;
    for (int i = 0; i < 6; ++i) {
      const std::string line = Line(k, i);
      ASSERT_EQ(line.size(), hasHidden ? 22u : 12u) << Readable(line);
      EXPECT_GBK_EQ(HexagramLinesShort[6 * k + i], line.substr(line.size() - 12));
      if (hasHidden && line.substr(0, 10) != "　　　　　") {
        ++prefixed;
        EXPECT_GBK_EQ(line.substr(8, 2), "：");
      }
    }
    // A hexagram has a hidden spirit only when some relative is missing from its lines.
    EXPECT_TRUE(!hasHidden || prefixed >= 1) << Readable(entry);
  }
  EXPECT_EQ(hidden, 44);
  EXPECT_EQ(codes.size(), 64u);
}

TEST(HexagramTables, MarksFollowCodeAndPlace) {
  const int shiByPlace[8] = {6, 1, 2, 3, 4, 5, 4, 3};
  for (int k = 0; k < 64; ++k) {
    const int shi = shiByPlace[k % 8];
    const int ying = shi <= 3 ? shi + 3 : shi - 3;
    for (int i = 0; i < 6; ++i) {
      const int position = 6 - i;
      const std::string body(HexagramLinesShort[6 * k + i]);
      SCOPED_TRACE(Readable(body));
      EXPECT_GBK_EQ(body.substr(8, 2), kHexagrams[k].code[i] == '1' ? "／" : "∥");
      EXPECT_GBK_EQ(body.substr(10, 2), position == shi ? "世" : position == ying ? "应" : "　");
    }
  }
}

TEST(HexagramTables, LookupByLineCode) {
  for (int k = 0; k < 64; ++k) {
    EXPECT_EQ(FindHexagram(kHexagrams[k].code, HexagramTable), k);
    EXPECT_EQ(FindHexagram(kHexagrams[k].code, HexagramNames18), k);
  }
  EXPECT_EQ(FindHexagram("11111", HexagramTable), 0);
  EXPECT_EQ(FindHexagram("", HexagramNames18), 0);
}

TEST(SixSpiritOrders, ByDayStem) {
  const struct {
    const char* stem;
    const char* order;
  } rows[] = {{"甲", "青龙朱雀勾陈腾蛇白虎玄武"}, {"乙", "青龙朱雀勾陈腾蛇白虎玄武"},
              {"丙", "朱雀勾陈腾蛇白虎玄武青龙"}, {"丁", "朱雀勾陈腾蛇白虎玄武青龙"},
              {"戊", "勾陈腾蛇白虎玄武青龙朱雀"}, {"己", "腾蛇白虎玄武青龙朱雀勾陈"},
              {"庚", "白虎玄武青龙朱雀勾陈腾蛇"}, {"辛", "白虎玄武青龙朱雀勾陈腾蛇"},
              {"壬", "玄武青龙朱雀勾陈腾蛇白虎"}, {"癸", "玄武青龙朱雀勾陈腾蛇白虎"}};
  for (const auto& row : rows) EXPECT_GBK_EQ(SixSpiritOrderOf(row.stem), row.order);
  for (const char* other : {"", "子", "甲子", "x"})
    EXPECT_GBK_EQ(SixSpiritOrderOf(other), "玄武青龙朱雀勾陈腾蛇白虎玄武青龙朱雀勾陈腾蛇白虎");

  const std::string order = SixSpiritOrderOf("戊");
  EXPECT_GBK_EQ(SpiritOfLine(order, 1), "勾陈");
  EXPECT_GBK_EQ(SpiritOfLine(order, 6), "朱雀");
}

TEST(SixRelativeOf, RelabelsAgainstThePalace) {
  EXPECT_GBK_EQ(SixRelativeOf("坎", "父母戌土／世"), "官鬼戌土／世");
  EXPECT_GBK_EQ(SixRelativeOf("坎", "父母戌土∥应"), "官鬼戌土∥应");
  EXPECT_GBK_EQ(SixRelativeOf("乾", "子孙子水／　"), "子孙子水／　");
  // One element of each relation against 木 (震): same, generated, overcome, generating,
  // overcoming.
  EXPECT_GBK_EQ(SixRelativeOf("震", "父母寅木／　"), "兄弟寅木／　");
  EXPECT_GBK_EQ(SixRelativeOf("震", "父母午火／　"), "子孙午火／　");
  EXPECT_GBK_EQ(SixRelativeOf("震", "父母丑土／　"), "妻财丑土／　");
  EXPECT_GBK_EQ(SixRelativeOf("震", "兄弟亥水／　"), "父母亥水／　");
  EXPECT_GBK_EQ(SixRelativeOf("震", "兄弟申金／　"), "官鬼申金／　");

  EXPECT_GBK_EQ(SixRelativeOf("宫", "父母戌土／世"), "");
  EXPECT_GBK_EQ(SixRelativeOf("坎", "父母戌风／世"), "");
  EXPECT_GBK_EQ(SixRelativeOf("坎", ""), "");
}
