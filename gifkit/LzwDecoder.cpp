#include "gifkit/LzwDecoder.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "platform/Exceptions.h"

namespace {

constexpr std::uint32_t kMaxCodes = 4096;
// Strings are copied in whole chunks of this many bytes; a string may run this far past its
// end, so fast copies stop short of the end of the picture by the longest string and a chunk.
constexpr std::uint32_t kChunk = 16;
constexpr std::uint64_t kSlack = kMaxCodes + kChunk;

// The bit window over the data sub-blocks, read where they stand: no joined copy of the data
// is made. Passed by value so that the decoding loop keeps it in registers.
struct Bits {
  std::uint64_t window;
  std::uint32_t count;
  const std::uint8_t* p;         // next byte of the current sub-block
  const std::uint8_t* blockEnd;  // end of the current sub-block as far as the data go
};

// Fills the window byte by byte across sub-block boundaries; a sub-block running past the end
// of the data is read as far as it goes, and the terminator ends the bits.
[[gnu::noinline]] Bits RefillAcross(Bits b, const std::uint8_t* end) {
  while (b.count <= 56) {
    if (b.p == b.blockEnd) {
      if (b.p >= end) break;
      const std::size_t n = *b.p++;
      if (n == 0) {
        b.p = b.blockEnd = end;
        break;
      }
      b.blockEnd = b.p + std::min<std::size_t>(n, end - b.p);
      continue;
    }
    b.window |= std::uint64_t{*b.p++} << b.count;
    b.count += 8;
  }
  return b;
}

[[noreturn]] void ReadError() { throw EInvalidGraphicOperation("Stream read error"); }
[[noreturn]] void Corrupt() { throw EInvalidGraphicOperation("GIF encoded data is corrupt"); }

// Whole chunks, each loaded completely before it is stored: a chunk may reach into its own
// destination.
inline void CopyChunks(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t length) {
  for (std::uint32_t i = 0; i < length; i += kChunk) {
    std::uint8_t chunk[kChunk];
    std::memcpy(chunk, src + i, kChunk);
    std::memcpy(dst + i, chunk, kChunk);
  }
}

// What decoding a code leads to: on, a new table (after a clear code), or the end.
enum class TStep { More, Restart, Done };

// Decodes into `out`, the picture's pixels in stream order (`total` bytes). Every code, a
// literal too, is a table entry: where an earlier copy of its string stands and its length.
// Literals point into a small table of their own pixels; the others into `out`, since an entry
// is always the previous string plus the first pixel of the current one, and those bytes stand
// side by side in the output. The clear and end codes are entries of length 0, so one test of
// the length sends them, and strings longer than a chunk, off the short path. The entry a code
// would define is made before the code is looked up, so a code naming the entry being defined
// finds it. Sets `reached` to the number of pixels the data gave; past them `out` is left as it
// was, but for up to a chunk after the last string.
bool DecodeStream(const std::uint8_t* data, std::size_t size, std::uint64_t total, int bits,
                  bool lenient, const TGifProgress& progress, std::uint8_t* out,
                  std::uint64_t& reached) {
  bool corrupt = false;
  reached = 0;
  if (size == 0) {
    if (total == 0) return false;
    ReadError();
  }
  int codeSize = data[0];
  if (codeSize < 2 || codeSize > 9) {
    if (!lenient) throw EInvalidGraphicOperation("GIF code size not in range 2 to 9");
    codeSize = std::clamp(codeSize, 2, 9);
    corrupt = true;
  }
  const std::uint8_t pixelMask = static_cast<std::uint8_t>((1u << bits) - 1);
  const std::uint32_t clear = 1u << codeSize;
  const std::uint32_t end = clear + 1;

  // Literal pixels, with room for a whole chunk past the last one.
  std::uint8_t literals[512 + kChunk] = {};
  // One block, so that one register reaches both columns.
  struct Table {
    // One entry more than codes: a full table keeps defining that one, never read.
    const std::uint8_t* Place[kMaxCodes + 1];
    std::uint16_t Length[kMaxCodes + 1];
  };
  const std::unique_ptr<Table> table(new Table);
  const std::uint8_t** const place = table->Place;
  std::uint16_t* const length = table->Length;
  for (std::uint32_t c = 0; c < clear; ++c) {
    literals[c] = static_cast<std::uint8_t>(c) & pixelMask;
    place[c] = literals + c;
    length[c] = 1;
  }
  place[clear] = place[end] = literals;
  length[clear] = length[end] = 0;

  const std::uint8_t* const dataEnd = data + size;
  Bits b{0, 0, data + 1, data + 1};
  std::uint32_t width = 0, mask = 0;
  // The entry the next code defines, made already as the last string plus one pixel (see
  // `define`), and the free code whose coming widens the codes (or, once the table is full,
  // takes the free code back to the spare entry).
  std::uint32_t freeCode = 0, widenAt = 0;
  std::uint8_t* dst = out;
  std::uint8_t* const outEnd = out + total;

  const auto readCode = [&]() __attribute__((always_inline))->std::uint32_t {
    if (b.count < width) [[unlikely]] {
      if (b.blockEnd - b.p >= 8) {
        // As many whole bytes as the window has room for, in one load; the bits above the
        // count are the bytes that follow, so loading them again later changes nothing.
        std::uint64_t bytes;
        std::memcpy(&bytes, b.p, 8);
        b.window |= bytes << b.count;
        b.p += (63 - b.count) >> 3;
        b.count |= 56;
      } else {
        b = RefillAcross(b, dataEnd);
        if (b.count < width) ReadError();
      }
    }
    const std::uint32_t code = static_cast<std::uint32_t>(b.window) & mask;
    b.window >>= width;
    b.count -= width;
    return code;
  };

  // A new table: its first code must be a literal (clear codes may repeat); false at the end
  // code or, leniently, at a corrupt one.
  const auto startTable = [&]() __attribute__((always_inline))->bool {
    width = codeSize + 1;
    mask = (1u << width) - 1;
    freeCode = clear + 2;
    widenAt = 1u << width;
    std::uint32_t code;
    do {
      code = readCode();
    } while (code == clear);
    if (code > clear) {
      if (code == end) return false;
      // Only a literal may follow a clear code.
      if (!lenient) Corrupt();
      corrupt = true;
      return false;
    }
    *dst = literals[code];
    place[freeCode] = dst++;
    length[freeCode] = 2;
    return true;
  };

  // After a string of `stringLength` written at `at`: the next free code, and its entry, the
  // string plus the pixel that follows it.
  const auto define = [&](const std::uint8_t* at, std::uint32_t stringLength)
      __attribute__((always_inline)) {
    if (++freeCode == widenAt) [[unlikely]] {
      if (width < 12) {
        ++width;
        mask = (1u << width) - 1;
        widenAt <<= 1;
      } else {
        freeCode = kMaxCodes;
        widenAt = kMaxCodes + 1;
      }
    }
    place[freeCode] = at;
    length[freeCode] = static_cast<std::uint16_t>(stringLength + 1);
  };

  // One code. `careful` near the end of the picture: strings are cut at its end and copied
  // byte by byte.
  const auto decodeCode = [&](auto careful) __attribute__((always_inline))->TStep {
    const std::uint32_t code = readCode();
    const std::uint32_t stringLength = length[code];
    const std::uint8_t* const src = place[code];
    if constexpr (careful) {
      if (code > freeCode) [[unlikely]] {
        if (!lenient) Corrupt();
        corrupt = true;
        return TStep::Done;
      }
      if (stringLength == 0) return code == end ? TStep::Done : TStep::Restart;
      // Byte by byte: a string naming itself reads its first pixel once it is written.
      const std::uint32_t copied =
          static_cast<std::uint32_t>(std::min<std::uint64_t>(stringLength, outEnd - dst));
      for (std::uint32_t i = 0; i < copied; ++i) dst[i] = src[i];
      define(dst, stringLength);
      dst += copied;
      return TStep::More;
    } else {
      if (code < freeCode && stringLength - 1 < kChunk) [[likely]] {
        std::uint8_t chunk[kChunk];
        std::memcpy(chunk, src, kChunk);
        std::memcpy(dst, chunk, kChunk);
      } else {
        // No code beyond the entry being made.
        if (code > freeCode) {
          if (!lenient) Corrupt();
          corrupt = true;
          return TStep::Done;
        }
        if (stringLength == 0) return code == end ? TStep::Done : TStep::Restart;
        CopyChunks(dst, src, stringLength);
        // The entry being made ends in its own first pixel, not yet written when copied.
        if (code == freeCode) dst[stringLength - 1] = src[0];
      }
      define(dst, stringLength);
      dst += stringLength;
      return TStep::More;
    }
  };

  const bool reporting = static_cast<bool>(progress);
  // Below this every string and its chunks fit in what is left of the picture.
  std::uint8_t* const roomy = total > kSlack ? outEnd - kSlack : out;
  int percent = 0;
  bool more = total > 0 && startTable();
  while (more && dst < outEnd) {
    // Pixels to decode before progress is looked at again.
    std::uint8_t* const stop =
        reporting ? dst + std::min<std::uint64_t>(outEnd - dst, total / 100 + 1) : outEnd;
    std::uint8_t* const fastStop = std::min(stop, roomy);
    TStep next = TStep::More;
    while (dst < fastStop && (next = decodeCode(std::false_type{})) == TStep::More) {
    }
    while (next == TStep::More && dst < stop) next = decodeCode(std::true_type{});
    if (next == TStep::Restart) next = startTable() ? TStep::More : TStep::Done;
    more = next == TStep::More;
    if (more && reporting && dst < outEnd) {
      const int now = static_cast<int>((b.p - data) * 100 / size);
      if (now > percent) {
        percent = now;
        progress(TGifProgressStage::psRunning, percent, std::string());
      }
    }
  }
  reached = static_cast<std::uint64_t>(dst - out);
  return corrupt;
}

}  // namespace

std::uint64_t LzwPixelBound(std::size_t size) {
  // Code size byte and sub-block lengths counted as code bits too: the bound only grows.
  const std::uint64_t codes = static_cast<std::uint64_t>(size) * 8 / 3;
  if (codes <= kMaxCodes) return codes * (codes + 1) / 2;
  const std::uint64_t rising = std::uint64_t{kMaxCodes} * (kMaxCodes + 1) / 2;
  return rising + (codes - kMaxCodes) * kMaxCodes;
}

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
      // A zeroed target still gets back what the last string's chunk wrote past its end.
      if (reached < total) {
        std::memset(
            target + reached, 0,
            targetZeroed ? std::min<std::uint64_t>(kChunk, total - reached) : total - reached);
      }
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
