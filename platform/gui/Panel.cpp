// TPanel and TImage.
#include <QImage>
#include <QWidget>

#include "platform/gui/ExtCtrls.h"
#include "platform/gui/QtPeer.h"

using namespace zgui;

namespace {
void DrawBevel(QPainter& p, QRect r, TBevelCut cut, int width) {
  if (cut == bvNone) return;
  const QColor light = ToQColor(clBtnHighlight);
  const QColor dark = ToQColor(clBtnShadow);
  const QColor topLeft = cut == bvLowered ? dark : cut == bvRaised ? light : ToQColor(clBtnFace);
  const QColor bottomRight = cut == bvLowered ? light : cut == bvRaised ? dark : ToQColor(clBtnFace);
  for (int i = 0; i < width && r.width() > 1 && r.height() > 1; ++i) {
    p.fillRect(QRect(r.left(), r.top(), r.width(), 1), topLeft);
    p.fillRect(QRect(r.left(), r.top(), 1, r.height()), topLeft);
    p.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), bottomRight);
    p.fillRect(QRect(r.right(), r.top(), 1, r.height()), bottomRight);
    r.adjust(1, 1, -1, -1);
  }
}
}  // namespace

TPanel::TPanel(TComponent* AOwner) : TWinControl(AOwner) {
  AttachWidget(new Peer<QWidget>(this));
  SetBounds(0, 0, 185, 41);
}

void TPanel::SetBevelOuter(TBevelCut value) {
  bevelOuter_ = value;
  Realign();
  Invalidate();
}
void TPanel::SetBevelInner(TBevelCut value) {
  bevelInner_ = value;
  Realign();
  Invalidate();
}
void TPanel::SetBevelWidth(int value) {
  bevelWidth_ = std::max(value, 1);
  Realign();
  Invalidate();
}

void TPanel::AdjustClientRect(TRect& rect) const {
  TWinControl::AdjustClientRect(rect);
  int inset = 0;
  if (bevelOuter_ != bvNone) inset += bevelWidth_;
  if (bevelInner_ != bvNone) inset += bevelWidth_;
  InflateRect(rect, -inset, -inset);
}

bool TPanel::PaintPeer(QPainter* painter) {
  QRect r(0, 0, Width(), Height());
  painter->fillRect(r, ToQColor(Color()));
  DrawBevel(*painter, r, bevelOuter_, bevelWidth_);
  if (bevelOuter_ != bvNone) r.adjust(bevelWidth_, bevelWidth_, -bevelWidth_, -bevelWidth_);
  DrawBevel(*painter, r, bevelInner_, bevelWidth_);
  if (!text_.empty()) {
    painter->setFont(Widget()->font());
    painter->setPen(ToQColor(Font()->Color()));
    painter->drawText(r, Qt::AlignCenter, ToQ(StripAccelerator(text_)));
  }
  return true;
}

void TPanel::TextChanged() { Invalidate(); }

// ---------------------------------------------------------------------------------------------

TImage::TImage(TComponent* AOwner) : TControl(AOwner), picture_(std::make_unique<TBitmap>()) {
  AttachWidget(new Peer<QWidget>(this));
  SetBounds(0, 0, 105, 105);
}

TImage::~TImage() = default;

void TImage::PictureChanged() { Invalidate(); }

void TImage::SetStretch(bool value) {
  stretch_ = value;
  Invalidate();
}
void TImage::SetCenter(bool value) {
  center_ = value;
  Invalidate();
}
void TImage::SetTransparent(bool value) {
  transparent_ = value;
  Invalidate();
}

bool TImage::PaintPeer(QPainter* painter) {
  if (picture_->Empty()) return true;
  QImage image = picture_->Image().convertToFormat(QImage::Format_ARGB32);
  if (transparent_) {
    const TColor key = ColorToRGB(picture_->TransparentColor());
    const QRgb keyRgb = qRgb(GetRValue(key), GetGValue(key), GetBValue(key));
    for (int y = 0; y < image.height(); ++y) {
      auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
      for (int x = 0; x < image.width(); ++x)
        if ((row[x] & 0xFFFFFF) == (keyRgb & 0xFFFFFF)) row[x] = 0;
    }
  }
  if (stretch_) {
    painter->drawImage(QRect(0, 0, Width(), Height()), image);
  } else if (center_) {
    painter->drawImage((Width() - image.width()) / 2, (Height() - image.height()) / 2, image);
  } else {
    painter->drawImage(0, 0, image);
  }
  return true;
}
