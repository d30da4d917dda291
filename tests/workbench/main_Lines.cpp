// The six line buttons toggle between yang and yin on a click; a caption that is neither
// (handed over by another window) counts as yang and turns yin.
#include "tests/workbench/main_Fixture.h"
#include "workbench/logic/Chart.h"

namespace {

class LineButtons : public MainWindowTest {
 protected:
  std::vector<TButton*> Lines() const {
    return {form->Button3, form->Button4, form->Button5,
            form->Button6, form->Button7, form->Button8};
  }
};

TEST_F(LineButtons, StartYangAndTurnYinOnAClick) {
  for (TButton* line : Lines()) {
    EXPECT_GBK_EQ(line->Caption(), YangLineCaption);
    UserClick(line);
    EXPECT_GBK_EQ(line->Caption(), YinLineCaption);
  }
}

TEST_F(LineButtons, ClickedTwiceRestoreTheirCaption) {
  for (const std::string& start : {YangLineCaption, YinLineCaption}) {
    for (int i = 0; i < 6; ++i) {
      TButton* line = Lines()[i];
      form->SetLineCaption(i, start);
      UserClick(line);
      UserClick(line);
      EXPECT_GBK_EQ(line->Caption(), start) << line->Name();
    }
  }
}

TEST_F(LineButtons, ForeignCaptionBecomesYin) {
  for (const std::string& foreign :
       {std::string("X"), std::string(""), std::string("▅▅▅▅"), std::string("▅▅ ▅▅")}) {
    for (int i = 0; i < 6; ++i) {
      TButton* line = Lines()[i];
      form->SetLineCaption(i, foreign);
      EXPECT_GBK_EQ(line->Caption(), foreign) << line->Name();
      UserClick(line);
      EXPECT_GBK_EQ(line->Caption(), YinLineCaption) << line->Name();
    }
  }
}

TEST_F(LineButtons, EachClickTogglesOnlyItsOwnLine) {
  const auto lines = Lines();
  for (size_t i = 0; i < lines.size(); ++i) {
    for (int j = 0; j < 6; ++j) form->SetLineCaption(j, YangLineCaption);
    UserClick(lines[i]);
    for (size_t j = 0; j < lines.size(); ++j)
      EXPECT_GBK_EQ(lines[j]->Caption(), i == j ? YinLineCaption : YangLineCaption)
          << "clicked " << lines[i]->Name() << ", looked at " << lines[j]->Name();
  }
}

TEST_F(LineButtons, MovingLineBoxesAreLeftAlone) {
  form->CheckBox3->SetChecked(true);
  UserClick(form->Button5);
  UserClick(form->Button3);
  EXPECT_TRUE(form->CheckBox3->Checked());
  EXPECT_FALSE(form->CheckBox1->Checked());
}

}  // namespace
