// What every framed control of the widget kit shares: the look enumerations, colour arithmetic
// on a 0..240 HSL scale, the colour pairs of the visual-style schemes, frame and side drawing,
// small pixel glyphs, the frame controller that pushes one set of frame settings into linked
// controls, and the process-wide blink timer.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "platform/gui/Controls.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Graphics.h"

// ---------------------------------------------------------------------------------------------
// Look enumerations

enum TFrameStyleEx {
  fsNone,
  fsFlat,
  fsGroove,
  fsBump,
  fsLowered,
  fsButtonDown,
  fsRaised,
  fsButtonUp,
  fsStatus,
  fsPopup,
  fsFlatBold,
  fsFlatRounded
};
// The styles fsNone..fsFlatBold; fsFlatRounded is drawn only by the controls that offer it.
using TFrameStyle = TFrameStyleEx;

enum TSide { sdLeft, sdTop, sdRight, sdBottom };
// A set of TSide held as bits 1 (left), 2 (top), 4 (right), 8 (bottom).
enum class TSides : unsigned {};
constexpr TSides NoSides = TSides{0};
constexpr TSides AllSides = TSides{15};
constexpr TSides SideSet(std::initializer_list<TSide> sides) {
  unsigned bits = 0;
  for (TSide s : sides) bits |= 1u << s;
  return TSides{bits};
}
constexpr bool HasSide(TSides sides, TSide side) {
  return (static_cast<unsigned>(sides) & (1u << side)) != 0;
}
constexpr TSides operator|(TSides a, TSides b) {
  return TSides{static_cast<unsigned>(a) | static_cast<unsigned>(b)};
}

enum TGradientDirection {
  gdDiagonalUp,
  gdDiagonalDown,
  gdHorizontalEnd,
  gdHorizontalCenter,
  gdHorizontalBox,
  gdVerticalEnd,
  gdVerticalCenter,
  gdVerticalBox,
  gdSquareBox,
  gdBigSquareBox
};
enum TWkVisualStyle { vsClassic, vsWinXP, vsGradient };
enum TWkGradientColorStyle { gcsSystem, gcsMSOffice, gcsCustom };
enum TFramingPreference { fpCustomFraming, fpXPThemes };
enum TWkHotTrackColorType { htctComplement, htctActual };
enum TAlignmentVertical { avTop, avCenter, avBottom };
enum TTextStyle { tsNormal, tsRaised, tsRecessed, tsShadow };
enum TOrientation { orHorizontal, orVertical };

enum TWkFrameControllerProperty {
  fcpColor,
  fcpFocusColor,
  fcpDisabledColor,
  fcpReadOnlyColor,
  fcpReadOnlyColorOnFocus,
  fcpParentColor,
  fcpFlatButtonColor,
  fcpFlatButtons,
  fcpFrameColor,
  fcpFrameHotColor,
  fcpFrameHotTrack,
  fcpFrameHotStyle,
  fcpFrameSides,
  fcpFrameStyle,
  fcpFrameVisible,
  fcpFramingPreference,
  fcpAll
};
// A set of fcpColor..fcpFramingPreference, bit n for value n.
using TWkFrameControllerNotifications = std::uint16_t;
constexpr TWkFrameControllerNotifications AllFrameControllerNotifications = 0xFFFF;
constexpr bool Accepts(TWkFrameControllerNotifications set, TWkFrameControllerProperty p) {
  return p < fcpAll && (set & (1u << p)) != 0;
}

enum TWkPathType { ptIniFile, ptRegistry };
enum TWkRegKey {
  hkeyClassesRoot,
  hkeyCurrentUser,
  hkeyLocalMachine,
  hkeyUsers,
  hkeyPerformanceData,
  hkeyCurrentConfig,
  hkeyDynData
};
enum TWkRegAccessKey {
  keyQueryValue,
  keySetValue,
  keyCreateSubKey,
  keyEnumerateSubKeys,
  keyNotify,
  keyCreateLink,
  keyRead,
  keyWrite,
  keyExecute,
  keyAllAccess
};
using TWkRegAccess = unsigned;  // bit n for TWkRegAccessKey n

// Sets a flag for the length of a scope (a re-entry guard or an "own change" mark), also when
// the scope is left by an exception.
class TWkFlagScope {
 public:
  explicit TWkFlagScope(bool& flag) : flag_(flag) { flag_ = true; }
  ~TWkFlagScope() { flag_ = false; }
  TWkFlagScope(const TWkFlagScope&) = delete;
  TWkFlagScope& operator=(const TWkFlagScope&) = delete;

