// The application's icon in the desktop's notification area: tip, menu, animation through an
// image list, and minimising to the icon and restoring from it.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Menus.h"
#include "platform/gui/TrayIcon.h"
#include "widgets/WkLook.h"

enum TWkTrayIconClicks {
  ticNone,
  ticLeftClick,
  ticLeftDblClick,
  ticLeftClickUp,
  ticRightClick,
  ticRightDblClick,
  ticRightClickUp
};

using TWkQueryEndSessionEvent = std::function<void(TComponent* Sender, bool& Allow)>;

// The tip the notification area gets: at most this many characters.
constexpr int kTrayTipChars = 127;

class TWkTrayIcon : public TComponent {
 public:
  explicit TWkTrayIcon(TComponent* AOwner);
  ~TWkTrayIcon() override;

  bool Animate() const { return timer_->Enabled(); }
  void SetAnimate(bool value) { timer_->SetEnabled(value); }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value);
  bool HideOnMinimize = true;
  const std::string& Hint() const { return hint_; }
  void SetHint(const std::string& value);
  // The tip as handed to the notification area (cut on a character boundary).
  const std::string& ShownTip() const { return tray_.Tip(); }
  TPopupMenu* PopupMenu() const { return popupMenu_; }
  void SetPopupMenu(TPopupMenu* value);
  TImageList* Icons() const { return icons_; }
  void SetIcons(TImageList* value);
  int IconIndex() const { return iconIndex_; }
  void SetIconIndex(int value);
  unsigned Interval() const { return timer_->Interval(); }
  void SetInterval(unsigned value) { timer_->SetInterval(value); }
  TWkTrayIconClicks RestoreOn = ticLeftDblClick;
  TWkTrayIconClicks PopupMenuOn = ticRightClickUp;

  // The picture shown now, and whether the icon is in the notification area.
  const TBitmap& ShownIcon() const { return *shownIcon_; }
  bool InTray() const { return tray_.Visible(); }
  // The animation's timer (tests step it).
  TTimer* Timer() const { return timer_.get(); }

  TNotifyEvent OnBalloonHintHide, OnBalloonHintClose, OnBalloonHintClick;
  TNotifyEvent OnMinimizeApp, OnRestoreApp;
  TNotifyEvent OnLButtonDown, OnLButtonUp, OnLButtonDblClick;
  TNotifyEvent OnRButtonDown, OnRButtonUp, OnRButtonDblClick;
  TNotifyEvent OnEndSession;
  TWkQueryEndSessionEvent OnQueryEndSession;

  void Loaded() override;
  // The desktop's notification area came back (its shell restarted): the icon is put back.
  void TaskbarCreated();
  // The session ends: asked first (true: it may), then told.
  bool QueryEndSession();
  void EndSession();
  // Restores the application from the icon, as the RestoreOn click does.
  void RestoreApp();
  // What the notification area reports for the icon (the platform's tray calls it).
  void Activated(TTrayActivation reason);
  // Passes the application's minimise (or restore) to every icon alive.
  static void DispatchApplicationEvent(bool restore);

 protected:
  void Notification(TComponent* component, TOperation operation) override;
  virtual void DoLButtonDown();
  virtual void DoLButtonUp();
  virtual void DoLButtonDblClick();
  virtual void DoRButtonDown();
  virtual void DoRButtonUp();
  virtual void DoRButtonDblClick();
  virtual void DoMinimizeApp();
  virtual void DoRestoreApp();

 private:
  void HandleClick(TWkTrayIconClicks click, const TNotifyEvent& event);
  void ShowPopupMenu();
  void UpdateTrayState();
  void UpdateIcon();
  void ApplyIconIndex();
  void TakeOverApplication();
  void LeaveApplication();
  void AppMinimized();
  void AppRestored();
  void Step();

  TTrayIcon tray_;
  std::unique_ptr<TTimer> timer_;
  std::unique_ptr<TBitmap> shownIcon_;
  TChangeLink iconsLink_;
  bool enabled_ = true;
  std::string hint_;
  TPopupMenu* popupMenu_ = nullptr;
  TImageList* icons_ = nullptr;
  int iconIndex_ = 0;
  bool menuShowing_ = false;
  bool restoring_ = false;
  bool puttingBack_ = false;
};
