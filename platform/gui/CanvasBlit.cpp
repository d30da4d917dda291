// Copying pixels between canvases and bitmaps: plain, stretched, mirrored, with raster
// operations, and leaving a transparent colour out.
#include <algorithm>
#include <cmath>
#include <optional>

#include "platform/gui/CanvasImpl.h"
#include "platform/gui/Graphics.h"

namespace {

std::atomic<bool> g_bitmapDrawLock{false};

// Holds the bitmap's canvas lock while it is drawn, once the process asked for that.
class BitmapDrawGuard {
 public:
  explicit BitmapDrawGuard(TBitmap& bitmap) {
    if (g_bitmapDrawLock.load()) {
      canvas_ = &bitmap.Canvas();
      canvas_->Lock();
    }
  }
  ~BitmapDrawGuard() {
    if (canvas_ != nullptr) canvas_->Unlock();
  }
  BitmapDrawGuard(const BitmapDrawGuard&) = delete;
  BitmapDrawGuard& operator=(const BitmapDrawGuard&) = delete;

 private:
  TCanvas* canvas_ = nullptr;
};

QPainter::CompositionMode CopyComposition(TCopyMode mode) {
  switch (mode) {
    case cmSrcAnd:
      return QPainter::RasterOp_SourceAndDestination;
    case cmSrcPaint:
      return QPainter::RasterOp_SourceOrDestination;
    case cmSrcInvert:
      return QPainter::RasterOp_SourceXorDestination;
    case cmNotSrcCopy:
      return QPainter::RasterOp_NotSource;
    default:
      return QPainter::CompositionMode_Source;
  }
}

// Normalises a rectangle whose width or height may be negative; reports the flips.
QRect Normalised(const TRect& r, bool& flipX, bool& flipY) {
  flipX = r.Right < r.Left;
  flipY = r.Bottom < r.Top;
  return QRect(std::min(r.Left, r.Right), std::min(r.Top, r.Bottom), std::abs(r.Width()),
               std::abs(r.Height()));
}

// 32-bit copy of part of an image (pixels outside it black), flipped as asked.
QImage SourcePart(const QImage& image, const QRect& part, bool flipX, bool flipY) {
  QImage result = image.convertToFormat(QImage::Format_RGB32).copy(part);
  if (flipX || flipY) result = result.mirrored(flipX, flipY);
  return result;
}

// Makes every pixel of `transparent` fully transparent.
QImage KeyedOut(const QImage& rgb32, QRgb transparent) {
  QImage result = rgb32.convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < result.height(); ++y) {
    QRgb* row = reinterpret_cast<QRgb*>(result.scanLine(y));
    for (int x = 0; x < result.width(); ++x) {
      if (((row[x] ^ transparent) & 0x00FFFFFF) == 0) row[x] = 0;
    }
  }
  return result;
}

// A picture drawn onto a target of another scale is smoothed unless it is enlarged a whole
// number of times (at 150% pixel art would double unevenly; at 200% it stays exact).
void SmoothWhenScaledBy(CanvasPaint& p, double sourceRatio) {
  const double enlarged = p.grid().Ratio() / sourceRatio;
  if (enlarged != 1.0 && (enlarged < 1.0 || enlarged != std::floor(enlarged)))
    p->setRenderHint(QPainter::SmoothPixmapTransform, true);
}

bool FillsWithoutSourceMode(TCopyMode mode) {
  return mode == cmBlackness || mode == cmWhiteness || mode == cmDstInvert;
}

// The copy-mode operations that need no source.
bool FillsWithoutSource(TCopyMode mode, CanvasPaint& p, const QRect& dest) {
  switch (mode) {
    case cmBlackness:
      p->setCompositionMode(QPainter::CompositionMode_Source);
      p->fillRect(dest, Qt::black);
      return true;
    case cmWhiteness:
      p->setCompositionMode(QPainter::CompositionMode_Source);
      p->fillRect(dest, Qt::white);
      return true;
    case cmDstInvert:
      p->setCompositionMode(QPainter::RasterOp_NotDestination);
      p->fillRect(dest, Qt::black);
      return true;
    default:
      return false;
  }
}

}  // namespace

void EnableBitmapDrawLock() { g_bitmapDrawLock.store(true); }
bool BitmapDrawLockEnabled() { return g_bitmapDrawLock.load(); }

void TCanvas::Draw(int x, int y, TBitmap& bitmap) {
  StretchDraw(Bounds(x, y, bitmap.Width(), bitmap.Height()), bitmap);
}

void TCanvas::StretchDraw(const TRect& dest, TBitmap& bitmap) {
  if (bitmap.Empty() || dest.Width() == 0 || dest.Height() == 0) return;
  BitmapDrawGuard guard(bitmap);
  bool flipX, flipY;
  QRect target = Normalised(dest, flipX, flipY);
  target.translate(origin_.X, origin_.Y);
  const QImage& image = bitmap.Image();
  QImage source = SourcePart(image, image.rect(), flipX, flipY);
  CanvasPaint p(*d_);
  if (!p) return;
  target = p.grid().Fill(target);
  SmoothWhenScaledBy(p, bitmap.DevicePixelRatio());
  if (bitmap.Transparent()) {
    source = KeyedOut(source, ToQRgb(bitmap.TransparentColor()));
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
  } else {
    if (FillsWithoutSource(copyMode_, p, target)) return;
    p->setCompositionMode(CopyComposition(copyMode_));
  }
  p->drawImage(target, source);
}

