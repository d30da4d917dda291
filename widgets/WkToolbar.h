// Tool bars: the flat tool button with its image states, drop-down menu and groups; the bar
// that lays its controls out in rows in the order of its own list and sizes itself; the list;
// and the overflow button that offers the buttons that do not fit in a pop-up.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/gui/CustomControl.h"
#include "platform/gui/Menus.h"
#include "widgets/WkButtons.h"
#include "widgets/WkPanel.h"
#include "widgets/WkPopup.h"

// Kit messages a bar sends its children when a setting they may follow changes.
constexpr unsigned CM_TOOLBARSHOWCAPTIONCHANGED = CM_BASE + 1002;
constexpr unsigned CM_TOOLBARBUTTONLAYOUTCHANGED = CM_BASE + 1003;
constexpr unsigned CM_TOOLBARBUTTONSIZECHANGED = CM_BASE + 1004;
constexpr unsigned CM_TOOLBARVISUALSTYLECHANGED = CM_BASE + 1005;
// A grouped tool button went down: WParam the group, LParam the button.
constexpr unsigned CM_BUTTONPRESSED = CM_BASE + 1001;

enum TWkToolStyle { tsButton, tsDropDown };
enum TWkToolbarTextOptions {
  ttoNoTextLabels,
  ttoShowTextLabels,
  ttoSelectiveTextOnRight,
  ttoCustom
};

// Width of a drop-down part, and of the overflow button.
constexpr int kDropDownPartWidth = 14;

class TWkToolbar;

// A window-less flat button for tool bars.
class TWkToolButton : public TGraphicControl {
 public:
  explicit TWkToolButton(TComponent* AOwner);
  ~TWkToolButton() override;

