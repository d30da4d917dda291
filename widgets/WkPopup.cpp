// The popup panel: its children move into a pop-up window for the length of a local loop.
#include "widgets/WkPopup.h"

#include <vector>

#include "platform/gui/Forms.h"
#include "platform/gui/PopupWindow.h"

TWkCustomPopup::TWkCustomPopup(TComponent* AOwner) : TWkCustomPanel(AOwner) {
  SetBorderWidth(2);
  SetBorderOuter(fsPopup);
  SetFlatColorAdjustment(0);
  SetVisible(false);
}

void TWkCustomPopup::AdjustClientRect(TRect& rect) const {
  TWkCustomPanel::AdjustClientRect(rect);
  AdjustRectForBorders(rect, false);
}

TWkPopup::TWkPopup(TWkPopupPanel* panel, TControl* shownAt)
    : TWkCustomPopup(nullptr), panel_(panel), shownAt_(shownAt) {
  SetColor(panel->Color());
  SetFont(*panel->Font());
  SetHint(panel->Hint());
  SetShowHint(panel->ShowHint());
  SetBorderOuter(panel->BorderOuter());
  SetFlatColor(panel->FlatColor());
  SetBounds(0, 0, panel->Width(), panel->Height());
  MakePopupWindow(this, TPopupStyle{});
}

TWkPopupPanel::TWkPopupPanel(TComponent* AOwner) : TWkCustomPopup(AOwner) {
  SetAlignment(taRightJustify);
  SetColor(clBtnFace);
  SetParentColor(false);
  SetBounds(0, 0, 100, 100);
}

TWkPopupPanel::~TWkPopupPanel() {
  *alive_ = false;
  if (popup_) {
    // Whatever the pop-up holds goes back before the window goes.
    while (popup_->ControlCount() > 0) popup_->Controls(0)->SetParent(this);
    EndPopupLoop(popup_.get());
  }
}

TRect TWkPopupPanel::PlaceAt(const TRect& at, int x, int y) const {
  const int w = Width(), h = Height();
  int left, top;
  if (x != -1 && y != -1) {
    left = at.Left + x;
    top = at.Top + y;
  } else {
    top = at.Bottom;
    switch (Alignment()) {
      case taLeftJustify:
        left = at.Left;
        break;
      case taRightJustify:
        left = at.Right - w;
        break;
      default:
        left = (at.Left + at.Right - w) / 2;
        break;
    }
  }
  const TRect work = GetMonitorWorkArea(Point(left, top));
  if (left + w > work.Right) left = work.Right - w;
  if (top + h > work.Bottom) top = at.Top - h;
  if (left < work.Left) left = work.Left;
  if (top < work.Top) top = work.Top;
  return Rect(left, top, left + w, top + h);
}

void TWkPopupPanel::FitToChildren() {
  bool any = false;
  int left = 0, top = 0, right = 0, bottom = 0;
  for (int i = 0; i < ControlCount(); ++i) {
    const TControl* c = Controls(i);
    if (!c->Visible()) continue;
    left = any ? MinInt(left, c->Left()) : c->Left();
    top = any ? MinInt(top, c->Top()) : c->Top();
    right = any ? MaxInt(right, c->Left() + c->Width()) : c->Left() + c->Width();
    bottom = any ? MaxInt(bottom, c->Top() + c->Height()) : c->Top() + c->Height();
    any = true;
  }
  if (!any) return;
  TRect inner = Rect(0, 0, Width(), Height());
  AdjustClientRect(inner);
  // The children move inside the frame and band, keeping their places among themselves.
  const int dx = inner.Left - left, dy = inner.Top - top;
  for (int i = 0; i < ControlCount(); ++i) {
    TControl* c = Controls(i);
    if (c->Visible() && (dx != 0 || dy != 0))
      c->SetBounds(c->Left() + dx, c->Top() + dy, c->Width(), c->Height());
  }
  SetBounds(Left(), Top(), right - left + inner.Left + (Width() - inner.Right),
            bottom - top + inner.Top + (Height() - inner.Bottom));
}

bool TWkPopupPanel::Popup(TControl* control, int x, int y) {
  if (popup_ || control == nullptr) return false;
  control_ = control;
  TForm* form = control->ParentForm();
  TWinControl* wasActive = form != nullptr ? form->ActiveControl() : nullptr;
  if (OnPopup) OnPopup(this);

  if (AutoSize) FitToChildren();

  popup_ = std::make_unique<TWkPopup>(this, control);
  const TPoint origin = control->ClientToScreen(Point(0, 0));
  const TRect at =
      Rect(origin.X, origin.Y, origin.X + control->Width(), origin.Y + control->Height());
  std::vector<TControl*> children;
  for (int i = 0; i < ControlCount(); ++i) children.push_back(Controls(i));
  for (TControl* c : children) {
    c->SetParent(popup_.get());
    auto* w = dynamic_cast<TWinControl*>(c);
    if (w != nullptr && popup_->FocusedChild() == nullptr && w->Visible() && w->Enabled())
      popup_->SetFocusedChild(w);
  }
  popup_->SetBoundsRect(PlaceAt(at, x, y));
  popup_->SetVisible(true);
  ShowPopupWindow(popup_.get(), true);
  open_ = true;

  const std::shared_ptr<bool> alive = alive_;
  TWkPopup* window = popup_.get();
  RunPopupLoop(window, [window](uint16_t key, TShiftState shift) {
    if (key == VK_ESCAPE) {
      EndPopupLoop(window);
      return;
    }
    if (TWinControl* child = window->FocusedChild()) child->KeyDown(key, shift);
  });
  if (!*alive) return false;

  ShowPopupWindow(window, false);
  std::vector<TControl*> back;
  for (int i = 0; i < window->ControlCount(); ++i) back.push_back(window->Controls(i));
  for (TControl* c : back) c->SetParent(this);
  // The window goes as soon as it closed, however it closed.
  popup_.reset();
  if (OnClose) OnClose(this);
  if (wasActive != nullptr && form != nullptr && form->Active() && wasActive->CanFocus())
    wasActive->SetFocus();
  control_ = nullptr;
  const bool closedByCall = !open_;
  open_ = false;
  return closedByCall;
}

void TWkPopupPanel::ClosePopup() {
  if (!popup_) return;
  open_ = false;
  EndPopupLoop(popup_.get());
}
