// The kit's owner-drawn tab strip: lays its tabs out in one scrolling row or in several rows,
// gives each a polygon shape in one of five styles on any side of the control, paints tabs,
// card and background into one off-screen picture, and handles selection by mouse, keys and
// accelerators, hot tracking, tab hints, tab dragging and the three strip buttons. It holds
// no pages: a descendant fills the tab data list and calls UpdateTabData after each change.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/gui/CustomControl.h"
#include "platform/gui/ExtCtrls.h"
#include "widgets/WkCommon.h"
#include "widgets/WkTabData.h"

enum TWkTabStyle { tsSingleSlant, tsDoubleSlant, tsCutCorner, tsRoundCorners, tsBackSlant };
enum TWkTabOrientation { toTop, toLeft, toBottom, toRight };
enum TWkTabSequence { tsStandard, tsReverse };
enum TWkTabHotTrackStyle { htsTab, htsText };
enum TWkImagePosition { ipLeft, ipTop, ipRight, ipBottom, ipBack, ipStretch };
enum TWkHorizontalAlignment { haLeft, haCenter, haRight };
enum TWkVerticalAlignment { vaTop, vaCenter, vaBottom };
enum TWkTextStyle { tsHotTrack, tsSelected, tsUnselected, tsDisabledHighlight, tsDisabledShadow };

class TWkTabScroller;
class TWkTabCloseButton;
class TWkTabMenuButton;
class TImageList;

using TWkTabChangingEvent =
    std::function<void(TComponent* Sender, int NewIndex, bool& AllowChange)>;
using TWkTabCloseEvent = std::function<void(TComponent* Sender, bool& AllowClose)>;
using TWkTabOrderChangeEvent = std::function<void(TComponent* Sender, int OldIndex, int NewIndex)>;
using TWkGetTextColorEvent = std::function<void(
    TComponent* Sender, int ATabIndex, TWkTextStyle AStyle, TColor& AColor, bool& Handled)>;
using TWkPaintBackgroundEvent =
    std::function<void(TComponent* Sender, TCanvas& ACanvas, const TRect& ARect, bool& Handled)>;
using TWkPaintCardBackgroundEvent = std::function<void(
    TComponent* Sender, TCanvas& ACanvas, int ARow, const TRect& ARect, bool& Handled)>;
using TWkPaintTabBackgroundEvent = std::function<void(
    TComponent* Sender, TCanvas& ACanvas, int ATabIndex, const TRect& ARect, bool& Handled)>;

class TWkCustomTabControl : public TCustomControl {
 public:
  explicit TWkCustomTabControl(TComponent* AOwner);
  ~TWkCustomTabControl() override;

  // --- selection and hit testing
  int TabIndex() const { return tabIndex_; }
  void SetTabIndex(int value) { SetTabIndexEx(value, false); }
  // The tab under a client point on the layout as it stands (none is forced), or -1.
  int TabAtPos(int x, int y);
  // Flags the layout for measuring again; it runs from a posted call (or, failing that, at
  // the start of the next paint).
  virtual void UpdateTabData();
  virtual void InvalidateTabShapes();
  // Runs a pending layout now.
  void UpdateLayout();
  bool LayoutDirty() const { return layoutDirty_; }
  void CloseCurrentTab();
  TWkTabDataList& Tabs() { return tabs_; }
  int TabCount() const { return tabs_.Count(); }

