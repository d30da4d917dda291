// libFuzzer target for the GIF round trip: what reads strictly and decodes in every frame is
// written, read again and decoded again, and both readings must be equal (frames, positions,
// palettes and pixels, and the screen where it covered every frame: the writer grows a screen
// that does not; a frame without pixels may come back as one see-through pixel). A difference
// aborts.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "gifkit/GifStream.h"
#include "platform/Exceptions.h"

namespace {

struct Frame {
  std::vector<int> place;  // left, top, width, height, depth
  TGifIndices pixels;
  std::vector<TGifColor> palette;
  int transparentIndex = -1;

  bool operator==(const Frame&) const = default;
  // A frame without pixels comes back as it was or, where a size of 0 would read back as the
  // grown screen's, as one pixel at its place in its transparent colour.
  bool WritesBackAs(const Frame& back) const {
    if (*this == back) return true;
    return place[2] * place[3] == 0 && back.place[0] == place[0] && back.place[1] == place[1] &&
           back.place[2] == 1 && back.place[3] == 1 && back.transparentIndex >= 0 &&
           back.pixels ==
               std::vector<std::uint8_t>{static_cast<std::uint8_t>(back.transparentIndex)};
  }
};

struct Reading {
  int screenWidth = 0, screenHeight = 0;
  bool screenCovers = true;
  std::vector<Frame> frames;
};

// False when the bytes do not read or a frame does not decode.
bool Read(const std::string& bytes, Reading& out) {
  LenientDecoding = false;
  TGIFImageCore image;
  try {
    image.ReadGifBytes(bytes, false);
    out.screenWidth = image.ScreenWidth;
    out.screenHeight = image.ScreenHeight;
    for (int i = 0; i < image.Count(); ++i) {
      TGIFFrameCore* frame = image.FrameAt(i);
      TGIFIndexImage decoded = frame->DecodeIndices();
      out.screenCovers = out.screenCovers && frame->Left + decoded.Width <= image.ScreenWidth &&
                         frame->Top + decoded.Height <= image.ScreenHeight;
      out.frames.push_back(Frame{{frame->Left, frame->Top, static_cast<int>(decoded.Width),
                                  static_cast<int>(decoded.Height), decoded.Depth},
                                 std::move(decoded.Pixels),
                                 std::move(decoded.Palette),
                                 frame->TransparentIndex()});
    }
  } catch (const Exception&) {
    return false;
  }
  return image.Count() > 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  Reading first;
  if (!Read(bytes, first)) return 0;
  std::string written;
  {
    TGIFImageCore image;
    image.ReadGifBytes(bytes, false);
    written = image.WriteGifBytes();  // what read must write; a failure here is a finding
  }
  Reading second;
  if (!Read(written, second)) std::abort();
  if ((first.screenCovers &&
       (first.screenWidth != second.screenWidth || first.screenHeight != second.screenHeight)) ||
      first.frames.size() != second.frames.size())
    std::abort();
  for (std::size_t i = 0; i < first.frames.size(); ++i) {
    if (!first.frames[i].WritesBackAs(second.frames[i])) std::abort();
  }
  return 0;
}
