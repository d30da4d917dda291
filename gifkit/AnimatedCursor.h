// An animated cursor's icons as a GIF image takes them: each icon with its display rate in
// jiffies (sixtieths of a second). A transparent icon bitmap gives its frame a transparent
// colour.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/gui/Graphics.h"

struct TAnimatedCursorIcon {
  TBitmap Icon;
  std::uint32_t Rate = 0;
};

struct TAnimatedCursor {
  std::vector<TAnimatedCursorIcon> Icons;
};
