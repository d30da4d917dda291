// Pens, brushes, regions and the text recorder.
#include <QPolygon>
#include <algorithm>

#include "platform/gui/CanvasImpl.h"
#include "platform/gui/Graphics.h"

void TPen::Changed() {
  if (OnChange) OnChange();
}

void TPen::SetColor(TColor color) {
  if (color == color_) return;
  color_ = color;
  Changed();
}

void TPen::SetWidth(int width) {
  width = std::max(1, width);
  if (width == width_) return;
  width_ = width;
  Changed();
}

void TPen::SetStyle(TPenStyle style) {
  if (style == style_) return;
  style_ = style;
  Changed();
}

void TPen::SetMode(TPenMode mode) {
  if (mode == mode_) return;
  mode_ = mode;
  Changed();
}

void TPen::Assign(const TPen& other) {
  if (this == &other) return;
  if (color_ == other.color_ && width_ == other.width_ && style_ == other.style_ &&
      mode_ == other.mode_)
    return;
  color_ = other.color_;
  width_ = other.width_;
  style_ = other.style_;
  mode_ = other.mode_;
  Changed();
}

void TBrush::Changed() {
  if (OnChange) OnChange();
}

void TBrush::SetColor(TColor color) {
  if (color == color_ && style_ != bsClear) return;
  color_ = color;
  if (style_ == bsClear) style_ = bsSolid;
  Changed();
}

void TBrush::SetStyle(TBrushStyle style) {
  if (style == style_) return;
  style_ = style;
  Changed();
}

void TBrush::SetBitmap(TBitmap* bitmap) {
  if (bitmap == bitmap_) return;
  bitmap_ = bitmap;
  Changed();
}

void TBrush::Assign(const TBrush& other) {
  if (this == &other) return;
  if (color_ == other.color_ && style_ == other.style_ && bitmap_ == other.bitmap_) return;
  color_ = other.color_;
  style_ = other.style_;
  bitmap_ = other.bitmap_;
  Changed();
}

// ---------------------------------------------------------------------------------------------

TRegion::TRegion() : d_(std::make_unique<Impl>()) {}

TRegion::TRegion(const TRect& rect) : d_(std::make_unique<Impl>()) {
  if (!IsRectEmpty(rect)) d_->region = QRegion(ToQRect(rect));
}

TRegion::TRegion(const std::vector<TPoint>& points, TPolyFillMode mode)
    : d_(std::make_unique<Impl>()) {
  if (points.size() < 3) return;
  QPolygon polygon;
  polygon.reserve(static_cast<int>(points.size()));
  for (const TPoint& p : points) polygon << QPoint(p.X, p.Y);
  d_->region = QRegion(polygon, mode == pfmWinding ? Qt::WindingFill : Qt::OddEvenFill);
}

TRegion::TRegion(const TRegion& other) : d_(std::make_unique<Impl>(*other.d_)) {}

TRegion& TRegion::operator=(const TRegion& other) {
  if (this != &other) *d_ = *other.d_;
  return *this;
}

TRegion::~TRegion() = default;

bool TRegion::IsEmpty() const { return d_->region.isEmpty(); }

bool TRegion::Contains(int x, int y) const { return d_->region.contains(QPoint(x, y)); }

bool TRegion::IntersectsRect(const TRect& rect) const {
  return !IsRectEmpty(rect) && d_->region.intersects(ToQRect(rect));
}

TRect TRegion::BoundingBox() const {
  const QRect r = d_->region.boundingRect();
  if (r.isEmpty()) return TRect{};
  return Bounds(r.x(), r.y(), r.width(), r.height());
}

void TRegion::Offset(int dx, int dy) { d_->region.translate(dx, dy); }

void TRegion::Combine(const TRegion& other, TRegionCombine op) {
  QRegion& r = d_->region;
  const QRegion& o = other.d_->region;
  switch (op) {
    case rcAnd:
      r = r.intersected(o);
      break;
    case rcOr:
      r = r.united(o);
      break;
    case rcXor:
      r = r.xored(o);
      break;
    case rcDiff:
      r = r.subtracted(o);
      break;
    case rcCopy:
      r = o;
      break;
  }
}

std::vector<TRect> TRegion::Rects() const {
  std::vector<TRect> result;
  for (const QRect& r : d_->region) result.push_back(Bounds(r.x(), r.y(), r.width(), r.height()));
  return result;
}

// ---------------------------------------------------------------------------------------------

namespace {
std::mutex g_sinkMutex;
TTextSink* g_sink = nullptr;
}  // namespace

TTextSink* SetTextSink(TTextSink* sink) {
  std::lock_guard<std::mutex> lock(g_sinkMutex);
  TTextSink* previous = g_sink;
  g_sink = sink;
  return previous;
}

bool TextSinkActive() {
  std::lock_guard<std::mutex> lock(g_sinkMutex);
  return g_sink != nullptr;
}

void RecordTextOutput(TTextRecord record) {
  std::lock_guard<std::mutex> lock(g_sinkMutex);
  if (g_sink != nullptr) g_sink->Add(std::move(record));
}

TSize FixedTextMetrics() {
  std::lock_guard<std::mutex> lock(g_sinkMutex);
  return g_sink == nullptr ? TSize{} : g_sink->FixedMetrics();
}
