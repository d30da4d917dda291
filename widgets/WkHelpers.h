// Small helpers of the kit: rectangles, fonts, accelerator texts, monitors, transparency.
#pragma once

#include <string>

#include "platform/gui/Controls.h"
#include "platform/gui/Graphics.h"

// Controls that can leave their background unpainted say so here.
class IWkTransparentControl {
 public:
  virtual ~IWkTransparentControl() = default;
  virtual bool IsTransparent() const = 0;
};
// Invalidates each child of `parent` that is transparent.
void CheckTransparentChildren(TWinControl* parent);

TRect CenterRect(const TRect& rect, int width, int height);
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
