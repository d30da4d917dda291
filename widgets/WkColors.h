// Colour arithmetic on a 0..240 HSL scale, the colour pairs of the visual-style schemes, the
// process-wide look values read at start-up, and the state colours of edits and combo boxes.
#pragma once

#include <cstdint>

#include "platform/gui/Graphics.h"
#include "widgets/WkLook.h"

// Process-wide look values, fixed by WkCommonStartUp for the run

// 0 default scheme, 1 "HOMESTEAD", 2 "METALLIC".
extern std::uint8_t XPColorScheme;
// More than 256 colours; otherwise selection gradients collapse to one colour.
extern bool HighColorDisplay;
// Reads the scheme and the display's depth once; the program's start-up calls it.
void WkCommonStartUp();

// Colour arithmetic. System colours are resolved to RGB first; rounding is to nearest, ties
// to even.

void ColorToHSL(TColor color, std::uint8_t& h, std::uint8_t& s, std::uint8_t& l);
std::uint8_t ColorHue(TColor color);
TColor HSLToColor(std::uint8_t h, std::uint8_t s, std::uint8_t l);
TColor DarkerColor(TColor color, std::uint8_t amount);
TColor LighterColor(TColor color, std::uint8_t amount);
TColor AdjustColor(TColor color, int amount);
TColor BlendColors(TColor color1, TColor color2, std::uint8_t weight);
bool SimilarColors(TColor color1, TColor color2);
TColor ShiftedHueColor(TColor color, std::uint8_t luminance);

std::uint8_t GetXPColorScheme();
bool IsHighColorDisplay();

void GetSelectionColors(TWkGradientColorStyle style, TColor& frameColor, TColor& startColor,
                        TColor& stopColor);
void GetGradientPanelColors(TWkGradientColorStyle style, TColor& startColor, TColor& stopColor);
TColor GetFlatFrameColor(TWkGradientColorStyle style);
void GetGradientBarColors(TWkGradientColorStyle style, TColor& startColor, TColor& stopColor,
                          TColor& frameColor);
TColor XPThemeColor(int index);

// The colours an edit or combo box shows by state.
struct TWkStateColors {
  TColor Normal = clWindow;  // enabled, unfocused, editable
  TColor Focus = clWindow;
  TColor Disabled = clBtnFace;
  TColor ReadOnly = clInfoBk;
  bool ReadOnlyOnFocus = false;  // a focused read-only control keeps ReadOnly
  TColor For(bool enabled, bool focused, bool readOnly) const {
    if (!enabled) return Disabled;
    if (focused) return readOnly && ReadOnlyOnFocus ? ReadOnly : Focus;
    return readOnly ? ReadOnly : Normal;
  }
  // A colour set from outside becomes the normal one; the focus colour follows it when the
  // two were the same.
  void TakeOutsideColor(TColor color) {
    if (Focus == Normal) Focus = color;
    Normal = color;
  }
};
