// The framed edit: state colours, hot frame and frame controller settings.
#include "widgets/WkEdit.h"

#include "platform/gui/Forms.h"
#include "platform/gui/Themes.h"

TWkCustomEdit::TWkCustomEdit(TComponent* AOwner) : TEdit(AOwner) { normalColor_ = Color(); }

TWkCustomEdit::~TWkCustomEdit() {
  if (frameController_ != nullptr) frameController_->RemoveControl(this);
}

void TWkCustomEdit::Notification(TComponent* component, TOperation operation) {
  TEdit::Notification(component, operation);
  if (operation == TOperation::opRemove && component == frameController_)
    frameController_ = nullptr;
}

void TWkCustomEdit::Loaded() {
  TEdit::Loaded();
  UpdateColors();
  UpdateFrame(false, false);
}

bool TWkCustomEdit::UseThemedFrame() const {
  return framingPreference_ == fpXPThemes && ThemeServices().ThemesEnabled();
}

// --- colours -------------------------------------------------------------------------------

void TWkCustomEdit::UpdateColors() {
  if (IsLoading() || updatingColors_) return;
  updatingColors_ = true;
  TColor c = normalColor_;
  if (!Enabled())
    c = disabledColor_;
  else if (hasFocus_)
    c = GetReadOnly() && readOnlyColorOnFocus_ ? readOnlyColor_ : focusColor_;
  else if (GetReadOnly())
    c = readOnlyColor_;
  SetColor(c);
  updatingColors_ = false;
}

void TWkCustomEdit::ColorChanged() {
  TEdit::ColorChanged();
  if (updatingColors_) return;
  // A colour set from outside becomes the normal colour; the focus colour follows it when
  // the two were the same.
  if (focusColor_ == normalColor_) focusColor_ = Color();
  normalColor_ = Color();
  if (frameVisible_ && !UseThemedFrame()) RedrawFrameArea();
}

void TWkCustomEdit::SetFocusColor(TColor value) {
  focusColor_ = value;
  if (hasFocus_) UpdateColors();
}
void TWkCustomEdit::SetDisabledColor(TColor value) {
  disabledColor_ = value;
  if (!Enabled()) UpdateColors();
}
void TWkCustomEdit::SetReadOnlyColor(TColor value) {
  readOnlyColor_ = value;
  if (GetReadOnly()) UpdateColors();
}
void TWkCustomEdit::SetReadOnlyColorOnFocus(bool value) {
  readOnlyColorOnFocus_ = value;
  UpdateColors();
}

void TWkCustomEdit::SetReadOnly(bool value) {
  if (value == GetReadOnly()) return;
  TEdit::SetReadOnly(value);
  ReadOnlyChanged();
}

void TWkCustomEdit::ReadOnlyChanged() {
  if (GetReadOnly())
    DoReadOnlyOn();
  else
    DoReadOnlyOff();
  UpdateColors();
  RedrawFrameArea();
}

void TWkCustomEdit::SetEnabled(bool value) {
  if (value == Enabled()) return;
  TEdit::SetEnabled(value);
  UpdateColors();
  RedrawFrameArea();
}

// --- frame ---------------------------------------------------------------------------------

namespace {
template <class T>
bool Store(T& field, T value) {
  if (field == value) return false;
  field = value;
  return true;
}
}  // namespace

void TWkCustomEdit::SetAlignment(TAlignment value) {
  alignment_ = value;
  // Centred text is drawn as the old platform did it: like left-aligned text.
  TEdit::SetAlignment(value == taRightJustify ? taRightJustify : taLeftJustify);
}

void TWkCustomEdit::SetFrameColor(TColor value) {
  if (Store(frameColor_, value)) RedrawFrameArea();
}
void TWkCustomEdit::SetFrameHotColor(TColor value) {
  if (Store(frameHotColor_, value)) RedrawFrameArea();
}
void TWkCustomEdit::SetFrameHotStyle(TFrameStyleEx value) {
  if (Store(frameHotStyle_, value)) RedrawFrameArea();
}
void TWkCustomEdit::SetFrameSides(TSides value) {
  if (Store(frameSides_, value)) RedrawFrameArea();
}
void TWkCustomEdit::SetFrameStyle(TFrameStyleEx value) {
  if (Store(frameStyle_, value)) RedrawFrameArea();
}

void TWkCustomEdit::SetFrameHotTrack(bool value) {
  if (!Store(frameHotTrack_, value)) return;
  if (value) {
    SetFrameVisible(true);
    if (!IsLoading()) frameSides_ = AllSides;
  }
  RedrawFrameArea();
  Invalidate();
}

