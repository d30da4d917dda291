// Running the casting commands as a user does: answer the input box, click the command in the
// panel, then read the lines, boxes, subject and result the command left.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/GbkText.h"
#include "platform/gui/Forms.h"
#include "tests/support/GuiTest.h"
#include "workbench/main.h"

// A GBK text as UTF-8 with its line breaks spelled out, for failure messages.
inline std::string Readable8(const std::string& gbk) {
  std::string out;
  for (char c : GbkToUtf8(gbk)) out += c == '\r' ? "\\r" : c == '\n' ? "\\n" : std::string(1, c);
  return out;
}

inline testing::AssertionResult CastingTextEqual(const char* actualExpr, const char* expectedExpr,
                                                 const std::string& actual,
                                                 const std::string& expected) {
  if (actual == expected) return testing::AssertionSuccess();
  return testing::AssertionFailure()
         << actualExpr << " is \"" << Readable8(actual) << "\"\n  expected (" << expectedExpr
         << ") \"" << Readable8(expected) << "\"";
}

#define EXPECT_TEXT_EQ(actual, expected) EXPECT_PRED_FORMAT2(CastingTextEqual, actual, expected)

// A fresh workbench window per test, shown as the application shows it.
class CastingTest : public GuiTest {
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

  // Picks year, month, day, hour and minute from the lists as a user does (each pick runs the
  // calendar labels); the day first, so that every moment on the way is a real date.
  void PickMoment(int year, int month, int day, int hour, int minute) {
    UserPick(form->ComboBox3, 0);
    UserPick(form->ComboBox1, year - 1900);
    UserPick(form->ComboBox2, month - 1);
    UserPick(form->ComboBox3, day - 1);
    UserPick(form->ComboBox4, hour);
    UserPick(form->ComboBox5, minute);
  }

  // Clicks the line buttons and moving boxes that differ from the codes ('1' yang or moving,
  // top line first).
  void SetLines(const std::string& code, const std::string& moving = "000000") {
    TButton* const buttons[6] = {form->Button3, form->Button4, form->Button5,
                                 form->Button6, form->Button7, form->Button8};
    TCheckBox* const boxes[6] = {form->CheckBox1, form->CheckBox2, form->CheckBox3,
                                 form->CheckBox4, form->CheckBox5, form->CheckBox6};
    for (int i = 0; i < 6; ++i) {
      if ((buttons[i]->Caption() == "▅▅　▅▅") != (code[i] == '0')) UserClick(buttons[i]);
      if (boxes[i]->Checked() != (moving[i] == '1')) UserClick(boxes[i]);
    }
  }

  // The moment most tests cast at: 4 February 2012 16:54, pillars 壬辰 壬寅 乙未 甲申 (year
  // branch 辰 = 5, hour branch 申 = 9), lunar 2012-1-13; y + M + D + h = 28.
  // Use as ASSERT_NO_FATAL_FAILURE(PickStandardMoment()).
  void PickStandardMoment() {
    PickMoment(2012, 2, 4, 16, 54);
    ASSERT_EQ(form->Label7->Caption(), std::string("壬辰　壬寅　乙未　甲申"))
        << Readable8(form->Label7->Caption());
  }

  // Runs a command from the panel as a click does (an error it raises shows in a message box).
  void Run(const std::string& caption) {
    ASSERT_TRUE(UserClickPanelButton(form->CategoryButtons1, caption)) << Readable8(caption);
  }
  void RunWithInput(const std::string& caption, const std::string& input) {
    dialogs().AnswerInput(input);
    Run(caption);
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

  // The recommendation a plain cast of the lines now set writes (the chart's own words).
  std::string CastRecommendation() {
    UserClick(form->Button1);
    return form->RecommendationText;
  }
};

// The match words made from a chart's own recommendation "推荐:大单,世(世应力量:...)": the same
// size and parity, in goals or points, and the same strengths as the two sides' forces.
// "推荐:" is 5 bytes, then size and parity (2 each), ",", the side (2), "(世应力量:" and the rest.
inline std::string FootballWords(const std::string& castText) {
  const std::string size = castText.substr(5, 2), parity = castText.substr(7, 2);
  const std::string side = castText.substr(10, 2);
  const std::string rest = castText.substr(castText.find("世应力量:") + 9);
  return "推荐:" + size + "球" + parity + "数," + side + "(主客力量:" + rest;
}
// The same in points, naming the stronger side instead of 世 or 应, without goal times.
inline std::string PointsWords(const std::string& castText, const std::string& name1,
                               const std::string& name2) {
  const std::string size = castText.substr(5, 2), parity = castText.substr(7, 2);
  const std::string side = castText.substr(10, 2) == "世" ? name1 : name2;
  const size_t from = castText.find("世应力量:") + 9;
  const std::string strengths = castText.substr(from, castText.find(",足球进球时间:") - from);
  return "推荐:" + size + "分" + parity + "数," + side + "(主客力量:" + strengths + ")";
}
