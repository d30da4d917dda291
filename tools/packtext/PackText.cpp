#include "tools/packtext/PackText.h"

#include <zlib.h>

#include <stdexcept>

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
