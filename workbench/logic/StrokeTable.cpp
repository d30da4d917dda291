#include "workbench/logic/StrokeTable.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace {

// Stroke value of every one- and two-byte code, built once from the group texts. A code in no
// group holds 0, which is also what it adds to a count.
struct StrokeIndex {
  std::array<uint8_t, 128> single{};
  std::array<uint8_t, 65536> pair{};

  StrokeIndex() {
    for (int group = 0; group < StrokeGroupCount; ++group) {
      const auto* text = reinterpret_cast<const unsigned char*>(StrokeGroups[group]);
      const size_t length = std::strlen(StrokeGroups[group]);
      for (size_t at = 0; at < length;) {
        if (text[at] < 0x80) {
          single[text[at]] = static_cast<uint8_t>(group);
          at += 1;
        } else {
          pair[text[at] << 8 | text[at + 1]] = static_cast<uint8_t>(group);
          at += 2;
        }
      }
    }
  }
};

const StrokeIndex& Index() {
  static const StrokeIndex index;
  return index;
}

}  // namespace

int StrokeCount(const std::string& Text) {
  const StrokeIndex& index = Index();
  int total = 0;
  for (size_t at = 0; at < Text.size();) {
    const auto byte = static_cast<unsigned char>(Text[at]);
    if (byte < 0x80) {
      total += index.single[byte];
      at += 1;
    } else if (at + 1 < Text.size()) {
      total += index.pair[byte << 8 | static_cast<unsigned char>(Text[at + 1])];
      at += 2;
    } else {
      break;
    }
  }
  return total;
}
