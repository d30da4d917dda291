// The tab control turned into a container of pages: every TWkTabSheet is a child window that
// fills the page area, and every sheet with a visible tab contributes one tab. Selecting a tab
// shows its page and hides the previous one; the active page can be closed, moved, hidden
// from the strip, and controls can be docked in as pages of their own.
#pragma once

#include <vector>

#include "widgets/WkTabControl.h"

class TWkPageControl;

class TWkTabSheet : public TCustomControl, public TWkTabDataSource {
 public:
  explicit TWkTabSheet(TComponent* AOwner);
  ~TWkTabSheet() override;

  TWkPageControl* PageControl() const { return pageControl_; }
  virtual void SetPageControl(TWkPageControl* value);
  // Position in the page control's pages (-1 without one).
  int PageIndex() const;
  // Moves the page; a value above PageCount - 1 raises EWkTabControlError, a negative one the
  // list's index error.
  void SetPageIndex(int value);
  // Pages before this one that have a tab; -1 without a tab.
  int TabIndex() const;
  bool TabEnabled() const { return tabEnabled_; }
  void SetTabEnabled(bool value);
  bool TabVisible() const { return tabVisible_; }
  void SetTabVisible(bool value);
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int value);
  int DisabledIndex() const { return disabledIndex_; }
  void SetDisabledIndex(int value);
  // A colour of its own turns the control's coloured tabs on.
  void SetColor(TColor value);
  // Only the page control shows and hides a page: this always raises.
  void SetVisible(bool value) override;

  void AssignTo(TWkTabData& dest) const override;
  // A page is part of its control's dock site: drags over it go to the control.
  void DragOver(TControl* source, int x, int y, TDragState state, bool& accept) override;
  void DragDrop(TControl* source, int x, int y) override;
  // A docked control's caption and visibility show on its tab.
  void ChildChanged(TControl* child, TChildChange change) override;

  TWkPaintBackgroundEvent OnPaintBackground;
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;

 protected:
  void Paint() override;
  void TextChanged() override;
  virtual void DoShow();
  virtual void DoHide();

 private:
  friend class TWkPageControl;
  void SetShown(bool value);
  TWkPageControl* pageControl_ = nullptr;
  int imageIndex_ = -1;
  int disabledIndex_ = -1;
  bool tabEnabled_ = true;
  bool tabVisible_ = true;
};

class TWkPageControl : public TWkCustomTabControl {
 public:
  explicit TWkPageControl(TComponent* AOwner);
  ~TWkPageControl() override;

  int PageCount() const { return static_cast<int>(pages_.size()); }
  // EListError outside the list.
  TWkTabSheet* Pages(int index) const;
  TWkTabSheet* ActivePage() const { return activePage_; }
  virtual void SetActivePage(TWkTabSheet* page);
  int ActivePageIndex() const;
  void SetActivePageIndex(int index);
  TWkTabSheet* ActivePageDefault() const { return activePageDefault_; }
  void SetActivePageDefault(TWkTabSheet* page);
  bool SaveResources() const { return saveResources_; }
  void SetSaveResources(bool value) { saveResources_ = value; }
  bool DblClickUndocks() const { return dblClickUndocks_; }
  void SetDblClickUndocks(bool value) { dblClickUndocks_ = value; }
  bool DockSite() const { return dockSite_; }
  void SetDockSite(bool value) { dockSite_ = value; }

  void SelectNextPage(bool goForward);
  TWkTabSheet* FindNextPage(TWkTabSheet* curPage, bool goForward, bool checkTabVisible) const;
  TWkTabSheet* PageForTabIndex(int tabIndex) const;
  void HideAllTabs() override;
  void ShowAllTabs() override;
  void UpdateTabData() override;
  void SetUseColoredTabs(bool value) override;
  // A page asks for its control to be shown.
  void ShowControl(TControl* control);

  // Docking: a control dropped on the control gets a sheet of its own; undocking takes it
  // out to a floating window and frees the sheet.
  void DockClient(TControl* client);
  void UndockClient(TControl* client, TWinControl* newParent);
  // The sheet that hosts a docked control, or nullptr.
  TWkTabSheet* HostOf(const TControl* client) const;

  // Used by the sheets only.
  void InsertPage(TWkTabSheet* page);
  void RemovePage(TWkTabSheet* page);
  void UpdateTab(TWkTabSheet* page);

  void Loaded() override;
  bool DialogKey(uint16_t key, TShiftState shift) override;
  void DoEnter() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void DblClick() override;
  void DragOver(TControl* source, int x, int y, TDragState state, bool& accept) override;
  void DragDrop(TControl* source, int x, int y) override;

 protected:
  void DoChanging(int newIndex, bool& allowChange) override;
  void DoChange() override;
  void DoPageChange() override;
  bool DoPaintCardBackground(TCanvas& canvas, int row, const TRect& rect) override;
  void CloseActiveTab() override;
  void MoveActiveTab(int newIndex) override;
  void ColorChanged() override;
  void Notification(TComponent* component, TOperation operation) override;

 private:
  friend class TWkTabSheet;
  void ChangeActivePage(TWkTabSheet* page);
  TWkTabSheet* PageAtTab(int x, int y);
  std::vector<TWkTabSheet*> pages_;
  TWkTabSheet* activePage_ = nullptr;
  TWkTabSheet* activePageDefault_ = nullptr;
  TWkTabSheet* newDockSheet_ = nullptr;
  TWkTabSheet* undockingPage_ = nullptr;
  std::vector<TControl*> docked_;
  bool dblClickUndocks_ = true;
  bool dockSite_ = false;
  bool saveResources_ = false;
  bool loading_ = false;
  TPoint lastPress_;
};
