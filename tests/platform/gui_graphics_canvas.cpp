// Canvas pixel rules: every check renders into a bitmap pre-filled with a marker colour and
// reads pixels at exact places.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <atomic>
#include <chrono>
#include <thread>

#include "platform/gui/Graphics.h"

// One application object for every graphics test (fonts need it); reuses one that another
// test environment already made.
void EnsureGuiApp() {
  if (QCoreApplication::instance() != nullptr) return;
  static int argc = 1;
  static char name[] = "platform_tests";
  static char* argv[] = {name, nullptr};
  static QApplication app(argc, argv);
}

namespace {

constexpr TColor kMarker = RGB(1, 2, 3);

class CanvasTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureGuiApp();
    bmp.SetPixelFormat(pf32bit);
    bmp.SetSize(24, 20);
    Fill(kMarker);
  }
  // Repaints the whole bitmap, leaving the canvas's brush as it was.
  void Fill(TColor color) {
    TCanvas& c = bmp.Canvas();
    TBrush kept;
    kept.Assign(c.Brush());
    c.Brush().SetBitmap(nullptr);
    c.Brush().SetColor(color);
    const TPoint origin = c.Origin();
    c.SetOrigin(Point(0, 0));
    c.FillRect(Rect(0, 0, bmp.Width(), bmp.Height()));
    c.SetOrigin(origin);
    c.Brush().Assign(kept);
  }
  TCanvas& canvas() { return bmp.Canvas(); }
  TColor At(int x, int y) { return bmp.PixelColor(x, y); }
  // Row y from x0 to x1 (excluded): '#' where the pixel has the colour, '.' elsewhere.
  std::string Row(int y, int x0, int x1, TColor color) {
    std::string s;
    for (int x = x0; x < x1; ++x) s += At(x, y) == color ? '#' : '.';
    return s;
  }
  std::string Column(int x, int y0, int y1, TColor color) {
    std::string s;
    for (int y = y0; y < y1; ++y) s += At(x, y) == color ? '#' : '.';
    return s;
  }
  int Count(TColor color) {
    int n = 0;
    for (int y = 0; y < bmp.Height(); ++y)
      for (int x = 0; x < bmp.Width(); ++x) n += At(x, y) == color;
    return n;
  }
  TBitmap bmp;
};

TEST_F(CanvasTest, FillRectCoversLeftTopButNotRightBottom) {
  canvas().Brush().SetColor(clRed);
  canvas().FillRect(Rect(2, 3, 6, 7));
  EXPECT_EQ(Row(3, 0, 8, clRed), "..####..");
  EXPECT_EQ(Column(2, 0, 9, clRed), "...####..");
  EXPECT_EQ(Count(clRed), 16);

  // Empty and inverted rectangles and a clear brush paint nothing.
  canvas().Brush().SetColor(clBlue);
  canvas().FillRect(Rect(10, 10, 10, 15));
  canvas().FillRect(Rect(15, 15, 12, 12));
  canvas().Brush().SetStyle(bsClear);
  canvas().FillRect(Rect(0, 0, 24, 20));
  EXPECT_EQ(Count(clBlue), 0);
  EXPECT_EQ(Count(clRed), 16);

  // FrameRect: the one-pixel edge of the same area, in the brush colour.
  Fill(kMarker);
  canvas().Brush().SetColor(clBlue);
  canvas().FrameRect(Rect(2, 3, 6, 7));
  EXPECT_EQ(Row(3, 0, 8, clBlue), "..####..");
  EXPECT_EQ(Row(4, 0, 8, clBlue), "..#..#..");
  EXPECT_EQ(Row(6, 0, 8, clBlue), "..####..");
  EXPECT_EQ(Count(clBlue), 12);
}

