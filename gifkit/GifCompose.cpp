#include "gifkit/GifCompose.h"

#include <algorithm>
#include <exception>

#include "platform/Exceptions.h"

namespace {

// Disposal 4 to 7 mean nothing in GIF; viewers keep such a frame like disposal 1.
int DisposalOf(const TGIFFrameCore& frame) { return frame.Disposal <= 3 ? frame.Disposal : 1; }

std::string MessageOf(const std::exception& e) {
  const auto* ours = dynamic_cast<const Exception*>(&e);
  return ours ? ours->Message() : std::string(e.what());
}

}  // namespace

void TGifComposer::Clear() {
  cache_ = TComposedFrame();
  reported_.clear();
}

void TGifComposer::FillRect(const TGIFFrameCore& frame, int width, int height) {
  const int x0 = std::clamp(frame.Left, 0, cache_.Width);
  const int y0 = std::clamp(frame.Top, 0, cache_.Height);
  const int x1 = static_cast<int>(std::clamp<long>(long{frame.Left} + width, 0, cache_.Width));
  const int y1 = static_cast<int>(std::clamp<long>(long{frame.Top} + height, 0, cache_.Height));
  for (int y = y0; y < y1; ++y) {
    std::fill_n(cache_.Pixels.begin() + static_cast<std::size_t>(y) * cache_.Width + x0, x1 - x0,
                cache_.Fill);
  }
}

void TGifComposer::Failed(int count, int index, const std::string& message) {
  // Told once: a repaint composes the same frames again.
  const std::size_t slot = static_cast<std::size_t>(index + 1);
  if (reported_.size() < static_cast<std::size_t>(count) + 1) reported_.resize(count + 1);
  if (reported_[slot]) return;
  reported_[slot] = true;
  if (OnFrameFailed) OnFrameFailed(index, message);
}

// A frame's pixels: palette indices with their colours (alpha 0 at the transparent index), or
// the pixels of a frame made from a bitmap.
struct TGifComposer::Picture {
  int Width = 0;
  int Height = 0;
  bool Decoded = false;
  TFramePixels Own;
  TGIFIndexImage Indices;
  TArgb Palette[256];  // filled whole by LoadPicture before it is read
};

bool TGifComposer::LoadPicture(TGIFImageCore& image, int index, Picture& out) {
  TGIFFrameCore& frame = *image.FrameAt(index);
  // One picture serves several frames in turn (the search for a starting point): nothing of
  // the last frame's pixels may pass for this one's.
  out.Own = TFramePixels();
  if (pixels_ && pixels_(index, out.Own)) {
    out.Decoded = false;
    out.Width = out.Own.Width;
    out.Height = out.Own.Height;
    return true;
  }
  try {
    out.Indices = frame.DecodeIndices();
  } catch (const std::exception& e) {
    Failed(image.Count(), index, MessageOf(e));
    return false;
  }
  out.Decoded = true;
  out.Width = static_cast<int>(out.Indices.Width);
  out.Height = static_cast<int>(out.Indices.Height);
  const std::vector<TGifColor>& colors = out.Indices.Palette;
  for (int i = 0; i < 256; ++i)
    out.Palette[i] = i < static_cast<int>(colors.size()) ? ArgbOf(colors[i]) : 0xFF000000u;
  // By index: another entry of the same colour stays opaque. A colour set without an index
  // takes the first entry of that colour.
  int transparent = frame.TransparentIndex();
  if (transparent < 0 && frame.TransparentColor() != kGifNoColor) {
    for (std::size_t i = 0; i < colors.size() && transparent < 0; ++i)
      if (colors[i] == frame.TransparentColor()) transparent = static_cast<int>(i);
  }
  if (transparent >= 0 && transparent < 256) out.Palette[transparent] = 0;
  return true;
}

void TGifComposer::DrawPicture(const TGIFFrameCore& frame, const Picture& picture) {
  const int width = picture.Width, height = picture.Height;
  const int x0 = std::max(frame.Left, 0), y0 = std::max(frame.Top, 0);
  const int x1 = static_cast<int>(std::min<long>(long{frame.Left} + width, cache_.Width));
  const int y1 = static_cast<int>(std::min<long>(long{frame.Top} + height, cache_.Height));
  for (int y = y0; y < y1; ++y) {
    const std::size_t from = static_cast<std::size_t>(y - frame.Top) * width + (x0 - frame.Left);
    TArgb* dst = cache_.Pixels.data() + static_cast<std::size_t>(y) * cache_.Width + x0;
    if (picture.Decoded) {
      const std::uint8_t* src = picture.Indices.Pixels.data() + from;
      for (int x = x0; x < x1; ++x, ++src, ++dst) {
        const TArgb c = picture.Palette[*src];
        if (c >> 24) *dst = c;
      }
    } else {
      const TArgb* src = picture.Own.Pixels.data() + from;
      for (int x = x0; x < x1; ++x, ++src, ++dst)
        if (*src >> 24) *dst = *src;
    }
  }
}

