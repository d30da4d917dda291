// Image lists: equally sized images with their own transparency, drawn normally or greyed.
#include <QImage>
#include <algorithm>

#include "platform/gui/CanvasImpl.h"
#include "platform/gui/Graphics.h"

namespace {

// Cuts the list-sized piece at column `left` out of the image; pixels where `transparent`
// says so, and padding beyond the image, get alpha 0.
template <class IsTransparent>
std::shared_ptr<QImage> Piece(const QImage& source, int left, int width, int height,
                              IsTransparent transparent) {
  auto piece = std::make_shared<QImage>(width, height, QImage::Format_ARGB32);
  piece->fill(Qt::transparent);
  const QImage rgb = source.convertToFormat(QImage::Format_RGB32);
  for (int y = 0; y < std::min(height, rgb.height()); ++y) {
    const QRgb* in = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
    QRgb* out = reinterpret_cast<QRgb*>(piece->scanLine(y));
    for (int x = 0; x < width && left + x < rgb.width(); ++x) {
      if (!transparent(left + x, y, in[left + x])) out[x] = in[left + x] | 0xFF000000;
    }
  }
  return piece;
}

}  // namespace

TImageList::TImageList(int width, int height)
    : width_(std::max(1, width)), height_(std::max(1, height)) {}

void TImageList::SetSize(int width, int height) {
  width = std::max(1, width);
  height = std::max(1, height);
  if (width == width_ && height == height_) return;
  width_ = width;
  height_ = height;
  Clear();
}

TImageList::~TImageList() {
  const std::vector<TChangeLink*> links = links_;
  links_.clear();
  for (TChangeLink* link : links) {
    link->sender_ = nullptr;
    if (link->OnFree) link->OnFree();
  }
}

void TImageList::RegisterChanges(TChangeLink* link) {
  if (link == nullptr || link->sender_ == this) return;
  if (link->sender_ != nullptr) link->sender_->UnRegisterChanges(link);
  links_.push_back(link);
  link->sender_ = this;
}

void TImageList::UnRegisterChanges(TChangeLink* link) {
  if (link == nullptr || link->sender_ != this) return;
  links_.erase(std::find(links_.begin(), links_.end(), link));
  link->sender_ = nullptr;
}

void TImageList::Change() {
  if (OnChange) OnChange();
  const std::vector<TChangeLink*> links = links_;
  for (TChangeLink* link : links)
    if (link->sender_ == this && link->OnChange) link->OnChange();
}

TChangeLink::~TChangeLink() {
  if (sender_ != nullptr) sender_->UnRegisterChanges(this);
}

int TImageList::Add(const TBitmap& image, const TBitmap* mask) {
  if (image.Empty()) return -1;
  QImage maskImage;
  if (mask != nullptr && !mask->Empty())
    maskImage = mask->Image().convertToFormat(QImage::Format_RGB32);
  const int first = Count();
  const int pieces = std::max(1, image.Width() / width_);
  for (int i = 0; i < pieces; ++i) {
    images_.push_back(Piece(image.Image(), i * width_, width_, height_, [&](int x, int y, QRgb) {
      return !maskImage.isNull() && maskImage.valid(x, y) &&
             (maskImage.pixel(x, y) & 0x00FFFFFF) == 0x00FFFFFF;
    }));
  }
  Change();
  return first;
}

int TImageList::AddMasked(const TBitmap& image, TColor maskColor) {
  if (image.Empty()) return -1;
  if (maskColor == clDefault) maskColor = image.PixelColor(0, image.Height() - 1);
  const QRgb key = ToQRgb(maskColor) & 0x00FFFFFF;
  const int first = Count();
  const int pieces = std::max(1, image.Width() / width_);
  for (int i = 0; i < pieces; ++i) {
    images_.push_back(Piece(image.Image(), i * width_, width_, height_,
                            [key](int, int, QRgb c) { return (c & 0x00FFFFFF) == key; }));
  }
  Change();
  return first;
}

void TImageList::Delete(int index) {
  if (index < 0 || index >= Count()) return;
  images_.erase(images_.begin() + index);
  Change();
}

void TImageList::Clear() {
  if (images_.empty()) return;
  images_.clear();
  Change();
}

bool TImageList::GetBitmap(int index, TBitmap& bitmap) const {
  const QImage* image = Image(index);
  if (!image) return false;
  QImage flat(width_, height_, QImage::Format_RGB32);
  flat.fill(QColor::fromRgb(ToQRgb(clBtnFace)));
  QPainter painter(&flat);
  painter.drawImage(0, 0, *image);
  painter.end();
  bitmap.SetImage(flat);
  return true;
}

const QImage* TImageList::Image(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return images_[static_cast<size_t>(index)].get();
}

void TImageList::Draw(TCanvas& canvas, int x, int y, int index, bool enabled) const {
  const QImage* found = Image(index);
  if (!found) return;
  const QImage& image = *found;
  if (enabled) {
    canvas.DrawQImage(x, y, image);
    return;
  }
  // Greyed: each visible pixel becomes a light grey of its brightness.
  QImage grey = image.copy();
  for (int row = 0; row < grey.height(); ++row) {
    QRgb* line = reinterpret_cast<QRgb*>(grey.scanLine(row));
    for (int col = 0; col < grey.width(); ++col) {
      if (qAlpha(line[col]) == 0) continue;
      const int v =
          128 + ((77 * qRed(line[col]) + 150 * qGreen(line[col]) + 29 * qBlue(line[col])) >> 9);
      line[col] = qRgba(v, v, v, 255);
    }
  }
  canvas.DrawQImage(x, y, grey);
}
