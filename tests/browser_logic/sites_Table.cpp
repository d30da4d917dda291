// The site table and the menus and buttons it makes.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "browser/logic/BrowserRules.h"
#include "browser/logic/SiteList.h"
#include "platform/GbkText.h"

namespace {

std::vector<int> Actions(const TSiteMenu& menu) {
  std::vector<int> actions;
  for (const TSiteMenu& item : menu.Items)
    if (item.Entry) actions.push_back(item.Entry->Action);
  return actions;
}

TEST(SiteTable, HoldsSeventyTwoEntriesOfActionsOneToSeventyFourBesideTenAndFortyTwo) {
  const auto& entries = SiteEntries();
  EXPECT_EQ(entries.size(), 72u);
  std::set<int> actions;
  for (const TSiteEntry& e : entries) {
    actions.insert(e.Action);
    EXPECT_TRUE(IsWebAddress(e.Address)) << e.Action << ": " << e.Address;
    EXPECT_FALSE(std::string(e.Caption).empty()) << e.Action;
    // A caption shows on a menu item and a button, where '&' would mark a key.
    EXPECT_EQ(std::string(e.Caption).find('&'), std::string::npos) << e.Action;
    EXPECT_EQ(FindSiteEntry(e.Action), &e);
  }
  EXPECT_EQ(actions.size(), 72u) << "an action number occurs twice";
  for (int n : {10, 42, 75, 76, 77, 78}) EXPECT_EQ(FindSiteEntry(n), nullptr) << n;
  EXPECT_EQ(*actions.begin(), 1);
  EXPECT_EQ(*actions.rbegin(), 74);
  EXPECT_STREQ(FindSiteEntry(68)->Menu, "");  // in the family, shown nowhere
}

TEST(SiteTable, MenusHoldTheResultsThenFourteenTopicsTwentySevenEmptyOnesAndTheAtlas) {
  const std::vector<TSiteMenu> menus = SiteMenus();
  ASSERT_EQ(menus.size(), 2u);
  EXPECT_EQ(menus[0].Caption, "赛果网站");
  EXPECT_EQ(Actions(menus[0]), (std::vector<int>{1, 11, 2, 3, 4, 5, 6, 7, 8, 9}));
  EXPECT_EQ(menus[0].Items.size(), 10u);

  const TSiteMenu& divination = menus[1];
  EXPECT_EQ(divination.Caption, "易学网站");
  ASSERT_EQ(divination.Items.size(), 14u + 27u + 1u);
  const std::vector<std::pair<std::string, std::vector<int>>> topics = {
      {"风水导航", {12, 13, 14, 15, 16, 17}},
      {"综合风水", {18, 19, 20, 21}},
      {"勘舆风水", {22, 23, 24}},
      {"易学论坛", {25, 26, 27, 28}},
      {"四柱八字", {29, 30, 31, 32, 33}},
      {"纳甲六爻", {34, 35, 36, 37, 43}},
      {"奇门盾甲", {38, 39, 40}},
      {"绝学三式", {44, 45, 46}},
      {"梅花易数", {47, 48, 49, 50}},
      {"紫薇抖数", {51, 52, 53, 54, 55}},
      {"手相面相", {56, 57, 58, 59, 60, 61}},
      {"起名改名", {62, 63, 64}},
      {"测字解梦", {65, 66, 67}},
      {"星象物语", {69, 70, 71, 72, 73, 74}}};
  for (size_t i = 0; i < topics.size(); ++i) {
    const TSiteMenu& topic = divination.Items[i];
    EXPECT_EQ(topic.Entry, nullptr);
    EXPECT_EQ(GbkToUtf8(topic.Caption), GbkToUtf8(topics[i].first)) << i;
    EXPECT_EQ(Actions(topic), topics[i].second) << GbkToUtf8(topic.Caption);
    EXPECT_EQ(topic.Items.size(), topics[i].second.size());
  }
  const std::vector<std::string> empty = {
      "神秘塔罗", "灵异空间", "国学网站", "武术气功", "易医站点", "佛学宗教", "诸子百家",
      "周易协会", "地方风水", "名师站点", "排盘系统", "易学出版", "易学邮购", "风水资料",
      "易学音响", "易学软件", "风水教学", "风水商城", "博采股海", "实用工具", "占卜游戏",
      "十二星座", "生肖属相", "心理测试", "传统节日", "民族文化", "地影设计"};
  for (size_t i = 0; i < empty.size(); ++i) {
    const TSiteMenu& topic = divination.Items[14 + i];
    EXPECT_EQ(GbkToUtf8(topic.Caption), GbkToUtf8(empty[i])) << i;
    EXPECT_EQ(topic.Entry, nullptr);
    EXPECT_TRUE(topic.Items.empty());
  }
  ASSERT_NE(divination.Items.back().Entry, nullptr);
  EXPECT_EQ(divination.Items.back().Entry->Action, 41);
}

TEST(SiteTable, TenButtonsShowTheResultsSitesInTheirOwnOrder) {
  std::vector<const TSiteEntry*> slots(11, nullptr);
  for (const TSiteEntry& e : SiteEntries()) {
    if (e.ButtonSlot == 0) continue;
    ASSERT_GE(e.ButtonSlot, 1);
    ASSERT_LE(e.ButtonSlot, 10);
    EXPECT_EQ(slots[e.ButtonSlot], nullptr) << "slot " << e.ButtonSlot << " taken twice";
    slots[e.ButtonSlot] = &e;
  }
  std::vector<int> order;
  for (int slot = 1; slot <= 10; ++slot) order.push_back(slots[slot] ? slots[slot]->Action : 0);
  EXPECT_EQ(order, (std::vector<int>{2, 1, 3, 4, 5, 6, 7, 8, 9, 11}));
}

TEST(SiteTable, TheAddressBoxStartsWithElevenWebAddresses) {
  EXPECT_EQ(BuiltInAddresses().size(), 11u);
  for (const std::string& address : BuiltInAddresses())
    EXPECT_TRUE(IsWebAddress(address)) << address;
}

TEST(SiteTable, HomeAndSearchAreWebPagesOfTheirOwnUnlessTheBuildNamesOthers) {
  const std::string home = HomePageAddress("");
  const std::string search = SearchPageAddress("");
  EXPECT_TRUE(IsWebAddress(home)) << home;
  EXPECT_TRUE(IsWebAddress(search)) << search;
  EXPECT_NE(home, search);
  EXPECT_EQ(HomePageAddress("about:blank"), "about:blank");
  EXPECT_EQ(SearchPageAddress("http://127.0.0.1:8080/s"), "http://127.0.0.1:8080/s");
}

}  // namespace
