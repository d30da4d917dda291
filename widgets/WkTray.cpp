// The tray icon component on the layer's notification-area icon.
#include "widgets/WkTray.h"

#include <algorithm>
#include <vector>

#include "platform/GbkText.h"
#include "platform/gui/Desktop.h"

TWkTrayIcon::TWkTrayIcon(TComponent* AOwner)
    : TComponent(AOwner),
      timer_(std::make_unique<TTimer>(nullptr)),
      shownIcon_(std::make_unique<TBitmap>()) {
  shownIcon_->Assign(Application != nullptr ? Application->Icon() : TBitmap());
  timer_->SetEnabled(false);
  timer_->SetInterval(1000);
  timer_->OnTimer = [this](TComponent*) { Step(); };
  iconsLink_.OnChange = [this] { ApplyIconIndex(); };
  iconsLink_.OnFree = [this] {
    icons_ = nullptr;
    ApplyIconIndex();
  };
  tray_.OnActivated = [this](TTrayActivation reason, TPoint) { Activated(reason); };
  TakeOverApplication();
  UpdateIcon();
}

TWkTrayIcon::~TWkTrayIcon() {
  tray_.Hide();
  if (popupMenu_ != nullptr) popupMenu_->RemoveFreeNotification(this);
  LeaveApplication();
}

// --- the application's minimise and restore ---------------------------------------------------
//
// Every icon alive hears the application's minimise and restore, oldest first: the first icon
// puts one handler of the module in place of the application's, which passes each event to
// the icons, and the last icon to go puts the application's own back. So icons may be made
// and freed in any order without one freeing the handler another still relies on.

namespace {

struct TrayDispatch {
  bool restore;
  void operator()(TComponent*) const { TWkTrayIcon::DispatchApplicationEvent(restore); }
};

struct TrayChain {
  std::vector<TWkTrayIcon*> icons;
  TNotifyEvent savedMinimize, savedRestore;
  bool dispatching = false;
};

TrayChain& Chain() {
  static TrayChain chain;
  return chain;
}

bool IsDispatch(const TNotifyEvent& event) { return event.target<TrayDispatch>() != nullptr; }

bool Alive(const TrayChain& chain, const TWkTrayIcon* icon) {
  return std::find(chain.icons.begin(), chain.icons.end(), icon) != chain.icons.end();
}

}  // namespace

void TWkTrayIcon::TakeOverApplication() {
  if (Application == nullptr) return;
  TrayChain& chain = Chain();
  if (chain.icons.empty()) {
    chain.savedMinimize = Application->OnMinimize;
    chain.savedRestore = Application->OnRestore;
  }
  if (!Alive(chain, this)) chain.icons.push_back(this);
  if (!IsDispatch(Application->OnMinimize)) Application->OnMinimize = TrayDispatch{false};
  if (!IsDispatch(Application->OnRestore)) Application->OnRestore = TrayDispatch{true};
}

void TWkTrayIcon::LeaveApplication() {
  TrayChain& chain = Chain();
  const auto it = std::find(chain.icons.begin(), chain.icons.end(), this);
  if (it == chain.icons.end()) return;
  chain.icons.erase(it);
  if (!chain.icons.empty()) return;
  // Handlers set over ours since are left alone.
  if (Application != nullptr && IsDispatch(Application->OnMinimize))
    Application->OnMinimize = chain.savedMinimize;
  if (Application != nullptr && IsDispatch(Application->OnRestore))
    Application->OnRestore = chain.savedRestore;
  chain.savedMinimize = nullptr;
  chain.savedRestore = nullptr;
}

void TWkTrayIcon::DispatchApplicationEvent(bool restore) {
  TrayChain& chain = Chain();
  // Restoring the application from an icon reports the restore again: each icon hears it once.
  if (chain.dispatching) return;
  const TWkFlagScope scope(chain.dispatching);
  const std::vector<TWkTrayIcon*> icons = chain.icons;
  for (TWkTrayIcon* icon : icons) {
    if (!Alive(chain, icon)) continue;  // a handler freed it
    if (restore)
      icon->AppRestored();
    else
      icon->AppMinimized();
  }
}

void TWkTrayIcon::Loaded() {
  TComponent::Loaded();
  ApplyIconIndex();
  if (enabled_) UpdateTrayState();
  UpdateIcon();
}

void TWkTrayIcon::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == TOperation::opRemove && component == popupMenu_) popupMenu_ = nullptr;
}

// --- the icon in the notification area --------------------------------------------------------

void TWkTrayIcon::UpdateTrayState() {
  if (enabled_) {
    // Without a notification area (an offscreen run) the icon keeps its state and shows
    // nothing; the platform's icon accepts that silently.
    tray_.Show();
    if (!tray_.Visible()) enabled_ = false;
    TakeOverApplication();
  } else {
    tray_.Hide();
  }
}

void TWkTrayIcon::UpdateIcon() {
  tray_.SetIcon(*shownIcon_);
  std::string tip = hint_;
  if (CharCount(tip) > kTrayTipChars) tip = LeftChars(tip, kTrayTipChars);
  tray_.SetTip(tip);
}

void TWkTrayIcon::SetEnabled(bool value) {
  if (value == enabled_ && !puttingBack_) return;
  enabled_ = value;
  if (!IsLoading()) UpdateTrayState();
}

