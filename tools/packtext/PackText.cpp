#include "tools/packtext/PackText.h"

#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <stdexcept>

#include "platform/GbkText.h"

std::string LengthField(uint32_t length) {
  std::string field(4, '\0');
  for (int i = 0; i < 4; ++i) field[i] = static_cast<char>(length >> (8 * i) & 0xFF);
  return field;
}

std::string PackTextDeclaring(std::string_view text, uint32_t declaredLength) {
  uLongf size = compressBound(static_cast<uLong>(text.size()));
  // One buffer for the length and the stream: a book may be tens of megabytes.
  std::string out(4 + size, '\0');
  out.replace(0, 4, LengthField(declaredLength));
  if (compress2(reinterpret_cast<Bytef*>(out.data() + 4), &size,
                reinterpret_cast<const Bytef*>(text.data()), static_cast<uLong>(text.size()),
                Z_BEST_COMPRESSION) != Z_OK)
    throw std::runtime_error("zlib could not compress the text");
  out.resize(4 + size);
  return out;
}

std::string PackText(std::string_view text) {
  if (text.size() > UINT32_MAX) throw std::length_error("text longer than 4 GiB");
  return PackTextDeclaring(text, static_cast<uint32_t>(text.size()));
}

namespace {

using Bytes = unsigned char;

// Texts are checked in pieces of about this size: a piece that fails is gone through again
// character by character, so finding what is wrong costs one piece more, whatever the file.
// Pieces are small: the layer converts a piece that fits its buffer in one go, and a long text
// several times slower.
constexpr std::size_t kPiece = 1024;

bool IsContinuation(char c) { return (static_cast<Bytes>(c) & 0xC0) == 0x80; }

// The line that holds offset `at` (CR, LF and CR LF each end one) and the offset it starts at.
// The byte at `at` is never LF: it is what is refused, or the end of what was converted.
struct LineStart {
  long number = 1;
  std::size_t offset = 0;
};
LineStart LineOf(std::string_view text, std::size_t at) {
  LineStart line;
  for (std::size_t i = 0; i < at; ++i)
    if (text[i] == '\n' || (text[i] == '\r' && (i + 1 == at || text[i + 1] != '\n'))) {
      ++line.number;
      line.offset = i + 1;
    }
  return line;
}

std::string PlaceText(long line, long column) {
  return "第" + std::to_string(line) + "行第" + std::to_string(column) + "个字符";
}

// The place of offset `at` in well-formed UTF-8 before it: a character is a byte that is no
// continuation byte.
std::string Utf8Place(std::string_view utf8, std::size_t at) {
  const LineStart line = LineOf(utf8, at);
  long column = 1;
  for (std::size_t i = line.offset; i < at; ++i)
    if (!IsContinuation(utf8[i])) ++column;
  return PlaceText(line.number, column);
}

// The same in GBK, walked as the reader walks it.
std::string GbkPlace(const std::string& gbk, std::size_t at) {
  const LineStart line = LineOf(gbk, at);
  long column = 1;
  for (std::size_t i = line.offset; i < at; i += static_cast<std::size_t>(GbkCharLength(gbk, i)))
    ++column;
  return PlaceText(line.number, column);
}

// Length of the UTF-8 character at `at` by its lead byte, never past the end.
std::size_t Utf8CharLength(std::string_view text, std::size_t at) {
  const auto c = static_cast<Bytes>(text[at]);
  std::size_t length = c < 0xC0 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : c < 0xF8 ? 4 : 1;
  std::size_t n = 1;
  while (n < length && at + n < text.size() && IsContinuation(text[at + n])) ++n;
  return n;
}

std::string CodePoint(const std::string& utf8Char) {
  std::uint32_t code = 0;
  const auto lead = static_cast<Bytes>(utf8Char[0]);
  code = lead < 0x80 ? lead : lead < 0xE0 ? lead & 0x1F : lead < 0xF0 ? lead & 0x0F : lead & 0x07;
  for (std::size_t i = 1; i < utf8Char.size(); ++i)
    code = code << 6 | (static_cast<Bytes>(utf8Char[i]) & 0x3F);
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "U+%04X", static_cast<unsigned>(code));
  return buffer;
}

