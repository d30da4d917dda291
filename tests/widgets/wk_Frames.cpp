// Frame and side drawing: pixels at the corners of each frame style, worked out from the
// rules (lines exclude their end point; the lower-right colour is drawn after the upper-left).
#include <functional>
#include <string>
#include <vector>

#include "tests/widgets/WidgetTestSupport.h"
#include "widgets/WkCommon.h"

using namespace wktest;

namespace {
const TRect kR = Rect(2, 2, 12, 10);  // corners (2,2) (11,2) (2,9) (11,9)
}

TEST(WkFrames, OneRingStylesPaintTheirColoursAndShrinkByOne) {
  struct Case {
    TFrameStyle style;
    TColor ul, lr;
  };
  for (const Case& c :
       {Case{fsFlat, cl3DDkShadow, cl3DDkShadow}, Case{fsStatus, clBtnShadow, clBtnHighlight},
        Case{fsPopup, clBtnHighlight, clBtnShadow}}) {
    MarkedPicture pic;
    EXPECT_EQ(DrawFrame(pic.canvas(), kR, c.style), Rect(3, 3, 11, 9));
    // The right side runs from the top down and the bottom from the left: both own their
    // corner pixels at the top-right and bottom-left.
    EXPECT_TRUE(PixelsAre(pic.bitmap, {{2, 2, c.ul},
                                       {10, 2, c.ul},
                                       {11, 2, c.lr},
                                       {2, 8, c.ul},
                                       {2, 9, c.lr},
                                       {11, 9, c.lr},
                                       {3, 3, kMarker},
                                       {12, 2, kMarker},
                                       {2, 10, kMarker}}))
        << c.style;
  }
}

TEST(WkFrames, BevelsAndBoldFramesPaintTwoRings) {
  MarkedPicture lowered;
  EXPECT_EQ(DrawFrame(lowered.canvas(), kR, fsLowered), Rect(4, 4, 10, 8));
  EXPECT_TRUE(PixelsAre(lowered.bitmap, {{2, 2, clBtnShadow},
                                         {11, 9, clBtnHighlight},
                                         {3, 3, cl3DDkShadow},
                                         {10, 8, cl3DLight},
                                         {10, 3, cl3DLight},
                                         {4, 4, kMarker}}));
  MarkedPicture raised;
  DrawFrame(raised.canvas(), kR, fsRaised);
  EXPECT_TRUE(PixelsAre(
      raised.bitmap,
      {{2, 2, cl3DLight}, {11, 9, cl3DDkShadow}, {3, 3, clBtnHighlight}, {10, 8, clBtnShadow}}));
  MarkedPicture up, down;
  DrawFrame(up.canvas(), kR, fsButtonUp);
  DrawFrame(down.canvas(), kR, fsButtonDown);
  EXPECT_TRUE(PixelsAre(
      up.bitmap,
      {{2, 2, clBtnHighlight}, {11, 9, cl3DDkShadow}, {3, 3, cl3DLight}, {10, 8, clBtnShadow}}));
  EXPECT_TRUE(PixelsAre(down.bitmap, {{2, 2, clBtnText}, {11, 9, clBtnText}, {3, 3, clBtnShadow}}));
  MarkedPicture bold;
  EXPECT_EQ(DrawFrame(bold.canvas(), kR, fsFlatBold), Rect(4, 4, 10, 8));
  EXPECT_TRUE(PixelsAre(bold.bitmap, {{2, 2, clBtnShadow}, {10, 8, clBtnShadow}, {4, 4, kMarker}}));
  MarkedPicture none;
  EXPECT_EQ(DrawFrame(none.canvas(), kR, fsNone), kR);
  EXPECT_TRUE(PixelsAre(none.bitmap, {{2, 2, kMarker}, {11, 9, kMarker}}));
}

