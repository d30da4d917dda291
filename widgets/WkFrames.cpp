// Sides, bevels and frames in the kit's frame styles. Every routine returns the rectangle
// inside what it drew, so frames nest by feeding one result into the next call.
#include "widgets/WkFrames.h"

#include "widgets/WkColors.h"
#include "widgets/WkHelpers.h"

namespace {

struct ColorPair {
  TColor UL, LR;
};

// Frame-style table for the one-ring and etched styles.
ColorPair StyleColors(TFrameStyle style) {
  switch (style) {
    case fsFlat:
      return {cl3DDkShadow, cl3DDkShadow};
    case fsGroove:
    case fsStatus:
      return {clBtnShadow, clBtnHighlight};
    case fsBump:
    case fsPopup:
      return {clBtnHighlight, clBtnShadow};
    case fsFlatBold:
      return {clBtnShadow, clBtnShadow};
    default:
      return {clWindow, clWindow};
  }
}

// Lines and pixels kept to the rectangle a helper was given. A side of a rectangle too small
// for it, or one that runs backwards, paints nothing rather than outside it; a rectangle of no
// area (empty or inverted) takes no pixel at all.
class TBoundedPen {
 public:
  TBoundedPen(TCanvas& canvas, const TRect& bounds) : canvas_(canvas), b_(bounds) {}
  // [x1, x2) on row y, in the pen colour.
  void HLine(int x1, int x2, int y) {
    x1 = MaxInt(x1, b_.Left);
    x2 = MinInt(x2, b_.Right);
    if (x1 >= x2 || y < b_.Top || y >= b_.Bottom) return;
    canvas_.MoveTo(x1, y);
    canvas_.LineTo(x2, y);
  }
  // [y1, y2) in column x, in the pen colour.
  void VLine(int x, int y1, int y2) {
    y1 = MaxInt(y1, b_.Top);
    y2 = MinInt(y2, b_.Bottom);
    if (y1 >= y2 || x < b_.Left || x >= b_.Right) return;
    canvas_.MoveTo(x, y1);
    canvas_.LineTo(x, y2);
  }
  void Pixel(int x, int y, TColor color) {
    if (x >= b_.Left && x < b_.Right && y >= b_.Top && y < b_.Bottom) canvas_.SetPixel(x, y, color);
  }
  void SetColor(TColor color) { canvas_.Pen().SetColor(color); }

 private:
  TCanvas& canvas_;
  const TRect b_;
};

// Two one-pixel rings: outer, then inner.
TRect TwoRings(TCanvas& canvas, const TRect& rect, TSides sides, ColorPair outer, ColorPair inner) {
  const TRect r = DrawSides(canvas, rect, outer.UL, sides, outer.LR);
  return DrawSides(canvas, r, inner.UL, sides, inner.LR);
}

TRect Shrunk(TRect r, TSides sides, int by) {
  if (HasSide(sides, sdLeft)) r.Left += by;
  if (HasSide(sides, sdTop)) r.Top += by;
  if (HasSide(sides, sdRight)) r.Right -= by;
  if (HasSide(sides, sdBottom)) r.Bottom -= by;
  return r;
}

// Groove and bump: corner pixels, then the LR pass one pixel right and down of the UL pass.
TRect Etched(TCanvas& canvas, const TRect& r, TSides sides, TColor ul, TColor lr) {
  const bool left = HasSide(sides, sdLeft), top = HasSide(sides, sdTop),
             right = HasSide(sides, sdRight), bottom = HasSide(sides, sdBottom);
  TBoundedPen pen(canvas, r);
  if (right) pen.Pixel(r.Right - 1, r.Top, lr);
  if (top && !right) pen.Pixel(r.Right - 1, r.Top, ul);
  if (bottom) pen.Pixel(r.Left, r.Bottom - 1, lr);
  if (left && !bottom) pen.Pixel(r.Left, r.Bottom - 1, ul);
  if (top && !left) pen.Pixel(r.Left, r.Top + 1, lr);
  if (left && !top) pen.Pixel(r.Left + 1, r.Top, lr);
  if (bottom && !right) pen.Pixel(r.Right - 1, r.Bottom - 2, ul);
  if (right && !bottom) pen.Pixel(r.Right - 2, r.Bottom - 1, ul);
  DrawSides(canvas, Rect(r.Left + 1, r.Top + 1, r.Right, r.Bottom), lr, sides, lr);
  DrawSides(canvas, Rect(r.Left, r.Top, r.Right - 1, r.Bottom - 1), ul, sides, ul);
  return Shrunk(r, sides, 2);
}

}  // namespace

