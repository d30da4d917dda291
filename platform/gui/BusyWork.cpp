// Long work off the GUI thread while the windows stay painted but take no input: the GUI
// thread runs a local loop, like a modal dialog's, behind an application-wide input filter.
// Where the work can be called off, the filter turns a close box or Esc into the call.
#include "platform/gui/BusyWork.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QHBoxLayout>
#include <QInputMethod>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>
#include <QWindow>
#include <atomic>
#include <exception>
#include <thread>
#include <vector>

#include "platform/gui/QtPeer.h"

namespace {

using zgui::ToQ;

std::atomic<int> busyDepth{0};
// Work shorter than this shows no wait window: it would only flash.
constexpr int kWaitWindowDelayMs = 500;

// Everything that carries what the user types, clicks or drops. An input method's text comes
// as its own event, not as keys; a drag from another program brings its data in the drop. A
// drag leaving passes: it only ends what an earlier drag began.
bool IsUserInput(QEvent::Type type) {
  switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::InputMethod:
    case QEvent::ContextMenu:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
    case QEvent::NativeGesture:
      return true;
    default:
      return false;
  }
}

bool IsEscape(QEvent* event) {
  return event->type() == QEvent::KeyPress &&
         static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape;
}

// Windows with a close box the user may press: hints, pop-ups and splash screens have none.
bool HasCloseBox(const QWidget* window) {
  switch (window->windowType()) {
    case Qt::Window:
    case Qt::Dialog:
    case Qt::Tool:
      return true;
    default:
      return false;
  }
}

// The widgets a shortcut belongs to: a command's menus and buttons, a shortcut's owner.
QList<QWidget*> ShortcutOwners(QObject* receiver) {
  QList<QWidget*> owners;
  if (auto* widget = qobject_cast<QWidget*>(receiver)) {
    owners.push_back(widget);
  } else if (auto* action = qobject_cast<QAction*>(receiver)) {
    for (QObject* o : action->associatedObjects())
      if (auto* widget = qobject_cast<QWidget*>(o)) owners.push_back(widget);
  } else if (auto* widget = qobject_cast<QWidget*>(receiver->parent())) {
    owners.push_back(widget);
  }
  return owners;
}

// Drops input meant for the program's windows; a dialog the work opened takes its own, but not
// the modal window the work was started from. With a cancellation, a close box or Esc calls the
// work off, and the windows closed are remembered.
class InputBlocker : public QObject {
 public:
  explicit InputBlocker(TCancellation* cancel)
      : cancel_(cancel),
        modalBefore_(QApplication::activeModalWidget()),
        popupBefore_(QApplication::activePopupWidget()) {}
  // The wait window takes its own input.
  void Admit(QWidget* waitWindow) { waitWindow_ = waitWindow; }

  bool eventFilter(QObject* watched, QEvent* event) override {
    switch (event->type()) {
      case QEvent::Close:
        return CloseBox(watched, event);
      case QEvent::Shortcut:
        // A command's shortcut goes to its action, not to a widget: held as keys are.
        for (QWidget* owner : ShortcutOwners(watched))
          if (Admitted(owner)) return false;
        return true;
      default:
        break;
    }
    if (!IsUserInput(event->type())) return false;
    // Native windows hand their input on to the widgets, where it is judged.
    QWidget* target = qobject_cast<QWidget*>(watched);
    if (!target || Admitted(target)) return false;
    if (event->type() == QEvent::ShortcutOverride) {
      // Taken as a plain key, which is dropped below: so no command runs, and Esc calls the
      // work off even where a command has it as its shortcut.
      event->accept();
      return true;
    }
    if (cancel_ && IsEscape(event)) cancel_->Cancel();
    event->ignore();
    return true;
  }

  // The windows whose close box was pressed, still there.
  std::vector<QWidget*> Closed() const {
    std::vector<QWidget*> windows;
    for (const QPointer<QWidget>& w : closed_)
      if (w) windows.push_back(w);
    return windows;
  }

 private:
  static QWidget* OpenedMeanwhile(QWidget* open, const QPointer<QWidget>& before) {
    return open == before ? nullptr : open;
  }

  // In a dialog or pop-up the work opened, or in the wait window.
  bool Admitted(QWidget* target) const {
    for (QWidget* open :
         {OpenedMeanwhile(QApplication::activeModalWidget(), modalBefore_),
          OpenedMeanwhile(QApplication::activePopupWidget(), popupBefore_), waitWindow_})
      if (open && (open == target || open->isAncestorOf(target))) return true;
    return false;
  }

