// Bitmaps over QImage: size, pixel formats with palettes, raw rows, transparency and masks.
#include <QImage>
#include <algorithm>
#include <cstdlib>

#include "platform/Exceptions.h"
#include "platform/ZeroedMemory.h"
#include "platform/gui/CanvasImpl.h"
#include "platform/gui/Graphics.h"

void RaisePictureTooLarge(long long width, long long height) {
  throw EOutOfResources("图片太大（" + std::to_string(width) + " x " + std::to_string(height) +
                        "），系统资源不足");
}

QImage::Format QtFormat(TPixelFormat format) {
  switch (format) {
    case pf1bit:
      return QImage::Format_Mono;
    case pf4bit:
    case pf8bit:
      return QImage::Format_Indexed8;
    case pf15bit:
      return QImage::Format_RGB555;
    case pf16bit:
      return QImage::Format_RGB16;
    case pf24bit:
      return QImage::Format_BGR888;
    case pf32bit:
    case pfDevice:
      break;
  }
  return QImage::Format_RGB32;
}

namespace {

int PaletteSize(TPixelFormat format) {
  switch (format) {
    case pf1bit:
      return 2;
    case pf4bit:
      return 16;
    case pf8bit:
      return 256;
    default:
      return 0;
  }
}

// Palette a new palette bitmap starts with: black and white; the sixteen standard colours;
// a 6 x 6 x 6 colour cube followed by a grey ramp.
QList<QRgb> StandardPalette(TPixelFormat format) {
  QList<QRgb> table;
  switch (format) {
    case pf1bit:
      table = {qRgb(0, 0, 0), qRgb(255, 255, 255)};
      break;
    case pf4bit:
      for (TColor c : {clBlack, clMaroon, clGreen, clOlive, clNavy, clPurple, clTeal, clSilver,
                       clGray, clRed, clLime, clYellow, clBlue, clFuchsia, clAqua, clWhite})
        table.push_back(ToQRgb(c));
      break;
    case pf8bit:
      for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
          for (int b = 0; b < 6; ++b) table.push_back(qRgb(r * 51, g * 51, b * 51));
      for (int i = 0; table.size() < 256; ++i) {
        const int v = 8 + i * 6;
        table.push_back(qRgb(v, v, v));
      }
      break;
    default:
      break;
  }
  return table;
}

QImage NewImage(int width, int height, TPixelFormat format, const QList<QRgb>& table) {
  if (width <= 0 || height <= 0) return QImage();
  // Refused here rather than left to fail inside Qt.
  if (static_cast<long long>(width) * height > kMaxBitmapPixels)
    RaisePictureTooLarge(width, height);
  QImage image(width, height, QtFormat(format));
  if (image.isNull()) RaisePictureTooLarge(width, height);
  const int paletteSize = PaletteSize(format);
  if (paletteSize > 0) {
    image.setColorTable(
        PaddedPalette(table.isEmpty() ? StandardPalette(format) : table, paletteSize));
    image.fill(static_cast<uint>(NearestPaletteIndex(image.colorTable(), qRgb(255, 255, 255))));
  } else {
    image.fill(Qt::white);
  }
  return image;
}

// Pixels of `source` mapped into a palette image (nearest entries).
QImage ToPalette(const QImage& source, TPixelFormat format, const QList<QRgb>& table) {
  QImage result = NewImage(source.width(), source.height(), format, table);
  const QImage rgb = source.convertToFormat(QImage::Format_RGB32);
  const QList<QRgb> palette = result.colorTable();
  QRgb lastColor = 0;
  int lastIndex = -1;
  for (int y = 0; y < rgb.height(); ++y) {
    const QRgb* row = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
    uchar* out = result.scanLine(y);
    for (int x = 0; x < rgb.width(); ++x) {
      const QRgb c = row[x] & 0x00FFFFFF;
      if (lastIndex < 0 || c != lastColor) {
        lastColor = c;
        lastIndex = NearestPaletteIndex(palette, c);
      }
      if (format == pf1bit) {
        if (lastIndex != 0)
          out[x >> 3] |= static_cast<uchar>(0x80 >> (x & 7));
        else
          out[x >> 3] &= static_cast<uchar>(~(0x80 >> (x & 7)));
      } else {
        out[x] = static_cast<uchar>(lastIndex);
      }
    }
  }
  return result;
}

}  // namespace

