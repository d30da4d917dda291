// What the workbench window shows right after it is created: the moment of the clock in the
// date boxes, the choice lists, the frame and the controls other windows look up by name.
#include <algorithm>
#include <vector>

#include "platform/Clock.h"
#include "platform/DateTime.h"
#include "platform/Numbers.h"
#include "tests/workbench/main_Fixture.h"

namespace {

std::vector<std::string> DateTexts(TForm2& form) {
  return {form.ComboBox1->GetText(), form.ComboBox2->GetText(), form.ComboBox3->GetText(),
          form.ComboBox4->GetText(), form.ComboBox5->GetText()};
}

class MainWindowStartup : public GuiTest {
 protected:
  const TLunarEngine engine{};
};

TEST_F(MainWindowStartup, DateBoxesShowTheClockWithoutLeadingZeros) {
  struct Case {
    TDateTime moment;
    std::vector<std::string> texts;
  };
  const Case cases[] = {
      {EncodeDateTime(2006, 3, 5, 0, 7, 42, 500), {"2006", "3", "5", "0", "7"}},
      {EncodeDateTime(1999, 12, 31, 23, 59, 59, 999), {"1999", "12", "31", "23", "59"}},
      {EncodeDateTime(2010, 10, 10, 10, 0, 0, 0), {"2010", "10", "10", "10", "0"}},
  };
  for (const Case& c : cases) {
    ScopedTestClock clock(c.moment);
    std::unique_ptr<TForm2> form(NewForm<TForm2>(Application, engine));
    EXPECT_EQ(DateTexts(*form), c.texts) << DateTimeToStr(c.moment);
  }
}

// The calendar labels are computed when the window is activated (showing it activates it),
// not when it is created.
TEST_F(MainWindowStartup, ActivationShowsTheCalendarOfTheStartMoment) {
  ScopedTestClock clock(EncodeDateTime(2006, 3, 5, 0, 7, 0, 0));
  std::unique_ptr<TForm2> form(NewForm<TForm2>(Application, engine));
  EXPECT_GBK_EQ(form->Label9->Caption(), "");
  EXPECT_GBK_EQ(form->Caption(), "Zelkar六爻排盘系统4.5");
  form->Show();
  EXPECT_GBK_EQ(form->Label9->Caption(), "农历:2006-2-6");
  const std::string pillars = form->Label7->Caption();
  ASSERT_EQ(pillars.size(), 22u) << Readable(pillars);
  EXPECT_GBK_EQ(ByteCopy(pillars, 1, 10), "丙戌　庚寅");  // before 惊蛰 on 6 March
  EXPECT_GBK_EQ(ByteCopy(pillars, 21, 2), "子");          // 00:07 is the 子 hour
  EXPECT_EQ(form->Label11->Caption().size(), 21u);
  EXPECT_GBK_EQ(ByteCopy(form->Caption(), 1, 23), "Zelkar六爻预测系统9.8.2");
}

TEST_F(MainWindowStartup, FixedFrameOfTheDesignedSize) {
  std::unique_ptr<TForm2> form(NewForm<TForm2>(Application, engine));
  EXPECT_GBK_EQ(form->Caption(), "Zelkar六爻排盘系统4.5");
  EXPECT_EQ(form->ClientWidth(), 621);
  EXPECT_EQ(form->ClientHeight(), 430);
  EXPECT_EQ(form->BorderStyle(), bsSingle);
  EXPECT_EQ(form->BorderIcons(), biSystemMenu | biMinimize);
  EXPECT_TRUE(form->Position() == poDesktopCenter || form->Position() == poScreenCenter);
  form->Show();
  EXPECT_EQ(form->ClientWidth(), 621);
  EXPECT_EQ(form->ClientHeight(), 430);
}

void ExpectNumbers(TComboBox* box, int from, int to) {
  const TStringList& items = box->Items();
  ASSERT_EQ(items.Count(), to - from + 1) << box->Name();
  for (int i = 0; i < items.Count(); ++i) EXPECT_EQ(items[i], IntToStr(from + i)) << box->Name();
}

TEST_F(MainWindowTest, DateBoxesOfferTheirWholeRange) {
  ExpectNumbers(form->ComboBox1, 1900, 2100);
  ExpectNumbers(form->ComboBox2, 1, 12);
  ExpectNumbers(form->ComboBox3, 1, 31);
  ExpectNumbers(form->ComboBox4, 0, 23);
  ExpectNumbers(form->ComboBox5, 0, 59);
}

TEST_F(MainWindowTest, SequenceNumbersAreTwoDigitsAndAFullWidthBlank) {
  const TStringList& items = form->ComboBox7->Items();
  ASSERT_EQ(items.Count(), 14);
  EXPECT_GBK_EQ(items[0], "01　");
  EXPECT_GBK_EQ(items[8], "09　");
  EXPECT_GBK_EQ(items[13], "14　");
  for (int i = 0; i < 14; ++i) EXPECT_EQ(items[i].size(), 4u) << Readable(items[i]);
}

TEST_F(MainWindowTest, StartValuesOfTheInputs) {
  EXPECT_GBK_EQ(form->Edit3->GetText(), "2.00");
  EXPECT_GBK_EQ(form->Edit4->GetText(), "2.00");
  EXPECT_GBK_EQ(form->Edit2->GetText(), "请输入简体汉字、字母、数字组合");
  EXPECT_GBK_EQ(form->Button1->Caption(), "排卦");
  EXPECT_GBK_EQ(form->Button2->Caption(), "结构预测");
  EXPECT_GBK_EQ(form->Button9->Caption(), "统计");
  EXPECT_GBK_EQ(form->Label14->Caption(), "赔率盘口：");
  EXPECT_GBK_EQ(form->Label10->Caption(), "笔画：");
  EXPECT_GBK_EQ(form->Label8->Caption(), "占卜");
  EXPECT_GBK_EQ(form->Label13->Caption(), "次序");
  EXPECT_GBK_EQ(form->SaveTextFileDialog1->DefaultExt, "txt");
  EXPECT_EQ(form->StatusBar1->PanelCount(), 1);
  // The chart fields start empty.
  EXPECT_EQ(form->ShiStrength, 0.0);
  EXPECT_EQ(form->YingStrength, 0.0);
  EXPECT_TRUE(form->Model().Cast.RecommendationText.empty());
  EXPECT_TRUE(std::all_of(form->Model().Cast.BranchElementStrengths.begin(),
                          form->Model().Cast.BranchElementStrengths.end(),
                          [](double v) { return v == 0; }));
}

TEST_F(MainWindowTest, NumberedControlsAreFoundByBuiltNames) {
  // Rows of controls are addressed as "checkbox" + n and the like, in any letter case.
  TButton* lines[] = {form->Button3, form->Button4, form->Button5,
                      form->Button6, form->Button7, form->Button8};
  for (int n = 1; n <= 6; ++n) {
    auto* box = dynamic_cast<TCheckBox*>(form->FindComponent("checkbox" + IntToStr(n)));
    ASSERT_NE(box, nullptr) << n;
    EXPECT_EQ(box->Name(), "CheckBox" + IntToStr(n));
    // Each box stands beside its line, on the same row and to its right.
    TButton* line = lines[n - 1];
    const int middle = box->Top() + box->Height() / 2;
    EXPECT_GE(middle, line->Top()) << n;
    EXPECT_LE(middle, line->Top() + line->Height()) << n;
    EXPECT_GE(box->Left(), line->Left() + line->Width()) << n;
  }
  // The lines are stacked top line first.
  for (int n = 1; n < 6; ++n) EXPECT_LT(lines[n - 1]->Top(), lines[n]->Top()) << n;

  EXPECT_EQ(form->FindComponent("BUTTON1"), form->Button1);
  EXPECT_EQ(form->FindComponent("label7"), form->Label7);
  EXPECT_EQ(form->FindComponent("edit4"), form->Edit4);
  EXPECT_EQ(form->FindComponent("richedit3"), form->RichEdit3);
  EXPECT_EQ(form->FindComponent("action56"), form->Action56);
  EXPECT_EQ(form->FindComponent("checkbox7"), nullptr);
}

// Controls the user sees must neither overlap nor leave the client area.
TEST_F(MainWindowTest, VisibleControlsDoNotOverlap) {
  // The calendar labels and the stroke count at their widest.
  form->Label9->SetCaption("农历:2006-12-30");
  form->Label7->SetCaption("丙戌　庚寅　壬午　庚子");
  form->Label11->SetCaption("(日空:申酉,时空:辰巳)");
  form->Label17->SetCaption("五行纳音(年:屋上土,月:松柏木,日:杨柳木,时:壁上土)");
  form->Label10->SetCaption("共1234笔");
  std::vector<TControl*> shown;
  for (int i = 0; i < form->ControlCount(); ++i) {
    TControl* c = form->Controls(i);
    if (c->Visible()) shown.push_back(c);
  }
  ASSERT_GT(shown.size(), 40u);
  ProcessEvents();
  SaveScreenshot(form.get(), "workbench_main");
  for (TControl* c : shown) {
    EXPECT_GE(c->Left(), 0) << c->Name();
    EXPECT_GE(c->Top(), 0) << c->Name();
    EXPECT_LE(c->Left() + c->Width(), 621) << c->Name();
    EXPECT_LE(c->Top() + c->Height(), 430) << c->Name();
  }
  for (size_t i = 0; i < shown.size(); ++i) {
    for (size_t j = i + 1; j < shown.size(); ++j) {
      const TRect a = shown[i]->BoundsRect(), b = shown[j]->BoundsRect();
      const bool apart =
          a.Right <= b.Left || b.Right <= a.Left || a.Bottom <= b.Top || b.Bottom <= a.Top;
      EXPECT_TRUE(apart) << shown[i]->Name() << " overlaps " << shown[j]->Name();
    }
  }
}

}  // namespace
