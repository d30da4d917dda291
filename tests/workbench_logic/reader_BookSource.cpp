// What the packer makes of a text file: the encodings it reads, and that every character a book
// holds reads back as itself through the reader's conversion, or the file is refused with the
// line and the character that would not.
#include <gtest/gtest.h>

#include <random>
#include <stdexcept>
#include <string>

#include "platform/GbkText.h"
#include "tests/workbench_logic/GbkExpect.h"
#include "tools/packtext/PackText.h"

namespace {

// The refusal's message, as UTF-8 so a failure prints readably; empty when nothing is refused.
std::string Refusal(const std::string& bytes, TextEncoding declared = TextEncoding::Detect) {
  try {
    ReadBookText(bytes, declared);
  } catch (const std::runtime_error& e) {
    return GbkToUtf8(e.what());
  }
  return {};
}

bool Says(const std::string& message, const std::string& gbkPart) {
  return message.find(GbkToUtf8(gbkPart)) != std::string::npos;
}

std::string Utf16(const std::u16string& text, bool bigEndian) {
  std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (char16_t unit : text) {
    const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
    out += bigEndian ? std::string{high, low} : std::string{low, high};
  }
  return out;
}

const std::string kEuro = "\xE2\x82\xAC";
const std::string kTagA = "\xF3\xA0\x81\x81";  // U+E0041
const std::string kEmoji = "\xF0\x9F\x98\x80";

}  // namespace

TEST(BookSource, CharactersThatWouldNotReadBackAreRefusedWithTheirLine) {
  // glibc's GBK gives "€" the byte 0x80 and drops the tag characters without a word: the
  // reader would show U+FFFD, or nothing, where the file had them.
  std::string message = Refusal("a\r\nb\r\n" + GbkToUtf8("价格") + kEuro + "5\r\n");
  EXPECT_TRUE(Says(message, "第3行的字符「")) << message;
  EXPECT_NE(message.find(kEuro + GbkToUtf8("」(U+20AC)")), std::string::npos) << message;
  message = Refusal("x\n" + GbkToUtf8("乾") + kTagA + "y\n");
  EXPECT_TRUE(Says(message, "第2行")) << message;
  EXPECT_NE(message.find("U+E0041"), std::string::npos) << message;
  // All 128 tag characters, each alone in a file of its own.
  for (unsigned code = 0xE0000; code <= 0xE007F; ++code) {
    const std::string tag = {'\xF3', '\xA0', static_cast<char>(0x80 | (code >> 6 & 0x3F)),
                             static_cast<char>(0x80 | (code & 0x3F))};
    EXPECT_FALSE(Refusal(GbkToUtf8("乾") + tag).empty()) << std::hex << code;
  }
  message = Refusal("ok\r\n" + kEmoji);
  EXPECT_TRUE(Says(message, "第2行的字符「")) << message;
  EXPECT_NE(message.find("U+1F600"), std::string::npos) << message;
  // A GBK file with the byte 0x80 in it: the reader has no character for it.
  message = Refusal("\xC7\xAC\r\n\xBC\xDB\x80\r\n", TextEncoding::Gbk);
  EXPECT_TRUE(Says(message, "第2行的字节 80 不是 GBK 文字")) << message;
}

TEST(BookSource, CrLfAndCrAndLfAloneEachEndALine) {
  const std::string third = GbkToUtf8("坤") + kEuro;
  for (const std::string& end : {std::string("\r"), std::string("\n"), std::string("\r\n")}) {
    const std::string message = Refusal("a" + end + "b" + end + third + end);
    EXPECT_TRUE(Says(message, "第3行")) << message;
  }
  // Mixed: CR LF counts once, a CR alone and an LF alone once each.
  EXPECT_TRUE(Says(Refusal("a\r\nb\rc\nd\n\r" + third), "第6行"));
  // GBK files count the same way.
  EXPECT_TRUE(Says(Refusal("a\rb\r\x80", TextEncoding::Gbk), "第3行"));
}

