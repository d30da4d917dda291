// Gradient fills: end colours, symmetry of the centred and box shapes, the diagonal corners
// and the gradient border's clip.
#include "tests/widgets/WidgetTestSupport.h"
#include "widgets/WkColors.h"
#include "widgets/WkGrafx.h"

using namespace wktest;

namespace {
const TColor kStart = RGB(0, 0, 0), kStop = RGB(200, 100, 0);
}

TEST(WkGradients, EqualColoursFillEveryShapeUniformlyInsideTheRectangleOnly) {
  for (int d = gdDiagonalUp; d <= gdBigSquareBox; ++d) {
    MarkedPicture pic(30, 24);
    PaintGradient(pic.canvas(), Rect(3, 2, 26, 21), static_cast<TGradientDirection>(d), clRed,
                  clRed);
    int wrong = 0;
    for (int y = 0; y < 24; ++y)
      for (int x = 0; x < 30; ++x) {
        const bool inside = x >= 3 && x < 26 && y >= 2 && y < 21;
        wrong += pic.at(x, y) != (inside ? clRed : kMarker);
      }
    EXPECT_EQ(wrong, 0) << "direction " << d;
  }
  MarkedPicture empty;
  PaintGradient(empty.canvas(), Rect(5, 5, 5, 20), gdHorizontalEnd, clRed, clBlue);
  EXPECT_EQ(empty.at(5, 6), kMarker);
}

TEST(WkGradients, LinearRampsEndExactlyOnTheStopColourAndStepEvenly) {
  // 50 rows from black to (200, 100, 0): steps of (4, 2, 0) from the bottom row up; the top
  // row lands one step short of the start colour.
  MarkedPicture pic(20, 50);
  PaintGradient(pic.canvas(), Rect(0, 0, 20, 50), gdHorizontalEnd, kStart, kStop);
  EXPECT_EQ(pic.at(0, 49), kStop);
  EXPECT_EQ(pic.at(19, 49), kStop);
  EXPECT_EQ(pic.at(13, 0), RGB(4, 2, 0));
  for (int y = 0; y < 50; ++y) {
    ASSERT_EQ(pic.at(0, y), RGB(4 + 4 * y, 2 + 2 * y, 0)) << y;
    ASSERT_EQ(pic.at(17, y), pic.at(0, y)) << y;  // tiled across the width
  }
  // Vertical ramp along the width, 8 rows tiled to 13.
  MarkedPicture across(40, 13);
  PaintGradient(across.canvas(), Rect(0, 0, 40, 13), gdVerticalEnd, kStart, kStop);
  EXPECT_EQ(across.at(39, 12), kStop);
  EXPECT_EQ(across.at(0, 12), RGB(5, 2, 0));
  EXPECT_EQ(across.at(20, 12), across.at(20, 0));
}

TEST(WkGradients, CentredRampsPutTheStopColourOnTheSplit) {
  MarkedPicture pic(9, 21);
  PaintGradient(pic.canvas(), Rect(0, 0, 9, 21), gdHorizontalCenter, kStart, kStop);
  EXPECT_EQ(pic.at(4, 10), kStop);   // the split row, 21 div 2
  EXPECT_EQ(pic.at(4, 20), kStart);  // the far edge starts exactly on the start colour
  EXPECT_NE(pic.at(4, 0), kStop);
  for (int y = 1; y < 10; ++y) EXPECT_GT(GetRValue(pic.at(4, y)), GetRValue(pic.at(4, y - 1)));
  for (int y = 11; y < 20; ++y) EXPECT_GT(GetRValue(pic.at(4, y)), GetRValue(pic.at(4, y + 1)));
  MarkedPicture wide(30, 5);
  PaintGradient(wide.canvas(), Rect(0, 0, 30, 5), gdVerticalCenter, kStart, kStop);
  EXPECT_EQ(wide.at(15, 2), kStop);
  EXPECT_EQ(wide.at(29, 2), kStart);
}