std::string HexBytes(std::string_view bytes) {
  std::string out;
  for (char c : bytes) {
    char buffer[4];
    std::snprintf(buffer, sizeof buffer, out.empty() ? "%02X" : " %02X", static_cast<Bytes>(c));
    out += buffer;
  }
  return out;
}

// Whether GB18030 bytes hold a four-byte character, a form GBK has not.
bool HasFourByteForm(std::string_view gb) {
  for (std::size_t i = 0; i < gb.size();) {
    const int length = GbkCharLength(gb, i);
    if (length == 4) return true;
    i += static_cast<std::size_t>(length);
  }
  return false;
}

// Whether a piece of UTF-8 has a form in the reader's encoding (GB18030) that is GBK-shaped and
// that the reader turns back into it; `gb` is that form. GB18030 writes "€" as A2 E3, which
// the reader shows as "€" (GBK proper has only the byte 0x80, which the reader cannot read).
// What reads back is well-formed UTF-8 too: the way back writes nothing else.
bool Utf8ReadsBack(const std::string& utf8, std::string& gb) {
  gb = Utf8ToGbk(utf8);
  return GbkToUtf8(gb) == utf8 && !HasFourByteForm(gb);
}

// Whether GBK bytes read back as themselves: each is a character the reader shows, and that
// the reader's encoding writes the same way again.
bool GbkReadsBack(const std::string& gbk) {
  return Utf8ToGbk(GbkToUtf8(gbk)) == gbk && !HasFourByteForm(gbk);
}

[[noreturn]] void RefuseLength() {
  throw std::runtime_error("文字转成 GBK 后超过 " + std::to_string(kPackedTextMaxLength) +
                           " 字节 (" + std::to_string(kPackedTextMaxLength >> 20) +
                           " MiB)，阅读器打不开这么长的书");
}

// `gb` is what the reader's encoding wrote for the character.
[[noreturn]] void RefuseCharacter(const std::string& place, const std::string& utf8Char,
                                  const std::string& gb) {
  const std::string named = place + "「" + Utf8ToGbk(utf8Char) + "」(" + CodePoint(utf8Char) + ")";
  if (HasFourByteForm(gb))
    throw std::runtime_error(named + " 在 GBK 中没有编码，请换用 GBK 能写出的字符");
  throw std::runtime_error(named + " 写成 GBK 后读不回原样，请换用别的字符");
}

// Where the piece of UTF-8 from `start` ends: at most kPiece bytes on, never inside a
// character (a run of four continuation bytes is no character and may be cut).
std::size_t Utf8PieceEnd(std::string_view utf8, std::size_t start) {
  if (utf8.size() - start <= kPiece) return utf8.size();
  std::size_t end = start + kPiece;
  for (int back = 0; back < 3 && IsContinuation(utf8[end]); ++back) --end;
  return end;
}

// Where the piece of GBK from `start` ends: after a byte below 0x30, which is never part of a
// wider character, or else where the walk by characters passes kPiece bytes.
std::size_t GbkPieceEnd(const std::string& gbk, std::size_t start) {
  if (gbk.size() - start <= kPiece) return gbk.size();
  for (std::size_t end = start + kPiece; end > start; --end)
    if (static_cast<Bytes>(gbk[end - 1]) < 0x30) return end;
  std::size_t end = start;
  while (end < start + kPiece) end += static_cast<std::size_t>(GbkCharLength(gbk, end));
  return end;
}