  bool AllowAllUp() const { return allowAllUp_; }
  void SetAllowAllUp(bool value);
  bool Down() const { return down_; }
  void SetDown(bool value);
  bool Flat() const { return flat_; }
  void SetFlat(bool value);
  int GroupIndex() const { return groupIndex_; }
  void SetGroupIndex(int value);
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int value) { StoreLook(imageIndex_, value); }
  int DownIndex() const { return downIndex_; }
  void SetDownIndex(int value) { StoreLook(downIndex_, value); }
  int DisabledIndex() const { return disabledIndex_; }
  void SetDisabledIndex(int value) { StoreLook(disabledIndex_, value); }
  int HotIndex() const { return hotIndex_; }
  void SetHotIndex(int value) { StoreLook(hotIndex_, value); }
  // Its own list, or nullptr (then the bar's is used).
  TImageList* Images() const { return images_; }
  void SetImages(TImageList* value);
  // The list images come from: its own, else the parent bar's.
  TImageList* ImageSource() const;
  TButtonLayout Layout() const { return layout_; }
  void SetLayout(TButtonLayout value);
  TPopupMenu* DropDownMenu() const { return dropDownMenu_; }
  void SetDropDownMenu(TPopupMenu* value);
  TWkToolStyle ToolStyle() const { return toolStyle_; }
  void SetToolStyle(TWkToolStyle value);
  bool ShowCaption() const { return showCaption_; }
  void SetShowCaption(bool value);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool value) { StoreLook(transparent_, value); }
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value) { StoreLook(alignment_, value); }
  TWkVisualStyle VisualStyle() const { return visualStyle_; }
  void SetVisualStyle(TWkVisualStyle value);
  TWkGradientColorStyle GradientColorStyle() const { return gradientColorStyle_; }
  void SetGradientColorStyle(TWkGradientColorStyle value) { StoreLook(gradientColorStyle_, value); }
  TColor SelectionColorStart() const { return selectionColorStart_; }
  void SetSelectionColorStart(TColor value) { StoreLook(selectionColorStart_, value); }
  TColor SelectionColorStop() const { return selectionColorStop_; }
  void SetSelectionColorStop(TColor value) { StoreLook(selectionColorStop_, value); }
  TColor SelectionFrameColor() const { return selectionFrameColor_; }
  void SetSelectionFrameColor(TColor value) { StoreLook(selectionFrameColor_, value); }
  bool UseToolbarButtonLayout() const { return useLayout_; }
  void SetUseToolbarButtonLayout(bool value);
  bool UseToolbarButtonSize() const { return useSize_; }
  void SetUseToolbarButtonSize(bool value);
  bool UseToolbarShowCaption() const { return useCaption_; }
  void SetUseToolbarShowCaption(bool value);
  bool UseToolbarVisualStyle() const { return useStyle_; }
  void SetUseToolbarVisualStyle(bool value);

  // 0 up, 1 disabled, 2 being pressed, 3 sticky down, 4 dropped down.
  std::uint8_t ButtonState() const { return state_; }
  bool Dragging() const { return dragging_; }
  bool MouseInControl() const { return mouseInControl_; }
  bool DroppingDown() const { return droppingDown_; }
  TNotifyEvent OnDropDown;

  // Sends the four bar messages to itself.
  void SyncWithToolbar();
  // Pops the drop-down menu up under the button; returns once it closed.
  virtual void ShowDropDownMenu();
  void Click() override;
  void SetBounds(int left, int top, int width, int height) override;
  void SetParent(TWinControl* parent) override;
  void Loaded() override;
  void WndProc(TMessage& message) override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseEnter() override;
  void MouseLeave() override;
  void ActionChange(TBasicAction* sender) override;
  // The action takes Down as Checked and the image index.
  void AssignTo(TBasicAction* action) const;

  // Image and caption rectangles for the current size, state and caption.
  void CalcLayout(TRect& imageRect, TRect& textRect);
  TSize GetImageSize() const;
  // The drop-down part: its last 14 columns, at the left end right to left. The one
  // rectangle a press falls on and the part's frame, separator and arrow are drawn in.
  TRect DropDownPartRect() const;
  bool OnDropDownPart(int x) const;

 protected:
  void Paint() override;
  void TextChanged() override;
  void Notification(TComponent* component, TOperation operation) override;
  virtual TRect DrawButtonFace(TRect rect);
  virtual void DrawImage(const TRect& rect);
  virtual void DrawDropDownPart();
  virtual void DrawCaption(const TRect& rect);
  template <class T>
  bool StoreLook(T& field, T value) {
    if (field == value) return false;
    field = value;
    Invalidate();
    return true;
  }
  TWkToolbar* ParentToolbar() const;

 private:
  bool DropsFromAnywhere() const;
  bool FlatLook() const { return visualStyle_ != vsClassic || flat_; }
  bool PressedDisplay() const;
  void UpdateExclusive();
  void UpdateTracking(int x, int y);
  void SetSizeFromToolbar();
  void SetBoundsKeepingSize(int left, int top, int width, int height);
  void GetSelection(TColor& frame, TColor& start, TColor& stop) const;

  bool allowAllUp_ = false;
  bool down_ = false;
  bool flat_ = true;
  int groupIndex_ = 0;
  int imageIndex_ = -1, downIndex_ = -1, disabledIndex_ = -1, hotIndex_ = -1;
  TImageList* images_ = nullptr;
  TChangeLink imagesLink_;
  TButtonLayout layout_ = blGlyphLeft;
  TPopupMenu* dropDownMenu_ = nullptr;
  TWkToolStyle toolStyle_ = tsButton;
  bool showCaption_ = false;
  bool transparent_ = true;
  TAlignment alignment_ = taCenter;
  TWkVisualStyle visualStyle_ = vsWinXP;
  TWkGradientColorStyle gradientColorStyle_ = gcsSystem;
  TColor selectionColorStart_ = clBtnFace;
  TColor selectionColorStop_ = clBtnShadow;
  TColor selectionFrameColor_ = cl3DDkShadow;
  bool useLayout_ = true, useSize_ = true, useCaption_ = true, useStyle_ = true;
  std::uint8_t state_ = 0;
  bool dragging_ = false;
  bool mouseInControl_ = false;
  bool droppingDown_ = false;
  bool pressArmed_ = true;
  uint32_t dropDownTime_ = 0;
  bool sizing_ = false;
};

// One entry of a bar's list: the control, and its name (all that exists while loading).
struct TWkToolbarControl {
  TControl* Control = nullptr;
  std::string Name;
};

