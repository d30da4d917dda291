// The place list and the shift to a place's local mean time, in whole minutes.
#include <gtest/gtest.h>

#include <string>

#include "platform/Exceptions.h"
#include "tests/workbench_logic/GbkExpect.h"
#include "workbench/logic/LocalMeanTime.h"

namespace {

ClockMoment At(int y, int mo, int d, int h, int mi) { return {y, mo, d, h, mi}; }

std::string Show(const ClockMoment& m) {
  return std::to_string(m.Year) + "-" + std::to_string(m.Month) + "-" + std::to_string(m.Day) +
         " " + std::to_string(m.Hour) + ":" + std::to_string(m.Minute);
}

}  // namespace

TEST(LongitudePlaces, GroupsInTheirOrder) {
  EXPECT_GBK_EQ(LongitudePlaces[0], "德国柏林赫塔足球队(013e21)");
  EXPECT_GBK_EQ(LongitudePlaces[128], "英国谢菲尔德联足球队(001w30)");
  // Each group opens with a blank item and a heading.
  const int headings[] = {129, 173, 208, 254, 262};
  const char* names[] = {"一：亚洲", "二：欧洲", "三：美洲", "四：大洋洲", "五：非洲"};
  for (int i = 0; i < 5; ++i) {
    EXPECT_GBK_EQ(LongitudePlaces[headings[i]], "") << i;
    EXPECT_GBK_EQ(LongitudePlaces[headings[i] + 1], names[i]) << i;
  }
  EXPECT_GBK_EQ(LongitudePlaces[131], "阿富汗喀布尔(069e12)");
  EXPECT_GBK_EQ(LongitudePlaces[154], "韩国首儿(126e58)");
  EXPECT_GBK_EQ(LongitudePlaces[313], "津巴布韦索尔兹伯里(031e03)");
  // Every other item ends in a code of three digits, e or w, two digits.
  int coded = 0;
  for (const char* item : LongitudePlaces) {
    const std::string s = item;
    if (s.empty() || s.find("：") != std::string::npos) continue;
    ++coded;
    const std::string code = s.substr(s.size() - 8);
    EXPECT_TRUE(code[0] == '(' && code[7] == ')' && (code[4] == 'e' || code[4] == 'w'))
        << Readable(s);
    EXPECT_NO_THROW(LocalMeanTimeShift(s)) << Readable(s);
  }
  EXPECT_EQ(coded, 304);
}

TEST(LocalMeanTime, ShiftsByTheLongitudeInWholeMinutes) {
  // 215 arc minutes west of the meridian: 14 minutes earlier, exactly.
  EXPECT_EQ(Show(LocalMeanTime(At(2024, 5, 1, 12, 0), "中国北京(116e25)")), "2024-5-1 11:46");
  // 1186 arc minutes east: 1 hour 19 minutes later.
  EXPECT_EQ(Show(LocalMeanTime(At(2024, 5, 1, 12, 0), "日本东京(139e46)")), "2024-5-1 13:19");
  // 7210 arc minutes west: 8 hours earlier, into the previous day, month and year.
  EXPECT_EQ(Show(LocalMeanTime(At(2024, 5, 1, 0, 10), "英国伦敦(000w10)")), "2024-4-30 16:10");
  EXPECT_EQ(Show(LocalMeanTime(At(2025, 1, 1, 0, 10), "英国伦敦(000w10)")), "2024-12-31 16:10");
  // East of the meridian, past midnight into a leap day.
  EXPECT_EQ(Show(LocalMeanTime(At(2024, 2, 28, 23, 30), "斐济苏瓦(178e25)")), "2024-2-29 3:23");
  // On the meridian nothing moves; a few arc minutes past it drop below a minute of time.
  EXPECT_EQ(Show(LocalMeanTime(At(2024, 5, 1, 12, 0), "某地(120e00)")), "2024-5-1 12:0");
  EXPECT_EQ(LocalMeanTimeShift("某地(120e14)"), 0);
  EXPECT_EQ(LocalMeanTimeShift("某地(120e15)"), 1);
  EXPECT_EQ(LocalMeanTimeShift("某地(119e45)"), -1);
  // Every minute of a day shifts by the same amount: no floating-point day loses a minute.
  for (int minute = 0; minute < 1440; ++minute) {
    const ClockMoment m =
        LocalMeanTime(At(2012, 2, 4, minute / 60, minute % 60), "中国北京(116e25)");
    const int got = m.Hour * 60 + m.Minute + (m.Day == 3 ? -1440 : 0);
    ASSERT_EQ(got, minute - 14) << minute;
  }
}