TEST_F(CanvasTest, LineToLeavesOutTheEndPointInEveryDirection) {
  TCanvas& c = canvas();
  c.Pen().SetColor(clRed);
  c.MoveTo(1, 1);
  c.LineTo(5, 1);
  EXPECT_EQ(Row(1, 0, 7, clRed), ".####..");
  EXPECT_EQ(c.PenPos(), Point(5, 1));
  c.MoveTo(5, 3);
  c.LineTo(1, 3);
  EXPECT_EQ(Row(3, 0, 7, clRed), "..####.");
  c.MoveTo(8, 1);
  c.LineTo(8, 4);
  EXPECT_EQ(Column(8, 0, 6, clRed), ".###..");
  c.MoveTo(9, 4);
  c.LineTo(9, 1);
  EXPECT_EQ(Column(9, 0, 6, clRed), "..###.");

  Fill(kMarker);
  c.MoveTo(0, 0);
  c.LineTo(4, 4);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(At(i, i), clRed) << i;
  EXPECT_EQ(At(4, 4), kMarker);
  EXPECT_EQ(Count(clRed), 4);

  // A shallow line has exactly one pixel per column, the last column left out.
  Fill(kMarker);
  c.MoveTo(0, 5);
  c.LineTo(12, 9);
  EXPECT_EQ(Count(clRed), 12);
  for (int x = 0; x < 12; ++x)
    EXPECT_EQ(Column(x, 0, 20, clRed).find('#') != std::string::npos, true) << x;
  EXPECT_EQ(At(0, 5), clRed);
  EXPECT_EQ(Column(12, 0, 20, clRed), std::string(20, '.'));

  // A zero-length line draws nothing; a clear pen moves without drawing.
  Fill(kMarker);
  c.MoveTo(3, 3);
  c.LineTo(3, 3);
  c.Pen().SetStyle(psClear);
  c.LineTo(10, 3);
  EXPECT_EQ(Count(clRed), 0);
  EXPECT_EQ(c.PenPos(), Point(10, 3));
}

TEST_F(CanvasTest, DottedPenAndPolylineKeepTheirEnds) {
  TCanvas& c = canvas();
  c.Pen().SetColor(clRed);
  c.Pen().SetStyle(psDot);
  c.MoveTo(0, 0);
  c.LineTo(12, 0);
  EXPECT_EQ(Row(0, 0, 13, clRed), "###...###....");

  Fill(kMarker);
  c.Pen().SetStyle(psSolid);
  c.Polyline({{1, 1}, {4, 1}, {4, 4}});
  EXPECT_EQ(Row(1, 0, 6, clRed), ".####.");
  EXPECT_EQ(Column(4, 0, 6, clRed), ".###..");
  EXPECT_EQ(c.PenPos(), Point(12, 0));  // Polyline leaves the pen position alone
}

TEST_F(CanvasTest, RectangleOutlinesWithThePenAndFillsWithTheBrush) {
  TCanvas& c = canvas();
  c.Pen().SetColor(clBlack);
  c.Brush().SetColor(clWhite);
  c.Rectangle(1, 1, 7, 5);
  EXPECT_EQ(Row(1, 0, 8, clBlack), ".######.");
  EXPECT_EQ(Row(4, 0, 8, clBlack), ".######.");
  EXPECT_EQ(Row(2, 0, 8, clBlack), ".#....#.");
  EXPECT_EQ(Row(2, 0, 8, clWhite), "..####..");
  EXPECT_EQ(Column(1, 0, 6, clBlack), ".####.");

  // Without a pen the fill is one pixel smaller on the right and bottom.
  Fill(kMarker);
  c.Pen().SetStyle(psClear);
  c.Rectangle(Rect(1, 1, 7, 5));
  EXPECT_EQ(Row(1, 0, 8, clWhite), ".#####..");
  EXPECT_EQ(Column(1, 0, 6, clWhite), ".###..");
  EXPECT_EQ(Count(clWhite), 15);

  // A clear brush leaves the inside.
  Fill(kMarker);
  c.Pen().SetStyle(psSolid);
  c.Brush().SetStyle(bsClear);
  c.Rectangle(1, 1, 7, 5);
  EXPECT_EQ(Row(2, 0, 8, kMarker), "#.####.#");

  // A pen three pixels wide is centred on the one-pixel outline.
  Fill(kMarker);
  c.Pen().SetWidth(3);
  c.Rectangle(4, 4, 12, 12);
  EXPECT_EQ(Row(3, 2, 14, clBlack), ".##########.");
  EXPECT_EQ(Row(6, 2, 14, clBlack), ".###....###.");
  EXPECT_EQ(Row(12, 2, 14, clBlack), ".##########.");
}

