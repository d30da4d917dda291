// Two-colour gradients in ten shapes, the gradient border, and the transparency helpers.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "platform/gui/CustomControl.h"
#include "platform/gui/Forms.h"
#include "widgets/WkColors.h"
#include "widgets/WkGrafx.h"

namespace {

// A colour walk in 16.16 fixed point from `from` toward `to` in `steps` equal steps.
class ColorWalk {
 public:
  ColorWalk(TColor from, TColor to, int steps) {
    const TColor a = ColorToRGB(from), b = ColorToRGB(to);
    const int ca[3] = {GetRValue(a), GetGValue(a), GetBValue(a)};
    const int cb[3] = {GetRValue(b), GetGValue(b), GetBValue(b)};
    for (int i = 0; i < 3; ++i) {
      base_[i] = static_cast<long long>(ca[i]) << 16;
      delta_[i] = ((static_cast<long long>(cb[i]) << 16) - base_[i]) / std::max(steps, 1);
    }
  }
  TColor At(int step) const {
    int c[3];
    for (int i = 0; i < 3; ++i) c[i] = static_cast<int>((base_[i] + step * delta_[i]) >> 16);
    return RGB(c[0], c[1], c[2]);
  }

 private:
  long long base_[3];
  long long delta_[3];
};

// Pixels a band covers at least (the band also ends only where the colour changes).
int MinBand(std::uint8_t colorSteps) {
  int s = colorSteps;
  if (s > 8) s = 255 / s + 1;
  return std::max(s - 1, 0) + 1;
}

void Fill(TCanvas& canvas, const TRect& r, TColor c) {
  if (r.Right <= r.Left || r.Bottom <= r.Top) return;
  canvas.Brush().SetColor(c);
  canvas.FillRect(r);
}

// One pass of a ramp: positions `from` to `to` (both painted), `from` in colour a exactly,
// moving toward b by one 1/N step per pixel, in bands of equal colour.
void RampPass(TCanvas& canvas, bool alongY, int from, int to, int cross, TColor a, TColor b,
              std::uint8_t colorSteps) {
  const int dir = to >= from ? 1 : -1;
  const int n = std::abs(to - from) + 1;
  const ColorWalk walk(a, b, n);
  const int minBand = MinBand(colorSteps);
  int bandStart = 0;
  TColor bandColor = walk.At(0);
  for (int i = 1; i <= n; ++i) {
    const bool last = i == n;
    const TColor c = last ? bandColor : walk.At(i);
    if (!last && (c == bandColor || i - bandStart < minBand)) continue;
    const int p1 = from + bandStart * dir, p2 = from + (i - 1) * dir;
    const int lo = std::min(p1, p2), hi = std::max(p1, p2) + 1;
    Fill(canvas, alongY ? Rect(0, lo, cross, hi) : Rect(lo, 0, hi, cross), bandColor);
    bandStart = i;
    bandColor = c;
  }
}

}  // namespace

void PaintLinearGradient(TCanvas& canvas, bool alongY, int split, int extent, int crossExtent,
                         TColor startColor, TColor stopColor, std::uint8_t colorSteps) {
  if (extent <= 0 || crossExtent <= 0) return;
  const int strip = std::min(8, crossExtent);
  // The far end of the first pass gets the stop colour exactly; the start colour is reached
  // within one step at the other end (and exactly at the far end of a centred ramp).
  if (split < 0 || split >= extent) {
    RampPass(canvas, alongY, extent - 1, 0, strip, stopColor, startColor, colorSteps);
  } else {
    RampPass(canvas, alongY, split, 0, strip, stopColor, startColor, colorSteps);
    if (split + 1 <= extent - 1)
      RampPass(canvas, alongY, extent - 1, split + 1, strip, startColor, stopColor, colorSteps);
  }
  if (alongY)
    TileBlt(canvas, 0, 0, strip, extent, crossExtent, extent);
  else
    TileBlt(canvas, 0, 0, extent, strip, extent, crossExtent);
}

void TileBlt(TCanvas& canvas, int x, int y, int doneW, int doneH, int totalW, int totalH) {
  if (doneW <= 0 || doneH <= 0) return;
  while (doneW < totalW) {
    const int w = std::min(doneW, totalW - doneW);
    canvas.CopyRect(Bounds(x + doneW, y, w, doneH), canvas, Bounds(x, y, w, doneH));
    doneW += w;
  }
  while (doneH < totalH) {
    const int h = std::min(doneH, totalH - doneH);
    canvas.CopyRect(Bounds(x, y + doneH, totalW, h), canvas, Bounds(x, y, totalW, h));
    doneH += h;
  }
}

