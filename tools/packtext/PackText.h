// Packs a text into the reference-text file format: a little-endian 32-bit length, then the
// text as one zlib stream. The program only reads this format; the packer makes book files and
// the tests' fixtures.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The text of a book from a text file's bytes, in GBK: a file that is UTF-8 (with a byte-order
// mark, or well-formed) is converted; any other is taken as GBK already.
// A character GBK has no code for is refused: std::runtime_error with a GBK message naming the
// line and the character.
std::string BookText(const std::string& fileBytes);
// The 4-byte little-endian length field that heads a book file.
std::string LengthField(uint32_t length);
// The file's bytes. The length written is the text's own.
std::string PackText(std::string_view text);
// The same with another length written in front (to make files whose length field lies).
std::string PackTextDeclaring(std::string_view text, uint32_t declaredLength);
