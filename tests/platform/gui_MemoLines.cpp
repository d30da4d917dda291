// The memo's text as a list of lines: a final break ends the last line, it adds none.
#include "tests/support/GuiTest.h"

namespace {

class MemoLinesTest : public WindowTest<> {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    memo = new TRichEdit(form);
    memo->SetParent(form);
  }
  std::vector<std::string> ListedLines() const {
    const TStringList lines = memo->Lines();
    std::vector<std::string> out;
    for (int i = 0; i < lines.Count(); ++i) out.push_back(lines[i]);
    return out;
  }
  std::vector<std::string> ShownLines() const {
    std::vector<std::string> out;
    for (int i = 0; i < memo->LineCount(); ++i) out.push_back(memo->Line(i));
    return out;
  }
  // Adds the line and checks that it became exactly one more line, seen both ways.
  void AddAndExpect(const std::string& line, const std::string& text) {
    std::vector<std::string> expected = ListedLines();
    expected.push_back(line);
    memo->AddLine(line);
    EXPECT_EQ(memo->Text(), text) << "adding \"" << U8(line) << "\"";
    EXPECT_EQ(ListedLines(), expected) << "adding \"" << U8(line) << "\"";
    EXPECT_EQ(ShownLines(), expected) << "adding \"" << U8(line) << "\"";
  }
  TMemo* memo = nullptr;
};

TEST_F(MemoLinesTest, AddingAfterAFinalBreakLeavesNoBlankLineAndKeepsTheTextEndedSo) {
  memo->SetText("乾为天\r\n坤为地\r\n");
  EXPECT_EQ(memo->LineCount(), 2);
  AddAndExpect("水雷屯", "乾为天\r\n坤为地\r\n水雷屯\r\n");
  AddAndExpect("山水蒙", "乾为天\r\n坤为地\r\n水雷屯\r\n山水蒙\r\n");
  // A blank line the text holds on purpose stays one line.
  memo->SetText("a\r\n\r\n");
  AddAndExpect("b", "a\r\n\r\nb\r\n");
}

TEST_F(MemoLinesTest, AddingToATextWithoutAFinalBreakEndsTheLastLineFirst) {
  AddAndExpect("a", "a");
  AddAndExpect("b", "a\r\nb");
  // An empty line keeps its break, or it would be no line at all.
  AddAndExpect("", "a\r\nb\r\n\r\n");
  AddAndExpect("c", "a\r\nb\r\n\r\nc\r\n");
  memo->Clear();
  AddAndExpect("", "\r\n");
}

}  // namespace