// What is wrong with the piece [start, end) that does not read back, refused. Bytes that are no
// UTF-8 come first, wherever they are after it: the file is then most likely in another
// encoding, which says more than a character it happens to spell.
[[noreturn]] void RefuseUtf8(std::string_view utf8, std::size_t start, std::size_t end) {
  std::string piece;
  for (std::size_t from = start, to = end; from < utf8.size();
       from = to, to = Utf8PieceEnd(utf8, from)) {
    piece.assign(utf8.substr(from, to - from));
    if (IsUtf8(piece)) continue;
    // Walked over the whole text: a piece may end in a character cut short.
    for (std::size_t at = from; at < utf8.size();) {
      const std::string character(utf8.substr(at, Utf8CharLength(utf8, at)));
      if (!IsUtf8(character))
        throw std::runtime_error(Utf8Place(utf8, at) + "处的字节 " + HexBytes(character) +
                                 " 不是有效的 UTF-8 文字");
      at += character.size();
    }
  }
  std::string gb;
  for (std::size_t at = start; at < end;) {
    const std::string character(utf8.substr(at, Utf8CharLength(utf8, at)));
    if (!Utf8ReadsBack(character, gb)) RefuseCharacter(Utf8Place(utf8, at), character, gb);
    at += character.size();
  }
  throw std::runtime_error(Utf8Place(utf8, start) + "起的文字不能原样写成 GBK");
}

std::string FromUtf8(std::string_view utf8) {
  std::string book;
  book.reserve(std::min<std::size_t>(utf8.size(), kPackedTextMaxLength));
  std::string piece;
  std::string gb;
  for (std::size_t start = 0; start < utf8.size();) {
    const std::size_t end = Utf8PieceEnd(utf8, start);
    piece.assign(utf8.substr(start, end - start));
    if (!Utf8ReadsBack(piece, gb)) RefuseUtf8(utf8, start, end);
    if (book.size() + gb.size() > kPackedTextMaxLength) RefuseLength();
    book += gb;
    start = end;
  }
  return book;
}

[[noreturn]] void RefuseGbk(const std::string& gbk, std::size_t start, std::size_t end) {
  for (std::size_t at = start; at < end;) {
    const std::string character = gbk.substr(at, static_cast<std::size_t>(GbkCharLength(gbk, at)));
    if (!GbkReadsBack(character)) {
      const std::string utf8 = GbkToUtf8(character);
      // A character of GB18030 that GBK lacks is named; bytes that are no character are shown.
      if (utf8.find("\xEF\xBF\xBD") == std::string::npos)
        RefuseCharacter(GbkPlace(gbk, at), utf8, character);
      throw std::runtime_error(GbkPlace(gbk, at) + "处的字节 " + HexBytes(character) +
                               " 不是 GBK 文字；如果文件是 UTF-8，请加 --encoding utf-8");
    }
    at += character.size();
  }
  throw std::runtime_error(GbkPlace(gbk, start) + "起的文字不能原样读回");
}

void CheckGbk(const std::string& gbk) {
  if (gbk.size() > kPackedTextMaxLength) RefuseLength();
  std::string piece;
  for (std::size_t start = 0; start < gbk.size();) {
    const std::size_t end = GbkPieceEnd(gbk, start);
    piece.assign(gbk, start, end - start);
    if (!GbkReadsBack(piece)) RefuseGbk(gbk, start, end);
    start = end;
  }
}

void AppendUtf8(std::string& out, std::uint32_t code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | code >> 6);
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | code >> 12);
    out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | code >> 18);
    out += static_cast<char>(0x80 | (code >> 12 & 0x3F));
    out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

std::string Hex(std::uint32_t value, int digits) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%0*X", digits, static_cast<unsigned>(value));
  return buffer;
}

