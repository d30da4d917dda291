// Colour arithmetic on the 0..240 HSL scale and the scheme colour pairs.
#include <gtest/gtest.h>

#include "platform/Registry.h"
#include "platform/gui/Themes.h"
#include "widgets/WkCommon.h"

namespace {

struct HSL {
  int H, S, L;
};
HSL ToHSL(TColor c) {
  std::uint8_t h, s, l;
  ColorToHSL(c, h, s, l);
  return {h, s, l};
}

// Restores the process-wide look values a test changes.
class ColorTest : public ::testing::Test {
 protected:
  void TearDown() override {
    HighColorDisplay = true;
    XPColorScheme = 0;
    SetThemeServices(nullptr);
  }
};

}  // namespace

TEST_F(ColorTest, HslOfGreysPrimariesAndSystemColours) {
  const HSL grey = ToHSL(RGB(128, 128, 128));
  EXPECT_EQ(grey.H, 0);
  EXPECT_EQ(grey.S, 0);
  EXPECT_EQ(grey.L, 120);  // 240 * 128 / 255 = 120.47
  const HSL red = ToHSL(clRed);
  EXPECT_EQ(red.H, 0);
  EXPECT_EQ(red.S, 240);
  EXPECT_EQ(red.L, 120);
  const HSL navy = ToHSL(clNavy);  // blue at half strength: hue 4/6 of the circle
  EXPECT_EQ(navy.H, 160);
  EXPECT_EQ(navy.S, 240);
  EXPECT_EQ(navy.L, 60);
  // System colours are resolved first: button face is (212, 208, 200).
  EXPECT_EQ(ToHSL(clBtnFace).L, ToHSL(RGB(212, 208, 200)).L);
  EXPECT_EQ(ColorHue(clNavy), 160);
}

TEST_F(ColorTest, HslToColourEndsAndTheHueDivisor) {
  EXPECT_EQ(HSLToColor(100, 200, 0), clBlack);
  EXPECT_EQ(HSLToColor(0, 0, 240), clWhite);
  EXPECT_EQ(HSLToColor(0, 240, 120), clRed);
  // Hue 120 is 120/239 of the circle, just past cyan: green 252, not 255.
  EXPECT_EQ(HSLToColor(120, 240, 120), RGB(0, 252, 255));
  // A saturation above the scale drives a channel below 0; it is clamped to 0 rather than
  // wrapping round to a bright value.
  EXPECT_EQ(HSLToColor(0, 255, 60), RGB(131, 0, 0));
}

TEST_F(ColorTest, DarkerLighterAndAdjustSaturateInsteadOfWrapping) {
  EXPECT_EQ(DarkerColor(clBlack, 80), clBlack);
  EXPECT_EQ(LighterColor(clWhite, 80), clWhite);
  // Button face L 181 less 10 gives a grey of L 171: 255 * 171 / 240 = 181.7.
  EXPECT_EQ(DarkerColor(RGB(192, 192, 192), 10), RGB(182, 182, 182));
  // Lighter goes up to 255 on the 240 scale; the channels are clamped to white.
  EXPECT_EQ(LighterColor(clNavy, 255), clWhite);
  EXPECT_EQ(AdjustColor(clNavy, 0), clNavy);
  EXPECT_EQ(AdjustColor(clNavy, 40), LighterColor(clNavy, 40));
  EXPECT_EQ(AdjustColor(clNavy, -40), DarkerColor(clNavy, 40));
  // Amounts beyond a byte saturate: 256 and 300 are as strong as 255, never weaker.
  EXPECT_EQ(AdjustColor(clNavy, 256), clWhite);
  EXPECT_EQ(AdjustColor(clNavy, 300), clWhite);
  EXPECT_EQ(AdjustColor(clNavy, -256), clBlack);
  EXPECT_EQ(AdjustColor(clNavy, INT32_MIN), clBlack);
}

TEST_F(ColorTest, BlendSimilarityAndShiftedHue) {
  EXPECT_EQ(BlendColors(clWhite, clBlack, 77), RGB(77, 77, 77));
  EXPECT_EQ(BlendColors(clRed, clBlue, 128), RGB(128, 0, 127));
  EXPECT_EQ(BlendColors(clBtnFace, clBtnFace, 10), RGB(212, 208, 200));
  // Saturation is ignored: a grey and a pure red of the same hue and luminance are similar.
  EXPECT_TRUE(SimilarColors(RGB(128, 128, 128), clRed));
  EXPECT_FALSE(SimilarColors(clRed, clBlue));
  EXPECT_FALSE(SimilarColors(clWhite, RGB(128, 128, 128)));
  EXPECT_EQ(ShiftedHueColor(clRed, 120), RGB(0, 252, 255));
}