// The bar's controls in arrangement order, stored as "ToolbarControls": their names in order.
class TWkToolbarControlList {
 public:
  explicit TWkToolbarControlList(TWkToolbar* toolbar) : toolbar_(toolbar) {}
  TWkToolbar* Toolbar() const { return toolbar_; }
  int Count() const { return static_cast<int>(items_.size()); }
  const TWkToolbarControl& Items(int index) const { return items_[static_cast<size_t>(index)]; }
  int IndexOfName(const std::string& name) const;
  int IndexOfControl(const TControl* control) const;
  int AddControl(TControl* control);
  int FindOrAddName(const std::string& name);
  void RemoveControl(const TControl* control);
  void RemoveName(const std::string& name);
  // What a window description stores.
  std::vector<std::string> WriteNames() const;
  // Reads the stored names; they are resolved when the bar has loaded.
  void ReadNames(const std::vector<std::string>& names);
  // Looks the stored names up among `owner`'s components; a control on another parent is
  // dropped, and then every child of the bar is listed.
  void Resolve(TComponent* owner);

 private:
  TWkToolbar* toolbar_;
  std::vector<TWkToolbarControl> items_;
  std::unique_ptr<std::vector<std::string>> pending_;
};

// The texts of a customise dialog this program never shows; kept as settings.
struct TWkCustomizeCaptions {
  bool Modified = false;
  std::string Title = "Customize Toolbar";
  std::string Hint = "Uncheck to hide control";
  std::string Close = "Close";
  std::string MoveUp = "Move Up";
  std::string MoveDown = "Move Down";
  std::string TextOptions = "Text Options";
  std::string NoTextLabels = "No text labels";
  std::string ShowTextLabels = "Show text labels";
  std::string SelectiveTextOnRight = "Selective text on right";
};

class TWkToolbarPopupButton;

class TWkToolbar : public TWkCustomPanel {
 public:
  explicit TWkToolbar(TComponent* AOwner);
  ~TWkToolbar() override;

  // Hides the plain setter: the bar also moves its divider and sets its thickness.
  void SetAlign(TAlign value);
  bool AutoResize() const { return autoResize_; }
  void SetAutoResize(bool value);
  bool AutoStyle = true;
  const TBitmap& Background() const { return *background_; }
  void SetBackground(const TBitmap& value);
  TButtonLayout ButtonLayout() const { return buttonLayout_; }
  void SetButtonLayout(TButtonLayout value);
  int ButtonWidth() const { return buttonWidth_; }
  void SetButtonWidth(int value);
  int ButtonHeight() const { return buttonHeight_; }
  void SetButtonHeight(int value);
  TWkCustomizeCaptions CustomizeCaptions;
  TImageList* Images() const { return images_; }
  void SetImages(TImageList* value);
  int Margin() const { return margin_; }
  void SetMargin(int value);
  int TopMargin() const { return topMargin_; }
  void SetTopMargin(int value);
  TOrientation Orientation() const { return orientation_; }
  void SetOrientation(TOrientation value);
  int RowHeight() const { return rowHeight_; }
  void SetRowHeight(int value);
  bool ShowButtonCaptions() const { return showButtonCaptions_; }
  void SetShowButtonCaptions(bool value);
  bool ShowDivider() const { return showDivider_; }
  void SetShowDivider(bool value);
  TWkToolbarTextOptions TextOptions() const { return textOptions_; }
  void SetTextOptions(TWkToolbarTextOptions value);
  bool WrapControls() const { return wrapControls_; }
  void SetWrapControls(bool value);
  TWkRegIniFile* RegIniFile() const { return regIniFile_; }
  void SetRegIniFile(TWkRegIniFile* value);
  TNotifyEvent OnVisibleChanged;

  TWkToolbarControlList& ToolbarControls() { return *controlList_; }
  // The overflow button, once it was needed (nullptr before).
  TWkToolbarPopupButton* PopupButton() const { return popupButton_; }
  bool OverflowShown() const { return overflowShown_; }

  void SetBorderInner(TFrameStyleEx value) override;
  void SetBorderOuter(TFrameStyleEx value) override;
  void SetBorderSides(TSides value) override;
  void SetVisualStyle(TWkVisualStyle value) override;
  void SetGradientColorStyle(TWkGradientColorStyle value) override;
  void SetVisible(bool value) override;
  void SetParent(TWinControl* parent) override;