TEST(WkFrames, EtchedFramesPaintTheLightPassOffsetFromTheDarkOne) {
  // Groove: light (L+1, T+1, R, B), then dark (L, T, R-1, B-1), after the corner pixels.
  MarkedPicture groove;
  EXPECT_EQ(DrawFrame(groove.canvas(), kR, fsGroove), Rect(4, 4, 10, 8));
  EXPECT_TRUE(PixelsAre(groove.bitmap, {{2, 2, clBtnShadow},
                                        {10, 2, clBtnShadow},
                                        {11, 2, clBtnHighlight},
                                        {2, 9, clBtnHighlight},
                                        {11, 9, clBtnHighlight},
                                        {3, 3, clBtnHighlight},
                                        {11, 3, clBtnHighlight},
                                        {10, 8, clBtnShadow},
                                        {10, 3, clBtnShadow},
                                        {4, 4, kMarker}}));
  MarkedPicture bump;
  DrawFrame(bump.canvas(), kR, fsBump);
  EXPECT_TRUE(
      PixelsAre(bump.bitmap, {{2, 2, clBtnHighlight}, {3, 3, clBtnShadow}, {11, 9, clBtnShadow}}));

  // Top side alone: its open ends get the corner pixels of the missing sides.
  MarkedPicture top;
  EXPECT_EQ(DrawFrameSides(top.canvas(), kR, fsGroove, SideSet({sdTop})), Rect(2, 4, 12, 10));
  EXPECT_TRUE(PixelsAre(top.bitmap, {{2, 2, clBtnShadow},
                                     {11, 2, clBtnShadow},    // top without right: UL
                                     {2, 3, clBtnHighlight},  // top without left: LR
                                     {3, 3, clBtnHighlight},
                                     {11, 3, clBtnHighlight},
                                     {2, 4, kMarker},
                                     {11, 4, kMarker}}));
  // Right and bottom alone: their far ends get the upper-left colour.
  MarkedPicture rb;
  DrawFrameSides(rb.canvas(), kR, fsGroove, SideSet({sdRight, sdBottom}));
  EXPECT_TRUE(PixelsAre(rb.bitmap, {{11, 2, clBtnHighlight},
                                    {10, 2, clBtnShadow},
                                    {2, 9, clBtnHighlight},
                                    {2, 8, clBtnShadow},
                                    {2, 2, kMarker}}));
}

TEST(WkFrames, ColourFramesDeriveTheirShades) {
  const TColor base = RGB(160, 120, 80);
  MarkedPicture flat;
  EXPECT_EQ(DrawColorFrame(flat.canvas(), kR, base, fsFlat), Rect(3, 3, 11, 9));
  EXPECT_TRUE(
      PixelsAre(flat.bitmap, {{2, 2, DarkerColor(base, 50)}, {11, 9, DarkerColor(base, 50)}}));
  MarkedPicture status;
  DrawColorFrame(status.canvas(), kR, base, fsStatus);
  EXPECT_TRUE(
      PixelsAre(status.bitmap, {{2, 2, DarkerColor(base, 50)}, {11, 9, LighterColor(base, 100)}}));
  MarkedPicture raised;
  DrawColorFrame(raised.canvas(), kR, base, fsRaised);
  EXPECT_TRUE(PixelsAre(raised.bitmap, {{2, 2, LighterColor(base, 50)},
                                        {11, 9, DarkerColor(base, 100)},
                                        {3, 3, LighterColor(base, 100)},
                                        {10, 8, DarkerColor(base, 50)}}));
  MarkedPicture down;
  DrawColorFrame(down.canvas(), kR, base, fsButtonDown);
  EXPECT_TRUE(
      PixelsAre(down.bitmap, {{2, 2, DarkerColor(base, 100)}, {3, 3, DarkerColor(base, 50)}}));
  MarkedPicture up;
  DrawColorSides(up.canvas(), kR, base, false);
  EXPECT_TRUE(PixelsAre(up.bitmap, {{2, 2, LighterColor(base, 100)},
                                    {11, 9, DarkerColor(base, 100)},
                                    {3, 3, LighterColor(base, 40)},
                                    {10, 8, DarkerColor(base, 50)}}));
  MarkedPicture groove;
  DrawColorFrame(groove.canvas(), kR, base, fsGroove);
  EXPECT_TRUE(
      PixelsAre(groove.bitmap, {{2, 2, DarkerColor(base, 50)}, {3, 3, LighterColor(base, 100)}}));
}

