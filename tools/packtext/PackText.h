// Packs a text into the reference-text file format: a little-endian 32-bit length, then the
// text as one zlib stream. The program only reads this format; the packer makes book files and
// the tests' fixtures.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "workbench/logic/PackedText.h"

// How the text file is written: found out from the bytes, or as the user says.
enum class TextEncoding { Detect, Gbk, Utf8 };

struct BookSource {
  std::string text;      // the book's text, in GBK
  std::string encoding;  // what the file was read as: "GBK", "UTF-8", "UTF-16LE", "UTF-16BE",
                         // "UTF-32LE" or "UTF-32BE"
};

// The longest text file that can make a book the reader opens: UTF-32 spends four bytes on a
// character GBK writes in one, after a four-byte mark. A longer file need not be read.
constexpr std::uint64_t kTextFileMaxBytes = 4ull * kPackedTextMaxLength + 4;

// The text of a book from a text file's bytes, in GBK. A byte-order mark settles the encoding
// (UTF-8, or UTF-16 or UTF-32 of either order, which are converted; FF FE 00 00 is UTF-32 LE,
// not UTF-16 LE beginning with U+0000); without one, `declared` does, and when it is Detect a
// well-formed UTF-8 file is taken for UTF-8 and any other for GBK.
// Every character must read back as itself through the reader's conversion (GB18030), in one
// or two bytes as GBK writes its characters; one that does not (a character GBK has no code
// for, bytes that are no character in the file's encoding) is refused: std::runtime_error with
// a GBK message naming the line (CR, LF and CR LF each end one), the character's place in it
// and the character or the bytes. So is a text longer than the reader opens
// (kPackedTextMaxLength bytes of GBK).
BookSource ReadBookText(std::string fileBytes, TextEncoding declared = TextEncoding::Detect);
// The 4-byte little-endian length field that heads a book file.
std::string LengthField(uint32_t length);
// The file's bytes. The length written is the text's own.
std::string PackText(std::string_view text);
// The same with another length written in front (to make files whose length field lies).
std::string PackTextDeclaring(std::string_view text, uint32_t declaredLength);
