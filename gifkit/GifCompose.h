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
  // Pixels of frames without encoded data (pictures made from bitmaps): fills `pixels` and
  // returns true for such a frame; frames with encoded data are decoded by the composer.
  void SetSource(std::function<bool(int, TFramePixels&)> pixels) { pixels_ = std::move(pixels); }
  // Frames that fail to decode are left out and told here once per frame; a screen larger
  // than a GIF picture may be is told as frame -1 and composes nothing.
  std::function<void(int frame, const std::string& message)> OnFrameFailed;

  // Frame min(n, last) composed, from the kept picture when it shows frame n - 1 and that
  // frame does not restore the previous picture; otherwise afresh. `opaqueFill` is the colour
  // of the empty screen when the image's current frame has no transparent colour. Empty for
  // an image without frames or with an empty screen.
  const TComposedFrame& Compose(TGIFImageCore& image, int n, TGifColor opaqueFill);
  const TComposedFrame& Cached() const { return cache_; }
  void Clear();

 private:
  struct Picture;
  // The frame's pixels as drawn; false (and told) when it fails to decode.
  bool LoadPicture(TGIFImageCore& image, int index, Picture& out);
  void DrawPicture(const TGIFFrameCore& frame, const Picture& picture);
  void DrawFrame(TGIFImageCore& image, int index);
  void FillRect(const TGIFFrameCore& frame, int width, int height);
  void Failed(int count, int index, const std::string& message);
  std::function<bool(int, TFramePixels&)> pixels_;
  TComposedFrame cache_;
  std::vector<bool> reported_;
};