TEST(WkFrames, SidesBoxesDotsAndRoundedCorners) {
  MarkedPicture none;
  // No colour draws nothing but still gives the rectangle inside the sides asked for.
  EXPECT_EQ(DrawSides(none.canvas(), kR, clNone, SideSet({sdLeft, sdBottom}), clNone),
            Rect(3, 2, 12, 9));
  EXPECT_TRUE(PixelsAre(none.bitmap, {{2, 2, kMarker}, {2, 9, kMarker}}));
  MarkedPicture wide;
  EXPECT_EQ(DrawSidesWidth(wide.canvas(), kR, clRed, AllSides, 3, clBlue), Rect(5, 5, 9, 7));
  EXPECT_TRUE(PixelsAre(wide.bitmap, {{4, 4, clRed}, {9, 6, clBlue}, {5, 5, kMarker}}));

  MarkedPicture box;
  EXPECT_EQ(DrawBox(box.canvas(), kR, clRed), Rect(3, 3, 11, 9));
  EXPECT_TRUE(
      PixelsAre(box.bitmap, {{2, 2, clRed}, {11, 2, clRed}, {2, 9, clRed}, {11, 9, clRed}}));

  MarkedPicture dots;
  EXPECT_EQ(DrawDottedBox(dots.canvas(), kR), Rect(3, 3, 11, 9));
  EXPECT_TRUE(PixelsAre(dots.bitmap, {{2, 2, kMarker},
                                      {2, 3, clBlack},
                                      {2, 4, kMarker},
                                      {3, 2, clBlack},
                                      {4, 2, kMarker},
                                      {11, 3, clBlack},
                                      {3, 9, clBlack},
                                      {11, 9, clBlack}}));

  MarkedPicture brackets;
  EXPECT_EQ(DrawCornerBrackets(brackets.canvas(), kR, clRed, 3), Rect(3, 3, 11, 9));
  EXPECT_TRUE(PixelsAre(brackets.bitmap, {{2, 2, clRed},
                                          {4, 2, clRed},
                                          {5, 2, kMarker},
                                          {2, 4, clRed},
                                          {2, 5, kMarker},
                                          {9, 2, clRed},
                                          {8, 2, kMarker},
                                          {11, 9, clRed},
                                          {11, 6, kMarker}}));

  MarkedPicture round;
  EXPECT_EQ(DrawRoundedSides(round.canvas(), kR, clRed, AllSides), Rect(4, 4, 10, 8));
  EXPECT_TRUE(PixelsAre(round.bitmap, {{2, 2, kMarker},
                                       {2, 3, kMarker},
                                       {2, 4, clRed},
                                       {2, 7, clRed},
                                       {2, 8, kMarker},
                                       {3, 3, clRed},
                                       {10, 3, clRed},
                                       {10, 8, clRed},
                                       {3, 8, clRed},
                                       {4, 2, clRed},
                                       {9, 2, clRed},
                                       {10, 2, kMarker}}));
  MarkedPicture half;  // left and top only: only their shared corner is rounded
  DrawRoundedSides(half.canvas(), kR, clRed, SideSet({sdLeft, sdTop}));
  EXPECT_TRUE(
      PixelsAre(half.bitmap, {{3, 3, clRed}, {2, 9, clRed}, {11, 2, clRed}, {10, 3, kMarker}}));
}

