// Self-painting controls: the off-screen picture, its copy on the screen, the paint state each
// paint starts from, painting a parent under a child, and window opacity.
#include <gtest/gtest.h>

#include <QImage>
#include <QPixmap>
#include <QWidget>
#include <stdexcept>
#include <thread>

#include "platform/gui/CustomControl.h"
#include "platform/gui/ExtCtrls.h"

void EnsureGuiApp();

namespace {

// Paints a red square at (2,2)-(5,5) after moving the origin and clipping, so that a second
// paint shows whether those were reset.
class TSquare : public TCustomControl {
 public:
  using TCustomControl::TCustomControl;
  int paints = 0;
  bool fail = false;
  bool copyDuringPaint = false;

 protected:
  void Paint() override {
    ++paints;
    copyDuringPaint = PaintingCopy();
    if (fail) throw std::runtime_error("paint failed");
    TCanvas& c = Canvas();
    if (paints == 1) c.Brush().SetColor(clRed);  // kept for later paints
    c.FillRect(Rect(2, 2, 5, 5));
    c.MoveOrigin(1, 1);
    c.SaveState();
    c.IntersectClipRect(Rect(0, 0, 1, 1));
    PaintControlTo(this, c);  // itself: ignored
  }
};

// Shows its parent's picture under a blue pixel at its own (0, 0).
class TSeeThrough : public TGraphicControl {
 public:
  using TGraphicControl::TGraphicControl;

 protected:
  void Paint() override {
    TCanvas& c = Canvas();
    c.SaveState();
    c.MoveOrigin(-Left(), -Top());
    PaintControlTo(Parent(), c);
    c.RestoreState(-1);
    c.SetPixel(0, 0, clBlue);
  }
};

class TBlank : public TGraphicControl {
 public:
  using TGraphicControl::TGraphicControl;
};

class CustomControlTest : public ::testing::Test {
 protected:
  void SetUp() override { EnsureGuiApp(); }
};

TEST_F(CustomControlTest, PaintGoesToAnOffscreenPictureThatTheWidgetShows) {
  TSquare square(nullptr);
  square.SetParentColor(false);
  square.SetColor(clYellow);
  square.SetBounds(0, 0, 8, 6);
  TBitmap& picture = square.PaintOffscreen();
  EXPECT_EQ(picture.Width(), 8);
  EXPECT_EQ(picture.Height(), 6);
  EXPECT_EQ(picture.PixelColor(2, 2), clRed);
  EXPECT_EQ(picture.PixelColor(4, 4), clRed);
  EXPECT_EQ(picture.PixelColor(5, 5), clYellow);
  EXPECT_EQ(picture.PixelColor(1, 2), clYellow);

  // The screen gets the same picture.
  const QImage shown = square.Widget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(shown.width(), 8);
  EXPECT_EQ(shown.pixel(3, 3), qRgb(255, 0, 0));
  EXPECT_EQ(shown.pixel(6, 1), qRgb(255, 255, 0));
}

TEST_F(CustomControlTest, EveryPaintStartsFromAFreshOriginAndClipButKeepsTheBrush) {
  TSquare square(nullptr);
  square.SetBounds(0, 0, 8, 8);
  square.PaintOffscreen();
  TBitmap& second = square.PaintOffscreen();
  EXPECT_EQ(square.paints, 2);
  EXPECT_EQ(second.PixelColor(2, 2), clRed);  // origin back at 0 and clip gone
  EXPECT_EQ(second.PixelColor(5, 5), ColorToRGB(square.Color()));
  EXPECT_EQ(square.Canvas().Brush().Color(), clRed);
  EXPECT_EQ(square.Canvas().Origin(), Point(1, 1));  // as the paint left it

  // A bigger control gets a bigger picture.
  square.SetBounds(0, 0, 20, 3);
  EXPECT_EQ(square.PaintOffscreen().Width(), 20);
  square.SetBounds(0, 0, 0, 3);
  const int before = square.paints;
  EXPECT_TRUE(square.PaintOffscreen().Empty());
  EXPECT_EQ(square.paints, before);  // nothing to paint on
}

TEST_F(CustomControlTest, AFailingPaintLeavesTheCanvasUnlocked) {
  TSquare square(nullptr);
  square.SetBounds(0, 0, 4, 4);
  square.fail = true;
  EXPECT_THROW(square.PaintOffscreen(), std::runtime_error);
  EXPECT_FALSE(square.Canvas().LockedByCurrentThread());
  bool lockedElsewhere = false;
  std::thread other([&] {
    lockedElsewhere = square.Canvas().TryLock();
    if (lockedElsewhere) square.Canvas().Unlock();
  });
  other.join();
  EXPECT_TRUE(lockedElsewhere);
}

TEST_F(CustomControlTest, GraphicControlsShowTheParentColourAndCanPaintTheParentUnder) {
  TSquare parent(nullptr);
  parent.SetParentColor(false);
  parent.SetColor(clAqua);
  parent.SetBounds(0, 0, 12, 12);

  auto* blank = new TBlank(&parent);
  blank->SetParent(&parent);
  blank->SetParentColor(false);
  blank->SetColor(clFuchsia);
  blank->SetBounds(6, 6, 4, 4);
  EXPECT_EQ(blank->PaintOffscreen().PixelColor(1, 1), clAqua);

  auto* glass = new TSeeThrough(&parent);
  glass->SetParent(&parent);
  glass->SetBounds(1, 1, 6, 6);
  TBitmap& seen = glass->PaintOffscreen();
  EXPECT_EQ(seen.PixelColor(0, 0), clBlue);
  EXPECT_EQ(seen.PixelColor(1, 1), clRed);   // parent's (2,2)
  EXPECT_EQ(seen.PixelColor(3, 3), clRed);   // parent's (4,4)
  EXPECT_EQ(seen.PixelColor(4, 4), clAqua);  // parent's (5,5)
  EXPECT_TRUE(parent.copyDuringPaint);
  EXPECT_FALSE(parent.PaintingCopy());

  // Controls that are not self-painting are drawn through the toolkit.
  TPanel panel(nullptr);
  panel.SetParentColor(false);
  panel.SetColor(clLime);
  panel.SetBevelOuter(bvNone);
  panel.SetBounds(0, 0, 5, 5);
  TBitmap target(8, 8, pf32bit);
  target.Canvas().MoveOrigin(2, 2);
  PaintControlTo(&panel, target.Canvas());
  EXPECT_EQ(target.PixelColor(2, 2), clLime);
  EXPECT_EQ(target.PixelColor(6, 6), clLime);
  EXPECT_EQ(target.PixelColor(7, 7), clWhite);
  EXPECT_EQ(target.PixelColor(1, 1), clWhite);
  PaintControlTo(nullptr, target.Canvas());  // nothing
}

TEST_F(CustomControlTest, WindowOpacityForTopLevelControlsOnly) {
  TSquare window(nullptr);
  window.SetBounds(0, 0, 10, 10);
  EXPECT_EQ(WindowAlpha(&window), 255);
  SetWindowAlpha(&window, 128);
  EXPECT_EQ(WindowAlpha(&window), 128);
  SetWindowAlpha(&window, 300);
  SetWindowAlpha(&window, -1);
  EXPECT_EQ(WindowAlpha(&window), 128);

  auto* child = new TSquare(&window);
  child->SetParent(&window);
  SetWindowAlpha(child, 10);
  EXPECT_EQ(WindowAlpha(child), 255);
  SetWindowAlpha(nullptr, 10);
}

}  // namespace