 private:
  bool& flag_;
};

// Stores a changed value; false when it was the same.
template <class T>
bool StoreChanged(T& field, T value) {
  if (field == value) return false;
  field = value;
  return true;
}

// ---------------------------------------------------------------------------------------------
// Process-wide look values, fixed by WkCommonStartUp for the run

// 0 default scheme, 1 "HOMESTEAD", 2 "METALLIC".
extern std::uint8_t XPColorScheme;
// More than 256 colours; otherwise selection gradients collapse to one colour.
extern bool HighColorDisplay;
// Reads the scheme and the display's depth once; the program's start-up calls it.
void WkCommonStartUp();

// ---------------------------------------------------------------------------------------------
// Colour arithmetic. System colours are resolved to RGB first; rounding is to nearest, ties
// to even.

void ColorToHSL(TColor color, std::uint8_t& h, std::uint8_t& s, std::uint8_t& l);
std::uint8_t ColorHue(TColor color);
TColor HSLToColor(std::uint8_t h, std::uint8_t s, std::uint8_t l);
TColor DarkerColor(TColor color, std::uint8_t amount);
TColor LighterColor(TColor color, std::uint8_t amount);
TColor AdjustColor(TColor color, int amount);
TColor BlendColors(TColor color1, TColor color2, std::uint8_t weight);
bool SimilarColors(TColor color1, TColor color2);
TColor ShiftedHueColor(TColor color, std::uint8_t luminance);

std::uint8_t GetXPColorScheme();
bool IsHighColorDisplay();

void GetSelectionColors(TWkGradientColorStyle style, TColor& frameColor, TColor& startColor,
                        TColor& stopColor);
void GetGradientPanelColors(TWkGradientColorStyle style, TColor& startColor, TColor& stopColor);
TColor GetFlatFrameColor(TWkGradientColorStyle style);
void GetGradientBarColors(TWkGradientColorStyle style, TColor& startColor, TColor& stopColor,
                          TColor& frameColor);
TColor XPThemeColor(int index);

// ---------------------------------------------------------------------------------------------
// Sides and frames. Each returns the rectangle inside what it drew.

TRect DrawSides(TCanvas& canvas, TRect rect, TColor ulColor, TSides sides, TColor lrColor);
TRect DrawSidesWidth(TCanvas& canvas, TRect rect, TColor ulColor, TSides sides, int width,
                     TColor lrColor);
TRect DrawBevel(TCanvas& canvas, const TRect& rect, bool lowered, TSides sides = AllSides);
TRect DrawButtonBevel(TCanvas& canvas, const TRect& rect, bool down, TSides sides = AllSides);
TRect DrawColorSides(TCanvas& canvas, const TRect& rect, TColor color, TSides sides, bool down);
TRect DrawColorSides(TCanvas& canvas, const TRect& rect, TColor color, bool down);
TRect DrawFrame(TCanvas& canvas, const TRect& rect, TFrameStyle style);
TRect DrawFrameSides(TCanvas& canvas, const TRect& rect, TFrameStyle style, TSides sides);
TRect DrawColorFrame(TCanvas& canvas, const TRect& rect, TColor color, TFrameStyle style);
TRect DrawColorFrameSides(TCanvas& canvas, const TRect& rect, TColor color, TSides sides,
                          TFrameStyle style);
TRect DrawBox(TCanvas& canvas, const TRect& rect, TColor color);
TRect DrawCornerBrackets(TCanvas& canvas, const TRect& rect, TColor color, int length);
TRect DrawDottedBox(TCanvas& canvas, const TRect& rect);
TRect DrawRoundedSides(TCanvas& canvas, const TRect& rect, TColor color, TSides sides);
// Four one-pixel sides that stop one pixel short of each corner; the rectangle inside.
TRect DrawCutCornerSides(TCanvas& canvas, const TRect& rect, TColor color);
// The framed edit's and combo box's frame over (0, 0, width, height).
void DrawEditFrame(TCanvas& canvas, int width, int height, bool themed, TSides sides,
                   TColor frameColor, TColor color, TFrameStyle style);