TEST(WkFrames, EditFrameRingsInTheControlColourUnderTheFrame) {
  MarkedPicture flat(10, 8);
  DrawEditFrame(flat.canvas(), 10, 8, false, AllSides, clRed, clWindow, fsFlat);
  EXPECT_TRUE(
      PixelsAre(flat.bitmap, {{0, 0, clRed}, {9, 7, clRed}, {1, 1, clWindow}, {2, 2, kMarker}}));
  MarkedPicture bold(10, 8);
  DrawEditFrame(bold.canvas(), 10, 8, false, SideSet({sdTop}), clRed, clYellow, fsFlatBold);
  EXPECT_TRUE(
      PixelsAre(bold.bitmap, {{5, 0, clRed}, {5, 1, clRed}, {0, 5, clYellow}, {1, 5, clYellow}}));
  MarkedPicture themed(10, 8);  // themed: no ring in the control colour
  DrawEditFrame(themed.canvas(), 10, 8, true, AllSides, clRed, clWindow, fsFlat);
  EXPECT_TRUE(PixelsAre(themed.bitmap, {{0, 0, clRed}, {1, 1, kMarker}}));
  MarkedPicture lowered(10, 8);  // other styles: system frame on the window colour
  DrawEditFrame(lowered.canvas(), 10, 8, false, AllSides, clRed, clWindow, fsLowered);
  EXPECT_TRUE(PixelsAre(lowered.bitmap, {{0, 0, clBtnShadow}, {1, 1, cl3DDkShadow}}));
  MarkedPicture coloured(10, 8);
  DrawEditFrame(coloured.canvas(), 10, 8, false, AllSides, clRed, clYellow, fsLowered);
  EXPECT_TRUE(PixelsAre(coloured.bitmap, {{0, 0, DarkerColor(clYellow, 50)}}));
}

TEST(WkFrames, InnerOuterBordersNestTheOuterTheBandAndTheInner) {
  TWkBorderLook look;
  look.BorderOuter = fsPopup;
  look.BevelWidth = 3;
  look.BorderWidth = 1;
  look.BorderColor = clYellow;
  look.BorderInner = fsFlat;
  look.FlatColor = clNavy;
  look.FlatColorAdjustment = 0;
  MarkedPicture pic;
  EXPECT_EQ(DrawInnerOuterBorders(pic.canvas(), Rect(0, 0, 20, 20), look), Rect(5, 5, 15, 15));
  EXPECT_TRUE(PixelsAre(pic.bitmap, {{0, 0, clBtnHighlight},
                                     {2, 2, clBtnHighlight},
                                     {19, 19, clBtnShadow},
                                     {3, 3, clYellow},
                                     {16, 16, clYellow},
                                     {4, 4, clNavy},
                                     {15, 15, clNavy},
                                     {5, 5, kMarker}}));
  // Cut corners: the inner flat ring leaves its four corner pixels alone.
  look.CutCorners = true;
  look.BorderWidth = 0;
  look.BorderOuter = fsNone;
  MarkedPicture cut;
  EXPECT_EQ(DrawInnerOuterBorders(cut.canvas(), Rect(0, 0, 20, 20), look), Rect(1, 1, 19, 19));
  EXPECT_TRUE(
      PixelsAre(cut.bitmap, {{0, 0, kMarker}, {19, 19, kMarker}, {1, 0, clNavy}, {0, 18, clNavy}}));
  // Rounded outer border: parent colour at the cut corners, the control colour inside.
  TWkBorderLook rounded;
  rounded.BorderOuter = fsFlatRounded;
  rounded.FlatColor = clNavy;
  rounded.FlatColorAdjustment = 0;
  rounded.ParentColor = clRed;
  rounded.Color = clYellow;
  MarkedPicture r;
  EXPECT_EQ(DrawInnerOuterBorders(r.canvas(), Rect(0, 0, 20, 20), rounded), Rect(2, 2, 18, 18));
  EXPECT_TRUE(
      PixelsAre(r.bitmap, {{0, 0, clRed}, {1, 1, clNavy}, {2, 1, clYellow}, {2, 0, clNavy}}));
}

