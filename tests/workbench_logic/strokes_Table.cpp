// The stroke table is public data with a repaired slip; these pin it to what the casts expect.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/GbkText.h"
#include "tests/workbench_logic/GbkExpect.h"
#include "workbench/logic/StrokeTable.h"

namespace {

// Group of every character of the table; a character met twice is recorded with group -1.
std::map<std::string, int> GroupOfEveryCharacter() {
  std::map<std::string, int> groups;
  for (int k = 0; k < StrokeGroupCount; ++k) {
    for (const std::string& c : SplitChars(StrokeGroups[k])) {
      auto [it, inserted] = groups.emplace(c, k);
      if (!inserted) it->second = -1;
    }
  }
  return groups;
}

int DoubleByteCount(const std::string& text) {
  int count = 0;
  for (const std::string& c : SplitChars(text)) count += c.size() == 2;
  return count;
}

const char* const kExcluded[] = {"卜", "恰", "丨", "丿", "丶", "匚", "刂", "亠", "冫", "冖", "讠",
                                 "卩", "阝", "廴", "艹", "扌", "彳", "彡", "犭", "夂", "饣", "忄",
                                 "丬", "氵", "宀", "辶", "彐", "屮", "纟", "灬", "礻", "疒", "衤"};

}  // namespace

TEST(StrokeTable, ChineseCharactersPerGroupMatchThePublishedCounts) {
  const std::vector<int> expected = {2,   24,  61,  138, 203, 348, 532, 676, 754,
                                     733, 698, 639, 522, 395, 310, 258, 172, 71,
                                     79,  41,  26,  15,  14,  12,  6,   2};
  std::vector<int> actual;
  for (int k = 1; k < StrokeGroupCount; ++k) actual.push_back(DoubleByteCount(StrokeGroups[k]));
  EXPECT_EQ(actual, expected);
  EXPECT_EQ(DoubleByteCount(StrokeGroups[0]), 0);
}

TEST(StrokeTable, EveryCharacterStandsInExactlyOneGroup) {
  const auto groups = GroupOfEveryCharacter();
  int chinese = 0;
  for (const auto& [c, group] : groups) {
    EXPECT_NE(group, -1) << GbkToUtf8(c) << " appears twice";
    chinese += c.size() == 2;
  }
  EXPECT_EQ(chinese, 6731);
  EXPECT_EQ(groups.size(), 6731u + 92u);  // plus the single-byte set
}

TEST(StrokeTable, HoldsAllOfGb2312ButThe33ExclusionsPlusOneCharacter) {
  const auto groups = GroupOfEveryCharacter();
  std::set<std::string> absent;
  // GB 2312 Chinese characters: rows B0 to F7, cells A1 to FE, less the five empty cells of D7.
  for (int lead = 0xB0; lead <= 0xF7; ++lead) {
    for (int trail = 0xA1; trail <= 0xFE; ++trail) {
      if (lead == 0xD7 && trail >= 0xFA) continue;
      const std::string c{static_cast<char>(lead), static_cast<char>(trail)};
      if (!groups.count(c)) absent.insert(c);
    }
  }
  const std::set<std::string> excluded(std::begin(kExcluded), std::end(kExcluded));
  EXPECT_EQ(excluded.size(), 33u);
  EXPECT_EQ(absent, excluded);

  std::vector<std::string> beyond;
  for (const auto& [c, group] : groups) {
    const auto lead = static_cast<unsigned char>(c[0]);
    const auto trail = c.size() == 2 ? static_cast<unsigned char>(c[1]) : 0;
    if (c.size() == 2 && (lead < 0xB0 || lead > 0xF7 || trail < 0xA1)) beyond.push_back(c);
  }
  ASSERT_EQ(beyond.size(), 1u);
  EXPECT_EQ(beyond[0], std::string("\x8F\x7C"));
  EXPECT_GBK_EQ(beyond[0], "弢");
}

TEST(StrokeTable, SampleRowsAndTheRepairedPlaces) {
  EXPECT_GBK_EQ(StrokeGroups[0], "0 ,./<>?;:\"[]{}`~!@#$%^&*()_+-=");
  EXPECT_GBK_EQ(StrokeGroups[1], "1aA一乙");
  EXPECT_GBK_EQ(LeftChars(StrokeGroups[3], 8), "3cC万丈三上下");
  EXPECT_GBK_EQ(LeftChars(StrokeGroups[10], 6), "jJ乘亳俯俱");
  EXPECT_GBK_EQ(StrokeGroups[25], "yY鬣馕囔戆攮纛");
  EXPECT_GBK_EQ(StrokeGroups[26], "zZ蠼爨");
  // Five strokes each: they head group 5 and are gone from the end of group 4.
  EXPECT_GBK_EQ(LeftChars(StrokeGroups[5], 16), "5eE且丕世丘丙业丛东丝主乍乎乏");
  EXPECT_GBK_EQ(RightChars(StrokeGroups[4], 1), "风");
  EXPECT_TRUE(CharContains(StrokeGroups[10], "弢"));
  EXPECT_FALSE(CharContains(StrokeGroups[9], "弢"));
}