// UTF-16 or UTF-32 (units of 2 or 4 bytes) after its byte-order mark, to UTF-8. What is no
// character is refused with its place and the unit or the bytes.
std::string UnitsToUtf8(std::string_view units, std::size_t unitBytes, bool bigEndian) {
  const std::string name = unitBytes == 2 ? "UTF-16" : "UTF-32";
  // Every character takes at least a byte of GBK, and at most two units of UTF-16.
  if (units.size() / unitBytes / (unitBytes == 2 ? 2 : 1) > kPackedTextMaxLength) RefuseLength();
  std::string out;
  out.reserve(units.size() / unitBytes * 3);
  auto unit = [&](std::size_t i) {
    std::uint32_t value = 0;
    for (std::size_t k = 0; k < unitBytes; ++k)
      value |= static_cast<std::uint32_t>(static_cast<Bytes>(units[i + k]))
               << 8 * (bigEndian ? unitBytes - 1 - k : k);
    return value;
  };
  auto refuse = [&](const std::string& what) {
    throw std::runtime_error(Utf8Place(out, out.size()) + "处" + what);
  };
  const int digits = static_cast<int>(unitBytes * 2);
  for (std::size_t i = 0; i < units.size();) {
    if (units.size() - i < unitBytes)
      refuse("，文件末尾多出 " + std::to_string(units.size() - i) + " 个字节 " +
             HexBytes(units.substr(i)) + "：" + name + " 文本的字节数应是 " +
             std::to_string(unitBytes) + " 的倍数");
    std::uint32_t code = unit(i);
    i += unitBytes;
    const std::string named = "的 " + name + " 单元 " + Hex(code, digits);
    const bool high = code >= 0xD800 && code <= 0xDBFF;
    if (unitBytes == 4 && (code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)))
      refuse(named + " 不是 Unicode 字符");
    if (code >= 0xDC00 && code <= 0xDFFF) refuse(named + " 是低位代理，前面没有高位代理");
    if (unitBytes == 2 && high) {
      if (units.size() - i < 2) refuse(named + " 是高位代理，文件却在它后面结束，没有低位代理");
      const std::uint32_t low = unit(i);
      if (low < 0xDC00 || low > 0xDFFF)
        refuse(named + " 是高位代理，后面的单元 " + Hex(low, 4) + " 却不是低位代理");
      code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
      i += 2;
    }
    AppendUtf8(out, code);
  }
  return out;
}

bool StartsWith(std::string_view bytes, std::string_view mark) {
  return bytes.substr(0, mark.size()) == mark;
}

}  // namespace

BookSource ReadBookText(std::string fileBytes, TextEncoding declared) {
  const std::string_view bytes = fileBytes;
  const char* said = declared == TextEncoding::Gbk ? "gbk" : "utf-8";
  auto markedAs = [&](const char* name, TextEncoding fits) {
    if (declared != TextEncoding::Detect && declared != fits)
      throw std::runtime_error(std::string("文件开头的字节顺序标记表明它是 ") + name +
                               " 文本，与 --encoding " + said + " 不符");
  };
  // UTF-32 LE's mark begins with UTF-16 LE's: FF FE 00 00 is taken for UTF-32, since a UTF-16
  // text would have to begin with the character U+0000 to start so.
  struct Mark {
    std::string_view bytes;
    const char* name;
    std::size_t unitBytes;
    bool bigEndian;
  };
  using namespace std::string_view_literals;
  for (const Mark& mark :
       {Mark{"\xFF\xFE\0\0"sv, "UTF-32LE", 4, false}, Mark{"\0\0\xFE\xFF"sv, "UTF-32BE", 4, true},
        Mark{"\xFF\xFE"sv, "UTF-16LE", 2, false}, Mark{"\xFE\xFF"sv, "UTF-16BE", 2, true}}) {
    if (!StartsWith(bytes, mark.bytes)) continue;
    markedAs(mark.name, TextEncoding::Detect);
    return {FromUtf8(UnitsToUtf8(bytes.substr(mark.bytes.size()), mark.unitBytes, mark.bigEndian)),
            mark.name};
  }
  if (StartsWith(bytes, "\xEF\xBB\xBF")) {
    markedAs("UTF-8", TextEncoding::Utf8);
    return {FromUtf8(bytes.substr(3)), "UTF-8"};
  }
  const bool utf8 =
      declared == TextEncoding::Utf8 || (declared == TextEncoding::Detect && IsUtf8(fileBytes));
  if (utf8) return {FromUtf8(bytes), "UTF-8"};
  CheckGbk(fileBytes);
  return {std::move(fileBytes), "GBK"};
}
