#include "platform/gui/PopupWindow.h"

#include <QWidget>

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
