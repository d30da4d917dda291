// The frame controller: one set of frame and colour settings pushed into linked controls.
#include "widgets/WkFrameController.h"

#include <algorithm>

TWkFrameController::TWkFrameController(TComponent* AOwner) : TComponent(AOwner) {}

TWkFrameController::~TWkFrameController() = default;

void TWkFrameController::AddControl(TControl* control) {
  if (control == nullptr) return;
  if (!controls_) controls_ = std::make_unique<std::vector<TControl*>>();
  if (std::find(controls_->begin(), controls_->end(), control) != controls_->end()) return;
  controls_->push_back(control);
  if (!IsLoading()) UpdateControl(control, fcpAll);  // else Loaded pushes to everyone
}

void TWkFrameController::RemoveControl(TControl* control) {
  if (!controls_) return;
  const auto it = std::find(controls_->begin(), controls_->end(), control);
  if (it != controls_->end()) controls_->erase(it);
  if (controls_->empty()) controls_.reset();
}

void TWkFrameController::ApplyOne(TControl* control, IWkFrameControllerClient* client,
                                  TWkFrameControllerNotifications accepted,
                                  TWkFrameControllerProperty property) {
  (void)control;
  if (client != nullptr && Accepts(accepted, property)) client->ApplyFrameSetting(property, *this);
}

void TWkFrameController::UpdateControl(TControl* control, TWkFrameControllerProperty property) {
  if (control == nullptr) return;
  auto* client = dynamic_cast<IWkFrameControllerClient*>(control);
  const TWkFrameControllerNotifications accepted =
      client != nullptr ? client->FrameControllerNotifications() : AllFrameControllerNotifications;
  if (auto* custom = dynamic_cast<IWkCustomFramingNotification*>(control)) {
    custom->CustomFramingChanged();
    return;
  }
  if (property != fcpAll) {
    ApplyOne(control, client, accepted, property);
    return;
  }
  ApplyOne(control, client, accepted, fcpParentColor);
  if (!parentColor_) ApplyOne(control, client, accepted, fcpColor);
  for (TWkFrameControllerProperty p :
       {fcpDisabledColor, fcpReadOnlyColor, fcpReadOnlyColorOnFocus, fcpFocusColor,
        fcpFlatButtonColor, fcpFlatButtons, fcpFrameColor, fcpFrameHotColor, fcpFrameHotTrack,
        fcpFrameHotStyle, fcpFrameSides, fcpFrameStyle, fcpFrameVisible, fcpFramingPreference})
    ApplyOne(control, client, accepted, p);
}

void TWkFrameController::UpdateControls(TWkFrameControllerProperty property) {
  // While the window is being built the pushes wait for Loaded, which pushes everything once.
  if (updateCount_ != 0 || IsLoading() || !controls_) return;
  const std::vector<TControl*> snapshot = *controls_;
  for (TControl* control : snapshot) UpdateControl(control, property);
}

void TWkFrameController::BeginUpdate() { ++updateCount_; }

void TWkFrameController::EndUpdate() {
  if (updateCount_ == 0) return;
  if (--updateCount_ == 0) UpdateControls(fcpAll);
}

void TWkFrameController::Loaded() {
  TComponent::Loaded();
  UpdateControls(fcpAll);
}

void TWkFrameController::Assign(const TWkFrameController& source) {
  BeginUpdate();
  color_ = source.color_;
  disabledColor_ = source.disabledColor_;
  readOnlyColor_ = source.readOnlyColor_;
  readOnlyColorOnFocus_ = source.readOnlyColorOnFocus_;
  flatButtonColor_ = source.flatButtonColor_;
  flatButtons_ = source.flatButtons_;
  focusColor_ = source.focusColor_;
  frameColor_ = source.frameColor_;
  frameHotColor_ = source.frameHotColor_;
  frameHotStyle_ = source.frameHotStyle_;
  frameHotTrack_ = source.frameHotTrack_;
  frameSides_ = source.frameSides_;
  frameStyle_ = source.frameStyle_;
  frameVisible_ = source.frameVisible_;
  framingPreference_ = source.framingPreference_;
  parentColor_ = source.parentColor_;
  EndUpdate();
}