TEST(LocalMeanTime, TextsWithoutACodeLeaveTheTimeAndBadDigitsRaise) {
  const ClockMoment noon = At(2024, 5, 1, 12, 0);
  for (const char* place : {"", "(e)", "二：欧洲", "abcdef", "中国北京", "中国北京(116x25)"})
    EXPECT_EQ(LocalMeanTime(noon, place), noon) << Readable(place);
  EXPECT_THROW(LocalMeanTime(noon, "某地(1a6e25)"), EConvertError);
  EXPECT_THROW(LocalMeanTime(noon, "某地(116eXY)"), EConvertError);
  // Full-width digits are not digits.
  EXPECT_THROW(LocalMeanTimeShift("某地１１６e25)"), EConvertError);
  // An impossible date or time raises before the place is read.
  EXPECT_THROW(LocalMeanTime(At(2023, 2, 29, 12, 0), "中国北京(116e25)"), EConvertError);
  EXPECT_THROW(LocalMeanTime(At(2023, 2, 28, 24, 0), "(e)"), EConvertError);
  EXPECT_THROW(LocalMeanTime(At(2023, 2, 28, 12, 60), "(e)"), EConvertError);
}

// Degrees and minutes are cut from the place text by bytes, and a typed place may put a
// double-byte character across a cut; the message quotes whole characters of the text.
TEST(LocalMeanTime, AnErrorQuotesWholeCharactersOfThePlace) {
  auto message = [](const std::string& place) {
    try {
      LocalMeanTime(At(2024, 5, 6, 12, 0), place);
    } catch (const EConvertError& e) {
      return e.Message();
    }
    return std::string("no error");
  };
  // "乪" is 81 65: its trail byte is the 'e' of the code, its lead byte ends the degrees.
  EXPECT_GBK_EQ(message("地12乪34)"), "「12乪」不是有效的整数");
  // The degrees begin on the trail byte of the first "中".
  EXPECT_GBK_EQ(message("中中e25)"), "「中中」不是有效的整数");
  EXPECT_GBK_EQ(message("某地(１２e25)"), "「１２」中的「１」是全角数字，请输入半角数字");
  // The minutes end on the lead byte of "乪": quoted whole too.
  EXPECT_GBK_EQ(message("某地(116e5乪"), "「5乪」不是有效的整数");
}

// A character outside GBK is typed in four bytes, the second and fourth digits: "😀" is
// 94 39 FC 36. Its last byte is no degree digit, and the place is refused as "某地(12e25)" is.
TEST(LocalMeanTime, DigitsInsideAFourByteCharacterAreNoLongitude) {
  auto message = [](const std::string& place) {
    try {
      return std::to_string(LocalMeanTimeShift(place));
    } catch (const EConvertError& e) {
      return e.Message();
    }
  };
  EXPECT_GBK_EQ(message("某地(12e25)"), "「(12」不是有效的整数");
  EXPECT_GBK_EQ(message("某😀12e25)"), "「😀12」不是有效的整数");
  // Degrees that begin inside it are quoted from its start; beside it the code still reads.
  EXPECT_GBK_EQ(message("某😀2e25)"), "「😀2」不是有效的整数");
  EXPECT_GBK_EQ(message("😀(139e46)"), "79");
  EXPECT_GBK_EQ(message("𠀀(116e25)"), "-14");
}
