// The kit's owner-drawn push buttons: the base with press, hot and focus tracking and caption
// effects, the push button with its flat, classic and grouped looks, dialog keys and modal
// result, and the glyph button with a picture beside the caption.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/gui/CustomControl.h"
#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"
#include "widgets/WkColors.h"
#include "widgets/WkFrameController.h"
#include "widgets/WkFrames.h"
#include "widgets/WkHelpers.h"

// Sent through a parent's controls when a grouped push button goes down: WParam the group,
// LParam the button.
constexpr unsigned CM_WKBUTTONPRESSED = 0x2421;

enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

// Press, hot and focus tracking, and the caption with its text effects.
class TWkCustomButton : public TCustomControl {
 public:
  explicit TWkCustomButton(TComponent* AOwner);

  TAlignmentVertical AlignmentVertical() const { return alignmentVertical_; }
  virtual void SetAlignmentVertical(TAlignmentVertical value) {
    StoreLook(alignmentVertical_, value);
  }
  TColor HotTrackColor() const { return hotTrackColor_; }
  void SetHotTrackColor(TColor value) { StoreLook(hotTrackColor_, value); }
  TWkHotTrackColorType HotTrackColorType() const { return hotTrackColorType_; }
  void SetHotTrackColorType(TWkHotTrackColorType value) { StoreLook(hotTrackColorType_, value); }
  TColor HighlightColor() const { return highlightColor_; }
  virtual void SetHighlightColor(TColor value) { StoreLook(highlightColor_, value); }
  bool LightTextStyle() const { return lightTextStyle_; }
  virtual void SetLightTextStyle(bool value) { StoreLook(lightTextStyle_, value); }
  TTextStyle TextStyle() const { return textStyle_; }
  virtual void SetTextStyle(TTextStyle value) { StoreLook(textStyle_, value); }
  TColor TextHighlightColor() const { return textHighlightColor_; }
  virtual void SetTextHighlightColor(TColor value) { StoreLook(textHighlightColor_, value); }
  TColor TextShadowColor() const { return textShadowColor_; }
  virtual void SetTextShadowColor(TColor value) { StoreLook(textShadowColor_, value); }
  int TextShadowDepth() const { return textShadowDepth_; }
  virtual void SetTextShadowDepth(int value) { StoreLook(textShadowDepth_, value); }
  bool HotTrack() const { return hotTrack_; }
  virtual void SetHotTrack(bool value) { StoreLook(hotTrack_, value); }
  bool ThemeAware() const { return themeAware_; }
  virtual void SetThemeAware(bool value) { StoreLook(themeAware_, value); }
  // The parent's picture shows in the corner pixels the flat look leaves out.
  bool ParentCorners() const { return parentCorners_; }
  virtual void SetParentCorners(bool value) { StoreLook(parentCorners_, value); }

  bool MouseCaptured() const { return mouseCaptured_; }
  bool MouseOver() const { return mouseOver_; }
  bool ShowDown() const { return showDown_; }
  // The theme's push button is drawn (the desktop reports themes off, so the classic and flat
  // looks draw).
  bool Themed() const;

  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseEnter() override;
  void MouseLeave() override;
  void DoEnter() override;
  void DoExit() override;
  void SetEnabled(bool value) override;

 protected:
  virtual void InvalidateButton() {}
  virtual void RepaintButton() { Invalidate(); }
  virtual TRect GetButtonRect() const { return GetClientRect(); }
  virtual void DrawCaption(TCanvas& canvas, TRect rect, unsigned flags);
  virtual void PressButton() = 0;
  void TextChanged() override { Invalidate(); }
  void ApplyFont() override;
  template <class T>
  bool StoreLook(T& field, T value) {
    if (field == value) return false;
    field = value;
    Invalidate();
    return true;
  }

  bool showDown_ = false;

 private:
  TAlignmentVertical alignmentVertical_ = avCenter;
  TColor hotTrackColor_ = RGB(240, 155, 20);
  TWkHotTrackColorType hotTrackColorType_ = htctActual;
  TColor highlightColor_ = clHighlight;
  bool lightTextStyle_ = false;
  TTextStyle textStyle_ = tsNormal;
  TColor textHighlightColor_ = clBtnHighlight;
  TColor textShadowColor_ = clBtnShadow;
  int textShadowDepth_ = 2;
  bool hotTrack_ = false;
  bool themeAware_ = true;
  bool parentCorners_ = false;
  bool mouseCaptured_ = false;
  bool mouseOver_ = false;
};

