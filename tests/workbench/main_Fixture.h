// A fresh workbench window per test, built and shown as the application does it, and the moves
// of a user casting a chart on it: pick the moment in the date boxes, click the line buttons
// and moving-line boxes, run a command from the panel, then read the chart, lines and result.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/gui/Forms.h"
#include "tests/support/GuiTest.h"
#include "tests/workbench_logic/GbkExpect.h"
#include "workbench/main.h"

// Picks year, month, day, hour and minute from the main window's lists as a user does (each pick
// runs the calendar labels); the day first, so that every moment on the way is a real date.
inline void PickMomentIn(TForm2& form, int year, int month, int day, int hour, int minute) {
  UserPick(form.ComboBox3, 0);
  UserPick(form.ComboBox1, year - 1900);
  UserPick(form.ComboBox2, month - 1);
  UserPick(form.ComboBox3, day - 1);
  UserPick(form.ComboBox4, hour);
  UserPick(form.ComboBox5, minute);
}

class MainWindowTest : public GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    form.reset(NewForm<TForm2>(Application, engine));
    form->Show();
    ProcessEvents();
  }
  void TearDown() override {
    form.reset();
    GuiTest::TearDown();
  }

  const TLunarEngine engine{};
  std::unique_ptr<TForm2> form;

  void PickMoment(int year, int month, int day, int hour, int minute) {
    PickMomentIn(*form, year, month, day, hour, minute);
  }

  // The moment most casting tests cast at: 4 February 2012 16:54, pillars 壬辰 壬寅 乙未 甲申
  // (year branch 辰 = 5, hour branch 申 = 9), lunar 2012-1-13; y + M + D + h = 28.
  // Use as ASSERT_NO_FATAL_FAILURE(PickStandardMoment()).
  void PickStandardMoment() {
    PickMoment(2012, 2, 4, 16, 54);
    ASSERT_EQ(form->Label7->Caption(), std::string("壬辰　壬寅　乙未　甲申"))
        << Readable(form->Label7->Caption());
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

  // '1' yang, '0' yin, top line first.
  std::string LineCode() {
    std::string code;
    for (TButton* b :
         {form->Button3, form->Button4, form->Button5, form->Button6, form->Button7, form->Button8})
      code += b->Caption() == "▅▅　▅▅" ? '0' : '1';
    return code;
  }
  // '1' for a checked box, CheckBox1 (top line) first.
  std::string MovingCode() {
    std::string code;
    for (TCheckBox* c : {form->CheckBox1, form->CheckBox2, form->CheckBox3, form->CheckBox4,
                         form->CheckBox5, form->CheckBox6})
      code += c->Checked() ? '1' : '0';
    return code;
  }

  // Runs a command from the panel as a click does (an error it raises shows in a message box).
  void Run(const std::string& caption) {
    ASSERT_TRUE(UserClickPanelButton(form->CategoryButtons1, caption)) << Readable(caption);
  }
  void RunWithInput(const std::string& caption, const std::string& input) {
    dialogs().AnswerInput(input);
    Run(caption);
  }

  // The recommendation a plain cast of the lines now set writes (the chart's own words).
  std::string CastRecommendation() {
    UserClick(form->Button1);
    return form->Model().Cast.RecommendationText;
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
    ASSERT_EQ(lines.size(), expected.size()) << Readable(form->RichEdit1->GetText());
    for (size_t i = 0; i < lines.size(); ++i) EXPECT_GBK_EQ(lines[i], expected[i]) << "line " << i;
    std::string text;
    for (const std::string& line : expected) text += line + "\r\n";
    EXPECT_GBK_EQ(form->RichEdit1->GetText(), text);
  }

  // The recommendation heads the result line; the trigram judgement may add its ratios after it.
  void ExpectRecommendation(const std::string& expected) {
    EXPECT_GBK_EQ(form->Model().Cast.RecommendationText, expected);
    EXPECT_GBK_EQ(form->Edit2->GetText().substr(0, expected.size()), expected);
  }

  // What the copy puts on the clipboard after a cast: the frame around subject, chart and
  // recommendation.
  std::string Reading() {
    return "　\r\n占卜:" + form->ComboBox7->GetText() + form->Edit1->GetText() + "\r\n" +
           form->RichEdit1->GetText() + "\r\n　\r\n" + form->Edit2->GetText();
  }
};
