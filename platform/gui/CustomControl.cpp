// Self-painting controls on an off-screen bitmap, painting a control into another canvas, and
// window opacity.
#include "platform/gui/CustomControl.h"

#include <QImage>
#include <QPainter>
#include <QWidget>
#include <cmath>
#include <type_traits>

#include "platform/gui/CanvasImpl.h"
#include "platform/gui/QtPeer.h"

TOffscreenPaint::TOffscreenPaint() : bitmap_(std::make_unique<TBitmap>()) {
  bitmap_->SetPixelFormat(pf32bit);
}

TOffscreenPaint::~TOffscreenPaint() = default;

TCanvas& TOffscreenPaint::Canvas() { return bitmap_->Canvas(); }

TBitmap& TOffscreenPaint::Render(int width, int height, TColor background,
                                 const std::function<void()>& paint, double devicePixelRatio,
                                 TSize deviceSize) {
  TCanvas& canvas = bitmap_->Canvas();
  canvas.Lock();
  struct Done {
    TOffscreenPaint& self;
    TCanvas& canvas;
    ~Done() {
      self.painting_ = false;
      canvas.Unlock();
    }
  } done{*this, canvas};
  painting_ = true;
  bitmap_->SetDevicePixelRatio(devicePixelRatio);
  width = std::max(0, width);
  height = std::max(0, height);
  if (deviceSize.cx > 0 && deviceSize.cy > 0)
    bitmap_->SetSize(width, height, deviceSize.cx, deviceSize.cy);
  else
    bitmap_->SetSize(width, height);
  while (canvas.RestoreState(-1)) {
  }
  canvas.SelectClipRegion(nullptr);
  canvas.SetOrigin(Point(0, 0));
  canvas.SetPenPos(Point(0, 0));
  if (!bitmap_->Empty()) {
    // The background fill must not disturb the brush the control keeps between paints.
    TBrush kept;
    kept.Assign(canvas.Brush());
    canvas.Brush().SetBitmap(nullptr);
    canvas.Brush().SetColor(background);
    canvas.FillRect(Rect(0, 0, width, height));
    canvas.Brush().Assign(kept);
    paint();
  }
  return *bitmap_;
}

// ---------------------------------------------------------------------------------------------

namespace {

QWidget* NewPaintedPeer(TControl* control) {
  auto* peer = new zgui::Peer<QWidget>(control);
  // The picture covers the whole widget: Qt needs not clear it first.
  peer->setAttribute(Qt::WA_OpaquePaintEvent, true);
  return peer;
}

}  // namespace

template <class Base>
TSelfPaintedControl<Base>::TSelfPaintedControl(TComponent* AOwner) : Base(AOwner) {
  this->AttachWidget(NewPaintedPeer(this));
}

template <class Base>
TSelfPaintedControl<Base>::~TSelfPaintedControl() = default;

template <class Base>
TColor TSelfPaintedControl<Base>::Background() const {
  // A windowed control has a background of its own; a windowless one lies on its parent's.
  if constexpr (std::is_same_v<Base, TWinControl>) {
    return this->Color();
  } else {
    return this->Parent() != nullptr ? this->Parent()->Color() : this->Color();
  }
}

template <class Base>
TBitmap& TSelfPaintedControl<Base>::PaintOffscreen() {
  return PaintOffscreen(this->Widget() != nullptr ? this->Widget()->devicePixelRatioF() : 1.0);
}

template <class Base>
TBitmap& TSelfPaintedControl<Base>::PaintOffscreen(double devicePixelRatio, TSize deviceSize) {
  return offscreen_.Render(
      this->Width(), this->Height(), Background(), [this] { Paint(); }, devicePixelRatio,
      deviceSize);
}

template <class Base>
bool TSelfPaintedControl<Base>::PaintPeer(QPainter* painter) {
  if (offscreen_.Painting()) return true;
  const WidgetPixels place = PlaceWidget(*painter, this->Width(), this->Height());
  if (place.ratio == 1.0) {
    painter->drawImage(0, 0, PaintOffscreen(1.0).Image());
    return true;
  }
  // Painted for the device pixels the widget covers where it lies, so that its sides land on
  // its picture's sides, and copied onto them unscaled.
  TBitmap& picture = PaintOffscreen(place.ratio, TSize{place.size.width(), place.size.height()});
  QImage pixels = picture.Image();
  pixels.setDevicePixelRatio(1.0);
  PaintInDevicePixels(*painter, place);
  painter->drawImage(QPoint(0, 0), pixels);
  painter->restore();
  return true;
}

template <class Base>
void TSelfPaintedControl<Base>::ColorChanged() {
  Base::ColorChanged();
  if (this->Widget()) this->Widget()->setAutoFillBackground(false);
  this->Invalidate();
}

template <class Base>
void TSelfPaintedControl<Base>::PaintCopyTo(TCanvas& canvas) {
  if (offscreen_.Painting()) return;
  paintingCopy_ = true;
  try {
    TBitmap& picture = PaintOffscreen(canvas.DevicePixelRatio());
    paintingCopy_ = false;
    canvas.Draw(0, 0, picture);
  } catch (...) {
    paintingCopy_ = false;
    throw;
  }
}

template class TSelfPaintedControl<TControl>;
template class TSelfPaintedControl<TWinControl>;

// ---------------------------------------------------------------------------------------------

void PaintControlTo(TControl* control, TCanvas& canvas) {
  if (control == nullptr || control->IsDestroying()) return;
  if (auto* graphic = dynamic_cast<TSelfPaintedControl<TControl>*>(control)) {
    graphic->PaintCopyTo(canvas);
    return;
  }
  if (auto* custom = dynamic_cast<TSelfPaintedControl<TWinControl>*>(control)) {
    custom->PaintCopyTo(canvas);
    return;
  }
  QWidget* widget = control->Widget();
  if (widget == nullptr || control->Width() <= 0 || control->Height() <= 0) return;
  const double ratio = canvas.DevicePixelRatio();
  QImage picture(DeviceGrid::DeviceExtent(control->Width(), ratio),
                 DeviceGrid::DeviceExtent(control->Height(), ratio),
                 QImage::Format_ARGB32_Premultiplied);
  picture.setDevicePixelRatio(ratio);
  picture.fill(Qt::transparent);
  {
    QPainter painter(&picture);
    widget->render(&painter, QPoint(), QRegion(), QWidget::DrawWindowBackground);
  }
  canvas.DrawQImage(0, 0, picture);
}

void SetWindowAlpha(TControl* control, int alpha) {
  if (control == nullptr || alpha < 0 || alpha > 255) return;
  QWidget* widget = control->Widget();
  if (widget == nullptr || !widget->isWindow()) return;
  widget->setWindowOpacity(alpha / 255.0);
}

int WindowAlpha(const TControl* control) {
  if (control == nullptr || control->Widget() == nullptr || !control->Widget()->isWindow())
    return 255;
  return static_cast<int>(std::lround(control->Widget()->windowOpacity() * 255.0));
}
