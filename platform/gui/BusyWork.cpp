// Long work off the GUI thread while the windows stay painted but take no input: the GUI
// thread runs a local loop, like a modal dialog's, behind an application-wide input filter.
#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QWidget>
#include <atomic>
#include <exception>
#include <thread>

#include "platform/gui/Threads.h"

namespace {

std::atomic<int> busyDepth{0};

bool IsUserInput(QEvent::Type type) {
  switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Shortcut:
    case QEvent::ShortcutOverride:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
      return true;
    default:
      return false;
  }
}

// Drops input meant for the program's windows; a dialog the work opened takes its own.
class InputBlocker : public QObject {
 public:
  bool eventFilter(QObject* watched, QEvent* event) override {
    // A form's window gets a close event only from its close box: the program closes forms
    // without one.
    if (event->type() != QEvent::Close && !IsUserInput(event->type())) return false;
    // Native windows hand their input on to the widgets, where it is judged.
    QWidget* target = qobject_cast<QWidget*>(watched);
    if (!target) return false;
    for (QWidget* open : {QApplication::activeModalWidget(), QApplication::activePopupWidget()})
      if (open && (open == target || open->isAncestorOf(target))) return false;
    event->ignore();
    return true;
  }
};

}  // namespace

bool Busy() { return busyDepth > 0; }

void RunBusy(const std::function<void()>& work) {
  QEventLoop loop;
  InputBlocker blocker;
  std::exception_ptr failure;
  qApp->installEventFilter(&blocker);
  QApplication::setOverrideCursor(Qt::WaitCursor);
  ++busyDepth;
  std::thread worker([&] {
    try {
      work();
    } catch (...) {
      failure = std::current_exception();
    }
    // Queued, so it also ends a loop that has not started yet. By name, so that Qt makes the
    // event: nothing the worker makes crosses threads through Qt's queue, whose locks
    // ThreadSanitizer cannot see.
    QMetaObject::invokeMethod(&loop, "quit", Qt::QueuedConnection);
  });
  loop.exec();
  worker.join();
  --busyDepth;
  QApplication::restoreOverrideCursor();
  qApp->removeEventFilter(&blocker);
  if (failure) std::rethrow_exception(failure);
}