void TWkTrayIcon::TaskbarCreated() {
  if (!enabled_) return;
  puttingBack_ = true;
  tray_.Hide();
  SetEnabled(true);
  puttingBack_ = false;
}

void TWkTrayIcon::SetHint(const std::string& value) {
  if (value == hint_) return;
  hint_ = value;
  UpdateIcon();
}

void TWkTrayIcon::SetPopupMenu(TPopupMenu* value) {
  if (popupMenu_ != nullptr) popupMenu_->RemoveFreeNotification(this);
  popupMenu_ = value;
  if (popupMenu_ != nullptr) popupMenu_->FreeNotification(this);
}

void TWkTrayIcon::SetIcons(TImageList* value) {
  if (icons_ != nullptr) icons_->UnRegisterChanges(&iconsLink_);
  icons_ = value;
  if (icons_ != nullptr) icons_->RegisterChanges(&iconsLink_);
  if (!IsLoading()) ApplyIconIndex();
}

void TWkTrayIcon::SetIconIndex(int value) {
  iconIndex_ = value;
  ApplyIconIndex();
}

void TWkTrayIcon::ApplyIconIndex() {
  if (icons_ != nullptr && iconIndex_ >= 0 && iconIndex_ < icons_->Count()) {
    TBitmap picture;
    icons_->GetBitmap(iconIndex_, picture);
    shownIcon_->Assign(picture);
  } else {
    shownIcon_->Assign(Application != nullptr ? Application->Icon() : TBitmap());
  }
  UpdateIcon();
}

void TWkTrayIcon::Step() {
  if (icons_ == nullptr || icons_->Count() == 0) return;
  SetIconIndex(iconIndex_ + 1 < icons_->Count() ? iconIndex_ + 1 : 0);
}

// --- clicks ----------------------------------------------------------------------------------

void TWkTrayIcon::Activated(TTrayActivation reason) {
  switch (reason) {
    case TTrayActivation::Click:
      DoLButtonDown();
      DoLButtonUp();
      // Where the notification area never reports double clicks, the click has to restore.
      if (RestoreOn == ticLeftDblClick && !TTrayIcon::ReportsDoubleClicks()) RestoreApp();
      break;
    case TTrayActivation::DoubleClick:
      DoLButtonDblClick();
      break;
    case TTrayActivation::ContextMenu:
      DoRButtonDown();
      DoRButtonUp();
      break;
    case TTrayActivation::MiddleClick:
      break;
  }
}

void TWkTrayIcon::HandleClick(TWkTrayIconClicks click, const TNotifyEvent& event) {
  if (RestoreOn == click) RestoreApp();
  if (PopupMenuOn == click) ShowPopupMenu();
  if (event) event(this);
}

void TWkTrayIcon::DoLButtonDown() { HandleClick(ticLeftClick, OnLButtonDown); }
void TWkTrayIcon::DoLButtonUp() { HandleClick(ticLeftClickUp, OnLButtonUp); }
void TWkTrayIcon::DoLButtonDblClick() { HandleClick(ticLeftDblClick, OnLButtonDblClick); }
void TWkTrayIcon::DoRButtonDown() { HandleClick(ticRightClick, OnRButtonDown); }
void TWkTrayIcon::DoRButtonUp() { HandleClick(ticRightClickUp, OnRButtonUp); }
void TWkTrayIcon::DoRButtonDblClick() { HandleClick(ticRightDblClick, OnRButtonDblClick); }

void TWkTrayIcon::ShowPopupMenu() {
  if (popupMenu_ == nullptr) return;
  if (auto* form = dynamic_cast<TForm*>(Owner());
      form != nullptr && Application != nullptr && form == Application->MainForm())
    Application->BringToFront();
  const TWkFlagScope scope(menuShowing_);
  const TPoint at = CursorPos();
  popupMenu_->PopupComponent = nullptr;
  popupMenu_->Popup(at.X, at.Y);
}

// --- minimise and restore --------------------------------------------------------------------

void TWkTrayIcon::AppMinimized() {
  if (Application == nullptr) return;
  if (enabled_ && HideOnMinimize) Application->SetTaskbarButtonVisible(false);
  DoMinimizeApp();
}

void TWkTrayIcon::AppRestored() {
  if (restoring_) return;
  RestoreApp();
}

void TWkTrayIcon::RestoreApp() {
  if (menuShowing_ || Application == nullptr) return;
  const TWkFlagScope scope(restoring_);
  if (enabled_) Application->SetTaskbarButtonVisible(true);
  Application->Restore();
  if (enabled_) Application->BringToFront();
  DoRestoreApp();
}

void TWkTrayIcon::DoMinimizeApp() {
  if (OnMinimizeApp) OnMinimizeApp(this);
}
void TWkTrayIcon::DoRestoreApp() {
  if (OnRestoreApp) OnRestoreApp(this);
}

bool TWkTrayIcon::QueryEndSession() {
  bool allow = true;
  if (OnQueryEndSession) OnQueryEndSession(this, allow);
  return allow;
}

void TWkTrayIcon::EndSession() {
  if (OnEndSession) OnEndSession(this);
  tray_.Hide();
}
