// What the packer makes of a text file: the encodings it reads, and that every character a book
// holds reads back as itself through the reader's conversion, or the file is refused with the
// line and the character that would not.
#include <gtest/gtest.h>

#include <random>
#include <stdexcept>
#include <string>
#include <utility>

#include "platform/GbkText.h"
#include "tests/workbench_logic/GbkExpect.h"
#include "tools/packtext/PackText.h"

namespace {

// The refusal's message, as UTF-8 so a failure prints readably; empty when nothing is refused.
std::string Refusal(std::string bytes, TextEncoding declared = TextEncoding::Detect) {
  try {
    ReadBookText(std::move(bytes), declared);
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
  // GBK has no emoji and no tag characters (glibc's GBK drops the tags without a word): the
  // reader would show U+FFFD, or nothing, where the file had them.
  std::string message = Refusal("a\r\nb\r\n" + GbkToUtf8("价格") + kEmoji + "5\r\n");
  EXPECT_TRUE(Says(message, "第3行第3个字符「")) << message;
  EXPECT_NE(message.find(kEmoji + GbkToUtf8("」(U+1F600) 在 GBK 中没有编码")), std::string::npos)
      << message;
  message = Refusal("x\n" + GbkToUtf8("乾") + kTagA + "y\n");
  EXPECT_TRUE(Says(message, "第2行第2个字符")) << message;
  EXPECT_NE(message.find("U+E0041"), std::string::npos) << message;
  // All 128 tag characters, each alone in a file of its own.
  for (unsigned code = 0xE0000; code <= 0xE007F; ++code) {
    const std::string tag = {'\xF3', '\xA0', static_cast<char>(0x80 | (code >> 6 & 0x3F)),
                             static_cast<char>(0x80 | (code & 0x3F))};
    EXPECT_FALSE(Refusal(GbkToUtf8("乾") + tag).empty()) << std::hex << code;
  }
  message = Refusal("ok\r\n" + kEmoji);
  EXPECT_TRUE(Says(message, "第2行第1个字符「")) << message;
  EXPECT_NE(message.find("U+1F600"), std::string::npos) << message;
  // A GBK file with the byte 0x80 in it: the reader has no character for it.
  message = Refusal("\xC7\xAC\r\n\xBC\xDB\x80\r\n", TextEncoding::Gbk);
  EXPECT_TRUE(Says(message, "第2行第2个字符处的字节 80 不是 GBK 文字")) << message;
  // Far along one long line (a paragraph), the character is counted within the line.
  message = Refusal(std::string(5000, 'a') + GbkToUtf8(std::string(3000, ' ') + "乾") + kEmoji);
  EXPECT_TRUE(Says(message, "第1行第8002个字符「")) << message;
  message = Refusal(std::string(70000, 'a') + "\x81", TextEncoding::Gbk);
  EXPECT_TRUE(Says(message, "第1行第70001个字符处的字节 81 不是 GBK 文字")) << message;
}

// GB18030, which the reader reads, writes "€" as A2 E3 (GBK proper has only the byte 0x80,
// which the reader cannot read): so it is packed, and shows as it was.
TEST(BookSource, TheEuroSignIsWrittenAsTheReaderReadsIt) {
  const std::string utf8 = "a\r\n" + GbkToUtf8("价格") + kEuro + "5\r\n";
  BookSource book = ReadBookText(utf8);
  EXPECT_EQ(book.text, "a\r\n" + std::string("价格") + "\xA2\xE3" + "5\r\n");
  EXPECT_EQ(GbkToUtf8(book.text), utf8);
  EXPECT_GBK_EQ(ReadBookText(Utf16(u"\u20AC", true)).text, "\xA2\xE3");
  // A GBK file that holds it so is taken as it is.
  EXPECT_GBK_EQ(ReadBookText("\xA2\xE3", TextEncoding::Gbk).text, "\xA2\xE3");
}

TEST(BookSource, CrLfAndCrAndLfAloneEachEndALine) {
  const std::string third = GbkToUtf8("坤") + kEmoji;
  for (const std::string& end : {std::string("\r"), std::string("\n"), std::string("\r\n")}) {
    const std::string message = Refusal("a" + end + "b" + end + third + end);
    EXPECT_TRUE(Says(message, "第3行")) << message;
  }
  // Mixed: CR LF counts once, a CR alone and an LF alone once each.
  EXPECT_TRUE(Says(Refusal("a\r\nb\rc\nd\n\r" + third), "第6行第2个字符"));
  // GBK files count the same way.
  EXPECT_TRUE(Says(Refusal("a\rb\r\x80", TextEncoding::Gbk), "第3行第1个字符"));
  // Lines are counted, never listed: a file of two million blank lines ending in a refused
  // character costs what packing it would.
  std::string blank(2000000, '\n');
  EXPECT_TRUE(Says(Refusal(blank + kEmoji), "第2000001行第1个字符「")) << Refusal(blank + kEmoji);
  EXPECT_TRUE(Says(Refusal(blank + "\x80", TextEncoding::Gbk), "第2000001行第1个字符处的字节 80"));
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
  EXPECT_TRUE(Says(message, "第2行第1个字符「")) << message;
  EXPECT_NE(message.find(kEmoji), std::string::npos) << message;
  // Each names the unit or the byte and its place.
  message =
      Refusal(Utf16(u"a\nb\n\xD83D"
                    u"c",
                    true));
  EXPECT_TRUE(Says(
      message, "第3行第1个字符处的 UTF-16 单元 D83D 是高位代理，后面的单元 0063 却不是低位代理"))
      << message;
  message = Refusal(Utf16(u"a\n\xDE00", false));
  EXPECT_TRUE(Says(message, "第2行第1个字符处的 UTF-16 单元 DE00 是低位代理，前面没有高位代理"))
      << message;
  message = Refusal(Utf16(u"ab", false) + "c");
  EXPECT_TRUE(Says(message, "第1行第3个字符处，文件末尾多出 1 个字节 63")) << message;
  message = Refusal(Utf16(u"\r\n\u4E7E\xD83D", false));
  EXPECT_TRUE(Says(message, "第2行第2个字符处的 UTF-16 单元 D83D 是高位代理，文件却在它后面结束"))
      << message;
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
  // A GBK text that is no UTF-8, said to be UTF-8, is refused with its place and the bytes: "乾为"
  // (C7 AC CE AA) happen to be UTF-8, "天" (CC EC) is not.
  std::string message = Refusal("ok\r\n乾为天", TextEncoding::Utf8);
  EXPECT_TRUE(Says(message, "第2行第3个字符处的字节 CC 不是有效的 UTF-8 文字")) << message;
  message = Refusal(GbkToUtf8("乾") + "\r" + GbkToUtf8(std::string(1000, 'x')) + "\xE4\xB9x",
                    TextEncoding::Utf8);
  EXPECT_TRUE(Says(message, "第2行第1001个字符处的字节 E4 B9 不是有效的 UTF-8 文字")) << message;
  // Bytes that are no UTF-8 are told before a character GBK lacks, even one far before them.
  message = Refusal(kEmoji + std::string(200000, 'x') + "\xFF", TextEncoding::Utf8);
  EXPECT_TRUE(Says(message, "第1行第200002个字符处的字节 FF 不是有效的 UTF-8 文字")) << message;
  // The UTF-8 byte-order mark fits utf-8 and contradicts gbk.
  EXPECT_EQ(ReadBookText("\xEF\xBB\xBF" + GbkToUtf8("乾"), TextEncoding::Utf8).text, "乾");
  EXPECT_FALSE(Refusal("\xEF\xBB\xBF" + GbkToUtf8("乾"), TextEncoding::Gbk).empty());
}

TEST(BookSource, Utf32IsConvertedByItsByteOrderMark) {
  auto utf32 = [](const std::u32string& text, bool bigEndian) {
    std::string out;
    for (char32_t unit : std::u32string(U"\uFEFF") + text)
      for (int k = 0; k < 4; ++k)
        out += static_cast<char>(unit >> 8 * (bigEndian ? 3 - k : k) & 0xFF);
    return out;
  };
  for (bool bigEndian : {false, true}) {
    const BookSource book = ReadBookText(utf32(U"乾为天\r\n\u20AC", bigEndian));
    EXPECT_GBK_EQ(book.text, "乾为天\r\n\xA2\xE3");
    EXPECT_EQ(book.encoding, bigEndian ? "UTF-32BE" : "UTF-32LE");
  }
  // FF FE 00 00 is UTF-32 LE's mark, not UTF-16 LE's followed by U+0000.
  EXPECT_EQ(ReadBookText(utf32(U"A", false)).text, "A");
  std::string message = Refusal(utf32(U"a\n\U0001F600", false));
  EXPECT_TRUE(Says(message, "第2行第1个字符「")) << message;
  message = Refusal(utf32(U"a\n", true) + std::string("\0\0\xD8\x00", 4));
  EXPECT_TRUE(Says(message, "第2行第1个字符处的 UTF-32 单元 0000D800 不是 Unicode 字符"))
      << message;
  message = Refusal(utf32(U"ab", false) + std::string("\0\0\x11\0", 4));
  EXPECT_TRUE(Says(message, "第1行第3个字符处的 UTF-32 单元 00110000 不是 Unicode 字符"))
      << message;
  message = Refusal(utf32(U"ab", false) + "c\r");
  EXPECT_TRUE(Says(message, "第1行第3个字符处，文件末尾多出 2 个字节 63 0D")) << message;
  message = Refusal(utf32(U"ab", false), TextEncoding::Utf8);
  EXPECT_NE(message.find("UTF-32LE"), std::string::npos) << message;
}

// The reader opens no text over kPackedTextMaxLength bytes: what counts is the text in GBK,
// whatever the file's own length.
TEST(BookSource, ATextLongerThanTheReaderOpensIsRefused) {
  std::string text(kPackedTextMaxLength, 'a');
  EXPECT_EQ(ReadBookText(text).text.size(), kPackedTextMaxLength);
  text += 'a';
  const std::string message = Refusal(text);
  EXPECT_TRUE(Says(message, "超过 67108864 字节 (64 MiB)")) << message;
  EXPECT_EQ(Refusal(text, TextEncoding::Gbk), message);
  text.clear();
  // UTF-8 spends three bytes on "乾", GBK two: a file half as long again as the limit fits.
  std::string qian = GbkToUtf8("乾");
  while (qian.size() < kPackedTextMaxLength / 2 * 3) qian += qian;
  qian.resize(kPackedTextMaxLength / 2 * 3);
  ASSERT_GT(qian.size(), kPackedTextMaxLength);
  EXPECT_EQ(ReadBookText(qian).text.size(), kPackedTextMaxLength);
  qian += "a";
  EXPECT_EQ(Refusal(std::move(qian)), message);
}