TEST_F(ColorTest, SchemeComesFromTheRegistryAndAppliesOnlyWithThemesAndOfficeColours) {
  const std::string key = "\\Software\\Microsoft\\Windows\\CurrentVersion\\ThemeManager";
  EXPECT_EQ(GetXPColorScheme(), 0);
  RegistryWriteString(TRegRoot::CurrentUser, key, "ColorName", "METALLIC");
  EXPECT_EQ(GetXPColorScheme(), 2);
  RegistryWriteString(TRegRoot::CurrentUser, key, "ColorName", "HOMESTEAD");
  EXPECT_EQ(GetXPColorScheme(), 1);
  RegistryWriteString(TRegRoot::CurrentUser, key, "ColorName", "NormalColor");
  EXPECT_EQ(GetXPColorScheme(), 0);
  RegistryDeleteKey(TRegRoot::CurrentUser, key);

  XPColorScheme = 1;
  TColor frame, start, stop;
  // Themes are off: the Office style falls back to the system colours.
  GetSelectionColors(gcsMSOffice, frame, start, stop);
  EXPECT_EQ(frame, clHighlight);
  EXPECT_EQ(stop, BlendColors(clHighlight, clWindow, 77));
  EXPECT_EQ(start, LighterColor(stop, 20));
  EXPECT_NE(start, stop);
  GetGradientPanelColors(gcsMSOffice, start, stop);
  EXPECT_EQ(start, clWindow);
  EXPECT_EQ(stop, DarkerColor(clBtnFace, 10));
  EXPECT_EQ(GetFlatFrameColor(gcsSystem), LighterColor(clBtnShadow, 30));
  GetGradientBarColors(gcsSystem, start, stop, frame);
  EXPECT_EQ(start, DarkerColor(clBtnFace, 20));
  EXPECT_EQ(stop, clWindow);
  EXPECT_EQ(frame, DarkerColor(clBtnFace, 40));
  EXPECT_EQ(XPThemeColor(6), clBtnFace);

  struct Themed : TThemeServices {
    bool ThemesEnabled() const override { return true; }
  };
  SetThemeServices(std::make_unique<Themed>());
  GetSelectionColors(gcsMSOffice, frame, start, stop);
  EXPECT_EQ(frame, RGB(63, 93, 56));
  EXPECT_EQ(start, RGB(255, 238, 194));
  EXPECT_EQ(stop, RGB(255, 217, 160));
  GetGradientBarColors(gcsMSOffice, start, stop, frame);  // the panel pair, reversed
  EXPECT_EQ(start, RGB(184, 199, 146));
  EXPECT_EQ(stop, RGB(255, 255, 237));
  EXPECT_EQ(frame, start);
  EXPECT_EQ(GetFlatFrameColor(gcsMSOffice), RGB(127, 161, 119));
  GetGradientPanelColors(gcsSystem, start, stop);  // other styles never use the scheme
  EXPECT_EQ(start, clWindow);
}

TEST_F(ColorTest, LowColourDisplayHasNoSelectionGradient) {
  OverrideDisplayColorDepth(8);
  EXPECT_FALSE(IsHighColorDisplay());
  WkCommonStartUp();
  EXPECT_FALSE(HighColorDisplay);
  OverrideDisplayColorDepth(0);
  TColor frame, start, stop;
  GetSelectionColors(gcsSystem, frame, start, stop);
  EXPECT_EQ(start, stop);
  HighColorDisplay = true;
  GetSelectionColors(gcsSystem, frame, start, stop);
  EXPECT_NE(start, stop);
}

TEST(WkTextHelpers, AcceleratorsRectanglesAndFonts) {
  EXPECT_EQ(StripAccelChars("&File"), "File");
  EXPECT_EQ(StripAccelChars("Save && &Exit&"), "Save & Exit");
  EXPECT_EQ(StripAccelChars("&&&&"), "&&");
  EXPECT_EQ(StripAccelChars("添加&收藏"), "添加收藏");  // 0x26 is never a trail byte
  EXPECT_EQ(CenterRect(Rect(0, 0, 11, 20), 4, 6), Rect(3, 7, 7, 13));
  EXPECT_EQ(CenterRect(Rect(10, 10, 11, 11), 4, 4), Rect(8, 8, 12, 12));
  TFont font;
  font.SetSize(9);
  const TFont turned = CreateRotatedFont(font, 900);
  EXPECT_EQ(turned.Orientation(), 900);
  EXPECT_EQ(turned.Size(), 9);
  EXPECT_EQ(font.Orientation(), 0);
  EXPECT_EQ(MinInt(-3, 2), -3);
  EXPECT_EQ(MaxInt(-3, 2), 2);
}
