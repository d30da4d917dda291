// The tab control's properties, selection and events.
#include "widgets/WkTabControl.h"

#include <algorithm>

#include "platform/gui/Forms.h"
#include "widgets/WkTabButtons.h"

TWkCustomTabControl::TWkCustomTabControl(TComponent* AOwner)
    : TCustomControl(AOwner),
      tabColors_([this] { InvalidateTabShapes(); }),
      textColors_([this] { InvalidateTabShapes(); }),
      measure_(std::make_unique<TBitmap>(1, 1)) {
  SetBounds(Left(), Top(), 300, 100);
  SetTabStop(true);
  tabFont_.Assign(*Font());
  regions_.SetCapacity(1);
  hotTimer_ = new TTimer(this);
  hotTimer_->SetEnabled(false);
  hotTimer_->SetInterval(60);
  hotTimer_->OnTimer = [this](TComponent*) { HotTrackTick(); };
  imagesLink_.OnChange = [this] { UpdateTabData(); };
  imagesLink_.OnFree = [this] {
    images_ = nullptr;
    UpdateTabData();
  };
}

TWkCustomTabControl::~TWkCustomTabControl() {
  alive_.reset();
  if (hotTimer_) hotTimer_->SetEnabled(false);
  if (dragTimer_) dragTimer_->SetEnabled(false);
}

void TWkCustomTabControl::Loaded() {
  TCustomControl::Loaded();
  savedHint_ = Hint();
  SetLayoutDirty(true);
  // The initial index is always the first tab; stored directly, so selecting it again below
  // only brings rows, scrolling and the strip buttons in line, without events.
  tabIndex_ = 0;
  if (textOrientation_ == orVertical) ApplyTrueTypeRule();
  SetTabIndexEx(tabIndex_, false);
}

// --- layout flag and repainting

void TWkCustomTabControl::SetLayoutDirty(bool value) {
  layoutDirty_ = value;
  if (!value) return;
  Invalidate();
  PostLayout();
}

void TWkCustomTabControl::UpdateTabData() { SetLayoutDirty(true); }

void TWkCustomTabControl::InvalidateTabShapes() {
  Invalidate();
  if (scroller_) scroller_->Invalidate();
}

void TWkCustomTabControl::Resize() {
  // Also when the alignment engine sizes the control.
  TCustomControl::Resize();
  SetLayoutDirty(true);
}

void TWkCustomTabControl::ApplyFont() {
  TCustomControl::ApplyFont();
  tabFont_.Assign(*Font());
  if (measure_) SetLayoutDirty(true);
}

void TWkCustomTabControl::ColorChanged() {
  TCustomControl::ColorChanged();
  InvalidateTabShapes();
}

void TWkCustomTabControl::ParentColorChanged() {
  if (parentBackgroundColor_ && Parent()) backgroundColor_ = Parent()->Color();
  InvalidateTabShapes();
}

void TWkCustomTabControl::ApplyTrueTypeRule() {
  // Rotated captions need an outline face.
  if (IsTrueTypeFont(*Font())) return;
  TFont outline(*Font());
  outline.SetName("Verdana");
  SetFont(outline);
}

void TWkCustomTabControl::AdjustClientRect(TRect& rect) const { rect = DisplayRect(); }

void TWkCustomTabControl::AlignControls(TControl* control, TRect& rect) {
  PlaceStripButtons();
  TCustomControl::AlignControls(control, rect);
  lastDisplayRect_ = rect;
}

// --- setters

