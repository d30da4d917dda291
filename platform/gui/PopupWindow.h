// Pop-up windows of their own, such as hint windows: a control without a parent shown as a
// small borderless window above the others, which never takes the focus and, when asked,
// lets the mouse through to whatever lies below it.
#pragma once

#include "platform/gui/Controls.h"

struct TPopupStyle {
  bool TopMost = true;
  // The mouse passes through to the window below, as a hit test answering "transparent" did.
  bool TransparentToMouse = false;
};

// Makes the peer of a control that has no parent such a window; it starts hidden, placed at
// the control's Left and Top in screen coordinates. Controls with a parent are left alone.
void MakePopupWindow(TControl* control, const TPopupStyle& style);
// Shows or hides the window without activating it.
void ShowPopupWindow(TControl* control, bool show);
bool PopupWindowShowing(const TControl* control);
