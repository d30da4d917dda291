// The three day tables of the calculator's menu.
#include <gtest/gtest.h>

#include <vector>

#include "marksix/logic/DayTables.h"
#include "platform/Classes.h"
#include "platform/GbkText.h"
#include "tests/workbench_logic/GbkExpect.h"

namespace {

std::vector<std::string> Lines(const std::string& text) {
  TStringList lines;
  lines.SetText(text);
  return lines.Items();
}

TEST(DayTables, HeaderThirtyLinesEmptyLineAndNotice) {
  struct Case {
    std::string text, header, line1, line3, line30;
  };
  const Case cases[] = {
      {ZodiacKillDayTable(),
       "杀肖:", "甲子日:冲马破羊无猴亡狗、猪......乙丑日:冲羊破猴无鸡亡狗、猪",
       "戊辰日:冲狗破猪无鼠亡狗、猪......己已日:冲猪破鼠无牛亡狗、猪",
       "壬戌日:冲龙破蛇无马亡猴、鸡......癸亥日:冲蛇破马无牛亡猴、鸡"},
      {TailKillDayTable(), "杀尾:", "甲子日:2056......乙丑日:0956", "戊辰日:56........己已日:165",
       "壬戌日:5249......癸亥日:2749"},
      {ElementKillDayTable(), "杀五行:", "甲子日:土..........乙丑日:土",
       "戊辰日:水土........己已日:水土", "壬戌日:土..........癸亥日:土"},
  };
  for (const Case& c : cases) {
    const auto lines = Lines(c.text);
    ASSERT_EQ(lines.size(), 33u) << Readable(c.header);
    EXPECT_GBK_EQ(lines[0], c.header);
    EXPECT_GBK_EQ(lines[1], c.line1);
    EXPECT_GBK_EQ(lines[3], c.line3);
    EXPECT_GBK_EQ(lines[30], c.line30);
    EXPECT_EQ(lines[31], "");
    EXPECT_FALSE(lines[32].empty());
    for (int r = 1; r <= 30; ++r) {
      EXPECT_TRUE(CharContains(lines[r], "日:")) << Readable(lines[r]);
      EXPECT_FALSE(CharContains(lines[r], "巳")) << Readable(lines[r]);
    }
  }
}

TEST(DayTables, BlocksOfTenDaysChangeTheLostAnimalsAndTheTails) {
  const auto zodiac = Lines(ZodiacKillDayTable());
  // Line 6 holds 甲戌 (day 11) and 乙亥 (day 12), the first days of the second block.
  EXPECT_GBK_EQ(zodiac[6], "甲戌日:冲龙破蛇无马亡鼠、牛......乙亥日:冲蛇破马无牛亡鼠、牛");
  const auto tails = Lines(TailKillDayTable());
  EXPECT_GBK_EQ(tails[10], "壬午日:10........癸未日:310");
  EXPECT_GBK_EQ(tails[11], "甲申日:38........乙酉日:538");
  const auto elements = Lines(ElementKillDayTable());
  EXPECT_GBK_EQ(elements[11], "甲申日:火土........乙酉日:火土");
}

}  // namespace