void TCanvas::CopyRect(const TRect& dest, TCanvas& source, const TRect& sourceRect) {
  if (dest.Width() == 0 || dest.Height() == 0) return;
  bool destFlipX, destFlipY, srcFlipX, srcFlipY;
  QRect target = Normalised(dest, destFlipX, destFlipY);
  target.translate(origin_.X, origin_.Y);
  QRect from = Normalised(sourceRect, srcFlipX, srcFlipY);
  from.translate(source.origin_.X, source.origin_.Y);

  // The source pixels are copied out first: the source may be this very canvas.
  QImage part;
  if (!FillsWithoutSourceMode(copyMode_)) {
    if (from.isEmpty()) return;
    const QImage* image = nullptr;
    std::optional<BitmapDrawGuard> guard;
    if (source.d_->bitmap != nullptr) {
      guard.emplace(*source.d_->bitmap);
      image = &source.d_->bitmap->Image();
      from = GridOf(*source.d_).Fill(from);
    } else if (source.d_->painter != nullptr && source.d_->painter->device() != nullptr &&
               source.d_->painter->device()->devType() == QInternal::Image) {
      image = static_cast<const QImage*>(source.d_->painter->device());
    }
    if (image == nullptr || image->isNull()) return;
    part = SourcePart(*image, from, destFlipX != srcFlipX, destFlipY != srcFlipY);
  }
  CanvasPaint p(*d_);
  if (!p) return;
  target = p.grid().Fill(target);
  if (FillsWithoutSource(copyMode_, p, target)) return;
  p->setCompositionMode(CopyComposition(copyMode_));
  p->drawImage(target, part);
}

void TCanvas::BrushCopy(const TRect& dest, TBitmap& bitmap, const TRect& sourceRect,
                        TColor transparent) {
  if (bitmap.Empty() || dest.Width() == 0 || dest.Height() == 0) return;
  BitmapDrawGuard guard(bitmap);
  bool destFlipX, destFlipY, srcFlipX, srcFlipY;
  QRect target = Normalised(dest, destFlipX, destFlipY);
  target.translate(origin_.X, origin_.Y);
  const QRect from = GridOf(bitmap).Fill(Normalised(sourceRect, srcFlipX, srcFlipY));
  if (from.isEmpty()) return;
  QImage part = SourcePart(bitmap.Image(), from, destFlipX != srcFlipX, destFlipY != srcFlipY);
  CanvasPaint p(*d_);
  if (!p) return;
  target = p.grid().Fill(target);
  SmoothWhenScaledBy(p, bitmap.DevicePixelRatio());
  if (transparent == clNone) {
    p->setCompositionMode(QPainter::CompositionMode_Source);
    p->drawImage(target, part);
    return;
  }
  if (transparent == clDefault) transparent = bitmap.PixelColor(0, bitmap.Height() - 1);
  // The transparent colour shows the brush; with a clear brush what was there stays.
  if (const std::optional<QBrush> brush = ToQBrush(brush_)) FillPixels(p, target, *brush);
  p->setCompositionMode(QPainter::CompositionMode_SourceOver);
  p->drawImage(target, KeyedOut(part, ToQRgb(transparent)));
}

void TCanvas::StretchDrawPixels(const TRect& dest, const std::uint32_t* argb, int width, int height,
                                bool blend) {
  if (!argb || width <= 0 || height <= 0 || dest.Width() == 0 || dest.Height() == 0) return;
  bool flipX, flipY;
  QRect target = Normalised(dest, flipX, flipY);
  target.translate(origin_.X, origin_.Y);
  const QImage wrapped(reinterpret_cast<const uchar*>(argb), width, height, width * 4,
                       blend ? QImage::Format_ARGB32 : QImage::Format_RGB32);
  // A copy: the caller's pixels may change once this returns.
  const QImage source = flipX || flipY ? wrapped.mirrored(flipX, flipY) : wrapped.copy();
  CanvasPaint p(*d_);
  if (!p) return;
  target = p.grid().Fill(target);
  SmoothWhenScaledBy(p, 1.0);
  p->setCompositionMode(QPainter::CompositionMode_SourceOver);
  p->drawImage(target, source);
}

void TCanvas::DrawQImage(int x, int y, const QImage& image) {
  if (image.isNull()) return;
  CanvasPaint p(*d_);
  if (!p) return;
  p->setCompositionMode(QPainter::CompositionMode_SourceOver);
  const double ratio = image.devicePixelRatio();
  if (!p.grid().Scaled() && ratio == 1.0) {
    p->drawImage(QPoint(x + origin_.X, y + origin_.Y), image);
    return;
  }
  // The image's pixels (it may carry a ratio of its own) over the logical size it covers.
  QImage pixels = image;
  pixels.setDevicePixelRatio(1.0);
  const QSize logical(static_cast<int>(std::lround(image.width() / ratio)),
                      static_cast<int>(std::lround(image.height() / ratio)));
  const QRect target = p.grid().Fill(QRect(QPoint(x + origin_.X, y + origin_.Y), logical));
  SmoothWhenScaledBy(p, ratio);
  p->drawImage(target, pixels);
}
