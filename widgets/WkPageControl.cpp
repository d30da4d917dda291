#include "widgets/WkPageControl.h"

#include <algorithm>
#include <cstdio>

#include "platform/gui/Forms.h"

namespace {

bool Inside(const TControl* control, const TWinControl* container) {
  for (const TControl* c = control; c; c = c->Parent())
    if (c == container) return true;
  return false;
}

}  // namespace

// --- sheet

TWkTabSheet::TWkTabSheet(TComponent* AOwner) : TCustomControl(AOwner) {
  TControl::SetVisible(false);
  SetAlign(alClient);
}

TWkTabSheet::~TWkTabSheet() {
  if (pageControl_) pageControl_->RemovePage(this);
}

void TWkTabSheet::SetPageControl(TWkPageControl* value) {
  if (value == pageControl_) return;
  if (pageControl_) pageControl_->RemovePage(this);
  SetParent(value);
  if (value) value->InsertPage(this);
}

int TWkTabSheet::PageIndex() const {
  if (!pageControl_) return -1;
  const auto& pages = pageControl_->pages_;
  return static_cast<int>(std::find(pages.begin(), pages.end(), this) - pages.begin());
}

void TWkTabSheet::SetPageIndex(int value) {
  if (!pageControl_) return;
  auto& pages = pageControl_->pages_;
  const int count = static_cast<int>(pages.size());
  if (value > count - 1) {
    char text[160];
    std::snprintf(text, sizeof text, SWkPageIndexError, value, count - 1);
    throw EWkTabControlError(text);
  }
  if (value < 0) throw EListError("List index out of bounds (" + std::to_string(value) + ")");
  const int old = PageIndex();
  pages.erase(pages.begin() + old);
  pages.insert(pages.begin() + value, this);
  pageControl_->UpdateTabData();
  pageControl_->DoTabOrderChange(old, value);
}

int TWkTabSheet::TabIndex() const {
  if (!tabVisible_) return -1;
  if (!pageControl_) return 0;
  int n = 0;
  for (TWkTabSheet* p : pageControl_->pages_) {
    if (p == this) return n;
    n += p->tabVisible_;
  }
  return -1;
}

void TWkTabSheet::SetTabEnabled(bool value) {
  if (value == tabEnabled_) return;
  tabEnabled_ = value;
  if (pageControl_) pageControl_->UpdateTab(this);
}

void TWkTabSheet::SetTabVisible(bool value) {
  if (value == tabVisible_) return;
  tabVisible_ = value;
  if (pageControl_) pageControl_->UpdateTab(this);
}

void TWkTabSheet::SetImageIndex(int value) {
  if (value == imageIndex_) return;
  imageIndex_ = value;
  if (pageControl_) pageControl_->UpdateTab(this);
}

void TWkTabSheet::SetDisabledIndex(int value) {
  if (value == disabledIndex_) return;
  disabledIndex_ = value;
  if (pageControl_) pageControl_->UpdateTab(this);
}

void TWkTabSheet::SetColor(TColor value) {
  if (value == Color()) return;
  if (pageControl_ && !pageControl_->UseColoredTabs() && value != pageControl_->Color())
    pageControl_->SetUseColoredTabs(true);
  TControl::SetColor(value);
  if (pageControl_) pageControl_->UpdateTab(this);
}

void TWkTabSheet::SetVisible(bool value) {
  (void)value;
  throw EWkTabControlError(SWkPageVisibleError);
}

void TWkTabSheet::SetShown(bool value) {
  if (value == Visible()) return;
  TControl::SetVisible(value);
  if (value && pageControl_) SetBoundsRect(pageControl_->DisplayRect());
  // A handler's exception is reported and goes no further than here.
  if (Application) Application->Guard(this, [&] { value ? DoShow() : DoHide(); });
}

void TWkTabSheet::DoShow() {
  if (OnShow) OnShow(this);
}

void TWkTabSheet::DoHide() {
  if (OnHide) OnHide(this);
}

void TWkTabSheet::TextChanged() {
  TCustomControl::TextChanged();
  if (pageControl_) pageControl_->UpdateTab(this);
}

void TWkTabSheet::AssignTo(TWkTabData& dest) const {
  dest.Caption = Caption();
  dest.Color = Color();
  dest.Enabled = tabEnabled_;
  dest.Visible = tabVisible_;
  dest.Hint = Hint();
  dest.ImageIndex = imageIndex_;
  dest.DisabledIndex = disabledIndex_;
}

void TWkTabSheet::DragOver(TControl* source, int x, int y, TDragState state, bool& accept) {
  TCustomControl::DragOver(source, x, y, state, accept);
  if (!accept && pageControl_ && pageControl_->DockSite())
    pageControl_->DragOver(source, x + Left(), y + Top(), state, accept);
}

