// Copying the reading: the fixed frame around subject, chart and result reaches the clipboard
// through the staging box, which keeps it until the next copy.
#include "platform/gui/Clipbrd.h"
#include "tests/workbench/main_Fixture.h"

namespace {

class CopyReading : public MainWindowTest {
 protected:
  void Empty() {
    form->ComboBox7->SetText("");
    form->Edit1->SetText("");
    form->RichEdit1->SetText("");
    form->Edit2->SetText("");
  }
};

TEST_F(CopyReading, EmptyFieldsStillGiveTheFixedFrame) {
  Empty();
  Clipboard()->SetAsText("old");
  form->Action3->Execute();
  const std::string frame = "　\r\n占卜:\r\n\r\n　\r\n";
  EXPECT_GBK_EQ(Clipboard()->AsText(), frame);
  EXPECT_GBK_EQ(form->RichEdit2->GetText(), frame);
}

TEST_F(CopyReading, JoinsSequenceSubjectChartAndResult) {
  form->ComboBox7->SetText("03　");
  form->Edit1->SetText("皇马　VS　巴萨");
  form->RichEdit1->SetText("公历:2006年3月5日0时7分\r\n乾为天　乾宫　六神\r\n　");
  form->Edit2->SetText("推荐,世(世应力量:1.5－0.87)");
  form->Action3->Execute();
  EXPECT_GBK_EQ(Clipboard()->AsText(),
                "　\r\n占卜:03　皇马　VS　巴萨\r\n公历:2006年3月5日0时7分\r\n乾为天　乾宫　六神\r\n"
                "　\r\n　\r\n推荐,世(世应力量:1.5－0.87)");
}

TEST_F(CopyReading, StagingBoxKeepsTheLastCopy) {
  Empty();
  form->Edit1->SetText("第一");
  form->Action3->Execute();
  Clipboard()->SetAsText("elsewhere");
  EXPECT_GBK_EQ(form->RichEdit2->GetText(), "　\r\n占卜:第一\r\n\r\n　\r\n");
  form->Edit1->SetText("第二");
  EXPECT_GBK_EQ(form->RichEdit2->GetText(), "　\r\n占卜:第一\r\n\r\n　\r\n");
  form->Action3->Execute();
  EXPECT_GBK_EQ(Clipboard()->AsText(), "　\r\n占卜:第二\r\n\r\n　\r\n");
}

TEST_F(CopyReading, PanelButtonCopies) {
  Empty();
  ASSERT_TRUE(UserClickPanelButton(form->CategoryButtons1, "复制"));
  EXPECT_GBK_EQ(Clipboard()->AsText(), "　\r\n占卜:\r\n\r\n　\r\n");
}

}  // namespace
