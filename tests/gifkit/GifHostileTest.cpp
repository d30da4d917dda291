// Files that declare much and hold little: a frame's cost follows the data it has, a whole
// image holds a bounded number of decoded pixels, and an empty frame far off the screen
// writes back as it was read.
#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>

#include "GifTestSupport.h"
#include "gifkit/GkGIF.h"

namespace {

// Resident memory of the process, in bytes.
std::uint64_t Resident() {
  std::ifstream statm("/proc/self/statm");
  std::uint64_t size = 0, resident = 0;
  statm >> size >> resident;
  return resident * static_cast<std::uint64_t>(sysconf(_SC_PAGESIZE));
}

// Frames of width x height, each only a clear and an end code.
std::string EmptyFrames(int width, int height, int count) {
  std::string bytes = GifHeader("89a", width, height, 1);
  for (int i = 0; i < count; ++i)
    bytes += FrameBlock(0, 0, width, height, PackCodes(2, WithWidths(2, {4, 5})));
  return bytes + ";";
}

}  // namespace

TEST(GifHostile, AFrameWithLittleDataCostsLittleMemoryWhateverItsSize) {
  for (int width : {8192, 8191}) {  // rows packed as in the data, and padded rows
    TGIFImage image;
    image.ReadGifBytes(EmptyFrames(width, 8192, 1), false);
    const std::uint64_t before = Resident();
    TBitmap* bitmap = image.Frames(0).Bitmap();
    const std::uint64_t after = Resident();
    const std::uint64_t grown = after > before ? after - before : 0;
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(bitmap->Width(), width);
    // Every pixel is index 0 (black in the file's table).
    EXPECT_EQ(bitmap->PixelColor(width - 1, 8191), clBlack);
    EXPECT_EQ(bitmap->PixelColor(0, 0), clBlack);
    // A 64 Mpixel frame: its pixels are there, but nothing was written to them.
    EXPECT_LT(grown, 32u << 20) << width;
  }
}

TEST(GifHostile, AnImageHoldsABoundedNumberOfDecodedPixels) {
  TGIFImage image;
  image.ReadGifBytes(EmptyFrames(8192, 8192, 20), false);
  ASSERT_EQ(image.Count(), 20);
  for (int round = 0; round < 2; ++round) {
    for (int i = 0; i < image.Count(); ++i) {
      TBitmap* bitmap = image.Frames(i).Bitmap();
      ASSERT_NE(bitmap, nullptr);
      EXPECT_EQ(bitmap->Height(), 8192);
      EXPECT_LE(image.HeldDecodedPixels(), kMaxHeldGifPixels + 8192ull * 8192);
    }
  }
  // Frames made from bitmaps are never dropped: they have nothing to be decoded from.
  TBitmap own(3, 3, pf24bit);
  image.AddFrame(own);
  for (int i = 0; i < 20; ++i) image.Frames(i).Bitmap();
  EXPECT_EQ(image.Frames(20).Bitmap()->Width(), 3);
  image.Frames(0).Bitmap();
  EXPECT_GT(image.HeldDecodedPixels(), 0u);
}

TEST(GifHostile, AnEmptyFrameFarBelowAnEmptyScreenWritesBackAsRead) {
  // Screen 257 x 0; a frame of 0 x 0 at top 57344 takes the screen's 257 x 0.
  std::string bytes = GifHeader("89a", 257, 0, 1) +
                      FrameBlock(0, 57344, 0, 0, PackCodes(2, WithWidths(2, {4, 5}))) + ";";
  TGIFImageCore first;
  first.ReadGifBytes(bytes, false);
  ASSERT_EQ(first.Count(), 1);
  const std::string written = first.WriteGifBytes();
  TGIFImageCore second;
  ASSERT_NO_THROW(second.ReadGifBytes(written, false));
  ASSERT_EQ(second.Count(), 1);
  EXPECT_EQ(second.ScreenWidth, first.ScreenWidth);
  EXPECT_EQ(second.ScreenHeight, first.ScreenHeight);
  for (TGIFImageCore* image : {&first, &second}) {
    const TGIFFrameCore& frame = *image->FrameAt(0);
    EXPECT_EQ(frame.Top, 57344);
    EXPECT_EQ(frame.Item->Width, 257);
    EXPECT_EQ(frame.Item->Height, 0);
  }
  EXPECT_NO_THROW(second.FrameAt(0)->DecodeIndices());
  EXPECT_EQ(second.WriteGifBytes(), written);
}