TEST_F(CanvasTest, PolygonWithoutPenFillsPixelCentresInside) {
  TCanvas& c = canvas();
  c.Pen().SetStyle(psClear);
  c.Brush().SetColor(clGreen);
  c.Polygon({{2, 2}, {12, 2}, {12, 12}, {2, 12}});
  EXPECT_EQ(Count(clGreen), 100);
  EXPECT_EQ(At(2, 2), clGreen);
  EXPECT_EQ(At(11, 11), clGreen);
  EXPECT_EQ(At(12, 11), kMarker);
  EXPECT_EQ(At(11, 12), kMarker);

  // With a pen the outline adds the right and bottom edges through the vertices.
  Fill(kMarker);
  c.Pen().SetStyle(psSolid);
  c.Pen().SetColor(clBlack);
  c.Polygon({{2, 2}, {12, 2}, {12, 12}, {2, 12}});
  EXPECT_EQ(Row(12, 1, 14, clBlack), ".###########.");
  EXPECT_EQ(Count(clGreen), 81);

  // A triangle: a pixel whose centre lies inside is filled, one outside is not.
  Fill(kMarker);
  c.Pen().SetStyle(psClear);
  c.Polygon({{0, 0}, {16, 0}, {0, 16}});
  EXPECT_EQ(At(0, 0), clGreen);
  EXPECT_EQ(At(14, 0), clGreen);  // centre (14.5, 0.5): sum 15 < 16
  EXPECT_EQ(At(15, 1), kMarker);  // centre (15.5, 1.5): sum 17
  EXPECT_EQ(At(8, 8), kMarker);   // centre (8.5, 8.5): sum 17
  EXPECT_EQ(At(7, 7), clGreen);   // sum 15
}

TEST_F(CanvasTest, EllipseStaysInsideItsBoundingRectangle) {
  TCanvas& c = canvas();
  c.Pen().SetColor(clBlack);
  c.Brush().SetColor(clWhite);
  c.Ellipse(2, 2, 14, 10);
  int minX = 99, maxX = -1, minY = 99, maxY = -1;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 24; ++x)
      if (At(x, y) != kMarker) {
        minX = std::min(minX, x), maxX = std::max(maxX, x);
        minY = std::min(minY, y), maxY = std::max(maxY, y);
      }
  EXPECT_EQ(minX, 2);
  EXPECT_EQ(maxX, 13);
  EXPECT_EQ(minY, 2);
  EXPECT_EQ(maxY, 9);
  EXPECT_EQ(At(8, 6), clWhite);
  EXPECT_EQ(At(2, 2), kMarker);  // corners are outside the curve
}

TEST_F(CanvasTest, PixelsAndTheFocusRectangle) {
  TCanvas& c = canvas();
  c.SetPixel(3, 4, clRed);
  EXPECT_EQ(c.Pixel(3, 4), clRed);
  EXPECT_EQ(c.Pixel(-1, 0), clNone);
  EXPECT_EQ(c.Pixel(24, 0), clNone);
  c.SetPixel(100, 100, clRed);  // outside: ignored
  EXPECT_EQ(Count(clRed), 1);

  Fill(clWhite);
  c.DrawFocusRect(Rect(2, 2, 10, 8));
  // Every other pixel of the frame is inverted, the inside untouched.
  EXPECT_EQ(Row(2, 2, 10, clBlack), "#.#.#.#.");
  EXPECT_EQ(Column(2, 2, 8, clBlack), "#.#.#.");
  EXPECT_EQ(Row(5, 3, 9, clWhite), "######");
  c.DrawFocusRect(Rect(2, 2, 10, 8));
  EXPECT_EQ(Count(clWhite), 24 * 20);
}

TEST_F(CanvasTest, XorPenTwiceRestores) {
  TCanvas& c = canvas();
  c.Pen().SetMode(pmXor);
  c.Pen().SetColor(clWhite);
  c.MoveTo(0, 2);
  c.LineTo(10, 2);
  EXPECT_EQ(At(0, 2), RGB(254, 253, 252));
  c.MoveTo(0, 2);
  c.LineTo(10, 2);
  EXPECT_EQ(Count(kMarker), 24 * 20);
}

