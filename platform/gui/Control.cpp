// TControl: geometry, common properties, input events and the action link.
#include <QComboBox>
#include <QLineEdit>
#include <algorithm>

#include "platform/gui/ActnList.h"
#include "platform/gui/Menus.h"
#include "platform/gui/QtPeer.h"

using namespace zgui;

namespace {
// Runs `notice` for each child control of a windowed control; other controls have none.
template <class F>
void TellChildren(TControl* control, F notice) {
  if (auto* win = dynamic_cast<TWinControl*>(control)) {
    for (int i = 0; i < win->ControlCount(); ++i) notice(win->Controls(i));
  }
}
}  // namespace

TControl::TControl(TComponent* AOwner) : TComponent(AOwner), font_(std::make_unique<TFont>()) {
  WatchFont();
}

void TControl::WatchFont() {
  // A change made to the control's own font makes the font its own.
  font_->OnChange = [this] {
    parentFont_ = false;
    ApplyFont();
  };
}

void TControl::CopyParentFont() {
  font_->OnChange = nullptr;
  font_->Assign(*parent_->Font());
  WatchFont();
}

TControl::~TControl() {
  Destroying();
  DragControlGone(this);
  if (parent_) parent_->RemoveControl(this);
  parent_ = nullptr;
  actionLink_.reset();
  font_->OnChange = nullptr;
  if (widget_) {
    if (PeerBase* peer = PeerOf(widget_)) peer->DetachControl();
    QWidget* w = widget_;
    widget_ = nullptr;
    delete w;
  }
}

bool IsAccel(char key, const std::string& caption) {
  const auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; };
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] == '&') {
      ++i;  // a literal '&'
      continue;
    }
    return key != 0 && upper(caption[i + 1]) == upper(key);
  }
  return false;
}

void TControl::SetClickOnRelease(bool value) {
  if (zgui::PeerBase* peer = zgui::PeerOf(widget_)) peer->GenericClick = value;
}

void TControl::AttachWidget(QWidget* widget) {
  widget_ = widget;
  widget_->setAttribute(Qt::WA_DeleteOnClose, false);
  widget_->hide();
  width_ = std::max(width_, 0);
  height_ = std::max(height_, 0);
  widget_->setGeometry(left_, top_, width_, height_);
  // A control is placed in its parent after it is made: one that takes its parent's font gets
  // it then. Forms and pop-up windows, which have no parent, apply theirs themselves.
  if (!parentFont_) ApplyFont();
  if (auto* win = dynamic_cast<TWinControl*>(this)) win->ApplyTabStop();
}

void TControl::SetParent(TWinControl* parent) {
  if (parent == parent_) return;
  auto* self = dynamic_cast<TWinControl*>(this);
  if (parent == this || (parent && self && self->ContainsControl(parent)))
    throw EInvalidOperation("A control cannot have itself as its parent");
  if (parent_) {
    TWinControl* old = parent_;
    old->RemoveControl(this);
    parent_ = nullptr;
    if (widget_) widget_->setParent(nullptr);
    if (align_ != alNone) old->Realign();
    if (!old->IsDestroying()) old->ControlListChange(this, false);
  }
  if (!parent) return;
  parent_ = parent;
  parent->InsertControl(this);
  if (parentFont_) CopyParentFont();
  if (parentColor_) color_ = parent->Color();
  UpdatePeer();
  ParentBiDiModeChanged();
  if (align_ != alNone) parent->Realign();
  parent->ControlListChange(this, true);
}

TForm* TControl::ParentForm() const {
  const TControl* c = this;
  while (c->parent_) c = c->parent_;
  return dynamic_cast<TForm*>(const_cast<TControl*>(c));
}

void TControl::UpdatePeer() {
  if (!widget_) return;
  if (parent_ && widget_->parentWidget() != parent_->ClientWidget())
    widget_->setParent(parent_->ClientWidget());
  widget_->setGeometry(left_, top_, std::max(width_, 0), std::max(height_, 0));
  widget_->setEnabled(enabled_);
  ApplyFont();
  ColorChanged();
  TextChanged();
  if (parent_) widget_->setVisible(visible_);
}

void TControl::SetBounds(int left, int top, int width, int height) {
  SetBoundsQuiet(left, top, width, height);
  if (parent_ && align_ != alNone && !parent_->aligning_) parent_->Realign();
}

void TControl::SetBoundsQuiet(int left, int top, int width, int height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (left == left_ && top == top_ && width == width_ && height == height_) return;
  const bool resized = width != width_ || height != height_;
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  if (widget_) widget_->setGeometry(left_, top_, width_, height_);
  if (!resized) return;
  // A container the alignment engine resized lays out its own children anew, as one resized
  // by SetBounds does.
  if (auto* container = dynamic_cast<TWinControl*>(this)) container->Realign();
  Resize();
}

void TControl::Resize() {
  if (OnResize && !IsDestroying()) OnResize(this);
}

void TControl::PlaceAt(int left, int top) {
  movingOnly_ = true;
  try {
    SetBounds(left, top, width_, height_);
  } catch (...) {
    movingOnly_ = false;
    throw;
  }
  movingOnly_ = false;
}

