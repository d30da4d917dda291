#include <gtest/gtest.h>
#include <time.h>

#include <cmath>

#include "platform/Clock.h"
#include "platform/DateTime.h"
#include "platform/Exceptions.h"
#include "platform/GbkText.h"

namespace {

std::string U(const std::string& gbk) { return GbkToUtf8(gbk); }

struct Parts {
  int y, m, d, h, n, s, z;
  bool operator==(const Parts&) const = default;
};

Parts Decode(TDateTime value) {
  Parts p{};
  DecodeDateTime(value, p.y, p.m, p.d, p.h, p.n, p.s, p.z);
  return p;
}

void PrintTo(const Parts& p, std::ostream* os) {
  *os << p.y << "-" << p.m << "-" << p.d << " " << p.h << ":" << p.n << ":" << p.s << "." << p.z;
}

TEST(DateTime, EncodeDateCountsFromTheEpoch) {
  EXPECT_EQ(EncodeDate(1899, 12, 30), 0.0);
  EXPECT_EQ(EncodeDate(1900, 1, 1), 2.0);
  EXPECT_EQ(EncodeDate(2000, 1, 1), 36526.0);
  EXPECT_EQ(EncodeDate(2024, 2, 29), 45351.0);
  EXPECT_EQ(EncodeDate(1, 1, 1), -693593.0);
  EXPECT_EQ(EncodeDate(9999, 12, 31), 2958465.0);
}

TEST(DateTime, EncodeRejectsImpossibleDatesAndTimes) {
  struct Bad {
    int y, m, d;
  };
  for (Bad b : {Bad{2023, 2, 29}, Bad{1900, 2, 29}, Bad{0, 1, 1}, Bad{10000, 1, 1},
                Bad{2024, 13, 1}, Bad{2024, 0, 1}, Bad{2024, 4, 31}, Bad{2024, 1, 0}}) {
    try {
      EncodeDate(b.y, b.m, b.d);
      ADD_FAILURE() << b.y << "-" << b.m << "-" << b.d << " was accepted";
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message(), "日期「" + std::to_string(b.y) + "-" + std::to_string(b.m) + "-" +
                                 std::to_string(b.d) + "」无效");
    }
  }
  EXPECT_NO_THROW(EncodeDate(2000, 2, 29));
  try {
    EncodeTime(24, 0, 0, 0);
    ADD_FAILURE() << "24:00 was accepted";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "时间「24:0:0.0」无效");
  }
  EXPECT_THROW(EncodeTime(0, 60, 0, 0), EConvertError);
  EXPECT_THROW(EncodeTime(0, 0, 0, 1000), EConvertError);
  EXPECT_THROW(EncodeDateTime(2023, 2, 29, 0, 0, 0, 0), EConvertError);
  TDateTime untouched = 7;
  EXPECT_FALSE(TryEncodeDate(2023, 2, 29, untouched));
  EXPECT_EQ(untouched, 7);
}

TEST(DateTime, EveryDayRoundTrips) {
  // Walks all days of years 1 to 9999: decoding gives a valid date that encodes back to the same
  // day, and consecutive days are consecutive dates.
  int py = 0, pm = 0, pd = 0;
  for (int serial = -693593; serial <= 2958465; ++serial) {
    int y, m, d;
    DecodeDate(serial, y, m, d);
    TDateTime back;
    ASSERT_TRUE(TryEncodeDate(y, m, d, back)) << serial;
    ASSERT_EQ(back, serial) << y << "-" << m << "-" << d;
    if (serial > -693593) {
      bool next = (y == py && m == pm && d == pd + 1) || (y == py && m == pm + 1 && d == 1) ||
                  (y == py + 1 && m == 1 && d == 1 && pm == 12);
      ASSERT_TRUE(next) << y << "-" << m << "-" << d << " after " << py << "-" << pm << "-" << pd;
    }
    py = y, pm = m, pd = d;
  }
}

TEST(DateTime, DecodeRoundsToTheMillisecondFirst) {
  const TDateTime day = EncodeDate(2024, 12, 31);
  EXPECT_EQ(Decode(day + EncodeTime(13, 45, 30, 250)), (Parts{2024, 12, 31, 13, 45, 30, 250}));
  // 0.4 ms before midnight is the next day at 0:00, in date and time alike.
  TDateTime almost = day + (MSecsPerDay - 0.4) / MSecsPerDay;
  EXPECT_EQ(Decode(almost), (Parts{2025, 1, 1, 0, 0, 0, 0}));
  EXPECT_EQ(DateOf(almost), day + 1);
  EXPECT_EQ(TimeOf(almost), 0.0);
  EXPECT_EQ(DayOfWeek(almost), DayOfWeek(day + 1));
  TDateTime justAfter = day + (MSecsPerDay - 0.6) / MSecsPerDay;
  EXPECT_EQ(Decode(justAfter), (Parts{2024, 12, 31, 23, 59, 59, 999}));
  // Half milliseconds go to the even one.
  EXPECT_EQ(Decode(1.5 / MSecsPerDay).z, 2);
  EXPECT_EQ(Decode(2.5 / MSecsPerDay).z, 2);
  EXPECT_EQ(Decode(0.5 / MSecsPerDay).z, 0);
}

