// Internals shared by the canvas, bitmap and region sources (platform/gui only).
#pragma once

#include <QImage>
#include <QPainter>
#include <QRegion>
#include <optional>
#include <vector>

#include "platform/gui/DeviceGrid.h"
#include "platform/gui/Graphics.h"

struct TRegion::Impl {
  QRegion region;
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

// The device grid of a canvas's target (unscaled for a painter or no target).
DeviceGrid GridOf(const TCanvas::Impl& canvas);

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

// Font as Qt draws it: substituted face, pixel size from Height, style bits.
class QFont;
QFont ToQFont(const TFont& font);

// The text sink as the canvas uses it (see TTextSink).
bool TextSinkActive();
void RecordTextOutput(TTextRecord record);
// Width per byte and line height of the sink, 0 x 0 when text is measured by font.
TSize FixedTextMetrics();
