// The calculator's twelve groups and the search of their lists.
#include <gtest/gtest.h>

#include <set>

#include "marksix/logic/NumberFilter.h"
#include "tests/workbench_logic/GbkExpect.h"

namespace {

std::array<std::string, 12> DefaultLists() {
  std::array<std::string, 12> lists;
  for (size_t g = 0; g < 12; ++g) lists[g] = NumberGroups()[g].Default;
  return lists;
}

TEST(NumberGroups, DefaultListsAndItemsAreByteExact) {
  const auto& g = NumberGroups();
  EXPECT_GBK_EQ(g[9].Default, "01.02.03.04.05.06.07.08.09.10.11.12.13");
  EXPECT_GBK_EQ(g[10].Default, "01020304050607080910");
  EXPECT_EQ(GroupListItem(g[9], 0, "1"), ".01");
  EXPECT_EQ(GroupListItem(g[9], 8, "9"), ".09");
  EXPECT_EQ(GroupListItem(g[9], 9, "10"), ".10");
  EXPECT_EQ(GroupListItem(g[10], 9, "10"), ".10");
  EXPECT_EQ(GroupListItem(g[6], 0, "单"), "HD");
  EXPECT_EQ(GroupListItem(g[6], 1, "双"), "HS");
  EXPECT_GBK_EQ(GroupListItem(g[0], 3, "兔"), "兔");
}

TEST(PassingNumbers, DefaultListsPassAllAndNamesNeverMatchAcrossASeam) {
  auto lists = DefaultLists();
  EXPECT_EQ(PassingNumbers(2008, lists).size(), 49u);
  // Two characters whose bytes, read from the middle of the first, spell 鼠 (CA F3): the
  // numbers of 鼠 must not pass.
  lists[0] = "\xB0\xCA\xF3\xA1";
  EXPECT_TRUE(PassingNumbers(2008, lists).empty());
  lists[0] = "\xB0\xCA\xF3\xA1鼠";
  EXPECT_EQ(PassingNumbers(2008, lists), (std::vector<int>{1, 13, 25, 37, 49}));
}

}  // namespace