TRect TControl::BoundsRect() const { return Bounds(left_, top_, Width(), Height()); }
void TControl::SetBoundsRect(const TRect& r) { SetBounds(r.Left, r.Top, r.Width(), r.Height()); }
TRect TControl::GetClientRect() const { return Rect(0, 0, Width(), Height()); }
int TControl::ClientWidth() const { return GetClientRect().Width(); }
int TControl::ClientHeight() const { return GetClientRect().Height(); }
void TControl::SetClientSize(int width, int height) {
  const TRect r = GetClientRect();
  SetBounds(left_, top_, width_ + width - r.Width(), height_ + height - r.Height());
}

TPoint TControl::ClientToScreen(const TPoint& p) const {
  QWidget* w = ClientWidget();
  if (!w) return p;
  const QPoint g = w->mapToGlobal(QPoint(p.X, p.Y));
  return Point(g.x(), g.y());
}

TPoint TControl::ScreenToClient(const TPoint& p) const {
  QWidget* w = ClientWidget();
  if (!w) return p;
  const QPoint l = w->mapFromGlobal(QPoint(p.X, p.Y));
  return Point(l.x(), l.y());
}

void TControl::SetAlign(TAlign value) {
  if (value == align_) return;
  const TAlign old = align_;
  align_ = value;
  if (parent_ && (old != alNone || value != alNone)) parent_->Realign();
}

void TControl::SetVisible(bool value) {
  if (value == visible_) return;
  visible_ = value;
  if (widget_ && parent_) widget_->setVisible(value);
  if (parent_ && align_ != alNone) parent_->Realign();
  if (parent_) parent_->ChildChanged(this, TWinControl::ccVisible);
}

bool TControl::Showing() const {
  for (const TControl* c = this; c; c = c->parent_)
    if (!c->visible_) return false;
  return widget_ && widget_->isVisible();
}

void TControl::SetEnabled(bool value) {
  if (value == enabled_) return;
  enabled_ = value;
  if (widget_) widget_->setEnabled(value);
}

void TControl::SetText(const std::string& value) {
  if (value == text_) return;
  text_ = value;
  TextChanged();
  if (parent_) parent_->ChildChanged(this, TWinControl::ccText);
}

void TControl::SetHint(const std::string& value) {
  hint_ = value;
  if (widget_) widget_->setToolTip(showHint_ ? ToQ(hint_) : QString());
}

void TControl::SetShowHint(bool value) {
  showHint_ = value;
  SetHint(hint_);
}

void TControl::SetColor(TColor value) {
  // A control that followed its parent (or had none to follow: a window) has shown no colour
  // of its own yet, so the colour goes to the widget even when the value is the same.
  const bool wasFollowing = parentColor_;
  parentColor_ = false;
  if (value == color_ && !wasFollowing) return;
  const bool changed = value != color_;
  color_ = value;
  ColorChanged();
  if (changed) TellChildren(this, [](TControl* child) { child->ParentColorChanged(); });
}

void TControl::SetParentColor(bool value) {
  if (value == parentColor_) return;
  parentColor_ = value;
  if (value)
    ParentColorChanged();
  else
    ColorChanged();  // the colour it took from its parent is its own from now on
}

void TControl::ParentColorChanged() {
  if (!parentColor_ || !parent_) return;
  color_ = parent_->Color();
  ColorChanged();
  TellChildren(this, [](TControl* child) { child->ParentColorChanged(); });
}

void TControl::ColorChanged() {
  if (!widget_) return;
  // A control that takes its parent's colour lets the parent show through.
  if (parentColor_ && parent_) {
    widget_->setAutoFillBackground(false);
    return;
  }
  QPalette pal = widget_->palette();
  pal.setColor(QPalette::Window, ToQColor(color_));
  // Text boxes and lists fill their content from the base colour, not the window's.
  if (qobject_cast<QAbstractScrollArea*>(widget_) || qobject_cast<QLineEdit*>(widget_) ||
      qobject_cast<QComboBox*>(widget_))
    pal.setColor(QPalette::Base, ToQColor(color_));
  widget_->setPalette(pal);
  widget_->setAutoFillBackground(true);
}

void TControl::SetBiDiMode(TBiDiMode value) {
  parentBiDiMode_ = false;
  TakeBiDiMode(value);
}

void TControl::SetParentBiDiMode(bool value) {
  parentBiDiMode_ = value;
  if (value) ParentBiDiModeChanged();
}

void TControl::ParentBiDiModeChanged() {
  if (parentBiDiMode_ && parent_) TakeBiDiMode(parent_->BiDiMode());
}

void TControl::TakeBiDiMode(TBiDiMode value) {
  if (value == bidiMode_) return;
  bidiMode_ = value;
  BiDiModeChanged();
  TellChildren(this, [](TControl* child) { child->ParentBiDiModeChanged(); });
}

void TControl::SetFont(const TFont& font) { font_->Assign(font); }

void TControl::FontChanged() {
  parentFont_ = false;
  ApplyFont();
}

