// Driving the workbench window as a user casts a chart: pick the moment in the date boxes,
// click the line buttons and moving-line boxes, click a cast button.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/GbkText.h"
#include "platform/gui/Forms.h"
#include "tests/support/GuiTest.h"
#include "workbench/main.h"

// A GBK text as UTF-8 with its line breaks spelled out, for failure messages.
inline std::string ShownText(const std::string& gbk) {
  std::string out;
  for (char c : GbkToUtf8(gbk)) out += c == '\r' ? "\\r" : c == '\n' ? "\\n" : std::string(1, c);
  return out;
}

inline testing::AssertionResult SameText(const char* actualExpr, const char* expectedExpr,
                                         const std::string& actual, const std::string& expected) {
  if (actual == expected) return testing::AssertionSuccess();
  return testing::AssertionFailure()
         << actualExpr << " is \"" << ShownText(actual) << "\"\n  expected (" << expectedExpr
         << ") \"" << ShownText(expected) << "\"";
}

#define EXPECT_SAME_TEXT(actual, expected) EXPECT_PRED_FORMAT2(SameText, actual, expected)

// A fresh workbench window per test, shown as the application shows it.
class CastWindowTest : public GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    form.reset(NewForm<TForm2>(Application));
    form->Show();
    ProcessEvents();
  }
  void TearDown() override {
    form.reset();
    GuiTest::TearDown();
  }

  std::unique_ptr<TForm2> form;

  // Picks year, month, day, hour and minute from the lists, the day first so that every moment
  // on the way is a real date.
  void PickMoment(int year, int month, int day, int hour, int minute) {
    UserPick(form->ComboBox3, 0);
    UserPick(form->ComboBox1, year - 1900);
    UserPick(form->ComboBox2, month - 1);
    UserPick(form->ComboBox3, day - 1);
    UserPick(form->ComboBox4, hour);
    UserPick(form->ComboBox5, minute);
  }

  // Sets the lines from a code ('1' yang, '0' yin, top line first) by clicking the buttons of
  // the lines that differ, and checks the moving boxes of the lines marked '1' in `moving`.
  void SetLines(const std::string& code, const std::string& moving = "000000") {
    TButton* const buttons[6] = {form->Button3, form->Button4, form->Button5,
                                 form->Button6, form->Button7, form->Button8};
    TCheckBox* const boxes[6] = {form->CheckBox1, form->CheckBox2, form->CheckBox3,
                                 form->CheckBox4, form->CheckBox5, form->CheckBox6};
    for (int i = 0; i < 6; ++i) {
      const bool yin = buttons[i]->Caption() == "▅▅　▅▅";
      if (yin != (code[i] == '0')) UserClick(buttons[i]);
      if (boxes[i]->Checked() != (moving[i] == '1')) UserClick(boxes[i]);
    }
  }

  std::vector<std::string> ChartLines() {
    std::vector<std::string> lines;
    for (int i = 0; i < form->RichEdit1->LineCount(); ++i)
      lines.push_back(form->RichEdit1->Line(i));
    return lines;
  }

  // The chart box holds exactly these lines, each ended by CR LF (the last one too, so the
  // copied and saved reading keeps the break after the chart).
  void ExpectChart(const std::vector<std::string>& expected) {
    const std::vector<std::string> lines = ChartLines();
    ASSERT_EQ(lines.size(), expected.size()) << ShownText(form->RichEdit1->GetText());
    for (size_t i = 0; i < lines.size(); ++i)
      EXPECT_SAME_TEXT(lines[i], expected[i]) << "line " << i;
    std::string text;
    for (const std::string& line : expected) text += line + "\r\n";
    EXPECT_SAME_TEXT(form->RichEdit1->GetText(), text);
  }

  // The recommendation heads the result line; the trigram judgement may add its ratios after it.
  void ExpectRecommendation(const std::string& expected) {
    EXPECT_SAME_TEXT(form->RecommendationText, expected);
    EXPECT_SAME_TEXT(form->Edit2->GetText().substr(0, expected.size()), expected);
  }

  // What the copy puts on the clipboard after a cast: the frame around subject, chart and
  // recommendation.
  std::string Reading() {
    return "　\r\n占卜:" + form->ComboBox7->GetText() + form->Edit1->GetText() + "\r\n" +
           form->RichEdit1->GetText() + "\r\n　\r\n" + form->Edit2->GetText();
  }
};
