// Painting for scaled screens: self-painted controls drawn at the device pixel ratio (text at
// the device's resolution, lines of one width wherever they lie), and bitmaps that hold their
// pixels at a ratio while the canvas keeps counting in logical pixels.
#include <gtest/gtest.h>

#include <QImage>
#include <QWidget>
#include <algorithm>
#include <cstdlib>
#include <vector>

#include "platform/gui/CustomControl.h"

void EnsureGuiApp();

namespace {

// A line of text in black on white.
class TCaptionBox : public TCustomControl {
 public:
  explicit TCaptionBox(TComponent* owner) : TCustomControl(owner) {
    SetParentColor(false);
    SetColor(clWhite);
  }

 protected:
  void Paint() override {
    TCanvas& c = Canvas();
    c.Font().SetName("DejaVu Sans");
    c.Font().SetSize(9);
    c.Font().SetColor(clBlack);
    c.Brush().SetStyle(bsClear);
    c.TextOut(2, 2, "Zelkar 1942 wave");
  }
};

// Two raised rings round the box and two one-pixel separators, drawn as the kit draws them.
class TBevelBox : public TGraphicControl {
 public:
  using TGraphicControl::TGraphicControl;

 protected:
  void Paint() override {
    TCanvas& c = Canvas();
    const int w = Width(), h = Height();
    auto line = [&](TColor color, int x1, int y1, int x2, int y2) {
      c.Pen().SetColor(color);
      c.MoveTo(x1, y1);
      c.LineTo(x2, y2);
    };
    for (int ring = 0; ring < 2; ++ring) {
      const TColor light = ring == 0 ? clWhite : clSilver;
      const TColor dark = ring == 0 ? clBlack : clGray;
      line(light, ring, ring, ring, h - ring);
      line(light, ring, ring, w - ring, ring);
      line(dark, w - 1 - ring, ring, w - 1 - ring, h - ring);
      line(dark, ring, h - 1 - ring, w - ring, h - 1 - ring);
    }
    line(clRed, 7, 2, 7, h - 2);
    line(clRed, 12, 2, 12, h - 2);
  }
};

class TParentBox : public TCustomControl {
 public:
  explicit TParentBox(TComponent* owner) : TCustomControl(owner) {
    SetParentColor(false);
    SetColor(clBtnFace);
  }
};

// What the widget shows on a screen of this device pixel ratio.
QImage Shown(TControl& control, double ratio) {
  QImage image(static_cast<int>(control.Width() * ratio + 0.999),
               static_cast<int>(control.Height() * ratio + 0.999), QImage::Format_RGB32);
  image.setDevicePixelRatio(ratio);
  image.fill(Qt::magenta);
  control.Widget()->render(&image);
  image.setDevicePixelRatio(1.0);
  return image;
}

bool Dark(QRgb c) { return qGray(c) < 128; }

// Runs of one colour along a row: colour and length.
std::vector<std::pair<QRgb, int>> Runs(const QImage& image, int y) {
  std::vector<std::pair<QRgb, int>> runs;
  for (int x = 0; x < image.width(); ++x) {
    const QRgb c = image.pixel(x, y) & 0xFFFFFF;
    if (!runs.empty() && runs.back().first == c)
      ++runs.back().second;
    else
      runs.emplace_back(c, 1);
  }
  return runs;
}

class ScaledPaintingTest : public ::testing::Test {
 protected:
  void SetUp() override { EnsureGuiApp(); }
};

TEST_F(ScaledPaintingTest, TextIsPaintedAtTheDevicePixelRatioNotEnlarged) {
  TCaptionBox box(nullptr);
  box.SetBounds(0, 0, 140, 20);
  const QImage once = Shown(box, 1.0);
  const QImage twice = Shown(box, 2.0);
  ASSERT_EQ(twice.width(), 280);
  ASSERT_EQ(twice.height(), 40);
  // An enlarged picture repeats every pixel in a 2 x 2 block; glyph edges painted at the
  // device's resolution split many such blocks.
  int split = 0, inked = 0;
  for (int y = 0; y + 1 < twice.height(); y += 2) {
    for (int x = 0; x + 1 < twice.width(); x += 2) {
      const QRgb a = twice.pixel(x, y);
      if (Dark(a)) ++inked;
      if (a != twice.pixel(x + 1, y) || a != twice.pixel(x, y + 1) ||
          a != twice.pixel(x + 1, y + 1))
        ++split;
    }
  }
  EXPECT_GT(inked, 40);
  EXPECT_GT(split, 100);
  // Still the same text in the same place: the ink lies where the 1x picture has its ink.
  int inkedAtOnce = 0, inkedBoth = 0;
  for (int y = 0; y < once.height(); ++y) {
    for (int x = 0; x < once.width(); ++x) {
      if (!Dark(once.pixel(x, y))) continue;
      ++inkedAtOnce;
      bool near = false;
      for (int dy = -2; dy <= 3 && !near; ++dy)
        for (int dx = -2; dx <= 3 && !near; ++dx) {
          const int tx = 2 * x + dx, ty = 2 * y + dy;
          near = twice.valid(tx, ty) && Dark(twice.pixel(tx, ty));
        }
      if (near) ++inkedBoth;
    }
  }
  EXPECT_GT(inkedAtOnce, 20);
  EXPECT_GE(inkedBoth * 10, inkedAtOnce * 9);
}

TEST_F(ScaledPaintingTest, NeighbouringControlsGetTheSameLinesAt150Percent) {
  TParentBox parent(nullptr);
  parent.SetBounds(0, 0, 38, 14);
  TBevelBox first(&parent), second(&parent);
  first.SetParent(&parent);
  second.SetParent(&parent);
  first.SetBounds(0, 0, 19, 14);
  second.SetBounds(19, 0, 19, 14);
  const QImage shown = Shown(parent, 1.5);
  // Along the middle row every line is one device pixel wide, and both boxes show the same
  // sequence of colours: rings, separators and the fill between them.
  const auto runs = Runs(shown, shown.height() / 2);
  const QRgb fill = runs[2].first;  // after the two rings of the first box
  std::vector<std::pair<QRgb, int>> lines;
  for (const auto& run : runs) {
    if (run.first == fill) continue;
    EXPECT_EQ(run.second, 1) << std::hex << run.first << " run of " << std::dec << run.second;
    lines.push_back(run);
  }
  const std::vector<QRgb> oneBox{0xFFFFFF, 0xC0C0C0, 0xFF0000, 0xFF0000, 0x808080, 0x000000};
  std::vector<QRgb> expected = oneBox;
  expected.insert(expected.end(), oneBox.begin(), oneBox.end());
  ASSERT_EQ(lines.size(), expected.size());
  for (size_t i = 0; i < lines.size(); ++i) EXPECT_EQ(lines[i].first, expected[i]) << i;
  // The boxes cover 28.5 device pixels each, so one gets 29 and the other 28: the gaps
  // between the lines differ by a pixel at most.
  std::vector<int> gaps;
  for (const auto& run : runs)
    if (run.first == fill) gaps.push_back(run.second);
  ASSERT_EQ(gaps.size(), 6u);
  for (size_t i = 0; i < 3; ++i) EXPECT_LE(std::abs(gaps[i] - gaps[i + 3]), 1) << i;
  // Down the middle of the separator the top and bottom rings are one pixel each too.
  int sepX = -1;
  for (int x = 0; x < shown.width() && sepX < 0; ++x)
    if ((shown.pixel(x, shown.height() / 2) & 0xFFFFFF) == 0xFF0000) sepX = x;
  ASSERT_GE(sepX, 0);
  int column = 0;
  for (int y = 0; y < shown.height(); ++y) {
    const QRgb c = shown.pixel(sepX, y) & 0xFFFFFF;
    if (c == 0xFFFFFF || c == 0xC0C0C0 || c == 0x808080 || c == 0x000000) ++column;
  }
  EXPECT_EQ(column, 4);
}

TEST_F(ScaledPaintingTest, ABitmapAtARatioCountsInLogicalPixels) {
  TBitmap bitmap;
  bitmap.SetPixelFormat(pf32bit);
  bitmap.SetDevicePixelRatio(1.5);
  bitmap.SetSize(10, 8);
  EXPECT_EQ(bitmap.Width(), 10);
  EXPECT_EQ(bitmap.Height(), 8);
  EXPECT_EQ(bitmap.Image().width(), 15);
  EXPECT_EQ(bitmap.Image().height(), 12);
  EXPECT_NE(bitmap.ScanLine(11), nullptr);
  EXPECT_EQ(bitmap.ScanLine(12), nullptr);
  TCanvas& canvas = bitmap.Canvas();
  canvas.Brush().SetColor(clBlue);
  canvas.FillRect(Rect(0, 0, 10, 8));
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 15; ++x) ASSERT_EQ(bitmap.Image().pixel(x, y) & 0xFFFFFF, 0x0000FFu);
  canvas.SetPixel(5, 4, clRed);
  EXPECT_EQ(canvas.Pixel(5, 4), clRed);
  EXPECT_EQ(bitmap.PixelColor(5, 4), clRed);
  EXPECT_EQ(canvas.Pixel(4, 4), clBlue);
  EXPECT_EQ(canvas.Pixel(5, 5), clBlue);
  EXPECT_EQ(bitmap.PixelColor(10, 0), clNone);