namespace {

// Every frame helper over one rectangle, by name.
struct Helper {
  std::string name;
  std::function<void(TCanvas&, const TRect&)> draw;
};

std::vector<Helper> FrameHelpers() {
  std::vector<Helper> all;
  auto add = [&](std::string name, std::function<void(TCanvas&, const TRect&)> draw) {
    all.push_back({std::move(name), std::move(draw)});
  };
  for (unsigned bits = 1; bits < 16; ++bits) {
    const TSides sides = TSides{bits};
    const std::string s = "/sides " + std::to_string(bits);
    add("DrawSides" + s,
        [=](TCanvas& c, const TRect& r) { DrawSides(c, r, clRed, sides, clBlue); });
    for (int style = fsNone; style <= fsFlatBold; ++style) {
      const auto fs = static_cast<TFrameStyle>(style);
      const std::string n = s + " style " + std::to_string(style);
      add("DrawFrameSides" + n,
          [=](TCanvas& c, const TRect& r) { DrawFrameSides(c, r, fs, sides); });
      add("DrawColorFrameSides" + n,
          [=](TCanvas& c, const TRect& r) { DrawColorFrameSides(c, r, clTeal, sides, fs); });
    }
    add("DrawRoundedSides" + s,
        [=](TCanvas& c, const TRect& r) { DrawRoundedSides(c, r, clRed, sides); });
  }
  add("DrawSidesWidth",
      [](TCanvas& c, const TRect& r) { DrawSidesWidth(c, r, clRed, AllSides, 3, clBlue); });
  for (bool b : {false, true}) {
    add("DrawBevel", [=](TCanvas& c, const TRect& r) { DrawBevel(c, r, b); });
    add("DrawButtonBevel", [=](TCanvas& c, const TRect& r) { DrawButtonBevel(c, r, b); });
    add("DrawColorSides", [=](TCanvas& c, const TRect& r) { DrawColorSides(c, r, clTeal, b); });
  }
  add("DrawBox", [](TCanvas& c, const TRect& r) { DrawBox(c, r, clRed); });
  for (int length : {1, 3, 4})
    add("DrawCornerBrackets " + std::to_string(length),
        [=](TCanvas& c, const TRect& r) { DrawCornerBrackets(c, r, clRed, length); });
  add("DrawDottedBox", [](TCanvas& c, const TRect& r) { DrawDottedBox(c, r); });
  add("DrawCutCornerSides", [](TCanvas& c, const TRect& r) { DrawCutCornerSides(c, r, clRed); });
  for (int style : {fsFlat, fsFlatBold, fsLowered, fsGroove})
    for (bool themed : {false, true})
      for (TColor color : {TColor(clWindow), TColor(clYellow)})
        add("DrawEditFrame style " + std::to_string(style), [=](TCanvas& c, const TRect& r) {
          // The edit frame always starts at (0, 0): the canvas origin moves there.
          const int saved = c.SaveState();
          c.MoveOrigin(r.Left, r.Top);
          DrawEditFrame(c, r.Right - r.Left, r.Bottom - r.Top, themed, AllSides, clRed, color,
                        static_cast<TFrameStyle>(style));
          c.RestoreState(saved);
        });
  for (int outer : {fsFlat, fsFlatBold, fsFlatRounded, fsPopup, fsStatus, fsGroove, fsRaised})
    for (int inner : {fsNone, fsFlat, fsFlatRounded, fsLowered})
      for (bool transparent : {false, true})
        add("DrawInnerOuterBorders " + std::to_string(outer) + "/" + std::to_string(inner),
            [=](TCanvas& c, const TRect& r) {
              TWkBorderLook look;
              look.BorderOuter = static_cast<TFrameStyleEx>(outer);
              look.BorderInner = static_cast<TFrameStyleEx>(inner);
              look.BorderWidth = 1;
              look.BevelWidth = 2;
              look.BorderColor = clYellow;
              look.ParentColor = clNavy;
              look.Transparent = transparent;
              look.CutCorners = inner == fsFlat;
              DrawInnerOuterBorders(c, r, look);
            });
  return all;
}

}  // namespace