TRect DrawSides(TCanvas& canvas, TRect rect, TColor ulColor, TSides sides, TColor lrColor) {
  const TRect& r = rect;
  TBoundedPen pen(canvas, r);
  if (ulColor != clNone) {
    pen.SetColor(ulColor);
    if (HasSide(sides, sdLeft)) pen.VLine(r.Left, r.Top, r.Bottom);
    if (HasSide(sides, sdTop)) pen.HLine(r.Left, r.Right, r.Top);
  }
  if (lrColor != clNone) {
    pen.SetColor(lrColor);
    if (HasSide(sides, sdRight)) pen.VLine(r.Right - 1, r.Top, r.Bottom);
    if (HasSide(sides, sdBottom)) pen.HLine(r.Left, r.Right, r.Bottom - 1);
  }
  return Shrunk(rect, sides, 1);
}

TRect DrawSidesWidth(TCanvas& canvas, TRect rect, TColor ulColor, TSides sides, int width,
                     TColor lrColor) {
  canvas.Pen().SetWidth(1);
  for (int i = 0; i < width; ++i) rect = DrawSides(canvas, rect, ulColor, sides, lrColor);
  return rect;
}

TRect DrawBevel(TCanvas& canvas, const TRect& rect, bool lowered, TSides sides) {
  if (lowered)
    return TwoRings(canvas, rect, sides, {clBtnShadow, clBtnHighlight}, {cl3DDkShadow, cl3DLight});
  return TwoRings(canvas, rect, sides, {cl3DLight, cl3DDkShadow}, {clBtnHighlight, clBtnShadow});
}

TRect DrawButtonBevel(TCanvas& canvas, const TRect& rect, bool down, TSides sides) {
  if (down)
    return TwoRings(canvas, rect, sides, {clBtnText, clBtnText}, {clBtnShadow, clBtnShadow});
  return TwoRings(canvas, rect, sides, {clBtnHighlight, cl3DDkShadow}, {cl3DLight, clBtnShadow});
}

TRect DrawColorSides(TCanvas& canvas, const TRect& rect, TColor color, TSides sides, bool down) {
  const TColor d100 = DarkerColor(color, 100), d50 = DarkerColor(color, 50);
  if (down) return TwoRings(canvas, rect, sides, {d100, d100}, {d50, d50});
  return TwoRings(canvas, rect, sides, {LighterColor(color, 100), d100},
                  {LighterColor(color, 40), d50});
}

TRect DrawColorSides(TCanvas& canvas, const TRect& rect, TColor color, bool down) {
  return DrawColorSides(canvas, rect, color, AllSides, down);
}

TRect DrawFrame(TCanvas& canvas, const TRect& rect, TFrameStyle style) {
  return DrawFrameSides(canvas, rect, style, AllSides);
}

TRect DrawFrameSides(TCanvas& canvas, const TRect& rect, TFrameStyle style, TSides sides) {
  const ColorPair c = StyleColors(style);
  switch (style) {
    case fsFlat:
    case fsStatus:
    case fsPopup:
      return DrawSides(canvas, rect, c.UL, sides, c.LR);
    case fsFlatBold:
      return DrawSidesWidth(canvas, rect, c.UL, sides, 2, c.LR);
    case fsLowered:
    case fsRaised:
      return DrawBevel(canvas, rect, style == fsLowered, sides);
    case fsButtonDown:
    case fsButtonUp:
      return DrawButtonBevel(canvas, rect, style == fsButtonDown, sides);
    case fsGroove:
    case fsBump:
      return Etched(canvas, rect, sides, c.UL, c.LR);
    default:  // fsNone; fsFlatRounded is drawn by the controls that offer it
      return rect;
  }
}

