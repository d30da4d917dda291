#include "gifkit/GkAnimator.h"

#include <algorithm>

#include "gifkit/GkDrawing.h"
#include "platform/Exceptions.h"
#include "platform/gui/Desktop.h"
#include "platform/gui/Forms.h"

void LoadKitCursors() {
  static bool loaded = false;
  if (loaded) return;
  loaded = true;
  RegisterCursorShape(crGkHand, crHandPoint);
  RegisterCursorShape(crGkDrag, crHandGrab);
}

// ---------------------------------------------------------------------------------------------

TGkImageControl::TGkImageControl(TComponent* AOwner)
    : TGraphicControl(AOwner),
      alive_(std::make_shared<TGkImageControl*>(this)),
      repaintPosted_(std::make_shared<std::atomic<bool>>(false)) {
  SetBounds(0, 0, 105, 105);
  SetParentColor(true);
}

TGkImageControl::~TGkImageControl() { *alive_ = nullptr; }

void TGkImageControl::Post(std::function<void()> call) {
  TThread::Queue([alive = alive_, call = std::move(call)] {
    if (*alive) call();
  });
}

void TGkImageControl::PaintNow() {
  if (OnGuiThread()) {
    Repaint();
    return;
  }
  // One request at a time: a slow GUI thread sees the newest frame, not a backlog.
  if (repaintPosted_->exchange(true)) return;
  TThread::Queue([alive = alive_, posted = repaintPosted_] {
    posted->store(false);
    if (*alive) (*alive)->Invalidate();
  });
}

void TGkImageControl::GraphicChanged() {
  if (IsDestroying()) return;
  AdjustSize();
  if (drawing_)
    Repaint();
  else
    Invalidate();
}

// ---------------------------------------------------------------------------------------------

TGkGIFAnimator::TGkGIFAnimator(TComponent* AOwner)
    : TGkImageControl(AOwner),
      timer_(std::make_unique<TGkTimer>(nullptr)),
      image_(std::make_unique<TGIFImage>()) {
  LoadKitCursors();
  timer_->SetEnabled(false);
  image_->OnChange = [this] { ImageChanged(); };
  composer_.OnFrameFailed = [this](int frame, const std::string& message) {
    ReportFrameError(frame, message);
  };
  // Frames made from bitmaps have no data to decode: their bitmap's pixels, the transparent
  // colour left out.
  composer_.SetSource([this](int index, TFramePixels& out) {
    TGIFFrame& frame = image_->Frames(index);
    if (frame.HasEncodedData()) return false;
    TBitmap* bitmap = frame.Bitmap();
    if (!bitmap || bitmap->Empty()) return true;
    const TGifColor transparent = frame.TransparentColor();
    out.Width = bitmap->Width();
    out.Height = bitmap->Height();
    out.Pixels.resize(static_cast<std::size_t>(out.Width) * out.Height);
    for (int y = 0; y < out.Height; ++y) {
      for (int x = 0; x < out.Width; ++x) {
        const TGifColor c = static_cast<TGifColor>(bitmap->PixelColor(x, y)) & 0xFFFFFF;
        out.Pixels[static_cast<std::size_t>(y) * out.Width + x] =
            transparent != kGifNoColor && c == (transparent & 0xFFFFFF) ? 0 : ArgbOf(c);
      }
    }
    return true;
  });
  canTick_ = Visible() && Parent();
}

TGkGIFAnimator::~TGkGIFAnimator() {
  destroying_ = true;
  // The worker goes first: a tick under way still uses the picture and this control.
  timer_->SetEnabled(false);
  timer_->SetOnTimer(nullptr);
  timer_->Thread().Stop();
  OnStart = OnStop = OnChange = OnFrameChanged = nullptr;
  image_->OnChange = nullptr;
}

void TGkGIFAnimator::SetVisible(bool value) {
  TGkImageControl::SetVisible(value);
  canTick_ = Visible() && Parent();
  UpdateTimerRun();
}

void TGkGIFAnimator::SetParent(TWinControl* parent) {
  TGkImageControl::SetParent(parent);
  canTick_ = Visible() && Parent();
  UpdateTimerRun();
}

void TGkGIFAnimator::ShowingChanged() { UpdateTimerRun(); }

void TGkGIFAnimator::UpdateTimerRun() {
  if (destroying_ || !timer_) return;
  timer_->SetEnabled(animate_ && Showing());
}

void TGkGIFAnimator::SetAsyncDrawing(bool value) {
  Lock();
  async_ = value;
  timer_->SetSyncEvent(!value);
  Unlock();
}

void TGkGIFAnimator::SetAnimate(bool value) {
  if (value) {
    timer_->SetOnTimer([this](TComponent* sender) { AnimatorTimerTick(sender); });
    animate_ = true;
    UpdateTimerRun();
    Start();
  } else {
    timer_->SetEnabled(false);
    timer_->SetOnTimer(nullptr);
    animate_ = false;
    Stop();
    GraphicChanged();
  }
}

void TGkGIFAnimator::SetAutoSize(bool value) {
  if (autoSize_ == value) return;
  autoSize_ = value;
  AdjustSize();
}

void TGkGIFAnimator::SetCenter(bool value) {
  Lock();
  const bool changed = center_ != value;
  center_ = value;
  Unlock();
  if (changed) GraphicChanged();
}

void TGkGIFAnimator::SetStretch(bool value) {
  Lock();
  const bool changed = stretch_ != value;
  stretch_ = value;
  Unlock();
  if (changed) GraphicChanged();
}

