// Internals shared by the canvas, bitmap and region sources (platform/gui only).
#pragma once

#include <QImage>
#include <QPainter>
#include <QRegion>
#include <optional>
#include <vector>

#include "platform/gui/Graphics.h"

struct TRegion::Impl {
  QRegion region;
};

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

struct TCanvas::Impl {
  TBitmap* bitmap = nullptr;    // bound bitmap, or
  QPainter* painter = nullptr;  // a painter opened by a widget's paint handler
  int width = 0;
  int height = 0;
  std::optional<QRegion> clip;  // device coordinates; none: the whole target

  struct Saved {
    int id;
    TFont font;
    TPen pen;
    TBrush brush;
    TCopyMode copyMode;
    std::optional<QRegion> clip;
    TPoint origin;
    TPoint penPos;
  };
  std::vector<Saved> saved;
  int nextSavedId = 1;

  // The last line drawn by LineTo, so that a line continuing from its end point joins it on
  // a scaled target (the device pixels between the two lines' last and first pixel).
  struct LineEnd {
    TPoint end;        // the excluded end point
    TPoint lastPixel;  // the last pixel drawn
    TColor color;
  };
  std::optional<LineEnd> lastLine;
};

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

// The device grid of a canvas's target (unscaled for a painter or no target).
DeviceGrid GridOf(const TCanvas::Impl& canvas);
DeviceGrid GridOf(const TBitmap& bitmap);

// RGB value of a colour as Qt stores it (opaque).
inline QRgb ToQRgb(TColor color) {
  const TColor c = ColorToRGB(color);
  return qRgb(GetRValue(c), GetGValue(c), GetBValue(c));
}
inline TColor FromQRgb(QRgb rgb) { return RGB(qRed(rgb), qGreen(rgb), qBlue(rgb)); }
inline QRect ToQRect(const TRect& r) { return QRect(r.Left, r.Top, r.Width(), r.Height()); }

// The image format that holds a bitmap of this pixel format.
QImage::Format QtFormat(TPixelFormat format);
// EOutOfResources naming the picture's size: "图片太大（<w> x <h>），系统资源不足".
[[noreturn]] void RaisePictureTooLarge(long long width, long long height);

// Whether QPainter draws straight into images of this format; the others are painted
// through a 32-bit copy.
inline bool PaintsDirectly(QImage::Format format) {
  return format == QImage::Format_RGB32 || format == QImage::Format_ARGB32 ||
         format == QImage::Format_ARGB32_Premultiplied;
}

// A colour table cut or filled with black to `size` entries.
inline QList<QRgb> PaddedPalette(QList<QRgb> table, int size) {
  if (table.size() > size) table.resize(size);
  while (table.size() < size) table.push_back(qRgb(0, 0, 0));
  return table;
}

// Nearest entry of a colour table by squared RGB distance (the first on ties).
int NearestPaletteIndex(const QList<QRgb>& table, QRgb rgb);

// Painting session on a canvas's target: opens a painter (or borrows the widget's), applies the
// clip and closes everything at the end of the scope. A palette or 24-bit bitmap is painted on
// a 32-bit copy whose changed pixels are written back.
class CanvasPaint {
 public:
  explicit CanvasPaint(TCanvas::Impl& canvas);
  ~CanvasPaint();
  CanvasPaint(const CanvasPaint&) = delete;
  CanvasPaint& operator=(const CanvasPaint&) = delete;

  QPainter* operator->() { return painter_; }
  explicit operator bool() const { return painter_ != nullptr; }
  QPainter& painter() { return *painter_; }
  const DeviceGrid& grid() const { return grid_; }

 private:
  TCanvas::Impl& canvas_;
  QPainter* painter_ = nullptr;
  std::optional<QPainter> own_;
  QImage work_;      // 32-bit copy of a bitmap that cannot be painted directly
  QImage original_;  // the same before painting, to find changed pixels
  bool borrowed_ = false;
  DeviceGrid grid_;
};

// The brush as Qt paints it, nullopt for a clear brush.
std::optional<QBrush> ToQBrush(const TBrush& brush);
// Fills a rectangle of the target's logical pixels (the canvas origin applied); patterns
// repeat from the target's pixel (0, 0).
void FillDeviceRect(CanvasPaint& p, const QRect& rect, const QBrush& brush);
// The same for a rectangle of device pixels.
void FillPixels(CanvasPaint& p, const QRect& pixels, const QBrush& brush);

// Font as Qt draws it: substituted face, pixel size from Height, style bits.
class QFont;
QFont ToQFont(const TFont& font);

// The text sink as the canvas uses it (see TTextSink).
bool TextSinkActive();
void RecordTextOutput(TTextRecord record);
// Width per byte and line height of the sink, 0 x 0 when text is measured by font.
TSize FixedTextMetrics();