TEST_F(CanvasTest, ClippingIntersectsExcludesAndReports) {
  TCanvas& c = canvas();
  EXPECT_EQ(c.ClipRect(), Rect(0, 0, 24, 20));
  c.IntersectClipRect(Rect(2, 2, 10, 10));
  c.ExcludeClipRect(Rect(4, 4, 6, 6));
  EXPECT_EQ(c.ClipRect(), Rect(2, 2, 10, 10));
  c.Brush().SetColor(clRed);
  c.FillRect(Rect(0, 0, 24, 20));
  EXPECT_EQ(Count(clRed), 64 - 4);
  EXPECT_EQ(At(4, 4), kMarker);
  EXPECT_EQ(At(1, 2), kMarker);

  c.SelectClipRegion(nullptr);
  Fill(kMarker);
  const TRegion triangle({{0, 0}, {10, 0}, {0, 10}});
  EXPECT_TRUE(triangle.Contains(1, 1));
  EXPECT_FALSE(triangle.Contains(9, 9));
  c.SelectClipRegion(&triangle);
  c.Brush().SetColor(clBlue);
  c.FillRect(Rect(0, 0, 24, 20));
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 24; ++x)
      ASSERT_EQ(At(x, y) == clBlue, triangle.Contains(x, y)) << x << "," << y;

  // A region fills in logical coordinates.
  c.SelectClipRegion(nullptr);
  Fill(kMarker);
  c.MoveOrigin(10, 0);
  c.Brush().SetColor(clRed);
  c.FillRegion(triangle);
  c.MoveOrigin(-10, 0);
  EXPECT_EQ(At(10, 0), clRed);
  EXPECT_EQ(At(9, 0), kMarker);
  int inside = 0;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 24; ++x) inside += triangle.Contains(x, y);
  EXPECT_EQ(Count(clRed), inside);

  // An empty intersection clips everything.
  c.IntersectClipRect(Rect(20, 20, 22, 22));
  EXPECT_EQ(c.ClipRect(), TRect{});
  c.Brush().SetColor(clLime);
  c.FillRect(Rect(0, 0, 24, 20));
  EXPECT_EQ(Count(clLime), 0);
}

TEST_F(CanvasTest, OriginMovesDrawingAndClipBoxes) {
  TCanvas& c = canvas();
  c.MoveOrigin(3, 2);
  c.Brush().SetColor(clRed);
  c.FillRect(Rect(0, 0, 2, 2));
  EXPECT_EQ(At(3, 2), clRed);
  EXPECT_EQ(At(2, 2), kMarker);
  EXPECT_EQ(c.ClipRect(), Rect(-3, -2, 21, 18));
  EXPECT_EQ(c.Pixel(0, 0), clRed);

  const TPoint previous = c.SetWindowOrg(5, 5);  // logical (5,5) at device (0,0)
  EXPECT_EQ(previous, Point(-3, -2));
  c.Brush().SetColor(clBlue);
  c.FillRect(Rect(5, 5, 6, 6));
  EXPECT_EQ(At(0, 0), clBlue);
}

TEST_F(CanvasTest, SaveAndRestoreState) {
  TCanvas& c = canvas();
  c.Pen().SetColor(clRed);
  const int outer = c.SaveState();
  c.Pen().SetColor(clBlue);
  c.MoveOrigin(5, 5);
  c.IntersectClipRect(Rect(0, 0, 1, 1));
  c.SaveState();
  c.Font().SetSize(20);
  EXPECT_TRUE(c.RestoreState(-1));
  EXPECT_EQ(c.Font().Size(), 8);
  EXPECT_EQ(c.Pen().Color(), clBlue);
  EXPECT_TRUE(c.RestoreState(outer));
  EXPECT_EQ(c.Pen().Color(), clRed);
  EXPECT_EQ(c.Origin(), Point(0, 0));
  EXPECT_EQ(c.ClipRect(), Rect(0, 0, 24, 20));
  EXPECT_FALSE(c.RestoreState(outer));  // already dropped
  EXPECT_FALSE(c.RestoreState(-1));
}