  // Bitmaps of the same ratio copy device pixels one to one.
  TBitmap copy;
  copy.SetPixelFormat(pf32bit);
  copy.SetDevicePixelRatio(1.5);
  copy.SetSize(10, 8);
  copy.Canvas().Draw(0, 0, bitmap);
  EXPECT_EQ(copy.Image(), bitmap.Image());

  // A picture of plain pixels lands pixel by pixel on the logical pixels it covers, also
  // stretched: each reads back as its own colour.
  TBitmap dots(3, 1, pf32bit);
  dots.Canvas().SetPixel(0, 0, clLime);
  dots.Canvas().SetPixel(1, 0, clYellow);
  dots.Canvas().SetPixel(2, 0, clFuchsia);
  canvas.Draw(1, 1, dots);
  EXPECT_EQ(canvas.Pixel(1, 1), clLime);
  EXPECT_EQ(canvas.Pixel(2, 1), clYellow);
  EXPECT_EQ(canvas.Pixel(3, 1), clFuchsia);
  EXPECT_EQ(canvas.Pixel(4, 1), clBlue);
  canvas.StretchDraw(Rect(0, 6, 6, 8), dots);
  const TColor stretched[6] = {clLime, clLime, clYellow, clYellow, clFuchsia, clFuchsia};
  for (int x = 0; x < 6; ++x) EXPECT_EQ(canvas.Pixel(x, 7), stretched[x]) << x;