// ---------------------------------------------------------------------------------------------

TBitmap::TBitmap() : image_(std::make_unique<QImage>()) {}

TBitmap::TBitmap(int width, int height, TPixelFormat format) : TBitmap() {
  format_ = format;
  SetSize(width, height);
}

TBitmap::TBitmap(const TBitmap& other) : TBitmap() { Assign(other); }

TBitmap& TBitmap::operator=(const TBitmap& other) {
  Assign(other);
  return *this;
}

TBitmap::~TBitmap() { delete canvas_.load(); }

void TBitmap::Changed() {
  if (OnChange) OnChange();
}

int TBitmap::Width() const { return width_; }
int TBitmap::Height() const { return height_; }
bool TBitmap::Empty() const { return width_ == 0 || height_ == 0; }

void TBitmap::SetWidth(int width) { SetSize(width, height_); }
void TBitmap::SetHeight(int height) { SetSize(width_, height); }

void TBitmap::SetSize(int width, int height) {
  SetSize(width, height, DeviceGrid::DeviceExtent(width, ratio_),
          DeviceGrid::DeviceExtent(height, ratio_));
}

void TBitmap::SetSize(int width, int height, int deviceWidth, int deviceHeight) {
  width = std::max(0, width);
  height = std::max(0, height);
  // Within a pixel of the ratio's size, and never fewer device pixels than pixels.
  auto fit = [this](int logical, int device) {
    const int most = DeviceGrid::DeviceExtent(logical, ratio_);
    return std::clamp(device, std::max(logical, most - 1), most);
  };
  deviceWidth = fit(width, deviceWidth);
  deviceHeight = fit(height, deviceHeight);
  if (width == width_ && height == height_ && deviceWidth == image_->width() &&
      deviceHeight == image_->height())
    return;
  if (width == 0 || height == 0) deviceWidth = deviceHeight = 0;
  QImage resized = NewImage(deviceWidth, deviceHeight, format_, image_->colorTable());
  if (!resized.isNull() && !image_->isNull()) {
    // Keep what still fits. Palette bitmaps share their table, so rows copy as bytes.
    const int rows = std::min(resized.height(), image_->height());
    const int bytes = std::min(resized.bytesPerLine(), image_->bytesPerLine());
    const int usedBits = std::min(resized.width(), image_->width()) * image_->depth();
    const int whole = std::min(bytes, usedBits / 8);
    const int restBits = usedBits % 8;
    for (int y = 0; y < rows; ++y) {
      const uchar* from = image_->constScanLine(y);
      uchar* to = resized.scanLine(y);
      std::copy(from, from + whole, to);
      if (restBits != 0 && whole < bytes) {
        const uchar mask = static_cast<uchar>(0xFF00 >> restBits);
        to[whole] = static_cast<uchar>((from[whole] & mask) | (to[whole] & ~mask));
      }
    }
  }
  *image_ = resized;
  width_ = width;
  height_ = height;
  Changed();
}

void TBitmap::SetDevicePixelRatio(double ratio) {
  ratio = std::max(1.0, ratio);
  if (ratio == ratio_) return;
  ratio_ = ratio;
  const int width = width_, height = height_;
  *image_ = QImage();
  width_ = height_ = 0;
  SetSize(width, height);
}