// The push button: flat hot-track and classic 3-D looks, Default and Cancel dialog keys, a
// modal result for its form, and groups of sticky buttons.
class TWkButton : public TWkCustomButton {
 public:
  explicit TWkButton(TComponent* AOwner);

  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value) { StoreLook(alignment_, value); }
  bool Clicking() const { return clicking_; }
  bool Default() const { return default_; }
  void SetDefault(bool value);
  bool Cancel() const { return cancel_; }
  void SetCancel(bool value) { cancel_ = value; }
  // Acts as the window's default button now: Default, unless a push button has the focus.
  bool Active() const { return active_; }
  TModalResult ModalResult() const { return modalResult_; }
  void SetModalResult(TModalResult value) { modalResult_ = value; }
  bool SpaceDown() const { return spaceDown_; }
  bool AllowAllUp() const { return allowAllUp_; }
  void SetAllowAllUp(bool value);
  bool Down() const { return down_; }
  void SetDown(bool value);
  int GroupIndex() const { return groupIndex_; }
  void SetGroupIndex(int value);
  bool ShowDownPattern() const { return showDownPattern_; }
  void SetShowDownPattern(bool value) { StoreLook(showDownPattern_, value); }
  bool ShowFocusRect() const { return showFocusRect_; }
  void SetShowFocusRect(bool value) { StoreLook(showFocusRect_, value); }
  bool DropDownOnEnter = true;
  TColor FrameColor() const { return frameColor_; }
  void SetFrameColor(TColor value) { StoreLook(frameColor_, value); }
  // 0 up, 3 down in a group.
  std::uint8_t ButtonState() const { return down_ ? 3 : 0; }
  void SetHotTrack(bool value) override;
  // A window description's legacy "FrameFlat" is read as HotTrack.
  void ReadFrameFlat(bool value) { SetHotTrack(value); }

  void Click() override;
  bool KeyDown(uint16_t& key, TShiftState shift) override;
  bool KeyUp(uint16_t& key, TShiftState shift) override;
  void DoExit() override;
  void WndProc(TMessage& message) override;
  bool IsPushButton() const override { return true; }
  void Loaded() override;

  // The 8 x 8 checker of a down grouped button.
  void DrawDownPattern(TBitmap& bitmap) const;

 protected:
  void Paint() override;
  void InvalidateButton() override { Invalidate(); }
  void PressButton() override;
  virtual void GetFaceTextRect(TRect& rect);
  virtual void DrawButtonContent();
  bool Pressed() const { return groupIndex_ == 0 ? showDown_ : down_ || showDown_; }

 private:
  void UpdateExclusive();
  void PaintFlat(TRect r);
  void PaintClassic(TRect r);
  void FaceFill(TRect& r);
  TAlignment alignment_ = taCenter;
  bool clicking_ = false;
  bool default_ = false;
  bool cancel_ = false;
  bool active_ = false;
  TModalResult modalResult_ = mrNone;
  bool spaceDown_ = false;
  bool allowAllUp_ = false;
  bool down_ = false;
  int groupIndex_ = 0;
  bool showDownPattern_ = true;
  bool showFocusRect_ = true;
  TColor frameColor_ = cl3DDkShadow;
};

enum TBitBtnKind {
  bkCustom,
  bkOK,
  bkCancel,
  bkHelp,
  bkYes,
  bkNo,
  bkClose,
  bkAbort,
  bkRetry,
  bkIgnore,
  bkAll
};

// The stock picture of a kind (32 x 16: a normal and a disabled cell), drawn once by the kit
// and shared; empty for bkCustom.
const TBitmap& GetKindGlyph(TBitBtnKind kind);
// The caption a kind gives its button.
std::string KindCaption(TBitBtnKind kind);

// A push button with a picture: glyph cells, a stock kind, or an image of an image list.
class TWkBitBtn : public TWkButton {
 public:
  explicit TWkBitBtn(TComponent* AOwner);
  ~TWkBitBtn() override;

  const TBitmap& Glyph() const { return *glyph_; }
  virtual void SetGlyph(const TBitmap& value);
  // Reads back bkCustom once Default, Cancel, ModalResult or the glyph left the kind's values.
  TBitBtnKind Kind();
  virtual void SetKind(TBitBtnKind value);
  TButtonLayout Layout() const { return layout_; }
  void SetLayout(TButtonLayout value) { StoreLook(layout_, value); }
  int Margin() const { return margin_; }
  // Values below -1 are refused.
  void SetMargin(int value);
  int NumGlyphs() const { return numGlyphs_; }
  void SetNumGlyphs(int value);
  int Spacing() const { return spacing_; }
  void SetSpacing(int value) { StoreLook(spacing_, value); }
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int value) { StoreLook(imageIndex_, value); }
  int DisabledIndex() const { return disabledIndex_; }
  void SetDisabledIndex(int value) { StoreLook(disabledIndex_, value); }
  TImageList* Images() const { return images_; }
  void SetImages(TImageList* value);
  bool GlyphModified() const { return glyphModified_; }

  TSize GetGlyphSize() const;
  TRect GetGlyphRect();
  void ActionChange(TBasicAction* sender) override;

 protected:
  void GetFaceTextRect(TRect& rect) override;
  void DrawButtonContent() override;
  virtual void DrawImage(const TRect& rect);
  virtual void DrawGlyph(const TRect& rect);

 private:
  bool HasPicture() const;
  int CaptionHeight();
  std::unique_ptr<TBitmap> glyph_;
  TBitBtnKind kind_ = bkCustom;
  TButtonLayout layout_ = blGlyphLeft;
  int margin_ = 2;
  int numGlyphs_ = 1;
  int spacing_ = 4;
  int imageIndex_ = -1;
  int disabledIndex_ = -1;
  TImageList* images_ = nullptr;
  TChangeLink imagesLink_;
  bool glyphModified_ = false;
};
