#include <gtest/gtest.h>
#include <locale.h>

#include <cmath>
#include <limits>

#include "platform/Exceptions.h"
#include "platform/Numbers.h"

namespace {

std::string ConvertErrorOf(void (*convert)(const std::string&), const std::string& text) {
  try {
    convert(text);
  } catch (const EConvertError& e) {
    return e.Message();
  }
  return "no error";
}

TEST(Numbers, StrToIntAcceptsDecimalAndHex) {
  EXPECT_EQ(StrToInt("42"), 42);
  EXPECT_EQ(StrToInt("  -7 "), -7);
  EXPECT_EQ(StrToInt("+3"), 3);
  EXPECT_EQ(StrToInt("$FF"), 255);
  EXPECT_EQ(StrToInt("0x1f"), 31);
  EXPECT_EQ(StrToInt("-$10"), -16);
  EXPECT_EQ(StrToInt("$FFFFFFFF"), -1);
  EXPECT_EQ(StrToInt("2147483647"), 2147483647);
  EXPECT_EQ(StrToInt("-2147483648"), std::numeric_limits<int>::min());
  EXPECT_EQ(StrToInt64("9223372036854775807"), std::numeric_limits<int64_t>::max());
  EXPECT_EQ(StrToInt64("-9223372036854775808"), std::numeric_limits<int64_t>::min());
  EXPECT_EQ(StrToInt64("4294967296"), 4294967296LL);
}

TEST(Numbers, StrToIntRejectsNamingTheText) {
  auto toInt = [](const std::string& t) { StrToInt(t); };
  EXPECT_EQ(ConvertErrorOf(toInt, "abc"), "「abc」不是有效的整数");
  EXPECT_EQ(ConvertErrorOf(toInt, ""), "「」不是有效的整数");
  EXPECT_EQ(ConvertErrorOf([](const std::string& t) { StrToInt64(t); }, "１２"),
            "「１２」中的「１」是全角数字，请输入半角数字");
  for (const char* bad :
       {"12a", "1 2", "-", "$", "0x", "2147483648", "-2147483649", "$100000000", "1.0", "１"}) {
    EXPECT_THROW(StrToInt(bad), EConvertError) << bad;
  }
  EXPECT_THROW(StrToInt64("9223372036854775808"), EConvertError);
  EXPECT_EQ(StrToIntDef("x", -1), -1);
  EXPECT_EQ(StrToIntDef("12", -1), 12);
  int value = 5;
  EXPECT_FALSE(TryStrToInt("", value));
  EXPECT_EQ(value, 5);
}

// What is wrong with a typed number is said in words a user can act on: a full-width character
// is named and half-width digits asked for, a number beyond its type is out of range, and a
// byte that is no whole character never reaches the message.
TEST(Numbers, ConversionErrorsSayWhatToType) {
  auto toInt = [](const std::string& t) { StrToInt(t); };
  auto toFloat = [](const std::string& t) { StrToFloat(t); };
  EXPECT_EQ(ConvertErrorOf(toInt, "２"), "「２」是全角数字，请输入半角数字");
  EXPECT_EQ(ConvertErrorOf(toInt, "２０２６"), "「２０２６」中的「２」是全角数字，请输入半角数字");
  EXPECT_EQ(ConvertErrorOf(toInt, "20２6"), "「20２6」中的「２」是全角数字，请输入半角数字");
  EXPECT_EQ(ConvertErrorOf(toInt, "－5"), "「－5」中的「－」是全角字符，请输入半角数字");
  EXPECT_EQ(ConvertErrorOf(toInt, "20　"), "「20　」中的「　」是全角字符，请输入半角数字");
  EXPECT_EQ(ConvertErrorOf(toFloat, "２.００"), "「２.００」中的「２」是全角数字，请输入半角数字");
  EXPECT_EQ(ConvertErrorOf(toFloat, "2．00"), "「2．00」中的「．」是全角字符，请输入半角数字");
  // Other double-byte characters are no numbers, as before.
  EXPECT_EQ(ConvertErrorOf(toInt, "二"), "「二」不是有效的整数");

  EXPECT_EQ(ConvertErrorOf(toInt, "9999999999"),
            "「9999999999」超出范围，整数须在-2147483648到2147483647之间");
  EXPECT_EQ(ConvertErrorOf(toInt, std::string(20, '9')),
            "「" + std::string(20, '9') + "」超出范围，整数须在-2147483648到2147483647之间");
  EXPECT_EQ(ConvertErrorOf([](const std::string& t) { StrToInt64(t); }, "9223372036854775808"),
            "「9223372036854775808」超出范围，"
            "整数须在-9223372036854775808到9223372036854775807之间");
  // Digits beyond the range followed by a letter are no number at all.
  EXPECT_EQ(ConvertErrorOf(toInt, "99999999999x"), "「99999999999x」不是有效的整数");
  EXPECT_EQ(ConvertErrorOf(toFloat, "1e999"), "「1e999」超出范围，数值的绝对值须小于1.8E308");

  // A lone lead byte would pair with the closing quote.
  EXPECT_EQ(ConvertErrorOf(toInt, "12\x81"), "「12?」不是有效的整数");
  EXPECT_EQ(ConvertErrorOf([](const std::string& t) { RaiseNotInteger(t); }, "\xD6"),
            "「?」不是有效的整数");
  // A caller that refuses a text StrToInt would take still says it is no valid integer.
  EXPECT_EQ(ConvertErrorOf([](const std::string& t) { RaiseNotInteger(t); }, " 12"),
            "「 12」不是有效的整数");

  int value = 7;
  EXPECT_EQ(CheckStrToInt("  ", value), TNumberText::Blank);
  EXPECT_EQ(CheckStrToInt("", value), TNumberText::Blank);
  EXPECT_EQ(CheckStrToInt("4294967296", value), TNumberText::OutOfRange);
  EXPECT_EQ(CheckStrToInt("1x", value), TNumberText::Invalid);
  EXPECT_EQ(value, 7);
  EXPECT_EQ(CheckStrToInt(" 12 ", value), TNumberText::Number);
  EXPECT_EQ(value, 12);
}

// A field cut at fixed byte positions may begin or end inside a double-byte character; the
// error quotes the whole characters of the text the field touches.
TEST(Numbers, FieldsCutFromATextQuoteWholeCharacters) {
  auto error = [](const std::string& text, size_t at, size_t count) {
    try {
      StrToIntOfBytes(text, at, count);
    } catch (const EConvertError& e) {
      return e.Message();
    }
    return std::string("no error");
  };
  EXPECT_EQ(StrToIntOfBytes("中国北京(116e25)", 9, 3), 116);
  EXPECT_EQ(StrToIntOfBytes("中国北京(116e25)", 13, 2), 25);
  // "乪" is 81 65: the field "12" + its lead byte.
  EXPECT_EQ(error("地12乪34)", 2, 3), "「12乪」不是有效的整数");
  // The field starts on the trail byte of the first "中" and ends on the lead byte of the second.
  EXPECT_EQ(error("中中e25)", 1, 3), "「中中」不是有效的整数");
  EXPECT_EQ(error("a２３b", 2, 2), "「２３」中的「２」是全角数字，请输入半角数字");
  EXPECT_EQ(error("x99999999999y", 1, 11),
            "「99999999999」超出范围，整数须在-2147483648到2147483647之间");
  EXPECT_EQ(error("中", 2, 5), "「」不是有效的整数");
}

TEST(Numbers, StrToFloatIsLocaleFree) {
  EXPECT_EQ(StrToFloat("1.5"), 1.5);
  EXPECT_EQ(StrToFloat(" -2.5E-3 "), -0.0025);
  EXPECT_EQ(StrToFloat(".5"), 0.5);
  EXPECT_EQ(StrToFloat("5."), 5.0);
  EXPECT_EQ(StrToFloat("1e3"), 1000.0);
  EXPECT_EQ(StrToFloat("1e-400"), 0.0);
  auto toFloat = [](const std::string& t) { StrToFloat(t); };
  EXPECT_EQ(ConvertErrorOf(toFloat, "1,5"), "「1,5」不是有效的数字");
  for (const char* bad : {"", "inf", "-INF", "nan", "1e", "e5", ".", "0x10", "1e999", "1.5.2"}) {
    EXPECT_THROW(StrToFloat(bad), EConvertError) << bad;
  }
}

TEST(Numbers, StrToFloatIgnoresACommaLocale) {
  const char* previous = setlocale(LC_NUMERIC, nullptr);
  std::string saved = previous ? previous : "C";
  if (!setlocale(LC_NUMERIC, "de_DE.UTF-8")) GTEST_SKIP() << "no de_DE locale installed";
  double v = 0;
  bool ok = TryStrToFloat("1.25", v);
  std::string printed = FloatToStr(1.25);
  setlocale(LC_NUMERIC, saved.c_str());
  EXPECT_TRUE(ok);
  EXPECT_EQ(v, 1.25);
  EXPECT_EQ(printed, "1.25");
}

TEST(Numbers, FloatToStrShortestWithFifteenDigits) {
  EXPECT_EQ(FloatToStr(7 * 0.01), "0.07");
  EXPECT_EQ(FloatToStr(0.1 + 0.2), "0.3");
  EXPECT_EQ(FloatToStr(2.0), "2");
  EXPECT_EQ(FloatToStr(-1.5), "-1.5");
  EXPECT_EQ(FloatToStr(100.0), "100");
  EXPECT_EQ(FloatToStr(1.0 / 3), "0.333333333333333");
  EXPECT_EQ(FloatToStr(2.0 / 3), "0.666666666666667");
  EXPECT_EQ(FloatToStr(123456789012345.6), "123456789012346");
  EXPECT_EQ(FloatToStr(999999999999999.0), "999999999999999");
  EXPECT_EQ(FloatToStr(1e15), "1E15");
  EXPECT_EQ(FloatToStr(1.23456789012345678e20), "1.23456789012346E20");
  EXPECT_EQ(FloatToStr(0.0001), "0.0001");
  EXPECT_EQ(FloatToStr(0.00001), "1E-5");
  EXPECT_EQ(FloatToStr(-1.5e-7), "-1.5E-7");
  EXPECT_EQ(FloatToStr(0.0), "0");
  EXPECT_EQ(FloatToStr(-0.0), "0");
  EXPECT_EQ(FloatToStr(std::numeric_limits<double>::infinity()), "INF");
  EXPECT_EQ(FloatToStr(-std::numeric_limits<double>::infinity()), "-INF");
  EXPECT_EQ(FloatToStr(std::nan("")), "NAN");
}

TEST(Numbers, EveryPrintedFiniteValueReadsBack) {
  const double max = std::numeric_limits<double>::max();
  EXPECT_EQ(FloatToStr(max), "1.79769313486231E308");
  EXPECT_EQ(FloatToStr(-max), "-1.79769313486231E308");
  for (double v : {max, -max, std::nextafter(max, 0.0), 1.7976931348623149e308,
                   1.797693134862314e308, std::numeric_limits<double>::min(),
                   std::numeric_limits<double>::denorm_min(), 1e308, 0.1, -123.456}) {
    double back = 0;
    ASSERT_TRUE(TryStrToFloat(FloatToStr(v), back)) << FloatToStr(v);
    EXPECT_NEAR(back / v, 1.0, 1e-14) << FloatToStr(v);
  }
  EXPECT_EQ(FloatToStr(1.797693134862314e308), "1.79769313486231E308");
  EXPECT_EQ(FloatToStr(1e308), "1E308");
}

TEST(Numbers, RoundToDividesByTheFactorThenRoundsHalfEven) {
  // Dividing by 0.01 is not multiplying by 100: 0.235 / 0.01 is 23.499999999999996 (0.235 * 100
  // would be 23.5), and 0.545 / 0.01 is exactly 54.5, a tie that goes to the even 54.
  EXPECT_EQ(FloatToStr(RoundTo(0.235, -2)), "0.23");
  EXPECT_EQ(FloatToStr(RoundTo(0.545, -2)), "0.54");
  EXPECT_EQ(FloatToStr(RoundTo(1.225, -2)), "1.22");
  EXPECT_EQ(FloatToStr(RoundTo(0.0215, -3)), "0.021");
  EXPECT_EQ(FloatToStr(RoundTo(2.675, -2)), "2.68");
  EXPECT_EQ(FloatToStr(RoundTo(-2.675, -2)), "-2.68");
  EXPECT_EQ(FloatToStr(RoundTo(0.125, -2)), "0.12");
  EXPECT_EQ(FloatToStr(RoundTo(0.135, -2)), "0.14");
  EXPECT_EQ(FloatToStr(RoundTo(1.005, -2)), "1");
  EXPECT_EQ(FloatToStr(RoundTo(1.2345, -3)), "1.234");
  EXPECT_EQ(FloatToStr(RoundTo(0.0015, -3)), "0.002");
  EXPECT_EQ(FloatToStr(RoundTo(0.0005, -3)), "0");
  EXPECT_EQ(FloatToStr(RoundTo(-0.001, -2)), "0");
  EXPECT_EQ(RoundTo(2.5, 0), 2.0);
  EXPECT_EQ(RoundTo(3.5, 0), 4.0);
  EXPECT_EQ(RoundTo(1250.0, 2), 1200.0);
  EXPECT_EQ(RoundTo(1350.0, 2), 1400.0);
  EXPECT_EQ(RoundTo(1234.5, 1), 1230.0);
}

TEST(Numbers, TruncToKeepsDigitsTowardZero) {
  EXPECT_EQ(FloatToStr(TruncTo(1.239, -2)), "1.23");
  EXPECT_EQ(FloatToStr(TruncTo(-1.239, -2)), "-1.23");
  EXPECT_EQ(FloatToStr(TruncTo(0.999, -1)), "0.9");
  EXPECT_EQ(TruncTo(1299.0, 2), 1200.0);
}

TEST(Numbers, WholeNumberConversions) {
  EXPECT_EQ(RoundHalfEven(2.5), 2);
  EXPECT_EQ(RoundHalfEven(3.5), 4);
  EXPECT_EQ(RoundHalfEven(-2.5), -2);
  EXPECT_EQ(RoundHalfEven(2.51), 3);
  EXPECT_EQ(Trunc(-2.7), -2);
  EXPECT_EQ(Trunc(2.7), 2);
  EXPECT_THROW(RoundHalfEven(1e300), EConvertError);
  EXPECT_THROW(Trunc(std::nan("")), EConvertError);
  EXPECT_EQ(FloorMod(-1, 12), 11);
  EXPECT_EQ(FloorMod(25, 12), 1);
  EXPECT_EQ(IntToStr(-42), "-42");
  EXPECT_EQ(IntToStrPadded(5, 2), "05");
  EXPECT_EQ(IntToStrPadded(123, 2), "123");
  EXPECT_EQ(IntToStrPadded(-5, 2), "-05");
}

// A character outside GBK arrives in four bytes, two of them ASCII digits: it is never read as
// digits and the error quotes it whole.
TEST(Numbers, FourByteCharactersAreNoDigitsAndAreQuotedWhole) {
  auto toInt = [](const std::string& t) { StrToInt(t); };
  auto toFloat = [](const std::string& t) { StrToFloat(t); };
  EXPECT_EQ(ConvertErrorOf(toInt, "1😀"), "「1😀」不是有效的整数");
  EXPECT_EQ(ConvertErrorOf(toInt, "𠀀"), "「𠀀」不是有效的整数");
  EXPECT_EQ(ConvertErrorOf(toFloat, "2.5😀"), "「2.5😀」不是有效的数字");
  EXPECT_EQ(ConvertErrorOf([](const std::string& t) { StrToInt64(t); }, "😀7"),
            "「😀7」不是有效的整数");
  EXPECT_EQ(ConvertErrorOf(toInt, "１😀"), "「１😀」中的「１」是全角数字，请输入半角数字");
  // A cut-off form is still shown without a stray lead byte.
  EXPECT_EQ(ConvertErrorOf(toInt, "1\x94\x39"), "「1?9」不是有效的整数");

  auto field = [](const std::string& text, size_t at, size_t count) {
    try {
      return IntToStr(StrToIntOfBytes(text, at, count));
    } catch (const EConvertError& e) {
      return e.Message();
    }
  };
  // "😀" is 94 39 FC 36: a field cut from its last byte on reads "6" + what follows.
  EXPECT_EQ(field("某😀12e25)", 5, 3), "「😀12」不是有效的整数");
  EXPECT_EQ(field("😀12", 3, 1), "「😀」不是有效的整数");
  EXPECT_EQ(field("😀12", 1, 1), "「😀」不是有效的整数");
  EXPECT_EQ(field("😀12", 4, 2), "12");
}

// A lone sign is the first key of a number, not a wrong one: it reads as an empty box, and
// what needs a number still refuses it with the number message.
TEST(Numbers, ALoneSignIsAnEmptyBox) {
  int value = 7;
  for (const char* sign : {"-", "+", " - ", "\t+"}) {
    EXPECT_EQ(CheckStrToInt(sign, value), TNumberText::Blank) << sign;
    EXPECT_FALSE(TryStrToInt(sign, value)) << sign;
  }
  EXPECT_EQ(value, 7);
  EXPECT_EQ(ConvertErrorOf([](const std::string& t) { StrToInt(t); }, "-"), "「-」不是有效的整数");
  EXPECT_EQ(ConvertErrorOf([](const std::string& t) { StrToFloat(t); }, "+"),
            "「+」不是有效的数字");
  double real = 1;
  EXPECT_FALSE(TryStrToFloat("-", real));
  // A sign with anything after it is what it was.
  for (const char* other : {"--", "-$", "-0x", "+-", "- 1", "-.", "-e"})
    EXPECT_EQ(CheckStrToInt(other, value), TNumberText::Invalid) << other;
  EXPECT_EQ(CheckStrToInt("-1", value), TNumberText::Number);
  EXPECT_EQ(value, -1);
}

}  // namespace
