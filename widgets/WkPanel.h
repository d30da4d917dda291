// The kit's bordered container and the controls built on it: the panel, the captioned group
// box and the window-less spacer for tool bars.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "platform/gui/CustomControl.h"
#include "platform/gui/StdCtrls.h"
#include "widgets/WkColors.h"
#include "widgets/WkFrameController.h"
#include "widgets/WkFrames.h"
#include "widgets/WkHelpers.h"

enum TWkGridStyle { gsDots, gsDottedLines, gsSolidLines };

// Outer and inner borders in any kit frame style with a band of BorderWidth between them, on
// any of the four sides; a client area filled with a colour or a gradient, or left
// transparent; an optional grid; a caption placed by horizontal and vertical alignment.
class TWkCustomPanel : public TCustomControl,
                       public TWkFrameControllerLink,
                       public IWkCustomFramingNotification,
                       public IWkTransparentControl {
 public:
  explicit TWkCustomPanel(TComponent* AOwner);
  ~TWkCustomPanel() override;

  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);
  TAlignmentVertical AlignmentVertical() const { return alignmentVertical_; }
  virtual void SetAlignmentVertical(TAlignmentVertical value);
  TFrameStyleEx BorderInner() const { return borderInner_; }
  virtual void SetBorderInner(TFrameStyleEx value);
  TFrameStyleEx BorderOuter() const { return borderOuter_; }
  virtual void SetBorderOuter(TFrameStyleEx value);
  TSides BorderSides() const { return borderSides_; }
  virtual void SetBorderSides(TSides value);
  TColor BorderColor() const { return borderColor_; }
  virtual void SetBorderColor(TColor value);
  TColor BorderHighlight() const { return borderHighlight_; }
  virtual void SetBorderHighlight(TColor value);
  TColor BorderShadow() const { return borderShadow_; }
  virtual void SetBorderShadow(TColor value);
  int BevelWidth() const { return bevelWidth_; }
  void SetBevelWidth(int value);
  TColor FlatColor() const { return flatColor_; }
  virtual void SetFlatColor(TColor value);
  int FlatColorAdjustment() const { return flatColorAdjustment_; }
  virtual void SetFlatColorAdjustment(int value);
  bool PaintClientArea() const { return paintClientArea_; }
  virtual void SetPaintClientArea(bool value);
  TWkVisualStyle VisualStyle() const { return visualStyle_; }
  virtual void SetVisualStyle(TWkVisualStyle value);
  TWkGradientColorStyle GradientColorStyle() const { return gradientColorStyle_; }
  virtual void SetGradientColorStyle(TWkGradientColorStyle value);
  TColor GradientColorStart() const { return gradientColorStart_; }
  virtual void SetGradientColorStart(TColor value);
  TColor GradientColorStop() const { return gradientColorStop_; }
  virtual void SetGradientColorStop(TColor value);
  TGradientDirection GradientDirection() const { return gradientDirection_; }
  virtual void SetGradientDirection(TGradientDirection value);
  TColor GridColor() const { return gridColor_; }
  virtual void SetGridColor(TColor value);
  TWkGridStyle GridStyle() const { return gridStyle_; }
  virtual void SetGridStyle(TWkGridStyle value);
  int GridXSize() const { return gridXSize_; }
  virtual void SetGridXSize(int value);
  int GridYSize() const { return gridYSize_; }
  virtual void SetGridYSize(int value);
  bool ShowGrid() const { return showGrid_; }
  virtual void SetShowGrid(bool value);
  bool Transparent() const { return transparent_; }
  virtual void SetTransparent(bool value);
  int TextMargin() const { return textMargin_; }
  virtual void SetTextMargin(int value);
  int TextMarginVertical() const { return textMarginVertical_; }
  virtual void SetTextMarginVertical(int value);
  bool WordWrap() const { return wordWrap_; }
  virtual void SetWordWrap(bool value);
  bool ShowDockClientCaptions() const { return showDockClientCaptions_; }
  void SetShowDockClientCaptions(bool value) { showDockClientCaptions_ = value; }
  // Redraws the whole panel on every size change (else only the uncovered edges).
  bool FullRepaint = true;

  virtual void SetFrameController(TWkFrameController* value) { LinkFrameController(this, value); }
  // The remembered enabled states of the children while the panel is disabled.
  const std::vector<std::pair<TControl*, std::string>>& EnabledStates() const {
    return enabledStates_;
  }

  // The rectangle shrunk by the borders (and the band when asked) on the bordered sides.
  virtual void AdjustRectForBorders(TRect& rect, bool includeBorderWidth) const;
  virtual TRect GetControlRect() const { return Rect(0, 0, Width(), Height()); }
  virtual TPoint GetContentOffset() const { return Point(1, 1); }
  virtual void GetGradientColors(TColor& startColor, TColor& stopColor) const;
  virtual void GetFlatColors(TColor& color, int& adjustment) const;
  void CustomFramingChanged() override;
  bool IsTransparent() const override { return transparent_; }

  void SetBounds(int left, int top, int width, int height) override;
  void AlignControls(TControl* control, TRect& rect) override;
  void SetEnabled(bool value) override;

  TNotifyEvent OnPaint;

 protected:
  void Paint() override;
  void TextChanged() override { Invalidate(); }
  void ApplyFont() override;
  void Notification(TComponent* component, TOperation operation) override;
  // Borders, fill, grid and caption, as the panel paints them.
  void PaintPanel();
  virtual void DrawCaption(TRect rect);
  virtual void DrawGrid(const TRect& rect);
  // The look record the border painter takes.
  TWkBorderLook BorderLook() const;
  // Stores a changed value, realigning the children when asked, and repaints.
  template <class T>
  bool StoreLook(T& field, T value, bool realign = false) {
    if (field == value) return false;
    field = value;
    if (realign) Realign();
    Invalidate();
    return true;
  }

 private:
  TAlignment alignment_ = taCenter;
  TAlignmentVertical alignmentVertical_ = avCenter;
  TFrameStyleEx borderInner_ = fsNone;
  TFrameStyleEx borderOuter_ = fsRaised;
  TSides borderSides_ = AllSides;
  TColor borderColor_ = clBtnFace;
  TColor borderHighlight_ = clBtnHighlight;
  TColor borderShadow_ = clBtnShadow;
  int bevelWidth_ = 1;
  TColor flatColor_ = clBtnShadow;
  int flatColorAdjustment_ = 30;
  bool paintClientArea_ = true;
  TWkVisualStyle visualStyle_ = vsWinXP;
  TWkGradientColorStyle gradientColorStyle_ = gcsSystem;
  TColor gradientColorStart_ = clWhite;
  TColor gradientColorStop_ = clBtnFace;
  TGradientDirection gradientDirection_ = gdHorizontalEnd;
  TColor gridColor_ = clBtnShadow;
  TWkGridStyle gridStyle_ = gsDots;
  int gridXSize_ = 8;
  int gridYSize_ = 8;
  bool showGrid_ = false;
  bool transparent_ = false;
  int textMargin_ = 0;
  int textMarginVertical_ = 0;
  bool wordWrap_ = true;
  bool showDockClientCaptions_ = true;
  std::vector<std::pair<TControl*, std::string>> enabledStates_;
};