// The panel family's border settings, passed to one painter.
struct TWkBorderLook {
  TFrameStyleEx BorderOuter = fsRaised;
  TFrameStyleEx BorderInner = fsNone;
  int BorderWidth = 0;
  TSides Sides = AllSides;
  int BevelWidth = 1;
  TColor BorderColor = clBtnFace;
  TColor BorderHighlight = clBtnHighlight;
  TColor BorderShadow = clBtnShadow;
  TColor FlatColor = clBtnShadow;
  int FlatColorAdjustment = 30;
  TColor Color = clBtnFace;
  TColor ParentColor = clBtnFace;
  bool Transparent = false;
  bool CutCorners = false;
};
TRect DrawInnerOuterBorders(TCanvas& canvas, const TRect& rect, const TWkBorderLook& look);

// The colours an edit or combo box shows by state.
struct TWkStateColors {
  TColor Normal = clWindow;  // enabled, unfocused, editable
  TColor Focus = clWindow;
  TColor Disabled = clBtnFace;
  TColor ReadOnly = clInfoBk;
  bool ReadOnlyOnFocus = false;  // a focused read-only control keeps ReadOnly
  TColor For(bool enabled, bool focused, bool readOnly) const {
    if (!enabled) return Disabled;
    if (focused) return readOnly && ReadOnlyOnFocus ? ReadOnly : Focus;
    return readOnly ? ReadOnly : Normal;
  }
  // A colour set from outside becomes the normal one; the focus colour follows it when the
  // two were the same.
  void TakeOutsideColor(TColor color) {
    if (Focus == Normal) Focus = color;
    Normal = color;
  }
};

// Invalidates the area of the control when any of it shows.
void RedrawFrameArea(TControl* control, const TRect& rect);

// ---------------------------------------------------------------------------------------------
// Glyphs

void DrawDropDownArrow(TCanvas& canvas, const TRect& rect, TWkVisualStyle style, bool enabled,
                       bool down);
// Direction 0 up, 1 down, 2 left, 3 right.
void DrawArrow(TCanvas& canvas, const TRect& rect, int direction, TWkVisualStyle style,
               bool enabled, bool down);
void DrawCloseGlyph(TCanvas& canvas, const TRect& rect, TWkVisualStyle style, bool enabled,
                    bool down);

// ---------------------------------------------------------------------------------------------
// Other helpers

// Controls that can leave their background unpainted say so here.
class IWkTransparentControl {
 public:
  virtual ~IWkTransparentControl() = default;
  virtual bool IsTransparent() const = 0;
};
// Invalidates each child of `parent` that is transparent.
void CheckTransparentChildren(TWinControl* parent);

TRect CenterRect(const TRect& rect, int width, int height);
// A copy of the font turned by `angle` tenths of a degree.
TFont CreateRotatedFont(const TFont& font, int angle);
// Every face the desktop draws with is an outline face.
bool IsTrueTypeFont(const TFont& font);
// "&&" becomes "&", a lone "&" is removed.
std::string StripAccelChars(const std::string& text);
inline int MinInt(int a, int b) { return a < b ? a : b; }
inline int MaxInt(int a, int b) { return a > b ? a : b; }
// Width of the work area of the monitor that holds the control's centre.
int MonitorWorkAreaWidth(TControl* control);
TRect GetMonitorWorkArea(TPoint screenPoint);

// ---------------------------------------------------------------------------------------------
// Frame controller

class TWkFrameController;

// A control that pulls the controller's values itself instead of having them set by name.
class IWkCustomFramingNotification {
 public:
  virtual ~IWkCustomFramingNotification() = default;
  virtual void CustomFramingChanged() = 0;
};

// A control that takes settings from a frame controller: which ones it accepts, and a setter
// for each one it has (returning false for a setting the control lacks).
class IWkFrameControllerClient {
 public:
  virtual ~IWkFrameControllerClient() = default;
  virtual TWkFrameControllerNotifications FrameControllerNotifications() const {
    return AllFrameControllerNotifications;
  }
  virtual bool ApplyFrameSetting(TWkFrameControllerProperty property,
                                 const TWkFrameController& source) = 0;
};

// One set of frame and colour settings pushed into every linked control.
class TWkFrameController : public TComponent {
 public:
  explicit TWkFrameController(TComponent* AOwner);
  ~TWkFrameController() override;

