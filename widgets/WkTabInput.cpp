// Mouse, keyboard and accelerators, hot tracking and tab hints, and dragging a tab.
#include <cctype>

#include "platform/gui/Desktop.h"
#include "widgets/WkTabControl.h"
#include "widgets/WkTabText.h"

void TWkCustomTabControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TCustomControl::MouseDown(button, shift, x, y);
  if (!Enabled()) return;
  const int tab = TabAtPos(x, y);
  dragSource_ = tab;
  if (tab < 0 || !tabs_.Items(tab)->Enabled) return;
  if (tab == tabIndex_ && TabStop()) {
    if (CanFocus()) SetFocus();
    if (!Focused()) return;
  }
  SetTabIndex(tab);
  if (tabIndex_ == tab) DoTabClick();
}

void TWkCustomTabControl::MouseMove(TShiftState shift, int x, int y) {
  TCustomControl::MouseMove(shift, x, y);
  if (Dragging()) return;
  // Only the current tab is dragged: after a refused click the source is not current.
  if (allowTabDragging_ && (shift & ssLeft) && dragSource_ >= 0 && dragSource_ < tabs_.Count() &&
      dragSource_ == tabIndex_ && tabs_.Items(dragSource_)->Enabled) {
    BeginDrag(true);
    return;
  }
  if (!hotTrack_ && !tabHints_) return;
  const int tab = TabAtPos(x, y);
  if (tab >= 0) {
    if (tab == hotTab_) return;
    if (hotTab_ < 0 && tabHints_) savedHint_ = Hint();
    hotTab_ = tab;
    if (hotTrack_) InvalidateRect(TabArea());
    if (tabHints_) {
      CancelHint();
      SetHint(tabs_.Items(tab)->Hint);
    }
    if (!hotTimer_->Enabled()) hotTimer_->SetEnabled(true);
    return;
  }
  const bool inArea = InTabArea(x, y);
  if (tabHints_ && (hotTab_ >= 0 || inArea)) CancelHint();
  CancelHotTrack(!inArea);
}

void TWkCustomTabControl::CancelHotTrack(bool restoreHint) {
  hotTimer_->SetEnabled(false);
  const bool wasHot = hotTab_ >= 0;
  hotTab_ = -1;
  if (wasHot) InvalidateRect(TabArea());
  if (wasHot && restoreHint && tabHints_) SetHint(savedHint_);
}

void TWkCustomTabControl::StopHotTimerIfIdle() {
  if (!hotTrack_ && !tabHints_) hotTimer_->SetEnabled(false);
}

void TWkCustomTabControl::HotTrackTick() {
  const TPoint p = ScreenToClient(CursorPos());
  if (TabAtPos(p.X, p.Y) < 0) CancelHotTrack(true);
}

bool TWkCustomTabControl::KeyDown(uint16_t& key, TShiftState shift) {
  if (TCustomControl::KeyDown(key, shift) || key == 0) return true;
  const int n = tabs_.Count();
  if (n == 0) return false;
  // +1 when Right/Down mean the next tab.
  const int sense = (tabSequence_ == tsStandard ? 1 : -1) * (tabOrientation_ == toLeft ? -1 : 1);
  int found = -1;
  const int current = tabIndex_;
  auto step = [&](int dir) {
    int i = current;
    for (int k = 0; k < n; ++k) {
      i = i < 0 ? (dir > 0 ? 0 : n - 1) : (i + dir + n) % n;
      if (i == current) return;
      if (CanSelectTab(i)) {
        found = i;
        return;
      }
    }
  };
  auto fromFirst = [&] {
    for (int i = 0; i < (current < 0 ? n : current) && found < 0; ++i)
      if (CanSelectTab(i)) found = i;
  };
  auto fromLast = [&] {
    for (int i = n - 1; i > current && found < 0; --i)
      if (CanSelectTab(i)) found = i;
  };
  switch (key) {
    case VK_RIGHT:
    case VK_DOWN:
      step(sense);
      break;
    case VK_LEFT:
    case VK_UP:
      step(-sense);
      break;
    case VK_HOME:
      sense > 0 ? fromFirst() : fromLast();
      break;
    case VK_END:
      sense > 0 ? fromLast() : fromFirst();
      break;
    default:
      return false;
  }
  if (found >= 0) {
    SetTabIndexEx(found, true);
    DoTabClick();
  }
  return true;
}

