// TWinControl: children, focus, tab order and the alignment engine.
#include <algorithm>

#include "platform/GbkText.h"
#include "platform/gui/Forms.h"
#include "platform/gui/QtPeer.h"

using namespace zgui;

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner) {}

TWinControl::~TWinControl() {
  Destroying();
  // Children go first, each taking its peer with it, so no peer is freed behind a control.
  while (!controls_.empty()) {
    TControl* child = controls_.back();
    RemoveControl(child);
    child->parent_ = nullptr;
    delete child;
  }
}

TControl* TWinControl::Controls(int index) const {
  if (index < 0 || index >= ControlCount())
    throw EListError("List index out of bounds (" + std::to_string(index) + ")");
  return controls_[static_cast<size_t>(index)];
}

TControl* TWinControl::FindChildControl(const std::string& name) const {
  for (TControl* c : controls_)
    if (!name.empty() && SameText(c->Name(), name)) return c;
  return nullptr;
}

bool TWinControl::ContainsControl(const TControl* control) const {
  for (const TControl* c = control; c; c = c->Parent())
    if (c == this) return true;
  return false;
}

void TWinControl::InsertControl(TControl* control) {
  controls_.push_back(control);
  if (auto* win = dynamic_cast<TWinControl*>(control)) tabOrder_.push_back(win);
}

void TWinControl::RemoveControl(TControl* control) {
  controls_.erase(std::remove(controls_.begin(), controls_.end(), control), controls_.end());
  tabOrder_.erase(std::remove(tabOrder_.begin(), tabOrder_.end(), control), tabOrder_.end());
  if (TForm* form = ParentForm()) {
    if (auto* win = dynamic_cast<TWinControl*>(control)) {
      if (form->ActiveControl() && win->ContainsControl(form->ActiveControl()))
        form->SetActiveControl(nullptr);
      if (form->FocusedControl() && win->ContainsControl(form->FocusedControl()))
        form->SetFocusedControl(nullptr);
    }
  }
}

// --- focus ---------------------------------------------------------------------------------

bool TWinControl::Focused() const { return Widget() && Widget()->hasFocus(); }

bool TWinControl::CanFocus() const {
  for (const TControl* c = this; c; c = c->Parent())
    if (!c->Visible() || !c->Enabled()) return false;
  return ParentForm() != nullptr;
}

void TWinControl::SetFocus() {
  if (!CanFocus()) throw EInvalidOperation("Cannot focus a disabled or invisible window");
  TForm* form = ParentForm();
  if (form && form != this) form->SetActiveControl(this);
  if (Widget() && Widget()->isVisible()) Widget()->setFocus(Qt::OtherFocusReason);
}

void TWinControl::SetTabStop(bool value) {
  tabStop_ = value;
  ApplyTabStop();
}

// The toolkit's Tab goes to widgets with tab focus: exactly the tab stops. A widget that takes
// the focus on a click keeps doing so; a self-painted one gains tab focus only.
void TWinControl::ApplyTabStop() {
  QWidget* w = Widget();
  if (!w) return;
  const Qt::FocusPolicy policy = w->focusPolicy();
  const int wanted = tabStop_ ? (policy | Qt::TabFocus) : (policy & ~Qt::TabFocus);
  if (wanted != policy) w->setFocusPolicy(static_cast<Qt::FocusPolicy>(wanted));
}

