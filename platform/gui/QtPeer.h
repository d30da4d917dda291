// Inside platform/gui only: the native peers of the controls and the conversions at the
// toolkit boundary. A peer forwards the toolkit's input events to its control; every forward
// runs inside the application's exception handler, so no C++ exception reaches the toolkit,
// and none reaches a control that is being freed.
#pragma once

#include <QAbstractScrollArea>
#include <QApplication>
#include <QColor>
#include <QContextMenuEvent>
#include <QCursor>
#include <QFocusEvent>
#include <QFont>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <QString>
#include <QWheelEvent>
#include <QWidget>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <type_traits>
#include <utility>

#include "platform/gui/Controls.h"
#include "platform/gui/Forms.h"

namespace zgui {

QString ToQ(const std::string& gbk);
std::string FromQ(const QString& text);
// A caption for a toolkit widget that shows '&' accelerators (buttons, menu items, a label
// with a control to focus). The toolkit underlines one UTF-16 unit after the mark, which would
// split a character outside the BMP (an emoji, four bytes in GB18030) in two: such a character
// shows whole and is no accelerator.
QString ToQCaption(const std::string& gbk);
// Caption for labels that show no accelerator: single '&' dropped, "&&" becomes '&'.
std::string StripAccelerator(const std::string& caption);
QColor ToQColor(TColor color);
// The toolkit cursor of a cursor number: the registered ones, then the standard shapes.
QCursor CursorFor(int id);
// The bitmap with its transparent colour (see TBitmap::TransparentColor) fully transparent,
// for icons and glyphs.
QImage KeyedImage(const TBitmap& bitmap);
QFont ToQFont(const TFont& font);
TShiftState ShiftFromQt(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons);
TMouseButton ButtonFromQt(Qt::MouseButton button);
// Virtual-key code of a toolkit key (0 when it has none).
uint16_t VirtualKeyFromQt(int key);
int QtKeyFromVirtualKey(uint16_t key);

// How a window is brought to the front and made active. The window system's own way unless
// one is installed: a platform without a window manager (the tests' offscreen one) installs
// its own.
using WindowRaiser = std::function<void(QWidget*)>;
void SetWindowRaiser(WindowRaiser raiser);

// What a call raised where no caller can take it (a worker thread, a handler without an
// application): the application's default handler shows it on the GUI thread; before or after
// the application it goes to standard error.
void ReportUncaught(const std::exception_ptr& error);

// The GUI thread's call queue (Threads.cpp) lives as long as the application object takes
// calls: opened when it is made, on the thread that becomes the GUI thread; closed first thing
// when it goes, which drops what waits in it and lets the workers waiting for it go on.
void OpenGuiCalls();
void CloseGuiCalls();
// Posts `call` to run on the GUI thread; false (the call dropped) when no application takes
// calls. Safe from any thread, also while the application object goes.
bool PostGuiCall(std::function<void()> call);
// Tells workers that the application was told to terminate (or no longer is): ApplicationEnding.
void SetApplicationTerminated(bool terminated);

// Runs `action` as an event handler of `sender` (the application's handler catches).
void RunHandler(TComponent* sender, const std::function<void()>& action) noexcept;
// Whether events may reach the control: it exists and is not being freed.
inline bool Live(const TControl* control) { return control && !control->IsDestroying(); }

// The control behind a peer, shared with the peer's signal handlers: cleared when the control
// lets the peer go, so a handler never touches a peer that is being torn down.
using ControlLink = std::shared_ptr<TControl*>;
inline TControl* Linked(const ControlLink& link) { return link && Live(*link) ? *link : nullptr; }

// Base of every peer: the back pointer, cleared when the control lets the peer go.
class PeerBase {
 public:
  explicit PeerBase(TControl* control) : link_(std::make_shared<TControl*>(control)) {}
  virtual ~PeerBase() = default;
  TControl* Control() const { return Linked(link_); }
  void DetachControl() { *link_ = nullptr; }
  const ControlLink& Link() const { return link_; }
  // Plain controls (labels, panels, images...) make a click from press and release;
  // native buttons report their own clicks.
  bool GenericClick = true;
  // The form frame forwards no mouse or key input of its own.
  bool ForwardInput = true;