TEST_F(CanvasTest, PatternBrushIsAlignedToTheTargetNotTheRectangle) {
  TBitmap pattern(8, 8, pf32bit);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x)
      pattern.Canvas().SetPixel(x, y, ((x + 2 * y) % 3 == 0) ? clRed : clWhite);
  TCanvas& c = canvas();
  c.Brush().SetBitmap(&pattern);
  c.FillRect(Rect(3, 5, 20, 17));
  for (int y = 5; y < 17; ++y)
    for (int x = 3; x < 20; ++x)
      ASSERT_EQ(At(x, y), pattern.PixelColor(x % 8, y % 8)) << x << "," << y;
  EXPECT_EQ(At(2, 5), kMarker);
  EXPECT_EQ(At(20, 5), kMarker);

  // Aligned to the device pixel also when the origin moves.
  Fill(kMarker);
  c.Brush().SetBitmap(&pattern);
  c.MoveOrigin(3, 1);
  c.FillRect(Rect(0, 0, 8, 8));
  EXPECT_EQ(At(3, 1), pattern.PixelColor(3, 1));
  EXPECT_EQ(At(5, 4), pattern.PixelColor(5, 4));
}

TEST_F(CanvasTest, CanvasOverAWidgetPainter) {
  QImage target(10, 6, QImage::Format_RGB32);
  target.fill(Qt::black);
  TCanvas c;
  EXPECT_FALSE(c.HandleAllocated());
  c.FillRect(Rect(0, 0, 4, 4));  // unbound: nothing, no crash
  {
    QPainter painter(&target);
    c.BindPainter(&painter, 10, 6);
    EXPECT_EQ(c.TargetSize(), (TSize{10, 6}));
    c.Brush().SetColor(clRed);
    c.FillRect(Rect(1, 1, 3, 2));
    EXPECT_EQ(c.Pixel(1, 1), clRed);
    c.Unbind();
  }
  EXPECT_EQ(target.pixel(1, 1), qRgb(255, 0, 0));
  EXPECT_EQ(target.pixel(3, 1), qRgb(0, 0, 0));
  EXPECT_EQ(target.pixel(1, 2), qRgb(0, 0, 0));
}

TEST(GraphicsValues, SystemColoursResolveThroughOneTable) {
  EXPECT_EQ(ColorToRGB(clRed), clRed);
  EXPECT_EQ(ColorToRGB(clWindow), clWhite);
  EXPECT_EQ(ColorToRGB(clWindowText), clBlack);
  EXPECT_EQ(ColorToRGB(clBtnShadow), clGray);
  EXPECT_EQ(ColorToRGB(clBtnHighlight), clWhite);
  EXPECT_EQ(ColorToRGB(clInfoBk), RGB(255, 255, 225));
  EXPECT_NE(ColorToRGB(clBtnFace), ColorToRGB(cl3DDkShadow));
  EXPECT_EQ(ColorToRGB(clSystemColor | 200), clBlack);  // unknown number
  EXPECT_EQ(ColorToRGB(clPaletteRelative | clRed), clRed);
  EXPECT_TRUE(IsSystemColor(clBtnFace));
  EXPECT_FALSE(IsSystemColor(clNone));

  OverrideDisplayColorDepth(8);
  EXPECT_EQ(DisplayColorDepth(), 8);
  OverrideDisplayColorDepth(0);
  EXPECT_GT(DisplayColorDepth(), 8);
}

TEST(GraphicsValues, RectangleArithmetic) {
  TRect r = Bounds(1, 2, 3, 4);
  EXPECT_EQ(r, Rect(1, 2, 4, 6));
  EXPECT_TRUE(PtInRect(r, Point(1, 2)));
  EXPECT_FALSE(PtInRect(r, Point(4, 2)));
  EXPECT_FALSE(PtInRect(r, Point(1, 6)));
  InflateRect(r, 1, -1);
  EXPECT_EQ(r, Rect(0, 3, 5, 5));
  OffsetRect(r, -2, 1);
  EXPECT_EQ(r, Rect(-2, 4, 3, 6));
  EXPECT_TRUE(IsRectEmpty(Rect(3, 3, 3, 9)));
  EXPECT_TRUE(IsRectEmpty(Rect(5, 5, 4, 9)));

  TRect out;
  EXPECT_TRUE(IntersectRect(out, Rect(0, 0, 10, 10), Rect(5, 5, 15, 15)));
  EXPECT_EQ(out, Rect(5, 5, 10, 10));
  EXPECT_FALSE(IntersectRect(out, Rect(0, 0, 5, 5), Rect(5, 0, 9, 5)));  // edges only touch
  EXPECT_EQ(out, TRect{});
  EXPECT_TRUE(UnionRect(out, Rect(0, 0, 2, 2), Rect(5, 6, 7, 8)));
  EXPECT_EQ(out, Rect(0, 0, 7, 8));
  EXPECT_TRUE(UnionRect(out, Rect(3, 3, 3, 3), Rect(5, 6, 7, 8)));  // an empty one is ignored
  EXPECT_EQ(out, Rect(5, 6, 7, 8));
  EXPECT_FALSE(UnionRect(out, TRect{}, TRect{}));
}