void TGkGIFAnimator::SetTransparent(bool value) {
  Lock();
  const bool changed = transparent_ != value;
  transparent_ = value;
  Unlock();
  if (changed) GraphicChanged();
}

void TGkGIFAnimator::SetFrameIndex(int value) {
  Lock();
  if (value < 0 || value >= image_->Count() || value == frameIndex_) {
    Unlock();
    return;
  }
  frameIndex_ = value;
  timer_->SetInterval(FrameInterval());
  Unlock();
  FrameChanged();
  GraphicChanged();
}

void TGkGIFAnimator::SetImage(const TGIFImage* source) {
  Lock();
  try {
    image_->Assign(source);
  } catch (...) {
    Unlock();
    throw;
  }
  Unlock();
}

void TGkGIFAnimator::ImageChanged() {
  Lock();
  composer_.Clear();
  const int index = image_->FrameIndex;
  if (index >= 0 && index < image_->Count()) {
    frameIndex_ = index;
    timer_->SetInterval(FrameInterval());
  } else {
    frameIndex_ = 0;
  }
  Unlock();
  if (destroying_) return;
  GraphicChanged();
  Change();
}

std::uint32_t TGkGIFAnimator::FrameInterval() {
  Lock();
  const int index = frameIndex_;
  std::uint32_t interval = 0;
  if (image_->Count() >= 2 && index >= 0 && index < image_->Count())
    interval = std::clamp<std::uint32_t>(image_->Frames(index).Delay(), 50, 10000);
  Unlock();
  return interval;
}

TGifColor TGkGIFAnimator::OpaqueFill() {
  const TGifColor background = image_->BackgroundColor();
  if (background != kGifNoColor && image_->TransparentFlag())
    return static_cast<TGifColor>(ColorToRGB(background));
  return static_cast<TGifColor>(ColorToRGB(clWindow));
}

TComposedFrame TGkGIFAnimator::ComposeFrame(int n) {
  // A copy: the worker composes the next frame into the kept one once the lock is left.
  Lock();
  TComposedFrame frame = composer_.Compose(*image_, n, OpaqueFill());
  Unlock();
  return frame;
}

void TGkGIFAnimator::ReportFrameError(int frame, const std::string& message) {
  (void)frame;
  Post([this, message] {
    if (Application) Application->HandleException(this, EInvalidGraphic(message));
  });
}

void TGkGIFAnimator::AnimatorTimerTick(TComponent*) {
  if (!canTick_) return;
  bool wrapped;
  {
    Lock();
    const int count = image_->Count();
    if (count < 2) {
      Unlock();
      return;
    }
    const int next = frameIndex_ + 1 >= count ? 0 : frameIndex_ + 1;
    frameIndex_ = next;
    wrapped = next == 0;
    // The worker does the composing, so the GUI thread only copies the picture.
    if (async_) composer_.Compose(*image_, next, OpaqueFill());
    timer_->SetInterval(FrameInterval());
    Unlock();
  }
  const bool onGui = OnGuiThread();
  // The events belong to the GUI thread: the worker hands the change over without looking at
  // them.
  if (onGui)
    FrameChanged();
  else
    Post([this] { FrameChanged(); });
  PaintNow();
  if (!loop_ && wrapped) {
    if (onGui)
      SetAnimate(false);
    else
      Post([this] { SetAnimate(false); });
  }
}

void TGkGIFAnimator::Paint() {
  Canvas().Brush().SetColor(Color());
  Canvas().FillRect(GetClientRect());
  const bool wasDrawing = drawing_;
  drawing_ = true;
  DrawImageContent();
  drawing_ = wasDrawing;
}

void TGkGIFAnimator::DrawImageContent() {
  TCanvas& canvas = Canvas();
  Lock();
  const bool empty = image_->Count() == 0 || image_->Empty();
  const bool transparentImage = !empty && image_->Transparent();
  if (empty || transparentImage) DrawParentImage(this, canvas);
  if (!empty && image_->ScreenWidth >= 1 && image_->ScreenHeight >= 1) {
    const TComposedFrame& frame = composer_.Compose(*image_, frameIndex_, OpaqueFill());
    if (frame.Index >= 0) {
      TRect target = Rect(0, 0, frame.Width, frame.Height);
      if (stretch_) {
        target = GetClientRect();
      } else if (center_) {
        const int dx = (ClientWidth() - frame.Width) / 2;
        const int dy = (ClientHeight() - frame.Height) / 2;
        target = Rect(dx, dy, dx + frame.Width, dy + frame.Height);
      }
      canvas.StretchDrawPixels(target, frame.Pixels.data(), frame.Width, frame.Height,
                               frame.Transparent() && transparent_);
    }
  }
  Unlock();
}

void TGkGIFAnimator::AdjustSize() {
  if (!autoSize_ || image_->Count() == 0 || image_->Empty()) return;
  int width = Width(), height = Height();
  const TAlign align = Align();
  if (align != alTop && align != alBottom && align != alClient && align != alCustom)
    width = image_->ScreenWidth;
  if (align != alLeft && align != alRight && align != alClient && align != alCustom)
    height = image_->ScreenHeight;
  SetBounds(Left(), Top(), width, height);
}

void TGkGIFAnimator::Change() {
  if (OnChange) OnChange(this);
}

void TGkGIFAnimator::FrameChanged() {
  if (OnFrameChanged) OnFrameChanged(this);
}

void TGkGIFAnimator::Start() {
  if (OnStart) OnStart(this);
}

void TGkGIFAnimator::Stop() {
  if (OnStop) OnStop(this);
}