// A frame helper paints inside the rectangle it is given, however small: the rings of a
// rectangle too small for them, an empty or inverted rectangle, a bracket longer than its
// side. Checked for every rectangle of 0 to 3 pixels a side, in both corner orders.
TEST(WkFrames, NoHelperPaintsOutsideItsRectangleNorAnyPixelForOneOfNoArea) {
  const std::vector<Helper> helpers = FrameHelpers();
  int failures = 0;
  for (int w = 0; w <= 3; ++w)
    for (int h = 0; h <= 3; ++h)
      for (bool flipX : {false, true})
        for (bool flipY : {false, true}) {
          const int l = 8, t = 8;
          const TRect r =
              Rect(flipX ? l + w : l, flipY ? t + h : t, flipX ? l : l + w, flipY ? t : t + h);
          const bool hasArea = r.Right > r.Left && r.Bottom > r.Top;
          for (const Helper& helper : helpers) {
            MarkedPicture pic(20, 20);
            helper.draw(pic.canvas(), r);
            std::string outside;
            for (int y = 0; y < 20; ++y)
              for (int x = 0; x < 20; ++x) {
                const bool inside =
                    hasArea && x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom;
                if (!inside && pic.at(x, y) != kMarker)
                  outside += " (" + std::to_string(x) + "," + std::to_string(y) + ")";
              }
            if (!outside.empty() && ++failures <= 12)
              ADD_FAILURE() << helper.name << " on (" << r.Left << "," << r.Top << "," << r.Right
                            << "," << r.Bottom << ") painted" << outside;
          }
        }
  EXPECT_EQ(failures, 0);
}

TEST(WkGlyphs, ArrowsAndTheCloseCrossSitOnTheRectanglesCentre) {
  // Drop-down arrow in (0,0,16,16): centre (8, 7) as the height is even, 2 lower classic.
  MarkedPicture arrow;
  DrawDropDownArrow(arrow.canvas(), Rect(0, 0, 16, 16), vsClassic, true, false);
  EXPECT_TRUE(PixelsAre(arrow.bitmap, {{8, 9, clBlack},
                                       {7, 9, kMarker},
                                       {7, 8, clBlack},
                                       {9, 8, clBlack},
                                       {5, 6, clBlack},
                                       {11, 6, clBlack},
                                       {4, 6, kMarker},
                                       {8, 5, kMarker}}));
  MarkedPicture pressed;
  DrawDropDownArrow(pressed.canvas(), Rect(0, 0, 16, 16), vsClassic, false, true);
  EXPECT_TRUE(
      PixelsAre(pressed.bitmap, {{9, 10, clBtnShadow}, {8, 10, kMarker}, {8, 9, clBtnShadow}}));
  // The themed colour is a pixel of the themed button; with themes off that would vanish on
  // the window colour, so the dark shadow stands in.
  MarkedPicture xp;
  xp.canvas().Brush().SetColor(clLime);
  DrawDropDownArrow(xp.canvas(), Rect(0, 0, 16, 16), vsWinXP, true, false);
  EXPECT_TRUE(PixelsAre(xp.bitmap, {{8, 10, cl3DDkShadow}, {8, 2, kMarker}}));
  EXPECT_EQ(xp.canvas().Brush().Color(), clLime);

  MarkedPicture up, right;
  DrawArrow(up.canvas(), Rect(0, 0, 16, 16), 0, vsClassic, true, false);
  EXPECT_TRUE(PixelsAre(
      up.bitmap,
      {{8, 5, clBlack}, {7, 5, kMarker}, {5, 8, clBlack}, {11, 8, clBlack}, {8, 9, kMarker}}));
  DrawArrow(right.canvas(), Rect(0, 0, 16, 16), 3, vsClassic, true, false);
  EXPECT_TRUE(PixelsAre(
      right.bitmap,
      {{9, 7, clBlack}, {9, 6, kMarker}, {6, 4, clBlack}, {6, 10, clBlack}, {5, 7, kMarker}}));

  MarkedPicture cross;
  DrawCloseGlyph(cross.canvas(), Rect(0, 0, 16, 16), vsClassic, true, false);
  EXPECT_TRUE(PixelsAre(cross.bitmap, {{8, 7, clBlack}, {8, 3, kMarker}, {2, 7, kMarker}}));
}