void TBitmap::SetSizeZeroed(int width, int height) {
  const int paletteSize = PaletteSize(format_);
  if (paletteSize == 0 || width <= 0 || height <= 0 || ratio_ != 1.0) {
    SetSize(width, height);
    return;
  }
  if (static_cast<long long>(width) * height > kMaxBitmapPixels)
    RaisePictureTooLarge(width, height);
  const QImage::Format qtFormat = QtFormat(format_);
  const int depth = qtFormat == QImage::Format_Mono ? 1 : 8;
  const qsizetype bytesPerLine = (static_cast<qsizetype>(width) * depth + 31) / 32 * 4;
  // Zeroed by the system: pages never written are never touched.
  void* pixels = AllocateZeroed(static_cast<std::size_t>(bytesPerLine) * height);
  if (!pixels) RaisePictureTooLarge(width, height);
  QImage image(static_cast<uchar*>(pixels), width, height, bytesPerLine, qtFormat, FreeBlock,
               pixels);
  image.setColorTable(PaddedPalette(image_->isNull() || image_->colorTable().isEmpty()
                                        ? StandardPalette(format_)
                                        : image_->colorTable(),
                                    paletteSize));
  *image_ = image;
  width_ = width;
  height_ = height;
  Changed();
}

void TBitmap::SetPixelFormat(TPixelFormat format) {
  if (format == format_) return;
  const TPixelFormat previous = format_;
  format_ = format;
  if (image_->isNull()) return;
  const int paletteSize = PaletteSize(format);
  if (paletteSize > 0) {
    // A palette that fits the new depth is kept; otherwise the standard one is taken.
    QList<QRgb> table;
    if (PaletteSize(previous) > 0 && PaletteSize(previous) <= paletteSize)
      table = image_->colorTable();
    try {
      *image_ = ToPalette(*image_, format, table);
    } catch (...) {
      format_ = previous;
      throw;
    }
  } else {
    *image_ = image_->convertToFormat(QtFormat(format));
  }
  Changed();
}

void TBitmap::SetMonochrome(bool mono) {
  if (mono == Monochrome()) return;
  SetPixelFormat(mono ? pf1bit : pfDevice);
}

std::uint8_t* TBitmap::ScanLine(int row) {
  if (row < 0 || row >= image_->height() || image_->isNull()) return nullptr;
  return image_->scanLine(row);
}

const std::uint8_t* TBitmap::ScanLine(int row) const {
  if (row < 0 || row >= image_->height() || image_->isNull()) return nullptr;
  return image_->constScanLine(row);
}

int TBitmap::BytesPerLine() const {
  return image_->isNull() ? 0 : static_cast<int>(image_->bytesPerLine());
}

std::vector<TColor> TBitmap::Palette() const {
  std::vector<TColor> colors;
  if (PaletteSize(format_) == 0) return colors;
  const QList<QRgb> table = image_->isNull()
                                ? PaddedPalette(StandardPalette(format_), PaletteSize(format_))
                                : image_->colorTable();
  for (QRgb c : table) colors.push_back(FromQRgb(c));
  return colors;
}

void TBitmap::SetPalette(const std::vector<TColor>& colors) {
  const int size = PaletteSize(format_);
  if (size == 0 || image_->isNull()) return;
  QList<QRgb> table;
  for (TColor c : colors) table.push_back(ToQRgb(c));
  image_->setColorTable(PaddedPalette(table, size));
  Changed();
}

TColor TBitmap::PixelColor(int x, int y) const {
  if (ratio_ != 1.0) {
    // The device pixel where the logical one starts: where a one-pixel line through it lies.
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return clNone;
    const DeviceGrid grid = GridOf(*this);
    x = grid.X(x);
    y = grid.Y(y);
  }
  if (image_->isNull() || !image_->valid(x, y)) return clNone;
  if (image_->format() == QImage::Format_Indexed8) {
    const int index = image_->constScanLine(y)[x];
    return index < image_->colorCount() ? FromQRgb(image_->color(index)) : clBlack;
  }
  return FromQRgb(image_->pixel(x, y));
}