  // --- look (setters store a change, then re-lay out or only repaint)
  TWkTabStyle TabStyle() const { return tabStyle_; }
  virtual void SetTabStyle(TWkTabStyle v);
  TWkTabOrientation TabOrientation() const { return tabOrientation_; }
  virtual void SetTabOrientation(TWkTabOrientation v);
  TWkTabSequence TabSequence() const { return tabSequence_; }
  virtual void SetTabSequence(TWkTabSequence v);
  TOrientation TextOrientation() const { return textOrientation_; }
  virtual void SetTextOrientation(TOrientation v);
  int TabWidth() const { return tabWidth_; }
  virtual void SetTabWidth(int v);
  int TabHeight() const { return tabHeight_; }
  virtual void SetTabHeight(int v);
  int TabOverlap() const { return tabOverlap_; }
  virtual void SetTabOverlap(int v);
  int CutCornerSize() const { return cutCornerSize_; }
  virtual void SetCutCornerSize(int v);
  bool SoftCorners() const { return softCorners_; }
  virtual void SetSoftCorners(bool v);
  bool MultiLine() const { return multiLine_; }
  virtual void SetMultiLine(bool v);
  int RowIndent() const { return rowIndent_; }
  virtual void SetRowIndent(int v);
  int RowOverlap() const { return rowOverlap_; }
  virtual void SetRowOverlap(int v);
  bool AlignTabs() const { return alignTabs_; }
  virtual void SetAlignTabs(bool v);
  int Margin() const { return margin_; }
  virtual void SetMargin(int v);
  bool BoldCurrentTab() const { return boldCurrentTab_; }
  virtual void SetBoldCurrentTab(bool v);
  bool ShowCardFrame() const { return showCardFrame_; }
  virtual void SetShowCardFrame(bool v);
  bool ShowFullFrame() const { return showFullFrame_; }
  virtual void SetShowFullFrame(bool v);
  bool ShowShadow() const { return showShadow_; }
  virtual void SetShowShadow(bool v);
  bool ShowFocusRect() const { return showFocusRect_; }
  virtual void SetShowFocusRect(bool v);
  bool ShowCloseButton() const { return showCloseButton_; }
  virtual void SetShowCloseButton(bool v);
  bool ShowMenuButton() const { return showMenuButton_; }
  virtual void SetShowMenuButton(bool v);
  bool HotTrack() const { return hotTrack_; }
  virtual void SetHotTrack(bool v);
  TColor HotTrackColor() const { return hotTrackColor_; }
  virtual void SetHotTrackColor(TColor v);
  TWkHotTrackColorType HotTrackColorType() const { return hotTrackColorType_; }
  virtual void SetHotTrackColorType(TWkHotTrackColorType v);
  TWkTabHotTrackStyle HotTrackStyle() const { return hotTrackStyle_; }
  virtual void SetHotTrackStyle(TWkTabHotTrackStyle v);
  bool TabHints() const { return tabHints_; }
  virtual void SetTabHints(bool v);
  TImageList* Images() const { return images_; }
  virtual void SetImages(TImageList* v);
  TWkImagePosition ImagePosition() const { return imagePosition_; }
  virtual void SetImagePosition(TWkImagePosition v);
  TWkHorizontalAlignment ImageAlignment() const { return imageAlignment_; }
  virtual void SetImageAlignment(TWkHorizontalAlignment v);
  TWkVerticalAlignment ImageAlignmentVertical() const { return imageAlignmentVertical_; }
  virtual void SetImageAlignmentVertical(TWkVerticalAlignment v);
  TWkHorizontalAlignment TextAlignment() const { return textAlignment_; }
  virtual void SetTextAlignment(TWkHorizontalAlignment v);
  TWkVerticalAlignment TextAlignmentVertical() const { return textAlignmentVertical_; }
  virtual void SetTextAlignmentVertical(TWkVerticalAlignment v);
  int ImageMargin() const { return imageMargin_; }
  virtual void SetImageMargin(int v);
  // Follows the parent's colour while ParentBackgroundColor is set.
  TColor BackgroundColor() const;
  virtual void SetBackgroundColor(TColor v);
  bool ParentBackgroundColor() const { return parentBackgroundColor_; }
  virtual void SetParentBackgroundColor(bool v);
  bool Transparent() const { return transparent_; }
  virtual void SetTransparent(bool v);
  bool UseGradients() const { return useGradients_; }
  virtual void SetUseGradients(bool v);
  bool UseColoredTabs() const { return useColoredTabs_; }
  virtual void SetUseColoredTabs(bool v);
  TColor FlatColor() const { return flatColor_; }
  virtual void SetFlatColor(TColor v);
  int FlatColorAdjustment() const { return flatColorAdjustment_; }
  virtual void SetFlatColorAdjustment(int v);
  TWkTabColors& TabColors() { return tabColors_; }
  TWkTextColors& TextColors() { return textColors_; }
  bool AllowTabDragging() const { return allowTabDragging_; }
  void SetAllowTabDragging(bool v) { allowTabDragging_ = v; }
  int RegionCacheCapacity() const { return regions_.Capacity(); }
  virtual void SetRegionCacheCapacity(int v);
  bool ShowCard() const { return showCard_; }
  virtual void SetShowCard(bool v);