TRect DrawColorFrame(TCanvas& canvas, const TRect& rect, TColor color, TFrameStyle style) {
  return DrawColorFrameSides(canvas, rect, color, AllSides, style);
}

TRect DrawColorFrameSides(TCanvas& canvas, const TRect& rect, TColor color, TSides sides,
                          TFrameStyle style) {
  if (style == fsNone || style == fsFlatRounded) return rect;
  if (style == fsButtonDown || style == fsButtonUp)
    return DrawColorSides(canvas, rect, color, sides, style == fsButtonDown);
  const TColor d50 = DarkerColor(color, 50), d100 = DarkerColor(color, 100);
  const TColor l50 = LighterColor(color, 50), l100 = LighterColor(color, 100);
  switch (style) {
    case fsFlat:
      return DrawSides(canvas, rect, d50, sides, d50);
    case fsStatus:
      return DrawSides(canvas, rect, d50, sides, l100);
    case fsPopup:
      return DrawSides(canvas, rect, l100, sides, d50);
    case fsFlatBold:
      return DrawSidesWidth(canvas, rect, d50, sides, 2, d50);
    case fsLowered:
      return TwoRings(canvas, rect, sides, {d50, l100}, {d100, l50});
    case fsRaised:
      return TwoRings(canvas, rect, sides, {l50, d100}, {l100, d50});
    case fsGroove:
      return Etched(canvas, rect, sides, d50, l100);
    default:  // fsBump
      return Etched(canvas, rect, sides, l100, d50);
  }
}

TRect DrawBox(TCanvas& canvas, const TRect& rect, TColor color) {
  return DrawSides(canvas, rect, color, AllSides, color);
}

TRect DrawCornerBrackets(TCanvas& canvas, const TRect& rect, TColor color, int length) {
  // A stroke longer than its side stops at the side.
  const TRect& r = rect;
  TBoundedPen pen(canvas, r);
  pen.SetColor(color);
  pen.HLine(r.Left, r.Left + length, r.Top);
  pen.VLine(r.Left, r.Top, r.Top + length);
  pen.HLine(r.Right - length, r.Right, r.Top);
  pen.VLine(r.Right - 1, r.Top, r.Top + length);
  pen.HLine(r.Left, r.Left + length, r.Bottom - 1);
  pen.VLine(r.Left, r.Bottom - length, r.Bottom);
  pen.HLine(r.Right - length, r.Right, r.Bottom - 1);
  pen.VLine(r.Right - 1, r.Bottom - length, r.Bottom);
  return Shrunk(rect, AllSides, 1);
}

TRect DrawDottedBox(TCanvas& canvas, const TRect& rect) {
  const TRect& r = rect;
  TBoundedPen pen(canvas, r);
  for (int y = r.Top + 1; y < r.Bottom; y += 2) {
    pen.Pixel(r.Left, y, clBlack);
    pen.Pixel(r.Right - 1, y, clBlack);
  }
  for (int x = r.Left + 1; x < r.Right; x += 2) {
    pen.Pixel(x, r.Top, clBlack);
    pen.Pixel(x, r.Bottom - 1, clBlack);
  }
  return Shrunk(rect, AllSides, 1);
}

TRect DrawRoundedSides(TCanvas& canvas, const TRect& rect, TColor color, TSides sides) {
  const TRect& r = rect;
  const bool left = HasSide(sides, sdLeft), top = HasSide(sides, sdTop),
             right = HasSide(sides, sdRight), bottom = HasSide(sides, sdBottom);
  TBoundedPen pen(canvas, r);
  pen.SetColor(color);
  if (left) pen.VLine(r.Left, r.Top + (top ? 2 : 0), r.Bottom - (bottom ? 2 : 0));
  if (top) pen.HLine(r.Left + (left ? 2 : 0), r.Right - (right ? 2 : 0), r.Top);
  if (right) pen.VLine(r.Right - 1, r.Top + (top ? 2 : 0), r.Bottom - (bottom ? 2 : 0));
  if (bottom) pen.HLine(r.Left + (left ? 2 : 0), r.Right - (right ? 2 : 0), r.Bottom - 1);
  if (left && top) pen.Pixel(r.Left + 1, r.Top + 1, color);
  if (right && top) pen.Pixel(r.Right - 2, r.Top + 1, color);
  if (right && bottom) pen.Pixel(r.Right - 2, r.Bottom - 2, color);
  if (left && bottom) pen.Pixel(r.Left + 1, r.Bottom - 2, color);
  return Shrunk(rect, sides, 2);
}

