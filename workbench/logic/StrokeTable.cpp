#include "workbench/logic/StrokeTable.h"

#include <array>
#include <cstdint>
#include <string_view>

#include "platform/GbkText.h"

namespace {

// Stroke value of every one- and two-byte code, built once from the group texts. A code in no
// group holds 0, which is also what it adds to a count.
struct StrokeIndex {
  std::array<uint8_t, 128> single{};
  std::array<uint8_t, 65536> pair{};

  StrokeIndex() {
    for (int group = 0; group < StrokeGroupCount; ++group) {
      const std::string_view text(StrokeGroups[group]);
      for (size_t at = 0; at < text.size();) {
        const int length = GbkCharLength(text, at);
        const auto byte = static_cast<unsigned char>(text[at]);
        if (length == 1 && byte < 0x80)
          single[byte] = static_cast<uint8_t>(group);
        else if (length == 2)
          pair[byte << 8 | static_cast<unsigned char>(text[at + 1])] = static_cast<uint8_t>(group);
        at += static_cast<size_t>(length);
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
    const int length = GbkCharLength(Text, at);
    const auto byte = static_cast<unsigned char>(Text[at]);
    if (length == 2)
      total += index.pair[byte << 8 | static_cast<unsigned char>(Text[at + 1])];
    else if (length == 1 && byte < 0x80)
      total += index.single[byte];
    at += static_cast<size_t>(length);
  }
  return total;
}