  // --- layout results
  int FirstTab() const { return firstTab_; }
  int FixedDimension() const { return fixedDimension_; }
  // As read from a stored window description; the next layout measures it again.
  void SetFixedDimension(int v) { fixedDimension_ = v; }
  int RowCount() const { return rowCount_; }
  bool ScrollerNeeded() const { return scrollerNeeded_; }
  int HotTab() const { return hotTab_; }
  // Tab area, strip length and strip-button size of the current layout.
  TRect TabArea() const;
  int StripLength() const;
  int ButtonSize() const { return buttonSize_; }
  // A tab's rectangle in strip coordinates (laid out, shifted by its row's indent) and in
  // client coordinates, and its outline points (client).
  TRect TabStripRect(int index) const;
  TRect TabClientRect(int index) const;
  std::vector<TPoint> TabShape(int index) const;
  const TRegion* TabRegion(int index);
  bool TabWhollyShown(int index) const;
  // The card of a row, client coordinates (empty when it has none).
  TRect CalcPageRect(int row) const;
  TRect DisplayRect() const;
  // Scrolls the strip one tab, as the scroller's halves do.
  void ScrollForward();
  void ScrollBackward();
  // The drop indicator being shown (empty when none) and the tab it marks.
  TRect DropIndicatorRect() const { return dropIndicator_; }
  int DropTarget() const { return dropTarget_; }

  TWkTabScroller* Scroller() const { return scroller_; }
  TWkTabCloseButton* CloseButton() const { return closeButton_; }
  TWkTabMenuButton* MenuButton() const { return menuButton_; }
  TTimer* HotTrackTimer() const { return hotTimer_; }
  TTimer* DragScrollTimer() const { return dragTimer_; }

  // --- events
  TWkTabChangingEvent OnChanging;
  TNotifyEvent OnChange;
  TNotifyEvent OnPageChange;
  TNotifyEvent OnTabClick;
  TWkTabCloseEvent OnClose;
  TWkTabOrderChangeEvent OnTabOrderChange;
  TWkGetTextColorEvent OnGetTextColor;
  TWkPaintBackgroundEvent OnPaintBackground;
  TWkPaintCardBackgroundEvent OnPaintCardBackground;
  TWkPaintTabBackgroundEvent OnPaintTabBackground;

  // --- control entry points
  void Loaded() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  bool KeyDown(uint16_t& key, TShiftState shift) override;
  // An accelerator typed in the window: true when a tab took it.
  bool DialogChar(char key) override;
  bool WantsArrows() const override { return true; }
  void DragOver(TControl* source, int x, int y, TDragState state, bool& accept) override;
  void DragDrop(TControl* source, int x, int y) override;
  void DoEndDrag(TControl* target, int x, int y) override;
  void Resize() override;
  void AdjustClientRect(TRect& rect) const override;
  void AlignControls(TControl* control, TRect& rect) override;
  void DoEnter() override;
  void DoExit() override;
  // Hot-track timer tick: hot tracking ends once the cursor left the tabs.
  void HotTrackTick();
  void DragScrollTick();
  // The colour of the parent changed (the control follows it with ParentBackgroundColor).
  void ParentColorChanged();

  virtual bool CanClose();
  // Whether the tab can become current (visible, enabled, OnChanging agrees).
  bool CanSelectTab(int index);

 protected:
  virtual void DoChanging(int newIndex, bool& allowChange);
  virtual void DoChange();
  virtual void DoPageChange();
  virtual void DoTabClick();
  virtual void DoTabOrderChange(int oldIndex, int newIndex);
  virtual TColor DoGetTextColor(int tabIndex, TWkTextStyle style, TColor color);
  virtual bool DoPaintBackground(TCanvas& canvas, const TRect& rect);
  virtual bool DoPaintCardBackground(TCanvas& canvas, int row, const TRect& rect);
  virtual bool DoPaintTabBackground(TCanvas& canvas, int tabIndex, const TRect& rect);
  virtual void DrawDragMarker(TCanvas& canvas, const TRect& rect);
  virtual void CloseActiveTab() {}
  virtual void MoveActiveTab(int newIndex) { (void)newIndex; }
  virtual void HideAllTabs() {}
  virtual void ShowAllTabs() {}
  virtual void SetLayoutDirty(bool value);
  void SetTabIndexEx(int value, bool skipChanging);
  // Measures the tabs and their cross size (FixedDimension) without placing them.
  void MeasureTabs();
  void Paint() override;
  void ColorChanged() override;
  void ApplyFont() override;