void TWkCustomEdit::SetFrameVisible(bool value) {
  if (!Store(frameVisible_, value)) return;
  ApplyInset();
}

void TWkCustomEdit::SetFramingPreference(TFramingPreference value) {
  if (!Store(framingPreference_, value)) return;
  ApplyInset();
}

void TWkCustomEdit::ApplyInset() {
  // The frame takes the two pixels round the text that the toolkit's own frame had.
  SetBorderInset(PaintsOverPeer() ? 2 : 0);
  RedrawFrameArea();
}

void TWkCustomEdit::SetFrameController(TWkFrameController* value) {
  if (value == frameController_) return;
  if (frameController_ != nullptr) {
    frameController_->RemoveControl(this);
    frameController_->RemoveFreeNotification(this);
  }
  frameController_ = value;
  if (value != nullptr) {
    value->FreeNotification(this);
    value->AddControl(this);
  }
}

bool TWkCustomEdit::ApplyFrameSetting(TWkFrameControllerProperty property,
                                      const TWkFrameController& c) {
  switch (property) {
    case fcpColor:
      SetColor(c.Color());
      return true;
    case fcpFocusColor:
      SetFocusColor(c.FocusColor());
      return true;
    case fcpDisabledColor:
      SetDisabledColor(c.DisabledColor());
      return true;
    case fcpReadOnlyColor:
      SetReadOnlyColor(c.ReadOnlyColor());
      return true;
    case fcpReadOnlyColorOnFocus:
      SetReadOnlyColorOnFocus(c.ReadOnlyColorOnFocus());
      return true;
    case fcpParentColor:
      SetParentColor(c.ParentColor());
      return true;
    case fcpFrameColor:
      SetFrameColor(c.FrameColor());
      return true;
    case fcpFrameHotColor:
      SetFrameHotColor(c.FrameHotColor());
      return true;
    case fcpFrameHotTrack:
      SetFrameHotTrack(c.FrameHotTrack());
      return true;
    case fcpFrameHotStyle:
      SetFrameHotStyle(c.FrameHotStyle());
      return true;
    case fcpFrameSides:
      SetFrameSides(c.FrameSides());
      return true;
    case fcpFrameStyle:
      SetFrameStyle(c.FrameStyle());
      return true;
    case fcpFrameVisible:
      SetFrameVisible(c.FrameVisible());
      return true;
    case fcpFramingPreference:
      SetFramingPreference(c.FramingPreference());
      return true;
    default:  // the flat-button settings belong to combo boxes
      return false;
  }
}

void TWkCustomEdit::UpdateFrame(bool viaMouse, bool hot) {
  if (viaMouse)
    mouseOver_ = hot;
  else
    hasFocus_ = hot;
  if (frameHotTrack_) RedrawFrameArea();
  UpdateColors();
}

void TWkCustomEdit::RedrawFrameArea() { ::RedrawFrameArea(this, GetClientRect()); }

void TWkCustomEdit::PaintFrame(TCanvas& canvas) {
  const bool hot = FrameHot();
  DrawEditFrame(canvas, Width(), Height(), false, frameSides_, hot ? frameHotColor_ : frameColor_,
                Color(), hot ? frameHotStyle_ : frameStyle_);
}

void TWkCustomEdit::PaintOverPeer(QPainter* painter) {
  TCanvas canvas;
  canvas.BindPainter(painter, Width(), Height());
  PaintFrame(canvas);
  canvas.Unbind();
}

void TWkCustomEdit::Resize() {
  TEdit::Resize();
  RedrawFrameArea();
}

// --- input ---------------------------------------------------------------------------------

void TWkCustomEdit::MouseEnter() {
  TEdit::MouseEnter();
  UpdateFrame(true, true);
}

void TWkCustomEdit::MouseLeave() {
  TEdit::MouseLeave();
  UpdateFrame(true, false);
}

void TWkCustomEdit::DoEnter() {
  UpdateFrame(false, true);
  TEdit::DoEnter();
}

void TWkCustomEdit::DoExit() {
  UpdateFrame(false, false);
  TEdit::DoExit();
}

bool TWkCustomEdit::KeyDown(uint16_t& key, TShiftState shift) {
  if (TabOnEnter && key == VK_RETURN && (shift & (ssAlt | ssCtrl)) == 0) {
    key = 0;
    if (TForm* form = ParentForm()) form->SelectNext(true);
    return true;
  }
  return TEdit::KeyDown(key, shift);
}

bool TWkCustomEdit::KeyPress(char& key) {
  if (TabOnEnter && key == '\r') {
    key = 0;
    return true;
  }
  return TEdit::KeyPress(key);
}
