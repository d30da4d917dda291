// Gradient fills and transparency helpers of the widget kit. Gradients are painted into an
// off-screen bitmap in solid bands (one fill per run of equal colour) and replicated by
// copying: ramps in 8-pixel strips tiled by doubling, boxes as one quarter mirrored.
#pragma once

#include <cstdint>

#include "platform/gui/Controls.h"
#include "platform/gui/Graphics.h"
#include "widgets/WkLook.h"

void PaintGradient(TCanvas& canvas, const TRect& rect, TGradientDirection direction,
                   TColor startColor, TColor stopColor, std::uint8_t colorSteps = 1);
// The gradient in the 2-pixel ring inside rect; nothing on a display of 256 colours or fewer.
// The caller's clip is kept.
void PaintGradientBorder(TCanvas& canvas, const TRect& rect, TGradientDirection direction,
                         TColor startColor, TColor stopColor);

// Workers of PaintGradient, on the canvas of a bitmap whose top-left is the gradient's.
// A ramp along the y axis (alongY) or the x axis over [0, extent), `crossExtent` wide; with a
// split in [0, extent) the start colour lies at both ends and the stop colour at the split,
// with split < 0 start at 0 and stop at the far end.
void PaintLinearGradient(TCanvas& canvas, bool alongY, int split, int extent, int crossExtent,
                         TColor startColor, TColor stopColor, std::uint8_t colorSteps);
// The top-left quarter of a box gradient: stop colour in the centre (and the inset bar), start
// colour at the outer edges.
void PaintBoxGradient(TCanvas& canvas, int width, int height, int insetX, int insetY,
                      TColor startColor, TColor stopColor, std::uint8_t colorSteps);
// Bands parallel to the diagonal from the bottom-left (start) to the top-right (stop); a
// negative width mirrors it: bottom-right stop, top-left start.
void PaintDiagonalGradient(TCanvas& canvas, int width, int height, TColor startColor,
                           TColor stopColor, std::uint8_t colorSteps);
// Repeats the painted doneW x doneH block at (x, y) until it covers totalW x totalH.
void TileBlt(TCanvas& canvas, int x, int y, int doneW, int doneH, int totalW, int totalH);
// Completes a box from its top-left quarter: flipped down, then the left half mirrored right.
void MirrorBlt(TCanvas& canvas, int x, int y, int width, int height);

// Draws what lies behind the control (its parent's own painting) into the canvas, whose
// logical (0, 0) is the control's top-left.
void DrawParentImageCanvas(TControl* control, TCanvas& canvas, bool invalidateParent);
// The source part of the bitmap stretched into dest, leaving pixels of the transparent colour
// as they were.
void TransparentStretchDraw(TCanvas& canvas, const TRect& dest, TBitmap& bitmap,
                            const TRect& sourceRect, TColor transparentColor);
