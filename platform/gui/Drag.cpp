// The drag of controls: one drag at a time, driven by the source's mouse moves and release.
// The target is the deepest visible control under the pointer, found through the controls'
// own geometry, so that a drag works the same on a screen and on the offscreen platform.
#include <QApplication>
#include <QCursor>
#include <cstdlib>

#include "platform/gui/Desktop.h"
#include "platform/gui/Forms.h"
#include "platform/gui/QtPeer.h"

using namespace zgui;

namespace {

struct DragState {
  TControl* source = nullptr;
  bool started = false;  // false while waiting for the threshold
  TPoint startScreen;
  int threshold = 5;
  TControl* target = nullptr;
  bool accepted = false;
  bool cursorSet = false;
};

DragState g_drag;
// Where the pointer was last seen by a control's mouse handling (screen), so that a drag
// begun inside a handler starts where the event happened.
bool g_pointerKnown = false;
TPoint g_lastPointer;

TPoint PointerNow() { return g_pointerKnown ? g_lastPointer : CursorPos(); }

bool ContainsScreenPoint(TControl* control, TPoint screen) {
  const TPoint p = control->ScreenToClient(screen);
  return p.X >= 0 && p.Y >= 0 && p.X < control->Width() && p.Y < control->Height();
}

// `root`: the window the drag started in, which shows while its control is dragged.
TControl* DeepestAt(TControl* control, TPoint screen, bool root = false) {
  if ((!root && !control->Visible()) || !ContainsScreenPoint(control, screen)) return nullptr;
  if (auto* win = dynamic_cast<TWinControl*>(control)) {
    // Later children lie above earlier ones.
    for (int i = win->ControlCount() - 1; i >= 0; --i) {
      if (TControl* hit = DeepestAt(win->Controls(i), screen)) return hit;
    }
  }
  return control;
}

TControl* ControlAtScreen(TPoint screen) {
  if (TForm* own = g_drag.source->ParentForm()) {
    if (TControl* hit = DeepestAt(own, screen, true)) return hit;
  }
  if (!Application) return nullptr;
  for (TForm* form : Application->Forms()) {
    if (form == g_drag.source->ParentForm() || !form->Visible()) continue;
    if (TControl* hit = DeepestAt(form, screen)) return hit;
  }
  return nullptr;
}

void SetDragCursor() {
  const QCursor cursor = CursorFor(g_drag.accepted ? crDrag : crNo);
  if (g_drag.cursorSet)
    QApplication::changeOverrideCursor(cursor);
  else
    QApplication::setOverrideCursor(cursor);
  g_drag.cursorSet = true;
}

void TellTarget(TControl* target, TPoint screen, TDragState state, bool& accept) {
  const TPoint p = target->ScreenToClient(screen);
  target->DragOver(g_drag.source, p.X, p.Y, state, accept);
}

void MoveTo(TPoint screen) {
  TControl* now = ControlAtScreen(screen);
  if (now != g_drag.target) {
    if (TControl* old = g_drag.target) {
      bool ignored = false;
      g_drag.target = nullptr;
      TellTarget(old, screen, dsDragLeave, ignored);
    }
    g_drag.target = now;
    g_drag.accepted = false;
    if (now) TellTarget(now, screen, dsDragEnter, g_drag.accepted);
  } else if (now) {
    g_drag.accepted = false;
    TellTarget(now, screen, dsDragMove, g_drag.accepted);
  }
  SetDragCursor();
}

void Finish(bool drop, TPoint screen) {
  DragState ended = g_drag;
  g_drag = DragState{};
  if (ended.cursorSet) QApplication::restoreOverrideCursor();
  if (!ended.started) return;
  TControl* target = drop && ended.accepted ? ended.target : nullptr;
  if (ended.target && !target) {
    bool ignored = false;
    const TPoint p = ended.target->ScreenToClient(screen);
    ended.target->DragOver(ended.source, p.X, p.Y, dsDragLeave, ignored);
  }
  TPoint p{};
  if (target) {
    p = target->ScreenToClient(screen);
    target->DragDrop(ended.source, p.X, p.Y);
  }
  ended.source->DoEndDrag(target, p.X, p.Y);
}

}  // namespace

namespace zgui {

void NotePointer(TControl* control, int x, int y) {
  g_lastPointer = control->ClientToScreen(Point(x, y));
  g_pointerKnown = true;
}

bool DragSourceMouseMove(TControl* control, TShiftState shift, int x, int y) {
  NotePointer(control, x, y);
  // While a drag runs, the control that holds the mouse (the source, or the one pressed to
  // start it) drives it.
  if (!g_drag.source) return false;
  const TPoint screen = g_lastPointer;
  if (!(shift & (ssLeft | ssRight | ssMiddle))) {
    // The button went up somewhere we did not hear: the drag is over.
    Finish(false, screen);
    return true;
  }
  if (!g_drag.started) {
    if (std::abs(screen.X - g_drag.startScreen.X) < g_drag.threshold &&
        std::abs(screen.Y - g_drag.startScreen.Y) < g_drag.threshold)
      return false;
    g_drag.started = true;
  }
  MoveTo(screen);
  return true;
}

bool DragSourceMouseUp(TControl* control, TMouseButton button, int x, int y) {
  (void)button;
  if (!g_drag.source) return false;
  const bool started = g_drag.started;
  Finish(true, control->ClientToScreen(Point(x, y)));
  return started;
}

void DragControlGone(TControl* control) {
  if (g_drag.target == control) {
    g_drag.target = nullptr;
    g_drag.accepted = false;
  }
  if (g_drag.source == control) {
    if (g_drag.cursorSet) QApplication::restoreOverrideCursor();
    g_drag = DragState{};
  }
}

}  // namespace zgui

void TControl::BeginDrag(bool immediate, int threshold) {
  if (g_drag.source) return;
  g_drag.source = this;
  g_drag.startScreen = PointerNow();
  g_drag.threshold = threshold < 0 ? 5 : threshold;
  g_drag.started = immediate;
  if (immediate) MoveTo(g_drag.startScreen);
}

bool TControl::Dragging() const { return g_drag.source == this; }

void TControl::EndDrag(bool drop) {
  if (g_drag.source != this) return;
  Finish(drop, PointerNow());
}

void TControl::DragOver(TControl* source, int x, int y, TDragState state, bool& accept) {
  accept = false;
  if (OnDragOver) OnDragOver(this, source, x, y, state, accept);
}

void TControl::DragDrop(TControl* source, int x, int y) {
  if (OnDragDrop) OnDragDrop(this, source, x, y);
}

void TControl::DoEndDrag(TControl* target, int x, int y) {
  if (OnEndDrag) OnEndDrag(this, target, x, y);
}
