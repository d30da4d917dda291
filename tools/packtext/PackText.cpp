#include "tools/packtext/PackText.h"

#include <zlib.h>

#include <algorithm>
#include <stdexcept>

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

std::string BookText(const std::string& fileBytes) {
  static const std::string kMark = "\xEF\xBB\xBF";
  const bool marked = fileBytes.compare(0, kMark.size(), kMark) == 0;
  // Plain ASCII is UTF-8 and GBK alike: converting it changes nothing.
  if (!marked && !IsUtf8(fileBytes)) return fileBytes;
  const std::string utf8 = marked ? fileBytes.substr(kMark.size()) : fileBytes;
  std::string gbk;
  std::size_t failedAt = 0;
  if (Utf8ToGbkExactly(utf8, gbk, failedAt)) return gbk;
  const long line = 1 + static_cast<long>(std::count(utf8.begin(), utf8.begin() + failedAt, '\n'));
  // The character as the file has it: a lead byte and its continuation bytes.
  std::size_t end = failedAt + 1;
  while (end < utf8.size() && end - failedAt < 4 &&
         (static_cast<unsigned char>(utf8[end]) & 0xC0) == 0x80)
    ++end;
  const std::string character = utf8.substr(failedAt, end - failedAt);
  if (!IsUtf8(character))
    throw std::runtime_error("第" + std::to_string(line) + "行不是有效的 UTF-8 文字");
  throw std::runtime_error("第" + std::to_string(line) + "行的字符「" + Utf8ToGbk(character) +
                           "」在 GBK 中没有编码，请换用 GBK 能写出的字符");
}
