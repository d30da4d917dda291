#include <gtest/gtest.h>
#include <iconv.h>

#include "platform/GbkText.h"

namespace {

// Failure messages show texts as UTF-8.
std::string U(const std::string& gbk) { return GbkToUtf8(gbk); }

// "▅" is A8 7C: its trail byte is '|'. "乵" is 81 6D ('m'), "亅" 81 7C, "乗" 81 5C ('\').
const std::string kBlock = "▅";

TEST(GbkText, LiteralsAreGbkBytes) {
  EXPECT_EQ(kBlock, "\xA8\x7C");
  EXPECT_EQ(std::string("乾为天").size(), 6u);
  EXPECT_EQ(U("乾为天"), "\xE4\xB9\xBE\xE4\xB8\xBA\xE5\xA4\xA9");
}

TEST(GbkText, SearchNeverMatchesAtATrailByte) {
  EXPECT_EQ(BytePosOf("|", kBlock), 0);
  EXPECT_FALSE(CharContains("▅▅▅▅▅", "|"));
  EXPECT_EQ(BytePosOf("|", "▅|"), 3);
  EXPECT_EQ(BytePos('|', "▅▅|"), 5);
  EXPECT_EQ(BytePos('\\', "乗"), 0);
  EXPECT_EQ(BytePosOf("m", "乵m"), 3);
  // "中文" is D6 D0 CE C4; its middle bytes D0 CE are "形".
  EXPECT_NE(std::string("中文").find("形"), std::string::npos);
  EXPECT_EQ(BytePosOf("形", "中文"), 0);
  EXPECT_EQ(BytePosOf("形", "中文形"), 5);
  EXPECT_EQ(BytePosOf("", "abc"), 0);
  EXPECT_EQ(BytePosOf("abcd", "abc"), 0);
}

TEST(GbkText, LineButtonCaptions) {
  const std::string yang = "▅▅▅▅▅";
  const std::string yin = "▅▅　▅▅";
  EXPECT_TRUE(CharContains(yin, "　"));
  EXPECT_FALSE(CharContains(yang, "　"));
  EXPECT_EQ(BytePosOf("　", yin), 5);
  EXPECT_EQ(CharCount(yin), 5);
}

TEST(GbkText, SearchFromAPosition) {
  const std::string text = "a|▅|b|";
  EXPECT_EQ(BytePosOfFrom("|", text, 1), 2);
  EXPECT_EQ(BytePosOfFrom("|", text, 3), 5);
  EXPECT_EQ(BytePosOfFrom("|", text, 6), 7);
  EXPECT_EQ(BytePosOfFrom("|", text, 8), 0);
  // A start inside a character moves on to the next boundary rather than reading a trail byte.
  EXPECT_EQ(BytePosOfFrom("|", "▅|", 2), 3);
  EXPECT_EQ(BytePosOfFrom("a", "abc", 0), 1);
}

TEST(GbkText, CharacterCounts) {
  EXPECT_EQ(CharCount(""), 0);
  EXPECT_EQ(CharCount("a乾b"), 3);
  // A lead byte at the end, or before a byte that cannot trail, stands alone.
  EXPECT_EQ(CharCount("a\xB0"), 2);
  EXPECT_EQ(CharCount("\xB0\n"), 2);
  EXPECT_EQ(GbkCharLength("\xB0\n", 0), 1);
  EXPECT_EQ(GbkCharLength(kBlock, 0), 2);
  std::vector<std::string> expected = {"a", "乾", "\xB0"};
  EXPECT_EQ(SplitChars("a乾\xB0"), expected);
}

TEST(GbkText, LeftAndRightCountCharacters) {
  const std::string text = "甲子a乙丑";
  EXPECT_EQ(U(LeftChars(text, 2)), U("甲子"));
  EXPECT_EQ(U(LeftChars(text, 3)), U("甲子a"));
  EXPECT_EQ(U(RightChars(text, 2)), U("乙丑"));
  EXPECT_EQ(U(RightChars(text, 3)), U("a乙丑"));
  EXPECT_EQ(U(LeftChars(text, 99)), U(text));
  EXPECT_EQ(U(RightChars(text, 99)), U(text));
  EXPECT_EQ(LeftChars(text, 0), "");
  EXPECT_EQ(RightChars(text, -1), "");
}

TEST(GbkText, ByteCopyClampsLikeTheRuntime) {
  // Stems of the four-pillars text sit at byte positions 1, 7, 13, 19.
  const std::string pillars = "甲子　乙丑　丙寅　丁卯";
  ASSERT_EQ(pillars.size(), 22u);
  EXPECT_EQ(U(ByteCopy(pillars, 7, 2)), U("乙"));
  EXPECT_EQ(U(ByteCopy(pillars, 21, 2)), U("卯"));
  EXPECT_EQ(U(ByteCopy(pillars, 21, 10)), U("卯"));
  EXPECT_EQ(ByteCopy("abc", 0, 2), "ab");
  EXPECT_EQ(ByteCopy("abc", -5, 1), "a");
  EXPECT_EQ(ByteCopy("abc", 3, 1), "c");
  EXPECT_EQ(ByteCopy("abc", 4, 1), "");
  EXPECT_EQ(ByteCopy("abc", 2, 0), "");
  EXPECT_EQ(ByteCopy("abc", 2, -3), "");
  EXPECT_EQ(ByteCopy("", 1, 1), "");
}

TEST(GbkText, ReplaceOnlyWholeCharacters) {
  EXPECT_EQ(U(CharReplaceAll("▅|▅|", "|", "/")), U("▅/▅/"));
  EXPECT_EQ(U(CharReplaceAll("中文形", "形", "X")), U("中文X"));
  EXPECT_EQ(CharReplaceAll("aaa", "a", "aa"), "aaaaaa");
  EXPECT_EQ(CharReplaceAll("abc", "", "x"), "abc");
}

TEST(GbkText, CaseHelpersLeaveDoubleByteCharactersAlone) {
  EXPECT_EQ(UpperCase("abc乾Z"), "ABC乾Z");
  EXPECT_EQ(U(UpperCase("乵")), U("乵"));  // trail byte 'm' stays lower case
  EXPECT_EQ(U(LowerCase("乗AB")), U("乗ab"));
  EXPECT_TRUE(SameText("URLlst", "urllst"));
  EXPECT_FALSE(SameText("乵", "\x81M"));
  EXPECT_FALSE(SameText("ab", "abc"));
  EXPECT_TRUE(SameText("N乗1x", "n乗1X"));
  EXPECT_FALSE(SameText("N乗1x", "n乘1X"));
  EXPECT_FALSE(SameText("\x81Mb", "\x81mB"));  // a double-byte character's trail byte counts as is
  EXPECT_TRUE(SameText("", ""));
  EXPECT_EQ(Trim(" \t a b \r\n"), "a b");
  EXPECT_EQ(Trim("   "), "");
  EXPECT_EQ(U(Trim(" 乾 ")), U("乾"));
}

TEST(GbkText, ConversionsAtTheEdge) {
  EXPECT_EQ(GbkToUtf8(kBlock), "\xE2\x96\x85");
  EXPECT_EQ(Utf8ToGbk("\xE2\x96\x85"), kBlock);
  EXPECT_EQ(Utf8ToGbk(GbkToUtf8("农历:2024-1-5")), "农历:2024-1-5");
  EXPECT_EQ(GbkToUtf8(""), "");
  // Bad bytes are replaced, never thrown at and never stop the conversion.
  EXPECT_EQ(GbkToUtf8("a\xFF"
                      "b"),
            "a\xEF\xBF\xBD"
            "b");
  EXPECT_EQ(GbkToUtf8("a\xB0"), "a\xEF\xBF\xBD");
  EXPECT_EQ(Utf8ToGbk("a\xC3"), "a?");
  EXPECT_EQ(Utf8ToGbk("\xC3(x"), "?(x");
  // Longer than the converter's internal buffer.
  std::string longText;
  for (int i = 0; i < 3000; ++i) longText += "乾a";
  EXPECT_EQ(Utf8ToGbk(GbkToUtf8(longText)), longText);
}

// UTF-16 as UTF-8 through the C library's own converter, to hold the fast conversion against
// GbkToUtf8.
std::string Utf8Of(const std::u16string& wide) {
  iconv_t cd = iconv_open("UTF-8", "UTF-16LE");
  std::string bytes;
  for (char16_t unit : wide)
    bytes += {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
  std::string out(bytes.size() * 2, '\0');
  char* in = bytes.data();
  size_t inLeft = bytes.size();
  char* to = out.data();
  size_t toLeft = out.size();
  const size_t rc = iconv(cd, &in, &inLeft, &to, &toLeft);
  iconv_close(cd);
  EXPECT_NE(rc, static_cast<size_t>(-1)) << "not UTF-16";
  out.resize(out.size() - toLeft);
  return out;
}

std::string FastUtf8(const std::string& gbk) {
  std::u16string wide = u"前";  // appended to, not replaced
  AppendGbkAsUtf16(gbk, wide);
  return Utf8Of(wide).substr(3);
}

// The reader's conversion of long texts reads every byte string as GbkToUtf8 does: each
// double-byte code alone and between others, four-byte characters, bytes that are no character,
// a lead byte cut off at the end, and random bytes.
TEST(GbkText, TheFastConversionReadsAsGbkToUtf8) {
  for (int lead = 0x80; lead <= 0xFF; ++lead)
    for (int trail = 0x00; trail <= 0xFF; ++trail) {
      const std::string pair{static_cast<char>(lead), static_cast<char>(trail)};
      ASSERT_EQ(FastUtf8(pair), GbkToUtf8(pair)) << std::hex << lead << " " << trail;
      const std::string between = "a" + pair + "乾\x81";
      ASSERT_EQ(FastUtf8(between), GbkToUtf8(between)) << std::hex << lead << " " << trail;
    }
  for (const std::string& text :
       {std::string("😀𠀀"), std::string("x\x94\x39\xFC"), std::string("\x94\x39\xFCx"),
        std::string("\x84\x31\xA4\x39\x84\x31\xA5\x30"), std::string("\xFE\x39\xFE\x39"),
        std::string("a\0b", 3), std::string("\x80\xFF\x81"), std::string()})
    EXPECT_EQ(FastUtf8(text), GbkToUtf8(text)) << U(text);
  uint32_t seed = 7;
  for (int round = 0; round < 200; ++round) {
    std::string bytes(257, '\0');
    for (char& c : bytes) {
      seed = seed * 1664525 + 1013904223;
      // Half of them digits and lead bytes, so four-byte forms and their near misses come up.
      const unsigned r = seed >> 24;
      c = static_cast<char>(r & 1 ? 0x30 + r % 10 : r | 0x80);
    }
    ASSERT_EQ(FastUtf8(bytes), GbkToUtf8(bytes)) << round;
  }
}

// What the user types comes through GB18030: a character outside GBK takes four bytes, the
// second and fourth of them ASCII digits ("😀" is 94 39 FC 36, "𠀀" 95 32 82 36).
TEST(GbkText, FourByteCharactersAreWholeCharacters) {
  const std::string smile = "😀";
  ASSERT_EQ(smile, "\x94\x39\xFC\x36");
  EXPECT_TRUE(IsGb18030FourByteAt(smile, 0));
  EXPECT_EQ(GbkCharLength(smile, 0), 4);
  EXPECT_EQ(CharCount("1😀2𠀀"), 4);
  const std::vector<std::string> chars = {"1", smile, "2", "𠀀"};
  EXPECT_EQ(SplitChars("1😀2𠀀"), chars);
  // Its digits are never found, cut off or changed.
  EXPECT_EQ(BytePos('9', smile), 0);
  EXPECT_EQ(BytePos('6', smile + "6"), 5);
  EXPECT_FALSE(CharContains("𠀀", "2"));
  EXPECT_EQ(U(LeftChars("1😀2", 2)), U("1😀"));
  EXPECT_EQ(U(RightChars("1😀2", 2)), U("😀2"));
  EXPECT_EQ(U(CharReplaceAll("😀9", "9", "x")), U("😀x"));
  EXPECT_TRUE(SameText("A😀", "a😀"));
  EXPECT_FALSE(SameText("😀", "\x94\x39\xFC\x37"));
  // Only the whole form counts: a lead byte and a digit with nothing after stand apart.
  EXPECT_EQ(CharCount("\x94\x39"), 2);
  EXPECT_EQ(CharCount("\x94\x39\xFC"), 3);
  EXPECT_EQ(CharCount("\x94\x39\xFCx"), 3);  // FC 78 is a double-byte character
  // Shown through GB18030 both ways.
  EXPECT_EQ(U(smile), "\xF0\x9F\x98\x80");
  EXPECT_EQ(Utf8ToGbk("\xF0\x9F\x98\x80"), smile);
}

// A one-line caption shows a line break, or any other control character, as one space.
TEST(GbkText, OnOneLineShowsControlCharactersAsSpaces) {
  EXPECT_EQ(U(OnOneLine("公式Ｂ连准\r\n0期")), U("公式Ｂ连准 0期"));
  EXPECT_EQ(OnOneLine("a\nb\rc\td\x7F"
                      "e\r\r\n"),
            "a b c d e  ");
  EXPECT_EQ(OnOneLine(std::string("x\0y", 3)), "x y");
  // Wider characters pass whole, and so does a double-byte one whose trail byte is below 0x80.
  EXPECT_EQ(U(OnOneLine("▅😀乾")), U("▅😀乾"));
  EXPECT_EQ(OnOneLine(""), "");
}

}  // namespace
