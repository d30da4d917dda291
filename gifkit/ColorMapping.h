// Mapping of true-colour pixels to 256 palette indices, by the six methods the GIF kit offers
// for turning a true-colour frame into a palette frame. Works on raw 24-bit rows so that it is
// independent of bitmaps; ConvertBitmapPixelFormat wraps it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "gifkit/GifFormat.h"

enum TMappingMethod : int {
  mmHistogram = 0,
  mmMedianCut = 1,
  mmQuantize224 = 2,  // fixed 7 x 8 x 4 levels
  mmQuantize216 = 3,  // fixed 6 x 6 x 6 levels
  mmChannelRamps = 4,
  mmGrayscale = 5,
};

// The module's default method; nothing in the program changes it.
extern TMappingMethod DefaultMappingMethod;

struct TColorMapResult {
  std::vector<TGifColor> Palette;     // 256 entries, $00BBGGRR
  std::vector<std::uint8_t> Indices;  // width x height, rows top-down
  int ColorsUsed = 256;               // the colour count a BMP header states
};

// Pixels are blue, green, red byte triples, rows top-down `stride` bytes apart.
TColorMapResult MapTrueColorPixels(const std::uint8_t* bgr, std::uint32_t width,
                                   std::uint32_t height, std::size_t stride, TMappingMethod method);

// Index of the nearest level (ties to the lower) in the 4-, 6-, 7- and 8-level tables.
int NearestLevel(int levels, int value);