void TWkTabSheet::DragDrop(TControl* source, int x, int y) {
  if (pageControl_ && pageControl_->DockSite() && !pageControl_->HostOf(source)) {
    pageControl_->DragDrop(source, x + Left(), y + Top());
    return;
  }
  TCustomControl::DragDrop(source, x, y);
}

void TWkTabSheet::ChildChanged(TControl* child, TChildChange change) {
  TCustomControl::ChildChanged(child, change);
  if (!pageControl_ || pageControl_->HostOf(child) != this) return;
  if (change == ccVisible) {
    SetTabVisible(child->Visible());
    return;
  }
  const std::string text = child->Caption();
  SetCaption(text.substr(0, text.find_first_of("\r\n")));
}

void TWkTabSheet::Paint() {
  const TRect r = GetClientRect();
  bool handled = false;
  if (OnPaintBackground) OnPaintBackground(this, Canvas(), r, handled);
  if (handled) return;
  Canvas().Brush().SetStyle(bsSolid);
  Canvas().Brush().SetColor(Color());
  Canvas().FillRect(r);
}

// --- page control

TWkPageControl::TWkPageControl(TComponent* AOwner) : TWkCustomTabControl(AOwner) {
  SetHeight(150);
  TWkCustomTabControl::SetUseColoredTabs(false);
}

TWkPageControl::~TWkPageControl() {
  // The pages' own destruction must not call back into a control that is going.
  for (TWkTabSheet* p : pages_) p->pageControl_ = nullptr;
  pages_.clear();
  activePage_ = nullptr;
}

TWkTabSheet* TWkPageControl::Pages(int index) const {
  if (index < 0 || index >= PageCount())
    throw EListError("List index out of bounds (" + std::to_string(index) + ")");
  return pages_[static_cast<size_t>(index)];
}

int TWkPageControl::ActivePageIndex() const { return activePage_ ? activePage_->PageIndex() : -1; }

void TWkPageControl::SetActivePageIndex(int index) {
  if (index >= 0 && index < PageCount())
    SetActivePage(pages_[static_cast<size_t>(index)]);
  else
    SetTabIndex(-1);
}

void TWkPageControl::SetActivePageDefault(TWkTabSheet* page) {
  if (activePageDefault_) activePageDefault_->RemoveFreeNotification(this);
  activePageDefault_ = page;
  if (page) page->FreeNotification(this);
}

void TWkPageControl::Notification(TComponent* component, TOperation operation) {
  TWkCustomTabControl::Notification(component, operation);
  if (operation == TOperation::opRemove && component == activePageDefault_)
    activePageDefault_ = nullptr;
}

void TWkPageControl::SetActivePage(TWkTabSheet* page) {
  if (page && page->pageControl_ != this) return;
  if (page) page->SetShown(true);
  if (IsLoading()) {
    activePage_ = page;
    return;
  }
  const int tab = page ? page->TabIndex() : -1;
  if (tab < 0) {
    ChangeActivePage(page);
    DoPageChange();
  } else if (tab == TabIndex()) {
    ChangeActivePage(page);  // the strip shows it already: nothing to ask
  }
  SetTabIndex(tab);
  // A refused selection leaves the page as it was: not shown beside the active one.
  if (page && page != activePage_) page->SetShown(false);
}

void TWkPageControl::ChangeActivePage(TWkTabSheet* page) {
  if (page == activePage_) return;
  TForm* form = ParentForm();
  if (form && activePage_ && form->ActiveControl() && Inside(form->ActiveControl(), activePage_))
    form->SetActiveControl(activePage_);
  if (page) {
    page->BringToFront();
    page->SetShown(true);
    if (form && activePage_ && form->ActiveControl() == activePage_)
      form->SetActiveControl(page->CanFocus() ? static_cast<TWinControl*>(page) : this);
  }
  if (activePage_) activePage_->SetShown(false);
  activePage_ = page;
  if (form && page && form->ActiveControl() == page) {
    const std::vector<TWinControl*> order = page->TabList();
    if (!order.empty() && order.front()->CanFocus()) form->SetActiveControl(order.front());
  }
}

void TWkPageControl::DoChanging(int newIndex, bool& allowChange) {
  if (!loading_) TWkCustomTabControl::DoChanging(newIndex, allowChange);
  if (allowChange) ChangeActivePage(PageForTabIndex(newIndex));
}

void TWkPageControl::DoChange() {
  if (!loading_) TWkCustomTabControl::DoChange();
}

void TWkPageControl::DoPageChange() {
  if (!loading_) TWkCustomTabControl::DoPageChange();
}

