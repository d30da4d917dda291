// Small pixel-drawn glyphs: the drop-down arrow, scroll arrows and the close cross.
#pragma once

#include "platform/gui/Graphics.h"
#include "widgets/WkLook.h"

void DrawDropDownArrow(TCanvas& canvas, const TRect& rect, TWkVisualStyle style, bool enabled,
                       bool down);
// Direction 0 up, 1 down, 2 left, 3 right.
void DrawArrow(TCanvas& canvas, const TRect& rect, int direction, TWkVisualStyle style,
               bool enabled, bool down);
void DrawCloseGlyph(TCanvas& canvas, const TRect& rect, TWkVisualStyle style, bool enabled,
                    bool down);
