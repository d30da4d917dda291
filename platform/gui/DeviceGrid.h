// Scaled painting: where logical pixels land on device pixels, for bitmaps painted at a device
// pixel ratio above 1 and for widgets painting on a scaled screen (platform/gui only).
#pragma once

#include <QPainter>
#include <QRect>

class TBitmap;

// Where a target's logical pixels land on its device pixels, for bitmaps painted at a device
// pixel ratio above 1 (see TBitmap::SetDevicePixelRatio); at a ratio of 1 both are the same.
// Edges of fills, clips and copies go to the nearest device pixel. A one-pixel line takes a
// whole number of device pixels, the ratio rounded down, at the start of its logical pixel,
// so that every line has the same width wherever it lies (at 150% a line is one device
// pixel, never one here and two there); along its length it runs from the start of its first
// pixel to the end of the line in its last one, so lines that share a corner pixel meet.
// Within four pixels of the target's sides (a quarter of a smaller side) logical pixels lie
// exactly one line width apart, and the middle shares out the device pixels left evenly:
// the rings of frames and bevels along a control's sides (up to four deep) then pack without
// gaps, the same on every control. Elsewhere a line leaves the rest of its logical pixel to
// what was painted under it, so two lines side by side may show a device pixel between them.
class DeviceGrid {
 public:
  DeviceGrid() = default;
  DeviceGrid(double ratio, int width, int height, int deviceWidth, int deviceHeight);
  bool Scaled() const { return ratio_ != 1.0; }
  double Ratio() const { return ratio_; }
  // Device pixels across a one-pixel line.
  int Line() const { return line_; }
  int X(int x) const { return Map(x, width_, deviceWidth_); }
  int Y(int y) const { return Map(y, height_, deviceHeight_); }
  // A rectangle of logical pixels as filled: every edge mapped.
  QRect Fill(const QRect& r) const;
  // A run of a one-pixel line (one pixel high or wide): the first pixel's start to the end of
  // the line in the last pixel, Line() device pixels across.
  QRect Stroke(const QRect& r) const;
  // Device size of `logical` pixels on a target of this ratio.
  static int DeviceExtent(int logical, double ratio);

 private:
  int Map(int v, int size, int deviceSize) const;
  double ratio_ = 1.0;
  int line_ = 1;
  int width_ = 0, height_ = 0, deviceWidth_ = 0, deviceHeight_ = 0;
};

// The device grid of a bitmap (unscaled at a ratio of 1).
DeviceGrid GridOf(const TBitmap& bitmap);

// Where a widget of `width` x `height` pixels lands on the device its paint handler's painter
// paints on (the screen's backing store, or a picture it is rendered into).
struct WidgetPixels {
  double ratio = 1.0;
  QPoint origin;  // device pixel of the widget's (0, 0)
  QSize size;     // device pixels it covers
};
WidgetPixels PlaceWidget(const QPainter& painter, int width, int height);
// Switches the painter to the device pixels of `place`, (0, 0) at the widget's first one;
// undone by the painter's restore().
void PaintInDevicePixels(QPainter& painter, const WidgetPixels& place);

// One-pixel lines a widget paints with Qt itself (not through a canvas), laid on the grid
// a self-painted control of its size would use, so that they keep one width on a scaled
// screen.
class WidgetLines {
 public:
  WidgetLines(QPainter& painter, int width, int height);
  // The one-pixel ring just inside `r` (in the widget's pixels): top and left sides in one colour,
  // bottom and right in the other.
  void Frame(const QRect& r, const QColor& topLeft, const QColor& bottomRight);

 private:
  void Fill(const QRect& r, const QColor& color);
  QPainter& painter_;
  WidgetPixels place_;
  DeviceGrid grid_;
};
