#include "gifkit/LzwDecoder.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/Exceptions.h"

namespace {

constexpr std::uint32_t kMaxCodes = 4096;
constexpr std::uint32_t kNoCode = 0xFFFFFFFF;

// The codes of a frame read from its data sub-blocks where they stand, least significant bit
// first, through a 64-bit window: no joined copy of the data is made. A sub-block running
// past the end of the data is read as far as it goes.
class SubBlockBits {
 public:
  SubBlockBits(const std::uint8_t* data, std::size_t size) : p_(data + 1), end_(data + size) {}

  // The bits of all sub-blocks together.
  std::uint64_t TotalBits() const {
    std::uint64_t bytes = 0;
    for (const std::uint8_t* q = p_; q < end_;) {
      const std::size_t n = *q++;
      if (n == 0) break;
      const std::size_t taken = std::min<std::size_t>(n, end_ - q);
      bytes += taken;
      q += taken;
    }
    return bytes * 8;
  }

  // False when fewer than `width` bits are left.
  bool Read(std::uint32_t width, std::uint32_t mask, std::uint32_t& code) {
    if (count_ < width) {
      Refill();
      if (count_ < width) return false;
    }
    code = static_cast<std::uint32_t>(window_) & mask;
    window_ >>= width;
    count_ -= width;
    return true;
  }
  std::uint64_t BitsRead() const { return taken_ * 8 - count_; }

 private:
  void Refill() {
    while (count_ <= 56) {
      if (blockLeft_ == 0) {
        if (p_ >= end_) return;
        const std::size_t n = *p_++;
        if (n == 0) {
          p_ = end_;
          return;
        }
        blockLeft_ = std::min<std::size_t>(n, end_ - p_);
        if (blockLeft_ == 0) return;
      }
      if (blockLeft_ >= 8) {
        // As many whole bytes as the window has room for, in one load.
        std::uint64_t bytes;
        std::memcpy(&bytes, p_, 8);
        const std::uint32_t n = (64 - count_) / 8;
        const std::uint32_t filled = count_ + 8 * n;
        const std::uint64_t keep =
            filled >= 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << filled) - 1;
        window_ |= (bytes << count_) & keep;
        count_ = filled;
        p_ += n;
        taken_ += n;
        blockLeft_ -= n;
        continue;
      }
      window_ |= static_cast<std::uint64_t>(*p_++) << count_;
      count_ += 8;
      ++taken_;
      --blockLeft_;
    }
  }

  const std::uint8_t* p_;
  const std::uint8_t* end_;
  std::size_t blockLeft_ = 0;
  std::uint64_t window_ = 0;
  std::uint32_t count_ = 0;
  std::uint64_t taken_ = 0;
};

[[noreturn]] void Corrupt() { throw EInvalidGraphicOperation("GIF encoded data is corrupt"); }

// Whole 16-byte chunks: a string may run up to 15 bytes past its end, and a chunk may reach
// into its own destination, so each one is loaded completely before it is stored.
inline void CopyChunks(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t length) {
  for (std::uint32_t i = 0; i < length; i += 16) {
    std::uint8_t chunk[16];
    std::memcpy(chunk, src + i, 16);
    std::memcpy(dst + i, chunk, 16);
  }
}

