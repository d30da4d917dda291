// The packed reference-text file: a little-endian 32-bit length L of the text, then a zlib
// stream whose output begins with the L bytes of the text. Book files come from the network,
// so L is never trusted: it is checked against a cap and against what the stream's size can
// hold before anything is allocated, the stream is inflated in pieces, and decoding stops once
// L bytes are out (whatever follows them is ignored). Needs nothing but the standard library
// and zlib.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// No book is larger; and deflate cannot expand beyond about 1032 bytes out per byte in.
constexpr uint32_t kPackedTextMaxLength = 64u << 20;
constexpr uint64_t kPackedTextMaxRatio = 1032;

enum class PackedTextError {
  None,
  TooShort,        // 1 to 3 bytes: no room for the length
  LengthTooLarge,  // L over the cap or over what the stream could hold
  Corrupt,         // the zlib stream is damaged
  Truncated,       // the stream ends (or the file does) before L bytes
  OutOfMemory,     // zlib could not get its working memory
};

struct PackedText {
  PackedTextError Error = PackedTextError::None;
  std::string Text;  // empty unless Error is None
};

// Decodes a whole file's bytes. An empty file gives an empty text without error.
PackedText DecodePackedText(std::string_view file);
