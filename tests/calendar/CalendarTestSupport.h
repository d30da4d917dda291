// Small helpers shared by the calendar tests: dates by their parts and readable failure texts.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "calendar/engine/LunarEngine.h"
#include "platform/DateTime.h"
#include "platform/GbkText.h"

inline TDateTime Day(int year, int month, int day) { return EncodeDate(year, month, day); }

inline TDateTime At(int year, int month, int day, int hour, int minute, int second = 0,
                    int ms = 0) {
  return EncodeDateTime(year, month, day, hour, minute, second, ms);
}

inline TLunarDate Lunar(int year, int month, int day, bool leap = false) {
  TLunarDate date;
  date.Year = year;
  date.Month = month;
  date.Day = day;
  date.IsLeap = leap;
  return date;
}

inline std::string Show(const TLunarDate& date) {
  return std::to_string(date.Year) + "-" + std::to_string(date.Month) + "-" +
         std::to_string(date.Day) + (date.IsLeap ? " leap" : "");
}

inline std::string ShowDay(TDateTime date) {
  int y = 0, m = 0, d = 0, h = 0, n = 0, s = 0, z = 0;
  DecodeDateTime(date, y, m, d, h, n, s, z);
  char text[40];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d.%03d", y, m, d, h, n, s, z);
  return text;
}

// Compares GBK texts and prints both as UTF-8 when they differ.
inline ::testing::AssertionResult SameGbk(const std::string& actual, const std::string& expected) {
  if (actual == expected) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << "got \"" << GbkToUtf8(actual) << "\", expected \"" << GbkToUtf8(expected) << "\"";
}
