// Colour resolution, display depth and rectangle arithmetic.
#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <atomic>

#include "platform/gui/Graphics.h"

namespace {

// The classic desktop scheme, indexed by system colour number; fixed so that every machine
// (and every test) paints the same pixels.
constexpr TColor kSystemColors[] = {
    RGB(212, 208, 200),  // 0 scroll bar
    RGB(58, 110, 165),   // 1 desktop background
    RGB(10, 36, 106),    // 2 active caption
    RGB(128, 128, 128),  // 3 inactive caption
    RGB(212, 208, 200),  // 4 menu
    RGB(255, 255, 255),  // 5 window
    RGB(0, 0, 0),        // 6 window frame
    RGB(0, 0, 0),        // 7 menu text
    RGB(0, 0, 0),        // 8 window text
    RGB(255, 255, 255),  // 9 caption text
    RGB(212, 208, 200),  // 10 active border
    RGB(212, 208, 200),  // 11 inactive border
    RGB(128, 128, 128),  // 12 application workspace
    RGB(10, 36, 106),    // 13 highlight
    RGB(255, 255, 255),  // 14 highlight text
    RGB(212, 208, 200),  // 15 button face
    RGB(128, 128, 128),  // 16 button shadow
    RGB(128, 128, 128),  // 17 grey text
    RGB(0, 0, 0),        // 18 button text
    RGB(212, 208, 200),  // 19 inactive caption text
    RGB(255, 255, 255),  // 20 button highlight
    RGB(64, 64, 64),     // 21 3D dark shadow
    RGB(212, 208, 200),  // 22 3D light
    RGB(0, 0, 0),        // 23 info text
    RGB(255, 255, 225),  // 24 info background
    RGB(181, 181, 181),  // 25 (unused number)
    RGB(0, 0, 128),      // 26 hot light
    RGB(166, 202, 240),  // 27 gradient of the active caption
    RGB(192, 192, 192),  // 28 gradient of the inactive caption
    RGB(10, 36, 106),    // 29 menu highlight
    RGB(212, 208, 200),  // 30 menu bar
};

std::atomic<int> g_depthOverride{0};

}  // namespace

TColor ColorToRGB(TColor color) {
  if (IsSystemColor(color)) {
    const unsigned index = color & 0xFF;
    if ((color & 0x00FFFF00u) != 0 || index >= std::size(kSystemColors)) return clBlack;
    return kSystemColors[index];
  }
  return color & 0x00FFFFFFu;
}

int DisplayColorDepth() {
  if (const int forced = g_depthOverride.load()) return forced;
  if (qGuiApp != nullptr) {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) return screen->depth();
  }
  return 32;
}

void OverrideDisplayColorDepth(int bitsPerPixel) {
  g_depthOverride.store(std::max(0, bitsPerPixel));
}

void InflateRect(TRect& rect, int dx, int dy) {
  rect.Left -= dx;
  rect.Right += dx;
  rect.Top -= dy;
  rect.Bottom += dy;
}

void OffsetRect(TRect& rect, int dx, int dy) {
  rect.Left += dx;
  rect.Right += dx;
  rect.Top += dy;
  rect.Bottom += dy;
}

bool PtInRect(const TRect& rect, TPoint point) {
  return point.X >= rect.Left && point.X < rect.Right && point.Y >= rect.Top &&
         point.Y < rect.Bottom;
}

bool IsRectEmpty(const TRect& rect) { return rect.Right <= rect.Left || rect.Bottom <= rect.Top; }

bool IntersectRect(TRect& result, const TRect& a, const TRect& b) {
  TRect r{std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
          std::min(a.Bottom, b.Bottom)};
  if (IsRectEmpty(r)) {
    result = TRect{};
    return false;
  }
  result = r;
  return true;
}

bool UnionRect(TRect& result, const TRect& a, const TRect& b) {
  const bool emptyA = IsRectEmpty(a);
  const bool emptyB = IsRectEmpty(b);
  if (emptyA && emptyB) {
    result = TRect{};
    return false;
  }
  if (emptyA) {
    result = b;
  } else if (emptyB) {
    result = a;
  } else {
    result = TRect{std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
                   std::max(a.Bottom, b.Bottom)};
  }
  return true;
}