  // A new ratio starts a new picture of the same logical size.
  bitmap.SetDevicePixelRatio(2);
  EXPECT_EQ(bitmap.Width(), 10);
  EXPECT_EQ(bitmap.Image().width(), 20);
  EXPECT_EQ(bitmap.PixelColor(5, 4), clWhite);
}

// The dark device pixels of each row of a picture, left to right, as runs: start and length.
std::vector<std::pair<int, int>> DarkRuns(const QImage& image, int y) {
  std::vector<std::pair<int, int>> runs;
  for (int x = 0; x < image.width(); ++x) {
    if (!Dark(image.pixel(x, y))) continue;
    if (!runs.empty() && runs.back().first + runs.back().second == x)
      ++runs.back().second;
    else
      runs.emplace_back(x, 1);
  }
  return runs;
}

// A 32-bit picture of width x height at `ratio`, ready to draw on.
TCanvas& ScaledPicture(TBitmap& bitmap, double ratio, int width, int height) {
  bitmap.SetPixelFormat(pf32bit);
  bitmap.SetDevicePixelRatio(ratio);
  bitmap.SetSize(width, height);
  return bitmap.Canvas();
}

// A small arrow as the tool buttons draw it: pen and brush alike.
QImage Arrow(double ratio) {
  TBitmap bitmap;
  TCanvas& canvas = ScaledPicture(bitmap, ratio, 12, 10);
  canvas.Pen().SetColor(clBlack);
  canvas.Brush().SetColor(clBlack);
  canvas.Polygon({Point(6, 6), Point(4, 4), Point(8, 4)});
  return bitmap.Image();
}