void TWkCustomTabControl::SetTabStyle(TWkTabStyle v) {
  if (StoreChanged(tabStyle_, v)) UpdateTabData();
}
void TWkCustomTabControl::SetTabOrientation(TWkTabOrientation v) {
  if (StoreChanged(tabOrientation_, v) && !IsLoading()) UpdateTabData();
}
void TWkCustomTabControl::SetTabSequence(TWkTabSequence v) {
  if (StoreChanged(tabSequence_, v)) UpdateTabData();
}
void TWkCustomTabControl::SetTextOrientation(TOrientation v) {
  if (!StoreChanged(textOrientation_, v)) return;
  if (!IsLoading()) ApplyTrueTypeRule();
  UpdateTabData();
}
void TWkCustomTabControl::SetTabWidth(int v) {
  if (v >= 0 && StoreChanged(tabWidth_, v)) UpdateTabData();
}
void TWkCustomTabControl::SetTabHeight(int v) {
  if (v >= 0 && StoreChanged(tabHeight_, v)) UpdateTabData();
}
void TWkCustomTabControl::SetTabOverlap(int v) {
  if (StoreChanged(tabOverlap_, v)) UpdateTabData();
}
void TWkCustomTabControl::SetCutCornerSize(int v) {
  if (v >= 0 && StoreChanged(cutCornerSize_, v) && tabStyle_ == tsCutCorner) UpdateTabData();
}
void TWkCustomTabControl::SetSoftCorners(bool v) {
  if (StoreChanged(softCorners_, v)) UpdateTabData();
}
void TWkCustomTabControl::SetMultiLine(bool v) {
  if (StoreChanged(multiLine_, v)) UpdateTabData();
}
void TWkCustomTabControl::SetRowIndent(int v) {
  if (StoreChanged(rowIndent_, v)) UpdateTabData();
}
void TWkCustomTabControl::SetRowOverlap(int v) {
  if (StoreChanged(rowOverlap_, v)) UpdateTabData();
}
void TWkCustomTabControl::SetAlignTabs(bool v) {
  if (StoreChanged(alignTabs_, v)) UpdateTabData();
}
void TWkCustomTabControl::SetMargin(int v) {
  if (v >= 0 && StoreChanged(margin_, v)) UpdateTabData();
}
void TWkCustomTabControl::SetBoldCurrentTab(bool v) {
  if (StoreChanged(boldCurrentTab_, v)) UpdateTabData();
}
void TWkCustomTabControl::SetShowCardFrame(bool v) {
  if (StoreChanged(showCardFrame_, v)) UpdateTabData();
}
void TWkCustomTabControl::SetShowFullFrame(bool v) {
  if (!StoreChanged(showFullFrame_, v)) return;
  if (!v) showShadow_ = false;  // a shadow needs the full frame
  UpdateTabData();
}
void TWkCustomTabControl::SetShowShadow(bool v) {
  if (!StoreChanged(showShadow_, v)) return;
  if (v) showFullFrame_ = true;
  UpdateTabData();
}
void TWkCustomTabControl::SetShowFocusRect(bool v) {
  if (StoreChanged(showFocusRect_, v)) InvalidateTabShapes();
}
void TWkCustomTabControl::SetShowCloseButton(bool v) {
  if (!StoreChanged(showCloseButton_, v)) return;
  EnsureStripButtons();
  UpdateTabData();
}
void TWkCustomTabControl::SetShowMenuButton(bool v) {
  if (!StoreChanged(showMenuButton_, v)) return;
  EnsureStripButtons();
  UpdateTabData();
}
void TWkCustomTabControl::SetHotTrack(bool v) {
  if (!StoreChanged(hotTrack_, v)) return;
  StopHotTimerIfIdle();
  InvalidateTabShapes();
}
void TWkCustomTabControl::SetHotTrackColor(TColor v) {
  if (StoreChanged(hotTrackColor_, v)) InvalidateTabShapes();
}
void TWkCustomTabControl::SetHotTrackColorType(TWkHotTrackColorType v) {
  if (StoreChanged(hotTrackColorType_, v)) InvalidateTabShapes();
}
void TWkCustomTabControl::SetHotTrackStyle(TWkTabHotTrackStyle v) {
  if (StoreChanged(hotTrackStyle_, v)) InvalidateTabShapes();
}
void TWkCustomTabControl::SetTabHints(bool v) {
  if (StoreChanged(tabHints_, v)) StopHotTimerIfIdle();
}
void TWkCustomTabControl::SetImages(TImageList* v) {
  if (v == images_) return;
  if (images_) images_->UnRegisterChanges(&imagesLink_);
  images_ = v;
  if (images_) images_->RegisterChanges(&imagesLink_);
  UpdateTabData();
}
void TWkCustomTabControl::SetImagePosition(TWkImagePosition v) {
  if (StoreChanged(imagePosition_, v)) UpdateTabData();
}
void TWkCustomTabControl::SetImageAlignment(TWkHorizontalAlignment v) {
  if (StoreChanged(imageAlignment_, v)) UpdateTabData();
}
void TWkCustomTabControl::SetImageAlignmentVertical(TWkVerticalAlignment v) {
  if (StoreChanged(imageAlignmentVertical_, v)) UpdateTabData();
}
void TWkCustomTabControl::SetTextAlignment(TWkHorizontalAlignment v) {
  if (StoreChanged(textAlignment_, v)) UpdateTabData();
}
void TWkCustomTabControl::SetTextAlignmentVertical(TWkVerticalAlignment v) {
  if (StoreChanged(textAlignmentVertical_, v)) UpdateTabData();
}
void TWkCustomTabControl::SetImageMargin(int v) {
  if (v >= 0 && StoreChanged(imageMargin_, v)) UpdateTabData();
}
void TWkCustomTabControl::SetBackgroundColor(TColor v) {
  parentBackgroundColor_ = false;
  if (StoreChanged(backgroundColor_, v)) InvalidateTabShapes();
}
void TWkCustomTabControl::SetParentBackgroundColor(bool v) {
  if (StoreChanged(parentBackgroundColor_, v) && v) ParentColorChanged();
}
void TWkCustomTabControl::SetTransparent(bool v) {
  if (StoreChanged(transparent_, v)) InvalidateTabShapes();
}
void TWkCustomTabControl::SetUseGradients(bool v) {
  if (StoreChanged(useGradients_, v)) InvalidateTabShapes();
}
void TWkCustomTabControl::SetUseColoredTabs(bool v) {
  if (StoreChanged(useColoredTabs_, v)) InvalidateTabShapes();
}
void TWkCustomTabControl::SetFlatColor(TColor v) {
  if (!StoreChanged(flatColor_, v)) return;
  UpdateButtonColors();
  InvalidateTabShapes();
}
void TWkCustomTabControl::SetFlatColorAdjustment(int v) {
  if (!StoreChanged(flatColorAdjustment_, v)) return;
  UpdateButtonColors();
  InvalidateTabShapes();
}
void TWkCustomTabControl::SetRegionCacheCapacity(int v) {
  if (v == 0 || v < -1) return;
  regions_.SetCapacity(v);
}
void TWkCustomTabControl::SetShowCard(bool v) {
  if (StoreChanged(showCard_, v)) UpdateTabData();
}

