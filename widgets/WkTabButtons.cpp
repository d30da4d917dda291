#include "widgets/WkTabButtons.h"

#include "widgets/WkGrafx.h"
#include "widgets/WkTabControl.h"

void DrawTabFrame(TCanvas& canvas, const TRect& rect, TWkCustomTabControl& tabControl,
                  TColor frameColor, bool down) {
  TWkTabColors& colors = tabControl.TabColors();
  if (tabControl.UseGradients()) {
    TRect face = rect;
    InflateRect(face, -1, -1);
    const TColor a = down ? colors.Shadow() : colors.Unselected();
    const TColor b = down ? colors.Unselected() : colors.Shadow();
    PaintGradient(canvas, face, gdHorizontalEnd, a, b, 1);
    canvas.Brush().SetStyle(bsClear);
    canvas.Pen().SetColor(frameColor);
    canvas.Pen().SetStyle(psSolid);
    canvas.Rectangle(rect);
    canvas.Brush().SetStyle(bsSolid);
  } else {
    canvas.Pen().SetColor(frameColor);
    canvas.Pen().SetStyle(psSolid);
    canvas.Brush().SetColor(colors.Shadow());
    canvas.Rectangle(rect);
  }
}

// --- common press handling

TWkTabButton::TWkTabButton(TWkCustomTabControl* tabControl)
    : TCustomControl(tabControl), tabControl_(tabControl) {
  SetParent(tabControl);
  SetTabStop(false);
}

void TWkTabButton::SetFrameColor(TColor value) {
  if (value == frameColor_) return;
  frameColor_ = value;
  Invalidate();
}

bool TWkTabButton::PressArea(int x, int y) const { return PtInRect(GetClientRect(), Point(x, y)); }

void TWkTabButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TCustomControl::MouseDown(button, shift, x, y);
  if (button != mbLeft) return;
  // The press itself holds the mouse for the button until the release.
  mouseDown_ = true;
  pressed_ = true;
  Invalidate();
}

void TWkTabButton::MouseMove(TShiftState shift, int x, int y) {
  TCustomControl::MouseMove(shift, x, y);
  if (!mouseDown_) return;
  const bool now = PressArea(x, y);
  if (now == pressed_) return;
  pressed_ = now;
  Invalidate();
}

void TWkTabButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TCustomControl::MouseUp(button, shift, x, y);
  if (!mouseDown_) return;
  const bool fire = pressed_;
  mouseDown_ = false;
  pressed_ = false;
  Invalidate();
  if (fire) Released();
}

// --- scroller

TWkTabScroller::TWkTabScroller(TWkCustomTabControl* tabControl) : TWkTabButton(tabControl) {}

void TWkTabScroller::SetOrientation(TOrientation value) {
  if (value == orientation_) return;
  orientation_ = value;
  Invalidate();
}

TRect TWkTabScroller::HalfRect(int half) const {
  // The halves share their middle line.
  const int w = Width(), h = Height();
  if (orientation_ == orHorizontal) {
    const int mid = w / 2;
    return half == 1 ? Rect(mid, 0, w, h) : Rect(0, 0, mid + 1, h);
  }
  const int mid = h / 2;
  return half == 1 ? Rect(0, 0, w, mid + 1) : Rect(0, mid, w, h);
}

bool TWkTabScroller::PressArea(int x, int y) const {
  const bool inside = PtInRect(GetClientRect(), Point(x, y));
  if (!inside) return false;
  if (orientation_ == orHorizontal) return pressedHalf_ == 1 ? x >= Width() / 2 : x < Width() / 2;
  return pressedHalf_ == 1 ? y <= Height() / 2 : y > Height() / 2;
}

void TWkTabScroller::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == mbLeft)
    pressedHalf_ =
        orientation_ == orHorizontal ? (x >= Width() / 2 ? 1 : 0) : (y <= Height() / 2 ? 1 : 0);
  TWkTabButton::MouseDown(button, shift, x, y);
  if (button != mbLeft) return;
  if (!timer_) {
    timer_ = new TTimer(this);
    timer_->OnTimer = [this](TComponent*) { RepeatTick(); };
  }
  timer_->SetInterval(firstDelay_);
  timer_->SetEnabled(true);
}

void TWkTabScroller::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (timer_) timer_->SetEnabled(false);
  TWkTabButton::MouseUp(button, shift, x, y);
}

void TWkTabScroller::RepeatTick() {
  timer_->SetInterval(repeatDelay_);
  // The button is held for as long as the press lasts (the mouse stays with the scroller).
  if (pressed_ && mouseDown_) ClickHalf();
}

void TWkTabScroller::Released() { ClickHalf(); }

void TWkTabScroller::ClickHalf() {
  if (pressedHalf_ == 0) {
    if (OnDownLeftClick) OnDownLeftClick(this);
  } else if (OnUpRightClick) {
    OnUpRightClick(this);
  }
}

// --- close button

TWkTabCloseButton::TWkTabCloseButton(TWkCustomTabControl* tabControl) : TWkTabButton(tabControl) {}

void TWkTabCloseButton::Released() {
  if (OnClose) OnClose(this);
}

// --- menu button

TWkTabMenuButton::TWkTabMenuButton(TWkCustomTabControl* tabControl)
    : TWkTabButton(tabControl), menu_(new TPopupMenu(this)) {}

void TWkTabMenuButton::Released() { ShowTabMenu(); }

void TWkTabMenuButton::ShowTabMenu() {
  TMenuItem* root = menu_->Items();
  while (root->Count() > 0) delete root->Items(root->Count() - 1);
  TWkCustomTabControl* tc = tabControl_;
  menu_->SetImages(tc->Images());
  TComponent* itemOwner = tc->Owner() ? tc->Owner() : tc;
  for (int i = 0; i < tc->TabCount(); ++i) {
    const TWkTabData* t = tc->Tabs().Items(i);
    if (!t->Visible) continue;
    auto* item = new TMenuItem(itemOwner);
    item->SetCaption(t->Caption);
    item->SetEnabled(t->Enabled);
    item->SetChecked(i == tc->TabIndex());
    item->SetImageIndex(t->ShownImageIndex());
    item->Tag = i;
    item->OnClick = [tc](TComponent* sender) {
      tc->SetTabIndex(static_cast<int>(static_cast<TMenuItem*>(sender)->Tag));
    };
    root->Add(item);
  }
  const bool reverse = tc->TabSequence() == tsReverse;
  TPoint at;
  switch (tc->TabOrientation()) {
    case toTop:
      at = reverse ? Point(0, Height()) : Point(Width(), Height());
      break;
    case toLeft:
      at = Point(Width(), 0);
      break;
    case toBottom:
      at = reverse ? Point(0, 0) : Point(Width(), 0);
      break;
    case toRight:
      at = Point(0, 0);
      break;
  }
  // Right-aligned menus end at the point; the menu is as wide as the toolkit makes it, so the
  // point itself is handed over and the toolkit keeps the menu on the screen.
  const TPoint screen = ClientToScreen(at);
  menu_->Popup(screen.X, screen.Y);
}
