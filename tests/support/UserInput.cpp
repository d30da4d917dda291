// Acting as the user through the real widgets, and screenshots.
#include <QtTest/qtestspontaneevent.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QBackingStore>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QToolTip>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <cmath>

#include "tests/support/GuiTest.h"

namespace {

QWidget* Peer(TControl* control) {
  if (!control || !control->Widget()) {
    ADD_FAILURE() << "no control to act on";
    return nullptr;
  }
  return control->Widget();
}

// The widget the keyboard sends a control's keys to: the control's own, also for an editable
// combo box, whose edit part hands the focus to the box.
QWidget* TypingTarget(TWinControl* control) { return Peer(control); }

// Where the caret of a control's text lives (the edit part of a combo box).
QLineEdit* LineOf(QWidget* target) {
  if (auto* combo = qobject_cast<QComboBox*>(target)) return combo->lineEdit();
  return qobject_cast<QLineEdit*>(target);
}

// Makes sure the control's window is on screen, as the user sees it.
void EnsureShown(TControl* control) {
  TForm* form = control->ParentForm();
  if (form && !form->Visible()) ADD_FAILURE() << "acting on a control of a hidden window";
  if (QWidget* w = control->Widget(); w && !w->isVisible())
    ADD_FAILURE() << "acting on a control that does not show: " << control->Name();
}

QAbstractButton* FindButton(TCategoryButtons* panel, const QString& text, bool header) {
  if (!panel || !panel->Widget()) return nullptr;
  const auto buttons = panel->Widget()->findChildren<QAbstractButton*>();
  for (QAbstractButton* b : buttons) {
    if (!b->isVisible()) continue;
    QString shown = b->text();
    const bool isHeader = shown.startsWith(QChar(0x25B6)) || shown.startsWith(QChar(0x25BC));
    if (isHeader != header) continue;
    if (isHeader) shown = shown.mid(2);
    if (shown == text) return b;
  }
  return nullptr;
}

QString ToQt(const std::string& gbk) { return QString::fromStdString(GbkToUtf8(gbk)); }

// Whether the toolkit keeps the window system's events from the window: a modal window other
// than it, or one it owns, is open.
bool BlockedByModal(QWindow* window) {
  QWindow* modal = QGuiApplication::modalWindow();
  if (!modal) return false;
  for (QWindow* w = window; w; w = w->transientParent())
    if (w == modal) return false;
  if (modal->modality() == Qt::ApplicationModal) return true;
  for (QWindow* w = modal->transientParent(); w; w = w->transientParent())
    if (w == window) return true;
  return false;
}

// What the window system sends when the user presses a window's close box: a spontaneous close
// event to the native window, which hands it on to its widget. A window under a modal one gets
// none, as the toolkit drops it.
void PressCloseBox(QWidget* widget) {
  QWindow* window = widget->window()->windowHandle();
  if (!window || !widget->window()->isVisible()) {
    ADD_FAILURE() << "no close box to press on a window that does not show";
    return;
  }
  if (BlockedByModal(window)) return;
  QCloseEvent event;
  QSpontaneKeyEvent::setSpontaneous(&event);
  QApplication::instance()->notify(window, &event);
}

}  // namespace

void UserClick(TControl* control) {
  if (QWidget* w = Peer(control)) {
    EnsureShown(control);
    QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, w->rect().center());
  }
}

void UserDoubleClick(TControl* control) {
  if (QWidget* w = Peer(control)) {
    EnsureShown(control);
    QWidget* target = w;
    if (auto* combo = qobject_cast<QComboBox*>(w); combo && combo->lineEdit())
      target = combo->lineEdit();
    QTest::mouseDClick(target, Qt::LeftButton, Qt::NoModifier, target->rect().center());
  }
}

void UserType(TWinControl* control, const std::string& text) {
  QWidget* target = TypingTarget(control);
  if (!target) return;
  EnsureShown(control);
  control->Widget()->setFocus(Qt::OtherFocusReason);
  // Typing replaces a selection; without one it goes to the end of the text, as after a
  // click behind it.
  if (QLineEdit* line = LineOf(target); line && !line->hasSelectedText()) line->end(false);
  if (auto* plain = qobject_cast<QPlainTextEdit*>(target);
      plain && !plain->textCursor().hasSelection())
    plain->moveCursor(QTextCursor::End);
  const QString q = ToQt(text);
  for (qsizetype i = 0; i < q.size(); ++i) {
    const QChar ch = q.at(i);
    if (ch.unicode() < 0x80) {
      QTest::keyClick(target, ch.toLatin1());
    } else {
      // Characters beyond ASCII arrive as text, the way an input method delivers them; one
      // beyond the BMP as its surrogate pair in one event.
      const qsizetype units = ch.isHighSurrogate() && i + 1 < q.size() ? 2 : 1;
      QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, q.mid(i, units));
      QApplication::sendEvent(target, &press);
      i += units - 1;
    }
  }
}