TEST(GraphicsValues, RegionsCombineAndHitTest) {
  TRegion a(Rect(0, 0, 10, 10));
  TRegion b(Rect(5, 5, 15, 15));
  TRegion u = a;
  u.Combine(b, rcOr);
  EXPECT_TRUE(u.Contains(12, 12));
  EXPECT_FALSE(u.Contains(12, 2));
  EXPECT_EQ(u.BoundingBox(), Rect(0, 0, 15, 15));
  a.Combine(b, rcDiff);
  EXPECT_FALSE(a.Contains(7, 7));
  EXPECT_TRUE(a.Contains(2, 7));
  a.Offset(100, 0);
  EXPECT_TRUE(a.Contains(102, 7));
  EXPECT_TRUE(a.IntersectsRect(Rect(100, 0, 101, 1)));
  EXPECT_TRUE(TRegion(std::vector<TPoint>{{0, 0}, {1, 1}}).IsEmpty());  // two points: no area
  EXPECT_TRUE(TRegion(Rect(5, 5, 2, 2)).IsEmpty());
}

TEST(BitmapDrawLock, DrawingWaitsForAWorkerHoldingTheBitmap) {
  EnsureGuiApp();
  EnableBitmapDrawLock();
  EXPECT_TRUE(BitmapDrawLockEnabled());
  TBitmap source(4, 4, pf32bit);
  TBitmap target(4, 4, pf32bit);
  std::atomic<bool> locked{false};
  std::atomic<bool> released{false};
  std::thread worker([&] {
    source.Canvas().Lock();
    locked = true;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    source.Canvas().Brush().SetColor(clRed);
    source.Canvas().FillRect(Rect(0, 0, 4, 4));
    released = true;
    source.Canvas().Unlock();
  });
  while (!locked) std::this_thread::yield();
  target.Canvas().Draw(0, 0, source);
  EXPECT_TRUE(released.load());
  EXPECT_EQ(target.PixelColor(2, 2), clRed);  // drew the worker's finished picture
  worker.join();

  // A thread that holds the lock itself can still draw (the lock is recursive).
  source.Canvas().Lock();
  EXPECT_TRUE(source.Canvas().LockedByCurrentThread());
  target.Canvas().Draw(0, 0, source);
  source.Canvas().Unlock();
  EXPECT_FALSE(source.Canvas().LockedByCurrentThread());
}

TEST(BitmapDrawLock, ABitmapHasOneCanvasWhicheverThreadAsksFirst) {
  // The canvas is made when first asked for: a worker drawing on a new bitmap while the GUI
  // thread draws it must lock the same one.
  EnsureGuiApp();
  for (int round = 0; round < 50; ++round) {
    TBitmap bitmap(2, 2, pf32bit);
    std::atomic<bool> go{false};
    TCanvas* theirs = nullptr;
    std::thread worker([&] {
      while (!go) std::this_thread::yield();
      theirs = &bitmap.Canvas();
    });
    go = true;
    TCanvas* ours = &bitmap.Canvas();
    worker.join();
    ASSERT_EQ(theirs, ours) << round;
  }
  // A copy made before either had a canvas draws on itself.
  TBitmap first(2, 2, pf32bit);
  TBitmap second(first);
  second.Canvas().Brush().SetColor(clRed);
  second.Canvas().FillRect(Rect(0, 0, 2, 2));
  EXPECT_EQ(second.PixelColor(1, 1), clRed);
  EXPECT_EQ(first.PixelColor(1, 1), clWhite);
}

}  // namespace