bool TWkCustomTabControl::DialogChar(char key) {
  const char wanted = static_cast<char>(std::tolower(static_cast<unsigned char>(key)));
  for (int i = 0; i < tabs_.Count(); ++i) {
    const TWkTabData* t = tabs_.Items(i);
    if (TabAcceleratorChar(t->Caption) != wanted || !t->Visible || !t->Enabled) continue;
    if (!CanFocus()) return false;
    SetFocus();
    if (Focused()) {
      SetTabIndex(i);
      if (tabIndex_ == i) DoTabClick();
    }
    return true;
  }
  return false;
}

void TWkCustomTabControl::DoEnter() {
  TCustomControl::DoEnter();
  InvalidateTabShapes();
}

void TWkCustomTabControl::DoExit() {
  TCustomControl::DoExit();
  InvalidateTabShapes();
}

// --- dragging a tab

void TWkCustomTabControl::DragOver(TControl* source, int x, int y, TDragState state, bool& accept) {
  TCustomControl::DragOver(source, x, y, state, accept);
  if (source != this) return;
  if (state == dsDragLeave) {
    SetDropIndicator(-1);
    accept = false;
    return;
  }
  const int target = TabAtPos(x, y);
  if (target < 0) {
    if (!dragTimer_) {
      dragTimer_ = new TTimer(this);
      dragTimer_->OnTimer = [this](TComponent*) { DragScrollTick(); };
    }
    dragTimer_->SetInterval(dragFirstDelay_);
    dragTimer_->SetEnabled(true);
    accept = false;
    SetDropIndicator(-1);
    return;
  }
  accept = target != tabIndex_;
  SetDropIndicator(accept ? target : -1);
}

void TWkCustomTabControl::DragScrollTick() {
  dragTimer_->SetInterval(dragRepeatDelay_);
  if (!Dragging()) return;
  const TPoint p = ScreenToClient(CursorPos());
  int dir = 0;  // +1 toward the end of the strip
  switch (tabOrientation_) {
    case toTop:
    case toBottom:
      dir = p.X < 0 ? -1 : p.X > Width() ? 1 : 0;
      break;
    case toLeft:
      dir = p.Y < 0 ? 1 : p.Y > Height() ? -1 : 0;
      break;
    case toRight:
      dir = p.Y < 0 ? -1 : p.Y > Height() ? 1 : 0;
      break;
  }
  if (tabSequence_ == tsReverse) dir = -dir;
  if (dir > 0) ScrollForward();
  if (dir < 0) ScrollBackward();
}

void TWkCustomTabControl::StopDragScroll() {
  if (dragTimer_) dragTimer_->SetEnabled(false);
  SetDropIndicator(-1);
}

void TWkCustomTabControl::DragDrop(TControl* source, int x, int y) {
  if (source == this) {
    StopDragScroll();
    const int target = TabAtPos(x, y);
    if (target >= 0) MoveActiveTab(target);
  }
  TCustomControl::DragDrop(source, x, y);
}

void TWkCustomTabControl::DoEndDrag(TControl* target, int x, int y) {
  // Every end of a drag stops the scrolling, not only a drop.
  StopDragScroll();
  dragSource_ = -1;
  TCustomControl::DoEndDrag(target, x, y);
}

void TWkCustomTabControl::SetDropIndicator(int target) {
  if (target == dropTarget_) return;
  dropTarget_ = target;
  dropIndicator_ = TRect{};
  if (target >= 0) {
    // Across the edge that faces away from the current tab, 8 pixels either side of it,
    // from 2 pixels beyond the outer edge (3 on the right side) 8 pixels toward the card.
    const TRect r = TabStripRect(target);
    const bool before = target < tabIndex_;
    // Reverse sequence mirrors the strip: its start lies at the tabs' right edges.
    const bool leftEdge = before == (tabSequence_ == tsStandard);
    int edge = leftEdge ? r.Left : r.Right;
    if (tabStyle_ != tsCutCorner && tabStyle_ != tsRoundCorners) {
      const int run = SideRun() / 2;  // the middle of the slanted side
      edge += leftEdge ? run : -run;
    }
    const int outer = r.Top - (tabOrientation_ == toRight ? 3 : 2);
    dropIndicator_ = StripRectToClient(Rect(edge - 8, outer, edge + 8, outer + 9));
  }
  Invalidate();
}
