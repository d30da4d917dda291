// libFuzzer target for packed book files: any bytes decode or are refused with a reason, never
// with more text than the header's length, and the work and memory follow the input (libFuzzer's
// limits catch the rest). The bytes are also packed as a text (length, then zlib) and must
// decode to themselves. The packer reads the bytes as a text file in each encoding: what it
// accepts must read back through the reader's conversion as the file's own text.
#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <string_view>

#include "platform/GbkText.h"
#include "tools/packtext/PackText.h"
#include "workbench/logic/PackedText.h"

namespace {

std::string Pack(std::string_view text) {
  std::string out;
  const auto length = static_cast<std::uint32_t>(text.size());
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>(length >> (8 * i)));
  uLongf size = compressBound(static_cast<uLong>(text.size()));
  std::string packed(size, '\0');
  if (compress2(reinterpret_cast<Bytef*>(packed.data()), &size,
                reinterpret_cast<const Bytef*>(text.data()), static_cast<uLong>(text.size()),
                Z_BEST_SPEED) != Z_OK)
    std::abort();
  packed.resize(size);
  return out + packed;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const PackedText read = DecodePackedText(bytes);
  if (read.Error == PackedTextError::None && size >= 4) {
    const std::uint32_t length =
        data[0] | (data[1] << 8) | (data[2] << 16) | (static_cast<std::uint32_t>(data[3]) << 24);
    if (read.Text.size() != length) std::abort();
  }
  if (read.Error != PackedTextError::None && !read.Text.empty()) std::abort();
  const PackedText again = DecodePackedText(Pack(bytes));
  if (again.Error != PackedTextError::None || again.Text != bytes) std::abort();
  const std::string file(bytes);
  for (TextEncoding encoding : {TextEncoding::Detect, TextEncoding::Gbk, TextEncoding::Utf8}) {
    BookSource book;
    try {
      book = ReadBookText(file, encoding);
    } catch (const std::runtime_error&) {
      continue;
    }
    // What the reader shows (through GB18030) is written the same way again, GBK-shaped: no
    // character in GB18030's four-byte form.
    const std::string shown = GbkToUtf8(book.text);
    if (Utf8ToGbk(shown) != book.text) std::abort();
    for (std::size_t at = 0; at < book.text.size(); at += GbkCharLength(book.text, at))
      if (GbkCharLength(book.text, at) == 4) std::abort();
    // And it is the file's text: a GBK file's bytes as they are, a UTF-8 file's characters.
    if (book.encoding == "GBK" && book.text != file) std::abort();
    if (book.encoding == "UTF-8" &&
        shown != (bytes.substr(0, 3) == "\xEF\xBB\xBF" ? file.substr(3) : file))
      std::abort();
    if (book.text.size() > kPackedTextMaxLength) std::abort();
  }
  return 0;
}
