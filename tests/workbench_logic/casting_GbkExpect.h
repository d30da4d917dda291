// Comparison of GBK texts that prints both sides as UTF-8 when they differ.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/GbkText.h"

inline testing::AssertionResult GbkEqual(const char* actualExpr, const char* expectedExpr,
                                         const std::string& actual, const std::string& expected) {
  if (actual == expected) return testing::AssertionSuccess();
  return testing::AssertionFailure()
         << actualExpr << " is \"" << GbkToUtf8(actual) << "\"\n  expected (" << expectedExpr
         << ") \"" << GbkToUtf8(expected) << "\"";
}

#define EXPECT_GBK_EQ(actual, expected) EXPECT_PRED_FORMAT2(GbkEqual, actual, expected)