  // Only the user's close box counts: the window system's close of a window that has one. The
  // program's own closes (a hint or a pop-up going away, a window the work closes) pass.
  bool CloseBox(QObject* watched, QEvent* event) {
    QWidget* target = qobject_cast<QWidget*>(watched);
    if (!target || !target->isWindow() || !event->spontaneous() || !HasCloseBox(target) ||
        Admitted(target))
      return false;
    if (cancel_) {
      if (!closed_.contains(target)) closed_.push_back(target);
      cancel_->Cancel();
    }
    event->ignore();
    return true;
  }

  TCancellation* cancel_;
  QPointer<QWidget> modalBefore_;
  QPointer<QWidget> popupBefore_;
  QWidget* waitWindow_ = nullptr;
  QList<QPointer<QWidget>> closed_;
};

// The small window that says what is being waited for and offers to call it off. It is not
// modal: the toolkit would then drop the other windows' close boxes, which call the work off
// too; the input filter keeps the other windows from taking anything else.
class WaitWindow : public QWidget {
 public:
  WaitWindow(const std::string& text, TCancellation& cancel)
      : QWidget(nullptr, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
        cancel_(cancel) {
    setObjectName("BusyWaitWindow");
    setWindowTitle(ToQ("请稍候"));
    setAttribute(Qt::WA_QuitOnClose, false);
    auto* label = new QLabel(ToQ(text), this);
    label->setWordWrap(true);
    label->setMinimumWidth(260);
    auto* button = new QPushButton(ToQ("取消"), this);
    button->setObjectName("BusyWaitCancel");
    connect(button, &QPushButton::clicked, this, [this] { close(); });
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(button);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(16, 14, 16, 12);
    column->setSpacing(12);
    column->addWidget(label);
    column->addLayout(row);
  }

  // Over the middle of the window the user was working in.
  void ShowOver(QWidget* active) {
    adjustSize();
    setFixedSize(size());
    if (active) {
      const QRect frame = active->frameGeometry();
      move(frame.center() - QPoint(width() / 2, height() / 2));
      // Kept above that window by the window manager, without being owned by it.
      winId();
      if (windowHandle() && active->windowHandle())
        windowHandle()->setTransientParent(active->windowHandle());
    }
    show();
    raise();
    activateWindow();
  }

 protected:
  void closeEvent(QCloseEvent* e) override {
    cancel_.Cancel();
    QWidget::closeEvent(e);
  }
  void keyPressEvent(QKeyEvent* e) override {
    if (e->key() == Qt::Key_Escape)
      close();
    else
      QWidget::keyPressEvent(e);
  }

 private:
  TCancellation& cancel_;
};

// Runs the work with the GUI thread in a local loop; `cancel`, when given, is what the user's
// close boxes and Esc call off.
void RunBlocked(const std::function<void()>& work, TCancellation* cancel,
                const std::string& waitText) {
  QEventLoop loop;
  InputBlocker blocker(cancel);
  std::exception_ptr failure;
  QPointer<QWidget> active = QApplication::activeWindow();
  // A composition under way ends in its box now, as when the focus leaves the box: held
  // meanwhile, its end would leave it half made.
  QGuiApplication::inputMethod()->commit();
  qApp->installEventFilter(&blocker);
  QApplication::setOverrideCursor(Qt::WaitCursor);
  ++busyDepth;
  std::unique_ptr<WaitWindow> waitWindow;
  QTimer waitTimer;
  if (cancel && !waitText.empty()) {
    waitWindow = std::make_unique<WaitWindow>(waitText, *cancel);
    blocker.Admit(waitWindow.get());
    waitTimer.setSingleShot(true);
    QObject::connect(&waitTimer, &QTimer::timeout, [&] {
      if (!cancel->Cancelled()) waitWindow->ShowOver(active);
    });
    waitTimer.start(kWaitWindowDelayMs);
  }
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
  waitTimer.stop();
  blocker.Admit(nullptr);
  waitWindow.reset();
  // What the input method composed meanwhile never reached a box: it is dropped there too, so
  // the next keys start afresh. Still behind the filter, which holds any text it sends.
  QGuiApplication::inputMethod()->reset();
  --busyDepth;
  QApplication::restoreOverrideCursor();
  qApp->removeEventFilter(&blocker);
  // The close boxes pressed meanwhile take effect now, as if pressed just after the work.
  for (QWidget* window : blocker.Closed()) window->close();
  if (failure) std::rethrow_exception(failure);
}

}  // namespace

bool Busy() { return busyDepth > 0; }

void RunBusy(const std::function<void()>& work) { RunBlocked(work, nullptr, std::string()); }

bool RunCancellableBusy(const std::function<void(const TCancellation&)>& work,
                        const std::string& waitText) {
  TCancellation cancel;
  RunBlocked([&] { work(cancel); }, &cancel, waitText);
  return cancel.Cancelled();
}
