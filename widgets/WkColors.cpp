// Colour arithmetic on the 0..240 HSL scale and the colour pairs of the visual-style schemes.
#include "widgets/WkColors.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "platform/Registry.h"
#include "platform/gui/Themes.h"

std::uint8_t XPColorScheme = 0;
bool HighColorDisplay = true;

namespace {

// Round to nearest, ties to even (the default rounding mode).
int RoundEven(double v) { return static_cast<int>(std::nearbyint(v)); }

struct SchemeRow {
  TColor SelectionFrame, SelectionStart, SelectionStop, PanelStart, PanelStop, FlatFrame;
};
constexpr SchemeRow kSchemes[3] = {
    {RGB(0, 0, 128), RGB(255, 238, 194), RGB(255, 217, 160), RGB(227, 239, 255), RGB(153, 187, 234),
     RGB(87, 127, 191)},
    {RGB(63, 93, 56), RGB(255, 238, 194), RGB(255, 217, 160), RGB(255, 255, 237),
     RGB(184, 199, 146), RGB(127, 161, 119)},
    {RGB(75, 75, 111), RGB(255, 238, 194), RGB(255, 217, 160), RGB(249, 249, 255),
     RGB(189, 188, 208), RGB(159, 159, 177)},
};

const SchemeRow& Scheme() { return kSchemes[XPColorScheme < 3 ? XPColorScheme : 0]; }

// The scheme table applies only to the Office colour style while themes are on.
bool UseScheme(TWkGradientColorStyle style) {
  return style == gcsMSOffice && ThemeServices().ThemesEnabled();
}

}  // namespace

void WkCommonStartUp() {
  HighColorDisplay = IsHighColorDisplay();
  XPColorScheme = GetXPColorScheme();
}

void ColorToHSL(TColor color, std::uint8_t& h, std::uint8_t& s, std::uint8_t& l) {
  const TColor rgb = ColorToRGB(color);
  const double r = GetRValue(rgb) / 255.0, g = GetGValue(rgb) / 255.0, b = GetBValue(rgb) / 255.0;
  const double mx = std::max({r, g, b}), mn = std::min({r, g, b});
  const double lum = (mx + mn) / 2;
  double hue = 0, sat = 0;
  if (mx != mn) {
    const double d = mx - mn;
    sat = lum < 0.5 ? d / (mx + mn) : d / (2 - mx - mn);
    if (r == mx)
      hue = (g - b) / d;
    else if (g == mx)
      hue = 2 + (b - r) / d;
    else
      hue = 4 + (r - g) / d;
    hue /= 6;
    if (hue < 0) hue += 1;
  }
  h = static_cast<std::uint8_t>(RoundEven(240 * hue));
  s = static_cast<std::uint8_t>(RoundEven(240 * sat));
  l = static_cast<std::uint8_t>(RoundEven(240 * lum));
}

std::uint8_t ColorHue(TColor color) {
  std::uint8_t h, s, l;
  ColorToHSL(color, h, s, l);
  return h;
}

TColor HSLToColor(std::uint8_t H, std::uint8_t S, std::uint8_t L) {
  const double h = H / 239.0, s = S / 240.0, l = L / 240.0;
  const double m2 = l < 0.5 ? l * (1 + s) : l + s - l * s;
  if (m2 <= 0) return clBlack;
  const double m1 = 2 * l - m2;
  const double k = (m2 - m1) / m2;
  const double h6 = 6 * h;
  const int sextant = static_cast<int>(h6);
  const double f = h6 - sextant;
  const double v = m2 * k * f;
  const double up = m1 + v, down = m2 - v;
  double r, g, b;
  switch (sextant) {
    case 1:
      r = down, g = m2, b = m1;
      break;
    case 2:
      r = m1, g = m2, b = up;
      break;
    case 3:
      r = m1, g = down, b = m2;
      break;
    case 4:
      r = up, g = m1, b = m2;
      break;
    case 5:
      r = m2, g = m1, b = down;
      break;
    default:
      r = m2, g = up, b = m1;
      break;
  }
  // A saturation or luminance beyond the scale drives channels outside [0, 1] either way.
  const auto channel = [](double c) { return RoundEven(255 * std::clamp(c, 0.0, 1.0)); };
  return RGB(channel(r), channel(g), channel(b));
}

