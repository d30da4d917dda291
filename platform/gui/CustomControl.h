// Self-painting controls. Paint draws on Canvas, which targets an off-screen bitmap the size
// of the control; the finished picture is copied to the screen in one step, so a control never
// flickers and a picture can also be taken without a screen (tests, parent backgrounds).
#pragma once

#include <memory>

#include "platform/gui/Controls.h"
#include "platform/gui/Graphics.h"

// The off-screen picture of one control: a bitmap and the rules for starting a paint on it.
class TOffscreenPaint {
 public:
  TOffscreenPaint();
  ~TOffscreenPaint();
  TCanvas& Canvas();
  // Sizes the bitmap (`width` x `height` pixels at `devicePixelRatio` device pixels each,
  // `deviceSize` of them when given), fills it with `background` and runs `paint` with the
  // canvas locked. The canvas keeps its pen, brush and font from one paint to the next;
  // origin, clip, saved states and pen position start afresh.
  TBitmap& Render(int width, int height, TColor background, const std::function<void()>& paint,
                  double devicePixelRatio = 1.0, TSize deviceSize = {});
  bool Painting() const { return painting_; }

 private:
  std::unique_ptr<TBitmap> bitmap_;
  bool painting_ = false;
};

// A control of the layer (`Base`: TControl or TWinControl) that paints itself: Paint draws
// on Canvas into the off-screen picture, which is then copied where it is wanted.
template <class Base>
class TSelfPaintedControl : public Base {
 public:
  explicit TSelfPaintedControl(TComponent* AOwner);
  ~TSelfPaintedControl() override;

  TCanvas& Canvas() { return offscreen_.Canvas(); }
  // Paints into the off-screen bitmap now and returns it: at the device pixel ratio of the
  // screen the control shows on, so that on a scaled desktop text and lines are as sharp as
  // the toolkit's own, or at the ratio given.
  TBitmap& PaintOffscreen();
  TBitmap& PaintOffscreen(double devicePixelRatio, TSize deviceSize = {});
  // True while the control paints for someone else's picture (see PaintControlTo).
  bool PaintingCopy() const { return paintingCopy_; }

  bool PaintPeer(QPainter* painter) override;

 protected:
  virtual void Paint() {}
  void ColorChanged() override;

 private:
  friend void PaintControlTo(TControl* control, TCanvas& canvas);
  // What shows where Paint draws nothing.
  TColor Background() const;
  // Paints the control into `canvas` (see PaintControlTo), PaintingCopy while it does.
  void PaintCopyTo(TCanvas& canvas);
  TOffscreenPaint offscreen_;
  bool paintingCopy_ = false;
};

extern template class TSelfPaintedControl<TControl>;
extern template class TSelfPaintedControl<TWinControl>;

// A windowless-style control (it has no focus and no child controls) that paints itself.
// Areas Paint leaves alone show the parent's colour.
class TGraphicControl : public TSelfPaintedControl<TControl> {
 public:
  explicit TGraphicControl(TComponent* AOwner) : TSelfPaintedControl(AOwner) {}
};

// A windowed control (focus, child controls) that paints itself on a background of its Color.
class TCustomControl : public TSelfPaintedControl<TWinControl> {
 public:
  explicit TCustomControl(TComponent* AOwner) : TSelfPaintedControl(AOwner) {}
};

// Paints the control itself, without its child controls, into `canvas` with the control's
// top-left at the canvas's logical (0, 0); clip and origin of the canvas apply. This is how a
// transparent control draws its parent's background under itself. A control that is already
// painting (itself or as a copy) is not painted again.
void PaintControlTo(TControl* control, TCanvas& canvas);

// Translucent window: shows a top-level control at alpha / 255 opacity (255 is opaque).
// Values outside 0..255 and controls that are not top-level windows are ignored.
void SetWindowAlpha(TControl* control, int alpha);
int WindowAlpha(const TControl* control);