TEST(DateTime, ValuesBeforeTheEpoch) {
  // The day is the whole part toward zero, the time the absolute fraction.
  EXPECT_EQ(Decode(-1.25), (Parts{1899, 12, 29, 6, 0, 0, 0}));
  EXPECT_EQ(EncodeDateTime(1899, 12, 29, 6, 0, 0, 0), -1.25);
  EXPECT_EQ(Decode(-0.5), (Parts{1899, 12, 30, 12, 0, 0, 0}));
  EXPECT_EQ(DateOf(-1.25), -1.0);
  EXPECT_EQ(TimeOf(-1.25), 0.25);
  EXPECT_EQ(Decode(EncodeDateTime(1, 1, 1, 23, 59, 59, 999)), (Parts{1, 1, 1, 23, 59, 59, 999}));
}

TEST(DateTime, OutOfRangeValuesDecodeAsZero) {
  EXPECT_EQ(Decode(3e6), (Parts{0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(Decode(-1e7), (Parts{0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(Decode(std::nan("")), (Parts{0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(DayOfWeek(1e300), 0);
}

TEST(DateTime, DayOfWeekStartsOnSunday) {
  EXPECT_EQ(DayOfWeek(EncodeDate(1899, 12, 30)), 7);  // Saturday
  EXPECT_EQ(DayOfWeek(EncodeDate(1900, 1, 1)), 2);    // Monday
  EXPECT_EQ(DayOfWeek(EncodeDate(2024, 1, 7)), 1);    // Sunday
  EXPECT_EQ(DayOfWeek(EncodeDate(2024, 1, 7) + 0.99), 1);
  EXPECT_EQ(DayOfWeek(EncodeDate(1899, 12, 24)), 1);  // Sunday, before the epoch
  EXPECT_EQ(DayOfWeek(EncodeDate(1, 1, 1)), 2);       // Monday
}

TEST(DateTime, FormatDateTimeSpecifiers) {
  const TDateTime t = EncodeDateTime(2024, 1, 5, 13, 5, 9, 42);  // a Friday
  EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:nn:ss.zzz", t), "2024-01-05 13:05:09.042");
  EXPECT_EQ(FormatDateTime("yy/m/d h:n:s z", t), "24-1-5 13:5:9 42");
  EXPECT_EQ(FormatDateTime("YYYY/MM/DD HH:NN", t), "2024-01-05 13:05");
  EXPECT_EQ(FormatDateTime("hh:mm", t), "13:05");  // m after h is the minute
  EXPECT_EQ(FormatDateTime("mm", t), "01");
  EXPECT_EQ(FormatDateTime("h:nn am/pm", t), "1:05 pm");
  EXPECT_EQ(FormatDateTime("hh AM/PM", EncodeDateTime(2024, 1, 5, 0, 30, 0, 0)), "12 AM");
  EXPECT_EQ(FormatDateTime("\"yyyy\" 'dd' yyyy", t), "yyyy dd 2024");
  EXPECT_EQ(U(FormatDateTime("dddd", t)), U("星期五"));
  EXPECT_EQ(U(FormatDateTime("ddd", EncodeDate(2024, 1, 7))), U("星期日"));
  EXPECT_EQ(U(FormatDateTime("dddd", EncodeDate(2024, 1, 6))), U("星期六"));
  EXPECT_EQ(U(FormatDateTime("yyyy年m月d日", t)), U("2024年1月5日"));
  // "恉" ends in the byte 'd' and "乵" in 'm': they stay text.
  EXPECT_EQ(U(FormatDateTime("恉乵d", t)), U("恉乵5"));
  EXPECT_EQ(FormatDateTime("yyyy", EncodeDate(33, 3, 3)), "0033");
}

TEST(DateTime, StandardTexts) {
  const TDateTime day = EncodeDate(2024, 3, 9);
  EXPECT_EQ(DateToStr(day), "2024-3-9");
  EXPECT_EQ(TimeToStr(day + EncodeTime(7, 5, 3, 0)), "7:05:03");
  EXPECT_EQ(DateTimeToStr(day + EncodeTime(7, 5, 3, 0)), "2024-3-9 7:05:03");
  EXPECT_EQ(DateTimeToStr(day), "2024-3-9");
}

TEST(Clock, ReplaceableClockDrivesNowDateAndTime) {
  const TDateTime fixed = EncodeDateTime(2024, 2, 10, 23, 30, 15, 500);
  {
    ScopedTestClock clock(fixed);
    EXPECT_EQ(Now(), fixed);
    EXPECT_EQ(Date(), EncodeDate(2024, 2, 10));
    EXPECT_EQ(Decode(Time()), (Parts{1899, 12, 30, 23, 30, 15, 500}));
  }
  // Back on the real clock: today's local date.
  time_t seconds = time(nullptr);
  tm local{};
  localtime_r(&seconds, &local);
  TDateTime today = EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
  TDateTime now = Now();
  EXPECT_GE(now, today);
  EXPECT_LT(now, today + 1.01);  // a run across midnight stays inside
}

TEST(Clock, TickCountDoesNotGoBack) {
  uint32_t first = GetTickCount();
  uint32_t second = GetTickCount();
  EXPECT_LE(second - first, 1000u);
}

}  // namespace
