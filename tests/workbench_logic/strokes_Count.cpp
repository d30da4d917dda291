#include <gtest/gtest.h>

#include <string>

#include "platform/GbkText.h"
#include "workbench/logic/StrokeTable.h"

namespace {

struct Case {
  const char* text;
  int strokes;
};

void ExpectCounts(std::initializer_list<Case> cases) {
  for (const Case& c : cases) {
    EXPECT_EQ(StrokeCount(c.text), c.strokes) << "\"" << GbkToUtf8(c.text) << "\"";
  }
}

}  // namespace

// The bytes of 一 and 七 also occur across the boundary of two characters in other groups; only
// whole characters count.
TEST(StrokeCount, SingleCharacters) {
  ExpectCounts({{"七", 2},  {"一", 1},  {"人", 2}, {"大", 3}, {"中", 4}, {"国", 8}, {"龟", 7},
                {"弢", 10}, {"爨", 26}, {"a", 1},  {"A", 1},  {"z", 26}, {"Z", 26}, {"j", 10},
                {"9", 9},   {"0", 0},   {" ", 0},  {"卜", 0}, {"恰", 0}, {"丨", 0}, {"", 0}});
}

TEST(StrokeCount, NamesSumTheirCharacters) {
  ExpectCounts({{"皇家马德里", 44},
                {"巴塞罗那", 31},
                {"曼联 切尔西", 38},
                {"湖人篮球", 41},
                {"六合彩", 21},
                {"AC米兰", 1 + 3 + 6 + 5},
                {"Inter 2024", 9 + 14 + 20 + 5 + 18 + 2 + 0 + 2 + 4}});
}

// A single byte outside the counted set is a character of its own, not the first half of a pair:
// the character after it keeps its count.
TEST(StrokeCount, StrayAsciiBytesCountNothingAndSplitNothing) {
  ExpectCounts({{"'", 0},
                {"\\", 0},
                {"|", 0},
                {"'中", 4},
                {"\\国", 8},
                {"中'国", 12},
                {"O'Neil", 15 + 0 + 14 + 5 + 9 + 12},
                {"a\tb", 3},
                {"中'", 4}});
}

// A trail byte may itself be below 0x80 and belongs to its pair.
TEST(StrokeCount, TrailBytesBelow0x80StayWithTheirPair) {
  ExpectCounts({{"弢a", 11},  // 8F 7C: 0x7C is '|', which alone counts 0 anyway
                {"a弢", 11},
                {"▅z", 26}});  // A8 7C is in no group; the 'z' after it still counts
}

TEST(StrokeCount, LoneLeadByteAtTheEndCountsNothing) {
  ExpectCounts({{"中\xB0", 4}, {"\xB0", 0}, {"a\xD6", 1}});
}

// A four-byte character (GB18030: an emoji) is one character in no group; its digits are not
// counted apart from it. A lead byte that starts no character stands alone, so the digit after
// it keeps its count.
TEST(StrokeCount, FourByteCharactersCountNothingAndKeepTheirDigits) {
  ExpectCounts({{"😀", 0},
                {"中😀国", 12},
                {"😀9", 9},
                {"a😀😀z", 27},
                {"\xB0"
                 "9",
                 9}});
}
