// GIF raster encoding: LZW with a clear code whenever code 4094 is reached.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "gifkit/GifFormat.h"

// Appends to `out` the code size byte, the sub-blocks and the zero terminator for a picture of
// width x height palette indices (one byte each, rows top-down `stride` bytes apart) of a
// bitmap of `depth` 1, 4 or 8 bits per pixel. The code size is the depth, but 2 for 1 bit.
void EncodeLzwImage(std::string& out, std::uint32_t width, std::uint32_t height, int depth,
                    bool interlaced, const TGifProgress& progress, const std::uint8_t* pixels,
                    std::size_t stride);
