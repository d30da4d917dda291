// The command panel and the action list: four categories in their order and start states,
// each button showing its command's caption in the designed order.
#include "platform/Numbers.h"
#include "tests/workbench/main_Fixture.h"

namespace {

std::vector<std::string> Captions(TButtonCategory* category) {
  std::vector<std::string> captions;
  for (int i = 0; i < category->Count(); ++i) captions.push_back(category->Items(i)->Caption());
  return captions;
}

std::vector<std::string> ReadableAll(const std::vector<std::string>& texts) {
  std::vector<std::string> out;
  for (const std::string& t : texts) out.push_back(Readable(t));
  return out;
}

TEST_F(MainWindowTest, PanelCategoriesInOrderWithTheirStartStates) {
  TCategoryButtons* panel = form->CategoryButtons1;
  ASSERT_EQ(panel->CategoryCount(), 4);
  const char* captions[] = {"六爻排卦", "葵花宝典", "赛果查看", "系统"};
  const bool collapsed[] = {false, true, false, true};
  for (int i = 0; i < 4; ++i) {
    EXPECT_GBK_EQ(panel->Categories(i)->Caption(), captions[i]);
    EXPECT_EQ(panel->Categories(i)->Collapsed(), collapsed[i]) << i;
  }
}

TEST_F(MainWindowTest, PanelButtonsShowTheCommandsInDesignedOrder) {
  TCategoryButtons* panel = form->CategoryButtons1;
  ASSERT_EQ(panel->CategoryCount(), 4);
  const std::vector<std::string> casting = {
      "时间起卦", "报数起卦", "电脑摇卦", "足球数理", "一球多卦", "铜钱摇卦", "彩票数理",
      "转雷山卦", "时间转换", "六合计算", "数字计算", "复制",     "保存"};
  const std::vector<std::string> books = {
      "易经",     "系辞",     "序卦",      "取用神",    "何知章",    "火珠林",    "易隐1",
      "易隐2",    "易隐3",    "青崖增删1", "青崖曾删2", "青崖增删3", "青崖增删4", "青崖增删5",
      "新派六爻", "六爻条例", "六爻祥真1", "六爻祥真2", "祥真修订",  "六爻基础",  "六爻实例",
      "六爻卦技", "六爻入门", "六爻风水",  "六爻卦相",  "林远答疑1", "林远答疑2", "林远答疑3",
      "十二技法", "卜筮讲座", "黄金策1",   "黄金策2",   "黄金策3"};
  const std::vector<std::string> results = {"及时赛果"};
  const std::vector<std::string> system = {"在线升级", "申明事项", "退出系统"};
  EXPECT_EQ(ReadableAll(Captions(panel->Categories(0))), ReadableAll(casting));
  EXPECT_EQ(ReadableAll(Captions(panel->Categories(1))), ReadableAll(books));
  EXPECT_EQ(ReadableAll(Captions(panel->Categories(2))), ReadableAll(results));
  EXPECT_EQ(ReadableAll(Captions(panel->Categories(3))), ReadableAll(system));
}

TEST_F(MainWindowTest, PanelButtonsAreBoundToTheirActions) {
  TCategoryButtons* panel = form->CategoryButtons1;
  EXPECT_EQ(panel->Categories(0)->Items(0)->Action(), form->Action4);
  EXPECT_EQ(panel->Categories(0)->Items(4)->Action(), form->Action55);
  EXPECT_EQ(panel->Categories(0)->Items(12)->Action(), form->Action56);
  EXPECT_EQ(panel->Categories(1)->Items(7)->Action(), form->Action44);
  EXPECT_EQ(panel->Categories(1)->Items(27)->Action(), form->Action46);
  // The results button is bound to Action51 but shows a caption of its own.
  EXPECT_EQ(panel->Categories(2)->Items(0)->Action(), form->Action51);
  EXPECT_GBK_EQ(panel->Categories(2)->Items(0)->Caption(), "及时赛果");
  EXPECT_GBK_EQ(form->Action51->Caption(), "球赛");
  int runs = 0;
  form->Action51->OnExecute = [&runs](TComponent*) { ++runs; };
  ASSERT_TRUE(UserClickPanelButton(panel, "及时赛果"));
  EXPECT_EQ(runs, 1);
  EXPECT_EQ(panel->Categories(3)->Items(2)->Action(), form->Action54);
}

TEST_F(MainWindowTest, ActionListHoldsEveryCommandByNumber) {
  TActionList* list = form->ActionList1;
  ASSERT_EQ(list->ActionCount(), 56);
  for (int i = 0; i < 56; ++i) {
    EXPECT_EQ(list->Actions(i)->Name(), "Action" + IntToStr(i + 1));
    EXPECT_EQ(list->Actions(i)->Owner(), form.get());
  }
  // Commands that are not on the panel.
  EXPECT_GBK_EQ(form->Action1->Caption(), "Action1");
  EXPECT_GBK_EQ(form->Action2->Caption(), "Action2");
  EXPECT_GBK_EQ(form->Action11->Caption(), "足彩数理");
  EXPECT_GBK_EQ(form->Action12->Caption(), "六合计算");
  EXPECT_GBK_EQ(form->Action34->Caption(), "Action34");
  EXPECT_GBK_EQ(form->Action53->Caption(), "梅花断卦");
  // Action34 has no command at all.
  EXPECT_FALSE(form->Action34->Execute());
}

}  // namespace