  void ArrangeControls();
  virtual int GetRowHeight(int row) const {
    (void)row;
    return rowHeight_;
  }
  virtual void ApplyStyle(TAlign align);
  void ResizeButtons(int width, int height, bool showCaptions);
  TPoint GetContentOffset() const override;
  // How far the control reaches from the edge the rows start at.
  int ReachOf(const TControl* control) const;
  void AlignControls(TControl* control, TRect& rect) override;
  void Loaded() override;
  // A new width (the window's alignment gives a top bar its width) re-lays the rows.
  void Resize() override;
  // A control put on the bar at run time is listed and placed at once; one taken off leaves.
  void ControlListChange(TControl* control, bool inserting) override;

 protected:
  void Paint() override;
  void DrawCaption(TRect rect) override { (void)rect; }
  void Notification(TComponent* component, TOperation operation) override;
  // Right to left, the rows fill from the right edge.
  void BiDiModeChanged() override;
  virtual void PositionControl(int index, int row, int& pos);
  // A bar inside a page scroller or a platform tool bar leaves its size to them; the layer
  // has neither, so the value stays.
  void CheckParentToolbar(bool& autoResize) const { (void)autoResize; }

 private:
  void BroadcastToChildren(unsigned msg);
  void SettingChanged(unsigned msg);
  void ShowOverflow(bool wanted);
  // The size the rows need (row count and the extent along them).
  void Resize(bool horizontal, int rows, int widest);
  void TellParent();

  bool autoResize_ = true;
  std::unique_ptr<TBitmap> background_;
  TButtonLayout buttonLayout_ = blGlyphLeft;
  int buttonWidth_ = 25, buttonHeight_ = 25;
  TImageList* images_ = nullptr;
  TChangeLink imagesLink_;
  int margin_ = 4, topMargin_ = 2;
  TOrientation orientation_ = orHorizontal;
  int rowHeight_ = 25;
  int currentRowHeight_ = 25;
  bool showButtonCaptions_ = false;
  bool showDivider_ = true;
  TWkToolbarTextOptions textOptions_ = ttoNoTextLabels;
  bool wrapControls_ = true;
  TWkRegIniFile* regIniFile_ = nullptr;
  std::unique_ptr<TWkToolbarControlList> controlList_;
  TWkToolbarPopupButton* popupButton_ = nullptr;
  bool overflowWanted_ = false;
  bool overflowShown_ = false;
  bool applyingTextOptions_ = false;
  bool arranging_ = false;
};

// The 14-pixel button at a bar's right end that offers the tool buttons that do not fit.
class TWkToolbarPopupButton : public TCustomControl {
 public:
  explicit TWkToolbarPopupButton(TWkToolbar* toolbar);
  TWkToolbar* Toolbar() const { return toolbar_; }
  TColor FrameColor() const { return frameColor_; }
  void SetFrameColor(TColor value);
  bool Pressing() const { return pressing_; }
  bool ShowDown() const { return showDown_; }
  TWkToolButton* ClickedButton = nullptr;
  // The pop-up while it is open (nullptr otherwise).
  TWkPopupPanel* OpenPopup() const { return openPopup_; }

  // Builds the pop-up of the buttons that end beyond the bar, shows it below this button and
  // clicks the one chosen.
  void ShowOverflowPopup();

  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

 protected:
  void Paint() override;
  virtual void DrawBackground(const TRect& rect, bool down);
  virtual void DrawGlyph(const TRect& rect);

 private:
  TWkToolbar* toolbar_;
  TColor frameColor_ = clBtnShadow;
  bool pressing_ = false;
  bool showDown_ = false;
  TWkPopupPanel* openPopup_ = nullptr;
};

// A copy of a tool button shown in the overflow pop-up; choosing it clicks the original.
class TWkPopupToolButton : public TWkToolButton {
 public:
  TWkPopupToolButton(TComponent* AOwner, TWkToolbarPopupButton* popupButton);
  TWkToolButton* SourceButton() const { return source_; }
  TWkToolbarPopupButton* PopupButton() const { return popupButton_; }
  void Assign(TWkToolButton* source);
  void Click() override;

 private:
  TWkToolButton* source_ = nullptr;
  TWkToolbarPopupButton* popupButton_;
};