  void AddControl(TControl* control);
  void RemoveControl(TControl* control);
  virtual void UpdateControl(TControl* control, TWkFrameControllerProperty property);
  virtual void UpdateControls(TWkFrameControllerProperty property);
  void BeginUpdate();
  void EndUpdate();
  void Loaded() override;
  void Assign(const TWkFrameController& source);
  int ControlCount() const { return static_cast<int>(controls_ ? controls_->size() : 0); }
  bool HasControlList() const { return controls_ != nullptr; }

  TColor Color() const { return color_; }
  void SetColor(TColor value);
  TColor DisabledColor() const { return disabledColor_; }
  void SetDisabledColor(TColor value);
  TColor ReadOnlyColor() const { return readOnlyColor_; }
  void SetReadOnlyColor(TColor value);
  bool ReadOnlyColorOnFocus() const { return readOnlyColorOnFocus_; }
  void SetReadOnlyColorOnFocus(bool value);
  TColor FlatButtonColor() const { return flatButtonColor_; }
  void SetFlatButtonColor(TColor value);
  bool FlatButtons() const { return flatButtons_; }
  void SetFlatButtons(bool value);
  TColor FocusColor() const { return focusColor_; }
  void SetFocusColor(TColor value);
  TColor FrameColor() const { return frameColor_; }
  void SetFrameColor(TColor value);
  TColor FrameHotColor() const { return frameHotColor_; }
  void SetFrameHotColor(TColor value);
  TFrameStyle FrameHotStyle() const { return frameHotStyle_; }
  void SetFrameHotStyle(TFrameStyle value);
  bool FrameHotTrack() const { return frameHotTrack_; }
  void SetFrameHotTrack(bool value);
  TSides FrameSides() const { return frameSides_; }
  void SetFrameSides(TSides value);
  TFrameStyle FrameStyle() const { return frameStyle_; }
  void SetFrameStyle(TFrameStyle value);
  bool FrameVisible() const { return frameVisible_; }
  void SetFrameVisible(bool value);
  TFramingPreference FramingPreference() const { return framingPreference_; }
  void SetFramingPreference(TFramingPreference value);
  bool ParentColor() const { return parentColor_; }
  void SetParentColor(bool value);
  class TWkRegIniFile* RegIniFile() const {
    return regIniFile_;
  }
  void SetRegIniFile(class TWkRegIniFile* value);

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  void ApplyOne(TControl* control, IWkFrameControllerClient* client,
                TWkFrameControllerNotifications accepted, TWkFrameControllerProperty property);
  std::unique_ptr<std::vector<TControl*>> controls_;
  int updateCount_ = 0;
  TColor color_ = clWindow;
  TColor disabledColor_ = clBtnFace;
  TColor readOnlyColor_ = clInfoBk;
  bool readOnlyColorOnFocus_ = false;
  TColor flatButtonColor_ = clBtnFace;
  bool flatButtons_ = true;
  TColor focusColor_ = clWindow;
  TColor frameColor_ = clBtnShadow;
  TColor frameHotColor_ = clBtnShadow;
  TFrameStyle frameHotStyle_ = fsFlatBold;
  bool frameHotTrack_ = false;
  TSides frameSides_ = AllSides;
  TFrameStyle frameStyle_ = fsFlat;
  bool frameVisible_ = false;
  TFramingPreference framingPreference_ = fpXPThemes;
  bool parentColor_ = false;
  class TWkRegIniFile* regIniFile_ = nullptr;
};

// A control's link to a frame controller: the controller, and the settings the control takes
// from it. The control calls these from its setter, its Notification and its destructor.
class TWkFrameControllerLink : public IWkFrameControllerClient {
 public:
  TWkFrameController* FrameController() const { return frameController_; }
  TWkFrameControllerNotifications FrameControllerNotifications() const override {
    return notifications_;
  }
  void SetFrameControllerNotifications(TWkFrameControllerNotifications value) {
    notifications_ = value;
  }
  bool ApplyFrameSetting(TWkFrameControllerProperty, const TWkFrameController&) override {
    return false;
  }

 protected:
  // Leaves the old controller's list and joins the new one's, which then pushes its settings.
  void LinkFrameController(TControl* self, TWkFrameController* value);
  // Forgets a controller that is being freed.
  void FrameControllerRemoved(TComponent* component);
  void UnlinkFrameController(TControl* self);

 private:
  TWkFrameController* frameController_ = nullptr;
  TWkFrameControllerNotifications notifications_ = AllFrameControllerNotifications;
};

