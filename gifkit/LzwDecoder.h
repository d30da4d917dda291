// GIF raster decoding: variable-length LZW codes, least significant bit first, in sub-blocks.
#pragma once

#include <cstddef>
#include <cstdint>

#include "gifkit/GifFormat.h"

// Decodes a frame's encoded data (code size byte, sub-blocks, terminator) into width x height
// palette indices, one byte each, rows top-down `stride` bytes apart (stride >= width).
// Indices are masked to 2^bitsPerPixel - 1. Returns true when the data were corrupt and the
// lenient switch let decoding stop early (the missing pixels are 0); without it, corrupt data
// raise "GIF code size not in range 2 to 9" or "GIF encoded data is corrupt". Data that end
// before every row is filled raise "Stream read error". With `targetZeroed` the target holds
// zeros already and only what the data reach is written (and zeroed again for a few bytes
// after it); `reached`, when given, receives the number of pixels (in stream order) the data
// gave.
bool DecodeLzwImage(const std::uint8_t* data, std::size_t size, std::uint32_t width,
                    std::uint32_t height, int bitsPerPixel, bool interlaced, bool lenient,
                    const TGifProgress& progress, std::uint8_t* target, std::size_t stride,
                    bool targetZeroed = false, std::uint64_t* reached = nullptr);

// The most pixels `size` bytes of encoded data can give: a code takes 3 bits or more, and the
// n-th code of a table gives n pixels at most, and never more than the longest string (4,096).
// Data whose bound is below a picture's size cannot fill it, whatever they hold.
std::uint64_t LzwPixelBound(std::size_t size);
