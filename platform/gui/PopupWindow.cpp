#include "platform/gui/PopupWindow.h"

#include <QApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <vector>

#include "platform/gui/Forms.h"
#include "platform/gui/QtPeer.h"

void MakePopupWindow(TControl* control, const TPopupStyle& style) {
  if (control == nullptr || control->Parent() != nullptr) return;
  QWidget* widget = control->Widget();
  if (widget == nullptr) return;
  Qt::WindowFlags flags = Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus;
  if (style.TopMost) flags |= Qt::WindowStaysOnTopHint;
  widget->setParent(nullptr, flags);
  widget->setAttribute(Qt::WA_ShowWithoutActivating, true);
  widget->setAttribute(Qt::WA_TransparentForMouseEvents, style.TransparentToMouse);
  widget->setFocusPolicy(Qt::NoFocus);
  widget->setGeometry(control->Left(), control->Top(), control->Width(), control->Height());
  widget->hide();
  control->ApplyFont();  // it has no parent to take its font from
}

void ShowPopupWindow(TControl* control, bool show) {
  if (control == nullptr) return;
  QWidget* widget = control->Widget();
  if (widget == nullptr || !widget->isWindow()) return;
  widget->setVisible(show);
}

bool PopupWindowShowing(const TControl* control) {
  return control != nullptr && control->Widget() != nullptr && control->Widget()->isWindow() &&
         control->Widget()->isVisible();
}

// ---------------------------------------------------------------------------------------------

namespace {

// One running pop-up loop: watches every event of the application before it is delivered.
class PopupLoop : public QObject {
 public:
  PopupLoop(TControl* popup, std::function<void(uint16_t, TShiftState)> onKey)
      : popup_(popup), onKey_(std::move(onKey)) {
    QWidget* active = QApplication::activeWindow();
    owner_ = active;
  }

  TPopupLoopEnd Run() {
    qApp->installEventFilter(this);
    QTimer watch;
    // A terminating application ends the loop even when nothing else happens.
    QObject::connect(&watch, &QTimer::timeout, &loop_, [this] {
      if (Application && Application->Terminated()) Finish(TPopupLoopEnd::Terminated);
    });
    watch.start(50);
    if (Application && Application->Terminated())
      end_ = TPopupLoopEnd::Terminated;
    else
      loop_.exec();
    qApp->removeEventFilter(this);
    return end_;
  }

  void Finish(TPopupLoopEnd end) {
    if (finished_) return;
    finished_ = true;
    end_ = end;
    loop_.quit();
  }
  TControl* Popup() const { return popup_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (finished_) return false;
    switch (event->type()) {
      case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        const uint16_t vk = zgui::VirtualKeyFromQt(key->key());
        if (vk != 0 && onKey_) {
          const TShiftState shift = zgui::ShiftFromQt(key->modifiers(), Qt::NoButton);
          zgui::RunHandler(popup_, [&] { onKey_(vk, shift); });
        }
        return true;
      }
      case QEvent::KeyRelease:
      case QEvent::ShortcutOverride:
        return true;
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonDblClick:
      case QEvent::NonClientAreaMouseButtonPress:
      case QEvent::NonClientAreaMouseButtonDblClick: {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget == nullptr || !widget->isWidgetType()) return false;
        QWidget* mine = popup_->Widget();
        if (mine && (widget == mine || mine->isAncestorOf(widget))) return false;
        Finish(TPopupLoopEnd::OutsidePress);
        return true;
      }
      case QEvent::ApplicationDeactivate:
        Finish(TPopupLoopEnd::Deactivated);
        return false;
      case QEvent::WindowDeactivate:
        if (owner_ && watched == owner_) Finish(TPopupLoopEnd::Deactivated);
        return false;
      default:
        return false;
    }
  }

 private:
  TControl* popup_;
  std::function<void(uint16_t, TShiftState)> onKey_;
  QPointer<QWidget> owner_;
  QEventLoop loop_;
  TPopupLoopEnd end_ = TPopupLoopEnd::Ended;
  bool finished_ = false;
};

std::vector<PopupLoop*>& Loops() {
  static std::vector<PopupLoop*> loops;
  return loops;
}

}  // namespace

TPopupLoopEnd RunPopupLoop(TControl* popup,
                           const std::function<void(uint16_t, TShiftState)>& onKey) {
  if (popup == nullptr) return TPopupLoopEnd::Ended;
  PopupLoop loop(popup, onKey);
  Loops().push_back(&loop);
  struct Leave {
    PopupLoop* loop;
    ~Leave() { std::erase(Loops(), loop); }
  } leave{&loop};
  return loop.Run();
}

void EndPopupLoop(TControl* popup) {
  for (PopupLoop* loop : Loops())
    if (loop->Popup() == popup) loop->Finish(TPopupLoopEnd::Ended);
}

bool PopupLoopRunning(const TControl* popup) {
  for (PopupLoop* loop : Loops())
    if (loop->Popup() == popup) return true;
  return false;
}
