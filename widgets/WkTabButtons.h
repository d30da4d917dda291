// The three buttons that sit in the tab strip: the scroller of an overflowing single row, the
// close button and the tab-list menu button, with the frame painter they share.
#pragma once

#include "platform/gui/CustomControl.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Menus.h"
#include "widgets/WkCommon.h"

class TWkCustomTabControl;

// The frame of a strip button: a gradient face (or the flat shadow colour) and a frame.
void DrawTabFrame(TCanvas& canvas, const TRect& rect, TWkCustomTabControl& tabControl,
                  TColor frameColor, bool down);

class TWkTabButton : public TCustomControl {
 public:
  TWkTabButton(TWkCustomTabControl* tabControl);
  TColor FrameColor() const { return frameColor_; }
  void SetFrameColor(TColor value);
  TWkCustomTabControl* TabControl() const { return tabControl_; }
  bool MouseIsDown() const { return mouseDown_; }
  bool Pressed() const { return pressed_; }

  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

 protected:
  // Whether a point keeps the button pressed.
  virtual bool PressArea(int x, int y) const;
  virtual void Released() {}
  TWkCustomTabControl* tabControl_;
  TColor frameColor_ = clBtnShadow;
  bool mouseDown_ = false;
  bool pressed_ = false;
};

class TWkTabScroller : public TWkTabButton {
 public:
  explicit TWkTabScroller(TWkCustomTabControl* tabControl);
  TOrientation Orientation() const { return orientation_; }
  void SetOrientation(TOrientation value);
  // 0 = down/left, 1 = up/right.
  int PressedHalf() const { return pressedHalf_; }
  TTimer* RepeatTimer() const { return timer_; }
  unsigned FirstRepeatDelay() const { return firstDelay_; }
  unsigned RepeatDelay() const { return repeatDelay_; }
  TNotifyEvent OnUpRightClick;
  TNotifyEvent OnDownLeftClick;

  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void RepeatTick();
  // The two halves (client coordinates).
  TRect HalfRect(int half) const;

 protected:
  bool PressArea(int x, int y) const override;
  void Released() override;
  void Paint() override;

 private:
  void ClickHalf();
  TOrientation orientation_ = orHorizontal;
  int pressedHalf_ = 0;
  TTimer* timer_ = nullptr;
  unsigned firstDelay_ = 400, repeatDelay_ = 100;
};

class TWkTabCloseButton : public TWkTabButton {
 public:
  explicit TWkTabCloseButton(TWkCustomTabControl* tabControl);
  TNotifyEvent OnClose;

 protected:
  void Released() override;
  void Paint() override;
};

class TWkTabMenuButton : public TWkTabButton {
 public:
  explicit TWkTabMenuButton(TWkCustomTabControl* tabControl);
  TPopupMenu* Menu() const { return menu_; }
  // Fills the menu with the visible tabs and pops it up beside the button.
  void ShowTabMenu();

 protected:
  void Released() override;
  void Paint() override;

 private:
  TPopupMenu* menu_;
};
