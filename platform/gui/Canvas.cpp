// The canvas: target binding, pixel-exact lines, shapes and fills, clipping, saved states and
// the drawing lock. Lines and rectangle edges are filled pixel runs rather than Qt strokes so
// that every edge lands where the old pixel rules put it; on a bitmap of a device pixel ratio
// above 1 the same runs land on the device grid (DeviceGrid.h).
#include <QPolygon>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

#include "platform/gui/CanvasImpl.h"
#include "platform/gui/Graphics.h"

int NearestPaletteIndex(const QList<QRgb>& table, QRgb rgb) {
  int best = 0;
  long bestDistance = -1;
  for (int i = 0; i < table.size(); ++i) {
    const long dr = qRed(table[i]) - qRed(rgb);
    const long dg = qGreen(table[i]) - qGreen(rgb);
    const long db = qBlue(table[i]) - qBlue(rgb);
    const long distance = dr * dr + dg * dg + db * db;
    if (bestDistance < 0 || distance < bestDistance) {
      best = i;
      bestDistance = distance;
      if (distance == 0) break;
    }
  }
  return best;
}

// ---------------------------------------------------------------------------------------------

DeviceGrid GridOf(const TCanvas::Impl& canvas) {
  if (canvas.painter != nullptr || canvas.bitmap == nullptr) return DeviceGrid();
  return GridOf(*canvas.bitmap);
}

// ---------------------------------------------------------------------------------------------

