// Timer, panel and image.
#pragma once

#include <memory>

#include "platform/gui/Controls.h"

// A window timer on the GUI thread. Changing Interval or Enabled while it runs restarts the
// count with the new values; an interval of 0 or a missing OnTimer keeps it idle. Each tick
// runs OnTimer inside the application's exception handler.
class TTimer : public TComponent {
 public:
  explicit TTimer(TComponent* AOwner);
  ~TTimer() override;

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value);
  unsigned Interval() const { return interval_; }
  void SetInterval(unsigned milliseconds);
  TNotifyEvent OnTimer;
  // Whether the timer would tick now (enabled, interval above 0, a handler set).
  bool Running() const;

  // One tick: runs OnTimer (exceptions go to the caller). Tests fire ticks through it.
  virtual void Timer();

  // With manual timers (tests), no timer ticks by itself; ticks come only from Timer().
  static void SetManualForTesting(bool manual);
  static bool ManualForTesting();

 private:
  void UpdateTimer();
  struct Impl;
  std::unique_ptr<Impl> impl_;
  bool enabled_ = true;
  unsigned interval_ = 1000;
};

enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };

// A plain container with an optional bevelled frame and a centred caption.
class TPanel : public TWinControl {
 public:
  explicit TPanel(TComponent* AOwner);
  TBevelCut BevelOuter() const { return bevelOuter_; }
  void SetBevelOuter(TBevelCut value);
  TBevelCut BevelInner() const { return bevelInner_; }
  void SetBevelInner(TBevelCut value);
  int BevelWidth() const { return bevelWidth_; }
  void SetBevelWidth(int value);
  void AdjustClientRect(TRect& rect) const override;
  bool PaintPeer(QPainter* painter) override;

 protected:
  void TextChanged() override;

 private:
  TBevelCut bevelOuter_ = bvRaised;
  TBevelCut bevelInner_ = bvNone;
  int bevelWidth_ = 1;
};

// Shows a bitmap, optionally stretched or centred.
class TImage : public TControl {
 public:
  explicit TImage(TComponent* AOwner);
  ~TImage() override;
  // The picture the control shows; after drawing on it call PictureChanged().
  TBitmap& Picture() { return *picture_; }
  void PictureChanged();
  bool Stretch() const { return stretch_; }
  void SetStretch(bool value);
  bool Center() const { return center_; }
  void SetCenter(bool value);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool value);
  bool PaintPeer(QPainter* painter) override;

 private:
  std::unique_ptr<TBitmap> picture_;
  bool stretch_ = false;
  bool center_ = false;
  bool transparent_ = false;
};
