#include "workbench/logic/PackedText.h"

#include <zlib.h>

#include <algorithm>
#include <climits>
#include <vector>

namespace {

// Output is produced in pieces of this size, so memory follows what the stream really holds.
constexpr size_t kPiece = 64 * 1024;

struct Inflater {
  z_stream z{};
  bool open = false;
  ~Inflater() {
    if (open) inflateEnd(&z);
  }
};

PackedText Fail(PackedTextError error) {
  PackedText result;
  result.Error = error;
  return result;
}

}  // namespace

PackedText DecodePackedText(std::string_view file) {
  if (file.empty()) return {};
  if (file.size() < 4) return Fail(PackedTextError::TooShort);
  const auto byte = [&](size_t i) {
    return static_cast<uint32_t>(static_cast<unsigned char>(file[i]));
  };
  const uint32_t length = byte(0) | byte(1) << 8 | byte(2) << 16 | byte(3) << 24;
  const uint64_t compressed = file.size() - 4;
  if (length > kPackedTextMaxLength || length > kPackedTextMaxRatio * compressed)
    return Fail(PackedTextError::LengthTooLarge);
  if (length == 0) return {};

  Inflater inflater;
  z_stream& z = inflater.z;
  const int init = inflateInit(&z);
  if (init != Z_OK)
    return Fail(init == Z_MEM_ERROR ? PackedTextError::OutOfMemory : PackedTextError::Corrupt);
  inflater.open = true;

  PackedText result;
  std::vector<unsigned char> piece(std::min<size_t>(kPiece, length));
  size_t fed = 4;
  while (result.Text.size() < length) {
    if (z.avail_in == 0 && fed < file.size()) {
      // avail_in is 32 bits wide: a larger file is fed in slices.
      const size_t slice = std::min<size_t>(file.size() - fed, UINT_MAX);
      z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(file.data() + fed));
      z.avail_in = static_cast<uInt>(slice);
      fed += slice;
    }
    z.next_out = piece.data();
    z.avail_out = static_cast<uInt>(std::min<size_t>(piece.size(), length - result.Text.size()));
    const uInt room = z.avail_out;
    const int rc = inflate(&z, Z_NO_FLUSH);
    result.Text.append(reinterpret_cast<const char*>(piece.data()), room - z.avail_out);
    if (rc == Z_OK) continue;
    if (rc == Z_STREAM_END) break;
    if (rc == Z_BUF_ERROR && z.avail_in == 0 && fed >= file.size())
      return Fail(PackedTextError::Truncated);
    if (rc == Z_MEM_ERROR) return Fail(PackedTextError::OutOfMemory);
    return Fail(PackedTextError::Corrupt);
  }
  if (result.Text.size() < length) return Fail(PackedTextError::Truncated);
  return result;
}
