// Scaled painting: the device grid of scaled bitmaps and the placing of a widget's pixels
// and one-pixel lines on a scaled screen.
#include "platform/gui/DeviceGrid.h"

#include <QPaintEngine>
#include <algorithm>
#include <cmath>

#include "platform/gui/Graphics.h"

DeviceGrid::DeviceGrid(double ratio, int width, int height, int deviceWidth, int deviceHeight)
    : ratio_(ratio),
      line_(std::max(1, static_cast<int>(std::floor(ratio + 1e-9)))),
      width_(width),
      height_(height),
      deviceWidth_(deviceWidth),
      deviceHeight_(deviceHeight) {}

int DeviceGrid::DeviceExtent(int logical, double ratio) {
  if (ratio == 1.0 || logical <= 0) return logical;
  return static_cast<int>(std::ceil(logical * ratio - 1e-9));
}

int DeviceGrid::Map(int v, int size, int deviceSize) const {
  if (!Scaled()) return v;
  // Packed near the sides (less on small targets, so that their middle keeps room); the
  // middle shares out what is left evenly.
  const int packed = std::min(4, size / 4);
  if (v >= 0 && v <= packed) return v * line_;
  if (v <= size && v >= size - packed) return deviceSize - (size - v) * line_;
  const int middle = size - 2 * packed;
  const int room = deviceSize - 2 * packed * line_;
  if (middle <= 0) return static_cast<int>(std::floor(v * ratio_ + 0.5));
  return packed * line_ +
         static_cast<int>(std::floor(static_cast<double>(v - packed) * room / middle + 0.5));
}

QRect DeviceGrid::Fill(const QRect& r) const {
  if (!Scaled()) return r;
  const int left = X(r.x()), top = Y(r.y());
  return QRect(left, top, X(r.x() + r.width()) - left, Y(r.y() + r.height()) - top);
}

QRect DeviceGrid::Stroke(const QRect& r) const {
  if (!Scaled() || r.isEmpty()) return r;
  const int left = X(r.x()), top = Y(r.y());
  return QRect(left, top, X(r.x() + r.width() - 1) + line_ - left,
               Y(r.y() + r.height() - 1) + line_ - top);
}

DeviceGrid GridOf(const TBitmap& bitmap) {
  if (bitmap.DevicePixelRatio() == 1.0) return DeviceGrid();
  return DeviceGrid(bitmap.DevicePixelRatio(), bitmap.Width(), bitmap.Height(),
                    bitmap.Image().width(), bitmap.Image().height());
}

WidgetPixels PlaceWidget(const QPainter& painter, int width, int height) {
  // The device painted on, not the widget: a widget rendered into a picture of its own
  // ratio paints at that picture's ratio.
  const QPaintEngine* engine = painter.paintEngine();
  const QPaintDevice* device = engine != nullptr && engine->paintDevice() != nullptr
                                   ? engine->paintDevice()
                                   : painter.device();
  WidgetPixels place;
  place.ratio = device != nullptr ? device->devicePixelRatioF() : 1.0;
  const QTransform toDevice = painter.deviceTransform();
  const QPointF from = toDevice.map(QPointF(0, 0));
  const QPointF to = toDevice.map(QPointF(width, height));
  // Halves round up on both sides, as the screen shares pixels between neighbours. qRound
  // takes a negative half away from zero: a widget half a device pixel past its parent's left
  // side would get a device pixel more than its picture (width x ratio rounded up) holds, and
  // the column at its right side would be painted by nobody.
  const auto edge = [](double v) { return static_cast<int>(std::floor(v + 0.5)); };
  place.origin = QPoint(edge(from.x()), edge(from.y()));
  place.size = QSize(edge(to.x()) - place.origin.x(), edge(to.y()) - place.origin.y());
  return place;
}

void PaintInDevicePixels(QPainter& painter, const WidgetPixels& place) {
  painter.save();
  painter.setWorldTransform(QTransform::fromTranslate(place.origin.x(), place.origin.y()) *
                            painter.deviceTransform().inverted() * painter.worldTransform());
}

WidgetLines::WidgetLines(QPainter& painter, int width, int height)
    : painter_(painter),
      place_(PlaceWidget(painter, width, height)),
      grid_(place_.ratio, width, height, place_.size.width(), place_.size.height()) {}

void WidgetLines::Fill(const QRect& r, const QColor& color) {
  painter_.fillRect(grid_.Stroke(r), color);
}

void WidgetLines::Frame(const QRect& r, const QColor& topLeft, const QColor& bottomRight) {
  if (grid_.Scaled()) PaintInDevicePixels(painter_, place_);
  Fill(QRect(r.left(), r.top(), r.width(), 1), topLeft);
  Fill(QRect(r.left(), r.top(), 1, r.height()), topLeft);
  Fill(QRect(r.left(), r.bottom(), r.width(), 1), bottomRight);
  Fill(QRect(r.right(), r.top(), 1, r.height()), bottomRight);
  if (grid_.Scaled()) painter_.restore();
}
