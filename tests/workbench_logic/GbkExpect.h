// Comparison of GBK texts that shows both sides readably (UTF-8, line breaks spelled out) when
// they differ. The logic tests and the window tests of the workbench share it.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "platform/GbkText.h"

// A GBK text as UTF-8 with its line breaks spelled out, for failure messages.
inline std::string Readable(std::string_view gbk) {
  std::string out;
  for (char c : GbkToUtf8(std::string(gbk))) {
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
                                         std::string_view actual, std::string_view expected) {
  if (actual == expected) return testing::AssertionSuccess();
  return testing::AssertionFailure()
         << actualExpr << " is \"" << Readable(actual) << "\"\n  expected (" << expectedExpr
         << ") \"" << Readable(expected) << "\"";
}

#define EXPECT_GBK_EQ(actual, expected) EXPECT_PRED_FORMAT2(GbkEqual, actual, expected)
