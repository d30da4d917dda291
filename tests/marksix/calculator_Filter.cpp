// The calculator as a user runs it: tick boxes, press "计算", read the result box; clear, copy,
// and the conversion error of a moment without a lunar year.
#include "platform/GbkText.h"
#include "tests/marksix/MarkSixFixture.h"

namespace {

class CalculatorFilter : public MarkSixTest {
 protected:
  void SetUp() override {
    MarkSixTest::SetUp();
    Open(2008);  // 鼠 is the year's animal
  }
  // A moment in the middle of lunar `year`, and the calculator open.
  void Open(int year) {
    PickMoment(year, 6, 1);
    ASSERT_EQ(ByteCopy(Form2->Label9->Caption(), 1, 9), "农历:" + std::to_string(year))
        << Readable(Form2->Label9->Caption());
    Form4->Show();
    ProcessEvents();
  }
  void Tick(std::initializer_list<int> boxes) {
    for (int n : boxes) UserClick(Form4->FilterBox(n));
  }
  void TickRange(int from, int to) {
    for (int n = from; n <= to; ++n) UserClick(Form4->FilterBox(n));
  }
  std::string Calculate() {
    UserClick(Form4->Button1);
    return Form4->RichEdit1->GetText();
  }
  // The list part of the result: " 1 13 25".
  static std::string List(std::initializer_list<int> numbers) {
    std::string list;
    for (int n : numbers) list += " " + std::to_string(n);
    return list;
  }
  static std::string AllNumbers() {
    std::string text = "特围49码:";
    for (int n = 1; n <= 49; ++n) text += " " + std::to_string(n);
    return text;
  }
};

TEST_F(CalculatorFilter, WindowAsDesigned) {
  EXPECT_GBK_EQ(Form4->Caption(), "六合计算器(支持1972-2132年六合属性)");
  EXPECT_EQ(Form4->ClientWidth(), 270);
  EXPECT_EQ(Form4->ClientHeight(), 427);
  EXPECT_GBK_EQ(Form4->GroupBox1->Caption(), "请勾选");
  // Every filter box is found by its number in any case of the name, and shows.
  for (int n = 1; n <= 78; ++n) {
    TCheckBox* box = Form4->FilterBox(n);
    ASSERT_NE(box, nullptr) << n;
    EXPECT_EQ(Form4->FindComponent("CHECKBOX" + std::to_string(n)), box);
    EXPECT_TRUE(box->Showing()) << n;
    EXPECT_LE(box->Left() + box->Width(), Form4->GroupBox1->Width()) << n;
  }
  EXPECT_GBK_EQ(Form4->FilterBox(78)->Caption(), "0");
  EXPECT_GBK_EQ(Form4->FilterBox(72)->Caption(), "6");
  EXPECT_GBK_EQ(Form4->FilterBox(61)->Caption(), "13");
  EXPECT_GBK_EQ(Form4->Label1->Caption(), "生肖:");
  EXPECT_GBK_EQ(Form4->N2->Caption(), "六合秘笈大全");
}

TEST_F(CalculatorFilter, NothingTickedOrAGroupFullyTickedPassesEveryNumber) {
  EXPECT_GBK_EQ(Calculate(), AllNumbers());
  TickRange(1, 12);  // all animals
  EXPECT_GBK_EQ(Calculate(), AllNumbers());
  TickRange(49, 61);  // all digit sums
  TickRange(62, 71);  // all blocks of five
  TickRange(35, 36);
  EXPECT_GBK_EQ(Calculate(), AllNumbers());
}

TEST_F(CalculatorFilter, TheYearsAnimalAloneGivesFiveNumbers) {
  Tick({1});
  EXPECT_GBK_EQ(Calculate(), "推算5码:" + List({1, 13, 25, 37, 49}));
  Tick({1, 12});  // 鼠 off, 猪 on: the animal before the year's
  EXPECT_GBK_EQ(Calculate(), "推算4码:" + List({2, 14, 26, 38}));
}

TEST_F(CalculatorFilter, ThePigYearTurnsTheAnimals) {
  Open(2007);
  Tick({12});
  EXPECT_GBK_EQ(Calculate(), "推算5码:" + List({1, 13, 25, 37, 49}));
  Tick({12, 11});  // 狗
  EXPECT_GBK_EQ(Calculate(), "推算4码:" + List({2, 14, 26, 38}));
  Tick({11, 1});  // 鼠
  EXPECT_GBK_EQ(Calculate(), "推算4码:" + List({12, 24, 36, 48}));
}

TEST_F(CalculatorFilter, NineteenNumbersAreTheSpecialRingEighteenAReckoning) {
  Tick({26, 27});  // heads 0 and 1
  EXPECT_GBK_EQ(Calculate(), "特围19码:" + List({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15,
                                                 16, 17, 18, 19}));
  TickRange(17, 25);  // tails 1 .. 9: 10 goes
  EXPECT_GBK_EQ(Calculate(), "推算18码:" + List({1, 2, 3, 4, 5, 6, 7, 8, 9, 11, 12, 13, 14, 15, 16,
                                                 17, 18, 19}));
}

TEST_F(CalculatorFilter, DigitSumsAndBlocksMatchWholeItemsOnly) {
  Tick({35});  // 合数 单: odd digit sums
  EXPECT_GBK_EQ(Calculate(), "特围25码:" + List({1,  3,  5,  7,  9,  10, 12, 14, 16, 18, 21, 23, 25,
                                                 27, 29, 30, 32, 34, 36, 38, 41, 43, 45, 47, 49}));
  Tick({35, 62, 63});  // 位数 1 and 2: block "10" must not match ".01.02"
  EXPECT_GBK_EQ(Calculate(), "推算10码:" + List({1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
  Tick({62, 63, 49});  // 合和 1
  EXPECT_GBK_EQ(Calculate(), "推算2码:" + List({1, 10}));
  Tick({49, 58});  // 合和 10
  EXPECT_GBK_EQ(Calculate(), "推算4码:" + List({19, 28, 37, 46}));
  Tick({58, 71});  // 合和 10 off, 位数 10 on
  EXPECT_GBK_EQ(Calculate(), "推算4码:" + List({46, 47, 48, 49}));
}

TEST_F(CalculatorFilter, GroupsCombineAndSevenTailsCountDownwards) {
  Tick({78});  // 支尾 0
  EXPECT_GBK_EQ(Calculate(), "推算7码:" + List({7, 14, 21, 28, 35, 42, 49}));
  Tick({78, 72});  // 支尾 6
  EXPECT_GBK_EQ(Calculate(), "推算7码:" + List({6, 13, 20, 27, 34, 41, 48}));
  Tick({13, 33});  // red and big
  EXPECT_GBK_EQ(Calculate(), "推算1码:" + List({34}));
  Tick({72, 37, 16});  // 支尾 off; 金 and tail 0
  // Red, big and tail 0 are 30 and 40, neither of them 金 in 2008.
  EXPECT_GBK_EQ(Calculate(), "推算0码:");
}

TEST_F(CalculatorFilter, ClearUnticksEveryBoxAndEmptiesTheResultOnly) {
  Tick({1, 13, 20, 40, 55, 75});
  Calculate();
  const std::string pillars = Form2->Label7->Caption();
  const std::string lunar = Form2->Label9->Caption();
  UserClick(Form4->Button2);
  for (int n = 1; n <= 78; ++n) EXPECT_FALSE(Form4->FilterBox(n)->Checked()) << n;
  EXPECT_EQ(Form4->RichEdit1->GetText(), "");
  EXPECT_EQ(Form2->Label7->Caption(), pillars);
  EXPECT_EQ(Form2->Label9->Caption(), lunar);
  EXPECT_GBK_EQ(Calculate(), AllNumbers());
}

TEST_F(CalculatorFilter, CopyPutsTheResultOnTheClipboard) {
  Tick({1});
  Calculate();
  UserClick(Form4->Button3);
  EXPECT_GBK_EQ(Clipboard()->AsText(), "推算5码:" + List({1, 13, 25, 37, 49}));
  Clipboard()->SetAsText("");
  dialogs().AnswerPopup(Form4->N1);
  Form4->PopupMenu1->Popup(0, 0);
  EXPECT_GBK_EQ(Clipboard()->AsText(), "推算5码:" + List({1, 13, 25, 37, 49}));
}

// Before the calendar's first lunar day the moment has no lunar year: the date error of the
// casts, naming the moment, in all three windows; nothing changes.
TEST_F(CalculatorFilter, AMomentWithoutLunarYearGetsTheDateErrorAndKeepsTheResults) {
  Tick({1});
  Calculate();
  PickMoment(1900, 1, 15);
  ASSERT_EQ(Form2->Label9->Caption(), std::string("农历:0-0-0"))
      << Readable(Form2->Label9->Caption());
  dialogs().AnswerMessage();
  UserClick(Form4->Button1);
  ASSERT_EQ(dialogs().Messages().size(), 1u);
  EXPECT_GBK_EQ(
      dialogs().Messages()[0],
      "日期或时间无效，或不在1900-2100年之间：「1900年1月15日12时0分」，请先改正日期和时间");
  EXPECT_GBK_EQ(Form4->RichEdit1->GetText(), "推算5码:" + List({1, 13, 25, 37, 49}));

  PickMoment(1900, 1, 1, 0, 0);
  dialogs().AnswerMessage();
  UserClick(Form4->Button1);
  EXPECT_GBK_EQ(
      dialogs().Messages().back(),
      "日期或时间无效，或不在1900-2100年之间：「1900年1月1日0时0分」，请先改正日期和时间");
  EXPECT_GBK_EQ(Form4->RichEdit1->GetText(), "推算5码:" + List({1, 13, 25, 37, 49}));
  EXPECT_NE(SaveScreenshot(Form4, "form4_early_moment"), "");

  Form5->Show();
  Form5->Memo1->SetText("old");
  dialogs().AnswerMessage();
  UserClick(Form5->Button1);
  EXPECT_GBK_EQ(
      dialogs().Messages().back(),
      "日期或时间无效，或不在1900-2100年之间：「1900年1月1日0时0分」，请先改正日期和时间");
  EXPECT_EQ(Form5->Memo1->GetText(), "old");
  Form5->Close();

  WriteFile("bd/gs.dat",
            "001010203040506001010203040506001010203040506001010203040506"
            "001010203040506001010203040506001010203040506001010203040506"
            "001010203040506001010203040506001010203040506001010203040506");
  Form8->Show();
  ProcessEvents();
  for (TEdit* edit :
       {Form8->Edit1, Form8->Edit2, Form8->Edit3, Form8->Edit4, Form8->Edit5, Form8->Edit6})
    UserType(edit, "1");
  const std::string caption = Form8->FormulaBoxes[0]->Caption();
  dialogs().AnswerMessage();
  UserClick(Form8->BitBtn1);
  EXPECT_GBK_EQ(
      dialogs().Messages().back(),
      "日期或时间无效，或不在1900-2100年之间：「1900年1月1日0时0分」，请先改正日期和时间");
  EXPECT_EQ(Form8->FormulaBoxes[0]->Caption(), caption);
  EXPECT_EQ(Form8->Memo2->GetText(), "");
  EXPECT_EQ(dialogs().Messages().size(), 4u);
}

TEST_F(CalculatorFilter, ScreenshotAfterAFilter) {
  Tick({33, 13});  // big and red: a list that wraps
  EXPECT_GBK_EQ(Calculate(), "推算7码:" + List({29, 30, 34, 35, 40, 45, 46}));
  Tick({13});
  EXPECT_EQ(ByteCopy(Calculate(), 1, 9), "特围25码:");
  ProcessEvents();
  const std::string path = SaveScreenshot(Form4, "form4_filter");
  EXPECT_NE(path, "");
}

}  // namespace