TWkTabSheet* TWkPageControl::FindNextPage(TWkTabSheet* curPage, bool goForward,
                                          bool checkTabVisible) const {
  const int count = PageCount();
  if (count == 0) return nullptr;
  auto at = std::find(pages_.begin(), pages_.end(), curPage);
  int start =
      at != pages_.end() ? static_cast<int>(at - pages_.begin()) : (goForward ? count - 1 : 0);
  int i = start;
  for (int k = 0; k < count; ++k) {
    i = goForward ? (i + 1) % count : (i + count - 1) % count;
    TWkTabSheet* p = pages_[static_cast<size_t>(i)];
    if (!checkTabVisible || p->tabVisible_) return p;
  }
  return nullptr;
}

void TWkPageControl::SelectNextPage(bool goForward) {
  if (TWkTabSheet* p = FindNextPage(activePage_, goForward, true)) SetActivePage(p);
}

TWkTabSheet* TWkPageControl::PageForTabIndex(int tabIndex) const {
  if (tabIndex < 0) return nullptr;
  for (TWkTabSheet* p : pages_)
    if (p->TabIndex() == tabIndex) return p;
  return nullptr;
}

void TWkPageControl::UpdateTabData() {
  Tabs().Clear();
  for (TWkTabSheet* p : pages_)
    if (p->tabVisible_) Tabs().Add(*p);
  if (activePage_) {
    // The strip follows the page on screen without asking OnChanging.
    const int tab = activePage_->TabIndex();
    if (tab != TabIndex()) SetTabIndexEx(tab, true);
  }
  TWkCustomTabControl::UpdateTabData();
}

void TWkPageControl::UpdateTab(TWkTabSheet* page) {
  (void)page;
  UpdateTabData();
}

void TWkPageControl::InsertPage(TWkTabSheet* page) {
  pages_.push_back(page);
  page->pageControl_ = this;
  UpdateTabData();
}

void TWkPageControl::RemovePage(TWkTabSheet* page) {
  if (page == activePage_) SetActivePage(nullptr);
  pages_.erase(std::remove(pages_.begin(), pages_.end(), page), pages_.end());
  docked_.erase(std::remove_if(docked_.begin(), docked_.end(),
                               [page](TControl* c) { return c->Parent() == page; }),
                docked_.end());
  UpdateTabData();
  page->pageControl_ = nullptr;
}

void TWkPageControl::CloseActiveTab() {
  if (!activePage_) return;
  const int remembered = TabIndex();
  delete activePage_;
  SetTabIndex(remembered == 0 ? 0 : remembered - 1);
}

void TWkPageControl::MoveActiveTab(int newIndex) {
  // The target is a tab index; pages without tabs may stand before it.
  TWkTabSheet* target = PageForTabIndex(newIndex);
  if (activePage_ && target) activePage_->SetPageIndex(target->PageIndex());
}

void TWkPageControl::HideAllTabs() {
  for (size_t i = 0; i < pages_.size(); ++i) pages_[i]->SetTabVisible(false);
}

void TWkPageControl::ShowAllTabs() {
  for (size_t i = 0; i < pages_.size(); ++i) pages_[i]->SetTabVisible(true);
}

void TWkPageControl::SetUseColoredTabs(bool value) {
  const bool turnedOff = UseColoredTabs() && !value;
  TWkCustomTabControl::SetUseColoredTabs(value);
  if (turnedOff && Parent()) ColorChanged();
}

void TWkPageControl::ColorChanged() {
  if (!UseColoredTabs()) {
    for (TWkTabSheet* p : pages_) p->TControl::SetColor(Color());
    if (!pages_.empty()) UpdateTabData();
  }
  TWkCustomTabControl::ColorChanged();
}

bool TWkPageControl::DoPaintCardBackground(TCanvas& canvas, int row, const TRect& rect) {
  if (TWkCustomTabControl::DoPaintCardBackground(canvas, row, rect)) return true;
  if (row != 0 || TabIndex() < 0 || !activePage_) return false;
  canvas.Brush().SetStyle(bsSolid);
  canvas.Brush().SetColor(activePage_->Color());
  canvas.FillRect(rect);
  return true;
}

void TWkPageControl::ShowControl(TControl* control) {
  auto it = std::find(pages_.begin(), pages_.end(), control);
  if (it != pages_.end()) SetActivePage(*it);
}

void TWkPageControl::Loaded() {
  TWkCustomTabControl::Loaded();
  loading_ = true;
  // Only measured: the whole layout would move the selection off a disabled first tab and
  // with it the page, while the stored page is still to be shown.
  MeasureTabs();
  SetTabIndexEx(-1, true);
  TWkTabSheet* show = activePage_;
  if (activePageDefault_ && activePageDefault_ != activePage_) {
    if (activePage_) activePage_->SetShown(false);
    show = activePageDefault_;
  }
  activePage_ = nullptr;
  UpdateTabData();
  SetActivePage(show);
  loading_ = false;
}