TEST(WkGradients, BoxesHaveTheStopColourInTheMiddleTheStartAtTheEdgesAndAreSymmetric) {
  for (TGradientDirection d : {gdSquareBox, gdBigSquareBox, gdHorizontalBox, gdVerticalBox}) {
    for (int w : {21, 24}) {
      const int h = 17;
      MarkedPicture pic(w, h);
      PaintGradient(pic.canvas(), Rect(0, 0, w, h), d, kStart, kStop);
      EXPECT_EQ(pic.at((w - 1) / 2, (h - 1) / 2), kStop) << d << " " << w;
      EXPECT_EQ(pic.at(0, 0), kStart) << d << " " << w;
      EXPECT_EQ(pic.at(w - 1, h - 1), kStart) << d << " " << w;
      int asymmetric = 0, unpainted = 0;
      for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
          asymmetric += pic.at(x, y) != pic.at(w - 1 - x, h - 1 - y);
          unpainted += pic.at(x, y) == kMarker;
        }
      EXPECT_EQ(asymmetric, 0) << d << " " << w;
      EXPECT_EQ(unpainted, 0) << d << " " << w;
    }
  }
  // The inset bar of the horizontal box: the middle row is the stop colour a quarter in.
  MarkedPicture bar(40, 11);
  PaintGradient(bar.canvas(), Rect(0, 0, 40, 11), gdHorizontalBox, kStart, kStop);
  EXPECT_EQ(bar.at(10, 5), kStop);
  EXPECT_EQ(bar.at(29, 5), kStop);
  EXPECT_NE(bar.at(8, 5), kStop);
}

TEST(WkGradients, DiagonalsRunBetweenOppositeCorners) {
  MarkedPicture up(30, 20);
  PaintGradient(up.canvas(), Rect(0, 0, 30, 20), gdDiagonalUp, kStart, kStop);
  EXPECT_EQ(up.at(0, 19), kStart);
  const TColor farUp = up.at(29, 0);
  EXPECT_GE(GetRValue(farUp), 180);
  // Along the bottom edge towards the right the colour only grows.
  for (int x = 1; x < 30; ++x) EXPECT_GE(GetRValue(up.at(x, 19)), GetRValue(up.at(x - 1, 19)));
  // Bands are parallel to the diagonal through the other two corners.
  EXPECT_NEAR(GetRValue(up.at(0, 0)), GetRValue(up.at(29, 19)), 12);

  MarkedPicture down(30, 20);
  PaintGradient(down.canvas(), Rect(0, 0, 30, 20), gdDiagonalDown, kStart, kStop);
  EXPECT_EQ(down.at(29, 19), kStop);
  EXPECT_LE(GetRValue(down.at(0, 0)), 20);
  int unpainted = 0;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 30; ++x) unpainted += up.at(x, y) == kMarker || down.at(x, y) == kMarker;
  EXPECT_EQ(unpainted, 0);
}

TEST(WkGradients, BorderPaintsTheTwoPixelRingAndKeepsTheCallersClip) {
  MarkedPicture pic(30, 30);
  pic.canvas().IntersectClipRect(Rect(0, 0, 20, 30));
  PaintGradientBorder(pic.canvas(), Rect(0, 0, 30, 30), gdHorizontalEnd, clRed, clRed);
  EXPECT_TRUE(PixelsAre(
      pic.bitmap,
      {{0, 0, clRed}, {1, 10, clRed}, {2, 10, kMarker}, {10, 28, clRed}, {25, 0, kMarker}}));
  // The caller's clip is still there afterwards; the inner exclusion is gone.
  pic.canvas().Brush().SetColor(clBlue);
  pic.canvas().FillRect(Rect(0, 0, 30, 30));
  EXPECT_TRUE(PixelsAre(pic.bitmap, {{10, 10, clBlue}, {25, 10, kMarker}}));

  HighColorDisplay = false;
  MarkedPicture low(30, 30);
  PaintGradientBorder(low.canvas(), Rect(0, 0, 30, 30), gdHorizontalEnd, clRed, clRed);
  HighColorDisplay = true;
  EXPECT_EQ(low.at(0, 0), kMarker);
}

TEST(WkGradients, TransparentStretchLeavesTheKeyColourOut) {
  TBitmap source(2, 2);
  source.Canvas().Brush().SetColor(clRed);
  source.Canvas().FillRect(Rect(0, 0, 2, 2));
  source.Canvas().SetPixel(1, 1, clFuchsia);
  MarkedPicture pic(10, 10);
  TransparentStretchDraw(pic.canvas(), Rect(2, 2, 6, 6), source, Rect(0, 0, 2, 2), clFuchsia);
  EXPECT_TRUE(PixelsAre(pic.bitmap, {{2, 2, clRed},
                                     {3, 3, clRed},
                                     {5, 2, clRed},
                                     {4, 4, kMarker},
                                     {5, 5, kMarker},
                                     {6, 6, kMarker}}));
}