// --- selection

bool TWkCustomTabControl::CanSelectTab(int index) {
  if (index < 0 || index >= tabs_.Count()) return false;
  const TWkTabData* t = tabs_.Items(index);
  if (!t->Visible || !t->Enabled) return false;
  bool allow = true;
  DoChanging(index, allow);
  return allow;
}

void TWkCustomTabControl::SetTabIndexEx(int value, bool skipChanging) {
  if (IsLoading()) {
    tabIndex_ = value;
    return;
  }
  auto repaintButtons = [this] {
    if (closeButton_) closeButton_->Invalidate();
    if (menuButton_) menuButton_->Invalidate();
  };
  if (value < 0 || value >= tabs_.Count()) {
    tabIndex_ = -1;
    InvalidateTabShapes();
    repaintButtons();
    return;
  }
  if (value != tabIndex_ && !skipChanging && !CanSelectTab(value)) {
    repaintButtons();
    return;
  }
  const int old = tabIndex_;
  tabIndex_ = value;
  if (multiLine_)
    RotateRows();
  else
    ScrollIntoView(value);
  InvalidateTabShapes();
  if (old != value) {
    DoChange();
    DoPageChange();
  }
  repaintButtons();
}

void TWkCustomTabControl::CloseCurrentTab() {
  if (tabIndex_ != -1 && CanClose()) CloseActiveTab();
}

bool TWkCustomTabControl::CanClose() {
  bool allow = false;
  if (OnClose) OnClose(this, allow);
  return allow;
}

// --- event hooks

void TWkCustomTabControl::DoChanging(int newIndex, bool& allowChange) {
  if (OnChanging) OnChanging(this, newIndex, allowChange);
}
void TWkCustomTabControl::DoChange() {
  if (OnChange) OnChange(this);
}
void TWkCustomTabControl::DoPageChange() {
  if (OnPageChange) OnPageChange(this);
}
void TWkCustomTabControl::DoTabClick() {
  if (OnTabClick) OnTabClick(this);
}
void TWkCustomTabControl::DoTabOrderChange(int oldIndex, int newIndex) {
  if (OnTabOrderChange) OnTabOrderChange(this, oldIndex, newIndex);
}
TColor TWkCustomTabControl::DoGetTextColor(int tabIndex, TWkTextStyle style, TColor color) {
  bool handled = false;
  if (OnGetTextColor) OnGetTextColor(this, tabIndex, style, color, handled);
  return color;
}
bool TWkCustomTabControl::DoPaintBackground(TCanvas& canvas, const TRect& rect) {
  bool handled = false;
  if (OnPaintBackground) OnPaintBackground(this, canvas, rect, handled);
  return handled;
}
bool TWkCustomTabControl::DoPaintCardBackground(TCanvas& canvas, int row, const TRect& rect) {
  bool handled = false;
  if (OnPaintCardBackground) OnPaintCardBackground(this, canvas, row, rect, handled);
  return handled;
}
bool TWkCustomTabControl::DoPaintTabBackground(TCanvas& canvas, int tabIndex, const TRect& rect) {
  bool handled = false;
  if (OnPaintTabBackground) OnPaintTabBackground(this, canvas, tabIndex, rect, handled);
  return handled;
}