// Decodes into `out`, the picture's pixels in stream order (width x height bytes). Every code,
// a literal too, is a table entry: where an earlier copy of its string stands and its length.
// Literals point into a small table of their own pixels; the others into `out`, since an entry
// is always the previous string plus the first pixel of the current one, and those bytes stand
// side by side in the output. The entry a code would define is made before the code is copied,
// so a code naming the entry being defined takes the same path.
// Sets `reached` to the number of pixels the data gave; the rest of `out` is left as it was.
bool DecodeStream(const std::uint8_t* data, std::size_t size, std::uint64_t total, int bits,
                  bool lenient, const TGifProgress& progress, std::uint8_t* out,
                  std::uint64_t& reached) {
  bool corrupt = false;
  reached = 0;
  if (size == 0) {
    if (total == 0) return false;
    throw EInvalidGraphicOperation("Stream read error");
  }
  int codeSize = data[0];
  if (codeSize < 2 || codeSize > 9) {
    if (!lenient) throw EInvalidGraphicOperation("GIF code size not in range 2 to 9");
    codeSize = std::clamp(codeSize, 2, 9);
    corrupt = true;
  }
  SubBlockBits reader(data, size);
  const bool reporting = static_cast<bool>(progress);
  const std::uint64_t totalBits = reporting ? reader.TotalBits() : 0;
  const std::uint8_t pixelMask = static_cast<std::uint8_t>((1u << bits) - 1);

  const std::uint32_t clear = 1u << codeSize;
  const std::uint32_t end = clear + 1;

  // Literal pixels, with room for a whole chunk past the last one.
  std::uint8_t literals[512 + 16] = {};
  std::vector<const std::uint8_t*> place(kMaxCodes);
  std::vector<std::uint16_t> length(kMaxCodes);
  for (std::uint32_t c = 0; c < clear; ++c) {
    literals[c] = static_cast<std::uint8_t>(c) & pixelMask;
    place[c] = literals + c;
    length[c] = 1;
  }

  std::uint32_t width = codeSize + 1;
  std::uint32_t codeMask = (1u << width) - 1;
  std::uint32_t freeCode = clear + 2;
  // The codes below `limit` may be read: the literals, and the entries made so far.
  std::uint32_t limit = clear;
  bool full = false;
  const std::uint8_t* previous = nullptr;
  std::uint32_t previousLength = 0;
  std::uint64_t at = 0;
  // Below this every string and its chunks fit in what is left of the picture.
  const std::uint64_t roomy = total > kMaxCodes + 16 ? total - kMaxCodes - 16 : 0;
  int percent = 0;

  while (at < total) {
    // Pixels to decode before progress is looked at again.
    const std::uint64_t stop =
        reporting ? std::min<std::uint64_t>(total, at + total / 100 + 1) : total;
    while (at < stop) {
      std::uint32_t code;
      if (!reader.Read(width, codeMask, code)) throw EInvalidGraphicOperation("Stream read error");

      if (code - clear < 2) [[unlikely]] {
        if (code == end) {
          reached = at;
          return corrupt;
        }
        width = codeSize + 1;
        codeMask = (1u << width) - 1;
        freeCode = clear + 2;
        limit = clear;
        full = false;
        previous = nullptr;
        continue;
      }
      if (previous && !full) {
        place[freeCode] = previous;
        length[freeCode] = static_cast<std::uint16_t>(previousLength + 1);
        limit = freeCode + 1;
        if (++freeCode == (1u << width)) {
          if (width < 12) {
            ++width;
            codeMask = (1u << width) - 1;
          } else {
            full = true;
          }
        }
      }
      if (code >= limit) [[unlikely]] {
        // Only a literal may follow a clear code, and no code beyond the entry being made.
        if (!lenient) Corrupt();
        corrupt = true;
        reached = at;
        return corrupt;
      }

      const std::uint32_t stringLength = length[code];
      const std::uint8_t* src = place[code];
      std::uint8_t* dst = out + at;
      previous = dst;
      previousLength = stringLength;
      if (at < roomy) [[likely]] {
        CopyChunks(dst, src, stringLength);
        // The entry being defined ends in its own first pixel, not yet written when copied.
        if (src + stringLength - 1 == dst) [[unlikely]]
          dst[stringLength - 1] = src[0];
        at += stringLength;
      } else {
        const std::uint32_t copied =
            static_cast<std::uint32_t>(std::min<std::uint64_t>(stringLength, total - at));
        // Byte by byte: a string naming itself reads its first pixel once it is written.
        for (std::uint32_t i = 0; i < copied; ++i) dst[i] = src[i];
        at += copied;
      }
    }
    reached = at;
    if (reporting && at < total) {
      const int now = static_cast<int>(std::min<std::uint64_t>(
          100, reader.BitsRead() * 100 / std::max<std::uint64_t>(totalBits, 1)));
      if (now > percent) {
        percent = now;
        progress(TGifProgressStage::psRunning, percent, std::string());
      }
    }
  }
  reached = at;
  return corrupt;
}

}  // namespace

bool DecodeLzwImage(const std::uint8_t* data, std::size_t size, std::uint32_t width,
                    std::uint32_t height, int bitsPerPixel, bool interlaced, bool lenient,
                    const TGifProgress& progress, std::uint8_t* target, std::size_t stride,
                    bool targetZeroed, std::uint64_t* reachedOut) {
  if (progress) progress(TGifProgressStage::psStarting, 0, std::string());
  try {
    CheckGifImageArea(width, height);
    const std::uint64_t total = static_cast<std::uint64_t>(width) * height;
    const int bits = std::clamp(bitsPerPixel, 1, 8);
    bool corrupt;
    std::uint64_t reached = 0;
    // Work and memory follow the data: only the pixels the data reach are written; the rest
    // is zeroed here unless the caller's memory is zero already.
    if (total == 0) {
      // Nothing to fill; the code size is still checked.
      corrupt = DecodeStream(data, size, 0, bits, lenient, progress, nullptr, reached);
    } else if (!interlaced && stride == width) {
      corrupt = DecodeStream(data, size, total, bits, lenient, progress, target, reached);
      if (!targetZeroed && reached < total) std::memset(target + reached, 0, total - reached);
    } else {
      // Not zeroed: untouched pages of a large block cost nothing.
      std::unique_ptr<std::uint8_t[]> pixels(new std::uint8_t[total]);
      corrupt = DecodeStream(data, size, total, bits, lenient, progress, pixels.get(), reached);
      const std::uint64_t rowsReached = (reached + width - 1) / width;
      if (reached < rowsReached * width)
        std::memset(pixels.get() + reached, 0, rowsReached * width - reached);
      std::uint32_t row = 0;
      for (std::uint32_t i = 0; i < height && row < height; ++i) {
        if (i < rowsReached)
          std::memcpy(target + row * stride, pixels.get() + static_cast<std::uint64_t>(i) * width,
                      width);
        else if (!targetZeroed)
          std::memset(target + row * stride, 0, width);
        row = interlaced ? NextInterlacedRow(row, height) : row + 1;
      }
    }
    if (reachedOut) *reachedOut = reached;
    if (progress) progress(TGifProgressStage::psEnding, 100, std::string());
    return corrupt;
  } catch (const Exception& e) {
    if (progress) progress(TGifProgressStage::psEnding, 0, e.Message());
    throw;
  }
}
