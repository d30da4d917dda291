// The notification-area icon on the toolkit's tray icon.
#include "platform/gui/TrayIcon.h"

#include <QCursor>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QGuiApplication>
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

namespace {
int doubleClickAnswer = -1;
}

void TTrayIcon::SetReportsDoubleClicksForTesting(int answer) { doubleClickAnswer = answer; }

bool TTrayIcon::ReportsDoubleClicks() {
  if (doubleClickAnswer >= 0) return doubleClickAnswer == 1;
  // The toolkit speaks the status-notifier protocol whenever a watcher runs on the session
  // bus, and always off X11; only the old embedded tray of X11 passes double clicks on.
  if (QGuiApplication::platformName() != QLatin1String("xcb")) return false;
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected() || bus.interface() == nullptr) return true;
  return !bus.interface()->isServiceRegistered(QStringLiteral("org.kde.StatusNotifierWatcher"));
}

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
