// The buffered picture control and the GIF animator on it. The animator steps through the
// frames of its image with a TGkTimer, composing each frame over the ones before it. With
// AsyncDrawing the timer's worker composes the next frame under the control's lock and asks
// the GUI thread to repaint; only the GUI thread paints widgets. A hidden animator parks its
// timer and resumes when it is shown again.
#pragma once

#include <atomic>
#include <memory>

#include "gifkit/GifCompose.h"
#include "gifkit/GkGIF.h"
#include "gifkit/GkTimer.h"
#include "platform/gui/CustomControl.h"
#include "platform/gui/Threads.h"

// The kit's cursors: a pointing hand and a closing (dragging) hand.
constexpr int crGkHand = 14000;
constexpr int crGkDrag = 14001;
// Puts the two cursors into the application's cursor table (once).
void LoadKitCursors();

class TGkImageControl : public TGraphicControl {
 public:
  explicit TGkImageControl(TComponent* AOwner);
  ~TGkImageControl() override;

  void Lock() { lock_.Enter(); }
  void Unlock() { lock_.Leave(); }
  // On the GUI thread repaints at once; from another thread asks the GUI thread to.
  void PaintNow();
  // After a change of what is shown: size, then a repaint (at once while drawing).
  void GraphicChanged();
  bool Drawing() const { return drawing_; }

 protected:
  virtual void DrawImageContent() = 0;
  virtual void AdjustSize() {}
  // Runs `call` on the GUI thread later, unless the control is gone by then.
  void Post(std::function<void()> call);
  bool drawing_ = false;

 private:
  TCriticalSection lock_;
  std::shared_ptr<TGkImageControl*> alive_;
  std::shared_ptr<std::atomic<bool>> repaintPosted_;
};

class TGkGIFAnimator : public TGkImageControl {
 public:
  explicit TGkGIFAnimator(TComponent* AOwner);
  ~TGkGIFAnimator() override;

  bool AsyncDrawing() const { return async_; }
  void SetAsyncDrawing(bool value);
  // The wish to animate; the timer runs only while the control is also on screen.
  bool Animate() const { return animate_; }
  void SetAnimate(bool value);
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool value);
  bool Center() const { return center_; }
  void SetCenter(bool value);
  bool Stretch() const { return stretch_; }
  void SetStretch(bool value);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool value);
  bool Loop() const { return loop_; }
  void SetLoop(bool value) { loop_ = value; }
  int FrameIndex() const { return frameIndex_.load(); }
  // Only 0 <= value < frame count, and a change, are taken.
  void SetFrameIndex(int value);
  // The owned picture; change it through SetImage (under the control's lock).
  TGIFImage& Image() { return *image_; }
  void SetImage(const TGIFImage* source);

  // 0 for fewer than two frames or an index outside them; else the frame's delay in
  // 50..10000 ms.
  std::uint32_t FrameInterval();
  // Frame n composed over the frames before it (the kept picture is reused when it can be).
  TComposedFrame ComposeFrame(int n);
  TGkTimer& Timer() { return *timer_; }
  // The timer's handler: the next frame.
  void AnimatorTimerTick(TComponent* sender);

  // Set on the GUI thread and fired there, also for the changes the worker makes.
  TNotifyEvent OnStart;
  TNotifyEvent OnStop;
  TNotifyEvent OnChange;
  TNotifyEvent OnFrameChanged;

  void SetVisible(bool value) override;
  void SetParent(TWinControl* parent) override;
  void ShowingChanged() override;

 protected:
  void Paint() override;
  void DrawImageContent() override;
  void AdjustSize() override;
  virtual void Change();
  virtual void FrameChanged();
  virtual void Start();
  virtual void Stop();

 private:
  void ImageChanged();
  // The timer runs while animation is wished and the control is on screen.
  void UpdateTimerRun();
  void ReportFrameError(int frame, const std::string& message);
  TGifColor OpaqueFill();

  std::unique_ptr<TGkTimer> timer_;
  std::unique_ptr<TGIFImage> image_;
  TGifComposer composer_;
  std::atomic<int> frameIndex_{0};
  std::atomic<bool> canTick_{false};  // visible with a parent, as the worker may read it
  bool async_ = false;
  bool animate_ = false;
  bool autoSize_ = true;
  bool center_ = false;
  bool stretch_ = false;
  bool transparent_ = true;
  std::atomic<bool> loop_{true};
  bool destroying_ = false;
};
