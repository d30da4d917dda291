// Packs a text into the reference-text file format: a little-endian 32-bit length, then the
// text as one zlib stream. The program only reads this format; the packer makes book files and
// the tests' fixtures.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// How the text file is written: found out from the bytes, or as the user says.
enum class TextEncoding { Detect, Gbk, Utf8 };

struct BookSource {
  std::string text;      // the book's text, in GBK
  std::string encoding;  // what the file was read as: "GBK", "UTF-8", "UTF-16LE" or "UTF-16BE"
};

// The text of a book from a text file's bytes, in GBK. A byte-order mark settles the encoding
// (UTF-8, or UTF-16 of either order, which is converted); without one, `declared` does, and
// when it is Detect a well-formed UTF-8 file is taken for UTF-8 and any other for GBK.
// Every character must read back as itself through the reader's conversion; one that does not
// (a character GBK has no code for, a byte that is no character) is refused: std::runtime_error
// with a GBK message naming the line (CR, LF and CR LF each end one) and the character.
BookSource ReadBookText(const std::string& fileBytes, TextEncoding declared = TextEncoding::Detect);
// The 4-byte little-endian length field that heads a book file.
std::string LengthField(uint32_t length);
// The file's bytes. The length written is the text's own.
std::string PackText(std::string_view text);
// The same with another length written in front (to make files whose length field lies).
std::string PackTextDeclaring(std::string_view text, uint32_t declaredLength);
