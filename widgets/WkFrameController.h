// The frame controller: one set of frame and colour settings pushed into linked controls, the
// link a control keeps to it, and the settings-location component it may name.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/gui/Controls.h"
#include "platform/gui/Graphics.h"
#include "widgets/WkLook.h"

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