TEST_F(ScaledPaintingTest, FilledPolygonsAreSolidAndKeepTheirPointAtEveryRatio) {
  // Widths of the rows the arrow covers, top to bottom; each row must be one run.
  auto rows = [](const QImage& image) {
    std::vector<int> widths;
    for (int y = 0; y < image.height(); ++y) {
      const auto runs = DarkRuns(image, y);
      if (runs.empty()) continue;
      EXPECT_EQ(runs.size(), 1u) << "row " << y << " has a gap";
      widths.push_back(runs.front().second);
    }
    return widths;
  };
  EXPECT_EQ(rows(Arrow(1)), (std::vector<int>{5, 3, 1}));
  EXPECT_EQ(rows(Arrow(2)), (std::vector<int>{10, 10, 6, 6, 2, 2}));
  // At 150% the logical rows take one or two device rows each: four or five rows that narrow
  // down to a point of one or two device pixels.
  const std::vector<int> half = rows(Arrow(1.5));
  ASSERT_GE(half.size(), 4u);
  ASSERT_LE(half.size(), 5u);
  EXPECT_GE(half.front(), 7);
  EXPECT_LE(half.back(), 2);
  EXPECT_TRUE(std::is_sorted(half.rbegin(), half.rend()));

  // Outline and fill of other colours, slanted edges and edges along the axes: at twice the
  // size each pixel of the 1x picture becomes two by two device pixels.
  auto shape = [](double ratio) {
    TBitmap bitmap;
    TCanvas& canvas = ScaledPicture(bitmap, ratio, 20, 16);
    canvas.Pen().SetColor(clNavy);
    canvas.Brush().SetColor(clRed);
    canvas.Polygon({Point(2, 2), Point(14, 2), Point(17, 9), Point(9, 14), Point(2, 8)});
    return bitmap.Image();
  };
  const QImage once = shape(1), twice = shape(2);
  ASSERT_EQ(twice.size(), once.size() * 2);
  int wrong = 0;
  for (int y = 0; y < twice.height(); ++y)
    for (int x = 0; x < twice.width(); ++x)
      if (twice.pixel(x, y) != once.pixel(x / 2, y / 2)) ++wrong;
  EXPECT_EQ(wrong, 0);
}

TEST_F(ScaledPaintingTest, LinesThatGoOnFromOneAnotherStayJoined) {
  TBitmap bitmap;
  bitmap.SetPixelFormat(pf32bit);
  bitmap.SetDevicePixelRatio(1.5);
  bitmap.SetSize(40, 40);
  TCanvas& canvas = bitmap.Canvas();
  canvas.Pen().SetColor(clRed);
  canvas.MoveTo(15, 31);
  canvas.LineTo(15, 20);
  canvas.LineTo(27, 20);
  canvas.LineTo(27, 26);
  canvas.Polyline({Point(17, 33), Point(17, 36), Point(30, 36), Point(30, 33)});
  const QImage& image = bitmap.Image();
  auto red = [&](int x, int y) {
    return image.valid(x, y) && (image.pixel(x, y) & 0xFFFFFF) == 0xFF0000u;
  };
  // Each path is one 4-connected shape of one-pixel lines.
  std::vector<std::vector<bool>> seen(image.height(), std::vector<bool>(image.width()));
  int shapes = 0, total = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (!red(x, y)) continue;
      ++total;
      if (seen[y][x]) continue;
      ++shapes;
      std::vector<QPoint> todo{QPoint(x, y)};
      seen[y][x] = true;
      while (!todo.empty()) {
        const QPoint p = todo.back();
        todo.pop_back();
        for (const QPoint d : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)}) {
          const QPoint q = p + d;
          if (red(q.x(), q.y()) && !seen[q.y()][q.x()]) {
            seen[q.y()][q.x()] = true;
            todo.push_back(q);
          }
        }
      }
    }
  }
  EXPECT_EQ(shapes, 2);
  EXPECT_GT(total, 60);
  for (int y = 0; y < image.height(); ++y) {
    int across = 0;
    for (int x = 0; x < image.width(); ++x) across += red(x, y) ? 1 : 0;
    EXPECT_TRUE(across <= 2 || across > 10) << "row " << y << ": " << across;
  }
}

}  // namespace
