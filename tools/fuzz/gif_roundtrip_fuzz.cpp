// libFuzzer target for the GIF round trip: what reads strictly and decodes in every frame is
// written, read again and decoded again, and both readings must be equal (frames, positions,
// palettes and pixels, and the screen where it covered every frame: the writer grows a screen
// that does not). A difference aborts.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "gifkit/GifStream.h"
#include "platform/Exceptions.h"

namespace {

struct Reading {
  int screenWidth = 0, screenHeight = 0;
  bool screenCovers = true;
  std::vector<int> places;  // left, top, width, height, depth per frame
  std::vector<std::vector<std::uint8_t>> pixels;
  std::vector<std::vector<TGifColor>> palettes;
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
      out.places.insert(out.places.end(),
                        {frame->Left, frame->Top, static_cast<int>(decoded.Width),
                         static_cast<int>(decoded.Height), decoded.Depth});
      out.pixels.push_back(std::move(decoded.Pixels));
      out.palettes.push_back(std::move(decoded.Palette));
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
  if ((first.screenCovers && (first.screenWidth != second.screenWidth ||
                              first.screenHeight != second.screenHeight)) ||
      first.places != second.places || first.pixels != second.pixels ||
      first.palettes != second.palettes)
    std::abort();
  return 0;
}