void UserKey(TWinControl* control, uint16_t key, TShiftState shift) {
  QWidget* target = TypingTarget(control);
  if (!target) return;
  EnsureShown(control);
  Qt::KeyboardModifiers mods;
  if (shift & ssShift) mods |= Qt::ShiftModifier;
  if (shift & ssCtrl) mods |= Qt::ControlModifier;
  if (shift & ssAlt) mods |= Qt::AltModifier;
  int qtKey = Qt::Key_unknown;
  QString text;
  if (key >= '0' && key <= '9') {
    qtKey = Qt::Key_0 + (key - '0');
    text = QChar(key);
  } else if (key >= 'A' && key <= 'Z') {
    qtKey = Qt::Key_A + (key - 'A');
    text = QChar((shift & ssShift) ? key : key + 32);
  } else {
    struct Pair {
      uint16_t vk;
      int qt;
      const char* text;
    };
    static const Pair pairs[] = {
        {VK_RETURN, Qt::Key_Return, "\r"}, {VK_ESCAPE, Qt::Key_Escape, "\x1b"},
        {VK_TAB, Qt::Key_Tab, "\t"},       {VK_BACK, Qt::Key_Backspace, "\b"},
        {VK_SPACE, Qt::Key_Space, " "},    {VK_DELETE, Qt::Key_Delete, ""},
        {VK_INSERT, Qt::Key_Insert, ""},   {VK_LEFT, Qt::Key_Left, ""},
        {VK_RIGHT, Qt::Key_Right, ""},     {VK_UP, Qt::Key_Up, ""},
        {VK_DOWN, Qt::Key_Down, ""},       {VK_HOME, Qt::Key_Home, ""},
        {VK_END, Qt::Key_End, ""},         {VK_PRIOR, Qt::Key_PageUp, ""},
        {VK_NEXT, Qt::Key_PageDown, ""},   {VK_CAPITAL, Qt::Key_CapsLock, ""},
        {VK_NUMLOCK, Qt::Key_NumLock, ""}, {VK_SCROLL, Qt::Key_ScrollLock, ""},
    };
    for (const Pair& p : pairs)
      if (p.vk == key) {
        qtKey = p.qt;
        text = QString::fromLatin1(p.text);
      }
    if (key >= VK_F1 && key <= VK_F12) qtKey = Qt::Key_F1 + (key - VK_F1);
  }
  if (qtKey == Qt::Key_unknown) {
    ADD_FAILURE() << "no key " << key << " to press";
    return;
  }
  if (mods & (Qt::ControlModifier | Qt::AltModifier)) text.clear();
  control->Widget()->setFocus(Qt::OtherFocusReason);
  // With the text given, so the test library need not guess one; shortcuts apply as usual.
  QTest::sendKeyEvent(QTest::Click, target, static_cast<Qt::Key>(qtKey), text, mods);
}

void UserKeypadEnter(TWinControl* control) {
  QWidget* target = TypingTarget(control);
  if (!target) return;
  EnsureShown(control);
  control->Widget()->setFocus(Qt::OtherFocusReason);
  QTest::sendKeyEvent(QTest::Click, target, Qt::Key_Enter, QStringLiteral("\r"),
                      Qt::KeypadModifier);
}

void UserPick(TComboBox* combo, int index) {
  auto* box = combo ? qobject_cast<QComboBox*>(combo->Widget()) : nullptr;
  if (!box) {
    ADD_FAILURE() << "no combo box to pick from";
    return;
  }
  EnsureShown(combo);
  if (index < 0 || index >= box->count()) {
    ADD_FAILURE() << "combo box " << combo->Name() << " has no item " << index;
    return;
  }
  // What a pick from the open list does: select, then report the activation.
  box->setCurrentIndex(index);
  emit box->activated(index);
}

bool UserClickPanelButton(TCategoryButtons* panel, const std::string& caption) {
  QAbstractButton* b = FindButton(panel, ToQt(caption), false);
  if (!b) {
    ADD_FAILURE() << "no button \"" << U8(caption) << "\" shows in the panel";
    return false;
  }
  QTest::mouseClick(b, Qt::LeftButton, Qt::NoModifier, b->rect().center());
  return true;
}