TColor DarkerColor(TColor color, std::uint8_t amount) {
  std::uint8_t h, s, l;
  ColorToHSL(color, h, s, l);
  return HSLToColor(h, s, static_cast<std::uint8_t>(std::max(l - amount, 0)));
}

TColor LighterColor(TColor color, std::uint8_t amount) {
  std::uint8_t h, s, l;
  ColorToHSL(color, h, s, l);
  return HSLToColor(h, s, static_cast<std::uint8_t>(std::min(l + amount, 255)));
}

TColor AdjustColor(TColor color, int amount) {
  // Beyond 255 the amount saturates: masking it made 256 a no-op and 300 act as 44.
  const long long a = amount;
  if (a < 0) return DarkerColor(color, static_cast<std::uint8_t>(std::min(-a, 255LL)));
  if (a == 0) return color;
  return LighterColor(color, static_cast<std::uint8_t>(std::min(a, 255LL)));
}

TColor BlendColors(TColor color1, TColor color2, std::uint8_t weight) {
  const TColor c1 = ColorToRGB(color1), c2 = ColorToRGB(color2);
  const double w = weight / 255.0;
  const auto mix = [w](int a, int b) { return RoundEven(a * w + (1 - w) * b); };
  return RGB(mix(GetRValue(c1), GetRValue(c2)), mix(GetGValue(c1), GetGValue(c2)),
             mix(GetBValue(c1), GetBValue(c2)));
}

bool SimilarColors(TColor color1, TColor color2) {
  std::uint8_t h1, s1, l1, h2, s2, l2;
  ColorToHSL(color1, h1, s1, l1);
  ColorToHSL(color2, h2, s2, l2);
  return std::abs(h1 - h2) < 20 && std::abs(l1 - l2) < 60;
}

TColor ShiftedHueColor(TColor color, std::uint8_t luminance) {
  const std::uint8_t h = ColorHue(color);
  return HSLToColor(static_cast<std::uint8_t>(h < 120 ? h + 120 : h - 120), 240, luminance);
}

std::uint8_t GetXPColorScheme() {
  std::string name;
  if (!RegistryReadString(TRegRoot::CurrentUser,
                          "\\Software\\Microsoft\\Windows\\CurrentVersion\\ThemeManager",
                          "ColorName", name))
    return 0;
  if (name == "HOMESTEAD") return 1;
  if (name == "METALLIC") return 2;
  return 0;
}

bool IsHighColorDisplay() { return DisplayColorDepth() > 8; }

void GetSelectionColors(TWkGradientColorStyle style, TColor& frameColor, TColor& startColor,
                        TColor& stopColor) {
  if (UseScheme(style)) {
    frameColor = Scheme().SelectionFrame;
    startColor = Scheme().SelectionStart;
    stopColor = Scheme().SelectionStop;
  } else {
    frameColor = clHighlight;
    stopColor = BlendColors(clHighlight, clWindow, 77);
    startColor = LighterColor(stopColor, 20);
  }
  if (!HighColorDisplay) startColor = stopColor;
}

void GetGradientPanelColors(TWkGradientColorStyle style, TColor& startColor, TColor& stopColor) {
  if (UseScheme(style)) {
    startColor = Scheme().PanelStart;
    stopColor = Scheme().PanelStop;
  } else {
    startColor = clWindow;
    stopColor = DarkerColor(clBtnFace, 10);
  }
}

TColor GetFlatFrameColor(TWkGradientColorStyle style) {
  return UseScheme(style) ? Scheme().FlatFrame : LighterColor(clBtnShadow, 30);
}

void GetGradientBarColors(TWkGradientColorStyle style, TColor& startColor, TColor& stopColor,
                          TColor& frameColor) {
  if (UseScheme(style)) {
    startColor = Scheme().PanelStop;
    stopColor = Scheme().PanelStart;
    frameColor = startColor;
  } else {
    startColor = DarkerColor(clBtnFace, 20);
    stopColor = clWindow;
    frameColor = DarkerColor(clBtnFace, 40);
  }
}

TColor XPThemeColor(int index) {
  if (!ThemeServices().ThemesEnabled()) return clBtnFace;
  TThemedElement element = TThemedElement::EditBorder;
  if (index == 6) element = TThemedElement::GroupBoxFrame;
  if (index < 0 || index > 6) return clWhite;
  const TColor c = ThemeServices().ElementColor(element, index);
  return c == clNone ? clWhite : c;
}
