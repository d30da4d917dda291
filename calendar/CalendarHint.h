// The translucent hint window of the calendar: lines of "key=value" text drawn in two
// columns, keys in red. It sizes itself to its text, shows itself when it has any, never
// takes the focus and lets the mouse through to the calendar below.
#pragma once

#include <string>

#include "platform/Classes.h"
#include "platform/gui/CustomControl.h"

class TCalendarHint : public TCustomControl {
 public:
  explicit TCalendarHint(TComponent* AOwner);

  // 0 .. 255; other values and the current one are ignored. Until first set the window is
  // opaque.
  int Alpha() const { return alpha_; }
  void SetAlpha(int value);

  // Places the window 16 pixels right of and below a screen point, moved left or up so that
  // it stays on the screen.
  void PlaceAtCursor(TPoint cursor);

  void SetVisible(bool value) override;

  const TStringList& Keys() const { return keys_; }
  const TStringList& Values() const { return values_; }
  int KeyWidth() const { return keyWidth_; }

 protected:
  void TextChanged() override;
  void Paint() override;

 private:
  void MeasureHintText();

  TStringList keys_;
  TStringList values_;
  int keyWidth_ = 0;
  int alpha_ = 0;
};