void TWkFrameController::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == TOperation::opRemove && component == regIniFile_) regIniFile_ = nullptr;
}

void TWkFrameController::SetColor(TColor value) {
  if (color_ == value) return;
  if (color_ == focusColor_) focusColor_ = value;
  color_ = value;
  parentColor_ = false;
  UpdateControls(fcpColor);
}

void TWkFrameController::SetParentColor(bool value) {
  if (!StoreChanged(parentColor_, value)) return;
  UpdateControls(fcpParentColor);
  if (!value) UpdateControls(fcpColor);
}

void TWkFrameController::SetFrameHotTrack(bool value) {
  if (!StoreChanged(frameHotTrack_, value)) return;
  if (value) {
    SetFrameVisible(true);
    if (!IsLoading()) frameSides_ = AllSides;
  }
  UpdateControls(fcpFrameHotTrack);
}

#define WK_FC_SETTER(Name, Type, field, prop)             \
  void TWkFrameController::Set##Name(Type value) {        \
    if (StoreChanged(field, value)) UpdateControls(prop); \
  }
WK_FC_SETTER(DisabledColor, TColor, disabledColor_, fcpDisabledColor)
WK_FC_SETTER(ReadOnlyColor, TColor, readOnlyColor_, fcpReadOnlyColor)
WK_FC_SETTER(ReadOnlyColorOnFocus, bool, readOnlyColorOnFocus_, fcpReadOnlyColorOnFocus)
WK_FC_SETTER(FlatButtonColor, TColor, flatButtonColor_, fcpFlatButtonColor)
WK_FC_SETTER(FlatButtons, bool, flatButtons_, fcpFlatButtons)
WK_FC_SETTER(FocusColor, TColor, focusColor_, fcpFocusColor)
WK_FC_SETTER(FrameColor, TColor, frameColor_, fcpFrameColor)
WK_FC_SETTER(FrameHotColor, TColor, frameHotColor_, fcpFrameHotColor)
WK_FC_SETTER(FrameHotStyle, TFrameStyle, frameHotStyle_, fcpFrameHotStyle)
WK_FC_SETTER(FrameSides, TSides, frameSides_, fcpFrameSides)
WK_FC_SETTER(FrameStyle, TFrameStyle, frameStyle_, fcpFrameStyle)
WK_FC_SETTER(FrameVisible, bool, frameVisible_, fcpFrameVisible)
WK_FC_SETTER(FramingPreference, TFramingPreference, framingPreference_, fcpFramingPreference)
#undef WK_FC_SETTER

void TWkFrameControllerLink::LinkFrameController(TControl* self, TWkFrameController* value) {
  if (value == frameController_) return;
  if (frameController_ != nullptr) {
    frameController_->RemoveControl(self);
    frameController_->RemoveFreeNotification(self);
  }
  frameController_ = value;
  if (value != nullptr) {
    value->FreeNotification(self);
    value->AddControl(self);
  }
}

void TWkFrameControllerLink::FrameControllerRemoved(TComponent* component) {
  if (component == frameController_) frameController_ = nullptr;
}

void TWkFrameControllerLink::UnlinkFrameController(TControl* self) {
  if (frameController_ != nullptr) frameController_->RemoveControl(self);
  frameController_ = nullptr;
}

void TWkFrameController::SetRegIniFile(TWkRegIniFile* value) {
  if (regIniFile_ == value) return;
  if (regIniFile_ != nullptr) regIniFile_->RemoveFreeNotification(this);
  regIniFile_ = value;
  if (value != nullptr) value->FreeNotification(this);
}

// ---------------------------------------------------------------------------------------------

void TWkRegIniFile::SetPath(const std::string& value) {
  if (StoreChanged(path_, value)) changed_ = true;
}
void TWkRegIniFile::SetPathType(TWkPathType value) {
  if (StoreChanged(pathType_, value)) changed_ = true;
}
void TWkRegIniFile::SetRegKey(TWkRegKey value) {
  if (StoreChanged(regKey_, value)) changed_ = true;
}
void TWkRegIniFile::SetRegAccess(TWkRegAccess value) {
  if (StoreChanged(regAccess_, value)) changed_ = true;
}
