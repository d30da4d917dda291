// Pop-up windows of their own, such as hint windows: a control without a parent shown as a
// small borderless window above the others, which never takes the focus and, when asked,
// lets the mouse through to whatever lies below it.
#pragma once

#include <functional>

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

// How a local pop-up loop ended.
enum class TPopupLoopEnd {
  Ended,         // EndPopupLoop was called
  OutsidePress,  // a mouse press outside the pop-up (swallowed: it reaches no window)
  Deactivated,   // the application or the window under the pop-up lost the activation
  Terminated     // the application is terminating
};

// Runs a local event loop while the pop-up window `popup` shows, until one of the endings
// above. Every key the user presses meanwhile goes to `onKey` (virtual key, shift state)
// instead of the focused control; presses inside the pop-up are handled as usual. Loops nest;
// each ends on its own.
TPopupLoopEnd RunPopupLoop(TControl* popup, const std::function<void(uint16_t, TShiftState)>& onKey);
// Ends the loop running for `popup` (nothing when none runs).
void EndPopupLoop(TControl* popup);
bool PopupLoopRunning(const TControl* popup);
