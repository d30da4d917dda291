// Acting as the user through the real widgets, and screenshots.
#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPixmap>
#include <QTest>
#include <QToolButton>
#include <QWidget>

#include "tests/support/GuiTest.h"

namespace {

QWidget* Peer(TControl* control) {
  if (!control || !control->Widget()) {
    ADD_FAILURE() << "no control to act on";
    return nullptr;
  }
  return control->Widget();
}

// The widget that takes typing for a control (the edit part of a combo box).
QWidget* TypingTarget(TWinControl* control) {
  QWidget* w = Peer(control);
  if (!w) return nullptr;
  if (auto* combo = qobject_cast<QComboBox*>(w); combo && combo->lineEdit()) return combo->lineEdit();
  return w;
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
  const QString q = ToQt(text);
  for (QChar ch : q) {
    if (ch.unicode() < 0x80) {
      QTest::keyClick(target, ch.toLatin1());
    } else {
      // Characters beyond ASCII arrive as text, the way an input method delivers them.
      QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
      QApplication::sendEvent(target, &press);
    }
  }
}

void UserKey(TWinControl* control, uint16_t key, TShiftState shift) {
  QWidget* target = TypingTarget(control);
  if (!target) return;
  Qt::KeyboardModifiers mods;
  if (shift & ssShift) mods |= Qt::ShiftModifier;
  if (shift & ssCtrl) mods |= Qt::ControlModifier;
  if (shift & ssAlt) mods |= Qt::AltModifier;
  Qt::Key qtKey = Qt::Key_unknown;
  if (key >= '0' && key <= '9') qtKey = static_cast<Qt::Key>(Qt::Key_0 + (key - '0'));
  else if (key >= 'A' && key <= 'Z') qtKey = static_cast<Qt::Key>(Qt::Key_A + (key - 'A'));
  else {
    switch (key) {
      case VK_RETURN: qtKey = Qt::Key_Return; break;
      case VK_ESCAPE: qtKey = Qt::Key_Escape; break;
      case VK_TAB: qtKey = Qt::Key_Tab; break;
      case VK_BACK: qtKey = Qt::Key_Backspace; break;
      case VK_DELETE: qtKey = Qt::Key_Delete; break;
      case VK_LEFT: qtKey = Qt::Key_Left; break;
      case VK_RIGHT: qtKey = Qt::Key_Right; break;
      case VK_UP: qtKey = Qt::Key_Up; break;
      case VK_DOWN: qtKey = Qt::Key_Down; break;
      case VK_HOME: qtKey = Qt::Key_Home; break;
      case VK_END: qtKey = Qt::Key_End; break;
      case VK_SPACE: qtKey = Qt::Key_Space; break;
      default:
        if (key >= VK_F1 && key <= VK_F12) qtKey = static_cast<Qt::Key>(Qt::Key_F1 + (key - VK_F1));
        break;
    }
  }
  control->Widget()->setFocus(Qt::OtherFocusReason);
  QTest::keyClick(target, qtKey, mods);
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
  if (QWidget* w = Peer(form)) w->close();
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

std::string SaveScreenshot(TControl* control, const std::string& name) {
  QWidget* w = Peer(control);
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