 private:
  friend class TWkTabPainter;
  struct TTabPlan;
  // The layout, step by step.
  void LayoutTabs();
  void MeasureTabs(TTabPlan& plan);
  void MeasureLengths(TTabPlan& plan) const;
  void MeasureButtonSize();
  int TabLengthOf(int along, int cross) const;
  int TabCrossOf(int cross) const;
  bool PlaceInRows(TTabPlan& plan, bool wrap) const;
  void CountAndPlaceRows(TTabPlan& plan);
  void SetTabRects(const TTabPlan& plan);
  void StretchRows(const TTabPlan& plan);
  void RunFromFarEnd();
  void DecideScroller();
  void ChooseFirstTab();
  void KeepSelectableTab();
  void PostLayout();
  int RunOf(int value) const;
  int SideRun() const;
  int StripButtonsSpace() const;
  int VisibleCount() const;
  int FirstVisible() const;
  int LastVisible() const;
  int RowsExtent() const;
  // The tab area's extent across the strip: the rows' extent, or the whole control without
  // the card.
  int TabAreaExtent() const;
  int RowY(int row) const;
  int ScrollOffset() const;
  TPoint StripToClient(int x, int y) const;
  TRect StripRectToClient(const TRect& r) const;
  bool WhollyShownWith(int index, int firstTab) const;
  void RotateRows();
  void ScrollIntoView(int index);
  void EnsureStripButtons();
  void PlaceStripButtons();
  void UpdateButtonColors();
  void CancelHotTrack(bool restoreHint);
  void StopHotTimerIfIdle();
  void SetDropIndicator(int target);
  void StopDragScroll();
  TSize ContentSize(int index, bool bold);
  TSize SampleSize(TFont& font);
  void ApplyTrueTypeRule();
  bool InTabArea(int x, int y) const;

  TWkTabDataList tabs_;
  TWkTabRegionCache regions_;
  TWkTabColors tabColors_;
  TWkTextColors textColors_;
  TFont tabFont_;
  std::unique_ptr<TBitmap> measure_;  // a canvas for measuring texts outside painting
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);

  int tabIndex_ = -1;
  TWkTabStyle tabStyle_ = tsSingleSlant;
  TWkTabOrientation tabOrientation_ = toTop;
  TWkTabSequence tabSequence_ = tsStandard;
  TOrientation textOrientation_ = orHorizontal;
  int tabWidth_ = 0, tabHeight_ = 0, tabOverlap_ = -1, cutCornerSize_ = 6;
  bool softCorners_ = false, multiLine_ = false;
  int rowIndent_ = 5, rowOverlap_ = 5;
  bool alignTabs_ = false;
  int margin_ = 0;
  bool boldCurrentTab_ = false;
  bool showCardFrame_ = true, showFullFrame_ = true, showShadow_ = true, showFocusRect_ = true;
  bool showCloseButton_ = false, showMenuButton_ = false;
  bool hotTrack_ = true;
  TColor hotTrackColor_ = 0x00149BF0;
  TWkHotTrackColorType hotTrackColorType_ = htctActual;
  TWkTabHotTrackStyle hotTrackStyle_ = htsTab;
  bool tabHints_ = false;
  TImageList* images_ = nullptr;
  TChangeLink imagesLink_;  // new images measure again; a freed list is forgotten
  TWkImagePosition imagePosition_ = ipLeft;
  TWkHorizontalAlignment imageAlignment_ = haCenter, textAlignment_ = haCenter;
  TWkVerticalAlignment imageAlignmentVertical_ = vaCenter, textAlignmentVertical_ = vaCenter;
  int imageMargin_ = 2;
  TColor backgroundColor_ = clBtnFace;
  bool parentBackgroundColor_ = true;
  bool transparent_ = false, useGradients_ = true, useColoredTabs_ = false;
  TColor flatColor_ = clBtnShadow;
  int flatColorAdjustment_ = 0;
  bool allowTabDragging_ = false;

  bool layoutDirty_ = true;
  bool layoutPosted_ = false;
  bool inLayout_ = false;
  int firstTab_ = -1;
  int fixedDimension_ = 0;
  int rowCount_ = 1;
  int buttonSize_ = 0;
  bool scrollerNeeded_ = false;
  TWkTabScroller* scroller_ = nullptr;
  TWkTabCloseButton* closeButton_ = nullptr;
  TWkTabMenuButton* menuButton_ = nullptr;
  int hotTab_ = -1;
  std::string savedHint_;
  TTimer* hotTimer_ = nullptr;
  int dragSource_ = -1;
  TTimer* dragTimer_ = nullptr;
  unsigned dragFirstDelay_ = 400, dragRepeatDelay_ = 300;
  int dropTarget_ = -1;
  TRect dropIndicator_;
  bool showCard_ = true;
  TRect lastDisplayRect_;
};