CanvasPaint::CanvasPaint(TCanvas::Impl& canvas) : canvas_(canvas), grid_(GridOf(canvas)) {
  if (canvas.painter != nullptr) {
    if (!canvas.painter->isActive()) return;
    painter_ = canvas.painter;
    borrowed_ = true;
    painter_->save();
    if (canvas.clip)
      painter_->setClipRegion(*canvas.clip,
                              painter_->hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
  } else if (canvas.bitmap != nullptr) {
    QImage& image = canvas.bitmap->Image();
    if (image.isNull()) return;
    if (PaintsDirectly(image.format())) {
      own_.emplace(&image);
    } else {
      original_ = image.convertToFormat(QImage::Format_RGB32);
      work_ = original_.copy();
      own_.emplace(&work_);
    }
    if (!own_->isActive()) {
      own_.reset();
      return;
    }
    painter_ = &*own_;
    if (canvas.clip) {
      if (grid_.Scaled()) {
        QRegion device;
        for (const QRect& r : *canvas.clip) device += grid_.Fill(r);
        painter_->setClipRegion(device);
      } else {
        painter_->setClipRegion(*canvas.clip);
      }
    }
  } else {
    return;
  }
  painter_->setRenderHint(QPainter::Antialiasing, false);
  painter_->setRenderHint(QPainter::SmoothPixmapTransform, false);
  painter_->setCompositionMode(QPainter::CompositionMode_SourceOver);
}

CanvasPaint::~CanvasPaint() {
  if (painter_ == nullptr) return;
  if (borrowed_) {
    painter_->restore();
    return;
  }
  own_->end();
  if (work_.isNull()) return;
  QImage& image = canvas_.bitmap->Image();
  const QImage::Format format = image.format();
  if (format != QImage::Format_Indexed8 && format != QImage::Format_Mono &&
      format != QImage::Format_MonoLSB) {
    image = work_.convertToFormat(format);
    return;
  }
  // Only the pixels painting changed take a new index, so that equal palette entries keep
  // the indices the bitmap had.
  const QList<QRgb> table = image.colorTable();
  for (int y = 0; y < work_.height(); ++y) {
    const QRgb* before = reinterpret_cast<const QRgb*>(original_.constScanLine(y));
    const QRgb* after = reinterpret_cast<const QRgb*>(work_.constScanLine(y));
    for (int x = 0; x < work_.width(); ++x) {
      if (((before[x] ^ after[x]) & 0x00FFFFFF) == 0) continue;
      const int index = NearestPaletteIndex(table, after[x]);
      if (format == QImage::Format_Indexed8)
        image.scanLine(y)[x] = static_cast<uchar>(index);
      else
        image.setPixel(x, y, static_cast<uint>(index));
    }
  }
}

// ---------------------------------------------------------------------------------------------

namespace {

QPainter::CompositionMode PenComposition(TPenMode mode) {
  switch (mode) {
    case pmNot:
      return QPainter::RasterOp_NotDestination;
    case pmXor:
      return QPainter::RasterOp_SourceXorDestination;
    case pmNotXor:
      return QPainter::RasterOp_NotSourceXorDestination;
    case pmCopy:
      break;
  }
  return QPainter::CompositionMode_Source;
}

// On/off run lengths of the styled pens, in pixels.
std::vector<int> DashPattern(TPenStyle style) {
  switch (style) {
    case psDash:
      return {18, 6};
    case psDot:
      return {3, 3};
    case psDashDot:
      return {9, 6, 3, 6};
    case psDashDotDot:
      return {9, 3, 3, 3, 3, 3};
    default:
      return {};
  }
}

// Collects the pixels of one-pixel lines as horizontal runs; styled pens keep their place in
// the pattern from one segment to the next.
class LinePlotter {
 public:
  explicit LinePlotter(TPenStyle style) : pattern_(DashPattern(style)) {}

  // From a to b, b excluded; Bresenham for the slanted ones.
  void Add(TPoint a, TPoint b) {
    const int dx = std::abs(b.X - a.X);
    const int dy = std::abs(b.Y - a.Y);
    const int sx = a.X < b.X ? 1 : -1;
    const int sy = a.Y < b.Y ? 1 : -1;
    if (pattern_.empty() && dy == 0 && dx > 0) {
      runs_.emplace_back(sx > 0 ? a.X : b.X + 1, a.Y, dx, 1);
      return;
    }
    if (pattern_.empty() && dx == 0 && dy > 0) {
      runs_.emplace_back(a.X, sy > 0 ? a.Y : b.Y + 1, 1, dy);
      return;
    }
    int err = dx - dy;
    int x = a.X;
    int y = a.Y;
    while (x != b.X || y != b.Y) {
      Plot(x, y);
      const int e2 = 2 * err;
      if (e2 > -dy) {
        err -= dy;
        x += sx;
      }
      if (e2 < dx) {
        err += dx;
        y += sy;
      }
    }
  }

  const std::vector<QRect>& Runs() const { return runs_; }

 private:
  void Plot(int x, int y) {
    if (!pattern_.empty()) {
      const bool on = (phase_ % 2) == 0;
      if (++step_ >= pattern_[phase_]) {
        step_ = 0;
        phase_ = (phase_ + 1) % pattern_.size();
      }
      if (!on) return;
    }
    if (!runs_.empty()) {
      QRect& last = runs_.back();
      if (last.height() == 1 && last.y() == y) {
        if (last.x() + last.width() == x) {
          last.setWidth(last.width() + 1);
          return;
        }
        if (last.x() - 1 == x) {
          last.setLeft(x);
          return;
        }
      }
    }
    runs_.emplace_back(x, y, 1, 1);
  }

  std::vector<int> pattern_;
  size_t phase_ = 0;
  int step_ = 0;
  std::vector<QRect> runs_;
};

}  // namespace

// ---------------------------------------------------------------------------------------------

TCanvas::TCanvas() : d_(std::make_unique<Impl>()) {}

TCanvas::~TCanvas() = default;

void TCanvas::BindPainter(QPainter* painter, int width, int height) {
  d_->bitmap = nullptr;
  d_->painter = painter;
  d_->width = std::max(0, width);
  d_->height = std::max(0, height);
  // A widget's canvas starts every paint afresh.
  d_->clip.reset();
  d_->saved.clear();
  d_->lastLine.reset();
  origin_ = TPoint{};
}

void TCanvas::BindBitmap(TBitmap* bitmap) {
  d_->painter = nullptr;
  d_->bitmap = bitmap;
  d_->lastLine.reset();  // a line drawn on another target joins no line here
}

void TCanvas::Unbind() {
  d_->bitmap = nullptr;
  d_->painter = nullptr;
  d_->width = d_->height = 0;
  d_->lastLine.reset();
}

bool TCanvas::HandleAllocated() const { return d_->bitmap != nullptr || d_->painter != nullptr; }

double TCanvas::DevicePixelRatio() const { return GridOf(*d_).Ratio(); }

TSize TCanvas::TargetSize() const {
  if (d_->bitmap != nullptr) return TSize{d_->bitmap->Width(), d_->bitmap->Height()};
  if (d_->painter != nullptr) return TSize{d_->width, d_->height};
  return TSize{};
}

// --- lines

namespace {

// Centre of the line through a logical pixel, in device pixels.
QPointF LineCentre(const DeviceGrid& grid, TPoint pt) {
  return QPointF(grid.X(pt.X) + grid.Line() / 2.0, grid.Y(pt.Y) + grid.Line() / 2.0);
}

// The last pixel a line from a to b (b excluded) draws when it runs along an axis.
std::optional<TPoint> LastAxisPixel(TPoint a, TPoint b) {
  if ((a.X == b.X) == (a.Y == b.Y)) return std::nullopt;
  return TPoint{b.X - (b.X > a.X) + (b.X < a.X), b.Y - (b.Y > a.Y) + (b.Y < a.Y)};
}

// On a scaled target, the device pixels between the last pixel of one line and the first of
// the line continuing from it (neighbours along an axis), so that polylines stay closed.
void FillJoint(CanvasPaint& p, TPoint lastPixel, TPoint next, const QColor& color) {
  if (std::abs(lastPixel.X - next.X) + std::abs(lastPixel.Y - next.Y) != 1) return;
  const QRect pair(QPoint(std::min(lastPixel.X, next.X), std::min(lastPixel.Y, next.Y)),
                   QPoint(std::max(lastPixel.X, next.X), std::max(lastPixel.Y, next.Y)));
  p->fillRect(p.grid().Stroke(pair), color);
}

// One-pixel lines on a scaled target: runs along the axes (and styled pens) as strokes of the
// grid, slanted solid lines as Qt lines of the same width between the pixels' line centres,
// and joints where one line goes on from another.
void StrokeScaled(CanvasPaint& p, const TPen& pen, const std::vector<TPoint>& points, bool closed,
                  const QColor& color) {
  const DeviceGrid& grid = p.grid();
  const size_t count = points.size();
  const size_t segments = closed ? count : count - 1;
  const bool solid = pen.Style() == psSolid || pen.Style() == psInsideFrame;
  LinePlotter plotter(pen.Style());
  for (size_t i = 0; i < segments; ++i) {
    const TPoint a = points[i];
    const TPoint b = points[(i + 1) % count];
    if (solid && a.X != b.X && a.Y != b.Y) {
      QPen qpen(color, grid.Line() > 1 ? grid.Line() : 0, Qt::SolidLine, Qt::FlatCap);
      p->setPen(qpen);
      p->drawLine(LineCentre(grid, a), LineCentre(grid, b));
      continue;
    }
    plotter.Add(a, b);
  }
  for (const QRect& run : plotter.Runs()) p->fillRect(grid.Stroke(run), color);
  if (!solid || pen.Mode() != pmCopy) return;
  // Where one segment goes on from the one before it.
  for (size_t i = 1; i < (closed ? segments + 1 : segments); ++i) {
    const TPoint from = points[i - 1];
    const TPoint at = points[i % count];
    if (const auto last = LastAxisPixel(from, at)) FillJoint(p, *last, at, color);
  }
}

// Paints the runs of one-pixel lines, or strokes thick lines with Qt. On a scaled target,
// `joint` is the end of the line this one goes on from: the gap at their corner is filled
// first, in the same painting.
void StrokeSegments(TCanvas::Impl& impl, const TPen& pen, TPoint origin,
                    const std::vector<TPoint>& points, bool closed,
                    const std::optional<TCanvas::Impl::LineEnd>& joint = std::nullopt) {
  if (pen.Style() == psClear || points.size() < 2) return;
  CanvasPaint p(impl);
  if (!p) return;
  p->setCompositionMode(PenComposition(pen.Mode()));
  const QColor color = QColor::fromRgb(ToQRgb(pen.Color()));
  const size_t count = points.size();
  const size_t segments = closed ? count : count - 1;
  const DeviceGrid& grid = p.grid();
  if (pen.Width() > 1) {
    const int width =
        grid.Scaled() ? static_cast<int>(std::lround(pen.Width() * grid.Ratio())) : pen.Width();
    QPen qpen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p->setPen(qpen);
    p->setBrush(Qt::NoBrush);
    QPolygon polygon;
    for (const TPoint& pt : points)
      polygon << QPoint(grid.X(pt.X + origin.X), grid.Y(pt.Y + origin.Y));
    if (closed)
      p->drawPolygon(polygon);
    else
      p->drawPolyline(polygon);
    return;
  }
  if (grid.Scaled()) {
    if (joint) FillJoint(p, joint->lastPixel, joint->end, QColor::fromRgb(ToQRgb(joint->color)));
    std::vector<TPoint> shifted;
    shifted.reserve(count);
    for (const TPoint& pt : points) shifted.push_back(TPoint{pt.X + origin.X, pt.Y + origin.Y});
    StrokeScaled(p, pen, shifted, closed, color);
    return;
  }
  LinePlotter plotter(pen.Style());
  for (size_t i = 0; i < segments; ++i) {
    const TPoint a = points[i];
    const TPoint b = points[(i + 1) % count];
    plotter.Add(TPoint{a.X + origin.X, a.Y + origin.Y}, TPoint{b.X + origin.X, b.Y + origin.Y});
  }
  for (const QRect& run : plotter.Runs()) p->fillRect(run, color);
}

}  // namespace

std::optional<QBrush> ToQBrush(const TBrush& brush) {
  if (TBitmap* pattern = brush.Bitmap(); pattern != nullptr && !pattern->Empty()) {
    return QBrush(pattern->Image().convertToFormat(QImage::Format_RGB32));
  }
  if (brush.Style() == bsClear) return std::nullopt;
  return QBrush(QColor::fromRgb(ToQRgb(brush.Color())));
}

namespace {

// The brush as it fills device pixels: on a scaled target each pattern pixel takes as many
// device pixels as a line, so that a dither stays even.
QBrush OnGrid(const CanvasPaint& p, const QBrush& brush) {
  if (!p.grid().Scaled() || brush.style() != Qt::TexturePattern) return brush;
  QBrush scaled(brush);
  scaled.setTransform(QTransform::fromScale(p.grid().Line(), p.grid().Line()));
  return scaled;
}

// Fills a rectangle of device pixels; patterns repeat from the target's pixel (0, 0).
void FillPixels(CanvasPaint& p, const QRect& pixels, const QBrush& brush) {
  if (pixels.isEmpty()) return;
  p->setBrushOrigin(0, 0);
  p->fillRect(pixels, OnGrid(p, brush));
}

// Rectangles of device pixels filled as FillPixels fills one.
void FillPixelRects(CanvasPaint& p, const QList<QRect>& pixels, const QBrush& brush) {
  if (pixels.isEmpty()) return;
  // One call for many rectangles: the painter sets up its fill once.
  p->setBrushOrigin(0, 0);
  p->setPen(Qt::NoPen);
  p->setBrush(OnGrid(p, brush));
  p->drawRects(pixels);
}

}  // namespace

void FillDeviceRect(CanvasPaint& p, const QRect& rect, const QBrush& brush) {
  if (rect.isEmpty()) return;
  FillPixels(p, p.grid().Fill(rect), brush);
}

void TCanvas::MoveTo(int x, int y) {
  penPos_ = TPoint{x, y};
  d_->lastLine.reset();
}

void TCanvas::LineTo(int x, int y) {
  const TPoint from = penPos_;
  penPos_ = TPoint{x, y};
  const TPoint a{from.X + origin_.X, from.Y + origin_.Y};
  const TPoint b{x + origin_.X, y + origin_.Y};
  const bool joins = pen_.Width() <= 1 && pen_.Mode() == pmCopy &&
                     (pen_.Style() == psSolid || pen_.Style() == psInsideFrame);
  std::optional<Impl::LineEnd> joint;
  if (joins && d_->lastLine && d_->lastLine->end.X == a.X && d_->lastLine->end.Y == a.Y)
    joint = d_->lastLine;
  StrokeSegments(*d_, pen_, origin_, {from, penPos_}, false, joint);
  if (!joins) {
    d_->lastLine.reset();
    return;
  }
  if (const auto last = LastAxisPixel(a, b))
    d_->lastLine = Impl::LineEnd{b, *last, pen_.Color()};
  else
    d_->lastLine.reset();
}

void TCanvas::Polyline(const std::vector<TPoint>& points) {
  StrokeSegments(*d_, pen_, origin_, points, false);
}

// --- shapes

namespace {

// A one-pixel frame round `outer` (target pixels) on a scaled target, each side a line of the
// grid through the corners, and the inside filled up to the frame.
void FrameScaled(CanvasPaint& p, const TRect& outer, const QBrush& color,
                 QPainter::CompositionMode mode, const std::optional<QBrush>& inside) {
  if (IsRectEmpty(outer)) return;
  const QRect box = p.grid().Stroke(QRect(outer.Left, outer.Top, outer.Width(), outer.Height()));
  const int line = p.grid().Line();
  if (inside && box.width() > 2 * line && box.height() > 2 * line)
    FillPixels(p, box.adjusted(line, line, -line, -line), *inside);
  p->setCompositionMode(mode);
  if (box.width() <= 2 * line || box.height() <= 2 * line) {
    FillPixels(p, box, color);
    return;
  }
  FillPixels(p, QRect(box.left(), box.top(), box.width(), line), color);
  FillPixels(p, QRect(box.left(), box.bottom() - line + 1, box.width(), line), color);
  FillPixels(p, QRect(box.left(), box.top() + line, line, box.height() - 2 * line), color);
  FillPixels(p, QRect(box.right() - line + 1, box.top() + line, line, box.height() - 2 * line),
             color);
}

}  // namespace

void TCanvas::Rectangle(int left, int top, int right, int bottom) {
  if (right < left) std::swap(left, right);
  if (bottom < top) std::swap(top, bottom);
  const auto brush = ToQBrush(brush_);
  const bool hasPen = pen_.Style() != psClear;
  TRect outer = Rect(left, top, right, bottom);
  OffsetRect(outer, origin_.X, origin_.Y);
  if (!hasPen) {
    if (!brush) return;
    CanvasPaint p(*d_);
    if (p)
      FillDeviceRect(p, QRect(outer.Left, outer.Top, outer.Width() - 1, outer.Height() - 1),
                     *brush);
    return;
  }
  if (pen_.Width() <= 1 && (pen_.Style() == psSolid || pen_.Style() == psInsideFrame) &&
      GridOf(*d_).Scaled()) {
    CanvasPaint p(*d_);
    if (p)
      FrameScaled(p, outer, QBrush(QColor::fromRgb(ToQRgb(pen_.Color()))),
                  PenComposition(pen_.Mode()), brush);
    return;
  }
  const int w = pen_.Width();
  if (w > 1 && pen_.Style() != psInsideFrame) InflateRect(outer, (w - 1) / 2, (w - 1) / 2);
  const TRect inner = Rect(outer.Left + w, outer.Top + w, outer.Right - w, outer.Bottom - w);
  if (brush && !IsRectEmpty(inner)) {
    CanvasPaint p(*d_);
    if (p) FillDeviceRect(p, ToQRect(inner), *brush);
  }
  if (w == 1 && pen_.Style() != psSolid && pen_.Style() != psInsideFrame) {
    // Styled outline: the four edges as one closed path.
    const TPoint o = origin_;
    const std::vector<TPoint> corners{{outer.Left - o.X, outer.Top - o.Y},
                                      {outer.Right - 1 - o.X, outer.Top - o.Y},
                                      {outer.Right - 1 - o.X, outer.Bottom - 1 - o.Y},
                                      {outer.Left - o.X, outer.Bottom - 1 - o.Y}};
    StrokeSegments(*d_, pen_, origin_, corners, true);
    return;
  }
  CanvasPaint p(*d_);
  if (!p) return;
  p->setCompositionMode(PenComposition(pen_.Mode()));
  const QColor color = QColor::fromRgb(ToQRgb(pen_.Color()));
  const int width = outer.Width();
  const int height = outer.Height();
  const DeviceGrid& grid = p.grid();
  if (width <= 2 * w || height <= 2 * w) {
    p->fillRect(grid.Fill(ToQRect(outer)), color);
    return;
  }
  p->fillRect(grid.Fill(QRect(outer.Left, outer.Top, width, w)), color);
  p->fillRect(grid.Fill(QRect(outer.Left, outer.Bottom - w, width, w)), color);
  p->fillRect(grid.Fill(QRect(outer.Left, outer.Top + w, w, height - 2 * w)), color);
  p->fillRect(grid.Fill(QRect(outer.Right - w, outer.Top + w, w, height - 2 * w)), color);
}

void TCanvas::Ellipse(int left, int top, int right, int bottom) {
  if (right < left) std::swap(left, right);
  if (bottom < top) std::swap(top, bottom);
  const auto brush = ToQBrush(brush_);
  const bool hasPen = pen_.Style() != psClear;
  if (!hasPen && !brush) return;
  CanvasPaint p(*d_);
  if (!p) return;
  p->setBrushOrigin(0, 0);
  QRectF box(left + origin_.X, top + origin_.Y, right - left - 1, bottom - top - 1);
  int penWidth = pen_.Width() > 1 ? pen_.Width() : 0;
  if (const DeviceGrid& grid = p.grid(); grid.Scaled()) {
    // From the first pixel's line centre to the last one's, as the lines of the grid lie.
    const QRect pixels = grid.Stroke(QRect(left + origin_.X, top + origin_.Y,
                                           std::max(1, right - left), std::max(1, bottom - top)));
    const double half = grid.Line() / 2.0;
    box = QRectF(pixels).adjusted(half, half, -half, -half);
    penWidth = pen_.Width() > 1  ? static_cast<int>(std::lround(pen_.Width() * grid.Ratio()))
               : grid.Line() > 1 ? grid.Line()
                                 : 0;
  }
  if (brush) {
    p->setPen(Qt::NoPen);
    p->setBrush(*brush);
    p->drawEllipse(box);
  }
  if (hasPen) {
    p->setCompositionMode(PenComposition(pen_.Mode()));
    QPen qpen(QColor::fromRgb(ToQRgb(pen_.Color())), penWidth);
    p->setPen(qpen);
    p->setBrush(Qt::NoBrush);
    p->drawEllipse(box);
  }
}

namespace {

// A filled polygon with a one-pixel outline on a scaled target: the pixels it covers at a ratio
// of 1, each laid on its cell of the grid, fill first and outline over it. Fill and outline
// then meet as they do at 1x; a fill of the device polygon under strokes of the grid would
// leave device pixels between them and cut off a small shape's point.
void PolygonOnCells(CanvasPaint& p, const std::vector<TPoint>& points, const QBrush& brush,
                    const TPen& pen, TSize target) {
  const DeviceGrid& grid = p.grid();
  QPolygon polygon;
  for (const TPoint& pt : points) polygon << QPoint(pt.X, pt.Y);
  const QRect box = polygon.boundingRect().intersected(QRect(0, 0, target.cx, target.cy));
  if (!box.isEmpty()) {
    // The pixels the 1x fill takes (those whose centre lies inside), from Qt's aliased fill,
    // white on black (a format Qt paints on directly).
    QImage mask(box.size(), QImage::Format_RGB32);
    mask.fill(Qt::black);
    {
      QPainter m(&mask);
      m.setRenderHint(QPainter::Antialiasing, false);
      m.setPen(Qt::NoPen);
      m.setBrush(Qt::white);
      m.translate(-box.x(), -box.y());
      m.drawPolygon(polygon, Qt::OddEvenFill);
    }
    QList<QRect> cells;
    const int width = mask.width();
    for (int y = 0; y < mask.height(); ++y) {
      const QRgb* row = reinterpret_cast<const QRgb*>(mask.constScanLine(y));
      for (int x = 0; x < width;) {
        if (qBlue(row[x]) == 0) {
          ++x;
          continue;
        }
        const int start = x;
        while (x < width && qBlue(row[x]) != 0) ++x;
        cells.push_back(grid.Fill(QRect(box.x() + start, box.y() + y, x - start, 1)));
      }
    }
    FillPixelRects(p, cells, brush);
  }
  LinePlotter plotter(pen.Style());
  for (size_t i = 0; i < points.size(); ++i)
    plotter.Add(points[i], points[(i + 1) % points.size()]);
  QList<QRect> outline;
  outline.reserve(static_cast<qsizetype>(plotter.Runs().size()));
  for (const QRect& run : plotter.Runs()) outline.push_back(grid.Fill(run));
  p->setCompositionMode(PenComposition(pen.Mode()));
  FillPixelRects(p, outline, QBrush(QColor::fromRgb(ToQRgb(pen.Color()))));
}

}  // namespace

void TCanvas::Polygon(const std::vector<TPoint>& points) {
  if (points.size() < 2) return;
  const auto brush = ToQBrush(brush_);
  if (brush && points.size() >= 3 && pen_.Style() != psClear && pen_.Width() <= 1 &&
      GridOf(*d_).Scaled()) {
    CanvasPaint p(*d_);
    if (!p) return;
    std::vector<TPoint> shifted;
    shifted.reserve(points.size());
    for (const TPoint& pt : points) shifted.push_back(TPoint{pt.X + origin_.X, pt.Y + origin_.Y});
    PolygonOnCells(p, shifted, *brush, pen_, TargetSize());
    return;
  }
  if (brush && points.size() >= 3) {
    CanvasPaint p(*d_);
    if (p) {
      QPolygon polygon;
      const DeviceGrid& grid = p.grid();
      for (const TPoint& pt : points)
        polygon << QPoint(grid.X(pt.X + origin_.X), grid.Y(pt.Y + origin_.Y));
      // Qt's aliased fill takes the pixels whose centre lies inside, which is how the old
      // platform filled a polygon without a pen.
      p->setPen(Qt::NoPen);
      p->setBrush(*brush);
      p->setBrushOrigin(0, 0);
      p->drawPolygon(polygon, Qt::OddEvenFill);
    }
  }
  StrokeSegments(*d_, pen_, origin_, points, true);
}

// --- fills

void TCanvas::FillRect(const TRect& rect) {
  if (IsRectEmpty(rect)) return;
  const auto brush = ToQBrush(brush_);
  if (!brush) return;
  CanvasPaint p(*d_);
  if (p)
    FillDeviceRect(
        p, QRect(rect.Left + origin_.X, rect.Top + origin_.Y, rect.Width(), rect.Height()), *brush);
}

void TCanvas::FrameRect(const TRect& rect) {
  if (IsRectEmpty(rect)) return;
  const auto brush = ToQBrush(brush_);
  if (!brush) return;
  CanvasPaint p(*d_);
  if (!p) return;
  const int l = rect.Left + origin_.X;
  const int t = rect.Top + origin_.Y;
  const int w = rect.Width();
  const int h = rect.Height();
  if (p.grid().Scaled()) {
    FrameScaled(p, Bounds(l, t, w, h), *brush, QPainter::CompositionMode_SourceOver, std::nullopt);
    return;
  }
  FillDeviceRect(p, QRect(l, t, w, 1), *brush);
  if (h > 1) FillDeviceRect(p, QRect(l, t + h - 1, w, 1), *brush);
  if (h > 2) {
    FillDeviceRect(p, QRect(l, t + 1, 1, h - 2), *brush);
    if (w > 1) FillDeviceRect(p, QRect(l + w - 1, t + 1, 1, h - 2), *brush);
  }
}

void TCanvas::FillRegion(const TRegion& region) {
  const auto brush = ToQBrush(brush_);
  if (!brush || region.IsEmpty()) return;
  CanvasPaint p(*d_);
  if (!p) return;
  const QRegion shifted = region.impl().region.translated(origin_.X, origin_.Y);
  for (const QRect& r : shifted) FillDeviceRect(p, r, *brush);
}

void TCanvas::DrawFocusRect(const TRect& rect) {
  if (IsRectEmpty(rect)) return;
  CanvasPaint p(*d_);
  if (!p) return;
  p->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
  const QColor white(255, 255, 255);
  const int l = rect.Left + origin_.X;
  const int t = rect.Top + origin_.Y;
  const int r = rect.Right + origin_.X - 1;
  const int b = rect.Bottom + origin_.Y - 1;
  // Every other pixel of the frame, in a checker aligned to the target so that drawing the
  // same rectangle again restores it.
  auto dot = [&](int x, int y) {
    if (((x + y) & 1) == 0) p->fillRect(p.grid().Stroke(QRect(x, y, 1, 1)), white);
  };
  for (int x = l; x <= r; ++x) {
    dot(x, t);
    if (b != t) dot(x, b);
  }
  for (int y = t + 1; y < b; ++y) {
    dot(l, y);
    if (r != l) dot(r, y);
  }
}

// --- pixels

TColor TCanvas::Pixel(int x, int y) const {
  const int dx = x + origin_.X;
  const int dy = y + origin_.Y;
  if (d_->bitmap != nullptr) return d_->bitmap->PixelColor(dx, dy);
  if (d_->painter != nullptr && d_->painter->device() != nullptr &&
      d_->painter->device()->devType() == QInternal::Image) {
    const QImage* image = static_cast<const QImage*>(d_->painter->device());
    if (image->valid(dx, dy)) return FromQRgb(image->pixel(dx, dy));
  }
  return clNone;
}

void TCanvas::SetPixel(int x, int y, TColor color) {
  CanvasPaint p(*d_);
  if (p) {
    p->setCompositionMode(QPainter::CompositionMode_Source);
    p->fillRect(p.grid().Fill(QRect(x + origin_.X, y + origin_.Y, 1, 1)),
                QColor::fromRgb(ToQRgb(color)));
  }
}

TColor TCanvas::NearestColor(TColor color) const {
  const QRgb rgb = ToQRgb(color);
  if (d_->bitmap == nullptr) return FromQRgb(rgb);
  const QImage& image = d_->bitmap->Image();
  if (image.format() == QImage::Format_Indexed8 || image.format() == QImage::Format_Mono ||
      image.format() == QImage::Format_MonoLSB) {
    const QList<QRgb> table = image.colorTable();
    if (table.isEmpty()) return FromQRgb(rgb);
    return FromQRgb(table[NearestPaletteIndex(table, rgb)]);
  }
  if (PaintsDirectly(image.format()) || image.isNull()) return FromQRgb(rgb);
  QImage probe(1, 1, QImage::Format_RGB32);
  probe.setPixel(0, 0, rgb);
  return FromQRgb(
      probe.convertToFormat(image.format()).convertToFormat(QImage::Format_RGB32).pixel(0, 0));
}

// --- clipping

namespace {
QRegion TargetRegion(const TCanvas& canvas) {
  const TSize size = canvas.TargetSize();
  return QRegion(0, 0, size.cx, size.cy);
}
}  // namespace

void TCanvas::IntersectClipRect(const TRect& rect) {
  QRegion r;
  if (!IsRectEmpty(rect))
    r = QRegion(rect.Left + origin_.X, rect.Top + origin_.Y, rect.Width(), rect.Height());
  d_->clip = d_->clip ? d_->clip->intersected(r) : r.intersected(TargetRegion(*this));
}

void TCanvas::ExcludeClipRect(const TRect& rect) {
  QRegion base = d_->clip ? *d_->clip : TargetRegion(*this);
  if (!IsRectEmpty(rect))
    base = base.subtracted(
        QRegion(rect.Left + origin_.X, rect.Top + origin_.Y, rect.Width(), rect.Height()));
  d_->clip = base;
}

void TCanvas::SelectClipRegion(const TRegion* region) {
  if (region == nullptr)
    d_->clip.reset();
  else
    d_->clip = region->impl().region;
}

TRect TCanvas::ClipRect() const {
  const QRect box = d_->clip ? d_->clip->boundingRect() : TargetRegion(*this).boundingRect();
  if (box.isEmpty()) return TRect{};
  return Bounds(box.x() - origin_.X, box.y() - origin_.Y, box.width(), box.height());
}

TPoint TCanvas::SetWindowOrg(int x, int y) {
  const TPoint previous{-origin_.X, -origin_.Y};
  origin_ = TPoint{-x, -y};
  return previous;
}

// --- saved states

int TCanvas::SaveState() {
  const int id = d_->nextSavedId++;
  d_->saved.push_back(Impl::Saved{id, font_, pen_, brush_, copyMode_, d_->clip, origin_, penPos_});
  return id;
}

bool TCanvas::RestoreState(int id) {
  auto& saved = d_->saved;
  if (saved.empty()) return false;
  auto it = saved.end() - 1;
  if (id != -1) {
    it =
        std::find_if(saved.begin(), saved.end(), [id](const Impl::Saved& s) { return s.id == id; });
    if (it == saved.end()) return false;
  }
  font_.Assign(it->font);
  pen_.Assign(it->pen);
  brush_.Assign(it->brush);
  copyMode_ = it->copyMode;
  d_->clip = it->clip;
  origin_ = it->origin;
  penPos_ = it->penPos;
  saved.erase(it, saved.end());
  return true;
}

// --- lock

void TCanvas::Lock() {
  lock_.lock();
  lockOwner_.store(std::this_thread::get_id());
  ++lockDepth_;
}

bool TCanvas::TryLock() {
  if (!lock_.try_lock()) return false;
  lockOwner_.store(std::this_thread::get_id());
  ++lockDepth_;
  return true;
}

void TCanvas::Unlock() {
  if (!LockedByCurrentThread()) return;
  if (--lockDepth_ == 0) lockOwner_.store(std::thread::id());
  lock_.unlock();
}

bool TCanvas::LockedByCurrentThread() const {
  return lockOwner_.load() == std::this_thread::get_id();
}
