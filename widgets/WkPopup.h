// A panel whose children are shown, on request, in a borderless pop-up window next to another
// control, kept open by a local loop until the user clicks elsewhere, presses Esc, switches
// away, or a control inside closes it.
#pragma once

#include <memory>

#include "widgets/WkPanel.h"

// A framed panel with a pop-up frame.
class TWkCustomPopup : public TWkCustomPanel {
 public:
  explicit TWkCustomPopup(TComponent* AOwner);
  void AdjustClientRect(TRect& rect) const override;
};

class TWkPopupPanel;

// The pop-up window itself: a parentless window that exists only while it is open.
class TWkPopup : public TWkCustomPopup {
 public:
  TWkPopup(TWkPopupPanel* panel, TControl* shownAt);
  TWkPopupPanel* PopupPanel() const { return panel_; }
  TControl* ShownAt() const { return shownAt_; }
  TWinControl* FocusedChild() const { return focusedChild_; }
  void SetFocusedChild(TWinControl* child) { focusedChild_ = child; }

 private:
  TWkPopupPanel* panel_;
  TControl* shownAt_;
  TWinControl* focusedChild_ = nullptr;
};

class TWkPopupPanel : public TWkCustomPopup {
 public:
  explicit TWkPopupPanel(TComponent* AOwner);
  ~TWkPopupPanel() override;

  // Shows the children in a pop-up at the control and returns once it closed: true when
  // ClosePopup closed it, false for a click outside, Esc or switching away, and false at once
  // while a pop-up of this panel is open. X and Y (not -1) place it relative to the control.
  bool Popup(TControl* control, int x = -1, int y = -1);
  void ClosePopup();
  bool IsOpen() const { return popup_ != nullptr; }
  TWkPopup* PopupWindow() const { return popup_.get(); }

  // The panel is sized round its children before it opens.
  bool AutoSize = true;

  TNotifyEvent OnPopup;
  TNotifyEvent OnClose;

 private:
  TRect PlaceAt(const TRect& at, int x, int y) const;
  // Moves the visible children inside the frame and sizes the panel round them.
  void FitToChildren();
  std::unique_ptr<TWkPopup> popup_;
  TControl* control_ = nullptr;
  bool open_ = false;
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};
