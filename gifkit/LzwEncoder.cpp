#include "gifkit/LzwEncoder.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <type_traits>
#include <vector>

#include "platform/Exceptions.h"

namespace {

// 16 slots per code at most: a string not yet in the table (most of them, on noisy pictures)
// is nearly always told by one probe, and the table still stays in the second-level cache.
constexpr std::uint32_t kHashSlots = 65536;
constexpr std::uint32_t kEmptySlot = 0xFFFFFFFF;
constexpr std::uint32_t kLastCode = 4094;
// No pixel is this: a code without a child yet.
constexpr std::uint16_t kNoChild = 0xFFFF;
// Code bytes are gathered for this many whole sub-blocks before they go out.
constexpr std::size_t kGathered = 255 * 16;

inline std::uint32_t SlotOf(std::uint32_t key) {
  // Multiplicative hash scaled onto the slots without a division.
  const std::uint32_t mixed = key * 2654435761u;
  return static_cast<std::uint32_t>((static_cast<std::uint64_t>(mixed) * kHashSlots) >> 32);
}

// Cuts `count` code bytes into sub-blocks of 255 (the last one may be shorter).
void PutSubBlocks(std::string& out, const std::uint8_t* bytes, std::size_t count) {
  for (std::size_t at = 0; at < count; at += 255) {
    const std::size_t n = std::min<std::size_t>(255, count - at);
    out.push_back(static_cast<char>(n));
    out.append(reinterpret_cast<const char*>(bytes + at), n);
  }
}

}  // namespace