 protected:
  ControlLink link_;
  bool pressed_ = false;
};

PeerBase* PeerOf(QWidget* widget);

// Key handling shared by all peers: OnKeyDown/OnKeyPress (with the form's KeyPreview), then
// the widget; returns true when the control consumed the event. `passOn` runs the widget's
// own handling with a possibly replaced event.
bool ForwardKeyPress(TControl* control, QKeyEvent* event,
                     const std::function<void(QKeyEvent*)>& passOn);
bool ForwardKeyRelease(TControl* control, QKeyEvent* event);
// Offers an unconsumed key as a dialog key (and Alt+character as an accelerator).
bool OfferDialogKey(TWinControl* focused, uint16_t key, TShiftState shift);
void ForwardFocus(TControl* control, bool in, Qt::FocusReason reason);
// Tells every control under `parent` (all levels) that `focused` has the focus now.
void BroadcastFocusChanged(TWinControl* parent, TWinControl* focused);

template <class W>
class Peer : public W, public PeerBase {
 public:
  template <class... A>
  explicit Peer(TControl* control, A&&... args) : W(std::forward<A>(args)...), PeerBase(control) {
    this->setMouseTracking(true);
  }

 protected:
  void mousePressEvent(QMouseEvent* e) override {
    if (TControl* c = Input()) {
      pressed_ = e->button() == Qt::LeftButton;
      const auto pos = e->position().toPoint();
      RunHandler(c, [&] {
        c->MouseDown(ButtonFromQt(e->button()), ShiftFromQt(e->modifiers(), e->buttons()), pos.x(),
                     pos.y());
      });
    }
    if (Control()) W::mousePressEvent(e);
  }
  void mouseReleaseEvent(QMouseEvent* e) override {
    if (Control()) W::mouseReleaseEvent(e);
    if (TControl* c = Input()) {
      const auto pos = e->position().toPoint();
      const bool click =
          GenericClick && pressed_ && e->button() == Qt::LeftButton && this->rect().contains(pos);
      pressed_ = false;
      if (click) RunHandler(c, [&] { c->Click(); });
      if (TControl* still = Input()) {
        RunHandler(still, [&] {
          still->MouseUp(ButtonFromQt(e->button()), ShiftFromQt(e->modifiers(), e->buttons()),
                         pos.x(), pos.y());
        });
      }
    }
  }
  void mouseDoubleClickEvent(QMouseEvent* e) override {
    if (TControl* c = Input()) {
      const auto pos = e->position().toPoint();
      if (e->button() == Qt::LeftButton) RunHandler(c, [&] { c->DblClick(); });
      if (TControl* still = Input()) {
        RunHandler(still, [&] {
          still->MouseDown(ButtonFromQt(e->button()),
                           ShiftFromQt(e->modifiers(), e->buttons()) | ssDouble, pos.x(), pos.y());
        });
      }
    }
    if (Control()) W::mouseDoubleClickEvent(e);
  }
  void mouseMoveEvent(QMouseEvent* e) override {
    if (TControl* c = Input()) {
      const auto pos = e->position().toPoint();
      RunHandler(
          c, [&] { c->MouseMove(ShiftFromQt(e->modifiers(), e->buttons()), pos.x(), pos.y()); });
    }
    if (Control()) W::mouseMoveEvent(e);
  }
  void enterEvent(QEnterEvent* e) override {
    if (TControl* c = Input()) RunHandler(c, [&] { c->MouseEnter(); });
    if (Control()) W::enterEvent(e);
  }
  void leaveEvent(QEvent* e) override {
    if (TControl* c = Input()) RunHandler(c, [&] { c->MouseLeave(); });
    if (Control()) W::leaveEvent(e);
  }
  void wheelEvent(QWheelEvent* e) override {
    bool handled = false;
    if (TControl* c = Input()) {
      const auto pos = e->position().toPoint();
      RunHandler(c, [&] {
        handled = c->DoMouseWheel(ShiftFromQt(e->modifiers(), e->buttons()), e->angleDelta().y(),
                                  Point(pos.x(), pos.y()));
      });
    }
    if (handled)
      e->accept();
    else if (Control())
      W::wheelEvent(e);
  }
  void keyPressEvent(QKeyEvent* e) override {
    // A key a focused child left unhandled travels up; only the focused control's own keys
    // are its events.
    TControl* c = OwnsKeys() ? Input() : nullptr;
    if (!c) {
      if (Control()) W::keyPressEvent(e);
      return;
    }
    ForwardKeyPress(c, e, [this](QKeyEvent* ev) { W::keyPressEvent(ev); });
  }
  void keyReleaseEvent(QKeyEvent* e) override {
    TControl* c = OwnsKeys() ? Input() : nullptr;
    if (c && ForwardKeyRelease(c, e)) return;
    if (Control()) W::keyReleaseEvent(e);
  }
  void focusInEvent(QFocusEvent* e) override {
    if (Control()) W::focusInEvent(e);
    if (TControl* c = Input()) ForwardFocus(c, true, e->reason());
  }
  void focusOutEvent(QFocusEvent* e) override {
    if (Control()) W::focusOutEvent(e);
    if (TControl* c = Input()) ForwardFocus(c, false, e->reason());
  }
  void contextMenuEvent(QContextMenuEvent* e) override;
  void paintEvent(QPaintEvent* e) override {
    // Scroll areas paint their viewport, which a painter on the area itself cannot reach.
    if constexpr (std::is_base_of_v<QAbstractScrollArea, W>) {
      W::paintEvent(e);
      return;
    }
    bool painted = false;
    if (TControl* c = Control()) {
      QPainter painter(this);
      RunHandler(c, [&] { painted = c->PaintPeer(&painter); });
    }
    if (painted) return;
    W::paintEvent(e);
    if (TControl* c = Control(); c && c->PaintsOverPeer()) {
      QPainter over(this);
      RunHandler(c, [&] { c->PaintOverPeer(&over); });
    }
  }