void MirrorBlt(TCanvas& canvas, int x, int y, int width, int height) {
  const int qw = ((width - 1) >> 1) + 1, qh = ((height - 1) >> 1) + 1;
  const int lowRows = height - qh, rightCols = width - qw;
  if (lowRows > 0)
    canvas.CopyRect(Rect(x, y + height, x + qw, y + qh), canvas, Rect(x, y, x + qw, y + lowRows));
  if (rightCols > 0)
    canvas.CopyRect(Rect(x + width, y, x + qw, y + height), canvas,
                    Rect(x, y, x + rightCols, y + height));
}

void PaintBoxGradient(TCanvas& canvas, int width, int height, int insetX, int insetY,
                      TColor startColor, TColor stopColor, std::uint8_t colorSteps) {
  const int hw = (width - 1) >> 1, hh = (height - 1) >> 1;
  if (ColorToRGB(startColor) == ColorToRGB(stopColor) || width < 5 || height < 5) {
    Fill(canvas, Rect(0, 0, hw + 1, hh + 1), startColor);
    return;
  }
  const int x0 = std::max(hw - insetX, 0), y0 = std::max(hh - insetY, 0);
  const int n = std::max(x0, y0) + 1;
  // The corner walks from (x0, y0) to (0, 0) while the colour walks from stop to start, both
  // in n - 1 steps, so the centre is the stop colour and the outer edge the start colour.
  const long long dx = (static_cast<long long>(x0) << 16) / (n - 1);
  const long long dy = (static_cast<long long>(y0) << 16) / (n - 1);
  const ColorWalk walk(stopColor, startColor, n - 1);
  const int minBand = MinBand(colorSteps);
  int prevX = hw + 1, prevY = hh + 1;  // the corner the current band started from
  int bandSteps = 0;
  for (int k = 0; k < n; ++k) {
    const bool last = k == n - 1;
    const int x = last ? 0 : static_cast<int>(((static_cast<long long>(x0) << 16) - k * dx) >> 16);
    const int y = last ? 0 : static_cast<int>(((static_cast<long long>(y0) << 16) - k * dy) >> 16);
    const TColor c = last ? ColorToRGB(startColor) : walk.At(k);
    ++bandSteps;
    const TColor next = last ? c : (k + 1 == n - 1 ? ColorToRGB(startColor) : walk.At(k + 1));
    if (!last && next == c) continue;
    if (!last && bandSteps < minBand) continue;
    Fill(canvas, Rect(x, y, hw + 1, prevY), c);
    Fill(canvas, Rect(x, prevY, prevX, hh + 1), c);
    prevX = x;
    prevY = y;
    bandSteps = 0;
  }
}

void PaintDiagonalGradient(TCanvas& canvas, int width, int height, TColor startColor,
                           TColor stopColor, std::uint8_t colorSteps) {
  (void)colorSteps;  // every band is one colour step; they never merge along a diagonal
  const bool mirror = width < 0;
  const int w = std::abs(width), h = height;
  if (w == 0 || h == 0) return;
  const TColor a = mirror ? stopColor : startColor, b = mirror ? startColor : stopColor;
  const int n = static_cast<int>(std::nearbyint(std::sqrt(double(w) * w + double(h) * h))) + 1;
  const int m = std::max(n / 2, 1);
  const ColorWalk walk(a, b, n);
  const auto X = [&](int x) { return mirror ? w - x : x; };
  // Position k of m along a side of the given length, rounded.
  const auto along = [m](int length, int k) {
    return static_cast<int>((static_cast<long long>(length) * k * 2 + m) / (2 * m));
  };
  canvas.Brush().SetColor(a);
  canvas.FillRect(Rect(0, 0, w, h));
  canvas.Pen().SetStyle(psClear);
  // A band runs from its edge to one pixel past the next edge; the next band paints over that
  // pixel, so no seam shows between bands.
  for (int k = 0; k < m; ++k) {  // from the bottom corner up to the diagonal
    canvas.Brush().SetColor(walk.At(k));
    const int x1 = along(w, k), x2 = along(w, k + 1) + 1;
    const int y1 = h - along(h, k), y2 = h - along(h, k + 1) - 1;
    canvas.Polygon({{X(x1), h}, {X(x2), h}, {X(0), y2}, {X(0), y1}});
  }
  for (int k = 0; k < m; ++k) {  // beyond the diagonal to the far corner
    canvas.Brush().SetColor(walk.At(m + k));
    const int x1 = along(w, k), x2 = along(w, k + 1) + 1;
    const int y1 = h - along(h, k), y2 = h - along(h, k + 1) - 1;
    canvas.Polygon({{X(x1), 0}, {X(x2), 0}, {X(w), y2}, {X(w), y1}});
  }
}

