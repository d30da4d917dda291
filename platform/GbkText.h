// Texts of the system are GBK byte strings: a character is one byte below 0x80 or a lead byte
// 0x81..0xFE followed by a trail byte 0x40..0xFE (which may itself be below 0x80: "▅" is A8 7C).
// What the user types reaches them through GB18030, which writes a character outside GBK (a rare
// character, an emoji) in four bytes, the second and fourth ASCII digits: every walk goes by
// GbkCharLength, so those digits are never read, cut or quoted apart from their character.
// Helpers name what they count: Byte* counts bytes, Char* counts characters. Positions are
// 1-based, as the program's rules state them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

bool IsGbkLeadByte(unsigned char byte);

// Whether GB18030's four-byte form starts at zero-based offset `at`: a lead byte, a digit
// 0x30..0x39, a lead byte and a digit.
bool IsGb18030FourByteAt(std::string_view text, size_t at);

// Length in bytes of the character starting at zero-based offset `at`: 4 for GB18030's
// four-byte form, 2 for a lead and a trail byte, else 1 (so a lead byte at the very end of the
// text, or before a byte that cannot follow it, stands alone).
int GbkCharLength(std::string_view text, size_t at);

// Number of characters.
int CharCount(const std::string& text);

// 1-based byte position of the first occurrence of `needle` that starts on a character
// boundary, or 0: the search is character-aware, the result a byte position (for ByteCopy).
// An empty needle is never found.
int BytePosOf(const std::string& needle, const std::string& text);
// The same, starting at 1-based byte position `from` (which must itself be a boundary).
int BytePosOfFrom(const std::string& needle, const std::string& text, int from);
bool CharContains(const std::string& text, const std::string& needle);

// Leftmost / rightmost n characters (whole text when n exceeds it, empty when n <= 0).
std::string LeftChars(const std::string& text, int count);
std::string RightChars(const std::string& text, int count);

// Byte copy from 1-based position `index`, `count` bytes, clamped as the runtime's Copy does:
// index below 1 reads from 1, count below 1 or index past the end gives "", count past the
// end is cut.
std::string ByteCopy(const std::string& text, int index, int count);
// 1-based byte position of a single byte character (ASCII), or 0; used for CR, LF and such.
// Like BytePosOf, it never matches a trail byte.
int BytePos(char ch, const std::string& text);

// Splits into characters (each one, two or four bytes).
std::vector<std::string> SplitChars(const std::string& text);

// Replaces every boundary-aligned occurrence of `from` by `to`.
std::string CharReplaceAll(const std::string& text, const std::string& from, const std::string& to);

// The text for a one-line caption: a line break (CR LF, CR or LF) and every other control
// character become one space each; wider characters pass whole.
std::string OnOneLine(const std::string& text);

// ASCII-only case and blank helpers (bytes >= 0x80 untouched).
std::string Trim(const std::string& text);
std::string UpperCase(const std::string& text);
std::string LowerCase(const std::string& text);
bool SameText(const std::string& a, const std::string& b);

// Conversions at the edge to Qt and terminals. Invalid input bytes become '?' (GBK side) or
// U+FFFD (UTF-8 side); nothing throws.
std::string GbkToUtf8(const std::string& gbk);
std::string Utf8ToGbk(const std::string& utf8);
// The same text as GbkToUtf8 gives, in UTF-16, appended to `out`; a table made once from the
// same converter takes the one- and two-byte characters, which keeps a long text (a book) from
// waiting on the converter character by character.
void AppendGbkAsUtf16(std::string_view gbk, std::u16string& out);
// Whether the bytes are well-formed UTF-8 (no overlong forms or surrogates).
bool IsUtf8(const std::string& text);
// Converts to GBK proper (not its GB18030 extension): false when a character is not UTF-8 or
// has no GBK code, with `failedAt` its byte offset in `utf8`.
bool Utf8ToGbkExactly(const std::string& utf8, std::string& gbk, std::size_t& failedAt);
