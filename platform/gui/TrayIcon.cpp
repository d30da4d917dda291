// The notification-area icon on the toolkit's tray icon.
#include "platform/gui/TrayIcon.h"

#include <QCursor>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QSystemTrayIcon>

#include "platform/gui/QtPeer.h"

using namespace zgui;

struct TTrayIcon::Impl {
  QSystemTrayIcon icon;
};

TTrayIcon::TTrayIcon() : impl_(std::make_unique<Impl>()) {
  QObject::connect(&impl_->icon, &QSystemTrayIcon::activated, &impl_->icon,
                   [this](QSystemTrayIcon::ActivationReason reason) {
                     TTrayActivation r = TTrayActivation::Click;
                     switch (reason) {
                       case QSystemTrayIcon::DoubleClick:
                         r = TTrayActivation::DoubleClick;
                         break;
                       case QSystemTrayIcon::MiddleClick:
                         r = TTrayActivation::MiddleClick;
                         break;
                       case QSystemTrayIcon::Context:
                         r = TTrayActivation::ContextMenu;
                         break;
                       default:
                         break;
                     }
                     const QPoint at = QCursor::pos();
                     Activate(r, Point(at.x(), at.y()));
                   });
}

TTrayIcon::~TTrayIcon() { impl_->icon.hide(); }

bool TTrayIcon::Available() { return QSystemTrayIcon::isSystemTrayAvailable(); }

void TTrayIcon::SetIcon(const TBitmap& bitmap) {
  if (bitmap.Empty()) {
    impl_->icon.setIcon(QIcon());
    return;
  }
  const QImage image = bitmap.Transparent() ? KeyedImage(bitmap)
                                            : bitmap.Image().convertToFormat(QImage::Format_ARGB32);
  impl_->icon.setIcon(QIcon(QPixmap::fromImage(image)));
}

void TTrayIcon::SetTip(const std::string& tip) {
  tip_ = tip;
  impl_->icon.setToolTip(ToQ(tip));
}

void TTrayIcon::Show() {
  visible_ = true;
  if (Available()) impl_->icon.show();
}

void TTrayIcon::Hide() {
  visible_ = false;
  impl_->icon.hide();
}

void TTrayIcon::Activate(TTrayActivation reason, TPoint screenPos) {
  if (!OnActivated) return;
  RunHandler(Application, [&] { OnActivated(reason, screenPos); });
}