bool TWkPageControl::DialogKey(uint16_t key, TShiftState shift) {
  if (TWkCustomTabControl::DialogKey(key, shift)) return true;
  if (key != VK_TAB || !(shift & ssCtrl)) return false;
  TForm* form = ParentForm();
  TWinControl* active = form ? form->ActiveControl() : nullptr;
  if (!active || !Inside(active, this)) return false;
  SelectNextPage(!(shift & ssShift));
  return true;
}

void TWkPageControl::DoEnter() {
  TWkCustomTabControl::DoEnter();
  if (!activePage_ || activePage_->TabVisible()) return;
  for (int i = 0; i < activePage_->ControlCount(); ++i) {
    auto* child = dynamic_cast<TWinControl*>(activePage_->Controls(i));
    if (child && child->CanFocus()) {
      child->SetFocus();
      return;
    }
  }
}

// --- docking

TWkTabSheet* TWkPageControl::HostOf(const TControl* client) const {
  for (TControl* c : docked_)
    if (c == client) return dynamic_cast<TWkTabSheet*>(c->Parent());
  return nullptr;
}

TWkTabSheet* TWkPageControl::PageAtTab(int x, int y) {
  const int tab = TabAtPos(x, y);
  if (tab < 0) return nullptr;
  TWkTabSheet* p = nullptr;
  for (int i = 0; i <= tab; ++i) {
    p = FindNextPage(p, true, true);
    if (!p) return nullptr;
  }
  return p;
}

void TWkPageControl::DragOver(TControl* source, int x, int y, TDragState state, bool& accept) {
  TWkCustomTabControl::DragOver(source, x, y, state, accept);
  if (source == this || !dockSite_ || !source) return;
  accept =
      state != dsDragLeave && !HostOf(source) && !Inside(this, dynamic_cast<TWinControl*>(source));
}

void TWkPageControl::DragDrop(TControl* source, int x, int y) {
  if (source != this && dockSite_ && source && !HostOf(source)) {
    DockClient(source);
    return;
  }
  TWkCustomTabControl::DragDrop(source, x, y);
}

void TWkPageControl::DockClient(TControl* client) {
  newDockSheet_ = new TWkTabSheet(this);
  if (dynamic_cast<TForm*>(client)) newDockSheet_->SetCaption(client->Caption());
  newDockSheet_->SetPageControl(this);
  client->SetParent(newDockSheet_);
  docked_.push_back(client);
  newDockSheet_->SetTabVisible(client->Visible());
  if (client->Visible()) SetActivePage(newDockSheet_);
  client->SetAlign(alClient);
  newDockSheet_ = nullptr;
}

void TWkPageControl::UndockClient(TControl* client, TWinControl* newParent) {
  TWkTabSheet* host = HostOf(client);
  if (!host) return;
  undockingPage_ = host;
  client->SetAlign(alNone);
  docked_.erase(std::remove(docked_.begin(), docked_.end(), client), docked_.end());
  client->SetParent(newParent);
  if (!client->IsDestroying()) {
    SelectNextPage(true);
    delete undockingPage_;
  }
  undockingPage_ = nullptr;
}

void TWkPageControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  lastPress_ = Point(x, y);
  if (dockSite_ && button == mbLeft && !(shift & ssDouble)) {
    TWkTabSheet* page = PageAtTab(x, y);
    if (page && page->ControlCount() > 0 && HostOf(page->Controls(0))) {
      TWkCustomTabControl::MouseDown(button, shift, x, y);
      page->Controls(0)->BeginDrag(true);
      return;
    }
  }
  TWkCustomTabControl::MouseDown(button, shift, x, y);
}

void TWkPageControl::DblClick() {
  TWkCustomTabControl::DblClick();
  if (!dockSite_ || !dblClickUndocks_) return;
  TWkTabSheet* page = PageAtTab(lastPress_.X, lastPress_.Y);
  if (!page || page->ControlCount() == 0 || !HostOf(page->Controls(0))) return;
  TControl* client = page->Controls(0);
  // A floating window of its own, where the control was on the screen.
  auto* floating = new TForm(Owner() ? Owner() : this);
  floating->AfterConstruction();
  floating->SetCaption(page->Caption());
  const TPoint at = client->ClientToScreen(Point(0, 0));
  floating->SetBounds(at.X, at.Y, client->Width(), client->Height());
  UndockClient(client, floating);
  client->SetBounds(0, 0, floating->ClientWidth(), floating->ClientHeight());
  floating->Show();
}