void PaintGradient(TCanvas& canvas, const TRect& rect, TGradientDirection direction,
                   TColor startColor, TColor stopColor, std::uint8_t colorSteps) {
  const TColor start = ColorToRGB(startColor), stop = ColorToRGB(stopColor);
  const int w = std::abs(rect.Right - rect.Left), h = std::abs(rect.Bottom - rect.Top);
  if (w == 0 || h == 0) return;
  TBitmap bitmap(w, h);
  TCanvas& c = bitmap.Canvas();
  c.Pen().SetWidth(1);
  c.Pen().SetStyle(psClear);
  c.Pen().SetMode(pmCopy);
  c.Brush().SetStyle(bsSolid);
  switch (direction) {
    case gdDiagonalUp:
    case gdDiagonalDown:
      if (start == stop)
        Fill(c, Rect(0, 0, w, h), start);
      else
        PaintDiagonalGradient(c, direction == gdDiagonalDown ? -w : w, h, start, stop, colorSteps);
      break;
    case gdHorizontalEnd:
      PaintLinearGradient(c, true, -1, h, w, start, stop, colorSteps);
      break;
    case gdHorizontalCenter:
      PaintLinearGradient(c, true, h / 2, h, w, start, stop, colorSteps);
      break;
    case gdVerticalEnd:
      PaintLinearGradient(c, false, -1, w, h, start, stop, colorSteps);
      break;
    case gdVerticalCenter:
      PaintLinearGradient(c, false, w / 2, w, h, start, stop, colorSteps);
      break;
    case gdHorizontalBox:
      Fill(c, Rect(0, 0, w, h), start);
      PaintBoxGradient(c, w, h, w / 4, 0, start, stop, colorSteps);
      MirrorBlt(c, 0, 0, w, h);
      break;
    case gdVerticalBox:
      PaintBoxGradient(c, w, h, 0, h / 4, start, stop, colorSteps);
      MirrorBlt(c, 0, 0, w, h);
      break;
    case gdSquareBox:
      Fill(c, Rect(0, 0, w, h), start);
      PaintBoxGradient(c, w, h, 0, 0, start, stop, colorSteps);
      MirrorBlt(c, 0, 0, w, h);
      break;
    case gdBigSquareBox:
      PaintBoxGradient(c, w, h, w / 4, h / 4, start, stop, colorSteps);
      MirrorBlt(c, 0, 0, w, h);
      break;
  }
  canvas.Draw(rect.Left, rect.Top, bitmap);
}

void PaintGradientBorder(TCanvas& canvas, const TRect& rect, TGradientDirection direction,
                         TColor startColor, TColor stopColor) {
  if (!HighColorDisplay) return;
  const int saved = canvas.SaveState();
  canvas.ExcludeClipRect(Rect(rect.Left + 2, rect.Top + 2, rect.Right - 2, rect.Bottom - 2));
  PaintGradient(canvas, rect, direction, startColor, stopColor, 1);
  canvas.RestoreState(saved);
}

void DrawParentImageCanvas(TControl* control, TCanvas& canvas, bool invalidateParent) {
  TWinControl* parent = control != nullptr ? control->Parent() : nullptr;
  if (parent == nullptr) return;
  const int saved = canvas.SaveState();
  canvas.MoveOrigin(-control->Left(), -control->Top());
  canvas.IntersectClipRect(Rect(0, 0, parent->ClientWidth(), parent->ClientHeight()));
  PaintControlTo(parent, canvas);
  canvas.RestoreState(saved);
  if (invalidateParent && dynamic_cast<TCustomControl*>(parent) == nullptr &&
      dynamic_cast<TForm*>(parent) == nullptr)
    parent->Invalidate();
}

void TransparentStretchDraw(TCanvas& canvas, const TRect& dest, TBitmap& bitmap,
                            const TRect& sourceRect, TColor transparentColor) {
  const int w = dest.Right - dest.Left, h = dest.Bottom - dest.Top;
  if (w <= 0 || h <= 0 || bitmap.Empty()) return;
  TBitmap work(w, h);
  work.Canvas().CopyRect(Rect(0, 0, w, h), bitmap.Canvas(), sourceRect);
  work.SetTransparentColor(transparentColor);
  work.SetTransparent(true);
  canvas.Draw(dest.Left, dest.Top, work);
}
