// Sides, bevels and frames in the kit's frame styles, and the panel family's border painter.
// Each helper returns the rectangle inside what it drew and paints nothing outside the one it
// was given.
#pragma once

#include "platform/gui/Controls.h"
#include "platform/gui/Graphics.h"
#include "widgets/WkLook.h"

TRect DrawSides(TCanvas& canvas, TRect rect, TColor ulColor, TSides sides, TColor lrColor);
TRect DrawSidesWidth(TCanvas& canvas, TRect rect, TColor ulColor, TSides sides, int width,
                     TColor lrColor);
TRect DrawBevel(TCanvas& canvas, const TRect& rect, bool lowered, TSides sides = AllSides);
TRect DrawButtonBevel(TCanvas& canvas, const TRect& rect, bool down, TSides sides = AllSides);
TRect DrawColorSides(TCanvas& canvas, const TRect& rect, TColor color, TSides sides, bool down);
TRect DrawColorSides(TCanvas& canvas, const TRect& rect, TColor color, bool down);
TRect DrawFrame(TCanvas& canvas, const TRect& rect, TFrameStyle style);
TRect DrawFrameSides(TCanvas& canvas, const TRect& rect, TFrameStyle style, TSides sides);
TRect DrawColorFrame(TCanvas& canvas, const TRect& rect, TColor color, TFrameStyle style);
TRect DrawColorFrameSides(TCanvas& canvas, const TRect& rect, TColor color, TSides sides,
                          TFrameStyle style);
TRect DrawBox(TCanvas& canvas, const TRect& rect, TColor color);
TRect DrawCornerBrackets(TCanvas& canvas, const TRect& rect, TColor color, int length);
TRect DrawDottedBox(TCanvas& canvas, const TRect& rect);
TRect DrawRoundedSides(TCanvas& canvas, const TRect& rect, TColor color, TSides sides);
// Four one-pixel sides that stop one pixel short of each corner; the rectangle inside.
TRect DrawCutCornerSides(TCanvas& canvas, const TRect& rect, TColor color);
// The framed edit's and combo box's frame over (0, 0, width, height).
void DrawEditFrame(TCanvas& canvas, int width, int height, bool themed, TSides sides,
                   TColor frameColor, TColor color, TFrameStyle style);

// The panel family's border settings, passed to one painter.
struct TWkBorderLook {
  TFrameStyleEx BorderOuter = fsRaised;
  TFrameStyleEx BorderInner = fsNone;
  int BorderWidth = 0;
  TSides Sides = AllSides;
  int BevelWidth = 1;
  TColor BorderColor = clBtnFace;
  TColor BorderHighlight = clBtnHighlight;
  TColor BorderShadow = clBtnShadow;
  TColor FlatColor = clBtnShadow;
  int FlatColorAdjustment = 30;
  TColor Color = clBtnFace;
  TColor ParentColor = clBtnFace;
  bool Transparent = false;
  bool CutCorners = false;
};
TRect DrawInnerOuterBorders(TCanvas& canvas, const TRect& rect, const TWkBorderLook& look);

// Invalidates the area of the control when any of it shows.
void RedrawFrameArea(TControl* control, const TRect& rect);
