// Comparison of GBK texts that shows both sides as UTF-8 when they differ.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "platform/GbkText.h"

inline testing::AssertionResult SameGbkText(const char* actualExpr, const char* expectedExpr,
                                            std::string_view actual, std::string_view expected) {
  if (actual == expected) return testing::AssertionSuccess();
  return testing::AssertionFailure()
         << actualExpr << " is \"" << GbkToUtf8(std::string(actual)) << "\"\n  expected ("
         << expectedExpr << ") \"" << GbkToUtf8(std::string(expected)) << "\"";
}

#define EXPECT_TEXT(actual, expected) EXPECT_PRED_FORMAT2(SameGbkText, actual, expected)

inline std::string Utf8(std::string_view gbk) { return GbkToUtf8(std::string(gbk)); }
