// The calculator's menu and label: the three day tables, the strength and formula windows, the
// time cast before the strengths; and the main window's two commands that open the calculator.
#include "marksix/logic/DayTables.h"
#include "platform/GbkText.h"
#include "tests/marksix/MarkSixFixture.h"

namespace {

class CalculatorMenu : public MarkSixTest {
 protected:
  void SetUp() override {
    MarkSixTest::SetUp();
    PickMoment(2008, 1, 2, 9, 0);
    Form4->Show();
  }
};

TEST_F(CalculatorMenu, DayTablesShowInMessageBoxes) {
  struct Case {
    TMenuItem* item;
    const char* caption;
    std::string table;
  };
  const Case cases[] = {{Form4->N3, "生肖秘笈", ZodiacKillDayTable()},
                        {Form4->N4, "尾数秘笈", TailKillDayTable()},
                        {Form4->N5, "五行秘笈", ElementKillDayTable()}};
  for (const Case& c : cases) {
    EXPECT_GBK_EQ(c.item->Caption(), c.caption);
    dialogs().AnswerMessage();
    UserChoose(c.item);
    EXPECT_GBK_EQ(dialogs().Messages().back(), c.table);
  }
  EXPECT_EQ(dialogs().Messages().size(), 3u);
  EXPECT_GBK_EQ(ByteCopy(dialogs().Messages()[1], 1, 7), "杀尾:\r\n");
}

TEST_F(CalculatorMenu, StrengthsAndFormulasOpenModally) {
  dialogs().AnswerModal([](TForm& shown) {
    EXPECT_EQ(&shown, Form5);
    EXPECT_EQ(Form5->Find<TLabel>("label2")->Caption(), "5.4");  // shown with its strengths
  });
  UserChoose(Form4->N6);
  EXPECT_GBK_EQ(Form4->N6->Caption(), "综合力量");
  dialogs().AnswerModal([](TForm& shown) {
    EXPECT_EQ(&shown, Form8);
    EXPECT_EQ(Form8->FormulaBoxes[0]->Caption(), "公式A");  // the server has no file
  });
  UserChoose(Form4->N9);
  EXPECT_GBK_EQ(Form4->N9->Caption(), "公式秘笈");
  EXPECT_FALSE(Form5->Visible());
  EXPECT_FALSE(Form8->Visible());
  EXPECT_EQ(Server().RequestCount(kFormulaPath), 1);
}

TEST_F(CalculatorMenu, DoubleClickOnTheAnimalsLabelCastsByTimeThenShowsTheStrengths) {
  Form2->RichEdit1->SetText("");
  dialogs().AnswerModal([](TForm& shown) {
    EXPECT_EQ(&shown, Form5);
    EXPECT_NE(Form2->RichEdit1->GetText(), "");  // the chart of the time cast is there first
  });
  UserDoubleClick(Form4->Label1);
  EXPECT_EQ(dialogs().Shown().back().kind, ShownDialog::Modal);
}

TEST_F(CalculatorMenu, TheMainWindowsCommandsShowTheCalculator) {
  Form4->Close();
  for (TAction* action : {Form2->Action12, Form2->Action13}) {
    EXPECT_GBK_EQ(action->Caption(), "六合计算");
    dialogs().AnswerModal([](TForm& shown) { EXPECT_EQ(&shown, Form4); });
    action->Execute();
  }
  dialogs().AnswerModal([](TForm& shown) { EXPECT_EQ(&shown, Form4); });
  ASSERT_TRUE(UserClickPanelButton(Form2->CategoryButtons1, "六合计算"));
  EXPECT_EQ(dialogs().Shown().size(), 3u);
}

}  // namespace