int TWinControl::TabOrder() const {
  if (!Parent()) return -1;
  const auto& list = Parent()->tabOrder_;
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TWinControl::SetTabOrder(int value) {
  if (!Parent()) return;
  auto& list = Parent()->tabOrder_;
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
  value = std::clamp(value, 0, static_cast<int>(list.size()));
  list.insert(list.begin() + value, this);
  // The toolkit's focus chain follows the order.
  for (size_t i = 1; i < list.size(); ++i)
    if (list[i - 1]->Widget() && list[i]->Widget())
      QWidget::setTabOrder(list[i - 1]->Widget(), list[i]->Widget());
}

std::vector<TWinControl*> TWinControl::TabList() const {
  std::vector<TWinControl*> out;
  for (TWinControl* c : tabOrder_) {
    if (c->TabStop()) out.push_back(c);
    const auto inner = c->TabList();
    out.insert(out.end(), inner.begin(), inner.end());
  }
  return out;
}

// --- alignment -----------------------------------------------------------------------------

void TWinControl::DisableAlign() { ++alignLevel_; }

void TWinControl::EnableAlign() {
  if (alignLevel_ > 0) --alignLevel_;
  if (alignLevel_ == 0 && alignPending_) Realign();
}

void TWinControl::Realign() {
  if (alignLevel_ > 0) {
    alignPending_ = true;
    return;
  }
  if (aligning_) return;
  alignPending_ = false;
  TRect rect = GetClientRect();
  AdjustClientRect(rect);
  aligning_ = true;
  try {
    AlignControls(nullptr, rect);
  } catch (...) {
    aligning_ = false;
    throw;
  }
  aligning_ = false;
}

void TWinControl::SetBorderWidth(int value) {
  value = std::max(value, 0);
  if (value == borderWidth_) return;
  borderWidth_ = value;
  Realign();
}

void TWinControl::AdjustClientRect(TRect& rect) const {
  InflateRect(rect, -borderWidth_, -borderWidth_);
}

void TWinControl::AlignControls(TControl* control, TRect& rect) {
  (void)control;
  const TAlign order[] = {alTop, alBottom, alLeft, alRight, alClient, alCustom};
  for (TAlign kind : order) {
    std::vector<TControl*> list;
    for (TControl* c : controls_)
      if (c->Align() == kind && c->Visible()) list.push_back(c);
    if (list.empty()) continue;
    // Controls of one kind are stacked in the order of their positions, as they were placed.
    std::stable_sort(list.begin(), list.end(), [kind](TControl* a, TControl* b) {
      switch (kind) {
        case alTop:
          return a->Top() < b->Top();
        case alBottom:
          return a->Top() + a->Height() > b->Top() + b->Height();
        case alLeft:
          return a->Left() < b->Left();
        case alRight:
          return a->Left() + a->Width() > b->Left() + b->Width();
        default:
          return false;
      }
    });
    for (TControl* c : list) {
      int l = c->Left(), t = c->Top(), w = c->Width(), h = c->Height();
      switch (kind) {
        case alTop:
          l = rect.Left, t = rect.Top, w = rect.Width();
          rect.Top += h;
          break;
        case alBottom:
          l = rect.Left, t = rect.Bottom - h, w = rect.Width();
          rect.Bottom -= h;
          break;
        case alLeft:
          l = rect.Left, t = rect.Top, h = rect.Height();
          rect.Left += w;
          break;
        case alRight:
          l = rect.Right - w, t = rect.Top, h = rect.Height();
          rect.Right -= w;
          break;
        case alClient:
          l = rect.Left, t = rect.Top, w = rect.Width(), h = rect.Height();
          break;
        default:
          CustomAlignPosition(c, l, t, w, h, rect);
          break;
      }
      c->SetBoundsQuiet(l, t, std::max(w, 0), std::max(h, 0));
    }
  }
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
  const bool resized = std::max(width, 0) != Width() || std::max(height, 0) != Height();
  TControl::SetBounds(left, top, width, height);
  if (resized) Realign();
}

// --- messages and input ---------------------------------------------------------------------

void TWinControl::Broadcast(TMessage& message) {
  const std::vector<TControl*> children = controls_;
  for (TControl* c : children) {
    c->WndProc(message);
    if (message.Result != 0) return;
  }
}

bool TWinControl::KeyDown(uint16_t& key, TShiftState shift) {
  if (OnKeyDown) OnKeyDown(this, key, shift);
  return key == 0;
}

bool TWinControl::KeyUp(uint16_t& key, TShiftState shift) {
  if (OnKeyUp) OnKeyUp(this, key, shift);
  return key == 0;
}

bool TWinControl::KeyPress(char& key) {
  if (OnKeyPress) OnKeyPress(this, key);
  return key == 0;
}

void TWinControl::DoEnter() {
  if (OnEnter) OnEnter(this);
}

void TWinControl::DoExit() {
  if (OnExit) OnExit(this);
}

void TWinControl::UpdatePeer() {
  TControl::UpdatePeer();
  UpdateChildPeers();
}

void TWinControl::UpdateChildPeers() {
  for (TControl* c : controls_) c->UpdatePeer();
}