TEST(BookSource, EveryAcceptedCharacterReadsBackAsItself) {
  // Random characters from the whole of Unicode, some GBK has and most it has not: what is
  // accepted must show as the file had it; what is not is refused, never changed.
  std::mt19937 rng(7);
  int accepted = 0;
  for (int round = 0; round < 4000; ++round) {
    std::string utf8 = "x";
    unsigned code = rng() % 3 == 0 ? 0x4E00 + rng() % 0x5200 : rng() % 0x110000;
    if (code >= 0xD800 && code <= 0xDFFF) code = 0x2014;
    if (code < 0x20) code = 0x41;
    if (code < 0x80) {
      utf8 += static_cast<char>(code);
    } else if (code < 0x800) {
      utf8 += {static_cast<char>(0xC0 | code >> 6), static_cast<char>(0x80 | (code & 0x3F))};
    } else if (code < 0x10000) {
      utf8 += {static_cast<char>(0xE0 | code >> 12), static_cast<char>(0x80 | (code >> 6 & 0x3F)),
               static_cast<char>(0x80 | (code & 0x3F))};
    } else {
      utf8 +=
          {static_cast<char>(0xF0 | code >> 18), static_cast<char>(0x80 | (code >> 12 & 0x3F)),
           static_cast<char>(0x80 | (code >> 6 & 0x3F)), static_cast<char>(0x80 | (code & 0x3F))};
    }
    try {
      const BookSource book = ReadBookText(utf8, TextEncoding::Utf8);
      EXPECT_EQ(GbkToUtf8(book.text), utf8) << std::hex << code;
      ++accepted;
    } catch (const std::runtime_error&) {
    }
  }
  EXPECT_GT(accepted, 1000);  // the CJK third of the draw is nearly all in GBK
  // Common punctuation of Chinese texts passes both ways.
  const std::string punctuation = "——·…“”‘’、。《》【】";
  EXPECT_GBK_EQ(ReadBookText(GbkToUtf8(punctuation)).text, punctuation);
  EXPECT_GBK_EQ(ReadBookText(punctuation, TextEncoding::Gbk).text, punctuation);
}

TEST(BookSource, Utf16IsConvertedByItsByteOrderMark) {
  const std::u16string text = u"乾为天\r\n元亨利贞\r\n";
  for (bool bigEndian : {false, true}) {
    const BookSource book = ReadBookText(Utf16(text, bigEndian));
    EXPECT_GBK_EQ(book.text, "乾为天\r\n元亨利贞\r\n");
    EXPECT_EQ(book.encoding, bigEndian ? "UTF-16BE" : "UTF-16LE");
  }
  // A pair of surrogates is one character (refused here: GBK has no emoji); a lone one, or half
  // a unit at the end, is no UTF-16.
  std::string message = Refusal(Utf16(u"a\r\n\U0001F600", false));
  EXPECT_TRUE(Says(message, "第2行的字符「")) << message;
  EXPECT_NE(message.find(kEmoji), std::string::npos) << message;
  message =
      Refusal(Utf16(u"a\nb\n\xD83D"
                    u"c",
                    true));
  EXPECT_TRUE(Says(message, "第3行不是有效的 UTF-16 文字")) << message;
  message = Refusal(Utf16(u"a\n\xDE00", false));
  EXPECT_TRUE(Says(message, "第2行不是有效的 UTF-16 文字")) << message;
  message = Refusal(Utf16(u"ab", false) + "c");
  EXPECT_TRUE(Says(message, "第1行不是有效的 UTF-16 文字")) << message;
  // The mark and what the user says must agree.
  message = Refusal(Utf16(text, false), TextEncoding::Gbk);
  EXPECT_NE(message.find("UTF-16LE"), std::string::npos) << message;
}

TEST(BookSource, TheUserSettlesATextThatIsBothGbkAndUtf8) {
  // "邪斜" in GBK is D0 B0 D0 B1, which is also the UTF-8 of "аб".
  const std::string both = "\xD0\xB0\xD0\xB1";
  BookSource book = ReadBookText(both);
  EXPECT_EQ(book.encoding, "UTF-8");
  EXPECT_EQ(GbkToUtf8(book.text), both);
  book = ReadBookText(both, TextEncoding::Gbk);
  EXPECT_EQ(book.encoding, "GBK");
  EXPECT_GBK_EQ(book.text, "邪斜");
  // A GBK text that is no UTF-8, said to be UTF-8, is refused with its line.
  const std::string message = Refusal("ok\r\n乾为天", TextEncoding::Utf8);
  EXPECT_TRUE(Says(message, "第2行不是有效的 UTF-8 文字")) << message;
  // The UTF-8 byte-order mark fits utf-8 and contradicts gbk.
  EXPECT_EQ(ReadBookText("\xEF\xBB\xBF" + GbkToUtf8("乾"), TextEncoding::Utf8).text, "乾");
  EXPECT_FALSE(Refusal("\xEF\xBB\xBF" + GbkToUtf8("乾"), TextEncoding::Gbk).empty());
}