void EncodeLzwImage(std::string& out, std::uint32_t width, std::uint32_t height, int depth,
                    bool interlaced, const TGifProgress& progress, const std::uint8_t* pixels,
                    std::size_t stride) {
  if (progress) progress(TGifProgressStage::psStarting, 0, std::string());
  try {
    const std::uint32_t codeSize = depth == 1 ? 2 : depth;
    const std::uint8_t pixelMask = static_cast<std::uint8_t>((1u << depth) - 1);
    const std::uint32_t clear = 1u << codeSize;
    const std::uint32_t end = clear + 1;
    // Room for the worst case up front: no growth copies while coding. Pages never written
    // are never touched, and a small result gives the rest back below.
    const std::size_t start = out.size();
    const std::uint64_t pixelCount = static_cast<std::uint64_t>(width) * height;
    const std::uint64_t codeBytes = (pixelCount + pixelCount / 4000 + 4) * 12 / 8 + 1;
    out.reserve(start + codeBytes + codeBytes / 255 + 4);
    out.push_back(static_cast<char>(codeSize));

    // Slots are found from the (prefix, pixel) key itself: a hash chained over a string's
    // pixels and positions collapses to one slot on long runs of one colour and turns a flat
    // picture into one endless probe. Each slot holds its entry whole, the key (20 bits) above
    // the code (12 bits), so a probe reads one word; the largest code is 4094, so no entry
    // looks like an empty slot.
    std::vector<std::uint32_t> slots(kHashSlots, kEmptySlot);
    // The slot each code took since the last clear code, so a clear empties only those.
    std::array<std::uint32_t, 4096> taken;
    // The first child each code got (its pixel and its code), found before the hash: on flat
    // runs the next pixel nearly always continues the string the same way. Kept apart, the
    // code found is the next index as it is loaded. Entries of codes not yet made are emptied
    // when the code is made.
    std::array<std::uint16_t, 4096> childPixel;
    std::array<std::uint16_t, 4096> childCode;
    childPixel.fill(kNoChild);

    // Codes are packed least significant bit first into `gathered`, eight bytes stored at a
    // time (the bytes past the whole ones are rewritten by the next code), all in locals.
    std::uint8_t gathered[kGathered + 16];
    std::size_t fill = 0;
    std::uint64_t bits = 0;
    std::uint32_t pending = 0;
    const auto put = [&](std::uint32_t code, std::uint32_t codeWidth)
        __attribute__((always_inline)) {
      bits |= static_cast<std::uint64_t>(code) << pending;
      pending += codeWidth;
      std::memcpy(gathered + fill, &bits, 8);
      fill += pending >> 3;
      bits >>= pending & ~7u;
      pending &= 7;
    };

    std::uint32_t codeWidth = codeSize + 1;
    std::uint32_t nextCode = clear + 2;
    // The code whose making widens the codes.
    std::uint32_t widenAt = 1u << codeWidth;
    put(clear, codeWidth);

    bool inString = false;
    std::uint32_t prefix = 0;

    // The pixels from p to rowEnd, masked by `mask` (a constant for 8 bits, where it does
    // nothing).
    const auto encodeRow = [&](const std::uint8_t* p, const std::uint8_t* const rowEnd, auto mask)
        __attribute__((always_inline)) {
      if (!inString && p < rowEnd) {
        inString = true;
        prefix = *p++ & mask;
      }
      while (p < rowEnd) {
        const std::uint32_t c = *p++ & mask;
        const std::uint32_t cached = childPixel[prefix];
        if (cached == c) {
          prefix = childCode[prefix];
          continue;
        }
        const std::uint32_t key = (c << 12) | prefix;
        std::uint32_t slot = SlotOf(key);
        std::uint32_t entry;
        while ((entry = slots[slot]) != kEmptySlot && (entry >> 12) != key)
          slot = (slot + 1) & (kHashSlots - 1);
        if (entry != kEmptySlot) {
          prefix = entry & 0xFFF;
          continue;
        }

        put(prefix, codeWidth);
        const std::uint32_t code = nextCode++;
        slots[slot] = (key << 12) | code;
        taken[code] = slot;
        if (cached == kNoChild) {
          childPixel[prefix] = static_cast<std::uint16_t>(c);
          childCode[prefix] = static_cast<std::uint16_t>(code);
        }
        childPixel[code] = kNoChild;
        prefix = c;
        if (code == widenAt) [[unlikely]] {
          ++codeWidth;
          widenAt <<= 1;
        } else if (code == kLastCode) [[unlikely]] {
          put(prefix, codeWidth);
          put(clear, codeWidth);
          for (std::uint32_t i = clear + 2; i <= code; ++i) slots[taken[i]] = kEmptySlot;
          std::fill_n(childPixel.begin(), clear + 2, kNoChild);
          nextCode = clear + 2;
          codeWidth = codeSize + 1;
          widenAt = 1u << codeWidth;
          inString = p < rowEnd;
          if (inString) prefix = *p++ & mask;
        }
        if (fill >= kGathered) [[unlikely]] {
          PutSubBlocks(out, gathered, kGathered);
          fill -= kGathered;
          std::memcpy(gathered, gathered + kGathered, 8);
        }
      }
    };

    std::uint32_t row = 0;
    for (std::uint32_t done = 0; done < height; ++done) {
      const std::uint8_t* line = pixels + static_cast<std::uint64_t>(row) * stride;
      if (depth == 8)
        encodeRow(line, line + width, std::integral_constant<std::uint32_t, 0xFF>());
      else
        encodeRow(line, line + width, static_cast<std::uint32_t>(pixelMask));
      row = interlaced ? NextInterlacedRow(row, height) : row + 1;
      if (progress) {
        progress(TGifProgressStage::psRunning, static_cast<int>((done + 1) * 100ull / height),
                 std::string());
      }
    }
    if (inString) put(prefix, codeWidth);
    put(end, codeWidth);
    if (pending > 0) ++fill;
    PutSubBlocks(out, gathered, fill);
    out.push_back('\0');
    if (out.capacity() - out.size() > out.size() - start + 4096) out.shrink_to_fit();
    if (progress) progress(TGifProgressStage::psEnding, 100, std::string());
  } catch (const Exception& e) {
    if (progress) progress(TGifProgressStage::psEnding, 0, e.Message());
    throw;
  }
}