TColor TBitmap::TransparentColor() const {
  if (transparentMode_ == tmFixed) return transparentColor_;
  if (Empty()) return clNone;
  return PixelColor(0, height_ - 1);
}

void TBitmap::SetTransparentColor(TColor color) {
  if (color == clDefault) {
    transparentMode_ = tmAuto;
  } else {
    transparentMode_ = tmFixed;
  }
  transparentColor_ = color;
}

void TBitmap::Mask(TColor color) {
  if (image_->isNull()) {
    format_ = pf1bit;
    return;
  }
  const QRgb key = ToQRgb(color) & 0x00FFFFFF;
  const QImage rgb = image_->convertToFormat(QImage::Format_RGB32);
  QImage mask(rgb.width(), rgb.height(), QImage::Format_Mono);
  mask.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
  mask.fill(0u);
  for (int y = 0; y < rgb.height(); ++y) {
    const QRgb* row = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
    uchar* out = mask.scanLine(y);
    for (int x = 0; x < rgb.width(); ++x) {
      if ((row[x] & 0x00FFFFFF) == key) out[x >> 3] |= static_cast<uchar>(0x80 >> (x & 7));
    }
  }
  *image_ = mask;
  format_ = pf1bit;
  Changed();
}

std::unique_ptr<TBitmap> TBitmap::CreateMask(TColor color) const {
  auto mask = std::make_unique<TBitmap>(*this);
  mask->Mask(color);
  return mask;
}

TCanvas& TBitmap::Canvas() {
  TCanvas* canvas = canvas_.load(std::memory_order_acquire);
  if (canvas) return *canvas;
  // Two threads may ask at once (one drawing on it, one drawing it under the drawing lock):
  // the first canvas made is the one both get.
  auto made = std::make_unique<TCanvas>();
  made->BindBitmap(this);
  if (canvas_.compare_exchange_strong(canvas, made.get(), std::memory_order_acq_rel))
    return *made.release();
  return *canvas;
}

void TBitmap::Assign(const TBitmap& other) {
  if (this == &other) return;
  *image_ = other.image_->copy();
  width_ = other.width_;
  height_ = other.height_;
  ratio_ = other.ratio_;
  format_ = other.format_;
  transparent_ = other.transparent_;
  transparentMode_ = other.transparentMode_;
  transparentColor_ = other.transparentColor_;
  Changed();
}

QImage& TBitmap::Image() { return *image_; }
const QImage& TBitmap::Image() const { return *image_; }

void TBitmap::SetImage(const QImage& image) {
  TPixelFormat format = pf32bit;
  QImage converted;
  switch (image.format()) {
    case QImage::Format_Mono:
      converted = image;
      format = pf1bit;
      break;
    case QImage::Format_MonoLSB:
      converted = image.convertToFormat(QImage::Format_Mono);
      format = pf1bit;
      break;
    case QImage::Format_Indexed8:
      converted = image;
      format = pf8bit;
      converted.setColorTable(PaddedPalette(image.colorTable(), 256));
      break;
    case QImage::Format_RGB16:
      converted = image;
      format = pf16bit;
      break;
    case QImage::Format_RGB555:
      converted = image;
      format = pf15bit;
      break;
    case QImage::Format_RGB888:
    case QImage::Format_BGR888:
      converted = image.convertToFormat(QImage::Format_BGR888);
      format = pf24bit;
      break;
    default:
      converted = image.convertToFormat(QImage::Format_RGB32);
      break;
  }
  if (converted.isNull()) {
    *image_ = QImage();
    width_ = height_ = 0;
  } else {
    if (static_cast<long long>(converted.width()) * converted.height() > kMaxBitmapPixels)
      RaisePictureTooLarge(converted.width(), converted.height());
    *image_ = converted;
    width_ = converted.width();
    height_ = converted.height();
  }
  ratio_ = 1.0;
  format_ = format;
  Changed();
}