TRect DrawCutCornerSides(TCanvas& canvas, const TRect& r, TColor color) {
  TBoundedPen pen(canvas, r);
  pen.SetColor(color);
  pen.VLine(r.Left, r.Top + 1, r.Bottom - 1);
  pen.HLine(r.Left + 1, r.Right - 1, r.Top);
  pen.VLine(r.Right - 1, r.Top + 1, r.Bottom - 1);
  pen.HLine(r.Left + 1, r.Right - 1, r.Bottom - 1);
  return Shrunk(r, AllSides, 1);
}

void DrawEditFrame(TCanvas& canvas, int width, int height, bool themed, TSides sides,
                   TColor frameColor, TColor color, TFrameStyle style) {
  const TRect r = Rect(0, 0, width, height);
  if (!themed) DrawSidesWidth(canvas, r, color, AllSides, 2, color);
  if (style == fsFlat)
    DrawSides(canvas, r, frameColor, sides, frameColor);
  else if (style == fsFlatBold)
    DrawSidesWidth(canvas, r, frameColor, sides, 2, frameColor);
  else if (color == clWindow)
    DrawFrameSides(canvas, r, style, sides);
  else
    DrawColorFrameSides(canvas, r, color, sides, style);
}

namespace {

// One border of the panel family (the outer or the inner one).
TRect DrawBorder(TCanvas& canvas, TRect r, TFrameStyleEx style, bool inner,
                 const TWkBorderLook& look, TColor flat) {
  const TSides sides = look.Sides;
  switch (style) {
    case fsFlat:
      if (inner && look.CutCorners) return DrawCutCornerSides(canvas, r, flat);
      return DrawSides(canvas, r, flat, sides, flat);
    case fsFlatBold:
      return DrawSidesWidth(canvas, r, flat, sides, 2, flat);
    case fsFlatRounded: {
      if (inner) {
        const TRect start = r;
        const TRect ring = DrawSides(canvas, r, look.BorderColor, sides, look.BorderColor);
        if (!look.Transparent) DrawSides(canvas, ring, look.Color, sides, look.Color);
        return DrawRoundedSides(canvas, start, flat, sides);
      }
      const bool banded = look.BorderWidth > 0 || look.BorderInner != fsNone;
      if (!look.Transparent) {
        const TRect ring = DrawSides(canvas, r, look.ParentColor, sides, look.ParentColor);
        const TColor c = banded ? look.BorderColor : look.Color;
        DrawSides(canvas, ring, c, sides, c);
      } else if (banded) {
        DrawSides(canvas, Shrunk(r, sides, 1), look.BorderColor, sides, look.BorderColor);
      }
      return DrawRoundedSides(canvas, r, flat, sides);
    }
    case fsPopup:
      return DrawSidesWidth(canvas, r, look.BorderHighlight, sides, look.BevelWidth,
                            look.BorderShadow);
    case fsStatus:
      return DrawSidesWidth(canvas, r, look.BorderShadow, sides, look.BevelWidth,
                            look.BorderHighlight);
    default:
      return DrawFrameSides(canvas, r, style, sides);
  }
}

}  // namespace

TRect DrawInnerOuterBorders(TCanvas& canvas, const TRect& rect, const TWkBorderLook& look) {
  const TColor flat = AdjustColor(look.FlatColor, look.FlatColorAdjustment);
  TRect r = DrawBorder(canvas, rect, look.BorderOuter, false, look, flat);
  if (look.BorderWidth > 0)
    r = DrawSidesWidth(canvas, r, look.BorderColor, look.Sides, look.BorderWidth, look.BorderColor);
  return DrawBorder(canvas, r, look.BorderInner, true, look, flat);
}

void RedrawFrameArea(TControl* control, const TRect& rect) {
  if (control != nullptr && control->Showing()) control->InvalidateRect(rect);
}
