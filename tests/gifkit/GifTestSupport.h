// Helpers of the GIF kit tests: hand-made code streams and GIF files, and giflib as the
// reference decoder.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// Codes packed least significant bit first, each at the width given, as a frame's encoded data:
// the code size byte, sub-blocks of at most 255 bytes, and the terminator unless told not to.
std::string PackCodes(int codeSize, const std::vector<std::pair<int, int>>& codesAndWidths,
                      bool terminate = true);

// A minimal GIF: screen w x h with a global table of 2^bits grey entries, then the given
// blocks (extensions, frames) as raw bytes, then ';' unless trailer is empty.
std::string GifHeader(const char* version, int width, int height, int bits);
std::string FrameBlock(int left, int top, int width, int height, const std::string& encoded,
                       std::uint8_t packed = 0, const std::string& localTable = std::string());
std::string GraphicControl(std::uint8_t packed, int delayHundredths, int transparentIndex);

// One decoded frame as giflib sees it: raster indices top-down, de-interlaced, and its colour
// table (local or global) as $00BBGGRR.
struct ReferenceFrame {
  int Left = 0, Top = 0, Width = 0, Height = 0;
  bool Interlaced = false;
  std::vector<std::uint8_t> Pixels;
  std::vector<std::uint32_t> Colors;
  int DelayHundredths = -1;
  int TransparentIndex = -1;
  int Disposal = 0;
};
struct ReferenceGif {
  bool Ok = false;
  std::string Error;
  int ScreenWidth = 0, ScreenHeight = 0;
  std::vector<ReferenceFrame> Frames;
};
ReferenceGif DecodeWithGiflib(const std::string& bytes);

std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);
// A fresh directory under the system's temporary folder, removed by the caller.
std::string MakeTempDir();

// The width a decoder reads the next code at: codeSize + 1 after a clear code; one more when the
// next free code reaches 2^width, and 12 at the most once the table is full.
class LzwWidthRule {
 public:
  explicit LzwWidthRule(int codeSize);
  int Width() const { return width_; }
  int FreeCode() const { return freeCode_; }
  // Follows the code just read at Width().
  void Take(int code);

 private:
  int codeSize_, clear_, width_, freeCode_;
  bool previous_ = false;
};

// Each code paired with the width a decoder reads it at.
std::vector<std::pair<int, int>> WithWidths(int codeSize, const std::vector<int>& codes);

// One frame of a hand-made animation: its rectangle, disposal, transparent index (-1: none),
// delay and palette indices (rows top-down).
struct AnimationFrame {
  int Left = 0, Top = 0, Width = 0, Height = 0;
  int Disposal = 0;
  int Transparent = -1;
  int DelayMs = 100;
  std::vector<std::uint8_t> Pixels;
};
// An 89a animation on a width x height screen written by our writer; every frame carries
// `palette` (up to 256 colours as $00BBGGRR).
std::string MakeAnimation(int width, int height, const std::vector<std::uint32_t>& palette,
                          const std::vector<AnimationFrame>& frames);
// A frame of one index throughout.
AnimationFrame SolidFrame(int left, int top, int width, int height, std::uint8_t index,
                          int disposal = 0, int transparent = -1);