// Sets the control's own setting from the controller, for the controls that have every
// setting of the controller under its name (edits and combo boxes); false for the flat-button
// settings, which only combo boxes have.
template <class C>
bool ApplyFramedSetting(C& control, TWkFrameControllerProperty property,
                        const TWkFrameController& c) {
  switch (property) {
    case fcpColor:
      control.SetColor(c.Color());
      return true;
    case fcpFocusColor:
      control.SetFocusColor(c.FocusColor());
      return true;
    case fcpDisabledColor:
      control.SetDisabledColor(c.DisabledColor());
      return true;
    case fcpReadOnlyColor:
      control.SetReadOnlyColor(c.ReadOnlyColor());
      return true;
    case fcpReadOnlyColorOnFocus:
      control.SetReadOnlyColorOnFocus(c.ReadOnlyColorOnFocus());
      return true;
    case fcpParentColor:
      control.SetParentColor(c.ParentColor());
      return true;
    case fcpFrameColor:
      control.SetFrameColor(c.FrameColor());
      return true;
    case fcpFrameHotColor:
      control.SetFrameHotColor(c.FrameHotColor());
      return true;
    case fcpFrameHotTrack:
      control.SetFrameHotTrack(c.FrameHotTrack());
      return true;
    case fcpFrameHotStyle:
      control.SetFrameHotStyle(c.FrameHotStyle());
      return true;
    case fcpFrameSides:
      control.SetFrameSides(c.FrameSides());
      return true;
    case fcpFrameStyle:
      control.SetFrameStyle(c.FrameStyle());
      return true;
    case fcpFrameVisible:
      control.SetFrameVisible(c.FrameVisible());
      return true;
    case fcpFramingPreference:
      control.SetFramingPreference(c.FramingPreference());
      return true;
    default:
      return false;
  }
}

// Names where settings are kept; the program never opens it.
class TWkRegIniFile : public TComponent {
 public:
  explicit TWkRegIniFile(TComponent* AOwner) : TComponent(AOwner) {}
  const std::string& Path() const { return path_; }
  void SetPath(const std::string& value);
  TWkPathType PathType() const { return pathType_; }
  void SetPathType(TWkPathType value);
  TWkRegKey RegKey() const { return regKey_; }
  void SetRegKey(TWkRegKey value);
  TWkRegAccess RegAccess() const { return regAccess_; }
  void SetRegAccess(TWkRegAccess value);
  bool SettingsChanged() const { return changed_; }

 private:
  std::string path_;
  TWkPathType pathType_ = ptIniFile;
  TWkRegKey regKey_ = hkeyCurrentUser;
  TWkRegAccess regAccess_ = 1u << keyAllAccess;
  bool changed_ = true;
};

// ---------------------------------------------------------------------------------------------
// Blinking

// A control that may blink: the shared timer asks it and sends it each phase.
class IWkBlinkingControl {
 public:
  virtual ~IWkBlinkingControl() = default;
  virtual bool IsBlinking() const = 0;
  virtual void SetBlinkState(bool on) = 0;
};

// One timer for every blinking control of the process, alternating on and off phases.
class TWkBlinkingControlsList {
 public:
  TWkBlinkingControlsList();
  virtual ~TWkBlinkingControlsList();
  void Add(IWkBlinkingControl* control);
  // A control that is not listed is left alone.
  void Remove(IWkBlinkingControl* control);
  virtual int GetCount() const { return static_cast<int>(controls_.size()); }
  bool BlinkState() const { return state_; }
  std::uint16_t IntervalOff() const { return intervalOff_; }
  void SetIntervalOff(std::uint16_t value) { intervalOff_ = value; }
  std::uint16_t IntervalOn() const { return intervalOn_; }
  void SetIntervalOn(std::uint16_t value) { intervalOn_ = value; }
  TTimer* Timer() const { return timer_.get(); }
  void Tick();

 private:
  bool state_ = true;
  std::uint16_t intervalOff_ = 500;
  std::uint16_t intervalOn_ = 500;
  std::unique_ptr<TTimer> timer_;
  std::vector<IWkBlinkingControl*> controls_;
};

// The process's list, created by the first control that blinks; nullptr while none exists.
extern TWkBlinkingControlsList* BlinkingControls;
// Registers the control, creating the list when missing.
void JoinBlinkingControls(IWkBlinkingControl* control);
// Unregisters it and frees the list when it became empty.
void LeaveBlinkingControls(IWkBlinkingControl* control);
