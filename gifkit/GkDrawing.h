// The GIF kit's bitmap helpers: reduction of a bitmap to a palette BMP, transparent drawing,
// and the small colour helper the animator uses.
#pragma once

#include <memory>

#include "gifkit/ColorMapping.h"
#include "platform/Classes.h"
#include "platform/gui/Controls.h"
#include "platform/gui/Graphics.h"

// A complete BMP file of the bitmap at 1, 4, 8 or 24 bits per pixel, positioned at its start.
// 8 bits map the pixels by the method; 1 and 4 bits take the platform's conversion. Raises
// EInvalidGraphic "Bitmap image is not valid" for an empty bitmap; another target shows
// "Function not yet implemented" and aborts silently.
std::unique_ptr<TMemoryStream> ConvertBitmapPixelFormat(TBitmap& bitmap, TPixelFormat target,
                                                        TMappingMethod method);

// Draws the source rectangle of the bitmap stretched to (left, top, width, height) leaving
// pixels of the transparent colour out. Sizes below 1 take the bitmap's; clNone draws
// everything; clDefault takes the bottom-left pixel; a monochrome bitmap always leaves white
// out.
void DrawBitmapTransparent(TCanvas& canvas, int left, int top, TBitmap& bitmap,
                           TColor transparentColor, TRect source, int width, int height);

// Paints what lies behind the control into `canvas` (the control's top-left at logical 0, 0):
// its parent, clipped to the parent's client area, then every visible sibling before it in
// the parent's list that overlaps it. Nothing without a parent.
void DrawParentImage(TControl* control, TCanvas& canvas);

// Resets the cursor, tells the user the function is missing, and aborts the operation.
[[noreturn]] void ShowNotImplemented();

// The colour resolved to RGB and flagged palette-relative.
inline TColor ToPaletteColor(TColor color) { return ColorToRGB(color) | clPaletteRelative; }
