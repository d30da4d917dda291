// A fresh workbench window per test, built as the application builds it, and a comparison of
// GBK texts that prints both sides readably (UTF-8, line breaks escaped) when they differ.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/GbkText.h"
#include "platform/gui/Forms.h"
#include "tests/support/GuiTest.h"
#include "workbench/main.h"

inline std::string Readable(const std::string& gbk) {
  std::string out;
  for (char c : GbkToUtf8(gbk)) {
    if (c == '\r')
      out += "\\r";
    else if (c == '\n')
      out += "\\n";
    else
      out += c;
  }
  return out;
}

inline testing::AssertionResult GbkEqual(const char* actualExpr, const char* expectedExpr,
                                         const std::string& actual, const std::string& expected) {
  if (actual == expected) return testing::AssertionSuccess();
  return testing::AssertionFailure()
         << actualExpr << " is \"" << Readable(actual) << "\"\n  expected (" << expectedExpr
         << ") \"" << Readable(expected) << "\"";
}

#define EXPECT_GBK_EQ(actual, expected) EXPECT_PRED_FORMAT2(GbkEqual, actual, expected)

class MainWindowTest : public GuiTest {
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
};
