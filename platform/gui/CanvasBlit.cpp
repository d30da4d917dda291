// Copying pixels between canvases and bitmaps: plain, stretched, mirrored, with raster
// operations, and leaving a transparent colour out. Onto a scaled target a picture is enlarged
// pixel by pixel, never smoothed, so that its colours (and transparent colour) stay exact.
#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

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

// Draws `source`, a picture of `sourceRatio` device pixels per pixel, over the logical
// rectangle `target`. A picture of the target's own ratio is copied onto the device pixels the
// rectangle covers; any other is enlarged pixel by pixel onto the target's grid, each picture
// pixel taking the device pixels of the logical pixel it lands on (as at 1x: the nearest one),
// so that reading a pixel back gives its colour.
void DrawOnGrid(CanvasPaint& p, const QRect& target, const QImage& source, double sourceRatio) {
  const DeviceGrid& grid = p.grid();
  if (!grid.Scaled() && sourceRatio == 1.0) {
    p->drawImage(target, source);
    return;
  }
  const QRect pixels = grid.Fill(target);
  if (pixels.isEmpty() || source.isNull()) return;
  if (sourceRatio == grid.Ratio()) {
    p->drawImage(pixels, source);
    return;
  }
  // Source column (row) of each device column (row).
  auto sourceIndex = [](int devices, int from, int logical, int sourceSize, auto deviceOf) {
    std::vector<int> index(static_cast<size_t>(devices));
    int l = 0;
    const int start = deviceOf(from);
    for (int d = 0; d < devices; ++d) {
      while (l + 1 < logical && deviceOf(from + l + 1) <= start + d) ++l;
      index[static_cast<size_t>(d)] = std::min(
          sourceSize - 1,
          static_cast<int>((static_cast<long long>(2 * l + 1) * sourceSize) / (2LL * logical)));
    }
    return index;
  };
  const std::vector<int> columns =
      sourceIndex(pixels.width(), target.x(), target.width(), source.width(),
                  [&grid](int x) { return grid.X(x); });
  const std::vector<int> rows = sourceIndex(pixels.height(), target.y(), target.height(),
                                            source.height(), [&grid](int y) { return grid.Y(y); });
  const QImage from = source.depth() == 32 ? source : source.convertToFormat(QImage::Format_ARGB32);
  QImage enlarged(pixels.size(), from.format());
  for (int y = 0; y < pixels.height(); ++y) {
    const QRgb* in =
        reinterpret_cast<const QRgb*>(from.constScanLine(rows[static_cast<size_t>(y)]));
    QRgb* out = reinterpret_cast<QRgb*>(enlarged.scanLine(y));
    for (int x = 0; x < pixels.width(); ++x) out[x] = in[columns[static_cast<size_t>(x)]];
  }
  p->drawImage(pixels.topLeft(), enlarged);
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
  if (bitmap.Transparent()) {
    source = KeyedOut(source, ToQRgb(bitmap.TransparentColor()));
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
  } else {
    if (FillsWithoutSource(copyMode_, p, p.grid().Fill(target))) return;
    p->setCompositionMode(CopyComposition(copyMode_));
  }
  DrawOnGrid(p, target, source, bitmap.DevicePixelRatio());
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
  double partRatio = 1.0;
  if (!FillsWithoutSourceMode(copyMode_)) {
    if (from.isEmpty()) return;
    const QImage* image = nullptr;
    std::optional<BitmapDrawGuard> guard;
    if (source.d_->bitmap != nullptr) {
      guard.emplace(*source.d_->bitmap);
      image = &source.d_->bitmap->Image();
      from = GridOf(*source.d_).Fill(from);
      partRatio = source.d_->bitmap->DevicePixelRatio();
    } else if (source.d_->painter != nullptr && source.d_->painter->device() != nullptr &&
               source.d_->painter->device()->devType() == QInternal::Image) {
      image = static_cast<const QImage*>(source.d_->painter->device());
    }
    if (image == nullptr || image->isNull()) return;
    part = SourcePart(*image, from, destFlipX != srcFlipX, destFlipY != srcFlipY);
  }
  CanvasPaint p(*d_);
  if (!p) return;
  if (FillsWithoutSource(copyMode_, p, p.grid().Fill(target))) return;
  p->setCompositionMode(CopyComposition(copyMode_));
  DrawOnGrid(p, target, part, partRatio);
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
  if (transparent == clNone) {
    p->setCompositionMode(QPainter::CompositionMode_Source);
    DrawOnGrid(p, target, part, bitmap.DevicePixelRatio());
    return;
  }
  if (transparent == clDefault) transparent = bitmap.PixelColor(0, bitmap.Height() - 1);
  // The transparent colour shows the brush; with a clear brush what was there stays.
  if (const std::optional<QBrush> brush = ToQBrush(brush_)) FillDeviceRect(p, target, *brush);
  p->setCompositionMode(QPainter::CompositionMode_SourceOver);
  DrawOnGrid(p, target, KeyedOut(part, ToQRgb(transparent)), bitmap.DevicePixelRatio());
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
  p->setCompositionMode(QPainter::CompositionMode_SourceOver);
  DrawOnGrid(p, target, source, 1.0);
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
  DrawOnGrid(p, QRect(QPoint(x + origin_.X, y + origin_.Y), logical), pixels, ratio);
}
