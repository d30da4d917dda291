// TPanel and TImage.
#include <QImage>
#include <QWidget>

#include "platform/gui/CanvasImpl.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/QtPeer.h"

using namespace zgui;

namespace {
void DrawBevel(WidgetLines& lines, QRect r, TBevelCut cut, int width) {
  if (cut == bvNone) return;
  const QColor light = ToQColor(clBtnHighlight);
  const QColor dark = ToQColor(clBtnShadow);
  const QColor topLeft = cut == bvLowered ? dark : cut == bvRaised ? light : ToQColor(clBtnFace);
  const QColor bottomRight = cut == bvLowered  ? light
                             : cut == bvRaised ? dark
                                               : ToQColor(clBtnFace);
  for (int i = 0; i < width && r.width() > 1 && r.height() > 1; ++i) {
    lines.Frame(r, topLeft, bottomRight);
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
  WidgetLines lines(*painter, Width(), Height());
  DrawBevel(lines, r, bevelOuter_, bevelWidth_);
  if (bevelOuter_ != bvNone) r.adjust(bevelWidth_, bevelWidth_, -bevelWidth_, -bevelWidth_);
  DrawBevel(lines, r, bevelInner_, bevelWidth_);
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
  // The canvas draws bitmaps with their transparency, as everywhere else.
  TCanvas canvas;
  canvas.BindPainter(painter, Width(), Height());
  picture_->SetTransparent(transparent_);
  if (stretch_)
    canvas.StretchDraw(Rect(0, 0, Width(), Height()), *picture_);
  else if (center_)
    canvas.Draw((Width() - picture_->Width()) / 2, (Height() - picture_->Height()) / 2, *picture_);
  else
    canvas.Draw(0, 0, *picture_);
  canvas.Unbind();
  return true;
}