class TWkPanel : public TWkCustomPanel {
 public:
  explicit TWkPanel(TComponent* AOwner) : TWkCustomPanel(AOwner) {}
};

enum TWkGroupBoxStyle { gsStandard, gsCustom, gsTopLine, gsFlat, gsBanner, gsUnderline };

// A panel drawing a captioned group frame in one of six styles.
class TWkCustomGroupBox : public TWkCustomPanel {
 public:
  explicit TWkCustomGroupBox(TComponent* AOwner);
  TWkGroupBoxStyle GroupStyle() const { return groupStyle_; }
  virtual void SetGroupStyle(TWkGroupBoxStyle value);
  void AdjustClientRect(TRect& rect) const override;
  void CustomFramingChanged() override;
  // Where the caption goes, by style (empty without a caption).
  TRect CaptionRect();

 protected:
  void Paint() override;
  void ApplyFont() override;

 private:
  int TextHeightOf(const std::string& sample) const;
  // Steps of Paint: the background (the caption box kept clear when transparent), the frame
  // of each style over f, the frame colour being fc, and the caption in its box.
  void PaintBackground(const TRect& caption, bool hasCaption);
  void PaintStandardFrame(const TRect& f, TColor fc);
  void PaintTopLine(const TRect& f);
  void PaintBanner(const TRect& caption, TColor fc);
  void PaintCaption(TRect caption);
  TWkGroupBoxStyle groupStyle_ = gsFlat;
};

class TWkGroupBox : public TWkCustomGroupBox {
 public:
  explicit TWkGroupBox(TComponent* AOwner) : TWkCustomGroupBox(AOwner) {}
};

// A gap between tool bar controls, optionally drawn as a groove.
class TWkSpacer : public TGraphicControl {
 public:
  explicit TWkSpacer(TComponent* AOwner);
  bool Grooved() const { return grooved_; }
  virtual void SetGrooved(bool value);
  TOrientation Orientation() const { return orientation_; }
  // Outside loading a change swaps width and height.
  virtual void SetOrientation(TOrientation value);

 protected:
  void Paint() override;

 private:
  bool grooved_ = false;
  TOrientation orientation_ = orHorizontal;
};
