#include "gifkit/LzwEncoder.h"

#include <algorithm>
#include <array>
#include <vector>

#include "platform/Exceptions.h"

namespace {

// 16 slots per code at most: a string not yet in the table (most of them, on noisy pictures)
// is nearly always told by one probe, and the table still stays in the second-level cache.
constexpr std::uint32_t kHashSlots = 65536;
constexpr std::uint32_t kEmptySlot = 0xFFFFFFFF;
constexpr std::uint32_t kLastCode = 4094;

// Packs codes least significant bit first and cuts them into sub-blocks of 255 bytes.
class CodeWriter {
 public:
  explicit CodeWriter(std::string& out) : out_(out) {}

  void Put(std::uint32_t code, std::uint32_t width) {
    bits_ |= static_cast<std::uint64_t>(code) << pending_;
    pending_ += width;
    while (pending_ >= 8) {
      block_[fill_++] = static_cast<char>(bits_ & 0xFF);
      bits_ >>= 8;
      pending_ -= 8;
      if (fill_ == 255) WriteBlock();
    }
  }

  void Flush() {
    if (pending_ > 0) {
      block_[fill_++] = static_cast<char>(bits_ & 0xFF);
      bits_ = 0;
      pending_ = 0;
    }
    if (fill_ > 0) WriteBlock();
    out_.push_back('\0');
  }

 private:
  void WriteBlock() {
    out_.push_back(static_cast<char>(fill_));
    out_.append(block_.data(), fill_);
    fill_ = 0;
  }

  std::string& out_;
  std::array<char, 255> block_{};
  std::size_t fill_ = 0;
  std::uint64_t bits_ = 0;
  std::uint32_t pending_ = 0;
};

inline std::uint32_t SlotOf(std::uint32_t key) {
  // Multiplicative hash scaled onto the slots without a division.
  const std::uint32_t mixed = key * 2654435761u;
  return static_cast<std::uint32_t>((static_cast<std::uint64_t>(mixed) * kHashSlots) >> 32);
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
    // picture into one endless probe. Each slot
    // holds its entry whole, the key (20 bits) above the code (12 bits), so a probe reads one
    // word; the largest code is 4094, so no entry looks like an empty slot.
    std::vector<std::uint32_t> slots(kHashSlots, kEmptySlot);
    // The slots taken since the last clear code, so a clear empties only those.
    std::array<std::uint32_t, 4096> taken;
    std::uint32_t takenCount = 0;
    // The first child each code got, found before the hash: on flat runs the next pixel
    // nearly always continues the string the same way. Entries of codes not yet made are
    // emptied when the code is made.
    std::array<std::uint32_t, 4096> firstChild;
    firstChild.fill(kEmptySlot);

    CodeWriter writer(out);
    std::uint32_t codeWidth = codeSize + 1;
    std::uint32_t nextCode = clear + 2;
    writer.Put(clear, codeWidth);

    bool inString = false;
    std::uint32_t prefix = 0;

    std::uint32_t row = 0;
    for (std::uint32_t done = 0; done < height; ++done) {
      const std::uint8_t* line = pixels + static_cast<std::uint64_t>(row) * stride;
      for (std::uint32_t x = 0; x < width; ++x) {
        const std::uint32_t c = line[x] & pixelMask;
        if (!inString) {
          inString = true;
          prefix = c;
          continue;
        }
        const std::uint32_t cached = firstChild[prefix];
        if ((cached >> 12) == c) {
          prefix = cached & 0xFFF;
          continue;
        }
        const std::uint32_t key = (c << 12) | prefix;
        std::uint32_t slot = SlotOf(key);
        bool found = false;
        while (slots[slot] != kEmptySlot) {
          if ((slots[slot] >> 12) == key) {
            prefix = slots[slot] & 0xFFF;
            found = true;
            break;
          }
          if (++slot == kHashSlots) slot = 0;
        }
        if (found) continue;

        writer.Put(prefix, codeWidth);
        const std::uint32_t code = nextCode++;
        slots[slot] = (key << 12) | code;
        taken[takenCount++] = slot;
        if (cached == kEmptySlot) firstChild[prefix] = (c << 12) | code;
        firstChild[code] = kEmptySlot;
        prefix = c;
        if (code == (1u << codeWidth)) {
          ++codeWidth;
        } else if (code == kLastCode) {
          writer.Put(prefix, codeWidth);
          writer.Put(clear, codeWidth);
          for (std::uint32_t i = 0; i < takenCount; ++i) slots[taken[i]] = kEmptySlot;
          takenCount = 0;
          std::fill_n(firstChild.begin(), clear + 2, kEmptySlot);
          nextCode = clear + 2;
          codeWidth = codeSize + 1;
          inString = false;
        }
      }
      row = interlaced ? NextInterlacedRow(row, height) : row + 1;
      if (progress) {
        progress(TGifProgressStage::psRunning, static_cast<int>((done + 1) * 100ull / height),
                 std::string());
      }
    }
    if (inString) writer.Put(prefix, codeWidth);
    writer.Put(end, codeWidth);
    writer.Flush();
    if (out.capacity() - out.size() > out.size() - start + 4096) out.shrink_to_fit();
    if (progress) progress(TGifProgressStage::psEnding, 100, std::string());
  } catch (const Exception& e) {
    if (progress) progress(TGifProgressStage::psEnding, 0, e.Message());
    throw;
  }
}