bool UserClickCategory(TCategoryButtons* panel, const std::string& caption) {
  QAbstractButton* b = FindButton(panel, ToQt(caption), true);
  if (!b) {
    ADD_FAILURE() << "no category \"" << U8(caption) << "\" shows in the panel";
    return false;
  }
  QTest::mouseClick(b, Qt::LeftButton, Qt::NoModifier, b->rect().center());
  return true;
}

void UserChoose(TMenuItem* item) {
  if (!item || !item->NativeAction()) {
    ADD_FAILURE() << "no menu item to choose";
    return;
  }
  if (!item->Enabled() || !item->Visible()) {
    ADD_FAILURE() << "menu item \"" << U8(item->Caption()) << "\" cannot be chosen";
    return;
  }
  item->NativeAction()->trigger();
}

void UserCloseWindow(TForm* form) {
  if (QWidget* w = Peer(form)) PressCloseBox(w);
}

bool FireTimer(TTimer* timer) {
  if (!timer || !timer->Running()) return false;
  if (Application)
    Application->Guard(timer, [timer] { timer->Timer(); });
  else
    timer->Timer();
  return true;
}

void ProcessEvents() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

bool WaitUntil(const std::function<bool()>& done, int timeoutMs) {
  QElapsedTimer clock;
  clock.start();
  while (!done()) {
    if (clock.elapsed() > timeoutMs) return false;
    QEventLoop pause;  // sleeps until an event comes or a short while passed
    QTimer::singleShot(10, &pause, &QEventLoop::quit);
    pause.exec();
  }
  return true;
}

std::unique_ptr<TBitmap> GrabControl(TControl* control) {
  auto bitmap = std::make_unique<TBitmap>();
  if (QWidget* w = Peer(control)) bitmap->SetImage(w->grab().toImage());
  return bitmap;
}

std::unique_ptr<TBitmap> GrabScreen(TForm* form) {
  auto bitmap = std::make_unique<TBitmap>();
  QWidget* w = Peer(form);
  if (!w) return bitmap;
  w->repaint();
  // The window's backing store is the picture the window system shows.
  QBackingStore* store = w->backingStore();
  QPaintDevice* device = store != nullptr ? store->paintDevice() : nullptr;
  if (device == nullptr || device->devType() != QInternal::Image) {
    ADD_FAILURE() << "the window has no picture in memory";
    return bitmap;
  }
  QImage image = *static_cast<QImage*>(device);
  image.setDevicePixelRatio(1.0);
  bitmap->SetImage(image);
  return bitmap;
}

namespace {

std::string SaveWidget(QWidget* w, const std::string& name) {
  if (!w) return std::string();
  const QString dir = QString::fromUtf8(ZELKAR_SCREENSHOT_DIR);
  QDir().mkpath(dir);
  const QString path = dir + "/" + QString::fromStdString(name) + ".png";
  if (!w->grab().save(path, "PNG")) {
    ADD_FAILURE() << "could not save " << path.toStdString();
    return std::string();
  }
  return path.toStdString();
}

}  // namespace

std::string SaveScreenshot(TControl* control, const std::string& name) {
  return SaveWidget(Peer(control), name);
}

std::string SaveScreenshotWithMenu(TControl* control, TPopupMenu* menu, TControl* below,
                                   const std::string& name, TRect* menuPlace) {
  QWidget* w = Peer(control);
  QWidget* anchor = Peer(below);
  QMenu* native = menu ? menu->Items()->NativeSubMenu() : nullptr;
  if (!w || !anchor || !native) return std::string();
  QImage picture = w->grab().toImage();
  native->ensurePolished();
  native->adjustSize();
  const QPixmap drawn = native->grab();
  // Where the menu drops from the anchor, inside the picture; the painter works in the
  // picture's logical pixels, as the widgets do.
  QPoint at =
      anchor->mapTo(w->window(), QPoint(0, anchor->height())) - w->mapTo(w->window(), QPoint(0, 0));
  const int logicalWidth = qRound(picture.deviceIndependentSize().width());
  at.setX(std::min(at.x(), std::max(0, logicalWidth - native->width())));
  {
    QPainter painter(&picture);
    painter.drawPixmap(at, drawn);
  }
  if (menuPlace) {
    const double ratio = picture.devicePixelRatio();
    const QSizeF size = drawn.deviceIndependentSize();
    // Every device pixel the menu touches, also one it covers only in part.
    *menuPlace = Rect(static_cast<int>(std::floor(at.x() * ratio)),
                      static_cast<int>(std::floor(at.y() * ratio)),
                      static_cast<int>(std::ceil((at.x() + size.width()) * ratio)),
                      static_cast<int>(std::ceil((at.y() + size.height()) * ratio)));
  }
  const QString dir = QString::fromUtf8(ZELKAR_SCREENSHOT_DIR);
  QDir().mkpath(dir);
  const QString path = dir + "/" + QString::fromStdString(name) + ".png";
  if (!picture.save(path, "PNG")) {
    ADD_FAILURE() << "could not save " << path.toStdString();
    return std::string();
  }
  return path.toStdString();
}

