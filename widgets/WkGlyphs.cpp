// Small pixel-drawn glyphs: the drop-down arrow, scroll arrows and the close cross.
#include "widgets/WkGlyphs.h"

#include "platform/gui/Themes.h"
#include "widgets/WkColors.h"

namespace {

// The glyph colour: shadow when disabled, black in the classic look; the themed look takes a
// pixel of the themed drop-down button, falling back to the dark shadow when that pixel would
// not stand out against the window colour (as it does whenever themes are off).
TColor GlyphColor(TWkVisualStyle style, bool enabled) {
  if (!enabled) return clBtnShadow;
  if (style != vsWinXP) return clBlack;
  TBitmap sample(17, 21);
  sample.Canvas().Brush().SetColor(clWhite);
  sample.Canvas().FillRect(Rect(0, 0, 17, 21));
  ThemeServices().DrawElement(sample.Canvas(), TThemedElement::ComboDropDownButton, 0,
                              Rect(0, 0, 17, 21));
  const TColor c = sample.PixelColor(8, 10);
  return SimilarColors(c, clWindow) ? cl3DDkShadow : c;
}

TPoint GlyphCentre(const TRect& r) {
  const int h = r.Bottom - r.Top;
  return Point(r.Left + (r.Right - r.Left) / 2, r.Top + h / 2 - (h % 2 == 0 ? 1 : 0));
}

void Row(TCanvas& canvas, int x1, int x2, int y, TColor c) {
  for (int x = x1; x <= x2; ++x) canvas.SetPixel(x, y, c);
}
void Column(TCanvas& canvas, int x, int y1, int y2, TColor c) {
  for (int y = y1; y <= y2; ++y) canvas.SetPixel(x, y, c);
}

// A filled polygon with a clear pen; pen and brush come back as they were.
void FillPolygon(TCanvas& canvas, const std::vector<TPoint>& points, TColor c) {
  const int saved = canvas.SaveState();
  canvas.Pen().SetStyle(psClear);
  canvas.Brush().SetColor(c);
  canvas.Polygon(points);
  canvas.RestoreState(saved);
}

}  // namespace

void DrawDropDownArrow(TCanvas& canvas, const TRect& rect, TWkVisualStyle style, bool enabled,
                       bool down) {
  const TColor c = GlyphColor(style, enabled);
  TPoint p = GlyphCentre(rect);
  p.Y += style == vsWinXP ? 4 : 2;
  if (down) ++p.X, ++p.Y;
  const int x = p.X, y = p.Y;
  if (style == vsWinXP) {
    FillPolygon(
        canvas,
        {{x, y}, {x - 4, y - 5}, {x - 3, y - 7}, {x, y - 3}, {x + 3, y - 7}, {x + 5, y - 5}}, c);
    return;
  }
  for (int i = 0; i < 4; ++i) Row(canvas, x - i, x + i, y - i, c);
}

void DrawArrow(TCanvas& canvas, const TRect& rect, int direction, TWkVisualStyle style,
               bool enabled, bool down) {
  const TColor c = GlyphColor(style, enabled);
  TPoint p = GlyphCentre(rect);
  const bool xp = style == vsWinXP;
  switch (direction) {
    case 0:
      p.Y += xp ? 4 : 1;
      break;
    case 1:
      p.Y += xp ? 2 : 1;
      break;
    case 2:
      p.X -= xp ? 1 : 2;
      break;
    default:
      p.X -= xp ? 3 : 2;
      break;
  }
  if (down && enabled) ++p.X, ++p.Y;
  const int x = p.X, y = p.Y;
  if (xp) {
    switch (direction) {
      case 0:
        FillPolygon(canvas,
                    {{x, y - 5}, {x + 4, y}, {x + 1, y}, {x, y - 2}, {x - 1, y}, {x - 4, y}}, c);
        break;
      case 1:
        FillPolygon(
            canvas,
            {{x, y}, {x - 3, y - 4}, {x, y - 4}, {x, y - 3}, {x + 1, y - 4}, {x + 4, y - 4}}, c);
        break;
      case 2:
        FillPolygon(
            canvas,
            {{x, y}, {x + 4, y - 4}, {x + 4, y - 1}, {x + 3, y}, {x + 4, y + 1}, {x + 4, y + 4}},
            c);
        break;
      default:
        FillPolygon(canvas,
                    {{x + 4, y}, {x, y + 4}, {x, y + 1}, {x + 1, y}, {x, y - 1}, {x, y - 4}}, c);
        break;
    }
    return;
  }
  for (int i = 0; i < 4; ++i) {
    switch (direction) {
      case 0:
        Row(canvas, x - i, x + i, y - 3 + i, c);
        break;
      case 1:
        Row(canvas, x - i, x + i, y - i, c);
        break;
      case 2:
        Column(canvas, x + i, y - i, y + i, c);
        break;
      default:
        Column(canvas, x + 3 - i, y - i, y + i, c);
        break;
    }
  }
}

void DrawCloseGlyph(TCanvas& canvas, const TRect& rect, TWkVisualStyle style, bool enabled,
                    bool down) {
  const TColor c = GlyphColor(style, enabled);
  TPoint p = GlyphCentre(rect);
  if (down && enabled) ++p.X, ++p.Y;
  const int x = p.X, y = p.Y;
  FillPolygon(canvas,
              {{x, y - 1},
               {x + 3, y - 4},
               {x + 5, y - 4},
               {x + 5, y - 3},
               {x + 2, y},
               {x + 5, y + 4},
               {x + 5, y + 5},
               {x + 3, y + 5},
               {x, y + 1},
               {x - 3, y + 5},
               {x - 4, y + 5},
               {x - 4, y + 3},
               {x - 1, y},
               {x - 4, y - 3},
               {x - 4, y - 4},
               {x - 3, y - 5}},
              c);
}
