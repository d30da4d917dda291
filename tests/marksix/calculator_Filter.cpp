// The calculator's filter as a user runs it: tick boxes, press "计算", read the result box.
#include "tests/marksix/MarkSixFixture.h"

namespace {

class CalculatorFilter : public MarkSixTest {
 protected:
  void SetUp() override {
    MarkSixTest::SetUp();
    PickMoment(2008, 6, 1);  // lunar 2008: 鼠 is the year's animal
    ASSERT_GBK_EQ_PREFIX();
    Form4->Show();
    ProcessEvents();
  }
  void ASSERT_GBK_EQ_PREFIX() {
    ASSERT_EQ(ByteCopy(Form2->Label9->Caption(), 1, 9), std::string("农历:2008"))
        << Readable(Form2->Label9->Caption());
  }
  void Tick(std::initializer_list<int> boxes) {
    for (int n : boxes) UserClick(Form4->FilterBox(n));
  }
  std::string Calculate() {
    UserClick(Form4->Button1);
    return Form4->RichEdit1->GetText();
  }
};

TEST_F(CalculatorFilter, Screenshot) {
  Tick({1, 13, 14});
  Calculate();
  ProcessEvents();
  SaveScreenshot(Form4, "form4_filter");
}

}  // namespace
