// The framed edit: a one-line edit that draws its own frame in the kit's frame styles round
// the text, colours itself by state (focused, disabled, read-only), lights its frame while hot
// and can take its frame settings from a frame controller.
#pragma once

#include "platform/gui/StdCtrls.h"
#include "widgets/WkColors.h"
#include "widgets/WkFrameController.h"
#include "widgets/WkFrames.h"
#include "widgets/WkHelpers.h"

class TWkCustomEdit : public TEdit, public TWkFrameControllerLink {
 public:
  explicit TWkCustomEdit(TComponent* AOwner);
  ~TWkCustomEdit() override;

  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);
  TColor FocusColor() const { return colors_.Focus; }
  void SetFocusColor(TColor value);
  TColor DisabledColor() const { return colors_.Disabled; }
  void SetDisabledColor(TColor value);
  TColor ReadOnlyColor() const { return colors_.ReadOnly; }
  void SetReadOnlyColor(TColor value);
  bool ReadOnlyColorOnFocus() const { return colors_.ReadOnlyOnFocus; }
  void SetReadOnlyColorOnFocus(bool value);
  TColor FrameColor() const { return frameColor_; }
  void SetFrameColor(TColor value);
  TColor FrameHotColor() const { return frameHotColor_; }
  void SetFrameHotColor(TColor value);
  bool FrameHotTrack() const { return frameHotTrack_; }
  void SetFrameHotTrack(bool value);
  TFrameStyleEx FrameHotStyle() const { return frameHotStyle_; }
  void SetFrameHotStyle(TFrameStyleEx value);
  TSides FrameSides() const { return frameSides_; }
  void SetFrameSides(TSides value);
  TFrameStyleEx FrameStyle() const { return frameStyle_; }
  void SetFrameStyle(TFrameStyleEx value);
  bool FrameVisible() const { return frameVisible_; }
  void SetFrameVisible(bool value);
  TFramingPreference FramingPreference() const { return framingPreference_; }
  void SetFramingPreference(TFramingPreference value);
  void SetFrameController(TWkFrameController* value) { LinkFrameController(this, value); }
  // Enter moves the focus on like Tab and types nothing.
  bool TabOnEnter = false;

  bool GetReadOnly() const { return TEdit::ReadOnly(); }
  void SetReadOnly(bool value);
  bool UseThemedFrame() const;
  // Whether the hot frame shows: hot tracking with the mouse over the edit or the focus in it.
  bool FrameHot() const { return frameHotTrack_ && (mouseOver_ || hasFocus_); }
  // Draws the frame for the current state over (0, 0, Width, Height).
  void PaintFrame(TCanvas& canvas);

  bool ApplyFrameSetting(TWkFrameControllerProperty property,
                         const TWkFrameController& source) override;
  void Loaded() override;
  void SetEnabled(bool value) override;
  void MouseEnter() override;
  void MouseLeave() override;
  void DoEnter() override;
  void DoExit() override;
  bool KeyDown(uint16_t& key, TShiftState shift) override;
  bool KeyPress(char& key) override;
  void Resize() override;
  bool PaintsOverPeer() const override { return frameVisible_ && !UseThemedFrame(); }
  void PaintOverPeer(QPainter* painter) override;

 protected:
  virtual void UpdateColors();
  virtual void UpdateFrame(bool viaMouse, bool hot);
  virtual void RedrawFrameArea();
  // Run when ReadOnly turns on and off.
  virtual void DoReadOnlyOn() {}
  virtual void DoReadOnlyOff() {}
  virtual void ReadOnlyChanged();
  void ColorChanged() override;
  void Notification(TComponent* component, TOperation operation) override;

 private:
  void ApplyInset();
  TAlignment alignment_ = taLeftJustify;
  TColor frameColor_ = clBtnShadow;
  TColor frameHotColor_ = clBtnShadow;
  bool frameHotTrack_ = false;
  TFrameStyleEx frameHotStyle_ = fsFlatBold;
  TSides frameSides_ = AllSides;
  TFrameStyleEx frameStyle_ = fsFlat;
  bool frameVisible_ = false;
  TFramingPreference framingPreference_ = fpXPThemes;
  TWkStateColors colors_;
  bool updatingColors_ = false;
  bool hasFocus_ = false;
  bool mouseOver_ = false;
};

class TWkEdit : public TWkCustomEdit {
 public:
  explicit TWkEdit(TComponent* AOwner) : TWkCustomEdit(AOwner) {}
};