  void showEvent(QShowEvent* e) override {
    W::showEvent(e);
    if (TControl* c = Control()) RunHandler(c, [c] { c->ShowingChanged(); });
  }
  void hideEvent(QHideEvent* e) override {
    W::hideEvent(e);
    if (TControl* c = Control()) RunHandler(c, [c] { c->ShowingChanged(); });
  }

  TControl* Input() const { return ForwardInput ? Control() : nullptr; }
  bool OwnsKeys() const { return this->window()->focusWidget() == this; }
};

// The drag of controls (Drag.cpp): the source's own mouse moves and release drive it; both
// return true when they were part of a running drag. A control being freed leaves it.
void NotePointer(TControl* control, int x, int y);
bool DragSourceMouseMove(TControl* control, TShiftState shift, int x, int y);
bool DragSourceMouseUp(TControl* control, TMouseButton button, int x, int y);
void DragControlGone(TControl* control);

// Opens the control's pop-up menu at a screen position; false when it has none.
bool OpenPopupMenu(TControl* control, QPoint globalPos);

template <class W>
void Peer<W>::contextMenuEvent(QContextMenuEvent* e) {
  if (TControl* c = Input()) {
    if (OpenPopupMenu(c, e->globalPos())) {
      e->accept();
      return;
    }
  }
  if (Control()) W::contextMenuEvent(e);
}

// Passes a signal of the peer, with its arguments, to a method of its control (of type T),
// run as an event handler and only while the control lives.
template <class T, class W, class Signal, class... Args>
void RelayToControl(Peer<W>* peer, Signal signal, void (T::*method)(Args...)) {
  QObject::connect(peer, signal, peer, [link = peer->Link(), method](Args... args) {
    if (auto* control = static_cast<T*>(Linked(link)))
      RunHandler(control, [&] { (control->*method)(args...); });
  });
}

}  // namespace zgui