std::unique_ptr<TBitmap> LoadPicture(const std::string& path) {
  auto bitmap = std::make_unique<TBitmap>();
  QImage image;
  if (image.load(QString::fromStdString(path))) {
    image.setDevicePixelRatio(1.0);
    bitmap->SetImage(image);
  }
  return bitmap;
}

double ScreenPixelRatio() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen ? screen->devicePixelRatio() : 1.0;
}

void UserSwitchAway() { QApplication::setActiveWindow(nullptr); }

namespace {

// The platform's input method hands what it composes and commits to the focus object.
void SendToInputFocus(QInputMethodEvent& event) {
  QObject* focus = QGuiApplication::focusObject();
  if (!focus) {
    ADD_FAILURE() << "no focus for the input method to type into";
    return;
  }
  QApplication::sendEvent(focus, &event);
}

}  // namespace

void UserComposeText(const std::string& composing) {
  QInputMethodEvent event(ToQt(composing), {});
  SendToInputFocus(event);
}

void UserCommitText(const std::string& text) {
  QInputMethodEvent event;
  event.setCommitString(ToQt(text));
  SendToInputFocus(event);
}

void UserDropText(TControl* control, const std::string& text) {
  QWidget* w = Peer(control);
  if (!w) return;
  EnsureShown(control);
  QMimeData data;
  data.setText(ToQt(text));
  const QPoint at = w->rect().center();
  // As the toolkit hands a drag from another program to the widget under it: a drop only
  // where the drag was taken.
  QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(w, &enter);
  QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  if (enter.isAccepted()) QApplication::sendEvent(w, &move);
  if (!enter.isAccepted() || !move.isAccepted()) {
    QDragLeaveEvent leave;
    QApplication::sendEvent(w, &leave);
    return;
  }
  QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(w, &drop);
}

std::string UserRestMouseOn(TControl* control) {
  QWidget* w = Peer(control);
  if (!w) return std::string();
  EnsureShown(control);
  // What the toolkit sends the widget under a mouse that has rested there a moment.
  const QPoint at = w->rect().center();
  QHelpEvent rest(QEvent::ToolTip, at, w->mapToGlobal(at));
  QApplication::sendEvent(w, &rest);
  return QToolTip::isVisible() ? Utf8ToGbk(QToolTip::text().toStdString()) : std::string();
}

void UserMoveMouseOff(TControl* control) {
  if (QWidget* w = Peer(control)) {
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(w, &leave);
  }
}

bool HintShows() { return QToolTip::isVisible(); }

namespace {

QWidget* BusyWaitWindow() {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->objectName() == "BusyWaitWindow" && w->isVisible()) return w;
  return nullptr;
}

QWidget* ShownBusyWaitWindow() {
  QWidget* w = BusyWaitWindow();
  if (!w) ADD_FAILURE() << "no wait window shows";
  return w;
}

}  // namespace

bool BusyWaitWindowShows() { return BusyWaitWindow() != nullptr; }

std::string BusyWaitWindowText() {
  QWidget* w = ShownBusyWaitWindow();
  if (!w) return std::string();
  QString text;
  for (QLabel* label : w->findChildren<QLabel*>()) text += label->text();
  return Utf8ToGbk(text.toStdString());
}

void UserCloseBusyWaitWindow() {
  if (QWidget* w = ShownBusyWaitWindow()) PressCloseBox(w);
}

void UserEscBusyWaitWindow() {
  if (QWidget* w = ShownBusyWaitWindow())
    QTest::sendKeyEvent(QTest::Click, w->focusWidget() ? w->focusWidget() : w, Qt::Key_Escape,
                        QStringLiteral("\x1b"), Qt::NoModifier);
}

void UserClickBusyWaitCancel() {
  QWidget* w = ShownBusyWaitWindow();
  QAbstractButton* button = w ? w->findChild<QAbstractButton*>("BusyWaitCancel") : nullptr;
  if (!button) {
    ADD_FAILURE() << "the wait window has no button to cancel";
    return;
  }
  QTest::mouseClick(button, Qt::LeftButton);
}

std::string SaveBusyWaitWindowScreenshot(const std::string& name) {
  return SaveWidget(ShownBusyWaitWindow(), name);
}
