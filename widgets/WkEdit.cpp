// The framed edit: state colours, hot frame and frame controller settings.
#include "widgets/WkEdit.h"

#include "platform/gui/Forms.h"
#include "platform/gui/Themes.h"

TWkCustomEdit::TWkCustomEdit(TComponent* AOwner) : TEdit(AOwner) { colors_.Normal = Color(); }

TWkCustomEdit::~TWkCustomEdit() { UnlinkFrameController(this); }

void TWkCustomEdit::Notification(TComponent* component, TOperation operation) {
  TEdit::Notification(component, operation);
  if (operation == TOperation::opRemove) FrameControllerRemoved(component);
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
  SetColor(colors_.For(Enabled(), hasFocus_, GetReadOnly()));
  updatingColors_ = false;
}

void TWkCustomEdit::ColorChanged() {
  TEdit::ColorChanged();
  if (updatingColors_) return;
  colors_.TakeOutsideColor(Color());
  if (frameVisible_ && !UseThemedFrame()) RedrawFrameArea();
}

void TWkCustomEdit::SetFocusColor(TColor value) {
  colors_.Focus = value;
  if (hasFocus_) UpdateColors();
}
void TWkCustomEdit::SetDisabledColor(TColor value) {
  colors_.Disabled = value;
  if (!Enabled()) UpdateColors();
}
void TWkCustomEdit::SetReadOnlyColor(TColor value) {
  colors_.ReadOnly = value;
  if (GetReadOnly()) UpdateColors();
}
void TWkCustomEdit::SetReadOnlyColorOnFocus(bool value) {
  colors_.ReadOnlyOnFocus = value;
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

void TWkCustomEdit::SetAlignment(TAlignment value) {
  alignment_ = value;
  // Centred text is drawn as the old platform did it: like left-aligned text.
  TEdit::SetAlignment(value == taRightJustify ? taRightJustify : taLeftJustify);
}

void TWkCustomEdit::SetFrameColor(TColor value) {
  if (StoreChanged(frameColor_, value)) RedrawFrameArea();
}
void TWkCustomEdit::SetFrameHotColor(TColor value) {
  if (StoreChanged(frameHotColor_, value)) RedrawFrameArea();
}
void TWkCustomEdit::SetFrameHotStyle(TFrameStyleEx value) {
  if (StoreChanged(frameHotStyle_, value)) RedrawFrameArea();
}
void TWkCustomEdit::SetFrameSides(TSides value) {
  if (StoreChanged(frameSides_, value)) RedrawFrameArea();
}
void TWkCustomEdit::SetFrameStyle(TFrameStyleEx value) {
  if (StoreChanged(frameStyle_, value)) RedrawFrameArea();
}

void TWkCustomEdit::SetFrameHotTrack(bool value) {
  if (!StoreChanged(frameHotTrack_, value)) return;
  if (value) {
    SetFrameVisible(true);
    if (!IsLoading()) frameSides_ = AllSides;
  }
  RedrawFrameArea();
  Invalidate();
}

void TWkCustomEdit::SetFrameVisible(bool value) {
  if (!StoreChanged(frameVisible_, value)) return;
  ApplyInset();
}

void TWkCustomEdit::SetFramingPreference(TFramingPreference value) {
  if (!StoreChanged(framingPreference_, value)) return;
  ApplyInset();
}

void TWkCustomEdit::ApplyInset() {
  // The frame takes the two pixels round the text that the toolkit's own frame had.
  SetBorderInset(PaintsOverPeer() ? 2 : 0);
  RedrawFrameArea();
}

bool TWkCustomEdit::ApplyFrameSetting(TWkFrameControllerProperty property,
                                      const TWkFrameController& c) {
  return ApplyFramedSetting(*this, property, c);
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