void TGifComposer::DrawFrame(TGIFImageCore& image, int index) {
  // A frame that fails is left undrawn: the picture so far shows.
  Picture picture;
  if (LoadPicture(image, index, picture)) DrawPicture(*image.FrameAt(index), picture);
}

const TComposedFrame& TGifComposer::Compose(TGIFImageCore& image, int n, TGifColor opaqueFill) {
  const int count = image.Count();
  if (count == 0 || image.ScreenWidth == 0 || image.ScreenHeight == 0) {
    cache_ = TComposedFrame();
    return cache_;
  }
  if (std::uint64_t{image.ScreenWidth} * image.ScreenHeight > kMaxGifPixels) {
    cache_ = TComposedFrame();
    try {
      CheckGifImageArea(image.ScreenWidth, image.ScreenHeight);
    } catch (const std::exception& e) {
      Failed(count, -1, MessageOf(e));
    }
    return cache_;
  }
  n = std::clamp(n, 0, count - 1);
  if (cache_.Index == n && cache_.Width == image.ScreenWidth && cache_.Height == image.ScreenHeight)
    return cache_;

  const auto frameSize = [&](int i, int& w, int& h) {
    const TGIFFrameCore& f = *image.FrameAt(i);
    if (f.Item && (f.Item->Width || f.Item->Height || f.HasEncodedData())) {
      w = f.Item->Width;
      h = f.Item->Height;
      return;
    }
    w = h = 0;
    TFramePixels own;
    if (pixels_ && pixels_(i, own)) {
      w = own.Width;
      h = own.Height;
    }
  };

  const bool reuse = cache_.Index >= 0 && cache_.Index == n - 1 &&
                     cache_.Width == image.ScreenWidth && cache_.Height == image.ScreenHeight &&
                     DisposalOf(*image.FrameAt(n - 1)) != 3;
  // The frame the walk below starts at, when it had to decode it to know that it hides the
  // frames before it, and the frames it found failing, not to be decoded again.
  int s = n;
  Picture start;
  bool started = false;
  std::vector<int> failed;
  const auto draw = [&](int i) {
    if (started && i == s)
      DrawPicture(*image.FrameAt(i), start);
    else if (std::find(failed.begin(), failed.end(), i) == failed.end())
      DrawFrame(image, i);
  };
  if (reuse) {
    const TGIFFrameCore& previous = *image.FrameAt(n - 1);
    if (DisposalOf(previous) == 2) {
      int w, h;
      frameSize(n - 1, w, h);
      FillRect(previous, w, h);
    }
  } else {
    cache_.Width = image.ScreenWidth;
    cache_.Height = image.ScreenHeight;
    const TGIFFrameCore* current = image.FrameAt(std::clamp(image.FrameIndex, 0, count - 1));
    cache_.Fill = current->TransparentColor() != kGifNoColor
                      ? ArgbOf(current->TransparentColor()) & 0xFFFFFF
                      : ArgbOf(opaqueFill);
    cache_.Pixels.assign(static_cast<std::size_t>(cache_.Width) * cache_.Height, cache_.Fill);
    // Start at the last frame that hides everything before it: one that covers the screen
    // and clears it (before n), or one that covers it and is opaque. A frame before n that
    // restores the picture before it hides nothing, and neither does one that fails to decode
    // or has fewer pixels than its place: stepping through the frames would show the ones
    // before it.
    for (; s > 0; --s) {
      const TGIFFrameCore& f = *image.FrameAt(s);
      int w, h;
      frameSize(s, w, h);
      const bool covers =
          f.Left <= 0 && f.Top <= 0 && f.Left + w >= cache_.Width && f.Top + h >= cache_.Height;
      if (!covers) continue;
      const int disposal = DisposalOf(f);
      if (disposal == 2 && s < n) break;
      if (f.TransparentColor() != kGifNoColor || (s < n && disposal == 3)) continue;
      if (!LoadPicture(image, s, start)) {
        failed.push_back(s);
        continue;
      }
      if (f.Left + start.Width >= cache_.Width && f.Top + start.Height >= cache_.Height) {
        started = true;
        break;
      }
    }
    for (int i = s; i < n; ++i) {
      const TGIFFrameCore& f = *image.FrameAt(i);
      const int disposal = DisposalOf(f);
      if (disposal <= 1) {
        draw(i);
      } else if (disposal == 2 && i > s) {
        int w, h;
        frameSize(i, w, h);
        FillRect(f, w, h);
      }
    }
  }
  draw(n);
  cache_.Index = n;
  return cache_;
}
