// Small helpers of the kit: rectangles, fonts, accelerator texts, monitors, transparency.
#pragma once

#include <string>

#include "platform/gui/Controls.h"
#include "platform/gui/Graphics.h"
#include "platform/gui/StdCtrls.h"

// Controls that can leave their background unpainted say so here.
class IWkTransparentControl {
 public:
  virtual ~IWkTransparentControl() = default;
  virtual bool IsTransparent() const = 0;
};
// Invalidates each child of `parent` that is transparent.
void CheckTransparentChildren(TWinControl* parent);

TRect CenterRect(const TRect& rect, int width, int height);
// Where a rectangle laid out left to right lies on screen: right to left (mirrored alignment)
// its mirror image across the control's client rectangle, the same size and as far from the
// right edge as it was from the left. Mirroring twice gives it back. Light still falls from
// the top left, so bevels and pressed offsets do not mirror.
TRect VisualRect(const TControl& control, const TRect& logical);
// The alignment as shown: right to left, left and right trade places; centred stays.
TAlignment VisualAlignment(const TControl& control, TAlignment alignment);
// A copy of the font turned by `angle` tenths of a degree.
TFont CreateRotatedFont(const TFont& font, int angle);
// Every face the desktop draws with is an outline face.
bool IsTrueTypeFont(const TFont& font);
// "&&" becomes "&", a lone "&" is removed.
std::string StripAccelChars(const std::string& text);
inline int MinInt(int a, int b) { return a < b ? a : b; }
inline int MaxInt(int a, int b) { return a > b ? a : b; }
// Width of the work area of the monitor that holds the control's centre.
int MonitorWorkAreaWidth(TControl* control);
TRect GetMonitorWorkArea(TPoint screenPoint);
