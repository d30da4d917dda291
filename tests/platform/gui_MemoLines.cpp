// The memo's text as a list of lines: a final break ends the last line, it adds none.
#include "tests/support/GuiTest.h"

namespace {

// Where two long texts part, as a short failure message (a diff of whole books is too long).
std::string FirstDifference(const std::string& a, const std::string& b) {
  size_t at = 0;
  while (at < a.size() && at < b.size() && a[at] == b[at]) ++at;
  if (at == a.size() && at == b.size()) return "";
  const size_t from = at > 20 ? at - 20 : 0;
  return "at byte " + std::to_string(at) + ": \"" + U8(a.substr(from, 40)) + "\" against \"" +
         U8(b.substr(from, 40)) + "\"";
}

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

// A text of more lines than the toolkit is given paragraphs for, with every kind of line end,
// made ready as TMemoText and put in place: it reads back, selects, edits and undoes as the
// same text set as a string does, and a second one takes the first one's place.
TEST_F(MemoLinesTest, ALongTextMadeReadyOutOfSightReadsAndEditsLineForLine) {
  std::string text;
  const char* const ends[] = {"\r\n", "\r", "\n"};
  for (int i = 0; i < 70000; ++i) text += "第" + std::to_string(i) + "行" + ends[i % 3];
  text += "末行";
  memo->SetText(text);
  const std::string asString = memo->Text();
  ASSERT_EQ(memo->LineCount(), 70001);
  memo->Clear();

  form->SetBounds(0, 0, 400, 300);
  memo->SetBounds(0, 0, 380, 260);
  form->Show();
  TMemoText ready;
  ASSERT_TRUE(ready.Fill(text, TCancellation()));
  EXPECT_EQ(memo->Text(), "");  // nothing shows before it is put in place
  memo->SetText(ready);
  EXPECT_EQ(FirstDifference(memo->Text(), asString), "");
  EXPECT_EQ(memo->LineCount(), 70001);
  EXPECT_EQ(U8(memo->Line(40001)), U8("第40001行"));
  EXPECT_EQ(U8(memo->Line(70000)), U8("末行"));
  // A selection over several lines copies them with their breaks.
  const int line9 = static_cast<int>(asString.find("第9行"));
  memo->SetSelStart(line9);
  memo->SetSelLength(static_cast<int>(std::string("第9行\r\n第10行\r\n第11").size()));
  EXPECT_EQ(U8(memo->SelText()), U8("第9行\r\n第10行\r\n第11"));

  // Typed over a selection in the middle, and at the end after Ctrl+End, as the user types.
  const int line50000 = static_cast<int>(asString.find("第50000行"));
  memo->SetSelStart(line50000);
  memo->SetSelLength(2);
  UserType(memo, "甲第");
  UserKey(memo, VK_END, ssCtrl);
  UserType(memo, "乙");
  std::string edited = asString;
  edited.insert(static_cast<size_t>(line50000), "甲");
  EXPECT_EQ(FirstDifference(memo->Text(), edited + "乙"), "");
  // Undo takes back the typing, never the text put in place.
  for (int i = 0; i < 4; ++i) UserKey(memo, 'Z', ssCtrl);
  EXPECT_EQ(FirstDifference(memo->Text(), asString), "");

  TMemoText next;
  ASSERT_TRUE(next.Fill("乾为天\r\n坤为地", TCancellation()));
  memo->SetText(next);
  EXPECT_EQ(memo->Text(), "乾为天\r\n坤为地");
  UserType(memo, "!");
  EXPECT_EQ(memo->Text(), "乾为天\r\n坤为地!");

  // Called off, a text stays incomplete and the memo keeps its own.
  TCancellation cancel;
  cancel.Cancel();
  TMemoText dropped;
  EXPECT_FALSE(dropped.Fill(text, cancel));
  EXPECT_EQ(memo->Text(), "乾为天\r\n坤为地!");
}

}  // namespace
