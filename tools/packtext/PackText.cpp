#include "tools/packtext/PackText.h"

#include <zlib.h>

#include <cstdio>
#include <stdexcept>
#include <vector>

#include "platform/GbkText.h"

std::string LengthField(uint32_t length) {
  std::string field(4, '\0');
  for (int i = 0; i < 4; ++i) field[i] = static_cast<char>(length >> (8 * i) & 0xFF);
  return field;
}

std::string PackTextDeclaring(std::string_view text, uint32_t declaredLength) {
  uLongf size = compressBound(static_cast<uLong>(text.size()));
  std::string out = LengthField(declaredLength) + std::string(size, '\0');
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

std::string LineText(long line) { return "第" + std::to_string(line) + "行"; }

// The lines of a text with their ends: CR, LF and CR LF each end one. Neither a GBK trail byte
// nor a UTF-8 continuation byte is ever CR or LF, so bytes can be scanned directly.
std::vector<std::string_view> Lines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    lines.push_back(text.substr(start, i + 1 - start));
    start = i + 1;
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

// The line that holds the end of `text`: 1 plus the line ends in it.
long LinesEnded(std::string_view text) {
  long line = 1;
  for (std::size_t i = 0; i < text.size(); ++i)
    if (text[i] == '\n' || (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')))
      ++line;
  return line;
}

// Length of the UTF-8 character at `at` by its lead byte, never past the end.
std::size_t Utf8CharLength(std::string_view text, std::size_t at) {
  const auto c = static_cast<Bytes>(text[at]);
  std::size_t length = c < 0xC0 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : c < 0xF8 ? 4 : 1;
  std::size_t n = 1;
  while (n < length && at + n < text.size() && (static_cast<Bytes>(text[at + n]) & 0xC0) == 0x80)
    ++n;
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

[[noreturn]] void RefuseCharacter(long line, const std::string& utf8Char) {
  throw std::runtime_error(LineText(line) + "的字符「" + Utf8ToGbk(utf8Char) + "」(" +
                           CodePoint(utf8Char) + ") 在 GBK 中没有编码，请换用 GBK 能写出的字符");
}

// Whether a piece of UTF-8 has a GBK form that the reader's conversion turns back into it.
// glibc's GBK writes "€" as the byte 0x80, which the reader cannot read, and drops the tag
// characters U+E0000 to U+E007F without a word: only the way back shows both.
// What reads back is well-formed UTF-8 too: the way back writes nothing else.
bool Utf8ReadsBack(const std::string& utf8, std::string& gbk) {
  std::size_t failedAt = 0;
  return Utf8ToGbkExactly(utf8, gbk, failedAt) && GbkToUtf8(gbk) == utf8;
}

// Whether GBK bytes read back as themselves: each is a character the reader shows, and that
// GBK writes the same way again.
bool GbkReadsBack(const std::string& gbk) {
  std::string again;
  std::size_t failedAt = 0;
  return Utf8ToGbkExactly(GbkToUtf8(gbk), again, failedAt) && again == gbk;
}

// The first line that fails `readsBack`, with its number; the whole text is checked first, so
// a good file costs two conversions.
template <typename Check>
std::pair<long, std::string> FirstFailingLine(std::string_view text, Check readsBack) {
  long number = 0;
  for (std::string_view line : Lines(text)) {
    ++number;
    std::string piece(line);
    if (!readsBack(piece)) return {number, std::move(piece)};
  }
  return {0, {}};
}

std::string FromUtf8(const std::string& utf8) {
  std::string gbk;
  if (Utf8ReadsBack(utf8, gbk)) return gbk;
  std::string scratch;
  const auto [line, text] = FirstFailingLine(
      utf8, [&](const std::string& piece) { return Utf8ReadsBack(piece, scratch); });
  if (!IsUtf8(text)) throw std::runtime_error(LineText(line) + "不是有效的 UTF-8 文字");
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t length = Utf8CharLength(text, at);
    const std::string character = text.substr(at, length);
    if (!Utf8ReadsBack(character, scratch)) RefuseCharacter(line, character);
    at += length;
  }
  throw std::runtime_error(LineText(line) + "的文字不能原样写成 GBK");
}

std::string FromGbk(const std::string& gbk) {
  if (GbkReadsBack(gbk)) return gbk;
  const auto [line, text] = FirstFailingLine(gbk, GbkReadsBack);
  for (std::size_t at = 0; at < text.size();) {
    const auto length = static_cast<std::size_t>(GbkCharLength(text, at));
    const std::string character = text.substr(at, length);
    if (!GbkReadsBack(character)) {
      const std::string utf8 = GbkToUtf8(character);
      // A character of GB18030 that GBK lacks is named; bytes that are no character are shown.
      if (utf8.find("\xEF\xBF\xBD") == std::string::npos) RefuseCharacter(line, utf8);
      throw std::runtime_error(LineText(line) + "的字节 " + HexBytes(character) +
                               " 不是 GBK 文字；如果文件是 UTF-8，请加 --encoding utf-8");
    }
    at += length;
  }
  throw std::runtime_error(LineText(line) + "的文字不能原样读回");
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

// UTF-16 after its byte-order mark, to UTF-8; a lone surrogate or half a unit at the end is
// refused with its line.
std::string Utf16ToUtf8(std::string_view units, bool bigEndian) {
  std::string out;
  out.reserve(units.size() / 2 * 3);
  auto unit = [&](std::size_t i) -> std::uint32_t {
    const auto a = static_cast<Bytes>(units[i]);
    const auto b = static_cast<Bytes>(units[i + 1]);
    return bigEndian ? (a << 8 | b) : (b << 8 | a);
  };
  auto refuse = [&] {
    throw std::runtime_error(LineText(LinesEnded(out)) + "不是有效的 UTF-16 文字");
  };
  for (std::size_t i = 0; i < units.size();) {
    if (units.size() - i < 2) refuse();
    std::uint32_t code = unit(i);
    i += 2;
    if (code >= 0xDC00 && code <= 0xDFFF) refuse();
    if (code >= 0xD800 && code <= 0xDBFF) {
      if (units.size() - i < 2) refuse();
      const std::uint32_t low = unit(i);
      if (low < 0xDC00 || low > 0xDFFF) refuse();
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

BookSource ReadBookText(const std::string& fileBytes, TextEncoding declared) {
  const std::string_view bytes = fileBytes;
  const char* said = declared == TextEncoding::Gbk ? "gbk" : "utf-8";
  auto markedAs = [&](const char* name, TextEncoding fits) {
    if (declared != TextEncoding::Detect && declared != fits)
      throw std::runtime_error(std::string("文件开头的字节顺序标记表明它是 ") + name +
                               " 文本，与 --encoding " + said + " 不符");
  };
  if (StartsWith(bytes, "\xFF\xFE") || StartsWith(bytes, "\xFE\xFF")) {
    const bool bigEndian = bytes[0] == '\xFE';
    const char* name = bigEndian ? "UTF-16BE" : "UTF-16LE";
    markedAs(name, TextEncoding::Detect);
    return {FromUtf8(Utf16ToUtf8(bytes.substr(2), bigEndian)), name};
  }
  if (StartsWith(bytes, "\xEF\xBB\xBF")) {
    markedAs("UTF-8", TextEncoding::Utf8);
    return {FromUtf8(fileBytes.substr(3)), "UTF-8"};
  }
  const bool utf8 =
      declared == TextEncoding::Utf8 || (declared == TextEncoding::Detect && IsUtf8(fileBytes));
  if (utf8) return {FromUtf8(fileBytes), "UTF-8"};
  return {FromGbk(fileBytes), "GBK"};
}
