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
std::mutex g_recorderMutex;
TTextRecorder* g_recorder = nullptr;
}  // namespace

TTextRecorder::TTextRecorder(int fixedByteWidth, int fixedLineHeight)
    : byteWidth_(std::max(0, fixedByteWidth)), lineHeight_(std::max(0, fixedLineHeight)) {
  if (byteWidth_ > 0 && lineHeight_ == 0) lineHeight_ = 2 * byteWidth_;
  std::lock_guard<std::mutex> lock(g_recorderMutex);
  previous_ = g_recorder;
  g_recorder = this;
}

TTextRecorder::~TTextRecorder() {
  std::lock_guard<std::mutex> lock(g_recorderMutex);
  // Recorders nest; one that outlives a newer one unlinks itself from the chain.
  if (g_recorder == this) {
    g_recorder = previous_;
  } else {
    for (TTextRecorder* r = g_recorder; r != nullptr; r = r->previous_) {
      if (r->previous_ == this) {
        r->previous_ = previous_;
        break;
      }
    }
  }
}

TTextRecorder* TTextRecorder::Current() {
  std::lock_guard<std::mutex> lock(g_recorderMutex);
  return g_recorder;
}

void TTextRecorder::Add(TTextRecord record) {
  std::lock_guard<std::mutex> lock(mutex_);
  records_.push_back(std::move(record));
}

std::vector<TTextRecord> TTextRecorder::Records() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return records_;
}

std::vector<TTextRecord> TTextRecorder::Find(const std::string& text) const {
  std::lock_guard<std::mutex> lock(mutex_);
  std::vector<TTextRecord> result;
  for (const TTextRecord& r : records_) {
    if (r.Text == text) result.push_back(r);
  }
  return result;
}

void TTextRecorder::Clear() {
  std::lock_guard<std::mutex> lock(mutex_);
  records_.clear();
}

bool TextRecorderActive() {
  std::lock_guard<std::mutex> lock(g_recorderMutex);
  return g_recorder != nullptr;
}

void RecordTextOutput(TTextRecord record) {
  std::lock_guard<std::mutex> lock(g_recorderMutex);
  if (g_recorder != nullptr) g_recorder->Add(std::move(record));
}

TSize FixedTextMetrics() {
  std::lock_guard<std::mutex> lock(g_recorderMutex);
  if (g_recorder == nullptr) return TSize{};
  return TSize{g_recorder->FixedByteWidth(), g_recorder->FixedLineHeight()};
}