void TControl::SetParentFont(bool value) {
  parentFont_ = value;
  if (value)
    ParentFontChanged();
  else
    ApplyFont();  // the font it took from its parent is its own from now on
}

void TControl::ParentFontChanged() {
  if (!parentFont_ || !parent_) return;
  CopyParentFont();
  ApplyFont();
}

void TControl::ApplyFont() {
  if (!widget_) return;
  // The toolkit hands a widget's font and palette down to child widgets that set none, and
  // setting them is dear: a control that follows its parent's font takes them from its parent's
  // widget and sets its own only where that differs. A control with a font of its own, or with
  // no parent, always sets it, so that no change of its parent's font reaches it.
  const bool follows = parentFont_ && parent_;
  const QFont font = ToQFont(*font_);
  if ((!follows && !widget_->testAttribute(Qt::WA_SetFont)) || widget_->font() != font)
    widget_->setFont(font);
  const QColor text = ToQColor(font_->Color());
  const QPalette& current = widget_->palette();
  // The widget's palette may hold its own background only (see ColorChanged): one with a
  // font of its own sets its text colours outright; the toolkit skips a palette unchanged.
  if (!follows || current.color(QPalette::WindowText) != text ||
      current.color(QPalette::Text) != text || current.color(QPalette::ButtonText) != text) {
    QPalette pal = current;
    pal.setColor(QPalette::WindowText, text);
    pal.setColor(QPalette::Text, text);
    pal.setColor(QPalette::ButtonText, text);
    widget_->setPalette(pal);
  }
  TellChildren(this, [](TControl* child) { child->ParentFontChanged(); });
}

void TControl::SetCursor(TCursor value) {
  cursor_ = value;
  if (!widget_) return;
  if (value == crDefault)
    widget_->unsetCursor();
  else
    widget_->setCursor(CursorFor(value));
}

void TControl::SetPopupMenu(TPopupMenu* menu) {
  if (popupMenu_ == menu) return;
  if (popupMenu_) popupMenu_->RemoveFreeNotification(this);
  popupMenu_ = menu;
  if (menu) menu->FreeNotification(this);
}

void TControl::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == TOperation::opRemove && component == popupMenu_) popupMenu_ = nullptr;
}

TBasicAction* TControl::Action() const { return actionLink_ ? actionLink_->Action() : nullptr; }

void TControl::SetAction(TBasicAction* action) {
  TActionLink::Assign(actionLink_, action, [this](TBasicAction* a) { ActionChange(a); });
}

void TControl::ActionChange(TBasicAction* sender) {
  auto* action = dynamic_cast<TAction*>(sender);
  if (!action || IsDestroying()) return;
  SetCaption(action->Caption());
  SetHint(action->Hint());
  SetEnabled(action->Enabled());
  SetVisible(action->Visible());
}

void TControl::Click() {
  // A handler of the control's own wins over its action.
  if (OnClick) {
    OnClick(this);
  } else if (actionLink_ && actionLink_->Action()) {
    actionLink_->Execute();
  }
}

void TControl::DblClick() {
  if (OnDblClick) OnDblClick(this);
}

void TControl::Invalidate() {
  if (widget_) widget_->update();
}
void TControl::InvalidateRect(const TRect& r) {
  if (widget_) widget_->update(r.Left, r.Top, r.Width(), r.Height());
}
void TControl::Repaint() {
  if (widget_) widget_->repaint();
}
void TControl::Update() {
  if (widget_) widget_->repaint();
}

void TControl::BringToFront() {
  if (widget_) widget_->raise();
  if (parent_) {
    auto& list = parent_->controls_;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    list.push_back(this);
  }
}

void TControl::SendToBack() {
  if (widget_) widget_->lower();
  if (parent_) {
    auto& list = parent_->controls_;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    list.insert(list.begin(), this);
  }
}

bool TControl::MouseCapture() const { return widget_ && QWidget::mouseGrabber() == widget_; }

void TControl::SetMouseCapture(bool value) {
  if (!widget_) return;
  if (value)
    widget_->grabMouse();
  else if (QWidget::mouseGrabber() == widget_)
    widget_->releaseMouse();
}

intptr_t TControl::Perform(unsigned msg, intptr_t wparam, intptr_t lparam) {
  TMessage m{msg, wparam, lparam, 0};
  WndProc(m);
  return m.Result;
}

void TControl::WndProc(TMessage& message) { (void)message; }

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  NotePointer(this, x, y);
  if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}
void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (zgui::DragSourceMouseUp(this, button, x, y)) return;
  if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
}
void TControl::MouseMove(TShiftState shift, int x, int y) {
  if (zgui::DragSourceMouseMove(this, shift, x, y)) return;
  if (OnMouseMove) OnMouseMove(this, shift, x, y);
}
void TControl::MouseEnter() {
  if (OnMouseEnter) OnMouseEnter(this);
}
void TControl::MouseLeave() {
  if (OnMouseLeave) OnMouseLeave(this);
}
bool TControl::DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos) {
  bool handled = false;
  if (OnMouseWheel) OnMouseWheel(this, shift, wheelDelta, mousePos, handled);
  return handled;
}
