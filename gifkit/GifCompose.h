// Composition of an animation's frames on its logical screen: each frame drawn over the
// ones before it as their disposal methods say, with a real alpha channel (a pixel is
// see-through when its index is the frame's transparent index, whatever its colour). The
// composed picture of the last frame asked for is kept, so stepping through the frames draws
// one frame a step.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "gifkit/GifStream.h"

// Pixels as 0xAARRGGBB, alpha 0 or 255.
using TArgb = std::uint32_t;
constexpr TArgb ArgbOf(TGifColor color) {
  return 0xFF000000u | ((color & 0xFF) << 16) | (color & 0xFF00) | ((color >> 16) & 0xFF);
}

struct TComposedFrame {
  int Width = 0;
  int Height = 0;
  std::vector<TArgb> Pixels;
  int Index = -1;  // the frame shown; -1 when empty
  // The colour of the places no frame covers; see-through (alpha 0) when the image's current
  // frame has a transparent colour.
  TArgb Fill = 0;
  bool Transparent() const { return (Fill >> 24) == 0; }
};

// One frame's pixels for the composer: alpha 0 where the frame is see-through.
struct TFramePixels {
  int Width = 0;
  int Height = 0;
  std::vector<TArgb> Pixels;
};

class TGifComposer {
 public:
  // The frame's pixels: its indices through its palette, its transparent index see-through.
  // Raises what decoding raises.
  static TFramePixels DecodeFramePixels(TGIFFrameCore& frame);

  // `pixels` gives a frame's pixels (DecodeFramePixels when empty). `opaqueFill` is the
  // colour of the empty screen when the image's current frame has no transparent colour.
  // Frames that fail to decode are left out and reported to `failed` once per frame.
  void SetSource(std::function<TFramePixels(int)> pixels) { pixels_ = std::move(pixels); }
  std::function<void(int frame, const std::string& message)> OnFrameFailed;

  // Frame min(n, last) composed, from the kept picture when it shows frame n - 1 and that
  // frame does not restore the previous picture; otherwise afresh. Empty for an image
  // without frames or with an empty screen.
  const TComposedFrame& Compose(TGIFImageCore& image, int n, TGifColor opaqueFill);
  const TComposedFrame& Cached() const { return cache_; }
  void Clear();

 private:
  void DrawFrame(TGIFImageCore& image, int index);
  void FillRect(const TGIFFrameCore& frame, int width, int height);
  std::function<TFramePixels(int)> pixels_;
  TComposedFrame cache_;
  std::vector<bool> reported_;
};
