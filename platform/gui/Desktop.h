// What the desktop tells about itself: screens, the mouse cursor, metrics, and the state of
// the keyboard's modifier and lock keys.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/gui/Graphics.h"

// Work area (the screen less panels) of the monitor that holds the point, or of the primary
// monitor when none does.
TRect MonitorWorkAreaAt(TPoint screenPoint);
TPoint CursorPos();
// Tests place the pointer where CursorPos reports it; `overridden` false returns to the real one.
void SetCursorPosForTesting(bool overridden, TPoint screenPoint = {});
// Takes down the hint (tool tip) that shows, if any.
void CancelHint();
int ScrollBarWidth();
// Lines one wheel notch scrolls.
int WheelScrollLines();

// The application's cursor table: a picture (its transparent colour left out) with its hot
// spot under a number of the program's own (positive), which controls then take as Cursor.
void RegisterCursor(int id, const TBitmap& image, TPoint hotSpot);
// The same for one of the desktop's own shapes (crHandPoint, crHandGrab ...).
void RegisterCursorShape(int id, int shape);
bool CursorRegistered(int id);
// The cursor of the whole screen while the program is busy (crDefault: each control's own).
void SetScreenCursor(int cursor);
int ScreenCursor();

// The key's state as the old desktop reported it: bit 15 set while the key is down, bit 0
// set while a lock key (Caps, Num, Scroll, Insert) is on. Modifiers (VK_SHIFT, VK_CONTROL,
// VK_MENU) come from the toolkit; the lock keys from the display where it can tell, else from
// the presses the program has seen. Insert's state is always the program's own.
int16_t GetKeyState(uint16_t virtualKey);
bool KeyToggled(uint16_t virtualKey);

// Caps, Num or Scroll Lock as the display's keyboard indicators show it; false where no
// display tells (offscreen, Wayland), whatever presses the program has seen.
bool DisplayKeyIndicator(uint16_t virtualKey);

// The desktop's warning beep.
void MessageBeep();

// Tests replace the answers (DisplayKeyIndicator's too); an empty function restores the real ones.
void SetKeyStateProviderForTesting(std::function<int16_t(uint16_t)> provider);

// Internal: a lock key was pressed in one of the program's windows.
void NoteLockKeyPressed(uint16_t virtualKey);
