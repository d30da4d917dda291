#include "gifkit/LzwEncoder.h"

#include <algorithm>
#include <array>
#include <vector>

#include "platform/Exceptions.h"

namespace {

constexpr std::uint32_t kHashSlots = 17777;
constexpr std::uint16_t kEmptySlot = 0xFFFF;
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
    out.push_back(static_cast<char>(codeSize));

    // A string is hashed from its pixels and their positions, so a lookup of (prefix, pixel)
    // probes from the same slot as the insertion did.
    std::vector<std::uint16_t> slots(kHashSlots, kEmptySlot);
    std::vector<std::uint16_t> entryPrefix(4096), entryCode(4096);
    std::vector<std::uint8_t> entrySuffix(4096);
    std::uint32_t entries = 0;

    CodeWriter writer(out);
    std::uint32_t codeWidth = codeSize + 1;
    std::uint32_t nextCode = clear + 2;
    writer.Put(clear, codeWidth);

    bool inString = false;
    std::uint32_t prefix = 0;
    std::uint32_t position = 0;
    std::uint32_t hash = 0;

    std::uint32_t row = 0;
    for (std::uint32_t done = 0; done < height; ++done) {
      const std::uint8_t* line = pixels + static_cast<std::uint64_t>(row) * stride;
      for (std::uint32_t x = 0; x < width; ++x) {
        const std::uint32_t c = line[x] & pixelMask;
        if (!inString) {
          inString = true;
          prefix = c;
          position = 1;
          hash = (c + 3) * 301;
          continue;
        }
        ++position;
        hash = ((c + position + 4) * hash) % kHashSlots;
        std::uint32_t slot = hash;
        bool found = false;
        while (slots[slot] != kEmptySlot) {
          const std::uint16_t e = slots[slot];
          if (entryPrefix[e] == prefix && entrySuffix[e] == c) {
            prefix = entryCode[e];
            found = true;
            break;
          }
          if (++slot == kHashSlots) slot = 0;
        }
        if (found) continue;

        writer.Put(prefix, codeWidth);
        const std::uint32_t code = nextCode++;
        entryPrefix[entries] = static_cast<std::uint16_t>(prefix);
        entryCode[entries] = static_cast<std::uint16_t>(code);
        entrySuffix[entries] = static_cast<std::uint8_t>(c);
        slots[slot] = static_cast<std::uint16_t>(entries++);
        prefix = c;
        position = 1;
        hash = (c + 3) * 301;
        if (code == (1u << codeWidth)) {
          ++codeWidth;
        } else if (code == kLastCode) {
          writer.Put(prefix, codeWidth);
          writer.Put(clear, codeWidth);
          std::fill(slots.begin(), slots.end(), kEmptySlot);
          entries = 0;
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
    if (progress) progress(TGifProgressStage::psEnding, 100, std::string());
  } catch (const Exception& e) {
    if (progress) progress(TGifProgressStage::psEnding, 0, e.Message());
    throw;
  }
}
